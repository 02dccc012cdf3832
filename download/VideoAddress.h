// Video address resolution: fetches a video page into a temporary file and
// turns its player line into the address of the video stream and a proposed
// file name. Runs on the download worker thread.
#pragma once

#include "Afx.h"
#include "HttpSocket.h"

// The stream address of the last successful resolution.
extern CString g_strStreamAddress;

// Host of the video site, which also serves the video streams.
extern const char* const VIDEO_SITE_HOST;
// Redirections FetchPage follows for one page before it gives up.
constexpr int MAX_REDIRECTIONS = 20;

// The user's application-data folder followed by "\Tavmio" (not created);
// empty when the shell cannot name the folder.
CString GetDownloadFolder();

// Splits an absolute http address into host, object (path with query) and
// port, after browser-mode canonicalisation. FALSE, with an empty host and
// object, when the address cannot be split.
BOOL SplitAddress(const CString& strAddress, CString& strHost, CString& strObject, int& nPort);

// The Location of the redirection reply held by socket. FALSE when it is
// missing or longer than the 255 characters a redirection may have: a cut
// address would lead somewhere else.
BOOL GetRedirectLocation(CHttpSocket& socket, CString& strLocation);

// Downloads the resource at strPageAddress into strFilePath, following
// redirections. The user sees a message when the server cannot be reached or
// the transfer breaks off.
BOOL FetchPage(CString strPageAddress, CString strFilePath);

// Fetches the page into strTempFilePath and builds the stream address for
// nQuality (0 normal FLV, 1 high FLV, 2 high MP4) from its player line; on
// success it is left in g_strStreamAddress. strProposedName receives the
// title when the line has one.
BOOL ResolveVideoAddress(CString strPageAddress, CString& strProposedName, CString strTempFilePath,
                         int nQuality);
