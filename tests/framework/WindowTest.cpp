// Window objects on real windows: subclassing, the message map and Default,
// dialogs bound at creation with data exchange, and the message-box service.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Afx.h"
#include "TestApp.h"

namespace {

using tavtest::TestApp;

// Records what reaches its message map; optionally answers WM_SETTEXT by
// first sending itself another message, then passing the text on.
class CRecordingWnd : public CWnd {
public:
    std::vector<UINT> m_messages;
    std::vector<std::string> m_setTexts;
    bool m_bNestBeforeDefault = false;
    bool m_bPostNcDestroy = false;

    BOOL OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        m_messages.push_back(nMsg);
        if (nMsg == WM_SETTEXT) {
            m_setTexts.push_back(reinterpret_cast<const char*>(lParam));
            if (m_bNestBeforeDefault)
                SendMessage(WM_GETTEXTLENGTH);
            *pResult = Default();
            return TRUE;
        }
        return CWnd::OnWndMsg(nMsg, wParam, lParam, pResult);
    }
    void PostNcDestroy() override { m_bPostNcDestroy = true; }
};

HWND CreateButton()
{
    return CreateWindowExA(0, "Button", "start", WS_POPUP | BS_PUSHBUTTON, 0, 0, 80, 24, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

TEST(WindowTest, SubclassedWindowRoutesThroughTheMessageMap)
{
    HWND hWnd = CreateButton();
    ASSERT_NE(hWnd, nullptr);
    LONG_PTR pfnOriginal = GetWindowLongPtrA(hWnd, GWLP_WNDPROC);

    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
    EXPECT_EQ(GetWindowLongPtrA(hWnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&AfxWndProc));
    EXPECT_FALSE(wnd.SubclassWindow(hWnd));  // already bound

    // Default reaches the button's own procedure with the message's values.
    SetWindowTextA(hWnd, "changed");
    char szText[32] = {};
    GetWindowTextA(hWnd, szText, sizeof(szText));
    EXPECT_STREQ(szText, "changed");
    ASSERT_EQ(wnd.m_setTexts.size(), 1u);

    // A message sent from inside a handler does not disturb the handler's own
    // Default: the current-message record is restored after the nested one.
    wnd.m_bNestBeforeDefault = true;
    SetWindowTextA(hWnd, "nested");
    GetWindowTextA(hWnd, szText, sizeof(szText));
    EXPECT_STREQ(szText, "nested");
    EXPECT_NE(std::find(wnd.m_messages.begin(), wnd.m_messages.end(), static_cast<UINT>(WM_GETTEXTLENGTH)),
              wnd.m_messages.end());

    // Unsubclassing gives the window its procedure back.
    EXPECT_EQ(wnd.UnsubclassWindow(), hWnd);
    EXPECT_EQ(GetWindowLongPtrA(hWnd, GWLP_WNDPROC), pfnOriginal);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    size_t nSeen = wnd.m_messages.size();
    SetWindowTextA(hWnd, "unbound");
    EXPECT_EQ(wnd.m_messages.size(), nSeen);
    DestroyWindow(hWnd);
}

TEST(WindowTest, DestroyingTheWindowUnbindsTheObject)
{
    HWND hWnd = CreateButton();
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    DestroyWindow(hWnd);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_TRUE(wnd.m_bPostNcDestroy);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    ASSERT_FALSE(wnd.m_messages.empty());
    EXPECT_EQ(wnd.m_messages.back(), static_cast<UINT>(WM_NCDESTROY));
}

TEST(WindowTest, ObjectDestroyedFirstTakesItsWindowAlong)
{
    HWND hWnd = CreateButton();
    {
        CRecordingWnd wnd;
        ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    }
    EXPECT_FALSE(IsWindow(hWnd));
}

// A dialog on template 200: an edit bound to m_strName, a combo box filled by
// the template's initialisation data and bound to m_nIndex.
class CTestDialog : public CDialog {
public:
    CTestDialog() : CDialog(200) {}

    CString m_strName = "initial";
    int m_nIndex = 1;
    CEdit m_edit;
    int m_nComboCount = -1;
    UINT m_nAction = 0;  // posted to itself once initialised

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, 300, m_edit);
        DDX_Text(pDX, 300, m_strName);
        DDX_CBIndex(pDX, 301, m_nIndex);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_nComboCount = static_cast<int>(::SendDlgItemMessageA(m_hWnd, 301, CB_GETCOUNT, 0, 0));
        if (m_nAction == IDOK) {
            ::SetDlgItemTextA(m_hWnd, 300, "typed");
            ::SendDlgItemMessageA(m_hWnd, 301, CB_SETCURSEL, 0, 0);
            PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        } else {
            // Escape, as the keyboard would deliver it to the focused edit.
            ::PostMessageA(m_edit.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        }
        return TRUE;
    }
};

// What a thread-wide creation hook installed before the dialog sees when the
// dialog window is created.
struct CreationSeen {
    bool bSeen = false;
    bool bBoundToAfxWndProc = false;
    CWnd* pObject = nullptr;
};
CreationSeen g_creation;

LRESULT CALLBACK ObservingCbtHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND && !g_creation.bSeen) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        char szClass[16] = {};
        GetClassNameA(hWnd, szClass, sizeof(szClass));
        if (strcmp(szClass, "#32770") == 0) {
            g_creation.bSeen = true;
            g_creation.bBoundToAfxWndProc =
                GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&AfxWndProc);
            g_creation.pObject = CWnd::FromHandlePermanent(hWnd);
        }
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

TEST(DialogTest, OkExchangesDataAndTheObjectIsBoundAtCreation)
{
    TestApp();
    HHOOK hHook = SetWindowsHookExA(WH_CBT, ObservingCbtHook, nullptr, GetCurrentThreadId());
    CTestDialog dlg;
    dlg.m_nAction = IDOK;
    g_creation = CreationSeen();
    EXPECT_EQ(dlg.DoModal(), IDOK);
    UnhookWindowsHookEx(hHook);

    EXPECT_TRUE(g_creation.bSeen);
    EXPECT_TRUE(g_creation.bBoundToAfxWndProc);
    EXPECT_EQ(g_creation.pObject, &dlg);
    EXPECT_EQ(dlg.m_nComboCount, 2);
    EXPECT_STREQ(dlg.m_strName, "typed");
    EXPECT_EQ(dlg.m_nIndex, 0);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_edit.m_hWnd, nullptr);
}

TEST(DialogTest, EscapeCancelsWithoutReadingTheControls)
{
    TestApp();
    CTestDialog dlg;
    dlg.m_nAction = IDCANCEL;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_STREQ(dlg.m_strName, "initial");
    EXPECT_EQ(dlg.m_nIndex, 1);
}

// The message box as it appears: caption, icon, owner.
struct BoxSeen {
    std::string caption;
    HICON hIcon = nullptr;
    bool bHasIcon = false;
    HWND hOwner = nullptr;
};
BoxSeen g_box;
HHOOK g_hBoxHook;

BOOL CALLBACK FindIconStatic(HWND hChild, LPARAM)
{
    char szClass[16] = {};
    GetClassNameA(hChild, szClass, sizeof(szClass));
    if (lstrcmpiA(szClass, "Static") == 0 && (GetWindowLongPtrA(hChild, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        g_box.bHasIcon = true;
        g_box.hIcon = reinterpret_cast<HICON>(SendMessageA(hChild, STM_GETICON, 0, 0));
    }
    return TRUE;
}

LRESULT CALLBACK BoxCbtHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    char szClass[16] = {};
    if (nCode == HCBT_ACTIVATE && GetClassNameA(reinterpret_cast<HWND>(wParam), szClass, sizeof(szClass)) &&
        strcmp(szClass, "#32770") == 0) {
        HWND hBox = reinterpret_cast<HWND>(wParam);
        char szText[128] = {};
        GetWindowTextA(hBox, szText, sizeof(szText));
        g_box.caption = szText;
        g_box.hOwner = GetWindow(hBox, GW_OWNER);
        EnumChildWindows(hBox, FindIconStatic, 0);
        PostMessageA(hBox, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    return CallNextHookEx(g_hBoxHook, nCode, wParam, lParam);
}

TEST(MessageBoxTest, CaptionIsTheProgramNameAndPlainBoxesGetTheExclamationIcon)
{
    CWinApp& app = TestApp();
    char szPath[MAX_PATH];
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string name = strrchr(szPath, '\\') + 1;
    name = name.substr(0, name.rfind('.'));
    EXPECT_STREQ(app.m_pszAppName, name.c_str());

    HWND hMain = CreateWindowExA(0, "Static", "main", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    CWnd main;
    main.Attach(hMain);
    app.m_pMainWnd = &main;

    struct Case {
        UINT nType;
        LPCSTR pszIcon;  // system icon expected, or null for none
    };
    const Case cases[] = {
        {MB_OK, IDI_EXCLAMATION},
        {MB_OKCANCEL, IDI_EXCLAMATION},
        {MB_OK | MB_ICONINFORMATION, IDI_INFORMATION},
        {MB_OK | MB_ICONHAND, IDI_HAND},
    };
    g_hBoxHook = SetWindowsHookExA(WH_CBT, BoxCbtHook, nullptr, GetCurrentThreadId());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nType);
        g_box = BoxSeen();
        AfxMessageBox("Please select a profile!", c.nType);
        EXPECT_EQ(g_box.caption, name);
        EXPECT_EQ(g_box.hOwner, hMain);
        ASSERT_TRUE(g_box.bHasIcon);
        EXPECT_EQ(g_box.hIcon, LoadIconA(nullptr, c.pszIcon));
    }
    UnhookWindowsHookEx(g_hBoxHook);
    app.m_pMainWnd = nullptr;
    main.Detach();
    DestroyWindow(hMain);
}

} // namespace
