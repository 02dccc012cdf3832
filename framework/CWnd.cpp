#include "CWnd.h"

#include <unordered_map>

#include "CWinApp.h"

namespace {

thread_local AFX_THREAD_STATE t_threadState;

// Handle -> permanent window object, for every thread of the process.
class CHandleMap {
public:
    CWnd* Lookup(HWND hWnd)
    {
        AcquireSRWLockShared(&m_lock);
        auto it = m_map.find(hWnd);
        CWnd* pWnd = it == m_map.end() ? nullptr : it->second;
        ReleaseSRWLockShared(&m_lock);
        return pWnd;
    }
    void Set(HWND hWnd, CWnd* pWnd)
    {
        AcquireSRWLockExclusive(&m_lock);
        m_map[hWnd] = pWnd;
        ReleaseSRWLockExclusive(&m_lock);
    }
    void Remove(HWND hWnd, CWnd* pWnd)
    {
        AcquireSRWLockExclusive(&m_lock);
        auto it = m_map.find(hWnd);
        if (it != m_map.end() && it->second == pWnd)
            m_map.erase(it);
        ReleaseSRWLockExclusive(&m_lock);
    }

private:
    SRWLOCK m_lock = SRWLOCK_INIT;
    std::unordered_map<HWND, CWnd*> m_map;
};

CHandleMap& HandleMap()
{
    static CHandleMap map;
    return map;
}

LRESULT CALLBACK AfxCbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (nCode == HCBT_CREATEWND && pState->m_pWndInit) {
        CWnd* pWnd = pState->m_pWndInit;
        pState->m_pWndInit = nullptr;
        pWnd->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(pState->m_hHookOldCbtFilter, nCode, wParam, lParam);
}

} // namespace

AFX_THREAD_STATE* AfxGetThreadState()
{
    return &t_threadState;
}

CLastSentMsgScope::CLastSentMsgScope(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    m_saved = msg;
    msg.hwnd = hWnd;
    msg.message = nMsg;
    msg.wParam = wParam;
    msg.lParam = lParam;
}

CLastSentMsgScope::~CLastSentMsgScope()
{
    AfxGetThreadState()->m_lastSentMsg = m_saved;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    CLastSentMsgScope scope(hWnd, nMsg, wParam, lParam);
    return pWnd->WindowProc(nMsg, wParam, lParam);
}

void AfxHookWindowCreate(CWnd* pWnd)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (!pState->m_hHookOldCbtFilter)
        pState->m_hHookOldCbtFilter =
            SetWindowsHookExA(WH_CBT, AfxCbtFilterHook, nullptr, GetCurrentThreadId());
    pState->m_pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate()
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_hHookOldCbtFilter) {
        UnhookWindowsHookEx(pState->m_hHookOldCbtFilter);
        pState->m_hHookOldCbtFilter = nullptr;
    }
    BOOL bBound = pState->m_pWndInit == nullptr;
    pState->m_pWndInit = nullptr;
    return bBound;
}

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

CWnd::~CWnd()
{
    if (m_hWnd) {
        HWND hWnd = m_hWnd;
        if (FromHandlePermanent(hWnd) == this) {
            // A window must not outlive its object: destroy it, or at least
            // give it its procedure back.
            if (::IsWindow(hWnd) && GetWindowThreadProcessId(hWnd, nullptr) == GetCurrentThreadId())
                ::DestroyWindow(hWnd);
            else
                UnsubclassWindow();
            HandleMap().Remove(hWnd, this);
        }
        m_hWnd = nullptr;
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    return hWnd ? HandleMap().Lookup(hWnd) : nullptr;
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd)
        return FALSE;
    m_hWnd = hWnd;
    HandleMap().Set(hWnd, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd)
        HandleMap().Remove(hWnd, this);
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC pfnOld = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (pfnOld != &AfxWndProc)
        *GetSuperWndProcAddr() = pfnOld;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hControl = pParent ? ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)) : nullptr;
    return hControl ? SubclassWindow(hControl) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    WNDPROC* ppfnSuper = GetSuperWndProcAddr();
    if (m_hWnd && *ppfnSuper &&
        GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&AfxWndProc))
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(*ppfnSuper));
    *ppfnSuper = nullptr;
    return Detach();
}

LRESULT CWnd::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(nMsg, wParam, lParam, &lResult))
        lResult = DefWindowProc(nMsg, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (nMsg) {
    case WM_COMMAND:
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    case WM_NCDESTROY:
        OnNcDestroy();
        *pResult = 0;
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT CWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC pfnSuper = *GetSuperWndProcAddr();
    if (pfnSuper)
        return CallWindowProcA(pfnSuper, m_hWnd, nMsg, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
}

WNDPROC* CWnd::GetSuperWndProcAddr()
{
    return &m_pfnSuper;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->OnCmdMsg(LOWORD(wParam), HIWORD(wParam)) : FALSE;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

void CWnd::OnNcDestroy()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this)
        pApp->m_pMainWnd = nullptr;
    Default();
    UnsubclassWindow();
    PostNcDestroy();
}

LRESULT CWnd::Default()
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* CWnd::GetCurrentMessage()
{
    return &AfxGetThreadState()->m_lastSentMsg;
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT nMsg, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_hWnd, nMsg, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT nMsg, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageA(m_hWnd, nMsg, wParam, lParam);
}

void CWnd::SetWindowText(const char* pszText)
{
    ::SetWindowTextA(m_hWnd, pszText);
}

void CWnd::GetWindowText(CString& strText) const
{
    int nLength = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, strText.GetBuffer(nLength + 1), nLength + 1);
    strText.ReleaseBuffer();
}

int CWnd::GetWindowTextLength() const
{
    return ::GetWindowTextLengthA(m_hWnd);
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd);
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    return ::EnableWindow(m_hWnd, bEnable);
}

void CWnd::GetClientRect(LPRECT pRect) const
{
    ::GetClientRect(m_hWnd, pRect);
}

void CWnd::GetWindowRect(LPRECT pRect) const
{
    ::GetWindowRect(m_hWnd, pRect);
}

void CWnd::Invalidate(BOOL bErase)
{
    ::InvalidateRect(m_hWnd, nullptr, bErase);
}

BOOL CWnd::RedrawWindow(const RECT* pRect, HRGN hRgn, UINT nFlags)
{
    return ::RedrawWindow(m_hWnd, pRect, hRgn, nFlags);
}

void CWnd::UpdateWindow()
{
    ::UpdateWindow(m_hWnd);
}

HWND CWnd::GetDlgItem(int nID) const
{
    return ::GetDlgItem(m_hWnd, nID);
}

HWND CWnd::GetParent() const
{
    return ::GetParent(m_hWnd);
}

DWORD CWnd::GetStyle() const
{
    return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const
{
    return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE));
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                                               reinterpret_cast<LPARAM>(hIcon)));
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    rControl.SubclassDlgItem(static_cast<UINT>(nIDC), pDX->m_pDlgWnd);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hControl = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (pDX->m_bSaveAndValidate) {
        int nLength = ::GetWindowTextLengthA(hControl);
        ::GetWindowTextA(hControl, value.GetBuffer(nLength + 1), nLength + 1);
        value.ReleaseBuffer();
    } else {
        ::SetWindowTextA(hControl, value);
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hControl = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(hControl, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(hControl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
