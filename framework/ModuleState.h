// Process-wide framework state: the application name the framework runs under.
#pragma once
#include <windows.h>

struct AFX_MODULE_STATE
{
    // Base name of the executable ("Umbrafen" for Umbrafen.exe); set by CWinApp.
    LPCWSTR m_lpszCurrentAppName = L"";
    // The name's own storage: it must outlive the application object, since window
    // threads may still caption a box while the process ends.
    WCHAR m_szAppName[MAX_PATH] = {};
};

AFX_MODULE_STATE* AfxGetModuleState();

// Every message box of the program: owned by owner (may be null), captioned with the application name.
int AppMessageBox(HWND owner, LPCWSTR text, UINT type = MB_OK | MB_ICONINFORMATION);

// Message box owned by the thread's active window, captioned with the application name.
int AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK);
