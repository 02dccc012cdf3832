// CDownloaderApp: the application object. It starts Windows Sockets, runs the
// main window modally and ends the process when that window closes.
#pragma once

#include "Afx.h"

class CDownloaderApp : public CWinApp {
public:
    CDownloaderApp() = default;

    BOOL InitInstance() override;
    int ExitInstance() override;
};

extern CDownloaderApp theApp;
