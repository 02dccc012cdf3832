// Checks the test harness itself: real windows, messages and GDI drawing under
// Wine on the test display, and the paths every test is given.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string GetEnv(const char* pszName)
{
    char szValue[1024];
    DWORD nLen = GetEnvironmentVariableA(pszName, szValue, sizeof(szValue));
    if (nLen == 0 || nLen >= sizeof(szValue))
        return std::string();
    return std::string(szValue, nLen);
}

// A plain top-level window of a private class, destroyed with the object.
class CTestWindow
{
public:
    CTestWindow()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = "TavmioSmokeWindow";
        RegisterClassA(&wc);  // fails harmlessly when already registered
        m_hWnd = CreateWindowExA(0, wc.lpszClassName, "smoke", WS_OVERLAPPEDWINDOW,
                                 40, 40, 320, 200, nullptr, nullptr, wc.hInstance, nullptr);
        if (m_hWnd)
        {
            ShowWindow(m_hWnd, SW_SHOWNORMAL);
            UpdateWindow(m_hWnd);
        }
    }
    ~CTestWindow()
    {
        if (m_hWnd)
            DestroyWindow(m_hWnd);
    }
    CTestWindow(const CTestWindow&) = delete;
    CTestWindow& operator=(const CTestWindow&) = delete;

    HWND m_hWnd = nullptr;
};

TEST(Harness, PathsNameExistingFiles)
{
    struct { const char* pszVar; const char* pszInside; } const cases[] = {
        {"TAVMIO_SOURCE_DIR", "\\CMakeLists.txt"},
        {"TAVMIO_BUILD_DIR", "\\CMakeCache.txt"},
        {"TAVMIO_EXE", ""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.pszVar);
        std::string strPath = GetEnv(c.pszVar);
        ASSERT_EQ(strPath.compare(0, 3, "Z:\\"), 0) << strPath;
        EXPECT_EQ(strPath.find('/'), std::string::npos) << strPath;
        strPath += c.pszInside;
        EXPECT_NE(GetFileAttributesA(strPath.c_str()), INVALID_FILE_ATTRIBUTES) << strPath;
    }
}

TEST(Window, TextRoundTripsThroughMessages)
{
    CTestWindow wnd;
    ASSERT_NE(wnd.m_hWnd, nullptr);
    EXPECT_TRUE(IsWindowVisible(wnd.m_hWnd));

    const std::string texts[] = {"Tavmio", "", std::string(600, 'x'), "tab\there \xe9t\xe9"};
    for (const std::string& strText : texts)
    {
        ASSERT_TRUE(SendMessageA(wnd.m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strText.c_str())));
        LRESULT nLen = SendMessageA(wnd.m_hWnd, WM_GETTEXTLENGTH, 0, 0);
        ASSERT_EQ(nLen, static_cast<LRESULT>(strText.size()));
        std::string strRead(static_cast<size_t>(nLen) + 1, '\0');
        LRESULT nCopied = SendMessageA(wnd.m_hWnd, WM_GETTEXT, strRead.size(),
                                       reinterpret_cast<LPARAM>(&strRead[0]));
        strRead.resize(static_cast<size_t>(nCopied));
        EXPECT_EQ(strRead, strText);
    }
}

TEST(Gdi, FillRectReadsBackFromWindowAndMemoryDC)
{
    CTestWindow wnd;
    ASSERT_NE(wnd.m_hWnd, nullptr);

    const COLORREF colors[] = {RGB(0x12, 0x34, 0x56), RGB(255, 255, 255), RGB(0, 0, 0), RGB(200, 10, 90)};
    RECT rc = {10, 10, 60, 40};

    HDC hdcWnd = GetDC(wnd.m_hWnd);
    ASSERT_NE(hdcWnd, nullptr);
    HDC hdcMem = CreateCompatibleDC(hdcWnd);
    HBITMAP hbm = CreateCompatibleBitmap(hdcWnd, 80, 60);
    HGDIOBJ hbmOld = SelectObject(hdcMem, hbm);
    const COLORREF crOutside = GetPixel(hdcMem, rc.right, rc.bottom);  // right and bottom edges are exclusive

    for (COLORREF cr : colors)
    {
        SCOPED_TRACE(testing::Message() << std::hex << cr);
        HBRUSH hbr = CreateSolidBrush(cr);
        FillRect(hdcWnd, &rc, hbr);
        FillRect(hdcMem, &rc, hbr);
        DeleteObject(hbr);
        EXPECT_EQ(GetPixel(hdcWnd, 30, 20), cr);
        EXPECT_EQ(GetPixel(hdcMem, 30, 20), cr);
        EXPECT_EQ(GetPixel(hdcMem, rc.right, rc.bottom), crOutside);
    }

    SelectObject(hdcMem, hbmOld);
    DeleteObject(hbm);
    DeleteDC(hdcMem);
    ReleaseDC(wnd.m_hWnd, hdcWnd);
}

}  // namespace
