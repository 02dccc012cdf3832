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
    : m_responder(std::move(responder)), m_listener(nPort)
{
    m_listener.Start([this](SOCKET hClient) { Serve(hClient); });
}

CLoopbackServer::~CLoopbackServer()
{
    m_listener.Stop();
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
    const std::string strRequest = CLoopbackListener::ReadRequest(hClient);
    m_listener.AddRequest(strRequest);

    const CServerReply reply = m_responder ? m_responder(strRequest) : CServerReply();

    bool bSent = true;
    if (reply.nChunk == 0) {
        bSent = SendAll(hClient, reply.strData.data(), reply.strData.size());
    } else {
        for (size_t nPos = 0; bSent && nPos < reply.strData.size(); nPos += reply.nChunk) {
            const size_t nLength = std::min(reply.nChunk, reply.strData.size() - nPos);
            bSent = SendAll(hClient, reply.strData.data() + nPos, nLength);
            if (bSent && reply.dwChunkDelayMs && m_listener.WaitForStop(reply.dwChunkDelayMs))
                bSent = false;
        }
    }

    if (bSent && reply.nEnd == CServerReply::endHold) {
        const DWORD dwStart = GetTickCount();
        while (!m_listener.Stopping() && GetTickCount() - dwStart < reply.dwHoldMs) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(hClient, &readable);
            timeval wait = {0, 50000};
            char buffer[4096];
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
