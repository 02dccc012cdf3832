// CDialogWatcher: answers the dialogs (window class "#32770") that any thread
// of the test process shows while the watcher lives, so that code showing a
// message box or a modal dialog does not block the test. A thread of its own
// looks for new visible dialogs every few milliseconds; each one goes to the
// handler first, and message boxes the handler leaves alone are recorded
// (caption and text) and answered with a button, IDOK by default. Other
// dialogs the handler leaves alone are recorded and cancelled. A dialog is
// recorded before it is answered, so once the code that showed it has
// returned, the record is there.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tavtest {

struct CShownDialog {
    std::string strCaption;
    std::string strText; // the message of a message box, empty for other dialogs
    bool bMessageBox = false;
};

class CDialogWatcher {
public:
    // Returns true when it has dealt with the dialog (and closed it, or will).
    using Handler = std::function<bool(HWND hDialog)>;

    explicit CDialogWatcher(Handler handler = nullptr, int nAnswer = IDOK);
    ~CDialogWatcher();
    CDialogWatcher(const CDialogWatcher&) = delete;
    CDialogWatcher& operator=(const CDialogWatcher&) = delete;

    // Dialogs recorded so far (those not taken by the handler), in order.
    std::vector<CShownDialog> Dialogs() const;
    // Texts of the message boxes recorded so far, in order.
    std::vector<std::string> MessageTexts() const;
    // Waits until at least nCount dialogs have been recorded; false on time-out.
    bool WaitForDialogs(size_t nCount, DWORD dwTimeoutMs) const;

    static bool IsMessageBox(HWND hDialog);
    // The message of a message box (the text of its static text control).
    static std::string MessageText(HWND hDialog);
    static std::string WindowText(HWND hWnd);

private:
    static DWORD WINAPI ThreadProc(LPVOID pParam);
    static BOOL CALLBACK EnumProc(HWND hWnd, LPARAM lParam);
    void Run();
    void Check(HWND hDialog);

    Handler m_handler;
    int m_nAnswer;
    HANDLE m_hStop = nullptr;
    HANDLE m_hThread = nullptr;
    mutable CRITICAL_SECTION m_lock;
    std::vector<CShownDialog> m_dialogs;
    std::vector<HWND> m_seen; // dialogs already dealt with, while they exist
};

} // namespace tavtest
