#include "display/MonitorDpi.h"
#include <algorithm>
#include "display/DisplayApi.h"
#include "framework/DialogDpi.h"

UINT MonitorDpi(HMONITOR monitor)
{
    UINT x = 0, y = 0;
    if (SUCCEEDED(Display().GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y)) && x) return x;
    return GetSystemDpi();
}

HMONITOR MonitorOfRect(const RECT& rc)
{
    struct Best
    {
        RECT rc;
        HMONITOR monitor = nullptr;
        long long area = -1, distance = 0;   // area of the overlap; when none, how far away
    } best{rc};
    Display().EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT m, LPARAM data) -> BOOL {
            Best& b = *reinterpret_cast<Best*>(data);
            const long long w = std::min(b.rc.right, m->right) - std::max(b.rc.left, m->left);
            const long long h = std::min(b.rc.bottom, m->bottom) - std::max(b.rc.top, m->top);
            const long long area = w > 0 && h > 0 ? w * h : 0;
            const long long dx = std::max({0LL, 0LL + m->left - b.rc.right, 0LL + b.rc.left - m->right});
            const long long dy = std::max({0LL, 0LL + m->top - b.rc.bottom, 0LL + b.rc.top - m->bottom});
            const long long distance = dx * dx + dy * dy;
            if (area > b.area || (area == 0 && b.area == 0 && distance < b.distance))
                b.monitor = monitor, b.area = area, b.distance = distance;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&best));
    return best.monitor;
}

UINT DpiOfRect(const RECT& rc)
{
    const HMONITOR monitor = MonitorOfRect(rc);
    return monitor ? MonitorDpi(monitor) : GetSystemDpi();
}

int ScaledFrom96(int value96, UINT dpi)
{
    return ::MulDiv(value96, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

int StoredAt96(int stored96, int inUse, UINT dpi)
{
    return ScaledFrom96(stored96, dpi) == inUse ? stored96
                                                : ::MulDiv(inUse, USER_DEFAULT_SCREEN_DPI, static_cast<int>(dpi));
}
