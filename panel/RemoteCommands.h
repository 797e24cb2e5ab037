// How a later start of the program hands its command line to the running control panel.
//   CommandCopyDataId    WM_COPYDATA's dwData; lpData is the UTF-16 CommandToText text, no terminator
//   CommandApplied ...   the panel's answer
#pragma once
#include <windows.h>

constexpr ULONG_PTR CommandCopyDataId = 0x55434D44;   // "UCMD"

// WM_COPYDATA's result: applied; not understood (another program, or a text this version cannot
// read); or, as -n, display n is not in the monitor list and nothing was done.
constexpr LRESULT CommandApplied = 1;
constexpr LRESULT CommandNotUnderstood = 0;
