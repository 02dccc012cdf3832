// CFile: a file opened with the Windows file functions; CStdioFile adds
// reading text line by line. Failures are return values, never exceptions.
#pragma once

#include <windows.h>
#include <vector>

#include "CString.h"

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition : UINT { begin = FILE_BEGIN, current = FILE_CURRENT, end = FILE_END };

    CFile() = default;
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens pszFileName with the mode, share and creation flags above.
    // modeCreate alone truncates; with modeNoTruncate an existing file is
    // kept as it is. FALSE when the file cannot be opened.
    virtual BOOL Open(const char* pszFileName, UINT nOpenFlags);
    // Closes the file; closing a file that is not open does nothing. Safe to
    // call from another thread than the one using the file.
    virtual void Close();
    BOOL IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

    // Bytes read (0 at the end of the file or on failure).
    virtual UINT Read(void* pBuffer, UINT nCount);
    // TRUE when all nCount bytes were written.
    virtual BOOL Write(const void* pBuffer, UINT nCount);
    // New position, or (ULONGLONG)-1 on failure.
    ULONGLONG Seek(LONGLONG nOffset, UINT nFrom);
    ULONGLONG GetPosition() const;
    ULONGLONG GetLength() const;
    // Cuts or extends the file to nNewLength bytes.
    BOOL SetLength(ULONGLONG nNewLength);
    const CString& GetFilePath() const { return m_strFileName; }

    static BOOL Remove(const char* pszFileName);

    HANDLE m_hFile = INVALID_HANDLE_VALUE;

protected:
    CString m_strFileName;
};

// Reads a file as text, a line at a time: a line ends at LF, and a CR right
// before that LF belongs to the line end, as in text-mode reading.
class CStdioFile : public CFile {
public:
    BOOL Open(const char* pszFileName, UINT nOpenFlags) override;
    void Close() override;
    UINT Read(void* pBuffer, UINT nCount) override;
    // The next line without its line end. FALSE at the end of the file when
    // nothing was left to read.
    BOOL ReadString(CString& strLine);

private:
    BOOL FillBuffer();

    std::vector<char> m_buffer;
    size_t m_nBufferPos = 0;
};
