// CLoopbackListener: the listening side of the test servers (CLoopbackServer,
// the download tests' stream server): a socket on 127.0.0.1, a thread that
// accepts its connections and hands each to the server, a stop event for the
// server's own waits, and the log of the request headers the server read.
#pragma once

#include "TestSupport.h"

#include <functional>
#include <string>
#include <vector>

namespace tavtest {

class CLoopbackListener {
public:
    // Gets each accepted connection on the accept thread and closes it.
    using Handler = std::function<void(SOCKET hClient)>;

    // Listens on 127.0.0.1:nPort; 0 picks a free port.
    explicit CLoopbackListener(unsigned short nPort);
    ~CLoopbackListener();
    CLoopbackListener(const CLoopbackListener&) = delete;
    CLoopbackListener& operator=(const CLoopbackListener&) = delete;

    bool IsListening() const { return m_hListen != INVALID_SOCKET; }
    unsigned short Port() const { return m_nPort; }
    // "http://127.0.0.1:<port>" followed by strObject (which starts with "/").
    std::string Url(const std::string& strObject) const;

    // Accepts connections on a thread of its own until Stop.
    void Start(Handler handler);
    // Ends the accept thread and waits for it; the server calls it first
    // thing in its destructor, before the handler's objects go.
    void Stop();
    bool Stopping() const { return WaitForStop(0); }
    // Waits up to dwMs; true when the listener was stopped meanwhile.
    bool WaitForStop(DWORD dwMs) const;

    // The request header from a client, up to its empty line (or what came
    // before the client stopped sending).
    static std::string ReadRequest(SOCKET hClient);
    void AddRequest(const std::string& strRequest);
    // The request headers added so far, in order.
    std::vector<std::string> Requests() const;
    // Waits until at least nCount requests have come in; false on time-out.
    bool WaitForRequests(size_t nCount, DWORD dwTimeoutMs) const;

private:
    static DWORD WINAPI AcceptProc(LPVOID pParam);

    CWinsockScope m_winsock;
    SOCKET m_hListen = INVALID_SOCKET;
    unsigned short m_nPort = 0;
    Handler m_handler;
    HANDLE m_hThread = nullptr;
    HANDLE m_hStop = nullptr;
    mutable CRITICAL_SECTION m_lock;
    std::vector<std::string> m_requests;
};

} // namespace tavtest
