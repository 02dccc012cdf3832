// A 32-bit top-down DIB section selected into its own memory context: the
// off-screen surface the tests and benches draw into and read pixels from.
// Header only, so the benches can use it without the test libraries.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>

namespace tavtest {

class CDib32 {
public:
    CDib32(int nWidth, int nHeight) : m_nWidth(nWidth), m_nHeight(nHeight)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = nWidth;
        info.bmiHeader.biHeight = -nHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* pvBits = nullptr;
        m_hBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pvBits, nullptr, 0);
        m_pBits = static_cast<uint32_t*>(pvBits);
        m_hDC = CreateCompatibleDC(nullptr);
        if (m_hDC && m_hBitmap)
            m_hOld = SelectObject(m_hDC, m_hBitmap);
    }
    ~CDib32()
    {
        if (m_hDC) {
            if (m_hOld)
                SelectObject(m_hDC, m_hOld);
            DeleteDC(m_hDC);
        }
        if (m_hBitmap)
            DeleteObject(m_hBitmap);
    }
    CDib32(const CDib32&) = delete;
    CDib32& operator=(const CDib32&) = delete;

    bool IsValid() const { return m_hDC && m_pBits; }
    HDC GetDC() const { return m_hDC; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    // The pixels, BGRA rows from the top; call GdiFlush before reading.
    uint32_t* Bits() const { return m_pBits; }

private:
    int m_nWidth, m_nHeight;
    HBITMAP m_hBitmap = nullptr;
    uint32_t* m_pBits = nullptr;
    HDC m_hDC = nullptr;
    HGDIOBJ m_hOld = nullptr;
};

} // namespace tavtest
