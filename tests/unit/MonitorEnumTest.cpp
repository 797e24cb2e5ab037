// Monitor enumeration over a scripted desktop: which display paths become records, and in what order.
#include "display/MonitorDpi.h"
#include "display/MonitorEnum.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/GuiSupport.h"

namespace {

using Texts = std::vector<std::wstring>;
using Indexes = std::vector<size_t>;

Texts All(const CStringArray& array)
{
    return Each(int(array.GetSize()), [&](int i) { return std::wstring(array.GetAt(i)); });
}

// Three monitors whose desktop order (EnumDisplayMonitors) differs from the path order.
class MonitorEnumTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        desk.AddMonitor(L"DELL U2720Q", {0, 0, 3840, 2160});
        desk.AddMonitor(L"", {3840, 0, 5760, 1080});
        desk.AddMonitor(L"LG HDR 4K", {-1280, 120, 0, 1144});
        std::swap(desk.Paths[0], desk.Paths[2]);   // paths: DISPLAY3, DISPLAY2, DISPLAY1
    }
    // The records of one run: monitors by index into desk.Monitors, and their friendly names.
    std::pair<Indexes, Texts> Enumerate()
    {
        EXPECT_TRUE(EnumerateMonitors());
        Indexes monitors;
        for (const std::wstring& text : All(MonitorHandleTexts))
            for (size_t m = 0; m < desk.Monitors.size(); ++m)
                if (text == std::to_wstring(reinterpret_cast<UINT_PTR>(desk.Handle(m)))) monitors.push_back(m);
        EXPECT_EQ(monitors.size(), static_cast<size_t>(MonitorHandleTexts.GetSize())) << "a handle text no monitor has";
        return {monitors, All(MonitorFriendlyNames)};
    }

    FakeDesktop desk;
};

// A path whose target or source name cannot be read is skipped alone, and every run starts afresh; a monitor whose info
// cannot be read has an empty device name, which an empty source name must not match. A window belongs to the monitor
// holding most of it, or the nearest; one not answering has the system's DPI. A 96-DPI value scaled back is unchanged.
TEST_F(MonitorEnumTest, UnreadablePathsAreSkippedOneByOneAndPerMonitorDpiOfWindowsAcrossTheDesktop)
{
    EXPECT_EQ(Enumerate(), (std::pair{Indexes{2, 1, 0}, Texts{L"LG HDR 4K", L"", L"DELL U2720Q"}}));
    desk.Paths[1].TargetNameFails = true;   // DISPLAY2, in the middle
    EXPECT_EQ(Enumerate(), (std::pair{Indexes{2, 0}, Texts{L"LG HDR 4K", L"DELL U2720Q"}}));
    desk.Paths[1].TargetNameFails = false;
    desk.Paths[0].SourceNameFails = true;   // DISPLAY3, the first
    EXPECT_EQ(Enumerate(), (std::pair{Indexes{1, 0}, Texts{L"", L"DELL U2720Q"}}));
    desk.Paths[0].SourceNameFails = false;
    desk.Monitors[1].InfoFails = FakeMonitor::InfoFailure::DuringEnumeration;
    desk.Paths[1].GdiName = L"";
    EXPECT_EQ(Enumerate(), (std::pair{Indexes{2, 0}, Texts{L"LG HDR 4K", L"DELL U2720Q"}}));
    desk.Monitors[0].Dpi = 192, desk.Monitors[1].Dpi = 96, desk.Monitors[2].Dpi = 144;
    const std::pair<RECT, UINT> cases[] = {
        {{3500, 0, 4000, 600}, 192},       // more of it on the first
        {{3700, 0, 4300, 600}, 96},        // more on the second
        {{-900, 1200, -300, 1800}, 144},   // on none, nearest the third
        {{7000, 0, 7100, 100}, 96},        // on none, nearest the second
    };
    for (auto [rc, dpi] : cases) EXPECT_EQ(DpiOfRect(rc), dpi) << rc.left << "," << rc.top;
    EXPECT_EQ(MonitorDpi(reinterpret_cast<HMONITOR>(0x1234)), ::GetDpiForSystem());
    for (UINT dpi : {72u, 96u, 120u, 144u, 168u, 192u, 240u})
        for (int v : {-150, -26, -21, 1, 2, 3, 5, 101, 499})
            EXPECT_EQ(StoredAt96(v, ScaledFrom96(v, dpi), dpi), v) << v << " at " << dpi;
    EXPECT_EQ(StoredAt96(100, 200, 144), 133);   // changed: taken back to 96 DPI
}

}   // namespace
