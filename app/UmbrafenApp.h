// CUmbrafenApp: start-up, the single-instance rule, the modal control panel
// and the store of the settings when it has ended.
#pragma once
#include "framework/Framework.h"

class CUmbrafenDlg;

// The control panel's window user data; with the application name as title it
// marks the running instance for a second start.
constexpr LONG InstanceMarker = 0x312;

extern int InstanceFound;
extern CUmbrafenDlg* g_pMainDlg;

BOOL CALLBACK FindRunningInstanceProc(HWND hwnd, LPARAM lParam);
// Takes this session's instance mutex. FALSE when another instance holds it; its
// panel has then been brought forward if it appeared within five seconds.
BOOL ClaimSingleInstance();

class CUmbrafenApp : public CWinApp
{
public:
    CUmbrafenApp() : CWinApp(nullptr) {}
    BOOL InitInstance() override;
};
