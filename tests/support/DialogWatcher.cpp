#include "DialogWatcher.h"

#include <algorithm>

namespace tavtest {

namespace {

const DWORD POLL_MS = 20;

std::string ClassName(HWND hWnd)
{
    char szClass[64] = {};
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    return szClass;
}

struct CStaticTexts {
    std::vector<std::string> texts;
    bool bButtons = false;
    int nOtherControls = 0;
};

BOOL CALLBACK CollectChild(HWND hChild, LPARAM lParam)
{
    auto* pTexts = reinterpret_cast<CStaticTexts*>(lParam);
    const std::string strClass = ClassName(hChild);
    if (lstrcmpiA(strClass.c_str(), "Static") == 0) {
        std::string strText = CDialogWatcher::WindowText(hChild);
        if (!strText.empty())
            pTexts->texts.push_back(strText);
    } else if (lstrcmpiA(strClass.c_str(), "Button") == 0) {
        pTexts->bButtons = true;
    } else {
        ++pTexts->nOtherControls;
    }
    return TRUE;
}

} // namespace

CDialogWatcher::CDialogWatcher(Handler handler, int nAnswer)
    : m_handler(std::move(handler)), m_nAnswer(nAnswer)
{
    InitializeCriticalSection(&m_lock);
    m_hStop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_hThread = CreateThread(nullptr, 0, &CDialogWatcher::ThreadProc, this, 0, nullptr);
}

CDialogWatcher::~CDialogWatcher()
{
    SetEvent(m_hStop);
    if (m_hThread) {
        WaitForSingleObject(m_hThread, INFINITE);
        CloseHandle(m_hThread);
    }
    CloseHandle(m_hStop);
    DeleteCriticalSection(&m_lock);
}

std::vector<CShownDialog> CDialogWatcher::Dialogs() const
{
    EnterCriticalSection(&m_lock);
    std::vector<CShownDialog> dialogs = m_dialogs;
    LeaveCriticalSection(&m_lock);
    return dialogs;
}

std::vector<std::string> CDialogWatcher::MessageTexts() const
{
    std::vector<std::string> texts;
    for (const CShownDialog& dialog : Dialogs())
        if (dialog.bMessageBox)
            texts.push_back(dialog.strText);
    return texts;
}

bool CDialogWatcher::WaitForDialogs(size_t nCount, DWORD dwTimeoutMs) const
{
    const DWORD dwStart = GetTickCount();
    while (Dialogs().size() < nCount) {
        if (GetTickCount() - dwStart > dwTimeoutMs)
            return false;
        Sleep(POLL_MS);
    }
    return true;
}

std::string CDialogWatcher::WindowText(HWND hWnd)
{
    char szText[1024] = {};
    GetWindowTextA(hWnd, szText, sizeof(szText));
    return szText;
}

bool CDialogWatcher::IsMessageBox(HWND hDialog)
{
    // A message box holds only static controls (icon and text) and buttons.
    CStaticTexts children;
    EnumChildWindows(hDialog, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children.bButtons && children.nOtherControls == 0 && children.texts.size() <= 1;
}

std::string CDialogWatcher::MessageText(HWND hDialog)
{
    CStaticTexts children;
    EnumChildWindows(hDialog, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children.texts.empty() ? std::string() : children.texts.front();
}

DWORD WINAPI CDialogWatcher::ThreadProc(LPVOID pParam)
{
    static_cast<CDialogWatcher*>(pParam)->Run();
    return 0;
}

BOOL CALLBACK CDialogWatcher::EnumProc(HWND hWnd, LPARAM lParam)
{
    DWORD dwProcess = 0;
    GetWindowThreadProcessId(hWnd, &dwProcess);
    if (dwProcess == GetCurrentProcessId() && IsWindowVisible(hWnd) && ClassName(hWnd) == "#32770")
        reinterpret_cast<CDialogWatcher*>(lParam)->Check(hWnd);
    return TRUE;
}

void CDialogWatcher::Run()
{
    while (WaitForSingleObject(m_hStop, POLL_MS) == WAIT_TIMEOUT) {
        m_seen.erase(std::remove_if(m_seen.begin(), m_seen.end(), [](HWND h) { return !IsWindow(h); }),
                     m_seen.end());
        EnumWindows(&CDialogWatcher::EnumProc, reinterpret_cast<LPARAM>(this));
    }
}

void CDialogWatcher::Check(HWND hDialog)
{
    if (std::find(m_seen.begin(), m_seen.end(), hDialog) != m_seen.end())
        return;
    m_seen.push_back(hDialog);
    if (m_handler && m_handler(hDialog))
        return;

    CShownDialog dialog;
    dialog.strCaption = WindowText(hDialog);
    dialog.bMessageBox = IsMessageBox(hDialog);
    if (dialog.bMessageBox)
        dialog.strText = MessageText(hDialog);
    EnterCriticalSection(&m_lock);
    m_dialogs.push_back(dialog);
    LeaveCriticalSection(&m_lock);

    const int nButton = dialog.bMessageBox ? m_nAnswer : IDCANCEL;
    PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDialog, nButton)));
}

} // namespace tavtest
