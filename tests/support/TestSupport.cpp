#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace tavtest {

std::string GetEnv(const char* pszName)
{
    DWORD nLen = GetEnvironmentVariableA(pszName, nullptr, 0);
    if (nLen == 0)
        return std::string();
    std::vector<char> value(nLen + 1);
    nLen = GetEnvironmentVariableA(pszName, value.data(), static_cast<DWORD>(value.size()));
    return std::string(value.data(), nLen);
}

CWinsockScope::CWinsockScope()
{
    WSADATA data;
    m_bStarted = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

CWinsockScope::~CWinsockScope()
{
    if (m_bStarted)
        WSACleanup();
}

CTempDir::CTempDir(const std::string& strParent)
{
    std::string strBase = strParent;
    if (strBase.empty()) {
        char szTemp[MAX_PATH];
        DWORD nLen = GetTempPathA(MAX_PATH, szTemp);
        strBase.assign(szTemp, nLen);
    }
    if (!strBase.empty() && strBase.back() == '\\')
        strBase.pop_back();
    static LONG s_nCounter = 0;
    for (int nTry = 0; nTry < 1000; ++nTry) {
        char szName[64];
        snprintf(szName, sizeof(szName), "\\tavtest-%lu-%ld", GetCurrentProcessId(),
                 InterlockedIncrement(&s_nCounter));
        std::string strPath = strBase + szName;
        if (CreateDirectoryA(strPath.c_str(), nullptr)) {
            m_strPath = strPath;
            return;
        }
    }
}

CTempDir::~CTempDir()
{
    if (!m_strPath.empty())
        RemoveTree(m_strPath);
}

void RemoveTree(const std::string& strPath)
{
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((strPath + "\\*").c_str(), &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            std::string strName = data.cFileName;
            if (strName == "." || strName == "..")
                continue;
            std::string strChild = strPath + "\\" + strName;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(strChild);
            else
                DeleteFileA(strChild.c_str());
        } while (FindNextFileA(hFind, &data));
        FindClose(hFind);
    }
    RemoveDirectoryA(strPath.c_str());
}

bool FileExists(const std::string& strPath)
{
    DWORD dwAttributes = GetFileAttributesA(strPath.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFileBytes(const std::string& strPath, bool* pbOk)
{
    std::string strData;
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (pbOk)
        *pbOk = hFile != INVALID_HANDLE_VALUE;
    if (hFile == INVALID_HANDLE_VALUE)
        return strData;
    char buffer[65536];
    DWORD nRead = 0;
    while (ReadFile(hFile, buffer, sizeof(buffer), &nRead, nullptr) && nRead > 0)
        strData.append(buffer, nRead);
    CloseHandle(hFile);
    return strData;
}

bool WriteFileBytes(const std::string& strPath, const std::string& strData)
{
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD nWritten = 0;
    BOOL bOk = WriteFile(hFile, strData.data(), static_cast<DWORD>(strData.size()), &nWritten, nullptr);
    CloseHandle(hFile);
    return bOk && nWritten == strData.size();
}

std::string PatternBytes(size_t nLength, unsigned nSeed)
{
    std::string strData(nLength, '\0');
    unsigned nState = nSeed * 2654435761u + 1;
    for (size_t i = 0; i < nLength; ++i) {
        nState = nState * 1103515245u + 12345u;
        strData[i] = static_cast<char>(nState >> 23);
    }
    return strData;
}

int RunTestsOrSkip(int argc, char** argv, const char* pszMissing)
{
    if (pszMissing && *pszMissing) {
        printf("SKIP: %s\n", pszMissing);
        fflush(stdout);
        return 77;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

} // namespace tavtest
