// A stand-in browser and file manager for the tests: it appends its own
// command line, as one line, to the file named by TAVMIO_RECORD_FILE, and
// ends at once.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char szFile[MAX_PATH];
    DWORD nLength = GetEnvironmentVariableA("TAVMIO_RECORD_FILE", szFile, sizeof(szFile));
    if (nLength == 0 || nLength >= sizeof(szFile))
        return 1;
    // Several recorders may run at once: each line is one appending write.
    HANDLE hFile = CreateFileA(szFile, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return 1;
    const char* pszLine = GetCommandLineA();
    char szRecord[4096];
    int nRecord = wsprintfA(szRecord, "%.4000s\n", pszLine);
    DWORD dwWritten = 0;
    WriteFile(hFile, szRecord, static_cast<DWORD>(nRecord), &dwWritten, nullptr);
    CloseHandle(hFile);
    return 0;
}
