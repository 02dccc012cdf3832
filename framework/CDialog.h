// CDialog: a modal dialog built from a dialog template resource, bound to its
// object from creation on, with the template's control initialisation data.
#pragma once

#include "CWnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog modally; returns the value given to EndDialog, or -1
    // when the dialog could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // Runs the first data exchange (binding the controls) and returns TRUE
    // so that the dialog manager sets the focus.
    virtual BOOL OnInitDialog();
    // Reads the controls into the members and ends the dialog with IDOK.
    virtual void OnOK();
    // Ends the dialog with IDCANCEL.
    virtual void OnCancel();

    BOOL OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    // Sends the messages of the template's initialisation data (resource
    // type 240, same id as the template), e.g. the items of a combo box.
    void ExecuteDlgInit();
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
};
