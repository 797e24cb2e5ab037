// Auto-cover in the real control panel on the two-monitor desktop, the pointer moved with SetCursorPos.
#include "colorwin/OpenWindowRegistry.h"
#include "panel/UmbrafenDlg.h"
#include "settings/AppSettings.h"
#include "settings/Preferences.h"
#include "tests/support/GuiSupport.h"
#include <wtsapi32.h>

namespace {

class AutoCoverPanel : public PanelTest
{
protected:
    void BeforeOpen() override
    {
        AppSettings.AutoMinimize = 0;
        Preferences = PreferencesRecord();
        Preferences.AutoCoverEnabled = 1;
        Preferences.AutoCoverDimSeconds = MinAutoCoverSeconds, Preferences.AutoCoverDimOpacity = 60;
        Preferences.AutoCoverSeconds = MinAutoCoverSeconds + 3;   // the dim stage's cover goes full 3 s later
    }
    void TearDown() override
    {
        PanelTest::TearDown();
        Preferences = PreferencesRecord();
    }
    bool Covered() { return OpenWindowRegistry.GetLiveCount() > 0; }   // a cover up or starting
};

}   // namespace

// Display 2 alone is covered once the pointer and the user's program have stayed off it for the time, leaving that
// program in front, dimmed first and then the same cover at the panel's opacity, and uncovered when the pointer comes
// back. Nothing is covered while locked; after an unlock or a resume the wait starts again, and while display changes
// keep coming it waits until they stopped for 3 seconds.
TEST_F(AutoCoverPanel, CoversTheIdleMonitorUntilThePointerComesBackAndWaitsOnLockResumeAndDisplayChanges)
{
    ::SetCursorPos(1600, 1050);
    const ULONGLONG parked = ::GetTickCount64();
    ForeignWindow user({1400, 100}, false);   // on display 1 only
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == user.Hwnd(); })) << "the user's program not in front";
    HWND cover = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (cover = WindowOn(RowOf(2))) && Settled(cover); }, 20000));
    EXPECT_GE(::GetTickCount64() - parked, (MinAutoCoverSeconds - 1) * 1000ull) << "covered before the time";
    EXPECT_TRUE(KeptInFront(user.Hwnd(), cover)) << "the auto-cover took the foreground";
    EXPECT_EQ(AlphaOf(cover), 60) << "the dim stage";
    EXPECT_TRUE(PumpUntil([&] { return AlphaOf(cover) == AppSettings.Alpha; }, 20000)) << "the same cover, full";
    ASSERT_TRUE(RoundTrips());   // the check that covered display 2 is over
    EXPECT_EQ(OpenWindowRegistry.GetLiveCount(), 1) << "one cover, on display 2 alone";
    ::SetCursorPos(640, 512);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(cover); })) << "the cover stayed with the pointer back";

    ::SetCursorPos(1600, 1050);
    // Each phase sends its message at these moments (ms from its start) and lasts 6.5 s, past the 5 s in which the
    // monitor would otherwise have been covered; the lock ends with an unlock.
    const std::tuple<UINT, WPARAM, std::vector<ULONGLONG>> phases[] = {
        {WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, {0}},
        {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, {0, 2000, 4000, 6000}},
        {WM_DISPLAYCHANGE, 32, {0, 1000, 2000, 3000, 4000, 5000, 6000}},
    };
    const auto coveredBefore = [&](ULONGLONG end) {   // a tick count
        return PumpUntil([&] { return Covered(); }, DWORD(end - std::min(end, ::GetTickCount64())));
    };
    ULONGLONG sent = 0;
    for (const auto& [msg, wp, at] : phases)
    {
        const ULONGLONG start = ::GetTickCount64();
        for (ULONGLONG t : at)
        {
            EXPECT_FALSE(coveredBefore(start + t)) << "covered in spite of message " << msg;
            ::SendMessageW(Panel(), msg, wp, 0);
            sent = ::GetTickCount64();
        }
        EXPECT_FALSE(coveredBefore(start + 6500)) << "covered in spite of message " << msg;
        if (msg == WM_WTSSESSION_CHANGE) ::SendMessageW(Panel(), msg, WTS_SESSION_UNLOCK, 0);
    }
    ASSERT_TRUE(PumpUntil([&] { return Covered(); }, 20000)) << "never covered";
    EXPECT_GE(::GetTickCount64() - sent, 2500u) << "covered before the display changes had stopped for 3 s";
}
