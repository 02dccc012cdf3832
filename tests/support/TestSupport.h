// Small helpers shared by the test programs: environment, Winsock set-up,
// temporary folders and whole-file reads and writes.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <windows.h>

#include <string>

namespace tavtest {

// Value of an environment variable; empty when it is not set.
std::string GetEnv(const char* pszName);

// Winsock started for the lifetime of the object.
class CWinsockScope {
public:
    CWinsockScope();
    ~CWinsockScope();
    CWinsockScope(const CWinsockScope&) = delete;
    CWinsockScope& operator=(const CWinsockScope&) = delete;
    bool IsStarted() const { return m_bStarted; }

private:
    bool m_bStarted = false;
};

// A new empty folder under the system's temporary folder, or under
// strParent when given; removed with everything in it by the destructor.
class CTempDir {
public:
    explicit CTempDir(const std::string& strParent = std::string());
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;
    const std::string& Path() const { return m_strPath; }
    // Path of a file in the folder.
    std::string File(const std::string& strName) const { return m_strPath + "\\" + strName; }

private:
    std::string m_strPath;
};

// Removes a folder and everything in it.
void RemoveTree(const std::string& strPath);
bool FileExists(const std::string& strPath);
// Whole-file contents; bOk (when given) tells whether the file could be read.
std::string ReadFileBytes(const std::string& strPath, bool* pbOk = nullptr);
bool WriteFileBytes(const std::string& strPath, const std::string& strData);
// A deterministic, non-repeating-looking byte pattern of nLength bytes.
std::string PatternBytes(size_t nLength, unsigned nSeed = 1);

// For test programs with their own main(): runs the tests unless
// pszMissing names something the tests need that is not there. Then it
// prints why and returns 77, which ctest reports as a skipped test
// (SKIP_RETURN_CODE 77).
int RunTestsOrSkip(int argc, char** argv, const char* pszMissing);

} // namespace tavtest
