// Where a window goes when its rectangle lies on no monitor.
//   MonitorWorkAreas   the monitors' work areas, in workspace coordinates (those of a window placement)
//   FitOnMonitors      a rectangle moved onto the nearest work area when it lies on none
#pragma once
#include <windows.h>
#include <vector>

std::vector<RECT> MonitorWorkAreas();

// The rectangle a window of at least minSize placed at rc takes. rc itself when that touches a work
// area; otherwise moved onto the nearest one, keeping its size where that fits and shrunk to the
// work area where it does not. rc when there is no work area.
RECT FitOnMonitors(const RECT& rc, SIZE minSize, const std::vector<RECT>& workAreas);
