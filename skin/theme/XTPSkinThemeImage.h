// CXTPSkinThemeImage: one bitmap of the theme package, with its size and
// whether it carries per-pixel alpha. 32-bit images with a used alpha channel
// are kept premultiplied when the theme's schema asks for it. It draws any
// frame of itself stretched or tiled, cut by sizing margins into nine pieces,
// with a transparent colour or blended by alpha, mirrored for right-to-left
// destinations and through the engine's colour filters; areas of one colour
// found beforehand are filled instead of copied.
#pragma once

#include <windows.h>

#include <vector>

class CXTPSkinEngine;

class CXTPSkinThemeImage {
public:
    // pEngine gives the schema (whether to premultiply) and the colour
    // filters; without one, alpha images are premultiplied and unfiltered.
    explicit CXTPSkinThemeImage(CXTPSkinEngine* pEngine = nullptr);
    virtual ~CXTPSkinThemeImage();
    CXTPSkinThemeImage(const CXTPSkinThemeImage&) = delete;
    CXTPSkinThemeImage& operator=(const CXTPSkinThemeImage&) = delete;

    // Load a PNG or BMP file / a "PNG" or RT_BITMAP resource; FALSE when no
    // bitmap results.
    BOOL LoadFromFile(const char* pszFileName);
    BOOL LoadFromResource(HMODULE hModule, const char* pszResourceName);

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    SIZE GetSize() const { return SIZE{m_nWidth, m_nHeight}; }
    BOOL HasAlpha() const { return m_bAlpha; }
    // The bitmap, free to be selected into another context: the image's own
    // drawing context, kept between draws, gives it up.
    HBITMAP GetBitmap()
    {
        ReleaseMemoryDC();
        return m_hBitmap;
    }
    // Frame nIndex of nCount frames stacked vertically.
    RECT GetFrameRect(int nIndex, int nCount) const;

    // An area of the bitmap (right and bottom exclusive) whose pixels all
    // have one value: RGB, plus the alpha byte for alpha images.
    struct SOLIDAREA {
        int nLeft, nTop, nRight, nBottom;
        COLORREF clr;
    };

    // Finds the areas of one colour in each of nImageCount frames (stacked
    // vertically): whole frames, and the edges and centre the sizing margins
    // cut out of them. Done once, before the first draw; images whose frames
    // lie side by side (bHorizontal) get no areas.
    void PrepareFrames(int nImageCount, BOOL bHorizontal, const RECT& rcSizingMargins);
    // Draws rcSrc of the bitmap into rcDest. clrTransparent is a colour left
    // out, or (COLORREF)-1; nSizingType 2 tiles the edges and the centre,
    // anything else stretches them; bBorderOnly leaves out the centre.
    int Draw(HDC hDC, const RECT& rcDest, const RECT& rcSrc, const RECT& rcSizingMargins, COLORREF clrTransparent,
             int nSizingType, BOOL bBorderOnly);
    // The first area found that holds all of rcSrc, or null (always for an
    // empty rcSrc).
    const SOLIDAREA* FindSolidArea(const RECT& rcSrc) const;
    const std::vector<SOLIDAREA>& GetSolidAreas() const { return m_arrSolidAreas; }

    // TRUE (the default): in a right-to-left destination the picture is
    // mirrored; FALSE keeps it as it is. Set from the theme before each draw.
    BOOL m_bMirror;

protected:
    // The nine pieces of rcSrc, cut by the margins, into rcDest.
    void DrawNineGrid(HDC hDC, const RECT& rcDest, const RECT& rcSrc, const RECT& rcMargins, int nSizingType,
                      BOOL bBorderOnly);
    // One piece: filled when it is of one colour, else copied, stretched or
    // tiled (nTileFlags: 1 vertically, 2 horizontally).
    BOOL DrawPiece(HDC hDC, const RECT& rcDest, HDC hSrcDC, const RECT& rcSrc, int nTileFlags);
    // Copies (stretching when the sizes differ) or blends one rectangle.
    BOOL BlitPiece(HDC hDC, const RECT& rcDest, HDC hSrcDC, const RECT& rcSrc);
    // Fills rcDest with the area's colour; FALSE when the piece must be
    // drawn from the bitmap after all (a partly transparent alpha colour).
    BOOL FillSolidArea(HDC hDC, const RECT& rcDest, const SOLIDAREA& area, COLORREF clrTransparent);
    // Adds an area when every pixel of it has the same value.
    void TestSolidArea(const DWORD* pPixels, int nLeft, int nTop, int nRight, int nBottom);
    // Passes every pixel but those of clrExcept through the engine's colour
    // filters, once.
    void FilterColors(COLORREF clrExcept);
    // Mirrors the stored bitmap left to right (alpha images only).
    void Flip();
    // A memory context with the bitmap selected, kept from draw to draw; it
    // is given up before anything else reads or replaces the bitmap.
    HDC SelectIntoMemoryDC();
    void ReleaseMemoryDC();

    // Takes the loaded bitmap: premultiplied when it has alpha and the
    // schema asks for it, else as it is.
    BOOL SetBitmap(HBITMAP hBitmap, BOOL bAlpha);
    BOOL IsPremultiplyEnabled() const;
    void Release();

    CXTPSkinEngine* m_pEngine;
    HBITMAP m_hBitmap;
    BOOL m_bAlpha;
    BOOL m_bFiltered;
    BOOL m_bFlipped;
    BOOL m_bFramesPrepared;
    int m_nWidth;
    int m_nHeight;
    std::vector<SOLIDAREA> m_arrSolidAreas;
    // While a piece is drawn from a mirrored source (a flipped bitmap or a
    // right-to-left memory context), its bitmap coordinates run from the
    // right; solid areas are kept in unmirrored coordinates.
    BOOL m_bSourceMirrored;
    HDC m_hMemDC;
    HGDIOBJ m_hMemDCOld;
};

// Blending helpers, also for other drawing. In a right-to-left destination
// both mirror the picture as a copy with BitBlt does.
// Blends the premultiplied 32-bit pixels of rcSrc over rcDest (stretched),
// with the system's AlphaBlend or, where that is missing, in software.
BOOL AlphaBlendRect(HDC hDestDC, const RECT& rcDest, HDC hSrcDC, const RECT& rcSrc);
// Copies rcSrc to rcDest (stretched) leaving out the pixels of
// clrTransparent, with the system's TransparentBlt or with masks.
BOOL TransparentBlendRect(HDC hDestDC, const RECT& rcDest, HDC hSrcDC, const RECT& rcSrc, COLORREF clrTransparent);
// The fallbacks the two use where the system cannot help.
BOOL SoftwareAlphaBlend(HDC hDestDC, const RECT& rcDest, HDC hSrcDC, const RECT& rcSrc);
BOOL MaskTransparentBlt(HDC hDestDC, const RECT& rcDest, HDC hSrcDC, const RECT& rcSrc, COLORREF clrTransparent);
