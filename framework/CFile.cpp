#include "CFile.h"

CFile::~CFile()
{
    Close();
}

BOOL CFile::Open(const char* pszFileName, UINT nOpenFlags)
{
    Close();
    if (!pszFileName)
        return FALSE;

    DWORD dwAccess = GENERIC_READ;
    switch (nOpenFlags & 3) {
    case modeWrite:
        dwAccess = GENERIC_WRITE;
        break;
    case modeReadWrite:
        dwAccess = GENERIC_READ | GENERIC_WRITE;
        break;
    default:
        break;
    }

    DWORD dwShare = 0;
    switch (nOpenFlags & 0x70) {
    case shareDenyWrite:
        dwShare = FILE_SHARE_READ;
        break;
    case shareDenyRead:
        dwShare = FILE_SHARE_WRITE;
        break;
    case shareDenyNone:
        dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    default:
        break;
    }

    DWORD dwCreate = OPEN_EXISTING;
    if (nOpenFlags & modeCreate)
        dwCreate = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, (nOpenFlags & modeNoInherit) ? FALSE : TRUE};
    HANDLE hFile = CreateFileA(pszFileName, dwAccess, dwShare, &sa, dwCreate, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    m_hFile = hFile;
    m_strFileName = pszFileName;
    return TRUE;
}

void CFile::Close()
{
    HANDLE hFile = InterlockedExchangePointer(&m_hFile, INVALID_HANDLE_VALUE);
    if (hFile != INVALID_HANDLE_VALUE)
        CloseHandle(hFile);
}

UINT CFile::Read(void* pBuffer, UINT nCount)
{
    DWORD dwRead = 0;
    if (!IsOpen() || !ReadFile(m_hFile, pBuffer, nCount, &dwRead, nullptr))
        return 0;
    return dwRead;
}

BOOL CFile::Write(const void* pBuffer, UINT nCount)
{
    DWORD dwWritten = 0;
    if (!IsOpen() || !WriteFile(m_hFile, pBuffer, nCount, &dwWritten, nullptr))
        return FALSE;
    return dwWritten == nCount;
}

ULONGLONG CFile::Seek(LONGLONG nOffset, UINT nFrom)
{
    LARGE_INTEGER liOffset, liNew;
    liOffset.QuadPart = nOffset;
    if (!IsOpen() || !SetFilePointerEx(m_hFile, liOffset, &liNew, nFrom))
        return static_cast<ULONGLONG>(-1);
    return static_cast<ULONGLONG>(liNew.QuadPart);
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER liZero, liPos;
    liZero.QuadPart = 0;
    if (!IsOpen() || !SetFilePointerEx(m_hFile, liZero, &liPos, FILE_CURRENT))
        return static_cast<ULONGLONG>(-1);
    return static_cast<ULONGLONG>(liPos.QuadPart);
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER liSize;
    if (!IsOpen() || !GetFileSizeEx(m_hFile, &liSize))
        return 0;
    return static_cast<ULONGLONG>(liSize.QuadPart);
}

BOOL CFile::SetLength(ULONGLONG nNewLength)
{
    ULONGLONG nPos = GetPosition();
    if (Seek(static_cast<LONGLONG>(nNewLength), begin) == static_cast<ULONGLONG>(-1))
        return FALSE;
    BOOL bOk = SetEndOfFile(m_hFile);
    Seek(static_cast<LONGLONG>(nPos < nNewLength ? nPos : nNewLength), begin);
    return bOk;
}

BOOL CFile::Remove(const char* pszFileName)
{
    return DeleteFileA(pszFileName);
}

BOOL CStdioFile::Open(const char* pszFileName, UINT nOpenFlags)
{
    m_buffer.clear();
    m_nBufferPos = 0;
    return CFile::Open(pszFileName, nOpenFlags);
}

void CStdioFile::Close()
{
    CFile::Close();
    m_buffer.clear();
    m_nBufferPos = 0;
}

UINT CStdioFile::Read(void* pBuffer, UINT nCount)
{
    // Hand out what the line reader has buffered first.
    size_t nBuffered = m_buffer.size() - m_nBufferPos;
    if (nBuffered == 0)
        return CFile::Read(pBuffer, nCount);
    UINT nTaken = static_cast<UINT>(nBuffered < nCount ? nBuffered : nCount);
    memcpy(pBuffer, m_buffer.data() + m_nBufferPos, nTaken);
    m_nBufferPos += nTaken;
    return nTaken;
}

BOOL CStdioFile::FillBuffer()
{
    m_buffer.resize(4096);
    m_nBufferPos = 0;
    UINT nRead = CFile::Read(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
    m_buffer.resize(nRead);
    return nRead > 0;
}

BOOL CStdioFile::ReadString(CString& strLine)
{
    std::string line;
    bool bAny = false;
    for (;;) {
        if (m_nBufferPos >= m_buffer.size() && !FillBuffer())
            break;
        bAny = true;
        const char* pStart = m_buffer.data() + m_nBufferPos;
        const char* pEnd = m_buffer.data() + m_buffer.size();
        const char* pLf = static_cast<const char*>(memchr(pStart, '\n', static_cast<size_t>(pEnd - pStart)));
        if (pLf) {
            line.append(pStart, pLf);
            m_nBufferPos = static_cast<size_t>(pLf - m_buffer.data()) + 1;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            strLine = CString(line);
            return TRUE;
        }
        line.append(pStart, pEnd);
        m_nBufferPos = m_buffer.size();
    }
    strLine = CString(line);
    return bAny;
}
