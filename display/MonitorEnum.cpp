#include "display/MonitorEnum.h"
#include <iterator>

#include <cwchar>
#include <vector>

#include "display/DisplayApi.h"
#include "display/HandleText.h"

static_assert(sizeof(DISPLAYCONFIG_PATH_INFO) == 72);
static_assert(sizeof(DISPLAYCONFIG_MODE_INFO) == 64);
static_assert(sizeof(DISPLAYCONFIG_TARGET_DEVICE_NAME) == 420);
static_assert(sizeof(DISPLAYCONFIG_SOURCE_DEVICE_NAME) == 84);
static_assert(sizeof(MONITORINFOEXW) == 104);
static_assert(sizeof(DISPLAY_DEVICEW) == 840);

CStringArray MonitorHandleTexts;
CStringArray MonitorFriendlyNames;
CMapStringToString MonitorInterfaceMap(10);

namespace {

// Text of a fixed-size platform buffer, which need not be terminated when full.
template <size_t N> CString BufferText(const WCHAR (&buffer)[N])
{
    return CString(buffer, static_cast<int>(wcsnlen(buffer, N)));
}

// One of a display path's names (its target's or its source's); FALSE when the platform cannot tell it.
template <class TName>
bool QueryPathName(TName& name, DISPLAYCONFIG_DEVICE_INFO_TYPE type, LUID adapterId, UINT32 id)
{
    name = {};
    name.header.type = type;
    name.header.size = sizeof(name);
    name.header.adapterId = adapterId;
    name.header.id = id;
    return Display().DisplayConfigGetDeviceInfo(&name.header) == ERROR_SUCCESS;
}

CString MonitorIdOf(const CString& deviceName)
{
    CString interfacePath;
    CString adapterName;
    POSITION pos = MonitorInterfaceMap.GetStartPosition();
    while (pos != nullptr)
    {
        MonitorInterfaceMap.GetNextAssoc(pos, interfacePath, adapterName);
        if (adapterName.CompareNoCase(deviceName) == 0) return interfacePath;
    }
    return CString();
}

}   // namespace

ULONGLONG MonitorIdKey(const CString& monitorId)
{
    const WCHAR* units = monitorId;
    ULONGLONG sum = 0;
    for (int i = 0; i < monitorId.GetLength(); ++i) sum += units[i];
    return sum;
}

BOOL CALLBACK MonitorEnumProc(HMONITOR monitor, HDC, LPRECT, LPARAM list)
{
    MONITORINFOEXW info = {};
    info.cbSize = sizeof(info);
    // On failure the device name stays empty and matches no display path.
    Display().GetMonitorInfoW(monitor, &info);

    MonitorHandleEntry entry;
    entry.DeviceName = BufferText(info.szDevice);
    entry.Handle = monitor;
    reinterpret_cast<std::vector<MonitorHandleEntry>*>(list)->push_back(entry);
    return TRUE;
}

HMONITOR MonitorByDeviceName(const CString& deviceName)
{
    std::vector<MonitorHandleEntry> entries;
    Display().EnumDisplayMonitors(nullptr, nullptr, MonitorEnumProc, reinterpret_cast<LPARAM>(&entries));
    for (const MonitorHandleEntry& entry : entries)
        if (!deviceName.IsEmpty() && entry.DeviceName.CompareNoCase(deviceName) == 0) return entry.Handle;
    return nullptr;
}

BOOL EnumerateMonitors()
{
    MonitorHandleTexts.SetSize(0, -1);
    MonitorFriendlyNames.SetSize(0, -1);

    UINT32 pathCount = 0;
    UINT32 modeCount = 0;
    if (Display().GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount) != ERROR_SUCCESS)
        return FALSE;

    std::vector<DISPLAYCONFIG_PATH_INFO> paths(pathCount);
    std::vector<DISPLAYCONFIG_MODE_INFO> modes(modeCount);
    if (Display().QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths.data(), &modeCount, modes.data(),
                                     nullptr) != ERROR_SUCCESS)
        return FALSE;

    std::vector<MonitorHandleEntry> entries;
    Display().EnumDisplayMonitors(nullptr, nullptr, MonitorEnumProc, reinterpret_cast<LPARAM>(&entries));

    for (UINT32 p = 0; p < pathCount && p < paths.size(); ++p)
    {
        const DISPLAYCONFIG_PATH_INFO& path = paths[p];

        DISPLAYCONFIG_TARGET_DEVICE_NAME target;
        DISPLAYCONFIG_SOURCE_DEVICE_NAME source;
        if (!QueryPathName(target, DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_NAME, path.targetInfo.adapterId,
                           path.targetInfo.id) ||
            !QueryPathName(source, DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME, path.sourceInfo.adapterId,
                           path.sourceInfo.id))
            continue;

        const CString gdiName = BufferText(source.viewGdiDeviceName);
        const MonitorHandleEntry* match = nullptr;
        for (const MonitorHandleEntry& entry : entries)
        {
            // An empty name identifies nothing, not even a monitor whose name is empty too.
            if (!gdiName.IsEmpty() && wcscmp(entry.DeviceName, gdiName) == 0)
            {
                match = &entry;
                break;
            }
        }
        // A source that is no desktop monitor has no handle to cover; such a path yields no record.
        if (match == nullptr) continue;

        MonitorHandleTexts.SetAtGrow(MonitorHandleTexts.GetSize(), FormatHandleText(match->Handle));
        MonitorFriendlyNames.SetAtGrow(MonitorFriendlyNames.GetSize(), BufferText(target.monitorFriendlyDeviceName));
    }
    return TRUE;
}

void BuildMonitorInterfaceMap()
{
    MonitorInterfaceMap.RemoveAll();

    // One record for the whole walk: each adapter's monitor query overwrites it before the next adapter is read.
    DISPLAY_DEVICEW dd = {};
    dd.cb = sizeof(dd);
    for (DWORD i = 0; Display().EnumDisplayDevicesW(nullptr, i, &dd, 0); ++i)
    {
        WCHAR adapterName[64] = {};
        wcscpy_s(adapterName, 64, dd.DeviceName);
        if (Display().EnumDisplayDevicesW(adapterName, 0, &dd, EDD_GET_DEVICE_INTERFACE_NAME))
            MonitorInterfaceMap[dd.DeviceID] = adapterName;
    }
}

CString MonitorLabelFromDeviceName(const CString& deviceName)
{
    CString label = deviceName;
    label.Replace(L"\\\\.\\", L"");
    label.MakeLower();
    label.Replace(L"d", L"D");
    return label;
}

BOOL CompleteMonitorRecord(HMONITOR handle, const CString& friendlyName, MonitorRecord& record)
{
    MONITORINFOEXW info = {};
    info.cbSize = sizeof(info);
    if (!Display().GetMonitorInfoW(handle, &info)) return FALSE;

    record.Handle = handle;
    record.FriendlyName = friendlyName;
    record.DeviceName = BufferText(info.szDevice);
    record.Label = friendlyName.IsEmpty() ? MonitorLabelFromDeviceName(record.DeviceName) : friendlyName;
    record.Left = info.rcMonitor.left;
    record.Top = info.rcMonitor.top;
    record.Width = info.rcMonitor.right - info.rcMonitor.left;
    record.Height = info.rcMonitor.bottom - info.rcMonitor.top;
    record.MonitorId = MonitorIdOf(record.DeviceName);
    return TRUE;
}

int DisplayNumberOf(const CString& deviceName)
{
    static const WCHAR prefix[] = L"\\\\.\\DISPLAY";
    const int length = static_cast<int>(std::size(prefix)) - 1;
    if (deviceName.GetLength() <= length || _wcsnicmp(deviceName, prefix, length) != 0) return 0;
    int n = 0;
    for (int i = length; i < deviceName.GetLength(); ++i)
    {
        const WCHAR c = deviceName[i];
        if (c < L'0' || c > L'9' || n > 9999) return 0;
        n = n * 10 + (c - L'0');
    }
    return n;
}
