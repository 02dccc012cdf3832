#include "VideoAddress.h"

#include "HttpSocket.h"

#include <shlobj.h>
#include <wininet.h>

#include <cstdlib>
#include <string>
#include <vector>

CString g_strStreamAddress;

const char* const VIDEO_SITE_HOST = "www.youtube.com";

namespace {

const int RECEIVE_TIMEOUT_MS = 30000;
const int LOCATION_SIZE = 256;      // a Location of up to 255 characters
const int CONTENT_LENGTH_SIZE = 30; // a Content-Length of up to 29 characters

// CHttpSocket takes its texts as char pointers but never writes to them.
char* Text(const CString& str)
{
    return const_cast<char*>(str.GetString());
}

CString Utf8ToAnsi(const CString& strUtf8)
{
    if (strUtf8.IsEmpty())
        return CString();
    const int nWide = MultiByteToWideChar(CP_UTF8, 0, strUtf8, strUtf8.GetLength(), nullptr, 0);
    if (nWide <= 0)
        return CString();
    std::wstring strWide(static_cast<size_t>(nWide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, strUtf8, strUtf8.GetLength(), &strWide[0], nWide);
    // Characters the code page lacks become its default character (no
    // look-alike substitutes).
    const DWORD dwFlags = WC_NO_BEST_FIT_CHARS;
    const int nAnsi = WideCharToMultiByte(CP_ACP, dwFlags, strWide.c_str(), nWide, nullptr, 0, nullptr, nullptr);
    if (nAnsi <= 0)
        return CString();
    std::string strAnsi(static_cast<size_t>(nAnsi), '\0');
    WideCharToMultiByte(CP_ACP, dwFlags, strWide.c_str(), nWide, &strAnsi[0], nAnsi, nullptr, nullptr);
    return CString(strAnsi);
}

// Makes a title usable as a file name.
void ReplaceFileNameCharacters(CString& strName)
{
    for (char ch : {'*', '\\', '/', '?', '"', '<', '>', '|', ':'})
        strName.Replace(ch, '_');
}

// Finds pszKey in strLower (the line in lower case) and the first "&" after
// it; the text of strLine between the two is the value. FALSE when either is
// missing.
BOOL FindParameter(const CString& strLine, const CString& strLower, const char* pszKey, CString& strValue)
{
    const int nKey = strLower.Find(pszKey);
    if (nKey < 0)
        return FALSE;
    const int nEnd = strLower.Find('&', nKey + 1);
    if (nEnd < 0)
        return FALSE;
    const int nStart = nKey + static_cast<int>(strlen(pszKey));
    strValue = strLine.Mid(nStart, nEnd - nStart);
    return TRUE;
}

} // namespace

CString GetDownloadFolder()
{
    char szFolder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, szFolder, CSIDL_APPDATA, FALSE))
        return CString();
    return CString(szFolder) + "\\Tavmio";
}

BOOL SplitAddress(const CString& strAddress, CString& strHost, CString& strObject, int& nPort)
{
    strHost.Empty();
    strObject.Empty();
    nPort = 0;

    DWORD dwSize = static_cast<DWORD>(strAddress.GetLength()) * 3 + 64;
    std::vector<char> canonical;
    BOOL bCanonical = FALSE;
    for (int nTry = 0; nTry < 2 && !bCanonical; ++nTry) {
        canonical.assign(dwSize + 1, '\0');
        bCanonical = InternetCanonicalizeUrlA(strAddress, canonical.data(), &dwSize, ICU_BROWSER_MODE);
        if (!bCanonical && GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return FALSE;
    }
    if (!bCanonical)
        return FALSE;

    // Lengths of 1 with null pointers: the parts come back as pointers into
    // the canonical address.
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = 1;
    parts.dwUrlPathLength = 1;
    parts.dwExtraInfoLength = 1;
    if (!InternetCrackUrlA(canonical.data(), 0, 0, &parts))
        return FALSE;
    if (!parts.lpszHostName || parts.dwHostNameLength == 0)
        return FALSE;

    strHost = CString(parts.lpszHostName, static_cast<int>(parts.dwHostNameLength));
    if (parts.lpszUrlPath)
        strObject = CString(parts.lpszUrlPath, static_cast<int>(parts.dwUrlPathLength));
    if (parts.lpszExtraInfo)
        strObject += CString(parts.lpszExtraInfo, static_cast<int>(parts.dwExtraInfoLength));
    nPort = parts.nPort;
    return TRUE;
}

BOOL GetRedirectLocation(CHttpSocket& socket, CString& strLocation)
{
    char szLocation[LOCATION_SIZE] = {};
    const int nLocation = socket.GetField("Location", szLocation, sizeof(szLocation));
    if (nLocation <= 0 || nLocation >= LOCATION_SIZE)
        return FALSE;
    strLocation = szLocation;
    return TRUE;
}

BOOL FetchPage(CString strPageAddress, CString strFilePath)
{
    CHttpSocket socket;
    CString strAddress = strPageAddress;
    int nStatus = -1;

    for (int nRedirections = 0;; ++nRedirections) {
        CString strHost, strObject;
        int nPort = 0;
        SplitAddress(strAddress, strHost, strObject, nPort);

        long nRequestLength = 0;
        socket.FormatRequestHeader(Text(strHost), Text(strObject), nRequestLength, nullptr, nullptr, 0,
                                   0, 0);
        // A request that could not be built or sent has no status of its
        // own; the socket would still show the previous hop's reply.
        BOOL bSent = FALSE;
        if (!strHost.IsEmpty() && nRequestLength > 0) {
            socket.Socket();
            socket.Connect(Text(strHost), nPort);
            bSent = socket.SendRequest(nullptr, 0);
            socket.SetTimeout(RECEIVE_TIMEOUT_MS, 0);
        }
        nStatus = bSent ? socket.GetServerState() : -1;
        if (nStatus < 300 || nStatus > 399)
            break;
        if (nRedirections == MAX_REDIRECTIONS) {
            nStatus = -1;
            break;
        }

        const BOOL bLocation = GetRedirectLocation(socket, strAddress);
        socket.CloseSocket();
        if (!bLocation) {
            nStatus = -1;
            break;
        }
    }

    if (nStatus < 200 || nStatus > 399) {
        AfxMessageBox("Error!Can't connect to the youtube server!");
        socket.CloseSocket();
        return FALSE;
    }

    char szLength[CONTENT_LENGTH_SIZE] = {};
    long long nTotal = 0;
    if (socket.GetField("Content-Length", szLength, sizeof(szLength)) >= 0)
        nTotal = strtoll(szLength, nullptr, 10);

    // A new page replaces the old one completely, so no bytes of a longer
    // earlier page can be read as part of it.
    CFile file;
    if (!file.Open(strFilePath, CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyNone))
        return FALSE;

    char buffer[1024];
    long long nReceived = 0;
    while (nReceived < nTotal) {
        const long nRead = socket.Receive(buffer, sizeof(buffer));
        if (nRead == 0) {
            AfxMessageBox("Connecting closed by the server!");
            file.Close();
            return FALSE;
        }
        if (nRead < 0) {
            AfxMessageBox("Time out when reading the data.");
            file.Close();
            return FALSE;
        }
        if (!file.Write(buffer, static_cast<UINT>(nRead))) {
            file.Close();
            return FALSE;
        }
        nReceived += nRead;
    }

    socket.CloseSocket();
    file.Close();
    return TRUE;
}

BOOL ResolveVideoAddress(CString strPageAddress, CString& strProposedName, CString strTempFilePath,
                         int nQuality)
{
    CString strStream;

    if (!FetchPage(strPageAddress, strTempFilePath))
        return FALSE;

    CStdioFile file;
    if (!file.Open(strTempFilePath, CFile::modeRead | CFile::typeText))
        return FALSE;

    CString strLine;
    while (file.ReadString(strLine)) {
        CString strLower = strLine;
        strLower.MakeLower();
        if (strLower.Find("fullscreenurl") < 0)
            continue;

        CString strVideoId;
        FindParameter(strLine, strLower, "&video_id=", strVideoId);
        if (!strVideoId.IsEmpty()) {
            CString strTicket;
            if (FindParameter(strLine, strLower, "&t=", strTicket))
                strStream = CString("http://") + VIDEO_SITE_HOST + "/get_video?video_id=" + strVideoId +
                            "&t=" + strTicket + "&use_get_video_info=1&load_modules=1";

            const int nTitle = strLower.Find("&title=");
            if (nTitle >= 0) {
                const int nStart = nTitle + 7;
                const int nAmpersand = strLower.Find('&', nTitle + 1);
                int nApostrophe = strLower.Find('\'', nTitle);
                if (nApostrophe < 0)
                    nApostrophe = strLower.GetLength();
                const int nEnd = (nAmpersand >= 0 && nAmpersand < nApostrophe) ? nAmpersand : nApostrophe;

                CString strTitle = Utf8ToAnsi(strLine.Mid(nStart, nEnd - nStart));
                ReplaceFileNameCharacters(strTitle);

                // The quality is named in the address only when there is an
                // address to name it in.
                switch (nQuality) {
                case 0:
                    strProposedName = strTitle;
                    break;
                case 1:
                    strProposedName = strTitle;
                    if (!strStream.IsEmpty())
                        strStream += "&fmt=6";
                    break;
                case 2:
                    strProposedName = strTitle;
                    if (!strStream.IsEmpty())
                        strStream += "&fmt=18";
                    break;
                default:
                    break;
                }
            }
        }
        break;
    }

    file.Close();
    CFile::Remove(strTempFilePath);

    if (strStream.IsEmpty())
        return FALSE;
    g_strStreamAddress = strStream;
    return TRUE;
}
