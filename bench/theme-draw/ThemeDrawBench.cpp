// Benchmark of theme part drawing: DrawThemeBackground of a push button
// (nine-grid, 75 x 23) and of an active window caption (600 x 30), by the
// skin engine and by the system's visual-styles library (UxTheme, loaded at
// run time) on the same theme in the same run: the active system theme,
// Wine's light.msstyles in a Wine prefix. Prints calls per second (median of
// several timed rounds, the two drawers taking turns) and their ratio.
//
//   theme_draw_bench [rounds]
#include "BenchSupport.h"
#include "Dib32.h"
#include "UxThemeLibrary.h"
#include "XTPSkinEngine.h"
#include "XTPSkinThemeClass.h"

#include <vssym32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using tavbench::Median;
using tavbench::NowSeconds;

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

    tavtest::CUxTheme ux;
    std::string strPath, strColor;
    if (!ux.Load() || ux.CurrentTheme(&strPath, &strColor) != S_OK) {
        fprintf(stderr, "theme_draw_bench: no visual-styles library with an active theme\n");
        return 1;
    }
    const std::string strIni = strColor + ".ini";
    CXTPSkinEngine* pEngine = CXTPSkinEngine::GetInstance();
    if (!pEngine->LoadTheme(strPath.c_str(), strIni.c_str())) {
        fprintf(stderr, "theme_draw_bench: the skin engine cannot load %s (%s)\n", strPath.c_str(), strIni.c_str());
        return 1;
    }
    printf("theme %s, variant %s; median of %d rounds of %.2f s each\n", strPath.c_str(), strIni.c_str(), nRounds,
           dRoundSeconds);
    printf("%-26s %14s %14s %8s\n", "DrawThemeBackground", "engine calls/s", "UxTheme calls/s", "ratio");

    const Case cases[] = {
        {"push button 75x23", "BUTTON", L"BUTTON", BP_PUSHBUTTON, PBS_NORMAL, 75, 23},
        {"window caption 600x30", "WINDOW", L"WINDOW", WP_CAPTION, CS_ACTIVE, 600, 30},
    };
    int nSlower = 0;
    for (const Case& c : cases) {
        tavtest::CDib32 offscreen(c.cx, c.cy);  // as controls paint into
        RECT rc = {0, 0, c.cx, c.cy};
        CXTPSkinThemeClass* pClass = pEngine->GetThemeClass(c.pszClass);
        HTHEME hTheme = ux.pfnOpen(nullptr, c.pszClassW);
        if (!hTheme || !pClass->DrawThemeBackground(offscreen.GetDC(), c.nPart, c.nState, &rc)) {
            fprintf(stderr, "theme_draw_bench: %s cannot be drawn\n", c.pszName);
            return 1;
        }
        auto fnOurs = [&] { pClass->DrawThemeBackground(offscreen.GetDC(), c.nPart, c.nState, &rc); };
        auto fnSystem = [&] { ux.pfnDraw(hTheme, offscreen.GetDC(), c.nPart, c.nState, &rc, nullptr); };
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
        ux.pfnClose(hTheme);
    }
    printf(nSlower ? "the skin engine is slower in %d case(s)\n" : "the skin engine is at least as fast in every case\n",
           nSlower);
    return 0;
}
