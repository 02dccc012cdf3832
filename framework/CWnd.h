// CWnd: a C++ object bound to a window. Messages reach the object through
// OnWndMsg (overridden by each window class with the messages it handles);
// what it does not handle goes to DefWindowProc, which calls the window's
// previous procedure. Objects the framework binds through AfxWndProc are
// "permanent" and can be found again by handle; objects that install a
// window procedure of their own (skins) bind themselves without the map.
#pragma once

#include <windows.h>

#include "CObject.h"
#include "CString.h"

class CWnd;
class CDataExchange;

// What the framework keeps for each thread: the message that the innermost
// window procedure of the framework is handling (read by Default and
// GetCurrentMessage), and the window waiting for its creation hook.
struct AFX_THREAD_STATE {
    MSG m_lastSentMsg;
    CWnd* m_pWndInit;
    HHOOK m_hHookOldCbtFilter;
};

AFX_THREAD_STATE* AfxGetThreadState();

// Saves the calling thread's current-message record and sets it to the given
// message; the destructor puts the saved record back.
class CLastSentMsgScope {
public:
    CLastSentMsgScope(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    ~CLastSentMsgScope();
    CLastSentMsgScope(const CLastSentMsgScope&) = delete;
    CLastSentMsgScope& operator=(const CLastSentMsgScope&) = delete;

private:
    MSG m_saved;
};

// The window procedure of every window bound to a permanent CWnd.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// Binds the next window the calling thread creates to pWnd while it is being
// created (at HCBT_CREATEWND), before any other creation hook sees it.
void AfxHookWindowCreate(CWnd* pWnd);
BOOL AfxUnhookWindowCreate();

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The permanent object bound to hWnd, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Enters the object in the permanent map without touching the window.
    BOOL Attach(HWND hWnd);
    HWND Detach();
    // Attach, then route the window's messages through AfxWndProc.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    virtual LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam);
    // The message map: TRUE when handled, with the result in *pResult.
    virtual BOOL OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Default processing: the previous window procedure, or the system's.
    virtual LRESULT DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam);
    virtual WNDPROC* GetSuperWndProcAddr();
    // WM_COMMAND that the message map did not take; routes to the
    // application object. TRUE when handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void PreSubclassWindow() {}
    virtual void PostNcDestroy() {}
    virtual BOOL DestroyWindow();

    // Passes the message being handled (the thread's current-message record)
    // to DefWindowProc.
    LRESULT Default();
    static const MSG* GetCurrentMessage();

    // Data exchange between the controls and the members: TRUE reads the
    // controls, FALSE writes them.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange*) {}

    // Thin wrappers of the window functions.
    LRESULT SendMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void SetWindowText(const char* pszText);
    void GetWindowText(CString& strText) const;
    int GetWindowTextLength() const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    void GetClientRect(LPRECT pRect) const;
    void GetWindowRect(LPRECT pRect) const;
    void Invalidate(BOOL bErase = TRUE);
    BOOL RedrawWindow(const RECT* pRect = nullptr, HRGN hRgn = nullptr,
                      UINT nFlags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void UpdateWindow();
    HWND GetDlgItem(int nID) const;
    HWND GetParent() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);

protected:
    // WM_NCDESTROY: lets the previous procedure see it, then unbinds the
    // object and calls PostNcDestroy.
    void OnNcDestroy();

    WNDPROC m_pfnSuper = nullptr;
};

// Data exchange context: which window, and the direction.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Binds control nIDC of the dialog to rControl, subclassing it once.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// Window text of nIDC <-> value.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// Selected index of combo box nIDC <-> index (-1 for none).
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
