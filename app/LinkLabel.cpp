#include "LinkLabel.h"

#include <shellapi.h>

IMPLEMENT_DYNAMIC(CLinkLabel, CStatic)

LONG CLinkLabel::ReadRegistryDefault(HKEY hRootKey, const char* pszSubKey, CString& strValue)
{
    HKEY hKey;
    LONG nResult = RegOpenKeyExA(hRootKey, pszSubKey, 0, KEY_QUERY_VALUE, &hKey);
    if (nResult != ERROR_SUCCESS)
        return nResult;

    // 260 bytes of value; the extra byte keeps a terminator after data that
    // was stored without one.
    char szValue[MAX_PATH + 1] = {};
    DWORD dwType = 0;
    DWORD dwSize = MAX_PATH;
    nResult = RegQueryValueExA(hKey, nullptr, nullptr, &dwType, reinterpret_cast<BYTE*>(szValue), &dwSize);
    RegCloseKey(hKey);
    if (nResult != ERROR_SUCCESS)
        return nResult;
    if (dwType != REG_SZ && dwType != REG_EXPAND_SZ)
        return ERROR_INVALID_DATA;
    strValue = szValue;
    return ERROR_SUCCESS;
}

int CLinkLabel::OpenAddress(const char* pszAddress, int nShowCmd)
{
    HINSTANCE hShell = ShellExecuteA(nullptr, "open", pszAddress, nullptr, nullptr, nShowCmd);
    int nResult = static_cast<int>(reinterpret_cast<INT_PTR>(hShell));
    if (nResult > 32)
        return nResult;

    CString strClass;
    if (ReadRegistryDefault(HKEY_CLASSES_ROOT, ".htm", strClass) != ERROR_SUCCESS)
        return nResult;
    CString strCommand;
    if (ReadRegistryDefault(HKEY_CLASSES_ROOT, strClass + "\\shell\\open\\command", strCommand) != ERROR_SUCCESS)
        return nResult;

    // Drop the placeholder for the page and everything after it; the
    // address goes at the end instead.
    int nCut = strCommand.Find("\"%1\"");
    if (nCut < 0)
        nCut = strCommand.Find("%1");
    if (nCut >= 0)
        strCommand = strCommand.Left(nCut);
    strCommand += " ";
    strCommand += pszAddress;
    return static_cast<int>(WinExec(strCommand, static_cast<UINT>(nShowCmd)));
}
