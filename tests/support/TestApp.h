// The application object of test programs that make framework windows in
// their own process: a CWinApp on the test executable's instance, set up on
// first use. Header only, for tests that link the framework (tavfx) rather
// than tav_testsupport.
#pragma once

#include "Afx.h"

namespace tavtest {

inline CWinApp& TestApp()
{
    static CWinApp s_app;
    static bool s_bInit = false;
    if (!s_bInit) {
        s_app.SetInstance(GetModuleHandleA(nullptr), "", SW_SHOW);
        s_bInit = true;
    }
    return s_app;
}

} // namespace tavtest
