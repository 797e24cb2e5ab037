// ShowHelpPopup: the platform's modern message pop-up, owned by a window and
// not waited for.
#pragma once
#include <windows.h>
#include "framework/Strings.h"

// Shows text in a runtime MessageDialog titled with the application name and
// owned by owner, and returns at once. A failure HRESULT means nothing was
// shown; the caller decides what the user sees instead.
[[nodiscard]] HRESULT ShowHelpPopup(HWND owner, CString text);
