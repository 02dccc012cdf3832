// Driving the real program from a test process, as a user would: start it,
// find its windows, read their texts, wait for them, take screenshots.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tavtest {

const DWORD DEFAULT_WAIT_MS = 20000;

// Polls pred every dwPollMs until it holds; false when dwTimeout ran out
// first.
template <typename Pred>
bool WaitUntil(Pred pred, DWORD dwTimeout = DEFAULT_WAIT_MS, DWORD dwPollMs = 20)
{
    DWORD dwStart = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - dwStart > dwTimeout)
            return false;
        Sleep(dwPollMs);
    }
    return true;
}

std::string ClassOf(HWND hWnd);
// The window's text, asked with WM_GETTEXT (so it works for controls of
// other processes too).
std::string TextOf(HWND hWnd);
DWORD ProcessOf(HWND hWnd);
// The visible top-level windows for which pred holds.
std::vector<HWND> TopWindows(const std::function<bool(HWND)>& pred);

// Saves the screen area of a window as a 24-bit bitmap file in the build
// tree's screenshots folder.
void SaveScreenshot(HWND hWnd, const std::string& strName);

// The program (TAVMIO_EXE, or another path given to Start), started in its
// own folder. The destructor closes it with its close box and makes sure the
// process is gone.
class CProgram {
public:
    CProgram() = default;
    virtual ~CProgram();
    CProgram(const CProgram&) = delete;
    CProgram& operator=(const CProgram&) = delete;

    // Starts the program and waits for its main window; false when it did
    // not show.
    bool Start();
    bool Start(const std::string& strPath);
    HWND Main() const { return m_hMain; }
    HWND Item(int nId) const { return GetDlgItem(m_hMain, nId); }
    std::string ItemText(int nId) const { return TextOf(Item(nId)); }
    DWORD Pid() const { return m_pi.dwProcessId; }
    HANDLE Process() const { return m_pi.hProcess; }

    // A dialog of the program other than the main window with this caption,
    // once it shows; null when it did not within dwTimeout.
    HWND WaitForDialog(const std::string& strCaption, DWORD dwTimeout = DEFAULT_WAIT_MS, DWORD dwPollMs = 20) const;
    // True when the process ended by itself within dwTimeout.
    bool WaitForExit(DWORD dwTimeout, DWORD* pdwExitCode = nullptr) const;
    // The caption of the program's message boxes: its file name without
    // the extension.
    static std::string AppTitle();

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_hMain = nullptr;
};

} // namespace tavtest
