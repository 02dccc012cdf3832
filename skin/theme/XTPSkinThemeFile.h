// CXTPSkinThemeFile: where a theme comes from. It opens a theme package (a
// resource module, or a folder holding the INI file and the images), hands
// out the lines of the chosen INI text to the schema parser, loads the
// theme's images by name and decides which schema interprets the theme.
#pragma once

#include "Afx.h"

class CXTPSkinEngine;
class CXTPSkinThemeImage;
class CXTPSkinThemeSchema;

class CXTPSkinThemeFile {
public:
    explicit CXTPSkinThemeFile(CXTPSkinEngine* pEngine = nullptr);
    virtual ~CXTPSkinThemeFile();
    CXTPSkinThemeFile(const CXTPSkinThemeFile&) = delete;
    CXTPSkinThemeFile& operator=(const CXTPSkinThemeFile&) = delete;

    // Opens the package at pszPath. With an INI name that names a file in
    // the folder pszPath the theme is read from that folder; otherwise
    // pszPath is a resource module and the INI text is its "TEXTFILE"
    // resource named after the INI name ("." and "\" become "_"), or after
    // the default variant of its "THEMES_INI" index when no name is given.
    virtual BOOL Open(const char* pszPath, const char* pszIniFileName);
    // The next line of the INI text, converted to the ANSI code page; FALSE
    // at the end. In a module, only lines ended by a CR are read.
    virtual BOOL ReadLine(CString& strLine);
    // Releases the module or the INI file.
    virtual void Close();
    // Loads one image of the theme (owned by the caller), or null.
    virtual CXTPSkinThemeImage* LoadImage(const char* pszImageFile);
    // A new schema for this theme (owned by the caller): the Office 2007
    // style when the package's string 5000 names it, else the standard one.
    virtual CXTPSkinThemeSchema* CreateSchema();

    CString GetPath() const { return m_strThemePath; }
    CString GetIniName() const { return m_strIniFileName; }
    // Name of the default variant's "TEXTFILE" resource, from the first
    // "[File.name]" header of "THEMES_INI": "name_ini"; empty when there is none.
    CString GetDefaultIniName() const;

    // Whether the package's string 5000 is "Office 2007 Style" (in any case).
    BOOL IsOffice2007Style() const;

    CXTPSkinEngine* GetEngine() const { return m_pEngine; }
    // The open package module; null in folder form and when closed.
    HMODULE GetThemeModule() const { return m_hModule; }
    // Whether the package is a folder with the INI file in it.
    BOOL IsFolderForm() const { return m_pIniFile != nullptr; }

    // Every "." and "\" of a file name replaced by "_", the form resource
    // names of the package take.
    static CString GetResourceName(const char* pszFileName);

protected:
    // Makes the UTF-16 text of cbSize bytes at pData the text ReadLine hands
    // out: an odd last byte is dropped and a leading byte-order mark skipped.
    void SetText(const void* pData, DWORD cbSize);

    const WCHAR* m_pszTextPos;
    const WCHAR* m_pszTextEnd;
    HMODULE m_hModule;
    CString m_strThemePath;
    CString m_strIniFileName;
    CXTPSkinEngine* m_pEngine;
    CStdioFile* m_pIniFile;
};

// The answer to GetCurrentThemeName while the theme of pThemeFile is in use:
// the package path and a colour name derived from its INI name; the size
// buffer is left alone. E_FAIL without a theme file.
HRESULT XTPSkinGetCurrentThemeName(const CXTPSkinThemeFile* pThemeFile, LPWSTR pszThemeFileName,
                                   int cchMaxNameChars, LPWSTR pszColorBuff, int cchMaxColorChars,
                                   LPWSTR pszSizeBuff, int cchMaxSizeChars);
