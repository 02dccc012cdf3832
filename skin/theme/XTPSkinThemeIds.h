// The vocabulary of theme INI text: class, part, state and property names with
// their numeric ids and value types, the keywords of enumerated values, and
// the keys under which the schema stores values. Property numbers are the
// TMT_ numbers of <vssym32.h>; part and state numbers are those of the
// visual-styles API, so callers of that API can pass theirs straight through.
#pragma once

#include <windows.h>

#include <string>

// Value type of a theme property.
enum XTPSkinValueType {
    XTP_SKINVALUE_NONE = 0,
    XTP_SKINVALUE_STRING = 1,   // text, also image file names
    XTP_SKINVALUE_INT = 2,
    XTP_SKINVALUE_BOOL = 3,
    XTP_SKINVALUE_COLOR = 4,    // COLORREF
    XTP_SKINVALUE_RECT = 5,     // rectangle or margins
    XTP_SKINVALUE_FONT = 6,     // LOGFONTA
    XTP_SKINVALUE_INTLIST = 7,  // recognised, never stored
    XTP_SKINVALUE_ENUM = 8,     // keyword index, -1 for an unknown keyword
    XTP_SKINVALUE_POSITION = 9  // x, y
};

// Theme class ids.
enum XTPSkinClassId {
    XTP_SKINCLASS_UNKNOWN = 0,
    XTP_SKINCLASS_GLOBALS = 1,
    XTP_SKINCLASS_DOCUMENTATION = 2,
    XTP_SKINCLASS_SYSMETRICS = 3,
    XTP_SKINCLASS_LISTBOX = 4,
    XTP_SKINCLASS_DIALOG = 5,
    XTP_SKINCLASS_WINDOW = 6,
    XTP_SKINCLASS_BUTTON = 7,
    XTP_SKINCLASS_REBAR = 8,
    XTP_SKINCLASS_TOOLBAR = 9,
    XTP_SKINCLASS_STATUS = 10,
    XTP_SKINCLASS_MENU = 11,
    XTP_SKINCLASS_LISTVIEW = 12,
    XTP_SKINCLASS_HEADER = 13,
    XTP_SKINCLASS_PROGRESS = 14,
    XTP_SKINCLASS_TAB = 15,
    XTP_SKINCLASS_TRACKBAR = 16,
    XTP_SKINCLASS_TOOLTIP = 17,
    XTP_SKINCLASS_TREEVIEW = 18,
    XTP_SKINCLASS_SPIN = 19,
    XTP_SKINCLASS_PAGE = 20,
    XTP_SKINCLASS_SCROLLBAR = 21,
    XTP_SKINCLASS_EDIT = 22,
    XTP_SKINCLASS_COMBOBOX = 23,
    XTP_SKINCLASS_CLOCK = 24,
    XTP_SKINCLASS_TRAYNOTIFY = 25,
    XTP_SKINCLASS_TASKBAR = 26,
    XTP_SKINCLASS_TASKBAND = 27,
    XTP_SKINCLASS_STARTPANEL = 28,
    XTP_SKINCLASS_EXPLORERBAR = 29,
    XTP_SKINCLASS_MENUBAND = 30,
    XTP_SKINCLASS_LAST = 30
};

// Field widths of a value key: property in bits 0-13, class in bits 14-19,
// part in bits 20-25, state in bits 26-31.
constexpr int XTP_SKINKEY_MAXPROPERTY = 16383;
constexpr int XTP_SKINKEY_MAXID = 63;

// Key of a section (property 0) or of a value. The ids must fit their fields
// (XTPSkinIsValidKeyPart).
inline DWORD XTPSkinMakeKey(int nClassId, int nPartId, int nStateId, int nPropId)
{
    return ((((DWORD)nStateId * 64 + (DWORD)nPartId) * 64 + (DWORD)nClassId) << 14) + (DWORD)nPropId;
}

// Whether the ids fit the fields of a key, so that the key cannot stand for
// another class, part, state or property.
inline bool XTPSkinIsValidKeyPart(int nClassId, int nPartId, int nStateId, int nPropId)
{
    return nClassId >= 0 && nClassId <= XTP_SKINKEY_MAXID && nPartId >= 0 && nPartId <= XTP_SKINKEY_MAXID &&
           nStateId >= 0 && nStateId <= XTP_SKINKEY_MAXID && nPropId >= 0 && nPropId <= XTP_SKINKEY_MAXPROPERTY;
}

// Name lookups; all names are matched without regard to case.
// Class id of a class name, or 0.
int GetClassId(const char* pszClassName);
// Part id of a part of the named class, or 0.
int GetPartId(const char* pszClassName, const char* pszPartName);
// State id of a state in the state list of that name, or 0.
int GetStateId(const char* pszStateListName, const char* pszStateName);
// Property id of a property name, or 0; the value type goes to nType only
// when the name is known.
int GetPropertyId(const char* pszPropertyName, int& nType);
// Value of an enumeration keyword of the property, or -1.
int GetEnumValue(const char* pszPropertyName, const char* pszKeyword);
// Section key of an INI section name such as BUTTON.PUSHBUTTON(HOT), or 0 when
// the section is to be ignored.
DWORD GetSectionKey(const char* pszSectionName);

// The names behind the ids, for listings such as a gallery of a theme's
// parts; empty when there is no such id.
// Class name of a class id (as the class table writes it).
const char* GetThemeClassName(int nClassId);
// Number of parts of a class, and the name of one of them.
int GetThemePartCount(int nClassId);
std::string GetThemePartName(int nClassId, int nPartId);
// Number of states in the state list of that name (a part or class name),
// and the name of one of them.
int GetThemeStateCount(const char* pszStateListName);
std::string GetThemeStateName(const char* pszStateListName, int nStateId);
