// Theme metrics: system colours, brushes, caption and scroll bar sizes and
// caption fonts, with and without the theme's SysMetrics values.
#include "DrawTestSupport.h"
#include "XTPSkinEngine.h"
#include "XTPSkinThemeMetrics.h"

#include <gtest/gtest.h>

#include <vssym32.h>

#include <cstddef>
#include <string>

using namespace drawtest;

namespace {

COLORREF BrushColor(HBRUSH hBrush)
{
    LOGBRUSH lb = {};
    if (!hBrush || GetObjectA(hBrush, sizeof(lb), &lb) != sizeof(lb) || lb.lbStyle != BS_SOLID)
        return (COLORREF)-2;
    return lb.lbColor;
}

LOGFONTA FontOf(HFONT hFont)
{
    LOGFONTA lf = {};
    GetObjectA(hFont, sizeof(lf), &lf);
    return lf;
}

NONCLIENTMETRICSA SystemNonClientMetrics()
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0);
    return ncm;
}

class ThemeMetrics : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pEngine = CXTPSkinEngine::GetInstance();
        m_pMetrics = m_pEngine->GetMetrics();
        ASSERT_NE(m_pMetrics, nullptr);
    }
    void TearDown() override
    {
        m_pEngine->SetOptions(SKIN_OPTION_METRICS | SKIN_OPTION_FRAMES | SKIN_OPTION_COLORS);
        m_pEngine->RemoveColorFilters();
    }
    // Every colour has a brush of that colour, and the derived members agree.
    void ExpectBrushesMatchColours()
    {
        for (int i = 0; i < XTP_SKINMETRICS_COLORS; i++) {
            EXPECT_EQ(BrushColor(m_pMetrics->m_brTheme[i]), m_pMetrics->m_clrTheme[i]) << "colour " << i;
            EXPECT_TRUE(m_pMetrics->IsMetricsBrush(m_pMetrics->m_brTheme[i]));
            EXPECT_EQ(m_pEngine->QuerySysColor(TMT_FIRSTCOLOR + i), m_pMetrics->m_clrTheme[i]);
        }
        EXPECT_EQ(BrushColor(m_pMetrics->m_brushFace), m_pMetrics->m_clrTheme[COLOR_BTNFACE]);
        EXPECT_FALSE(m_pMetrics->IsMetricsBrush(m_pMetrics->m_brushFace));
        EXPECT_EQ(m_pMetrics->m_clrEdgeLight, m_pMetrics->m_clrTheme[COLOR_3DLIGHT]);
        EXPECT_EQ(m_pMetrics->m_clrEdgeHighLight, m_pMetrics->m_clrTheme[COLOR_3DHIGHLIGHT]);
        EXPECT_EQ(m_pMetrics->m_clrEdgeShadow, m_pMetrics->m_clrTheme[COLOR_3DSHADOW]);
        EXPECT_EQ(m_pMetrics->m_clrEdgeDkShadow, m_pMetrics->m_clrTheme[COLOR_3DDKSHADOW]);
        EXPECT_EQ(m_pMetrics->m_brushTabControl, nullptr);
    }
    void ExpectSystemSizes(int nCaptionExtra)
    {
        EXPECT_EQ(m_pMetrics->m_cyCaption, GetSystemMetrics(SM_CYCAPTION) + nCaptionExtra);
        EXPECT_EQ(m_pMetrics->m_cySmallCaption, GetSystemMetrics(SM_CYSMCAPTION) + nCaptionExtra);
        EXPECT_EQ(m_pMetrics->m_cyOsCaption, GetSystemMetrics(SM_CYCAPTION));
        EXPECT_EQ(m_pMetrics->m_cyOsSmallCaption, GetSystemMetrics(SM_CYSMCAPTION));
        EXPECT_EQ(m_pMetrics->m_cxVScroll, GetSystemMetrics(SM_CXVSCROLL));
        EXPECT_EQ(m_pMetrics->m_cyHScroll, GetSystemMetrics(SM_CYHSCROLL));
        EXPECT_EQ(m_pMetrics->m_cxEdge, GetSystemMetrics(SM_CXEDGE));
        EXPECT_EQ(m_pMetrics->m_cyBorder, GetSystemMetrics(SM_CYBORDER));
        NONCLIENTMETRICSA ncm = SystemNonClientMetrics();
        EXPECT_STREQ(FontOf(m_pMetrics->m_hCaptionFont).lfFaceName, ncm.lfCaptionFont.lfFaceName);
        EXPECT_EQ(FontOf(m_pMetrics->m_hCaptionFont).lfHeight, ncm.lfCaptionFont.lfHeight);
        EXPECT_STREQ(FontOf(m_pMetrics->m_hMenuFont).lfFaceName, ncm.lfMenuFont.lfFaceName);
    }

    CXTPSkinEngine* m_pEngine = nullptr;
    CXTPSkinThemeMetrics* m_pMetrics = nullptr;
};

TEST_F(ThemeMetrics, WithoutAThemeTheSystemColoursAndNoBrushes)
{
    CThemeFolder theme;
    ASSERT_TRUE(theme.Load("[SysMetrics]\nBtnFace = 1 2 3"));
    HBRUSH hOld = m_pMetrics->m_brTheme[COLOR_BTNFACE];
    EXPECT_TRUE(m_pMetrics->IsMetricsBrush(hOld));
    EXPECT_FALSE(m_pEngine->LoadTheme("", nullptr));
    for (int i = 0; i < XTP_SKINMETRICS_COLORS; i++) {
        EXPECT_EQ(m_pMetrics->m_clrTheme[i], GetSysColor(i)) << "colour " << i;
        EXPECT_EQ(m_pMetrics->m_brTheme[i], nullptr);
    }
    EXPECT_FALSE(m_pMetrics->IsMetricsBrush(hOld));
    EXPECT_FALSE(m_pMetrics->IsMetricsBrush(GetSysColorBrush(COLOR_BTNFACE)));
    EXPECT_EQ(m_pEngine->QuerySysColor(TMT_FIRSTCOLOR + COLOR_WINDOW), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(m_pEngine->QuerySysColor(TMT_FIRSTCOLOR - 1), (COLORREF)-1);
    EXPECT_EQ(m_pEngine->QuerySysColor(TMT_FIRSTCOLOR + XTP_SKINMETRICS_COLORS), (COLORREF)-1);
}

TEST_F(ThemeMetrics, ThemeWithoutSysMetricsValues)
{
    // Colours from the built-in table, sizes and fonts from the system.
    CThemeFolder theme;
    ASSERT_TRUE(theme.Load("[Button]\nTextColor = 1 2 3"));
    for (int i = 0; i < XTP_SKINMETRICS_COLORS; i++)
        EXPECT_EQ(m_pMetrics->m_clrTheme[i], CXTPSkinThemeMetrics::GetDefaultColor(i)) << "colour " << i;
    EXPECT_EQ(m_pMetrics->m_clrTheme[COLOR_INFOBK], RGB(255, 255, 225));
    ExpectSystemSizes(1);
    ExpectBrushesMatchColours();
}

TEST_F(ThemeMetrics, ThemeWithSysMetricsValues)
{
    CThemeFolder theme;
    ASSERT_TRUE(theme.Load(R"([SysMetrics]
CaptionBarHeight = 18
SmCaptionBarHeight = 14
ScrollbarWidth = 21
ScrollbarHeight = 0
CaptionFont = Tahoma, 9, Bold
SmallCaptionFont = Courier New, 7
BtnFace = 1 2 3
ActiveCaption = 10 20 30
[Globals]
Window = 40 50 60)"));
    EXPECT_EQ(m_pMetrics->m_cyCaption, 19);
    EXPECT_EQ(m_pMetrics->m_cySmallCaption, 15);
    EXPECT_EQ(m_pMetrics->m_cyOsCaption, GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(m_pMetrics->m_cxVScroll, 21);
    EXPECT_EQ(m_pMetrics->m_cxHScroll, 21);
    EXPECT_EQ(m_pMetrics->m_cyHScroll, GetSystemMetrics(SM_CYHSCROLL)) << "a height of 0 is ignored";
    EXPECT_EQ(m_pMetrics->m_cyVScroll, GetSystemMetrics(SM_CYVSCROLL));
    HDC hScreen = GetDC(nullptr);
    int nDpi = GetDeviceCaps(hScreen, LOGPIXELSY);
    ReleaseDC(nullptr, hScreen);
    LOGFONTA lf = FontOf(m_pMetrics->m_hCaptionFont);
    EXPECT_STREQ(lf.lfFaceName, "TAHOMA");
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfHeight, -MulDiv(9, nDpi, 72));
    lf = FontOf(m_pMetrics->m_hSmCaptionFont);
    EXPECT_STREQ(lf.lfFaceName, "COURIER NEW");
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_STREQ(FontOf(m_pMetrics->m_hMenuFont).lfFaceName, SystemNonClientMetrics().lfMenuFont.lfFaceName);

    EXPECT_EQ(m_pMetrics->m_clrTheme[COLOR_BTNFACE], RGB(1, 2, 3));
    EXPECT_EQ(m_pMetrics->m_clrTheme[COLOR_ACTIVECAPTION], RGB(10, 20, 30));
    EXPECT_EQ(m_pMetrics->m_clrTheme[COLOR_WINDOW], RGB(40, 50, 60)) << "Globals count for SysMetrics";
    EXPECT_EQ(m_pMetrics->m_clrTheme[COLOR_MENU], CXTPSkinThemeMetrics::GetDefaultColor(COLOR_MENU));
    ExpectBrushesMatchColours();

    // Without the metrics option: sizes and fonts of the system, colours
    // still of the theme.
    m_pEngine->SetOptions(SKIN_OPTION_FRAMES | SKIN_OPTION_COLORS);
    ExpectSystemSizes(0);
    EXPECT_EQ(m_pMetrics->m_clrTheme[COLOR_BTNFACE], RGB(1, 2, 3));
    ExpectBrushesMatchColours();
}

TEST_F(ThemeMetrics, BrushesChangeOnlyWithTheirColour)
{
    CThemeFolder first, second;
    ASSERT_TRUE(first.Load("[SysMetrics]\nBtnFace = 1 2 3\nWindow = 4 5 6"));
    HBRUSH before[XTP_SKINMETRICS_COLORS];
    for (int i = 0; i < XTP_SKINMETRICS_COLORS; i++)
        before[i] = m_pMetrics->m_brTheme[i];

    // The same values again: every brush handed out stays valid.
    m_pEngine->GetMetrics()->RefreshMetrics();
    for (int i = 0; i < XTP_SKINMETRICS_COLORS; i++)
        EXPECT_EQ(m_pMetrics->m_brTheme[i], before[i]) << "colour " << i;

    // Another theme that changes one colour: only that brush is new.
    ASSERT_TRUE(second.Load("[SysMetrics]\nBtnFace = 7 8 9\nWindow = 4 5 6"));
    for (int i = 0; i < XTP_SKINMETRICS_COLORS; i++) {
        if (i != COLOR_BTNFACE) {
            EXPECT_EQ(m_pMetrics->m_brTheme[i], before[i]) << "colour " << i;
        }
    }
    EXPECT_EQ(GetObjectType(before[COLOR_WINDOW]), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(BrushColor(m_pMetrics->m_brTheme[COLOR_BTNFACE]), RGB(7, 8, 9));
    ExpectBrushesMatchColours();
}

// A filter that swaps red and blue.
class CSwapFilter : public CXTPSkinColorFilter {
public:
    void ApplyColorFilter(COLORREF& clr) override { clr = RGB(GetBValue(clr), GetGValue(clr), GetRValue(clr)); }
};

TEST_F(ThemeMetrics, ColoursPassTheFilters)
{
    m_pEngine->AddColorFilter(new CSwapFilter);
    CThemeFolder theme;
    ASSERT_TRUE(theme.Load("[SysMetrics]\nWindow = 10 20 30"));
    EXPECT_EQ(m_pMetrics->m_clrTheme[COLOR_WINDOW], RGB(30, 20, 10));
    EXPECT_EQ(m_pMetrics->m_clrTheme[COLOR_ACTIVECAPTION], RGB(128, 0, 0)) << "defaults too";
    ExpectBrushesMatchColours();
}

}  // namespace
