// Monitor enumeration and identification over a scripted desktop, and once over the real
// two-screen virtual display that every GUI and end-to-end test assumes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "display/HandleText.h"
#include "display/MonitorEnum.h"
#include "tests/support/FakeDesktop.h"

namespace {

using Texts = std::vector<std::wstring>;

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

Texts All(const CStringArray& array)
{
    Texts texts;
    for (int i = 0; i < array.GetSize(); ++i) texts.push_back(W(array.GetAt(i)));
    return texts;
}

// What the monitor list does with the enumeration: one completed record per handle text.
std::vector<MonitorRecord> ListedRecords()
{
    BuildMonitorInterfaceMap();
    EnumerateMonitors();
    std::vector<MonitorRecord> records;
    for (int i = 0; i < MonitorHandleTexts.GetSize(); ++i)
    {
        MonitorRecord record;
        const auto handle = reinterpret_cast<HMONITOR>(static_cast<UINT_PTR>(ParseHandleText(MonitorHandleTexts[i])));
        if (CompleteMonitorRecord(handle, MonitorFriendlyNames[i], record)) records.push_back(record);
    }
    return records;
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
    Texts Handles(std::initializer_list<size_t> monitors) const
    {
        Texts texts;
        for (size_t m : monitors) texts.push_back(HandleTextOf(desk.Handle(m)));
        return texts;
    }

    FakeDesktop desk;
};

// Every run starts from empty arrays; a path whose names or monitor cannot be read is skipped alone.
TEST_F(MonitorEnumTest, UnresolvablePathsAreSkippedOneByOne)
{
    desk.Paths[1].TargetNameFails = true;   // DISPLAY2
    ASSERT_TRUE(EnumerateMonitors());
    EXPECT_EQ(All(MonitorHandleTexts), Handles({2, 0}));
    EXPECT_EQ(All(MonitorFriendlyNames), (Texts{L"LG HDR 4K", L"DELL U2720Q"}));

    desk.Paths[1].TargetNameFails = false;
    desk.Paths[0].SourceNameFails = true;   // DISPLAY3
    ASSERT_TRUE(EnumerateMonitors());
    EXPECT_EQ(All(MonitorHandleTexts), Handles({1, 0}));
    EXPECT_EQ(All(MonitorFriendlyNames), (Texts{L"", L"DELL U2720Q"}));

    desk.Paths[0].SourceNameFails = false;
    desk.Monitors[1].InfoFails = FakeMonitor::InfoFailure::DuringEnumeration;
    ASSERT_TRUE(EnumerateMonitors());
    EXPECT_EQ(All(MonitorHandleTexts), Handles({2, 0}));

    desk.Monitors.erase(desk.Monitors.begin() + 1);   // a source that is no desktop monitor
    ASSERT_TRUE(EnumerateMonitors());
    EXPECT_EQ(All(MonitorFriendlyNames), (Texts{L"LG HDR 4K", L"DELL U2720Q"}));

    // An empty source name matches nothing, not even a monitor whose name is empty too.
    desk.Paths[1].GdiName = L"";
    desk.Monitors.push_back(FakeMonitor{reinterpret_cast<HMONITOR>(0x7702), L"", Rect(0, 0, 640, 480)});
    ASSERT_TRUE(EnumerateMonitors());
    EXPECT_EQ(All(MonitorFriendlyNames), (Texts{L"LG HDR 4K", L"DELL U2720Q"}));
}

TEST_F(MonitorEnumTest, FailingQueriesEmptyBothArraysAndOnlyReturnedPathsCount)
{
    for (bool* fails : {&desk.BufferSizesFail, &desk.QueryFails})
    {
        ASSERT_TRUE(EnumerateMonitors());
        ASSERT_EQ(MonitorHandleTexts.GetSize(), 3);
        *fails = true;
        EXPECT_FALSE(EnumerateMonitors());
        EXPECT_EQ(MonitorHandleTexts.GetSize(), 0);
        EXPECT_EQ(MonitorFriendlyNames.GetSize(), 0);
        *fails = false;
    }
    // The size query may report more paths than the query returns; a zeroed spare element would
    // look like this path again.
    desk.Paths[0].SourceAdapter = desk.Paths[0].TargetAdapter = {};
    desk.Paths[0].SourceId = desk.Paths[0].TargetId = 0;
    desk.ExtraReportedPaths = 2;
    ASSERT_TRUE(EnumerateMonitors());
    EXPECT_EQ(MonitorHandleTexts.GetSize(), 3);
}

// Unlike the source name, the adapter name is matched ignoring case; no interface path means key 0.
TEST_F(MonitorEnumTest, MonitorIdMatchIgnoresCaseAndUnknownIdHasKeyZero)
{
    desk.Adapters[0].DeviceName = L"\\\\.\\display1";
    desk.Adapters[1].Monitors.clear();
    const std::vector<MonitorRecord> records = ListedRecords();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(W(records[2].DeviceName), L"\\\\.\\DISPLAY1");
    EXPECT_EQ(W(records[2].MonitorId), desk.Adapters[0].Monitors[0].InterfacePath);
    EXPECT_EQ(W(records[1].MonitorId), L"");
    EXPECT_EQ(MonitorIdKey(records[1].MonitorId), 0u);
}

}   // namespace
