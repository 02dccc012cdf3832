// Whole downloads on the real program under Wine, driven from outside like a
// user: type the page address, pick the quality, press Download, answer the
// save dialog and the message boxes. Runs in a private network namespace in
// which the video site's host resolves to this machine: the test serves the
// video page and the stream endpoint on port 80 and the stream itself from a
// second server, to which the endpoint redirects.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DialogWatcher.h"
#include "LoopbackServer.h"
#include "ProgramDriver.h"
#include "StreamServer.h"
#include "TestSupport.h"

#include <shlobj.h>
#include <tlhelp32.h>

namespace {

using tavtest::CLoopbackServer;
using tavtest::CServerReply;
using tavtest::CStreamServer;

const DWORD WAIT_MS = tavtest::DEFAULT_WAIT_MS;
const char PAGE_ADDRESS[] = "http://www.youtube.com/watch?v=AbC123";
// What the page's player line yields for quality 2 (and, without the last
// parameter, for quality 0).
const char STREAM_OBJECT[] = "/get_video?video_id=AbC123&t=XyZ&use_get_video_info=1&load_modules=1";

// Ids of the main window's controls and of the common dialogs' parts.
enum {
    ID_DOWNLOAD = 1,
    ID_PAUSE = 3,
    ID_STOP = 4,
    ID_REQUEST = 1000,
    ID_REPLY = 1001,
    ID_ADDRESS = 1002,
    ID_PROGRESS = 1003,
    ID_SPEED = 1004,
    ID_QUALITY = 1006,
    ID_FILE_NAME_COMBO = 0x47C,
    ID_FILE_NAME_EDIT = 0x480,
};

using tavtest::ClassOf;
using tavtest::ProcessOf;
using tavtest::SaveScreenshot;
using tavtest::TextOf;
using tavtest::TopWindows;
using tavtest::WaitUntil;

std::string ExeNameOf(DWORD dwPid)
{
    std::string strName;
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = Process32First(hSnapshot, &entry); bMore; bMore = Process32Next(hSnapshot, &entry))
        if (entry.th32ProcessID == dwPid)
            strName = entry.szExeFile;
    CloseHandle(hSnapshot);
    return strName;
}

// The page the video site serves for PAGE_ADDRESS: the player line carries
// the id, the access ticket and the title.
std::string PlayerPage(const std::string& strTitle)
{
    return "<html><head><title>YouTube</title></head><body>\n"
           "<script type=\"text/javascript\">\n"
           "var fullscreenUrl = '/watch_fullscreen?fs=1&video_id=AbC123&l=60&t=XyZ&hl=en&title=" +
           strTitle + "';\n</script>\n</body></html>\n";
}

// The running program and what a user does with it.
class CTavmio : public tavtest::CProgram {
public:
    void Type(int nId, const std::string& strText) const
    {
        SendMessageA(Item(nId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strText.c_str()));
    }
    void SetQuality(int nQuality) const { SendMessageA(Item(ID_QUALITY), CB_SETCURSEL, nQuality, 0); }
    // A click on one of the main window's buttons (also the hidden Pause).
    void Press(int nId) const
    {
        PostMessageA(Main(), WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), reinterpret_cast<LPARAM>(Item(nId)));
    }
    void StartDownload(const std::string& strAddress, int nQuality) const
    {
        Type(ID_ADDRESS, strAddress);
        SetQuality(nQuality);
        Press(ID_DOWNLOAD);
    }

    // The name the save dialog proposes.
    static std::string ProposedName(HWND hSave)
    {
        HWND hName = GetDlgItem(hSave, ID_FILE_NAME_COMBO);
        if (!hName)
            hName = GetDlgItem(hSave, ID_FILE_NAME_EDIT);
        return TextOf(hName);
    }

    // Answers the save dialog with strPath; confirms replacing an existing
    // file when asked.
    void Save(HWND hSave, const std::string& strPath) const
    {
        HWND hName = GetDlgItem(hSave, ID_FILE_NAME_COMBO);
        if (!hName)
            hName = GetDlgItem(hSave, ID_FILE_NAME_EDIT);
        SendMessageA(hName, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strPath.c_str()));
        PostMessageA(hSave, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hSave, IDOK)));
    }

    // The program's next message box: its text, after pressing its OK.
    // Empty when none came.
    std::string TakeMessage(DWORD dwTimeout = WAIT_MS) const
    {
        HWND hBox = WaitForDialog("tavmio", dwTimeout);
        if (!hBox)
            return std::string();
        std::string strText = tavtest::CDialogWatcher::MessageText(hBox);
        PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        WaitUntil([&] { return !IsWindow(hBox); });
        return strText;
    }

    bool HasMessageBox() const { return WaitForDialog("tavmio", 0) != nullptr; }
};

// Explorer windows on a folder: Wine's Explorer names its window after the
// folder it shows.
std::vector<HWND> ExplorerWindowsOn(const std::string& strFolder)
{
    std::string strName = strFolder.substr(strFolder.rfind('\\') + 1);
    return TopWindows([&](HWND h) {
        return ClassOf(h) == "ExplorerWClass" && TextOf(h) == strName && ExeNameOf(ProcessOf(h)) == "explorer.exe";
    });
}

// Waits for Explorer to show the folder and closes what it opened; false
// when it did not show up.
bool CloseExplorerOn(const std::string& strFolder)
{
    std::vector<HWND> windows;
    if (!WaitUntil([&] { return !(windows = ExplorerWindowsOn(strFolder)).empty(); }))
        return false;
    for (HWND hWnd : windows)
        PostMessageA(hWnd, WM_CLOSE, 0, 0);
    WaitUntil([&] { return ExplorerWindowsOn(strFolder).empty(); });
    return true;
}

// The name a file really has in its folder (the lookup ignores case).
std::string StoredName(const std::string& strPath)
{
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA(strPath.c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return std::string();
    FindClose(hFind);
    return data.cFileName;
}

// The names in a folder.
std::vector<std::string> FolderContents(const std::string& strFolder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((strFolder + "\\*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (strcmp(data.cFileName, ".") != 0 && strcmp(data.cFileName, "..") != 0)
            names.push_back(data.cFileName);
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
    return names;
}

std::string Lower(std::string str)
{
    for (char& ch : str)
        ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
    return str;
}

long long FileSize(const std::string& strPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(strPath.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Nobody has the file open: it opens without sharing.
bool IsClosed(const std::string& strPath)
{
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(hFile);
    return true;
}

class Download : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(tavtest::GetEnv("TAVMIO_NETNS"), "1") << "runs only inside the test network namespace";
        // The program keeps its temporary page in this folder; it must exist.
        char szAppData[MAX_PATH] = {};
        ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, szAppData, CSIDL_APPDATA, FALSE));
        CreateDirectoryA((std::string(szAppData) + "\\Tavmio").c_str(), nullptr);

        ASSERT_TRUE(m_stream.IsListening());
        ASSERT_TRUE(m_site.IsListening()) << "port 80";
        ASSERT_FALSE(m_dir.Path().empty());
        m_tavmio.Start();
        ASSERT_NE(m_tavmio.Main(), nullptr) << "the program's main window";
    }

    // The video site on port 80: the page, and the stream endpoint, which
    // redirects to the stream server.
    CServerReply Site(const std::string& strRequest)
    {
        std::string strObject = CLoopbackServer::RequestObject(strRequest);
        if (strObject == "/watch?v=AbC123")
            return CServerReply::Http(200, m_strPage);
        if (strObject.compare(0, strlen(STREAM_OBJECT), STREAM_OBJECT) == 0) {
            if (m_bStreamSilent)
                return CServerReply::Raw("");
            if (!m_strStreamLocation.empty())
                return CServerReply::Redirect(m_strStreamLocation);
            return m_nStreamStatus == 302 ? CServerReply::Redirect(m_stream.Url("/videos/AbC123.flv"))
                                          : CServerReply::Http(m_nStreamStatus, "no such video");
        }
        return CServerReply::Http(404, "not here");
    }

    // The stream endpoint requests the site got, as request objects.
    std::vector<std::string> StreamRequests() const
    {
        std::vector<std::string> objects;
        for (const std::string& strRequest : m_site.Requests()) {
            std::string strObject = CLoopbackServer::RequestObject(strRequest);
            if (strObject.compare(0, 10, "/get_video") == 0)
                objects.push_back(strObject);
        }
        return objects;
    }

    // Starts a download of the page and answers the save dialog with the
    // name strName in the test folder; confirms replacing a file that is
    // already there.
    void DownloadTo(int nQuality, const std::string& strName)
    {
        m_tavmio.StartDownload(PAGE_ADDRESS, nQuality);
        HWND hSave = m_tavmio.WaitForDialog("Save As");
        ASSERT_NE(hSave, nullptr) << "the save dialog";
        bool bExists = tavtest::FileExists(m_dir.File(strName));
        m_tavmio.Save(hSave, m_dir.File(strName));
        if (bExists) {
            HWND hConfirm = nullptr;
            ASSERT_TRUE(WaitUntil([&] {
                for (HWND h : TopWindows([&](HWND w) {
                         return ProcessOf(w) == m_tavmio.Pid() && ClassOf(w) == "#32770" &&
                                tavtest::CDialogWatcher::IsMessageBox(w);
                     }))
                    hConfirm = h;
                return hConfirm != nullptr;
            })) << "the question whether to replace " << strName;
            PostMessageA(hConfirm, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
        }
    }

    // Waits until the program has written nSize bytes to the file.
    bool WaitForFileSize(const std::string& strPath, long long nSize)
    {
        return WaitUntil([&] { return FileSize(strPath) == nSize; });
    }

    std::string m_strPage = PlayerPage("My Video");
    int m_nStreamStatus = 302;
    // Where the stream endpoint redirects to, when not to the stream server.
    std::string m_strStreamLocation;
    // The stream endpoint closes the connection without a reply.
    bool m_bStreamSilent = false;
    CStreamServer m_stream;
    CLoopbackServer m_site{[this](const std::string& strRequest) { return Site(strRequest); }, 80};
    tavtest::CTempDir m_dir;
    CTavmio m_tavmio;
};

TEST_F(Download, FollowsTheRedirectionAndSavesTheStreamWhileShowingProgress)
{
    // Paced over about three seconds, so that the speed label has a rate.
    CStreamServer::CPlan plan;
    plan.strBody = tavtest::PatternBytes(768 * 1024);
    plan.nChunk = 16 * 1024;
    plan.dwChunkDelayMs = 60;
    m_stream.SetPlan(plan);

    EXPECT_FALSE(IsWindowVisible(m_tavmio.Item(ID_PROGRESS)));
    EXPECT_EQ(m_tavmio.ItemText(ID_SPEED), "0.0KB/S");
    m_tavmio.StartDownload(PAGE_ADDRESS, 2);
    HWND hSave = m_tavmio.WaitForDialog("Save As");
    ASSERT_NE(hSave, nullptr);
    EXPECT_EQ(CTavmio::ProposedName(hSave), "My Video");
    m_tavmio.Save(hSave, m_dir.File("My Video"));

    ASSERT_TRUE(WaitUntil([&] { return m_tavmio.ItemText(ID_SPEED) != "0.0KB/S"; })) << "a speed";
    EXPECT_TRUE(IsWindowVisible(m_tavmio.Item(ID_PROGRESS)));
    SaveScreenshot(m_tavmio.Main(), "download-progress.bmp");
    double dRate = 0;
    char szUnit[4] = {};
    std::string strSpeed = m_tavmio.ItemText(ID_SPEED);
    EXPECT_EQ(sscanf(strSpeed.c_str(), "%lf %1[KM]/S", &dRate, szUnit), 2) << strSpeed;

    EXPECT_EQ(m_tavmio.TakeMessage(), "Download Complete");
    const std::string strFile = m_dir.File("my video.mp4");
    EXPECT_EQ(StoredName(strFile), "my video.mp4") << "lower case, with the quality's extension";
    bool bRead = false;
    EXPECT_TRUE(tavtest::ReadFileBytes(strFile, &bRead) == plan.strBody) << "the file is the served body";
    EXPECT_TRUE(bRead);
    EXPECT_TRUE(CloseExplorerOn(m_dir.Path())) << "Explorer on the file's folder";
    SaveScreenshot(m_tavmio.Main(), "download-complete.bmp");

    // The page, then the stream endpoint with the quality's parameter, then
    // the stream at the redirection's address.
    ASSERT_EQ(StreamRequests().size(), 1u);
    EXPECT_EQ(StreamRequests()[0], std::string(STREAM_OBJECT) + "&fmt=18");
    ASSERT_EQ(m_stream.Requests().size(), 1u);
    EXPECT_EQ(CLoopbackServer::RequestObject(m_stream.Requests()[0]), "/videos/AbC123.flv");
    EXPECT_EQ(CLoopbackServer::RequestField(m_stream.Requests()[0], "Host"), "127.0.0.1");
    // The hidden edits hold the last request and reply.
    EXPECT_EQ(m_tavmio.ItemText(ID_REQUEST), m_stream.Requests()[0]);
    EXPECT_EQ(m_tavmio.ItemText(ID_REPLY).substr(0, 35), "HTTP/1.1 200 Status\r\nContent-Length");
}

TEST_F(Download, NamesTheFileByQualityAndReplacesLongerFilesCompletely)
{
    struct {
        int nQuality;
        const char* pszTyped;
        const char* pszStored;
        const char* pszParameter;  // the stream address's quality parameter
        size_t nOldSize;           // size of a file already there, 0 for none
    } const cases[] = {
        {0, "CLIP.FLV", "clip.flv", "", 5000},   // a longer file is replaced, not overwritten in part
        {1, "Movie.mp4", "movie.mp4.flv", "&fmt=6", 0},
        {2, "Clip.MP4", "clip.mp4", "&fmt=18", 0},
        {0, "a", "a.flv", "", 0},
        {2, "Short.mp4", "short.mp4", "&fmt=18", 100},  // a shorter one is simply overwritten
    };
    // Less than 1024 bytes: the progress bar's range is empty.
    CStreamServer::CPlan plan;
    plan.strBody = tavtest::PatternBytes(700, 7);
    m_stream.SetPlan(plan);

    size_t nRequests = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszTyped);
        if (c.nOldSize)
            tavtest::WriteFileBytes(m_dir.File(c.pszStored), std::string(c.nOldSize, 'X'));
        DownloadTo(c.nQuality, c.pszTyped);
        EXPECT_EQ(m_tavmio.TakeMessage(), "Download Complete");
        EXPECT_EQ(StoredName(m_dir.File(c.pszStored)), c.pszStored);
        EXPECT_TRUE(tavtest::ReadFileBytes(m_dir.File(c.pszStored)) == plan.strBody);
        EXPECT_TRUE(CloseExplorerOn(m_dir.Path()));
        std::vector<std::string> requests = StreamRequests();
        ASSERT_EQ(requests.size(), ++nRequests);
        EXPECT_EQ(requests.back(), std::string(STREAM_OBJECT) + c.pszParameter);
    }
}

TEST_F(Download, StopEndsTheTransferAndReleasesTheConnectionAndTheFile)
{
    CStreamServer::CPlan plan;
    plan.strBody = tavtest::PatternBytes(1024 * 1024);
    plan.nFirstPart = 20 * 1024;
    m_stream.SetPlan(plan);

    DownloadTo(0, "stopped");
    const std::string strFile = m_dir.File("stopped.flv");
    ASSERT_TRUE(m_stream.WaitForPause(WAIT_MS));
    ASSERT_TRUE(WaitForFileSize(strFile, 20 * 1024));
    EXPECT_FALSE(IsClosed(strFile)) << "the program has the file open";

    m_tavmio.Press(ID_STOP);
    EXPECT_TRUE(m_stream.WaitForClientClose(WAIT_MS)) << "the connection is closed";
    EXPECT_TRUE(WaitUntil([&] { return IsClosed(strFile); })) << "the file is closed";
    EXPECT_TRUE(tavtest::ReadFileBytes(strFile) == plan.strBody.substr(0, 20 * 1024));

    // The job has no worker any more, and nothing else was said.
    m_tavmio.Press(ID_PAUSE);
    EXPECT_EQ(m_tavmio.TakeMessage(), "Please download first.");
    EXPECT_TRUE(ExplorerWindowsOn(m_dir.Path()).empty());

    // Stop with nothing running changes nothing; a new download works.
    m_tavmio.Press(ID_STOP);
    CStreamServer::CPlan whole;
    whole.strBody = tavtest::PatternBytes(5000, 3);
    m_stream.SetPlan(whole);
    DownloadTo(0, "again");
    EXPECT_EQ(m_tavmio.TakeMessage(), "Download Complete");
    EXPECT_TRUE(tavtest::ReadFileBytes(m_dir.File("again.flv")) == whole.strBody);
    EXPECT_TRUE(CloseExplorerOn(m_dir.Path()));
}

TEST_F(Download, DownloadWhileDownloadingStartsOverWithTheControlsAsTheyAreNow)
{
    CStreamServer::CPlan plan;
    plan.strBody = tavtest::PatternBytes(1024 * 1024);
    plan.nFirstPart = 20 * 1024;
    m_stream.SetPlan(plan);
    DownloadTo(0, "first");
    const std::string strFirst = m_dir.File("first.flv");
    ASSERT_TRUE(m_stream.WaitForPause(WAIT_MS));
    ASSERT_TRUE(WaitForFileSize(strFirst, 20 * 1024));

    CStreamServer::CPlan whole;
    whole.strBody = tavtest::PatternBytes(50 * 1024, 5);
    m_stream.SetPlan(whole);
    DownloadTo(2, "second");
    EXPECT_TRUE(m_stream.WaitForClientClose(WAIT_MS)) << "the first transfer's connection is closed";
    EXPECT_EQ(m_tavmio.TakeMessage(), "Download Complete");
    EXPECT_TRUE(tavtest::ReadFileBytes(m_dir.File("second.mp4")) == whole.strBody);
    EXPECT_TRUE(IsClosed(strFirst));
    EXPECT_EQ(FileSize(strFirst), 20 * 1024);
    EXPECT_TRUE(CloseExplorerOn(m_dir.Path()));
    std::vector<std::string> requests = StreamRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1], std::string(STREAM_OBJECT) + "&fmt=18") << "the quality chosen for the second";
}

TEST_F(Download, ServerClosingEarlyIsReportedAndTheFolderStillOpens)
{
    CStreamServer::CPlan plan;
    plan.strBody = tavtest::PatternBytes(3000, 9);
    plan.nAnnounced = 10000;
    plan.nFirstPart = 3000;
    plan.bCloseAfterFirstPart = true;
    m_stream.SetPlan(plan);

    DownloadTo(1, "cut");
    EXPECT_EQ(m_tavmio.TakeMessage(), "Connecting closed by the server!");
    EXPECT_TRUE(tavtest::ReadFileBytes(m_dir.File("cut.flv")) == plan.strBody);
    EXPECT_TRUE(CloseExplorerOn(m_dir.Path()));
}

TEST_F(Download, PauseAndContinueHoldTheTransferWithTheirMessages)
{
    CStreamServer::CPlan plan;
    plan.strBody = tavtest::PatternBytes(40 * 1024, 11);
    plan.nFirstPart = 5 * 1024;
    m_stream.SetPlan(plan);

    // Pausing reads the controls into the window's members. Here it does
    // so while the save dialog is open, after the quality was changed: the
    // job still names the file for the quality it started with.
    m_tavmio.StartDownload(PAGE_ADDRESS, 0);
    HWND hSave = m_tavmio.WaitForDialog("Save As");
    ASSERT_NE(hSave, nullptr);
    m_tavmio.SetQuality(2);
    m_tavmio.Type(ID_ADDRESS, "http://www.youtube.com/watch?v=Other");
    m_tavmio.Press(ID_PAUSE);
    EXPECT_EQ(m_tavmio.TakeMessage(), "Suspend 0");
    m_tavmio.Press(ID_PAUSE);
    EXPECT_EQ(m_tavmio.TakeMessage(), "Resume  0");
    m_tavmio.Save(hSave, m_dir.File("paused"));
    const std::string strFile = m_dir.File("paused.flv");
    ASSERT_TRUE(m_stream.WaitForPause(WAIT_MS));
    ASSERT_TRUE(WaitForFileSize(strFile, 5 * 1024));

    m_tavmio.Press(ID_PAUSE);
    EXPECT_EQ(m_tavmio.TakeMessage(), "Suspend 5120");
    EXPECT_EQ(m_tavmio.ItemText(ID_PAUSE), "Continue");
    // While paused, the rest arrives but at most the chunk in flight is
    // written.
    m_stream.Release();
    Sleep(500);
    long long nHeld = FileSize(strFile);
    EXPECT_LE(nHeld, 6 * 1024);

    m_tavmio.Press(ID_PAUSE);
    EXPECT_EQ(m_tavmio.TakeMessage(), "Resume  " + std::to_string(nHeld));
    EXPECT_EQ(m_tavmio.ItemText(ID_PAUSE), "Pause");
    EXPECT_EQ(m_tavmio.TakeMessage(), "Download Complete");
    EXPECT_TRUE(tavtest::ReadFileBytes(strFile) == plan.strBody);
    EXPECT_TRUE(CloseExplorerOn(m_dir.Path()));
}

TEST_F(Download, ResolutionFailureAndErrorRepliesAreReported)
{
    // A page without a player line: the job ends with "Failure!" but still
    // counts as started until it is stopped.
    m_strPage = "<html><body>This video is no longer available.</body></html>\n";
    m_tavmio.StartDownload(PAGE_ADDRESS, 0);
    EXPECT_EQ(m_tavmio.TakeMessage(), "Failure!");
    m_tavmio.Press(ID_PAUSE);
    EXPECT_EQ(m_tavmio.TakeMessage(), "Suspend 0");
    m_tavmio.Press(ID_PAUSE);
    EXPECT_EQ(m_tavmio.TakeMessage(), "Resume  0");
    m_tavmio.Press(ID_STOP);
    m_tavmio.Press(ID_PAUSE);
    EXPECT_EQ(m_tavmio.TakeMessage(), "Please download first.");

    // A download that works leaves its reply in the job's socket.
    m_strPage = PlayerPage("Gone");
    CStreamServer::CPlan plan;
    plan.strBody = tavtest::PatternBytes(2000, 17);
    m_stream.SetPlan(plan);
    DownloadTo(0, "fine");
    EXPECT_EQ(m_tavmio.TakeMessage(), "Download Complete");
    EXPECT_TRUE(CloseExplorerOn(m_dir.Path()));

    // Then the stream endpoint refuses; closes without a reply; redirects to
    // a port nobody listens on; redirects to itself for ever, or with an
    // address too long to follow. The earlier
    // reply must not be taken for the answer to any of these.
    struct {
        int nStatus;
        bool bSilent;
        std::string strLocation;
        size_t nEndpointRequests;
    } const cases[] = {
        {404, false, "", 1},
        {0, true, "", 1},
        {302, false, "http://127.0.0.1:1/videos/AbC123.flv", 1},
        {302, false, std::string("http://www.youtube.com") + STREAM_OBJECT, 21},  // the first and 20 redirections
        // A Location too long to be taken whole is not followed cut short.
        {302, false, std::string("http://www.youtube.com") + STREAM_OBJECT + "&pad=" + std::string(300, 'x'), 1},
    };
    size_t nEndpointRequests = StreamRequests().size();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nStatus << (c.bSilent ? " silent " : " ") << c.strLocation);
        m_nStreamStatus = c.nStatus;
        m_bStreamSilent = c.bSilent;
        m_strStreamLocation = c.strLocation;
        DownloadTo(0, "refused");
        EXPECT_EQ(m_tavmio.TakeMessage(), "Error!");
        nEndpointRequests += c.nEndpointRequests;
        EXPECT_EQ(StreamRequests().size(), nEndpointRequests);
        EXPECT_EQ(m_stream.Requests().size(), 1u) << "only the first download reached the stream";
        EXPECT_FALSE(tavtest::FileExists(m_dir.File("refused.flv")));
    }
}

TEST_F(Download, OutputFilesThatCannotBeWrittenAreReportedAndNothingElseIsWritten)
{
    CStreamServer::CPlan plan;
    plan.strBody = tavtest::PatternBytes(8 * 1024, 13);
    m_stream.SetPlan(plan);

    // Held open by someone else, without sharing: it cannot be opened.
    const std::string strLocked = m_dir.File("locked.flv");
    ASSERT_TRUE(tavtest::WriteFileBytes(strLocked, "old"));
    HANDLE hLocked = CreateFileA(strLocked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hLocked, INVALID_HANDLE_VALUE);
    DownloadTo(0, "locked.flv");
    EXPECT_EQ(m_tavmio.TakeMessage(), "Can't open the file for writing!\n" + Lower(strLocked));
    CloseHandle(hLocked);
    EXPECT_EQ(tavtest::ReadFileBytes(strLocked), "old");
    EXPECT_EQ(FolderContents(m_dir.Path()), std::vector<std::string>{"locked.flv"});
    EXPECT_TRUE(ExplorerWindowsOn(m_dir.Path()).empty());

    // A file on a full disk: every write fails.
    const std::string strFullDir = tavtest::GetEnv("TAVMIO_FULL_DEVICE_DIR");
    ASSERT_FALSE(strFullDir.empty());
    m_tavmio.StartDownload(PAGE_ADDRESS, 0);
    HWND hSave = m_tavmio.WaitForDialog("Save As");
    ASSERT_NE(hSave, nullptr);
    m_tavmio.Save(hSave, strFullDir + "\\full.flv");
    // The device may or may not count as an existing file for the dialog.
    HWND hBox = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND h : TopWindows([&](HWND w) {
                 return ProcessOf(w) == m_tavmio.Pid() && tavtest::CDialogWatcher::IsMessageBox(w);
             }))
            hBox = h;
        return hBox != nullptr;
    }));
    if (TextOf(hBox) == "Save As")
        PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    EXPECT_EQ(m_tavmio.TakeMessage(), "Can't write to the file!\n" + Lower(strFullDir + "\\full.flv"));
    EXPECT_EQ(FolderContents(strFullDir), std::vector<std::string>{"full.flv"});
}

}  // namespace
