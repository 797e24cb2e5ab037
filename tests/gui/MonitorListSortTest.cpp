// Sorting the control panel's monitor list by a click on a column header, over
// a scripted desktop: rows are ordered by the monitors, not by the cell texts.
#include <gtest/gtest.h>
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/GuiSupport.h"

namespace {

class MonitorListSort : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetAppSettings();
        desk.AddMonitor(L"Beta", RECT{0, 0, 1920, 1080});
        desk.AddMonitor(L"alpha", RECT{1920, 0, 3200, 1024});
        desk.AddMonitor(L"Gamma", RECT{-1920, 0, 0, 1080});
        // The third device is DISPLAY10: by code units it comes before DISPLAY2.
        desk.Monitors[2].DeviceName = desk.Adapters[2].DeviceName = desk.Paths[2].GdiName = L"\\\\.\\DISPLAY10";
    }
    void TearDown() override { ResetAppSettings(); }

    // Rows as indexes into desk.Monitors, top to bottom.
    std::vector<size_t> Order(HWND list) const
    {
        std::vector<size_t> order;
        for (int r = 0; r < ListView(list).Count(); ++r)
            for (size_t m = 0; m < desk.Monitors.size(); ++m)
                if (desk.Handle(m) == ListView(list).Data(r)) order.push_back(m);
        return order;
    }

    // A left click in the middle of the column's header item, which the header
    // itself turns into its item-click notification.
    static void ClickHeader(HWND list, int column)
    {
        HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
        RECT rc{};
        ::SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&rc));
        const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(header, WM_LBUTTONUP, 0, at);
    }

    FakeDesktop desk;
};

TEST_F(MonitorListSort, HeaderClicksOrderRowsByTheMonitorsThemselves)
{
    PanelThread panel;
    HWND h = panel.Hwnd();
    ASSERT_NE(h, nullptr);
    HWND list = ::GetDlgItem(h, IDC_LIST_MONITORS);
    // Wide enough to click even the nearly hidden Monitor ID column.
    for (int c = 0; c < 7; ++c) ::SendMessageW(list, LVM_SETCOLUMNWIDTH, c, 60);
    using Rows = std::vector<size_t>;
    ASSERT_EQ(Order(list), (Rows{0, 1, 2})) << "enumeration order before any sort";

    ClickHeader(list, 1);
    EXPECT_EQ(Order(list), (Rows{2, 0, 1})) << "Left ascending: -1920, 0, 1920";
    ClickHeader(list, 1);
    EXPECT_EQ(Order(list), (Rows{1, 0, 2})) << "a second click on Left reverses";
    ClickHeader(list, 0);
    EXPECT_EQ(Order(list), (Rows{0, 2, 1})) << "Monitor by code units: Beta, Gamma, alpha";

    ClickHeader(list, 1);
    EXPECT_EQ(Order(list), (Rows{2, 0, 1})) << "another column starts ascending";
    ClickHeader(list, 5);
    EXPECT_EQ(Order(list), (Rows{0, 2, 1})) << "Name: DISPLAY1, DISPLAY10, DISPLAY2";
    ClickHeader(list, 6);
    EXPECT_EQ(Order(list), (Rows{0, 2, 1})) << "Monitor ID leaves the order as it was";
    ClickHeader(list, 3);
    EXPECT_EQ(Order(list), (Rows{1, 0, 2})) << "Width: 1280 first, then the two of 1920 in their order";
}

} // namespace
