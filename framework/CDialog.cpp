#include "CDialog.h"

#include <commctrl.h>

#include "CWinApp.h"

namespace {

const LPCSTR RT_DLGINIT_A = MAKEINTRESOURCEA(240);

// Messages of the 16-bit era that initialisation data may carry.
constexpr WORD kWin16LbAddString = 0x0401;
constexpr WORD kWin16CbAddString = 0x0403;

} // namespace

IMPLEMENT_DYNAMIC(CDialog, CWnd)

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

INT_PTR CDialog::DoModal()
{
    // Templates may hold common controls (progress bars and the like); their
    // window classes exist once the library has registered them.
    static const BOOL s_bCommonControls = [] {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&icc);
    }();
    (void)s_bCommonControls;

    HWND hOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!hOwner) {
        CWnd* pMainWnd = AfxGetMainWnd();
        if (pMainWnd && pMainWnd != this && ::IsWindow(pMainWnd->m_hWnd))
            hOwner = ::GetLastActivePopup(pMainWnd->m_hWnd);
    }
    AfxHookWindowCreate(this);
    INT_PTR nResult = DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), hOwner,
                                      &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    AfxUnhookWindowCreate();
    return nResult;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT nMsg, WPARAM, LPARAM lParam)
{
    // Normally the creation hook has bound the dialog and WM_INITDIALOG never
    // gets here; this covers a dialog created without it.
    if (nMsg == WM_INITDIALOG && !CWnd::FromHandlePermanent(hWnd)) {
        CDialog* pDlg = reinterpret_cast<CDialog*>(lParam);
        pDlg->SubclassWindow(hWnd);
        CLastSentMsgScope scope(hWnd, nMsg, 0, lParam);
        pDlg->ExecuteDlgInit();
        return pDlg->OnInitDialog();
    }
    return FALSE;
}

void CDialog::EndDialog(int nResult)
{
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (nMsg == WM_INITDIALOG) {
        ExecuteDlgInit();
        *pResult = OnInitDialog();
        return TRUE;
    }
    if (nMsg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            *pResult = 0;
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            *pResult = 0;
            return TRUE;
        }
    }
    return CWnd::OnWndMsg(nMsg, wParam, lParam, pResult);
}

void CDialog::ExecuteDlgInit()
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hResource = FindResourceA(hInst, MAKEINTRESOURCEA(m_nIDTemplate), RT_DLGINIT_A);
    if (!hResource)
        return;
    DWORD cbResource = SizeofResource(hInst, hResource);
    HGLOBAL hData = LoadResource(hInst, hResource);
    const BYTE* pData = hData ? static_cast<const BYTE*>(LockResource(hData)) : nullptr;
    if (!pData)
        return;
    // Entries: control id (WORD), message (WORD), data length (DWORD), data;
    // a zero control id ends the list.
    DWORD nOffset = 0;
    while (nOffset + 8 <= cbResource) {
        WORD nIDC = *reinterpret_cast<const WORD*>(pData + nOffset);
        if (nIDC == 0)
            break;
        WORD nMsg = *reinterpret_cast<const WORD*>(pData + nOffset + 2);
        DWORD cbData = *reinterpret_cast<const DWORD*>(pData + nOffset + 4);
        nOffset += 8;
        if (cbData > cbResource - nOffset)
            break;
        UINT nSend = nMsg == kWin16LbAddString ? LB_ADDSTRING : nMsg == kWin16CbAddString ? CB_ADDSTRING : nMsg;
        ::SendDlgItemMessageA(m_hWnd, nIDC, nSend, 0, reinterpret_cast<LPARAM>(pData + nOffset));
        nOffset += cbData;
    }
}
