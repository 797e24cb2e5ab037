// Display Device(s), opened from the control panel's menu over a scripted
// desktop: one row per adapter, inactive ones included, refilled on a display change.
#include <gtest/gtest.h>
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/GuiSupport.h"

namespace {

TEST(DisplayDevicesDialog, ListsEveryAdapterAndRefillsOnADisplayChange)
{
    ResetAppSettings();
    FakeDesktop desk;
    desk.AddMonitor(L"Fake Panel", RECT{0, 0, 1920, 1080});
    FakeAdapter idle;
    idle.DeviceName = L"\\\\.\\DISPLAY2";
    idle.DeviceString = L"Idle Adapter";
    idle.StateFlags = 0;
    desk.Adapters.push_back(idle);

    PanelThread panel;
    HWND h = panel.Hwnd();
    ASSERT_NE(h, nullptr);
    ::PostMessageW(h, WM_COMMAND, ID_DISPLAY_DEVICES, 0);
    HWND dlg = WaitForDialog(L"Display Device(s) - Umbrafen");
    ASSERT_NE(dlg, nullptr);
    ListView list(dlg, IDC_LIST_DISPLAY_DEVICES);
    EXPECT_EQ(::GetWindow(dlg, GW_OWNER), h);
    EXPECT_NE(::SendMessageW(dlg, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_EQ(::SendMessageW(list.Hwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0x21, 0x21);

    using Cells = std::vector<std::wstring>;
    EXPECT_EQ(list.Column(0), (Cells{L"1", L"2"}));
    EXPECT_EQ(list.Column(1), (Cells{L"\\\\.\\DISPLAY1", L"\\\\.\\DISPLAY2"}));
    EXPECT_EQ(list.Column(2), (Cells{L"Umbrafen Test Display Adapter", L"Idle Adapter"}));
    EXPECT_EQ(list.Column(3), (Cells{L"Yes", L""})) << "Active";
    EXPECT_EQ(list.Column(4), (Cells{L"Yes", L""})) << "Primary";
    EXPECT_EQ(list.Column(5), (Cells{desk.Adapters[0].Monitors[0].InterfacePath, L""})) << "Device ID";

    // An adapter joins the desktop; the open dialog lists it after the change.
    FakeAdapter joined = idle;
    joined.DeviceName = L"\\\\.\\DISPLAY3";
    joined.StateFlags = DISPLAY_DEVICE_ATTACHED_TO_DESKTOP;
    joined.Monitors.push_back(FakeAdapterMonitor{L"\\\\?\\DISPLAY#UMB0A99#joined"});
    desk.Adapters.push_back(joined);
    ::SendMessageW(dlg, WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 1080));
    EXPECT_EQ(list.Column(0), (Cells{L"1", L"2", L"3"}));
    EXPECT_EQ(list.Column(3), (Cells{L"Yes", L"", L"Yes"}));
    EXPECT_EQ(list.Column(5)[2], L"\\\\?\\DISPLAY#UMB0A99#joined");

    // It cannot be made smaller than it opened.
    RECT rc{};
    ::GetWindowRect(dlg, &rc);
    ::SetWindowPos(dlg, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
    RECT small{};
    ::GetWindowRect(dlg, &small);
    EXPECT_EQ(small.right - small.left, rc.right - rc.left);
    EXPECT_EQ(small.bottom - small.top, rc.bottom - rc.top);

    ::PostMessageW(dlg, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(dlg); }));
    if (::IsWindow(dlg)) ::PostMessageW(dlg, WM_CLOSE, 0, 0);
}

} // namespace
