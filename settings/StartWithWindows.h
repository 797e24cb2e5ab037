// Start with Windows: the per-user Run value that starts the program at logon.
//   RunKeyPath, RunValueName   where the value lives under HKEY_CURRENT_USER
//   SetStartWithWindows        writes or removes it
#pragma once
#include <windows.h>

constexpr LPCWSTR RunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr LPCWSTR RunValueName = L"Umbrafen";

// On: "\"<this exe>\" --minimized", so a logon start goes straight to the tray. Off: the value
// is removed; a value that is not there counts as removed. FALSE when the registry refused.
BOOL SetStartWithWindows(BOOL on);
