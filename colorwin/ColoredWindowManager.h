// Starting and closing coloured windows, on the control panel's thread. Each window
// then runs on a thread of its own (FullScreenDialog.h); the two sides meet only in
// the registry (OpenWindowRegistry.h).
//   CoverRequest / CoverOptions  what to cover, and how
//   StartColoredWindows          one window thread per request
//   CloseColoredWindowsOn        closes the windows on the given monitors, without waiting
//   IsMonitorCovered             whether a window covers a monitor or is about to
//   IsMonitorAutoCovered, ClaimAutoCover  auto-cover's own windows, and handing one to the user
#pragma once
#include <windows.h>
#include <vector>
#include "framework/Strings.h"

struct CoverRequest
{
    HMONITOR monitor;
    CString label;   // the monitor's label, the first part of the window's title
};

struct CoverOptions
{
    COLORREF color;
    BOOL onTop;
    BOOL inAltTab;
    BOOL passthrough;
    BYTE alpha;
    BOOL excludeFromCapture = FALSE;   // kept out of screenshots and recordings where the system can
};

// A monitor that can no longer be queried is skipped silently, as is a request whose
// thread cannot be started. Does not wait for the windows to come up. autoCover: the
// windows are auto-cover's, which takes them away again when the pointer comes back.
void StartColoredWindows(const std::vector<CoverRequest>& requests, const CoverOptions& options,
                         BOOL autoCover = FALSE);
// Posts WM_CLOSE to the window registered for each monitor (a window still starting there
// is cancelled); monitors without one are skipped.
void CloseColoredWindowsOn(const std::vector<HMONITOR>& monitors);
// Whether a window covers, or is about to cover, the monitor.
BOOL IsMonitorCovered(HMONITOR monitor);
// Whether only auto-cover's windows cover, or are about to cover, the monitor.
BOOL IsMonitorAutoCovered(HMONITOR monitor);
// An auto-cover on the monitor becomes a cover the user made, which auto-cover leaves alone.
void ClaimAutoCover(HMONITOR monitor);
