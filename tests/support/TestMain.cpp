// Every test executable's entry point, preparing the process as the program does. The virtual desktop has no shell,
// where the real tray call waits two seconds at every panel: the icon goes to a stand-in.
#include "framework/ModuleState.h"
#include "panel/TrayIcon.h"
#include "tests/support/GuiSupport.h"
#include <ole2.h>

int wmain(int argc, wchar_t** argv)
{
    if (argc == 5 && lstrcmpW(argv[1], L"--foreign-window") == 0) return RunForeignWindow(argv);
    testing::InitGoogleTest(&argc, argv);
    AfxGetModuleState()->m_lpszCurrentAppName = L"Umbrafen";
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::OleInitialize(nullptr);
    NotifyIcon = [](DWORD, PNOTIFYICONDATAW) -> BOOL { return TRUE; };
    const int rc = RUN_ALL_TESTS();
    return ::OleUninitialize(), rc;
}
