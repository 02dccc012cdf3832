#include "LoopbackListener.h"

namespace tavtest {

namespace {

const size_t MAX_REQUEST = 65536;
const DWORD REQUEST_TIMEOUT_MS = 10000;

} // namespace

CLoopbackListener::CLoopbackListener(unsigned short nPort)
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
}

CLoopbackListener::~CLoopbackListener()
{
    Stop();
    if (m_hListen != INVALID_SOCKET)
        closesocket(m_hListen);
    CloseHandle(m_hStop);
    DeleteCriticalSection(&m_lock);
}

std::string CLoopbackListener::Url(const std::string& strObject) const
{
    return "http://127.0.0.1:" + std::to_string(m_nPort) + strObject;
}

void CLoopbackListener::Start(Handler handler)
{
    if (!IsListening() || m_hThread)
        return;
    m_handler = std::move(handler);
    m_hThread = CreateThread(nullptr, 0, &CLoopbackListener::AcceptProc, this, 0, nullptr);
}

void CLoopbackListener::Stop()
{
    SetEvent(m_hStop);
    if (m_hThread) {
        WaitForSingleObject(m_hThread, INFINITE);
        CloseHandle(m_hThread);
        m_hThread = nullptr;
    }
}

bool CLoopbackListener::WaitForStop(DWORD dwMs) const
{
    return WaitForSingleObject(m_hStop, dwMs) == WAIT_OBJECT_0;
}

DWORD WINAPI CLoopbackListener::AcceptProc(LPVOID pParam)
{
    auto* pListener = static_cast<CLoopbackListener*>(pParam);
    while (!pListener->Stopping()) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(pListener->m_hListen, &readable);
        timeval wait = {0, 50000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0)
            continue;
        SOCKET hClient = accept(pListener->m_hListen, nullptr, nullptr);
        if (hClient != INVALID_SOCKET)
            pListener->m_handler(hClient);
    }
    return 0;
}

std::string CLoopbackListener::ReadRequest(SOCKET hClient)
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
    return strRequest;
}

void CLoopbackListener::AddRequest(const std::string& strRequest)
{
    EnterCriticalSection(&m_lock);
    m_requests.push_back(strRequest);
    LeaveCriticalSection(&m_lock);
}

std::vector<std::string> CLoopbackListener::Requests() const
{
    EnterCriticalSection(&m_lock);
    std::vector<std::string> requests = m_requests;
    LeaveCriticalSection(&m_lock);
    return requests;
}

bool CLoopbackListener::WaitForRequests(size_t nCount, DWORD dwTimeoutMs) const
{
    const DWORD dwStart = GetTickCount();
    while (Requests().size() < nCount) {
        if (GetTickCount() - dwStart > dwTimeoutMs)
            return false;
        Sleep(10);
    }
    return true;
}

} // namespace tavtest
