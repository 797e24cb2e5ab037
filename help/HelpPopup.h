// ShowHelpPopup: the platform's modern message pop-up, owned by a window and
// not waited for. ShowHelp: the program's help text in it.
#pragma once
#include <windows.h>
#include "framework/Strings.h"

// Shows text in a runtime MessageDialog titled with the application name and
// owned by owner, and returns at once. A failure HRESULT means nothing was
// shown; the caller decides what the user sees instead.
[[nodiscard]] HRESULT ShowHelpPopup(HWND owner, CString text);

// The help text on how to close coloured windows, in the pop-up or, where that is
// unavailable, in an ordinary information box, so that help never does nothing.
void ShowHelp(HWND owner);
