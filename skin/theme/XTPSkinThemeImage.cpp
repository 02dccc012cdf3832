#include "XTPSkinThemeImage.h"

#include "XTPSkinBitmap.h"
#include "XTPSkinEngine.h"
#include "XTPSkinThemeSchema.h"

CXTPSkinThemeImage::CXTPSkinThemeImage(CXTPSkinEngine* pEngine)
    : m_bMirror(TRUE), m_pEngine(pEngine), m_hBitmap(nullptr), m_bAlpha(FALSE), m_bFiltered(FALSE),
      m_bFlipped(FALSE), m_bFramesPrepared(FALSE), m_nWidth(0), m_nHeight(0), m_bSourceMirrored(FALSE), m_hMemDC(nullptr), m_hMemDCOld(nullptr)
{
}

CXTPSkinThemeImage::~CXTPSkinThemeImage()
{
    Release();
}

void CXTPSkinThemeImage::Release()
{
    ReleaseMemoryDC();
    if (m_hBitmap)
        DeleteObject(m_hBitmap);
    m_hBitmap = nullptr;
    m_nWidth = m_nHeight = 0;
    m_bAlpha = m_bFiltered = m_bFlipped = m_bFramesPrepared = FALSE;
    m_arrSolidAreas.clear();
}

BOOL CXTPSkinThemeImage::IsPremultiplyEnabled() const
{
    CXTPSkinThemeSchema* pSchema = m_pEngine ? m_pEngine->GetSchema() : nullptr;
    return pSchema ? pSchema->IsPremultiplyImages() : TRUE;
}

BOOL CXTPSkinThemeImage::LoadFromFile(const char* pszFileName)
{
    Release();
    BOOL bAlpha = FALSE;
    HBITMAP hBitmap = LoadBitmapFile(pszFileName, &bAlpha);
    return SetBitmap(hBitmap, bAlpha);
}

BOOL CXTPSkinThemeImage::LoadFromResource(HMODULE hModule, const char* pszResourceName)
{
    Release();
    if (!hModule)
        return FALSE;
    BOOL bAlpha = FALSE;
    HBITMAP hBitmap = LoadBitmapResource(hModule, pszResourceName, &bAlpha);
    return SetBitmap(hBitmap, bAlpha);
}

BOOL CXTPSkinThemeImage::SetBitmap(HBITMAP hBitmap, BOOL bAlpha)
{
    if (!hBitmap)
        return FALSE;

    if (bAlpha && IsPremultiplyEnabled()) {
        BOOL nHasAlpha = 0;
        HBITMAP hPremultiplied = PremultiplyAlpha(hBitmap, &nHasAlpha, nullptr);
        if (hPremultiplied) {
            DeleteObject(hBitmap);
            hBitmap = hPremultiplied;
            m_bAlpha = nHasAlpha != 0;
        }
        // Without memory for the copy the image stays as loaded, opaque.
    } else if (bAlpha) {
        m_bAlpha = TRUE;
    }

    BITMAP bm = {};
    if (!GetObjectA(hBitmap, sizeof(bm), &bm)) {
        DeleteObject(hBitmap);
        m_bAlpha = FALSE;
        return FALSE;
    }
    m_hBitmap = hBitmap;
    m_nWidth = bm.bmWidth;
    m_nHeight = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    return TRUE;
}

RECT CXTPSkinThemeImage::GetFrameRect(int nIndex, int nCount) const
{
    int nFrameHeight = nCount > 0 ? m_nHeight / nCount : m_nHeight;
    return RECT{0, nIndex * nFrameHeight, m_nWidth, (nIndex + 1) * nFrameHeight};
}
