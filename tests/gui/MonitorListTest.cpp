// The control panel's monitor list read back as a user sees it, over a scripted desktop and on the real
// two-screen display: rows, cells, ticks remembered by Monitor ID, column widths, sorting, Check All and
// Uncheck All, a monitor lost before Show, and the Display Device(s) dialog.
#include <windows.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <thread>
#include "res/resource.h"
#include "colorwin/ColoredWindowManager.h"
#include "colorwin/OpenWindowRegistry.h"
#include "settings/AppSettings.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/PromptStore.h"
#include "tests/support/GuiSupport.h"

namespace {

using Cells = std::vector<std::wstring>;
using Ticks = std::vector<bool>;

// The key a tick is remembered under: the sum of the Monitor ID's UTF-16 code units.
ULONGLONG KeyOf(const std::wstring& monitorId)
{
    ULONGLONG sum = 0;
    for (wchar_t c : monitorId) sum += static_cast<unsigned short>(c);
    return sum;
}

std::wstring LimitText(const wchar_t* verb)
{
    WCHAR email[256] = {};
    ::LoadStringW(::GetModuleHandleW(nullptr), IDS_SUPPORT_EMAIL, email, 256);
    return std::wstring(L"Checked / Unchecked Data of only 20 Display Devices will be ") + verb +
           L".\n\nPlease Write to " + email + L" to get this Limit increased.";
}

RECT Rect(LONG left, LONG top, LONG width, LONG height)
{
    return RECT{left, top, left + width, top + height};
}

// A display change as the platform announces it; returns once the panel has handled it.
void SendDisplayChange(PanelThread& panel)
{
    ::SendMessageW(panel.Hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 1080));
}

class MonitorListReal : public ::testing::Test
{
protected:
    void SetUp() override { ResetAppSettings(); }
    void TearDown() override
    {
        panel.reset();
        ResetAppSettings();
    }
    // Opens the panel (closing one still open); its list is read through list.
    void Open()
    {
        panel.reset();
        panel = std::make_unique<PanelThread>();
        ASSERT_NE(panel->Hwnd(), nullptr);
        list = ListView(panel->Hwnd(), IDC_LIST_MONITORS);
    }
    std::unique_ptr<PanelThread> panel;
    ListView list{nullptr};
};

// Over a scripted desktop, installed before the panel opens and changed only on the
// panel's own thread, so the list never sees a half-edited desktop.
class MonitorListFake : public MonitorListReal
{
protected:
    void SetMonitorId(size_t i, const std::wstring& id)
    {
        desk.Adapters.at(i).Monitors.at(0).InterfacePath = id;
        desk.Paths.at(i).MonitorDevicePath = id;
    }

    // n monitors side by side, each with a Monitor ID whose key no other one shares.
    void AddMonitors(int n)
    {
        for (int i = 0; i < n; ++i)
        {
            desk.AddMonitor(L"Panel " + std::to_wstring(i + 1), Rect(1920 * i, 0, 1920, 1080));
            SetMonitorId(static_cast<size_t>(i), Id(i));
        }
    }

    static std::wstring Id(int i)
    {
        return std::wstring(L"\\\\?\\DISPLAY#UMB") + static_cast<wchar_t>(L'A' + i) +
               L"01#5&2f3c1d0&0&UID4352#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";
    }

    FakeDesktop desk;
};

TEST_F(MonitorListFake, RowsShowEachRecordWithItsHandleAndCells)
{
    desk.AddMonitor(L"DELL U2720Q", Rect(0, 0, 3840, 2160));
    desk.AddMonitor(L"", Rect(-1280, 120, 1280, 1024));
    Open();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Data(0), desk.Handle(0));
    EXPECT_EQ(list.Row(0), (Cells{L"DELL U2720Q", L"0", L"0", L"3840", L"2160", L"\\\\.\\DISPLAY1",
                                  desk.Adapters[0].Monitors[0].InterfacePath}));
    EXPECT_EQ(list.Data(1), desk.Handle(1)) << "handles above 4 GiB survive in the item data";
    EXPECT_EQ(list.Row(1), (Cells{L"Display2", L"-1280", L"120", L"1280", L"1024", L"\\\\.\\DISPLAY2",
                                  desk.Adapters[1].Monitors[0].InterfacePath}))
        << "no friendly name: the label comes from the device name";
    EXPECT_EQ(list.Ticks(), (Ticks{false, false})) << "fresh settings remember no tick";
}

TEST_F(MonitorListFake, CloneModeGivesOneRowPerPathWithTheSameHandle)
{
    desk.AddMonitor(L"Projector", Rect(0, 0, 1920, 1080));
    FakePath clone = desk.Paths[0];   // a second target on the same source
    clone.TargetId += 0x40;
    clone.FriendlyName = L"Studio Display";
    clone.MonitorDevicePath = L"\\\\?\\DISPLAY#UMB0C77#5&2f3c1d0&0&UID9000#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";
    desk.Paths.push_back(clone);
    Open();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Data(0), desk.Handle(0));
    EXPECT_EQ(list.Data(1), desk.Handle(0));
    EXPECT_EQ(list.Column(0), (Cells{L"Projector", L"Studio Display"}));
    EXPECT_EQ(list.Column(3), (Cells{L"1920", L"1920"}));
    EXPECT_EQ(list.Column(5), (Cells{L"\\\\.\\DISPLAY1", L"\\\\.\\DISPLAY1"}));
}

TEST_F(MonitorListFake, MonitorsWithoutAnActivePathOrMonitorInfoGetNoRow)
{
    desk.AddMonitor(L"First", Rect(0, 0, 1920, 1080));
    desk.AddMonitor(L"Unqueryable", Rect(1920, 0, 1920, 1080));
    desk.AddMonitor(L"Third", Rect(3840, 0, 1280, 1024));
    // The second monitor answers during the enumeration but not when its row is completed.
    desk.Monitors[1].InfoFails = FakeMonitor::InfoFailure::OutsideEnumeration;
    // Connected to an adapter that is not part of the desktop: no path, no desktop monitor.
    FakeAdapter idle;
    idle.DeviceName = L"\\\\.\\DISPLAY9";
    idle.StateFlags = 0;
    idle.Monitors.push_back(FakeAdapterMonitor{L"\\\\?\\DISPLAY#UMB0D99#5&2f3c1d0&0&UID9900#{e6f07b5f}"});
    desk.Adapters.push_back(idle);
    // On the desktop, but its path is gone.
    desk.AddMonitor(L"Pathless", Rect(5120, 0, 800, 600));
    desk.Paths.pop_back();
    Open();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Column(0), (Cells{L"First", L"Third"}));
    EXPECT_EQ(list.Data(0), desk.Handle(0));
    EXPECT_EQ(list.Data(1), desk.Handle(2));
    EXPECT_EQ(list.Text(1, 3), L"1280") << "the row after a dropped one has its own cells";
}

// Only the first 20 rows' ticks are remembered: the Loaded message at open and at a
// display change, the Stored one at a display change and at close, each once.
TEST_F(MonitorListFake, TwentyOneMonitorsRememberOnlyTheFirstTwenty)
{
    AddMonitors(21);
    // Rows 0..18 remembered ticked; slot 19 holds the 21st monitor, which must not be restored.
    for (int k = 0; k < 20; ++k)
    {
        AppSettings.CheckedKey[k] = KeyOf(Id(k < 19 ? k : 20));
        AppSettings.CheckedState[k] = 1;
    }
    MessageBoxWatcher watcher;
    Open();
    ASSERT_TRUE(watcher.WaitForCount(1, 10000));
    EXPECT_EQ(watcher.Texts(), (Cells{LimitText(L"Loaded")}));
    ASSERT_EQ(list.Count(), 21) << "every monitor is listed, only the ticks are limited";
    Ticks expected(21, true);
    expected[19] = expected[20] = false;   // no slot for row 19, and the 21st row is never restored
    EXPECT_EQ(list.Ticks(), expected);

    list.SetTick(0, false);
    list.SetTick(19, true);
    list.SetTick(20, true);
    SendDisplayChange(*panel);
    ASSERT_TRUE(watcher.WaitForCount(3, 10000));
    expected[0] = false;
    expected[19] = true;   // the 21st row's tick is not remembered
    EXPECT_EQ(list.Ticks(), expected);

    panel->Close();
    ASSERT_TRUE(watcher.WaitForCount(4, 10000));
    EXPECT_EQ(watcher.Texts(),
              (Cells{LimitText(L"Loaded"), LimitText(L"Stored"), LimitText(L"Loaded"), LimitText(L"Stored")}));
    for (int k = 0; k < 20; ++k)
    {
        EXPECT_EQ(AppSettings.CheckedKey[k], KeyOf(Id(k))) << "slot " << k;
        EXPECT_EQ(AppSettings.CheckedState[k], k == 0 ? 0u : 1u) << "slot " << k;
    }
}

// A display change handled while the Loaded box is still open must keep the ticks
// the user sees: they are back in the list before the box shows.
TEST_F(MonitorListFake, ADisplayChangeDuringTheLoadedBoxKeepsTheTicks)
{
    AddMonitors(21);
    for (int k = 0; k < 3; ++k)
    {
        AppSettings.CheckedKey[k] = KeyOf(Id(k));
        AppSettings.CheckedState[k] = 1;
    }
    // The panel is not up before its boxes are answered, so a helper thread drives them.
    std::unique_ptr<MessageBoxWatcher> watcher;
    std::thread driver([&] {
        HWND box = nullptr;
        PumpUntil([&] { return (box = FindMessageBox(LimitText(L"Loaded"))) != nullptr; }, 10000);
        ::PostMessageW(::GetWindow(box, GW_OWNER), WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 1080));
        PumpUntil([] { return FindMessageBox(LimitText(L"Stored")) != nullptr; }, 10000);
        watcher = std::make_unique<MessageBoxWatcher>();
    });
    Open();
    driver.join();
    ASSERT_TRUE(watcher && watcher->WaitForCount(3, 10000));   // Stored, the new Loaded, the first Loaded
    Ticks expected(21, false);
    expected[0] = expected[1] = expected[2] = true;
    EXPECT_EQ(list.Ticks(), expected);
    panel->Close();
}

TEST_F(MonitorListFake, AStoreWithFewerRowsKeepsTheOldSlotsForReturningMonitors)
{
    AddMonitors(3);   // A, B, C
    Open();
    ASSERT_EQ(list.Count(), 3);
    list.SetTick(0, true);
    list.SetTick(2, true);

    // A and C leave: the store still sees three rows (A ticked, B not, C ticked).
    panel->Invoke([&] {
        desk.Monitors = {desk.Monitors[1]};
        desk.Paths = {desk.Paths[1]};
    });
    SendDisplayChange(*panel);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Text(0, 6), Id(1));
    EXPECT_FALSE(list.Ticked(0));
    list.SetTick(0, true);

    // A and C come back; the store of one row rewrote slot 0 only.
    panel->Invoke([&] {
        desk.Monitors.clear();
        desk.Paths.clear();
        desk.Adapters.clear();
        AddMonitors(3);
    });
    SendDisplayChange(*panel);
    EXPECT_EQ((std::vector<ULONGLONG>(AppSettings.CheckedKey, AppSettings.CheckedKey + 3)),
              (std::vector<ULONGLONG>{KeyOf(Id(1)), KeyOf(Id(1)), KeyOf(Id(2))}));
    EXPECT_EQ((std::vector<UINT>(AppSettings.CheckedState, AppSettings.CheckedState + 3)),
              (std::vector<UINT>{1, 0, 1}));
    // A's slot was overwritten, B takes its first slot (not the older unticked one), C's survived.
    EXPECT_EQ(list.Ticks(), (Ticks{false, true, true}));
}

TEST_F(MonitorListFake, MonitorIdsWithTheSameCodeUnitSumShareOneState)
{
    AddMonitors(2);
    const std::wstring first = L"\\\\?\\DISPLAY#UMB0AB#5&2f3c1d0&0&UID4352#{e6f07b5f}";
    const std::wstring second = L"\\\\?\\DISPLAY#UMB0BA#5&2f3c1d0&0&UID4352#{e6f07b5f}";
    ASSERT_EQ(KeyOf(first), KeyOf(second));
    SetMonitorId(0, first);
    SetMonitorId(1, second);
    AppSettings.CheckedKey[0] = KeyOf(first);
    AppSettings.CheckedState[0] = 1;
    Open();
    EXPECT_EQ(list.Column(6), (Cells{first, second}));
    EXPECT_EQ(list.Ticks(), (Ticks{true, true}));

    // Only the second ticked: both slots get the shared key, and the first slot wins for both.
    list.SetTick(0, false);
    SendDisplayChange(*panel);
    EXPECT_EQ(list.Ticks(), (Ticks{false, false}));
}

TEST_F(MonitorListFake, ATickFollowsItsMonitorIdWhenTheRowMoves)
{
    AddMonitors(3);   // A, B, C
    Open();
    list.SetTick(1, true);
    // New order C, A, B, and B changes resolution.
    panel->Invoke([&] {
        std::rotate(desk.Paths.begin(), desk.Paths.begin() + 2, desk.Paths.end());
        desk.Monitors[1].Rect = Rect(1920, 0, 2560, 1440);
    });
    SendDisplayChange(*panel);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Data(2), desk.Handle(1));
    EXPECT_EQ(list.Text(2, 6), Id(1));
    EXPECT_EQ(list.Text(2, 3), L"2560");
    EXPECT_EQ(list.Ticks(), (Ticks{false, false, true}));
}

// A monitor that can no longer be queried when Show starts the covers gets none, silently; the others do.
TEST_F(MonitorListFake, AMonitorUnreadableAtShowGetsNoCoverAndNoMessage)
{
    AddMonitors(2);
    Suppress(PassthroughPromptKey);
    Open();
    list.SetTick(0, true);
    list.SetTick(1, true);
    panel->Invoke([&] { desk.Monitors[0].InfoFails = FakeMonitor::InfoFailure::OutsideEnumeration; });
    MessageBoxWatcher watcher;
    ClickButton(panel->Hwnd(), IDC_BTN_SHOW_WINDOWS);
    EXPECT_TRUE(PumpUntil([&] { return IsMonitorCovered(desk.Handle(1)); }));
    PumpUntil([] { return false; }, 300);   // time for a wrong cover to come up
    EXPECT_FALSE(IsMonitorCovered(desk.Handle(0)));
    EXPECT_EQ(OpenWindowRegistry.GetLiveCount(), 1);
    EXPECT_EQ(watcher.Count(), 0u);
    RestorePrompt(PassthroughPromptKey);
}

using MonitorListSort = MonitorListFake;
using DisplayDevicesDialog = MonitorListFake;

// A click on a column header sorts the rows by the monitors themselves, not by the cell texts.
TEST_F(MonitorListSort, HeaderClicksOrderRowsByTheMonitorsThemselves)
{
    desk.AddMonitor(L"Beta", RECT{0, 0, 1920, 1080});
    desk.AddMonitor(L"alpha", RECT{1920, 0, 3200, 1024});
    desk.AddMonitor(L"Gamma", RECT{-1920, 0, 0, 1080});
    // The third device is DISPLAY10: by code units it comes before DISPLAY2.
    desk.Monitors[2].DeviceName = desk.Adapters[2].DeviceName = desk.Paths[2].GdiName = L"\\\\.\\DISPLAY10";
    Open();
    // Rows as indexes into desk.Monitors, top to bottom.
    auto order = [&] {
        std::vector<size_t> rows;
        for (int r = 0; r < list.Count(); ++r)
            for (size_t m = 0; m < desk.Monitors.size(); ++m)
                if (desk.Handle(m) == list.Data(r)) rows.push_back(m);
        return rows;
    };
    // A left click in the middle of the column's header item, which the header
    // itself turns into its item-click notification.
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list.Hwnd(), LVM_GETHEADER, 0, 0));
    auto click = [&](int column) {
        RECT rc{};
        ::SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&rc));
        const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(header, WM_LBUTTONUP, 0, at);
        return order();
    };
    // Wide enough to click even the nearly hidden Monitor ID column.
    for (int c = 0; c < 7; ++c) ::SendMessageW(list.Hwnd(), LVM_SETCOLUMNWIDTH, c, 60);
    using Rows = std::vector<size_t>;
    ASSERT_EQ(order(), (Rows{0, 1, 2})) << "enumeration order before any sort";
    EXPECT_EQ(click(1), (Rows{2, 0, 1})) << "Left ascending: -1920, 0, 1920";
    EXPECT_EQ(click(1), (Rows{1, 0, 2})) << "a second click on Left reverses";
    EXPECT_EQ(click(0), (Rows{0, 2, 1})) << "Monitor by code units: Beta, Gamma, alpha";
    EXPECT_EQ(click(1), (Rows{2, 0, 1})) << "another column starts ascending";
    EXPECT_EQ(click(5), (Rows{0, 2, 1})) << "Name: DISPLAY1, DISPLAY10, DISPLAY2";
    EXPECT_EQ(click(6), (Rows{0, 2, 1})) << "Monitor ID leaves the order as it was";
    EXPECT_EQ(click(3), (Rows{1, 0, 2})) << "Width: 1280 first, then the two of 1920 in their order";
}

// Display Device(s), opened from the panel's menu: one row per adapter, inactive ones
// included, refilled on a display change.
TEST_F(DisplayDevicesDialog, ListsEveryAdapterAndRefillsOnADisplayChange)
{
    desk.AddMonitor(L"Fake Panel", RECT{0, 0, 1920, 1080});
    FakeAdapter idle;
    idle.DeviceName = L"\\\\.\\DISPLAY2";
    idle.DeviceString = L"Idle Adapter";
    idle.StateFlags = 0;
    desk.Adapters.push_back(idle);

    Open();
    HWND h = panel->Hwnd();
    ::PostMessageW(h, WM_COMMAND, ID_DISPLAY_DEVICES, 0);
    HWND dlg = WaitForDialog(L"Display Device(s) - Umbrafen");
    ASSERT_NE(dlg, nullptr);
    ListView devices(dlg, IDC_LIST_DISPLAY_DEVICES);
    EXPECT_EQ(::GetWindow(dlg, GW_OWNER), h);
    EXPECT_NE(::SendMessageW(dlg, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_EQ(::SendMessageW(devices.Hwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0x21, 0x21);

    EXPECT_EQ(devices.Column(0), (Cells{L"1", L"2"}));
    EXPECT_EQ(devices.Column(1), (Cells{L"\\\\.\\DISPLAY1", L"\\\\.\\DISPLAY2"}));
    EXPECT_EQ(devices.Column(2), (Cells{L"Umbrafen Test Display Adapter", L"Idle Adapter"}));
    EXPECT_EQ(devices.Column(3), (Cells{L"Yes", L""})) << "Active";
    EXPECT_EQ(devices.Column(4), (Cells{L"Yes", L""})) << "Primary";
    EXPECT_EQ(devices.Column(5), (Cells{desk.Adapters[0].Monitors[0].InterfacePath, L""})) << "Device ID";

    // An adapter joins the desktop; the open dialog lists it after the change.
    FakeAdapter joined = idle;
    joined.DeviceName = L"\\\\.\\DISPLAY3";
    joined.StateFlags = DISPLAY_DEVICE_ATTACHED_TO_DESKTOP;
    joined.Monitors.push_back(FakeAdapterMonitor{L"\\\\?\\DISPLAY#UMB0A99#joined"});
    desk.Adapters.push_back(joined);
    ::SendMessageW(dlg, WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 1080));
    EXPECT_EQ(devices.Column(0), (Cells{L"1", L"2", L"3"}));
    EXPECT_EQ(devices.Column(3), (Cells{L"Yes", L"", L"Yes"})) << "Active";
    EXPECT_EQ(devices.Column(4), (Cells{L"Yes", L"", L""})) << "Primary";
    EXPECT_EQ(devices.Column(5)[2], L"\\\\?\\DISPLAY#UMB0A99#joined");

    // It cannot be made smaller than it opened.
    RECT rc{}, small{};
    ::GetWindowRect(dlg, &rc);
    ::SetWindowPos(dlg, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
    ::GetWindowRect(dlg, &small);
    EXPECT_EQ(small.right - small.left, rc.right - rc.left);
    EXPECT_EQ(small.bottom - small.top, rc.bottom - rc.top);

    ::PostMessageW(dlg, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(dlg); }));
    if (::IsWindow(dlg)) ::PostMessageW(dlg, WM_CLOSE, 0, 0);
}

// On the real two-screen virtual display.

// Both screens start at the origin here, so the secondary one is told apart by its flag.
Ticks SecondaryOnly(const ListView& list)
{
    Ticks secondary;
    for (int r = 0; r < list.Count(); ++r)
    {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        secondary.push_back(::GetMonitorInfoW(list.Data(r), &info) && !(info.dwFlags & MONITORINFOF_PRIMARY));
    }
    return secondary;
}

// A tick on the secondary monitor stays with it across a display change and across a
// restart through the data file.
TEST_F(MonitorListReal, ATickSurvivesADisplayChangeAndARestart)
{
    WCHAR folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring file = std::wstring(folder) + L"UmbrafenMonitorListTest.dat";
    Open();
    const Ticks secondary = SecondaryOnly(list);
    ASSERT_EQ(secondary.size(), 2u);
    ASSERT_NE(secondary[0], secondary[1]);
    list.SetTick(secondary[0] ? 0 : 1, true);
    SendDisplayChange(*panel);
    EXPECT_EQ(list.Ticks(), SecondaryOnly(list));
    panel->Close();

    SaveLoadSettingsAt(file.c_str(), TRUE);
    ResetAppSettings();
    ASSERT_EQ(AppSettings.CheckedKey[0], 0u);
    SaveLoadSettingsAt(file.c_str(), FALSE);
    ::DeleteFileW(file.c_str());
    Open();
    EXPECT_EQ(list.Ticks(), SecondaryOnly(list));
}

// Without stored widths the columns share the list's width by factor/671; stored widths are used (0 meaning
// none), the widths at close are kept, and Autosize Columns goes back to the defaults.
TEST_F(MonitorListReal, ColumnWidthsDefaultToShareTheListAndStoredOnesRoundTrip)
{
    constexpr int Factors[7] = {200, 75, 75, 75, 75, 150, 1};
    const Cells titles = {L"Monitor", L"Left", L"Top", L"Width", L"Height", L"Name", L"Monitor ID"};
    Open();
    RECT rc{};
    ::GetWindowRect(list.Hwnd(), &rc);
    const int w = rc.right - rc.left;
    std::vector<int> expected;
    for (int i = 0; i < 7; ++i)
    {
        expected.push_back(w * Factors[i] / 671);
        WCHAR title[64] = {};
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT;
        col.pszText = title;
        col.cchTextMax = 64;
        ::SendMessageW(list.Hwnd(), LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
        EXPECT_EQ(title, titles[i]);
    }
    EXPECT_EQ(list.ColumnWidths(), expected);
    EXPECT_EQ(::SendMessageW(list.Hwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0x25, 0x25)
        << "grid lines, check boxes, full-row select";
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list.Hwnd(), LVM_GETHEADER, 0, 0));
    EXPECT_TRUE(::GetWindowLongW(header, GWL_STYLE) & HDS_CHECKBOXES);
    panel->Close();

    const int stored[7] = {101, 52, 53, 0, 55, 106, 7};
    std::copy(std::begin(stored), std::end(stored), AppSettings.ColumnWidths);
    Open();
    EXPECT_EQ(list.ColumnWidths(), (std::vector<int>{101, 52, 53, w * 75 / 671, 55, 106, 7}));
    ::SendMessageW(list.Hwnd(), LVM_SETCOLUMNWIDTH, 5, MAKELPARAM(240, 0));
    ::SendMessageW(list.Hwnd(), LVM_SETCOLUMNWIDTH, 6, MAKELPARAM(0, 0));
    panel->Close();
    EXPECT_EQ((std::vector<int>(AppSettings.ColumnWidths, AppSettings.ColumnWidths + 7)),
              (std::vector<int>{101, 52, 53, w * 75 / 671, 55, 240, 0}));

    // Autosize Columns: the default layout for the list's present width.
    Open();
    ::SetWindowPos(list.Hwnd(), nullptr, 0, 0, 1000, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
    SendCommand(panel->Hwnd(), ID_AUTOSIZE_COLUMNS);
    EXPECT_EQ(list.ColumnWidths(), (std::vector<int>{298, 111, 111, 111, 111, 223, 1}));
}

TEST_F(MonitorListReal, CheckAllAndUncheckAllTickEveryRowAndSurviveADisplayChange)
{
    Open();
    list.SetTick(1, true);   // a ticked row stays ticked
    for (auto [button, tick] : {std::pair{IDC_BTN_CHECK_ALL, true}, {IDC_BTN_UNCHECK_ALL, false}})
    {
        ClickButton(panel->Hwnd(), button);
        EXPECT_EQ(list.Ticks(), Ticks(2, tick));
        SendDisplayChange(*panel);
        EXPECT_EQ(list.Ticks(), Ticks(2, tick));
    }
}

}   // namespace
