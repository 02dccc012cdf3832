// Damaged theme data: garbled and truncated INI text, missing images,
// corrupt PNG and BMP data, and a deterministic fuzz loop over the real
// packages' own INI text and images. Everything must end in an ignored line
// or a null image: no crash, no leak.
#include "ThemeTestSupport.h"
#include "XTPSkinBitmap.h"
#include "XTPSkinPngBitmap.h"
#include "XTPSkinThemeFile.h"
#include "XTPSkinThemeImage.h"
#include "XTPSkinThemeSchema.h"

#include <gtest/gtest.h>
#include <vssym32.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace themetest;

namespace {

// A small deterministic generator (xorshift), so every run mutates alike.
class CRandom {
public:
    explicit CRandom(uint32_t nSeed) : m_n(nSeed ? nSeed : 1) {}
    uint32_t Next()
    {
        m_n ^= m_n << 13;
        m_n ^= m_n >> 17;
        m_n ^= m_n << 5;
        return m_n;
    }
    size_t Below(size_t n) { return n ? Next() % n : 0; }

private:
    uint32_t m_n;
};

// Characters that mean something to the INI grammar or the text reader.
const char g_special[] = {'\r', '\n', '[', ']', '=', ';', ',', '(', ')', ':', '.', '\\', ' ', '\t', '%', '0',
                          '9', '-', 'x', '\0', '\xFF', '\xFE', '\xD8', '\xDC'};

// One random change: flipped bits, special or random bytes, a 32-bit value
// written over anything, a cut, an insertion, a deletion or a repeat.
void Mutate(Bytes& data, CRandom& rnd)
{
    size_t n = data.size();
    switch (rnd.Below(8)) {
    case 0:
        if (n)
            data[rnd.Below(n)] ^= static_cast<char>(1 << rnd.Below(8));
        break;
    case 1:
        if (n)
            data[rnd.Below(n)] = g_special[rnd.Below(sizeof(g_special))];
        break;
    case 2:
        if (n)
            data[rnd.Below(n)] = static_cast<char>(rnd.Next());
        break;
    case 3:
        if (n >= 4) {
            static const uint32_t values[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFF, 0x10000, 255, 256};
            uint32_t v = rnd.Below(2) ? values[rnd.Below(9)] : rnd.Next();
            memcpy(&data[rnd.Below(n - 3)], &v, 4);
        }
        break;
    case 4:
        data.resize(rnd.Below(n + 1));
        break;
    case 5: {
        Bytes insert(1 + rnd.Below(16), '\0');
        for (char& ch : insert)
            ch = rnd.Below(2) ? g_special[rnd.Below(sizeof(g_special))] : static_cast<char>(rnd.Next());
        data.insert(rnd.Below(n + 1), insert);
        break;
    }
    case 6:
        if (n) {
            size_t nPos = rnd.Below(n);
            data.erase(nPos, 1 + rnd.Below(std::min<size_t>(64, n - nPos)));
        }
        break;
    case 7:
        if (n) {
            size_t nPos = rnd.Below(n);
            Bytes piece = data.substr(nPos, 1 + rnd.Below(64));
            data.insert(rnd.Below(n + 1), piece);
        }
        break;
    }
}

// Parses INI bytes as a text resource would hand them out; the schema must
// come out usable whatever the text.
int ParseText(const Bytes& text)
{
    CTextThemeFile file;
    file.SetTextBytes(text);
    CXTPSkinThemeSchema schema(nullptr);
    EXPECT_EQ(schema.ParseIni(&file), 0);
    int nValue = 0;
    schema.GetInt(XTP_SKINCLASS_BUTTON, 1, 2, TMT_IMAGECOUNT, nValue);
    LOGFONTA lf;
    schema.GetFont(XTP_SKINCLASS_SYSMETRICS, 0, 0, TMT_CAPTIONFONT, lf);
    return schema.GetValueCount();
}

// Decodes PNG bytes; a bitmap that results must be a real one.
bool DecodePng(const Bytes& png)
{
    CXTPSkinPngBitmap bitmap;
    if (!bitmap.LoadFromMemory(png.data(), png.size())) {
        EXPECT_EQ(bitmap.m_hObject, nullptr);
        return false;
    }
    BITMAP bm = {};
    EXPECT_NE(GetObjectA(bitmap.m_hObject, sizeof(bm), &bm), 0);
    return true;
}

bool DecodeDib(const Bytes& dib)
{
    BOOL bAlpha = FALSE;
    HBITMAP hBitmap = CreateBitmapFromPackedDib(dib.data(), static_cast<DWORD>(dib.size()), &bAlpha);
    if (!hBitmap)
        return false;
    BITMAP bm = {};
    EXPECT_NE(GetObjectA(hBitmap, sizeof(bm), &bm), 0);
    if (bAlpha) {
        BOOL nHasAlpha = 0;
        HBITMAP hPremultiplied = PremultiplyAlpha(hBitmap, &nHasAlpha, nullptr);
        if (hPremultiplied)
            DeleteObject(hPremultiplied);
    }
    DeleteObject(hBitmap);
    return true;
}

// The INI texts and images of the real packages: Wine's light.msstyles and
// Tavmio's own vista.cjstyles.
struct RealData {
    std::vector<Bytes> texts;
    std::vector<Bytes> pngs;
    std::vector<Bytes> dibs;
};

BOOL CALLBACK CollectResource(HMODULE hModule, LPCSTR pszType, LPSTR pszName, LONG_PTR lParam)
{
    RealData* pData = reinterpret_cast<RealData*>(lParam);
    HRSRC hResource = FindResourceA(hModule, pszName, pszType);
    HGLOBAL hData = hResource ? LoadResource(hModule, hResource) : nullptr;
    const char* p = hData ? static_cast<const char*>(LockResource(hData)) : nullptr;
    if (!p)
        return TRUE;
    Bytes data(p, SizeofResource(hModule, hResource));
    if (IS_INTRESOURCE(pszType))
        pData->dibs.push_back(data);
    else if (lstrcmpiA(pszType, "PNG") == 0)
        pData->pngs.push_back(data);
    else
        pData->texts.push_back(data);
    return TRUE;
}

const RealData& GetRealData()
{
    static RealData s_data;
    static bool s_bLoaded = false;
    if (!s_bLoaded) {
        s_bLoaded = true;
        for (const std::string& strPath : {OwnPackagePath(), LightPackagePath()}) {
            if (strPath.empty())
                continue;
            HMODULE hModule = LoadLibraryExA(strPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
            if (!hModule)
                continue;
            for (LPCSTR pszType : {static_cast<LPCSTR>(RT_BITMAP), "PNG", "TEXTFILE"})
                EnumResourceNamesA(hModule, pszType, CollectResource, reinterpret_cast<LONG_PTR>(&s_data));
            FreeLibrary(hModule);
        }
    }
    return s_data;
}

TEST(ThemeRobustness, GarbledIniText)
{
    std::string strLong(200000, 'A');
    struct {
        const char* pszName;
        Bytes text;
    } cases[] = {
        {"binary noise", Bytes("\x00\xD8\x00\xDC\xFF\xFF\r\x00\x0D\x00\x0A\x00[\x00", 14)},
        {"a line of 200000 characters", Utf16("[Globals]\r\nText = " + strLong + "\r\n" + strLong + "\r\n")},
        {"brackets alone", Utf16("[\r\n]\r\n[]\r\n[[[[\r\n]]]]\r\n[=]\r\n=\r\n;\r\n;;\r\n")},
        {"NUL characters", Utf16(std::string("[Glo\0bals]\r\nBorder\0Size = 3\r\nBorderSize = 4\0 5\r\n", 48))},
        {"huge numbers",
         Utf16("[Button]\r\nTextColor = 99999999999999999999 -99999999999999999999 0x7FFFFFFFFFFFFFFFFFF\r\n"
               "SizingMargins = 2147483648, -2147483649, 99999999999999999999, -0\r\n"
               "Offset = 0x, 0x\r\nWidth = -99999999999999999999\r\nImageCount = 2147483648\r\n")},
        {"format characters", Utf16("[SysMetrics]\r\nCaptionFont = %s%n%s, %n, %s%s%s\r\nText = %s%n\r\n")},
        {"long font parts",
         Utf16("[SysMetrics]\r\nCaptionFont = " + std::string(500, 'F') + ", " + std::string(300, '9') + ", " +
               std::string(500, 'B') + "\r\nMenuFont = ,,,,\r\nStatusFont = Tahoma,\r\n")},
        {"surrogates and high characters", Bytes("[\x00G\x00\x00\xD8L\x00]\x00\r\x00\x00\xDC=\x00\x20\xAC\r\x00", 20)},
        {"odd length", Utf16("[Globals]\r\nBorderSize = 1\r\n") + "\x41"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        ParseText(c.text);
    }
}

TEST(ThemeRobustness, TruncatedIniResources)
{
    std::string strOwn = OwnPackagePath();
    if (strOwn.empty())
        GTEST_SKIP() << "vista.cjstyles is not built beside the program";
    HMODULE hModule = LoadLibraryExA(strOwn.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(hModule, nullptr);
    Bytes text = ReadModuleResource(hModule, "TEXTFILE", "DAYLIGHT_INI");
    FreeLibrary(hModule);
    ASSERT_GT(text.size(), 1000u);

    CTempFolder folder;
    int nPrevious = -1;
    for (size_t nLength : {size_t(1), size_t(2), size_t(3), size_t(777), size_t(2001), text.size() / 2 + 1,
                           text.size() - 3, text.size()}) {
        SCOPED_TRACE(nLength);
        std::string strPath = folder.File("cut" + std::to_string(nLength) + ".cjstyles");
        CPackageWriter writer(strPath);
        writer.Add("TEXTFILE", "CUT_INI", text.substr(0, nLength));
        ASSERT_TRUE(writer.Write());
        CXTPSkinThemeFile file;
        ASSERT_TRUE(file.Open(strPath.c_str(), "cut.ini"));
        std::unique_ptr<CXTPSkinThemeSchema> pSchema(file.CreateSchema());
        EXPECT_EQ(pSchema->ParseIni(&file), 0);
        EXPECT_GE(pSchema->GetValueCount(), nPrevious) << "a longer text never gives fewer values";
        nPrevious = pSchema->GetValueCount();
        EXPECT_EQ(file.LoadImage("NOSUCHIMAGE.PNG"), nullptr);
    }
}

TEST(ThemeRobustness, CorruptPng)
{
    Bytes good = MakePng(3, 2, 8, 6, {Bytes(12, '\x40'), Bytes(12, '\x80')});
    ASSERT_TRUE(DecodePng(good));
    for (size_t nLength = 0; nLength < good.size(); nLength++)
        EXPECT_FALSE(DecodePng(good.substr(0, nLength))) << "cut to " << nLength << " bytes";

    auto withHeader = [](uint32_t nWidth, uint32_t nHeight, int nDepth, int nType) {
        return MakePng(nWidth, nHeight, nDepth, nType, {Bytes(16, '\x11')});
    };
    Bytes badHeaderCrc = good;
    badHeaderCrc[8 + 8 + 13] ^= 1;
    Bytes badDataCrc = good;
    badDataCrc[good.size() - 12 - 1] ^= 1;
    Bytes badText = MakePng(3, 2, 8, 6, {Bytes(12, '\x40'), Bytes(12, '\x80')}, {{"tEXt", Bytes("Key\0value", 9)}});
    size_t nText = badText.find("tEXt");
    badText[nText + 4 + 9] ^= 1;  // the CRC of an ancillary chunk only
    Bytes badZlib = good;
    size_t nData = good.find("IDAT") + 4;
    badZlib[nData] = '\x00';
    badZlib[nData + 1] = '\x00';
    FixPngCrcs(badZlib);
    Bytes hugeChunk = good;
    hugeChunk.replace(good.find("IDAT") - 4, 4, Bytes("\x7F\xFF\xFF\xFF", 4));

    struct {
        const char* pszName;
        Bytes png;
        bool bDecodes;
    } cases[] = {
        {"bad header CRC", badHeaderCrc, false},
        {"bad data CRC", badDataCrc, false},
        {"bad CRC of a text chunk", badText, true},
        {"broken compressed data", badZlib, false},
        {"chunk length beyond the data", hugeChunk, false},
        {"more rows than data", withHeader(4, 100, 8, 2), false},
        {"huge dimensions", withHeader(1000000, 1000000, 8, 6), false},
        {"too many pixels for memory", withHeader(16384, 16384, 8, 6), false},
        {"zero width", withHeader(0, 1, 8, 2), false},
        {"invalid colour type", withHeader(1, 1, 8, 7), false},
        {"invalid bit depth", withHeader(1, 1, 3, 2), false},
        {"palette image without palette", withHeader(1, 1, 8, 3), false},
        {"signature only", good.substr(0, 8), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodePng(c.png), c.bDecodes) << c.pszName;

    CTempFolder folder;
    ASSERT_TRUE(WriteBytes(folder.File("cut.png"), good.substr(0, good.size() / 2)));
    BOOL bAlpha = FALSE;
    EXPECT_EQ(LoadBitmapFile(folder.File("cut.png").c_str(), &bAlpha), nullptr);
}

TEST(ThemeRobustness, CorruptBmp)
{
    std::vector<uint32_t> pixels(12, 0x80402010);
    Bytes dib = MakePackedDib(4, 3, 32, pixels);
    Bytes dib8 = MakePackedDib(4, 3, 8, std::vector<uint32_t>(12, 7), std::vector<uint32_t>(256, 0x123456));
    auto with = [](Bytes data, size_t nOffset, uint32_t nValue, size_t nSize = 4) {
        memcpy(&data[nOffset], &nValue, nSize);
        return data;
    };
    const size_t WIDTH = 4, HEIGHT = 8, BITS = 14, COMPRESSION = 16, CLRUSED = 32;
    struct {
        const char* pszName;
        Bytes dib;
        bool bLoads;
        bool bAsFile;  // the same expectation for a BMP file of these bytes
    } cases[] = {
        {"good", dib, true, true},
        {"top-down rows", with(dib, HEIGHT, static_cast<uint32_t>(-3)), true, true},
        {"huge width", with(dib, WIDTH, 0x7FFFFFFF), false, true},
        {"huge height", with(dib, HEIGHT, 0x7FFFFFFF), false, true},
        {"most negative height", with(dib, HEIGHT, 0x80000000), false, true},
        {"negative width", with(dib, WIDTH, static_cast<uint32_t>(-4)), false, true},
        {"width and height that overflow together", with(with(dib, WIDTH, 0x10000), HEIGHT, 0x10000), false, true},
        {"no pixels", with(dib, HEIGHT, 0), false, true},
        {"bit count 0", with(dib, BITS, 0, 2), false, true},
        {"bit count 7", with(dib, BITS, 7, 2), false, true},
        {"bit count 64", with(dib, BITS, 64, 2), false, true},
        {"more rows than data", with(dib, HEIGHT, 4), false, true},
        {"huge header size", with(dib, 0, 0xFFFFFFFF), false, true},
        {"small header size", with(dib, 0, 12), false, true},
        {"JPEG compression", with(dib, COMPRESSION, BI_JPEG), false, true},
        {"run-length compression", with(dib8, COMPRESSION, BI_RLE8), false, false},
        {"huge colour count", with(dib8, CLRUSED, 0xFFFFFFFF), false, false},
        {"colour count past the data", with(dib8, CLRUSED, 256 + 1), false, false},
        {"masks without room", with(dib, COMPRESSION, BI_BITFIELDS).substr(0, 40 + 48), false, false},
        {"header cut", dib.substr(0, 39), false, false},
        {"empty", Bytes(), false, false},
    };
    CTempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(DecodeDib(c.dib), c.bLoads);
        if (c.bAsFile) {
            std::string strPath = folder.File("x.bmp");
            ASSERT_TRUE(WriteBytes(strPath, MakeBmpFile(dib).substr(0, 14) + c.dib));
            BOOL bAlpha = FALSE;
            HBITMAP hBitmap = LoadBitmapFile(strPath.c_str(), &bAlpha);
            EXPECT_EQ(hBitmap != nullptr, c.bLoads) << "as a file";
            if (hBitmap)
                DeleteObject(hBitmap);
        }
    }
    Bytes file = MakeBmpFile(dib);
    for (size_t nLength : {size_t(0), size_t(2), size_t(14), size_t(53), file.size() - 1}) {
        std::string strPath = folder.File("cut.bmp");
        ASSERT_TRUE(WriteBytes(strPath, file.substr(0, nLength)));
        EXPECT_EQ(LoadBitmapFile(strPath.c_str(), nullptr), nullptr) << "cut to " << nLength;
    }
    Bytes offsetPast = file;
    uint32_t nOffset = static_cast<uint32_t>(file.size());
    memcpy(&offsetPast[10], &nOffset, 4);
    ASSERT_TRUE(WriteBytes(folder.File("offset.bmp"), offsetPast));
    EXPECT_EQ(LoadBitmapFile(folder.File("offset.bmp").c_str(), nullptr), nullptr);
}

TEST(ThemeRobustness, FailuresLeakNothing)
{
    Bytes png = MakePng(64, 64, 8, 6, std::vector<Bytes>(64, Bytes(256, '\x33')));
    Bytes cutPng = png.substr(0, png.size() - 20);
    Bytes dib = MakePackedDib(4, 3, 32, std::vector<uint32_t>(12, 0x80402010));
    Bytes cutDib = dib.substr(0, dib.size() - 1);
    auto round = [&]() {
        for (int i = 0; i < 50; i++) {
            EXPECT_FALSE(DecodePng(cutPng));
            EXPECT_TRUE(DecodePng(png));
            EXPECT_FALSE(DecodeDib(cutDib));
            EXPECT_TRUE(DecodeDib(dib));
        }
    };
    round();  // warm-up: first allocations of the heap and GDI
    size_t nBytesBefore = GetPrivateBytes();
    DWORD nGdiBefore = GetGdiObjectCount();
    for (int i = 0; i < 20; i++)
        round();
    size_t nBytesAfter = GetPrivateBytes();
    // A lost read structure or pixel buffer per failure would be well over
    // a megabyte in 1000 failures.
    EXPECT_LT(nBytesAfter > nBytesBefore ? nBytesAfter - nBytesBefore : 0u, 1024u * 1024u);
    EXPECT_EQ(GetGdiObjectCount(), nGdiBefore);
}

TEST(ThemeRobustness, FuzzRealPackages)
{
    const RealData& data = GetRealData();
    if (data.texts.empty() || data.pngs.empty() || data.dibs.empty())
        GTEST_SKIP() << "no theme package to take data from";

    size_t nBytesBefore = GetPrivateBytes();
    DWORD nGdiBefore = GetGdiObjectCount();
    int nTexts = 0, nPngs = 0, nPngsDecoded = 0, nDibs = 0, nDibsDecoded = 0;
    CRandom rnd(20261211);
    // INI text: slices of the real texts, each changed a few times.
    for (int i = 0; i < 1200; i++) {
        const Bytes& text = data.texts[rnd.Below(data.texts.size())];
        size_t nStart = rnd.Below(text.size()) & ~size_t(1);
        Bytes slice = text.substr(nStart, 512 + rnd.Below(6000));
        int nChanges = 1 + static_cast<int>(rnd.Below(6));
        for (int k = 0; k < nChanges; k++)
            Mutate(slice, rnd);
        ParseText(slice);
        nTexts++;
    }
    // PNG images, half of them with their chunk checksums repaired so the
    // damage reaches the decoder proper.
    for (int i = 0; i < 1200; i++) {
        Bytes png = data.pngs[rnd.Below(data.pngs.size())];
        int nChanges = 1 + static_cast<int>(rnd.Below(4));
        for (int k = 0; k < nChanges; k++)
            Mutate(png, rnd);
        if (rnd.Below(2))
            FixPngCrcs(png);
        nPngsDecoded += DecodePng(png) ? 1 : 0;
        nPngs++;
    }
    // Bitmap resources, with the header hit more often than the pixels.
    for (int i = 0; i < 1200; i++) {
        Bytes dib = data.dibs[rnd.Below(data.dibs.size())];
        if (rnd.Below(2) && dib.size() >= 60) {
            uint32_t v = rnd.Below(3) ? rnd.Next() : static_cast<uint32_t>(rnd.Below(300));
            memcpy(&dib[rnd.Below(56)], &v, rnd.Below(2) ? 4 : 2);
        } else {
            Mutate(dib, rnd);
        }
        nDibsDecoded += DecodeDib(dib) ? 1 : 0;
        nDibs++;
    }
    printf("fuzz: %d INI texts, %d PNG images (%d decoded), %d bitmaps (%d decoded)\n", nTexts, nPngs,
           nPngsDecoded, nDibs, nDibsDecoded);
    EXPECT_GT(nPngsDecoded, 0) << "some changes leave an image readable";
    EXPECT_GT(nDibsDecoded, 0);
    EXPECT_LT(nPngsDecoded, nPngs);
    EXPECT_LT(nDibsDecoded, nDibs);
    EXPECT_EQ(GetGdiObjectCount(), nGdiBefore);
    size_t nBytesAfter = GetPrivateBytes();
    EXPECT_LT(nBytesAfter > nBytesBefore ? nBytesAfter - nBytesBefore : 0u, 8u * 1024u * 1024u);
}

}  // namespace
