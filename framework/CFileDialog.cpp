#include "CFileDialog.h"

#include <cstring>

#include "CWinApp.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* pszDefExt, const char* pszFileName, DWORD dwFlags,
                         const char* pszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_pParentWnd(pParentWnd)
{
    memset(&m_ofn, 0, sizeof(m_ofn));
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
    m_ofn.hInstance = AfxGetResourceHandle();
    if (pszDefExt) {
        m_strDefExt = pszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (pszFileName)
        lstrcpynA(m_szFileName, pszFileName, MAX_PATH);
    if (pszFilter) {
        // "Text|*.txt||" -> the system's zero-separated list.
        m_strFilter = pszFilter;
        m_strFilter.Replace('|', '\0');
        m_ofn.lpstrFilter = m_strFilter;
    }
}

INT_PTR CFileDialog::DoModal()
{
    HWND hOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!hOwner) {
        CWnd* pMainWnd = AfxGetMainWnd();
        if (pMainWnd && ::IsWindow(pMainWnd->m_hWnd))
            hOwner = ::GetLastActivePopup(pMainWnd->m_hWnd);
    }
    m_ofn.hwndOwner = hOwner;
    BOOL bOk = m_bOpenFileDialog ? GetOpenFileNameA(&m_ofn) : GetSaveFileNameA(&m_ofn);
    return bOk ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const
{
    CString strPath(m_szFileName);
    return strPath.Mid(strPath.ReverseFind('\\') + 1);
}
