#include "XTPSkinThemeClass.h"

#include "XTPSkinEngine.h"
#include "XTPSkinThemeFile.h"
#include "XTPSkinThemeImage.h"
#include "XTPSkinThemeSchema.h"

CXTPSkinThemeClass::CXTPSkinThemeClass(CXTPSkinEngine* pEngine, const char* pszClassName)
    : m_pEngine(pEngine), m_strClassName(pszClassName), m_nClassId(::GetClassId(pszClassName))
{
}

CXTPSkinThemeClass::~CXTPSkinThemeClass() = default;

CXTPSkinThemeSchema* CXTPSkinThemeClass::GetSchema() const
{
    return m_pEngine ? m_pEngine->GetSchema() : nullptr;
}

const CXTPSkinThemeValue* CXTPSkinThemeClass::GetValue(int nPartId, int nStateId, int nPropId, int nType)
{
    // Ids that do not fit the key would alias other entries of the cache;
    // the schema has no value for them anyway.
    if (!XTPSkinIsValidKeyPart(m_nClassId, nPartId, nStateId, nPropId))
        return nullptr;
    DWORD nKey = ((DWORD)nStateId << 20) + ((DWORD)nPartId << 14) + (DWORD)nPropId;
    auto it = m_mapValues.find(nKey);
    if (it != m_mapValues.end())
        return it->second && it->second->m_nType == nType ? it->second : nullptr;

    CXTPSkinThemeSchema* pSchema = GetSchema();
    if (!pSchema)
        return nullptr;
    const CXTPSkinThemeValue* pValue = pSchema->FindValue(m_nClassId, nPartId, nStateId, nPropId);
    if (!pValue) {
        m_mapValues.emplace(nKey, nullptr);
        return nullptr;
    }
    if (pValue->m_nType != nType)
        return nullptr;
    m_mapValues.emplace(nKey, pValue);
    return pValue;
}

CString CXTPSkinThemeClass::GetThemeString(int nPartId, int nStateId, int nPropId, const char* pszDefault)
{
    const CXTPSkinThemeValue* pValue = GetValue(nPartId, nStateId, nPropId, XTP_SKINVALUE_STRING);
    return pValue ? pValue->m_strValue : CString(pszDefault);
}

RECT CXTPSkinThemeClass::GetThemeRect(int nPartId, int nStateId, int nPropId, int nLeft, int nTop, int nRight,
                                      int nBottom)
{
    const CXTPSkinThemeValue* pValue = GetValue(nPartId, nStateId, nPropId, XTP_SKINVALUE_RECT);
    return pValue ? pValue->m_rcValue : RECT{nLeft, nTop, nRight, nBottom};
}

int CXTPSkinThemeClass::GetThemeInt(int nPartId, int nStateId, int nPropId, int nDefault)
{
    const CXTPSkinThemeValue* pValue = GetValue(nPartId, nStateId, nPropId, XTP_SKINVALUE_INT);
    return pValue ? pValue->m_nValue : nDefault;
}

BOOL CXTPSkinThemeClass::GetThemeBool(int nPartId, int nStateId, int nPropId, BOOL bDefault)
{
    const CXTPSkinThemeValue* pValue = GetValue(nPartId, nStateId, nPropId, XTP_SKINVALUE_BOOL);
    return pValue ? pValue->m_nValue : bDefault;
}

COLORREF CXTPSkinThemeClass::GetThemeColor(int nPartId, int nStateId, int nPropId, COLORREF clrDefault)
{
    const CXTPSkinThemeValue* pValue = GetValue(nPartId, nStateId, nPropId, XTP_SKINVALUE_COLOR);
    if (!pValue)
        return clrDefault;
    COLORREF clr = pValue->m_clrValue;
    if (m_pEngine)
        m_pEngine->ApplyColorFilters(&clr);
    return clr;
}

int CXTPSkinThemeClass::GetThemeEnumValue(int nPartId, int nStateId, int nPropId, int nDefault)
{
    const CXTPSkinThemeValue* pValue = GetValue(nPartId, nStateId, nPropId, XTP_SKINVALUE_ENUM);
    return pValue ? pValue->m_nValue : nDefault;
}

POINT CXTPSkinThemeClass::GetThemePosition(int nPartId, int nStateId, int nPropId, int nDefaultX, int nDefaultY)
{
    const CXTPSkinThemeValue* pValue = GetValue(nPartId, nStateId, nPropId, XTP_SKINVALUE_POSITION);
    return pValue ? pValue->m_ptValue : POINT{nDefaultX, nDefaultY};
}

CXTPSkinThemeImage* CXTPSkinThemeClass::GetImage(const char* pszImageFile)
{
    if (!pszImageFile || !*pszImageFile || !m_pEngine)
        return nullptr;
    auto it = m_mapImages.find(CString(pszImageFile));
    if (it != m_mapImages.end())
        return it->second.get();

    CXTPSkinThemeFile* pThemeFile = m_pEngine->GetThemeFile();
    CXTPSkinThemeImage* pImage = pThemeFile ? pThemeFile->LoadImage(pszImageFile) : nullptr;
    if (pImage)
        m_mapImages[CString(pszImageFile)].reset(pImage);
    return pImage;
}
