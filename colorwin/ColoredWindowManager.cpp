#include "colorwin/ColoredWindowManager.h"
#include "colorwin/FullScreenDialog.h"
#include "colorwin/OpenWindowRegistry.h"
#include "display/DisplayApi.h"
#include "display/HandleText.h"

void StartColoredWindows(const std::vector<CoverRequest>& requests, const CoverOptions& options, BOOL autoCover)
{
    for (const CoverRequest& request : requests)
    {
        MONITORINFO info{};
        info.cbSize = sizeof(MONITORINFO);
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
        dlg.m_nTicket = OpenWindowRegistry.Reserve(pThread->m_hThread, FormatHandleText(request.monitor), autoCover);
        pThread->ResumeThread();
    }
}

void CloseColoredWindowsOn(const std::vector<HMONITOR>& monitors)
{
    for (HMONITOR monitor : monitors)
        if (HWND hWnd = OpenWindowRegistry.BeginCloseOn(FormatHandleText(monitor)))
            ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
}

BOOL IsMonitorCovered(HMONITOR monitor)
{
    return OpenWindowRegistry.IsCovered(FormatHandleText(monitor));
}

BOOL IsMonitorAutoCovered(HMONITOR monitor)
{
    return OpenWindowRegistry.IsAutoCovered(FormatHandleText(monitor));
}

void ClaimAutoCover(HMONITOR monitor)
{
    OpenWindowRegistry.ClaimAutoCover(FormatHandleText(monitor));
}
