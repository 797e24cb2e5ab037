#include "display/MonitorFit.h"
#include <algorithm>
#include "display/DisplayApi.h"

std::vector<RECT> MonitorWorkAreas()
{
    struct Found
    {
        std::vector<RECT> areas;
        POINT origin{};   // the primary work area's corner, where workspace coordinates start
    } found;
    Display().EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
            auto* f = reinterpret_cast<Found*>(data);
            MONITORINFO info{};
            info.cbSize = sizeof(info);
            if (!Display().GetMonitorInfoW(monitor, &info)) return TRUE;   // one that cannot be asked is left out
            f->areas.push_back(info.rcWork);
            if (info.dwFlags & MONITORINFOF_PRIMARY) f->origin = {info.rcWork.left, info.rcWork.top};
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    for (RECT& area : found.areas) ::OffsetRect(&area, -found.origin.x, -found.origin.y);
    return found.areas;
}

RECT FitOnMonitors(const RECT& rc, SIZE minSize, const std::vector<RECT>& workAreas)
{
    // In 64 bits: a damaged file may hold any 32-bit coordinates. A size below the minimum, a zero
    // or negative height included, is what the platform raises it to.
    const long long left = rc.left, top = rc.top;
    const long long right = std::max(0LL + rc.right, left + minSize.cx);
    const long long bottom = std::max(0LL + rc.bottom, top + minSize.cy);
    const RECT* nearest = nullptr;
    double best = 0;
    for (const RECT& area : workAreas)
    {
        if (left < area.right && area.left < right && top < area.bottom && area.top < bottom) return rc;
        const long long dx = std::max({0LL, area.left - right, left - area.right});
        const long long dy = std::max({0LL, area.top - bottom, top - area.bottom});
        const double distance = double(dx) * dx + double(dy) * dy;
        if (!nearest || distance < best) nearest = &area, best = distance;
    }
    if (!nearest) return rc;
    const long long width = std::min(right - left, 0LL + nearest->right - nearest->left);
    const long long height = std::min(bottom - top, 0LL + nearest->bottom - nearest->top);
    const LONG x = static_cast<LONG>(std::clamp(left, 0LL + nearest->left, nearest->right - width));
    const LONG y = static_cast<LONG>(std::clamp(top, 0LL + nearest->top, nearest->bottom - height));
    return {x, y, static_cast<LONG>(x + width), static_cast<LONG>(y + height)};
}
