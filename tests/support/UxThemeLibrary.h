// CUxTheme: the system's visual-styles library (uxtheme.dll), loaded at run
// time as the program itself would find it, with the functions the theme
// drawing test and benchmark set the skin engine against. Header only.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include <string>

namespace tavtest {

struct CUxTheme {
    typedef HTHEME(WINAPI* PFNOPENTHEMEDATA)(HWND, LPCWSTR);
    typedef HRESULT(WINAPI* PFNCLOSETHEMEDATA)(HTHEME);
    typedef HRESULT(WINAPI* PFNDRAWTHEMEBACKGROUND)(HTHEME, HDC, int, int, const RECT*, const RECT*);
    typedef HRESULT(WINAPI* PFNGETCURRENTTHEMENAME)(LPWSTR, int, LPWSTR, int, LPWSTR, int);

    HMODULE hModule = nullptr;
    PFNOPENTHEMEDATA pfnOpen = nullptr;
    PFNCLOSETHEMEDATA pfnClose = nullptr;
    PFNDRAWTHEMEBACKGROUND pfnDraw = nullptr;
    PFNGETCURRENTTHEMENAME pfnCurrent = nullptr;

    // False when the library or one of the functions is missing.
    bool Load()
    {
        hModule = LoadLibraryA("uxtheme.dll");
        if (!hModule)
            return false;
        pfnOpen = GetProc<PFNOPENTHEMEDATA>("OpenThemeData");
        pfnClose = GetProc<PFNCLOSETHEMEDATA>("CloseThemeData");
        pfnDraw = GetProc<PFNDRAWTHEMEBACKGROUND>("DrawThemeBackground");
        pfnCurrent = GetProc<PFNGETCURRENTTHEMENAME>("GetCurrentThemeName");
        return pfnOpen && pfnClose && pfnDraw && pfnCurrent;
    }

    // The active theme's package file and colour variant (the variant's INI
    // is its name with ".ini"); S_OK only when a theme is active.
    HRESULT CurrentTheme(std::string* pstrFile, std::string* pstrColor) const
    {
        wchar_t szFile[MAX_PATH] = L"", szColor[64] = L"";
        HRESULT hr = pfnCurrent(szFile, MAX_PATH, szColor, 64, nullptr, 0);
        *pstrFile = Narrow(szFile);
        *pstrColor = Narrow(szColor);
        return hr;
    }

private:
    template <class T>
    T GetProc(const char* pszName) const
    {
        return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(hModule, pszName)));
    }

    static std::string Narrow(const wchar_t* psz)
    {
        char sz[MAX_PATH * 2] = "";
        WideCharToMultiByte(CP_ACP, 0, psz, -1, sz, sizeof(sz), nullptr, nullptr);
        return sz;
    }
};

} // namespace tavtest
