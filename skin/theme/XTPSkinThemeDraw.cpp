// Drawing of theme parts: the schema's background drawing (bitmap frames,
// border fills, glyphs) and the class handle's background, text and
// part-size operations.
#include "XTPSkinEngine.h"
#include "XTPSkinThemeClass.h"
#include "XTPSkinThemeImage.h"
#include "XTPSkinThemeSchema.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cstring>

namespace {

const COLORREF XTP_COLOR_NONE = (COLORREF)-1;

// How a part's bitmap is cut into frames.
struct XTP_FRAMES {
    int nCount;
    BOOL bHorizontal;
    int cx, cy;
};

XTP_FRAMES GetFrames(CXTPSkinThemeClass* pClass, int nPartId, int nStateId, const CXTPSkinThemeImage* pImage)
{
    XTP_FRAMES frames;
    frames.nCount = std::max(1, pClass->GetThemeInt(nPartId, nStateId, TMT_IMAGECOUNT, 1));
    frames.bHorizontal = pClass->GetThemeEnumValue(nPartId, nStateId, TMT_IMAGELAYOUT, IL_HORIZONTAL) == IL_HORIZONTAL;
    frames.cx = frames.bHorizontal ? pImage->GetWidth() / frames.nCount : pImage->GetWidth();
    frames.cy = frames.bHorizontal ? pImage->GetHeight() : pImage->GetHeight() / frames.nCount;
    return frames;
}

// The frame of a state: state n is frame n - 1; state 0 and states beyond
// the last frame use the first.
RECT GetStateFrame(const XTP_FRAMES& frames, int nStateId)
{
    int nIndex = nStateId >= 1 && nStateId <= frames.nCount ? nStateId - 1 : 0;
    if (frames.bHorizontal)
        return RECT{nIndex * frames.cx, 0, (nIndex + 1) * frames.cx, frames.cy};
    return RECT{0, nIndex * frames.cy, frames.cx, (nIndex + 1) * frames.cy};
}

// The background bitmap of a part: IMAGEFILE1 when the part selects among
// several bitmaps and has no glyph, else IMAGEFILE; null when it has none.
CXTPSkinThemeImage* GetBackgroundImage(CXTPSkinThemeClass* pClass, int nPartId, int nStateId)
{
    int nPropId = TMT_IMAGEFILE;
    if (pClass->GetThemeEnumValue(nPartId, nStateId, TMT_IMAGESELECTTYPE, IST_NONE) != IST_NONE &&
        pClass->GetThemeEnumValue(nPartId, nStateId, TMT_GLYPHTYPE, GT_NONE) == GT_NONE)
        nPropId = TMT_IMAGEFILE1;
    CString strName = pClass->GetThemeString(nPartId, nStateId, nPropId, "");
    if (strName.IsEmpty() && nPropId != TMT_IMAGEFILE)
        strName = pClass->GetThemeString(nPartId, nStateId, TMT_IMAGEFILE, "");
    return strName.IsEmpty() ? nullptr : pClass->GetImage(strName);
}

// A solid fill of the part of rc that lies inside rcBounds.
void FillClipped(HDC hDC, RECT rc, const RECT& rcBounds, COLORREF clr)
{
    if (!IntersectRect(&rc, &rc, &rcBounds))
        return;
    COLORREF clrOld = SetBkColor(hDC, clr);
    ExtTextOutA(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    SetBkColor(hDC, clrOld);
}

RECT ShrinkByMargins(const RECT& rc, const RECT& rcMargins)
{
    return RECT{rc.left + rcMargins.left, rc.top + rcMargins.top, rc.right - rcMargins.right,
                rc.bottom - rcMargins.bottom};
}

}  // namespace

BOOL CXTPSkinThemeSchema::DrawThemeBackground(HDC hDC, CXTPSkinThemeClass* pClass, int nPartId, int nStateId,
                                              const RECT* pRect)
{
    if (!hDC || !pClass || !pRect)
        return FALSE;
    int nBgType = pClass->GetThemeEnumValue(nPartId, nStateId, TMT_BGTYPE, BT_IMAGEFILE);
    if (nBgType == BT_BORDERFILL)
        return DrawBorderFill(hDC, pClass, nPartId, nStateId, pRect);
    if (nBgType != BT_IMAGEFILE)
        return TRUE;

    CXTPSkinThemeImage* pImage = GetBackgroundImage(pClass, nPartId, nStateId);
    if (!pImage)
        return FALSE;
    RECT rcMargins = pClass->GetThemeRect(nPartId, nStateId, TMT_SIZINGMARGINS);
    XTP_FRAMES frames = GetFrames(pClass, nPartId, nStateId, pImage);
    BOOL bTransparent = !pImage->HasAlpha() && pClass->GetThemeBool(nPartId, nStateId, TMT_TRANSPARENT, FALSE);

    RECT rcDest = *pRect;
    int nSizingType = pClass->GetThemeEnumValue(nPartId, nStateId, TMT_SIZINGTYPE, ST_STRETCH);
    if (nSizingType == ST_TRUESIZE) {
        int cx = frames.cx, cy = frames.cy;
        if (pClass->GetThemeInt(nPartId, nStateId, TMT_TRUESIZESTRETCHMARK, 0) > 0) {
            cx = std::min(cx, static_cast<int>(pRect->right - pRect->left));
            cy = std::min(cy, static_cast<int>(pRect->bottom - pRect->top));
        }
        int nLeft = std::max(static_cast<int>(pRect->left), static_cast<int>(pRect->left + pRect->right - cx) / 2);
        int nTop = std::max(static_cast<int>(pRect->top), static_cast<int>(pRect->top + pRect->bottom - cy) / 2);
        if (pClass->GetThemeEnumValue(nPartId, nStateId, TMT_VALIGN, VA_TOP) == VA_BOTTOM)
            rcDest = RECT{nLeft, pRect->bottom - cy, nLeft + cx, pRect->bottom};
        else
            rcDest = RECT{nLeft, nTop, nLeft + cx, nTop + cy};
        rcMargins = RECT{0, 0, 0, 0};
    }

    RECT rcSrc = GetStateFrame(frames, nStateId);
    COLORREF clrTransparent =
        bTransparent ? pClass->GetThemeColor(nPartId, nStateId, TMT_TRANSPARENTCOLOR, RGB(255, 0, 255))
                     : XTP_COLOR_NONE;
    BOOL bBorderOnly = pClass->GetThemeBool(nPartId, nStateId, TMT_BORDERONLY, FALSE);
    // The window frame's sides are always drawn whole.
    if (pClass->GetClassId() == XTP_SKINCLASS_WINDOW && nPartId >= WP_FRAMELEFT && nPartId <= WP_SMALLFRAMEBOTTOM)
        bBorderOnly = FALSE;

    pImage->m_bMirror = pClass->GetThemeBool(nPartId, nStateId, TMT_MIRRORIMAGE, TRUE);
    pImage->PrepareFrames(frames.nCount, frames.bHorizontal, rcMargins);
    pImage->Draw(hDC, rcDest, rcSrc, rcMargins, clrTransparent, nSizingType, bBorderOnly);

    if (pClass->GetThemeEnumValue(nPartId, nStateId, TMT_GLYPHTYPE, GT_NONE) == GT_IMAGEGLYPH)
        DrawGlyph(hDC, pClass, nPartId, nStateId, pRect);
    return TRUE;
}

BOOL CXTPSkinThemeSchema::DrawBorderFill(HDC hDC, CXTPSkinThemeClass* pClass, int nPartId, int nStateId,
                                         const RECT* pRect)
{
    int nBorder = pClass->GetThemeInt(nPartId, nStateId, TMT_BORDERSIZE, 1);
    COLORREF clrBorder = pClass->GetThemeColor(nPartId, nStateId, TMT_BORDERCOLOR, XTP_COLOR_NONE);
    COLORREF clrFill = pClass->GetThemeColor(nPartId, nStateId, TMT_FILLCOLOR, XTP_COLOR_NONE);
    BOOL bBorderOnly = pClass->GetThemeBool(nPartId, nStateId, TMT_BORDERONLY, FALSE);

    // Nothing is drawn outside the rectangle, however wide the border.
    const RECT& rcBounds = *pRect;
    RECT rc = *pRect;
    if (nBorder > 0 && clrBorder != XTP_COLOR_NONE) {
        FillClipped(hDC, RECT{rc.left, rc.top, rc.right, rc.top + nBorder}, rcBounds, clrBorder);
        FillClipped(hDC, RECT{rc.left, rc.bottom - nBorder, rc.right, rc.bottom}, rcBounds, clrBorder);
        FillClipped(hDC, RECT{rc.left, rc.top + nBorder, rc.left + nBorder, rc.bottom - nBorder}, rcBounds,
                    clrBorder);
        FillClipped(hDC, RECT{rc.right - nBorder, rc.top + nBorder, rc.right, rc.bottom - nBorder}, rcBounds,
                    clrBorder);
        InflateRect(&rc, -nBorder, -nBorder);
    }
    if (clrFill != XTP_COLOR_NONE && !bBorderOnly)
        FillClipped(hDC, rc, rcBounds, clrFill);
    return TRUE;
}

BOOL CXTPSkinThemeSchema::DrawGlyph(HDC hDC, CXTPSkinThemeClass* pClass, int nPartId, int nStateId, const RECT* pRect)
{
    int nCount = pClass->GetThemeInt(nPartId, nStateId, TMT_IMAGECOUNT, 1);
    if (nCount < 1)
        return FALSE;
    BOOL bHorizontal =
        pClass->GetThemeEnumValue(nPartId, nStateId, TMT_IMAGELAYOUT, IL_HORIZONTAL) == IL_HORIZONTAL;
    RECT rcContent = ShrinkByMargins(*pRect, pClass->GetThemeRect(nPartId, nStateId, TMT_CONTENTMARGINS));

    int nPropId = TMT_GLYPHIMAGEFILE;
    if (pClass->GetThemeEnumValue(nPartId, nStateId, TMT_IMAGESELECTTYPE, IST_NONE) == IST_SIZE) {
        nPropId = SelectGlyphImage(pClass, nPartId, nStateId, rcContent, nCount, bHorizontal);
        if (nPropId < 0)
            return FALSE;
    }
    CString strName = pClass->GetThemeString(nPartId, nStateId, nPropId, "");
    if (strName.IsEmpty())
        return FALSE;
    CXTPSkinThemeImage* pImage = pClass->GetImage(strName);
    if (!pImage)
        return FALSE;

    XTP_FRAMES frames = {nCount, bHorizontal, bHorizontal ? pImage->GetWidth() / nCount : pImage->GetWidth(),
                         bHorizontal ? pImage->GetHeight() : pImage->GetHeight() / nCount};
    int nLeft = static_cast<int>(rcContent.left + rcContent.right - frames.cx) / 2;
    int nTop = std::max(static_cast<int>(rcContent.top), static_cast<int>(rcContent.top + rcContent.bottom - frames.cy) / 2);
    RECT rcDest = {nLeft, nTop, nLeft + frames.cx, nTop + frames.cy};
    RECT rcSrc = GetStateFrame(frames, nStateId);
    COLORREF clrTransparent = XTP_COLOR_NONE;
    if (!pImage->HasAlpha() && pClass->GetThemeBool(nPartId, nStateId, TMT_GLYPHTRANSPARENT, FALSE))
        clrTransparent = pClass->GetThemeColor(nPartId, nStateId, TMT_TRANSPARENTCOLOR, RGB(255, 0, 255));
    RECT rcNoMargins = {0, 0, 0, 0};
    pImage->Draw(hDC, rcDest, rcSrc, rcNoMargins, clrTransparent, ST_TRUESIZE, FALSE);
    return TRUE;
}

int CXTPSkinThemeSchema::SelectGlyphImage(CXTPSkinThemeClass* pClass, int nPartId, int nStateId,
                                          const RECT& rcContent, int nImageCount, BOOL bHorizontal)
{
    for (int nPropId = TMT_IMAGEFILE5; nPropId >= TMT_IMAGEFILE1; nPropId--) {
        CString strName = pClass->GetThemeString(nPartId, nStateId, nPropId, "");
        if (strName.IsEmpty())
            continue;
        CXTPSkinThemeImage* pImage = pClass->GetImage(strName);
        SIZE size = pImage ? pImage->GetSize() : SIZE{0, 0};
        if (size.cx == 0 && size.cy == 0)
            return -1;
        if (bHorizontal)
            size.cx /= nImageCount;
        else
            size.cy /= nImageCount;
        if (nPropId == TMT_IMAGEFILE1)
            return nPropId;
        if (rcContent.bottom - rcContent.top >= size.cy && rcContent.right - rcContent.left >= size.cx)
            return nPropId;
    }
    return TMT_IMAGEFILE;
}

BOOL CXTPSkinThemeClass::DrawThemeBackground(HDC hDC, int nPartId, int nStateId, const RECT* pRect)
{
    CXTPSkinThemeSchema* pSchema = GetSchema();
    return pSchema ? pSchema->DrawThemeBackground(hDC, this, nPartId, nStateId, pRect) : FALSE;
}

BOOL CXTPSkinThemeClass::DrawThemeText(HDC hDC, int nPartId, int nStateId, const char* pszText, DWORD dwTextFlags,
                                       const RECT* pRect)
{
    if (!hDC || !pRect)
        return FALSE;
    if (!pszText)
        pszText = "";
    // The text is the caller's and must stay as it is.
    dwTextFlags &= ~static_cast<DWORD>(DT_MODIFYSTRING);

    SetBkMode(hDC, TRANSPARENT);
    RECT rcMargins = GetThemeRect(nPartId, nStateId, TMT_CAPTIONMARGINS);
    RECT rcText = *pRect;
    rcText.left += rcMargins.left;
    rcText.right -= rcMargins.right;
    if (GetThemeEnumValue(nPartId, nStateId, TMT_CONTENTALIGNMENT, CA_LEFT) == CA_CENTER)
        dwTextFlags |= DT_CENTER;

    COLORREF clrText = GetThemeColor(nPartId, nStateId, TMT_TEXTCOLOR, GetTextColor(hDC));
    SetTextColor(hDC, clrText);
    int nLength = static_cast<int>(strlen(pszText));
    if (GetThemeEnumValue(nPartId, nStateId, TMT_TEXTSHADOWTYPE, TST_NONE) == TST_SINGLE) {
        POINT ptOffset = GetThemePosition(nPartId, nStateId, TMT_TEXTSHADOWOFFSET);
        if (ptOffset.x != 0 || ptOffset.y != 0) {
            SetTextColor(hDC, GetThemeColor(nPartId, nStateId, TMT_TEXTSHADOWCOLOR, XTP_COLOR_NONE));
            RECT rcShadow = rcText;
            OffsetRect(&rcShadow, ptOffset.x, ptOffset.y);
            DrawTextA(hDC, pszText, nLength, &rcShadow, dwTextFlags);
            SetTextColor(hDC, clrText);
        }
    }
    DrawTextA(hDC, pszText, nLength, &rcText, dwTextFlags);
    return TRUE;
}

BOOL CXTPSkinThemeClass::GetThemePartSize(int nPartId, int nStateId, const RECT* pRect, int nSizeKind, SIZE* pSize)
{
    if (GetThemeEnumValue(nPartId, nStateId, TMT_BGTYPE, BT_IMAGEFILE) != BT_IMAGEFILE)
        return FALSE;
    CXTPSkinThemeImage* pImage = GetBackgroundImage(this, nPartId, nStateId);
    if (!pImage)
        return FALSE;
    XTP_FRAMES frames = GetFrames(this, nPartId, nStateId, pImage);
    SIZE size = {frames.cx, frames.cy};
    if (nSizeKind == TS_DRAW &&
        GetThemeEnumValue(nPartId, nStateId, TMT_SIZINGTYPE, ST_STRETCH) != ST_TRUESIZE) {
        size = pRect ? SIZE{pRect->right - pRect->left, pRect->bottom - pRect->top} : SIZE{0, 0};
        if (GetThemeBool(nPartId, nStateId, TMT_UNIFORMSIZING, FALSE) && frames.cy > 0)
            size.cx = MulDiv(size.cy, frames.cx, frames.cy);
    }
    if (pSize && (nSizeKind == TS_TRUE || nSizeKind == TS_DRAW))
        *pSize = size;
    return TRUE;
}
