// Video address resolution against the scripted loopback server: fetching a
// page through redirections into a file, the messages on failures, and the
// stream address and proposed name taken from the page's player line.
#include "VideoAddress.h"

#include "DialogWatcher.h"
#include "LoopbackServer.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

using tavtest::CDialogWatcher;
using tavtest::CLoopbackServer;
using tavtest::CServerReply;

namespace {

tavtest::CWinsockScope g_winsock;
// Messages are captioned with the application's title.
CWinApp g_app("tavmio");

const char* const CANNOT_CONNECT = "Error!Can't connect to the youtube server!";
const char* const CLOSED = "Connecting closed by the server!";
const char* const TIMED_OUT = "Time out when reading the data.";

using Texts = std::vector<std::string>;

// Runs FetchPage while answering its message boxes.
struct CFetchResult {
    BOOL bResult;
    Texts messages;
};

CFetchResult Fetch(const std::string& strAddress, const std::string& strFile)
{
    CDialogWatcher watcher;
    CFetchResult result;
    result.bResult = FetchPage(strAddress.c_str(), strFile.c_str());
    result.messages = watcher.MessageTexts();
    for (const tavtest::CShownDialog& dialog : watcher.Dialogs())
        EXPECT_EQ("tavmio", dialog.strCaption);
    return result;
}

unsigned short ClosedPort()
{
    CLoopbackServer closed(nullptr);
    return closed.Port();
}

TEST(DownloadFolder, IsTavmioInApplicationData)
{
    const std::string strAppData = tavtest::GetEnv("APPDATA");
    ASSERT_FALSE(strAppData.empty());
    EXPECT_EQ(0, lstrcmpiA((strAppData + "\\Tavmio").c_str(), GetDownloadFolder()));
}

TEST(SplitAddress, Cases)
{
    struct {
        const char* pszAddress;
        BOOL bResult;
        const char* pszHost;
        const char* pszObject;
        int nPort;
    } cases[] = {
        {"http://www.youtube.com/watch?v=AbC123&feature=x", TRUE, "www.youtube.com", "/watch?v=AbC123&feature=x", 80},
        {"http://127.0.0.1:8080/p?q=1#top", TRUE, "127.0.0.1", "/p?q=1#top", 8080},
        {"http://host/a b/c", TRUE, "host", "/a%20b/c", 80},
        {"http://host/x/../y", TRUE, "host", "/y", 80},
        {"not an address", FALSE, "", "", 0},
        {"/relative/path", FALSE, "", "", 0},
        {"", FALSE, "", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszAddress);
        CString strHost = "old", strObject = "old";
        int nPort = -1;
        EXPECT_EQ(c.bResult, SplitAddress(c.pszAddress, strHost, strObject, nPort));
        EXPECT_STREQ(c.pszHost, strHost);
        EXPECT_STREQ(c.pszObject, strObject);
        EXPECT_EQ(c.nPort, nPort);
    }
}

TEST(FetchPage, RedirectionsAcrossPortsAreFollowed)
{
    // first:/start -302-> second:/via -301-> third:/on -303-> first:/final -> 200
    const std::string strPage = tavtest::PatternBytes(50000);
    std::string strFinal;
    CLoopbackServer third([&](const std::string&) { return CServerReply::Redirect(strFinal, 303); });
    CLoopbackServer second(CLoopbackServer::Script({CServerReply::Redirect(third.Url("/on"), 301)}));
    CLoopbackServer first(CLoopbackServer::Routes({
        {"/start", CServerReply::Redirect(second.Url("/via"), 302)},
        {"/final", CServerReply::Http(200, strPage)},
    }));
    strFinal = first.Url("/final");

    tavtest::CTempDir dir;
    const CFetchResult result = Fetch(first.Url("/start"), dir.File("page"));
    EXPECT_TRUE(result.bResult);
    EXPECT_EQ(Texts(), result.messages);
    EXPECT_EQ(strPage, tavtest::ReadFileBytes(dir.File("page")));

    const std::vector<std::string> requests = first.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("/start", CLoopbackServer::RequestObject(requests[0]));
    EXPECT_EQ("/final", CLoopbackServer::RequestObject(requests[1]));
    EXPECT_EQ(1u, second.Requests().size());
    EXPECT_EQ(1u, third.Requests().size());
    // The Host line names the host only, whatever the port.
    EXPECT_EQ("127.0.0.1", CLoopbackServer::RequestField(requests[1], "Host"));
}

TEST(FetchPage, FailureCases)
{
    const std::string strEarlier(6000, 'X'); // a longer page fetched before
    std::string strSelf;                     // "http://127.0.0.1:<port>" of the row's server
    const std::string strClosed = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/x";
    auto reply = [](const CServerReply& r) { return [r](const std::string&) { return r; }; };
    // A Location of exactly n characters back to the same server.
    auto locationOf = [&](size_t n) {
        return [&strSelf, n](const std::string& strObject) {
            if (strObject != "/start")
                return CServerReply::Http(200, "arrived");
            std::string strLocation = strSelf + "/";
            strLocation += std::string(n - strLocation.size(), 'a');
            return CServerReply::Redirect(strLocation);
        };
    };
    const std::string strHead5000 = "HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n";

    struct {
        const char* pszName;
        std::function<CServerReply(const std::string& strObject)> responder;
        BOOL bResult;
        Texts messages;
        std::string strFile; // the file afterwards
        size_t nRequests;
    } cases[] = {
        {"reply not starting with HTTP", reply(CServerReply::Raw("<html>hello</html>")), FALSE,
         {CANNOT_CONNECT}, strEarlier, 1},
        {"404", reply(CServerReply::Http(404, "missing")), FALSE, {CANNOT_CONNECT}, strEarlier, 1},
        {"status cut short", reply(CServerReply::Raw("HTTP/1.1")), FALSE, {CANNOT_CONNECT}, strEarlier, 1},
        {"header without empty line", reply(CServerReply::Raw("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n")),
         FALSE, {CLOSED}, "", 1},
        {"closed mid-body", reply(CServerReply::Raw(strHead5000 + std::string(3000, 'b'))), FALSE, {CLOSED},
         std::string(3000, 'b'), 1},
        {"no Content-Length", reply(CServerReply::Raw("HTTP/1.1 200 OK\r\n\r\nbody")), TRUE, {}, "", 1},
        {"Content-Length not a number", reply(CServerReply::Raw("HTTP/1.1 200 OK\r\nContent-Length: many\r\n\r\nbody")),
         TRUE, {}, "", 1},
        {"short page after a longer one", reply(CServerReply::Http(200, "short")), TRUE, {}, "short", 1},
        {"redirection without Location", reply(CServerReply::Raw("HTTP/1.1 302 Found\r\n\r\n")), FALSE,
         {CANNOT_CONNECT}, strEarlier, 1},
        {"relative Location", reply(CServerReply::Redirect("/elsewhere")), FALSE, {CANNOT_CONNECT}, strEarlier, 1},
        {"Location to a closed port", reply(CServerReply::Redirect(strClosed)), FALSE, {CANNOT_CONNECT},
         strEarlier, 1},
        {"Location of 255 characters", locationOf(255), TRUE, {}, "arrived", 2},
        {"Location of 256 characters", locationOf(256), FALSE, {CANNOT_CONNECT}, strEarlier, 1},
        {"endless redirection", [&](const std::string&) { return CServerReply::Redirect(strSelf + "/again"); },
         FALSE, {CANNOT_CONNECT}, strEarlier, 1 + MAX_REDIRECTIONS},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        const auto responder = c.responder;
        CLoopbackServer server([responder](const std::string& strRequest) {
            return responder(CLoopbackServer::RequestObject(strRequest));
        });
        strSelf = server.Url("");
        tavtest::CTempDir dir;
        ASSERT_TRUE(tavtest::WriteFileBytes(dir.File("page"), strEarlier));

        const CFetchResult result = Fetch(server.Url("/start"), dir.File("page"));
        EXPECT_EQ(c.bResult, result.bResult);
        EXPECT_EQ(c.messages, result.messages);
        EXPECT_EQ(c.strFile, tavtest::ReadFileBytes(dir.File("page")));
        EXPECT_EQ(c.nRequests, server.Requests().size());
    }
}

TEST(FetchPage, FileThatCannotBeOpenedFailsQuietly)
{
    CLoopbackServer server(CLoopbackServer::Script({CServerReply::Http(200, "page")}));
    tavtest::CTempDir dir;
    const CFetchResult result = Fetch(server.Url("/"), dir.File("missing\\page"));
    EXPECT_FALSE(result.bResult);
    EXPECT_EQ(Texts(), result.messages);
}

TEST(FetchPage, AddressTooLongForARequestIsNotSent)
{
    CLoopbackServer server(CLoopbackServer::Script({CServerReply::Http(200, "page")}));
    tavtest::CTempDir dir;
    const CFetchResult result = Fetch(server.Url("/" + std::string(1100, 'a')), dir.File("page"));
    EXPECT_FALSE(result.bResult);
    EXPECT_EQ(Texts{CANNOT_CONNECT}, result.messages);
    EXPECT_EQ(0u, server.Requests().size());
}

// The one slow case: the server stops sending in the middle of the body and
// keeps the connection open past the 30-second receive time-out.
TEST(FetchPage, StalledTransferTimesOut)
{
    CLoopbackServer server(CLoopbackServer::Script({CServerReply::Raw(
        "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789", CServerReply::endHold, 60000)}));
    tavtest::CTempDir dir;
    const CFetchResult result = Fetch(server.Url("/"), dir.File("page"));
    EXPECT_FALSE(result.bResult);
    EXPECT_EQ(Texts{TIMED_OUT}, result.messages);
    EXPECT_EQ("0123456789", tavtest::ReadFileBytes(dir.File("page")));
}

// --- resolution -------------------------------------------------------------

const std::string STREAM = "http://www.youtube.com/get_video?video_id=";
const std::string WORKED_LINE =
    "<script>var fullscreenUrl = '/watch_fullscreen?fs=1&video_id=AbC123&l=60&t=XyZ&hl=en&title=My Clip: 1/2';";

TEST(ResolveVideoAddress, PlayerLineCases)
{
    const std::string strAbc = STREAM + "AbC123&t=XyZ&use_get_video_info=1&load_modules=1";
    const char* const UNCHANGED = "(unchanged)";
    struct {
        const char* pszName;
        std::string strPage;
        int nQuality;
        BOOL bResult;
        std::string strStream; // g_strStreamAddress afterwards
        std::string strName;
    } cases[] = {
        {"worked line, high FLV", "<html>\n" + WORKED_LINE + "\n</html>\n", 1, TRUE, strAbc + "&fmt=6", "My Clip_ 1_2"},
        {"worked line, normal FLV", WORKED_LINE, 0, TRUE, strAbc, "My Clip_ 1_2"},
        {"worked line, MP4", WORKED_LINE, 2, TRUE, strAbc + "&fmt=18", "My Clip_ 1_2"},
        {"worked line, unknown quality", WORKED_LINE, 7, TRUE, strAbc, UNCHANGED},
        {"key words in any case", "var FullScreenUrl = '/w?&Video_ID=AbC123&L=1&T=XyZ&TITLE=Mixed Case';", 2, TRUE,
         strAbc + "&fmt=18", "Mixed Case"},
        {"video id without a following &", "fullscreenurl='/w?&t=XyZ&title=T'&video_id=AbC123", 1, FALSE, "", UNCHANGED},
        {"& before the apostrophe", "fullscreenurl='/w?&video_id=AbC123&t=XyZ&title=Tom & Jerry';", 0, TRUE, strAbc,
         "Tom "},
        {"only the first fullscreenurl line", "a fullscreenUrl without parameters\n" + WORKED_LINE, 1, FALSE, "",
         UNCHANGED},
        {"other lines are ignored", "&video_id=Other&t=Bad&title=Bad'\n" + WORKED_LINE, 0, TRUE, strAbc,
         "My Clip_ 1_2"},
        {"no ticket", "fullscreenurl='/w?&video_id=AbC123&hl=en&title=Clip';", 1, FALSE, "", "Clip"},
        {"ticket without a following &", "fullscreenurl='/w?&video_id=AbC123&title=Clip'&t=XyZ", 2, FALSE, "", "Clip"},
        {"no title", "fullscreenurl='/w?&video_id=AbC123&t=XyZ&hl=en'", 1, TRUE, strAbc, UNCHANGED},
        {"title with file name characters", "fullscreenurl &video_id=AbC123&t=XyZ&title=a*b\\c/d?e\"f<g>h|i:j%20k. l'",
         0, TRUE, strAbc, "a_b_c_d_e_f_g_h_i_j%20k. l"},
        {"title to the end of the line", "fullscreenurl &video_id=AbC123&t=XyZ&title=End of line\r\nnext line\r\n",
         0, TRUE, strAbc, "End of line"},
        {"title up to & without apostrophe", "fullscreenurl &video_id=AbC123&t=XyZ&title=abc&x=1", 0, TRUE, strAbc,
         "abc"},
        {"no player line", "<html>&video_id=AbC123&t=XyZ&</html>", 1, FALSE, "", UNCHANGED},
        {"empty page", "", 1, FALSE, "", UNCHANGED},
    };

    std::map<std::string, CServerReply> routes;
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
        routes["/watch?v=" + std::to_string(i)] = CServerReply::Http(200, cases[i].strPage);
    CLoopbackServer server(CLoopbackServer::Routes(routes));
    tavtest::CTempDir dir;
    const std::string strTemp = dir.File("tmpdownload");

    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.pszName);
        g_strStreamAddress = "(previous)";
        CString strName = UNCHANGED;
        CDialogWatcher watcher;
        EXPECT_EQ(c.bResult, ResolveVideoAddress(server.Url("/watch?v=" + std::to_string(i)).c_str(), strName,
                                                 strTemp.c_str(), c.nQuality));
        EXPECT_STREQ(c.bResult ? c.strStream.c_str() : "(previous)", g_strStreamAddress);
        EXPECT_STREQ(c.strName.c_str(), strName);
        EXPECT_FALSE(tavtest::FileExists(strTemp));
        EXPECT_EQ(Texts(), watcher.MessageTexts());
    }
}

TEST(ResolveVideoAddress, TitleInUtf8IsConvertedToTheAnsiCodePage)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "ANSI code page " << GetACP() << ", not 1252";
    CLoopbackServer server(CLoopbackServer::Script({CServerReply::Http(
        200, "fullscreenurl &video_id=A&t=T&title=Caf\xC3\xA9 \xE2\x82\xAC \xE6\x97\xA5 \xCE\xA9'")}));
    tavtest::CTempDir dir;
    CString strName;
    ASSERT_TRUE(ResolveVideoAddress(server.Url("/").c_str(), strName, dir.File("tmp").c_str(), 0));
    // Characters 1252 cannot hold become its default character, "?", which
    // is then replaced like any question mark.
    EXPECT_STREQ("Caf\xE9 \x80 _ _", strName);
}

TEST(ResolveVideoAddress, FailedFetchKeepsTheTemporaryFile)
{
    // A cut transfer leaves the partial page behind, and an earlier page
    // with a complete player line is not read in place of a new one.
    CLoopbackServer server(CLoopbackServer::Script({
        CServerReply::Raw("HTTP/1.1 200 OK\r\nContent-Length: 900\r\n\r\n" + std::string(100, 'p')),
        CServerReply::Http(200, "no player line here"),
    }));
    tavtest::CTempDir dir;
    const std::string strTemp = dir.File("tmpdownload");
    ASSERT_TRUE(tavtest::WriteFileBytes(strTemp, std::string(200, '\n') + WORKED_LINE + "\n"));

    CDialogWatcher watcher;
    CString strName;
    EXPECT_FALSE(ResolveVideoAddress(server.Url("/").c_str(), strName, strTemp.c_str(), 1));
    EXPECT_EQ(std::string(100, 'p'), tavtest::ReadFileBytes(strTemp));

    ASSERT_TRUE(tavtest::WriteFileBytes(strTemp, std::string(200, '\n') + WORKED_LINE + "\n"));
    EXPECT_FALSE(ResolveVideoAddress(server.Url("/").c_str(), strName, strTemp.c_str(), 1));
    EXPECT_TRUE(strName.IsEmpty());
    EXPECT_FALSE(tavtest::FileExists(strTemp));
    EXPECT_EQ(Texts{CLOSED}, watcher.MessageTexts());
}

} // namespace
