// The control panel's private window messages and timer ids, all in one place so that a new
// one cannot collide with one already taken.
//   TrayCallbackMessage   sent by the shell for mouse events on the tray icon
//   HotkeyReportMessage   posted by the panel to itself to report hotkeys it could not register
//   WM_START_COMMAND      posted by the panel to itself for the command of its own start
//   CloseDelayTimer       the close sequence's wait for the covers' threads to run out
//   AutoCoverTimer        auto-cover's once-a-second look at the desktop
//   SessionNotifyTimer    the next try to hear of lock and unlock, when the first failed at logon
//   AutoSaveTimer         the store of the data file a little after a change
//   PeekTimer             the end of a peek through the covers
#pragma once
#include <windows.h>

constexpr UINT TrayCallbackMessage = WM_APP + 0x20;
constexpr UINT HotkeyReportMessage = WM_APP + 0x21;
constexpr UINT WM_START_COMMAND = WM_APP + 0x43;

constexpr UINT_PTR CloseDelayTimer = 1;
constexpr UINT_PTR AutoCoverTimer = 2;
constexpr UINT_PTR SessionNotifyTimer = 3;
constexpr UINT_PTR AutoSaveTimer = 4;
constexpr UINT_PTR PeekTimer = 5;
