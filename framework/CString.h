// CString: an 8-bit (ANSI code page) text value with the operations the
// program uses; a thin layer over std::string.
#pragma once

#include <windows.h>
#include <string>

class CString {
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}
    CString(const char* pch, int nLength) : m_str(pch, pch ? (nLength > 0 ? nLength : 0) : 0) {}
    CString(char ch, int nRepeat = 1) : m_str(nRepeat > 0 ? nRepeat : 0, ch) {}
    CString(const std::string& str) : m_str(str) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    operator const char*() const { return m_str.c_str(); }
    const char* GetString() const { return m_str.c_str(); }
    const std::string& Str() const { return m_str; }

    char GetAt(int nIndex) const { return m_str[static_cast<size_t>(nIndex)]; }
    void SetAt(int nIndex, char ch) { m_str[static_cast<size_t>(nIndex)] = ch; }
    char operator[](int nIndex) const { return GetAt(nIndex); }

    CString& operator=(const char* psz) { m_str = psz ? psz : ""; return *this; }
    CString& operator+=(const CString& s) { m_str += s.m_str; return *this; }
    CString& operator+=(const char* psz) { if (psz) m_str += psz; return *this; }
    CString& operator+=(char ch) { m_str += ch; return *this; }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
    friend CString operator+(const CString& a, const char* b) { CString r(a); r += b; return r; }
    friend CString operator+(const char* a, const CString& b) { CString r(a); r += b; return r; }
    friend CString operator+(const CString& a, char b) { CString r(a); r += b; return r; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const char* b) { return a.m_str == (b ? b : ""); }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

    int Compare(const char* psz) const { return m_str.compare(psz ? psz : ""); }
    // Case-insensitive comparison in the ANSI code page, as lstrcmpiA does.
    int CompareNoCase(const char* psz) const;

    // Positions are 0-based; -1 when not found.
    int Find(char ch, int nStart = 0) const;
    int Find(const char* psz, int nStart = 0) const;
    int ReverseFind(char ch) const;

    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;

    // Case changes in the ANSI code page (CharLowerBuffA / CharUpperBuffA).
    CString& MakeLower();
    CString& MakeUpper();
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim() { TrimRight(); return TrimLeft(); }
    // Replaces every occurrence; returns how many were replaced.
    int Replace(char chOld, char chNew);
    int Replace(const char* pszOld, const char* pszNew);

    void Format(const char* pszFormat, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* pszFormat, va_list args);

    // Direct access for APIs that fill a character buffer: GetBuffer makes room
    // for at least nMinLength characters, ReleaseBuffer sets the length (the
    // text up to the first zero when nNewLength is -1).
    char* GetBuffer(int nMinLength);
    void ReleaseBuffer(int nNewLength = -1);

    // Loads a string resource of the resource module; FALSE when missing.
    BOOL LoadString(UINT nID);

private:
    std::string m_str;
};
