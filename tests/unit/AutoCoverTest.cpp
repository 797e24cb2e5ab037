// Auto-cover's timing rules against a scripted desktop: two monitors overlapping at 0,0 as on
// the virtual display, and a clock that moves only when a step says so.
#include <windows.h>
#include <gtest/gtest.h>
#include <sstream>
#include "colorwin/AutoCover.h"

namespace {

const HMONITOR M1 = reinterpret_cast<HMONITOR>(0x11), M2 = reinterpret_cast<HMONITOR>(0x22);
const std::vector<AutoCoverMonitor> Monitors = {{M1, 1, {0, 0, 1920, 1080}}, {M2, 2, {0, 0, 1280, 1024}}};

class CScriptedDesktop : public IAutoCoverDesktop
{
public:
    ULONGLONG now = 1000000;
    POINT pointer{1600, 1050};   // on monitor 1 only
    AutoCoverForeground fg;
    std::map<HMONITOR, CoverKind> covers;

    ULONGLONG Now() override { return now; }
    POINT Pointer() override { return pointer; }
    AutoCoverForeground Foreground() override { return fg; }
    CoverKind CoverOn(HMONITOR m) override { return covers[m]; }
};

// Steps "<action><seconds>=<covers>": the action (none: just wait), a check at once and one a second
// for that many seconds as the panel's timer makes them, then the covers on monitors 1 and 2: '-' none,
// 'U' the user's, 'A' auto-cover's, 'd' auto-cover's at its dim stage. Actions: a pointer on 1 only, b on both, n on
// neither, f foreground window on 2, F full-screen window on 1 spanning 2, C the same but one of our covers, U the user
// covers 2, X Close All, P pause, R resume, O auto-cover off, D display 1 chosen alone, G monitor 1 gone, d a display
// change, L the session locked, K unlocked, W woken from sleep, T two stages: dim after 4 s, full after 6.
const std::pair<const char*, const char*> Cases[] = {
    {"due after the time, gone when the pointer enters", "4=-- 1=-A b0=-- 10=-- a4=-- 1=-A"},
    {"a foreground window keeps its monitor in use", "f10=-- n10=A-"},
    {"full-screen in front blocks and removes; our own cover in front does not", "F10=-- C5=-A F0=--"},
    {"pause takes its covers away for an hour, resume waits the full time", "5=-A P0=-- R4=-- 1=-A P3599=-- 6=-A"},
    {"close all restarts the wait", "5=-A X4=-- 1=-A"},
    {"only the chosen displays; the user's cover survives the pointer, a pause and off",
     "D0=-- n5=A- U0=AU b2=-U P0=-U O10=-U"},
    {"the monitors must hold still for 3 s, also after a display change", "4=-- G2=-- 1=-A X4=-- d2=-- 1=-A"},
    {"nothing while locked; unlock and wake start every wait afresh", "L10=-- K4=-- 1=-A X3=-- W4=-- 1=-A"},
    {"two stages: the dim cover goes full; the pointer lifts either", "T4=-d 1=-d 1=-A b0=-- n4=dd a0=-d 2=-A"},
};

}   // namespace

TEST(AutoCover, FollowsTheScript)
{
    for (const auto& [name, steps] : Cases)
    {
        SCOPED_TRACE(name);
        CScriptedDesktop desktop;
        CAutoCover autoCover(desktop);
        autoCover.Configure(true, 5, {});
        std::vector<AutoCoverMonitor> monitors = Monitors;
        std::map<HMONITOR, bool> dim;   // at the dim stage
        const auto check = [&] {
            const AutoCoverActions actions = autoCover.Check(monitors);
            for (HMONITOR m : actions.uncover)
                EXPECT_EQ(std::exchange(desktop.covers[m], CoverKind::None), CoverKind::Auto)
                    << "took a cover not its own";
            for (HMONITOR m : actions.deepen) EXPECT_TRUE(std::exchange(dim[m], false)) << "not at the dim stage";
            for (HMONITOR m : actions.cover) desktop.covers[m] = CoverKind::Auto;
            for (HMONITOR m : actions.dim) desktop.covers[m] = CoverKind::Auto, dim[m] = true;
        };
        std::istringstream script(steps);
        for (std::string step; script >> step;)
        {
            SCOPED_TRACE(step);
            switch (step[0])
            {
            case 'a': desktop.pointer = {1600, 1050}; break;
            case 'b': desktop.pointer = {100, 100}; break;
            case 'n': desktop.pointer = {-5000, -5000}; break;
            case 'f': desktop.fg = {true, M2, {10, 10, 300, 200}, false}; break;
            case 'F': desktop.fg = {true, M1, {0, 0, 1920, 1080}, false}; break;
            case 'C': desktop.fg = {true, M1, {0, 0, 1920, 1080}, true}; break;
            case 'U': desktop.covers[M2] = CoverKind::User; break;
            case 'X': desktop.covers.clear(); break;
            case 'P': autoCover.Pause(); break;
            case 'R': autoCover.Resume(); break;
            case 'O': autoCover.SetEnabled(false); break;
            case 'D': autoCover.Configure(true, 5, {1}); break;
            case 'G': monitors.erase(monitors.begin()); break;
            case 'd': autoCover.DisplayChanged(); break;
            case 'L': case 'K': autoCover.SetSessionLocked(step[0] == 'L'); break;
            case 'W': autoCover.RestartWaits(); break;
            case 'T': autoCover.Configure(true, 6, {}, 4); break;
            }
            check();
            for (int s = std::stoi(step.substr(step.find_first_of("0123456789"))); s > 0; --s, check())
                desktop.now += 1000;
            std::string covers;
            for (HMONITOR m : {M1, M2})
                covers +=
                    desktop.covers[m] == CoverKind::Auto && dim[m] ? 'd' : "-UA"[static_cast<int>(desktop.CoverOn(m))];
            EXPECT_EQ(covers, step.substr(step.find('=') + 1));
        }
    }
}
