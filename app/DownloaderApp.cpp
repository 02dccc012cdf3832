#include "DownloaderApp.h"

#include "DownloaderDlg.h"

CDownloaderApp theApp;

BOOL CDownloaderApp::InitInstance()
{
    // Failures here are not reported: every later socket call fails instead,
    // and the download reports that with its own messages.
    WSADATA wsaData;
    WSAStartup(MAKEWORD(2, 0), &wsaData);
    if (LOBYTE(wsaData.wVersion) != 2)
        WSACleanup();

    AfxEnableControlContainer();
    Enable3dControlsStatic();

    CDownloaderDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();

    // The dialog has closed; returning FALSE skips the message loop.
    return FALSE;
}

int CDownloaderApp::ExitInstance()
{
    WSACleanup();
    return CWinApp::ExitInstance();
}
