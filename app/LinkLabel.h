// CLinkLabel: a hyperlink label. The program uses only its operation that
// opens a web address in the user's browser: the shell first, then the
// command registered for ".htm" pages.
#pragma once

#include "Afx.h"

class CLinkLabel : public CStatic {
    DECLARE_DYNAMIC(CLinkLabel)
public:
    // Opens pszAddress with nShowCmd (a ShowWindow value). The shell's result
    // (above 32 on success); when the shell fails and a browser command is
    // registered for ".htm", WinExec's result for that command line with the
    // address appended.
    int OpenAddress(const char* pszAddress, int nShowCmd);

    // Reads the default value of pszSubKey under hRootKey as text. A registry
    // error code, ERROR_SUCCESS on success.
    static LONG ReadRegistryDefault(HKEY hRootKey, const char* pszSubKey, CString& strValue);
};
