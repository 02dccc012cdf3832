// CHttpSocket against real sockets: the request it builds and sends, the
// reply header it reads from a scripted loopback server (well-formed and
// misbehaving), field and status access, time-outs, connection handling, and
// the class's exports in the program's export directory.
#include "HttpSocket.h"

#include "LoopbackServer.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

using tavtest::CLoopbackServer;
using tavtest::CServerReply;

namespace {

tavtest::CWinsockScope g_winsock;

// Opens the socket's state to the tests.
class CProbeSocket : public CHttpSocket {
public:
    using CHttpSocket::m_bConnected;
    using CHttpSocket::m_hSocket;
    using CHttpSocket::m_nPort;
    using CHttpSocket::m_szAddress;
};

char* Text(const char* psz)
{
    return const_cast<char*>(psz);
}

// Builds a request for pObject, connects to the server and sends it.
int Fetch(CProbeSocket& socket, const CLoopbackServer& server, const char* pObject = "/")
{
    long nLength = 0;
    socket.FormatRequestHeader(Text("127.0.0.1"), Text(pObject), nLength, nullptr, nullptr, 0, 0, 0);
    socket.Socket();
    if (!socket.Connect(Text("127.0.0.1"), server.Port()))
        return 0;
    return socket.SendRequest(nullptr, 0);
}

std::string StoredHeader(CHttpSocket& socket)
{
    std::string strHeader;
    char buffer[64];
    int nCopied;
    while ((nCopied = socket.GetResponseLine(buffer, sizeof(buffer))) != -1)
        strHeader.append(buffer, static_cast<size_t>(nCopied));
    return strHeader;
}

// Everything Receive delivers until it reports the end.
std::string ReceiveRest(CHttpSocket& socket, long* pnLast = nullptr)
{
    std::string strData;
    char buffer[1024];
    long nRead;
    while ((nRead = socket.Receive(buffer, sizeof(buffer))) > 0)
        strData.append(buffer, static_cast<size_t>(nRead));
    if (pnLast)
        *pnLast = nRead;
    return strData;
}

const char* const USER_AGENT = "User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n";

TEST(HttpSocketRequest, BuildsTheRequestText)
{
    const std::string strCommon = std::string("Accept:*/*\r\n") + USER_AGENT + "Connection:Keep-Alive\r\n";
    struct {
        const char* pszHost;
        const char* pszObject;
        const char* pszCookie;
        const char* pszReferer;
        long nFrom, nTo;
        std::string strExpected;
    } cases[] = {
        {"h", "/p?q=1", nullptr, nullptr, 0, 0,
         "GET /p?q=1 HTTP/1.1\r\nHost:h\r\n" + strCommon + "\r\n"},
        {"www.example.com", "/watch?v=1", "c=1", "http://r/", 0, 0,
         "GET /watch?v=1 HTTP/1.1\r\nHost:www.example.com\r\nReferer:http://r/\r\n" + strCommon +
             "Set Cookie:0c=1\r\n\r\n"},
        {"h", "/", nullptr, nullptr, 1000, 0,
         "GET / HTTP/1.1\r\nHost:h\r\n" + strCommon + "Range: bytes=1000-\r\n\r\n"},
        {"h", "/", nullptr, nullptr, 1000, 2000,
         "GET / HTTP/1.1\r\nHost:h\r\n" + strCommon + "Range: bytes=1000-2000\r\n\r\n"},
        {"h", "/", nullptr, nullptr, 1000, 1000,
         "GET / HTTP/1.1\r\nHost:h\r\n" + strCommon + "Range: bytes=1000-\r\n\r\n"},
        {"h", "/", nullptr, nullptr, -5, 10, "GET / HTTP/1.1\r\nHost:h\r\n" + strCommon + "\r\n"},
    };
    CHttpSocket socket;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strExpected);
        long nLength = -1;
        const char* pRequest = socket.FormatRequestHeader(Text(c.pszHost), Text(c.pszObject), nLength,
                                                          Text(c.pszCookie), Text(c.pszReferer), c.nFrom,
                                                          c.nTo, 7);
        EXPECT_EQ(c.strExpected, pRequest);
        EXPECT_EQ(static_cast<long>(c.strExpected.size()), nLength);
    }

    long nLength = 0;
    socket.FormatRequestHeader(Text("h"), Text("/p?q=1"), nLength, nullptr, nullptr, 0, 0, 0);
    EXPECT_EQ(126, nLength);
}

TEST(HttpSocketRequest, RequestThatDoesNotFitIsNotBuilt)
{
    CHttpSocket socket;
    long nBase = 0;
    socket.FormatRequestHeader(Text("h"), Text(""), nBase, nullptr, nullptr, 0, 0, 0);

    // The buffer holds 1024 bytes with the terminator: 1023 characters fit.
    for (long nText : {1023L, 1024L, 5000L}) {
        SCOPED_TRACE(nText);
        std::string strObject(static_cast<size_t>(nText - nBase), 'o');
        long nLength = -1;
        const char* pRequest =
            socket.FormatRequestHeader(Text("h"), Text(strObject.c_str()), nLength, nullptr, nullptr, 0, 0, 0);
        if (nText <= 1023) {
            EXPECT_EQ(nText, nLength);
            EXPECT_EQ(static_cast<size_t>(nText), strlen(pRequest));
        } else {
            EXPECT_EQ(0, nLength);
            EXPECT_STREQ("", pRequest);
        }
    }

    // A long cookie or referer counts the same way.
    std::string strLong(2000, 'c');
    long nLength = -1;
    socket.FormatRequestHeader(Text("h"), Text("/"), nLength, Text(strLong.c_str()), nullptr, 0, 0, 0);
    EXPECT_EQ(0, nLength);
    socket.FormatRequestHeader(Text("h"), Text("/"), nLength, nullptr, Text(strLong.c_str()), 0, 0, 0);
    EXPECT_EQ(0, nLength);
}

TEST(HttpSocketRequest, GetRequestHeaderCopiesWithoutTerminator)
{
    CHttpSocket socket;
    long nLength = 0;
    const std::string strRequest =
        socket.FormatRequestHeader(Text("h"), Text("/p?q=1"), nLength, nullptr, nullptr, 0, 0, 0);

    struct {
        int nBuffer;
        int nExpected;
    } cases[] = {{10, 10}, {126, 126}, {500, 126}, {0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nBuffer);
        std::vector<char> buffer(600, 'x');
        EXPECT_EQ(c.nExpected, socket.GetRequestHeader(buffer.data(), c.nBuffer));
        EXPECT_EQ(strRequest.substr(0, static_cast<size_t>(c.nExpected)),
                  std::string(buffer.data(), static_cast<size_t>(c.nExpected)));
        EXPECT_EQ('x', buffer[static_cast<size_t>(c.nExpected)]);
    }
}

TEST(HttpSocketExchange, SendsTheRequestAndReadsHeaderThenBody)
{
    const std::string strHeader = "HTTP/1.1 200 OK\r\nContent-Length: 11\r\nServer: test\r\n\r\n";
    CLoopbackServer server(CLoopbackServer::Script({CServerReply::Raw(strHeader + "hello world")}));
    ASSERT_TRUE(server.IsListening());

    CProbeSocket socket;
    long nLength = 0;
    const std::string strRequest =
        socket.FormatRequestHeader(Text("h"), Text("/p?q=1"), nLength, nullptr, nullptr, 0, 0, 0);
    EXPECT_EQ(1, socket.Socket());
    ASSERT_EQ(1, socket.Connect(Text("127.0.0.1"), server.Port()));
    EXPECT_STREQ("127.0.0.1", socket.m_szAddress);
    EXPECT_EQ(server.Port(), socket.m_nPort);
    ASSERT_EQ(1, socket.SendRequest(nullptr, 0));

    ASSERT_TRUE(server.WaitForRequests(1, 5000));
    EXPECT_EQ(strRequest, server.Requests()[0]);
    EXPECT_EQ(126u, server.Requests()[0].size());

    EXPECT_EQ(strHeader, StoredHeader(socket));
    EXPECT_EQ(200, socket.GetServerState());
    long nLast = 1;
    EXPECT_EQ("hello world", ReceiveRest(socket, &nLast));
    EXPECT_EQ(0, nLast);
    EXPECT_EQ(0, socket.m_bConnected);
    EXPECT_EQ(0u, socket.m_hSocket);
    // The reply header outlives the connection.
    char szValue[16];
    EXPECT_EQ(2, socket.GetField("Content-Length", szValue, sizeof(szValue)));
    EXPECT_STREQ("11", szValue);
}

TEST(HttpSocketExchange, ReplyHeaderCases)
{
    const std::string strLong = "HTTP/1.1 200 OK\r\nX-Pad: " + std::string(1500, 'p') + "\r\n\r\nbody";
    struct {
        const char* pszName;
        std::string strReply;
        CServerReply::EEnd nEnd;
        std::string strStored; // the header as stored
        int nState;
        bool bStillConnected;
        std::string strRest; // what Receive delivers afterwards
    } cases[] = {
        {"ends at the empty line", "HTTP/1.1 302 Found\r\nLocation: /x\r\n\r\nrest", CServerReply::endClose,
         "HTTP/1.1 302 Found\r\nLocation: /x\r\n\r\n", 302, true, "rest"},
        {"fourth byte is not P", "HTTX/1.1 200 OK\r\n\r\nbody", CServerReply::endHold, "HTTX", 0, false, ""},
        {"not HTTP at all", "<html>hello</html>", CServerReply::endHold, "<htm", 0, false, ""},
        {"no empty line before the close", "HTTP/1.0 404 Not Found\r\nServer: x\r\n", CServerReply::endClose,
         "HTTP/1.0 404 Not Found\r\nServer: x\r\n", 404, true, ""},
        {"longer than the buffer", strLong, CServerReply::endClose, strLong.substr(0, 1024), 200, true,
         strLong.substr(1024)},
        {"status cut short", "HTTP/1.1 2", CServerReply::endClose, "HTTP/1.1 2", 2, true, ""},
        {"closed at once", "", CServerReply::endClose, "", 0, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        CLoopbackServer server(CLoopbackServer::Script({CServerReply::Raw(c.strReply, c.nEnd, 10000)}));
        CProbeSocket socket;
        ASSERT_EQ(1, Fetch(socket, server));
        EXPECT_EQ(c.strStored, StoredHeader(socket));
        EXPECT_EQ(c.nState, socket.GetServerState());
        EXPECT_EQ(c.bStillConnected, socket.m_bConnected != 0);
        EXPECT_EQ(c.strRest, ReceiveRest(socket));
    }
}

TEST(HttpSocketExchange, ShortReplyDoesNotShowTheEarlierStatus)
{
    CLoopbackServer server(CLoopbackServer::Script(
        {CServerReply::Redirect("http://127.0.0.1/next", 302), CServerReply::Raw("HTTP/1.1")}));
    CProbeSocket socket;
    EXPECT_EQ(-1, socket.GetServerState());
    ASSERT_EQ(1, Fetch(socket, server));
    EXPECT_EQ(302, socket.GetServerState());
    socket.CloseSocket();
    ASSERT_EQ(1, Fetch(socket, server));
    EXPECT_EQ("HTTP/1.1", StoredHeader(socket));
    EXPECT_EQ(0, socket.GetServerState());
}

TEST(HttpSocketFields, GetFieldCases)
{
    const std::string strHeader =
        "HTTP/1.1 302 Found\r\n"
        "Content-Location: /first\r\n"
        "Location: http://127.0.0.1/second\r\n"
        "Content-Length:123\r\n"
        "X-Empty: \r\n"
        "\r\n";
    CLoopbackServer server(CLoopbackServer::Script({CServerReply::Raw(strHeader)}));
    CProbeSocket socket;
    char szValue[64] = "untouched";
    EXPECT_EQ(-1, socket.GetField("Location", szValue, sizeof(szValue)));
    EXPECT_STREQ("untouched", szValue);
    ASSERT_EQ(1, Fetch(socket, server));

    struct {
        const char* pszName;
        int nMax;
        int nResult;
        const char* pszValue;
    } cases[] = {
        {"Location", 64, 6, "/first"},       // inside the earlier Content-Location line
        {"Content-Length", 64, 2, "23"},     // no space after the colon
        {"content-length", 64, -1, "untouched"},
        {"X-Empty", 64, 0, ""},
        {"Location: http", 64, 17, "/127.0.0.1/second"}, // a match anywhere
        {"HTTP/1.1", 64, 8, "02 Found"},     // the status line too
        {"Location", 4, 6, "/fi"},
        {"Location", 1, 6, ""},
        {"Location", 0, 6, "untouched"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        strcpy(szValue, "untouched");
        EXPECT_EQ(c.nResult, socket.GetField(c.pszName, szValue, c.nMax));
        EXPECT_STREQ(c.pszValue, szValue);
    }
}

TEST(HttpSocketFields, FieldWithoutLineEndCopiesNothing)
{
    // Cut off in the middle of a value: the value has no CR LF after it.
    for (const char* pszReply : {"HTTP/1.1 200 OK\r\nLocation: http://127.0.0.1/abc",
                                 "HTTP/1.1 200 OK\r\nLocation", "HTTP/1.1 200 OK\r\nLocation:"}) {
        SCOPED_TRACE(pszReply);
        CLoopbackServer server(CLoopbackServer::Script({CServerReply::Raw(pszReply)}));
        CProbeSocket socket;
        ASSERT_EQ(1, Fetch(socket, server));
        char szValue[8];
        memset(szValue, 'x', sizeof(szValue));
        EXPECT_LT(socket.GetField("Location", szValue, sizeof(szValue)), 0);
        EXPECT_EQ('\0', szValue[0]);
        EXPECT_EQ(std::string(7, 'x'), std::string(szValue + 1, 7));
    }
}

TEST(HttpSocketFields, ResponseLinesComeOneByOneAndRewind)
{
    CLoopbackServer server(
        CLoopbackServer::Script({CServerReply::Raw("HTTP/1.1 200 OK\r\nA: 1\r\nLonger-Line: abcdef\r\n\r\n")}));
    CProbeSocket socket;
    char buffer[32];
    EXPECT_EQ(-1, socket.GetResponseLine(buffer, sizeof(buffer)));
    ASSERT_EQ(1, Fetch(socket, server));

    std::vector<std::string> lines;
    int nCopied;
    while ((nCopied = socket.GetResponseLine(buffer, 8)) != -1)
        lines.emplace_back(buffer, static_cast<size_t>(nCopied));
    const std::vector<std::string> expected = {"HTTP/1.1", " 200 OK\r", "\n",       "A: 1\r\n",
                                               "Longer-L", "ine: abc", "def\r\n", "\r\n"};
    EXPECT_EQ(expected, lines);
    // After the -1 it starts again from the first line.
    nCopied = socket.GetResponseLine(buffer, sizeof(buffer));
    EXPECT_EQ("HTTP/1.1 200 OK\r\n", std::string(buffer, static_cast<size_t>(nCopied)));
    EXPECT_EQ(0, socket.GetResponseLine(buffer, 0));
}

TEST(HttpSocketReceive, EndOfTransferCases)
{
    const std::string strHeader = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n";
    struct {
        const char* pszName;
        CServerReply reply;
        int nTimeout;
        long nLast;
    } cases[] = {
        {"peer closes", CServerReply::Raw(strHeader + "0123456789"), 0, 0},
        {"receive time-out", CServerReply::Raw(strHeader + "0123456789", CServerReply::endHold, 20000), 300, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        CLoopbackServer server(CLoopbackServer::Script({c.reply}));
        CProbeSocket socket;
        ASSERT_EQ(1, Fetch(socket, server));
        if (c.nTimeout) {
            EXPECT_EQ(1, socket.SetTimeout(c.nTimeout, 0));
        }
        long nLast = 1;
        EXPECT_EQ("0123456789", ReceiveRest(socket, &nLast));
        EXPECT_EQ(c.nLast, nLast);
        EXPECT_EQ(0, socket.m_bConnected);
        EXPECT_EQ(0u, socket.m_hSocket);
        char ch;
        EXPECT_EQ(0, socket.Receive(&ch, 1));
        EXPECT_EQ(200, socket.GetServerState());
    }
}

TEST(HttpSocketConnection, ConnectCases)
{
    CLoopbackServer server(CLoopbackServer::Script({CServerReply::Http(200, "a"), CServerReply::Http(200, "b")}));
    // A port nobody listens on: one the system just handed out and took back.
    unsigned short nClosedPort;
    {
        CLoopbackServer closed(nullptr);
        nClosedPort = closed.Port();
    }

    CProbeSocket socket;
    EXPECT_EQ(0, socket.Connect(nullptr, server.Port()));
    ASSERT_EQ(1, socket.Socket());
    EXPECT_EQ(0, socket.Connect(Text("127.0.0.1"), nClosedPort));
    EXPECT_STREQ("127.0.0.1", socket.m_szAddress);
    EXPECT_EQ(nClosedPort, socket.m_nPort);
    EXPECT_EQ(0, socket.m_bConnected);

    ASSERT_EQ(1, socket.Socket());
    ASSERT_EQ(1, socket.Connect(Text("localhost"), server.Port()));
    EXPECT_STREQ("127.0.0.1", socket.m_szAddress);
    EXPECT_EQ(0, socket.Socket()); // connected: no new socket

    // Connecting again closes the connection and fails.
    EXPECT_EQ(0, socket.Connect(Text("127.0.0.1"), server.Port()));
    EXPECT_EQ(0, socket.m_bConnected);
    EXPECT_EQ(0u, socket.m_hSocket);
    EXPECT_EQ(1, socket.CloseSocket());

    // The same object makes a new request after Socket and Connect.
    ASSERT_EQ(1, Fetch(socket, server, "/again"));
    EXPECT_EQ(200, socket.GetServerState());
    EXPECT_EQ("b", ReceiveRest(socket));
    ASSERT_TRUE(server.WaitForRequests(2, 5000));
    EXPECT_EQ("/again", CLoopbackServer::RequestObject(server.Requests()[1]));

    // Not connected: nothing is sent.
    EXPECT_EQ(0, socket.SendRequest(nullptr, 0));
}

TEST(HttpSocketConnection, UnconnectedSocketIsReleasedBySocket)
{
    CProbeSocket socket;
    ASSERT_EQ(1, socket.Socket());
    const SOCKET hFirst = socket.m_hSocket;
    ASSERT_EQ(1, socket.Socket());
    if (socket.m_hSocket != hFirst) {
        int nType = 0;
        int nSize = sizeof(nType);
        EXPECT_EQ(SOCKET_ERROR, getsockopt(hFirst, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&nType), &nSize));
    }
}

TEST(HttpSocketConnection, SendRequestLengthRules)
{
    const std::string strOwn = "GET /own HTTP/1.1\r\nHost:x\r\n\r\n";
    const std::string strLongObject(2000, 'o');
    struct {
        const char* pszName;
        const char* pszObject; // of the built request
        const char* pszData;   // null: the built request
        long nLength;
        int nResult;
        size_t nReceived; // bytes that reach the server
    } cases[] = {
        {"built request", "/p?q=1", nullptr, 0, 1, 126},
        // Length 0 means the built request's length, but never past the end
        // of the caller's text.
        {"caller's shorter text", "/p?q=1", strOwn.c_str(), 0, 1, strOwn.size()},
        {"explicit length", "/p?q=1", strOwn.c_str(), 19, 1, 19},
        {"negative length", "/p?q=1", strOwn.c_str(), -1, 0, 0},
        {"request too long to build", strLongObject.c_str(), nullptr, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        CLoopbackServer server(CLoopbackServer::Script({CServerReply::Http(200, "")}));
        CProbeSocket socket;
        long nLength = 0;
        const std::string strBuilt =
            socket.FormatRequestHeader(Text("h"), Text(c.pszObject), nLength, nullptr, nullptr, 0, 0, 0);
        socket.Socket();
        ASSERT_EQ(1, socket.Connect(Text("127.0.0.1"), server.Port()));
        // A request without its empty line gets no reply: do not wait long.
        socket.SetTimeout(500, 0);
        EXPECT_EQ(c.nResult, socket.SendRequest(c.pszData, c.nLength));
        socket.CloseSocket();
        ASSERT_TRUE(server.WaitForRequests(1, 5000));
        const std::string strSent = c.pszData ? std::string(c.pszData) : strBuilt;
        EXPECT_EQ(strSent.substr(0, c.nReceived), server.Requests()[0]);
    }
}

// --- exports --------------------------------------------------------------

struct CExportTable {
    bool bOk = false;
    std::string strModule;
    std::set<std::string> names;
};

// Reads the export directory of a PE file (32 or 64 bits) from disk.
CExportTable ReadExportTable(const std::string& strPath)
{
    CExportTable table;
    bool bRead = false;
    const std::string strFile = tavtest::ReadFileBytes(strPath, &bRead);
    if (!bRead || strFile.size() < sizeof(IMAGE_DOS_HEADER))
        return table;
    const char* pBase = strFile.data();
    auto fits = [&](size_t nOffset, size_t nSize) {
        return nOffset <= strFile.size() && nSize <= strFile.size() - nOffset;
    };

    const auto* pDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase);
    const size_t nNt = static_cast<size_t>(pDos->e_lfanew);
    if (pDos->e_magic != IMAGE_DOS_SIGNATURE || !fits(nNt, sizeof(IMAGE_NT_HEADERS32)))
        return table;
    const auto* pNt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(pBase + nNt);
    if (pNt->Signature != IMAGE_NT_SIGNATURE)
        return table;
    const auto* pNt64 = reinterpret_cast<const IMAGE_NT_HEADERS64*>(pNt);
    const IMAGE_DATA_DIRECTORY exportDir = pNt->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC
                                               ? pNt64->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT]
                                               : pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (exportDir.VirtualAddress == 0)
        return table;

    const size_t nSections =
        nNt + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) + pNt->FileHeader.SizeOfOptionalHeader;
    const WORD nCount = pNt->FileHeader.NumberOfSections;
    if (!fits(nSections, nCount * sizeof(IMAGE_SECTION_HEADER)))
        return table;
    const auto* pSections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(pBase + nSections);
    auto offsetOf = [&](DWORD dwRva) -> size_t {
        for (WORD i = 0; i < nCount; ++i) {
            const IMAGE_SECTION_HEADER& s = pSections[i];
            if (dwRva >= s.VirtualAddress && dwRva < s.VirtualAddress + s.SizeOfRawData)
                return dwRva - s.VirtualAddress + s.PointerToRawData;
        }
        return static_cast<size_t>(-1);
    };
    auto textAt = [&](DWORD dwRva) {
        size_t nOffset = offsetOf(dwRva);
        if (nOffset >= strFile.size())
            return std::string();
        return std::string(pBase + nOffset, strnlen(pBase + nOffset, strFile.size() - nOffset));
    };

    const size_t nDir = offsetOf(exportDir.VirtualAddress);
    if (!fits(nDir, sizeof(IMAGE_EXPORT_DIRECTORY)))
        return table;
    const auto* pExports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(pBase + nDir);
    table.strModule = textAt(pExports->Name);
    const size_t nNames = offsetOf(pExports->AddressOfNames);
    if (!fits(nNames, pExports->NumberOfNames * sizeof(DWORD)))
        return table;
    const auto* pNameRvas = reinterpret_cast<const DWORD*>(pBase + nNames);
    for (DWORD i = 0; i < pExports->NumberOfNames; ++i)
        table.names.insert(textAt(pNameRvas[i]));
    table.bOk = true;
    return table;
}

TEST(HttpSocketExports, ProgramExportsTheClass)
{
    const std::string strExe = tavtest::GetEnv("TAVMIO_EXE");
    ASSERT_FALSE(strExe.empty()) << "TAVMIO_EXE is not set";
    const CExportTable table = ReadExportTable(strExe);
    ASSERT_TRUE(table.bOk) << "no export directory in " << strExe;
    EXPECT_EQ("tavmio.exe", table.strModule);

    // The decorated names of exactly these signatures.
    const char* const expected[] = {
        "_ZN11CHttpSocketC1Ev",                              // constructor
        "_ZN11CHttpSocketC2Ev",
        "_ZN11CHttpSocketD0Ev",                              // virtual destructor
        "_ZN11CHttpSocketD1Ev",
        "_ZN11CHttpSocketD2Ev",
        "_ZTV11CHttpSocket",                                 // virtual table
        "_ZN11CHttpSocket6SocketEv",
        "_ZN11CHttpSocket7ConnectEPci",
        "_ZN11CHttpSocket19FormatRequestHeaderEPcS0_RlS0_S0_lli",
        "_ZN11CHttpSocket11SendRequestEPKcl",
        "_ZN11CHttpSocket7ReceiveEPcl",
        "_ZN11CHttpSocket11CloseSocketEv",
        "_ZNK11CHttpSocket16GetRequestHeaderEPci",
        "_ZN11CHttpSocket10SetTimeoutEii",
        "_ZN11CHttpSocket17GetResponseHeaderERi",
        "_ZN11CHttpSocket15GetResponseLineEPci",
        "_ZN11CHttpSocket8GetFieldEPKcPci",
        "_ZN11CHttpSocket14GetServerStateEv",
    };
    for (const char* pszName : expected)
        EXPECT_EQ(1u, table.names.count(pszName)) << pszName << " is not exported";
}

} // namespace
