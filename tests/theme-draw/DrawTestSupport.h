// Helpers of the theme drawing tests: folder-form themes written on the fly
// (an INI text and BMP images), and canvases, 32-bit bitmaps selected into a
// memory context, whose pixels are read back. Colours are 0xRRGGBB values.
#pragma once

#include "Dib32.h"
#include "ThemeTestSupport.h"

#include <cstdint>
#include <string>
#include <vector>

class CXTPSkinThemeClass;

namespace drawtest {

// An image of 0xAARRGGBB pixels, top row first.
struct CImage {
    int nWidth = 0;
    int nHeight = 0;
    std::vector<uint32_t> data;

    CImage() = default;
    CImage(int nWidthIn, int nHeightIn, uint32_t clrFill = 0xFF000000)
        : nWidth(nWidthIn), nHeight(nHeightIn), data(static_cast<size_t>(nWidthIn) * nHeightIn, clrFill)
    {
    }
    uint32_t& At(int x, int y) { return data[static_cast<size_t>(y) * nWidth + x]; }
    uint32_t At(int x, int y) const { return data[static_cast<size_t>(y) * nWidth + x]; }
    // Fills a rectangle (right and bottom exclusive).
    void Fill(int nLeft, int nTop, int nRight, int nBottom, uint32_t clr);
};

// An opaque colour for an image.
constexpr uint32_t Opaque(uint32_t clrRgb)
{
    return 0xFF000000 | clrRgb;
}

// 0xRRGGBB as the COLORREF text of an INI value ("R G B").
std::string IniColor(uint32_t clrRgb);

// A theme in a new folder: images are written as BMP files, the INI text as
// TEST.INI; Load makes it the engine's theme. The destructor unloads it.
class CThemeFolder {
public:
    CThemeFolder() = default;
    ~CThemeFolder();
    CThemeFolder(const CThemeFolder&) = delete;
    CThemeFolder& operator=(const CThemeFolder&) = delete;

    // nBitCount 24 (no alpha) or 32 (alpha, premultiplied when loaded).
    void AddBmp(const std::string& strName, const CImage& image, int nBitCount = 24);
    bool Load(const std::vector<std::string>& iniLines);
    // The INI text as one string, lines separated by newlines.
    bool Load(const std::string& strIni);
    CXTPSkinThemeClass* Class(const char* pszClassName) const;
    const std::string& Path() const { return m_folder.Path(); }

private:
    themetest::CTempFolder m_folder;
};

// A 32-bit top-down bitmap in a memory context, filled with a background.
class CCanvas {
public:
    CCanvas(int nWidth, int nHeight, uint32_t clrBackground = 0x203040);
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    HDC GetDC() const { return m_hDC; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    uint32_t Background() const { return m_clrBackground; }
    // 0xRRGGBB of a pixel, in device (unmirrored) coordinates.
    uint32_t At(int x, int y) const;
    uint32_t Alpha(int x, int y) const;
    void Clear();
    // Right-to-left layout: logical x runs from the right edge.
    void SetMirrored(bool bMirrored);
    // Bounds of the pixels that differ from the background (empty if none).
    RECT ChangedBounds() const;
    // The pixels as an image (alpha bytes as stored).
    CImage Pixels() const;

private:
    tavtest::CDib32 m_dib;
    int m_nWidth, m_nHeight;
    uint32_t m_clrBackground;
    HDC m_hDC;
    uint32_t* m_pBits;
};

// The pixel differences of two canvases of one size: count and the first.
std::string DescribeDifferences(const CImage& a, const CImage& b, int nTolerance = 0, int* pnCount = nullptr);

}  // namespace drawtest
