// The main window object in this process, on the program's own resources:
// what only the process itself can see (its icons, its members).
#include <gtest/gtest.h>

#include "DownloaderDlg.h"
#include "Resource.h"
#include "TestApp.h"

namespace {

using tavtest::TestApp;

class CProbedDlg : public CDownloaderDlg {
public:
    HICON m_hBigIcon = nullptr, m_hSmallIcon = nullptr, m_hDragIcon = nullptr;
    int m_nQualityAfterInit = -2;
    BOOL m_bProgressVisible = TRUE;

    BOOL OnInitDialog() override
    {
        BOOL bResult = CDownloaderDlg::OnInitDialog();
        m_hBigIcon = reinterpret_cast<HICON>(SendMessage(WM_GETICON, ICON_BIG));
        m_hSmallIcon = reinterpret_cast<HICON>(SendMessage(WM_GETICON, ICON_SMALL));
        m_hDragIcon = reinterpret_cast<HICON>(SendMessage(WM_QUERYDRAGICON));
        m_nQualityAfterInit = m_nQuality;
        m_bProgressVisible = m_progress.IsWindowVisible();
        PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
        return bResult;
    }
};

TEST(MainDialogTest, InitialisationSetsIconsQualityAndHidesTheProgressBar)
{
    CWinApp& app = TestApp();
    CProbedDlg dlg;
    EXPECT_EQ(dlg.m_nQuality, -1);
    EXPECT_TRUE(dlg.m_strURL.IsEmpty());
    ASSERT_NE(dlg.m_hIcon, nullptr);
    app.m_pMainWnd = &dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(app.m_pMainWnd, nullptr);  // cleared when the window went
    EXPECT_EQ(dlg.m_hBigIcon, dlg.m_hIcon);
    EXPECT_EQ(dlg.m_hSmallIcon, dlg.m_hIcon);
    EXPECT_EQ(dlg.m_hDragIcon, dlg.m_hIcon);
    EXPECT_EQ(dlg.m_nQualityAfterInit, 0);
    EXPECT_FALSE(dlg.m_bProgressVisible);
    EXPECT_EQ(dlg.m_progress.m_hWnd, nullptr);
}

} // namespace
