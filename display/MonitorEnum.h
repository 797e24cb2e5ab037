// Monitor enumeration and identification.
//   MonitorRecord         one monitor as enumerated and as one row of the monitor list
//   MonitorIdKey          the key under which a monitor's tick is remembered
//   MonitorHandleTexts, MonitorFriendlyNames, MonitorInterfaceMap
//                         results of the last enumeration, rebuilt on every list fill
//   MonitorHandleEntry    one desktop monitor seen by MonitorEnumProc
//   EnumerateMonitors, MonitorEnumProc, BuildMonitorInterfaceMap, CompleteMonitorRecord
#pragma once
#include <windows.h>
#include "framework/Strings.h"

struct MonitorRecord
{
    HMONITOR Handle = nullptr;
    CString FriendlyName;   // of the display path's target; may be empty
    CString Label;          // FriendlyName, or made from DeviceName ("Display2")
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    CString DeviceName;   // GDI device name, such as \\.\DISPLAY1
    CString MonitorId;    // device interface path of the monitor; empty when unknown
};

// Sum of the UTF-16 code units; 0 for an empty text.
ULONGLONG MonitorIdKey(const CString& monitorId);

// One element per record, in display-path order: the handle as "%llu", and its friendly name.
extern CStringArray MonitorHandleTexts;
extern CStringArray MonitorFriendlyNames;
// Monitor device interface path -> device name of the display device that drives it.
extern CMapStringToString MonitorInterfaceMap;

struct MonitorHandleEntry
{
    CString DeviceName;
    HMONITOR Handle = nullptr;
};

// Refills MonitorHandleTexts and MonitorFriendlyNames from the active display paths.
// FALSE (with both arrays empty) when the display configuration cannot be read.
BOOL EnumerateMonitors();

// EnumDisplayMonitors callback; list is a std::vector<MonitorHandleEntry>*.
BOOL CALLBACK MonitorEnumProc(HMONITOR monitor, HDC dc, LPRECT rect, LPARAM list);

// The desktop monitor with this device name now; null when there is none. Any thread.
HMONITOR MonitorByDeviceName(const CString& deviceName);

// Refills MonitorInterfaceMap with the first monitor of every display device.
void BuildMonitorInterfaceMap();

// Fills record from a monitor handle and its friendly name; FALSE when the monitor cannot be queried.
BOOL CompleteMonitorRecord(HMONITOR handle, const CString& friendlyName, MonitorRecord& record);

// The label of a monitor without a friendly name: \\.\DISPLAY2 gives Display2.
CString MonitorLabelFromDeviceName(const CString& deviceName);
// The n of a device name \\.\DISPLAYn (any case); 0 for any other name.
int DisplayNumberOf(const CString& deviceName);
