// CXTPSkinThemeImage: one bitmap of the theme package, with its size and
// whether it carries per-pixel alpha. 32-bit images with a used alpha channel
// are kept premultiplied when the theme's schema asks for it.
#pragma once

#include <windows.h>

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
    HBITMAP GetBitmap() const { return m_hBitmap; }
    // Frame nIndex of nCount frames stacked vertically.
    RECT GetFrameRect(int nIndex, int nCount) const;

    // The frame analysis and the drawing with sizing margins, transparency,
    // alpha blending, mirroring and colour filters are added here.

    BOOL m_bMirror;

protected:
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
};
