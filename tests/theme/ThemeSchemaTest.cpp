// The theme vocabulary, the INI grammar, the value parsers and the lookups
// of CXTPSkinThemeSchema and CXTPSkinThemeClass.
#include "ThemeTestSupport.h"
#include "XTPSkinEngine.h"
#include "XTPSkinThemeClass.h"
#include "XTPSkinThemeIds.h"
#include "XTPSkinThemeImage.h"
#include "XTPSkinThemeSchema.h"

#include <gtest/gtest.h>
#include <vssym32.h>

#include <string>
#include <vector>

using namespace themetest;

namespace {

// Property ids against the SDK's own TMT_ numbers, and the value types.
struct PropertyCase {
    const char* pszName;
    int nId;
    int nType;
};
#define P(name, type) {#name, TMT_##name, XTP_SKINVALUE_##type}

const PropertyCase g_properties[] = {
    P(STRING, STRING), P(INT, INT), P(BOOL, BOOL), P(COLOR, COLOR), P(MARGINS, RECT), P(FILENAME, STRING),
    P(SIZE, INT), P(POSITION, POSITION), P(RECT, RECT), P(FONT, FONT), P(INTLIST, INTLIST),
    P(COLORSCHEMES, STRING), P(SIZES, STRING), P(CHARSET, INT), P(DISPLAYNAME, STRING), P(TOOLTIP, STRING),
    P(COMPANY, STRING), P(AUTHOR, STRING), P(COPYRIGHT, STRING), P(URL, STRING), P(VERSION, STRING),
    P(DESCRIPTION, STRING), P(CAPTIONFONT, FONT), P(SMALLCAPTIONFONT, FONT), P(MENUFONT, FONT),
    P(STATUSFONT, FONT), P(MSGBOXFONT, FONT), P(ICONTITLEFONT, FONT), P(FLATMENUS, BOOL),
    P(SIZINGBORDERWIDTH, INT), P(SCROLLBARWIDTH, INT), P(SCROLLBARHEIGHT, INT), P(CAPTIONBARWIDTH, INT),
    P(CAPTIONBARHEIGHT, INT), P(SMCAPTIONBARWIDTH, INT), P(SMCAPTIONBARHEIGHT, INT), P(MENUBARWIDTH, INT),
    P(MENUBARHEIGHT, INT), P(MINCOLORDEPTH, INT), P(CSSNAME, STRING), P(XMLNAME, STRING),
    P(SCROLLBAR, COLOR), P(BACKGROUND, COLOR), P(ACTIVECAPTION, COLOR), P(INACTIVECAPTION, COLOR),
    P(MENU, COLOR), P(WINDOW, COLOR), P(WINDOWFRAME, COLOR), P(MENUTEXT, COLOR), P(WINDOWTEXT, COLOR),
    P(CAPTIONTEXT, COLOR), P(ACTIVEBORDER, COLOR), P(INACTIVEBORDER, COLOR), P(APPWORKSPACE, COLOR),
    P(HIGHLIGHT, COLOR), P(HIGHLIGHTTEXT, COLOR), P(BTNFACE, COLOR), P(BTNSHADOW, COLOR), P(GRAYTEXT, COLOR),
    P(BTNTEXT, COLOR), P(INACTIVECAPTIONTEXT, COLOR), P(BTNHIGHLIGHT, COLOR), P(DKSHADOW3D, COLOR),
    P(LIGHT3D, COLOR), P(INFOTEXT, COLOR), P(INFOBK, COLOR), P(BUTTONALTERNATEFACE, COLOR),
    P(HOTTRACKING, COLOR), P(GRADIENTACTIVECAPTION, COLOR), P(GRADIENTINACTIVECAPTION, COLOR),
    P(MENUHILIGHT, COLOR), P(MENUBAR, COLOR), P(FROMHUE1, INT), P(FROMHUE5, INT), P(TOHUE1, INT),
    P(TOHUE5, INT), P(FROMCOLOR1, COLOR), P(FROMCOLOR5, COLOR), P(TOCOLOR1, COLOR), P(TOCOLOR5, COLOR),
    P(TRANSPARENT, BOOL), P(AUTOSIZE, BOOL), P(BORDERONLY, BOOL), P(COMPOSITED, BOOL), P(BGFILL, BOOL),
    P(GLYPHTRANSPARENT, BOOL), P(GLYPHONLY, BOOL), P(ALWAYSSHOWSIZINGBAR, BOOL), P(MIRRORIMAGE, BOOL),
    P(UNIFORMSIZING, BOOL), P(INTEGRALSIZING, BOOL), P(SOURCEGROW, BOOL), P(SOURCESHRINK, BOOL),
    P(IMAGECOUNT, INT), P(ALPHALEVEL, INT), P(BORDERSIZE, INT), P(ROUNDCORNERWIDTH, INT),
    P(ROUNDCORNERHEIGHT, INT), P(GRADIENTRATIO1, INT), P(GRADIENTRATIO5, INT), P(PROGRESSCHUNKSIZE, INT),
    P(PROGRESSSPACESIZE, INT), P(SATURATION, INT), P(TEXTBORDERSIZE, INT), P(ALPHATHRESHOLD, INT),
    P(WIDTH, INT), P(HEIGHT, INT), P(GLYPHINDEX, INT), P(TRUESIZESTRETCHMARK, INT), P(MINDPI1, INT),
    P(MINDPI5, INT), P(GLYPHFONT, FONT), P(IMAGEFILE, STRING), P(IMAGEFILE1, STRING), P(IMAGEFILE5, STRING),
    {"STOCKIMAGEFILE", 3007, XTP_SKINVALUE_STRING}, P(GLYPHIMAGEFILE, STRING), P(TEXT, STRING), P(OFFSET, POSITION),
    P(TEXTSHADOWOFFSET, POSITION), P(MINSIZE, POSITION), P(MINSIZE1, POSITION), P(MINSIZE5, POSITION),
    P(NORMALSIZE, POSITION), P(SIZINGMARGINS, RECT), P(CONTENTMARGINS, RECT), P(CAPTIONMARGINS, RECT),
    P(BORDERCOLOR, COLOR), P(FILLCOLOR, COLOR), P(TEXTCOLOR, COLOR), P(EDGELIGHTCOLOR, COLOR),
    P(EDGEHIGHLIGHTCOLOR, COLOR), P(EDGESHADOWCOLOR, COLOR), P(EDGEDKSHADOWCOLOR, COLOR),
    P(EDGEFILLCOLOR, COLOR), P(TRANSPARENTCOLOR, COLOR), P(GRADIENTCOLOR1, COLOR), P(GRADIENTCOLOR5, COLOR),
    P(SHADOWCOLOR, COLOR), P(GLOWCOLOR, COLOR), P(TEXTBORDERCOLOR, COLOR), P(TEXTSHADOWCOLOR, COLOR),
    P(GLYPHTEXTCOLOR, COLOR), P(GLYPHTRANSPARENTCOLOR, COLOR), P(FILLCOLORHINT, COLOR),
    P(BORDERCOLORHINT, COLOR), P(ACCENTCOLORHINT, COLOR), P(BGTYPE, ENUM), P(BORDERTYPE, ENUM),
    P(FILLTYPE, ENUM), P(SIZINGTYPE, ENUM), P(HALIGN, ENUM), P(CONTENTALIGNMENT, ENUM), P(VALIGN, ENUM),
    P(OFFSETTYPE, ENUM), P(ICONEFFECT, ENUM), P(TEXTSHADOWTYPE, ENUM), P(IMAGELAYOUT, ENUM),
    P(GLYPHTYPE, ENUM), P(IMAGESELECTTYPE, ENUM), P(GLYPHFONTSIZINGTYPE, ENUM), P(TRUESIZESCALINGTYPE, ENUM),
    P(USERPICTURE, BOOL), P(DEFAULTPANESIZE, RECT), P(BLENDCOLOR, COLOR),
};
#undef P

TEST(ThemeNames, PropertiesHaveTheSystemNumbersAndTheirTypes)
{
    for (const PropertyCase& c : g_properties) {
        int nType = -1;
        EXPECT_EQ(GetPropertyId(c.pszName, nType), c.nId) << c.pszName;
        EXPECT_EQ(nType, c.nType) << c.pszName;
    }
    int nType = 77;
    EXPECT_EQ(GetPropertyId("TransitionDurations", nType), 0);
    EXPECT_EQ(nType, 77) << "the type is left alone for an unknown name";
    EXPECT_EQ(GetPropertyId("imagefile", nType), TMT_IMAGEFILE) << "names match in any case";
}

TEST(ThemeNames, ClassesPartsAndStatesHaveTheSystemNumbers)
{
    struct {
        const char* pszClass;
        const char* pszPart;
        int nPart;
    } parts[] = {
        {"window", "caption", WP_CAPTION},
        {"WINDOW", "SMALLFRAMEBOTTOMSIZINGTEMPLATE", WP_SMALLFRAMEBOTTOMSIZINGTEMPLATE},
        {"Button", "UserButton", BP_USERBUTTON},
        {"TOOLBAR", "SEPARATORVERT", TP_SEPARATORVERT},
        {"TAB", "BODY", TABP_BODY},
        {"TRACKBAR", "TICSVERT", TKP_TICSVERT},
        {"SCROLLBAR", "SIZEBOX", SBP_SIZEBOX},
        {"STARTPANEL", "PREVIEW", 11},
        {"EXPLORERBAR", "SPECIALGROUPHEAD", EBP_SPECIALGROUPHEAD},
        {"MENUBAND", "SEPERATOR", 2},
        {"BUTTON", "CAPTION", 0},    // a part of another class
        {"GLOBALS", "CAPTION", 0},   // a class without parts
        {"NOSUCH", "CAPTION", 0},
    };
    for (const auto& c : parts)
        EXPECT_EQ(GetPartId(c.pszClass, c.pszPart), c.nPart) << c.pszClass << "." << c.pszPart;

    struct {
        const char* pszList;
        const char* pszState;
        int nState;
    } states[] = {
        {"CHECKBOX", "MIXEDDISABLED", CBS_MIXEDDISABLED},
        {"RadioButton", "CheckedDisabled", RBS_CHECKEDDISABLED},
        {"PUSHBUTTON", "DEFAULTED", PBS_DEFAULTED},
        {"ARROWBTN", "RIGHTDISABLED", ABS_RIGHTDISABLED},
        {"EDITTEXT", "ASSIST", ETS_ASSIST},
        {"TOPTABITEMBOTHEDGES", "FOCUSED", TIS_FOCUSED},
        {"TABITEMBOTHEDGE", "NORMAL", 0},  // that list is named ...EDGES
        {"FRAME", "INACTIVE", FS_INACTIVE},
        {"FRAMELEFT", "ACTIVE", 0},        // FRAMELEFT has no list of its own
        {"HEADERPIN", "SELECTEDPRESSED", 6},
        {"CLOSEBUTTON", "DISABLED", CBS_DISABLED},
        {"MENU", "DEMOTED", 3},
        {"COMBOBOX", "DISABLED", CBXS_DISABLED},
    };
    for (const auto& c : states)
        EXPECT_EQ(GetStateId(c.pszList, c.pszState), c.nState) << c.pszList << "(" << c.pszState << ")";

    EXPECT_EQ(GetClassId("globals"), XTP_SKINCLASS_GLOBALS);
    EXPECT_EQ(GetClassId("SysMetrics"), XTP_SKINCLASS_SYSMETRICS);
    EXPECT_EQ(GetClassId("MENUBAND"), XTP_SKINCLASS_MENUBAND);
    EXPECT_EQ(GetClassId("STATUSBAR"), 0);
}

TEST(ThemeNames, EnumerationKeywords)
{
    struct {
        const char* pszProperty;
        const char* pszKeyword;
        int nValue;
    } cases[] = {
        {"BGTYPE", "BORDERFILL", BT_BORDERFILL},
        {"BgType", "none", BT_NONE},
        {"OFFSETTYPE", "BELOWLASTBUTTON", OT_BELOWLASTBUTTON},
        {"CONTENTALIGNMENT", "RIGHT", 2},
        {"HALIGN", "RIGHT", HA_RIGHT},
        {"TRUESIZESCALINGTYPE", "DPI", TSST_DPI},
        {"GLYPHFONTSIZINGTYPE", "SIZE", GFST_SIZE},
        {"IMAGELAYOUT", "HORIZONTAL", IL_HORIZONTAL},
        {"FILLTYPE", "TILEIMAGE", FT_TILEIMAGE},
        {"BGTYPE", "FOO", -1},
        {"BORDERSIZE", "RECT", -1},  // not an enumeration
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetEnumValue(c.pszProperty, c.pszKeyword), c.nValue) << c.pszProperty << "=" << c.pszKeyword;
}

TEST(ThemeNames, SectionKeys)
{
    struct {
        const char* pszSection;
        int nClass, nPart, nState;  // class 0: ignored
    } cases[] = {
        {"BUTTON.PUSHBUTTON(HOT)", 7, 1, 2},
        {"GLOBALS", 1, 0, 0},
        {"WINDOW.FRAMELEFT", 6, 7, 0},
        {"WINDOW.FRAMELEFT(ACTIVE)", 0, 0, 0},
        {"BUTTON.PUSHBUTTON:HOT", 0, 0, 0},
        {"WINDOW.SMALLCAPTION(ACTIVE)", 0, 0, 0},
        {"WINDOW.CAPTION(INACTIVE)", 6, 1, 2},
        {"TOOLBAR(HOT)", 9, 0, 2},
        {" BUTTON . PUSHBUTTON ( HOT ) ", 7, 1, 2},
        {"BUTTON.PUSHBUTTON(HOT", 0, 0, 0},  // the last character is dropped: state "HO"
        {"BUTTON.PUSHBUTTON()", 0, 0, 0},
        {"BUTTON.", 0, 0, 0},
        {"NOSUCH.PUSHBUTTON", 0, 0, 0},
        {"BUTTON.NOSUCH", 0, 0, 0},
        {"", 0, 0, 0},
        {"SCROLLBAR.ARROWBTN(RIGHTDISABLED)", 21, 1, 16},
    };
    for (const auto& c : cases) {
        DWORD nExpected = c.nClass ? XTPSkinMakeKey(c.nClass, c.nPart, c.nState, 0) : 0;
        EXPECT_EQ(GetSectionKey(c.pszSection), nExpected) << "[" << c.pszSection << "]";
    }
    // State in bits 26-31, part in 20-25, class in 14-19, property in 0-13.
    EXPECT_EQ(XTPSkinMakeKey(7, 1, 2, 3803), (2u << 26) | (1u << 20) | (7u << 14) | 3803u);
}

// A schema filled from INI lines.
struct ParsedSchema {
    explicit ParsedSchema(const std::vector<std::string>& lines) : schema(nullptr)
    {
        file.SetLines(lines);
        EXPECT_EQ(schema.ParseIni(&file), 0);
    }
    CTextThemeFile file;
    CXTPSkinThemeSchema schema;
};

// One grammar case: INI lines, one lookup and what it must find.
struct GrammarCase {
    const char* pszName;
    std::vector<std::string> lines;
    int nClass, nPart, nState, nProp;
    bool bFound;
    int nType = 0;
    // Expected data: int / colour / enum in nValue; rectangles and positions
    // in rc; strings in str.
    int nValue = 0;
    RECT rc = {};
    std::string str = std::string();
};

const GrammarCase g_grammar[] = {
    {"comment line", {"[Globals]", ";TextColor = 1 2 3"}, 1, 0, 0, TMT_TEXTCOLOR, false},
    {"comment cuts a colour", {"[Globals]", "TextColor = 1 2 3; a remark 9"}, 1, 0, 0, TMT_TEXTCOLOR, true,
     XTP_SKINVALUE_COLOR, RGB(1, 2, 3)},
    {"semicolon cuts a string", {"[Globals]", "Text = abc;def"}, 1, 0, 0, TMT_TEXT, true, XTP_SKINVALUE_STRING, 0,
     {}, "ABC"},
    {"header with a trailing blank", {"[Globals] ", "TextColor = 1 2 3"}, 1, 0, 0, TMT_TEXTCOLOR, false},
    {"lines after an unusable header until the next one",
     {"[Button]", "BorderSize = 1", "[Globals] ", "BorderSize = 2", "[Edit]", "Width = 3"}, 7, 0, 0,
     TMT_BORDERSIZE, true, XTP_SKINVALUE_INT, 1},
    {"leading blanks and tabs", {"  \t[Globals]", " \t BorderSize\t=\t 7  "}, 1, 0, 0, TMT_BORDERSIZE, true,
     XTP_SKINVALUE_INT, 7},
    {"later line wins", {"[Button]", "BorderSize = 1", "BorderSize = 2"}, 7, 0, 0, TMT_BORDERSIZE, true,
     XTP_SKINVALUE_INT, 2},
    {"later section line wins", {"[Button]", "BorderSize = 1", "[Edit]", "[Button]", "BorderSize = 4"}, 7, 0, 0,
     TMT_BORDERSIZE, true, XTP_SKINVALUE_INT, 4},
    {"part over class", {"[Button]", "BorderSize = 1", "[Button.PushButton]", "BorderSize = 2"}, 7, 1, 3,
     TMT_BORDERSIZE, true, XTP_SKINVALUE_INT, 2},
    {"class serves other parts", {"[Button]", "BorderSize = 1", "[Button.PushButton]", "BorderSize = 2"}, 7, 3, 1,
     TMT_BORDERSIZE, true, XTP_SKINVALUE_INT, 1},
    {"state over part", {"[Button.PushButton]", "BorderSize = 1", "[Button.PushButton(Hot)]", "BorderSize = 2"}, 7,
     1, 2, TMT_BORDERSIZE, true, XTP_SKINVALUE_INT, 2},
    {"other state falls back to the part",
     {"[Button.PushButton]", "BorderSize = 1", "[Button.PushButton(Hot)]", "BorderSize = 2"}, 7, 1, 3,
     TMT_BORDERSIZE, true, XTP_SKINVALUE_INT, 1},
    {"Globals for any class", {"[Globals]", "BorderSize = 3"}, 7, 1, 2, TMT_BORDERSIZE, true, XTP_SKINVALUE_INT, 3},
    {"Globals for an unknown class", {"[Globals]", "BorderSize = 3", "[Button]", "BorderSize = 5"}, 0, 1, 2,
     TMT_BORDERSIZE, true, XTP_SKINVALUE_INT, 3},
    {"no value from another class", {"[Window]", "BorderSize = 3"}, 7, 0, 0, TMT_BORDERSIZE, false},
    {"unknown keyword stored as -1", {"[Button]", "BgType = Foo"}, 7, 0, 0, TMT_BGTYPE, true, XTP_SKINVALUE_ENUM,
     -1},
    {"keyword", {"[Button]", "BgType = borderfill"}, 7, 0, 0, TMT_BGTYPE, true, XTP_SKINVALUE_ENUM, BT_BORDERFILL},
    {"colour with commas", {"[Globals]", "TextColor = 10,20,30"}, 1, 0, 0, TMT_TEXTCOLOR, true,
     XTP_SKINVALUE_COLOR, RGB(10, 0, 0)},
    {"colour in hex and octal", {"[Globals]", "TextColor = 0x10 010 16"}, 1, 0, 0, TMT_TEXTCOLOR, true,
     XTP_SKINVALUE_COLOR, RGB(16, 8, 16)},
    {"colour cut to 8 bits", {"[Globals]", "TextColor = 256 257 -1"}, 1, 0, 0, TMT_TEXTCOLOR, true,
     XTP_SKINVALUE_COLOR, RGB(0, 1, 255)},
    {"colour missing numbers", {"[Globals]", "TextColor = 7"}, 1, 0, 0, TMT_TEXTCOLOR, true, XTP_SKINVALUE_COLOR,
     RGB(7, 0, 0)},
    {"margins order", {"[Button]", "SizingMargins = 1, 2, 3, 4"}, 7, 0, 0, TMT_SIZINGMARGINS, true,
     XTP_SKINVALUE_RECT, 0, {1, 3, 2, 4}},
    {"margins need a comma right after a number", {"[Button]", "ContentMargins = 1 ,2,3,4"}, 7, 0, 0,
     TMT_CONTENTMARGINS, true, XTP_SKINVALUE_RECT, 0, {1, 0, 0, 0}},
    {"position", {"[Button]", "Offset = 3,-4"}, 7, 0, 0, TMT_OFFSET, true, XTP_SKINVALUE_POSITION, 0, {3, -4, 0, 0}},
    {"position with one number", {"[Button]", "MinSize = 7"}, 7, 0, 0, TMT_MINSIZE, true, XTP_SKINVALUE_POSITION, 0,
     {7, 0, 0, 0}},
    {"integer stops at a letter", {"[Button]", "Width = 12abc"}, 7, 0, 0, TMT_WIDTH, true, XTP_SKINVALUE_INT, 12},
    {"integer without a number", {"[Button]", "Width = abc"}, 7, 0, 0, TMT_WIDTH, true, XTP_SKINVALUE_INT, 0},
    {"negative integer", {"[Button]", "Width = -5"}, 7, 0, 0, TMT_WIDTH, true, XTP_SKINVALUE_INT, -5},
    {"boolean true", {"[Button]", "Transparent = true"}, 7, 0, 0, TMT_TRANSPARENT, true, XTP_SKINVALUE_BOOL, 1},
    {"boolean other word", {"[Button]", "Transparent = yes"}, 7, 0, 0, TMT_TRANSPARENT, true, XTP_SKINVALUE_BOOL,
     0},
    {"strings upper-cased", {"[Button]", "ImageFile = blue\\Button.bmp"}, 7, 0, 0, TMT_IMAGEFILE, true,
     XTP_SKINVALUE_STRING, 0, {}, "BLUE\\BUTTON.BMP"},
    {"line before the first header", {"BorderSize = 3", "[Button]"}, 7, 0, 0, TMT_BORDERSIZE, false},
    {"equals sign first", {"[Button]", "=BorderSize = 3"}, 7, 0, 0, TMT_BORDERSIZE, false},
    {"no equals sign", {"[Button]", "BorderSize 3"}, 7, 0, 0, TMT_BORDERSIZE, false},
    {"unknown property", {"[Button]", "BorderSizes = 3"}, 7, 0, 0, TMT_BORDERSIZE, false},
    {"integer lists are not stored", {"[Button]", "IntList = 1, 2, 3"}, 7, 0, 0, TMT_INTLIST, false},
    {"section with a state its part lacks", {"[Window.SmallCaption(Active)]", "BorderSize = 3"}, 6, 2, 1,
     TMT_BORDERSIZE, false},
    {"sections with a colon are ignored", {"[Button.PushButton:Hot]", "BorderSize = 3"}, 7, 1, 0, TMT_BORDERSIZE,
     false},
    {"empty value", {"[Button]", "ImageFile ="}, 7, 0, 0, TMT_IMAGEFILE, true, XTP_SKINVALUE_STRING, 0, {}, ""},
};

TEST(ThemeGrammar, Cases)
{
    for (const GrammarCase& c : g_grammar) {
        SCOPED_TRACE(c.pszName);
        ParsedSchema parsed(c.lines);
        const CXTPSkinThemeValue* pValue = parsed.schema.FindValue(c.nClass, c.nPart, c.nState, c.nProp);
        ASSERT_EQ(pValue != nullptr, c.bFound);
        if (!pValue)
            continue;
        EXPECT_EQ(pValue->m_nType, c.nType);
        EXPECT_EQ(pValue->m_nPropId, c.nProp);
        switch (c.nType) {
        case XTP_SKINVALUE_STRING:
            EXPECT_EQ(pValue->m_strValue.Str(), c.str);
            break;
        case XTP_SKINVALUE_RECT:
            EXPECT_EQ(pValue->m_rcValue.left, c.rc.left);
            EXPECT_EQ(pValue->m_rcValue.top, c.rc.top);
            EXPECT_EQ(pValue->m_rcValue.right, c.rc.right);
            EXPECT_EQ(pValue->m_rcValue.bottom, c.rc.bottom);
            break;
        case XTP_SKINVALUE_POSITION:
            EXPECT_EQ(pValue->m_ptValue.x, c.rc.left);
            EXPECT_EQ(pValue->m_ptValue.y, c.rc.top);
            break;
        default:
            EXPECT_EQ(pValue->m_nValue, c.nValue);
        }
    }
}

TEST(ThemeGrammar, Fonts)
{
    HDC hDC = GetDC(nullptr);
    int nDpi = GetDeviceCaps(hDC, LOGPIXELSY);
    BYTE nCharSet = static_cast<BYTE>(GetTextCharsetInfo(hDC, nullptr, 0));
    ReleaseDC(nullptr, hDC);

    struct {
        const char* pszText;
        const char* pszFace;
        int nPoints;
        LONG nWeight;
    } cases[] = {
        {"Tahoma, 8, Bold", "TAHOMA", 8, FW_BOLD},
        {"Tahoma, 8", "TAHOMA", 8, FW_NORMAL},
        {"Tahoma, 9, Italic", "TAHOMA", 9, FW_NORMAL},
        {"Segoe UI,10,bold", "SEGOE UI", 10, FW_BOLD},
        {"Tahoma", "TAHOMA", 0, FW_NORMAL},
        {", 8, Bold", "", 0, FW_NORMAL},  // no face: nothing else is read
        // A face longer than the 31 characters a LOGFONT holds is cut.
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789, 12, Bold", "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234", 12, FW_BOLD},
        // A style word longer than its buffer is not BOLD.
        {"Tahoma, 8, BOLDBOLDBOLDBOLDBOLDBOLDBOLDBOLDBOLDBOLDBOLDBOLDBOLDBOLD", "TAHOMA", 8, FW_NORMAL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszText);
        ParsedSchema parsed({"[SysMetrics]", std::string("CaptionFont = ") + c.pszText});
        LOGFONTA lf;
        memset(&lf, 0x55, sizeof(lf));
        ASSERT_EQ(parsed.schema.GetFont(XTP_SKINCLASS_SYSMETRICS, 0, 0, TMT_CAPTIONFONT, lf), S_OK);
        EXPECT_STREQ(lf.lfFaceName, c.pszFace);
        EXPECT_EQ(lf.lfWeight, c.nWeight);
        EXPECT_EQ(lf.lfHeight, -MulDiv(c.nPoints, nDpi, 72));
        EXPECT_EQ(lf.lfCharSet, nCharSet);
        EXPECT_EQ(lf.lfItalic, 0);
        EXPECT_EQ(lf.lfWidth, 0);
    }
}

TEST(ThemeGrammar, TypedGettersReportMissingAndMistypedValues)
{
    ParsedSchema parsed({"[Button]", "TextColor = 1 2 3", "BorderSize = 4", "Transparent = TRUE"});
    CXTPSkinThemeSchema& schema = parsed.schema;
    int n = -7;
    BOOL b = -7;
    COLORREF clr = 0xABCDEF;
    LOGFONTA lf = {};
    EXPECT_EQ(schema.GetInt(7, 0, 0, TMT_BORDERSIZE, n), S_OK);
    EXPECT_EQ(n, 4);
    EXPECT_EQ(schema.GetBool(7, 0, 0, TMT_TRANSPARENT, b), S_OK);
    EXPECT_EQ(b, TRUE);
    EXPECT_EQ(schema.GetColor(7, 1, 2, TMT_TEXTCOLOR, clr), S_OK);
    EXPECT_EQ(clr, RGB(1, 2, 3));

    n = -7;
    EXPECT_EQ(schema.GetInt(7, 0, 0, TMT_TEXTCOLOR, n), E_INVALIDARG);
    EXPECT_EQ(schema.GetColor(7, 0, 0, TMT_BORDERSIZE, clr), E_INVALIDARG);
    EXPECT_EQ(schema.GetFont(7, 0, 0, TMT_TEXTCOLOR, lf), E_INVALIDARG);
    EXPECT_EQ(schema.GetBool(7, 0, 0, TMT_BORDERSIZE, b), E_INVALIDARG);
    EXPECT_EQ(schema.GetInt(7, 0, 0, TMT_WIDTH, n), E_FAIL);
    EXPECT_EQ(schema.GetInt(6, 0, 0, TMT_BORDERSIZE, n), E_FAIL);
    EXPECT_EQ(n, -7) << "a failed getter leaves its output alone";

    // Ids too large for their fields of a key never alias another entry:
    // part 64 of class 7 would otherwise be state 1, part 0.
    ParsedSchema aliased({"[Toolbar(Hot)]", "BorderSize = 9"});
    EXPECT_EQ(aliased.schema.GetInt(9, 0, 2, TMT_BORDERSIZE, n), S_OK);
    EXPECT_EQ(aliased.schema.FindValue(9, 128, 0, TMT_BORDERSIZE), nullptr);
    EXPECT_EQ(aliased.schema.FindValue(9 + 64, 0, 1, TMT_BORDERSIZE), nullptr);
    EXPECT_EQ(aliased.schema.FindValue(9, 0, 2, TMT_BORDERSIZE + 16384), nullptr);
    EXPECT_EQ(aliased.schema.FindValue(9, -1, 0, TMT_BORDERSIZE), nullptr);
}

TEST(ThemeGrammar, AlphaLevel255TurnsOffPremultiplying)
{
    struct {
        std::vector<std::string> lines;
        BOOL bPremultiply;
    } cases[] = {
        {{"[Documentation]", "AlphaLevel = 255"}, FALSE},
        {{"[Globals]", "AlphaLevel = 255"}, FALSE},
        {{"[Documentation]", "AlphaLevel = 254"}, TRUE},
        {{"[Button]", "AlphaLevel = 255"}, TRUE},
        {{"[Documentation]", "AlphaLevel = 255", "[Documentation]", "AlphaLevel = 0"}, TRUE},
        {{}, TRUE},
    };
    for (const auto& c : cases) {
        ParsedSchema parsed(c.lines);
        EXPECT_EQ(parsed.schema.IsPremultiplyImages(), c.bPremultiply) << (c.lines.empty() ? "" : c.lines[1]);
    }
    EXPECT_EQ(ParsedSchema({}).schema.GetSchemaName().Str(), "Default");
}

// Class handles read the schema of the engine's loaded theme: a folder theme.
class ThemeClassTest : public ::testing::Test {
protected:
    void Load(const std::vector<std::string>& lines)
    {
        std::string strText;
        for (const std::string& strLine : lines)
            strText += strLine + "\r\n";
        ASSERT_TRUE(WriteBytes(m_folder.File("test.ini"), strText));
        m_pEngine = CXTPSkinEngine::GetInstance();
        ASSERT_TRUE(m_pEngine->LoadTheme(m_folder.Path().c_str(), "test.ini"));
    }
    void TearDown() override
    {
        if (m_pEngine) {
            m_pEngine->RemoveColorFilters();
            m_pEngine->LoadTheme("", nullptr);
        }
    }

    CTempFolder m_folder;
    CXTPSkinEngine* m_pEngine = nullptr;
};

class CInvertFilter : public CXTPSkinColorFilter {
public:
    void ApplyColorFilter(COLORREF& clr) override { clr = clr ^ 0xFFFFFF; }
};

TEST_F(ThemeClassTest, GettersReturnTheValueOrTheDefault)
{
    Load({"[Globals]", "BorderSize = 3", "TextColor = 9 9 9", "[Button]", "ImageFile = b.png",
          "[Button.PushButton]", "SizingMargins = 1, 2, 3, 4", "BgType = Foo", "Offset = 5, 6", "Transparent = true",
          "[Button.PushButton(Hot)]", "TextColor = 1 2 3", "BorderSize = 7"});
    CXTPSkinThemeClass* pButton = m_pEngine->GetThemeClass("button");
    ASSERT_NE(pButton, nullptr);
    EXPECT_EQ(m_pEngine->GetThemeClass("BUTTON"), pButton) << "one handle per class name, any case";
    EXPECT_EQ(pButton->GetClassId(), XTP_SKINCLASS_BUTTON);

    EXPECT_EQ(pButton->GetThemeString(1, 1, TMT_IMAGEFILE, "x").Str(), "B.PNG");
    EXPECT_EQ(pButton->GetThemeString(1, 1, TMT_GLYPHIMAGEFILE, "x").Str(), "x");
    RECT rc = pButton->GetThemeRect(1, 2, TMT_SIZINGMARGINS, 9, 9, 9, 9);
    EXPECT_EQ(rc.left, 1);
    EXPECT_EQ(rc.top, 3);
    EXPECT_EQ(rc.right, 2);
    EXPECT_EQ(rc.bottom, 4);
    rc = pButton->GetThemeRect(2, 0, TMT_SIZINGMARGINS, 9, 8, 7, 6);
    EXPECT_EQ(rc.left, 9);
    EXPECT_EQ(rc.bottom, 6);
    EXPECT_EQ(pButton->GetThemeInt(1, 2, TMT_BORDERSIZE, -1), 7);
    EXPECT_EQ(pButton->GetThemeInt(1, 1, TMT_BORDERSIZE, -1), 3);
    EXPECT_EQ(pButton->GetThemeInt(1, 1, TMT_WIDTH, -1), -1);
    EXPECT_EQ(pButton->GetThemeBool(1, 0, TMT_TRANSPARENT, FALSE), TRUE);
    EXPECT_EQ(pButton->GetThemeBool(2, 0, TMT_TRANSPARENT, 5), 5);
    EXPECT_EQ(pButton->GetThemeEnumValue(1, 1, TMT_BGTYPE, 2), -1) << "a stored -1 is not the default";
    EXPECT_EQ(pButton->GetThemeEnumValue(2, 1, TMT_BGTYPE, 2), 2);
    POINT pt = pButton->GetThemePosition(1, 4, TMT_OFFSET, 0, 0);
    EXPECT_EQ(pt.x, 5);
    EXPECT_EQ(pt.y, 6);
    pt = pButton->GetThemePosition(3, 4, TMT_OFFSET, -1, -2);
    EXPECT_EQ(pt.y, -2);

    // A value asked for with another type gives the default, and does not
    // spoil the cache for the right type.
    EXPECT_EQ(pButton->GetThemeInt(1, 2, TMT_TEXTCOLOR, 42), 42);
    EXPECT_EQ(pButton->GetThemeColor(1, 2, TMT_TEXTCOLOR, 0), RGB(1, 2, 3));
    EXPECT_EQ(pButton->GetThemeInt(1, 2, TMT_TEXTCOLOR, 43), 43);
    // Ids beyond the key fields give defaults instead of other entries.
    EXPECT_EQ(pButton->GetThemeInt(64 + 1, 1, TMT_BORDERSIZE, -3), -3);

    // An unknown class name sees Globals only.
    CXTPSkinThemeClass* pUnknown = m_pEngine->GetThemeClass("NoSuchClass");
    EXPECT_EQ(pUnknown->GetClassId(), 0);
    EXPECT_EQ(pUnknown->GetThemeInt(1, 2, TMT_BORDERSIZE, -1), 3);
    EXPECT_EQ(pUnknown->GetThemeString(0, 0, TMT_IMAGEFILE, "none").Str(), "none");
}

TEST_F(ThemeClassTest, ColourFiltersApplyToThemeColoursOnly)
{
    Load({"[Globals]", "TextColor = 1 2 3"});
    m_pEngine->AddColorFilter(new CInvertFilter());
    CXTPSkinThemeClass* pEdit = m_pEngine->GetThemeClass("EDIT");
    EXPECT_EQ(pEdit->GetThemeColor(0, 0, TMT_TEXTCOLOR, 0), RGB(1, 2, 3) ^ 0xFFFFFF);
    EXPECT_EQ(pEdit->GetThemeColor(0, 0, TMT_FILLCOLOR, RGB(4, 5, 6)), RGB(4, 5, 6));
    COLORREF clr = 0;
    EXPECT_EQ(m_pEngine->GetSchema()->GetColor(22, 0, 0, TMT_TEXTCOLOR, clr), S_OK);
    EXPECT_EQ(clr, RGB(1, 2, 3) ^ 0xFFFFFF);
}

TEST_F(ThemeClassTest, ImagesAreCachedAndMissingOnesTriedAgain)
{
    Load({"[Button]", "ImageFile = pic.bmp"});
    CXTPSkinThemeClass* pButton = m_pEngine->GetThemeClass("BUTTON");
    EXPECT_EQ(pButton->GetImage(nullptr), nullptr);
    EXPECT_EQ(pButton->GetImage(""), nullptr);
    EXPECT_EQ(pButton->GetImage("PIC.BMP"), nullptr);

    std::vector<uint32_t> pixels(6, 0x00336699);
    ASSERT_TRUE(WriteBytes(m_folder.File("pic.bmp"), MakeBmpFile(MakePackedDib(3, 2, 24, pixels))));
    CXTPSkinThemeImage* pImage = pButton->GetImage("PIC.BMP");
    ASSERT_NE(pImage, nullptr) << "a failed load is not remembered";
    EXPECT_EQ(pImage->GetWidth(), 3);
    EXPECT_EQ(pImage->GetHeight(), 2);
    EXPECT_FALSE(pImage->HasAlpha());
    DeleteFileA(m_folder.File("pic.bmp").c_str());
    EXPECT_EQ(pButton->GetImage("PIC.BMP"), pImage) << "a loaded image is kept";
}

}  // namespace
