// Auto-cover in the real control panel on the two-monitor desktop: the pointer is moved with
// SetCursorPos and the covers are real coloured windows on threads of their own.
#include <windows.h>
#include <gtest/gtest.h>
#include "colorwin/OpenWindowRegistry.h"
#include "panel/UmbrafenDlg.h"
#include "settings/AppSettings.h"
#include "settings/Preferences.h"
#include "tests/support/GuiSupport.h"

namespace {

constexpr POINT OnDisplay1Only{1600, 1050};
constexpr POINT OnBoth{640, 512};

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
    int RowOf(int display)
    {
        int row = -1;
        m_panel->Invoke([&] { row = m_panel->Dialog()->FindDisplayRow(display); });
        return row;
    }
    // Parks the pointer off display 2 and waits for auto-cover's window there.
    HWND ParkAndWaitForCover(int row2)
    {
        ::SetCursorPos(OnDisplay1Only.x, OnDisplay1Only.y);
        const ULONGLONG parked = ::GetTickCount64();
        HWND cover = nullptr;
        EXPECT_TRUE(PumpUntil([&] { return (cover = WindowOn(row2)) && Settled(cover); }, 15000));
        EXPECT_GE(::GetTickCount64() - parked, (MinAutoCoverSeconds - 1) * 1000ull) << "covered before the time";
        return cover;
    }
};

} // namespace

TEST_F(AutoCoverPanel, CoversTheIdleMonitorUntilThePointerComesBackAndLeavesTheUsersCover)
{
    const int row1 = RowOf(1), row2 = RowOf(2);
    ASSERT_GE(row1, 0);
    ASSERT_GE(row2, 0);
    // The panel may hold the foreground: it sits where only display 1 is.
    ::SetWindowPos(Panel(), nullptr, 1400, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    HWND cover = ParkAndWaitForCover(row2);
    ASSERT_NE(cover, nullptr);
    PumpUntil([] { return false; }, 1500);
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 1) << "one cover, on display 2 alone";
    EXPECT_EQ(WindowOn(row1), nullptr);
    RECT rc{};
    ::GetWindowRect(cover, &rc);
    EXPECT_TRUE(::EqualRect(&rc, &m_rows[row2].rect));
    EXPECT_TRUE(::GetWindowLongPtrW(cover, GWL_EXSTYLE) & WS_EX_LAYERED);

    ::SetCursorPos(OnBoth.x, OnBoth.y);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(cover); }, 2500)) << "the cover stayed with the pointer back";

    // The user asks for display 2's cover while auto-cover's is up: it becomes theirs and stays.
    cover = ParkAndWaitForCover(row2);
    ASSERT_NE(cover, nullptr);
    m_panel->Invoke([&] { m_panel->Dialog()->CoverRows({row2}); });
    ::SetCursorPos(OnBoth.x, OnBoth.y);
    PumpUntil([] { return false; }, 2500);
    EXPECT_TRUE(::IsWindow(cover)) << "auto-cover took away a cover the user asked for";
    EXPECT_EQ(WindowOn(row2), cover);
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 1);
}
