#include "XTPSkinPngBitmap.h"

#include <png.h>

#include <cstdlib>
#include <cstring>

// libpng reports every error through png_error, which must not return. The
// decoder below catches it with the read structure's jump buffer: the jump
// goes from libpng's C frames straight back to DecodePng, whose frame holds
// no object with a destructor, only plain pointers it frees itself.

namespace {

// Where the PNG bytes come from: a file or a block of memory.
struct XTP_PNG_SOURCE {
    CFile* pFile;
    const BYTE* pData;
    size_t cbSize;
    size_t nPos;
};

// Reads up to cb bytes; the count read.
size_t ReadSource(XTP_PNG_SOURCE* pSource, void* pBuffer, size_t cb)
{
    if (pSource->pFile) {
        size_t nTotal = 0;
        while (nTotal < cb) {
            size_t nChunk = cb - nTotal > 0x10000000 ? 0x10000000 : cb - nTotal;
            UINT nRead = pSource->pFile->Read(static_cast<BYTE*>(pBuffer) + nTotal, static_cast<UINT>(nChunk));
            if (nRead == 0)
                break;
            nTotal += nRead;
        }
        return nTotal;
    }
    size_t nLeft = pSource->cbSize - pSource->nPos;
    size_t nCopy = cb < nLeft ? cb : nLeft;
    memcpy(pBuffer, pSource->pData + pSource->nPos, nCopy);
    pSource->nPos += nCopy;
    return nCopy;
}

void PNGCBAPI ReadData(png_structp png, png_bytep pBuffer, size_t cb)
{
    XTP_PNG_SOURCE* pSource = static_cast<XTP_PNG_SOURCE*>(png_get_io_ptr(png));
    if (ReadSource(pSource, pBuffer, cb) < cb)
        png_error(png, "unexpected end of data");
}

void PNGCBAPI OnError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void PNGCBAPI OnWarning(png_structp, png_const_charp)
{
}

// The decoded image: rows of nChannels bytes per pixel, nRowBytes apart.
// Lives in the caller of DecodePng, so what the decoder has allocated is
// still known after a jump back to it.
struct XTP_PNG_IMAGE {
    BYTE* pPixels;      // malloc'ed
    png_bytep* ppRows;  // malloc'ed while decoding
    png_uint_32 nWidth;
    png_uint_32 nHeight;
    size_t nRowBytes;
    int nChannels;
};

// Reads the image into pImage; every failure leaves through png_error.
void ReadPngImage(png_structp png, png_infop info, XTP_PNG_IMAGE* pImage)
{
    png_set_user_limits(png, CXTPSkinPngBitmap::MAX_DIMENSION, CXTPSkinPngBitmap::MAX_DIMENSION);
    png_set_sig_bytes(png, 8);
    png_read_info(png, info);

    png_uint_32 nWidth = 0, nHeight = 0;
    int nBitDepth = 0, nColorType = 0;
    png_get_IHDR(png, info, &nWidth, &nHeight, &nBitDepth, &nColorType, nullptr, nullptr, nullptr);

    if (nBitDepth == 16)
        png_set_strip_16(png);
    if (nColorType == PNG_COLOR_TYPE_PALETTE)
        png_set_expand(png);
    if (nBitDepth < 8)
        png_set_expand(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_expand(png);
    if (nColorType == PNG_COLOR_TYPE_GRAY || nColorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_color_16p pBackground = nullptr;
    if (png_get_bKGD(png, info, &pBackground) && pBackground)
        png_set_background(png, pBackground, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
    double dFileGamma = 0;
    if (png_get_gAMA(png, info, &dFileGamma))
        png_set_gamma(png, 2.2, dFileGamma);
    // Interlaced images are read whole by png_read_image.
    png_set_interlace_handling(png);

    png_read_update_info(png, info);
    png_get_IHDR(png, info, &nWidth, &nHeight, &nBitDepth, &nColorType, nullptr, nullptr, nullptr);
    size_t nRowBytes = png_get_rowbytes(png, info);
    int nChannels = png_get_channels(png, info);

    // The pixel copy reads 8-bit RGB or RGBA rows only.
    if (nBitDepth != 8 || (nChannels != 3 && nChannels != 4) || nWidth == 0 || nHeight == 0 ||
        nRowBytes < static_cast<size_t>(nWidth) * static_cast<size_t>(nChannels))
        png_error(png, "unexpected pixel format");
    unsigned long long nTotal = static_cast<unsigned long long>(nRowBytes) * nHeight;
    if (nTotal > 0x10000000ULL)
        png_error(png, "image too large");

    pImage->pPixels = static_cast<BYTE*>(malloc(static_cast<size_t>(nTotal)));
    pImage->ppRows = static_cast<png_bytep*>(malloc(sizeof(png_bytep) * nHeight));
    if (!pImage->pPixels || !pImage->ppRows)
        png_error(png, "out of memory");
    for (png_uint_32 y = 0; y < nHeight; y++)
        pImage->ppRows[y] = pImage->pPixels + static_cast<size_t>(y) * nRowBytes;

    png_read_image(png, pImage->ppRows);
    png_read_end(png, nullptr);

    pImage->nWidth = nWidth;
    pImage->nHeight = nHeight;
    pImage->nRowBytes = nRowBytes;
    pImage->nChannels = nChannels;
}

// Decodes the PNG stream of pSource into 8-bit RGB or RGBA rows. On failure
// nothing stays allocated.
bool DecodePng(XTP_PNG_SOURCE* pSource, XTP_PNG_IMAGE* pImage)
{
    png_byte signature[8];
    if (ReadSource(pSource, signature, sizeof(signature)) < sizeof(signature) || !png_check_sig(signature, 8))
        return false;

    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    png_set_read_fn(png, pSource, ReadData);

    bool bResult = false;
    if (setjmp(png_jmpbuf(png)) == 0) {
        ReadPngImage(png, info, pImage);
        bResult = true;
    } else {
        free(pImage->pPixels);
        pImage->pPixels = nullptr;
    }
    free(pImage->ppRows);
    pImage->ppRows = nullptr;
    png_destroy_read_struct(&png, &info, nullptr);
    return bResult;
}

}  // namespace

static BOOL LoadPng(CXTPSkinPngBitmap& bitmap, XTP_PNG_SOURCE* pSource)
{
    XTP_PNG_IMAGE image = {};
    if (!DecodePng(pSource, &image))
        return FALSE;

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = static_cast<LONG>(image.nWidth);
    header.biHeight = -static_cast<LONG>(image.nHeight);
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    void* pvBits = nullptr;
    HBITMAP hBitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &pvBits,
                                       nullptr, 0);
    if (hBitmap && pvBits) {
        BYTE* pDest = static_cast<BYTE*>(pvBits);
        for (png_uint_32 y = 0; y < image.nHeight; y++) {
            const BYTE* pSrc = image.pPixels + static_cast<size_t>(y) * image.nRowBytes;
            for (png_uint_32 x = 0; x < image.nWidth; x++) {
                pDest[0] = pSrc[2];
                pDest[1] = pSrc[1];
                pDest[2] = pSrc[0];
                pDest[3] = image.nChannels == 4 ? pSrc[3] : 0;
                pDest += 4;
                pSrc += image.nChannels;
            }
        }
    }
    free(image.pPixels);
    if (!hBitmap || !pvBits) {
        if (hBitmap)
            ::DeleteObject(hBitmap);
        return FALSE;
    }
    bitmap.m_bAlpha = image.nChannels == 4;
    bitmap.Attach(hBitmap);
    return TRUE;
}

BOOL CXTPSkinPngBitmap::LoadFromFile(const char* pszFileName)
{
    m_bAlpha = FALSE;
    DeleteObject();
    CFile file;
    if (!pszFileName || !file.Open(pszFileName, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;
    XTP_PNG_SOURCE source = {&file, nullptr, 0, 0};
    return LoadPng(*this, &source);
}

BOOL CXTPSkinPngBitmap::LoadFromResource(HMODULE hModule, HRSRC hResource)
{
    m_bAlpha = FALSE;
    DeleteObject();
    if (!hResource)
        return FALSE;
    HGLOBAL hData = LoadResource(hModule, hResource);
    const void* pData = hData ? LockResource(hData) : nullptr;
    DWORD cbSize = pData ? SizeofResource(hModule, hResource) : 0;
    if (!pData || cbSize <= 9)
        return FALSE;
    return LoadFromMemory(pData, cbSize);
}

BOOL CXTPSkinPngBitmap::LoadFromMemory(const void* pData, size_t cbSize)
{
    m_bAlpha = FALSE;
    DeleteObject();
    if (!pData)
        return FALSE;
    XTP_PNG_SOURCE source = {nullptr, static_cast<const BYTE*>(pData), cbSize, 0};
    return LoadPng(*this, &source);
}
