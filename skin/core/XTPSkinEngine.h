// CXTPSkinEngine: the process-wide skin engine. It owns the loaded theme and
// draws every window of the process with it.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

class CXTPSkinThemeClass;
class CXTPSkinThemeFile;
class CXTPSkinThemeMetrics;
class CXTPSkinThemeSchema;

constexpr DWORD SKIN_OPTION_METRICS = 1;
constexpr DWORD SKIN_OPTION_FRAMES = 2;
constexpr DWORD SKIN_OPTION_COLORS = 4;

// A colour filter: changes theme colours in place before they are used.
class CXTPSkinColorFilter {
public:
    virtual ~CXTPSkinColorFilter() = default;
    virtual void ApplyColorFilter(COLORREF& clr) = 0;
};

class CXTPSkinEngine {
public:
    // Creates the engine on first use.
    static CXTPSkinEngine* GetInstance();
    virtual ~CXTPSkinEngine();

    // The handle of the theme class of that name (any case), created on
    // first use; valid until the next LoadTheme. Never null.
    virtual CXTPSkinThemeClass* GetThemeClass(const char* pszClassName);

    DWORD GetOptions() const { return m_dwOptions; }
    // Stores the options; with a theme loaded the metrics follow them at once.
    void SetOptions(DWORD dwOptions);

    // Loads and applies the theme package at pszPath; FALSE when it cannot.
    BOOL LoadTheme(const char* pszPath, const char* pszIniFileName);
    BOOL IsLoaded() const { return m_bLoaded; }

    // The parsed theme (null while none is loaded) and the package reader.
    CXTPSkinThemeSchema* GetSchema() const { return m_pSchema; }
    CXTPSkinThemeFile* GetThemeFile() const { return m_pThemeFile; }
    // The theme's colours, brushes, sizes and fonts; refreshed after every
    // LoadTheme, whether it succeeds or not.
    CXTPSkinThemeMetrics* GetMetrics() const { return m_pMetrics; }
    // The metrics colour of a system colour property (1601 + COLOR_ index),
    // 0xFFFFFFFF for any other property.
    COLORREF QuerySysColor(int nPropId) const;

    // Colour filters, applied in the order added; the engine owns them.
    void AddColorFilter(CXTPSkinColorFilter* pFilter);
    void RemoveColorFilters();
    void ApplyColorFilters(COLORREF* pColor) const;
    BOOL HasColorFilters() const { return !m_arrColorFilters.empty(); }

private:
    CXTPSkinEngine();
    void RemoveThemeClasses();

    DWORD m_dwOptions = SKIN_OPTION_METRICS | SKIN_OPTION_FRAMES | SKIN_OPTION_COLORS;
    BOOL m_bLoaded = FALSE;
    // Theme class handles by upper-cased class name.
    std::map<std::string, CXTPSkinThemeClass*> m_mapThemeClasses;
    CXTPSkinThemeSchema* m_pSchema = nullptr;
    CXTPSkinThemeMetrics* m_pMetrics = nullptr;
    CXTPSkinThemeFile* m_pThemeFile = nullptr;
    std::vector<std::unique_ptr<CXTPSkinColorFilter>> m_arrColorFilters;
};
