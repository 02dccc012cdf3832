// Drawing of theme parts, pixel by pixel, from small themes written for each
// test: stretching, tiling, sizing margins, true-size placement, transparent
// colours, alpha blending, mirroring, frames by state, glyphs, border fills,
// text, part sizes and colour filters.
#include "DrawTestSupport.h"
#include "XTPSkinEngine.h"
#include "XTPSkinThemeClass.h"
#include "XTPSkinThemeIds.h"
#include "XTPSkinThemeImage.h"

#include <gtest/gtest.h>

#include <uxtheme.h>
#include <vssym32.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

using namespace drawtest;

namespace {

const uint32_t RED = 0xFF0000, GREEN = 0x00FF00, BLUE = 0x0000FF, WHITE = 0xFFFFFF, YELLOW = 0xFFFF00,
               MAGENTA = 0xFF00FF, GREY = 0x808080;

// A pixel colour that differs for every (x, y, seed) of a small image.
uint32_t Unique(int x, int y, int nSeed = 0)
{
    return static_cast<uint32_t>(((x * 37 + nSeed * 11) & 255) << 16 | ((y * 53 + 7) & 255) << 8 |
                                 ((x * 5 + y * 17 + nSeed * 29 + 40) & 255));
}

CImage UniqueImage(int nWidth, int nHeight, int nSeed = 0)
{
    CImage image(nWidth, nHeight);
    for (int y = 0; y < nHeight; y++)
        for (int x = 0; x < nWidth; x++)
            image.At(x, y) = Opaque(Unique(x, y, nSeed));
    return image;
}

std::string RectText(const RECT& rc)
{
    return "(" + std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom) + ")";
}

// Every pixel of the canvas against expected(x, y).
void ExpectPixels(const CCanvas& canvas, const std::function<uint32_t(int, int)>& expected)
{
    int nWrong = 0;
    for (int y = 0; y < canvas.Height(); y++) {
        for (int x = 0; x < canvas.Width(); x++) {
            uint32_t clrWant = expected(x, y) & 0xFFFFFF;
            if (canvas.At(x, y) != clrWant && nWrong++ < 3)
                ADD_FAILURE() << "pixel (" << x << "," << y << "): " << std::hex << canvas.At(x, y) << " instead of "
                              << clrWant;
        }
    }
    EXPECT_EQ(nWrong, 0);
}

class ThemeDraw : public ::testing::Test {
protected:
    BOOL Draw(CCanvas& canvas, const char* pszClass, int nPart, int nState, RECT rc)
    {
        return m_theme.Class(pszClass)->DrawThemeBackground(canvas.GetDC(), nPart, nState, &rc);
    }
    CThemeFolder m_theme;
};

TEST_F(ThemeDraw, StretchAndTile)
{
    CImage quad(2, 2);
    quad.At(0, 0) = Opaque(RED);
    quad.At(1, 0) = Opaque(GREEN);
    quad.At(0, 1) = Opaque(BLUE);
    quad.At(1, 1) = Opaque(WHITE);
    m_theme.AddBmp("QUAD.BMP", quad);
    CImage tile = UniqueImage(4, 3);
    m_theme.AddBmp("TILE.BMP", tile);
    // A 16 x 4 centre and edges of one row or column around it.
    CImage grid = UniqueImage(20, 6, 1);
    m_theme.AddBmp("GRID.BMP", grid);
    ASSERT_TRUE(m_theme.Load(R"([Button.PushButton]
ImageFile = quad.bmp
[Button.RadioButton]
ImageFile = tile.bmp
SizingType = Tile
[Button.CheckBox]
ImageFile = grid.bmp
SizingType = Tile
SizingMargins = 2, 2, 1, 1)"));

    {
        SCOPED_TRACE("stretched three times across and twice down");
        CCanvas canvas(10, 6);
        EXPECT_TRUE(Draw(canvas, "Button", BP_PUSHBUTTON, 0, RECT{2, 1, 8, 5}));
        ExpectPixels(canvas, [&](int x, int y) {
            if (x < 2 || x >= 8 || y < 1 || y >= 5)
                return canvas.Background();
            return quad.At((x - 2) / 3, (y - 1) / 2);
        });
    }
    {
        SCOPED_TRACE("tiled whole, the last tiles cut");
        CCanvas canvas(12, 9);
        EXPECT_TRUE(Draw(canvas, "Button", BP_RADIOBUTTON, 0, RECT{1, 1, 11, 8}));
        ExpectPixels(canvas, [&](int x, int y) {
            if (x < 1 || x >= 11 || y < 1 || y >= 8)
                return canvas.Background();
            return tile.At((x - 1) % 4, (y - 1) % 3);
        });
    }
    {
        SCOPED_TRACE("edges and centre tiled between the margins: 16, 16 and 8 pixels");
        CCanvas canvas(44, 10);
        EXPECT_TRUE(Draw(canvas, "Button", BP_CHECKBOX, 0, RECT{0, 0, 44, 10}));
        ExpectPixels(canvas, [&](int x, int y) {
            int sx = x < 2 ? x : x >= 42 ? x - 42 + 18 : 2 + (x - 2) % 16;
            int sy = y < 1 ? y : y >= 9 ? 5 : 1 + (y - 1) % 4;
            return grid.At(sx, sy);
        });
    }
}

TEST_F(ThemeDraw, SizingMarginsKeepTheCorners)
{
    CImage nine = UniqueImage(9, 9);
    m_theme.AddBmp("NINE.BMP", nine);
    // 10-pixel corners of one colour each around yellow edges.
    CImage big(30, 30, Opaque(YELLOW));
    big.Fill(0, 0, 10, 10, Opaque(RED));
    big.Fill(20, 0, 30, 10, Opaque(GREEN));
    big.Fill(0, 20, 10, 30, Opaque(BLUE));
    big.Fill(20, 20, 30, 30, Opaque(WHITE));
    m_theme.AddBmp("BIG.BMP", big);
    // Margins top 3 and bottom 4 around one middle row.
    CImage rows(4, 8, Opaque(GREY));
    rows.Fill(0, 0, 4, 3, Opaque(RED));
    rows.Fill(0, 4, 4, 8, Opaque(BLUE));
    m_theme.AddBmp("ROWS.BMP", rows);
    ASSERT_TRUE(m_theme.Load(R"([Button.PushButton]
ImageFile = nine.bmp
SizingMargins = 3, 3, 3, 3
[Button.RadioButton]
ImageFile = big.bmp
SizingMargins = 10, 10, 10, 10
[Button.CheckBox]
ImageFile = rows.bmp
SizingMargins = 0, 0, 3, 4)"));

    {
        SCOPED_TRACE("corners as they are, edges and centre from their own pieces");
        CCanvas canvas(20, 15);
        EXPECT_TRUE(Draw(canvas, "Button", BP_PUSHBUTTON, 0, RECT{0, 0, 20, 15}));
        auto Band = [](int n, int nSize) { return n < 3 ? 0 : n >= nSize - 3 ? 2 : 1; };
        for (int y = 0; y < 15; y++) {
            for (int x = 0; x < 20; x++) {
                int bx = Band(x, 20), by = Band(y, 15);
                uint32_t clr = canvas.At(x, y);
                if (bx != 1 && by != 1) {
                    int sx = bx == 0 ? x : x - 11, sy = by == 0 ? y : y - 6;
                    ASSERT_EQ(clr, nine.At(sx, sy) & 0xFFFFFF) << "corner pixel " << x << "," << y;
                    continue;
                }
                // An edge or the centre: some pixel of the same piece.
                std::set<uint32_t> piece;
                for (int sy = 0; sy < 9; sy++)
                    for (int sx = 0; sx < 9; sx++)
                        if (Band(sx, 9) == bx && Band(sy, 9) == by)
                            piece.insert(nine.At(sx, sy) & 0xFFFFFF);
                ASSERT_EQ(piece.count(clr), 1u) << "pixel " << x << "," << y << " from another piece";
            }
        }
    }
    {
        SCOPED_TRACE("30 x 30 with margins of 10 into 20 x 20: only the corners");
        CCanvas canvas(20, 20);
        EXPECT_TRUE(Draw(canvas, "Button", BP_RADIOBUTTON, 0, RECT{0, 0, 20, 20}));
        ExpectPixels(canvas, [](int x, int y) { return y < 10 ? (x < 10 ? RED : GREEN) : (x < 10 ? BLUE : WHITE); });
    }
    {
        SCOPED_TRACE("margins 3 and 4 into a height of 5: 2 and 4 rows, overlapping by one");
        CCanvas canvas(4, 5);
        EXPECT_TRUE(Draw(canvas, "Button", BP_CHECKBOX, 0, RECT{0, 0, 4, 5}));
        ExpectPixels(canvas, [](int, int y) { return y == 0 ? RED : BLUE; });
    }
}

TEST_F(ThemeDraw, TrueSizePlacement)
{
    CImage box(16, 16, Opaque(GREEN));
    box.Fill(0, 0, 16, 1, Opaque(RED));
    box.Fill(0, 0, 1, 16, Opaque(RED));
    m_theme.AddBmp("BOX.BMP", box);
    ASSERT_TRUE(m_theme.Load(R"([Button]
ImageFile = box.bmp
SizingType = TrueSize
SizingMargins = 4, 4, 4, 4
[Button.RadioButton]
TrueSizeStretchMark = 1
[Button.CheckBox]
VAlign = Bottom
[Button.GroupBox]
VAlign = Top
[Button.UserButton]
VAlign = Center)"));

    struct Case {
        int nPart;
        RECT rc;
        RECT rcExpected;
        bool bOwnSize;
    } cases[] = {
        {BP_PUSHBUTTON, {0, 0, 10, 40}, {0, 12, 16, 28}, true},  // left clamped, centred down
        {BP_RADIOBUTTON, {0, 0, 10, 40}, {0, 12, 10, 28}, false},  // shrunk to the width
        {BP_RADIOBUTTON, {0, 0, 30, 40}, {7, 12, 23, 28}, true},  // fits: own size
        {BP_CHECKBOX, {5, 5, 45, 35}, {17, 19, 33, 35}, true},  // on the bottom edge
        {BP_GROUPBOX, {5, 5, 45, 35}, {17, 12, 33, 28}, true},  // top still centres
        {BP_USERBUTTON, {5, 5, 45, 35}, {17, 12, 33, 28}, true},
        {BP_PUSHBUTTON, {3, 3, 9, 9}, {3, 3, 19, 19}, true},  // clamped both ways
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("part " + std::to_string(c.nPart) + " in " + RectText(c.rc));
        CCanvas canvas(50, 50);
        EXPECT_TRUE(Draw(canvas, "Button", c.nPart, 0, c.rc));
        RECT rcDrawn = canvas.ChangedBounds();
        EXPECT_EQ(RectText(rcDrawn), RectText(c.rcExpected));
        if (c.bOwnSize) {
            // Drawn pixel for pixel: the margins play no part.
            EXPECT_EQ(canvas.At(rcDrawn.left, rcDrawn.top), RED);
            EXPECT_EQ(canvas.At(rcDrawn.left + 1, rcDrawn.top + 1), GREEN);
            EXPECT_EQ(canvas.At(rcDrawn.right - 1, rcDrawn.bottom - 1), GREEN);
        }
    }
}

TEST_F(ThemeDraw, TransparentColours)
{
    // Magenta and green holes in a picture.
    CImage holes = UniqueImage(6, 4);
    holes.At(1, 1) = Opaque(MAGENTA);
    holes.At(4, 2) = Opaque(MAGENTA);
    holes.At(2, 3) = Opaque(GREEN);
    m_theme.AddBmp("HOLES.BMP", holes);
    m_theme.AddBmp("HOLES32.BMP", [&] {
        CImage alpha = holes;
        alpha.At(0, 0) = 0x80402010;  // one pixel partly transparent: the image has alpha
        return alpha;
    }(), 32);
    m_theme.AddBmp("ALLMAGENTA.BMP", CImage(6, 4, Opaque(MAGENTA)));
    ASSERT_TRUE(m_theme.Load(R"([Button]
ImageFile = holes.bmp
Transparent = True
[Button.RadioButton]
TransparentColor = 0 255 0
[Button.CheckBox]
Transparent = False
[Button.GroupBox]
ImageFile = allmagenta.bmp
[Button.UserButton]
ImageFile = holes32.bmp)"));

    struct Case {
        const char* pszName;
        int nPart;
        std::set<uint32_t> holes;  // colours left out
        RECT rc;
    } cases[] = {
        {"magenta by default", BP_PUSHBUTTON, {MAGENTA}, {1, 1, 7, 5}},
        {"magenta, stretched twice", BP_PUSHBUTTON, {MAGENTA}, {1, 1, 13, 9}},
        {"a colour of the theme", BP_RADIOBUTTON, {GREEN}, {1, 1, 7, 5}},
        {"not transparent", BP_CHECKBOX, {}, {1, 1, 7, 5}},
        {"alpha images ignore it", BP_USERBUTTON, {}, {1, 1, 7, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        CCanvas canvas(14, 10);
        EXPECT_TRUE(Draw(canvas, "Button", c.nPart, 0, c.rc));
        int nScale = (c.rc.right - c.rc.left) / 6;
        ExpectPixels(canvas, [&](int x, int y) {
            if (x < c.rc.left || x >= c.rc.right || y < c.rc.top || y >= c.rc.bottom)
                return canvas.Background();
            int sx = (x - c.rc.left) / nScale, sy = (y - c.rc.top) / nScale;
            uint32_t clr = holes.At(sx, sy) & 0xFFFFFF;
            if (c.holes.count(clr))
                return canvas.Background();
            if (c.nPart == BP_USERBUTTON && sx == 0 && sy == 0)
                return canvas.At(x, y);  // blended, checked elsewhere
            return clr;
        });
    }
    {
        SCOPED_TRACE("a frame all of the transparent colour draws nothing");
        CCanvas canvas(14, 10);
        EXPECT_TRUE(Draw(canvas, "Button", BP_GROUPBOX, 0, RECT{1, 1, 13, 9}));
        EXPECT_EQ(RectText(canvas.ChangedBounds()), RectText(RECT{0, 0, 0, 0}));
    }
}

TEST_F(ThemeDraw, PremultipliedAlphaBlending)
{
    // Alpha 255, 128, 0 and 64 over the canvas colour.
    CImage alpha(4, 1);
    alpha.At(0, 0) = 0xFFC08040;
    alpha.At(1, 0) = 0x80FF8000;
    alpha.At(2, 0) = 0x00FFFFFF;
    alpha.At(3, 0) = 0x40FFFFFF;
    m_theme.AddBmp("ALPHA.BMP", alpha, 32);
    // Three frames: wholly transparent, opaque, partly transparent.
    CImage mixed(4, 3, 0x00000000);
    mixed.Fill(0, 1, 4, 2, 0xFF336699);
    mixed.Fill(0, 2, 4, 3, 0x80336699);
    m_theme.AddBmp("MIXED.BMP", mixed, 32);
    ASSERT_TRUE(m_theme.Load(R"([Button.PushButton]
ImageFile = alpha.bmp
[Button.RadioButton]
ImageFile = mixed.bmp
ImageCount = 3
ImageLayout = Vertical)"));
    ASSERT_TRUE(m_theme.Class("Button")->GetImage("ALPHA.BMP")->HasAlpha());

    // Premultiplied on loading (truncated), then blended: s + (255 - a) * d / 255.
    auto Blend = [](uint32_t clrSrc, uint32_t clrDest) {
        uint32_t a = clrSrc >> 24, clr = 0;
        for (int nShift = 0; nShift < 24; nShift += 8) {
            uint32_t s = ((clrSrc >> nShift) & 255) * a / 255, d = (clrDest >> nShift) & 255;
            clr |= (s + (255 - a) * d / 255) << nShift;
        }
        return clr;
    };
    for (int nScale : {1, 3}) {
        SCOPED_TRACE("scale " + std::to_string(nScale));
        CCanvas canvas(4 * nScale, nScale);
        EXPECT_TRUE(Draw(canvas, "Button", BP_PUSHBUTTON, 0, RECT{0, 0, 4 * nScale, nScale}));
        for (int x = 0; x < 4 * nScale; x++) {
            for (int y = 0; y < nScale; y++) {
                uint32_t clrWant = Blend(alpha.At(x / nScale, 0), canvas.Background()), clr = canvas.At(x, y);
                for (int nShift = 0; nShift < 24; nShift += 8)
                    EXPECT_NEAR(int((clr >> nShift) & 255), int((clrWant >> nShift) & 255), 1)
                        << "pixel " << x << " channel " << nShift / 8;
            }
        }
        // Opaque and wholly transparent pixels exactly.
        EXPECT_EQ(canvas.At(0, 0), 0xC08040u);
        EXPECT_EQ(canvas.At(2 * nScale, 0), canvas.Background());
    }
    {
        SCOPED_TRACE("a wholly transparent frame draws nothing, an opaque one is filled");
        CCanvas canvas(8, 4);
        ASSERT_TRUE(m_theme.Class("Button")->GetImage("MIXED.BMP") != nullptr);
        EXPECT_TRUE(Draw(canvas, "Button", BP_RADIOBUTTON, 1, RECT{0, 0, 8, 4}));
        EXPECT_EQ(RectText(canvas.ChangedBounds()), RectText(RECT{0, 0, 0, 0}));
        EXPECT_TRUE(Draw(canvas, "Button", BP_RADIOBUTTON, 2, RECT{0, 0, 8, 4}));
        ExpectPixels(canvas, [](int, int) { return 0x336699u; });
        EXPECT_TRUE(Draw(canvas, "Button", BP_RADIOBUTTON, 3, RECT{0, 0, 8, 4}));
        uint32_t clrHalf = Blend(0x80336699, 0x336699);
        for (int nShift = 0; nShift < 24; nShift += 8)
            EXPECT_NEAR(int((canvas.At(3, 2) >> nShift) & 255), int((clrHalf >> nShift) & 255), 1);
    }
}

TEST(ThemeBlend, SoftwareBlendMatchesTheSystem)
{
    // A source of every alpha level and a destination of varied colours,
    // blended 1:1 and stretched, left to right and mirrored.
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pvBits = nullptr;
    HBITMAP hSource = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pvBits, nullptr, 0);
    uint32_t* pSource = static_cast<uint32_t*>(pvBits);
    for (int i = 0; i < 256; i++) {
        uint32_t a = static_cast<uint32_t>(i), c = Unique(i % 16, i / 16);
        uint32_t r = ((c >> 16) & 255) * a / 255, g = ((c >> 8) & 255) * a / 255, b = (c & 255) * a / 255;
        pSource[i] = a << 24 | r << 16 | g << 8 | b;
    }
    HDC hSourceDC = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hSourceDC, hSource);
    for (bool bMirrored : {false, true}) {
        for (RECT rcDest : {RECT{2, 3, 18, 19}, RECT{1, 1, 33, 25}}) {
            SCOPED_TRACE(std::string(bMirrored ? "mirrored, " : "") + RectText(rcDest));
            CCanvas system(36, 28), software(36, 28);
            for (CCanvas* pCanvas : {&system, &software}) {
                for (int y = 0; y < 28; y++)
                    for (int x = 0; x < 36; x++)
                        SetPixel(pCanvas->GetDC(), x, y, Unique(x, y, 3));
                pCanvas->SetMirrored(bMirrored);
            }
            RECT rcSrc = {0, 0, 16, 16};
            EXPECT_TRUE(AlphaBlendRect(system.GetDC(), rcDest, hSourceDC, rcSrc));
            EXPECT_TRUE(SoftwareAlphaBlend(software.GetDC(), rcDest, hSourceDC, rcSrc));
            int nCount = 0;
            std::string strDiff = DescribeDifferences(system.Pixels(), software.Pixels(), 1, &nCount);
            EXPECT_EQ(nCount, 0) << strDiff;
        }
    }
    SelectObject(hSourceDC, hOld);
    DeleteDC(hSourceDC);
    DeleteObject(hSource);
}

TEST(ThemeBlend, MaskTransparencyMatchesTheSystem)
{
    CCanvas source(6, 4);
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 6; x++)
            SetPixel(source.GetDC(), x, y, (x + y) % 3 ? Unique(x, y) : RGB(255, 0, 255));
    for (RECT rcDest : {RECT{1, 1, 7, 5}, RECT{0, 0, 12, 8}}) {
        SCOPED_TRACE(RectText(rcDest));
        CCanvas system(12, 8), mask(12, 8);
        RECT rcSrc = {0, 0, 6, 4};
        EXPECT_TRUE(TransparentBlendRect(system.GetDC(), rcDest, source.GetDC(), rcSrc, RGB(255, 0, 255)));
        EXPECT_TRUE(MaskTransparentBlt(mask.GetDC(), rcDest, source.GetDC(), rcSrc, RGB(255, 0, 255)));
        EXPECT_EQ(DescribeDifferences(system.Pixels(), mask.Pixels()), "");
        // The destination's colours are left as they were.
        EXPECT_EQ(GetBkColor(mask.GetDC()), RGB(255, 255, 255));
    }
}

TEST_F(ThemeDraw, MirroredForRightToLeft)
{
    // Asymmetric pictures, drawn with margins at whole multiples of their
    // size so that stretching is the same in both directions.
    CImage picture = UniqueImage(6, 4);
    picture.At(2, 2) = Opaque(MAGENTA);
    m_theme.AddBmp("PIC24.BMP", picture);
    CImage picture32 = picture;
    picture32.At(3, 1) = 0x80402010;
    m_theme.AddBmp("PIC32.BMP", picture32, 32);
    CImage strip = UniqueImage(18, 4, 2);  // three frames side by side
    m_theme.AddBmp("STRIP24.BMP", strip);
    CImage strip32 = strip;
    strip32.At(8, 2) = 0x80402010;
    m_theme.AddBmp("STRIP32.BMP", strip32, 32);
    ASSERT_TRUE(m_theme.Load(R"([Button.PushButton]
ImageFile = pic24.bmp
SizingMargins = 1, 1, 1, 1
[Button.RadioButton]
ImageFile = pic32.bmp
SizingMargins = 1, 1, 1, 1
[Button.CheckBox]
ImageFile = pic24.bmp
SizingMargins = 1, 1, 1, 1
Transparent = True
[Button.GroupBox]
ImageFile = strip24.bmp
ImageCount = 3
[Button.UserButton]
ImageFile = strip32.bmp
ImageCount = 3
[Button.PushButton(Hot)]
MirrorImage = False
[Button.RadioButton(UncheckedHot)]
MirrorImage = False
[Button.CheckBox(UncheckedHot)]
MirrorImage = False
[Toolbar]
MirrorImage = False
ImageCount = 3
[Toolbar.Button]
ImageFile = strip24.bmp
[Toolbar.DropDownButton]
ImageFile = strip32.bmp)"));

    // The rectangles sit in the middle of the canvas, the margins' share of
    // the pictures is symmetric, and the edges and frames are stretched
    // twice.
    const RECT rcMargins = {3, 1, 13, 7}, rcFrames = {2, 1, 14, 9};
    struct Case {
        const char* pszName;
        const char* pszClass;
        int nPart, nState;
        bool bMirrored;
        RECT rc;
    } cases[] = {
        {"margins", "Button", BP_PUSHBUTTON, 1, true, rcMargins},
        {"margins, alpha", "Button", BP_RADIOBUTTON, 1, true, rcMargins},
        {"margins, transparent colour", "Button", BP_CHECKBOX, 1, true, rcMargins},
        {"frames side by side", "Button", BP_GROUPBOX, 2, true, rcFrames},
        {"frames side by side, alpha", "Button", BP_USERBUTTON, 2, true, rcFrames},
        {"not mirrored: margins", "Button", BP_PUSHBUTTON, 2, false, rcMargins},
        {"not mirrored: margins, alpha", "Button", BP_RADIOBUTTON, 2, false, rcMargins},
        {"not mirrored: margins, transparent colour", "Button", BP_CHECKBOX, 2, false, rcMargins},
        {"not mirrored: frames side by side", "Toolbar", TP_BUTTON, 2, false, rcFrames},
        {"not mirrored: frames side by side, alpha", "Toolbar", TP_DROPDOWNBUTTON, 2, false, rcFrames},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        const RECT& rc = c.rc;
        CCanvas leftToRight(16, 10), rightToLeft(16, 10);
        rightToLeft.SetMirrored(true);
        // Twice in a row: the second draw finds the image as the first left it.
        for (int nPass = 0; nPass < 2; nPass++) {
            EXPECT_TRUE(Draw(leftToRight, c.pszClass, c.nPart, c.nState, rc));
            EXPECT_TRUE(Draw(rightToLeft, c.pszClass, c.nPart, c.nState, rc));
        }
        CImage ltr = leftToRight.Pixels(), rtl = rightToLeft.Pixels();
        CImage want = ltr;
        if (c.bMirrored) {
            for (int y = 0; y < 10; y++)
                for (int x = 0; x < 16; x++)
                    want.At(x, y) = ltr.At(15 - x, y);
        }
        EXPECT_NE(DescribeDifferences(ltr, CImage(16, 10, leftToRight.Background())), "") << "nothing drawn";
        EXPECT_EQ(DescribeDifferences(rtl, want, 1), "");
    }
}

TEST_F(ThemeDraw, StateChoosesTheFrame)
{
    // Frames of one colour each, with a marker pixel that keeps them from
    // being filled as areas of one colour.
    const uint32_t colours[] = {RED, GREEN, BLUE, YELLOW};
    CImage across(80, 20), down(13, 39);
    for (int i = 0; i < 4; i++) {
        across.Fill(i * 20, 0, i * 20 + 20, 20, Opaque(colours[i]));
        across.At(i * 20 + 5, 5) = Opaque(WHITE);
    }
    for (int i = 0; i < 3; i++) {
        down.Fill(0, i * 13, 13, i * 13 + 13, Opaque(colours[i]));
        down.At(5, i * 13 + 5) = Opaque(WHITE);
    }
    m_theme.AddBmp("ACROSS.BMP", across);
    m_theme.AddBmp("DOWN.BMP", down);
    m_theme.AddBmp("FLAT.BMP", CImage(4, 3, Opaque(GREEN)));
    ASSERT_TRUE(m_theme.Load(R"([Button.PushButton]
ImageFile = across.bmp
ImageCount = 4
ImageLayout = Horizontal
[Button.RadioButton]
ImageFile = down.bmp
ImageCount = 3
ImageLayout = Vertical
[Button.CheckBox]
ImageFile = across.bmp
ImageCount = 0
[Button.GroupBox]
ImageFile = flat.bmp
[Button.UserButton]
ImageFile = flat.bmp
ImageCount = 4
ImageLayout = Vertical)"));

    struct Case {
        int nPart, nState;
        RECT rc;
        uint32_t clrFrame;
    } cases[] = {
        {BP_PUSHBUTTON, 3, {0, 0, 20, 20}, BLUE},   {BP_PUSHBUTTON, 4, {0, 0, 20, 20}, YELLOW},
        {BP_PUSHBUTTON, 5, {0, 0, 20, 20}, RED},    {BP_PUSHBUTTON, 0, {0, 0, 20, 20}, RED},
        {BP_RADIOBUTTON, 2, {0, 0, 13, 13}, GREEN}, {BP_RADIOBUTTON, 3, {0, 0, 13, 13}, BLUE},
        {BP_RADIOBUTTON, 4, {0, 0, 13, 13}, RED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("part " + std::to_string(c.nPart) + " state " + std::to_string(c.nState));
        CCanvas canvas(c.rc.right, c.rc.bottom);
        EXPECT_TRUE(Draw(canvas, "Button", c.nPart, c.nState, c.rc));
        ExpectPixels(canvas, [&](int x, int y) { return x == 5 && y == 5 ? WHITE : c.clrFrame; });
    }
    {
        SCOPED_TRACE("an image count of 0 counts as 1: the whole strip");
        CCanvas canvas(80, 20);
        EXPECT_TRUE(Draw(canvas, "Button", BP_CHECKBOX, 2, RECT{0, 0, 80, 20}));
        ExpectPixels(canvas, [&](int x, int y) { return across.At(x, y); });
    }
    {
        SCOPED_TRACE("frames of no rows draw nothing, though the image is one colour");
        CCanvas canvas(8, 8);
        EXPECT_TRUE(Draw(canvas, "Button", BP_GROUPBOX, 0, RECT{0, 0, 8, 8}));  // finds the area
        canvas.Clear();
        EXPECT_TRUE(Draw(canvas, "Button", BP_USERBUTTON, 1, RECT{0, 0, 8, 8}));
        EXPECT_EQ(RectText(canvas.ChangedBounds()), RectText(RECT{0, 0, 0, 0}));
    }
}

TEST_F(ThemeDraw, GlyphsOverTheBackground)
{
    m_theme.AddBmp("BACK.BMP", CImage(20, 40, Opaque(GREY)));
    // Two 6 x 6 glyph frames with a magenta corner.
    CImage glyph(6, 12, Opaque(RED));
    glyph.Fill(0, 6, 6, 12, Opaque(BLUE));
    glyph.At(0, 0) = glyph.At(0, 6) = Opaque(MAGENTA);
    m_theme.AddBmp("GLYPH.BMP", glyph);
    m_theme.AddBmp("G4.BMP", CImage(4, 4, Opaque(RED)));
    m_theme.AddBmp("G8.BMP", CImage(8, 8, Opaque(GREEN)));
    m_theme.AddBmp("G12.BMP", CImage(12, 12, Opaque(BLUE)));
    ASSERT_TRUE(m_theme.Load(R"([Button.PushButton]
ImageFile = back.bmp
ImageCount = 2
ImageLayout = Vertical
GlyphType = ImageGlyph
GlyphImageFile = glyph.bmp
GlyphTransparent = True
ContentMargins = 2, 6, 1, 3
[Button.RadioButton]
ImageFile = back.bmp
GlyphType = ImageGlyph
ImageSelectType = Size
ImageFile1 = g4.bmp
ImageFile2 = g8.bmp
ImageFile3 = g12.bmp
[Button.CheckBox]
ImageFile = back.bmp
ImageCount = 0
GlyphType = ImageGlyph
GlyphImageFile = glyph.bmp)"));

    {
        SCOPED_TRACE("centred in the content rectangle, frame by state, transparent corner");
        CCanvas canvas(30, 24);
        RECT rc = {2, 2, 22, 22};  // content (4, 3, 16, 19): glyph at (7, 8)
        EXPECT_TRUE(Draw(canvas, "Button", BP_PUSHBUTTON, 2, rc));
        ExpectPixels(canvas, [&](int x, int y) {
            if (x < 2 || x >= 22 || y < 2 || y >= 22)
                return canvas.Background();
            if (x >= 7 && x < 13 && y >= 8 && y < 14)
                return x == 7 && y == 8 ? GREY : BLUE;
            return GREY;
        });
    }
    struct SizeCase {
        int nSize;
        uint32_t clrGlyph;
        int nGlyph;
    } sizes[] = {{20, BLUE, 12}, {12, BLUE, 12}, {10, GREEN, 8}, {3, RED, 4}};
    for (const SizeCase& c : sizes) {
        SCOPED_TRACE("the largest glyph that fits " + std::to_string(c.nSize));
        CCanvas canvas(20, 20);
        EXPECT_TRUE(Draw(canvas, "Button", BP_RADIOBUTTON, 0, RECT{0, 0, c.nSize, c.nSize}));
        int nLeft = (c.nSize - c.nGlyph) / 2, nTop = std::max(0, (c.nSize - c.nGlyph) / 2);
        EXPECT_EQ(canvas.At(nLeft + c.nGlyph / 2, nTop + c.nGlyph / 2), c.clrGlyph);
        EXPECT_EQ(canvas.At(nLeft, nTop), c.clrGlyph);
    }
    {
        SCOPED_TRACE("an image count of 0 draws the background but no glyph");
        CCanvas canvas(20, 20);
        EXPECT_TRUE(Draw(canvas, "Button", BP_CHECKBOX, 1, RECT{0, 0, 20, 20}));
        ExpectPixels(canvas, [](int, int) { return GREY; });
    }
}

TEST_F(ThemeDraw, BorderFills)
{
    ASSERT_TRUE(m_theme.Load(R"([Button]
BgType = BorderFill
BorderSize = 2
BorderColor = 255 0 0
FillColor = 0 0 255
[Button.RadioButton]
BorderColor = 0 0 0
[Button.CheckBox]
BorderOnly = True
[Button.GroupBox]
BorderSize = 0
[Button.UserButton]
BorderSize = 5
[Toolbar.Button]
BgType = BorderFill
BorderSize = 2
FillColor = 0 0 255
[Toolbar.DropDownButton]
BgType = None
[Toolbar.SplitButton]
BgType = Gradient)"));
    // Black counts as a colour; only a missing value is none.
    enum Expect { FULL, BLACK_RING, RING, FILL, NOTHING };
    struct Case {
        const char* pszClass;
        int nPart;
        Expect expect;
        int nBorder;
    } cases[] = {
        {"Button", BP_PUSHBUTTON, FULL, 2},      {"Button", BP_RADIOBUTTON, BLACK_RING, 2},
        {"Button", BP_CHECKBOX, RING, 2},        {"Button", BP_GROUPBOX, FILL, 0},
        {"Button", BP_USERBUTTON, FULL, 5},      {"Toolbar", TP_BUTTON, FILL, 0},
        {"Toolbar", TP_DROPDOWNBUTTON, NOTHING, 0}, {"Toolbar", TP_SPLITBUTTON, NOTHING, 0},
    };
    const RECT rc = {1, 1, 11, 7};  // 10 x 6: a border of 5 leaves nothing of the fill
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pszClass) + " part " + std::to_string(c.nPart));
        CCanvas canvas(12, 8);
        EXPECT_TRUE(Draw(canvas, c.pszClass, c.nPart, 0, rc));
        ExpectPixels(canvas, [&](int x, int y) {
            if (c.expect == NOTHING || x < rc.left || x >= rc.right || y < rc.top || y >= rc.bottom)
                return canvas.Background();
            bool bBorder = x < rc.left + c.nBorder || x >= rc.right - c.nBorder || y < rc.top + c.nBorder ||
                           y >= rc.bottom - c.nBorder;
            if (bBorder)
                return c.expect == BLACK_RING ? 0u : RED;
            return c.expect == RING ? canvas.Background() : BLUE;
        });
    }
}

TEST_F(ThemeDraw, BorderOnlyLeavesOutTheCentre)
{
    CImage frame(6, 6, Opaque(RED));
    frame.Fill(2, 2, 4, 4, Opaque(BLUE));
    frame.At(0, 0) = Opaque(GREEN);  // not one colour
    m_theme.AddBmp("FRAME.BMP", frame);
    ASSERT_TRUE(m_theme.Load(R"([Button.PushButton]
ImageFile = frame.bmp
SizingMargins = 2, 2, 2, 2
BorderOnly = True
[Window.FrameLeft]
ImageFile = frame.bmp
SizingMargins = 2, 2, 2, 2
BorderOnly = True
[Window.Caption]
ImageFile = frame.bmp
SizingMargins = 2, 2, 2, 2
BorderOnly = True)"));
    struct Case {
        const char* pszClass;
        int nPart;
        bool bCentre;
    } cases[] = {{"Button", BP_PUSHBUTTON, false}, {"Window", WP_FRAMELEFT, true}, {"Window", WP_CAPTION, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pszClass) + " part " + std::to_string(c.nPart));
        CCanvas canvas(10, 10);
        EXPECT_TRUE(Draw(canvas, c.pszClass, c.nPart, 0, RECT{0, 0, 10, 10}));
        EXPECT_EQ(canvas.At(5, 5), c.bCentre ? BLUE : canvas.Background());
        EXPECT_EQ(canvas.At(5, 0), RED);
        EXPECT_EQ(canvas.At(0, 0), GREEN);
    }
}

TEST_F(ThemeDraw, MissingBitmaps)
{
    m_theme.AddBmp("HERE.BMP", CImage(4, 4, Opaque(RED)));
    ASSERT_TRUE(m_theme.Load(R"([Button.PushButton]
ImageFile = gone.bmp
[Button.RadioButton]
BgType = ImageFile
[Button.CheckBox]
ImageSelectType = Dpi
ImageFile1 = gone.bmp
ImageFile = here.bmp
[Button.GroupBox]
ImageSelectType = Dpi
ImageFile = here.bmp)"));
    struct Case {
        int nPart;
        BOOL bResult;
        bool bDrawn;
    } cases[] = {
        {BP_PUSHBUTTON, FALSE, false},  // the file does not exist
        {BP_RADIOBUTTON, FALSE, false},  // no name
        {BP_CHECKBOX, FALSE, false},  // IMAGEFILE1 is named but missing
        {BP_GROUPBOX, TRUE, true},  // IMAGEFILE1 unnamed: IMAGEFILE
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("part " + std::to_string(c.nPart));
        CCanvas canvas(6, 6);
        EXPECT_EQ(Draw(canvas, "Button", c.nPart, 0, RECT{1, 1, 5, 5}), c.bResult);
        EXPECT_EQ(canvas.At(2, 2), c.bDrawn ? RED : canvas.Background());
    }
    CCanvas canvas(6, 6);
    EXPECT_FALSE(m_theme.Class("Button")->DrawThemeBackground(canvas.GetDC(), BP_GROUPBOX, 0, nullptr));
}

TEST_F(ThemeDraw, PartSizes)
{
    m_theme.AddBmp("STRIP.BMP", CImage(30, 20, Opaque(RED)));  // two frames of 30 x 10
    ASSERT_TRUE(m_theme.Load(R"([Button]
ImageFile = strip.bmp
ImageCount = 2
ImageLayout = Vertical
[Button.RadioButton]
SizingType = TrueSize
[Button.CheckBox]
UniformSizing = True
[Button.GroupBox]
BgType = BorderFill
[Button.UserButton]
ImageFile = gone.bmp)"));
    const SIZE unset = {-7, -7};
    const RECT rc100 = {0, 0, 100, 20};
    struct Case {
        int nPart;
        const RECT* pRect;
        int nKind;
        BOOL bResult;
        SIZE size;
    } cases[] = {
        {BP_PUSHBUTTON, nullptr, TS_TRUE, TRUE, {30, 10}},
        {BP_PUSHBUTTON, &rc100, TS_TRUE, TRUE, {30, 10}},
        {BP_PUSHBUTTON, nullptr, TS_DRAW, TRUE, {0, 0}},
        {BP_PUSHBUTTON, &rc100, TS_DRAW, TRUE, {100, 20}},
        {BP_PUSHBUTTON, &rc100, TS_MIN, TRUE, unset},
        {BP_RADIOBUTTON, &rc100, TS_DRAW, TRUE, {30, 10}},
        {BP_CHECKBOX, &rc100, TS_DRAW, TRUE, {60, 20}},
        {BP_GROUPBOX, &rc100, TS_TRUE, FALSE, unset},
        {BP_USERBUTTON, &rc100, TS_TRUE, FALSE, unset},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("part " + std::to_string(c.nPart) + " kind " + std::to_string(c.nKind));
        SIZE size = unset;
        EXPECT_EQ(m_theme.Class("Button")->GetThemePartSize(c.nPart, 0, c.pRect, c.nKind, &size), c.bResult);
        EXPECT_EQ(size.cx, c.size.cx);
        EXPECT_EQ(size.cy, c.size.cy);
    }
}

TEST_F(ThemeDraw, Text)
{
    ASSERT_TRUE(m_theme.Load(R"([Button]
TextColor = 200 0 0
CaptionMargins = 5, 3, 9, 9
[Button.RadioButton]
ContentAlignment = Center
[Button.CheckBox]
TextShadowType = Single
TextShadowOffset = 2, 1
TextShadowColor = 0 0 200
[Button.GroupBox]
TextShadowType = Single
TextShadowOffset = 0, 0
TextShadowColor = 0 0 200
[Toolbar.Button]
ContentAlignment = Right)"));
    struct Case {
        const char* pszClass;
        int nPart;
        UINT nAddFlags;
        bool bShadow;
        COLORREF clrText;
        int nLeft, nRight;
    } cases[] = {
        {"Button", BP_PUSHBUTTON, 0, false, RGB(200, 0, 0), 5, 3},
        {"Button", BP_RADIOBUTTON, DT_CENTER, false, RGB(200, 0, 0), 5, 3},
        {"Button", BP_CHECKBOX, 0, true, RGB(200, 0, 0), 5, 3},
        {"Button", BP_GROUPBOX, 0, false, RGB(200, 0, 0), 5, 3},
        // No values: the context's own text colour, no margins, RIGHT not used.
        {"Toolbar", TP_BUTTON, 0, false, RGB(0, 120, 0), 0, 0},
    };
    const RECT rc = {2, 2, 98, 22};
    const char* pszText = "Tavmio Ag";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pszClass) + " part " + std::to_string(c.nPart));
        CCanvas ours(100, 24), reference(100, 24);
        SetTextColor(ours.GetDC(), RGB(0, 120, 0));
        EXPECT_TRUE(m_theme.Class(c.pszClass)->DrawThemeText(ours.GetDC(), c.nPart, 0, pszText,
                                                             DT_SINGLELINE | DT_VCENTER, &rc));
        EXPECT_EQ(GetTextColor(ours.GetDC()), c.clrText);

        HDC hDC = reference.GetDC();
        SetBkMode(hDC, TRANSPARENT);
        RECT rcText = {rc.left + c.nLeft, rc.top, rc.right - c.nRight, rc.bottom};
        UINT nFlags = DT_SINGLELINE | DT_VCENTER | c.nAddFlags;
        if (c.bShadow) {
            SetTextColor(hDC, RGB(0, 0, 200));
            RECT rcShadow = rcText;
            OffsetRect(&rcShadow, 2, 1);
            DrawTextA(hDC, pszText, -1, &rcShadow, nFlags);
        }
        SetTextColor(hDC, c.clrText);
        DrawTextA(hDC, pszText, -1, &rcText, nFlags);
        EXPECT_EQ(DescribeDifferences(ours.Pixels(), reference.Pixels()), "");
        EXPECT_NE(DescribeDifferences(ours.Pixels(), CImage(100, 24, ours.Background())), "") << "no text drawn";
    }
}

// A filter that swaps red and blue.
class CSwapFilter : public CXTPSkinColorFilter {
public:
    void ApplyColorFilter(COLORREF& clr) override { clr = RGB(GetBValue(clr), GetGValue(clr), GetRValue(clr)); }
};

TEST_F(ThemeDraw, ColourFilters)
{
    CImage picture = UniqueImage(4, 3);
    picture.At(1, 1) = Opaque(0x00FF80);  // left out: the transparent colour
    m_theme.AddBmp("PIC.BMP", picture);
    m_theme.AddBmp("FLAT.BMP", CImage(4, 3, Opaque(0x102030)));
    ASSERT_TRUE(m_theme.Load(R"([Button.PushButton]
ImageFile = pic.bmp
Transparent = True
TransparentColor = 0 255 128
[Button.RadioButton]
ImageFile = flat.bmp
[Button.CheckBox]
BgType = BorderFill
BorderColor = 10 20 30
FillColor = 40 50 60)"));
    CXTPSkinEngine* pEngine = CXTPSkinEngine::GetInstance();
    pEngine->AddColorFilter(new CSwapFilter);
    auto Swap = [](uint32_t clr) { return (clr & 0xFF) << 16 | (clr & 0xFF00) | (clr >> 16 & 0xFF); };
    CCanvas canvas(4, 3);
    EXPECT_TRUE(Draw(canvas, "Button", BP_PUSHBUTTON, 0, RECT{0, 0, 4, 3}));
    ExpectPixels(canvas, [&](int x, int y) {
        return x == 1 && y == 1 ? canvas.Background() : Swap(picture.At(x, y) & 0xFFFFFF);
    });
    canvas.Clear();
    EXPECT_TRUE(Draw(canvas, "Button", BP_RADIOBUTTON, 0, RECT{0, 0, 4, 3}));
    ExpectPixels(canvas, [&](int, int) { return Swap(0x102030); });
    canvas.Clear();
    EXPECT_TRUE(Draw(canvas, "Button", BP_CHECKBOX, 0, RECT{0, 0, 4, 3}));
    ExpectPixels(canvas, [&](int x, int y) { return x == 0 || x == 3 || y == 0 || y == 2 ? 0x1E140Au : 0x3C3228u; });
    pEngine->RemoveColorFilters();
}

TEST_F(ThemeDraw, AreasOfOneColourAreFoundOnce)
{
    CImage framed(6, 12, Opaque(RED));  // frame 0 one colour; frame 1 with edges
    framed.Fill(0, 6, 6, 12, Opaque(GREEN));
    framed.Fill(2, 8, 4, 10, Opaque(BLUE));
    framed.At(0, 6) = Opaque(WHITE);  // a corner, which is not tested
    m_theme.AddBmp("FRAMED.BMP", framed);
    m_theme.AddBmp("ACROSS.BMP", framed);
    m_theme.AddBmp("PIC.BMP", UniqueImage(6, 6));
    CImage mixed(4, 3, 0x00000000);
    mixed.Fill(0, 1, 4, 2, 0xFF336699);
    mixed.Fill(0, 2, 4, 3, 0x80336699);
    m_theme.AddBmp("MIXED.BMP", mixed, 32);
    ASSERT_TRUE(m_theme.Load(R"([Button.PushButton]
ImageFile = framed.bmp
ImageCount = 2
ImageLayout = Vertical
SizingMargins = 2, 2, 2, 2
[Button.RadioButton]
ImageFile = across.bmp
ImageCount = 2
ImageLayout = Horizontal
[Button.CheckBox]
ImageFile = pic.bmp
SizingMargins = 1, 1, 1, 1
[Button.GroupBox]
ImageFile = mixed.bmp
ImageCount = 3
ImageLayout = Vertical)"));
    typedef CXTPSkinThemeImage::SOLIDAREA Area;
    const COLORREF clrGreen = RGB(0, 255, 0);
    struct Case {
        int nPart;
        const char* pszImage;
        std::vector<Area> areas;
    } cases[] = {
        {BP_PUSHBUTTON,
         "FRAMED.BMP",
         {{0, 0, 6, 6, RGB(255, 0, 0)},
          {0, 8, 2, 10, clrGreen},  // left, top, right and bottom edge, centre
          {2, 6, 4, 8, clrGreen},
          {4, 8, 6, 10, clrGreen},
          {2, 10, 4, 12, clrGreen},
          {2, 8, 4, 10, RGB(0, 0, 255)}}},
        {BP_RADIOBUTTON, "ACROSS.BMP", {}},  // frames side by side
        {BP_CHECKBOX, "PIC.BMP", {}},
        // Alpha images keep the (premultiplied) alpha in the top byte.
        {BP_GROUPBOX,
         "MIXED.BMP",
         {{0, 0, 4, 1, 0}, {0, 1, 4, 2, 0xFF996633}, {0, 2, 4, 3, 0x80000000 | RGB(0x33 * 128 / 255, 0x66 * 128 / 255, 0x99 * 128 / 255)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszImage);
        CCanvas canvas(8, 8);
        // Found by the first draw; later ones change nothing.
        for (int nState = 1; nState <= 2; nState++)
            EXPECT_TRUE(Draw(canvas, "Button", c.nPart, nState, RECT{0, 0, 8, 8}));
        const std::vector<Area>& found = m_theme.Class("Button")->GetImage(c.pszImage)->GetSolidAreas();
        ASSERT_EQ(found.size(), c.areas.size());
        for (size_t i = 0; i < found.size(); i++) {
            EXPECT_EQ(RectText(RECT{found[i].nLeft, found[i].nTop, found[i].nRight, found[i].nBottom}),
                      RectText(RECT{c.areas[i].nLeft, c.areas[i].nTop, c.areas[i].nRight, c.areas[i].nBottom}));
            EXPECT_EQ(found[i].clr, c.areas[i].clr) << std::hex << found[i].clr;
        }
    }
}

TEST_F(ThemeDraw, BitmapIsFreeForOtherContextsAfterDrawing)
{
    m_theme.AddBmp("PIC.BMP", UniqueImage(6, 6));
    ASSERT_TRUE(m_theme.Load("[Button.PushButton]\nImageFile = pic.bmp\nSizingMargins = 2, 2, 2, 2"));
    CCanvas canvas(10, 10);
    EXPECT_TRUE(Draw(canvas, "Button", BP_PUSHBUTTON, 0, RECT{0, 0, 10, 10}));
    // The image keeps its bitmap selected between draws, and gives it up
    // when asked for it.
    HDC hDC = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hDC, m_theme.Class("Button")->GetImage("PIC.BMP")->GetBitmap());
    EXPECT_NE(hOld, nullptr);
    SelectObject(hDC, hOld);
    DeleteDC(hDC);
    CCanvas again(10, 10);
    EXPECT_TRUE(Draw(again, "Button", BP_PUSHBUTTON, 0, RECT{0, 0, 10, 10}));
    EXPECT_EQ(DescribeDifferences(canvas.Pixels(), again.Pixels()), "");
}

TEST(ThemeNames, NamesBehindTheIds)
{
    int nParts = 0, nStates = 0;
    for (int nClassId = 1; nClassId <= XTP_SKINCLASS_LAST; nClassId++) {
        const char* pszClass = GetThemeClassName(nClassId);
        EXPECT_EQ(GetClassId(pszClass), nClassId);
        for (int nPartId = 1; nPartId <= GetThemePartCount(nClassId); nPartId++, nParts++) {
            std::string strPart = GetThemePartName(nClassId, nPartId);
            EXPECT_EQ(GetPartId(pszClass, strPart.c_str()), nPartId) << strPart;
            for (int nStateId = 1; nStateId <= GetThemeStateCount(strPart.c_str()); nStateId++, nStates++)
                EXPECT_EQ(GetStateId(strPart.c_str(), GetThemeStateName(strPart.c_str(), nStateId).c_str()),
                          nStateId);
        }
    }
    EXPECT_EQ(GetThemePartCount(XTP_SKINCLASS_WINDOW), 37);
    EXPECT_EQ(GetThemeStateName("CheckBox", 12), "MIXEDDISABLED");
    EXPECT_EQ(GetThemeStateCount("FrameLeft"), 0);
    EXPECT_STREQ(GetThemeClassName(0), "");
    EXPECT_STREQ(GetThemeClassName(XTP_SKINCLASS_LAST + 1), "");
    EXPECT_EQ(GetThemePartName(XTP_SKINCLASS_BUTTON, 6), "");
    EXPECT_GT(nParts, 150);
    EXPECT_GT(nStates, 200);
}

}  // namespace
