#include "DrawTestSupport.h"

#include "XTPSkinEngine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace drawtest {

void CImage::Fill(int nLeft, int nTop, int nRight, int nBottom, uint32_t clr)
{
    for (int y = nTop; y < nBottom; y++)
        for (int x = nLeft; x < nRight; x++)
            At(x, y) = clr;
}

std::string IniColor(uint32_t clrRgb)
{
    char sz[32];
    snprintf(sz, sizeof(sz), "%u %u %u", (clrRgb >> 16) & 255, (clrRgb >> 8) & 255, clrRgb & 255);
    return sz;
}

CThemeFolder::~CThemeFolder()
{
    CXTPSkinEngine::GetInstance()->LoadTheme("", nullptr);
}

void CThemeFolder::AddBmp(const std::string& strName, const CImage& image, int nBitCount)
{
    themetest::WriteBytes(m_folder.File(strName),
                          themetest::MakeBmpFile(themetest::MakePackedDib(image.nWidth, image.nHeight, nBitCount,
                                                                          image.data)));
}

bool CThemeFolder::Load(const std::vector<std::string>& iniLines)
{
    std::string strText;
    for (const std::string& strLine : iniLines)
        strText += strLine + "\r\n";
    themetest::WriteBytes(m_folder.File("TEST.INI"), strText);
    return CXTPSkinEngine::GetInstance()->LoadTheme(m_folder.Path().c_str(), "TEST.INI") != FALSE;
}

bool CThemeFolder::Load(const std::string& strIni)
{
    std::vector<std::string> lines;
    size_t nStart = 0;
    while (nStart <= strIni.size()) {
        size_t nEnd = strIni.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = strIni.size();
        lines.push_back(strIni.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    return Load(lines);
}

CXTPSkinThemeClass* CThemeFolder::Class(const char* pszClassName) const
{
    return CXTPSkinEngine::GetInstance()->GetThemeClass(pszClassName);
}

CCanvas::CCanvas(int nWidth, int nHeight, uint32_t clrBackground)
    : m_dib(nWidth, nHeight), m_nWidth(nWidth), m_nHeight(nHeight), m_clrBackground(clrBackground),
      m_hDC(m_dib.GetDC()), m_pBits(m_dib.Bits())
{
    Clear();
}

void CCanvas::Clear()
{
    GdiFlush();
    for (int i = 0; i < m_nWidth * m_nHeight; i++)
        m_pBits[i] = m_clrBackground;
}

uint32_t CCanvas::At(int x, int y) const
{
    GdiFlush();
    return m_pBits[static_cast<size_t>(y) * m_nWidth + x] & 0xFFFFFF;
}

uint32_t CCanvas::Alpha(int x, int y) const
{
    GdiFlush();
    return m_pBits[static_cast<size_t>(y) * m_nWidth + x] >> 24;
}

void CCanvas::SetMirrored(bool bMirrored)
{
    SetLayout(m_hDC, bMirrored ? LAYOUT_RTL : 0);
}

RECT CCanvas::ChangedBounds() const
{
    RECT rc = {m_nWidth, m_nHeight, 0, 0};
    for (int y = 0; y < m_nHeight; y++) {
        for (int x = 0; x < m_nWidth; x++) {
            if (At(x, y) != (m_clrBackground & 0xFFFFFF)) {
                rc.left = std::min<LONG>(rc.left, x);
                rc.top = std::min<LONG>(rc.top, y);
                rc.right = std::max<LONG>(rc.right, x + 1);
                rc.bottom = std::max<LONG>(rc.bottom, y + 1);
            }
        }
    }
    if (rc.left >= rc.right)
        rc = RECT{0, 0, 0, 0};
    return rc;
}

CImage CCanvas::Pixels() const
{
    GdiFlush();
    CImage image(m_nWidth, m_nHeight);
    for (size_t i = 0; i < image.data.size(); i++)
        image.data[i] = m_pBits[i];
    return image;
}

std::string DescribeDifferences(const CImage& a, const CImage& b, int nTolerance, int* pnCount)
{
    int nCount = 0;
    std::string strFirst;
    for (int y = 0; y < a.nHeight; y++) {
        for (int x = 0; x < a.nWidth; x++) {
            uint32_t pa = a.At(x, y), pb = b.At(x, y);
            bool bDiffers = false;
            for (int nShift = 0; nShift < 24; nShift += 8) {
                if (abs(static_cast<int>((pa >> nShift) & 255) - static_cast<int>((pb >> nShift) & 255)) > nTolerance)
                    bDiffers = true;
            }
            if (bDiffers) {
                if (nCount++ == 0) {
                    char sz[96];
                    snprintf(sz, sizeof(sz), " first at (%d,%d): %06X vs %06X", x, y, pa & 0xFFFFFF,
                             pb & 0xFFFFFF);
                    strFirst = sz;
                }
            }
        }
    }
    if (pnCount)
        *pnCount = nCount;
    return nCount ? std::to_string(nCount) + " pixels differ;" + strFirst : std::string();
}

}  // namespace drawtest
