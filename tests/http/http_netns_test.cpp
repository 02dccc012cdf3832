// The real path to the video site's fixed host: run in a private network
// namespace (tests/support/netns-run) where "www.youtube.com" resolves to
// 127.0.0.1, a scripted server on port 80 plays the site, and nothing else
// can be reached.
#include "HttpSocket.h"
#include "VideoAddress.h"

#include "DialogWatcher.h"
#include "LoopbackServer.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using tavtest::CLoopbackServer;
using tavtest::CServerReply;

namespace {

tavtest::CWinsockScope g_winsock;

const char* const CANNOT_CONNECT = "Error!Can't connect to the youtube server!";
const std::string STREAM_OBJECT = "/get_video?video_id=AbC123&t=XyZ&use_get_video_info=1&load_modules=1&fmt=18";

TEST(VideoSiteHost, ResolvesInsideTheNamespace)
{
    const hostent* pHost = gethostbyname(VIDEO_SITE_HOST);
    ASSERT_NE(nullptr, pHost) << VIDEO_SITE_HOST << " does not resolve: the namespace's hosts file is not in effect";
    ASSERT_EQ(4, pHost->h_length);
    in_addr address;
    memcpy(&address, pHost->h_addr_list[0], 4);
    EXPECT_STREQ("127.0.0.1", inet_ntoa(address));
}

TEST(VideoSiteHost, SocketsLiveInsideTheNamespace)
{
    // Wine makes its sockets in the wineserver: with a wineserver outside
    // the namespace this port, which listens outside, would be reachable.
    const int nOuterPort = atoi(tavtest::GetEnv("TAVMIO_NETNS_OUTER_PORT").c_str());
    ASSERT_GT(nOuterPort, 0) << "TAVMIO_NETNS_OUTER_PORT is not set";
    CHttpSocket socket;
    ASSERT_EQ(1, socket.Socket());
    EXPECT_EQ(0, socket.Connect(const_cast<char*>("127.0.0.1"), nOuterPort))
        << "a port listening outside the namespace is reachable from inside";
}

TEST(VideoSiteHost, PageToStreamThroughTheFixedHost)
{
    const std::string strVideo = tavtest::PatternBytes(300 * 1024, 3);
    CLoopbackServer cdn(CLoopbackServer::Routes({{"/videoplayback?id=1", CServerReply::Http(200, strVideo)}}));
    CLoopbackServer site(
        CLoopbackServer::Routes({
            {"/watch?v=AbC123",
             CServerReply::Http(200, "<script>\nvar fullscreenUrl = '/watch_fullscreen?fs=1&video_id=AbC123&l=60"
                                     "&t=XyZ&hl=en&title=Clip \xC3\xA9t\xC3\xA9';\n</script>\n")},
            {STREAM_OBJECT, CServerReply::Redirect(cdn.Url("/videoplayback?id=1"))},
        }),
        80);
    ASSERT_TRUE(site.IsListening()) << "cannot listen on port 80";

    tavtest::CTempDir dir;
    tavtest::CDialogWatcher watcher;
    CString strName;
    ASSERT_TRUE(ResolveVideoAddress("http://www.youtube.com/watch?v=AbC123", strName,
                                    dir.File("tmpdownload").c_str(), 2));
    EXPECT_EQ("http://www.youtube.com" + STREAM_OBJECT, std::string(g_strStreamAddress));

    // The stream address leads to the same host, which sends the client on.
    ASSERT_TRUE(FetchPage(g_strStreamAddress, dir.File("video").c_str()));
    EXPECT_TRUE(tavtest::ReadFileBytes(dir.File("video")) == strVideo) << "the video differs";

    const std::vector<std::string> requests = site.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("/watch?v=AbC123", CLoopbackServer::RequestObject(requests[0]));
    EXPECT_EQ(STREAM_OBJECT, CLoopbackServer::RequestObject(requests[1]));
    for (const std::string& strRequest : requests)
        EXPECT_EQ(VIDEO_SITE_HOST, CLoopbackServer::RequestField(strRequest, "Host"));
    EXPECT_EQ(1u, cdn.Requests().size());
    EXPECT_EQ(std::vector<std::string>(), watcher.MessageTexts());
}

TEST(VideoSiteHost, UnreachableSiteIsReported)
{
    // No server on port 80, and no name service beyond the hosts file.
    struct {
        const char* pszAddress;
    } cases[] = {{"http://www.youtube.com/watch?v=AbC123"}, {"http://unknown-host.example/watch?v=1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszAddress);
        tavtest::CTempDir dir;
        tavtest::CDialogWatcher watcher;
        CString strName;
        EXPECT_FALSE(ResolveVideoAddress(c.pszAddress, strName, dir.File("tmpdownload").c_str(), 0));
        EXPECT_EQ(std::vector<std::string>{CANNOT_CONNECT}, watcher.MessageTexts());
    }
    CHttpSocket socket;
    socket.Socket();
    EXPECT_EQ(0, socket.Connect(const_cast<char*>("unknown-host.example"), 80));
}

} // namespace

int main(int argc, char** argv)
{
    const char* pszMissing = tavtest::GetEnv("TAVMIO_NETNS") == "1"
                                 ? ""
                                 : "not inside the test namespace; ctest runs this program through "
                                   "tests/support/netns-run";
    return tavtest::RunTestsOrSkip(argc, argv, pszMissing);
}
