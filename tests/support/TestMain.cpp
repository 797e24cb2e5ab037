// Entry point of every test executable: the code is built with -municode, so
// the console entry is wmain rather than GoogleTest's own main. The process
// is prepared as the program prepares itself: its name, common controls, OLE.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include "framework/ModuleState.h"

int wmain(int argc, wchar_t** argv)
{
    testing::InitGoogleTest(&argc, argv);
    AfxGetModuleState()->m_lpszCurrentAppName = L"Umbrafen";
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::OleInitialize(nullptr);
    int rc = RUN_ALL_TESTS();
    ::OleUninitialize();
    return rc;
}
