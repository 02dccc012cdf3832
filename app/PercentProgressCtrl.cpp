#include "PercentProgressCtrl.h"

#include <climits>
#include <cstring>

namespace {

// Truncates towards zero, held inside the int range (positions far outside
// the range would otherwise overflow the conversion).
int TruncToInt(double dValue)
{
    if (!(dValue > -2147483648.0))
        return dValue != dValue ? 0 : INT_MIN;
    if (dValue >= 2147483647.0)
        return INT_MAX;
    return static_cast<int>(dValue);
}

} // namespace

IMPLEMENT_DYNAMIC(CPercentProgressCtrl, CProgressCtrl)

CPercentProgressCtrl::CPercentProgressCtrl()
    : m_crBar(GetSysColor(COLOR_HIGHLIGHT)),
      m_crBackground(GetSysColor(COLOR_WINDOW)),
      m_crTextOverBackground(GetSysColor(COLOR_HIGHLIGHT)),
      m_crTextOverBar(GetSysColor(COLOR_WINDOW))
{
}

void CPercentProgressCtrl::SetRange(int nLower, int nUpper)
{
    m_nLower = nLower;
    m_nUpper = nUpper;
}

int CPercentProgressCtrl::GetBarWidth(int nClientWidth) const
{
    int nLower = m_nLower, nUpper = m_nUpper;
    // An empty range paints nothing, so its bar has no width.
    if (nUpper == nLower)
        return 0;
    double dFraction = (static_cast<double>(m_nPos) - nLower) / (static_cast<double>(nUpper) - nLower);
    return TruncToInt(dFraction * nClientWidth);
}

int CPercentProgressCtrl::SetPos(int nPos)
{
    if (!::IsWindow(m_hWnd))
        return -1;
    int nOldPos = m_nPos.exchange(nPos);

    RECT rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    int nBarWidth = GetBarWidth(rcClient.right - rcClient.left);
    if (m_nBarWidth.exchange(nBarWidth) != nBarWidth)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return nOldPos;
}

BOOL CPercentProgressCtrl::OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (nMsg) {
    case WM_ERASEBKGND:
        *pResult = TRUE;
        return TRUE;
    case WM_PAINT:
        OnPaint();
        *pResult = 0;
        return TRUE;
    case WM_SIZE:
        *pResult = Default();
        m_nBarWidth = -1;
        return TRUE;
    case WM_SETTEXT: {
        *pResult = Default();
        CString strText(reinterpret_cast<const char*>(lParam));
        if (strText != m_strText) {
            m_strText = strText;
            ::InvalidateRect(m_hWnd, nullptr, TRUE);
        }
        return TRUE;
    }
    case WM_GETTEXT: {
        // The usual contract: at most wParam - 1 characters and a
        // terminating zero; the result counts the characters.
        char* pBuffer = reinterpret_cast<char*>(lParam);
        size_t nMax = static_cast<size_t>(wParam);
        if (!pBuffer || nMax == 0) {
            *pResult = 0;
            return TRUE;
        }
        size_t nCopy = static_cast<size_t>(m_strText.GetLength());
        if (nCopy > nMax - 1)
            nCopy = nMax - 1;
        memcpy(pBuffer, m_strText.GetString(), nCopy);
        pBuffer[nCopy] = '\0';
        *pResult = static_cast<LRESULT>(nCopy);
        return TRUE;
    }
    case WM_GETTEXTLENGTH:
        *pResult = m_strText.GetLength();
        return TRUE;
    default:
        break;
    }
    return CProgressCtrl::OnWndMsg(nMsg, wParam, lParam, pResult);
}

void CPercentProgressCtrl::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(m_hWnd, &ps);
    if (!hDC)
        return;
    RECT rcClient;
    ::GetClientRect(m_hWnd, &rcClient);

    if (m_nLower >= m_nUpper) {
        // Nothing to show; the paint request is still completed.
    } else if (::GetDeviceCaps(hDC, TECHNOLOGY) == DT_RASPRINTER) {
        Draw(hDC, rcClient);
    } else {
        RECT rcClip;
        if (::GetClipBox(hDC, &rcClip) != NULLREGION && rcClip.right > rcClip.left && rcClip.bottom > rcClip.top) {
            int nWidth = rcClip.right - rcClip.left, nHeight = rcClip.bottom - rcClip.top;
            HDC hMemDC = ::CreateCompatibleDC(hDC);
            HBITMAP hBitmap = hMemDC ? ::CreateCompatibleBitmap(hDC, nWidth, nHeight) : nullptr;
            if (hBitmap) {
                HGDIOBJ hOldBitmap = ::SelectObject(hMemDC, hBitmap);
                ::SetWindowOrgEx(hMemDC, rcClip.left, rcClip.top, nullptr);
                Draw(hMemDC, rcClient);
                ::BitBlt(hDC, rcClip.left, rcClip.top, nWidth, nHeight, hMemDC, rcClip.left, rcClip.top, SRCCOPY);
                ::SelectObject(hMemDC, hOldBitmap);
                ::DeleteObject(hBitmap);
            }
            if (hMemDC)
                ::DeleteDC(hMemDC);
        }
    }
    ::EndPaint(m_hWnd, &ps);
}

void CPercentProgressCtrl::Draw(HDC hDC, const RECT& rcClient)
{
    int nLower = m_nLower, nUpper = m_nUpper, nPos = m_nPos;
    double dFraction = (static_cast<double>(nPos) - nLower) / (static_cast<double>(nUpper) - nLower);

    RECT rcBar = rcClient;
    rcBar.right = rcClient.left + TruncToInt((rcClient.right - rcClient.left) * dFraction);
    // Outside the range the bar reaches past an edge, which looks the same as
    // reaching the edge; holding it there keeps the rectangles well formed.
    if (rcBar.right < rcClient.left)
        rcBar.right = rcClient.left;
    if (rcBar.right > rcClient.right)
        rcBar.right = rcClient.right;
    RECT rcRest = rcClient;
    rcRest.left = rcBar.right;

    HBRUSH hBrush = ::CreateSolidBrush(m_crBar);
    ::FillRect(hDC, &rcBar, hBrush);
    ::DeleteObject(hBrush);
    hBrush = ::CreateSolidBrush(m_crBackground);
    ::FillRect(hDC, &rcRest, hBrush);
    ::DeleteObject(hBrush);

    if (!m_bShowText)
        return;

    CString strText = m_strText;
    if (strText.IsEmpty())
        strText.Format("%d%%", TruncToInt(dFraction * 100.0));

    ::SetBkMode(hDC, TRANSPARENT);
    const UINT nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    RECT rcText = rcClient;

    // IntersectClipRect takes logical coordinates, so it follows the
    // off-screen context's shifted origin.
    int nSaved = ::SaveDC(hDC);
    ::IntersectClipRect(hDC, rcBar.left, rcBar.top, rcBar.right, rcBar.bottom);
    ::SetTextColor(hDC, m_crTextOverBar);
    ::DrawTextA(hDC, strText, strText.GetLength(), &rcText, nFormat);
    ::RestoreDC(hDC, nSaved);

    nSaved = ::SaveDC(hDC);
    ::IntersectClipRect(hDC, rcRest.left, rcRest.top, rcRest.right, rcRest.bottom);
    ::SetTextColor(hDC, m_crTextOverBackground);
    ::DrawTextA(hDC, strText, strText.GetLength(), &rcText, nFormat);
    ::RestoreDC(hDC, nSaved);
}
