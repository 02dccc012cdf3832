#include "HttpSocket.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Appends text to a fixed buffer and remembers when a piece did not fit
// together with the terminator.
class CRequestWriter {
public:
    CRequestWriter(char* pBuffer, size_t nSize) : m_pBuffer(pBuffer), m_nSize(nSize) {}

    void Add(const char* psz)
    {
        size_t nAdd = psz ? strlen(psz) : 0;
        if (m_bOverflow || nAdd >= m_nSize - m_nLength) {
            m_bOverflow = true;
            return;
        }
        memcpy(m_pBuffer + m_nLength, psz, nAdd);
        m_nLength += nAdd;
    }
    void AddNumber(long nValue)
    {
        char szNumber[24];
        snprintf(szNumber, sizeof(szNumber), "%ld", nValue);
        Add(szNumber);
    }
    bool Overflow() const { return m_bOverflow; }
    size_t Length() const { return m_nLength; }

private:
    char* m_pBuffer;
    size_t m_nSize;
    size_t m_nLength = 0;
    bool m_bOverflow = false;
};

const char CRLF[] = "\r\n";

} // namespace

CHttpSocket::CHttpSocket()
    : m_nPort(80), m_bConnected(0), m_hSocket(0), m_pHostEntry(nullptr), m_nLinePos(0),
      m_bHaveReply(0), m_nReplyLength(-1)
{
    memset(m_szReply, 0, sizeof(m_szReply));
    memset(m_szRequest, 0, sizeof(m_szRequest));
    memset(m_szAddress, 0, sizeof(m_szAddress));
}

CHttpSocket::~CHttpSocket()
{
    CloseSocket();
}

int CHttpSocket::Socket()
{
    if (m_bConnected)
        return 0;
    // A handle left by an earlier call that never connected is released
    // rather than leaked.
    if (m_hSocket != 0 && m_hSocket != INVALID_SOCKET)
        closesocket(m_hSocket);
    const protoent* pProto = getprotobyname("tcp");
    m_hSocket = socket(AF_INET, SOCK_STREAM, pProto ? pProto->p_proto : IPPROTO_TCP);
    return m_hSocket != INVALID_SOCKET ? 1 : 0;
}

int CHttpSocket::Connect(char* pServer, int nPort)
{
    if (!pServer)
        return 0;
    if (m_bConnected)
        CloseSocket();

    m_nPort = nPort;
    m_pHostEntry = gethostbyname(pServer);
    if (!m_pHostEntry)
        return 0;
    if (m_pHostEntry->h_addrtype != AF_INET || m_pHostEntry->h_length != 4 ||
        !m_pHostEntry->h_addr_list || !m_pHostEntry->h_addr_list[0])
        return 0;

    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(nPort));
    memcpy(&address.sin_addr, m_pHostEntry->h_addr_list[0], 4);

    const unsigned char* pBytes = reinterpret_cast<const unsigned char*>(&address.sin_addr);
    snprintf(m_szAddress, sizeof(m_szAddress), "%u.%u.%u.%u", pBytes[0], pBytes[1], pBytes[2],
             pBytes[3]);

    if (m_hSocket == 0 || m_hSocket == INVALID_SOCKET)
        return 0;
    if (connect(m_hSocket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) ==
        SOCKET_ERROR)
        return 0;
    m_bConnected = 1;
    return 1;
}

const char* CHttpSocket::FormatRequestHeader(char* pServer, char* pObject, long& nLength,
                                             char* pCookie, char* pReferer, long nFrom, long nTo,
                                             int /*nReserved*/)
{
    memset(m_szRequest, 0, sizeof(m_szRequest));
    CRequestWriter writer(m_szRequest, sizeof(m_szRequest));

    writer.Add("GET ");
    writer.Add(pObject);
    writer.Add(" HTTP/1.1");
    writer.Add(CRLF);

    writer.Add("Host:");
    writer.Add(pServer);
    writer.Add(CRLF);

    if (pReferer) {
        writer.Add("Referer:");
        writer.Add(pReferer);
        writer.Add(CRLF);
    }

    writer.Add("Accept:*/*");
    writer.Add(CRLF);
    writer.Add("User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)");
    writer.Add(CRLF);
    writer.Add("Connection:Keep-Alive");
    writer.Add(CRLF);

    if (pCookie) {
        writer.Add("Set Cookie:0");
        writer.Add(pCookie);
        writer.Add(CRLF);
    }

    if (nFrom > 0) {
        writer.Add("Range: bytes=");
        writer.AddNumber(nFrom);
        writer.Add("-");
        if (nTo > nFrom)
            writer.AddNumber(nTo);
        writer.Add(CRLF);
    }

    writer.Add(CRLF);

    if (writer.Overflow()) {
        // A cut request would be a different request: send none at all.
        memset(m_szRequest, 0, sizeof(m_szRequest));
        nLength = 0;
    } else {
        nLength = static_cast<long>(writer.Length());
    }
    return m_szRequest;
}

int CHttpSocket::SendRequest(const char* pRequestHeader, long nLength)
{
    if (!m_bConnected)
        return 0;
    if (nLength < 0)
        return 0;

    const char* pData = pRequestHeader ? pRequestHeader : m_szRequest;
    const size_t nBuilt = strnlen(m_szRequest, sizeof(m_szRequest));
    size_t nSend;
    if (nLength > 0) {
        nSend = static_cast<size_t>(nLength);
        if (!pRequestHeader && nSend > sizeof(m_szRequest))
            nSend = sizeof(m_szRequest);
    } else {
        // The length of the built request, but never past the end of the
        // caller's text.
        nSend = pRequestHeader ? strnlen(pRequestHeader, nBuilt) : nBuilt;
    }
    if (nSend == 0)
        return 0;

    if (send(m_hSocket, pData, static_cast<int>(nSend), 0) == SOCKET_ERROR)
        return 0;

    int nReplyLength = 0;
    GetResponseHeader(nReplyLength);
    return 1;
}

long CHttpSocket::Receive(char* pBuffer, long nMaxLength)
{
    if (!m_bConnected)
        return 0;
    int nRead = recv(m_hSocket, pBuffer, static_cast<int>(nMaxLength), 0);
    if (nRead <= 0)
        CloseSocket();
    return nRead;
}

int CHttpSocket::CloseSocket()
{
    if (m_hSocket != 0) {
        if (closesocket(m_hSocket) == SOCKET_ERROR)
            return 0;
    }
    m_hSocket = 0;
    m_bConnected = 0;
    return 1;
}

int CHttpSocket::GetRequestHeader(char* pBuffer, int nLength) const
{
    if (!pBuffer || nLength <= 0)
        return 0;
    size_t nCopy = strnlen(m_szRequest, sizeof(m_szRequest));
    if (nCopy > static_cast<size_t>(nLength))
        nCopy = static_cast<size_t>(nLength);
    memcpy(pBuffer, m_szRequest, nCopy);
    return static_cast<int>(nCopy);
}

int CHttpSocket::SetTimeout(int nTime, int nType)
{
    DWORD dwTime = static_cast<DWORD>(nTime);
    int nOption = nType == 0 ? SO_RCVTIMEO : SO_SNDTIMEO;
    return setsockopt(m_hSocket, SOL_SOCKET, nOption, reinterpret_cast<const char*>(&dwTime),
                      sizeof(dwTime)) == 0
               ? 1
               : 0;
}

const char* CHttpSocket::GetResponseHeader(int& nLength)
{
    m_nReplyLength = -1;
    int nCount = 0;
    while (nCount < REPLY_SIZE) {
        char ch;
        if (recv(m_hSocket, &ch, 1, 0) != 1)
            break;
        m_szReply[nCount++] = ch;
        if (nCount >= 4) {
            if (memcmp(m_szReply, "HTTP", 4) != 0) {
                CloseSocket();
                break;
            }
            if (memcmp(m_szReply + nCount - 4, "\r\n\r\n", 4) == 0)
                break;
        }
    }
    m_nReplyLength = nCount;
    m_szReply[nCount] = '\0';
    m_bHaveReply = 1;
    nLength = nCount;
    return m_szReply;
}

int CHttpSocket::GetResponseLine(char* pBuffer, int nMaxLength)
{
    if (m_nLinePos >= m_nReplyLength) {
        m_nLinePos = 0;
        return -1;
    }
    if (!pBuffer || nMaxLength <= 0)
        return 0;
    int nCopied = 0;
    while (m_nLinePos < m_nReplyLength && nCopied < nMaxLength) {
        char ch = m_szReply[m_nLinePos++];
        pBuffer[nCopied++] = ch;
        if (ch == '\n')
            break;
    }
    return nCopied;
}

int CHttpSocket::GetField(const char* szFieldName, char* szValue, int nMaxLength)
{
    if (!m_bHaveReply || !szFieldName)
        return -1;
    const char* pMatch = strstr(m_szReply, szFieldName);
    if (!pMatch)
        return -1;

    const size_t nText = strlen(m_szReply);
    size_t nStart = static_cast<size_t>(pMatch - m_szReply) + strlen(szFieldName) + 2;
    if (nStart > nText)
        nStart = nText;
    const char* pEnd = strstr(m_szReply + nStart, CRLF);
    if (!pEnd) {
        // No line end: the value is empty and nothing is copied.
        if (szValue && nMaxLength > 0)
            szValue[0] = '\0';
        return -1;
    }

    const int nValue = static_cast<int>(pEnd - (m_szReply + nStart));
    if (szValue && nMaxLength > 0) {
        const int nCopy = nValue < nMaxLength - 1 ? nValue : nMaxLength - 1;
        memcpy(szValue, m_szReply + nStart, static_cast<size_t>(nCopy));
        szValue[nCopy] = '\0';
    }
    return nValue;
}

int CHttpSocket::GetServerState()
{
    if (!m_bHaveReply)
        return -1;
    // Only characters of the stored reply count: a reply cut short has no
    // status, whatever an earlier, longer reply left behind it.
    char szState[4] = {};
    for (int i = 0; i < 3 && 9 + i < m_nReplyLength; ++i)
        szState[i] = m_szReply[9 + i];
    return atoi(szState);
}
