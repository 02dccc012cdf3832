#include "StreamServer.h"

#include <cstdio>

namespace tavtest {

namespace {

bool WaitEvent(HANDLE hEvent, DWORD dwTimeoutMs)
{
    return WaitForSingleObject(hEvent, dwTimeoutMs) == WAIT_OBJECT_0;
}

} // namespace

CStreamServer::CStreamServer(unsigned short nPort)
    : m_listener(nPort)
{
    InitializeCriticalSection(&m_lock);
    m_hRelease = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_hClientClosed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_hPaused = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_listener.Start([this](SOCKET hClient) { Accept(hClient); });
}

CStreamServer::~CStreamServer()
{
    m_listener.Stop();
    for (HANDLE hThread : m_threads) {
        WaitForSingleObject(hThread, 10000);
        CloseHandle(hThread);
    }
    CloseHandle(m_hPaused);
    CloseHandle(m_hClientClosed);
    CloseHandle(m_hRelease);
    DeleteCriticalSection(&m_lock);
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

void CStreamServer::Accept(SOCKET hClient)
{
    EnterCriticalSection(&m_lock);
    auto* pConnection = new CConnection{this, hClient, m_plan};
    HANDLE hThread = CreateThread(nullptr, 0, &CStreamServer::ServeProc, pConnection, 0, nullptr);
    if (hThread)
        m_threads.push_back(hThread);
    LeaveCriticalSection(&m_lock);
    if (!hThread) {
        closesocket(hClient);
        delete pConnection;
    }
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
        if (plan.dwChunkDelayMs && m_listener.WaitForStop(plan.dwChunkDelayMs))
            return false;
    }
    return true;
}

bool CStreamServer::HoldUntilReleased(SOCKET hClient) const
{
    for (;;) {
        if (m_listener.Stopping())
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
    std::string strRequest = CLoopbackListener::ReadRequest(hClient);
    if (strRequest.empty())
        return;
    m_listener.AddRequest(strRequest);

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
    while (!m_listener.Stopping()) {
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
