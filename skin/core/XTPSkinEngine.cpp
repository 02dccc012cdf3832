#include "XTPSkinEngine.h"

#include "XTPSkinThemeClass.h"
#include "XTPSkinThemeFile.h"
#include "XTPSkinThemeMetrics.h"
#include "XTPSkinThemeSchema.h"

#include <vssym32.h>

#include <new>

CXTPSkinEngine* CXTPSkinEngine::GetInstance()
{
    static CXTPSkinEngine* s_pInstance = nullptr;
    if (!s_pInstance)
        s_pInstance = new (std::nothrow) CXTPSkinEngine();
    return s_pInstance;
}

CXTPSkinEngine::CXTPSkinEngine()
{
    m_pMetrics = new CXTPSkinThemeMetrics(this);
    m_pThemeFile = new CXTPSkinThemeFile(this);
}

CXTPSkinEngine::~CXTPSkinEngine()
{
    RemoveThemeClasses();
    m_pThemeFile->Close();
    RemoveColorFilters();
    delete m_pSchema;
    delete m_pMetrics;
    delete m_pThemeFile;
}

void CXTPSkinEngine::RemoveThemeClasses()
{
    for (auto& entry : m_mapThemeClasses)
        delete entry.second;
    m_mapThemeClasses.clear();
}

CXTPSkinThemeClass* CXTPSkinEngine::GetThemeClass(const char* pszClassName)
{
    CString strName(pszClassName);
    strName.MakeUpper();
    auto it = m_mapThemeClasses.find(strName.Str());
    if (it != m_mapThemeClasses.end())
        return it->second;
    CXTPSkinThemeClass* pClass = new CXTPSkinThemeClass(this, strName);
    m_mapThemeClasses[strName.Str()] = pClass;
    return pClass;
}

BOOL CXTPSkinEngine::LoadTheme(const char* pszPath, const char* pszIniFileName)
{
    delete m_pSchema;
    m_pSchema = nullptr;

    // Class handles point into the schema just deleted, and their images
    // come from the package about to be closed.
    RemoveThemeClasses();
    m_pThemeFile->Close();
    if (m_pThemeFile->Open(pszPath, pszIniFileName)) {
        m_pSchema = m_pThemeFile->CreateSchema();
        if (m_pSchema && m_pSchema->ParseIni(m_pThemeFile) >= 0) {
            // The window skins are not part of the program yet: windows keep
            // the system's drawing while the theme data is available.
            m_bLoaded = TRUE;
            m_pMetrics->RefreshMetrics();
            return TRUE;
        }
    }
    m_bLoaded = FALSE;
    delete m_pSchema;
    m_pSchema = nullptr;
    // Without a theme the metrics fall back to the system's values.
    m_pMetrics->RefreshMetrics();
    return FALSE;
}

void CXTPSkinEngine::SetOptions(DWORD dwOptions)
{
    m_dwOptions = dwOptions;
    if (m_bLoaded)
        m_pMetrics->RefreshMetrics();
}

COLORREF CXTPSkinEngine::QuerySysColor(int nPropId) const
{
    int nIndex = nPropId - TMT_FIRSTCOLOR;
    return nIndex >= 0 && nIndex < XTP_SKINMETRICS_COLORS ? m_pMetrics->m_clrTheme[nIndex] : (COLORREF)-1;
}

void CXTPSkinEngine::AddColorFilter(CXTPSkinColorFilter* pFilter)
{
    if (pFilter)
        m_arrColorFilters.emplace_back(pFilter);
}

void CXTPSkinEngine::RemoveColorFilters()
{
    m_arrColorFilters.clear();
}

void CXTPSkinEngine::ApplyColorFilters(COLORREF* pColor) const
{
    if (!pColor)
        return;
    for (const auto& pFilter : m_arrColorFilters)
        pFilter->ApplyColorFilter(*pColor);
}
