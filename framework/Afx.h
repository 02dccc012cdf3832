// Tavmio's application framework: the small set of window, dialog, string,
// file and socket classes the program is written against.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <windows.h>

#include "CString.h"
#include "CObject.h"
#include "CGdiObject.h"
#include "CWnd.h"
#include "CDialog.h"
#include "Controls.h"
#include "CWinApp.h"
#include "CFile.h"
#include "CFileDialog.h"
#include "CSocket.h"
