// Auto-cover in the real control panel on the two-monitor desktop: the pointer is moved with
// SetCursorPos and the cover is a real coloured window on a thread of its own.
#include <windows.h>
#include <gtest/gtest.h>
#include "colorwin/OpenWindowRegistry.h"
#include "panel/UmbrafenDlg.h"
#include "settings/AppSettings.h"
#include "settings/Preferences.h"
#include "tests/support/GuiSupport.h"

namespace {

class AutoCoverPanel : public PanelTest
{
protected:
    void BeforeOpen() override
    {
        AppSettings.AutoMinimize = 0;
        Preferences = PreferencesRecord();
        Preferences.AutoCoverEnabled = 1;
        Preferences.AutoCoverSeconds = MinAutoCoverSeconds;
    }
    void TearDown() override
    {
        PanelTest::TearDown();
        Preferences = PreferencesRecord();
    }
};

}   // namespace

// Display 2 alone is covered once the pointer has stayed off it for the time, and uncovered
// when the pointer comes back.
TEST_F(AutoCoverPanel, CoversTheIdleMonitorUntilThePointerComesBack)
{
    int row2 = -1;
    m_panel->Invoke([&] { row2 = m_panel->Dialog()->FindDisplayRow(2); });
    ASSERT_GE(row2, 0);
    // The panel may hold the foreground: it sits where only display 1 is, as does the pointer.
    ::SetWindowPos(Panel(), nullptr, 1400, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetCursorPos(1600, 1050);
    const ULONGLONG parked = ::GetTickCount64();
    HWND cover = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (cover = WindowOn(row2)) && Settled(cover); }, 15000));
    EXPECT_GE(::GetTickCount64() - parked, (MinAutoCoverSeconds - 1) * 1000ull) << "covered before the time";
    PumpUntil([] { return false; }, 1500);
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 1) << "one cover, on display 2 alone";

    ::SetCursorPos(640, 512);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(cover); }, 2500)) << "the cover stayed with the pointer back";
}

// An auto-cover leaves the user's program in the foreground.
TEST_F(AutoCoverPanel, LeavesTheUsersProgramInFront)
{
    int row2 = -1;
    m_panel->Invoke([&] { row2 = m_panel->Dialog()->FindDisplayRow(2); });
    ForeignWindow user({1400, 100}, false);   // on display 1 only
    ::SetCursorPos(1600, 1050);
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == user.Hwnd(); })) << "the user's program not in front";
    HWND cover = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (cover = WindowOn(row2)) && Settled(cover); }, 15000));
    EXPECT_TRUE(KeptInFront(user.Hwnd(), cover)) << "the auto-cover took the foreground";
}
