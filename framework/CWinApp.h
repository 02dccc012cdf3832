// CWinApp: the process's one application object. The program entry calls its
// InitInstance and, when that returns FALSE, goes straight to ExitInstance;
// otherwise it runs the message loop. It also keeps the main-window pointer
// and the message-box service.
#pragma once

#include "CWnd.h"

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    // With no application name the title is the executable's file name
    // without its extension.
    explicit CWinApp(const char* pszAppName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    const char* m_pszAppName = nullptr;
    const char* m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // The message loop, for applications whose InitInstance returns TRUE.
    virtual int Run();

    // Shows a message box owned by the main window (or its last active popup)
    // with the application title as caption. A plain OK or OK/Cancel box
    // without an icon gets the exclamation icon.
    virtual int DoMessageBox(const char* pszPrompt, UINT nType, UINT nIDPrompt);

    // Routes the framework's Help command to OnHelp.
    BOOL OnCmdMsg(UINT nID, int nCode) override;
    // Opens the application's help; it has none, so this only asks the main
    // window for help on itself.
    virtual void OnHelp();

    // The framework's display hooks: a control container and the 3-D control
    // look, both built into the system controls these days.
    void EnableControlContainer() {}
    void Enable3dControlsStatic() {}

    // Sets up the instance data; called by the program entry.
    void SetInstance(HINSTANCE hInstance, const char* pszCmdLine, int nCmdShow);

private:
    CString m_strAppName;
};

constexpr UINT ID_HELP = 0xE146;

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
const char* AfxGetAppName();
void AfxEnableControlContainer();
// The message-box service: DoMessageBox of the application object.
int AfxMessageBox(const char* pszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The program entry's work: InitInstance, then Run or ExitInstance.
int AfxWinMain(HINSTANCE hInstance, const char* pszCmdLine, int nCmdShow);
