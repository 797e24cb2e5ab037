// The test desktop must be the two-screen virtual display; every GUI and
// end-to-end test assumes it, so a wrong setup fails here first and plainly.
//
// Xvfb with Xinerama does not place its screens side by side: both heads start
// at the origin, and Wine reports them exactly so (the larger one primary).
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Monitor
{
    RECT rect;
    bool primary;
};

BOOL CALLBACK CollectMonitor(HMONITOR hMonitor, HDC, LPRECT, LPARAM lParam)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(hMonitor, &info))
        return FALSE;
    reinterpret_cast<std::vector<Monitor>*>(lParam)->push_back(
        {info.rcMonitor, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    return TRUE;
}

std::vector<Monitor> EnumerateMonitors()
{
    std::vector<Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

void ExpectRect(const RECT& rect, LONG left, LONG top, LONG width, LONG height)
{
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
}

} // namespace

TEST(VirtualDesktop, HasTwoMonitorsWithTheConfiguredSizes)
{
    const std::vector<Monitor> monitors = EnumerateMonitors();
    ASSERT_EQ(monitors.size(), 2u);
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 2);

    const Monitor* primary = nullptr;
    const Monitor* secondary = nullptr;
    for (const Monitor& m : monitors)
        (m.primary ? primary : secondary) = &m;
    ASSERT_NE(primary, nullptr) << "no primary monitor";
    ASSERT_NE(secondary, nullptr) << "both monitors claim to be primary";

    {
        SCOPED_TRACE("primary");
        ExpectRect(primary->rect, 0, 0, 1920, 1080);
    }
    {
        SCOPED_TRACE("secondary");
        ExpectRect(secondary->rect, 0, 0, 1280, 1024);
    }
}

TEST(VirtualDesktop, HasTwoAttachedAdaptersAndTwoActivePaths)
{
    int attached = 0;
    DISPLAY_DEVICEW device{};
    device.cb = sizeof(device);
    for (DWORD i = 0; EnumDisplayDevicesW(nullptr, i, &device, 0); ++i)
    {
        if (device.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP)
            ++attached;
        device.cb = sizeof(device);
    }
    EXPECT_EQ(attached, 2);

    UINT32 paths = 0, modes = 0;
    ASSERT_EQ(GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &paths, &modes), ERROR_SUCCESS);
    EXPECT_EQ(paths, 2u);
}
