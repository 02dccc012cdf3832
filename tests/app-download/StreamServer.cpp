#include "StreamServer.h"

#include <cstdio>

namespace tavtest {

namespace {

bool WaitEvent(HANDLE hEvent, DWORD dwTimeoutMs)
{
    return WaitForSingleObject(hEvent, dwTimeoutMs) == WAIT_OBJECT_0;
}

// The request header, up to its empty line; empty when the client sent none.
std::string ReadRequest(SOCKET hClient)
{
    std::string strRequest;
    char ch;
    while (strRequest.size() < 65536 && recv(hClient, &ch, 1, 0) == 1) {
        strRequest += ch;
        if (strRequest.size() >= 4 && strRequest.compare(strRequest.size() - 4, 4, "\r\n\r\n") == 0)
            break;
    }
    return strRequest;
}

} // namespace

CStreamServer::CStreamServer(unsigned short nPort)
{
    InitializeCriticalSection(&m_lock);
    m_hStop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_hRelease = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_hClientClosed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_hPaused = CreateEventA(nullptr, TRUE, FALSE, nullptr);

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
    m_hAcceptThread = CreateThread(nullptr, 0, &CStreamServer::AcceptProc, this, 0, nullptr);
}

CStreamServer::~CStreamServer()
{
    SetEvent(m_hStop);
    if (m_hListen != INVALID_SOCKET)
        closesocket(m_hListen);
    if (m_hAcceptThread) {
        WaitForSingleObject(m_hAcceptThread, 10000);
        CloseHandle(m_hAcceptThread);
    }
    for (HANDLE hThread : m_threads) {
        WaitForSingleObject(hThread, 10000);
        CloseHandle(hThread);
    }
    CloseHandle(m_hPaused);
    CloseHandle(m_hClientClosed);
    CloseHandle(m_hRelease);
    CloseHandle(m_hStop);
    DeleteCriticalSection(&m_lock);
}

std::string CStreamServer::Url(const std::string& strObject) const
{
    return "http://127.0.0.1:" + std::to_string(m_nPort) + strObject;
}

void CStreamServer::SetPlan(const CPlan& plan)
{
    EnterCriticalSection(&m_lock);
    m_plan = plan;
    LeaveCriticalSection(&m_lock);
    ResetEvent(m_hRelease);
    ResetEvent(m_hClientClosed);
    ResetEvent(m_hPaused);
}

void CStreamServer::Release()
{
    SetEvent(m_hRelease);
}

bool CStreamServer::WaitForClientClose(DWORD dwTimeoutMs) const
{
    return WaitEvent(m_hClientClosed, dwTimeoutMs);
}

bool CStreamServer::WaitForPause(DWORD dwTimeoutMs) const
{
    return WaitEvent(m_hPaused, dwTimeoutMs);
}

std::vector<std::string> CStreamServer::Requests() const
{
    EnterCriticalSection(&m_lock);
    std::vector<std::string> requests = m_requests;
    LeaveCriticalSection(&m_lock);
    return requests;
}

bool CStreamServer::WaitForRequests(size_t nCount, DWORD dwTimeoutMs) const
{
    DWORD dwStart = GetTickCount();
    while (Requests().size() < nCount) {
        if (GetTickCount() - dwStart > dwTimeoutMs)
            return false;
        Sleep(10);
    }
    return true;
}

DWORD WINAPI CStreamServer::AcceptProc(LPVOID pParam)
{
    auto* pServer = static_cast<CStreamServer*>(pParam);
    for (;;) {
        SOCKET hClient = accept(pServer->m_hListen, nullptr, nullptr);
        if (hClient == INVALID_SOCKET)
            break;
        EnterCriticalSection(&pServer->m_lock);
        auto* pConnection = new CConnection{pServer, hClient, pServer->m_plan};
        HANDLE hThread = CreateThread(nullptr, 0, &CStreamServer::ServeProc, pConnection, 0, nullptr);
        if (hThread)
            pServer->m_threads.push_back(hThread);
        LeaveCriticalSection(&pServer->m_lock);
        if (!hThread) {
            closesocket(hClient);
            delete pConnection;
        }
    }
    return 0;
}

DWORD WINAPI CStreamServer::ServeProc(LPVOID pParam)
{
    auto* pConnection = static_cast<CConnection*>(pParam);
    pConnection->pServer->Serve(pConnection->hClient, pConnection->plan);
    closesocket(pConnection->hClient);
    delete pConnection;
    return 0;
}

bool CStreamServer::SendPaced(SOCKET hClient, const std::string& strData, size_t nFrom, size_t nTo,
                              const CPlan& plan) const
{
    size_t nChunk = plan.nChunk ? plan.nChunk : strData.size();
    while (nFrom < nTo) {
        int nPiece = static_cast<int>(nTo - nFrom < nChunk ? nTo - nFrom : nChunk);
        int nSent = send(hClient, strData.data() + nFrom, nPiece, 0);
        if (nSent <= 0)
            return false;
        nFrom += static_cast<size_t>(nSent);
        if (plan.dwChunkDelayMs && WaitEvent(m_hStop, plan.dwChunkDelayMs))
            return false;
    }
    return true;
}

bool CStreamServer::HoldUntilReleased(SOCKET hClient) const
{
    for (;;) {
        if (WaitEvent(m_hStop, 0))
            return false;
        if (WaitEvent(m_hRelease, 0))
            return true;
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(hClient, &readable);
        timeval tv = {0, 20000};
        if (select(0, &readable, nullptr, nullptr, &tv) > 0) {
            // The client sends nothing more: readable means it closed.
            char ch;
            if (recv(hClient, &ch, 1, 0) <= 0) {
                SetEvent(m_hClientClosed);
                return false;
            }
        }
    }
}

void CStreamServer::Serve(SOCKET hClient, const CPlan& plan)
{
    std::string strRequest = ReadRequest(hClient);
    if (strRequest.empty())
        return;
    EnterCriticalSection(&m_lock);
    m_requests.push_back(strRequest);
    LeaveCriticalSection(&m_lock);

    long long nAnnounced = plan.nAnnounced >= 0 ? plan.nAnnounced : static_cast<long long>(plan.strBody.size());
    char szHeader[160];
    snprintf(szHeader, sizeof(szHeader), "HTTP/1.1 %d Status\r\nContent-Length: %lld\r\nContent-Type: video/x-flv\r\n\r\n",
             plan.nStatus, nAnnounced);
    std::string strHeader = szHeader;
    if (send(hClient, strHeader.data(), static_cast<int>(strHeader.size()), 0) != static_cast<int>(strHeader.size()))
        return;

    size_t nFirst = plan.nFirstPart < plan.strBody.size() ? plan.nFirstPart : plan.strBody.size();
    if (!SendPaced(hClient, plan.strBody, 0, nFirst, plan))
        return;
    if (nFirst < plan.strBody.size() || plan.nFirstPart != std::string::npos) {
        if (plan.bCloseAfterFirstPart) {
            shutdown(hClient, SD_SEND);
            return;
        }
        SetEvent(m_hPaused);
        if (!HoldUntilReleased(hClient))
            return;
        if (!SendPaced(hClient, plan.strBody, nFirst, plan.strBody.size(), plan))
            return;
    }
    // Let the client read everything before the connection goes.
    shutdown(hClient, SD_SEND);
    while (!WaitEvent(m_hStop, 0)) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(hClient, &readable);
        timeval tv = {0, 20000};
        char buffer[256];
        if (select(0, &readable, nullptr, nullptr, &tv) > 0 && recv(hClient, buffer, sizeof(buffer), 0) <= 0)
            break;
    }
}

} // namespace tavtest
