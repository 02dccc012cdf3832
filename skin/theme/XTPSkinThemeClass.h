// CXTPSkinThemeClass: the handle through which drawing code reads the values
// of one theme class. It caches every lookup, misses included, and the
// class's images by file name; both caches go with the handle, which the
// engine replaces whenever a theme is loaded.
#pragma once

#include "Afx.h"

#include <map>
#include <memory>
#include <unordered_map>

class CXTPSkinEngine;
class CXTPSkinThemeImage;
class CXTPSkinThemeSchema;
class CXTPSkinThemeValue;

class CXTPSkinThemeClass {
public:
    // The handle of the class named pszClassName (its id from the class
    // table, 0 for a name not in it) in the engine's current theme.
    CXTPSkinThemeClass(CXTPSkinEngine* pEngine, const char* pszClassName);
    virtual ~CXTPSkinThemeClass();
    CXTPSkinThemeClass(const CXTPSkinThemeClass&) = delete;
    CXTPSkinThemeClass& operator=(const CXTPSkinThemeClass&) = delete;

    // Each getter returns the theme's value of the property for the part and
    // state, or the default when the theme has no value of that type.
    CString GetThemeString(int nPartId, int nStateId, int nPropId, const char* pszDefault = nullptr);
    RECT GetThemeRect(int nPartId, int nStateId, int nPropId, int nLeft = 0, int nTop = 0, int nRight = 0,
                      int nBottom = 0);
    int GetThemeInt(int nPartId, int nStateId, int nPropId, int nDefault = 0);
    BOOL GetThemeBool(int nPartId, int nStateId, int nPropId, BOOL bDefault = FALSE);
    // A colour found passes the engine's colour filters; the default does not.
    COLORREF GetThemeColor(int nPartId, int nStateId, int nPropId, COLORREF clrDefault = (COLORREF)-1);
    int GetThemeEnumValue(int nPartId, int nStateId, int nPropId, int nDefault = 0);
    POINT GetThemePosition(int nPartId, int nStateId, int nPropId, int nDefaultX = 0, int nDefaultY = 0);

    // The image of that file name from the theme, loaded on first request
    // and kept; null when the theme has none (then tried again next time).
    CXTPSkinThemeImage* GetImage(const char* pszImageFile);

    const CString& GetName() const { return m_strClassName; }
    int GetClassId() const { return m_nClassId; }
    CXTPSkinEngine* GetEngine() const { return m_pEngine; }

    // Draws the part in the state into *pRect with the engine's current
    // schema; FALSE without a theme or when the part's bitmap is missing.
    BOOL DrawThemeBackground(HDC hDC, int nPartId, int nStateId, const RECT* pRect);
    // Draws text in the part's colour, alignment and shadow, inside *pRect
    // less the part's caption margins; dwTextFlags as for DrawText.
    BOOL DrawThemeText(HDC hDC, int nPartId, int nStateId, const char* pszText, DWORD dwTextFlags,
                       const RECT* pRect);
    // The size of the part's bitmap frame (nSizeKind 1, true size) or the
    // size it is drawn at in *pRect (2); other kinds leave *pSize alone.
    // FALSE for parts without a bitmap.
    BOOL GetThemePartSize(int nPartId, int nStateId, const RECT* pRect, int nSizeKind, SIZE* pSize);

protected:
    // The cached value of the property if it has type nType, else null.
    const CXTPSkinThemeValue* GetValue(int nPartId, int nStateId, int nPropId, int nType);
    CXTPSkinThemeSchema* GetSchema() const;

    CXTPSkinEngine* m_pEngine;
    CString m_strClassName;
    int m_nClassId;
    std::map<CString, std::unique_ptr<CXTPSkinThemeImage>> m_mapImages;
    // Cache key (state << 20) + (part << 14) + property; a null entry marks
    // a property the theme does not have.
    std::unordered_map<DWORD, const CXTPSkinThemeValue*> m_mapValues;
};
