// CUmbrafenApp: start-up, the single-instance rule, the modal control panel
// and the store of the settings when it has ended.
#pragma once
#include "framework/Framework.h"

extern int InstanceFound;

// The running instance's control panel: its user data marker and the application name as title.
BOOL IsRunningInstance(HWND hwnd);
BOOL CALLBACK FindRunningInstanceProc(HWND hwnd, LPARAM lParam);
// Takes this session's instance mutex. FALSE when another instance holds it; its
// panel has then been brought forward if it appeared within five seconds, or, with
// runningPanel, only handed back there.
BOOL ClaimSingleInstance(HWND* runningPanel = nullptr);

class CUmbrafenApp : public CWinApp
{
public:
    CUmbrafenApp() : CWinApp(nullptr) {}
    BOOL InitInstance() override;
};
