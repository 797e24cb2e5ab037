#include "colorwin/ColoredWindowManager.h"
#include <algorithm>
#include "colorwin/FullScreenDialog.h"
#include "colorwin/OpenWindowRegistry.h"
#include "display/DisplayApi.h"
#include "display/HandleText.h"

CoverTickets& CoverTickets::operator+=(const CoverTickets& other)
{
    started.insert(started.end(), other.started.begin(), other.started.end());
    closed.insert(closed.end(), other.closed.begin(), other.closed.end());
    return *this;
}

std::vector<UINT_PTR> StartColoredWindows(const std::vector<CoverRequest>& requests, const CoverOptions& options,
                                          BOOL autoCover)
{
    std::vector<UINT_PTR> tickets;
    for (const CoverRequest& request : requests)
    {
        tickets.push_back(0);
        MONITORINFOEXW info{};
        info.cbSize = sizeof(info);
        if (!Display().GetMonitorInfoW(request.monitor, &info)) continue;   // the monitor went away

        CWinThread* pThread = AfxBeginThread(CThreadFullScreenDialog::GetThisClass(), THREAD_PRIORITY_NORMAL, 0,
                                             CREATE_SUSPENDED, nullptr);
        if (!pThread) continue;   // no thread, no window for this row
        CDlgFullScreenDialog& dlg = static_cast<CThreadFullScreenDialog*>(pThread)->m_dlgFullScreen;
        dlg.m_hMonitor = request.monitor;
        dlg.m_rcMonitor = info.rcMonitor;
        dlg.m_crColor = options.color;
        dlg.m_bOnTop = options.onTop;
        dlg.m_pOpenWindows = &OpenWindowRegistry;
        dlg.m_strMonitorLabel = request.label;
        dlg.m_bInAltTab = options.inAltTab;
        dlg.m_nAlpha = options.alpha;
        dlg.m_bPassthrough = options.passthrough;
        dlg.m_bExcludeFromCapture = options.excludeFromCapture;
        dlg.m_bActivate = options.activate;
        dlg.m_strDevice = info.szDevice;
        dlg.m_nTicket = OpenWindowRegistry.Reserve(pThread->m_hThread, FormatHandleText(request.monitor), autoCover,
                                                   options.alpha, options.passthrough ? PassthroughMaxAlpha : 255);
        tickets.back() = dlg.m_nTicket;
        pThread->ResumeThread();
    }
    return tickets;
}

namespace {

// Posted, not sent: a send would answer other threads' sends while it waits, and a command
// must be wholly under way before the next one is handled.
void PostClose(const std::vector<HWND>& windows)
{
    for (HWND hWnd : windows) ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
}

}   // namespace

std::vector<UINT_PTR> CloseColoredWindowsOn(const std::vector<HMONITOR>& monitors)
{
    std::vector<UINT_PTR> tickets;
    std::vector<HWND> windows;
    for (HMONITOR monitor : monitors)
    {
        const std::vector<UINT_PTR> more = OpenWindowRegistry.BeginCloseOn(FormatHandleText(monitor), windows);
        tickets.insert(tickets.end(), more.begin(), more.end());
    }
    PostClose(windows);
    return tickets;
}

std::vector<UINT_PTR> BeginCloseAllColoredWindows()
{
    std::vector<HWND> windows;
    std::vector<UINT_PTR> tickets = OpenWindowRegistry.BeginCloseAll(windows);
    PostClose(windows);
    return tickets;
}

BOOL WaitUntilInPlace(const CoverTickets& tickets, DWORD timeoutMs)
{
    return OpenWindowRegistry.WaitUntil(tickets.started, tickets.closed, timeoutMs);
}

UINT_PTR CoverOnMonitor(HMONITOR monitor)
{
    return OpenWindowRegistry.CoverOn(FormatHandleText(monitor));
}

BOOL IsMonitorCovered(HMONITOR monitor)
{
    return CoverOnMonitor(monitor) != 0;
}

BOOL IsMonitorAutoCovered(HMONITOR monitor)
{
    return OpenWindowRegistry.IsAutoCovered(FormatHandleText(monitor));
}

void ClaimAutoCover(HMONITOR monitor)
{
    OpenWindowRegistry.ClaimAutoCover(FormatHandleText(monitor));
}

void RecheckColoredWindows()
{
    for (HWND hWnd : OpenWindowRegistry.GetWindows()) ::PostMessageW(hWnd, WM_COVER_RECHECK, 0, 0);
}

int SteppedAlpha(int alpha, bool dimmer, int minAlpha, int maxAlpha)
{
    if (dimmer) return std::min(alpha + CoverAlphaStep, maxAlpha);
    return alpha <= minAlpha ? 0 : std::max(alpha - CoverAlphaStep, minAlpha);
}

BOOL CoverAlphaOn(HMONITOR monitor, BYTE& alpha, BYTE& maxAlpha)
{
    return OpenWindowRegistry.AlphaOn(FormatHandleText(monitor), alpha, maxAlpha);
}

void SetCoverAlphaOn(HMONITOR monitor, BYTE alpha)
{
    if (HWND hWnd = OpenWindowRegistry.SetAlphaOn(FormatHandleText(monitor), alpha))
        ::PostMessageW(hWnd, WM_COVER_LOOK, alpha, static_cast<LPARAM>(CLR_INVALID));
}

void PeekColoredWindows(BOOL peek)
{
    for (HWND hWnd : OpenWindowRegistry.SetPeeking(peek)) ::PostMessageW(hWnd, WM_COVER_PEEK, peek, 0);
}
