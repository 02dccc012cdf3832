// Benchmark of theme part drawing: DrawThemeBackground of a push button
// (nine-grid, 75 x 23) and of an active window caption (600 x 30), by the
// skin engine and by the system's visual-styles library (UxTheme, loaded at
// run time) on the same theme in the same run: the active system theme,
// Wine's light.msstyles in a Wine prefix. Prints calls per second (median of
// several timed rounds, the two drawers taking turns) and their ratio.
//
//   theme_draw_bench [rounds]
#include "XTPSkinEngine.h"
#include "XTPSkinThemeClass.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

typedef HTHEME(WINAPI* PFNOPENTHEMEDATA)(HWND, LPCWSTR);
typedef HRESULT(WINAPI* PFNCLOSETHEMEDATA)(HTHEME);
typedef HRESULT(WINAPI* PFNDRAWTHEMEBACKGROUND)(HTHEME, HDC, int, int, const RECT*, const RECT*);
typedef HRESULT(WINAPI* PFNGETCURRENTTHEMENAME)(LPWSTR, int, LPWSTR, int, LPWSTR, int);

template <class T>
T GetProc(HMODULE hModule, const char* pszName)
{
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(hModule, pszName)));
}

double NowSeconds()
{
    static LARGE_INTEGER s_frequency = {};
    if (!s_frequency.QuadPart)
        QueryPerformanceFrequency(&s_frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(s_frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Calls per second of fnDraw over about dSeconds.
double Rate(const std::function<void()>& fnDraw, double dSeconds)
{
    int nCalls = 0;
    double dStart = NowSeconds(), dNow = dStart;
    do {
        for (int i = 0; i < 50; i++)
            fnDraw();
        nCalls += 50;
        dNow = NowSeconds();
    } while (dNow - dStart < dSeconds);
    GdiFlush();
    return nCalls / (NowSeconds() - dStart);
}

// A 32-bit off-screen bitmap, as controls paint into.
struct COffscreen {
    HDC hDC;
    HBITMAP hBitmap;
    HGDIOBJ hOld;
    COffscreen(int cx, int cy)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = cx;
        info.bmiHeader.biHeight = -cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* pvBits = nullptr;
        hBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pvBits, nullptr, 0);
        hDC = CreateCompatibleDC(nullptr);
        hOld = SelectObject(hDC, hBitmap);
    }
    ~COffscreen()
    {
        SelectObject(hDC, hOld);
        DeleteDC(hDC);
        DeleteObject(hBitmap);
    }
};

struct Case {
    const char* pszName;
    const char* pszClass;
    const wchar_t* pszClassW;
    int nPart, nState, cx, cy;
};

}  // namespace

int main(int argc, char** argv)
{
    int nRounds = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    const double dRoundSeconds = 0.25;

    HMODULE hUxTheme = LoadLibraryA("uxtheme.dll");
    PFNOPENTHEMEDATA pfnOpen = hUxTheme ? GetProc<PFNOPENTHEMEDATA>(hUxTheme, "OpenThemeData") : nullptr;
    PFNCLOSETHEMEDATA pfnClose = hUxTheme ? GetProc<PFNCLOSETHEMEDATA>(hUxTheme, "CloseThemeData") : nullptr;
    PFNDRAWTHEMEBACKGROUND pfnDraw =
        hUxTheme ? GetProc<PFNDRAWTHEMEBACKGROUND>(hUxTheme, "DrawThemeBackground") : nullptr;
    PFNGETCURRENTTHEMENAME pfnCurrent =
        hUxTheme ? GetProc<PFNGETCURRENTTHEMENAME>(hUxTheme, "GetCurrentThemeName") : nullptr;
    wchar_t szFile[MAX_PATH] = L"", szColor[64] = L"";
    if (!pfnOpen || !pfnClose || !pfnDraw || !pfnCurrent ||
        pfnCurrent(szFile, MAX_PATH, szColor, 64, nullptr, 0) != S_OK) {
        fprintf(stderr, "theme_draw_bench: no visual-styles library with an active theme\n");
        return 1;
    }
    char szPath[MAX_PATH * 2], szIni[80];
    WideCharToMultiByte(CP_ACP, 0, szFile, -1, szPath, sizeof(szPath), nullptr, nullptr);
    WideCharToMultiByte(CP_ACP, 0, szColor, -1, szIni, sizeof(szIni) - 4, nullptr, nullptr);
    strcat(szIni, ".ini");
    CXTPSkinEngine* pEngine = CXTPSkinEngine::GetInstance();
    if (!pEngine->LoadTheme(szPath, szIni)) {
        fprintf(stderr, "theme_draw_bench: the skin engine cannot load %s (%s)\n", szPath, szIni);
        return 1;
    }
    printf("theme %s, variant %s; median of %d rounds of %.2f s each\n", szPath, szIni, nRounds, dRoundSeconds);
    printf("%-26s %14s %14s %8s\n", "DrawThemeBackground", "engine calls/s", "UxTheme calls/s", "ratio");

    const Case cases[] = {
        {"push button 75x23", "BUTTON", L"BUTTON", BP_PUSHBUTTON, PBS_NORMAL, 75, 23},
        {"window caption 600x30", "WINDOW", L"WINDOW", WP_CAPTION, CS_ACTIVE, 600, 30},
    };
    int nSlower = 0;
    for (const Case& c : cases) {
        COffscreen offscreen(c.cx, c.cy);
        RECT rc = {0, 0, c.cx, c.cy};
        CXTPSkinThemeClass* pClass = pEngine->GetThemeClass(c.pszClass);
        HTHEME hTheme = pfnOpen(nullptr, c.pszClassW);
        if (!hTheme || !pClass->DrawThemeBackground(offscreen.hDC, c.nPart, c.nState, &rc)) {
            fprintf(stderr, "theme_draw_bench: %s cannot be drawn\n", c.pszName);
            return 1;
        }
        auto fnOurs = [&] { pClass->DrawThemeBackground(offscreen.hDC, c.nPart, c.nState, &rc); };
        auto fnSystem = [&] { pfnDraw(hTheme, offscreen.hDC, c.nPart, c.nState, &rc, nullptr); };
        // A warm-up round each, then alternating timed rounds.
        Rate(fnOurs, 0.1);
        Rate(fnSystem, 0.1);
        std::vector<double> ours, system;
        for (int i = 0; i < nRounds; i++) {
            ours.push_back(Rate(fnOurs, dRoundSeconds));
            system.push_back(Rate(fnSystem, dRoundSeconds));
        }
        double dOurs = Median(ours), dSystem = Median(system);
        printf("%-26s %14.0f %14.0f %7.2fx\n", c.pszName, dOurs, dSystem, dOurs / dSystem);
        if (dOurs < dSystem)
            nSlower++;
        pfnClose(hTheme);
    }
    printf(nSlower ? "the skin engine is slower in %d case(s)\n" : "the skin engine is at least as fast in every case\n",
           nSlower);
    return 0;
}
