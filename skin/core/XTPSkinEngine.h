// CXTPSkinEngine: the process-wide skin engine. It owns the loaded theme and
// draws every window of the process with it.
#pragma once

#include <windows.h>

constexpr DWORD SKIN_OPTION_METRICS = 1;
constexpr DWORD SKIN_OPTION_FRAMES = 2;
constexpr DWORD SKIN_OPTION_COLORS = 4;

class CXTPSkinEngine {
public:
    // Creates the engine on first use.
    static CXTPSkinEngine* GetInstance();

    DWORD GetOptions() const { return m_dwOptions; }
    void SetOptions(DWORD dwOptions) { m_dwOptions = dwOptions; }

    // Loads and applies the theme package at pszPath; FALSE when it cannot.
    BOOL LoadTheme(const char* pszPath, const char* pszIniFileName);
    BOOL IsLoaded() const { return m_bLoaded; }

private:
    CXTPSkinEngine() = default;

    DWORD m_dwOptions = SKIN_OPTION_METRICS | SKIN_OPTION_FRAMES | SKIN_OPTION_COLORS;
    BOOL m_bLoaded = FALSE;
};
