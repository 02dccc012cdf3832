// Drawing of theme images: the analysis of frames for areas of one colour,
// the nine-grid drawing with sizing margins, tiling, transparency, alpha
// blending, mirroring and colour filters, and the blending helpers.
#include "XTPSkinThemeImage.h"

#include "XTPSkinBitmap.h"
#include "XTPSkinEngine.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

typedef DWORD(WINAPI* PFNGETLAYOUT)(HDC);
typedef DWORD(WINAPI* PFNSETLAYOUT)(HDC, DWORD);
typedef BOOL(WINAPI* PFNALPHABLEND)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
typedef BOOL(WINAPI* PFNTRANSPARENTBLT)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

template <class T>
T GetProc(HMODULE hModule, const char* pszName)
{
    return hModule ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(hModule, pszName))) : nullptr;
}

// What the system offers for drawing, looked up once: layouts (missing on
// old systems) and msimg32's blending functions.
class CXTPSystemDrawing {
public:
    CXTPSystemDrawing()
    {
        HMODULE hGdi = GetModuleHandleA("GDI32.DLL");
        m_pfnGetLayout = GetProc<PFNGETLAYOUT>(hGdi, "GetLayout");
        m_pfnSetLayout = GetProc<PFNSETLAYOUT>(hGdi, "SetLayout");
        HMODULE hImg = LoadLibraryA("MSIMG32.DLL");
        m_pfnAlphaBlend = GetProc<PFNALPHABLEND>(hImg, "AlphaBlend");
        m_pfnTransparentBlt = GetProc<PFNTRANSPARENTBLT>(hImg, "TransparentBlt");

        OSVERSIONINFOA version = {};
        version.dwOSVersionInfoSize = sizeof(version);
        GetVersionExA(&version);
        m_bWin9x = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
        m_bWin2000 = version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5;
    }

    PFNGETLAYOUT m_pfnGetLayout;
    PFNSETLAYOUT m_pfnSetLayout;
    PFNALPHABLEND m_pfnAlphaBlend;
    PFNTRANSPARENTBLT m_pfnTransparentBlt;
    BOOL m_bWin9x;
    BOOL m_bWin2000;
};

const CXTPSystemDrawing& GetSystemDrawing()
{
    static const CXTPSystemDrawing s_system;
    return s_system;
}

DWORD GetDCLayout(HDC hDC)
{
    const CXTPSystemDrawing& sys = GetSystemDrawing();
    if (!sys.m_pfnGetLayout)
        return 0;
    DWORD dwLayout = sys.m_pfnGetLayout(hDC);
    return dwLayout == GDI_ERROR ? 0 : dwLayout;
}

BOOL SetDCLayout(HDC hDC, DWORD dwLayout)
{
    const CXTPSystemDrawing& sys = GetSystemDrawing();
    return sys.m_pfnSetLayout && sys.m_pfnSetLayout(hDC, dwLayout) != GDI_ERROR;
}

inline BOOL IsMirroredLayout(DWORD dwLayout)
{
    return (dwLayout & LAYOUT_RTL) != 0;
}

inline int Width(const RECT& rc)
{
    return rc.right - rc.left;
}

inline int Height(const RECT& rc)
{
    return rc.bottom - rc.top;
}

inline BOOL IsEmpty(const RECT& rc)
{
    return rc.left >= rc.right || rc.top >= rc.bottom;
}

// A fill without a brush: an opaque, empty text output.
void FillSolid(HDC hDC, const RECT& rc, COLORREF clr)
{
    COLORREF clrOld = SetBkColor(hDC, clr);
    ExtTextOutA(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    SetBkColor(hDC, clrOld);
}

// The pixels of any bitmap as 32-bit values (blue, green, red, alpha),
// bottom row first; false when they cannot be had.
bool GetPixels32(HBITMAP hBitmap, int nWidth, int nHeight, std::vector<DWORD>& arrPixels)
{
    if (!hBitmap || nWidth <= 0 || nHeight <= 0)
        return false;
    try {
        arrPixels.assign(static_cast<size_t>(nWidth) * static_cast<size_t>(nHeight), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC hScreenDC = GetDC(nullptr);
    int nLines = GetDIBits(hScreenDC, hBitmap, 0, static_cast<UINT>(nHeight), arrPixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, hScreenDC);
    return nLines == nHeight;
}

}  // namespace

void CXTPSkinThemeImage::PrepareFrames(int nImageCount, BOOL bHorizontal, const RECT& rcSizingMargins)
{
    if (!m_hBitmap || nImageCount < 1 || m_bFramesPrepared || m_bFiltered)
        return;
    if (nImageCount == 1)
        bHorizontal = FALSE;
    m_bFramesPrepared = TRUE;
    m_arrSolidAreas.clear();

    ReleaseMemoryDC();
    std::vector<DWORD> arrPixels;
    if (!GetPixels32(m_hBitmap, m_nWidth, m_nHeight, arrPixels))
        return;
    if (bHorizontal)
        return;

    // Margins that make no sense as widths cut nothing.
    int nLeft = std::max(0L, rcSizingMargins.left), nTop = std::max(0L, rcSizingMargins.top);
    int nRight = std::max(0L, rcSizingMargins.right), nBottom = std::max(0L, rcSizingMargins.bottom);
    BOOL bMargins = nLeft || nTop || nRight || nBottom;
    int nFrameHeight = m_nHeight / nImageCount;
    int W = m_nWidth;
    for (int i = 0; i < nImageCount; i++) {
        int nFrameTop = i * nFrameHeight, nFrameBottom = (i + 1) * nFrameHeight;
        size_t nBefore = m_arrSolidAreas.size();
        TestSolidArea(arrPixels.data(), 0, nFrameTop, W, nFrameBottom);
        if (m_arrSolidAreas.size() != nBefore || !bMargins)
            continue;
        int nInnerTop = nFrameTop + nTop, nInnerBottom = nFrameBottom - nBottom;
        TestSolidArea(arrPixels.data(), 0, nInnerTop, nLeft, nInnerBottom);                 // left edge
        TestSolidArea(arrPixels.data(), nLeft, nFrameTop, W - nRight, nInnerTop);           // top edge
        TestSolidArea(arrPixels.data(), W - nRight, nInnerTop, W, nInnerBottom);            // right edge
        TestSolidArea(arrPixels.data(), nLeft, nInnerBottom, W - nRight, nFrameBottom);     // bottom edge
        TestSolidArea(arrPixels.data(), nLeft, nInnerTop, W - nRight, nInnerBottom);        // centre
    }
}

void CXTPSkinThemeImage::TestSolidArea(const DWORD* pPixels, int nLeft, int nTop, int nRight, int nBottom)
{
    // Only what lies inside the bitmap can be read.
    nLeft = std::max(nLeft, 0);
    nTop = std::max(nTop, 0);
    nRight = std::min(nRight, m_nWidth);
    nBottom = std::min(nBottom, m_nHeight);
    if (nLeft >= nRight || nTop >= nBottom)
        return;

    // Without alpha only the colour counts.
    DWORD dwMask = m_bAlpha ? 0xFFFFFFFF : 0x00FFFFFF;
    DWORD dwFirst = pPixels[static_cast<size_t>(m_nHeight - 1 - nTop) * m_nWidth + nLeft] & dwMask;
    for (int x = nLeft; x < nRight; x++) {
        for (int y = nTop; y < nBottom; y++) {
            // Rows are stored bottom row first.
            if ((pPixels[static_cast<size_t>(m_nHeight - 1 - y) * m_nWidth + x] & dwMask) != dwFirst)
                return;
        }
    }
    SOLIDAREA area;
    area.nLeft = nLeft;
    area.nTop = nTop;
    area.nRight = nRight;
    area.nBottom = nBottom;
    area.clr = RGB((dwFirst >> 16) & 0xFF, (dwFirst >> 8) & 0xFF, dwFirst & 0xFF);
    if (m_bAlpha)
        area.clr |= dwFirst & 0xFF000000;
    try {
        m_arrSolidAreas.push_back(area);
    } catch (const std::bad_alloc&) {
    }
}

const CXTPSkinThemeImage::SOLIDAREA* CXTPSkinThemeImage::FindSolidArea(const RECT& rcSrc) const
{
    // An empty rectangle shares nothing with an area: drawing a frame of no
    // pixels fills nothing.
    if (IsEmpty(rcSrc))
        return nullptr;
    for (const SOLIDAREA& area : m_arrSolidAreas) {
        if (rcSrc.left >= area.nLeft && rcSrc.top >= area.nTop && rcSrc.right <= area.nRight &&
            rcSrc.bottom <= area.nBottom)
            return &area;
    }
    return nullptr;
}

BOOL CXTPSkinThemeImage::FillSolidArea(HDC hDC, const RECT& rcDest, const SOLIDAREA& area, COLORREF clrTransparent)
{
    COLORREF clrFill = area.clr & 0x00FFFFFF;
    if (m_pEngine)
        m_pEngine->ApplyColorFilters(&clrFill);
    if (!m_bAlpha) {
        if (clrFill != clrTransparent)
            FillSolid(hDC, rcDest, clrFill);
        return TRUE;
    }
    if (area.clr == 0)
        return TRUE;  // wholly transparent
    if ((area.clr >> 24) == 0xFF) {
        FillSolid(hDC, rcDest, clrFill);
        return TRUE;
    }
    return FALSE;
}

int CXTPSkinThemeImage::Draw(HDC hDC, const RECT& rcDest, const RECT& rcSrc, const RECT& rcSizingMargins,
                             COLORREF clrTransparent, int nSizingType, BOOL bBorderOnly)
{
    if (!m_hBitmap || !hDC)
        return FALSE;
    if (Height(rcSrc) < rcSizingMargins.top + rcSizingMargins.bottom)
        return FALSE;

    const SOLIDAREA* pArea = FindSolidArea(rcSrc);
    if (pArea && FillSolidArea(hDC, rcDest, *pArea, clrTransparent))
        return TRUE;

    if (clrTransparent == (COLORREF)-1 || m_bAlpha) {
        DrawNineGrid(hDC, rcDest, rcSrc, rcSizingMargins, nSizingType, bBorderOnly);
        return TRUE;
    }

    // A transparent colour: draw into a bitmap filled with that colour, then
    // copy everything but that colour.
    FilterColors(clrTransparent);
    int nWidth = Width(rcDest), nHeight = Height(rcDest);
    if (nWidth <= 0 || nHeight <= 0)
        return TRUE;
    HDC hTempDC = CreateCompatibleDC(hDC);
    HBITMAP hTemp = hTempDC ? CreateCompatibleBitmap(hDC, nWidth, nHeight) : nullptr;
    if (!hTemp) {
        if (hTempDC)
            DeleteDC(hTempDC);
        return FALSE;
    }
    HGDIOBJ hOld = SelectObject(hTempDC, hTemp);
    // The picture is drawn for the destination's direction (mirrored or
    // not) into the bitmap, which is then copied without a second mirroring.
    DWORD dwLayout = GetDCLayout(hDC) & LAYOUT_RTL;
    if (GetDCLayout(hTempDC) != dwLayout)
        SetDCLayout(hTempDC, dwLayout);
    RECT rcTemp = {0, 0, nWidth, nHeight};
    FillSolid(hTempDC, rcTemp, clrTransparent);
    DrawNineGrid(hTempDC, rcTemp, rcSrc, rcSizingMargins, nSizingType, bBorderOnly);
    TransparentBlendRect(hDC, rcDest, hTempDC, rcTemp, clrTransparent);
    SelectObject(hTempDC, hOld);
    DeleteObject(hTemp);
    DeleteDC(hTempDC);
    return TRUE;
}

void CXTPSkinThemeImage::DrawNineGrid(HDC hDC, const RECT& rcDest, const RECT& rcSrcFrame, const RECT& rcMargins,
                                      int nSizingType, BOOL bBorderOnly)
{
    if (!m_hBitmap)
        return;
    // Negative margins would cut pieces outside the frame.
    RECT m = {std::max(0L, rcMargins.left), std::max(0L, rcMargins.top), std::max(0L, rcMargins.right),
              std::max(0L, rcMargins.bottom)};
    if (Height(rcSrcFrame) < m.top + m.bottom)
        return;
    FilterColors((COLORREF)-1);
    if (IsEmpty(rcDest))
        return;

    int nOldStretchMode = SetStretchBltMode(hDC, COLORONCOLOR);
    BOOL bMirroredDest = IsMirroredLayout(GetDCLayout(hDC));

    // In a right-to-left destination every copy mirrors what it copies, which
    // is what a mirrored image wants. An image that must not be mirrored is
    // read mirrored as well: an alpha image from a flipped copy of its bitmap
    // (blending from a mirrored context is not reliable), any other from a
    // mirrored memory context. Either way its x coordinates run from the
    // right, so the frame is taken from the mirrored place.
    BOOL bSourceMirrored = FALSE;
    if (m_bAlpha) {
        BOOL bFlip = bMirroredDest && !m_bMirror;
        if (bFlip != m_bFlipped)
            Flip();
        bSourceMirrored = m_bFlipped;
    }
    HDC hMemDC = SelectIntoMemoryDC();
    if (!hMemDC) {
        SetStretchBltMode(hDC, nOldStretchMode);
        return;
    }
    // The context is kept from draw to draw: its layout is set every time.
    DWORD dwLayout = !m_bAlpha && bMirroredDest && !m_bMirror ? LAYOUT_RTL : 0;
    if (GetDCLayout(hMemDC) != dwLayout)
        SetDCLayout(hMemDC, dwLayout);
    if (!m_bAlpha)
        bSourceMirrored = IsMirroredLayout(GetDCLayout(hMemDC));
    RECT rcSrc = rcSrcFrame;
    if (bSourceMirrored) {
        rcSrc.left = m_nWidth - rcSrcFrame.right;
        rcSrc.right = m_nWidth - rcSrcFrame.left;
    }
    m_bSourceMirrored = bSourceMirrored;

    int nTileFlags = nSizingType == 2 ? 3 : 0;
    if (!m.left && !m.top && !m.right && !m.bottom) {
        DrawPiece(hDC, rcDest, hMemDC, rcSrc, nTileFlags);
    } else {
        int nDestWidth = Width(rcDest), nDestHeight = Height(rcDest);
        int nSrcWidth = Width(rcSrc), nSrcHeight = Height(rcSrc);
        RECT d = m;  // margins in the destination
        int nVert = m.top + m.bottom, nHorz = m.left + m.right;
        if (nVert > 0 && (nDestHeight <= nVert || nSrcHeight == nVert)) {
            // No room for the edges: the two margins share the height.
            d.top = MulDiv(nDestHeight, m.top, nVert);
            d.bottom = nDestHeight - d.top;
            if (d.bottom > 0 && d.bottom % 2 != m.bottom % 2)
                d.bottom++;
            nTileFlags &= ~1;
        }
        if (nHorz > 0 && (nDestWidth <= nHorz || nSrcWidth == nHorz)) {
            d.left = MulDiv(nDestWidth, m.left, nHorz);
            d.right = nDestWidth - d.left;
            nTileFlags &= ~2;
        }

        const int sx[4] = {rcSrc.left, rcSrc.left + m.left, rcSrc.right - m.right, rcSrc.right};
        const int sy[4] = {rcSrc.top, rcSrc.top + m.top, rcSrc.bottom - m.bottom, rcSrc.bottom};
        const int dx[4] = {rcDest.left, rcDest.left + d.left, rcDest.right - d.right, rcDest.right};
        const int dy[4] = {rcDest.top, rcDest.top + d.top, rcDest.bottom - d.bottom, rcDest.bottom};
        for (int nRow = 0; nRow < 3; nRow++) {
            for (int nCol = 0; nCol < 3; nCol++) {
                RECT rcPieceSrc = {sx[nCol], sy[nRow], sx[nCol + 1], sy[nRow + 1]};
                RECT rcPieceDest = {dx[nCol], dy[nRow], dx[nCol + 1], dy[nRow + 1]};
                if (nRow != 1 && nCol != 1)
                    BlitPiece(hDC, rcPieceDest, hMemDC, rcPieceSrc);  // corners
                else if (nRow != 1 || nCol != 1 || !bBorderOnly)
                    DrawPiece(hDC, rcPieceDest, hMemDC, rcPieceSrc, nTileFlags);
            }
        }
    }

    m_bSourceMirrored = FALSE;
    SetStretchBltMode(hDC, nOldStretchMode);
}

HDC CXTPSkinThemeImage::SelectIntoMemoryDC()
{
    if (m_hMemDC || !m_hBitmap)
        return m_hMemDC;
    HDC hMemDC = CreateCompatibleDC(nullptr);
    if (!hMemDC)
        return nullptr;
    HGDIOBJ hOld = SelectObject(hMemDC, m_hBitmap);
    if (!hOld || hOld == HGDI_ERROR) {
        DeleteDC(hMemDC);
        return nullptr;
    }
    m_hMemDC = hMemDC;
    m_hMemDCOld = hOld;
    return m_hMemDC;
}

void CXTPSkinThemeImage::ReleaseMemoryDC()
{
    if (!m_hMemDC)
        return;
    SelectObject(m_hMemDC, m_hMemDCOld);
    DeleteDC(m_hMemDC);
    m_hMemDC = nullptr;
    m_hMemDCOld = nullptr;
}

BOOL CXTPSkinThemeImage::DrawPiece(HDC hDC, const RECT& rcDest, HDC hSrcDC, const RECT& rcSrc, int nTileFlags)
{
    if (IsEmpty(rcDest) || IsEmpty(rcSrc))
        return TRUE;

    RECT rcArea = rcSrc;
    if (m_bSourceMirrored) {
        rcArea.left = m_nWidth - rcSrc.right;
        rcArea.right = m_nWidth - rcSrc.left;
    }
    const SOLIDAREA* pArea = FindSolidArea(rcArea);
    if (pArea && FillSolidArea(hDC, rcDest, *pArea, (COLORREF)-1))
        return TRUE;

    if (!nTileFlags)
        return BlitPiece(hDC, rcDest, hSrcDC, rcSrc);

    int nSrcWidth = Width(rcSrc), nSrcHeight = Height(rcSrc);
    int nDestWidth = Width(rcDest), nDestHeight = Height(rcDest);
    // Strips one pixel thick stretch in one call.
    if ((nSrcWidth == 1 && (nSrcHeight == 1 || nSrcHeight == nDestHeight)) ||
        (nSrcHeight == 1 && nSrcWidth == nDestWidth))
        return BlitPiece(hDC, rcDest, hSrcDC, rcSrc);

    int nStepHeight = (nTileFlags & 1) && nSrcHeight <= nDestHeight ? nSrcHeight : nDestHeight;
    int nStepWidth = (nTileFlags & 2) && nSrcWidth <= nDestWidth ? nSrcWidth : nDestWidth;
    for (int x = rcDest.left; x < rcDest.right; x += nStepWidth) {
        int nWidth = std::min(nStepWidth, static_cast<int>(rcDest.right) - x);
        // The last tile is cut, not stretched.
        int nTileSrcWidth = nWidth < nStepWidth ? nWidth : nSrcWidth;
        for (int y = rcDest.top; y < rcDest.bottom; y += nStepHeight) {
            int nHeight = std::min(nStepHeight, static_cast<int>(rcDest.bottom) - y);
            int nTileSrcHeight = nHeight < nStepHeight ? nHeight : nSrcHeight;
            RECT rcTileDest = {x, y, x + nWidth, y + nHeight};
            RECT rcTileSrc = {rcSrc.left, rcSrc.top, rcSrc.left + nTileSrcWidth, rcSrc.top + nTileSrcHeight};
            BlitPiece(hDC, rcTileDest, hSrcDC, rcTileSrc);
        }
    }
    return TRUE;
}

BOOL CXTPSkinThemeImage::BlitPiece(HDC hDC, const RECT& rcDest, HDC hSrcDC, const RECT& rcSrc)
{
    if (IsEmpty(rcDest) || IsEmpty(rcSrc))
        return TRUE;
    if (m_bAlpha)
        return AlphaBlendRect(hDC, rcDest, hSrcDC, rcSrc);
    if (Width(rcDest) == Width(rcSrc) && Height(rcDest) == Height(rcSrc))
        return BitBlt(hDC, rcDest.left, rcDest.top, Width(rcDest), Height(rcDest), hSrcDC, rcSrc.left, rcSrc.top,
                      SRCCOPY);
    return StretchBlt(hDC, rcDest.left, rcDest.top, Width(rcDest), Height(rcDest), hSrcDC, rcSrc.left, rcSrc.top,
                      Width(rcSrc), Height(rcSrc), SRCCOPY);
}

void CXTPSkinThemeImage::FilterColors(COLORREF clrExcept)
{
    if (!m_hBitmap || m_bFiltered)
        return;
    m_bFiltered = TRUE;
    if (!m_pEngine || !m_pEngine->HasColorFilters())
        return;

    // A 32-bit copy of the pixels, whatever the bitmap's own format.
    ReleaseMemoryDC();
    std::vector<DWORD> arrPixels;
    if (!GetPixels32(m_hBitmap, m_nWidth, m_nHeight, arrPixels))
        return;
    BYTE* pBits = nullptr;
    HBITMAP hFiltered = CreateDib32(nullptr, m_nWidth, m_nHeight, &pBits);
    if (!hFiltered || !pBits) {
        if (hFiltered)
            DeleteObject(hFiltered);
        return;
    }
    DWORD* pDest = reinterpret_cast<DWORD*>(pBits);
    for (size_t i = 0; i < arrPixels.size(); i++) {
        DWORD dwPixel = arrPixels[i];
        COLORREF clr = RGB((dwPixel >> 16) & 0xFF, (dwPixel >> 8) & 0xFF, dwPixel & 0xFF);
        if (clr != clrExcept) {
            m_pEngine->ApplyColorFilters(&clr);
            dwPixel = (dwPixel & 0xFF000000) | (static_cast<DWORD>(GetRValue(clr)) << 16) |
                      (static_cast<DWORD>(GetGValue(clr)) << 8) | GetBValue(clr);
        }
        pDest[i] = dwPixel;
    }
    GdiFlush();
    DeleteObject(m_hBitmap);
    m_hBitmap = hFiltered;
}

void CXTPSkinThemeImage::Flip()
{
    if (!m_bAlpha || !m_hBitmap)
        return;
    ReleaseMemoryDC();
    HBITMAP hFlipped = FlipBitmap(m_hBitmap);
    if (!hFlipped)
        return;
    DeleteObject(m_hBitmap);
    m_hBitmap = hFlipped;
    m_bFlipped = !m_bFlipped;
}

BOOL AlphaBlendRect(HDC hDestDC, const RECT& rcDest, HDC hSrcDC, const RECT& rcSrc)
{
    if (IsEmpty(rcDest) || IsEmpty(rcSrc))
        return TRUE;
    const CXTPSystemDrawing& sys = GetSystemDrawing();
    BOOL bSoftware = !sys.m_pfnAlphaBlend || (sys.m_bWin9x && IsMirroredLayout(GetDCLayout(hDestDC))) ||
                     (!sys.m_bWin2000 && (rcSrc.left != 0 || rcSrc.top != 0));
    if (!bSoftware) {
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        if (sys.m_pfnAlphaBlend(hDestDC, rcDest.left, rcDest.top, Width(rcDest), Height(rcDest), hSrcDC, rcSrc.left,
                                rcSrc.top, Width(rcSrc), Height(rcSrc), blend))
            return TRUE;
    }
    return SoftwareAlphaBlend(hDestDC, rcDest, hSrcDC, rcSrc);
}

BOOL SoftwareAlphaBlend(HDC hDestDC, const RECT& rcDest, HDC hSrcDC, const RECT& rcSrc)
{
    int nWidth = Width(rcDest), nHeight = Height(rcDest);
    if (nWidth <= 0 || nHeight <= 0 || IsEmpty(rcSrc))
        return TRUE;

    // The source stretched to the destination's size and a copy of the
    // destination, both as plain 32-bit pixels. The copies go through the
    // system's own copying, so a right-to-left destination mirrors the
    // source exactly as a copy with BitBlt would.
    BYTE* pSrc = nullptr;
    BYTE* pDest = nullptr;
    HBITMAP hSrc = CreateDib32(hDestDC, nWidth, nHeight, &pSrc);
    HBITMAP hDest = CreateDib32(hDestDC, nWidth, nHeight, &pDest);
    HDC hMemDC = CreateCompatibleDC(hDestDC);
    BOOL bResult = FALSE;
    if (hSrc && hDest && pSrc && pDest && hMemDC) {
        if (GetDCLayout(hMemDC) != 0)
            SetDCLayout(hMemDC, 0);
        HGDIOBJ hOld = SelectObject(hMemDC, hSrc);
        SetStretchBltMode(hMemDC, COLORONCOLOR);
        bResult = StretchBlt(hMemDC, 0, 0, nWidth, nHeight, hSrcDC, rcSrc.left, rcSrc.top, Width(rcSrc),
                             Height(rcSrc), SRCCOPY);
        SelectObject(hMemDC, hDest);
        bResult = bResult && BitBlt(hMemDC, 0, 0, nWidth, nHeight, hDestDC, rcDest.left, rcDest.top, SRCCOPY);
        GdiFlush();
        if (bResult) {
            size_t nBytes = static_cast<size_t>(nWidth) * static_cast<size_t>(nHeight) * 4;
            for (size_t i = 0; i < nBytes; i += 4) {
                unsigned nInverse = 255 - pSrc[i + 3];
                for (size_t c = 0; c < 4; c++) {
                    unsigned nValue = pSrc[i + c] + nInverse * pDest[i + c] / 255;
                    pDest[i + c] = static_cast<BYTE>(nValue > 255 ? 255 : nValue);
                }
            }
            bResult = BitBlt(hDestDC, rcDest.left, rcDest.top, nWidth, nHeight, hMemDC, 0, 0, SRCCOPY);
        }
        SelectObject(hMemDC, hOld);
    }
    if (hMemDC)
        DeleteDC(hMemDC);
    if (hSrc)
        DeleteObject(hSrc);
    if (hDest)
        DeleteObject(hDest);
    return bResult;
}

BOOL TransparentBlendRect(HDC hDestDC, const RECT& rcDest, HDC hSrcDC, const RECT& rcSrc, COLORREF clrTransparent)
{
    if (IsEmpty(rcDest) || IsEmpty(rcSrc))
        return TRUE;
    const CXTPSystemDrawing& sys = GetSystemDrawing();
    if (sys.m_bWin2000 && sys.m_pfnTransparentBlt &&
        sys.m_pfnTransparentBlt(hDestDC, rcDest.left, rcDest.top, Width(rcDest), Height(rcDest), hSrcDC, rcSrc.left,
                                rcSrc.top, Width(rcSrc), Height(rcSrc), clrTransparent))
        return TRUE;
    return MaskTransparentBlt(hDestDC, rcDest, hSrcDC, rcSrc, clrTransparent);
}

BOOL MaskTransparentBlt(HDC hDestDC, const RECT& rcDest, HDC hSrcDC, const RECT& rcSrc, COLORREF clrTransparent)
{
    int nSrcWidth = Width(rcSrc), nSrcHeight = Height(rcSrc);
    if (IsEmpty(rcDest) || nSrcWidth <= 0 || nSrcHeight <= 0)
        return TRUE;

    COLORREF clrOldBk = SetBkColor(hDestDC, RGB(255, 255, 255));
    COLORREF clrOldText = SetTextColor(hDestDC, RGB(0, 0, 0));

    HDC hCopyDC = CreateCompatibleDC(hDestDC);
    HDC hMaskDC = CreateCompatibleDC(hDestDC);
    HBITMAP hCopy = CreateCompatibleBitmap(hDestDC, nSrcWidth, nSrcHeight);
    HBITMAP hMask = CreateBitmap(nSrcWidth, nSrcHeight, 1, 1, nullptr);
    BOOL bResult = FALSE;
    if (hCopyDC && hMaskDC && hCopy && hMask) {
        if (GetDCLayout(hCopyDC) != 0)
            SetDCLayout(hCopyDC, 0);
        if (GetDCLayout(hMaskDC) != 0)
            SetDCLayout(hMaskDC, 0);
        HGDIOBJ hOldCopy = SelectObject(hCopyDC, hCopy);
        HGDIOBJ hOldMask = SelectObject(hMaskDC, hMask);
        bResult = BitBlt(hCopyDC, 0, 0, nSrcWidth, nSrcHeight, hSrcDC, rcSrc.left, rcSrc.top, SRCCOPY);
        // Pixels of the background colour become 1 in the mask.
        SetBkColor(hCopyDC, clrTransparent);
        bResult = bResult && BitBlt(hMaskDC, 0, 0, nSrcWidth, nSrcHeight, hCopyDC, 0, 0, SRCCOPY);
        if (bResult && clrTransparent != RGB(0, 0, 0)) {
            // Blacken the transparent pixels of the copy.
            SetBkColor(hCopyDC, RGB(0, 0, 0));
            SetTextColor(hCopyDC, RGB(255, 255, 255));
            bResult = BitBlt(hCopyDC, 0, 0, nSrcWidth, nSrcHeight, hMaskDC, 0, 0, SRCAND);
        }
        int nDestWidth = Width(rcDest), nDestHeight = Height(rcDest);
        if (bResult && nDestWidth == nSrcWidth && nDestHeight == nSrcHeight) {
            bResult = BitBlt(hDestDC, rcDest.left, rcDest.top, nDestWidth, nDestHeight, hMaskDC, 0, 0, SRCAND) &&
                      BitBlt(hDestDC, rcDest.left, rcDest.top, nDestWidth, nDestHeight, hCopyDC, 0, 0, SRCPAINT);
        } else if (bResult) {
            bResult = StretchBlt(hDestDC, rcDest.left, rcDest.top, nDestWidth, nDestHeight, hMaskDC, 0, 0, nSrcWidth,
                                 nSrcHeight, SRCAND) &&
                      StretchBlt(hDestDC, rcDest.left, rcDest.top, nDestWidth, nDestHeight, hCopyDC, 0, 0, nSrcWidth,
                                 nSrcHeight, SRCPAINT);
        }
        SelectObject(hCopyDC, hOldCopy);
        SelectObject(hMaskDC, hOldMask);
    }
    if (hCopy)
        DeleteObject(hCopy);
    if (hMask)
        DeleteObject(hMask);
    if (hCopyDC)
        DeleteDC(hCopyDC);
    if (hMaskDC)
        DeleteDC(hMaskDC);
    SetBkColor(hDestDC, clrOldBk);
    SetTextColor(hDestDC, clrOldText);
    return bResult;
}
