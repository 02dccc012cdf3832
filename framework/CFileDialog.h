// CFileDialog: the common Open and Save As dialogs, run modally.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "CWnd.h"

class CFileDialog {
public:
    // bOpenFileDialog FALSE gives the Save As dialog. pszFileName pre-fills
    // the file-name field (cut to its MAX_PATH characters). With no parent,
    // the application's main window owns the dialog.
    CFileDialog(BOOL bOpenFileDialog, const char* pszDefExt = nullptr, const char* pszFileName = nullptr,
                 DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* pszFilter = nullptr,
                 CWnd* pParentWnd = nullptr);
    virtual ~CFileDialog() = default;

    // IDOK or IDCANCEL.
    virtual INT_PTR DoModal();
    // The full path chosen.
    CString GetPathName() const { return CString(m_szFileName); }
    CString GetFileName() const;

    OPENFILENAMEA m_ofn;

private:
    BOOL m_bOpenFileDialog;
    CWnd* m_pParentWnd;
    CString m_strDefExt;
    CString m_strFilter;
    char m_szFileName[MAX_PATH] = {};
};
