// Auto-cover's timing rules against a scripted desktop: two monitors overlapping at 0,0 as on
// the virtual display, a clock that moves only when a step says so, a check every second as
// the panel's timer makes them, and covers that appear and go as the checks ask.
#include <windows.h>
#include <gtest/gtest.h>
#include <cctype>
#include <map>
#include <sstream>
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
    POINT pointer{1600, 1050};   // on monitor 1 only
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

// A script is steps "<action><seconds>=<covers>": the action (none: just wait), then that many
// checks one second apart (0: one check at once), then the covers on monitors 1 and 2.
// Actions: a pointer away from 2 (on 1 only), b pointer on both, n pointer on neither, f foreground
// window on 2, F full-screen window on 1 whose rectangle spans 2, C the same but one of our covers,
// U the user covers 2, X Close All, P pause, R resume, O auto-cover off.
struct Case
{
    const char* name;
    std::vector<int> displays;
    const char* script;
};

const Case Cases[] = {
    {"due after the time, gone when the pointer enters", {}, "4=-- 1=-A b0=-- 10=-- a4=-- 1=-A"},
    {"a foreground window keeps its monitor in use", {}, "f10=-- n10=A-"},
    {"the user's cover survives the pointer", {}, "U10=-U b2=-U"},
    {"full-screen in front blocks and removes; our own cover in front does not", {}, "F10=-- C5=-A F0=--"},
    {"pause takes the covers away for an hour, resume waits the full time",
     {},
     "5=-A P0=-- 60=-- R4=-- 1=-A P3599=-- 6=-A"},
    {"close all restarts the wait", {}, "5=-A X5=-- 1=-A"},
    {"only the chosen displays; off takes only its own covers away", {1}, "n5=A- U0=AU O10=-U"},
};

}   // namespace

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
        std::istringstream script(c.script);
        for (std::string step; script >> step;)
        {
            SCOPED_TRACE(step);
            const RECT full{0, 0, 1920, 1080};
            switch (step[0])
            {
            case 'a': desktop.pointer = {1600, 1050}; break;
            case 'b': desktop.pointer = {100, 100}; break;
            case 'n': desktop.pointer = {-5000, -5000}; break;
            case 'f': desktop.fg = {true, M2, {10, 10, 300, 200}, false}; break;
            case 'F': desktop.fg = {true, M1, full, false}; break;
            case 'C': desktop.fg = {true, M1, full, true}; break;
            case 'U': desktop.covers[M2] = CoverKind::User; break;
            case 'X': desktop.covers.clear(); break;
            case 'P': autoCover.Pause(); break;
            case 'R': autoCover.Resume(); break;
            case 'O': autoCover.SetEnabled(false); break;
            }
            const int seconds = std::stoi(step.substr(std::isdigit(step[0]) ? 0 : 1));
            if (seconds == 0) check();
            for (int i = 0; i < seconds; ++i)
            {
                desktop.now += 1000;
                check();
            }
            EXPECT_EQ(desktop.State(), step.substr(step.find('=') + 1));
        }
    }
}
