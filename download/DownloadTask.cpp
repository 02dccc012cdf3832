#include "DownloadTask.h"

#include <shellapi.h>

#include <climits>
#include <cstdlib>

#include "DownloaderDlg.h"
#include "VideoAddress.h"

namespace {

// The body is copied in chunks of this size.
constexpr long CHUNK_SIZE = 1024;
// Receive time-out of the stream connection.
constexpr int RECEIVE_TIMEOUT_MS = 30000;
// How long Stop lets a worker end on its own before it terminates it.
constexpr DWORD STOP_WAIT_MS = 500;

// Waits up to dwTimeout ms for hThread to end while handling messages that
// other threads send to this thread's windows, so that a worker blocked in
// a call into one of them can go on to its end. TRUE when it ended.
BOOL WaitForThreadEnd(HANDLE hThread, DWORD dwTimeout)
{
    DWORD dwStart = GetTickCount();
    for (;;) {
        DWORD dwSpent = GetTickCount() - dwStart;
        DWORD dwLeft = dwSpent >= dwTimeout ? 0 : dwTimeout - dwSpent;
        DWORD dwResult = MsgWaitForMultipleObjects(1, &hThread, FALSE, dwLeft, QS_SENDMESSAGE);
        if (dwResult == WAIT_OBJECT_0)
            return TRUE;
        if (dwResult != WAIT_OBJECT_0 + 1)
            return FALSE;
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

BOOL CALLBACK CloseThreadWindow(HWND hWnd, LPARAM)
{
    // Message boxes and the save dialog take this as their Cancel.
    PostMessageA(hWnd, WM_CLOSE, 0, 0);
    return TRUE;
}

} // namespace

CDownloadTask::CDownloadTask()
{
    InitializeCriticalSection(&m_csSocket);
    m_hRunEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
}

CDownloadTask::~CDownloadTask()
{
    Stop();
    if (m_hWorker)
        CloseHandle(m_hWorker);
    if (m_hRunEvent)
        CloseHandle(m_hRunEvent);
    DeleteCriticalSection(&m_csSocket);
}

// ---------------------------------------------------------------------------
// Worker thread

DWORD WINAPI CDownloadTask::DownloadThreadProc(LPVOID pParam)
{
    static_cast<CDownloadTask*>(pParam)->Download();
    return 0;
}

void CDownloadTask::WorkerMessage(const char* pszText)
{
    if (!IsStopping())
        AfxMessageBox(pszText);
}

bool CDownloadTask::WaitWhilePaused()
{
    WaitForSingleObject(m_hRunEvent, INFINITE);
    return !IsStopping();
}

void CDownloadTask::EndTransfer()
{
    m_hThread = nullptr;
}

void CDownloadTask::Download()
{
    CDownloaderDlg& dlg = *m_pDlg;

    CString strTempPath = GetDownloadFolder() + "\\tmpdownload";
    CString strProposedName;
    if (!ResolveVideoAddress(m_strPageURL, strProposedName, strTempPath, m_nQuality)) {
        WorkerMessage("Failure!");
        return;
    }
    if (!WaitWhilePaused())
        return;

    CFileDialog dlgSave(FALSE, nullptr, strProposedName, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr);
    if (dlgSave.DoModal() != IDOK || IsStopping())
        return;

    m_strFilePath = dlgSave.GetPathName();
    m_strFilePath.MakeLower();
    const char* pszExtension = nullptr;
    if (m_nQuality == 0 || m_nQuality == 1)
        pszExtension = ".flv";
    else if (m_nQuality == 2)
        pszExtension = ".mp4";
    if (pszExtension && (m_strFilePath.GetLength() <= 4 || m_strFilePath.Right(4) != pszExtension))
        m_strFilePath += pszExtension;

    m_strRequestURL = g_strStreamAddress;
    m_nBytesReceived = 0;

    int nStatus = -1;
    for (int nRedirections = 0;; ++nRedirections) {
        if (!WaitWhilePaused())
            return;
        CString strHost, strObject;
        int nPort = 80;
        SplitAddress(m_strRequestURL, strHost, strObject, nPort);

        // The socket's interface takes writable pointers; it does not write
        // through them.
        long nLength = 0;
        const char* pszRequest = m_socket.FormatRequestHeader(
            const_cast<char*>(strHost.GetString()), const_cast<char*>(strObject.GetString()), nLength, nullptr,
            nullptr, static_cast<long>(m_nBytesReceived.load()), 0, 0);
        dlg.m_editRequest.SetWindowText(pszRequest);

        EnterCriticalSection(&m_csSocket);
        bool bStopping = IsStopping();
        if (!bStopping)
            m_socket.Socket();
        LeaveCriticalSection(&m_csSocket);
        if (bStopping)
            return;

        // A connection or request that fails leaves the previous reply in the
        // socket; its status must not be taken for this request's.
        nStatus = -1;
        if (m_socket.Connect(const_cast<char*>(strHost.GetString()), nPort)) {
            // Set before the request, so that it also covers the wait for the
            // reply header.
            m_socket.SetTimeout(RECEIVE_TIMEOUT_MS, 0);
            if (m_socket.SendRequest(nullptr, 0))
                nStatus = m_socket.GetServerState();
        }
        CString strReply;
        if (nStatus != -1) {
            char szLine[CHUNK_SIZE];
            int nLine;
            while ((nLine = m_socket.GetResponseLine(szLine, sizeof(szLine))) >= 0)
                strReply += CString(szLine, nLine);
            // A connection closed before a status line came leaves the
            // status digits of an earlier reply in the socket's buffer.
            if (strReply.GetLength() < 12 || strReply.Left(5) != "HTTP/")
                nStatus = -1;
        }
        dlg.m_editReply.SetWindowText(strReply);
        if (IsStopping())
            return;

        if (nStatus < 300 || nStatus > 399)
            break;
        if (nRedirections == MAX_REDIRECTIONS) {
            nStatus = -1;
            break;
        }
        if (!GetRedirectLocation(m_socket, m_strRequestURL)) {
            nStatus = -1;
            break;
        }
        EnterCriticalSection(&m_csSocket);
        m_socket.CloseSocket();
        LeaveCriticalSection(&m_csSocket);
    }

    if (nStatus >= 200 && nStatus <= 299) {
        ReceiveBody(dlg);
        return;
    }
    WorkerMessage("Error!");
    EnterCriticalSection(&m_csSocket);
    m_socket.CloseSocket();
    LeaveCriticalSection(&m_csSocket);
    EndTransfer();
}

void CDownloadTask::ReceiveBody(CDownloaderDlg& dlg)
{
    char szLength[30] = {};
    LONGLONG nTotal = 0;
    if (m_socket.GetField("Content-Length", szLength, sizeof(szLength)) > 0) {
        char* pEnd = nullptr;
        long long nValue = strtoll(szLength, &pEnd, 10);
        if (pEnd != szLength && nValue > 0)
            nTotal = nValue;
    }

    dlg.m_progress.ShowWindow(SW_SHOW);
    LONGLONG nUnits = (m_nBytesReceived + nTotal) / CHUNK_SIZE;
    dlg.m_progress.SetRange(0, nUnits > INT_MAX ? INT_MAX : static_cast<int>(nUnits));

    CString strFolder = m_strFilePath.Left(m_strFilePath.ReverseFind('\\'));
    if (!m_file.Open(m_strFilePath, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite |
                                        CFile::shareDenyNone)) {
        // Nothing was written, so there is no folder to show.
        WorkerMessage(CString("Can't open the file for writing!\n") + m_strFilePath);
        EnterCriticalSection(&m_csSocket);
        m_socket.CloseSocket();
        LeaveCriticalSection(&m_csSocket);
        EndTransfer();
        return;
    }

    m_dwStartTick = GetTickCount();
    enum { RECEIVED, CLOSED, TIMED_OUT, WRITE_FAILED, STOPPED } nOutcome = RECEIVED;
    LONGLONG nCount = 0;
    char buffer[CHUNK_SIZE];
    while (nCount < nTotal) {
        if (!WaitWhilePaused()) {
            nOutcome = STOPPED;
            break;
        }
        // Never past the announced length.
        long nWant = nTotal - nCount < CHUNK_SIZE ? static_cast<long>(nTotal - nCount) : CHUNK_SIZE;
        long nRead = m_socket.Receive(buffer, nWant);
        if (IsStopping()) {
            nOutcome = STOPPED;
            break;
        }
        if (nRead == 0) {
            nOutcome = CLOSED;
            break;
        }
        if (nRead < 0) {
            nOutcome = TIMED_OUT;
            break;
        }
        if (!m_file.Write(buffer, static_cast<UINT>(nRead))) {
            nOutcome = WRITE_FAILED;
            break;
        }
        m_nBytesReceived += nRead;
        nCount += nRead;
        dlg.m_progress.SetPos(static_cast<int>(m_nBytesReceived / CHUNK_SIZE));
        CString strSpeed = FormatSpeed(GetElapsed(), m_nBytesReceived);
        if (!strSpeed.IsEmpty())
            dlg.m_speedLabel.SetWindowText(strSpeed);
    }

    // Written from the first byte: a longer file chosen for the download
    // keeps none of its old bytes after the new ones.
    if (nOutcome != WRITE_FAILED)
        m_file.SetLength(static_cast<ULONGLONG>(nCount));

    switch (nOutcome) {
    case RECEIVED:
        WorkerMessage("Download Complete");
        break;
    case CLOSED:
        WorkerMessage("Connecting closed by the server!");
        break;
    case TIMED_OUT:
        WorkerMessage("Time out when reading the data.");
        break;
    case WRITE_FAILED:
        WorkerMessage(CString("Can't write to the file!\n") + m_strFilePath);
        break;
    case STOPPED:
        break;
    }

    EnterCriticalSection(&m_csSocket);
    m_socket.CloseSocket();
    LeaveCriticalSection(&m_csSocket);
    m_file.Close();
    bool bShowFolder = !IsStopping();
    // From here on the worker no longer touches the job.
    EndTransfer();
    if (bShowFolder)
        OpenFolder(strFolder);
}

void CDownloadTask::OpenFolder(const CString& strFolder)
{
    ShellExecuteA(nullptr, nullptr, "explorer.exe", strFolder, strFolder, SW_SHOWMAXIMIZED);
}

// ---------------------------------------------------------------------------
// Main thread

HANDLE CDownloadTask::StartThread(CDownloaderDlg& dlg)
{
    if (m_hThread.load())
        Stop();
    if (m_hWorker) {
        // A worker that ended its transfer may still be opening the folder;
        // it no longer touches the job, so its handle can go.
        CloseHandle(m_hWorker);
        m_hWorker = nullptr;
    }

    m_pDlg = &dlg;
    m_strPageURL = dlg.m_strURL;
    m_nQuality = dlg.m_nQuality;
    m_bStopping = false;
    SetEvent(m_hRunEvent);

    // Created suspended, so that the handle is recorded before the worker
    // can clear it.
    HANDLE hThread = CreateThread(nullptr, 0, &CDownloadTask::DownloadThreadProc, this, CREATE_SUSPENDED, nullptr);
    if (!hThread) {
        AfxMessageBox("Failed");
        return nullptr;
    }
    m_hWorker = hThread;
    m_hThread = hThread;
    ResumeThread(hThread);
    return hThread;
}

void CDownloadTask::TogglePause()
{
    if (!m_hThread.load()) {
        AfxMessageBox("Please download first.");
        return;
    }
    // The worker is held at its next wait for the run event, not suspended:
    // a thread suspended at an arbitrary point may hold a lock (the heap's,
    // the window manager's) that the message box below needs.
    CString strText;
    if (!m_bPaused) {
        ResetEvent(m_hRunEvent);
        m_bPaused = true;
        strText.Format("Suspend %lld", static_cast<long long>(m_nBytesReceived.load()));
        AfxMessageBox(strText);
    } else {
        strText.Format("Resume  %lld", static_cast<long long>(m_nBytesReceived.load()));
        AfxMessageBox(strText);
        SetEvent(m_hRunEvent);
        m_bPaused = false;
    }
}

void CDownloadTask::InterruptWorker(HANDLE hWorker)
{
    EnterCriticalSection(&m_csSocket);
    SOCKET hSocket = m_socket.m_hSocket;
    if (hSocket != 0 && hSocket != INVALID_SOCKET)
        shutdown(hSocket, SD_BOTH);
    LeaveCriticalSection(&m_csSocket);

    EnumThreadWindows(GetThreadId(hWorker), &CloseThreadWindow, 0);
}

void CDownloadTask::Stop()
{
    if (!m_hThread.load())
        return;
    HANDLE hWorker = m_hWorker;

    // Ask the worker to end: it checks the flag between its steps, a paused
    // worker is let go, a blocked receive is woken by the shutdown and a
    // modal box it shows is closed.
    m_bStopping = true;
    SetEvent(m_hRunEvent);
    InterruptWorker(hWorker);
    if (!WaitForThreadEnd(hWorker, STOP_WAIT_MS)) {
        // Stuck where it cannot be reached (a host lookup, a connect).
        TerminateThread(hWorker, 0);
        WaitForSingleObject(hWorker, STOP_WAIT_MS);
    }

    m_socket.CloseSocket();
    CloseHandle(hWorker);
    m_hWorker = nullptr;
    m_hThread = nullptr;
    m_file.Close();
    m_bStopping = false;
}

// ---------------------------------------------------------------------------
// Speed display

DWORD CDownloadTask::GetElapsed() const
{
    return GetTickCount() - m_dwStartTick;
}

CString CDownloadTask::FormatSize(double dValue)
{
    CString strText;
    if (dValue < 1024.0)
        strText.Format("%d b", static_cast<int>(dValue));
    else if (dValue < 1048576.0)
        strText.Format("%.2f K", dValue / 1024.0);
    else if (dValue < 1073741824.0)
        strText.Format("%.2f M", dValue / 1048576.0);
    else
        strText.Format("%.2f G", dValue / 1073741824.0);
    return strText;
}

CString CDownloadTask::FormatSpeed(DWORD dwElapsed, LONGLONG nBytesReceived)
{
    if (!(dwElapsed > 5000 || (dwElapsed > 2000 && nBytesReceived > 10240)))
        return CString();
    double dRate = static_cast<double>(nBytesReceived) / (dwElapsed * 0.001);
    return FormatSize(dRate) + "/S";
}
