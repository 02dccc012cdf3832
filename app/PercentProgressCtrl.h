// CPercentProgressCtrl: a progress bar that keeps its own range and position
// and paints everything itself through an off-screen bitmap: a solid bar, a
// solid remainder and the percentage (or its window text) centred across
// both, in inverted colours on either side of the bar's edge.
#pragma once

#include <atomic>

#include "Afx.h"

class CPercentProgressCtrl : public CProgressCtrl {
    DECLARE_DYNAMIC(CPercentProgressCtrl)
public:
    CPercentProgressCtrl();

    // Stores both bounds; nothing is repainted.
    void SetRange(int nLower, int nUpper);
    // Stores the position and repaints at once when the bar's edge moves by
    // at least one pixel. The previous position, or -1 when the control has
    // no window.
    int SetPos(int nPos);

    // Range and position are set from the download's worker thread and read
    // by the painting on the window's own thread.
    std::atomic<int> m_nPos{0};
    std::atomic<int> m_nUpper{100};
    std::atomic<int> m_nLower{0};
    CString m_strText;
    BOOL m_bShowText = TRUE;
    std::atomic<int> m_nBarWidth{-1};
    COLORREF m_crBar;
    COLORREF m_crBackground;
    COLORREF m_crTextOverBackground;
    COLORREF m_crTextOverBar;

protected:
    BOOL OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    // Bar width in pixels for the current position and a client width.
    int GetBarWidth(int nClientWidth) const;
    void OnPaint();
    void Draw(HDC hDC, const RECT& rcClient);
};
