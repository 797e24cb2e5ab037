// Which monitor a window is on and the DPI it is drawn at there, over the display seam, and the
// pixel values kept at 96 DPI.
//   MonitorDpi     a monitor's DPI
//   MonitorOfRect  the monitor a window at a rectangle belongs to
//   DpiOfRect      the DPI a window at a rectangle is drawn at
//   ScaledFrom96   a 96-DPI pixel value for another DPI
//   StoredAt96     the 96-DPI value to keep for a value in use at some DPI
#pragma once
#include <windows.h>

// Its effective DPI; the system's where the monitor or the call does not answer.
UINT MonitorDpi(HMONITOR monitor);
// The one holding the largest part of rc, as the platform picks a window's monitor; when rc lies
// on none, the nearest. Null only on a desktop without monitors.
HMONITOR MonitorOfRect(const RECT& rc);
UINT DpiOfRect(const RECT& rc);

int ScaledFrom96(int value96, UINT dpi);
// stored96 itself while it still gives inUse at dpi, so that a value nobody changed goes back to
// the file as it came, whatever the DPI; otherwise inUse taken back to 96 DPI.
int StoredAt96(int stored96, int inUse, UINT dpi);
