// Starting and closing coloured windows, on the control panel's thread. Each window
// then runs on a thread of its own (FullScreenDialog.h); the two sides meet only in
// the registry (OpenWindowRegistry.h).
//   CoverRequest / CoverOptions  what to cover, and how
//   CoverTickets                 what a command started and closed, to wait for
//   StartColoredWindows          one window thread per request
//   CloseColoredWindowsOn        closes the windows on the given monitors, without waiting
//   BeginCloseAllColoredWindows  closes every window, without waiting
//   WaitUntilInPlace             waits until what a command did has taken effect
//   CoverOnMonitor, IsMonitorCovered  the window that covers a monitor or is about to
//   IsMonitorAutoCovered, ClaimAutoCover  auto-cover's own windows, and handing one to the user
//   RecheckColoredWindows        every window checks its monitor, opacity and band again
//   WM_COVER_RECHECK             the message that asks one window for that
#pragma once
#include <windows.h>
#include <vector>
#include "framework/Strings.h"

// Posted to a cover: re-check, as at a resume or a display change.
constexpr UINT WM_COVER_RECHECK = WM_APP + 0x50;

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
    BOOL activate = FALSE;             // the panel's Show alone makes its covers the active windows
};

// The tickets of the windows a command started (0 for one it could not start) and of
// those it asked to close.
struct CoverTickets
{
    std::vector<UINT_PTR> started;
    std::vector<UINT_PTR> closed;
    CoverTickets& operator+=(const CoverTickets& other);
};

// A monitor that can no longer be queried is skipped silently, as is a request whose
// thread cannot be started (ticket 0 for either). Does not wait for the windows to come
// up. autoCover: the windows are auto-cover's, which takes them away again when the
// pointer comes back.
std::vector<UINT_PTR> StartColoredWindows(const std::vector<CoverRequest>& requests, const CoverOptions& options,
                                          BOOL autoCover = FALSE);
// Posts WM_CLOSE to the window open on each monitor (a window still starting there is
// cancelled). From now on the monitors count as uncovered. Returns the tickets of every
// window on its way out there.
std::vector<UINT_PTR> CloseColoredWindowsOn(const std::vector<HMONITOR>& monitors);
// The same for every window.
std::vector<UINT_PTR> BeginCloseAllColoredWindows();
// Waits, answering sent messages, until the started windows are shown (or taken away
// again by a later command) and the closed ones destroyed. FALSE after timeoutMs, or as
// soon as a started window is known not to come up.
BOOL WaitUntilInPlace(const CoverTickets& tickets, DWORD timeoutMs);
// The ticket of the window that covers, or is about to cover, the monitor; 0 if none.
UINT_PTR CoverOnMonitor(HMONITOR monitor);
BOOL IsMonitorCovered(HMONITOR monitor);
// Whether only auto-cover's windows cover, or are about to cover, the monitor.
BOOL IsMonitorAutoCovered(HMONITOR monitor);
// An auto-cover on the monitor becomes a cover the user made, which auto-cover leaves alone.
void ClaimAutoCover(HMONITOR monitor);
// After an unlock: posted, so a window busy with its colour dialog holds up nobody.
void RecheckColoredWindows();
