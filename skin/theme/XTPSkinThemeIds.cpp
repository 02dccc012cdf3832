#include "XTPSkinThemeIds.h"

#include <cstring>
#include <string>
#include <unordered_map>

namespace {

// Classes, in id order from 1.
const char* const g_arrClassNames[] = {
    "GLOBALS", "DOCUMENTATION", "SYSMETRICS", "LISTBOX", "DIALOG", "WINDOW", "BUTTON", "REBAR",
    "TOOLBAR", "STATUS", "MENU", "LISTVIEW", "HEADER", "PROGRESS", "TAB", "TRACKBAR", "TOOLTIP",
    "TREEVIEW", "SPIN", "PAGE", "SCROLLBAR", "EDIT", "COMBOBOX", "CLOCK", "TRAYNOTIFY", "TASKBAR",
    "TASKBAND", "STARTPANEL", "EXPLORERBAR", "MENUBAND",
};

// A named list of names whose ids count from 1 in the order given.
struct XTP_NAME_LIST {
    const char* pszName;
    const char* pszItems;  // blank-separated
};

// Parts of each class.
const XTP_NAME_LIST g_arrParts[] = {
    {"WINDOW",
     "CAPTION SMALLCAPTION MINCAPTION SMALLMINCAPTION MAXCAPTION SMALLMAXCAPTION FRAMELEFT FRAMERIGHT "
     "FRAMEBOTTOM SMALLFRAMELEFT SMALLFRAMERIGHT SMALLFRAMEBOTTOM SYSBUTTON MDISYSBUTTON MINBUTTON "
     "MDIMINBUTTON MAXBUTTON CLOSEBUTTON SMALLCLOSEBUTTON MDICLOSEBUTTON RESTOREBUTTON MDIRESTOREBUTTON "
     "HELPBUTTON MDIHELPBUTTON HORZSCROLL HORZTHUMB VERTSCROLL VERTTHUMB DIALOG CAPTIONSIZINGTEMPLATE "
     "SMALLCAPTIONSIZINGTEMPLATE FRAMELEFTSIZINGTEMPLATE SMALLFRAMELEFTSIZINGTEMPLATE "
     "FRAMERIGHTSIZINGTEMPLATE SMALLFRAMERIGHTSIZINGTEMPLATE FRAMEBOTTOMSIZINGTEMPLATE "
     "SMALLFRAMEBOTTOMSIZINGTEMPLATE"},
    {"BUTTON", "PUSHBUTTON RADIOBUTTON CHECKBOX GROUPBOX USERBUTTON"},
    {"REBAR", "GRIPPER GRIPPERVERT BAND CHEVRON CHEVRONVERT"},
    {"TOOLBAR", "BUTTON DROPDOWNBUTTON SPLITBUTTON SPLITBUTTONDROPDOWN SEPARATOR SEPARATORVERT"},
    {"STATUS", "PANE GRIPPERPANE GRIPPER"},
    {"MENU", "MENUITEM MENUDROPDOWN MENUBARITEM MENUBARDROPDOWN CHEVRON SEPARATOR"},
    {"LISTVIEW", "LISTITEM LISTGROUP LISTDETAIL LISTSORTEDDETAIL EMPTYTEXT"},
    {"HEADER", "HEADERITEM HEADERITEMLEFT HEADERITEMRIGHT HEADERSORTARROW"},
    {"PROGRESS", "BAR BARVERT CHUNK CHUNKVERT"},
    {"TAB",
     "TABITEM TABITEMLEFTEDGE TABITEMRIGHTEDGE TABITEMBOTHEDGE TOPTABITEM TOPTABITEMLEFTEDGE "
     "TOPTABITEMRIGHTEDGE TOPTABITEMBOTHEDGE PANE BODY"},
    {"TRACKBAR", "TRACK TRACKVERT THUMB THUMBBOTTOM THUMBTOP THUMBVERT THUMBLEFT THUMBRIGHT TICS TICSVERT"},
    {"TOOLTIP", "STANDARD STANDARDTITLE BALLOON BALLOONTITLE CLOSE"},
    {"TREEVIEW", "TREEITEM GLYPH BRANCH"},
    {"SPIN", "UP DOWN UPHORZ DOWNHORZ"},
    {"PAGE", "UP DOWN UPHORZ DOWNHORZ"},
    {"SCROLLBAR",
     "ARROWBTN THUMBBTNHORZ THUMBBTNVERT LOWERTRACKHORZ UPPERTRACKHORZ LOWERTRACKVERT UPPERTRACKVERT "
     "GRIPPERHORZ GRIPPERVERT SIZEBOX"},
    {"EDIT", "EDITTEXT CARET"},
    {"COMBOBOX", "DROPDOWNBUTTON"},
    {"CLOCK", "TIME"},
    {"TRAYNOTIFY", "BACKGROUND ANIMBACKGROUND"},
    {"TASKBAR",
     "BACKGROUNDBOTTOM BACKGROUNDRIGHT BACKGROUNDTOP BACKGROUNDLEFT SIZINGBARBOTTOM SIZINGBARRIGHT "
     "SIZINGBARTOP SIZINGBARLEFT"},
    {"TASKBAND", "GROUPCOUNT FLASHBUTTON FLASHBUTTONGROUPMENU"},
    {"STARTPANEL",
     "USERPANE MOREPROGRAMS MOREPROGRAMSARROW PROGLIST PROGLISTSEPARATOR PLACESLIST PLACESLISTSEPARATOR "
     "LOGOFF LOGOFFBUTTONS USERPICTURE PREVIEW"},
    {"EXPLORERBAR",
     "HEADERBACKGROUND HEADERCLOSE HEADERPIN IEBARMENU NORMALGROUPBACKGROUND NORMALGROUPCOLLAPSE "
     "NORMALGROUPEXPAND NORMALGROUPHEAD SPECIALGROUPBACKGROUND SPECIALGROUPCOLLAPSE SPECIALGROUPEXPAND "
     "SPECIALGROUPHEAD"},
    {"MENUBAND", "NEWAPPBUTTON SEPERATOR"},
};

// State lists; several list names share one list.
#define XTP_CHECKSTATES                                                                            \
    "UNCHECKEDNORMAL UNCHECKEDHOT UNCHECKEDPRESSED UNCHECKEDDISABLED CHECKEDNORMAL CHECKEDHOT " \
    "CHECKEDPRESSED CHECKEDDISABLED"

const XTP_NAME_LIST g_arrStates[] = {
    {"FRAME", "ACTIVE INACTIVE"},
    {"CAPTION MAXCAPTION MINCAPTION", "ACTIVE INACTIVE DISABLED"},
    {"HORZSCROLL HORZTHUMB VERTSCROLL VERTTHUMB SYSBUTTON MINBUTTON MAXBUTTON RESTOREBUTTON HELPBUTTON "
     "CLOSEBUTTON",
     "NORMAL HOT PUSHED DISABLED"},
    {"PUSHBUTTON", "NORMAL HOT PRESSED DISABLED DEFAULTED"},
    {"RADIOBUTTON", XTP_CHECKSTATES},
    {"CHECKBOX", XTP_CHECKSTATES " MIXEDNORMAL MIXEDHOT MIXEDPRESSED MIXEDDISABLED"},
    {"GROUPBOX", "NORMAL DISABLED"},
    {"CHEVRON HEADERITEM HEADERITEMLEFT HEADERITEMRIGHT CLOSE MOREPROGRAMSARROW LOGOFFBUTTONS HEADERCLOSE "
     "IEBARMENU NORMALGROUPCOLLAPSE NORMALGROUPEXPAND SPECIALGROUPCOLLAPSE SPECIALGROUPEXPAND",
     "NORMAL HOT PRESSED"},
    {"TOOLBAR MENUBAND", "NORMAL HOT PRESSED DISABLED CHECKED HOTCHECKED"},
    {"MENU", "NORMAL SELECTED DEMOTED"},
    {"LISTITEM TREEITEM", "NORMAL HOT SELECTED DISABLED SELECTEDNOTFOCUS"},
    {"HEADERSORTARROW", "SORTEDUP SORTEDDOWN"},
    {"TABITEM TABITEMLEFTEDGE TABITEMRIGHTEDGE TABITEMBOTHEDGES TOPTABITEM TOPTABITEMLEFTEDGE "
     "TOPTABITEMRIGHTEDGE TOPTABITEMBOTHEDGES",
     "NORMAL HOT SELECTED DISABLED FOCUSED"},
    {"TRACKBAR TRACK TRACKVERT TICS TICSVERT CLOCK", "NORMAL"},
    {"THUMB THUMBBOTTOM THUMBTOP THUMBVERT THUMBLEFT THUMBRIGHT", "NORMAL HOT PRESSED FOCUSED DISABLED"},
    {"STANDARD BALLOON", "NORMAL LINK"},
    {"GLYPH", "CLOSED OPENED"},
    {"UP DOWN UPHORZ DOWNHORZ COMBOBOX", "NORMAL HOT PRESSED DISABLED"},
    {"ARROWBTN",
     "UPNORMAL UPHOT UPPRESSED UPDISABLED DOWNNORMAL DOWNHOT DOWNPRESSED DOWNDISABLED LEFTNORMAL LEFTHOT "
     "LEFTPRESSED LEFTDISABLED RIGHTNORMAL RIGHTHOT RIGHTPRESSED RIGHTDISABLED"},
    {"SCROLLBAR", "NORMAL HOT PRESSED DISABLED ACTIVE"},
    {"SIZEBOX", "RIGHTALIGN LEFTALIGN"},
    {"EDITTEXT", "NORMAL HOT SELECTED DISABLED FOCUSED READONLY ASSIST"},
    {"HEADERPIN", "NORMAL HOT PRESSED SELECTEDNORMAL SELECTEDHOT SELECTEDPRESSED"},
};

struct XTP_PROPERTY {
    const char* pszName;
    int nId;
    int nType;
};

const XTP_PROPERTY g_arrProperties[] = {
    {"STRING", 201, XTP_SKINVALUE_STRING},
    {"INT", 202, XTP_SKINVALUE_INT},
    {"BOOL", 203, XTP_SKINVALUE_BOOL},
    {"COLOR", 204, XTP_SKINVALUE_COLOR},
    {"MARGINS", 205, XTP_SKINVALUE_RECT},
    {"FILENAME", 206, XTP_SKINVALUE_STRING},
    {"SIZE", 207, XTP_SKINVALUE_INT},
    {"POSITION", 208, XTP_SKINVALUE_POSITION},
    {"RECT", 209, XTP_SKINVALUE_RECT},
    {"FONT", 210, XTP_SKINVALUE_FONT},
    {"INTLIST", 211, XTP_SKINVALUE_INTLIST},
    {"COLORSCHEMES", 401, XTP_SKINVALUE_STRING},
    {"SIZES", 402, XTP_SKINVALUE_STRING},
    {"CHARSET", 403, XTP_SKINVALUE_INT},
    {"DISPLAYNAME", 601, XTP_SKINVALUE_STRING},
    {"TOOLTIP", 602, XTP_SKINVALUE_STRING},
    {"COMPANY", 603, XTP_SKINVALUE_STRING},
    {"AUTHOR", 604, XTP_SKINVALUE_STRING},
    {"COPYRIGHT", 605, XTP_SKINVALUE_STRING},
    {"URL", 606, XTP_SKINVALUE_STRING},
    {"VERSION", 607, XTP_SKINVALUE_STRING},
    {"DESCRIPTION", 608, XTP_SKINVALUE_STRING},
    {"CAPTIONFONT", 801, XTP_SKINVALUE_FONT},
    {"SMALLCAPTIONFONT", 802, XTP_SKINVALUE_FONT},
    {"MENUFONT", 803, XTP_SKINVALUE_FONT},
    {"STATUSFONT", 804, XTP_SKINVALUE_FONT},
    {"MSGBOXFONT", 805, XTP_SKINVALUE_FONT},
    {"ICONTITLEFONT", 806, XTP_SKINVALUE_FONT},
    {"FLATMENUS", 1001, XTP_SKINVALUE_BOOL},
    {"SIZINGBORDERWIDTH", 1201, XTP_SKINVALUE_INT},
    {"SCROLLBARWIDTH", 1202, XTP_SKINVALUE_INT},
    {"SCROLLBARHEIGHT", 1203, XTP_SKINVALUE_INT},
    {"CAPTIONBARWIDTH", 1204, XTP_SKINVALUE_INT},
    {"CAPTIONBARHEIGHT", 1205, XTP_SKINVALUE_INT},
    {"SMCAPTIONBARWIDTH", 1206, XTP_SKINVALUE_INT},
    {"SMCAPTIONBARHEIGHT", 1207, XTP_SKINVALUE_INT},
    {"MENUBARWIDTH", 1208, XTP_SKINVALUE_INT},
    {"MENUBARHEIGHT", 1209, XTP_SKINVALUE_INT},
    {"MINCOLORDEPTH", 1301, XTP_SKINVALUE_INT},
    {"CSSNAME", 1401, XTP_SKINVALUE_STRING},
    {"XMLNAME", 1402, XTP_SKINVALUE_STRING},
    // One colour per system colour index: id = 1601 + COLOR_ index.
    {"SCROLLBAR", 1601, XTP_SKINVALUE_COLOR},
    {"BACKGROUND", 1602, XTP_SKINVALUE_COLOR},
    {"ACTIVECAPTION", 1603, XTP_SKINVALUE_COLOR},
    {"INACTIVECAPTION", 1604, XTP_SKINVALUE_COLOR},
    {"MENU", 1605, XTP_SKINVALUE_COLOR},
    {"WINDOW", 1606, XTP_SKINVALUE_COLOR},
    {"WINDOWFRAME", 1607, XTP_SKINVALUE_COLOR},
    {"MENUTEXT", 1608, XTP_SKINVALUE_COLOR},
    {"WINDOWTEXT", 1609, XTP_SKINVALUE_COLOR},
    {"CAPTIONTEXT", 1610, XTP_SKINVALUE_COLOR},
    {"ACTIVEBORDER", 1611, XTP_SKINVALUE_COLOR},
    {"INACTIVEBORDER", 1612, XTP_SKINVALUE_COLOR},
    {"APPWORKSPACE", 1613, XTP_SKINVALUE_COLOR},
    {"HIGHLIGHT", 1614, XTP_SKINVALUE_COLOR},
    {"HIGHLIGHTTEXT", 1615, XTP_SKINVALUE_COLOR},
    {"BTNFACE", 1616, XTP_SKINVALUE_COLOR},
    {"BTNSHADOW", 1617, XTP_SKINVALUE_COLOR},
    {"GRAYTEXT", 1618, XTP_SKINVALUE_COLOR},
    {"BTNTEXT", 1619, XTP_SKINVALUE_COLOR},
    {"INACTIVECAPTIONTEXT", 1620, XTP_SKINVALUE_COLOR},
    {"BTNHIGHLIGHT", 1621, XTP_SKINVALUE_COLOR},
    {"DKSHADOW3D", 1622, XTP_SKINVALUE_COLOR},
    {"LIGHT3D", 1623, XTP_SKINVALUE_COLOR},
    {"INFOTEXT", 1624, XTP_SKINVALUE_COLOR},
    {"INFOBK", 1625, XTP_SKINVALUE_COLOR},
    {"BUTTONALTERNATEFACE", 1626, XTP_SKINVALUE_COLOR},
    {"HOTTRACKING", 1627, XTP_SKINVALUE_COLOR},
    {"GRADIENTACTIVECAPTION", 1628, XTP_SKINVALUE_COLOR},
    {"GRADIENTINACTIVECAPTION", 1629, XTP_SKINVALUE_COLOR},
    {"MENUHILIGHT", 1630, XTP_SKINVALUE_COLOR},
    {"MENUBAR", 1631, XTP_SKINVALUE_COLOR},
    {"FROMHUE1", 1801, XTP_SKINVALUE_INT},
    {"FROMHUE2", 1802, XTP_SKINVALUE_INT},
    {"FROMHUE3", 1803, XTP_SKINVALUE_INT},
    {"FROMHUE4", 1804, XTP_SKINVALUE_INT},
    {"FROMHUE5", 1805, XTP_SKINVALUE_INT},
    {"TOHUE1", 1806, XTP_SKINVALUE_INT},
    {"TOHUE2", 1807, XTP_SKINVALUE_INT},
    {"TOHUE3", 1808, XTP_SKINVALUE_INT},
    {"TOHUE4", 1809, XTP_SKINVALUE_INT},
    {"TOHUE5", 1810, XTP_SKINVALUE_INT},
    {"FROMCOLOR1", 2001, XTP_SKINVALUE_COLOR},
    {"FROMCOLOR2", 2002, XTP_SKINVALUE_COLOR},
    {"FROMCOLOR3", 2003, XTP_SKINVALUE_COLOR},
    {"FROMCOLOR4", 2004, XTP_SKINVALUE_COLOR},
    {"FROMCOLOR5", 2005, XTP_SKINVALUE_COLOR},
    {"TOCOLOR1", 2006, XTP_SKINVALUE_COLOR},
    {"TOCOLOR2", 2007, XTP_SKINVALUE_COLOR},
    {"TOCOLOR3", 2008, XTP_SKINVALUE_COLOR},
    {"TOCOLOR4", 2009, XTP_SKINVALUE_COLOR},
    {"TOCOLOR5", 2010, XTP_SKINVALUE_COLOR},
    {"TRANSPARENT", 2201, XTP_SKINVALUE_BOOL},
    {"AUTOSIZE", 2202, XTP_SKINVALUE_BOOL},
    {"BORDERONLY", 2203, XTP_SKINVALUE_BOOL},
    {"COMPOSITED", 2204, XTP_SKINVALUE_BOOL},
    {"BGFILL", 2205, XTP_SKINVALUE_BOOL},
    {"GLYPHTRANSPARENT", 2206, XTP_SKINVALUE_BOOL},
    {"GLYPHONLY", 2207, XTP_SKINVALUE_BOOL},
    {"ALWAYSSHOWSIZINGBAR", 2208, XTP_SKINVALUE_BOOL},
    {"MIRRORIMAGE", 2209, XTP_SKINVALUE_BOOL},
    {"UNIFORMSIZING", 2210, XTP_SKINVALUE_BOOL},
    {"INTEGRALSIZING", 2211, XTP_SKINVALUE_BOOL},
    {"SOURCEGROW", 2212, XTP_SKINVALUE_BOOL},
    {"SOURCESHRINK", 2213, XTP_SKINVALUE_BOOL},
    {"IMAGECOUNT", 2401, XTP_SKINVALUE_INT},
    {"ALPHALEVEL", 2402, XTP_SKINVALUE_INT},
    {"BORDERSIZE", 2403, XTP_SKINVALUE_INT},
    {"ROUNDCORNERWIDTH", 2404, XTP_SKINVALUE_INT},
    {"ROUNDCORNERHEIGHT", 2405, XTP_SKINVALUE_INT},
    {"GRADIENTRATIO1", 2406, XTP_SKINVALUE_INT},
    {"GRADIENTRATIO2", 2407, XTP_SKINVALUE_INT},
    {"GRADIENTRATIO3", 2408, XTP_SKINVALUE_INT},
    {"GRADIENTRATIO4", 2409, XTP_SKINVALUE_INT},
    {"GRADIENTRATIO5", 2410, XTP_SKINVALUE_INT},
    {"PROGRESSCHUNKSIZE", 2411, XTP_SKINVALUE_INT},
    {"PROGRESSSPACESIZE", 2412, XTP_SKINVALUE_INT},
    {"SATURATION", 2413, XTP_SKINVALUE_INT},
    {"TEXTBORDERSIZE", 2414, XTP_SKINVALUE_INT},
    {"ALPHATHRESHOLD", 2415, XTP_SKINVALUE_INT},
    {"WIDTH", 2416, XTP_SKINVALUE_INT},
    {"HEIGHT", 2417, XTP_SKINVALUE_INT},
    {"GLYPHINDEX", 2418, XTP_SKINVALUE_INT},
    {"TRUESIZESTRETCHMARK", 2419, XTP_SKINVALUE_INT},
    {"MINDPI1", 2420, XTP_SKINVALUE_INT},
    {"MINDPI2", 2421, XTP_SKINVALUE_INT},
    {"MINDPI3", 2422, XTP_SKINVALUE_INT},
    {"MINDPI4", 2423, XTP_SKINVALUE_INT},
    {"MINDPI5", 2424, XTP_SKINVALUE_INT},
    {"GLYPHFONT", 2601, XTP_SKINVALUE_FONT},
    {"IMAGEFILE", 3001, XTP_SKINVALUE_STRING},
    {"IMAGEFILE1", 3002, XTP_SKINVALUE_STRING},
    {"IMAGEFILE2", 3003, XTP_SKINVALUE_STRING},
    {"IMAGEFILE3", 3004, XTP_SKINVALUE_STRING},
    {"IMAGEFILE4", 3005, XTP_SKINVALUE_STRING},
    {"IMAGEFILE5", 3006, XTP_SKINVALUE_STRING},
    {"STOCKIMAGEFILE", 3007, XTP_SKINVALUE_STRING},
    {"GLYPHIMAGEFILE", 3008, XTP_SKINVALUE_STRING},
    {"TEXT", 3201, XTP_SKINVALUE_STRING},
    {"OFFSET", 3401, XTP_SKINVALUE_POSITION},
    {"TEXTSHADOWOFFSET", 3402, XTP_SKINVALUE_POSITION},
    {"MINSIZE", 3403, XTP_SKINVALUE_POSITION},
    {"MINSIZE1", 3404, XTP_SKINVALUE_POSITION},
    {"MINSIZE2", 3405, XTP_SKINVALUE_POSITION},
    {"MINSIZE3", 3406, XTP_SKINVALUE_POSITION},
    {"MINSIZE4", 3407, XTP_SKINVALUE_POSITION},
    {"MINSIZE5", 3408, XTP_SKINVALUE_POSITION},
    {"NORMALSIZE", 3409, XTP_SKINVALUE_POSITION},
    {"SIZINGMARGINS", 3601, XTP_SKINVALUE_RECT},
    {"CONTENTMARGINS", 3602, XTP_SKINVALUE_RECT},
    {"CAPTIONMARGINS", 3603, XTP_SKINVALUE_RECT},
    {"BORDERCOLOR", 3801, XTP_SKINVALUE_COLOR},
    {"FILLCOLOR", 3802, XTP_SKINVALUE_COLOR},
    {"TEXTCOLOR", 3803, XTP_SKINVALUE_COLOR},
    {"EDGELIGHTCOLOR", 3804, XTP_SKINVALUE_COLOR},
    {"EDGEHIGHLIGHTCOLOR", 3805, XTP_SKINVALUE_COLOR},
    {"EDGESHADOWCOLOR", 3806, XTP_SKINVALUE_COLOR},
    {"EDGEDKSHADOWCOLOR", 3807, XTP_SKINVALUE_COLOR},
    {"EDGEFILLCOLOR", 3808, XTP_SKINVALUE_COLOR},
    {"TRANSPARENTCOLOR", 3809, XTP_SKINVALUE_COLOR},
    {"GRADIENTCOLOR1", 3810, XTP_SKINVALUE_COLOR},
    {"GRADIENTCOLOR2", 3811, XTP_SKINVALUE_COLOR},
    {"GRADIENTCOLOR3", 3812, XTP_SKINVALUE_COLOR},
    {"GRADIENTCOLOR4", 3813, XTP_SKINVALUE_COLOR},
    {"GRADIENTCOLOR5", 3814, XTP_SKINVALUE_COLOR},
    {"SHADOWCOLOR", 3815, XTP_SKINVALUE_COLOR},
    {"GLOWCOLOR", 3816, XTP_SKINVALUE_COLOR},
    {"TEXTBORDERCOLOR", 3817, XTP_SKINVALUE_COLOR},
    {"TEXTSHADOWCOLOR", 3818, XTP_SKINVALUE_COLOR},
    {"GLYPHTEXTCOLOR", 3819, XTP_SKINVALUE_COLOR},
    {"GLYPHTRANSPARENTCOLOR", 3820, XTP_SKINVALUE_COLOR},
    {"FILLCOLORHINT", 3821, XTP_SKINVALUE_COLOR},
    {"BORDERCOLORHINT", 3822, XTP_SKINVALUE_COLOR},
    {"ACCENTCOLORHINT", 3823, XTP_SKINVALUE_COLOR},
    {"BGTYPE", 4001, XTP_SKINVALUE_ENUM},
    {"BORDERTYPE", 4002, XTP_SKINVALUE_ENUM},
    {"FILLTYPE", 4003, XTP_SKINVALUE_ENUM},
    {"SIZINGTYPE", 4004, XTP_SKINVALUE_ENUM},
    {"HALIGN", 4005, XTP_SKINVALUE_ENUM},
    {"CONTENTALIGNMENT", 4006, XTP_SKINVALUE_ENUM},
    {"VALIGN", 4007, XTP_SKINVALUE_ENUM},
    {"OFFSETTYPE", 4008, XTP_SKINVALUE_ENUM},
    {"ICONEFFECT", 4009, XTP_SKINVALUE_ENUM},
    {"TEXTSHADOWTYPE", 4010, XTP_SKINVALUE_ENUM},
    {"IMAGELAYOUT", 4011, XTP_SKINVALUE_ENUM},
    {"GLYPHTYPE", 4012, XTP_SKINVALUE_ENUM},
    {"IMAGESELECTTYPE", 4013, XTP_SKINVALUE_ENUM},
    {"GLYPHFONTSIZINGTYPE", 4014, XTP_SKINVALUE_ENUM},
    {"TRUESIZESCALINGTYPE", 4015, XTP_SKINVALUE_ENUM},
    {"USERPICTURE", 5001, XTP_SKINVALUE_BOOL},
    {"DEFAULTPANESIZE", 5002, XTP_SKINVALUE_RECT},
    {"BLENDCOLOR", 5003, XTP_SKINVALUE_COLOR},
};

// Enumeration keywords; several properties share one list.
const XTP_NAME_LIST g_arrEnums[] = {
    {"BGTYPE", "IMAGEFILE BORDERFILL NONE"},
    {"IMAGELAYOUT", "VERTICAL HORIZONTAL"},
    {"BORDERTYPE", "RECT ROUNDRECT ELLIPSE"},
    {"FILLTYPE", "SOLID VERTGRADIENT HORZGRADIENT RADIALGRADIENT TILEIMAGE"},
    {"SIZINGTYPE", "TRUESIZE STRETCH TILE"},
    {"HALIGN CONTENTALIGNMENT", "LEFT CENTER RIGHT"},
    {"VALIGN", "TOP CENTER BOTTOM"},
    {"OFFSETTYPE",
     "TOPLEFT TOPRIGHT TOPMIDDLE BOTTOMLEFT BOTTOMRIGHT BOTTOMMIDDLE MIDDLELEFT MIDDLERIGHT LEFTOFCAPTION "
     "RIGHTOFCAPTION LEFTOFLASTBUTTON RIGHTOFLASTBUTTON ABOVELASTBUTTON BELOWLASTBUTTON"},
    {"ICONEFFECT", "NONE GLOW SHADOW PULSE ALPHA"},
    {"TEXTSHADOWTYPE", "NONE SINGLE CONTINUOUS"},
    {"GLYPHTYPE", "NONE IMAGEGLYPH FONTGLYPH"},
    {"IMAGESELECTTYPE TRUESIZESCALINGTYPE GLYPHFONTSIZINGTYPE", "NONE SIZE DPI"},
};

// Calls fn(word, index from 1) for each blank-separated word.
template <class Fn>
void ForEachWord(const char* pszWords, Fn fn)
{
    int nIndex = 0;
    const char* p = pszWords;
    while (*p) {
        while (*p == ' ')
            p++;
        const char* pStart = p;
        while (*p && *p != ' ')
            p++;
        if (p > pStart)
            fn(std::string(pStart, p), ++nIndex);
    }
}

// Every name lookup goes through one map, keyed by a kind letter and the
// upper-cased names: "C" class, "P" class.part, "S" list(state), "R"
// property, "E" property=keyword.
class CNameIndex {
public:
    struct Entry {
        int nId;
        int nType;
    };

    CNameIndex()
    {
        m_map.reserve(1024);
        int nClass = 0;
        for (const char* pszClass : g_arrClassNames)
            Add("C" + std::string(pszClass), ++nClass, 0);
        for (const XTP_NAME_LIST& parts : g_arrParts)
            ForEachWord(parts.pszItems, [&](const std::string& strPart, int nId) {
                Add("P" + std::string(parts.pszName) + "." + strPart, nId, 0);
            });
        for (const XTP_NAME_LIST& states : g_arrStates)
            ForEachWord(states.pszName, [&](const std::string& strList, int) {
                ForEachWord(states.pszItems, [&](const std::string& strState, int nId) {
                    Add("S" + strList + "(" + strState + ")", nId, 0);
                });
            });
        for (const XTP_PROPERTY& prop : g_arrProperties)
            Add("R" + std::string(prop.pszName), prop.nId, prop.nType);
        for (const XTP_NAME_LIST& keywords : g_arrEnums)
            ForEachWord(keywords.pszName, [&](const std::string& strProp, int) {
                ForEachWord(keywords.pszItems, [&](const std::string& strWord, int nId) {
                    Add("E" + strProp + "=" + strWord, nId - 1, 0);
                });
            });
    }

    const Entry* Find(const std::string& strKey) const
    {
        auto it = m_map.find(strKey);
        return it == m_map.end() ? nullptr : &it->second;
    }

private:
    void Add(const std::string& strKey, int nId, int nType) { m_map.emplace(strKey, Entry{nId, nType}); }

    std::unordered_map<std::string, Entry> m_map;
};

const CNameIndex& GetNameIndex()
{
    static const CNameIndex s_index;
    return s_index;
}

// Appends pszName upper-cased. The table names are plain ASCII, so only
// ASCII letters need folding; any other byte can never match.
void AppendUpper(std::string& strKey, const char* pszName)
{
    for (const char* p = pszName; *p; p++) {
        char ch = *p;
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
        strKey += ch;
    }
}

const CNameIndex::Entry* Lookup(char chKind, const char* pszFirst, char chSep = 0, const char* pszSecond = nullptr,
                                char chEnd = 0)
{
    if (!pszFirst || (chSep && !pszSecond))
        return nullptr;
    std::string strKey;
    strKey.reserve(64);
    strKey += chKind;
    AppendUpper(strKey, pszFirst);
    if (chSep) {
        strKey += chSep;
        AppendUpper(strKey, pszSecond);
    }
    if (chEnd)
        strKey += chEnd;
    return GetNameIndex().Find(strKey);
}

}  // namespace

int GetClassId(const char* pszClassName)
{
    const CNameIndex::Entry* pEntry = Lookup('C', pszClassName);
    return pEntry ? pEntry->nId : 0;
}

int GetPartId(const char* pszClassName, const char* pszPartName)
{
    const CNameIndex::Entry* pEntry = Lookup('P', pszClassName, '.', pszPartName);
    return pEntry ? pEntry->nId : 0;
}

int GetStateId(const char* pszStateListName, const char* pszStateName)
{
    const CNameIndex::Entry* pEntry = Lookup('S', pszStateListName, '(', pszStateName, ')');
    return pEntry ? pEntry->nId : 0;
}

int GetPropertyId(const char* pszPropertyName, int& nType)
{
    const CNameIndex::Entry* pEntry = Lookup('R', pszPropertyName);
    if (!pEntry)
        return 0;
    nType = pEntry->nType;
    return pEntry->nId;
}

int GetEnumValue(const char* pszPropertyName, const char* pszKeyword)
{
    const CNameIndex::Entry* pEntry = Lookup('E', pszPropertyName, '=', pszKeyword);
    return pEntry ? pEntry->nId : -1;
}

DWORD GetSectionKey(const char* pszSectionName)
{
    if (!pszSectionName || strchr(pszSectionName, ':'))
        return 0;

    std::string strName;
    for (const char* p = pszSectionName; *p; p++) {
        if (*p != ' ')
            strName += *p;
    }

    bool bHasState = false;
    std::string strState;
    size_t nParen = strName.find('(');
    if (nParen != std::string::npos) {
        // The state runs to the end of the name less its last character,
        // which should be the closing parenthesis.
        bHasState = true;
        size_t nEnd = strName.size() - 1;
        if (nEnd > nParen + 1)
            strState = strName.substr(nParen + 1, nEnd - nParen - 1);
        strName.resize(nParen);
    }

    bool bHasPart = false;
    std::string strClass = strName, strPart;
    size_t nDot = strName.find('.');
    if (nDot != std::string::npos) {
        bHasPart = true;
        strClass = strName.substr(0, nDot);
        strPart = strName.substr(nDot + 1);
    }

    int nPartId = 0;
    if (bHasPart) {
        nPartId = GetPartId(strClass.c_str(), strPart.c_str());
        if (nPartId == 0)
            return 0;
    }
    int nStateId = 0;
    if (bHasState) {
        nStateId = GetStateId(bHasPart ? strPart.c_str() : strClass.c_str(), strState.c_str());
        if (nStateId == 0)
            return 0;
    }
    int nClassId = GetClassId(strClass.c_str());
    if (nClassId == 0)
        return 0;
    return XTPSkinMakeKey(nClassId, nPartId, nStateId, 0);
}

namespace {

// The nth word (from 1) of a blank-separated list, or "".
std::string GetWord(const char* pszWords, int nIndex)
{
    std::string strFound;
    ForEachWord(pszWords, [&](const std::string& strWord, int nId) {
        if (nId == nIndex)
            strFound = strWord;
    });
    return strFound;
}

int CountWords(const char* pszWords)
{
    int nCount = 0;
    ForEachWord(pszWords, [&](const std::string&, int nId) { nCount = nId; });
    return nCount;
}

const char* FindParts(int nClassId)
{
    const char* pszClass = GetThemeClassName(nClassId);
    for (const XTP_NAME_LIST& parts : g_arrParts) {
        if (*pszClass && lstrcmpiA(parts.pszName, pszClass) == 0)
            return parts.pszItems;
    }
    return "";
}

const char* FindStates(const char* pszStateListName)
{
    const char* pszFound = "";
    if (!pszStateListName)
        return pszFound;
    for (const XTP_NAME_LIST& states : g_arrStates) {
        ForEachWord(states.pszName, [&](const std::string& strList, int) {
            if (lstrcmpiA(strList.c_str(), pszStateListName) == 0)
                pszFound = states.pszItems;
        });
    }
    return pszFound;
}

}  // namespace

const char* GetThemeClassName(int nClassId)
{
    int nCount = static_cast<int>(sizeof(g_arrClassNames) / sizeof(g_arrClassNames[0]));
    return nClassId >= 1 && nClassId <= nCount ? g_arrClassNames[nClassId - 1] : "";
}

int GetThemePartCount(int nClassId)
{
    return CountWords(FindParts(nClassId));
}

std::string GetThemePartName(int nClassId, int nPartId)
{
    return GetWord(FindParts(nClassId), nPartId);
}

int GetThemeStateCount(const char* pszStateListName)
{
    return CountWords(FindStates(pszStateListName));
}

std::string GetThemeStateName(const char* pszStateListName, int nStateId)
{
    return GetWord(FindStates(pszStateListName), nStateId);
}
