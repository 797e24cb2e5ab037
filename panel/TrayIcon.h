// The tray icon's plumbing shared by the panel and its tests.
//   NotifyIcon             the one way to Shell_NotifyIconW; tests swap it to see what was asked
//   TrayIconId             the icon's id under the panel's window
#pragma once
#include <windows.h>
#include <shellapi.h>
#include "panel/PanelMessages.h"

using NotifyIconFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAW data);
extern NotifyIconFunction NotifyIcon;

constexpr UINT TrayIconId = 1;
