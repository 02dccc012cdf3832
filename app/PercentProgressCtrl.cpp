#include "PercentProgressCtrl.h"

void CPercentProgressCtrl::SetRange(int nLower, int nUpper)
{
    m_nLower = nLower;
    m_nUpper = nUpper;
}

int CPercentProgressCtrl::SetPos(int nPos)
{
    if (!::IsWindow(m_hWnd))
        return -1;
    int nOldPos = m_nPos;
    m_nPos = nPos;
    return nOldPos;
}
