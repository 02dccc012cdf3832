// The link launcher under Wine: the shell is asked first; when it cannot open
// the address, the command registered for ".htm" pages runs with the address
// in place of its "%1". A small recorder program stands in for the browser
// and writes down the command line it was started with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>
#include <tlhelp32.h>

#include "LinkLabel.h"

namespace {

const char TEST_CLASS[] = "TavmioTestPage";
const char TEST_SCHEME[] = "tavmio-shell";

std::string ModuleFolder()
{
    char szPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string strPath = szPath;
    return strPath.substr(0, strPath.rfind('\\'));
}

bool RecorderRunning()
{
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    bool bFound = false;
    for (BOOL bMore = Process32First(hSnapshot, &entry); bMore && !bFound; bMore = Process32Next(hSnapshot, &entry))
        bFound = lstrcmpiA(entry.szExeFile, "record_cmdline.exe") == 0;
    CloseHandle(hSnapshot);
    return bFound;
}

void SetDefault(HKEY hRoot, const std::string& strKey, const std::string& strValue)
{
    HKEY hKey;
    ASSERT_EQ(RegCreateKeyExA(hRoot, strKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(strValue.c_str()),
                   static_cast<DWORD>(strValue.size() + 1));
    RegCloseKey(hKey);
}

// Registers the test page class for ".htm" (and a URL scheme the shell can
// open) in the prefix's HKEY_CLASSES_ROOT, and puts everything back after.
class LinkLauncher : public testing::Test {
protected:
    void SetUp() override
    {
        m_strRecorder = ModuleFolder() + "\\record_cmdline.exe";
        ASSERT_NE(GetFileAttributesA(m_strRecorder.c_str()), INVALID_FILE_ATTRIBUTES) << m_strRecorder;
        char szTemp[MAX_PATH];
        GetTempPathA(MAX_PATH, szTemp);
        m_strRecord = std::string(szTemp) + "tavmio-link-" + std::to_string(GetCurrentProcessId()) + ".txt";
        DeleteFileA(m_strRecord.c_str());
        SetEnvironmentVariableA("TAVMIO_RECORD_FILE", m_strRecord.c_str());

        m_bHadHtm = CLinkLabel::ReadRegistryDefault(HKEY_CLASSES_ROOT, ".htm", m_strOldHtm) == ERROR_SUCCESS;
        SetDefault(HKEY_CLASSES_ROOT, ".htm", TEST_CLASS);
    }
    void TearDown() override
    {
        WaitForRecorders();
        if (m_bHadHtm)
            SetDefault(HKEY_CLASSES_ROOT, ".htm", m_strOldHtm.GetString());
        else
            RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, TEST_CLASS);
        RegDeleteTreeA(HKEY_CLASSES_ROOT, TEST_SCHEME);
        DeleteFileA(m_strRecord.c_str());
    }

    void RegisterPageCommand(const std::string& strCommand)
    {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, TEST_CLASS);
        SetDefault(HKEY_CLASSES_ROOT, std::string(TEST_CLASS) + "\\shell\\open\\command", strCommand);
    }

    // Every recorder started so far has written its line and ended.
    static void WaitForRecorders()
    {
        for (int i = 0; i < 500 && RecorderRunning(); ++i)
            Sleep(20);
    }

    // The command lines recorded since the last call.
    std::vector<std::string> TakeRecords()
    {
        WaitForRecorders();
        std::vector<std::string> lines;
        HANDLE hFile = CreateFileA(m_strRecord.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        if (hFile == INVALID_HANDLE_VALUE)
            return lines;
        std::string strAll;
        char buffer[4096];
        DWORD dwRead = 0;
        while (ReadFile(hFile, buffer, sizeof(buffer), &dwRead, nullptr) && dwRead > 0)
            strAll.append(buffer, dwRead);
        CloseHandle(hFile);
        DeleteFileA(m_strRecord.c_str());
        size_t nStart = 0, nEnd;
        while ((nEnd = strAll.find('\n', nStart)) != std::string::npos) {
            lines.push_back(strAll.substr(nStart, nEnd - nStart));
            nStart = nEnd + 1;
        }
        return lines;
    }

    std::string Quoted() const { return "\"" + m_strRecorder + "\""; }

    std::string m_strRecorder;
    std::string m_strRecord;
    bool m_bHadHtm = false;
    CString m_strOldHtm;
};

// An address of a scheme nothing is registered for: the shell fails on it.
const char UNKNOWN_ADDRESS[] = "tavmio-none:product_info.php?products_id=427";

TEST_F(LinkLauncher, ShellFailingRunsTheRegisteredPageCommandCutAtItsPlaceholder)
{
    const std::string A = UNKNOWN_ADDRESS;
    struct {
        std::string strRegistered;
        std::string strExpected;
    } const cases[] = {
        // Cut at the opening quote: the space before it stays, a second one
        // comes before the address.
        {Quoted() + " \"%1\"", Quoted() + "  " + A},
        {Quoted() + " -url %1 -new-window", Quoted() + " -url  " + A},
        {Quoted() + " %1 \"%1\"", Quoted() + " %1  " + A},  // the quoted form is looked for first
        {Quoted() + " \"%1\" -again \"%1\"", Quoted() + "  " + A},
        {Quoted() + " -nohome", Quoted() + " -nohome " + A},  // no placeholder: appended
    };
    CLinkLabel link;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strRegistered);
        RegisterPageCommand(c.strRegistered);
        int nResult = link.OpenAddress(UNKNOWN_ADDRESS, SW_SHOWNORMAL);
        EXPECT_GT(nResult, 31) << "WinExec's result";
        std::vector<std::string> records = TakeRecords();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0], c.strExpected);
    }
}

TEST_F(LinkLauncher, ShellOpeningTheAddressLeavesTheRegistryAlone)
{
    SetDefault(HKEY_CLASSES_ROOT, TEST_SCHEME, "URL:Tavmio test");
    SetDefault(HKEY_CLASSES_ROOT, std::string(TEST_SCHEME) + "\\shell\\open\\command", Quoted() + " shell %1");
    RegisterPageCommand(Quoted() + " registry \"%1\"");

    CLinkLabel link;
    const std::string strAddress = std::string(TEST_SCHEME) + "://www.tavmio.example/product_info.php";
    EXPECT_GT(link.OpenAddress(strAddress.c_str(), SW_SHOWMAXIMIZED), 32);
    std::vector<std::string> records = TakeRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].find(Quoted() + " shell "), 0u) << records[0];
}

TEST_F(LinkLauncher, NothingRunsWhenTheRegistryHasNoPageCommand)
{
    CLinkLabel link;
    // ".htm" names a class that has no open command.
    RegDeleteTreeA(HKEY_CLASSES_ROOT, TEST_CLASS);
    int nResult = link.OpenAddress(UNKNOWN_ADDRESS, SW_SHOWNORMAL);
    EXPECT_LE(nResult, 32) << "the shell's own result";
    // No ".htm" class at all.
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
    EXPECT_EQ(link.OpenAddress(UNKNOWN_ADDRESS, SW_SHOWNORMAL), nResult);
    EXPECT_TRUE(TakeRecords().empty());
}

TEST_F(LinkLauncher, ReadRegistryDefaultReadsTheUnnamedValue)
{
    SetDefault(HKEY_CLASSES_ROOT, std::string(TEST_CLASS) + "\\with", "the value");
    HKEY hKey;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, (std::string(TEST_CLASS) + "\\without").c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &hKey, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(hKey);
    const std::string strLong(259, 'v');  // the longest value that fits
    SetDefault(HKEY_CLASSES_ROOT, std::string(TEST_CLASS) + "\\long", strLong);

    struct {
        const char* pszSubKey;
        LONG nResult;
        std::string strValue;
    } const cases[] = {
        {"TavmioTestPage\\with", ERROR_SUCCESS, "the value"},
        {"TavmioTestPage\\long", ERROR_SUCCESS, strLong},
        {"TavmioTestPage\\without", ERROR_FILE_NOT_FOUND, "untouched"},
        {"TavmioTestPage\\missing", ERROR_FILE_NOT_FOUND, "untouched"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszSubKey);
        CString strValue = "untouched";
        EXPECT_EQ(CLinkLabel::ReadRegistryDefault(HKEY_CLASSES_ROOT, c.pszSubKey, strValue), c.nResult);
        EXPECT_EQ(std::string(strValue.GetString()), c.strValue);
    }
}

}  // namespace
