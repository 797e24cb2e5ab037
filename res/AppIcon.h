// The application's icon (icon group 128), which every window of the program
// carries as its big and its small icon.
#pragma once
#include "framework/Framework.h"

HICON LoadAppIcon();
void SetAppIcon(CWnd& wnd);
