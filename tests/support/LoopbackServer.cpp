#include "LoopbackServer.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace tavtest {

namespace {

const char* ReasonPhrase(int nStatus)
{
    switch (nStatus) {
    case 200: return "OK";
    case 206: return "Partial Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 303: return "See Other";
    case 307: return "Temporary Redirect";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

const size_t MAX_REQUEST = 65536;
const DWORD REQUEST_TIMEOUT_MS = 10000;

} // namespace

CServerReply CServerReply::Http(int nStatus, const std::string& strBody, const std::string& strExtraHeaders)
{
    char szHead[128];
    snprintf(szHead, sizeof(szHead), "HTTP/1.1 %d %s\r\nContent-Length: %zu\r\n", nStatus,
             ReasonPhrase(nStatus), strBody.size());
    CServerReply reply;
    reply.strData = szHead + strExtraHeaders + "\r\n" + strBody;
    return reply;
}

CServerReply CServerReply::Redirect(const std::string& strLocation, int nStatus)
{
    return Http(nStatus, std::string(), "Location: " + strLocation + "\r\n");
}

CServerReply CServerReply::Raw(const std::string& strData, EEnd nEnd, DWORD dwHoldMs)
{
    CServerReply reply;
    reply.strData = strData;
    reply.nEnd = nEnd;
    reply.dwHoldMs = dwHoldMs;
    return reply;
}

CLoopbackServer::CLoopbackServer(Responder responder, unsigned short nPort)
    : m_responder(std::move(responder))
{
    InitializeCriticalSection(&m_lock);
    m_hStop = CreateEventA(nullptr, TRUE, FALSE, nullptr);

    SOCKET hListen = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (hListen == INVALID_SOCKET)
        return;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(nPort);
    int nSize = sizeof(address);
    if (bind(hListen, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == SOCKET_ERROR ||
        listen(hListen, 16) == SOCKET_ERROR ||
        getsockname(hListen, reinterpret_cast<sockaddr*>(&address), &nSize) == SOCKET_ERROR) {
        closesocket(hListen);
        return;
    }
    m_hListen = hListen;
    m_nPort = ntohs(address.sin_port);
    m_hThread = CreateThread(nullptr, 0, &CLoopbackServer::ThreadProc, this, 0, nullptr);
}

CLoopbackServer::~CLoopbackServer()
{
    SetEvent(m_hStop);
    if (m_hThread) {
        WaitForSingleObject(m_hThread, INFINITE);
        CloseHandle(m_hThread);
    }
    if (m_hListen != INVALID_SOCKET)
        closesocket(m_hListen);
    CloseHandle(m_hStop);
    DeleteCriticalSection(&m_lock);
}

std::string CLoopbackServer::Url(const std::string& strObject) const
{
    return "http://127.0.0.1:" + std::to_string(m_nPort) + strObject;
}

std::vector<std::string> CLoopbackServer::Requests() const
{
    EnterCriticalSection(&m_lock);
    std::vector<std::string> requests = m_requests;
    LeaveCriticalSection(&m_lock);
    return requests;
}

bool CLoopbackServer::WaitForRequests(size_t nCount, DWORD dwTimeoutMs) const
{
    const DWORD dwStart = GetTickCount();
    while (Requests().size() < nCount) {
        if (GetTickCount() - dwStart > dwTimeoutMs)
            return false;
        Sleep(10);
    }
    return true;
}

CLoopbackServer::Responder CLoopbackServer::Script(std::vector<CServerReply> replies)
{
    auto pReplies = std::make_shared<std::vector<CServerReply>>(std::move(replies));
    auto pNext = std::make_shared<size_t>(0);
    return [pReplies, pNext](const std::string&) {
        if (*pNext >= pReplies->size())
            return CServerReply();
        return (*pReplies)[(*pNext)++];
    };
}

CLoopbackServer::Responder CLoopbackServer::Routes(std::map<std::string, CServerReply> routes)
{
    auto pRoutes = std::make_shared<std::map<std::string, CServerReply>>(std::move(routes));
    return [pRoutes](const std::string& strRequest) {
        auto it = pRoutes->find(RequestObject(strRequest));
        if (it == pRoutes->end())
            return CServerReply::Http(404, "not found");
        return it->second;
    };
}

std::string CLoopbackServer::RequestObject(const std::string& strRequest)
{
    size_t nStart = strRequest.find(' ');
    if (nStart == std::string::npos)
        return std::string();
    ++nStart;
    size_t nEnd = strRequest.find(" HTTP/", nStart);
    if (nEnd == std::string::npos)
        return std::string();
    return strRequest.substr(nStart, nEnd - nStart);
}

std::string CLoopbackServer::RequestField(const std::string& strRequest, const std::string& strName)
{
    const std::string strKey = "\r\n" + strName + ":";
    size_t nStart = strRequest.find(strKey);
    if (nStart == std::string::npos)
        return std::string();
    nStart += strKey.size();
    size_t nEnd = strRequest.find("\r\n", nStart);
    return strRequest.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
}

DWORD WINAPI CLoopbackServer::ThreadProc(LPVOID pParam)
{
    static_cast<CLoopbackServer*>(pParam)->Run();
    return 0;
}

bool CLoopbackServer::Stopping() const
{
    return WaitForSingleObject(m_hStop, 0) == WAIT_OBJECT_0;
}

void CLoopbackServer::Run()
{
    while (!Stopping()) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_hListen, &readable);
        timeval wait = {0, 50000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0)
            continue;
        SOCKET hClient = accept(m_hListen, nullptr, nullptr);
        if (hClient == INVALID_SOCKET)
            continue;
        Serve(hClient);
    }
}

bool CLoopbackServer::SendAll(SOCKET hClient, const char* pData, size_t nLength) const
{
    while (nLength > 0) {
        int nSent = send(hClient, pData, static_cast<int>(nLength), 0);
        if (nSent <= 0)
            return false;
        pData += nSent;
        nLength -= static_cast<size_t>(nSent);
    }
    return true;
}

void CLoopbackServer::Serve(SOCKET hClient)
{
    DWORD dwTimeout = REQUEST_TIMEOUT_MS;
    setsockopt(hClient, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&dwTimeout),
               sizeof(dwTimeout));

    std::string strRequest;
    char buffer[4096];
    while (strRequest.find("\r\n\r\n") == std::string::npos && strRequest.size() < MAX_REQUEST) {
        int nRead = recv(hClient, buffer, sizeof(buffer), 0);
        if (nRead <= 0)
            break;
        strRequest.append(buffer, static_cast<size_t>(nRead));
    }
    EnterCriticalSection(&m_lock);
    m_requests.push_back(strRequest);
    LeaveCriticalSection(&m_lock);

    const CServerReply reply = m_responder ? m_responder(strRequest) : CServerReply();

    bool bSent = true;
    if (reply.nChunk == 0) {
        bSent = SendAll(hClient, reply.strData.data(), reply.strData.size());
    } else {
        for (size_t nPos = 0; bSent && nPos < reply.strData.size(); nPos += reply.nChunk) {
            const size_t nLength = std::min(reply.nChunk, reply.strData.size() - nPos);
            bSent = SendAll(hClient, reply.strData.data() + nPos, nLength);
            if (bSent && reply.dwChunkDelayMs &&
                WaitForSingleObject(m_hStop, reply.dwChunkDelayMs) == WAIT_OBJECT_0)
                bSent = false;
        }
    }

    if (bSent && reply.nEnd == CServerReply::endHold) {
        const DWORD dwStart = GetTickCount();
        while (!Stopping() && GetTickCount() - dwStart < reply.dwHoldMs) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(hClient, &readable);
            timeval wait = {0, 50000};
            if (select(0, &readable, nullptr, nullptr, &wait) > 0) {
                // The client closed (or sent more, which is read and dropped).
                if (recv(hClient, buffer, sizeof(buffer), 0) <= 0)
                    break;
            }
        }
    }

    if (reply.nEnd == CServerReply::endReset) {
        linger stop = {1, 0};
        setsockopt(hClient, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&stop), sizeof(stop));
    } else {
        shutdown(hClient, SD_SEND);
    }
    closesocket(hClient);
}

} // namespace tavtest
