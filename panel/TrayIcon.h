// The tray icon's plumbing shared by the panel and its tests.
//   NotifyIcon             the one way to Shell_NotifyIconW; tests swap it to see what was asked
//   TrayIconId             the icon's id under the panel's window
//   TrayCallbackMessage    the message the shell sends the panel for mouse events on the icon
//   HotkeyReportMessage    posted by the panel to itself to report hotkeys it could not register
#pragma once
#include <windows.h>
#include <shellapi.h>

using NotifyIconFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAW data);
extern NotifyIconFunction NotifyIcon;

constexpr UINT TrayIconId = 1;
constexpr UINT TrayCallbackMessage = WM_APP + 0x20;
constexpr UINT HotkeyReportMessage = WM_APP + 0x21;
