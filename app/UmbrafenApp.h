// CUmbrafenApp: start-up, the single-instance rule, the modal control panel
// and the store of the settings when it has ended.
#pragma once
#include "framework/Framework.h"

extern int InstanceFound;

// The running instance's control panel: its user data marker and the application name as title.
BOOL IsRunningInstance(HWND hwnd);
BOOL CALLBACK FindRunningInstanceProc(HWND hwnd, LPARAM lParam);
// How a start stands to this session's instance mutex.
enum class InstanceClaim
{
    Claimed,   // this start holds it
    Running,   // another instance holds it, and its panel (runningPanel) answers
    NoAnswer   // another instance holds it, and no panel of it answered within 15 s
};
// Takes the mutex, waiting up to 15 s for it or for the holder's panel to answer.
InstanceClaim ClaimSingleInstance(HWND& runningPanel);

class CUmbrafenApp : public CWinApp
{
public:
    CUmbrafenApp() : CWinApp(nullptr) {}
    BOOL InitInstance() override;
};
