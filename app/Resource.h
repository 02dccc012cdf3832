// Resource and control identifiers of the executable.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_DOWNLOADER_DIALOG 102
#define IDR_MAINFRAME 128

#define IDC_PAUSE 3
#define IDC_STOP 4
#define IDC_EDIT_REQUEST 1000
#define IDC_EDIT_REPLY 1001
#define IDC_EDIT_URL 1002
#define IDC_PROGRESS 1003
#define IDC_SPEED 1004
#define IDC_COMBO_QUALITY 1006
#define IDC_GUIDE 1007

// The system-menu command that opens the about box.
#define IDM_ABOUTBOX 0x0010
