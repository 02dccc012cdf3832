// CDownloaderDlg: the main window. The user types a video page address,
// picks a quality and starts, stops or pauses the download job it owns; the
// worker thread reports progress through its controls.
#pragma once

#include "Afx.h"
#include "DownloadTask.h"
#include "PercentProgressCtrl.h"

class CDownloaderDlg : public CDialog {
public:
    explicit CDownloaderDlg(CWnd* pParent = nullptr);
    ~CDownloaderDlg() override;

    CDownloadTask m_task;
    CEdit m_editReply;
    CEdit m_editRequest;
    CStatic m_speedLabel;
    CPercentProgressCtrl m_progress;
    CString m_strURL;
    int m_nQuality;
    HICON m_hIcon;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    void OnOK() override;
    void OnPauseContinue();
    void OnStop();
    void OnGuide();
    void OnClose();
    void OnSysCommand(UINT nID);
    void OnPaint();
};
