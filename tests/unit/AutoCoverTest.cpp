// Auto-cover's timing rules against a scripted desktop: two monitors overlapping at 0,0 as on
// the virtual display, a clock that moves only when a step says so, a check every second as
// the panel's timer makes them, and covers that appear and go as the checks ask.
#include <windows.h>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>
#include "colorwin/AutoCover.h"

namespace {

const HMONITOR M1 = reinterpret_cast<HMONITOR>(0x11);
const HMONITOR M2 = reinterpret_cast<HMONITOR>(0x22);
const std::vector<AutoCoverMonitor> Monitors = {{M1, 1, {0, 0, 1920, 1080}}, {M2, 2, {0, 0, 1280, 1024}}};

class CScriptedDesktop : public IAutoCoverDesktop
{
public:
    ULONGLONG now = 1000000;
    POINT pointer{1600, 1050}; // on monitor 1 only
    AutoCoverForeground fg;
    std::map<HMONITOR, CoverKind> covers;

    ULONGLONG Now() override { return now; }
    POINT Pointer() override { return pointer; }
    AutoCoverForeground Foreground() override { return fg; }
    CoverKind CoverOn(HMONITOR m) override { return covers.contains(m) ? covers[m] : CoverKind::None; }

    // "-A": nothing on monitor 1, auto-cover's own on monitor 2 ('U': the user's).
    std::string State()
    {
        std::string s;
        for (HMONITOR m : {M1, M2}) s += "-UA"[static_cast<int>(CoverOn(m))];
        return s;
    }
};

enum class Do
{
    Wait,
    PointerOn2, // a point inside both rectangles
    PointerOff2, // back to monitor 1 only
    PointerNowhere,
    ForegroundOn2, // an ordinary window on monitor 2
    FullScreenOn1, // on monitor 1, its rectangle covering monitor 2's as well
    CoverFullScreen, // the same rectangle, but one of our covers
    UserCovers2,
    CloseAll,
    Pause,
    Resume,
    Off,
};

struct Step
{
    Do action;
    int seconds; // then this many checks, one a second (0: one check at once)
    const char* expect;
};

struct Case
{
    const char* name;
    std::vector<int> displays;
    std::vector<Step> steps;
};

const Case Cases[] = {
    {"due after the time, gone when the pointer enters",
     {},
     {{Do::Wait, 4, "--"},
      {Do::Wait, 1, "-A"},
      {Do::PointerOn2, 0, "--"},
      {Do::Wait, 10, "--"},
      {Do::PointerOff2, 4, "--"},
      {Do::Wait, 1, "-A"}}},
    {"a foreground window keeps its monitor in use",
     {},
     {{Do::ForegroundOn2, 10, "--"}, {Do::PointerNowhere, 10, "A-"}}},
    {"the user's cover survives the pointer", {}, {{Do::UserCovers2, 10, "-U"}, {Do::PointerOn2, 2, "-U"}}},
    {"full-screen foreground blocks and removes; our own cover in front does not",
     {},
     {{Do::FullScreenOn1, 10, "--"}, {Do::CoverFullScreen, 5, "-A"}, {Do::FullScreenOn1, 0, "--"}}},
    {"pause takes the covers away for an hour, resume waits the full time",
     {},
     {{Do::Wait, 5, "-A"},
      {Do::Pause, 0, "--"},
      {Do::Wait, 60, "--"},
      {Do::Resume, 4, "--"},
      {Do::Wait, 1, "-A"},
      {Do::Pause, 3599, "--"},
      {Do::Wait, 6, "-A"}}},
    {"close all restarts the wait", {}, {{Do::Wait, 5, "-A"}, {Do::CloseAll, 5, "--"}, {Do::Wait, 1, "-A"}}},
    {"only the chosen displays; off takes only its own covers away",
     {1},
     {{Do::PointerNowhere, 5, "A-"}, {Do::UserCovers2, 0, "AU"}, {Do::Off, 10, "-U"}}},
};

} // namespace

TEST(AutoCover, FollowsTheScript)
{
    for (const Case& c : Cases)
    {
        SCOPED_TRACE(c.name);
        CScriptedDesktop desktop;
        CAutoCover autoCover(desktop);
        autoCover.Configure(true, 5, c.displays);
        const auto check = [&] {
            const AutoCoverActions actions = autoCover.Check(Monitors);
            for (HMONITOR m : actions.uncover)
            {
                EXPECT_EQ(desktop.CoverOn(m), CoverKind::Auto) << "took away a cover that is not its own";
                desktop.covers.erase(m);
            }
            for (HMONITOR m : actions.cover)
            {
                EXPECT_EQ(desktop.CoverOn(m), CoverKind::None) << "covered a covered monitor";
                desktop.covers[m] = CoverKind::Auto;
            }
        };
        check();
        int step = 0;
        for (const Step& s : c.steps)
        {
            SCOPED_TRACE(testing::Message() << "step " << step++);
            const RECT full{0, 0, 1920, 1080};
            switch (s.action)
            {
            case Do::Wait: break;
            case Do::PointerOn2: desktop.pointer = {100, 100}; break;
            case Do::PointerOff2: desktop.pointer = {1600, 1050}; break;
            case Do::PointerNowhere: desktop.pointer = {-5000, -5000}; break;
            case Do::ForegroundOn2: desktop.fg = {true, M2, {10, 10, 300, 200}, false}; break;
            case Do::FullScreenOn1: desktop.fg = {true, M1, full, false}; break;
            case Do::CoverFullScreen: desktop.fg = {true, M1, full, true}; break;
            case Do::UserCovers2: desktop.covers[M2] = CoverKind::User; break;
            case Do::CloseAll: desktop.covers.clear(); break;
            case Do::Pause: autoCover.Pause(); break;
            case Do::Resume: autoCover.Resume(); break;
            case Do::Off: autoCover.SetEnabled(false); break;
            }
            if (s.seconds == 0) check();
            for (int i = 0; i < s.seconds; ++i)
            {
                desktop.now += 1000;
                check();
            }
            EXPECT_EQ(desktop.State(), s.expect);
        }
    }
}
