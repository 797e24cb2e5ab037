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
//   SteppedAlpha, CoverAlphaOn, SetCoverAlphaOn  a cover's own opacity, changed in place
//   PeekColoredWindows           every cover see-through and click-through for a while
//   WM_COVER_RECHECK, WM_COVER_LOOK, WM_COVER_PEEK  the messages a cover takes on its own thread
#pragma once
#include <windows.h>
#include <vector>
#include "framework/Strings.h"

// Posted to a cover: re-check, as at a resume or a display change.
constexpr UINT WM_COVER_RECHECK = WM_APP + 0x50;
// Posted to a cover: take the opacity wParam (capped as at its start) and, unless lParam is
// CLR_INVALID, the colour lParam, in place: the same window, no flicker.
constexpr UINT WM_COVER_LOOK = WM_APP + 0x51;
// Posted to a cover: wParam TRUE turns it see-through and click-through, FALSE back as it was.
constexpr UINT WM_COVER_PEEK = WM_APP + 0x52;

// The cap of a cover's opacity: clicks must still be seen to pass through a Passthrough cover.
constexpr BYTE PassthroughMaxAlpha = 240;
constexpr int CoverAlphaStep = 20;

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
// A cover's opacity one step more opaque (dimmer) or less, from minAlpha to maxAlpha; 0 when
// a step below minAlpha closes the cover.
int SteppedAlpha(int alpha, bool dimmer, int minAlpha, int maxAlpha);
// The opacity of the cover on the monitor (open or starting) and its cap; FALSE when none.
BOOL CoverAlphaOn(HMONITOR monitor, BYTE& alpha, BYTE& maxAlpha);
// That cover takes the opacity on its own thread; window and registry entry stay.
void SetCoverAlphaOn(HMONITOR monitor, BYTE alpha);
// TRUE: every cover, and every one that starts until FALSE, is see-through and click-through.
void PeekColoredWindows(BOOL peek);
