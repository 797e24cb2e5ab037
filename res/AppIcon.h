// The application's icon (icon group 128), which every window of the program
// carries as its big and its small icon, and the caption of secondary dialogs.
#pragma once
#include "framework/Framework.h"

HICON LoadAppIcon();
void SetAppIcon(CWnd& wnd);
// The icon, and the caption "<words> - <application name>".
void SetSecondaryCaption(CWnd& wnd, LPCWSTR words);
