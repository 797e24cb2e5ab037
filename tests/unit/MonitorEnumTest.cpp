// Monitor enumeration over a scripted desktop: which display paths become records, and in what order.
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

// A path whose target or source name cannot be read is skipped alone, and every run starts afresh. A monitor whose
// info cannot be read has an empty device name; an empty source name must not match it.
TEST_F(MonitorEnumTest, UnreadablePathsAreSkippedOneByOne)
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
}

}   // namespace
