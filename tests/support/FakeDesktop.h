// A scripted desktop answering the display functions through the DisplayApi table while it lives. Tests fill the
// vectors (or call AddMonitor) and may change them between calls. Requests are checked as strictly as the platform
// checks them (structure sizes, header types, flags), so a malformed call fails.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "display/DisplayApi.h"

struct FakeMonitor   // EnumDisplayMonitors, GetMonitorInfoW, GetDpiForMonitor
{
    enum class InfoFailure { None, DuringEnumeration, OutsideEnumeration };   // when GetMonitorInfoW fails
    HMONITOR Handle = nullptr;
    std::wstring DeviceName;   // szDevice, such as \\.\DISPLAY1
    RECT Rect = {};
    InfoFailure InfoFails = InfoFailure::None;
    UINT Dpi = 0;   // 0: the real desktop's
};

struct FakeAdapter   // EnumDisplayDevicesW
{
    std::wstring DeviceName;   // \\.\DISPLAY1
    DWORD StateFlags = DISPLAY_DEVICE_ATTACHED_TO_DESKTOP;
    std::wstring InterfacePath;   // its one monitor's DeviceID with EDD_GET_DEVICE_INTERFACE_NAME; empty: none
};

struct FakePath   // QueryDisplayConfig, DisplayConfigGetDeviceInfo; path i has source id i and target id 0x1100 + i
{
    std::wstring GdiName;        // viewGdiDeviceName of the source
    std::wstring FriendlyName;   // monitorFriendlyDeviceName of the target
    bool SourceNameFails = false;
    bool TargetNameFails = false;
};

class FakeDesktop
{
public:
    FakeDesktop();   // an empty desktop, not copyable; the previous display functions come back at destruction
    ~FakeDesktop();

    std::vector<FakeMonitor> Monitors;   // in EnumDisplayMonitors order
    std::vector<FakeAdapter> Adapters;   // in EnumDisplayDevicesW order
    std::vector<FakePath> Paths;         // in QueryDisplayConfig order

    // The topology box: what the database query reports, and what SetDisplayConfig was asked.
    DISPLAYCONFIG_TOPOLOGY_ID CurrentTopology = DISPLAYCONFIG_TOPOLOGY_EXTEND;
    LONG ValidateResult = ERROR_SUCCESS;   // answer to SDC_VALIDATE; a successful SDC_APPLY switches CurrentTopology
    std::vector<UINT32> SetDisplayConfigFlags;

    // Adds a desktop monitor (handle above 4 GiB, so truncation shows), an adapter \\.\DISPLAYn driving
    // it and an active path with the given friendly name; returns its index into Monitors.
    size_t AddMonitor(const std::wstring& friendlyName, RECT rect);
    HMONITOR Handle(size_t i) const { return Monitors.at(i).Handle; }

private:
    FakeDesktop* m_previous;
    DisplayApiOverride m_override;
};
