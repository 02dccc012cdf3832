// CPercentProgressCtrl: a progress bar that keeps its own range and position
// and paints the bar, the remainder and the percentage itself.
#pragma once

#include "Afx.h"

class CPercentProgressCtrl : public CProgressCtrl {
public:
    CPercentProgressCtrl() = default;

    // Stores both bounds; nothing is repainted.
    void SetRange(int nLower, int nUpper);
    // The previous position, or -1 when the control has no window.
    int SetPos(int nPos);

    int m_nPos = 0;
    int m_nUpper = 100;
    int m_nLower = 0;
};
