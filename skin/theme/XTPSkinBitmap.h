// Loading theme images into GDI bitmaps: PNG and BMP files, "PNG" and
// RT_BITMAP resources, and the 32-bit DIB helpers the theme images use
// (copies of the pixels, mirrored and premultiplied copies). Every returned
// bitmap belongs to the caller; no function deletes the bitmap it is given.
#pragma once

#include <windows.h>

// A PNG or BMP file (the content decides, not the name). *pbAlpha tells
// whether the bitmap is a 32-bit one with an alpha channel. Null on failure.
HBITMAP LoadBitmapFile(const char* pszFileName, BOOL* pbAlpha);
// A "PNG" resource that holds PNG data, else an RT_BITMAP resource.
HBITMAP LoadBitmapResource(HMODULE hModule, const char* pszResourceName, BOOL* pbAlpha);
// A packed DIB (header, colour table or masks, pixels) as RT_BITMAP
// resources hold it; null when the header does not match the data.
HBITMAP CreateBitmapFromPackedDib(const void* pData, DWORD cbSize, BOOL* pbAlpha);

// Whether the file starts with the PNG signature.
BOOL IsPngFile(const char* pszFileName);
// Whether the file's bitmap header says 32 bits per pixel.
BOOL IsAlphaBitmapFile(const char* pszFileName);
// Whether the module has a "PNG" resource of that name starting with the
// PNG signature.
BOOL IsPngResource(HMODULE hModule, const char* pszResourceName);

// A new bottom-up 32-bit DIB section; *ppBits receives its pixels when given.
HBITMAP CreateDib32(HDC hDC, int nWidth, int nHeight, BYTE** ppBits);
// Copies of a 32-bit bitmap's header (a block of a BITMAPINFOHEADER and three
// masks) and of its pixels as bottom-up rows; the caller frees both with
// free(). FALSE for a bitmap that is not 32-bit.
BOOL GetBitmapBits32(HDC hDC, HBITMAP hBitmap, BITMAPINFO*& pBitsInfo, BYTE*& pBits, UINT& nSize);
// A new 32-bit bitmap mirrored left to right, or null.
HBITMAP FlipBitmap(HBITMAP hBitmap);
// A new 32-bit bitmap with its colours multiplied by alpha, or null. When
// pnHasAlpha is given it reports whether the alpha channel is used (see the
// rules in the implementation); an unused channel leaves the colours as
// they were. *ppBits receives the new pixels when given.
HBITMAP PremultiplyAlpha(HBITMAP hBitmap, BOOL* pnHasAlpha, BYTE** ppBits);

// Largest number of pixels (width x height) a bitmap header may ask for.
constexpr unsigned long long XTP_MAX_BITMAP_PIXELS = 64ULL * 1024 * 1024;
