#include "DownloaderDlg.h"

#include "LinkLabel.h"
#include "Resource.h"
#include "XTPSkinEngine.h"

namespace {

const char kProductPage[] = "http://www.tavmio.example/product_info.php?products_id=427";

// The folder of the executable, without the final backslash; empty when the
// path has none.
CString GetProgramFolder()
{
    char szPath[MAX_PATH] = {};
    GetModuleFileNameA(AfxGetInstanceHandle(), szPath, MAX_PATH);
    CString strPath(szPath);
    int nSlash = strPath.ReverseFind('\\');
    return nSlash > 0 ? strPath.Left(nSlash) : CString();
}

} // namespace

CDownloaderDlg::CDownloaderDlg(CWnd* pParent)
    : CDialog(IDD_DOWNLOADER_DIALOG, pParent), m_nQuality(-1)
{
    m_hIcon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));

    CString strTheme = GetProgramFolder() + "\\vista.cjstyles";
    if (CXTPSkinEngine* pEngine = CXTPSkinEngine::GetInstance()) {
        pEngine->SetOptions(pEngine->GetOptions() | SKIN_OPTION_METRICS);
        pEngine->LoadTheme(strTheme, nullptr);
    }
}

CDownloaderDlg::~CDownloaderDlg()
{
    // The worker uses the controls below, which are destroyed before the
    // job: it must be gone first.
    m_task.Stop();
}

void CDownloaderDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EDIT_REPLY, m_editReply);
    DDX_Control(pDX, IDC_EDIT_REQUEST, m_editRequest);
    DDX_Control(pDX, IDC_SPEED, m_speedLabel);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Text(pDX, IDC_EDIT_URL, m_strURL);
    DDX_CBIndex(pDX, IDC_COMBO_QUALITY, m_nQuality);
}

BOOL CDownloaderDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    m_progress.ShowWindow(SW_HIDE);

    m_nQuality = 0;
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDownloaderDlg::OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (nMsg) {
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED)
            break;
        switch (LOWORD(wParam)) {
        case IDC_PAUSE:
            OnPauseContinue();
            return TRUE;
        case IDC_STOP:
            OnStop();
            return TRUE;
        case IDC_GUIDE:
            OnGuide();
            return TRUE;
        default:
            break;
        }
        break;
    case WM_CLOSE:
        OnClose();
        return TRUE;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
            OnSysCommand(static_cast<UINT>(wParam));
            return TRUE;
        }
        break;
    case WM_PAINT:
        if (IsIconic()) {
            OnPaint();
            return TRUE;
        }
        break;
    case WM_QUERYDRAGICON:
        *pResult = reinterpret_cast<LRESULT>(m_hIcon);
        return TRUE;
    default:
        break;
    }
    return CDialog::OnWndMsg(nMsg, wParam, lParam, pResult);
}

void CDownloaderDlg::OnOK()
{
    UpdateData(TRUE);
    if (m_nQuality == -1) {
        AfxMessageBox("Please select a profile!");
        return;
    }
    OnStop();
    m_task.StartThread(*this);
}

void CDownloaderDlg::OnPauseContinue()
{
    UpdateData(TRUE);
    m_task.TogglePause();
    ::SetDlgItemTextA(m_hWnd, IDC_PAUSE, m_task.m_bPaused ? "Continue" : "Pause");
}

void CDownloaderDlg::OnStop()
{
    m_task.Stop();
    m_progress.SetPos(0);
}

void CDownloaderDlg::OnGuide()
{
    CLinkLabel link;
    link.OpenAddress(kProductPage, SW_SHOWMAXIMIZED);
}

void CDownloaderDlg::OnClose()
{
    OnStop();
    Default();
}

void CDownloaderDlg::OnSysCommand(UINT)
{
    CDialog dlgAbout(IDD_ABOUTBOX);
    dlgAbout.DoModal();
}

void CDownloaderDlg::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hDC = BeginPaint(m_hWnd, &ps);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hDC), 0);

    RECT rect;
    GetClientRect(&rect);
    int x = (rect.right - rect.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (rect.bottom - rect.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(hDC, x, y, m_hIcon);
    EndPaint(m_hWnd, &ps);
}
