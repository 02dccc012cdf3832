// CLinkLabel: a hyperlink label; the program uses only its operation that
// opens a web address in the user's browser.
#pragma once

#include "Afx.h"

class CLinkLabel : public CStatic {
public:
    // Opens pszAddress with the shell; the shell's result (above 32 on
    // success).
    int OpenAddress(const char* pszAddress, int nShowCmd);
};
