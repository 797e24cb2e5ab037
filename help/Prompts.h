// ShowDontShowAgainPrompt: an information box with the shell's don't-show-again check box.
#pragma once
#include <windows.h>

// Modal, owned by owner and captioned with the application name. Once the user has
// ticked the box, the prompt with this key is not shown again.
void ShowDontShowAgainPrompt(HWND owner, LPCWSTR text, LPCWSTR key);
