#include "CString.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "CWinApp.h"

int CString::CompareNoCase(const char* psz) const
{
    return lstrcmpiA(m_str.c_str(), psz ? psz : "");
}

int CString::Find(char ch, int nStart) const
{
    if (nStart < 0 || nStart > GetLength())
        return -1;
    size_t pos = m_str.find(ch, static_cast<size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const char* psz, int nStart) const
{
    if (!psz || nStart < 0 || nStart > GetLength())
        return -1;
    size_t pos = m_str.find(psz, static_cast<size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const
{
    size_t pos = m_str.rfind(ch);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    return CString(m_str.substr(0, static_cast<size_t>(nCount)));
}

CString CString::Right(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount >= GetLength())
        return *this;
    return CString(m_str.substr(m_str.size() - static_cast<size_t>(nCount)));
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nCount < 0 || nFirst >= GetLength())
        return CString();
    return CString(m_str.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount)));
}

CString& CString::MakeLower()
{
    if (!m_str.empty())
        CharLowerBuffA(&m_str[0], static_cast<DWORD>(m_str.size()));
    return *this;
}

CString& CString::MakeUpper()
{
    if (!m_str.empty())
        CharUpperBuffA(&m_str[0], static_cast<DWORD>(m_str.size()));
    return *this;
}

static bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}

CString& CString::TrimLeft()
{
    size_t n = 0;
    while (n < m_str.size() && IsBlank(m_str[n]))
        ++n;
    m_str.erase(0, n);
    return *this;
}

CString& CString::TrimRight()
{
    size_t n = m_str.size();
    while (n > 0 && IsBlank(m_str[n - 1]))
        --n;
    m_str.resize(n);
    return *this;
}

int CString::Replace(char chOld, char chNew)
{
    int nCount = 0;
    for (char& ch : m_str) {
        if (ch == chOld) {
            ch = chNew;
            ++nCount;
        }
    }
    return nCount;
}

int CString::Replace(const char* pszOld, const char* pszNew)
{
    if (!pszOld || !*pszOld)
        return 0;
    const std::string strOld(pszOld), strNew(pszNew ? pszNew : "");
    int nCount = 0;
    size_t pos = 0;
    while ((pos = m_str.find(strOld, pos)) != std::string::npos) {
        m_str.replace(pos, strOld.size(), strNew);
        pos += strNew.size();
        ++nCount;
    }
    return nCount;
}

void CString::Format(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatV(const char* pszFormat, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int nLength = vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (nLength < 0) {
        m_str.clear();
        return;
    }
    std::vector<char> buffer(static_cast<size_t>(nLength) + 1);
    vsnprintf(buffer.data(), buffer.size(), pszFormat, args);
    m_str.assign(buffer.data(), static_cast<size_t>(nLength));
}

char* CString::GetBuffer(int nMinLength)
{
    if (nMinLength > GetLength())
        m_str.resize(static_cast<size_t>(nMinLength));
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(strnlen(m_str.c_str(), m_str.size()));
    m_str.resize(static_cast<size_t>(nNewLength));
}

BOOL CString::LoadString(UINT nID)
{
    char szBuffer[1024];
    int nLength = ::LoadStringA(AfxGetResourceHandle(), nID, szBuffer, sizeof(szBuffer));
    if (nLength <= 0) {
        m_str.clear();
        return FALSE;
    }
    m_str.assign(szBuffer, static_cast<size_t>(nLength));
    return TRUE;
}
