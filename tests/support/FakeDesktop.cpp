#include "tests/support/FakeDesktop.h"

#include <cwchar>

FakeDesktop* FakeDesktop::s_current = nullptr;

namespace {

// GetMonitorInfoW tells calls made from inside an EnumDisplayMonitors callback apart; per thread, so
// a coloured window's thread querying its monitor meanwhile is not taken for the enumeration.
thread_local int t_enumerationDepth = 0;

bool SameLuid(const LUID& a, const LUID& b)
{
    return a.LowPart == b.LowPart && a.HighPart == b.HighPart;
}

template <size_t N>
void CopyText(WCHAR (&buffer)[N], const std::wstring& text)
{
    wcsncpy(buffer, text.c_str(), N - 1);
    buffer[N - 1] = L'\0';
}

bool KnownQueryFlags(UINT32 flags)
{
    return flags == QDC_ALL_PATHS || flags == QDC_ONLY_ACTIVE_PATHS || flags == QDC_DATABASE_CURRENT;
}

} // namespace

const DisplayApi& FakeDesktop::Table()
{
    static const DisplayApi table = {
        &FakeDesktop::EnumDisplayMonitors,
        &FakeDesktop::GetMonitorInfoW,
        &FakeDesktop::EnumDisplayDevicesW,
        &FakeDesktop::GetDisplayConfigBufferSizes,
        &FakeDesktop::QueryDisplayConfig,
        &FakeDesktop::DisplayConfigGetDeviceInfo,
        &FakeDesktop::SetDisplayConfig,
    };
    return table;
}

FakeDesktop::FakeDesktop()
    : m_previous(s_current), m_override(Table())
{
    s_current = this;
}

FakeDesktop::~FakeDesktop()
{
    s_current = m_previous;
}

LUID FakeDesktop::AdapterLuid()
{
    LUID luid = {};
    luid.LowPart = 0x0000C1A5;
    return luid;
}

size_t FakeDesktop::AddMonitor(const std::wstring& friendlyName, RECT rect)
{
    const size_t n = Adapters.size() + 1;
    const std::wstring deviceName = L"\\\\.\\DISPLAY" + std::to_wstring(n);

    FakeAdapterMonitor connected;
    connected.InterfacePath = L"\\\\?\\DISPLAY#UMB0A" + std::to_wstring(10 + n) + L"#5&2f3c1d0&0&UID" +
                              std::to_wstring(4352 + n) + L"#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";

    FakeAdapter adapter;
    adapter.DeviceName = deviceName;
    adapter.StateFlags = DISPLAY_DEVICE_ATTACHED_TO_DESKTOP | (n == 1 ? DISPLAY_DEVICE_PRIMARY_DEVICE : 0);
    adapter.Monitors.push_back(connected);
    Adapters.push_back(adapter);

    FakePath path;
    path.SourceAdapter = AdapterLuid();
    path.SourceId = static_cast<UINT32>(n - 1);
    path.GdiName = deviceName;
    path.TargetAdapter = AdapterLuid();
    path.TargetId = static_cast<UINT32>(0x1100 + n);
    path.FriendlyName = friendlyName;
    path.MonitorDevicePath = connected.InterfacePath;
    Paths.push_back(path);

    FakeMonitor monitor;
    monitor.Handle = reinterpret_cast<HMONITOR>(static_cast<UINT_PTR>(0x100000000ULL + 0x10000 * n + 0x3B));
    monitor.DeviceName = deviceName;
    monitor.Rect = rect;
    Monitors.push_back(monitor);
    return Monitors.size() - 1;
}

BOOL WINAPI FakeDesktop::EnumDisplayMonitors(HDC dc, LPCRECT clip, MONITORENUMPROC proc, LPARAM data)
{
    // Clipping to a DC or rectangle is not scripted.
    if (dc != nullptr || clip != nullptr || proc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::vector<FakeMonitor> monitors = s_current->Monitors;   // the callback may change the desktop
    ++t_enumerationDepth;
    for (const FakeMonitor& monitor : monitors) {
        RECT rect = monitor.Rect;
        if (!proc(monitor.Handle, nullptr, &rect, data))
            break;
    }
    --t_enumerationDepth;
    return TRUE;
}

BOOL WINAPI FakeDesktop::GetMonitorInfoW(HMONITOR handle, LPMONITORINFO info)
{
    if (info == nullptr || (info->cbSize != sizeof(MONITORINFO) && info->cbSize != sizeof(MONITORINFOEXW)))
        return FALSE;
    for (const FakeMonitor& monitor : s_current->Monitors) {
        if (monitor.Handle != handle)
            continue;
        const bool enumerating = t_enumerationDepth > 0;
        switch (monitor.InfoFails) {
        case FakeMonitor::InfoFailure::None: break;
        case FakeMonitor::InfoFailure::Always: return FALSE;
        case FakeMonitor::InfoFailure::DuringEnumeration: if (enumerating) return FALSE; break;
        case FakeMonitor::InfoFailure::OutsideEnumeration: if (!enumerating) return FALSE; break;
        }
        info->rcMonitor = monitor.Rect;
        info->rcWork = monitor.Rect;
        info->dwFlags = (monitor.Rect.left == 0 && monitor.Rect.top == 0) ? MONITORINFOF_PRIMARY : 0;
        if (info->cbSize == sizeof(MONITORINFOEXW))
            CopyText(reinterpret_cast<MONITORINFOEXW*>(info)->szDevice, monitor.DeviceName);
        return TRUE;
    }
    return FALSE;
}

BOOL WINAPI FakeDesktop::EnumDisplayDevicesW(LPCWSTR device, DWORD index, PDISPLAY_DEVICEW dd, DWORD flags)
{
    if (dd == nullptr || dd->cb != sizeof(DISPLAY_DEVICEW))
        return FALSE;
    const FakeDesktop& desk = *s_current;

    if (device == nullptr) {
        if (index >= desk.Adapters.size())
            return FALSE;
        const FakeAdapter& adapter = desk.Adapters[index];
        ZeroMemory(reinterpret_cast<BYTE*>(dd) + sizeof(dd->cb), sizeof(*dd) - sizeof(dd->cb));
        CopyText(dd->DeviceName, adapter.DeviceName);
        CopyText(dd->DeviceString, adapter.DeviceString);
        dd->StateFlags = adapter.StateFlags;
        CopyText(dd->DeviceID, L"PCI\\VEN_1AF4&DEV_1050&SUBSYS_11001AF4&REV_01");
        CopyText(dd->DeviceKey, L"\\Registry\\Machine\\System\\CurrentControlSet\\Control\\Video\\"
                                L"{6f2d4b1e-0c3a-4f7e-9a51-3d2c8b7e4a10}\\" + std::to_wstring(index));
        return TRUE;
    }

    // The device name may point into *dd itself, so it is read before the record is overwritten.
    const std::wstring adapterName = device;
    for (const FakeAdapter& adapter : desk.Adapters) {
        if (_wcsicmp(adapter.DeviceName.c_str(), adapterName.c_str()) != 0)
            continue;
        if (index >= adapter.Monitors.size())
            return FALSE;
        const FakeAdapterMonitor& monitor = adapter.Monitors[index];
        ZeroMemory(reinterpret_cast<BYTE*>(dd) + sizeof(dd->cb), sizeof(*dd) - sizeof(dd->cb));
        CopyText(dd->DeviceName, adapter.DeviceName + L"\\Monitor" + std::to_wstring(index));
        CopyText(dd->DeviceString, monitor.DeviceString);
        dd->StateFlags = monitor.StateFlags;
        CopyText(dd->DeviceID, (flags & EDD_GET_DEVICE_INTERFACE_NAME) ? monitor.InterfacePath : monitor.HardwareId);
        CopyText(dd->DeviceKey, L"\\Registry\\Machine\\System\\CurrentControlSet\\Control\\Class\\"
                                L"{4d36e96e-e325-11ce-bfc1-08002be10318}\\000" + std::to_wstring(index));
        return TRUE;
    }
    return FALSE;
}

LONG WINAPI FakeDesktop::GetDisplayConfigBufferSizes(UINT32 flags, UINT32* pathCount, UINT32* modeCount)
{
    const FakeDesktop& desk = *s_current;
    if (pathCount == nullptr || modeCount == nullptr || !KnownQueryFlags(flags))
        return ERROR_INVALID_PARAMETER;
    if (desk.BufferSizesFail || (flags == QDC_DATABASE_CURRENT && desk.CurrentTopologyFails))
        return ERROR_NOT_SUPPORTED;
    *pathCount = static_cast<UINT32>(desk.Paths.size()) + desk.ExtraReportedPaths;
    *modeCount = 2 * *pathCount;
    return ERROR_SUCCESS;
}

LONG WINAPI FakeDesktop::QueryDisplayConfig(UINT32 flags, UINT32* pathCount, DISPLAYCONFIG_PATH_INFO* paths,
                                            UINT32* modeCount, DISPLAYCONFIG_MODE_INFO* modes,
                                            DISPLAYCONFIG_TOPOLOGY_ID* topologyId)
{
    const FakeDesktop& desk = *s_current;
    if (pathCount == nullptr || modeCount == nullptr || !KnownQueryFlags(flags))
        return ERROR_INVALID_PARAMETER;
    // The topology is reported for the database query and only there.
    if ((flags == QDC_DATABASE_CURRENT) != (topologyId != nullptr))
        return ERROR_INVALID_PARAMETER;
    if (desk.QueryFails || (flags == QDC_DATABASE_CURRENT && desk.CurrentTopologyFails))
        return ERROR_ACCESS_DENIED;

    const UINT32 neededPaths = static_cast<UINT32>(desk.Paths.size());
    const UINT32 neededModes = 2 * neededPaths;
    if (*pathCount < neededPaths || *modeCount < neededModes)
        return ERROR_INSUFFICIENT_BUFFER;
    if ((neededPaths > 0 && paths == nullptr) || (neededModes > 0 && modes == nullptr))
        return ERROR_INVALID_PARAMETER;

    for (UINT32 i = 0; i < neededPaths; ++i) {
        const FakePath& fake = desk.Paths[i];
        DISPLAYCONFIG_PATH_INFO& path = paths[i];
        path = {};
        path.sourceInfo.adapterId = fake.SourceAdapter;
        path.sourceInfo.id = fake.SourceId;
        path.sourceInfo.modeInfoIdx = 2 * i;
        path.targetInfo.adapterId = fake.TargetAdapter;
        path.targetInfo.id = fake.TargetId;
        path.targetInfo.modeInfoIdx = 2 * i + 1;
        path.targetInfo.outputTechnology = DISPLAYCONFIG_OUTPUT_TECHNOLOGY_HDMI;
        path.targetInfo.rotation = DISPLAYCONFIG_ROTATION_IDENTITY;
        path.targetInfo.scaling = DISPLAYCONFIG_SCALING_IDENTITY;
        path.targetInfo.scanLineOrdering = DISPLAYCONFIG_SCANLINE_ORDERING_PROGRESSIVE;
        path.targetInfo.targetAvailable = TRUE;
        path.flags = DISPLAYCONFIG_PATH_ACTIVE;

        DISPLAYCONFIG_MODE_INFO& source = modes[2 * i];
        source = {};
        source.infoType = DISPLAYCONFIG_MODE_INFO_TYPE_SOURCE;
        source.id = fake.SourceId;
        source.adapterId = fake.SourceAdapter;
        DISPLAYCONFIG_MODE_INFO& target = modes[2 * i + 1];
        target = {};
        target.infoType = DISPLAYCONFIG_MODE_INFO_TYPE_TARGET;
        target.id = fake.TargetId;
        target.adapterId = fake.TargetAdapter;
    }
    *pathCount = neededPaths;
    *modeCount = neededModes;
    if (topologyId != nullptr)
        *topologyId = desk.CurrentTopology;
    return ERROR_SUCCESS;
}

LONG WINAPI FakeDesktop::DisplayConfigGetDeviceInfo(DISPLAYCONFIG_DEVICE_INFO_HEADER* request)
{
    const FakeDesktop& desk = *s_current;
    if (request == nullptr)
        return ERROR_INVALID_PARAMETER;

    switch (request->type) {
    case DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_NAME: {
        if (request->size != sizeof(DISPLAYCONFIG_TARGET_DEVICE_NAME))
            return ERROR_INVALID_PARAMETER;
        for (const FakePath& path : desk.Paths) {
            if (!SameLuid(path.TargetAdapter, request->adapterId) || path.TargetId != request->id)
                continue;
            if (path.TargetNameFails)
                return ERROR_GEN_FAILURE;
            auto* name = reinterpret_cast<DISPLAYCONFIG_TARGET_DEVICE_NAME*>(request);
            name->flags.value = 0;
            name->flags.friendlyNameFromEdid = path.FriendlyName.empty() ? 0 : 1;
            name->outputTechnology = DISPLAYCONFIG_OUTPUT_TECHNOLOGY_HDMI;
            name->edidManufactureId = 0x4D55;
            name->edidProductCodeId = static_cast<UINT16>(path.TargetId);
            name->connectorInstance = 1;
            CopyText(name->monitorFriendlyDeviceName, path.FriendlyName);
            CopyText(name->monitorDevicePath, path.MonitorDevicePath);
            return ERROR_SUCCESS;
        }
        return ERROR_INVALID_PARAMETER;
    }
    case DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME: {
        if (request->size != sizeof(DISPLAYCONFIG_SOURCE_DEVICE_NAME))
            return ERROR_INVALID_PARAMETER;
        for (const FakePath& path : desk.Paths) {
            if (!SameLuid(path.SourceAdapter, request->adapterId) || path.SourceId != request->id)
                continue;
            if (path.SourceNameFails)
                return ERROR_GEN_FAILURE;
            CopyText(reinterpret_cast<DISPLAYCONFIG_SOURCE_DEVICE_NAME*>(request)->viewGdiDeviceName, path.GdiName);
            return ERROR_SUCCESS;
        }
        return ERROR_INVALID_PARAMETER;
    }
    default:
        return ERROR_NOT_SUPPORTED;
    }
}

LONG WINAPI FakeDesktop::SetDisplayConfig(UINT32 pathCount, DISPLAYCONFIG_PATH_INFO* paths,
                                          UINT32 modeCount, DISPLAYCONFIG_MODE_INFO* modes, UINT32 flags)
{
    FakeDesktop& desk = *s_current;
    desk.SetDisplayConfigFlags.push_back(flags);

    // A topology request lets the platform pick paths and modes from its database: no arrays go with it.
    const UINT32 topology = flags & (SDC_TOPOLOGY_INTERNAL | SDC_TOPOLOGY_CLONE | SDC_TOPOLOGY_EXTEND |
                                     SDC_TOPOLOGY_EXTERNAL);
    if (topology != 0 && (pathCount != 0 || paths != nullptr || modeCount != 0 || modes != nullptr))
        return ERROR_INVALID_PARAMETER;

    if (flags & SDC_VALIDATE)
        return desk.ValidateResult;
    if (flags & SDC_APPLY) {
        if (desk.ApplyResult != ERROR_SUCCESS)
            return desk.ApplyResult;
        if (topology == SDC_TOPOLOGY_INTERNAL || topology == SDC_TOPOLOGY_CLONE ||
            topology == SDC_TOPOLOGY_EXTEND || topology == SDC_TOPOLOGY_EXTERNAL)
            desk.CurrentTopology = static_cast<DISPLAYCONFIG_TOPOLOGY_ID>(topology);
        return ERROR_SUCCESS;
    }
    return ERROR_INVALID_PARAMETER;
}
