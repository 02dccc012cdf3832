// CXTPSkinThemeSchema: a parsed theme. It reads the theme's INI text from the
// theme file into typed values keyed by class, part, state and property, and
// answers lookups with the fallback from state to part, class and Globals.
// CXTPSkinThemeValue is one stored value.
#pragma once

#include "Afx.h"
#include "XTPSkinThemeIds.h"

#include <memory>
#include <unordered_map>

class CXTPSkinEngine;
class CXTPSkinThemeClass;
class CXTPSkinThemeFile;

// One typed theme value. Strings and fonts are owned by the value.
class CXTPSkinThemeValue {
public:
    CXTPSkinThemeValue(int nType, int nPropId) : m_nType(nType), m_nPropId(nPropId) {}
    CXTPSkinThemeValue(const CXTPSkinThemeValue&) = delete;
    CXTPSkinThemeValue& operator=(const CXTPSkinThemeValue&) = delete;

    // The value the text gives a property of this type, or null for a type
    // that is never stored (integer lists).
    static std::unique_ptr<CXTPSkinThemeValue> Parse(int nType, int nPropId, const char* pszPropertyName,
                                                     const char* pszValue);

    int m_nType;
    int m_nPropId;
    // Integer, boolean, colour and enumeration values: m_nValue; rectangles
    // and margins: m_rcValue (left, top, right, bottom); positions and sizes:
    // m_ptValue.
    union {
        int m_nValue;
        COLORREF m_clrValue;
        RECT m_rcValue;
        POINT m_ptValue;
    };
    CString m_strValue;                // strings
    std::unique_ptr<LOGFONTA> m_pFont; // fonts
};

class CXTPSkinThemeSchema {
public:
    explicit CXTPSkinThemeSchema(CXTPSkinEngine* pEngine);
    virtual ~CXTPSkinThemeSchema();
    CXTPSkinThemeSchema(const CXTPSkinThemeSchema&) = delete;
    CXTPSkinThemeSchema& operator=(const CXTPSkinThemeSchema&) = delete;

    // Fills the value map from every line of the theme file. Never fails:
    // lines it cannot use are skipped. Returns 0.
    int ParseIni(CXTPSkinThemeFile* pThemeFile);
    // Parses one line of INI text; nSectionKey carries the current section
    // from line to line (0 before the first usable header).
    void ParseLine(const char* pszLine, DWORD& nSectionKey);

    // The value of the property, tried for (class, part, state), (class, part),
    // the class alone and Globals, in that order; null when none has one.
    const CXTPSkinThemeValue* FindValue(int nClassId, int nPartId, int nStateId, int nPropId) const;

    // S_OK and the value; E_FAIL when there is no value, E_INVALIDARG when
    // the value found has another type. Colours pass the engine's colour
    // filters.
    HRESULT GetInt(int nClassId, int nPartId, int nStateId, int nPropId, int& nValue) const;
    HRESULT GetBool(int nClassId, int nPartId, int nStateId, int nPropId, BOOL& bValue) const;
    HRESULT GetColor(int nClassId, int nPartId, int nStateId, int nPropId, COLORREF& clrValue) const;
    HRESULT GetFont(int nClassId, int nPartId, int nStateId, int nPropId, LOGFONTA& lfValue) const;

    // Whether 32-bit images of this theme get their colours premultiplied
    // by alpha when they are loaded.
    BOOL IsPremultiplyImages() const { return m_bPreMultiplyImages; }
    const CString& GetSchemaName() const { return m_strSchemaName; }
    CXTPSkinEngine* GetEngine() const { return m_pEngine; }
    int GetValueCount() const { return static_cast<int>(m_mapValues.size()); }

    // Draws one part of the class in one state into *pRect: its bitmap
    // frame, or a border and fill, and a glyph over it. FALSE when the part's
    // bitmap is missing; TRUE (drawing nothing) for parts without background.
    virtual BOOL DrawThemeBackground(HDC hDC, CXTPSkinThemeClass* pClass, int nPartId, int nStateId,
                                     const RECT* pRect);

    // The frame and scroll bar drawing of the schema are added as virtual
    // members here; subclasses such as the Office 2007 schema replace some
    // of them.

protected:
    // A solid border and fill.
    BOOL DrawBorderFill(HDC hDC, CXTPSkinThemeClass* pClass, int nPartId, int nStateId, const RECT* pRect);
    // The glyph bitmap, at its own size, centred in *pRect less the content
    // margins.
    BOOL DrawGlyph(HDC hDC, CXTPSkinThemeClass* pClass, int nPartId, int nStateId, const RECT* pRect);
    // The property of the largest glyph bitmap whose frame fits rcContent
    // (IMAGEFILE5 down to IMAGEFILE1), IMAGEFILE when none is named, or -1.
    int SelectGlyphImage(CXTPSkinThemeClass* pClass, int nPartId, int nStateId, const RECT& rcContent,
                         int nImageCount, BOOL bHorizontal);

    // Looks up one exact key.
    const CXTPSkinThemeValue* Lookup(int nClassId, int nPartId, int nStateId, int nPropId) const;
    HRESULT GetTyped(int nClassId, int nPartId, int nStateId, int nPropId, int nType,
                     const CXTPSkinThemeValue*& pValue) const;

    BOOL m_bPreMultiplyImages;
    std::unordered_map<DWORD, std::unique_ptr<CXTPSkinThemeValue>> m_mapValues;
    CXTPSkinEngine* m_pEngine;
    CString m_strSchemaName;
    // Held by the frame drawing around its shared caption buffer.
    CRITICAL_SECTION m_csDraw;
    int m_nGlobalClassId;
    int m_nWindowClassId;
};
