// The real program under Wine, driven from outside with window messages as a
// user's keyboard and mouse would: the main window's controls and state after
// start, the about box, the message-box service, and the ways to end it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <windows.h>

#include "Resource.h"

namespace {

std::string ProgramPath()
{
    const char* psz = getenv("TAVMIO_EXE");
    return psz ? psz : "";
}

template <typename Pred>
bool WaitUntil(Pred pred, DWORD dwTimeout = 10000)
{
    DWORD dwStart = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - dwStart > dwTimeout)
            return false;
        Sleep(20);
    }
    return true;
}

std::string WindowText(HWND hWnd)
{
    char szText[512] = {};
    DWORD_PTR nResult = 0;
    SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof(szText), reinterpret_cast<LPARAM>(szText), SMTO_ABORTIFHUNG,
                        5000, &nResult);
    return szText;
}

std::string ClassName(HWND hWnd)
{
    char szClass[64] = {};
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    return szClass;
}

// A visible dialog window of the process with the given caption.
HWND FindDialog(DWORD dwProcessId, const std::string& title)
{
    struct Search {
        DWORD pid;
        const std::string* title;
        HWND found;
    } search = {dwProcessId, &title, nullptr};
    EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            DWORD pid = 0;
            GetWindowThreadProcessId(hWnd, &pid);
            if (pid == s->pid && IsWindowVisible(hWnd) && ClassName(hWnd) == "#32770") {
                char szText[256] = {};
                GetWindowTextA(hWnd, szText, sizeof(szText));
                if (*s->title == szText) {
                    s->found = hWnd;
                    return FALSE;
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForDialog(DWORD dwProcessId, const std::string& title)
{
    HWND hWnd = nullptr;
    WaitUntil([&] { return (hWnd = FindDialog(dwProcessId, title)) != nullptr; });
    return hWnd;
}

// The program, started for one test and ended after it.
class CRunningProgram {
public:
    CRunningProgram()
    {
        std::string strPath = ProgramPath();
        std::string strDir = strPath.substr(0, strPath.rfind('\\'));
        std::string strCmd = "\"" + strPath + "\"";
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        if (CreateProcessA(strPath.c_str(), &strCmd[0], nullptr, nullptr, FALSE, 0, nullptr, strDir.c_str(), &si,
                           &m_pi)) {
            WaitForInputIdle(m_pi.hProcess, 10000);
            m_hMain = WaitForDialog(m_pi.dwProcessId, "Tavmio");
        }
    }
    ~CRunningProgram()
    {
        if (m_pi.hProcess) {
            if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(m_pi.hProcess, 1);
            CloseHandle(m_pi.hThread);
            CloseHandle(m_pi.hProcess);
        }
    }
    // TRUE when the process ended by itself within the time.
    bool WaitForExit(DWORD dwTimeout, DWORD* pdwExitCode)
    {
        if (WaitForSingleObject(m_pi.hProcess, dwTimeout) != WAIT_OBJECT_0)
            return false;
        GetExitCodeProcess(m_pi.hProcess, pdwExitCode);
        return true;
    }

    PROCESS_INFORMATION m_pi = {};
    HWND m_hMain = nullptr;
};

// Dialog units of template 102 in this process's terms: a hidden copy of the
// dialog built from the program's own template.
class CDialogUnits {
public:
    CDialogUnits()
    {
        HMODULE hModule = LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        HRSRC hRes = FindResourceA(hModule, MAKEINTRESOURCEA(IDD_DOWNLOADER_DIALOG), MAKEINTRESOURCEA(5));
        if (!hRes)
            return;
        const BYTE* p = static_cast<const BYTE*>(LockResource(LoadResource(hModule, hRes)));
        std::vector<BYTE> data(p, p + SizeofResource(hModule, hRes));
        // Extended template: the style follows version, signature, help id and
        // extended style.
        DWORD* pStyle = reinterpret_cast<DWORD*>(&data[12]);
        *pStyle &= ~WS_VISIBLE;
        m_hDlg = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                            reinterpret_cast<LPCDLGTEMPLATEA>(data.data()), nullptr,
                                            [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    }
    ~CDialogUnits()
    {
        if (m_hDlg)
            DestroyWindow(m_hDlg);
    }
    RECT ToPixels(int x, int y, int cx, int cy) const
    {
        RECT rc = {x, y, x + cx, y + cy};
        MapDialogRect(m_hDlg, &rc);
        return rc;
    }
    HWND m_hDlg = nullptr;
};

RECT ClientRectOf(HWND hChild, HWND hParent)
{
    RECT rc;
    GetWindowRect(hChild, &rc);
    MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// Writes the screen area of a window to a 24-bit BMP file.
void SaveScreenshot(HWND hWnd, const std::string& strName)
{
    const char* pszBuild = getenv("TAVMIO_BUILD_DIR");
    if (!pszBuild)
        return;
    std::string strDir = std::string(pszBuild) + "\\screenshots";
    CreateDirectoryA(strDir.c_str(), nullptr);
    RECT rc;
    GetWindowRect(hWnd, &rc);
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    HDC hScreen = GetDC(nullptr);
    HDC hMem = CreateCompatibleDC(hScreen);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    void* pBits = nullptr;
    HBITMAP hBmp = CreateDIBSection(hScreen, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HGDIOBJ hOld = SelectObject(hMem, hBmp);
    BitBlt(hMem, 0, 0, cx, cy, hScreen, rc.left, rc.top, SRCCOPY);
    GdiFlush();
    DWORD cbImage = static_cast<DWORD>(((cx * 3 + 3) & ~3) * cy);
    BITMAPFILEHEADER bfh = {};
    bfh.bfType = 0x4D42;
    bfh.bfOffBits = sizeof(bfh) + sizeof(bmi.bmiHeader);
    bfh.bfSize = bfh.bfOffBits + cbImage;
    HANDLE hFile = CreateFileA((strDir + "\\" + strName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                               nullptr);
    DWORD dw;
    WriteFile(hFile, &bfh, sizeof(bfh), &dw, nullptr);
    WriteFile(hFile, &bmi.bmiHeader, sizeof(bmi.bmiHeader), &dw, nullptr);
    WriteFile(hFile, pBits, cbImage, &dw, nullptr);
    CloseHandle(hFile);
    SelectObject(hMem, hOld);
    DeleteObject(hBmp);
    DeleteDC(hMem);
    ReleaseDC(nullptr, hScreen);
}

// Share of pixels of the icon shown at hStatic that match the system icon
// drawn on the same background.
double IconMatch(HWND hStatic, LPCSTR pszSystemIcon)
{
    RECT rc;
    GetWindowRect(hStatic, &rc);
    const int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
    HDC hScreen = GetDC(nullptr);
    HDC hShown = CreateCompatibleDC(hScreen), hDrawn = CreateCompatibleDC(hScreen);
    HBITMAP hbmShown = CreateCompatibleBitmap(hScreen, cx, cy), hbmDrawn = CreateCompatibleBitmap(hScreen, cx, cy);
    HGDIOBJ hOld1 = SelectObject(hShown, hbmShown), hOld2 = SelectObject(hDrawn, hbmDrawn);
    BitBlt(hShown, 0, 0, cx, cy, hScreen, rc.left, rc.top, SRCCOPY);
    COLORREF crBack = GetPixel(hShown, 0, 0);
    HBRUSH hbr = CreateSolidBrush(crBack);
    RECT rcAll = {0, 0, cx, cy};
    FillRect(hDrawn, &rcAll, hbr);
    DeleteObject(hbr);
    DrawIconEx(hDrawn, 0, 0, LoadIconA(nullptr, pszSystemIcon), cx, cy, 0, nullptr, DI_NORMAL);
    int nSame = 0;
    for (int y = 0; y < cy; ++y) {
        for (int x = 0; x < cx; ++x) {
            COLORREF a = GetPixel(hShown, x, y), b = GetPixel(hDrawn, x, y);
            if (abs(GetRValue(a) - GetRValue(b)) <= 8 && abs(GetGValue(a) - GetGValue(b)) <= 8 &&
                abs(GetBValue(a) - GetBValue(b)) <= 8)
                ++nSame;
        }
    }
    SelectObject(hShown, hOld1);
    SelectObject(hDrawn, hOld2);
    DeleteObject(hbmShown);
    DeleteObject(hbmDrawn);
    DeleteDC(hShown);
    DeleteDC(hDrawn);
    ReleaseDC(nullptr, hScreen);
    return static_cast<double>(nSame) / (cx * cy);
}

HWND FindChild(HWND hParent, bool (*pred)(HWND))
{
    for (HWND h = GetWindow(hParent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (pred(h))
            return h;
    }
    return nullptr;
}

TEST(MainWindowTest, StartsWithItsControlsInPlace)
{
    CRunningProgram program;
    ASSERT_NE(program.m_hMain, nullptr) << "no main window from " << ProgramPath();
    HWND hMain = program.m_hMain;
    EXPECT_TRUE(GetWindowLongPtrA(hMain, GWL_EXSTYLE) & WS_EX_APPWINDOW);

    CDialogUnits units;
    ASSERT_NE(units.m_hDlg, nullptr);
    struct Control {
        int id;
        const char* cls;
        const char* text;
        int x, y, cx, cy;
        bool visible;
    };
    // After start the progress bar is hidden; the rest is as in the template.
    const Control controls[] = {
        {1, "Button", "Download", 36, 61, 62, 18, true},
        {IDC_EDIT_URL, "Edit", "", 10, 17, 266, 14, true},
        {IDC_PROGRESS, "msctls_progress32", nullptr, 19, 95, 222, 9, false},
        {IDC_SPEED, "Static", "0.0KB/S", 247, 95, 39, 8, true},
        {IDC_EDIT_REQUEST, "Edit", "", 1, 45, 19, 12, false},
        {IDC_EDIT_REPLY, "Edit", "", 2, 32, 17, 13, false},
        {IDC_PAUSE, "Button", "Pause", 258, 78, 31, 14, false},
        {IDC_STOP, "Button", "Stop", 113, 61, 62, 18, true},
        {IDC_COMBO_QUALITY, "ComboBox", nullptr, 96, 40, 178, 108, true},
        {IDC_GUIDE, "Button", "Guide", 190, 61, 62, 18, true},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE("control " + std::to_string(c.id));
        HWND hCtrl = GetDlgItem(hMain, c.id);
        ASSERT_NE(hCtrl, nullptr);
        EXPECT_EQ(lstrcmpiA(ClassName(hCtrl).c_str(), c.cls), 0) << ClassName(hCtrl);
        if (c.text) {
            EXPECT_EQ(WindowText(hCtrl), c.text);
        }
        EXPECT_EQ(IsWindowVisible(hCtrl) != FALSE, c.visible);
        RECT expected = units.ToPixels(c.x, c.y, c.cx, c.cy);
        RECT actual = ClientRectOf(hCtrl, hMain);
        // Within a pixel: the two processes round dialog units alike but not
        // always to the same pixel.
        EXPECT_NEAR(actual.left, expected.left, 1);
        EXPECT_NEAR(actual.top, expected.top, 1);
        EXPECT_NEAR(actual.right, expected.right, 1);
        if (c.id != IDC_COMBO_QUALITY) {  // a drop-down list is as tall as its closed box
            EXPECT_NEAR(actual.bottom, expected.bottom, 1);
        }
    }
    // The labels without an id: two hidden, two shown, in template order.
    std::vector<std::pair<std::string, bool>> labels;
    for (HWND h = GetWindow(hMain, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(h) == 0xFFFF || GetDlgCtrlID(h) == -1)
            labels.emplace_back(WindowText(h), IsWindowVisible(h) != FALSE);
    }
    const std::vector<std::pair<std::string, bool>> expectedLabels = {
        {"HTTP Request", false}, {"Reply", false}, {"Youtube Video Quality :", true}, {"Youtube URL:", true}};
    EXPECT_EQ(labels, expectedLabels);

    // The quality list from the template's initialisation data, first item
    // selected.
    HWND hCombo = GetDlgItem(hMain, IDC_COMBO_QUALITY);
    ASSERT_EQ(SendMessageA(hCombo, CB_GETCOUNT, 0, 0), 3);
    const char* items[] = {"Normal Quality (*.flv)", "High Quality FLV Format(*.flv)",
                           "High Quality MP4 Format(*.mp4)"};
    for (int i = 0; i < 3; ++i) {
        // Asked in UTF-16: Wine hands list texts of another process's combo
        // box over correctly only in the control's own character set.
        wchar_t szItem[64] = {};
        SendMessageW(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(szItem));
        char szNarrow[64] = {};
        WideCharToMultiByte(CP_ACP, 0, szItem, -1, szNarrow, sizeof(szNarrow), nullptr, nullptr);
        EXPECT_STREQ(szNarrow, items[i]);
    }
    EXPECT_EQ(SendMessageA(hCombo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(WindowText(hCombo), items[0]);

    SaveScreenshot(hMain, "main-window.bmp");

    // Escape ends the dialog and with it the process: there is no second
    // message loop to keep it alive.
    PostMessageA(GetDlgItem(hMain, IDC_EDIT_URL), WM_KEYDOWN, VK_ESCAPE, 0);
    DWORD dwExit = 1;
    EXPECT_TRUE(program.WaitForExit(10000, &dwExit));
    EXPECT_EQ(dwExit, 0u);
}

TEST(MainWindowTest, AboutBoxOpensForItsSystemCommand)
{
    CRunningProgram program;
    ASSERT_NE(program.m_hMain, nullptr);
    HWND hMain = program.m_hMain;
    // The command's low four bits do not matter.
    for (WPARAM nCommand : {WPARAM(0x0010), WPARAM(0x001F)}) {
        SCOPED_TRACE(nCommand);
        PostMessageA(hMain, WM_SYSCOMMAND, nCommand, 0);
        HWND hAbout = WaitForDialog(program.m_pi.dwProcessId, "About...");
        ASSERT_NE(hAbout, nullptr);
        EXPECT_EQ(GetWindow(hAbout, GW_OWNER), hMain);
        EXPECT_FALSE(IsWindowEnabled(hMain));
        EXPECT_EQ(GetWindow(hAbout, GW_CHILD), nullptr);
        PostMessageA(hAbout, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(hAbout); }));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(hMain) != FALSE; }));
    }
    // The close box ends the process.
    PostMessageA(hMain, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD dwExit = 1;
    EXPECT_TRUE(program.WaitForExit(10000, &dwExit));
    EXPECT_EQ(dwExit, 0u);
}

TEST(MainWindowTest, EnterStartsDownloadAndAPlainMessageBoxWarns)
{
    CRunningProgram program;
    ASSERT_NE(program.m_hMain, nullptr);
    HWND hMain = program.m_hMain;
    // With no quality selected, Download stops at its first check.
    SendMessageA(GetDlgItem(hMain, IDC_COMBO_QUALITY), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    PostMessageA(GetDlgItem(hMain, IDC_EDIT_URL), WM_KEYDOWN, VK_RETURN, 0);

    std::string strName = ProgramPath();
    strName = strName.substr(strName.rfind('\\') + 1);
    strName = strName.substr(0, strName.rfind('.'));
    HWND hBox = WaitForDialog(program.m_pi.dwProcessId, strName);
    ASSERT_NE(hBox, nullptr) << "no message box captioned " << strName;
    EXPECT_EQ(GetWindow(hBox, GW_OWNER), hMain);
    EXPECT_FALSE(IsWindowEnabled(hMain));

    HWND hText = FindChild(hBox, [](HWND h) {
        return ClassName(h) == "Static" && (GetWindowLongPtrA(h, GWL_STYLE) & SS_TYPEMASK) != SS_ICON;
    });
    ASSERT_NE(hText, nullptr);
    EXPECT_EQ(WindowText(hText), "Please select a profile!");
    // One button, OK.
    HWND hOk = GetDlgItem(hBox, IDOK);
    ASSERT_NE(hOk, nullptr);
    EXPECT_TRUE(IsWindowVisible(hOk));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(hBox, IDCANCEL)) && GetDlgItem(hBox, IDCANCEL));

    HWND hIcon = FindChild(hBox, [](HWND h) {
        return ClassName(h) == "Static" && (GetWindowLongPtrA(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    });
    ASSERT_NE(hIcon, nullptr);
    ASSERT_TRUE(IsWindowVisible(hIcon));
    UpdateWindow(hBox);
    Sleep(200);
    SaveScreenshot(hBox, "message-box.bmp");
    double dExclamation = IconMatch(hIcon, IDI_EXCLAMATION);
    EXPECT_GT(dExclamation, 0.95);
    EXPECT_LT(IconMatch(hIcon, IDI_HAND), dExclamation - 0.1);
    EXPECT_LT(IconMatch(hIcon, IDI_ASTERISK), dExclamation - 0.1);

    PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(hBox); }));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(hMain) != FALSE; }));
    // Nothing else happened: no download was started, so the window closes
    // right away.
    PostMessageA(hMain, WM_CLOSE, 0, 0);
    DWORD dwExit = 1;
    EXPECT_TRUE(program.WaitForExit(10000, &dwExit));
}

} // namespace
