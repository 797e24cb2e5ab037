// The monitor list read as a user sees it, over a scripted desktop and on the real two-screen display.
#include <numeric>
#include "colorwin/ColoredWindowManager.h"
#include "colorwin/OpenWindowRegistry.h"
#include "settings/AppSettings.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/GuiSupport.h"

namespace {

using Cells = std::vector<std::wstring>;
using Ticks = std::vector<bool>;

// The key a tick is remembered under: the sum of the Monitor ID's UTF-16 code units.
ULONGLONG KeyOf(const std::wstring& monitorId)
{
    return std::accumulate(monitorId.begin(), monitorId.end(), 0ull);
}

std::wstring LimitText(const wchar_t* verb)
{
    return std::wstring(L"Checked / Unchecked Data of only 20 Display Devices will be ") + verb +
           L".\n\nPlease Write to support@umbrafen.example.org to get this Limit increased.";
}

class MonitorListReal : public ::testing::Test
{
protected:
    void SetUp() override { ResetAppSettings(); }
    void TearDown() override { panel.reset(), ResetAppSettings(); }
    void Open()
    {
        panel = std::make_unique<PanelThread>();
        ASSERT_NE(panel->Hwnd(), nullptr);
        list = ListView(panel->Hwnd(), IDC_LIST_MONITORS);
    }
    // As the platform announces it; returns once the panel has handled it.
    void DisplayChange() { ::SendMessageW(panel->Hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 1080)); }
    // The DWORD the data file holds at offset; all bits set while it holds no whole record.
    static DWORD StoredAt(size_t offset)
    {
        CString path;
        const Bytes bytes = (GetDataFilePath(path), ReadAllBytes(path.GetString()));
        return bytes.size() == SettingsFileSize ? At(bytes, offset) : ~0u;
    }
    std::unique_ptr<PanelThread> panel;
    ListView list{nullptr};
};

// Over a scripted desktop, changed only on the panel's own thread: the list never sees a half-edited one.
class MonitorListFake : public MonitorListReal
{
protected:
    static std::wstring Id(int i)   // Monitor IDs whose keys no other one shares
    {
        return std::wstring(L"\\\\?\\DISPLAY#UMB") + static_cast<wchar_t>(L'A' + i) +
               L"01#5&2f3c1d0&0&UID4352#{e6f07b5f}";
    }
    FakeDesktop desk;
};

// Each row shows its monitor's record, Monitor ID last, with the handle (above 4 GiB) as its item data. A click on a
// column header sorts the rows by the monitors' own values, not by the cell texts.
TEST_F(MonitorListFake, RowsShowEachMonitorsRecordAndHeaderClicksSortThem)
{
    desk.AddMonitor(L"Beta", {0, 0, 1920, 1080});
    desk.AddMonitor(L"", {-1280, 120, 0, 1144});
    desk.AddMonitor(L"alpha", {1920, 0, 2720, 600});
    // The third device is DISPLAY10: by code units it comes before DISPLAY2.
    desk.Monitors[2].DeviceName = desk.Adapters[2].DeviceName = desk.Paths[2].GdiName = L"\\\\.\\DISPLAY10";
    Open();
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Data(1), desk.Handle(1));
    auto row = [&](int r) { return Each(7, [&](int c) { return list.Text(r, c); }); };
    EXPECT_EQ(row(0),
              (Cells{L"Beta", L"0", L"0", L"1920", L"1080", L"\\\\.\\DISPLAY1", desk.Adapters[0].InterfacePath}));
    EXPECT_EQ(row(1), (Cells{L"Display2", L"-1280", L"120", L"1280", L"1024", L"\\\\.\\DISPLAY2",
                             desk.Adapters[1].InterfacePath}))
        << "no friendly name: the label comes from the device name";
    for (int c = 0; c < 7; ++c) list.Send(LVM_SETCOLUMNWIDTH, c, 60);   // wide enough to click even Monitor ID
    // A left click in the middle of the column's header item; returns the rows as indexes into desk.Monitors.
    HWND header = reinterpret_cast<HWND>(list.Send(LVM_GETHEADER));
    auto click = [&](int column) {
        RECT rc{};
        ::SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&rc));
        const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at), ::SendMessageW(header, WM_LBUTTONUP, 0, at);
        return Each(list.Count(), [&](int r) {
            return list.Data(r) == desk.Handle(0) ? 0 : list.Data(r) == desk.Handle(1) ? 1 : 2;
        });
    };
    using Rows = std::vector<int>;
    EXPECT_EQ(click(1), (Rows{1, 0, 2})) << "Left ascending: -1280, 0, 1920";
    EXPECT_EQ(click(1), (Rows{2, 0, 1})) << "a second click on Left reverses";
    EXPECT_EQ(click(0), (Rows{1, 0, 2})) << "Monitor by the friendly names' code units: none, Beta, alpha";
    EXPECT_EQ(click(3), (Rows{2, 1, 0})) << "Width as numbers, ascending again: 800, 1280, 1920";
    EXPECT_EQ(click(5), (Rows{0, 2, 1})) << "Name: DISPLAY1, DISPLAY10, DISPLAY2";
    EXPECT_EQ(click(6), (Rows{0, 2, 1})) << "Monitor ID leaves the order as it was";
}

// Ticks are stored at a display change and restored from the first slot with the row's key (here two Monitor IDs share
// it); Check All and Uncheck All reach every row and survive a display change. A monitor that cannot be queried when
// Show starts the covers gets none, silently. Display Device(s): one row per adapter, idle ones included, with Active
// and Primary from their own flags, refilled when the display changes while it is open.
TEST_F(MonitorListFake, TicksRestoredFromTheFirstMatchingSlotAMonitorUnreadableAtShowAndTheDisplayDevicesDialog)
{
    desk.AddMonitor(L"First", {0, 0, 1920, 1080});
    desk.AddMonitor(L"Second", {1920, 0, 3840, 1080});
    desk.Adapters.push_back({L"\\\\.\\DISPLAY3", 0, L""});   // idle
    Suppress(PassthroughPromptKey);
    desk.Adapters[0].InterfacePath = L"\\\\?\\DISPLAY#UMB0AB#5&2f3c1d0&0&UID4352#{e6f07b5f}";
    desk.Adapters[1].InterfacePath = L"\\\\?\\DISPLAY#UMB0BA#5&2f3c1d0&0&UID4352#{e6f07b5f}";
    ASSERT_EQ(KeyOf(desk.Adapters[0].InterfacePath), KeyOf(desk.Adapters[1].InterfacePath));
    AppSettings.CheckedKey[0] = KeyOf(desk.Adapters[0].InterfacePath);
    AppSettings.CheckedState[0] = 1;
    Open();
    EXPECT_EQ(list.Ticks(), (Ticks{true, true}));
    // Stored as slot 0 unticked, slot 1 ticked, both under the shared key: slot 0 wins for both.
    list.SetTick(0, false);
    DisplayChange();
    EXPECT_EQ(list.Ticks(), (Ticks{false, false}));
    list.SetTick(1, true);   // a ticked row stays ticked
    for (auto [button, tick] : {std::pair{IDC_BTN_UNCHECK_ALL, false}, {IDC_BTN_CHECK_ALL, true}})
    {
        ClickButton(panel->Hwnd(), button);
        EXPECT_EQ(list.Ticks(), Ticks(2, tick));
        DisplayChange();
        EXPECT_EQ(list.Ticks(), Ticks(2, tick));
    }
    panel->Invoke([&] { desk.Monitors[0].InfoFails = FakeMonitor::InfoFailure::OutsideEnumeration; });
    {
        MessageBoxWatcher watcher;
        ClickButton(panel->Hwnd(), IDC_BTN_SHOW_WINDOWS);
        EXPECT_TRUE(PumpUntil([&] { return IsMonitorCovered(desk.Handle(1)); }));
        EXPECT_TRUE(!IsMonitorCovered(desk.Handle(0)) && OpenWindowRegistry.GetLiveCount() == 1 && !watcher.Count());
    }
    RestorePrompt(PassthroughPromptKey);

    ::PostMessageW(panel->Hwnd(), WM_COMMAND, ID_DISPLAY_DEVICES, 0);
    HWND dlg = WaitForDialog(L"Display Device(s) - Umbrafen");
    ASSERT_NE(dlg, nullptr);
    ListView devices(dlg, IDC_LIST_DISPLAY_DEVICES);
    EXPECT_EQ(devices.Column(1), (Cells{L"\\\\.\\DISPLAY1", L"\\\\.\\DISPLAY2", L"\\\\.\\DISPLAY3"}));
    const UINT dpi = ::GetDpiForWindow(dlg);   // moved to twice the scaling, it grows to its minimum size there
    RECT before, after;
    ::GetClientRect(dlg, &before);
    ::SendMessageW(dlg, WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi), 0);
    EXPECT_TRUE(::GetClientRect(dlg, &after) && after.right >= 2 * before.right && after.bottom >= 2 * before.bottom);
    EXPECT_EQ(devices.ColumnWidths()[2], ::MulDiv(350, 2 * dpi, 96)) << "Device String";
    EXPECT_EQ(LayoutFault(dlg), "");
    panel->Invoke([&] { desk.AddMonitor(L"Joined", {3840, 0, 5760, 1080}); });   // DISPLAY4, not primary
    ::SendMessageW(dlg, WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 1080));
    EXPECT_EQ(devices.Column(0), (Cells{L"1", L"2", L"3", L"4"}));
    EXPECT_EQ(devices.Column(3), (Cells{L"Yes", L"Yes", L"", L"Yes"})) << "Active";
    EXPECT_EQ(devices.Column(4), (Cells{L"Yes", L"", L"", L""})) << "Primary";
    EXPECT_EQ(devices.Column(5), (Cells{desk.Adapters[0].InterfacePath, desk.Adapters[1].InterfacePath, L"",
                                       desk.Adapters[3].InterfacePath}));
    ::PostMessageW(dlg, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(dlg); }));
}

// Only the first 20 rows' ticks are remembered, with a message each time more rows are loaded or stored.
// A display change handled while the first Loaded box is still open stores the ticks already restored.
TEST_F(MonitorListFake, TwentyOneMonitorsRememberOnlyTheFirstTwenty)
{
    for (int i = 0; i < 21; ++i)
        desk.Adapters[desk.AddMonitor(L"Panel", {1920 * i, 0, 1920 * i + 1920, 1080})].InterfacePath = Id(i);
    // Rows 0..18 remembered ticked; slot 19 holds the 21st monitor, which must not be restored.
    for (int k = 0; k < 20; ++k)
        AppSettings.CheckedKey[k] = KeyOf(Id(k < 19 ? k : 20)), AppSettings.CheckedState[k] = 1;
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
    ASSERT_TRUE(watcher && watcher->WaitForCount(3));   // Stored, the new Loaded, the first Loaded
    ASSERT_EQ(list.Count(), 21) << "every monitor is listed, only the ticks are limited";
    Ticks expected(21, true);
    expected[19] = expected[20] = false;
    EXPECT_EQ(list.Ticks(), expected);

    for (auto [row, on] : {std::pair{0, false}, {19, true}, {20, true}}) list.SetTick(row, on);
    DisplayChange();
    expected[0] = false, expected[19] = true;   // the 21st row's tick is not remembered
    EXPECT_EQ(list.Ticks(), expected);

    // The store two seconds after the change tells nothing: the box belongs to the store at exit.
    EXPECT_TRUE(PumpUntil([&] { return StoredAt(45) == 0 && StoredAt(45 + 12 * 19) == 1; }, 20000)) << "not stored";
    panel->Close();
    ASSERT_TRUE(watcher->WaitForCount(6));
    const std::wstring loaded = LimitText(L"Loaded"), stored = LimitText(L"Stored");
    EXPECT_EQ(watcher->Texts(), (Cells{stored, loaded, loaded, stored, loaded, stored}));
    for (int k = 0; k < 20; ++k)
        EXPECT_TRUE(AppSettings.CheckedKey[k] == KeyOf(Id(k)) && AppSettings.CheckedState[k] == (k > 0)) << k;
}


// On the real display: without stored widths the columns share the list's width (at 1000 pixels 298, 111, 111, 111,
// 111, 223, 1) at open and on Autosize Columns; a dragged or double-clicked divider and Autosize are stored 2 s later.
TEST_F(MonitorListReal, ColumnWidthsByDefaultAndAsTheUserSetsThem)
{
    Open();
    const std::vector<int> atOpen = list.ColumnWidths();
    SendCommand(panel->Hwnd(), ID_AUTOSIZE_COLUMNS);
    EXPECT_EQ(list.ColumnWidths(), atOpen) << "Autosize at the width the list opened with";
    // Autosize's own store comes first: only the drag can store the next width.
    EXPECT_TRUE(PumpUntil([&] { return StoredAt(285) == DWORD(atOpen[0]); }, 20000)) << "Autosize at open";
    HWND header = reinterpret_cast<HWND>(list.Send(LVM_GETHEADER));
    RECT first{};
    ::SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    const LPARAM divider = MAKELPARAM(first.right - 1, first.bottom / 2);
    const LPARAM moved = MAKELPARAM(first.right + 39, first.bottom / 2);
    for (auto [msg, wp, at] :
         {std::tuple{WM_LBUTTONDOWN, MK_LBUTTON, divider}, {WM_MOUSEMOVE, MK_LBUTTON, moved}, {WM_LBUTTONUP, 0, moved}})
        ::SendMessageW(header, msg, wp, at);
    EXPECT_EQ(list.ColumnWidths()[0], atOpen[0] + 40) << "dragged";
    EXPECT_TRUE(PumpUntil([&] { return StoredAt(285) == DWORD(atOpen[0] + 40); }, 20000)) << "a dragged width";
    ::SendMessageW(header, WM_LBUTTONDBLCLK, MK_LBUTTON, moved);   // on the divider: fits the column to its texts
    EXPECT_NE(list.ColumnWidths()[0], atOpen[0] + 40) << "not fitted";
    EXPECT_TRUE(PumpUntil([&] { return StoredAt(285) == DWORD(list.ColumnWidths()[0]); }, 20000)) << "a fitted width";
    ::SetWindowPos(list.Hwnd(), nullptr, 0, 0, 1000, 200, SWP_NOMOVE | SWP_NOZORDER);
    SendCommand(panel->Hwnd(), ID_AUTOSIZE_COLUMNS);
    EXPECT_EQ(list.ColumnWidths(), (std::vector<int>{298, 111, 111, 111, 111, 223, 1}));
    EXPECT_TRUE(PumpUntil([&] { return StoredAt(285) == 298 && StoredAt(313) == 1; }, 20000)) << "autosized widths";
}

}   // namespace
