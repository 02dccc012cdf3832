// CLoopbackServer: a scripted HTTP server for tests, listening on 127.0.0.1
// in the test process. It serves one connection at a time on its own thread:
// it reads the request header (up to the empty line), records it, and sends
// the reply its responder gives for it byte for byte, then ends the
// connection the way the reply says (close, reset, or hold it open).
#pragma once

#include "LoopbackListener.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tavtest {

struct CServerReply {
    enum EEnd {
        endClose, // orderly close after the data
        endReset, // abortive close (the client's next read fails)
        endHold,  // keep the connection open until the client closes it,
                  // dwHoldMs passes or the server stops
    };

    std::string strData;  // everything sent, status line included
    EEnd nEnd = endClose;
    DWORD dwHoldMs = 0;
    // When nChunk > 0 the data goes out in pieces of nChunk bytes with a
    // pause of dwChunkDelayMs after each one (for transfers that must take
    // a while).
    size_t nChunk = 0;
    DWORD dwChunkDelayMs = 0;

    // A complete reply: status line, Content-Length of the body, the extra
    // header lines (each ending in CR LF), the empty line and the body.
    static CServerReply Http(int nStatus, const std::string& strBody,
                             const std::string& strExtraHeaders = std::string());
    // A redirection to strLocation, without a body.
    static CServerReply Redirect(const std::string& strLocation, int nStatus = 302);
    // Exactly these bytes.
    static CServerReply Raw(const std::string& strData, EEnd nEnd = endClose, DWORD dwHoldMs = 0);
};

class CLoopbackServer {
public:
    // Gets the request header as received and returns the reply for it.
    using Responder = std::function<CServerReply(const std::string& strRequest)>;

    // Listens on 127.0.0.1:nPort; 0 picks a free port.
    explicit CLoopbackServer(Responder responder, unsigned short nPort = 0);
    ~CLoopbackServer();
    CLoopbackServer(const CLoopbackServer&) = delete;
    CLoopbackServer& operator=(const CLoopbackServer&) = delete;

    bool IsListening() const { return m_listener.IsListening(); }
    unsigned short Port() const { return m_listener.Port(); }
    // "http://127.0.0.1:<port>" followed by strObject (which starts with "/").
    std::string Url(const std::string& strObject) const { return m_listener.Url(strObject); }

    // The request headers received so far, in order.
    std::vector<std::string> Requests() const { return m_listener.Requests(); }
    // Waits until at least nCount requests have come in; false on time-out.
    bool WaitForRequests(size_t nCount, DWORD dwTimeoutMs) const
    {
        return m_listener.WaitForRequests(nCount, dwTimeoutMs);
    }

    // Replies in the given order, one per connection; once they are used up
    // the connection is closed without a reply.
    static Responder Script(std::vector<CServerReply> replies);
    // Replies by request object (path with query, e.g. "/watch?v=1"); others
    // get a 404.
    static Responder Routes(std::map<std::string, CServerReply> routes);
    // The object of a request line "GET <object> HTTP/1.1".
    static std::string RequestObject(const std::string& strRequest);
    // The value of header line strName ("Host") of a request, as sent.
    static std::string RequestField(const std::string& strRequest, const std::string& strName);

private:
    void Serve(SOCKET hClient);
    bool SendAll(SOCKET hClient, const char* pData, size_t nLength) const;

    Responder m_responder;
    CLoopbackListener m_listener;
};

} // namespace tavtest
