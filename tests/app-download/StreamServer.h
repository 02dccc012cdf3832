// CStreamServer: the video stream's server for the download tests, on
// 127.0.0.1 in the test process, one thread per connection. It reads the
// request header, then sends the reply header and the body as its plan says:
// all of it, possibly paced, or a first part followed by a pause that lasts
// until the test releases it (or the client goes away), or a first part
// followed by an early close. It records the requests and notices when a
// client closes a paused connection.
#pragma once

#include "LoopbackListener.h"

#include <string>
#include <vector>

namespace tavtest {

class CStreamServer {
public:
    struct CPlan {
        int nStatus = 200;
        std::string strBody;
        // The Content-Length sent; -1 for the body's size.
        long long nAnnounced = -1;
        // Bytes of the body sent before the pause (or the early close);
        // npos sends the whole body at once.
        size_t nFirstPart = std::string::npos;
        // After the first part: close the connection instead of pausing.
        bool bCloseAfterFirstPart = false;
        // The body goes out in pieces of nChunk bytes, with dwChunkDelayMs
        // after each one.
        size_t nChunk = 65536;
        DWORD dwChunkDelayMs = 0;
    };

    explicit CStreamServer(unsigned short nPort = 0);
    ~CStreamServer();
    CStreamServer(const CStreamServer&) = delete;
    CStreamServer& operator=(const CStreamServer&) = delete;

    bool IsListening() const { return m_listener.IsListening(); }
    // "http://127.0.0.1:<port>" followed by strObject.
    std::string Url(const std::string& strObject) const { return m_listener.Url(strObject); }

    // The plan for the connections that come in from now on.
    void SetPlan(const CPlan& plan);
    // Lets every paused connection send the rest of its body.
    void Release();
    // Waits until a client has closed a paused connection.
    bool WaitForClientClose(DWORD dwTimeoutMs) const;
    // Waits until a paused connection has sent its first part.
    bool WaitForPause(DWORD dwTimeoutMs) const;

    std::vector<std::string> Requests() const { return m_listener.Requests(); }
    bool WaitForRequests(size_t nCount, DWORD dwTimeoutMs) const
    {
        return m_listener.WaitForRequests(nCount, dwTimeoutMs);
    }

private:
    struct CConnection {
        CStreamServer* pServer;
        SOCKET hClient;
        CPlan plan;
    };
    // On the accept thread: a thread of its own for the connection.
    void Accept(SOCKET hClient);
    static DWORD WINAPI ServeProc(LPVOID pParam);
    void Serve(SOCKET hClient, const CPlan& plan);
    bool SendPaced(SOCKET hClient, const std::string& strData, size_t nFrom, size_t nTo, const CPlan& plan) const;
    // False when the client closed the connection or the server stops.
    bool HoldUntilReleased(SOCKET hClient) const;

    HANDLE m_hRelease = nullptr;
    HANDLE m_hClientClosed = nullptr;
    HANDLE m_hPaused = nullptr;
    CRITICAL_SECTION m_lock;
    CPlan m_plan;
    std::vector<HANDLE> m_threads;
    CLoopbackListener m_listener;
};

} // namespace tavtest
