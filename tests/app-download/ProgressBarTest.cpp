// The percent progress bar on a real progress control under Wine, checked by
// the pixels it leaves on the screen: bar, remainder and the text split in two
// colours at the bar's edge, the cases that paint nothing, the repaint rule
// of SetPos and a window text in place of the percentage.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "Dib32.h"
#include "PercentProgressCtrl.h"

namespace {

constexpr int BAR_WIDTH = 200;
constexpr int BAR_HEIGHT = 24;

// What a window shows, as a width x height array of colours.
struct CPixels {
    int nWidth = 0, nHeight = 0;
    std::vector<COLORREF> colors;
    COLORREF At(int x, int y) const { return colors[static_cast<size_t>(y * nWidth + x)]; }
};

CPixels ReadPixels(HDC hSource, int nWidth, int nHeight)
{
    CPixels pixels;
    pixels.nWidth = nWidth;
    pixels.nHeight = nHeight;
    tavtest::CDib32 copy(nWidth, nHeight);
    BitBlt(copy.GetDC(), 0, 0, nWidth, nHeight, hSource, 0, 0, SRCCOPY);
    GdiFlush();
    const BYTE* p = reinterpret_cast<const BYTE*>(copy.Bits());
    for (int i = 0; i < nWidth * nHeight; ++i, p += 4)
        pixels.colors.push_back(RGB(p[2], p[1], p[0]));
    return pixels;
}

CPixels ReadWindow(HWND hWnd)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    HDC hDC = GetDC(hWnd);
    CPixels pixels = ReadPixels(hDC, rc.right, rc.bottom);
    ReleaseDC(hWnd, hDC);
    return pixels;
}

// strText drawn centred on one line in a width x height area with a drawing
// context's default font, black on white: white where the text does not
// reach, black where it covers a pixel fully, grey (or coloured, with
// sub-pixel smoothing) at the smoothed edges of its glyphs.
CPixels TextReference(const std::string& strText, int nWidth, int nHeight)
{
    HDC hScreen = GetDC(nullptr);
    HDC hMemDC = CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, nWidth, nHeight);
    HGDIOBJ hOld = SelectObject(hMemDC, hBitmap);
    RECT rc = {0, 0, nWidth, nHeight};
    FillRect(hMemDC, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(hMemDC, TRANSPARENT);
    SetTextColor(hMemDC, RGB(0, 0, 0));
    DrawTextA(hMemDC, strText.c_str(), static_cast<int>(strText.size()), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    CPixels pixels = ReadPixels(hMemDC, nWidth, nHeight);
    SelectObject(hMemDC, hOld);
    DeleteObject(hBitmap);
    DeleteDC(hMemDC);
    ReleaseDC(nullptr, hScreen);
    return pixels;
}

// Whether cr can be a pixel of text in crText drawn over crFill, where the
// reference shows crReference: the fill where the text does not reach, the
// text colour where it covers fully, a mix of the two in between.
bool IsTextPixel(COLORREF cr, COLORREF crReference, COLORREF crFill, COLORREF crText)
{
    if (crReference == RGB(255, 255, 255))
        return cr == crFill;
    if (crReference == RGB(0, 0, 0))
        return cr == crText;
    auto between = [](int n, int a, int b) { return n >= (a < b ? a : b) && n <= (a < b ? b : a); };
    return between(GetRValue(cr), GetRValue(crFill), GetRValue(crText)) &&
           between(GetGValue(cr), GetGValue(crFill), GetGValue(crText)) &&
           between(GetBValue(cr), GetBValue(crFill), GetBValue(crText));
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// SetPos called on a thread of its own.
struct CSetPosCall {
    CPercentProgressCtrl* pBar;
    int nPos;
    int nOld;
    static DWORD WINAPI ThreadProc(LPVOID pParam)
    {
        auto* pCall = static_cast<CSetPosCall*>(pParam);
        pCall->nOld = pCall->pBar->SetPos(pCall->nPos);
        return 0;
    }
};

// A top-level window with a standard progress control in it, taken over by
// the percent bar.
class ProgressBar : public testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&icc);
        m_hHost = CreateWindowExA(0, "STATIC", "progress host", WS_POPUP | WS_BORDER, 50, 50,
                                  BAR_WIDTH + 40, BAR_HEIGHT + 40, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_hHost, nullptr);
        ShowWindow(m_hHost, SW_SHOWNOACTIVATE);
        HWND hBar = CreateWindowExA(0, PROGRESS_CLASSA, "Progress1", WS_CHILD | WS_VISIBLE, 20, 20, BAR_WIDTH,
                                    BAR_HEIGHT, m_hHost, nullptr, nullptr, nullptr);
        ASSERT_NE(hBar, nullptr);
        ASSERT_TRUE(m_bar.SubclassWindow(hBar));
        UpdateWindow(m_hHost);
        PumpMessages();
    }
    void TearDown() override
    {
        if (m_bar.m_hWnd)
            DestroyWindow(m_bar.m_hWnd);
        if (m_hHost)
            DestroyWindow(m_hHost);
    }

    CPixels Shown()
    {
        UpdateWindow(m_bar.m_hWnd);
        PumpMessages();
        return ReadWindow(m_bar.m_hWnd);
    }

    // Overwrites what the control shows with one colour, behind its back.
    void PaintOver(COLORREF cr)
    {
        HDC hDC = GetDC(m_bar.m_hWnd);
        RECT rc = {0, 0, BAR_WIDTH, BAR_HEIGHT};
        HBRUSH hBrush = CreateSolidBrush(cr);
        FillRect(hDC, &rc, hBrush);
        DeleteObject(hBrush);
        ReleaseDC(m_bar.m_hWnd, hDC);
    }

    // Compares the pixels with a bar ending at nEdge and strText centred:
    // left of the edge the bar colour with the text in the text-over-bar
    // colour, from the edge on the remainder colour with the text in the
    // text-over-remainder colour.
    void ExpectBar(const CPixels& shown, int nEdge, const std::string& strText)
    {
        ASSERT_EQ(shown.nWidth, BAR_WIDTH);
        ASSERT_EQ(shown.nHeight, BAR_HEIGHT);
        CPixels reference = TextReference(strText, BAR_WIDTH, BAR_HEIGHT);
        int nWrong = 0;
        for (int y = 0; y < BAR_HEIGHT; ++y) {
            for (int x = 0; x < BAR_WIDTH; ++x) {
                bool bOverBar = x < nEdge;
                COLORREF crFill = bOverBar ? m_bar.m_crBar : m_bar.m_crBackground;
                COLORREF crText = bOverBar ? m_bar.m_crTextOverBar : m_bar.m_crTextOverBackground;
                if (!IsTextPixel(shown.At(x, y), reference.At(x, y), crFill, crText) && nWrong++ < 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << shown.At(x, y) << " over "
                                  << (bOverBar ? "the bar" : "the remainder") << ", reference "
                                  << reference.At(x, y);
            }
        }
        EXPECT_EQ(nWrong, 0) << "pixels differing from a bar to " << nEdge << " with \"" << strText << "\"";
    }

    HWND m_hHost = nullptr;
    CPercentProgressCtrl m_bar;
};

TEST_F(ProgressBar, ZeroPositionShowsEmptyBarAndZeroPercentInHighlightColour)
{
    EXPECT_EQ(m_bar.m_crBackground, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(m_bar.m_crTextOverBackground, GetSysColor(COLOR_HIGHLIGHT));
    m_bar.SetRange(0, 100);
    m_bar.SetPos(0);
    ExpectBar(Shown(), 0, "0%");
}

TEST_F(ProgressBar, TextIsSplitInTwoColoursExactlyAtTheBarsEdge)
{
    // Four colours that tell every part apart.
    m_bar.m_crBar = RGB(200, 0, 0);
    m_bar.m_crTextOverBar = RGB(0, 200, 0);
    m_bar.m_crBackground = RGB(0, 0, 200);
    m_bar.m_crTextOverBackground = RGB(250, 250, 250);

    struct {
        int nLower, nUpper, nPos;
        int nEdge;  // BAR_WIDTH * fraction, truncated
        const char* pszText;
    } const cases[] = {
        {0, 100, 50, 100, "50%"},
        {0, 8, 3, 75, "37%"},        // 0.375: 37.5 % and 75 px, both truncated
        {-50, 50, 0, 100, "50%"},
        {0, 3, 2, 133, "66%"},
        {0, 100, 100, 200, "100%"},
        {0, 100, 150, 200, "150%"},  // past the end: a full bar, the true figure
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nLower << ".." << c.nUpper << " at " << c.nPos);
        m_bar.SetRange(c.nLower, c.nUpper);
        m_bar.SetPos(c.nPos);
        CPixels shown = Shown();
        ExpectBar(shown, c.nEdge, c.pszText);
        if (c.nEdge == 100) {
            // The text really straddles the edge: text right beside it on
            // both sides.
            CPixels reference = TextReference(c.pszText, BAR_WIDTH, BAR_HEIGHT);
            int nLeft = 0, nRight = 0;
            for (int y = 0; y < BAR_HEIGHT; ++y) {
                nLeft += reference.At(99, y) != RGB(255, 255, 255);
                nRight += reference.At(100, y) != RGB(255, 255, 255);
            }
            EXPECT_GT(nLeft, 0);
            EXPECT_GT(nRight, 0);
        }
    }
}

TEST_F(ProgressBar, EmptyOrInvertedRangeDrawsNothing)
{
    const COLORREF crMarker = RGB(1, 2, 3);
    const struct { int nLower, nUpper, nPos; } cases[] = {{0, 0, 0}, {7, 7, 3}, {10, 0, 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nLower << ".." << c.nUpper);
        m_bar.SetRange(c.nLower, c.nUpper);
        m_bar.SetPos(c.nPos);
        Shown();
        PaintOver(crMarker);
        InvalidateRect(m_bar.m_hWnd, nullptr, TRUE);
        CPixels shown = Shown();
        int nOther = 0;
        for (COLORREF cr : shown.colors)
            nOther += cr != crMarker;
        EXPECT_EQ(nOther, 0);
        RECT rcUpdate;
        EXPECT_FALSE(GetUpdateRect(m_bar.m_hWnd, &rcUpdate, FALSE)) << "the paint request stays pending";
    }
}

TEST_F(ProgressBar, SetPosRepaintsOnlyWhenTheBarsPixelWidthChanges)
{
    // 1000 units on 200 px: a pixel is 5 units, a percent 10.
    m_bar.SetRange(0, 1000);
    EXPECT_EQ(m_bar.SetPos(500), 0);
    ExpectBar(Shown(), 100, "50%");

    const COLORREF crMarker = RGB(1, 2, 3);
    PaintOver(crMarker);
    EXPECT_EQ(m_bar.SetPos(504), 500);  // still 100 px: nothing repainted
    RECT rcUpdate;
    EXPECT_FALSE(GetUpdateRect(m_bar.m_hWnd, &rcUpdate, FALSE));
    PumpMessages();
    EXPECT_EQ(ReadWindow(m_bar.m_hWnd).At(BAR_WIDTH - 1, 0), crMarker);

    // 101 px: painted at once, inside SetPos, with the percentage as it is now.
    EXPECT_EQ(m_bar.SetPos(509), 504);
    ExpectBar(ReadWindow(m_bar.m_hWnd), 101, "50%");
    EXPECT_EQ(m_bar.SetPos(510), 509);
    ExpectBar(ReadWindow(m_bar.m_hWnd), 102, "51%");

    // A new size makes the next SetPos repaint even at the same width.
    SetWindowPos(m_bar.m_hWnd, nullptr, 0, 0, BAR_WIDTH, BAR_HEIGHT + 1, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(m_bar.m_hWnd, nullptr, 0, 0, BAR_WIDTH, BAR_HEIGHT, SWP_NOMOVE | SWP_NOZORDER);
    Shown();
    PaintOver(crMarker);
    m_bar.SetPos(510);
    ExpectBar(ReadWindow(m_bar.m_hWnd), 102, "51%");
}

TEST_F(ProgressBar, WindowTextReplacesThePercentage)
{
    m_bar.SetRange(0, 100);
    m_bar.SetPos(50);
    Shown();

    SetWindowTextA(m_bar.m_hWnd, "Tavmio");
    ExpectBar(Shown(), 100, "Tavmio");

    char szText[16];
    EXPECT_EQ(SendMessageA(m_bar.m_hWnd, WM_GETTEXT, sizeof(szText), reinterpret_cast<LPARAM>(szText)), 6);
    EXPECT_STREQ(szText, "Tavmio");
    // A short buffer gets what fits, still terminated.
    memset(szText, 'x', sizeof(szText));
    EXPECT_EQ(SendMessageA(m_bar.m_hWnd, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(szText)), 3);
    EXPECT_STREQ(szText, "Tav");

    SetWindowTextA(m_bar.m_hWnd, "");
    ExpectBar(Shown(), 100, "50%");

    // With the text turned off only the bar and the remainder are drawn.
    m_bar.m_bShowText = FALSE;
    InvalidateRect(m_bar.m_hWnd, nullptr, TRUE);
    ExpectBar(Shown(), 100, "");
}

TEST_F(ProgressBar, SetPosFromAnotherThreadIsPaintedByTheWindowsThread)
{
    m_bar.SetRange(0, 100);
    m_bar.SetPos(10);
    Shown();

    CSetPosCall call = {&m_bar, 80, 0};
    HANDLE hThread = CreateThread(nullptr, 0, &CSetPosCall::ThreadProc, &call, 0, nullptr);
    ASSERT_NE(hThread, nullptr);
    // Keep handling what the other thread sends to the control meanwhile.
    while (MsgWaitForMultipleObjects(1, &hThread, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        PumpMessages();
    EXPECT_EQ(WaitForSingleObject(hThread, 0), WAIT_OBJECT_0);
    CloseHandle(hThread);
    EXPECT_EQ(call.nOld, 10);
    ExpectBar(Shown(), 160, "80%");
}

TEST(ProgressBarWithoutWindow, SetPosReportsMinusOne)
{
    CPercentProgressCtrl bar;
    EXPECT_EQ(bar.SetPos(5), -1);
    bar.SetRange(0, 10);
    EXPECT_EQ(bar.m_nUpper, 10);
}

}  // namespace

