#include "DownloadTask.h"

CDownloadTask::~CDownloadTask()
{
    Stop();
}

void CDownloadTask::Download()
{
}

DWORD WINAPI CDownloadTask::DownloadThreadProc(LPVOID pParam)
{
    static_cast<CDownloadTask*>(pParam)->Download();
    return 0;
}

HANDLE CDownloadTask::StartThread()
{
    m_hThread = CreateThread(nullptr, 0, &CDownloadTask::DownloadThreadProc, this, 0, nullptr);
    if (!m_hThread)
        AfxMessageBox("Failed");
    return m_hThread;
}

void CDownloadTask::TogglePause()
{
    if (!m_hThread) {
        AfxMessageBox("Please download first.");
        return;
    }
    CString strText;
    if (!m_bPaused) {
        SuspendThread(m_hThread);
        m_bPaused = true;
        strText.Format("Suspend %d", m_nBytesReceived);
        AfxMessageBox(strText);
    } else {
        strText.Format("Resume  %d", m_nBytesReceived);
        AfxMessageBox(strText);
        ResumeThread(m_hThread);
        m_bPaused = false;
    }
}

void CDownloadTask::Stop()
{
    if (!m_hThread)
        return;
    if (WaitForSingleObject(m_hThread, 500) == WAIT_TIMEOUT)
        TerminateThread(m_hThread, 0);
    CloseHandle(m_hThread);
    m_hThread = nullptr;
    m_file.Close();
}
