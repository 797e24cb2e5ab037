// The control panel's side of auto-cover: the once-a-second check on its timer, and the
// pause and resume the tray menu offers. The rules themselves are in colorwin/AutoCover.
#include "colorwin/ColoredWindowManager.h"
#include "display/DisplayApi.h"
#include "display/MonitorEnum.h"
#include "panel/UmbrafenDlg.h"
#include "settings/AppSettings.h"
#include "settings/Preferences.h"

namespace {

constexpr UINT AutoCoverCheckMs = 1000;

}   // namespace

void CUmbrafenDlg::ApplyAutoCoverPreferences()
{
    m_autoCover.Configure(Preferences.AutoCoverEnabled != 0, Preferences.AutoCoverSeconds,
                          Preferences.AutoCoverDisplays);
    if (m_autoCover.IsEnabled())
    {
        SetTimer(AutoCoverTimer, AutoCoverCheckMs, nullptr);
        return;
    }
    // Switched off: its own covers go with it, then nothing runs.
    CheckAutoCover();
    KillTimer(AutoCoverTimer);
}

void CUmbrafenDlg::CheckAutoCover()
{
    if (m_bClosing) return;
    std::vector<AutoCoverMonitor> monitors;
    std::vector<int> rows;
    const int count = m_list.GetItemCount();
    for (int row = 0; row < count; ++row)
    {
        const HMONITOR handle = MonitorOf(row);
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (!Display().GetMonitorInfoW(handle, &info)) continue;   // gone; the next list fill drops it
        monitors.push_back({handle, DisplayNumberOf(m_list.GetItemText(row, DeviceNameColumn)), info.rcMonitor});
        rows.push_back(row);
    }

    const AutoCoverActions actions = m_autoCover.Check(monitors);
    CloseColoredWindowsOn(actions.uncover);
    if (actions.cover.empty()) return;

    // The covers Show would make: with the options the panel shows at this moment.
    const CoverOptions options = ReadCoverOptions();
    std::vector<CoverRequest> requests;
    for (HMONITOR monitor : actions.cover)
        for (size_t i = 0; i < monitors.size(); ++i)
            if (monitors[i].handle == monitor) requests.push_back(CoverRequestFor(rows[i]));
    StartColoredWindows(requests, options, TRUE);
}

void CUmbrafenDlg::PauseAutoCover()
{
    m_autoCover.Pause();
    CheckAutoCover();   // takes its covers away now rather than on the next tick
}

void CUmbrafenDlg::ResumeAutoCover()
{
    m_autoCover.Resume();
}

BOOL CUmbrafenDlg::IsAutoCoverPaused()
{
    return m_autoCover.IsPaused();
}
