// CXTPSkinPngBitmap: a bitmap decoded from PNG data, held as a top-down 32-bit
// DIB section (blue, green, red, alpha; colours not premultiplied).
#pragma once

#include "Afx.h"

class CXTPSkinPngBitmap : public CBitmap {
public:
    // Decode a PNG file / a "PNG" resource / PNG data in memory. Any
    // decoding error, truncated data or allocation failure gives FALSE and
    // leaves no bitmap.
    BOOL LoadFromFile(const char* pszFileName);
    BOOL LoadFromResource(HMODULE hModule, HRSRC hResource);
    BOOL LoadFromMemory(const void* pData, size_t cbSize);

    // The decoded image had an alpha channel (four channels).
    BOOL m_bAlpha = FALSE;

    // Largest width or height decoded; larger images are refused.
    static const unsigned int MAX_DIMENSION = 16384;
};
