// Helpers of the theme tests: real theme packages made on the fly (resource
// modules written with the system's resource update functions, folder
// themes), PNG and BMP files built byte by byte, pixels read back from
// bitmaps, and an INI text source for the schema parser.
#pragma once

#include "Afx.h"
#include "TestSupport.h"
#include "XTPSkinThemeFile.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace themetest {

using Bytes = std::string;

// The general helpers of tests/support, under the names these tests use.
using tavtest::FileExists;
using tavtest::GetEnv;
inline bool WriteBytes(const std::string& strPath, const Bytes& data)
{
    return tavtest::WriteFileBytes(strPath, data);
}
inline Bytes ReadBytes(const std::string& strPath)
{
    return tavtest::ReadFileBytes(strPath);
}
// A new empty folder, removed with its contents by the destructor.
using CTempFolder = tavtest::CTempDir;

// The program's own package beside the built program, and the folder it
// was generated in (a folder-form theme too); empty when not available.
std::string OwnPackagePath();
std::string OwnThemeFolder();
// Wine's light.msstyles; empty when this Wine does not have it.
std::string LightPackagePath();

// UTF-16LE bytes of ASCII text, optionally with a byte-order mark.
Bytes Utf16(const std::string& strText, bool bByteOrderMark = false);

// Writes a resource module at strPath: a copy of the program's own package
// with all its resources replaced by the ones added.
class CPackageWriter {
public:
    explicit CPackageWriter(const std::string& strPath);
    void Add(const char* pszType, const char* pszName, const Bytes& data);
    void AddBitmap(const char* pszName, const Bytes& packedDib);
    void AddString(UINT nId, const std::string& strText);
    // Writes the module; false on failure.
    bool Write();

private:
    struct Resource {
        std::string strType;
        std::string strName;
        UINT nTypeId;
        Bytes data;
    };
    std::string m_strPath;
    std::vector<Resource> m_resources;
    std::vector<std::pair<UINT, std::string>> m_strings;
};

// A theme file whose module-form text is set directly, for feeding INI
// text to the parser without a package.
class CTextThemeFile : public CXTPSkinThemeFile {
public:
    using CXTPSkinThemeFile::CXTPSkinThemeFile;
    // The UTF-16 bytes ReadLine hands out, exactly as a resource would hold them.
    void SetTextBytes(const Bytes& data);
    // ASCII INI lines, each ended by CR LF.
    void SetLines(const std::vector<std::string>& lines);

private:
    Bytes m_data;
};

// PNG data. Rows are raw pixel bytes in the layout of the colour type and
// bit depth; extra chunks (type, body) go before IDAT.
Bytes MakePng(uint32_t nWidth, uint32_t nHeight, int nBitDepth, int nColorType, const std::vector<Bytes>& rows,
              const std::vector<std::pair<std::string, Bytes>>& extraChunks = {}, int nInterlace = 0);
// A chunk with its length and CRC.
Bytes PngChunk(const std::string& strType, const Bytes& body);
// Recomputes the CRC of every chunk (after the data was changed).
void FixPngCrcs(Bytes& png);

// A packed DIB (BITMAPINFOHEADER, colour table, bottom-up rows) and the BMP
// file around it. Pixels are 32-bit 0xAARRGGBB values, top row first,
// written with nBitCount bits (1, 4, 8: indexes into the palette).
Bytes MakePackedDib(int nWidth, int nHeight, int nBitCount, const std::vector<uint32_t>& pixels,
                    const std::vector<uint32_t>& palette = {}, DWORD nClrUsed = 0);
Bytes MakeBmpFile(const Bytes& packedDib);

// The pixels of a bitmap as 32-bit 0xAARRGGBB values, top row first.
struct CPixels {
    int nWidth = 0;
    int nHeight = 0;
    std::vector<uint32_t> data;
    uint32_t At(int x, int y) const { return data[static_cast<size_t>(y) * nWidth + x]; }
};
CPixels ReadPixels(HBITMAP hBitmap);

// Process memory in use, for leak checks.
size_t GetPrivateBytes();
// GDI objects the process holds (0 when the system does not count them).
DWORD GetGdiObjectCount();

// The text a TEXTFILE resource of a module holds.
Bytes ReadModuleResource(HMODULE hModule, const char* pszType, const char* pszName);

}  // namespace themetest
