#include "XTPSkinThemeSchema.h"

#include "XTPSkinEngine.h"
#include "XTPSkinThemeFile.h"

#include <vssym32.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

inline bool IsSpace(char ch)
{
    return isspace(static_cast<unsigned char>(ch)) != 0;
}

// Font text: face name, size in points, an optional style word ("BOLD").
// A face name longer than a LOGFONT holds is cut to its 31 characters; the
// size and style after it are still read.
std::unique_ptr<LOGFONTA> ParseFont(const char* pszValue)
{
    std::unique_ptr<LOGFONTA> pFont(new LOGFONTA());
    HDC hDC = GetDC(nullptr);
    pFont->lfCharSet = static_cast<BYTE>(GetTextCharsetInfo(hDC, nullptr, 0));
    int nLogPixelsY = GetDeviceCaps(hDC, LOGPIXELSY);
    ReleaseDC(nullptr, hDC);

    long nPoints = 0;
    char szStyle[52] = "";
    const char* pszComma = strchr(pszValue, ',');
    size_t nFaceLength = pszComma ? static_cast<size_t>(pszComma - pszValue) : strlen(pszValue);
    // An empty face name stops the reading, as a scan set that matches
    // nothing does.
    if (nFaceLength > 0) {
        size_t nCopy = nFaceLength < LF_FACESIZE - 1 ? nFaceLength : LF_FACESIZE - 1;
        memcpy(pFont->lfFaceName, pszValue, nCopy);
        pFont->lfFaceName[nCopy] = 0;
        if (pszComma)
            sscanf(pszComma, ", %ld, %51s", &nPoints, szStyle);
    }
    pFont->lfWeight = lstrcmpiA(szStyle, "BOLD") == 0 ? FW_BOLD : FW_NORMAL;
    pFont->lfHeight = -MulDiv(nPoints, nLogPixelsY, 72);
    return pFont;
}

}  // namespace

std::unique_ptr<CXTPSkinThemeValue> CXTPSkinThemeValue::Parse(int nType, int nPropId, const char* pszPropertyName,
                                                              const char* pszValue)
{
    if (nType == XTP_SKINVALUE_INTLIST || nType < XTP_SKINVALUE_STRING || nType > XTP_SKINVALUE_POSITION)
        return nullptr;

    std::unique_ptr<CXTPSkinThemeValue> pValue(new CXTPSkinThemeValue(nType, nPropId));
    pValue->m_rcValue = RECT{0, 0, 0, 0};

    switch (nType) {
    case XTP_SKINVALUE_STRING:
        pValue->m_strValue = pszValue;
        break;
    case XTP_SKINVALUE_INT:
        pValue->m_nValue = atoi(pszValue);
        break;
    case XTP_SKINVALUE_BOOL:
        pValue->m_nValue = lstrcmpiA(pszValue, "TRUE") == 0 ? 1 : 0;
        break;
    case XTP_SKINVALUE_COLOR: {
        int nRed = 0, nGreen = 0, nBlue = 0;
        sscanf(pszValue, "%i %i %i", &nRed, &nGreen, &nBlue);
        pValue->m_clrValue = RGB(nRed & 0xFF, nGreen & 0xFF, nBlue & 0xFF);
        break;
    }
    case XTP_SKINVALUE_RECT: {
        // Written in the order of the MARGINS structure: left, right, top, bottom.
        long nLeft = 0, nRight = 0, nTop = 0, nBottom = 0;
        sscanf(pszValue, "%ld,%ld,%ld,%ld", &nLeft, &nRight, &nTop, &nBottom);
        pValue->m_rcValue = RECT{nLeft, nTop, nRight, nBottom};
        break;
    }
    case XTP_SKINVALUE_FONT:
        pValue->m_pFont = ParseFont(pszValue);
        break;
    case XTP_SKINVALUE_ENUM:
        pValue->m_nValue = GetEnumValue(pszPropertyName, pszValue);
        break;
    case XTP_SKINVALUE_POSITION: {
        int nX = 0, nY = 0;
        sscanf(pszValue, "%i,%i", &nX, &nY);
        pValue->m_ptValue = POINT{nX, nY};
        break;
    }
    }
    return pValue;
}

CXTPSkinThemeSchema::CXTPSkinThemeSchema(CXTPSkinEngine* pEngine)
    : m_bPreMultiplyImages(TRUE), m_pEngine(pEngine), m_strSchemaName("Default"),
      m_nGlobalClassId(GetClassId("GLOBALS")), m_nWindowClassId(GetClassId("WINDOW"))
{
    m_mapValues.reserve(4096);
    InitializeCriticalSection(&m_csDraw);
}

CXTPSkinThemeSchema::~CXTPSkinThemeSchema()
{
    DeleteCriticalSection(&m_csDraw);
}

int CXTPSkinThemeSchema::ParseIni(CXTPSkinThemeFile* pThemeFile)
{
    if (pThemeFile) {
        DWORD nSectionKey = 0;
        CString strLine;
        while (pThemeFile->ReadLine(strLine))
            ParseLine(strLine, nSectionKey);
    }

    int nAlphaLevel = 0;
    if (SUCCEEDED(GetInt(XTP_SKINCLASS_DOCUMENTATION, 0, 0, TMT_ALPHALEVEL, nAlphaLevel)) && nAlphaLevel == 255)
        m_bPreMultiplyImages = FALSE;
    return 0;
}

void CXTPSkinThemeSchema::ParseLine(const char* pszLine, DWORD& nSectionKey)
{
    if (!pszLine)
        return;
    while (IsSpace(*pszLine))
        pszLine++;

    std::string strLine(pszLine);
    size_t nComment = strLine.find(';');
    if (nComment == 0)
        return;
    if (nComment != std::string::npos)
        strLine.resize(nComment);
    if (strLine.empty())
        return;
    CharUpperBuffA(&strLine[0], static_cast<DWORD>(strLine.size()));

    if (strLine[0] == '[') {
        // The last character is taken to be the closing bracket, whatever it is.
        std::string strSection = strLine.size() >= 2 ? strLine.substr(1, strLine.size() - 2) : std::string();
        nSectionKey = GetSectionKey(strSection.c_str());
        return;
    }
    if (nSectionKey == 0)
        return;

    size_t nEqual = strLine.find('=');
    if (nEqual == std::string::npos || nEqual == 0)
        return;

    size_t nNameEnd = nEqual;
    while (nNameEnd > 0 && IsSpace(strLine[nNameEnd - 1]))
        nNameEnd--;
    size_t nValueStart = nEqual + 1, nValueEnd = strLine.size();
    while (nValueStart < nValueEnd && IsSpace(strLine[nValueStart]))
        nValueStart++;
    while (nValueEnd > nValueStart && IsSpace(strLine[nValueEnd - 1]))
        nValueEnd--;
    std::string strName = strLine.substr(0, nNameEnd);
    std::string strValue = strLine.substr(nValueStart, nValueEnd - nValueStart);

    int nType = 0;
    int nPropId = GetPropertyId(strName.c_str(), nType);
    if (nPropId == 0 || nType == 0)
        return;

    DWORD nKey = nSectionKey + static_cast<DWORD>(nPropId);
    m_mapValues.erase(nKey);
    std::unique_ptr<CXTPSkinThemeValue> pValue =
        CXTPSkinThemeValue::Parse(nType, nPropId, strName.c_str(), strValue.c_str());
    if (pValue)
        m_mapValues[nKey] = std::move(pValue);
}

const CXTPSkinThemeValue* CXTPSkinThemeSchema::Lookup(int nClassId, int nPartId, int nStateId, int nPropId) const
{
    // Ids that do not fit their fields of the key would stand for another
    // class, part or state: such a lookup finds nothing.
    if (!XTPSkinIsValidKeyPart(nClassId, nPartId, nStateId, nPropId))
        return nullptr;
    auto it = m_mapValues.find(XTPSkinMakeKey(nClassId, nPartId, nStateId, nPropId));
    return it == m_mapValues.end() ? nullptr : it->second.get();
}

const CXTPSkinThemeValue* CXTPSkinThemeSchema::FindValue(int nClassId, int nPartId, int nStateId,
                                                         int nPropId) const
{
    const CXTPSkinThemeValue* pValue = nullptr;
    if (nStateId != 0)
        pValue = Lookup(nClassId, nPartId, nStateId, nPropId);
    if (!pValue)
        pValue = Lookup(nClassId, nPartId, 0, nPropId);
    if (!pValue)
        pValue = Lookup(nClassId, 0, 0, nPropId);
    if (!pValue)
        pValue = Lookup(m_nGlobalClassId, 0, 0, nPropId);
    return pValue;
}

HRESULT CXTPSkinThemeSchema::GetTyped(int nClassId, int nPartId, int nStateId, int nPropId, int nType,
                                      const CXTPSkinThemeValue*& pValue) const
{
    pValue = FindValue(nClassId, nPartId, nStateId, nPropId);
    if (!pValue)
        return E_FAIL;
    if (pValue->m_nType != nType)
        return E_INVALIDARG;
    return S_OK;
}

HRESULT CXTPSkinThemeSchema::GetInt(int nClassId, int nPartId, int nStateId, int nPropId, int& nValue) const
{
    const CXTPSkinThemeValue* pValue = nullptr;
    HRESULT hr = GetTyped(nClassId, nPartId, nStateId, nPropId, XTP_SKINVALUE_INT, pValue);
    if (hr == S_OK)
        nValue = pValue->m_nValue;
    return hr;
}

HRESULT CXTPSkinThemeSchema::GetBool(int nClassId, int nPartId, int nStateId, int nPropId, BOOL& bValue) const
{
    const CXTPSkinThemeValue* pValue = nullptr;
    HRESULT hr = GetTyped(nClassId, nPartId, nStateId, nPropId, XTP_SKINVALUE_BOOL, pValue);
    if (hr == S_OK)
        bValue = pValue->m_nValue;
    return hr;
}

HRESULT CXTPSkinThemeSchema::GetColor(int nClassId, int nPartId, int nStateId, int nPropId,
                                      COLORREF& clrValue) const
{
    const CXTPSkinThemeValue* pValue = nullptr;
    HRESULT hr = GetTyped(nClassId, nPartId, nStateId, nPropId, XTP_SKINVALUE_COLOR, pValue);
    if (hr == S_OK) {
        clrValue = pValue->m_clrValue;
        if (m_pEngine)
            m_pEngine->ApplyColorFilters(&clrValue);
    }
    return hr;
}

HRESULT CXTPSkinThemeSchema::GetFont(int nClassId, int nPartId, int nStateId, int nPropId,
                                     LOGFONTA& lfValue) const
{
    const CXTPSkinThemeValue* pValue = nullptr;
    HRESULT hr = GetTyped(nClassId, nPartId, nStateId, nPropId, XTP_SKINVALUE_FONT, pValue);
    if (hr == S_OK)
        lfValue = *pValue->m_pFont;
    return hr;
}
