// The real program under Wine, driven from outside with window messages as a
// user's keyboard and mouse would: the main window's controls and state after
// start, the about box, the message-box service, and the ways to end it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <windows.h>

#include "ProgramDriver.h"
#include "Resource.h"
#include "TestSupport.h"

namespace {

using tavtest::ClassOf;
using tavtest::CProgram;
using tavtest::SaveScreenshot;
using tavtest::TextOf;
using tavtest::WaitUntil;

std::string ProgramPath()
{
    return tavtest::GetEnv("TAVMIO_EXE");
}

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
                                            &CDialogUnits::NoHandling, 0);
    }
    static INT_PTR CALLBACK NoHandling(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
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
    CProgram program;
    ASSERT_TRUE(program.Start()) << "no main window from " << ProgramPath();
    HWND hMain = program.Main();
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
        EXPECT_EQ(lstrcmpiA(ClassOf(hCtrl).c_str(), c.cls), 0) << ClassOf(hCtrl);
        if (c.text) {
            EXPECT_EQ(TextOf(hCtrl), c.text);
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
            labels.emplace_back(TextOf(h), IsWindowVisible(h) != FALSE);
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
    EXPECT_EQ(TextOf(hCombo), items[0]);

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
    CProgram program;
    ASSERT_TRUE(program.Start());
    HWND hMain = program.Main();
    // The command's low four bits do not matter.
    for (WPARAM nCommand : {WPARAM(0x0010), WPARAM(0x001F)}) {
        SCOPED_TRACE(nCommand);
        PostMessageA(hMain, WM_SYSCOMMAND, nCommand, 0);
        HWND hAbout = program.WaitForDialog("About...");
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
    CProgram program;
    ASSERT_TRUE(program.Start());
    HWND hMain = program.Main();
    // With no quality selected, Download stops at its first check.
    SendMessageA(GetDlgItem(hMain, IDC_COMBO_QUALITY), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    PostMessageA(GetDlgItem(hMain, IDC_EDIT_URL), WM_KEYDOWN, VK_RETURN, 0);

    std::string strName = CProgram::AppTitle();
    HWND hBox = program.WaitForDialog(strName);
    ASSERT_NE(hBox, nullptr) << "no message box captioned " << strName;
    EXPECT_EQ(GetWindow(hBox, GW_OWNER), hMain);
    EXPECT_FALSE(IsWindowEnabled(hMain));

    HWND hText = FindChild(hBox, [](HWND h) {
        return ClassOf(h) == "Static" && (GetWindowLongPtrA(h, GWL_STYLE) & SS_TYPEMASK) != SS_ICON;
    });
    ASSERT_NE(hText, nullptr);
    EXPECT_EQ(TextOf(hText), "Please select a profile!");
    // One button, OK.
    HWND hOk = GetDlgItem(hBox, IDOK);
    ASSERT_NE(hOk, nullptr);
    EXPECT_TRUE(IsWindowVisible(hOk));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(hBox, IDCANCEL)) && GetDlgItem(hBox, IDCANCEL));

    HWND hIcon = FindChild(hBox, [](HWND h) {
        return ClassOf(h) == "Static" && (GetWindowLongPtrA(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
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
