// Auto-cover: monitors nobody uses cover themselves, and uncover when the pointer comes back.
// Runs on the control panel's thread, one check per timer tick.
//   CoverKind            what covers a monitor: nothing, a cover the user made, or auto-cover's own
//   AutoCoverForeground  the foreground window as a check sees it
//   IAutoCoverDesktop    what a check reads: clock, pointer, foreground, covers (tests put a fake here)
//   AutoCoverDesktop     the real desktop (AutoCoverDesktop.cpp)
//   AutoCoverMonitor, AutoCoverActions  a check's input and its answer
//   CAutoCover           the timing rules
#pragma once
#include <windows.h>
#include <map>
#include <vector>

enum class CoverKind
{
    None,
    User,
    Auto
};

struct AutoCoverForeground
{
    bool present = false;   // false for none, and for the desktop itself
    HMONITOR monitor = nullptr;
    RECT rect{};
    bool isCover = false;   // one of our coloured windows
};

class IAutoCoverDesktop
{
public:
    virtual ULONGLONG Now() = 0;   // milliseconds
    virtual POINT Pointer() = 0;
    virtual AutoCoverForeground Foreground() = 0;
    virtual CoverKind CoverOn(HMONITOR monitor) = 0;

protected:
    ~IAutoCoverDesktop() = default;
};

IAutoCoverDesktop& AutoCoverDesktop();

struct AutoCoverMonitor
{
    HMONITOR handle;
    int display;   // the n of \\.\DISPLAYn
    RECT rect;
};

struct AutoCoverActions
{
    std::vector<HMONITOR> cover;
    std::vector<HMONITOR> dim;       // cover, at the dim stage's opacity
    std::vector<HMONITOR> deepen;    // its dim-stage cover takes the panel's opacity
    std::vector<HMONITOR> uncover;   // only auto-cover's own covers
};

constexpr ULONGLONG AutoCoverPauseMs = 60 * 60 * 1000;
// How long the set of monitors must stay the same before anything is covered.
constexpr ULONGLONG AutoCoverSettleMs = 3000;

class CAutoCover
{
public:
    explicit CAutoCover(IAutoCoverDesktop& desktop = AutoCoverDesktop());

    // displays empty: all; dimSeconds 0: no dim stage before the cover. A change starts every wait afresh.
    void Configure(bool enabled, int afterSeconds, const std::vector<int>& displays, int dimSeconds = 0);
    void SetEnabled(bool enabled);
    bool IsEnabled() const { return m_enabled; }
    void Pause(ULONGLONG ms = AutoCoverPauseMs);
    void Resume();
    bool IsPaused();
    // Nothing is covered while the session is locked; an unlock starts every wait afresh, as
    // the user was away, not idle.
    void SetSessionLocked(bool locked);
    // After a resume: every wait starts afresh.
    void RestartWaits();
    // The monitors may be coming and going: covers wait until they have held still.
    void DisplayChanged();

    // One look at the desktop: which monitors to cover now and which own covers to take away.
    // While off or paused it only takes its own covers away.
    AutoCoverActions Check(const std::vector<AutoCoverMonitor>& monitors);

private:
    struct Watch
    {
        ULONGLONG idleSince;
        bool covered;
        bool dimmed = false;   // its auto-cover is at the dim stage; the wait for the next one goes on
    };
    bool Chosen(int display) const;
    void Restart(ULONGLONG at);

    IAutoCoverDesktop& m_desktop;
    bool m_enabled = false;
    ULONGLONG m_afterMs = 0;
    ULONGLONG m_dimMs = 0;
    std::vector<int> m_displays;
    ULONGLONG m_pausedUntil = 0;   // 0: not paused
    ULONGLONG m_restartedAt = 0;   // where the next check starts new waits; 0: at itself
    std::map<HMONITOR, Watch> m_watches;
    bool m_locked = false;
    std::vector<HMONITOR> m_monitors;   // the set the last check saw, sorted
    ULONGLONG m_monitorsSince = 0;      // when it last changed, or the display did
};
