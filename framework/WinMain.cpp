// The program entry of a framework application; built into the executable
// itself, so that the runtime start-up code finds it.
#include "CWinApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR pszCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, pszCmdLine, nCmdShow);
}
