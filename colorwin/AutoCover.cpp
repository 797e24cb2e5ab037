// The timing rules of auto-cover; the desktop is read only through IAutoCoverDesktop.
#include "colorwin/AutoCover.h"
#include <algorithm>

namespace {

bool Contains(const RECT& outer, const RECT& inner)
{
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

}   // namespace

CAutoCover::CAutoCover(IAutoCoverDesktop& desktop) : m_desktop(desktop) {}

void CAutoCover::Configure(bool enabled, int afterSeconds, const std::vector<int>& displays, int dimSeconds)
{
    const ULONGLONG afterMs = static_cast<ULONGLONG>(afterSeconds) * 1000;
    const ULONGLONG dimMs = static_cast<ULONGLONG>(dimSeconds) * 1000;
    if (enabled == m_enabled && afterMs == m_afterMs && dimMs == m_dimMs && displays == m_displays) return;
    m_enabled = enabled;
    m_afterMs = afterMs;
    m_dimMs = dimMs;
    m_displays = displays;
    Restart(m_desktop.Now());
}

void CAutoCover::SetEnabled(bool enabled)
{
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    Restart(m_desktop.Now());
}

void CAutoCover::Pause(ULONGLONG ms)
{
    m_pausedUntil = m_desktop.Now() + ms;
}

void CAutoCover::Resume()
{
    m_pausedUntil = 0;
    Restart(m_desktop.Now());
}

bool CAutoCover::IsPaused()
{
    if (m_pausedUntil != 0 && m_desktop.Now() >= m_pausedUntil)
    {
        Restart(m_pausedUntil);
        m_pausedUntil = 0;
    }
    return m_pausedUntil != 0;
}

void CAutoCover::SetSessionLocked(bool locked)
{
    if (m_locked && !locked) RestartWaits();
    m_locked = locked;
}

void CAutoCover::RestartWaits()
{
    Restart(m_desktop.Now());
}

void CAutoCover::DisplayChanged()
{
    m_monitorsSince = m_desktop.Now();
}

// Nobody was watched before: every monitor starts its wait at that moment, whenever the next check comes.
void CAutoCover::Restart(ULONGLONG at)
{
    m_watches.clear();
    m_restartedAt = at;
}

bool CAutoCover::Chosen(int display) const
{
    return m_displays.empty() || std::find(m_displays.begin(), m_displays.end(), display) != m_displays.end();
}

AutoCoverActions CAutoCover::Check(const std::vector<AutoCoverMonitor>& monitors)
{
    AutoCoverActions actions;
    if (!m_enabled || IsPaused())
    {
        for (const AutoCoverMonitor& m : monitors)
            if (m_desktop.CoverOn(m.handle) == CoverKind::Auto) actions.uncover.push_back(m.handle);
        return actions;
    }

    const ULONGLONG now = m_desktop.Now();
    const POINT pointer = m_desktop.Pointer();
    const AutoCoverForeground fg = m_desktop.Foreground();
    // A cover of ours in front says nothing about the user.
    const bool foreground = fg.present && !fg.isCover;
    // A dock that wakes up shows and drops monitors for a few seconds.
    std::vector<HMONITOR> set;
    for (const AutoCoverMonitor& m : monitors) set.push_back(m.handle);
    std::sort(set.begin(), set.end());
    if (set != m_monitors)
    {
        m_monitors.swap(set);
        m_monitorsSince = now;
    }
    const bool mayCover = !m_locked && now - m_monitorsSince >= AutoCoverSettleMs;

    std::map<HMONITOR, Watch> watches;
    for (const AutoCoverMonitor& m : monitors)
    {
        const CoverKind kind = m_desktop.CoverOn(m.handle);
        const bool pointerIn = ::PtInRect(&m.rect, pointer) != FALSE;
        const bool fullScreen = foreground && Contains(fg.rect, m.rect);
        const bool inUse = pointerIn || (foreground && fg.monitor == m.handle);
        const bool chosen = Chosen(m.display);

        const bool lifted = kind == CoverKind::Auto && (pointerIn || fullScreen || !chosen);
        if (lifted) actions.uncover.push_back(m.handle);

        const auto it = m_watches.find(m.handle);
        Watch w = it == m_watches.end() ? Watch{m_restartedAt ? m_restartedAt : now, false} : it->second;
        // Under its own dim-stage cover the monitor keeps counting towards the full cover.
        w.dimmed = w.dimmed && kind == CoverKind::Auto && !lifted;
        // The wait starts again whenever the monitor is used, and once any other cover on it has gone.
        if (inUse || fullScreen || (!w.dimmed && (kind != CoverKind::None || w.covered))) w.idleSince = now;
        w.covered = kind != CoverKind::None;
        const ULONGLONG idle = now - w.idleSince;
        if (w.dimmed && idle >= m_afterMs)
        {
            actions.deepen.push_back(m.handle);
            w.dimmed = false;
        }
        else if (!w.covered && chosen && mayCover && idle >= (m_dimMs ? m_dimMs : m_afterMs))
        {
            (m_dimMs ? actions.dim : actions.cover).push_back(m.handle);
            w = {m_dimMs ? w.idleSince : now, true, m_dimMs != 0};
        }
        watches[m.handle] = w;
    }
    m_watches.swap(watches);
    m_restartedAt = 0;
    return actions;
}
