// The control panel's side of auto-cover: the once-a-second check on its timer, and the
// pause and resume the tray menu offers. The rules themselves are in colorwin/AutoCover.
#include <algorithm>
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
                          Preferences.AutoCoverDisplays, Preferences.AutoCoverDimSeconds);
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
    if (actions.cover.empty() && actions.dim.empty() && actions.deepen.empty()) return;

    // The covers Show would make: with the options the panel shows at this moment.
    CoverOptions options = ReadCoverOptions();
    // The dim stage's cover goes to the panel's opacity, unless it is already as opaque.
    for (HMONITOR monitor : actions.deepen)
    {
        BYTE alpha = 0, maxAlpha = 0;
        if (CoverAlphaOn(monitor, alpha, maxAlpha) && alpha < std::min(options.alpha, maxAlpha))
            SetCoverAlphaOn(monitor, options.alpha);
    }
    const auto requestsFor = [&](const std::vector<HMONITOR>& chosen) {
        std::vector<CoverRequest> requests;
        for (HMONITOR monitor : chosen)
            for (size_t i = 0; i < monitors.size(); ++i)
                if (monitors[i].handle == monitor) requests.push_back(CoverRequestFor(rows[i]));
        return requests;
    };
    StartColoredWindows(requestsFor(actions.cover), options, TRUE);
    options.alpha = static_cast<BYTE>(Preferences.AutoCoverDimOpacity);
    StartColoredWindows(requestsFor(actions.dim), options, TRUE);
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
