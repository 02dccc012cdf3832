// Benchmark of a download: the real program fetches a large stream from a
// loopback server, driven like a user (address, Download, save dialog), and
// is timed from the save dialog's OK to "Download Complete"; its peak working
// set is read at the end. For comparison the same stream is read in this
// process with the program's HTTP socket, once in the program's 1 KiB chunks
// and once in 64 KiB chunks, written to a file the same way.
//
//   download_bench <program> <page address> <stream address> <output folder>
//                  <size in bytes> [curl seconds]
//
// Run by bench/download/run.sh, which serves the page and the stream and
// times curl on the same stream first.
#include "Afx.h"
#include "BenchSupport.h"
#include "HttpSocket.h"
#include "ProgramDriver.h"
#include "TestSupport.h"

#include <psapi.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using tavbench::NowSeconds;

double MiB(double dBytes)
{
    return dBytes / (1024.0 * 1024.0);
}

// Closes the windows Explorer opened on a folder (named after the folder).
void CloseExplorerOn(const std::string& strFolderName)
{
    HWND hWnd = nullptr;
    if (tavtest::WaitUntil([&] { return (hWnd = FindWindowA("ExplorerWClass", strFolderName.c_str())) != nullptr; },
                           5000, 50))
        PostMessageA(hWnd, WM_CLOSE, 0, 0);
}

LONGLONG FileSize(const std::string& strPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(strPath.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Reads the stream with the program's HTTP socket in nChunk pieces into a
// file; the seconds it took, or a negative number on failure.
double SocketRead(const std::string& strAddress, const std::string& strFile, long nChunk, LONGLONG nSize)
{
    // http://host[:port]/object
    std::string strRest = strAddress.substr(strAddress.find("//") + 2);
    std::string strHostPort = strRest.substr(0, strRest.find('/'));
    std::string strObject = strRest.substr(strHostPort.size());
    std::string strHost = strHostPort.substr(0, strHostPort.find(':'));
    int nPort = strHostPort.find(':') == std::string::npos ? 80 : atoi(strHostPort.c_str() + strHost.size() + 1);

    double dStart = NowSeconds();
    CHttpSocket socket;
    long nLength = 0;
    socket.FormatRequestHeader(&strHost[0], &strObject[0], nLength, nullptr, nullptr, 0, 0, 0);
    if (!socket.Socket() || !socket.Connect(&strHost[0], nPort) || !socket.SendRequest(nullptr, 0) ||
        socket.GetServerState() != 200)
        return -1;
    CFile file;
    if (!file.Open(strFile.c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyNone))
        return -1;
    std::vector<char> buffer(static_cast<size_t>(nChunk));
    LONGLONG nCount = 0;
    while (nCount < nSize) {
        long nRead = socket.Receive(buffer.data(), nChunk);
        if (nRead <= 0 || !file.Write(buffer.data(), static_cast<UINT>(nRead)))
            return -1;
        nCount += nRead;
    }
    file.Close();
    double dSeconds = NowSeconds() - dStart;
    DeleteFileA(strFile.c_str());
    return dSeconds;
}

struct CProgramRun {
    double dSeconds = -1;
    SIZE_T nPeakWorkingSet = 0;
    SIZE_T nWorkingSetAtStart = 0;
    std::string strMessage;
};

// The whole download in the real program, as a user does it.
CProgramRun ProgramDownload(const std::string& strProgram, const std::string& strPage, const std::string& strFile)
{
    CProgramRun run;
    // Closed by its destructor.
    tavtest::CProgram program;
    if (!program.Start(strProgram)) {
        run.strMessage = "no main window";
        return run;
    }
    HWND hMain = program.Main();
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(program.Process(), &counters, sizeof(counters));
    run.nWorkingSetAtStart = counters.WorkingSetSize;

    SendDlgItemMessageA(hMain, 1002, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strPage.c_str()));
    SendDlgItemMessageA(hMain, 1006, CB_SETCURSEL, 0, 0);
    PostMessageA(hMain, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hMain, IDOK)));
    HWND hSave = program.WaitForDialog("Save As");
    if (!hSave) {
        run.strMessage = "no save dialog";
        return run;
    }
    SendDlgItemMessageA(hSave, 0x47C, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strFile.c_str()));
    double dStart = NowSeconds();
    PostMessageA(hSave, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    // Polled gently: this machine's cores are shared with the program.
    HWND hBox = program.WaitForDialog("tavmio", 600000, 50);
    if (!hBox) {
        run.strMessage = "no message after the transfer";
        return run;
    }
    run.dSeconds = NowSeconds() - dStart;
    char szText[256] = {};
    GetDlgItemTextA(hBox, 0xFFFF, szText, sizeof(szText));
    run.strMessage = szText;
    GetProcessMemoryInfo(program.Process(), &counters, sizeof(counters));
    run.nPeakWorkingSet = counters.PeakWorkingSetSize;
    PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    std::string strFolder = strFile.substr(0, strFile.rfind('\\'));
    CloseExplorerOn(strFolder.substr(strFolder.rfind('\\') + 1));
    return run;
}

void PrintRate(const char* pszWhat, LONGLONG nSize, double dSeconds, double dCurlSeconds)
{
    if (dSeconds <= 0) {
        printf("  %-34s failed\n", pszWhat);
        return;
    }
    printf("  %-34s %8.2f s %9.1f MiB/s", pszWhat, dSeconds, MiB(static_cast<double>(nSize)) / dSeconds);
    if (dCurlSeconds > 0)
        printf("   %5.3f of curl's rate", dCurlSeconds / dSeconds);
    printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 6) {
        fprintf(stderr, "usage: download_bench <program> <page address> <stream address> <output folder> <size> "
                        "[curl seconds]\n");
        return 2;
    }
    const std::string strProgram = argv[1], strPage = argv[2], strStream = argv[3], strFolder = argv[4];
    const LONGLONG nSize = _atoi64(argv[5]);
    const double dCurlSeconds = argc > 6 ? atof(argv[6]) : 0;

    tavtest::CWinsockScope winsock;
    // The program keeps its temporary page there; it must exist.
    char szAppData[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, szAppData, CSIDL_APPDATA, FALSE);
    CreateDirectoryA((std::string(szAppData) + "\\Tavmio").c_str(), nullptr);

    printf("Download of %.0f MiB from a loopback server\n", MiB(static_cast<double>(nSize)));
    if (dCurlSeconds > 0)
        PrintRate("curl", nSize, dCurlSeconds, 0);
    const std::string strFile = strFolder + "\\bench-" + std::to_string(nSize);
    PrintRate("HTTP socket, 1 KiB reads", nSize, SocketRead(strStream, strFile + ".1k", 1024, nSize), dCurlSeconds);
    PrintRate("HTTP socket, 64 KiB reads", nSize, SocketRead(strStream, strFile + ".64k", 65536, nSize),
              dCurlSeconds);

    CProgramRun run = ProgramDownload(strProgram, strPage, strFile);
    bool bOk = run.strMessage == "Download Complete" && FileSize(strFile + ".flv") == nSize;
    if (bOk)
        PrintRate("tavmio.exe, whole download", nSize, run.dSeconds, dCurlSeconds);
    else
        printf("  tavmio.exe failed: %s\n", run.strMessage.c_str());
    printf("  tavmio.exe working set            %8.1f MiB after start, %.1f MiB peak\n",
           MiB(static_cast<double>(run.nWorkingSetAtStart)), MiB(static_cast<double>(run.nPeakWorkingSet)));
    DeleteFileA((strFile + ".flv").c_str());
    return bOk ? 0 : 1;
}
