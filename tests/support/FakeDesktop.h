// A scripted desktop for tests, answering the display functions through the DisplayApi table.
//   FakeMonitor         a monitor of the desktop (EnumDisplayMonitors, GetMonitorInfoW)
//   FakeAdapterMonitor  a monitor connected to a display adapter (EnumDisplayDevicesW on the adapter)
//   FakeAdapter         a display adapter (EnumDisplayDevicesW with no device name)
//   FakePath            an active display path (QueryDisplayConfig, DisplayConfigGetDeviceInfo)
//   FakeDesktop         the desktop; installed while the object lives
//
// The desktop is plain data: a test fills the vectors (or calls AddMonitor), may change them between
// calls, and reads back what SetDisplayConfig was asked. Requests are checked as strictly as the
// platform checks them (structure sizes, header types, flag combinations), so a malformed call fails.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "display/DisplayApi.h"

struct FakeMonitor
{
    enum class InfoFailure { None, Always, DuringEnumeration, OutsideEnumeration };

    HMONITOR Handle = nullptr;
    std::wstring DeviceName;     // szDevice, such as \\.\DISPLAY1
    RECT Rect = {};
    InfoFailure InfoFails = InfoFailure::None;   // when GetMonitorInfoW fails for this handle
};

struct FakeAdapterMonitor
{
    std::wstring InterfacePath;  // DeviceID when asked with EDD_GET_DEVICE_INTERFACE_NAME
    std::wstring HardwareId = L"MONITOR\\UMB0A01\\{4d36e96e-e325-11ce-bfc1-08002be10318}\\0000";
    std::wstring DeviceString = L"Generic PnP Monitor";
    DWORD StateFlags = DISPLAY_DEVICE_ACTIVE | DISPLAY_DEVICE_ATTACHED;
};

struct FakeAdapter
{
    std::wstring DeviceName;     // \\.\DISPLAY1
    std::wstring DeviceString = L"Umbrafen Test Display Adapter";
    DWORD StateFlags = DISPLAY_DEVICE_ATTACHED_TO_DESKTOP;
    std::vector<FakeAdapterMonitor> Monitors;
};

struct FakePath
{
    LUID SourceAdapter = {};
    UINT32 SourceId = 0;
    std::wstring GdiName;        // viewGdiDeviceName of the source
    LUID TargetAdapter = {};
    UINT32 TargetId = 0;
    std::wstring FriendlyName;   // monitorFriendlyDeviceName of the target
    std::wstring MonitorDevicePath;
    bool SourceNameFails = false;
    bool TargetNameFails = false;
};

class FakeDesktop
{
public:
    // Installs an empty desktop; the previous display functions come back at destruction.
    FakeDesktop();
    ~FakeDesktop();
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;

    std::vector<FakeMonitor> Monitors;   // in EnumDisplayMonitors order
    std::vector<FakeAdapter> Adapters;   // in EnumDisplayDevicesW order
    std::vector<FakePath> Paths;         // in QueryDisplayConfig order

    bool BufferSizesFail = false;        // GetDisplayConfigBufferSizes fails, whatever the flags
    bool QueryFails = false;             // QueryDisplayConfig fails, whatever the flags
    bool CurrentTopologyFails = false;   // both fail for QDC_DATABASE_CURRENT only
    DISPLAYCONFIG_TOPOLOGY_ID CurrentTopology = DISPLAYCONFIG_TOPOLOGY_EXTEND;
    UINT32 ExtraReportedPaths = 0;       // the size query reports more paths than the query returns

    LONG ValidateResult = ERROR_SUCCESS; // SetDisplayConfig with SDC_VALIDATE
    LONG ApplyResult = ERROR_SUCCESS;    // SetDisplayConfig with SDC_APPLY; success switches CurrentTopology
    std::vector<UINT32> SetDisplayConfigFlags;   // flags of every SetDisplayConfig call, in order

    // Adds a monitor that is part of the desktop: its handle (above 4 GiB, so truncation shows), an
    // adapter \\.\DISPLAYn driving it, and an active path with the given friendly name. Returns the
    // index into Monitors; the adapter is Adapters.back() and the path Paths.back().
    size_t AddMonitor(const std::wstring& friendlyName, RECT rect);

    // The LUID that AddMonitor gives every source and target.
    static LUID AdapterLuid();

    // Handle of the monitor at index i of Monitors.
    HMONITOR Handle(size_t i) const { return Monitors.at(i).Handle; }

private:
    static BOOL WINAPI EnumDisplayMonitors(HDC, LPCRECT, MONITORENUMPROC, LPARAM);
    static BOOL WINAPI GetMonitorInfoW(HMONITOR, LPMONITORINFO);
    static BOOL WINAPI EnumDisplayDevicesW(LPCWSTR, DWORD, PDISPLAY_DEVICEW, DWORD);
    static LONG WINAPI GetDisplayConfigBufferSizes(UINT32, UINT32*, UINT32*);
    static LONG WINAPI QueryDisplayConfig(UINT32, UINT32*, DISPLAYCONFIG_PATH_INFO*, UINT32*,
                                          DISPLAYCONFIG_MODE_INFO*, DISPLAYCONFIG_TOPOLOGY_ID*);
    static LONG WINAPI DisplayConfigGetDeviceInfo(DISPLAYCONFIG_DEVICE_INFO_HEADER*);
    static LONG WINAPI SetDisplayConfig(UINT32, DISPLAYCONFIG_PATH_INFO*, UINT32, DISPLAYCONFIG_MODE_INFO*, UINT32);

    static const DisplayApi& Table();

    static FakeDesktop* s_current;
    FakeDesktop* m_previous;
    DisplayApiOverride m_override;
};
