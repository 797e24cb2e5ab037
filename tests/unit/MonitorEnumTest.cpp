// Monitor enumeration and identification over a scripted desktop, plus a check against the
// real two-screen virtual display that the default display functions are user32's.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "display/DisplayApi.h"
#include "display/HandleText.h"
#include "display/MonitorEnum.h"
#include "tests/support/FakeDesktop.h"

namespace {

std::wstring W(const CString& text)
{
    return std::wstring(static_cast<LPCWSTR>(text));
}

RECT Rect(LONG left, LONG top, LONG width, LONG height)
{
    return RECT{left, top, left + width, top + height};
}

std::wstring HandleTextOf(HMONITOR handle)
{
    return std::to_wstring(reinterpret_cast<UINT_PTR>(handle));
}

std::vector<std::wstring> HandleTexts()
{
    std::vector<std::wstring> texts;
    for (int i = 0; i < MonitorHandleTexts.GetSize(); ++i)
        texts.push_back(W(MonitorHandleTexts.GetAt(i)));
    return texts;
}

std::vector<std::wstring> FriendlyNames()
{
    std::vector<std::wstring> names;
    for (int i = 0; i < MonitorFriendlyNames.GetSize(); ++i)
        names.push_back(W(MonitorFriendlyNames.GetAt(i)));
    return names;
}

// What the monitor list does with the enumeration: one completed record per handle text.
std::vector<MonitorRecord> ListedRecords()
{
    BuildMonitorInterfaceMap();
    EnumerateMonitors();
    std::vector<MonitorRecord> records;
    for (int i = 0; i < MonitorHandleTexts.GetSize(); ++i) {
        MonitorRecord record;
        const HMONITOR handle = reinterpret_cast<HMONITOR>(static_cast<UINT_PTR>(ParseHandleText(MonitorHandleTexts[i])));
        if (CompleteMonitorRecord(handle, MonitorFriendlyNames[i], record))
            records.push_back(record);
    }
    return records;
}

std::wstring MappedAdapter(const std::wstring& interfacePath)
{
    CString adapter;
    if (!MonitorInterfaceMap.Lookup(interfacePath.c_str(), adapter))
        return L"<absent>";
    return W(adapter);
}

// Three monitors whose desktop order (EnumDisplayMonitors) differs from the path order.
class MonitorEnumTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        desk.AddMonitor(L"DELL U2720Q", Rect(0, 0, 3840, 2160));
        desk.AddMonitor(L"", Rect(3840, 0, 1920, 1080));
        desk.AddMonitor(L"LG HDR 4K", Rect(-1280, 120, 1280, 1024));
        std::swap(desk.Paths[0], desk.Paths[2]);   // paths: DISPLAY3, DISPLAY2, DISPLAY1
    }

    FakeDesktop desk;
};

TEST_F(MonitorEnumTest, RecordsFollowPathOrderWithGeometryNamesAndIds)
{
    const std::vector<MonitorRecord> records = ListedRecords();
    ASSERT_EQ(records.size(), 3u);

    EXPECT_EQ(HandleTexts(), (std::vector<std::wstring>{HandleTextOf(desk.Handle(2)), HandleTextOf(desk.Handle(1)),
                                                        HandleTextOf(desk.Handle(0))}));
    EXPECT_EQ(FriendlyNames(), (std::vector<std::wstring>{L"LG HDR 4K", L"", L"DELL U2720Q"}));

    const MonitorRecord& first = records[0];
    EXPECT_EQ(first.Handle, desk.Handle(2));
    EXPECT_EQ(W(first.FriendlyName), L"LG HDR 4K");
    EXPECT_EQ(W(first.Label), L"LG HDR 4K");
    EXPECT_EQ(first.Left, -1280);
    EXPECT_EQ(first.Top, 120);
    EXPECT_EQ(first.Width, 1280);
    EXPECT_EQ(first.Height, 1024);
    EXPECT_EQ(W(first.DeviceName), L"\\\\.\\DISPLAY3");
    EXPECT_EQ(W(first.MonitorId), desk.Adapters[2].Monitors[0].InterfacePath);

    EXPECT_EQ(W(records[1].Label), L"Display2");
    EXPECT_EQ(W(records[1].FriendlyName), L"");
    EXPECT_EQ(records[1].Width, 1920);
    EXPECT_EQ(W(records[1].MonitorId), desk.Adapters[1].Monitors[0].InterfacePath);

    EXPECT_EQ(W(records[2].Label), L"DELL U2720Q");
    EXPECT_EQ(records[2].Left, 0);
    EXPECT_EQ(records[2].Height, 2160);
}

TEST_F(MonitorEnumTest, HandleTextsSurviveHandlesAboveFourGigabytes)
{
    ASSERT_TRUE(EnumerateMonitors());
    ASSERT_EQ(MonitorHandleTexts.GetSize(), 3);
    for (int i = 0; i < 3; ++i) {
        const ULONGLONG value = ParseHandleText(MonitorHandleTexts[i]);
        EXPECT_GT(value, 0xFFFFFFFFULL);
        EXPECT_EQ(W(FormatHandleText(reinterpret_cast<void*>(static_cast<UINT_PTR>(value)))), W(MonitorHandleTexts[i]));
    }
}

TEST_F(MonitorEnumTest, RefillReplacesThePreviousResults)
{
    ASSERT_TRUE(EnumerateMonitors());
    desk.Paths.pop_back();
    ASSERT_TRUE(EnumerateMonitors());
    EXPECT_EQ(HandleTexts(), (std::vector<std::wstring>{HandleTextOf(desk.Handle(2)), HandleTextOf(desk.Handle(1))}));
    EXPECT_EQ(FriendlyNames().size(), 2u);
}

TEST_F(MonitorEnumTest, UsesThePathCountTheQueryReturns)
{
    // A zeroed spare path element would look like this path again.
    desk.Paths[0].SourceAdapter = {};
    desk.Paths[0].SourceId = 0;
    desk.Paths[0].TargetAdapter = {};
    desk.Paths[0].TargetId = 0;
    desk.ExtraReportedPaths = 2;
    ASSERT_TRUE(EnumerateMonitors());
    EXPECT_EQ(MonitorHandleTexts.GetSize(), 3);
}

TEST_F(MonitorEnumTest, FailingTargetOrSourceNameDropsOnlyThatPath)
{
    desk.Paths[1].TargetNameFails = true;   // DISPLAY2
    ASSERT_TRUE(EnumerateMonitors());
    EXPECT_EQ(HandleTexts(), (std::vector<std::wstring>{HandleTextOf(desk.Handle(2)), HandleTextOf(desk.Handle(0))}));
    EXPECT_EQ(FriendlyNames(), (std::vector<std::wstring>{L"LG HDR 4K", L"DELL U2720Q"}));

    desk.Paths[1].TargetNameFails = false;
    desk.Paths[0].SourceNameFails = true;   // DISPLAY3
    ASSERT_TRUE(EnumerateMonitors());
    EXPECT_EQ(HandleTexts(), (std::vector<std::wstring>{HandleTextOf(desk.Handle(1)), HandleTextOf(desk.Handle(0))}));
    EXPECT_EQ(FriendlyNames(), (std::vector<std::wstring>{L"", L"DELL U2720Q"}));
}

TEST_F(MonitorEnumTest, MonitorUnreadableDuringEnumerationGetsNoRecord)
{
    desk.Monitors[1].InfoFails = FakeMonitor::InfoFailure::DuringEnumeration;
    ASSERT_TRUE(EnumerateMonitors());
    EXPECT_EQ(HandleTexts(), (std::vector<std::wstring>{HandleTextOf(desk.Handle(2)), HandleTextOf(desk.Handle(0))}));
}

TEST_F(MonitorEnumTest, MonitorUnreadableAtCompletionGetsNoRecord)
{
    desk.Monitors[2].InfoFails = FakeMonitor::InfoFailure::OutsideEnumeration;
    ASSERT_TRUE(EnumerateMonitors());
    EXPECT_EQ(MonitorHandleTexts.GetSize(), 3);   // enumeration still saw it

    MonitorRecord record;
    EXPECT_FALSE(CompleteMonitorRecord(desk.Handle(2), L"LG HDR 4K", record));
    EXPECT_FALSE(CompleteMonitorRecord(reinterpret_cast<HMONITOR>(0x1234), L"", record));

    const std::vector<MonitorRecord> records = ListedRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].Handle, desk.Handle(1));
    EXPECT_EQ(records[1].Handle, desk.Handle(0));
}

TEST_F(MonitorEnumTest, UnreadableConfigurationEmptiesBothArrays)
{
    ASSERT_TRUE(EnumerateMonitors());
    ASSERT_EQ(MonitorHandleTexts.GetSize(), 3);

    desk.BufferSizesFail = true;
    EXPECT_FALSE(EnumerateMonitors());
    EXPECT_EQ(MonitorHandleTexts.GetSize(), 0);
    EXPECT_EQ(MonitorFriendlyNames.GetSize(), 0);

    desk.BufferSizesFail = false;
    ASSERT_TRUE(EnumerateMonitors());
    ASSERT_EQ(MonitorFriendlyNames.GetSize(), 3);

    desk.QueryFails = true;
    EXPECT_FALSE(EnumerateMonitors());
    EXPECT_EQ(MonitorHandleTexts.GetSize(), 0);
    EXPECT_EQ(MonitorFriendlyNames.GetSize(), 0);
}

TEST_F(MonitorEnumTest, SourceNameMatchIsExactAndCaseSensitive)
{
    // A longer name that starts with the source's name comes first and must not match.
    desk.Monitors[0].DeviceName = L"\\\\.\\DISPLAY10";
    desk.Monitors.push_back(FakeMonitor{reinterpret_cast<HMONITOR>(0x7701), L"\\\\.\\DISPLAY1", Rect(0, 0, 800, 600)});
    desk.Paths[1].GdiName = L"\\\\.\\display2";
    ASSERT_TRUE(EnumerateMonitors());
    EXPECT_EQ(HandleTexts(), (std::vector<std::wstring>{HandleTextOf(desk.Handle(2)), L"30465"}));
}

TEST_F(MonitorEnumTest, SourceWithoutDesktopMonitorGetsNoRecord)
{
    desk.Monitors.erase(desk.Monitors.begin() + 1);
    ASSERT_TRUE(EnumerateMonitors());
    EXPECT_EQ(FriendlyNames(), (std::vector<std::wstring>{L"LG HDR 4K", L"DELL U2720Q"}));
}

TEST(MonitorEnumClone, TwoPathsOnOneSourceGiveTwoRecordsForOneHandle)
{
    FakeDesktop desk;
    desk.AddMonitor(L"Projector", Rect(0, 0, 1920, 1080));
    FakePath second = desk.Paths[0];
    second.TargetId += 7;
    second.FriendlyName = L"Meeting Room TV";
    desk.Paths.push_back(second);

    const std::vector<MonitorRecord> records = ListedRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(W(MonitorHandleTexts[0]), W(MonitorHandleTexts[1]));
    EXPECT_EQ(records[0].Handle, desk.Handle(0));
    EXPECT_EQ(records[1].Handle, desk.Handle(0));
    EXPECT_EQ(W(records[0].Label), L"Projector");
    EXPECT_EQ(W(records[1].Label), L"Meeting Room TV");
    EXPECT_EQ(W(records[0].DeviceName), W(records[1].DeviceName));
    EXPECT_FALSE(records[0].MonitorId.IsEmpty());
    EXPECT_EQ(W(records[0].MonitorId), W(records[1].MonitorId));
}

TEST(MonitorEnumLabel, DeviceNameGivesLabelWhenFriendlyNameIsEmpty)
{
    EXPECT_EQ(W(MonitorLabelFromDeviceName(L"\\\\.\\DISPLAY2")), L"Display2");
    EXPECT_EQ(W(MonitorLabelFromDeviceName(L"\\\\.\\display12")), L"Display12");
    // Every d becomes upper case, not just a leading one; every "\\.\" goes.
    EXPECT_EQ(W(MonitorLabelFromDeviceName(L"\\\\.\\IDD\\\\.\\Display7")), L"iDDDisplay7");

    FakeDesktop desk;
    desk.AddMonitor(L"", Rect(0, 0, 1024, 768));
    desk.AddMonitor(L"", Rect(1024, 0, 1024, 768));
    MonitorRecord record;
    ASSERT_TRUE(CompleteMonitorRecord(desk.Handle(1), L"", record));
    EXPECT_EQ(W(record.Label), L"Display2");
    EXPECT_EQ(W(record.FriendlyName), L"");
    ASSERT_TRUE(CompleteMonitorRecord(desk.Handle(1), L"Studio Display", record));
    EXPECT_EQ(W(record.Label), L"Studio Display");
}

TEST(MonitorInterfaceMapTest, FirstMonitorOfEveryAdapterIncludingInactiveOnes)
{
    FakeDesktop desk;
    desk.AddMonitor(L"Main", Rect(0, 0, 1920, 1080));
    // An adapter that drives two monitors: only the first is recorded.
    FakeAdapterMonitor extra;
    extra.InterfacePath = L"\\\\?\\DISPLAY#UMB0B22#5&2f3c1d0&0&UID9000#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";
    desk.Adapters[0].Monitors.push_back(extra);
    // Connected but not part of the desktop: no path, no handle, but the device walk still sees it.
    FakeAdapter idle;
    idle.DeviceName = L"\\\\.\\DISPLAY2";
    idle.StateFlags = 0;
    idle.Monitors.push_back(FakeAdapterMonitor{L"\\\\?\\DISPLAY#UMB0C33#5&2f3c1d0&0&UID9001#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}"});
    desk.Adapters.push_back(idle);
    // An adapter with no monitor at all.
    FakeAdapter bare;
    bare.DeviceName = L"\\\\.\\DISPLAY3";
    bare.StateFlags = 0;
    desk.Adapters.push_back(bare);

    MonitorInterfaceMap[L"stale"] = L"\\\\.\\DISPLAY9";
    BuildMonitorInterfaceMap();
    EXPECT_EQ(MonitorInterfaceMap.GetCount(), 2);
    EXPECT_EQ(MappedAdapter(desk.Adapters[0].Monitors[0].InterfacePath), L"\\\\.\\DISPLAY1");
    EXPECT_EQ(MappedAdapter(extra.InterfacePath), L"<absent>");
    EXPECT_EQ(MappedAdapter(idle.Monitors[0].InterfacePath), L"\\\\.\\DISPLAY2");
    EXPECT_EQ(MappedAdapter(L"stale"), L"<absent>");

    EXPECT_TRUE(EnumerateMonitors());
    EXPECT_EQ(MonitorHandleTexts.GetSize(), 1);   // the idle monitor has no path
}

TEST(MonitorInterfaceMapTest, LaterAdapterOverwritesTheSameInterfacePath)
{
    FakeDesktop desk;
    desk.AddMonitor(L"A", Rect(0, 0, 800, 600));
    desk.AddMonitor(L"B", Rect(800, 0, 800, 600));
    desk.Adapters[1].Monitors[0].InterfacePath = desk.Adapters[0].Monitors[0].InterfacePath;
    BuildMonitorInterfaceMap();
    EXPECT_EQ(MonitorInterfaceMap.GetCount(), 1);
    EXPECT_EQ(MappedAdapter(desk.Adapters[0].Monitors[0].InterfacePath), L"\\\\.\\DISPLAY2");
}

TEST(MonitorInterfaceMapTest, MonitorIdMatchIgnoresCase)
{
    FakeDesktop desk;
    desk.AddMonitor(L"Main", Rect(0, 0, 1920, 1080));
    desk.AddMonitor(L"Side", Rect(1920, 0, 1920, 1080));
    desk.Adapters[0].DeviceName = L"\\\\.\\display1";
    BuildMonitorInterfaceMap();

    MonitorRecord record;
    ASSERT_TRUE(CompleteMonitorRecord(desk.Handle(0), L"Main", record));
    EXPECT_EQ(W(record.DeviceName), L"\\\\.\\DISPLAY1");
    EXPECT_EQ(W(record.MonitorId), desk.Adapters[0].Monitors[0].InterfacePath);

    desk.Adapters[1].Monitors.clear();
    BuildMonitorInterfaceMap();
    ASSERT_TRUE(CompleteMonitorRecord(desk.Handle(1), L"Side", record));
    EXPECT_EQ(W(record.MonitorId), L"");
    EXPECT_EQ(MonitorIdKey(record.MonitorId), 0u);
}

TEST(MonitorIdKeyTest, SumsUtf16CodeUnits)
{
    EXPECT_EQ(MonitorIdKey(L""), 0u);
    EXPECT_EQ(MonitorIdKey(L"A"), 65u);
    EXPECT_EQ(MonitorIdKey(L"AB"), 131u);
    EXPECT_EQ(MonitorIdKey(L"BA"), MonitorIdKey(L"AB"));
    EXPECT_EQ(MonitorIdKey(L"\\\\?\\DISPLAY#X"), MonitorIdKey(L"\\\\?\\DISPLAY#Y") - 1);
    // Code units, not bytes or signed characters; a surrogate pair counts as its two units.
    EXPECT_EQ(MonitorIdKey(L"\xFFFF\xFFFF"), 131070u);
    EXPECT_EQ(MonitorIdKey(L"\xD83D\xDDA5"), 0xD83Du + 0xDDA5u);
}

TEST(HandleTextTest, DecimalOutAutomaticBaseIn)
{
    EXPECT_EQ(W(FormatHandleText(reinterpret_cast<void*>(static_cast<UINT_PTR>(0x1000200030ULL)))), L"68721573936");
    EXPECT_EQ(W(FormatHandleText(nullptr)), L"0");
    EXPECT_EQ(ParseHandleText(L"68721573936"), 0x1000200030ULL);
    EXPECT_EQ(ParseHandleText(L"18446744073709551615"), 0xFFFFFFFFFFFFFFFFULL);
    EXPECT_EQ(ParseHandleText(L"0x1F"), 31u);
    EXPECT_EQ(ParseHandleText(L"017"), 15u);
    EXPECT_EQ(ParseHandleText(L""), 0u);
}

TEST(DisplayApiTest, OverrideIsScopedAndNests)
{
    const auto systemQuery = SystemDisplayApi().QueryDisplayConfig;
    ASSERT_EQ(Display().QueryDisplayConfig, systemQuery);
    {
        FakeDesktop outer;
        const auto outerQuery = Display().QueryDisplayConfig;
        EXPECT_NE(outerQuery, systemQuery);
        {
            DisplayApi failing = Display();
            failing.GetDisplayConfigBufferSizes = [](UINT32, UINT32*, UINT32*) -> LONG { return ERROR_ACCESS_DENIED; };
            DisplayApiOverride inner(failing);
            EXPECT_FALSE(EnumerateMonitors());
        }
        EXPECT_EQ(Display().QueryDisplayConfig, outerQuery);
        EXPECT_TRUE(EnumerateMonitors());
    }
    EXPECT_EQ(Display().QueryDisplayConfig, systemQuery);
    EXPECT_EQ(Display().GetDisplayConfigBufferSizes, SystemDisplayApi().GetDisplayConfigBufferSizes);
}

// The real display functions on the two-screen virtual display (1920x1080 and 1280x1024).
TEST(RealDesktop, TwoScreensAreEnumeratedThroughUser32)
{
    const std::vector<MonitorRecord> records = ListedRecords();
    ASSERT_EQ(records.size(), 2u);
    std::vector<std::pair<int, int>> sizes;
    for (const MonitorRecord& record : records) {
        MONITORINFOEXW info = {};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(::GetMonitorInfoW(record.Handle, &info));
        EXPECT_EQ(W(record.DeviceName), std::wstring(info.szDevice));
        EXPECT_FALSE(record.Label.IsEmpty());
        sizes.emplace_back(record.Width, record.Height);
    }
    EXPECT_NE(std::find(sizes.begin(), sizes.end(), std::make_pair(1920, 1080)), sizes.end());
    EXPECT_NE(std::find(sizes.begin(), sizes.end(), std::make_pair(1280, 1024)), sizes.end());
}

} // namespace
