// Entry point of every test executable: the code is built with -municode, so
// the console entry is wmain rather than GoogleTest's own main. The process
// is prepared as the program prepares itself: its name, common controls, OLE.
// The virtual desktop has no shell: the real tray call waits some two seconds
// for one at every panel, so the icon goes to a stand-in that accepts it (the
// tray tests put their own recorder there).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include "framework/ModuleState.h"
#include "panel/TrayIcon.h"

int wmain(int argc, wchar_t** argv)
{
    testing::InitGoogleTest(&argc, argv);
    AfxGetModuleState()->m_lpszCurrentAppName = L"Umbrafen";
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::OleInitialize(nullptr);
    NotifyIcon = [](DWORD, PNOTIFYICONDATAW) -> BOOL { return TRUE; };
    int rc = RUN_ALL_TESTS();
    ::OleUninitialize();
    return rc;
}
