#include "ThemeTestSupport.h"

#include <psapi.h>
#include <zlib.h>

#include <cstring>

namespace themetest {

std::string OwnPackagePath()
{
    std::string strExe = GetEnv("TAVMIO_EXE");
    size_t nSlash = strExe.find_last_of('\\');
    if (nSlash == std::string::npos)
        return std::string();
    std::string strPath = strExe.substr(0, nSlash) + "\\vista.cjstyles";
    return FileExists(strPath) ? strPath : std::string();
}

std::string OwnThemeFolder()
{
    std::string strFolder = GetEnv("TAVMIO_THEME_DIR");
    return FileExists(strFolder + "\\Daylight.ini") ? strFolder : std::string();
}

std::string LightPackagePath()
{
    std::string strPath = GetEnv("TAVMIO_LIGHT_MSSTYLES");
    return FileExists(strPath) ? strPath : std::string();
}

Bytes Utf16(const std::string& strText, bool bByteOrderMark)
{
    Bytes data;
    if (bByteOrderMark)
        data += "\xFF\xFE";
    for (char ch : strText) {
        data += ch;
        data += '\0';
    }
    return data;
}

CPackageWriter::CPackageWriter(const std::string& strPath) : m_strPath(strPath)
{
}

void CPackageWriter::Add(const char* pszType, const char* pszName, const Bytes& data)
{
    m_resources.push_back(Resource{pszType, pszName, 0, data});
}

void CPackageWriter::AddBitmap(const char* pszName, const Bytes& packedDib)
{
    m_resources.push_back(Resource{std::string(), pszName, 2 /* RT_BITMAP */, packedDib});
}

void CPackageWriter::AddString(UINT nId, const std::string& strText)
{
    m_strings.emplace_back(nId, strText);
}

bool CPackageWriter::Write()
{
    std::string strBase = OwnPackagePath();
    if (strBase.empty() || !CopyFileA(strBase.c_str(), m_strPath.c_str(), FALSE))
        return false;
    HANDLE hUpdate = BeginUpdateResourceA(m_strPath.c_str(), TRUE);
    if (!hUpdate)
        return false;
    const WORD nLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    bool bOk = true;
    for (Resource& res : m_resources) {
        LPCSTR pszType = res.nTypeId ? MAKEINTRESOURCEA(res.nTypeId) : res.strType.c_str();
        bOk = bOk && UpdateResourceA(hUpdate, pszType, res.strName.c_str(), nLanguage,
                                     res.data.empty() ? nullptr : &res.data[0],
                                     static_cast<DWORD>(res.data.size()));
    }
    // String tables come in blocks of 16 strings, each a length and UTF-16 text.
    std::vector<std::pair<UINT, std::vector<std::wstring>>> blocks;
    for (const auto& entry : m_strings) {
        UINT nBlock = entry.first / 16 + 1;
        auto it = blocks.begin();
        while (it != blocks.end() && it->first != nBlock)
            ++it;
        if (it == blocks.end()) {
            blocks.emplace_back(nBlock, std::vector<std::wstring>(16));
            it = blocks.end() - 1;
        }
        it->second[entry.first % 16] = std::wstring(entry.second.begin(), entry.second.end());
    }
    for (auto& block : blocks) {
        Bytes data;
        for (const std::wstring& str : block.second) {
            WORD nLength = static_cast<WORD>(str.size());
            data.append(reinterpret_cast<const char*>(&nLength), 2);
            data.append(reinterpret_cast<const char*>(str.data()), str.size() * 2);
        }
        bOk = bOk && UpdateResourceA(hUpdate, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(block.first), nLanguage,
                                     &data[0], static_cast<DWORD>(data.size()));
    }
    return EndUpdateResourceA(hUpdate, !bOk) && bOk;
}

void CTextThemeFile::SetTextBytes(const Bytes& data)
{
    m_data = data;
    SetText(m_data.data(), static_cast<DWORD>(m_data.size()));
}

void CTextThemeFile::SetLines(const std::vector<std::string>& lines)
{
    std::string strText;
    for (const std::string& strLine : lines)
        strText += strLine + "\r\n";
    SetTextBytes(Utf16(strText));
}

static void AppendBigEndian(Bytes& data, uint32_t nValue)
{
    data += static_cast<char>(nValue >> 24);
    data += static_cast<char>(nValue >> 16);
    data += static_cast<char>(nValue >> 8);
    data += static_cast<char>(nValue);
}

Bytes PngChunk(const std::string& strType, const Bytes& body)
{
    Bytes chunk;
    AppendBigEndian(chunk, static_cast<uint32_t>(body.size()));
    Bytes typed = strType + body;
    chunk += typed;
    AppendBigEndian(chunk, static_cast<uint32_t>(
                               crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()))));
    return chunk;
}

Bytes MakePng(uint32_t nWidth, uint32_t nHeight, int nBitDepth, int nColorType, const std::vector<Bytes>& rows,
              const std::vector<std::pair<std::string, Bytes>>& extraChunks, int nInterlace)
{
    Bytes header;
    AppendBigEndian(header, nWidth);
    AppendBigEndian(header, nHeight);
    header += static_cast<char>(nBitDepth);
    header += static_cast<char>(nColorType);
    header += Bytes(2, '\0');
    header += static_cast<char>(nInterlace);

    Bytes raw;
    for (const Bytes& row : rows)
        raw += '\0' + row;
    uLongf nCompressed = compressBound(static_cast<uLong>(raw.size()));
    Bytes compressed(nCompressed, '\0');
    compress(reinterpret_cast<Bytef*>(&compressed[0]), &nCompressed, reinterpret_cast<const Bytef*>(raw.data()),
             static_cast<uLong>(raw.size()));
    compressed.resize(nCompressed);

    Bytes png("\x89PNG\r\n\x1a\n", 8);
    png += PngChunk("IHDR", header);
    for (const auto& chunk : extraChunks)
        png += PngChunk(chunk.first, chunk.second);
    png += PngChunk("IDAT", compressed);
    png += PngChunk("IEND", Bytes());
    return png;
}

void FixPngCrcs(Bytes& png)
{
    size_t nPos = 8;
    while (nPos + 12 <= png.size()) {
        const unsigned char* p = reinterpret_cast<const unsigned char*>(png.data()) + nPos;
        uint32_t nLength = (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
        if (nLength > png.size() - nPos - 12)
            break;
        uint32_t nCrc = static_cast<uint32_t>(crc32(0, p + 4, nLength + 4));
        for (int i = 0; i < 4; i++)
            png[nPos + 8 + nLength + i] = static_cast<char>(nCrc >> (24 - 8 * i));
        nPos += 12 + nLength;
    }
}

Bytes MakePackedDib(int nWidth, int nHeight, int nBitCount, const std::vector<uint32_t>& pixels,
                    const std::vector<uint32_t>& palette, DWORD nClrUsed)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = nWidth;
    header.biHeight = nHeight;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(nBitCount);
    header.biCompression = BI_RGB;
    header.biClrUsed = nClrUsed;
    int nRowSize = ((nBitCount * nWidth + 31) / 32) * 4;
    header.biSizeImage = nRowSize * nHeight;

    Bytes dib(reinterpret_cast<const char*>(&header), sizeof(header));
    for (uint32_t nColor : palette)
        dib.append(reinterpret_cast<const char*>(&nColor), 4);
    for (int y = nHeight - 1; y >= 0; y--) {
        Bytes row(nRowSize, '\0');
        for (int x = 0; x < nWidth; x++) {
            uint32_t v = pixels[static_cast<size_t>(y) * nWidth + x];
            switch (nBitCount) {
            case 32:
                memcpy(&row[x * 4], &v, 4);
                break;
            case 24:
                memcpy(&row[x * 3], &v, 3);
                break;
            case 8:
                row[x] = static_cast<char>(v);
                break;
            case 4:
                row[x / 2] = static_cast<char>(row[x / 2] | ((v & 15) << (x % 2 ? 0 : 4)));
                break;
            case 1:
                row[x / 8] = static_cast<char>(row[x / 8] | ((v & 1) << (7 - x % 8)));
                break;
            }
        }
        dib += row;
    }
    return dib;
}

Bytes MakeBmpFile(const Bytes& packedDib)
{
    BITMAPINFOHEADER header;
    memcpy(&header, packedDib.data(), sizeof(header));
    DWORD nColors = header.biClrUsed ? header.biClrUsed : (header.biBitCount <= 8 ? 1u << header.biBitCount : 0);
    BITMAPFILEHEADER fileHeader = {};
    fileHeader.bfType = 0x4D42;
    fileHeader.bfSize = static_cast<DWORD>(sizeof(fileHeader) + packedDib.size());
    fileHeader.bfOffBits = static_cast<DWORD>(sizeof(fileHeader) + sizeof(header) + nColors * 4);
    return Bytes(reinterpret_cast<const char*>(&fileHeader), sizeof(fileHeader)) + packedDib;
}

CPixels ReadPixels(HBITMAP hBitmap)
{
    CPixels pixels;
    BITMAP bm = {};
    if (!hBitmap || !GetObjectA(hBitmap, sizeof(bm), &bm))
        return pixels;
    pixels.nWidth = bm.bmWidth;
    pixels.nHeight = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = pixels.nWidth;
    header.biHeight = -pixels.nHeight;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    pixels.data.resize(static_cast<size_t>(pixels.nWidth) * pixels.nHeight);
    HDC hDC = GetDC(nullptr);
    GetDIBits(hDC, hBitmap, 0, pixels.nHeight, pixels.data.data(), reinterpret_cast<BITMAPINFO*>(&header),
              DIB_RGB_COLORS);
    ReleaseDC(nullptr, hDC);
    return pixels;
}

size_t GetPrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    // Some systems leave PrivateUsage at 0; the committed memory is the same.
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

DWORD GetGdiObjectCount()
{
    return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
}

Bytes ReadModuleResource(HMODULE hModule, const char* pszType, const char* pszName)
{
    HRSRC hResource = FindResourceA(hModule, pszName, pszType);
    HGLOBAL hData = hResource ? LoadResource(hModule, hResource) : nullptr;
    const char* pData = hData ? static_cast<const char*>(LockResource(hData)) : nullptr;
    return pData ? Bytes(pData, SizeofResource(hModule, hResource)) : Bytes();
}

}  // namespace themetest
