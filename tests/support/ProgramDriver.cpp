#include "ProgramDriver.h"

#include "TestSupport.h"

namespace tavtest {

std::string ClassOf(HWND hWnd)
{
    char szClass[128] = {};
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    return szClass;
}

std::string TextOf(HWND hWnd)
{
    char szText[2048] = {};
    DWORD_PTR nResult = 0;
    SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof(szText), reinterpret_cast<LPARAM>(szText), SMTO_ABORTIFHUNG, 5000,
                        &nResult);
    return szText;
}

DWORD ProcessOf(HWND hWnd)
{
    DWORD dwPid = 0;
    GetWindowThreadProcessId(hWnd, &dwPid);
    return dwPid;
}

namespace {

struct CWindowSearch {
    const std::function<bool(HWND)>* pPred;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<CWindowSearch*>(lParam);
    if (IsWindowVisible(hWnd) && (*pSearch->pPred)(hWnd))
        pSearch->found.push_back(hWnd);
    return TRUE;
}

} // namespace

std::vector<HWND> TopWindows(const std::function<bool(HWND)>& pred)
{
    CWindowSearch search = {&pred, {}};
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void SaveScreenshot(HWND hWnd, const std::string& strName)
{
    std::string strFolder = GetEnv("TAVMIO_BUILD_DIR") + "\\screenshots";
    CreateDirectoryA(strFolder.c_str(), nullptr);
    RECT rc;
    GetWindowRect(hWnd, &rc);
    int nWidth = rc.right - rc.left, nHeight = rc.bottom - rc.top;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = nWidth;
    bmi.bmiHeader.biHeight = nHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HDC hScreen = GetDC(nullptr);
    HBITMAP hBitmap = CreateDIBSection(hScreen, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HDC hMemDC = CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = SelectObject(hMemDC, hBitmap);
    BitBlt(hMemDC, 0, 0, nWidth, nHeight, hScreen, rc.left, rc.top, SRCCOPY);
    GdiFlush();
    DWORD nStride = (static_cast<DWORD>(nWidth) * 3 + 3) & ~3u;
    BITMAPFILEHEADER bfh = {};
    bfh.bfType = 0x4D42;
    bfh.bfOffBits = sizeof(bfh) + sizeof(bmi.bmiHeader);
    bfh.bfSize = bfh.bfOffBits + nStride * static_cast<DWORD>(nHeight);
    std::string strData(reinterpret_cast<const char*>(&bfh), sizeof(bfh));
    strData.append(reinterpret_cast<const char*>(&bmi.bmiHeader), sizeof(bmi.bmiHeader));
    if (pBits)
        strData.append(static_cast<const char*>(pBits), nStride * static_cast<DWORD>(nHeight));
    WriteFileBytes(strFolder + "\\" + strName, strData);
    SelectObject(hMemDC, hOld);
    DeleteDC(hMemDC);
    DeleteObject(hBitmap);
    ReleaseDC(nullptr, hScreen);
}

CProgram::~CProgram()
{
    if (!m_pi.hProcess)
        return;
    if (m_hMain && IsWindow(m_hMain))
        PostMessageA(m_hMain, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(m_pi.hProcess, 5000) != WAIT_OBJECT_0)
        TerminateProcess(m_pi.hProcess, 1);
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
}

bool CProgram::Start()
{
    return Start(GetEnv("TAVMIO_EXE"));
}

bool CProgram::Start(const std::string& strPath)
{
    std::string strDir = strPath.substr(0, strPath.rfind('\\'));
    std::string strCmd = "\"" + strPath + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    if (!CreateProcessA(strPath.c_str(), &strCmd[0], nullptr, nullptr, FALSE, 0, nullptr, strDir.c_str(), &si,
                        &m_pi))
        return false;
    WaitForInputIdle(m_pi.hProcess, DEFAULT_WAIT_MS);
    WaitUntil([&] {
        std::vector<HWND> found = TopWindows([&](HWND h) {
            return ProcessOf(h) == m_pi.dwProcessId && ClassOf(h) == "#32770" && TextOf(h) == "Tavmio";
        });
        m_hMain = found.empty() ? nullptr : found[0];
        return m_hMain != nullptr;
    });
    return m_hMain != nullptr;
}

HWND CProgram::WaitForDialog(const std::string& strCaption, DWORD dwTimeout, DWORD dwPollMs) const
{
    HWND hFound = nullptr;
    WaitUntil(
        [&] {
            std::vector<HWND> found = TopWindows([&](HWND h) {
                return h != m_hMain && ProcessOf(h) == m_pi.dwProcessId && ClassOf(h) == "#32770" &&
                       TextOf(h) == strCaption;
            });
            hFound = found.empty() ? nullptr : found[0];
            return hFound != nullptr;
        },
        dwTimeout, dwPollMs);
    return hFound;
}

bool CProgram::WaitForExit(DWORD dwTimeout, DWORD* pdwExitCode) const
{
    if (WaitForSingleObject(m_pi.hProcess, dwTimeout) != WAIT_OBJECT_0)
        return false;
    if (pdwExitCode)
        GetExitCodeProcess(m_pi.hProcess, pdwExitCode);
    return true;
}

std::string CProgram::AppTitle()
{
    std::string strName = GetEnv("TAVMIO_EXE");
    strName = strName.substr(strName.rfind('\\') + 1);
    return strName.substr(0, strName.rfind('.'));
}

} // namespace tavtest
