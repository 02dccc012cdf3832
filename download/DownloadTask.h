// CDownloadTask: the main window's download job. Its worker thread resolves
// the video page, asks where to save, requests the stream (following
// redirections) and copies the body into the file while it reports progress
// and speed in the main window; the main thread starts, pauses and stops it.
#pragma once

#include <atomic>

#include "Afx.h"
#include "HttpSocket.h"

class CDownloaderDlg;

class CDownloadTask {
public:
    CDownloadTask();
    virtual ~CDownloadTask();
    CDownloadTask(const CDownloadTask&) = delete;
    CDownloadTask& operator=(const CDownloadTask&) = delete;

    // The worker thread's work: the whole download, from the page address
    // and quality taken by StartThread to the saved file.
    void Download();
    // Copies the body of the current 2xx reply into the file.
    void ReceiveBody(CDownloaderDlg& dlg);

    // Main thread: starts a worker for the page address and quality now in
    // dlg's members; the worker reports through dlg's controls. The thread's
    // handle, or null (after the message "Failed") when it could not be
    // created.
    HANDLE StartThread(CDownloaderDlg& dlg);
    static DWORD WINAPI DownloadThreadProc(LPVOID pParam);
    // Main thread: pauses or continues the transfer, with a message. The
    // worker holds at its next safe point (between chunks and steps) rather
    // than being suspended wherever it is.
    void TogglePause();
    // Main thread: ends the worker and releases the socket and the file,
    // within about half a second. The worker is asked to end and woken where
    // it blocks; only one that does not end in time is terminated.
    void Stop();

    // Milliseconds since the body transfer began.
    DWORD GetElapsed() const;
    // "700 b", "50.00 K", "3.00 M", "1.50 G" for a size or a rate in bytes.
    static CString FormatSize(double dValue);
    // The speed label's text ("50.00 K/S") after dwElapsed ms of a body
    // transfer with nBytesReceived bytes; empty while it is too early to
    // show a rate.
    static CString FormatSpeed(DWORD dwElapsed, LONGLONG nBytesReceived);

    CString m_strFilePath;
    CHttpSocket m_socket;
    // Set while a worker is known to run; the worker clears it when it ends
    // a transfer, Stop when it ends the worker.
    std::atomic<HANDLE> m_hThread{nullptr};
    DWORD m_dwStartTick = 0;
    std::atomic<LONGLONG> m_nBytesReceived{0};
    bool m_bPaused = false;
    CFile m_file;

private:
    // Shows a message from the worker unless Stop is ending it.
    void WorkerMessage(const char* pszText);
    bool IsStopping() const { return m_bStopping.load(); }
    // Worker: waits while the job is paused; false when it is being stopped.
    bool WaitWhilePaused();
    // Worker: marks the worker as no longer running (m_hThread cleared).
    void EndTransfer();
    // Opens Windows Explorer on a folder.
    static void OpenFolder(const CString& strFolder);
    // Main thread: wakes a worker blocked in its socket or in a modal box.
    void InterruptWorker(HANDLE hWorker);

    // Taken by StartThread on the main thread; the worker reads only these,
    // never the dialog's members, which the main thread rewrites.
    CDownloaderDlg* m_pDlg = nullptr;
    CString m_strPageURL;
    int m_nQuality = 0;
    // The address of the current request (the stream, then each redirection).
    CString m_strRequestURL;

    // The worker's handle, owned by the main thread (closed by Stop or by the
    // next StartThread); m_hThread only tells whether it still runs.
    HANDLE m_hWorker = nullptr;
    std::atomic<bool> m_bStopping{false};
    // Open while not paused; the worker waits on it between chunks.
    HANDLE m_hRunEvent = nullptr;
    // Guards the socket handle between the worker's Socket/CloseSocket calls
    // and Stop's shutdown of a blocked receive.
    CRITICAL_SECTION m_csSocket;
};
