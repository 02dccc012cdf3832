#include "XTPSkinBitmap.h"

#include "XTPSkinPngBitmap.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const BYTE g_pngSignature[4] = {0x89, 'P', 'N', 'G'};

// A header block: BITMAPINFOHEADER and room for three colour masks.
const size_t XTP_BITSINFO_SIZE = sizeof(BITMAPINFOHEADER) + 3 * sizeof(DWORD);

// Reads exactly cb bytes from the file, or fails.
bool ReadExactly(HANDLE hFile, void* pBuffer, DWORD cb)
{
    DWORD nRead = 0;
    return ReadFile(hFile, pBuffer, cb, &nRead, nullptr) && nRead == cb;
}

// Opens a file for reading without sharing it.
HANDLE OpenForReading(const char* pszFileName)
{
    if (!pszFileName)
        return INVALID_HANDLE_VALUE;
    return CreateFileA(pszFileName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Bytes per row of a DIB, 0 when the arithmetic would not fit.
unsigned long long GetRowSize(unsigned nBitCount, long nWidth)
{
    return ((static_cast<unsigned long long>(nBitCount) * static_cast<unsigned long long>(nWidth) + 31) / 32) * 4;
}

// The checks both bitmap loaders make of a BITMAPINFOHEADER: a size the
// pixel arithmetic can handle, a bit count and compression the loaders
// read. nImageSize receives the size of the pixel rows.
bool IsUsableHeader(const BITMAPINFOHEADER& header, unsigned long long& nImageSize)
{
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biHeight == LONG_MIN)
        return false;
    unsigned long long nHeight = header.biHeight < 0 ? -static_cast<long long>(header.biHeight) : header.biHeight;
    if (static_cast<unsigned long long>(header.biWidth) * nHeight > XTP_MAX_BITMAP_PIXELS)
        return false;
    switch (header.biBitCount) {
    case 1: case 4: case 8: case 24:
        if (header.biCompression != BI_RGB)
            return false;
        break;
    case 16: case 32:
        if (header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS)
            return false;
        break;
    default:
        return false;
    }
    nImageSize = GetRowSize(header.biBitCount, header.biWidth) * nHeight;
    return true;
}

// Offset of the pixels in a packed DIB: after the header, the three masks a
// BI_BITFIELDS image with a plain BITMAPINFOHEADER has, and the colour table.
unsigned long long GetPixelOffset(const BITMAPINFOHEADER& header, unsigned long long nColors)
{
    unsigned long long nOffset = header.biSize;
    if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER))
        nOffset += 3 * sizeof(DWORD);
    return nOffset + nColors * sizeof(RGBQUAD);
}

// Whether a BMP file holds what its headers promise, so that the system's
// loader never reads past the end of it.
bool IsConsistentBitmapFile(const char* pszFileName)
{
    HANDLE hFile = OpenForReading(pszFileName);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    BITMAPFILEHEADER fileHeader;
    BITMAPINFOHEADER header;
    LARGE_INTEGER nFileSize;
    bool bResult = GetFileSizeEx(hFile, &nFileSize) && ReadExactly(hFile, &fileHeader, sizeof(fileHeader)) &&
                   ReadExactly(hFile, &header, sizeof(header));
    CloseHandle(hFile);
    if (!bResult || fileHeader.bfType != 0x4D42 || header.biSize < sizeof(BITMAPINFOHEADER))
        return false;

    unsigned long long nImageSize = 0;
    if (!IsUsableHeader(header, nImageSize))
        return false;
    unsigned long long nColors = header.biClrUsed;
    if (nColors == 0 && header.biBitCount <= 8)
        nColors = 1ULL << header.biBitCount;
    if (nColors > 256)
        return false;
    unsigned long long nHeaders = sizeof(BITMAPFILEHEADER) + GetPixelOffset(header, nColors);
    unsigned long long nSize = static_cast<unsigned long long>(nFileSize.QuadPart);
    return nHeaders <= nSize && fileHeader.bfOffBits >= sizeof(BITMAPFILEHEADER) + header.biSize &&
           fileHeader.bfOffBits + nImageSize <= nSize;
}

}  // namespace

BOOL IsPngFile(const char* pszFileName)
{
    HANDLE hFile = OpenForReading(pszFileName);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    BYTE signature[4];
    bool bRead = ReadExactly(hFile, signature, sizeof(signature));
    CloseHandle(hFile);
    return bRead && memcmp(signature, g_pngSignature, sizeof(signature)) == 0;
}

BOOL IsAlphaBitmapFile(const char* pszFileName)
{
    HANDLE hFile = OpenForReading(pszFileName);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    BITMAPFILEHEADER fileHeader;
    BITMAPINFOHEADER header;
    bool bRead = ReadExactly(hFile, &fileHeader, sizeof(fileHeader)) && ReadExactly(hFile, &header, sizeof(header));
    CloseHandle(hFile);
    return bRead && header.biBitCount == 32;
}

HBITMAP LoadBitmapFile(const char* pszFileName, BOOL* pbAlpha)
{
    BOOL bAlpha = FALSE;
    if (pbAlpha)
        *pbAlpha = FALSE;

    if (IsPngFile(pszFileName)) {
        CXTPSkinPngBitmap bitmap;
        if (!bitmap.LoadFromFile(pszFileName))
            return nullptr;
        if (pbAlpha)
            *pbAlpha = bitmap.m_bAlpha;
        return static_cast<HBITMAP>(bitmap.Detach());
    }

    bAlpha = IsAlphaBitmapFile(pszFileName);
    if (pbAlpha)
        *pbAlpha = bAlpha;
    if (!IsConsistentBitmapFile(pszFileName))
        return nullptr;
    UINT nFlags = LR_LOADFROMFILE | LR_DEFAULTSIZE | (bAlpha ? LR_CREATEDIBSECTION : 0);
    return static_cast<HBITMAP>(LoadImageA(nullptr, pszFileName, IMAGE_BITMAP, 0, 0, nFlags));
}

BOOL IsPngResource(HMODULE hModule, const char* pszResourceName)
{
    if (!hModule || !pszResourceName)
        return FALSE;
    HRSRC hResource = FindResourceA(hModule, pszResourceName, "PNG");
    if (!hResource)
        return FALSE;
    HGLOBAL hData = LoadResource(hModule, hResource);
    const BYTE* pData = hData ? static_cast<const BYTE*>(LockResource(hData)) : nullptr;
    return pData && SizeofResource(hModule, hResource) >= sizeof(g_pngSignature) &&
           memcmp(pData, g_pngSignature, sizeof(g_pngSignature)) == 0;
}

HBITMAP LoadBitmapResource(HMODULE hModule, const char* pszResourceName, BOOL* pbAlpha)
{
    if (pbAlpha)
        *pbAlpha = FALSE;
    if (!hModule || !pszResourceName)
        return nullptr;

    if (IsPngResource(hModule, pszResourceName)) {
        CXTPSkinPngBitmap bitmap;
        if (!bitmap.LoadFromResource(hModule, FindResourceA(hModule, pszResourceName, "PNG")))
            return nullptr;
        if (pbAlpha)
            *pbAlpha = bitmap.m_bAlpha;
        return static_cast<HBITMAP>(bitmap.Detach());
    }

    HRSRC hResource = FindResourceA(hModule, pszResourceName, RT_BITMAP);
    if (!hResource)
        return nullptr;
    HGLOBAL hData = LoadResource(hModule, hResource);
    const void* pData = hData ? LockResource(hData) : nullptr;
    if (!pData)
        return nullptr;
    return CreateBitmapFromPackedDib(pData, SizeofResource(hModule, hResource), pbAlpha);
}

HBITMAP CreateBitmapFromPackedDib(const void* pData, DWORD cbSize, BOOL* pbAlpha)
{
    if (pbAlpha)
        *pbAlpha = FALSE;
    if (!pData || cbSize < sizeof(BITMAPINFOHEADER))
        return nullptr;
    const BYTE* pBytes = static_cast<const BYTE*>(pData);
    BITMAPINFOHEADER header;
    memcpy(&header, pBytes, sizeof(header));
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > cbSize)
        return nullptr;

    unsigned long long nImageSize = 0;
    if (!IsUsableHeader(header, nImageSize) || nImageSize + sizeof(BITMAPINFOHEADER) > cbSize)
        return nullptr;

    if (header.biBitCount < 24) {
        unsigned long long nColors = header.biClrUsed;
        if (nColors == 0 && header.biBitCount <= 8)
            nColors = 1ULL << header.biBitCount;
        if (nColors > 256)
            return nullptr;
        unsigned long long nOffset = GetPixelOffset(header, nColors);
        if (nOffset + nImageSize > cbSize)
            return nullptr;

        HPALETTE hPalette = nullptr;
        if (nColors > 0) {
            std::vector<BYTE> buffer(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
            LOGPALETTE* pPalette = reinterpret_cast<LOGPALETTE*>(buffer.data());
            pPalette->palVersion = 0x300;
            pPalette->palNumEntries = static_cast<WORD>(nColors);
            const RGBQUAD* pColors = reinterpret_cast<const RGBQUAD*>(pBytes + GetPixelOffset(header, 0));
            for (unsigned i = 0; i < nColors; i++) {
                pPalette->palPalEntry[i].peRed = pColors[i].rgbRed;
                pPalette->palPalEntry[i].peGreen = pColors[i].rgbGreen;
                pPalette->palPalEntry[i].peBlue = pColors[i].rgbBlue;
                pPalette->palPalEntry[i].peFlags = 0;
            }
            hPalette = CreatePalette(pPalette);
        }

        HDC hDC = GetDC(nullptr);
        HPALETTE hOldPalette = hPalette ? SelectPalette(hDC, hPalette, FALSE) : nullptr;
        HBITMAP hBitmap = CreateDIBitmap(hDC, &header, CBM_INIT, pBytes + nOffset,
                                         reinterpret_cast<const BITMAPINFO*>(pBytes), DIB_RGB_COLORS);
        if (hOldPalette)
            SelectPalette(hDC, hOldPalette, FALSE);
        ReleaseDC(nullptr, hDC);
        if (hPalette)
            DeleteObject(hPalette);
        return hBitmap;
    }

    // 24 and 32 bits: a DIB section with the pixels copied in. A colour
    // table, which such images may carry, is skipped.
    unsigned long long nColors = header.biClrUsed;
    if (nColors > 256)
        return nullptr;
    unsigned long long nOffset = GetPixelOffset(header, nColors);
    if (nOffset + nImageSize > cbSize)
        return nullptr;

    BYTE block[XTP_BITSINFO_SIZE] = {};
    BITMAPINFOHEADER* pHeader = reinterpret_cast<BITMAPINFOHEADER*>(block);
    *pHeader = header;
    pHeader->biSize = sizeof(BITMAPINFOHEADER);
    pHeader->biSizeImage = static_cast<DWORD>(nImageSize);
    pHeader->biClrUsed = 0;
    pHeader->biClrImportant = 0;
    if (header.biCompression == BI_BITFIELDS) {
        // The masks follow a plain header, and are the next three fields of
        // the larger headers: either way they are the 12 bytes after the first 40.
        DWORD masks[3];
        memcpy(masks, pBytes + sizeof(BITMAPINFOHEADER), sizeof(masks));
        if (header.biBitCount == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF)
            pHeader->biCompression = BI_RGB;
        else
            memcpy(block + sizeof(BITMAPINFOHEADER), masks, sizeof(masks));
    }

    void* pvBits = nullptr;
    HBITMAP hBitmap =
        CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(block), DIB_RGB_COLORS, &pvBits, nullptr, 0);
    if (!hBitmap)
        return nullptr;
    if (!pvBits) {
        DeleteObject(hBitmap);
        return nullptr;
    }
    memcpy(pvBits, pBytes + nOffset, static_cast<size_t>(nImageSize));
    if (pbAlpha)
        *pbAlpha = header.biBitCount == 32;
    return hBitmap;
}

HBITMAP CreateDib32(HDC hDC, int nWidth, int nHeight, BYTE** ppBits)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = nWidth;
    header.biHeight = nHeight;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    void* pvBits = nullptr;
    HBITMAP hBitmap =
        CreateDIBSection(hDC, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &pvBits, nullptr, 0);
    if (ppBits)
        *ppBits = static_cast<BYTE*>(pvBits);
    return hBitmap;
}

BOOL GetBitmapBits32(HDC hDC, HBITMAP hBitmap, BITMAPINFO*& pBitsInfo, BYTE*& pBits, UINT& nSize)
{
    pBitsInfo = nullptr;
    pBits = nullptr;
    nSize = 0;
    if (!hBitmap)
        return FALSE;

    HDC hScreenDC = hDC ? nullptr : GetDC(nullptr);
    HDC hUseDC = hDC ? hDC : hScreenDC;
    BOOL bResult = FALSE;

    BYTE block[XTP_BITSINFO_SIZE] = {};
    BITMAPINFOHEADER* pHeader = reinterpret_cast<BITMAPINFOHEADER*>(block);
    pHeader->biSize = sizeof(BITMAPINFOHEADER);
    if (GetDIBits(hUseDC, hBitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(block), DIB_RGB_COLORS) &&
        pHeader->biBitCount == 32 && pHeader->biWidth > 0 && pHeader->biHeight != 0 &&
        pHeader->biHeight != LONG_MIN) {
        LONG nHeight = pHeader->biHeight < 0 ? -pHeader->biHeight : pHeader->biHeight;
        unsigned long long nBytes = static_cast<unsigned long long>(pHeader->biWidth) * nHeight * 4;
        if (nBytes <= XTP_MAX_BITMAP_PIXELS * 4) {
            // Always bottom-up rows of plain blue, green, red, alpha.
            pHeader->biHeight = nHeight;
            pHeader->biCompression = BI_RGB;
            pHeader->biSizeImage = static_cast<DWORD>(nBytes);
            pHeader->biClrUsed = 0;
            pHeader->biClrImportant = 0;
            memset(block + sizeof(BITMAPINFOHEADER), 0, 3 * sizeof(DWORD));
            pBits = static_cast<BYTE*>(malloc(static_cast<size_t>(nBytes)));
            pBitsInfo = static_cast<BITMAPINFO*>(malloc(XTP_BITSINFO_SIZE));
            if (pBits && pBitsInfo) {
                memcpy(pBitsInfo, block, XTP_BITSINFO_SIZE);
                if (GetDIBits(hUseDC, hBitmap, 0, static_cast<UINT>(nHeight), pBits, pBitsInfo, DIB_RGB_COLORS)) {
                    nSize = static_cast<UINT>(nBytes);
                    bResult = TRUE;
                }
            }
            if (!bResult) {
                free(pBits);
                free(pBitsInfo);
                pBits = nullptr;
                pBitsInfo = nullptr;
            }
        }
    }
    if (hScreenDC)
        ReleaseDC(nullptr, hScreenDC);
    return bResult;
}

namespace {

// Reads hBitmap as 32-bit pixels (pInfo, pBits, nSize, which the caller
// frees) and makes a 32-bit DIB section of the same size for the result,
// whose pixels are pvDest. Null when either step fails.
HBITMAP ReadIntoNewDib32(HBITMAP hBitmap, BITMAPINFO*& pInfo, BYTE*& pBits, UINT& nSize, void*& pvDest)
{
    if (!GetBitmapBits32(nullptr, hBitmap, pInfo, pBits, nSize))
        return nullptr;
    HBITMAP hResult = CreateDIBSection(nullptr, pInfo, DIB_RGB_COLORS, &pvDest, nullptr, 0);
    if (hResult && !pvDest) {
        DeleteObject(hResult);
        hResult = nullptr;
    }
    return hResult;
}

} // namespace

HBITMAP FlipBitmap(HBITMAP hBitmap)
{
    BITMAPINFO* pInfo = nullptr;
    BYTE* pBits = nullptr;
    UINT nSize = 0;
    void* pvDest = nullptr;
    HBITMAP hFlipped = ReadIntoNewDib32(hBitmap, pInfo, pBits, nSize, pvDest);
    if (hFlipped) {
        LONG nWidth = pInfo->bmiHeader.biWidth, nHeight = pInfo->bmiHeader.biHeight;
        const DWORD* pSrc = reinterpret_cast<const DWORD*>(pBits);
        DWORD* pDest = static_cast<DWORD*>(pvDest);
        for (LONG y = 0; y < nHeight; y++) {
            const DWORD* pSrcRow = pSrc + static_cast<size_t>(y) * nWidth;
            DWORD* pDestRow = pDest + static_cast<size_t>(y) * nWidth;
            for (LONG x = 0; x < nWidth; x++)
                pDestRow[x] = pSrcRow[nWidth - 1 - x];
        }
    }
    free(pBits);
    free(pInfo);
    return hFlipped;
}

HBITMAP PremultiplyAlpha(HBITMAP hBitmap, BOOL* pnHasAlpha, BYTE** ppBits)
{
    BITMAPINFO* pInfo = nullptr;
    BYTE* pBits = nullptr;
    UINT nSize = 0;
    void* pvDest = nullptr;
    HBITMAP hResult = ReadIntoNewDib32(hBitmap, pInfo, pBits, nSize, pvDest);
    if (hResult) {
        BYTE* pDest = static_cast<BYTE*>(pvDest);
        memcpy(pDest, pBits, nSize);
        // The alpha channel counts as used when a pixel is partly
        // transparent, or an opaque pixel follows a transparent one in
        // storage order (or, with -1 passed in, any non-transparent pixel).
        BOOL bForce = pnHasAlpha && *pnHasAlpha == -1;
        BOOL bTransparentSeen = FALSE;
        for (UINT i = 0; i + 3 < nSize; i += 4) {
            BYTE* p = pDest + i;
            unsigned a = p[3];
            p[0] = static_cast<BYTE>(p[0] * a / 255);
            p[1] = static_cast<BYTE>(p[1] * a / 255);
            p[2] = static_cast<BYTE>(p[2] * a / 255);
            if (pnHasAlpha) {
                if (a == 0)
                    bTransparentSeen = TRUE;
                else if (a != 255 || bTransparentSeen || bForce)
                    *pnHasAlpha = 1;
            }
        }
        if (pnHasAlpha && *pnHasAlpha == 0)
            memcpy(pDest, pBits, nSize);
        if (ppBits)
            *ppBits = pDest;
    }
    free(pBits);
    free(pInfo);
    return hResult;
}
