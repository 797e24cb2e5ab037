// DisplayApi: the display functions of user32 as one replaceable table, with the call that keeps a window out of
// screen captures and the one that finds the monitor under a point.
// DisplayApiOverride: installs another table for a scope (tests script a desktop through it).
//
// Every call of these ten functions in the program goes through Display(), so a test can
// give the program a desktop the virtual display cannot make (many monitors, clone mode,
// failing queries, monitors of different DPI). The default table is user32 itself, and
// shcore's GetDpiForMonitor where the system has it.
#pragma once
#include <windows.h>
#include <shellscalingapi.h>

struct DisplayApi
{
    BOOL(WINAPI* EnumDisplayMonitors)(HDC hdc, LPCRECT clip, MONITORENUMPROC proc, LPARAM data);
    BOOL(WINAPI* GetMonitorInfoW)(HMONITOR monitor, LPMONITORINFO info);
    BOOL(WINAPI* EnumDisplayDevicesW)(LPCWSTR device, DWORD index, PDISPLAY_DEVICEW displayDevice, DWORD flags);
    LONG(WINAPI* GetDisplayConfigBufferSizes)(UINT32 flags, UINT32* pathCount, UINT32* modeCount);
    LONG(WINAPI* QueryDisplayConfig)
    (UINT32 flags, UINT32* pathCount, DISPLAYCONFIG_PATH_INFO* paths, UINT32* modeCount, DISPLAYCONFIG_MODE_INFO* modes,
     DISPLAYCONFIG_TOPOLOGY_ID* topologyId);
    LONG(WINAPI* DisplayConfigGetDeviceInfo)(DISPLAYCONFIG_DEVICE_INFO_HEADER* request);
    LONG(WINAPI* SetDisplayConfig)
    (UINT32 pathCount, DISPLAYCONFIG_PATH_INFO* paths, UINT32 modeCount, DISPLAYCONFIG_MODE_INFO* modes, UINT32 flags);
    HRESULT(WINAPI* GetDpiForMonitor)(HMONITOR monitor, MONITOR_DPI_TYPE type, UINT* dpiX, UINT* dpiY);
    BOOL(WINAPI* SetWindowDisplayAffinity)(HWND window, DWORD affinity);
    HMONITOR(WINAPI* MonitorFromPoint)(POINT pt, DWORD flags);
};

// The table bound to user32.
const DisplayApi& SystemDisplayApi();

// The table in force; the program calls the display functions only through it.
DisplayApi& Display();

// Installs a replacement table and puts the previous one back when it goes out of scope.
class DisplayApiOverride
{
public:
    explicit DisplayApiOverride(const DisplayApi& replacement);
    ~DisplayApiOverride();

    DisplayApiOverride(const DisplayApiOverride&) = delete;
    DisplayApiOverride& operator=(const DisplayApiOverride&) = delete;

private:
    DisplayApi m_previous;
};
