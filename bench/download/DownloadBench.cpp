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
#include "HttpSocket.h"

#include <psapi.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

double NowSeconds()
{
    static LARGE_INTEGER s_frequency = {};
    if (!s_frequency.QuadPart)
        QueryPerformanceFrequency(&s_frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(s_frequency.QuadPart);
}

double MiB(double dBytes)
{
    return dBytes / (1024.0 * 1024.0);
}

std::string ClassOf(HWND hWnd)
{
    char szClass[64] = {};
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    return szClass;
}

std::string TextOf(HWND hWnd)
{
    char szText[512] = {};
    DWORD_PTR nResult = 0;
    SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof(szText), reinterpret_cast<LPARAM>(szText), SMTO_ABORTIFHUNG, 5000,
                        &nResult);
    return szText;
}

struct CDialogSearch {
    DWORD dwPid;
    const char* pszCaption;
    HWND hFound;
};

BOOL CALLBACK FindDialogProc(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<CDialogSearch*>(lParam);
    DWORD dwPid = 0;
    GetWindowThreadProcessId(hWnd, &dwPid);
    if (dwPid == pSearch->dwPid && IsWindowVisible(hWnd) && ClassOf(hWnd) == "#32770" &&
        TextOf(hWnd) == pSearch->pszCaption) {
        pSearch->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog of the process with this caption, or null.
HWND FindDialog(DWORD dwPid, const char* pszCaption)
{
    CDialogSearch search = {dwPid, pszCaption, nullptr};
    EnumWindows(&FindDialogProc, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

HWND WaitForDialog(DWORD dwPid, const char* pszCaption, DWORD dwPollMs, double dTimeout)
{
    double dStart = NowSeconds();
    HWND hWnd;
    while (!(hWnd = FindDialog(dwPid, pszCaption)) && NowSeconds() - dStart < dTimeout)
        Sleep(dwPollMs);
    return hWnd;
}

// Closes the windows Explorer opened on a folder (named after the folder).
void CloseExplorerOn(const std::string& strFolderName)
{
    for (int i = 0; i < 100; ++i) {
        HWND hWnd = FindWindowA("ExplorerWClass", strFolderName.c_str());
        if (hWnd) {
            PostMessageA(hWnd, WM_CLOSE, 0, 0);
            return;
        }
        Sleep(50);
    }
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
    std::string strDir = strProgram.substr(0, strProgram.rfind('\\'));
    std::string strCmd = "\"" + strProgram + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(strProgram.c_str(), &strCmd[0], nullptr, nullptr, FALSE, 0, nullptr, strDir.c_str(), &si,
                        &pi)) {
        run.strMessage = "the program did not start";
        return run;
    }
    WaitForInputIdle(pi.hProcess, 20000);
    HWND hMain = WaitForDialog(pi.dwProcessId, "Tavmio", 20, 20);
    if (hMain) {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        GetProcessMemoryInfo(pi.hProcess, &counters, sizeof(counters));
        run.nWorkingSetAtStart = counters.WorkingSetSize;

        SendDlgItemMessageA(hMain, 1002, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strPage.c_str()));
        SendDlgItemMessageA(hMain, 1006, CB_SETCURSEL, 0, 0);
        PostMessageA(hMain, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hMain, IDOK)));
        HWND hSave = WaitForDialog(pi.dwProcessId, "Save As", 20, 20);
        if (hSave) {
            SendDlgItemMessageA(hSave, 0x47C, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strFile.c_str()));
            double dStart = NowSeconds();
            PostMessageA(hSave, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            // Polled gently: this machine's cores are shared with the program.
            HWND hBox = WaitForDialog(pi.dwProcessId, "tavmio", 50, 600);
            if (hBox) {
                run.dSeconds = NowSeconds() - dStart;
                char szText[256] = {};
                GetDlgItemTextA(hBox, 0xFFFF, szText, sizeof(szText));
                run.strMessage = szText;
                GetProcessMemoryInfo(pi.hProcess, &counters, sizeof(counters));
                run.nPeakWorkingSet = counters.PeakWorkingSetSize;
                PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                std::string strFolder = strFile.substr(0, strFile.rfind('\\'));
                CloseExplorerOn(strFolder.substr(strFolder.rfind('\\') + 1));
            } else {
                run.strMessage = "no message after the transfer";
            }
        } else {
            run.strMessage = "no save dialog";
        }
        PostMessageA(hMain, WM_CLOSE, 0, 0);
    } else {
        run.strMessage = "no main window";
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
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

    WSADATA wsaData;
    WSAStartup(MAKEWORD(2, 0), &wsaData);
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
    WSACleanup();
    return bOk ? 0 : 1;
}
