// Theme packages: module and folder form, the INI text's line rules, the
// default variant, the schema choice and the current theme name; Wine's
// light.msstyles and Tavmio's own vista.cjstyles read end to end.
#include "ThemeTestSupport.h"
#include "XTPSkinBitmap.h"
#include "XTPSkinEngine.h"
#include "XTPSkinThemeClass.h"
#include "XTPSkinThemeFile.h"
#include "XTPSkinThemeImage.h"
#include "XTPSkinThemeSchema.h"

#include <gtest/gtest.h>
#include <vssym32.h>

#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace themetest;

namespace {

std::vector<std::string> ReadAllLines(CXTPSkinThemeFile& file)
{
    std::vector<std::string> lines;
    CString strLine;
    while (file.ReadLine(strLine) && lines.size() < 100000)
        lines.push_back(strLine.Str());
    return lines;
}

// A module package written for one test.
class ThemePackageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (OwnPackagePath().empty())
            GTEST_SKIP() << "vista.cjstyles is not built beside the program";
    }
    CTempFolder m_folder;
};

TEST_F(ThemePackageTest, IniTextLineRules)
{
    struct {
        const char* pszName;
        Bytes text;
        std::vector<std::string> lines;
    } cases[] = {
        {"CR LF lines", Utf16("[Globals]\r\nA = 1\r\n"), {"[Globals]", "A = 1"}},
        {"last line without CR is not read", Utf16("one\r\ntwo"), {"one"}},
        {"LF-only text has no lines", Utf16("one\ntwo\n"), {}},
        {"CR alone ends a line", Utf16("one\rtwo\r"), {"one", "two"}},
        {"only one LF belongs to the line end", Utf16("one\r\n\ntwo\r"), {"one", "\ntwo"}},
        {"byte-order mark is not part of the first line", Utf16("one\r\n", true), {"one"}},
        {"empty lines", Utf16("\r\n\r\nx\r\n"), {"", "", "x"}},
        {"odd last byte dropped", Utf16("one\r") + "x", {"one"}},
        {"byte-order mark only", Utf16("", true), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::string strPath = m_folder.File("lines.cjstyles");
        CPackageWriter writer(strPath);
        writer.Add("TEXTFILE", "TEST_INI", c.text);
        ASSERT_TRUE(writer.Write());
        CXTPSkinThemeFile file;
        ASSERT_TRUE(file.Open(strPath.c_str(), "Test.ini"));
        EXPECT_EQ(ReadAllLines(file), c.lines);
        CString strLine;
        EXPECT_FALSE(file.ReadLine(strLine)) << "stays at the end";
    }
}

TEST_F(ThemePackageTest, IniNamesBecomeResourceNames)
{
    std::string strPath = m_folder.File("names.cjstyles");
    CPackageWriter writer(strPath);
    writer.Add("TEXTFILE", "NORMALBLUE_INI", Utf16("normal\r\n"));
    writer.Add("TEXTFILE", "BLUE_NORMAL_INI", Utf16("blue normal\r\n"));
    ASSERT_TRUE(writer.Write());

    struct {
        const char* pszIni;
        const char* pszFirstLine;  // null: Open fails
    } cases[] = {
        {"NormalBlue.ini", "normal"},
        {"normalblue_INI", "normal"},
        {"Blue\\Normal.ini", "blue normal"},
        {"Blue.Normal.ini", "blue normal"},
        {"Missing.ini", nullptr},
        {"", nullptr},  // the package has no THEMES_INI
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszIni);
        CXTPSkinThemeFile file;
        BOOL bOpen = file.Open(strPath.c_str(), c.pszIni);
        EXPECT_EQ(bOpen != FALSE, c.pszFirstLine != nullptr);
        EXPECT_EQ(file.GetPath().Str(), strPath) << "kept even when Open fails";
        if (c.pszFirstLine) {
            EXPECT_NE(file.GetThemeModule(), nullptr);
            EXPECT_FALSE(file.IsFolderForm());
            CString strLine;
            ASSERT_TRUE(file.ReadLine(strLine));
            EXPECT_EQ(strLine.Str(), c.pszFirstLine);
        } else {
            CString strLine;
            EXPECT_FALSE(file.ReadLine(strLine));
        }
    }
}

TEST_F(ThemePackageTest, DefaultVariantFromTheIndex)
{
    struct {
        const char* pszName;
        std::string strIndex;  // empty: no THEMES_INI
        const char* pszDefault;
        bool bOpens;
    } cases[] = {
        {"first File header", "[Documentation]\r\n[File.NormalBlue]\r\n[File.Other]\r\n", "NormalBlue_ini", true},
        {"lower-case header", "[file.NormalBlue]\r\n", "", false},
        {"header without closing bracket", "[File.NormalBlue", "", false},
        {"no File header", "[Documentation]\r\nDisplayName = x\r\n", "", false},
        {"no index", "", "", false},
        {"variant without its text", "[File.Nothing]\r\n", "Nothing_ini", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::string strPath = m_folder.File("index.cjstyles");
        CPackageWriter writer(strPath);
        if (!c.strIndex.empty())
            writer.Add("TEXTFILE", "THEMES_INI", Utf16(c.strIndex));
        writer.Add("TEXTFILE", "NORMALBLUE_INI", Utf16("normal blue\r\n"));
        ASSERT_TRUE(writer.Write());
        CXTPSkinThemeFile file;
        EXPECT_EQ(file.Open(strPath.c_str(), nullptr) != FALSE, c.bOpens);
        EXPECT_EQ(file.GetIniName().Str(), c.pszDefault);
        EXPECT_EQ(file.GetDefaultIniName().Str(), c.pszDefault);
    }
}

TEST_F(ThemePackageTest, StyleNameChoosesTheSchema)
{
    struct {
        const char* pszStyle;  // null: no string 5000
        bool bOffice2007;
    } cases[] = {
        {"Office 2007 Style", true},
        {"OFFICE 2007 STYLE", true},
        {"Office 2007", false},
        {"Tavmio Daylight Style", false},
        {nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszStyle ? c.pszStyle : "(none)");
        std::string strPath = m_folder.File("style.cjstyles");
        CPackageWriter writer(strPath);
        writer.Add("TEXTFILE", "A_INI", Utf16("[Globals]\r\n"));
        if (c.pszStyle)
            writer.AddString(5000, c.pszStyle);
        writer.AddString(5001, "another string");
        ASSERT_TRUE(writer.Write());
        CXTPSkinThemeFile file;
        ASSERT_TRUE(file.Open(strPath.c_str(), "a.ini"));
        EXPECT_EQ(file.IsOffice2007Style() != FALSE, c.bOffice2007);
        std::unique_ptr<CXTPSkinThemeSchema> pSchema(file.CreateSchema());
        ASSERT_NE(pSchema, nullptr);
    }
}

TEST_F(ThemePackageTest, SecondOpenFreesTheFirstModule)
{
    std::string strFirst = m_folder.File("first.cjstyles");
    std::string strSecond = m_folder.File("second.cjstyles");
    for (const std::string& strPath : {strFirst, strSecond}) {
        CPackageWriter writer(strPath);
        writer.Add("TEXTFILE", "A_INI", Utf16("line\r\n"));
        ASSERT_TRUE(writer.Write());
    }
    CXTPSkinThemeFile file;
    ASSERT_TRUE(file.Open(strFirst.c_str(), "a.ini"));
    HMODULE hFirst = file.GetThemeModule();
    ASSERT_NE(hFirst, nullptr);
    EXPECT_EQ(GetModuleHandleA(strFirst.c_str()), hFirst) << "a resource-only module loads as a module";

    // Even a failing second Open releases the first package.
    EXPECT_FALSE(file.Open(strSecond.c_str(), "missing.ini"));
    EXPECT_EQ(GetModuleHandleA(strFirst.c_str()), nullptr);
    CString strLine;
    EXPECT_FALSE(file.ReadLine(strLine)) << "no text is read from a released module";

    ASSERT_TRUE(file.Open(strFirst.c_str(), "a.ini"));
    ASSERT_TRUE(file.Open(strSecond.c_str(), "a.ini"));
    EXPECT_EQ(GetModuleHandleA(strFirst.c_str()), nullptr);
    file.Close();
    EXPECT_EQ(GetModuleHandleA(strSecond.c_str()), nullptr);
    EXPECT_EQ(file.GetThemeModule(), nullptr);
}

TEST_F(ThemePackageTest, ModuleImagesAndMissingPackages)
{
    std::string strPath = m_folder.File("images.cjstyles");
    std::vector<uint32_t> pixels = {0xFF102030, 0x80405060, 0x00000000, 0xFFFFFFFF};
    CPackageWriter writer(strPath);
    writer.Add("TEXTFILE", "A_INI", Utf16("[Button]\r\nImageFile = Dir\\Pic.png\r\n"));
    writer.Add("PNG", "DIR_PIC_PNG",
               MakePng(2, 1, 8, 6, {Bytes("\x10\x20\x30\xFF\x40\x50\x60\x80", 8)}));
    writer.AddBitmap("OTHER_BMP", MakePackedDib(2, 2, 32, pixels));
    writer.Add("PNG", "NOTPNG_BMP", Bytes("BM not a png"));
    writer.AddBitmap("NOTPNG_BMP", MakePackedDib(2, 2, 24, pixels));
    ASSERT_TRUE(writer.Write());

    CXTPSkinThemeFile file;
    ASSERT_TRUE(file.Open(strPath.c_str(), "a.ini"));
    std::unique_ptr<CXTPSkinThemeImage> pPng(file.LoadImage("DIR\\PIC.PNG"));
    ASSERT_NE(pPng, nullptr);
    EXPECT_EQ(pPng->GetWidth(), 2);
    EXPECT_TRUE(pPng->HasAlpha());
    std::unique_ptr<CXTPSkinThemeImage> pBmp(file.LoadImage("other.bmp"));
    ASSERT_NE(pBmp, nullptr);
    EXPECT_EQ(pBmp->GetHeight(), 2);
    EXPECT_TRUE(pBmp->HasAlpha());
    // A "PNG" resource without the signature gives way to the bitmap.
    std::unique_ptr<CXTPSkinThemeImage> pFallback(file.LoadImage("NOTPNG.BMP"));
    ASSERT_NE(pFallback, nullptr);
    EXPECT_FALSE(pFallback->HasAlpha());
    EXPECT_EQ(file.LoadImage("missing.png"), nullptr);
    EXPECT_EQ(file.LoadImage(""), nullptr);

    CXTPSkinThemeFile missing;
    EXPECT_FALSE(missing.Open(m_folder.File("nothing.cjstyles").c_str(), nullptr));
    EXPECT_FALSE(missing.Open("", "a.ini"));
    EXPECT_EQ(missing.LoadImage("other.bmp"), nullptr);
    ASSERT_TRUE(WriteBytes(m_folder.File("text.cjstyles"), "not a module at all"));
    EXPECT_FALSE(missing.Open(m_folder.File("text.cjstyles").c_str(), nullptr));
}

TEST(ThemeFolder, FolderFormReadsTheFileAndImagesBesideIt)
{
    CTempFolder folder;
    ASSERT_TRUE(WriteBytes(folder.File("Theme.ini"), "[Button]\r\nImageFile = Pic.bmp\nBorderSize = 2\r\nlast"));
    std::vector<uint32_t> pixels(4, 0x00FF0000);
    ASSERT_TRUE(WriteBytes(folder.File("pic.bmp"), MakeBmpFile(MakePackedDib(2, 2, 24, pixels))));
    CreateDirectoryA(folder.File("dir.bmp").c_str(), nullptr);

    CXTPSkinThemeFile file;
    ASSERT_TRUE(file.Open(folder.Path().c_str(), "Theme.ini"));
    EXPECT_TRUE(file.IsFolderForm());
    EXPECT_EQ(file.GetThemeModule(), nullptr);
    EXPECT_EQ(ReadAllLines(file), (std::vector<std::string>{"[Button]", "ImageFile = Pic.bmp", "BorderSize = 2",
                                                            "last"}));
    std::unique_ptr<CXTPSkinThemeImage> pImage(file.LoadImage("PIC.BMP"));
    ASSERT_NE(pImage, nullptr) << "images load after the INI file was read to its end";
    EXPECT_EQ(pImage->GetWidth(), 2);
    EXPECT_EQ(file.LoadImage("DIR.BMP"), nullptr) << "a folder is not an image";
    EXPECT_EQ(file.LoadImage("none.bmp"), nullptr);
    std::unique_ptr<CXTPSkinThemeSchema> pSchema(file.CreateSchema());
    EXPECT_EQ(pSchema->GetSchemaName().Str(), "Default");
    RemoveDirectoryA(folder.File("dir.bmp").c_str());

    // An INI name that is no file beside the path makes the path a module.
    EXPECT_FALSE(file.Open(folder.Path().c_str(), "Other.ini"));
    EXPECT_FALSE(file.IsFolderForm());
}

TEST(ThemeFolder, CurrentThemeName)
{
    EXPECT_EQ(XTPSkinGetCurrentThemeName(nullptr, nullptr, 0, nullptr, 0, nullptr, 0), E_FAIL);

    CTempFolder folder;
    struct {
        const char* pszIni;
        const wchar_t* pszColor;
    } cases[] = {
        {"NormalBlue.ini", L"normalcolor"},
        {"Metallic.ini", L"METALLIC.INI"},  // at the first character: not taken
        {"Blue.ini", L"BLUE.INI"},
        {"NormalMetallic.ini", L"metallic"},
        {"HomesteadBlue.ini", L"normalcolor"},
        {"NormalHomestead.ini", L"homestead"},
        {"Daylight.ini", L"DAYLIGHT.INI"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszIni);
        ASSERT_TRUE(WriteBytes(folder.File(c.pszIni), "[Globals]\r\n"));
        CXTPSkinThemeFile file;
        ASSERT_TRUE(file.Open(folder.Path().c_str(), c.pszIni));
        wchar_t szName[MAX_PATH] = L"unchanged", szColor[64] = L"unchanged", szSize[64] = L"unchanged";
        EXPECT_EQ(XTPSkinGetCurrentThemeName(&file, szName, MAX_PATH, szColor, 64, szSize, 64), S_OK);
        EXPECT_EQ(std::wstring(szName), std::wstring(folder.Path().begin(), folder.Path().end()));
        EXPECT_EQ(std::wstring(szColor), std::wstring(c.pszColor));
        EXPECT_EQ(std::wstring(szSize), L"unchanged");

        // Buffers too small for the text and its terminator stay as they are.
        wchar_t szShort[4] = L"abc";
        int nPathLength = static_cast<int>(folder.Path().size());
        wchar_t szPath[MAX_PATH] = L"same";
        EXPECT_EQ(XTPSkinGetCurrentThemeName(&file, szPath, nPathLength, szShort, 4, nullptr, 0), S_OK);
        EXPECT_EQ(std::wstring(szPath), L"same");
        EXPECT_EQ(std::wstring(szShort), L"abc");
    }
}

// Wine's own theme package, a real package nobody here wrote.
TEST(ThemeLight, OpensOnlyWithItsVariantName)
{
    std::string strPath = LightPackagePath();
    if (strPath.empty())
        GTEST_SKIP() << "light.msstyles not found";
    CXTPSkinThemeFile file;
    EXPECT_FALSE(file.Open(strPath.c_str(), nullptr)) << "its index names no variant";
    EXPECT_EQ(file.GetIniName().Str(), "");
    EXPECT_TRUE(file.Open(strPath.c_str(), "Blue.ini"));
}

TEST(ThemeLight, EveryLineParsesAndEveryImageLoadsOrIsExplained)
{
    std::string strPath = LightPackagePath();
    if (strPath.empty())
        GTEST_SKIP() << "light.msstyles not found";

    // Parse through the engine, as the program does.
    CXTPSkinEngine* pEngine = CXTPSkinEngine::GetInstance();
    ASSERT_TRUE(pEngine->LoadTheme(strPath.c_str(), "Blue.ini"));
    CXTPSkinThemeSchema* pSchema = pEngine->GetSchema();
    ASSERT_NE(pSchema, nullptr);

    // The same lines once more, to count them and collect image names.
    CXTPSkinThemeFile file;
    ASSERT_TRUE(file.Open(strPath.c_str(), "Blue.ini"));
    std::vector<std::string> lines = ReadAllLines(file);
    std::set<std::string> imageNames;
    int nValueLines = 0;
    for (std::string strLine : lines) {
        size_t nEqual = strLine.find('=');
        if (strLine.empty() || strLine[0] == ';' || strLine[0] == '[' || nEqual == std::string::npos)
            continue;
        nValueLines++;
        CString strKey(strLine.substr(0, nEqual)), strValue(strLine.substr(nEqual + 1));
        strKey.Trim();
        strKey.MakeUpper();
        strValue.Trim();
        strValue.MakeUpper();
        if (strKey.Find("IMAGEFILE") >= 0)
            imageNames.insert(strValue.Str());
    }
    EXPECT_GT(lines.size(), 2000u);

    std::vector<std::string> failed;
    int nLoaded = 0, nAlpha = 0;
    for (const std::string& strName : imageNames) {
        std::unique_ptr<CXTPSkinThemeImage> pImage(pEngine->GetThemeFile()->LoadImage(strName.c_str()));
        if (pImage) {
            nLoaded++;
            nAlpha += pImage->HasAlpha() ? 1 : 0;
            EXPECT_GT(pImage->GetWidth(), 0);
            continue;
        }
        failed.push_back(strName);
        // The only acceptable reason: the module has no such image.
        CString strResource = CXTPSkinThemeFile::GetResourceName(strName.c_str());
        HMODULE hModule = pEngine->GetThemeFile()->GetThemeModule();
        EXPECT_EQ(FindResourceA(hModule, strResource, RT_BITMAP), nullptr) << strName;
        EXPECT_EQ(FindResourceA(hModule, strResource, "PNG"), nullptr) << strName;
    }
    printf("light.msstyles Blue.ini: %d lines, %d value lines, %d values stored; %d image names, %d loaded "
           "(%d with alpha), %d not in the package:",
           static_cast<int>(lines.size()), nValueLines, pSchema->GetValueCount(),
           static_cast<int>(imageNames.size()), nLoaded, nAlpha, static_cast<int>(failed.size()));
    for (const std::string& strName : failed)
        printf(" %s", strName.c_str());
    printf("\n");
    EXPECT_GT(nLoaded, 400);
    EXPECT_LE(failed.size(), 2u);

    // A few values as the package writes them.
    int n = 0;
    EXPECT_EQ(pSchema->GetInt(XTP_SKINCLASS_BUTTON, BP_PUSHBUTTON, 0, TMT_IMAGECOUNT, n), S_OK);
    EXPECT_EQ(n, 6);
    EXPECT_EQ(pSchema->GetInt(XTP_SKINCLASS_SYSMETRICS, 0, 0, TMT_SCROLLBARWIDTH, n), S_OK);
    EXPECT_EQ(n, 17);
    COLORREF clr = 0;
    EXPECT_EQ(pSchema->GetColor(XTP_SKINCLASS_BUTTON, BP_PUSHBUTTON, PBS_PRESSED, TMT_TEXTCOLOR, clr), S_OK);
    EXPECT_EQ(clr, RGB(255, 255, 255));
    EXPECT_EQ(pSchema->GetColor(XTP_SKINCLASS_EDIT, 0, 0, TMT_EDGESHADOWCOLOR, clr), S_OK) << "from Globals";
    EXPECT_EQ(clr, RGB(189, 189, 189));
    CXTPSkinThemeClass* pButton = pEngine->GetThemeClass("Button");
    EXPECT_EQ(pButton->GetThemeString(BP_PUSHBUTTON, 0, TMT_IMAGEFILE, "").Str(), "BLUE_BUTTON.BMP");
    EXPECT_EQ(pButton->GetThemeEnumValue(BP_PUSHBUTTON, 0, TMT_IMAGELAYOUT, -1), IL_VERTICAL);
    EXPECT_NE(pButton->GetImage("BLUE_BUTTON.BMP"), nullptr);
    pEngine->LoadTheme("", nullptr);
}

TEST(ThemeLight, BitmapsMatchTheSystemLoader)
{
    // The package's bitmaps carry large (version 5) headers and colour masks:
    // the pixels must come out as the system's own loader reads them.
    std::string strPath = LightPackagePath();
    if (strPath.empty())
        GTEST_SKIP() << "light.msstyles not found";
    HMODULE hModule = LoadLibraryExA(strPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(hModule, nullptr);
    int nCompared = 0;
    for (const char* pszName : {"BLUE_BUTTON_BMP", "BLUE_CHECKBOX_13PX_BMP", "BLUE_COMBOBOX_BORDER_BMP"}) {
        SCOPED_TRACE(pszName);
        BOOL bAlpha = FALSE;
        HBITMAP hOurs = LoadBitmapResource(hModule, pszName, &bAlpha);
        HBITMAP hSystem = static_cast<HBITMAP>(LoadImageA(hModule, pszName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(hOurs, nullptr);
        ASSERT_NE(hSystem, nullptr);
        CPixels ours = ReadPixels(hOurs), system = ReadPixels(hSystem);
        ASSERT_EQ(ours.nWidth, system.nWidth);
        ASSERT_EQ(ours.nHeight, system.nHeight);
        for (size_t i = 0; i < ours.data.size(); i++) {
            if ((ours.data[i] & 0xFFFFFF) != (system.data[i] & 0xFFFFFF)) {
                ADD_FAILURE() << "pixel " << i << ": " << std::hex << ours.data[i] << " vs " << system.data[i];
                break;
            }
        }
        nCompared++;
        DeleteObject(hOurs);
        DeleteObject(hSystem);
    }
    EXPECT_EQ(nCompared, 3);
    FreeLibrary(hModule);
}

// Tavmio's own package.
class OwnPackageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_strPath = OwnPackagePath();
        if (m_strPath.empty())
            GTEST_SKIP() << "vista.cjstyles is not built beside the program";
    }
    std::string m_strPath;
};

// Image names a schema's string values refer to.
std::set<std::string> ImageNames(CXTPSkinThemeFile& file)
{
    std::set<std::string> names;
    CString strLine;
    while (file.ReadLine(strLine)) {
        CString str = strLine;
        str.MakeUpper();
        int nEqual = str.Find('=');
        if (nEqual > 0 && str.Left(nEqual).Find("IMAGEFILE") >= 0) {
            CString strValue = str.Mid(nEqual + 1);
            strValue.Trim();
            names.insert(strValue.Str());
        }
    }
    return names;
}

TEST_F(OwnPackageTest, OpensWithItsDefaultVariantAndLoadsEveryImage)
{
    CXTPSkinThemeFile file;
    ASSERT_TRUE(file.Open(m_strPath.c_str(), nullptr));
    EXPECT_EQ(file.GetIniName().Str(), "Daylight_ini");
    EXPECT_EQ(GetModuleHandleA(m_strPath.c_str()), file.GetThemeModule()) << "a module the loader accepts";
    char szStyle[200] = "";
    EXPECT_GT(LoadStringA(file.GetThemeModule(), 5000, szStyle, sizeof(szStyle)), 0);
    EXPECT_STREQ(szStyle, "Tavmio Daylight Style");
    EXPECT_FALSE(file.IsOffice2007Style());

    std::set<std::string> names = ImageNames(file);
    EXPECT_GT(names.size(), 50u);
    int nPng = 0, nBmp24 = 0, nBmp32 = 0;
    for (const std::string& strName : names) {
        SCOPED_TRACE(strName);
        std::unique_ptr<CXTPSkinThemeImage> pImage(file.LoadImage(strName.c_str()));
        ASSERT_NE(pImage, nullptr);
        EXPECT_GT(pImage->GetWidth(), 0);
        CString strResource = CXTPSkinThemeFile::GetResourceName(strName.c_str());
        if (IsPngResource(file.GetThemeModule(), strResource)) {
            nPng++;
        } else {
            Bytes dib = ReadModuleResource(file.GetThemeModule(), RT_BITMAP, strResource);
            ASSERT_GE(dib.size(), sizeof(BITMAPINFOHEADER));
            int nBits = reinterpret_cast<const BITMAPINFOHEADER*>(dib.data())->biBitCount;
            (nBits == 32 ? nBmp32 : nBmp24)++;
            EXPECT_TRUE(nBits == 24 || nBits == 32);
        }
    }
    EXPECT_GT(nPng, 0);
    EXPECT_GT(nBmp24, 0);
    EXPECT_GT(nBmp32, 0);
}

TEST_F(OwnPackageTest, LooksAsDrawn)
{
    CXTPSkinEngine* pEngine = CXTPSkinEngine::GetInstance();
    ASSERT_TRUE(pEngine->LoadTheme(m_strPath.c_str(), nullptr));
    CXTPSkinThemeClass* pWindow = pEngine->GetThemeClass("WINDOW");
    CString strCaption = pWindow->GetThemeString(WP_CAPTION, FS_ACTIVE, TMT_IMAGEFILE);
    EXPECT_EQ(strCaption.Str(), "CAPTION.PNG");
    CXTPSkinThemeImage* pCaption = pWindow->GetImage(strCaption);
    ASSERT_NE(pCaption, nullptr);
    EXPECT_TRUE(pCaption->HasAlpha());
    EXPECT_EQ(pWindow->GetThemeInt(WP_CAPTION, 0, TMT_IMAGECOUNT, 0), 2);
    EXPECT_EQ(pWindow->GetThemeInt(WP_CLOSEBUTTON, 0, TMT_IMAGECOUNT, 0), 8);
    EXPECT_EQ(pWindow->GetThemeEnumValue(WP_CAPTION, 0, TMT_IMAGELAYOUT, -1), IL_VERTICAL);
    // The caption's top corners are cut out (transparent), its middle opaque.
    CPixels caption = ReadPixels(pCaption->GetBitmap());
    EXPECT_EQ(caption.At(0, 0) >> 24, 0u);
    EXPECT_EQ(caption.At(caption.nWidth - 1, 0) >> 24, 0u);
    EXPECT_EQ(caption.At(caption.nWidth / 2, caption.nHeight / 4) >> 24, 255u);

    CXTPSkinThemeClass* pSysMetrics = pEngine->GetThemeClass("SYSMETRICS");
    EXPECT_EQ(pSysMetrics->GetThemeColor(0, 0, TMT_BTNFACE, 0), RGB(240, 242, 245));
    EXPECT_EQ(pSysMetrics->GetThemeInt(0, 0, TMT_CAPTIONBARHEIGHT, 0), 24);
    LOGFONTA lf = {};
    EXPECT_EQ(pEngine->GetSchema()->GetFont(XTP_SKINCLASS_SYSMETRICS, 0, 0, TMT_CAPTIONFONT, lf), S_OK);
    EXPECT_STREQ(lf.lfFaceName, "TAHOMA");
    EXPECT_TRUE(pEngine->GetSchema()->IsPremultiplyImages());

    // Every class the skins draw has something in the theme.
    for (const char* pszClass : {"WINDOW", "BUTTON", "EDIT", "COMBOBOX", "LISTBOX", "SCROLLBAR", "PROGRESS",
                                 "TRACKBAR", "SPIN", "TAB", "HEADER", "TOOLBAR", "STATUS", "TREEVIEW", "LISTVIEW",
                                 "MENU"}) {
        CXTPSkinThemeClass* pClass = pEngine->GetThemeClass(pszClass);
        bool bAny = false;
        for (int nPart = 0; nPart < 40 && !bAny; nPart++)
            bAny = pClass->GetThemeEnumValue(nPart, 0, TMT_BGTYPE, -2) != -2 ||
                   !pClass->GetThemeString(nPart, 0, TMT_IMAGEFILE).IsEmpty() ||
                   pClass->GetThemeColor(nPart, 0, TMT_TEXTCOLOR, 1) != 1;
        EXPECT_TRUE(bAny) << pszClass;
    }
    pEngine->LoadTheme("", nullptr);
}

TEST_F(OwnPackageTest, FolderFormGivesTheSameValues)
{
    std::string strFolder = OwnThemeFolder();
    if (strFolder.empty())
        GTEST_SKIP() << "generated theme folder not found";
    CXTPSkinThemeFile moduleFile, folderFile;
    ASSERT_TRUE(moduleFile.Open(m_strPath.c_str(), nullptr));
    ASSERT_TRUE(folderFile.Open(strFolder.c_str(), "Daylight.ini"));
    ASSERT_TRUE(folderFile.IsFolderForm());
    CXTPSkinThemeSchema moduleSchema(nullptr), folderSchema(nullptr);
    moduleSchema.ParseIni(&moduleFile);
    folderSchema.ParseIni(&folderFile);
    EXPECT_GT(moduleSchema.GetValueCount(), 500);
    EXPECT_EQ(moduleSchema.GetValueCount(), folderSchema.GetValueCount());
    int nModule = 0, nFolder = 0;
    EXPECT_EQ(moduleSchema.GetInt(XTP_SKINCLASS_BUTTON, BP_PUSHBUTTON, 0, TMT_IMAGECOUNT, nModule), S_OK);
    EXPECT_EQ(folderSchema.GetInt(XTP_SKINCLASS_BUTTON, BP_PUSHBUTTON, 0, TMT_IMAGECOUNT, nFolder), S_OK);
    EXPECT_EQ(nModule, nFolder);
    std::unique_ptr<CXTPSkinThemeImage> pFromFile(folderFile.LoadImage("CAPTION.PNG"));
    std::unique_ptr<CXTPSkinThemeImage> pFromModule(moduleFile.LoadImage("CAPTION.PNG"));
    ASSERT_NE(pFromFile, nullptr);
    ASSERT_NE(pFromModule, nullptr);
    EXPECT_EQ(ReadPixels(pFromFile->GetBitmap()).data, ReadPixels(pFromModule->GetBitmap()).data);
}

}  // namespace
