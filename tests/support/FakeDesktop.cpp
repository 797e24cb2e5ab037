#include "tests/support/FakeDesktop.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

FakeDesktop* g_desk = nullptr;
// Per thread: a coloured window's thread querying its monitor meanwhile is not inside the enumeration.
thread_local bool t_enumerating = false;
const LUID FakeLuid = {0x0000C1A5, 0};   // every path's adapter; a request naming another one finds nothing
const UINT32 TargetIdBase = 0x1100;      // target ids lie apart from source ids, so a mix-up finds nothing

BOOL WINAPI EnumMonitors(HDC dc, LPCRECT clip, MONITORENUMPROC proc, LPARAM data)
{
    if (dc != nullptr || clip != nullptr || proc == nullptr) return FALSE;   // clipping is not scripted
    const std::vector<FakeMonitor> monitors = g_desk->Monitors;              // the callback may change the desktop
    t_enumerating = true;
    for (const FakeMonitor& monitor : monitors)
        if (RECT rect = monitor.Rect; !proc(monitor.Handle, nullptr, &rect, data)) break;
    return t_enumerating = false, TRUE;
}

BOOL WINAPI MonitorInfo(HMONITOR handle, LPMONITORINFO info)
{
    if (!info || (info->cbSize != sizeof(MONITORINFO) && info->cbSize != sizeof(MONITORINFOEXW))) return FALSE;
    const std::vector<FakeMonitor>& ms = g_desk->Monitors;
    const auto it = std::find_if(ms.begin(), ms.end(), [&](const FakeMonitor& m) { return m.Handle == handle; });
    using F = FakeMonitor::InfoFailure;
    if (it == ms.end() || it->InfoFails == (t_enumerating ? F::DuringEnumeration : F::OutsideEnumeration)) return FALSE;
    info->rcMonitor = info->rcWork = it->Rect;
    if (info->cbSize == sizeof(MONITORINFOEXW))
        wcsncpy_s(reinterpret_cast<MONITORINFOEXW*>(info)->szDevice, it->DeviceName.c_str(), _TRUNCATE);
    return TRUE;
}

HRESULT WINAPI MonitorDpi(HMONITOR handle, MONITOR_DPI_TYPE type, UINT* x, UINT* y)
{
    for (const FakeMonitor& m : g_desk->Monitors)
        if (m.Handle == handle && type == MDT_EFFECTIVE_DPI && x && y)
            return *x = *y = m.Dpi ? m.Dpi : ::GetDpiForSystem(), S_OK;
    return E_INVALIDARG;
}

// Adapters by index without a device name; an adapter's one monitor by its name and index 0.
BOOL WINAPI EnumDevices(LPCWSTR device, DWORD index, PDISPLAY_DEVICEW dd, DWORD flags)
{
    if (!dd || dd->cb != sizeof(DISPLAY_DEVICEW)) return FALSE;
    const FakeAdapter* adapter = nullptr;
    for (size_t a = 0; a < g_desk->Adapters.size() && adapter == nullptr; ++a)
        if (device == nullptr ? a == index : _wcsicmp(g_desk->Adapters[a].DeviceName.c_str(), device) == 0)
            adapter = &g_desk->Adapters[a];
    if (adapter == nullptr || (device != nullptr && (index > 0 || adapter->InterfacePath.empty()))) return FALSE;
    const std::wstring name = device ? adapter->DeviceName + L"\\Monitor0" : adapter->DeviceName;
    // Without the flag the platform answers with a hardware id, not the interface path.
    const std::wstring id = (flags & EDD_GET_DEVICE_INTERFACE_NAME) ? adapter->InterfacePath : L"MONITOR\\UMB0A01";
    ZeroMemory(reinterpret_cast<BYTE*>(dd) + sizeof(dd->cb), sizeof(*dd) - sizeof(dd->cb));
    wcsncpy_s(dd->DeviceName, name.c_str(), _TRUNCATE);
    dd->StateFlags = device ? DISPLAY_DEVICE_ACTIVE | DISPLAY_DEVICE_ATTACHED : adapter->StateFlags;
    if (device) wcsncpy_s(dd->DeviceID, id.c_str(), _TRUNCATE);
    return TRUE;
}

LONG WINAPI BufferSizes(UINT32 flags, UINT32* pathCount, UINT32* modeCount)
{
    if (!pathCount || !modeCount || (flags != QDC_ONLY_ACTIVE_PATHS && flags != QDC_DATABASE_CURRENT))
        return ERROR_INVALID_PARAMETER;
    *pathCount = static_cast<UINT32>(g_desk->Paths.size());
    return *modeCount = 2 * *pathCount, ERROR_SUCCESS;
}

LONG WINAPI Query(UINT32 flags, UINT32* pathCount, DISPLAYCONFIG_PATH_INFO* paths, UINT32* modeCount,
                  DISPLAYCONFIG_MODE_INFO* modes, DISPLAYCONFIG_TOPOLOGY_ID* topologyId)
{
    UINT32 count = 0, modesNeeded = 0;
    if (const LONG sized = BufferSizes(flags, &count, &modesNeeded); sized != ERROR_SUCCESS) return sized;
    // The topology is reported for the database query and only there.
    if ((flags == QDC_DATABASE_CURRENT) != !!topologyId || !pathCount || !modeCount || (count && (!paths || !modes)))
        return ERROR_INVALID_PARAMETER;
    if (*pathCount < count || *modeCount < modesNeeded) return ERROR_INSUFFICIENT_BUFFER;
    for (UINT32 i = 0; i < count; ++i)
    {
        paths[i] = {};   // the program reads no modes, so their records stay as they are
        paths[i].sourceInfo.adapterId = paths[i].targetInfo.adapterId = FakeLuid;
        paths[i].sourceInfo.id = i, paths[i].targetInfo.id = TargetIdBase + i;
        paths[i].flags = DISPLAYCONFIG_PATH_ACTIVE;
    }
    *pathCount = count, *modeCount = modesNeeded;
    if (topologyId != nullptr) *topologyId = g_desk->CurrentTopology;
    return ERROR_SUCCESS;
}

LONG WINAPI DeviceInfo(DISPLAYCONFIG_DEVICE_INFO_HEADER* request)
{
    auto* targetName = reinterpret_cast<DISPLAYCONFIG_TARGET_DEVICE_NAME*>(request);
    auto* sourceName = reinterpret_cast<DISPLAYCONFIG_SOURCE_DEVICE_NAME*>(request);
    const bool target = request && request->type == DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_NAME;
    const size_t i = request ? (target ? request->id - TargetIdBase : request->id) : SIZE_MAX;
    if (i >= g_desk->Paths.size() || memcmp(&request->adapterId, &FakeLuid, sizeof(LUID)) != 0 ||
        request->size != (target ? sizeof(*targetName) : sizeof(*sourceName)) ||
        (!target && request->type != DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME))
        return ERROR_INVALID_PARAMETER;
    const FakePath& path = g_desk->Paths[i];
    if (target ? path.TargetNameFails : path.SourceNameFails) return ERROR_GEN_FAILURE;
    if (target) wcsncpy_s(targetName->monitorFriendlyDeviceName, path.FriendlyName.c_str(), _TRUNCATE);
    else wcsncpy_s(sourceName->viewGdiDeviceName, path.GdiName.c_str(), _TRUNCATE);
    return ERROR_SUCCESS;
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

const DisplayApi FakeTable = {EnumMonitors, MonitorInfo, EnumDevices, BufferSizes, Query, DeviceInfo, SetConfig,
                              MonitorDpi,   ::SetWindowDisplayAffinity, ::MonitorFromPoint};

}   // namespace

FakeDesktop::FakeDesktop() : m_previous(std::exchange(g_desk, this)), m_override(FakeTable) {}

FakeDesktop::~FakeDesktop()
{
    g_desk = m_previous;
}

size_t FakeDesktop::AddMonitor(const std::wstring& friendlyName, RECT rect)
{
    const size_t n = Adapters.size() + 1;
    const std::wstring name = L"\\\\.\\DISPLAY" + std::to_wstring(n);
    const std::wstring id = L"\\\\?\\DISPLAY#UMB0A" + std::to_wstring(10 + n) + L"#5&2f3c1d0&0&UID4352#{e6f07b5f}";
    Adapters.push_back({name, DISPLAY_DEVICE_ATTACHED_TO_DESKTOP | (n == 1 ? DISPLAY_DEVICE_PRIMARY_DEVICE : 0u), id});
    Paths.push_back({name, friendlyName});
    const auto handle = reinterpret_cast<HMONITOR>(static_cast<UINT_PTR>(0x100000000ULL + 0x10000 * n + 0x3B));
    return Monitors.push_back({handle, name, rect}), Monitors.size() - 1;
}
