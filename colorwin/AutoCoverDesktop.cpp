// The real desktop as auto-cover reads it: tick count, cursor, foreground window and the
// covers in the registry.
#include "colorwin/AutoCover.h"
#include "colorwin/ColoredWindowManager.h"
#include "colorwin/OpenWindowRegistry.h"
#include <algorithm>

namespace {

// The desktop and the shell's wallpaper windows take the foreground when the desktop is
// clicked; they span every monitor and are nobody's work.
bool IsDesktop(HWND hWnd)
{
    if (hWnd == ::GetDesktopWindow() || hWnd == ::GetShellWindow()) return true;
    wchar_t cls[16] = L"";
    ::GetClassNameW(hWnd, cls, static_cast<int>(std::size(cls)));
    return ::lstrcmpW(cls, L"WorkerW") == 0 || ::lstrcmpW(cls, L"Progman") == 0;
}

class CRealDesktop : public IAutoCoverDesktop
{
public:
    ULONGLONG Now() override { return ::GetTickCount64(); }

    POINT Pointer() override
    {
        POINT pt;
        // No cursor to read (a secure desktop): the pointer is on no monitor.
        if (!::GetCursorPos(&pt)) pt = {LONG_MIN, LONG_MIN};
        return pt;
    }

    AutoCoverForeground Foreground() override
    {
        AutoCoverForeground fg;
        HWND hWnd = ::GetForegroundWindow();
        if (!hWnd || IsDesktop(hWnd) || !::GetWindowRect(hWnd, &fg.rect)) return fg;
        fg.present = true;
        fg.monitor = ::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONULL);
        const std::vector<HWND> covers = OpenWindowRegistry.GetWindows();
        fg.isCover = std::find(covers.begin(), covers.end(), hWnd) != covers.end();
        return fg;
    }

    CoverKind CoverOn(HMONITOR monitor) override
    {
        if (!IsMonitorCovered(monitor)) return CoverKind::None;
        return IsMonitorAutoCovered(monitor) ? CoverKind::Auto : CoverKind::User;
    }
};

}   // namespace

IAutoCoverDesktop& AutoCoverDesktop()
{
    static CRealDesktop desktop;
    return desktop;
}
