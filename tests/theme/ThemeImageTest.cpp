// Image loading: PNG decoding with its transformations, BMP files, bitmap
// resources, and the 32-bit helpers (copies, mirroring, premultiplying).
#include "ThemeTestSupport.h"
#include "XTPSkinBitmap.h"
#include "XTPSkinEngine.h"
#include "XTPSkinPngBitmap.h"
#include "XTPSkinThemeClass.h"
#include "XTPSkinThemeImage.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace themetest;

namespace {

Bytes B(std::initializer_list<int> bytes)
{
    Bytes data;
    for (int b : bytes)
        data += static_cast<char>(b);
    return data;
}

Bytes Be32(uint32_t n)
{
    return B({int(n >> 24), int((n >> 16) & 255), int((n >> 8) & 255), int(n & 255)});
}

struct PngCase {
    const char* pszName;
    Bytes png;
    int nWidth, nHeight;
    bool bAlpha;
    // Expected 0xAARRGGBB pixels, top row first.
    std::vector<uint32_t> pixels;
};

TEST(ThemePng, DecodesEveryColourTypeToThirtyTwoBits)
{
    const PngCase cases[] = {
        {"RGBA, top row first", MakePng(1, 2, 8, 6, {B({10, 20, 30, 255}), B({40, 50, 60, 128})}), 1, 2, true,
         {0xFF0A141E, 0x8028323C}},
        {"RGB", MakePng(2, 1, 8, 2, {B({1, 2, 3, 4, 5, 6})}), 2, 1, false, {0x00010203, 0x00040506}},
        {"grey with a transparent value", MakePng(2, 1, 8, 0, {B({7, 9})}, {{"tRNS", B({0, 9})}}), 2, 1, true,
         {0xFF070707, 0x00090909}},
        {"grey with alpha", MakePng(1, 1, 8, 4, {B({200, 100})}), 1, 1, true, {0x64C8C8C8}},
        {"palette", MakePng(2, 1, 8, 3, {B({1, 0})}, {{"PLTE", B({1, 2, 3, 250, 251, 252})}}), 2, 1, false,
         {0x00FAFBFC, 0x00010203}},
        {"palette with transparency",
         MakePng(2, 1, 8, 3, {B({1, 0})}, {{"PLTE", B({1, 2, 3, 250, 251, 252})}, {"tRNS", B({0, 77})}}), 2, 1,
         true, {0x4DFAFBFC, 0x00010203}},
        {"background colour removes alpha",
         MakePng(2, 1, 8, 6, {B({255, 0, 0, 255, 0, 255, 0, 0})}, {{"bKGD", B({0, 10, 0, 20, 0, 30})}}), 2, 1, false,
         {0x00FF0000, 0x000A141E}},
        {"16 bits per channel", MakePng(1, 1, 16, 2, {B({0xAB, 0xCD, 0x12, 0x34, 0xFF, 0xFF})}), 1, 1, false,
         {0x00AB12FF}},
        {"1-bit grey", MakePng(3, 1, 1, 0, {B({0xA0})}), 3, 1, false, {0x00FFFFFF, 0x00000000, 0x00FFFFFF}},
        {"neutral gamma", MakePng(1, 1, 8, 2, {B({128, 64, 200})}, {{"gAMA", Be32(45455)}}), 1, 1, false,
         {0x008040C8}},
        // Adam7: pass 1 holds (0,0), pass 6 (1,0), pass 7 the second row.
        {"interlaced", MakePng(2, 2, 8, 2, {B({1, 1, 1}), B({2, 2, 2}), B({3, 3, 3, 4, 4, 4})}, {}, 1), 2, 2, false,
         {0x00010101, 0x00020202, 0x00030303, 0x00040404}},
    };
    for (const PngCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        CXTPSkinPngBitmap bitmap;
        ASSERT_TRUE(bitmap.LoadFromMemory(c.png.data(), c.png.size()));
        EXPECT_EQ(bitmap.m_bAlpha != FALSE, c.bAlpha);
        DIBSECTION ds = {};
        ASSERT_EQ(GetObjectA(bitmap.m_hObject, sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
        EXPECT_EQ(ds.dsBmih.biBitCount, 32);
        // Top-down: the top row comes first in memory.
        EXPECT_EQ(*static_cast<const uint32_t*>(ds.dsBm.bmBits), c.pixels[0]);
        CPixels pixels = ReadPixels(bitmap);
        ASSERT_EQ(pixels.nWidth, c.nWidth);
        ASSERT_EQ(pixels.nHeight, c.nHeight);
        for (size_t i = 0; i < c.pixels.size(); i++)
            EXPECT_EQ(pixels.data[i], c.pixels[i]) << "pixel " << i;
    }
}

TEST(ThemePng, FilesAndResources)
{
    CTempFolder folder;
    Bytes png = MakePng(1, 1, 8, 6, {B({1, 2, 3, 4})});
    ASSERT_TRUE(WriteBytes(folder.File("a.png"), png));
    ASSERT_TRUE(WriteBytes(folder.File("short.png"), png.substr(0, 9)));
    ASSERT_TRUE(WriteBytes(folder.File("three.png"), png.substr(0, 3)));

    CXTPSkinPngBitmap bitmap;
    EXPECT_TRUE(bitmap.LoadFromFile(folder.File("a.png").c_str()));
    EXPECT_TRUE(bitmap.m_bAlpha);
    EXPECT_FALSE(bitmap.LoadFromFile(folder.File("short.png").c_str()));
    EXPECT_EQ(bitmap.m_hObject, nullptr) << "a failed load leaves no bitmap";
    EXPECT_FALSE(bitmap.m_bAlpha);
    EXPECT_FALSE(bitmap.LoadFromFile(folder.File("missing.png").c_str()));
    EXPECT_TRUE(IsPngFile(folder.File("short.png").c_str()));
    EXPECT_FALSE(IsPngFile(folder.File("three.png").c_str()));
    EXPECT_FALSE(IsPngFile(folder.File("missing.png").c_str()));
    EXPECT_FALSE(bitmap.LoadFromResource(nullptr, nullptr));
}

TEST(ThemeBmp, FilesAreReadByContentNotByName)
{
    CTempFolder folder;
    std::vector<uint32_t> pixels = {0x80112233, 0xFF445566, 0x00000000, 0x40FFFFFF};
    ASSERT_TRUE(WriteBytes(folder.File("bmp32.png"), MakeBmpFile(MakePackedDib(2, 2, 32, pixels))));
    ASSERT_TRUE(WriteBytes(folder.File("bmp24.bmp"), MakeBmpFile(MakePackedDib(2, 2, 24, pixels))));
    ASSERT_TRUE(WriteBytes(folder.File("png.bmp"), MakePng(1, 1, 8, 2, {B({9, 8, 7})})));
    ASSERT_TRUE(WriteBytes(folder.File("header.bmp"), MakeBmpFile(MakePackedDib(2, 2, 32, pixels)).substr(0, 40)));

    struct {
        const char* pszFile;
        bool bLoads;
        bool bAlpha;
        bool bDibSection;
        uint32_t nTopLeft;
    } cases[] = {
        {"bmp32.png", true, true, true, 0x80112233},  // a BMP named .png
        {"bmp24.bmp", true, false, false, 0x00112233},
        {"png.bmp", true, false, true, 0x00090807},   // a PNG named .bmp
        {"header.bmp", false, false, false, 0},       // headers cut off
        {"missing.bmp", false, false, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszFile);
        BOOL bAlpha = 7;
        HBITMAP hBitmap = LoadBitmapFile(folder.File(c.pszFile).c_str(), &bAlpha);
        EXPECT_EQ(hBitmap != nullptr, c.bLoads);
        if (!hBitmap)
            continue;
        EXPECT_EQ(bAlpha != FALSE, c.bAlpha);
        DIBSECTION ds = {};
        EXPECT_EQ(GetObjectA(hBitmap, sizeof(ds), &ds) == sizeof(ds), c.bDibSection);
        CPixels read = ReadPixels(hBitmap);
        EXPECT_EQ(read.At(0, 0) & (c.bAlpha ? 0xFFFFFFFF : 0xFFFFFF), c.nTopLeft);
        DeleteObject(hBitmap);
    }
    EXPECT_TRUE(IsAlphaBitmapFile(folder.File("bmp32.png").c_str()));
    EXPECT_FALSE(IsAlphaBitmapFile(folder.File("bmp24.bmp").c_str()));
    EXPECT_FALSE(IsAlphaBitmapFile(folder.File("header.bmp").c_str()));
}

TEST(ThemeBmp, PackedDibsFromResources)
{
    std::vector<uint32_t> palette(256);
    for (int i = 0; i < 256; i++)
        palette[i] = 0x010101u * static_cast<uint32_t>(255 - i);
    palette[255] = 0x00123456;
    std::vector<uint32_t> indexes = {0, 255, 1, 254};
    std::vector<uint32_t> colors = {0xFF0000FF, 0x8000FF00, 0x00FF0000, 0xFFFFFFFF};

    Bytes dib8 = MakePackedDib(2, 2, 8, indexes, palette, 0);
    Bytes dib4 = MakePackedDib(2, 2, 4, {0, 15, 1, 1}, std::vector<uint32_t>(16, 0x00ABCDEF), 0);
    Bytes dib1 = MakePackedDib(2, 2, 1, {0, 1, 1, 0}, {0x00000000, 0x00FFFFFF}, 0);
    Bytes dib24 = MakePackedDib(2, 2, 24, colors);
    Bytes dib32 = MakePackedDib(2, 2, 32, colors);
    // A 24-bit image with a colour table before its pixels.
    Bytes dib24Table = MakePackedDib(2, 2, 24, colors, {0x00111111, 0x00222222}, 2);
    // Colour masks after a plain header, as resource compilers write them.
    Bytes dib32Masks = dib32;
    reinterpret_cast<BITMAPINFOHEADER*>(&dib32Masks[0])->biCompression = BI_BITFIELDS;
    dib32Masks.insert(40, B({0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0}));
    // A large (version 5) header with masks, as Wine's own theme has them.
    Bytes dib32V5 = dib32;
    {
        BITMAPV5HEADER v5 = {};
        memcpy(&v5, dib32.data(), 40);
        v5.bV5Size = sizeof(v5);
        v5.bV5Compression = BI_BITFIELDS;
        v5.bV5RedMask = 0xFF0000;
        v5.bV5GreenMask = 0xFF00;
        v5.bV5BlueMask = 0xFF;
        v5.bV5AlphaMask = 0xFF000000;
        dib32V5 = Bytes(reinterpret_cast<const char*>(&v5), sizeof(v5)) + dib32.substr(40);
    }

    struct {
        const char* pszName;
        Bytes dib;
        bool bLoads;
        bool bAlpha;
        std::vector<uint32_t> pixels;  // RGB only
    } cases[] = {
        {"8 bits, colour count 0: 256 colours", dib8, true, false, {0xFFFFFF, 0x123456, 0xFEFEFE, 0x010101}},
        {"4 bits", dib4, true, false, {0xABCDEF, 0xABCDEF, 0xABCDEF, 0xABCDEF}},
        {"1 bit", dib1, true, false, {0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000}},
        {"24 bits", dib24, true, false, {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF}},
        {"24 bits with a colour table", dib24Table, true, false, {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF}},
        {"32 bits", dib32, true, true, {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF}},
        {"32 bits with masks", dib32Masks, true, true, {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF}},
        {"32 bits, version 5 header", dib32V5, true, true, {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF}},
        {"one byte short", dib24.substr(0, dib24.size() - 1), false, false, {}},
        {"palette cut off", dib8.substr(0, 40 + 100 * 4), false, false, {}},
        {"header only", dib24.substr(0, 40), false, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        BOOL bAlpha = 7;
        HBITMAP hBitmap = CreateBitmapFromPackedDib(c.dib.data(), static_cast<DWORD>(c.dib.size()), &bAlpha);
        EXPECT_EQ(hBitmap != nullptr, c.bLoads);
        if (!hBitmap)
            continue;
        EXPECT_EQ(bAlpha != FALSE, c.bAlpha);
        CPixels read = ReadPixels(hBitmap);
        ASSERT_EQ(read.nWidth, 2);
        ASSERT_EQ(read.nHeight, 2);
        for (size_t i = 0; i < c.pixels.size(); i++)
            EXPECT_EQ(read.data[i] & 0xFFFFFF, c.pixels[i]) << "pixel " << i;
        if (c.bAlpha) {
            EXPECT_EQ(read.At(1, 0) >> 24, 0x80u) << "the alpha channel is kept";
        }
        DeleteObject(hBitmap);
    }
}

// A 2 x 2 32-bit bitmap from storage-order pixels (bottom row first).
HBITMAP MakeDib(const std::vector<uint32_t>& storage)
{
    BYTE* pBits = nullptr;
    HBITMAP hBitmap = CreateDib32(nullptr, 2, 2, &pBits);
    if (hBitmap && pBits)
        memcpy(pBits, storage.data(), 16);
    return hBitmap;
}

TEST(ThemeDib, PremultiplyDecidesWhetherAlphaIsUsed)
{
    struct {
        const char* pszName;
        std::vector<uint32_t> storage;  // bottom row first
        BOOL nHasAlphaIn;
        BOOL nHasAlphaOut;
        std::vector<uint32_t> result;
    } cases[] = {
        {"all transparent", {0x00FF8040, 0x00FF8040, 0x00102030, 0x00102030}, 0, 0,
         {0x00FF8040, 0x00FF8040, 0x00102030, 0x00102030}},
        {"all opaque", {0xFFFF8040, 0xFFFF8040, 0xFF102030, 0xFF102030}, 0, 0,
         {0xFFFF8040, 0xFFFF8040, 0xFF102030, 0xFF102030}},
        {"opaque before transparent", {0xFFFF8040, 0xFFFF8040, 0x00102030, 0x00102030}, 0, 0,
         {0xFFFF8040, 0xFFFF8040, 0x00102030, 0x00102030}},
        {"transparent before opaque", {0x00102030, 0x00102030, 0xFFFF8040, 0xFFFF8040}, 0, 1,
         {0x00000000, 0x00000000, 0xFFFF8040, 0xFFFF8040}},
        {"partly transparent", {0x80C86432, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, 0, 1,
         {0x80643219, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}},
        {"-1 on entry: any visible pixel", {0xFFFF8040, 0xFFFF8040, 0xFF102030, 0xFF102030}, -1, 1,
         {0xFFFF8040, 0xFFFF8040, 0xFF102030, 0xFF102030}},
        {"-1 on entry, nothing visible", {0x00FF8040, 0x00FF8040, 0x00102030, 0x00102030}, -1, -1,
         {0x00000000, 0x00000000, 0x00000000, 0x00000000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        HBITMAP hSource = MakeDib(c.storage);
        ASSERT_NE(hSource, nullptr);
        BOOL nHasAlpha = c.nHasAlphaIn;
        BYTE* pBits = nullptr;
        HBITMAP hResult = PremultiplyAlpha(hSource, &nHasAlpha, &pBits);
        ASSERT_NE(hResult, nullptr);
        EXPECT_EQ(nHasAlpha, c.nHasAlphaOut);
        ASSERT_NE(pBits, nullptr);
        std::vector<uint32_t> result(4);
        memcpy(result.data(), pBits, 16);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(ReadPixels(hSource).At(0, 1), c.storage[0]) << "the source is not changed";
        DeleteObject(hResult);
        DeleteObject(hSource);
    }
    // Without the out-parameter the colours are always premultiplied.
    HBITMAP hSource = MakeDib({0x00102030, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF});
    BYTE* pBits = nullptr;
    HBITMAP hResult = PremultiplyAlpha(hSource, nullptr, &pBits);
    ASSERT_NE(hResult, nullptr);
    EXPECT_EQ(*reinterpret_cast<uint32_t*>(pBits), 0u);
    DeleteObject(hResult);
    DeleteObject(hSource);
}

TEST(ThemeDib, CopiesAndMirrors)
{
    // A top-down PNG bitmap comes back as bottom-up rows.
    CXTPSkinPngBitmap png;
    ASSERT_TRUE(png.LoadFromMemory(nullptr, 0) == FALSE);
    Bytes data = MakePng(2, 2, 8, 6, {B({1, 1, 1, 255, 2, 2, 2, 255}), B({3, 3, 3, 255, 4, 4, 4, 255})});
    ASSERT_TRUE(png.LoadFromMemory(data.data(), data.size()));
    BITMAPINFO* pInfo = nullptr;
    BYTE* pBits = nullptr;
    UINT nSize = 0;
    ASSERT_TRUE(GetBitmapBits32(nullptr, png, pInfo, pBits, nSize));
    EXPECT_EQ(nSize, 16u);
    EXPECT_EQ(pInfo->bmiHeader.biHeight, 2);
    EXPECT_EQ(reinterpret_cast<uint32_t*>(pBits)[0], 0xFF030303u) << "bottom row first";
    free(pBits);
    free(pInfo);

    HBITMAP hFlipped = FlipBitmap(png);
    ASSERT_NE(hFlipped, nullptr);
    CPixels flipped = ReadPixels(hFlipped);
    EXPECT_EQ(flipped.data, (std::vector<uint32_t>{0xFF020202, 0xFF010101, 0xFF040404, 0xFF030303}));
    DeleteObject(hFlipped);

    HDC hDC = GetDC(nullptr);
    HBITMAP hDdb = CreateCompatibleBitmap(hDC, 2, 2);
    BITMAP bm = {};
    GetObjectA(hDdb, sizeof(bm), &bm);
    if (bm.bmBitsPixel != 32) {
        EXPECT_FALSE(GetBitmapBits32(hDC, hDdb, pInfo, pBits, nSize)) << "only 32-bit bitmaps";
    }
    DeleteObject(hDdb);
    ReleaseDC(nullptr, hDC);
    EXPECT_FALSE(GetBitmapBits32(nullptr, nullptr, pInfo, pBits, nSize));
    EXPECT_EQ(FlipBitmap(nullptr), nullptr);
    EXPECT_EQ(PremultiplyAlpha(nullptr, nullptr, nullptr), nullptr);

    BYTE* pDibBits = nullptr;
    HBITMAP hDib = CreateDib32(nullptr, 3, 5, &pDibBits);
    DIBSECTION ds = {};
    ASSERT_EQ(GetObjectA(hDib, sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
    EXPECT_EQ(ds.dsBmih.biHeight, 5) << "bottom-up";
    EXPECT_EQ(ds.dsBm.bmBits, pDibBits);
    DeleteObject(hDib);
}

// A theme image is premultiplied unless the theme asks for straight alpha.
TEST(ThemeImage, PremultiplyingFollowsTheSchema)
{
    CTempFolder folder;
    // Storage: a transparent row, then a half-transparent one.
    std::vector<uint32_t> pixels = {0x80C86432, 0x80C86432, 0x00FFFFFF, 0x00FFFFFF};
    ASSERT_TRUE(WriteBytes(folder.File("half.bmp"), MakeBmpFile(MakePackedDib(2, 2, 32, pixels))));
    std::vector<uint32_t> opaque(4, 0xFF336699);
    ASSERT_TRUE(WriteBytes(folder.File("opaque.bmp"), MakeBmpFile(MakePackedDib(2, 2, 32, opaque))));

    struct {
        const char* pszDocumentation;
        bool bPremultiplied;
    } cases[] = {{"AlphaLevel = 0", true}, {"AlphaLevel = 255", false}};
    CXTPSkinEngine* pEngine = CXTPSkinEngine::GetInstance();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszDocumentation);
        ASSERT_TRUE(WriteBytes(folder.File("t.ini"), std::string("[Documentation]\r\n") + c.pszDocumentation));
        ASSERT_TRUE(pEngine->LoadTheme(folder.Path().c_str(), "t.ini"));
        CXTPSkinThemeClass* pClass = pEngine->GetThemeClass("BUTTON");
        CXTPSkinThemeImage* pHalf = pClass->GetImage("half.bmp");
        ASSERT_NE(pHalf, nullptr);
        EXPECT_TRUE(pHalf->HasAlpha());
        EXPECT_EQ(ReadPixels(pHalf->GetBitmap()).At(0, 0), c.bPremultiplied ? 0x80643219u : 0x80C86432u);
        CXTPSkinThemeImage* pOpaque = pClass->GetImage("opaque.bmp");
        ASSERT_NE(pOpaque, nullptr);
        EXPECT_EQ(pOpaque->HasAlpha() != FALSE, !c.bPremultiplied) << "an unused alpha channel is found only "
                                                                      "while premultiplying";
        RECT rc = pOpaque->GetFrameRect(1, 2);
        EXPECT_EQ(rc.top, 1);
        EXPECT_EQ(rc.bottom, 2);
        EXPECT_EQ(rc.right, 2);
    }
    pEngine->LoadTheme("", nullptr);

    CXTPSkinThemeImage image;
    EXPECT_FALSE(image.LoadFromResource(nullptr, "X"));
    EXPECT_FALSE(image.LoadFromFile(folder.File("none.bmp").c_str()));
    EXPECT_EQ(image.GetBitmap(), nullptr);
}

}  // namespace
