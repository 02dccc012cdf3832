// CDownloadTask: the main window's download job. Its worker thread resolves
// the page, asks where to save and copies the stream into the file; the main
// thread starts, pauses and stops it.
#pragma once

#include "Afx.h"

class CDownloadTask {
public:
    CDownloadTask() = default;
    virtual ~CDownloadTask();
    CDownloadTask(const CDownloadTask&) = delete;
    CDownloadTask& operator=(const CDownloadTask&) = delete;

    // The worker thread's work.
    void Download();

    // Starts the worker; its handle, or null when it could not be created.
    HANDLE StartThread();
    void TogglePause();
    void Stop();

    static DWORD WINAPI DownloadThreadProc(LPVOID pParam);

    CString m_strFilePath;
    HANDLE m_hThread = nullptr;
    DWORD m_dwStartTick = 0;
    int m_nBytesReceived = 0;
    bool m_bPaused = false;
    CFile m_file;
};
