#include "tests/support/FakeDesktop.h"

#include <cwchar>

namespace {

FakeDesktop* g_desk = nullptr;
// Calls from inside an EnumDisplayMonitors callback are told apart per thread, so a coloured
// window's thread querying its monitor meanwhile is not taken for the enumeration.
thread_local int t_enumerating = 0;

const LUID FakeLuid = {0x0000C1A5, 0};

bool SameLuid(const LUID& a, const LUID& b)
{
    return a.LowPart == b.LowPart && a.HighPart == b.HighPart;
}

template <size_t N> void CopyText(WCHAR (&buffer)[N], const std::wstring& text)
{
    wcsncpy(buffer, text.c_str(), N - 1);
    buffer[N - 1] = L'\0';
}

bool KnownQueryFlags(UINT32 flags)
{
    return flags == QDC_ALL_PATHS || flags == QDC_ONLY_ACTIVE_PATHS || flags == QDC_DATABASE_CURRENT;
}

BOOL WINAPI EnumMonitors(HDC dc, LPCRECT clip, MONITORENUMPROC proc, LPARAM data)
{
    if (dc != nullptr || clip != nullptr || proc == nullptr)   // clipping is not scripted
        return FALSE;
    const std::vector<FakeMonitor> monitors = g_desk->Monitors;   // the callback may change the desktop
    ++t_enumerating;
    for (const FakeMonitor& monitor : monitors)
        if (RECT rect = monitor.Rect; !proc(monitor.Handle, nullptr, &rect, data)) break;
    --t_enumerating;
    return TRUE;
}

BOOL WINAPI MonitorInfo(HMONITOR handle, LPMONITORINFO info)
{
    if (info == nullptr || (info->cbSize != sizeof(MONITORINFO) && info->cbSize != sizeof(MONITORINFOEXW)))
        return FALSE;
    for (const FakeMonitor& monitor : g_desk->Monitors)
    {
        if (monitor.Handle != handle) continue;
        using F = FakeMonitor::InfoFailure;
        if ((monitor.InfoFails == F::DuringEnumeration && t_enumerating) ||
            (monitor.InfoFails == F::OutsideEnumeration && !t_enumerating))
            return FALSE;
        info->rcMonitor = info->rcWork = monitor.Rect;
        info->dwFlags = (monitor.Rect.left == 0 && monitor.Rect.top == 0) ? MONITORINFOF_PRIMARY : 0;
        if (info->cbSize == sizeof(MONITORINFOEXW))
            CopyText(reinterpret_cast<MONITORINFOEXW*>(info)->szDevice, monitor.DeviceName);
        return TRUE;
    }
    return FALSE;
}

BOOL WINAPI EnumDevices(LPCWSTR device, DWORD index, PDISPLAY_DEVICEW dd, DWORD flags)
{
    if (dd == nullptr || dd->cb != sizeof(DISPLAY_DEVICEW)) return FALSE;
    // The device name may point into *dd itself, so it is read before the record is overwritten.
    const std::wstring adapterName = device ? device : L"";
    for (size_t a = 0; a < g_desk->Adapters.size(); ++a)
    {
        const FakeAdapter& adapter = g_desk->Adapters[a];
        if (device == nullptr ? a != index : _wcsicmp(adapter.DeviceName.c_str(), adapterName.c_str()) != 0) continue;
        if (device != nullptr && index >= adapter.Monitors.size()) return FALSE;
        ZeroMemory(reinterpret_cast<BYTE*>(dd) + sizeof(dd->cb), sizeof(*dd) - sizeof(dd->cb));
        if (device == nullptr)
        {
            CopyText(dd->DeviceName, adapter.DeviceName);
            CopyText(dd->DeviceString, adapter.DeviceString);
            dd->StateFlags = adapter.StateFlags;
        }
        else
        {
            const FakeAdapterMonitor& monitor = adapter.Monitors[index];
            CopyText(dd->DeviceName, adapter.DeviceName + L"\\Monitor" + std::to_wstring(index));
            CopyText(dd->DeviceString, L"Generic PnP Monitor");
            dd->StateFlags = DISPLAY_DEVICE_ACTIVE | DISPLAY_DEVICE_ATTACHED;
            CopyText(dd->DeviceID,
                     (flags & EDD_GET_DEVICE_INTERFACE_NAME) ? monitor.InterfacePath : L"MONITOR\\UMB0A01\\0000");
        }
        return TRUE;
    }
    return FALSE;
}

LONG WINAPI BufferSizes(UINT32 flags, UINT32* pathCount, UINT32* modeCount)
{
    if (pathCount == nullptr || modeCount == nullptr || !KnownQueryFlags(flags)) return ERROR_INVALID_PARAMETER;
    if (g_desk->BufferSizesFail || (flags == QDC_DATABASE_CURRENT && g_desk->CurrentTopologyFails))
        return ERROR_NOT_SUPPORTED;
    *pathCount = static_cast<UINT32>(g_desk->Paths.size()) + g_desk->ExtraReportedPaths;
    *modeCount = 2 * *pathCount;
    return ERROR_SUCCESS;
}

LONG WINAPI Query(UINT32 flags, UINT32* pathCount, DISPLAYCONFIG_PATH_INFO* paths, UINT32* modeCount,
                  DISPLAYCONFIG_MODE_INFO* modes, DISPLAYCONFIG_TOPOLOGY_ID* topologyId)
{
    // The topology is reported for the database query and only there.
    if (pathCount == nullptr || modeCount == nullptr || !KnownQueryFlags(flags) ||
        (flags == QDC_DATABASE_CURRENT) != (topologyId != nullptr))
        return ERROR_INVALID_PARAMETER;
    if (g_desk->QueryFails || (flags == QDC_DATABASE_CURRENT && g_desk->CurrentTopologyFails))
        return ERROR_ACCESS_DENIED;
    const UINT32 count = static_cast<UINT32>(g_desk->Paths.size());
    if (*pathCount < count || *modeCount < 2 * count) return ERROR_INSUFFICIENT_BUFFER;
    if (count > 0 && (paths == nullptr || modes == nullptr)) return ERROR_INVALID_PARAMETER;
    for (UINT32 i = 0; i < count; ++i)
    {
        const FakePath& fake = g_desk->Paths[i];
        paths[i] = {};   // the program reads no modes, so their records stay as they are
        paths[i].sourceInfo.adapterId = fake.SourceAdapter;
        paths[i].sourceInfo.id = fake.SourceId;
        paths[i].targetInfo.adapterId = fake.TargetAdapter;
        paths[i].targetInfo.id = fake.TargetId;
        paths[i].flags = DISPLAYCONFIG_PATH_ACTIVE;
    }
    *pathCount = count;
    *modeCount = 2 * count;
    if (topologyId != nullptr) *topologyId = g_desk->CurrentTopology;
    return ERROR_SUCCESS;
}

LONG WINAPI DeviceInfo(DISPLAYCONFIG_DEVICE_INFO_HEADER* request)
{
    if (request == nullptr) return ERROR_INVALID_PARAMETER;
    const bool target = request->type == DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_NAME;
    if (!target && request->type != DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME) return ERROR_NOT_SUPPORTED;
    if (request->size != (target ? sizeof(DISPLAYCONFIG_TARGET_DEVICE_NAME) : sizeof(DISPLAYCONFIG_SOURCE_DEVICE_NAME)))
        return ERROR_INVALID_PARAMETER;
    for (const FakePath& path : g_desk->Paths)
    {
        if (!SameLuid(target ? path.TargetAdapter : path.SourceAdapter, request->adapterId) ||
            (target ? path.TargetId : path.SourceId) != request->id)
            continue;
        if (target ? path.TargetNameFails : path.SourceNameFails) return ERROR_GEN_FAILURE;
        if (target)
        {
            auto* name = reinterpret_cast<DISPLAYCONFIG_TARGET_DEVICE_NAME*>(request);
            name->flags.value = path.FriendlyName.empty() ? 0 : 1;   // friendlyNameFromEdid
            CopyText(name->monitorFriendlyDeviceName, path.FriendlyName);
            CopyText(name->monitorDevicePath, path.MonitorDevicePath);
        }
        else
        {
            CopyText(reinterpret_cast<DISPLAYCONFIG_SOURCE_DEVICE_NAME*>(request)->viewGdiDeviceName, path.GdiName);
        }
        return ERROR_SUCCESS;
    }
    return ERROR_INVALID_PARAMETER;
}

// Only whole topologies are asked for; the real display is never changed.
LONG WINAPI SetConfig(UINT32 pathCount, DISPLAYCONFIG_PATH_INFO* paths, UINT32 modeCount,
                      DISPLAYCONFIG_MODE_INFO* modes, UINT32 flags)
{
    if (pathCount || paths || modeCount || modes) return ERROR_NOT_SUPPORTED;
    g_desk->SetDisplayConfigFlags.push_back(flags);
    if (flags & SDC_VALIDATE) return g_desk->ValidateResult;
    if (flags & SDC_APPLY) g_desk->CurrentTopology = static_cast<DISPLAYCONFIG_TOPOLOGY_ID>(flags & 0xF);
    return ERROR_SUCCESS;
}

const DisplayApi FakeTable = {EnumMonitors, MonitorInfo, EnumDevices, BufferSizes, Query, DeviceInfo, SetConfig};

}   // namespace

FakeDesktop::FakeDesktop() : m_previous(g_desk), m_override(FakeTable)
{
    g_desk = this;
}

FakeDesktop::~FakeDesktop()
{
    g_desk = m_previous;
}

size_t FakeDesktop::AddMonitor(const std::wstring& friendlyName, RECT rect)
{
    const size_t n = Adapters.size() + 1;
    const std::wstring deviceName = L"\\\\.\\DISPLAY" + std::to_wstring(n);
    const std::wstring interfacePath = L"\\\\?\\DISPLAY#UMB0A" + std::to_wstring(10 + n) + L"#5&2f3c1d0&0&UID" +
                                       std::to_wstring(4352 + n) + L"#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";
    FakeAdapter adapter;
    adapter.DeviceName = deviceName;
    adapter.StateFlags = DISPLAY_DEVICE_ATTACHED_TO_DESKTOP | (n == 1 ? DISPLAY_DEVICE_PRIMARY_DEVICE : 0);
    adapter.Monitors.push_back(FakeAdapterMonitor{interfacePath});
    Adapters.push_back(adapter);
    const UINT32 source = static_cast<UINT32>(n - 1), target = static_cast<UINT32>(0x1100 + n);
    Paths.push_back(FakePath{FakeLuid, source, deviceName, FakeLuid, target, friendlyName, interfacePath});
    const auto handle = reinterpret_cast<HMONITOR>(static_cast<UINT_PTR>(0x100000000ULL + 0x10000 * n + 0x3B));
    Monitors.push_back(FakeMonitor{handle, deviceName, rect});
    return Monitors.size() - 1;
}
