// How a later start of the program hands its command line to the running control panel.
//   CommandCopyDataId    WM_COPYDATA's dwData; lpData is the UTF-16 CommandToText text, no terminator
//   CommandApplied ...   the panel's answer, given once the command has taken effect
#pragma once
#include <windows.h>

constexpr ULONG_PTR CommandCopyDataId = 0x55434D44;   // "UCMD"

// WM_COPYDATA's result: applied and in place; not understood (another program, or a text this
// version cannot read); applied, but its covers were not all up or gone within 10 s; or, as -n,
// display n is not in the monitor list and nothing was done.
constexpr LRESULT CommandApplied = 1;
constexpr LRESULT CommandNotUnderstood = 0;
constexpr LRESULT CommandNotInPlace = 2;
