// The system's visual-styles library as the reference: Wine's UxTheme draws
// its own light.msstyles (the active theme of the test prefix), the skin
// engine draws the same package, and the two pictures of each part and state
// are compared pixel by pixel. A table of the shares of matching pixels is
// printed; each case must reach the share it has been examined at. Pixels
// that differ by one step come from premultiplying: the skin engine truncates
// where UxTheme rounds. TAVMIO_DUMP_DIFF=1 prints every differing case.
#include "DrawTestSupport.h"
#include "UxThemeLibrary.h"
#include "XTPSkinEngine.h"
#include "XTPSkinThemeClass.h"

#include <gtest/gtest.h>

#include <uxtheme.h>
#include <vssym32.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace drawtest;
using tavtest::CUxTheme;

namespace {

struct Case {
    const char* pszClass;
    const wchar_t* pszClassW;
    int nPart;
    const char* pszPart;
    int nState;
    int cx, cy;
    // The share of matching pixels this case has been examined at (see the
    // notes in the table printed by the test).
    double dExpected;
};

const Case g_cases[] = {
    {"BUTTON", L"BUTTON", BP_PUSHBUTTON, "push button normal", PBS_NORMAL, 75, 23, 1.0},
    {"BUTTON", L"BUTTON", BP_PUSHBUTTON, "push button hot", PBS_HOT, 75, 23, 1.0},
    {"BUTTON", L"BUTTON", BP_PUSHBUTTON, "push button pressed", PBS_PRESSED, 75, 23, 1.0},
    {"BUTTON", L"BUTTON", BP_PUSHBUTTON, "push button disabled", PBS_DISABLED, 75, 23, 1.0},
    {"BUTTON", L"BUTTON", BP_PUSHBUTTON, "push button defaulted", PBS_DEFAULTED, 75, 23, 1.0},
    {"BUTTON", L"BUTTON", BP_CHECKBOX, "check box unchecked", CBS_UNCHECKEDNORMAL, 13, 13, 1.0},
    {"BUTTON", L"BUTTON", BP_CHECKBOX, "check box unchecked hot", CBS_UNCHECKEDHOT, 13, 13, 1.0},
    {"BUTTON", L"BUTTON", BP_CHECKBOX, "check box checked", CBS_CHECKEDNORMAL, 13, 13, 1.0},
    {"BUTTON", L"BUTTON", BP_CHECKBOX, "check box checked pressed", CBS_CHECKEDPRESSED, 13, 13, 1.0},
    {"BUTTON", L"BUTTON", BP_CHECKBOX, "check box mixed", CBS_MIXEDNORMAL, 13, 13, 1.0},
    {"BUTTON", L"BUTTON", BP_CHECKBOX, "check box checked disabled", CBS_CHECKEDDISABLED, 13, 13, 1.0},
    {"BUTTON", L"BUTTON", BP_RADIOBUTTON, "radio unchecked", RBS_UNCHECKEDNORMAL, 13, 13, 1.0},
    {"BUTTON", L"BUTTON", BP_RADIOBUTTON, "radio checked", RBS_CHECKEDNORMAL, 13, 13, 1.0},
    {"BUTTON", L"BUTTON", BP_RADIOBUTTON, "radio checked hot", RBS_CHECKEDHOT, 13, 13, 1.0},
    {"BUTTON", L"BUTTON", BP_RADIOBUTTON, "radio unchecked disabled", RBS_UNCHECKEDDISABLED, 13, 13, 1.0},
    // The skin engine picks the largest arrow glyph whose frame fits the
    // button (16 pixels here); UxTheme goes by the theme's MinSize values and
    // takes the 13-pixel glyph. Forced to the same glyph, all pixels match.
    {"SCROLLBAR", L"SCROLLBAR", SBP_ARROWBTN, "arrow up", ABS_UPNORMAL, 17, 17, 0.93},
    {"SCROLLBAR", L"SCROLLBAR", SBP_ARROWBTN, "arrow up pressed", ABS_UPPRESSED, 17, 17, 0.93},
    {"SCROLLBAR", L"SCROLLBAR", SBP_ARROWBTN, "arrow down hot", ABS_DOWNHOT, 17, 17, 0.93},
    {"SCROLLBAR", L"SCROLLBAR", SBP_ARROWBTN, "arrow left", ABS_LEFTNORMAL, 17, 17, 0.93},
    {"SCROLLBAR", L"SCROLLBAR", SBP_ARROWBTN, "arrow right disabled", ABS_RIGHTDISABLED, 17, 17, 0.93},
    {"SCROLLBAR", L"SCROLLBAR", SBP_THUMBBTNVERT, "thumb vertical", SCRBS_NORMAL, 17, 60, 1.0},
    {"SCROLLBAR", L"SCROLLBAR", SBP_THUMBBTNVERT, "thumb vertical pressed", SCRBS_PRESSED, 17, 60, 1.0},
    {"SCROLLBAR", L"SCROLLBAR", SBP_THUMBBTNHORZ, "thumb horizontal hot", SCRBS_HOT, 60, 17, 1.0},
    // The gripper bitmaps are 32-bit and all zero. An image whose alpha
    // channel is never used counts as opaque, so the skin engine draws a
    // black square where UxTheme draws nothing.
    {"SCROLLBAR", L"SCROLLBAR", SBP_GRIPPERVERT, "thumb gripper vertical", SCRBS_NORMAL, 17, 60, 0.93},
    {"PROGRESS", L"PROGRESS", PP_BAR, "progress bar", 0, 120, 17, 1.0},
    {"PROGRESS", L"PROGRESS", PP_CHUNK, "progress chunk", 0, 50, 15, 1.0},
    {"PROGRESS", L"PROGRESS", PP_BARVERT, "progress bar vertical", 0, 17, 120, 1.0},
    {"PROGRESS", L"PROGRESS", PP_CHUNKVERT, "progress chunk vertical", 0, 15, 50, 1.0},
    {"TAB", L"TAB", TABP_TABITEM, "tab item", TIS_NORMAL, 64, 22, 1.0},
    {"TAB", L"TAB", TABP_TABITEM, "tab item hot", TIS_HOT, 64, 22, 1.0},
    {"TAB", L"TAB", TABP_TABITEM, "tab item selected", TIS_SELECTED, 64, 22, 1.0},
    {"TAB", L"TAB", TABP_TOPTABITEM, "top tab item", TTIS_NORMAL, 64, 22, 1.0},
    {"TAB", L"TAB", TABP_TOPTABITEMLEFTEDGE, "top tab item, left edge", TTIS_SELECTED, 64, 22, 1.0},
    {"WINDOW", L"WINDOW", WP_CAPTION, "window caption", CS_ACTIVE, 600, 30, 1.0},
    {"WINDOW", L"WINDOW", WP_CAPTION, "window caption inactive", CS_INACTIVE, 600, 30, 1.0},
    // The caption buttons choose their glyph by screen resolution
    // (ImageSelectType = Dpi), which the skin engine does not do: it draws
    // the button without its cross.
    {"WINDOW", L"WINDOW", WP_CLOSEBUTTON, "close button hot", CBS_HOT, 28, 17, 0.93},
};

// Channels within this distance count as the same colour.
const int TOLERANCE = 8;

class ThemeUxTheme : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_ux.Load()) << "uxtheme.dll or its drawing functions are missing";
        HRESULT hr = m_ux.CurrentTheme(&m_strSystemTheme, &m_strColor);
        // The prefix must have light.msstyles active (tools/wine-env.sh sets
        // it when it creates the prefix).
        ASSERT_EQ(hr, S_OK) << "no active theme in this Wine prefix";
        ASSERT_NE(CString(m_strSystemTheme).MakeLower().Find("light.msstyles"), -1) << m_strSystemTheme;
        // The same package file and colour variant for the skin engine.
        ASSERT_TRUE(CXTPSkinEngine::GetInstance()->LoadTheme(m_strSystemTheme.c_str(), (m_strColor + ".ini").c_str()))
            << m_strSystemTheme << " " << m_strColor;
    }
    void TearDown() override { CXTPSkinEngine::GetInstance()->LoadTheme("", nullptr); }

    CUxTheme m_ux;
    std::string m_strSystemTheme, m_strColor;
};

TEST_F(ThemeUxTheme, SameThemeSamePixels)
{
    printf("Reference: %s, colour %s; channels within %d count as equal\n", m_strSystemTheme.c_str(),
           m_strColor.c_str(), TOLERANCE);
    printf("%-30s %9s %9s %8s %8s\n", "part and state", "size", "matching", "exact", "at least");
    for (const Case& c : g_cases) {
        SCOPED_TRACE(c.pszPart);
        const uint32_t clrBackground = 0x808080;
        CCanvas system(c.cx + 4, c.cy + 4, clrBackground), ours(c.cx + 4, c.cy + 4, clrBackground);
        RECT rc = {2, 2, 2 + c.cx, 2 + c.cy};
        HTHEME hTheme = m_ux.pfnOpen(nullptr, c.pszClassW);
        ASSERT_NE(hTheme, nullptr);
        EXPECT_EQ(m_ux.pfnDraw(hTheme, system.GetDC(), c.nPart, c.nState, &rc, nullptr), S_OK);
        m_ux.pfnClose(hTheme);
        EXPECT_TRUE(CXTPSkinEngine::GetInstance()->GetThemeClass(c.pszClass)->DrawThemeBackground(
            ours.GetDC(), c.nPart, c.nState, &rc));

        CImage a = system.Pixels(), b = ours.Pixels();
        int nDiffer = 0, nNotExact = 0;
        DescribeDifferences(a, b, TOLERANCE, &nDiffer);
        DescribeDifferences(a, b, 0, &nNotExact);
        int nTotal = a.nWidth * a.nHeight;
        double dShare = 1.0 - static_cast<double>(nDiffer) / nTotal;
        double dExact = 1.0 - static_cast<double>(nNotExact) / nTotal;
        char szSize[16];
        snprintf(szSize, sizeof(szSize), "%dx%d", c.cx, c.cy);
        printf("%-30s %9s %8.1f%% %7.1f%% %7.0f%%\n", c.pszPart, szSize, dShare * 100, dExact * 100,
               c.dExpected * 100);
        if (getenv("TAVMIO_DUMP_DIFF") && nNotExact) {
            for (int y = 0; y < a.nHeight; y++) {
                for (int x = 0; x < a.nWidth; x++)
                    printf("%06X%c%06X ", a.At(x, y) & 0xFFFFFF, (a.At(x, y) ^ b.At(x, y)) & 0xFFFFFF ? '|' : '=',
                           b.At(x, y) & 0xFFFFFF);
                printf("\n");
            }
        }
        EXPECT_GE(dShare + 1e-9, c.dExpected) << DescribeDifferences(a, b, TOLERANCE);
    }
}

}  // namespace
