// Auto-cover in the real control panel on the two-monitor desktop: the pointer is moved with
// SetCursorPos and the covers are real coloured windows on threads of their own.
#include <windows.h>
#include <gtest/gtest.h>
#include "colorwin/OpenWindowRegistry.h"
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
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
    // Parks the pointer where only display 1 is and waits for auto-cover's window on display 2.
    HWND ParkAndWaitForCover(int row2)
    {
        ::SetCursorPos(1600, 1050);
        const ULONGLONG parked = ::GetTickCount64();
        HWND cover = nullptr;
        EXPECT_TRUE(PumpUntil([&] { return (cover = WindowOn(row2)) && Settled(cover); }, 15000));
        EXPECT_GE(::GetTickCount64() - parked, (MinAutoCoverSeconds - 1) * 1000ull) << "covered before the time";
        return cover;
    }
};

}   // namespace

TEST_F(AutoCoverPanel, CoversTheIdleMonitorUntilThePointerComesBackAndLeavesTheUsersCover)
{
    int row1 = -1, row2 = -1;
    m_panel->Invoke([&] { row1 = m_panel->Dialog()->FindDisplayRow(1), row2 = m_panel->Dialog()->FindDisplayRow(2); });
    ASSERT_TRUE(row1 >= 0 && row2 >= 0);
    // The panel may hold the foreground: it sits where only display 1 is.
    ::SetWindowPos(Panel(), nullptr, 1400, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    HWND cover = ParkAndWaitForCover(row2);
    ASSERT_NE(cover, nullptr);
    PumpUntil([] { return false; }, 1500);
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 1) << "one cover, on display 2 alone";
    EXPECT_EQ(WindowOn(row1), nullptr);
    RECT rc{};
    EXPECT_TRUE(::GetWindowRect(cover, &rc) && ::EqualRect(&rc, &m_rows[row2].rect));
    EXPECT_TRUE(::GetWindowLongPtrW(cover, GWL_EXSTYLE) & WS_EX_LAYERED);

    ::SetCursorPos(640, 512);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(cover); }, 2500)) << "the cover stayed with the pointer back";

    // The tray menu's pause takes auto-cover's cover away at once; its resume starts the wait again.
    const auto trayHas = [&](UINT id) {
        bool has = false;
        m_panel->Invoke([&] {
            HMENU menu = m_panel->Dialog()->BuildTrayMenu();
            has = ::GetMenuState(menu, id, MF_BYCOMMAND) != UINT(-1);
            ::DestroyMenu(menu);
        });
        return has;
    };
    cover = ParkAndWaitForCover(row2);
    ASSERT_TRUE(cover && trayHas(ID_TRAY_PAUSE_AUTO_COVER));
    SendCommand(Panel(), ID_TRAY_PAUSE_AUTO_COVER);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(cover); }, 2500)) << "the cover stayed through the pause";
    EXPECT_TRUE(trayHas(ID_TRAY_RESUME_AUTO_COVER) && !trayHas(ID_TRAY_PAUSE_AUTO_COVER));
    SendCommand(Panel(), ID_TRAY_RESUME_AUTO_COVER);

    // The user asks for display 2's cover while auto-cover's is up: it becomes theirs and stays.
    cover = ParkAndWaitForCover(row2);
    ASSERT_NE(cover, nullptr);
    m_panel->Invoke([&] { m_panel->Dialog()->CoverRows({row2}); });
    ::SetCursorPos(640, 512);
    PumpUntil([] { return false; }, 2500);
    EXPECT_EQ(WindowOn(row2), cover) << "auto-cover took away a cover the user asked for";
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 1);
}
