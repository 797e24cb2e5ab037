// The control panel's monitor list read back as a user sees it: rows, cell texts, ticks and
// item data through list-view messages. First over a scripted desktop (clone mode, missing
// paths, failing queries, more monitors than ticks are remembered for), then on the real
// two-screen virtual display (geometry, names, ticks across display changes and restarts,
// column widths, Check All / Uncheck All).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/GuiSupport.h"

namespace {

constexpr int ColumnCount = 7;
constexpr int Factors[ColumnCount] = {200, 75, 75, 75, 75, 150, 1};
const wchar_t* const Titles[ColumnCount] = {L"Monitor", L"Left", L"Top", L"Width", L"Height", L"Name", L"Monitor ID"};

// The key a tick is remembered under: the sum of the Monitor ID's UTF-16 code units.
ULONGLONG KeyOf(const std::wstring& monitorId)
{
    ULONGLONG sum = 0;
    for (wchar_t c : monitorId) sum += static_cast<unsigned short>(c);
    return sum;
}

std::wstring SupportEmail()
{
    WCHAR text[256] = {};
    ::LoadStringW(::GetModuleHandleW(nullptr), IDS_SUPPORT_EMAIL, text, 256);
    return text;
}

std::wstring LimitText(const wchar_t* verb)
{
    return std::wstring(L"Checked / Unchecked Data of only 20 Display Devices will be ") + verb +
           L".\n\nPlease Write to " + SupportEmail() + L" to get this Limit increased.";
}

RECT Rect(LONG left, LONG top, LONG width, LONG height)
{
    return RECT{left, top, left + width, top + height};
}

// The monitor list, reached only through its window as another program would.
class ListView
{
public:
    explicit ListView(HWND dlg) : m_h(::GetDlgItem(dlg, IDC_LIST_MONITORS)) {}
    HWND Hwnd() const { return m_h; }

    int Count() const { return static_cast<int>(::SendMessageW(m_h, LVM_GETITEMCOUNT, 0, 0)); }

    std::wstring Text(int row, int column) const
    {
        WCHAR buffer[512] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = 512;
        ::SendMessageW(m_h, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        return buffer;
    }

    bool Ticked(int row) const
    {
        const UINT state = static_cast<UINT>(::SendMessageW(m_h, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
        return (state >> 12) == 2;
    }

    std::vector<bool> Ticks() const
    {
        std::vector<bool> ticks;
        for (int r = 0; r < Count(); ++r) ticks.push_back(Ticked(r));
        return ticks;
    }

    // Ticks or unticks a row's check box as a click on it does.
    void SetTick(int row, bool on) const
    {
        LVITEMW item{};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
        ::SendMessageW(m_h, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }

    HMONITOR Data(int row) const
    {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        ::SendMessageW(m_h, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return reinterpret_cast<HMONITOR>(item.lParam);
    }

    int ColumnWidth(int column) const
    {
        return static_cast<int>(::SendMessageW(m_h, LVM_GETCOLUMNWIDTH, column, 0));
    }

    std::wstring ColumnTitle(int column) const
    {
        WCHAR buffer[64] = {};
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT;
        col.pszText = buffer;
        col.cchTextMax = 64;
        ::SendMessageW(m_h, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&col));
        return buffer;
    }

    int Find(HMONITOR handle) const
    {
        for (int r = 0; r < Count(); ++r)
            if (Data(r) == handle) return r;
        return -1;
    }

private:
    HWND m_h;
};

// Closes the panel as the user does and waits until its destruction (and so the store) is over.
void ClosePanel(PanelThread& panel)
{
    ::PostMessageW(panel.Hwnd(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(panel.Ended(15000)) << "the control panel did not close";
}

// A display change as the platform announces it; returns once the panel has handled it.
void SendDisplayChange(PanelThread& panel)
{
    ::SendMessageW(panel.Hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 1080));
}

// ---------------------------------------------------------------------------------------------
// Over a scripted desktop. The desktop is installed before the panel opens and changed only on
// the panel's own thread, so the list never sees a half-edited desktop.

class MonitorListFake : public ::testing::Test
{
protected:
    void SetUp() override { ResetAppSettings(); }
    void TearDown() override { ResetAppSettings(); }

    // Gives the monitor added at index i a Monitor ID of our choosing.
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

    PanelThread panel;
    ASSERT_NE(panel.Hwnd(), nullptr);
    ListView list(panel.Hwnd());
    ASSERT_EQ(list.Count(), 2);

    EXPECT_EQ(list.Data(0), desk.Handle(0));
    EXPECT_EQ(list.Text(0, 0), L"DELL U2720Q");
    EXPECT_EQ(list.Text(0, 1), L"0");
    EXPECT_EQ(list.Text(0, 2), L"0");
    EXPECT_EQ(list.Text(0, 3), L"3840");
    EXPECT_EQ(list.Text(0, 4), L"2160");
    EXPECT_EQ(list.Text(0, 5), L"\\\\.\\DISPLAY1");
    EXPECT_EQ(list.Text(0, 6), desk.Adapters[0].Monitors[0].InterfacePath);

    EXPECT_EQ(list.Data(1), desk.Handle(1)) << "handles above 4 GiB survive in the item data";
    EXPECT_EQ(list.Text(1, 0), L"Display2") << "no friendly name: the label comes from the device name";
    EXPECT_EQ(list.Text(1, 1), L"-1280");
    EXPECT_EQ(list.Text(1, 2), L"120");
    EXPECT_EQ(list.Text(1, 3), L"1280");
    EXPECT_EQ(list.Text(1, 4), L"1024");
    EXPECT_EQ(list.Text(1, 5), L"\\\\.\\DISPLAY2");
    EXPECT_EQ(list.Text(1, 6), desk.Adapters[1].Monitors[0].InterfacePath);
    EXPECT_EQ(list.Ticks(), (std::vector<bool>{false, false})) << "fresh settings remember no tick";
}

TEST_F(MonitorListFake, CloneModeGivesOneRowPerPathWithTheSameHandle)
{
    desk.AddMonitor(L"Projector", Rect(0, 0, 1920, 1080));
    FakePath clone = desk.Paths[0];   // a second target on the same source
    clone.TargetId += 0x40;
    clone.FriendlyName = L"Studio Display";
    clone.MonitorDevicePath = L"\\\\?\\DISPLAY#UMB0C77#5&2f3c1d0&0&UID9000#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";
    desk.Paths.push_back(clone);

    PanelThread panel;
    ASSERT_NE(panel.Hwnd(), nullptr);
    ListView list(panel.Hwnd());
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Data(0), desk.Handle(0));
    EXPECT_EQ(list.Data(1), desk.Handle(0));
    EXPECT_EQ(list.Text(0, 0), L"Projector");
    EXPECT_EQ(list.Text(1, 0), L"Studio Display");
    for (int r = 0; r < 2; ++r)
    {
        SCOPED_TRACE(r);
        EXPECT_EQ(list.Text(r, 3), L"1920");
        EXPECT_EQ(list.Text(r, 5), L"\\\\.\\DISPLAY1");
    }
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

    PanelThread panel;
    ASSERT_NE(panel.Hwnd(), nullptr);
    ListView list(panel.Hwnd());
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Text(0, 0), L"First");
    EXPECT_EQ(list.Data(0), desk.Handle(0));
    EXPECT_EQ(list.Text(1, 0), L"Third");
    EXPECT_EQ(list.Data(1), desk.Handle(2));
    EXPECT_EQ(list.Text(1, 3), L"1280") << "the row after a dropped one has its own cells";
}

TEST_F(MonitorListFake, TwentyOneMonitorsRememberOnlyTheFirstTwentyAtOpenAndClose)
{
    AddMonitors(21);
    // Rows 0..18 remembered ticked; slot 19 holds the 21st monitor, which must not be restored.
    for (int k = 0; k < 19; ++k)
    {
        AppSettings.CheckedKey[k] = KeyOf(Id(k));
        AppSettings.CheckedState[k] = 1;
    }
    AppSettings.CheckedKey[19] = KeyOf(Id(20));
    AppSettings.CheckedState[19] = 1;

    MessageBoxWatcher watcher;
    PanelThread panel;
    ASSERT_NE(panel.Hwnd(), nullptr);
    ASSERT_TRUE(watcher.WaitForCount(1, 10000));
    EXPECT_EQ(watcher.Texts(), (std::vector<std::wstring>{LimitText(L"Loaded")}));

    ListView list(panel.Hwnd());
    ASSERT_EQ(list.Count(), 21) << "every monitor is listed, only the ticks are limited";
    for (int r = 0; r < 19; ++r) EXPECT_TRUE(list.Ticked(r)) << "row " << r;
    EXPECT_FALSE(list.Ticked(19)) << "no slot for this monitor";
    EXPECT_FALSE(list.Ticked(20)) << "the 21st row is never restored";

    list.SetTick(0, false);
    list.SetTick(19, true);
    list.SetTick(20, true);
    ClosePanel(panel);
    ASSERT_TRUE(watcher.WaitForCount(2, 10000));
    EXPECT_EQ(watcher.Texts(), (std::vector<std::wstring>{LimitText(L"Loaded"), LimitText(L"Stored")}));
    EXPECT_EQ(watcher.Count(), 2u);

    for (int k = 0; k < 20; ++k)
    {
        EXPECT_EQ(AppSettings.CheckedKey[k], KeyOf(Id(k))) << "slot " << k;
        EXPECT_EQ(AppSettings.CheckedState[k], k == 0 ? 0u : 1u) << "slot " << k;
    }
}

TEST_F(MonitorListFake, TwentyOneMonitorsAtADisplayChangeStoreThenLoad)
{
    AddMonitors(21);
    MessageBoxWatcher watcher;
    PanelThread panel;
    ASSERT_NE(panel.Hwnd(), nullptr);
    ASSERT_TRUE(watcher.WaitForCount(1, 10000));
    ListView list(panel.Hwnd());
    ASSERT_EQ(list.Count(), 21);
    list.SetTick(1, true);
    list.SetTick(19, true);
    list.SetTick(20, true);

    SendDisplayChange(panel);
    ASSERT_TRUE(watcher.WaitForCount(3, 10000));
    EXPECT_EQ(watcher.Texts(),
              (std::vector<std::wstring>{LimitText(L"Loaded"), LimitText(L"Stored"), LimitText(L"Loaded")}));

    ASSERT_EQ(list.Count(), 21);
    std::vector<bool> expected(21, false);
    expected[1] = expected[19] = true;   // the 21st row's tick is not remembered
    EXPECT_EQ(list.Ticks(), expected);
}

TEST_F(MonitorListFake, AStoreWithFewerRowsKeepsTheOldSlotsForReturningMonitors)
{
    AddMonitors(3);   // A, B, C
    PanelThread panel;
    ASSERT_NE(panel.Hwnd(), nullptr);
    ListView list(panel.Hwnd());
    ASSERT_EQ(list.Count(), 3);
    list.SetTick(0, true);
    list.SetTick(2, true);

    // A and C leave: the store still sees three rows (A ticked, B not, C ticked).
    panel.Invoke([&] {
        desk.Monitors.erase(desk.Monitors.begin() + 2);
        desk.Paths.erase(desk.Paths.begin() + 2);
        desk.Monitors.erase(desk.Monitors.begin());
        desk.Paths.erase(desk.Paths.begin());
    });
    SendDisplayChange(panel);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Text(0, 6), Id(1));
    EXPECT_FALSE(list.Ticked(0));
    list.SetTick(0, true);

    // A and C come back; the store of one row rewrote slot 0 only.
    panel.Invoke([&] {
        desk.Monitors.clear();
        desk.Paths.clear();
        desk.Adapters.clear();
        AddMonitors(3);
    });
    SendDisplayChange(panel);
    EXPECT_EQ(AppSettings.CheckedKey[0], KeyOf(Id(1)));
    EXPECT_EQ(AppSettings.CheckedState[0], 1u);
    EXPECT_EQ(AppSettings.CheckedKey[1], KeyOf(Id(1)));
    EXPECT_EQ(AppSettings.CheckedState[1], 0u);
    EXPECT_EQ(AppSettings.CheckedKey[2], KeyOf(Id(2)));
    EXPECT_EQ(AppSettings.CheckedState[2], 1u);

    ASSERT_EQ(list.Count(), 3);
    EXPECT_FALSE(list.Ticked(0)) << "A's slot was overwritten";
    EXPECT_TRUE(list.Ticked(1)) << "B takes its first slot, not the older unticked one";
    EXPECT_TRUE(list.Ticked(2)) << "C's old slot survived the smaller store";
}

TEST_F(MonitorListFake, RowsWithoutMonitorIdTakeTheFirstSlotWithKeyZero)
{
    AddMonitors(2);
    desk.Adapters[1].Monitors.clear();   // nothing reports a monitor interface for DISPLAY2
    AppSettings.CheckedKey[0] = KeyOf(Id(0));
    AppSettings.CheckedState[0] = 0;
    AppSettings.CheckedKey[1] = 0;
    AppSettings.CheckedState[1] = 1;
    AppSettings.CheckedKey[2] = 0;
    AppSettings.CheckedState[2] = 0;

    PanelThread panel;
    ASSERT_NE(panel.Hwnd(), nullptr);
    ListView list(panel.Hwnd());
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Text(1, 6), L"");
    EXPECT_FALSE(list.Ticked(0));
    EXPECT_TRUE(list.Ticked(1));
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

    PanelThread panel;
    ASSERT_NE(panel.Hwnd(), nullptr);
    ListView list(panel.Hwnd());
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Text(0, 6), first);
    EXPECT_EQ(list.Text(1, 6), second);
    EXPECT_EQ(list.Ticks(), (std::vector<bool>{true, true}));

    // Only the second ticked: both slots get the shared key, and the first slot wins for both.
    list.SetTick(0, false);
    SendDisplayChange(panel);
    EXPECT_EQ(list.Ticks(), (std::vector<bool>{false, false}));
}

TEST_F(MonitorListFake, ATickFollowsItsMonitorIdWhenTheRowMoves)
{
    AddMonitors(3);   // A, B, C
    PanelThread panel;
    ASSERT_NE(panel.Hwnd(), nullptr);
    ListView list(panel.Hwnd());
    ASSERT_EQ(list.Count(), 3);
    list.SetTick(1, true);

    // New order C, A, B, and B changes resolution.
    panel.Invoke([&] {
        std::rotate(desk.Paths.begin(), desk.Paths.begin() + 2, desk.Paths.end());
        desk.Monitors[1].Rect = Rect(1920, 0, 2560, 1440);
    });
    SendDisplayChange(panel);

    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Data(2), desk.Handle(1));
    EXPECT_EQ(list.Text(2, 6), Id(1));
    EXPECT_EQ(list.Text(2, 3), L"2560");
    EXPECT_EQ(list.Ticks(), (std::vector<bool>{false, false, true}));
}

// ---------------------------------------------------------------------------------------------
// On the real two-screen virtual display.

struct PlatformMonitor
{
    HMONITOR handle;
    RECT rect;
    std::wstring device;
    std::wstring id;
    std::wstring friendly;
};

// The friendly name the platform gives the target of the active path whose source is device.
std::wstring PlatformFriendlyName(const std::wstring& device)
{
    UINT32 pathCount = 0, modeCount = 0;
    if (::GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount) != ERROR_SUCCESS) return L"";
    std::vector<DISPLAYCONFIG_PATH_INFO> paths(pathCount);
    std::vector<DISPLAYCONFIG_MODE_INFO> modes(modeCount);
    if (::QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths.data(), &modeCount, modes.data(), nullptr) !=
        ERROR_SUCCESS)
        return L"";
    for (UINT32 i = 0; i < pathCount; ++i)
    {
        DISPLAYCONFIG_SOURCE_DEVICE_NAME source{};
        source.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME;
        source.header.size = sizeof(source);
        source.header.adapterId = paths[i].sourceInfo.adapterId;
        source.header.id = paths[i].sourceInfo.id;
        if (::DisplayConfigGetDeviceInfo(&source.header) != ERROR_SUCCESS || device != source.viewGdiDeviceName)
            continue;
        DISPLAYCONFIG_TARGET_DEVICE_NAME target{};
        target.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_NAME;
        target.header.size = sizeof(target);
        target.header.adapterId = paths[i].targetInfo.adapterId;
        target.header.id = paths[i].targetInfo.id;
        if (::DisplayConfigGetDeviceInfo(&target.header) == ERROR_SUCCESS) return target.monitorFriendlyDeviceName;
    }
    return L"";
}

std::vector<PlatformMonitor> PlatformMonitors()
{
    std::vector<HMONITOR> handles;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR h, HDC, LPRECT, LPARAM lp) -> BOOL {
            reinterpret_cast<std::vector<HMONITOR>*>(lp)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&handles));
    std::vector<PlatformMonitor> monitors;
    for (HMONITOR h : handles)
    {
        MONITORINFOEXW info{};
        info.cbSize = sizeof(info);
        if (!::GetMonitorInfoW(h, &info)) continue;
        PlatformMonitor m{h, info.rcMonitor, info.szDevice, L"", L""};
        DISPLAY_DEVICEW dd{};
        dd.cb = sizeof(dd);
        if (::EnumDisplayDevicesW(info.szDevice, 0, &dd, EDD_GET_DEVICE_INTERFACE_NAME)) m.id = dd.DeviceID;
        m.friendly = PlatformFriendlyName(m.device);
        monitors.push_back(m);
    }
    return monitors;
}

class MonitorListReal : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetAppSettings();
        m_monitors = PlatformMonitors();
        ASSERT_EQ(m_monitors.size(), 2u) << "the virtual desktop has two monitors";
    }
    void TearDown() override { ResetAppSettings(); }

    // Both screens start at the origin here, so the secondary one is told apart by its flag.
    static HMONITOR SecondaryByFlag()
    {
        for (const PlatformMonitor& m : PlatformMonitors())
        {
            MONITORINFO info{};
            info.cbSize = sizeof(info);
            if (::GetMonitorInfoW(m.handle, &info) && !(info.dwFlags & MONITORINFOF_PRIMARY)) return m.handle;
        }
        return nullptr;
    }

    std::vector<PlatformMonitor> m_monitors;
};

TEST_F(MonitorListReal, ListsBothMonitorsAsThePlatformReportsThem)
{
    PanelThread panel;
    ASSERT_NE(panel.Hwnd(), nullptr);
    ListView list(panel.Hwnd());
    ASSERT_EQ(list.Count(), 2);

    std::set<HMONITOR> seen;
    for (int r = 0; r < list.Count(); ++r)
    {
        SCOPED_TRACE(r);
        const HMONITOR h = list.Data(r);
        auto it = std::find_if(m_monitors.begin(), m_monitors.end(), [&](const PlatformMonitor& m) { return m.handle == h; });
        ASSERT_NE(it, m_monitors.end()) << "the item data is no monitor of the desktop";
        seen.insert(h);
        const std::wstring label = it->friendly.empty() ? L"Display" + it->device.substr(11) : it->friendly;
        EXPECT_EQ(list.Text(r, 0), label);
        EXPECT_EQ(list.Text(r, 1), std::to_wstring(it->rect.left));
        EXPECT_EQ(list.Text(r, 2), std::to_wstring(it->rect.top));
        EXPECT_EQ(list.Text(r, 3), std::to_wstring(it->rect.right - it->rect.left));
        EXPECT_EQ(list.Text(r, 4), std::to_wstring(it->rect.bottom - it->rect.top));
        EXPECT_EQ(list.Text(r, 5), it->device);
        EXPECT_FALSE(it->id.empty()) << "the platform reports a monitor interface for " << std::string(it->device.begin(), it->device.end());
        EXPECT_EQ(list.Text(r, 6), it->id);
    }
    EXPECT_EQ(seen.size(), 2u) << "each monitor once";
}

TEST_F(MonitorListReal, ATickSurvivesADisplayChange)
{
    const HMONITOR secondary = SecondaryByFlag();
    ASSERT_NE(secondary, nullptr);
    PanelThread panel;
    ASSERT_NE(panel.Hwnd(), nullptr);
    ListView list(panel.Hwnd());
    ASSERT_EQ(list.Count(), 2);
    const int row = list.Find(secondary);
    ASSERT_GE(row, 0);
    list.SetTick(row, true);

    SendDisplayChange(panel);
    ASSERT_EQ(list.Count(), 2);
    const int after = list.Find(secondary);
    ASSERT_GE(after, 0);
    EXPECT_TRUE(list.Ticked(after));
    EXPECT_FALSE(list.Ticked(1 - after));
}

TEST_F(MonitorListReal, ATickSurvivesARestartThroughTheDataFile)
{
    const HMONITOR secondary = SecondaryByFlag();
    ASSERT_NE(secondary, nullptr);
    WCHAR folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring file = std::wstring(folder) + L"UmbrafenMonitorListTest.dat";
    ::DeleteFileW(file.c_str());

    {
        PanelThread panel;
        ASSERT_NE(panel.Hwnd(), nullptr);
        ListView list(panel.Hwnd());
        const int row = list.Find(secondary);
        ASSERT_GE(row, 0);
        list.SetTick(row, true);
        ClosePanel(panel);
    }
    SaveLoadSettingsAt(file.c_str(), TRUE);
    ResetAppSettings();
    ASSERT_EQ(AppSettings.CheckedKey[0], 0u);
    SaveLoadSettingsAt(file.c_str(), FALSE);
    ::DeleteFileW(file.c_str());

    PanelThread panel;
    ASSERT_NE(panel.Hwnd(), nullptr);
    ListView list(panel.Hwnd());
    ASSERT_EQ(list.Count(), 2);
    const int row = list.Find(secondary);
    ASSERT_GE(row, 0);
    EXPECT_TRUE(list.Ticked(row));
    EXPECT_FALSE(list.Ticked(1 - row));
}

TEST_F(MonitorListReal, ColumnsWithoutStoredWidthsShareTheListWidth)
{
    PanelThread panel;
    ASSERT_NE(panel.Hwnd(), nullptr);
    ListView list(panel.Hwnd());
    RECT rc{};
    ::GetWindowRect(list.Hwnd(), &rc);
    const int w = rc.right - rc.left;
    ASSERT_GT(w, 0);

    int visible = 0;
    for (int i = 0; i < ColumnCount; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(list.ColumnTitle(i), Titles[i]);
        EXPECT_EQ(list.ColumnWidth(i), w * Factors[i] / 671);
        if (i < 6) visible += list.ColumnWidth(i);
    }
    EXPECT_LE(visible, w * 650 / 671);
    EXPECT_GT(visible, w * 650 / 671 - 6) << "only truncation may lose pixels";
    EXPECT_EQ(list.ColumnWidth(6), w / 671);

    const DWORD ex = static_cast<DWORD>(::SendMessageW(list.Hwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(ex & 0x25u, 0x25u) << "grid lines, check boxes, full-row select";
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list.Hwnd(), LVM_GETHEADER, 0, 0));
    EXPECT_TRUE(::GetWindowLongW(header, GWL_STYLE) & HDS_CHECKBOXES);
}

TEST_F(MonitorListReal, StoredWidthsAreUsedAndTheWidthsAtCloseAreKept)
{
    const int stored[ColumnCount] = {101, 52, 53, 0, 55, 106, 7};
    std::copy(std::begin(stored), std::end(stored), AppSettings.ColumnWidths);
    int w = 0;
    {
        PanelThread panel;
        ASSERT_NE(panel.Hwnd(), nullptr);
        ListView list(panel.Hwnd());
        RECT rc{};
        ::GetWindowRect(list.Hwnd(), &rc);
        w = rc.right - rc.left;
        for (int i = 0; i < ColumnCount; ++i)
            EXPECT_EQ(list.ColumnWidth(i), stored[i] != 0 ? stored[i] : w * Factors[i] / 671) << "column " << i;

        ::SendMessageW(list.Hwnd(), LVM_SETCOLUMNWIDTH, 5, MAKELPARAM(240, 0));
        ::SendMessageW(list.Hwnd(), LVM_SETCOLUMNWIDTH, 6, MAKELPARAM(0, 0));
        ClosePanel(panel);
    }
    const int expected[ColumnCount] = {101, 52, 53, w * 75 / 671, 55, 240, 0};
    for (int i = 0; i < ColumnCount; ++i) EXPECT_EQ(AppSettings.ColumnWidths[i], expected[i]) << "column " << i;
}

TEST_F(MonitorListReal, CheckAllAndUncheckAllTickEveryRowAndSurviveADisplayChange)
{
    PanelThread panel;
    ASSERT_NE(panel.Hwnd(), nullptr);
    ListView list(panel.Hwnd());
    ASSERT_EQ(list.Count(), 2);

    ClickButton(panel.Hwnd(), IDC_BTN_CHECK_ALL);
    EXPECT_EQ(list.Ticks(), (std::vector<bool>{true, true}));
    SendDisplayChange(panel);
    EXPECT_EQ(list.Ticks(), (std::vector<bool>{true, true}));

    list.SetTick(0, false);
    ClickButton(panel.Hwnd(), IDC_BTN_CHECK_ALL);
    EXPECT_EQ(list.Ticks(), (std::vector<bool>{true, true})) << "a ticked row stays ticked, an unticked one is ticked";

    ClickButton(panel.Hwnd(), IDC_BTN_UNCHECK_ALL);
    EXPECT_EQ(list.Ticks(), (std::vector<bool>{false, false}));
    SendDisplayChange(panel);
    EXPECT_EQ(list.Ticks(), (std::vector<bool>{false, false}));
}

} // namespace
