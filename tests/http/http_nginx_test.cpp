// The HTTP client and page fetching against a web server nobody here wrote:
// Debian's nginx on a loopback port (tests/support/nginx-ctl), serving files
// the tests put into its folder, its own redirections and a large body.
#include "HttpSocket.h"
#include "VideoAddress.h"

#include "DialogWatcher.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

tavtest::CWinsockScope g_winsock;
std::string g_strNginxDir; // Windows path of the server's folder
int g_nPort = 0;

const char* const CANNOT_CONNECT = "Error!Can't connect to the youtube server!";

char* Text(const std::string& str)
{
    return const_cast<char*>(str.c_str());
}

// A folder of the server's document root for one test, with its address.
class CServedDir {
public:
    CServedDir() : m_dir(g_strNginxDir + "\\html")
    {
        const std::string& strPath = m_dir.Path();
        m_strObject = "/" + strPath.substr(strPath.rfind('\\') + 1) + "/";
    }
    // Writes a file and returns its object ("/<folder>/<name>").
    std::string Put(const std::string& strName, const std::string& strData)
    {
        EXPECT_TRUE(tavtest::WriteFileBytes(m_dir.File(strName), strData));
        return m_strObject + strName;
    }
    static std::string Url(const std::string& strObject)
    {
        return "http://127.0.0.1:" + std::to_string(g_nPort) + strObject;
    }

private:
    tavtest::CTempDir m_dir;
    std::string m_strObject;
};

int CountInAccessLog(const std::string& strNeedle)
{
    const std::string strLog = tavtest::ReadFileBytes(g_strNginxDir + "\\access.log");
    int nCount = 0;
    for (size_t nPos = strLog.find(strNeedle); nPos != std::string::npos; nPos = strLog.find(strNeedle, nPos + 1))
        ++nCount;
    return nCount;
}

TEST(NginxSocket, LargeBodyAndRange)
{
    CServedDir dir;
    const std::string strBody = tavtest::PatternBytes(6 * 1024 * 1024 + 123);
    const std::string strObject = dir.Put("big.bin", strBody);

    CHttpSocket socket;
    long nLength = 0;
    socket.FormatRequestHeader(Text("127.0.0.1"), Text(strObject), nLength, nullptr, nullptr, 0, 0, 0);
    ASSERT_EQ(1, socket.Socket());
    ASSERT_EQ(1, socket.Connect(Text("127.0.0.1"), g_nPort));
    ASSERT_EQ(1, socket.SendRequest(nullptr, 0));
    EXPECT_EQ(1, socket.SetTimeout(30000, 0));
    EXPECT_EQ(200, socket.GetServerState());
    char szValue[64];
    ASSERT_GT(socket.GetField("Server", szValue, sizeof(szValue)), 0);
    EXPECT_EQ(0, strncmp(szValue, "nginx", 5)) << szValue;
    ASSERT_GT(socket.GetField("Content-Length", szValue, 30), 0);
    const long nTotal = atol(szValue);
    EXPECT_EQ(static_cast<long>(strBody.size()), nTotal);

    std::string strReceived;
    char buffer[1024];
    while (static_cast<long>(strReceived.size()) < nTotal) {
        const long nRead = socket.Receive(buffer, sizeof(buffer));
        ASSERT_GT(nRead, 0) << "after " << strReceived.size() << " bytes";
        strReceived.append(buffer, static_cast<size_t>(nRead));
    }
    EXPECT_TRUE(strReceived == strBody) << "the body differs";
    EXPECT_EQ(1, socket.CloseSocket());

    // The Range line is understood: the same object reused for part of it.
    socket.FormatRequestHeader(Text("127.0.0.1"), Text(strObject), nLength, nullptr, nullptr, 1000, 1999, 0);
    ASSERT_EQ(1, socket.Socket());
    ASSERT_EQ(1, socket.Connect(Text("127.0.0.1"), g_nPort));
    ASSERT_EQ(1, socket.SendRequest(nullptr, 0));
    socket.SetTimeout(30000, 0);
    EXPECT_EQ(206, socket.GetServerState());
    strReceived.clear();
    while (strReceived.size() < 1000) {
        const long nRead = socket.Receive(buffer, sizeof(buffer));
        ASSERT_GT(nRead, 0);
        strReceived.append(buffer, static_cast<size_t>(nRead));
    }
    EXPECT_TRUE(strReceived == strBody.substr(1000, 1000)) << "the range differs";
}

TEST(NginxFetchPage, PagesRedirectionsAndLargeBody)
{
    CServedDir dir;
    const std::string strBig = tavtest::PatternBytes(3 * 1024 * 1024 + 7, 2);
    const std::string strBigObject = dir.Put("big.flv", strBig);
    const std::string strPage =
        "<html>\n<head><title>x</title></head>\n"
        "<script>var fullscreenUrl = '/watch_fullscreen?fs=1&video_id=AbC123&l=60&t=XyZ&hl=en&title=My Clip: 1/2';"
        "</script>\n</html>\n";
    const std::string strPageObject = dir.Put("watch.html", strPage);
    tavtest::CTempDir temp;

    struct {
        const char* pszName;
        std::string strUrl;
        BOOL bResult;
        std::string strFile;
    } cases[] = {
        {"ordinary page", CServedDir::Url(strPageObject), TRUE, strPage},
        {"two redirections", CServedDir::Url("/redirect/redirect" + strPageObject), TRUE, strPage},
        {"multi-megabyte body", CServedDir::Url(strBigObject), TRUE, strBig},
        {"missing file", CServedDir::Url(strPageObject + ".missing"), FALSE, "untouched"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        const std::string strFile = temp.File("page");
        tavtest::WriteFileBytes(strFile, "untouched");
        tavtest::CDialogWatcher watcher;
        EXPECT_EQ(c.bResult, FetchPage(c.strUrl.c_str(), strFile.c_str()));
        EXPECT_TRUE(tavtest::ReadFileBytes(strFile) == c.strFile) << "the file differs";
        EXPECT_EQ(c.bResult ? std::vector<std::string>() : std::vector<std::string>{CANNOT_CONNECT},
                  watcher.MessageTexts());
    }

    // The whole resolution through the server's redirection.
    CString strName;
    g_strStreamAddress.Empty();
    EXPECT_TRUE(ResolveVideoAddress(CServedDir::Url("/redirect" + strPageObject).c_str(), strName,
                                    temp.File("tmpdownload").c_str(), 1));
    EXPECT_STREQ("http://www.youtube.com/get_video?video_id=AbC123&t=XyZ&use_get_video_info=1&load_modules=1&fmt=6",
                 g_strStreamAddress);
    EXPECT_STREQ("My Clip_ 1_2", strName);
    EXPECT_FALSE(tavtest::FileExists(temp.File("tmpdownload")));
}

TEST(NginxFetchPage, EndlessRedirectionStops)
{
    const int nBefore = CountInAccessLog("GET /loop ");
    tavtest::CTempDir temp;
    tavtest::CDialogWatcher watcher;
    EXPECT_FALSE(FetchPage(CServedDir::Url("/loop").c_str(), temp.File("page").c_str()));
    EXPECT_EQ(std::vector<std::string>{CANNOT_CONNECT}, watcher.MessageTexts());
    // The first request and MAX_REDIRECTIONS more.
    EXPECT_EQ(1 + MAX_REDIRECTIONS, CountInAccessLog("GET /loop ") - nBefore);
}

} // namespace

int main(int argc, char** argv)
{
    g_strNginxDir = tavtest::GetEnv("TAVMIO_NGINX_DIR");
    std::string strMissing;
    if (g_strNginxDir.empty()) {
        strMissing = "TAVMIO_NGINX_DIR is not set; run this test through ctest";
    } else {
        bool bOk = false;
        g_nPort = atoi(tavtest::ReadFileBytes(g_strNginxDir + "\\port", &bOk).c_str());
        if (!bOk || g_nPort <= 0)
            strMissing = "nginx is not running (no port in " + g_strNginxDir + "\\port)";
    }
    return tavtest::RunTestsOrSkip(argc, argv, strMissing.c_str());
}
