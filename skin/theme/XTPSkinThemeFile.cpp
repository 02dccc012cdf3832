#include "XTPSkinThemeFile.h"

#include "XTPSkinThemeImage.h"
#include "XTPSkinThemeSchema.h"

#include <cwchar>
#include <new>
#include <string>

namespace {

const char g_szTextFileType[] = "TEXTFILE";
const int XTP_IDS_SKIN_STYLE = 5000;

// ANSI (CP_ACP) copy of cch UTF-16 characters.
CString WideToAnsi(const WCHAR* pch, int cch)
{
    if (cch <= 0)
        return CString();
    int nLength = WideCharToMultiByte(CP_ACP, 0, pch, cch, nullptr, 0, nullptr, nullptr);
    if (nLength <= 0)
        return CString();
    CString str;
    char* pBuffer = str.GetBuffer(nLength);
    WideCharToMultiByte(CP_ACP, 0, pch, cch, pBuffer, nLength, nullptr, nullptr);
    str.ReleaseBuffer(nLength);
    return str;
}

std::wstring AnsiToWide(const char* psz)
{
    int nLength = MultiByteToWideChar(CP_ACP, 0, psz, -1, nullptr, 0);
    if (nLength <= 0)
        return std::wstring();
    std::wstring str(static_cast<size_t>(nLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, psz, -1, &str[0], nLength);
    str.resize(static_cast<size_t>(nLength - 1));
    return str;
}

// Locks the resource; null when it is missing. cbSize receives its size.
const void* LockNamedResource(HMODULE hModule, const char* pszName, const char* pszType, DWORD& cbSize)
{
    cbSize = 0;
    if (!hModule)
        return nullptr;
    HRSRC hResource = FindResourceA(hModule, pszName, pszType);
    if (!hResource)
        return nullptr;
    HGLOBAL hData = LoadResource(hModule, hResource);
    const void* pData = hData ? LockResource(hData) : nullptr;
    if (pData)
        cbSize = SizeofResource(hModule, hResource);
    return pData;
}

bool IsExistingFile(const char* pszPath)
{
    DWORD dwAttributes = GetFileAttributesA(pszPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

CXTPSkinThemeFile::CXTPSkinThemeFile(CXTPSkinEngine* pEngine)
    : m_pszTextPos(nullptr), m_pszTextEnd(nullptr), m_hModule(nullptr), m_pEngine(pEngine), m_pIniFile(nullptr)
{
}

CXTPSkinThemeFile::~CXTPSkinThemeFile()
{
    Close();
}

CString CXTPSkinThemeFile::GetResourceName(const char* pszFileName)
{
    CString strName(pszFileName);
    strName.Replace('.', '_');
    strName.Replace('\\', '_');
    return strName;
}

BOOL CXTPSkinThemeFile::Open(const char* pszPath, const char* pszIniFileName)
{
    Close();
    m_strThemePath = pszPath;
    m_strIniFileName = pszIniFileName;
    if (m_strThemePath.IsEmpty())
        return FALSE;

    if (!m_strIniFileName.IsEmpty()) {
        CString strIniPath = m_strThemePath + "\\" + m_strIniFileName;
        if (IsExistingFile(strIniPath)) {
            m_pIniFile = new (std::nothrow) CStdioFile();
            if (m_pIniFile && m_pIniFile->Open(strIniPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText))
                return TRUE;
            delete m_pIniFile;
            m_pIniFile = nullptr;
            return FALSE;
        }
    }

    m_hModule = LoadLibraryA(m_strThemePath);
    if (!m_hModule)
        m_hModule = LoadLibraryExA(m_strThemePath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!m_hModule)
        return FALSE;

    if (m_strIniFileName.IsEmpty())
        m_strIniFileName = GetDefaultIniName();

    DWORD cbSize = 0;
    const void* pText = LockNamedResource(m_hModule, GetResourceName(m_strIniFileName), g_szTextFileType, cbSize);
    if (!pText)
        return FALSE;
    SetText(pText, cbSize);
    return TRUE;
}

void CXTPSkinThemeFile::SetText(const void* pData, DWORD cbSize)
{
    m_pszTextPos = static_cast<const WCHAR*>(pData);
    m_pszTextEnd = m_pszTextPos + cbSize / 2;
    if (m_pszTextPos < m_pszTextEnd && *m_pszTextPos == 0xFEFF)
        m_pszTextPos++;
}

CString CXTPSkinThemeFile::GetDefaultIniName() const
{
    DWORD cbSize = 0;
    const WCHAR* pText =
        static_cast<const WCHAR*>(LockNamedResource(m_hModule, "THEMES_INI", g_szTextFileType, cbSize));
    if (!pText)
        return CString();

    static const WCHAR szHeader[] = L"[File.";
    const size_t cchHeader = 6;
    const WCHAR* pEnd = pText + cbSize / 2;
    for (const WCHAR* p = pText; p + cchHeader <= pEnd; p++) {
        if (wmemcmp(p, szHeader, cchHeader) != 0)
            continue;
        const WCHAR* pName = p + cchHeader;
        for (const WCHAR* q = pName; q < pEnd; q++) {
            if (*q == L']')
                return WideToAnsi(pName, static_cast<int>(q - pName)) + "_ini";
        }
        // A header cut off by the end of the text names nothing.
        return CString();
    }
    return CString();
}

BOOL CXTPSkinThemeFile::ReadLine(CString& strLine)
{
    if (m_pIniFile) {
        if (m_pIniFile->IsOpen() && m_pIniFile->ReadString(strLine))
            return TRUE;
        m_pIniFile->Close();
        return FALSE;
    }

    if (!m_pszTextPos)
        return FALSE;
    const WCHAR* pLineEnd = m_pszTextPos;
    while (pLineEnd < m_pszTextEnd && *pLineEnd != L'\r')
        pLineEnd++;
    if (pLineEnd >= m_pszTextEnd)
        return FALSE;

    strLine = WideToAnsi(m_pszTextPos, static_cast<int>(pLineEnd - m_pszTextPos));
    m_pszTextPos = pLineEnd + 1;
    if (m_pszTextPos < m_pszTextEnd && *m_pszTextPos == L'\n')
        m_pszTextPos++;
    return TRUE;
}

void CXTPSkinThemeFile::Close()
{
    delete m_pIniFile;
    m_pIniFile = nullptr;
    if (m_hModule) {
        FreeLibrary(m_hModule);
        m_hModule = nullptr;
    }
    // The text lives in the module just released.
    m_pszTextPos = nullptr;
    m_pszTextEnd = nullptr;
}

CXTPSkinThemeImage* CXTPSkinThemeFile::LoadImage(const char* pszImageFile)
{
    if (!pszImageFile || !*pszImageFile)
        return nullptr;

    if (m_pIniFile) {
        CString strPath = m_strThemePath + "\\" + pszImageFile;
        if (!IsExistingFile(strPath))
            return nullptr;
        CXTPSkinThemeImage* pImage = new (std::nothrow) CXTPSkinThemeImage(m_pEngine);
        if (pImage && !pImage->LoadFromFile(strPath)) {
            delete pImage;
            pImage = nullptr;
        }
        return pImage;
    }

    CXTPSkinThemeImage* pImage = new (std::nothrow) CXTPSkinThemeImage(m_pEngine);
    if (pImage && !pImage->LoadFromResource(m_hModule, GetResourceName(pszImageFile))) {
        delete pImage;
        pImage = nullptr;
    }
    return pImage;
}

BOOL CXTPSkinThemeFile::IsOffice2007Style() const
{
    // Only a package module names its style; a folder theme has none.
    char szStyle[200] = "";
    return m_hModule && LoadStringA(m_hModule, XTP_IDS_SKIN_STYLE, szStyle, sizeof(szStyle)) > 0 &&
           lstrcmpiA(szStyle, "Office 2007 Style") == 0;
}

CXTPSkinThemeSchema* CXTPSkinThemeFile::CreateSchema()
{
    // Office 2007 style packages (IsOffice2007Style) are read by the
    // standard schema too, until the Office 2007 schema exists.
    return new (std::nothrow) CXTPSkinThemeSchema(m_pEngine);
}

HRESULT XTPSkinGetCurrentThemeName(const CXTPSkinThemeFile* pThemeFile, LPWSTR pszThemeFileName,
                                   int cchMaxNameChars, LPWSTR pszColorBuff, int cchMaxColorChars, LPWSTR,
                                   int)
{
    if (!pThemeFile)
        return E_FAIL;

    if (pszThemeFileName) {
        std::wstring strPath = AnsiToWide(pThemeFile->GetPath());
        if (static_cast<int>(strPath.size()) < cchMaxNameChars)
            memcpy(pszThemeFileName, strPath.c_str(), (strPath.size() + 1) * sizeof(WCHAR));
    }

    if (pszColorBuff) {
        CString strColor = pThemeFile->GetIniName();
        strColor.MakeUpper();
        if (strColor.Find("METALLIC") > 0)
            strColor = "metallic";
        if (strColor.Find("BLUE") > 0)
            strColor = "normalcolor";
        if (strColor.Find("HOMESTEAD") > 0)
            strColor = "homestead";
        std::wstring strWide = AnsiToWide(strColor);
        if (static_cast<int>(strWide.size()) < cchMaxColorChars)
            memcpy(pszColorBuff, strWide.c_str(), (strWide.size() + 1) * sizeof(WCHAR));
    }
    return S_OK;
}
