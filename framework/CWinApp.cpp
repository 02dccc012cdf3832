#include "CWinApp.h"

namespace {

CWinApp* g_pApp = nullptr;

} // namespace

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

CWinApp::CWinApp(const char* pszAppName)
{
    g_pApp = this;
    if (pszAppName) {
        m_strAppName = pszAppName;
        m_pszAppName = m_strAppName;
    }
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::SetInstance(HINSTANCE hInstance, const char* pszCmdLine, int nCmdShow)
{
    m_hInstance = hInstance;
    m_lpCmdLine = pszCmdLine;
    m_nCmdShow = nCmdShow;
    if (!m_pszAppName) {
        char szPath[MAX_PATH] = {};
        GetModuleFileNameA(hInstance, szPath, MAX_PATH);
        CString strName(szPath);
        strName = strName.Mid(strName.ReverseFind('\\') + 1);
        int nDot = strName.ReverseFind('.');
        if (nDot >= 0)
            strName = strName.Left(nDot);
        m_strAppName = strName;
        m_pszAppName = m_strAppName;
    }
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

int CWinApp::Run()
{
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return ExitInstance();
}

int CWinApp::DoMessageBox(const char* pszPrompt, UINT nType, UINT)
{
    HWND hOwner = nullptr;
    if (m_pMainWnd && ::IsWindow(m_pMainWnd->m_hWnd))
        hOwner = ::GetLastActivePopup(m_pMainWnd->m_hWnd);
    if ((nType & MB_ICONMASK) == 0) {
        UINT nButtons = nType & MB_TYPEMASK;
        if (nButtons == MB_OK || nButtons == MB_OKCANCEL)
            nType |= MB_ICONEXCLAMATION;
    }
    return ::MessageBoxA(hOwner, pszPrompt, m_pszAppName, nType);
}

BOOL CWinApp::OnCmdMsg(UINT nID, int nCode)
{
    if (nID == ID_HELP && nCode == 0) {
        OnHelp();
        return TRUE;
    }
    return CCmdTarget::OnCmdMsg(nID, nCode);
}

void CWinApp::OnHelp()
{
    if (m_pMainWnd && ::IsWindow(m_pMainWnd->m_hWnd))
        m_pMainWnd->SendMessage(WM_HELP);
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWnd* AfxGetMainWnd()
{
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return AfxGetInstanceHandle();
}

const char* AfxGetAppName()
{
    return g_pApp ? g_pApp->m_pszAppName : nullptr;
}

void AfxEnableControlContainer()
{
    if (g_pApp)
        g_pApp->EnableControlContainer();
}

int AfxMessageBox(const char* pszText, UINT nType, UINT nIDHelp)
{
    if (g_pApp)
        return g_pApp->DoMessageBox(pszText, nType, nIDHelp);
    return ::MessageBoxA(nullptr, pszText, nullptr, nType);
}

int AfxWinMain(HINSTANCE hInstance, const char* pszCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    pApp->SetInstance(hInstance, pszCmdLine, nCmdShow);
    if (!pApp->InitInstance()) {
        if (pApp->m_pMainWnd && ::IsWindow(pApp->m_pMainWnd->m_hWnd))
            pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}
