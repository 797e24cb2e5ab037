#include "display/MonitorPower.h"
#include <windows.h>

void TurnOffMonitors()
{
    // Sent with a time limit rather than plain SendMessageW: one hung window anywhere on
    // the desktop would otherwise block the panel for good.
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(HWND_BROADCAST, WM_SYSCOMMAND, SC_MONITORPOWER, 2, SMTO_ABORTIFHUNG | SMTO_NORMAL, 500,
                          &result);
}
