// Boxes for the command line, shown by the starting process or by the control panel.
#include "help/CommandLineHelp.h"
#include "framework/ModuleState.h"
#include "settings/CommandLine.h"

void ShowCommandLineHelp(HWND owner)
{
    ::MessageBoxW(owner, CommandLineUsage(), AfxGetModuleState()->m_lpszCurrentAppName, MB_OK | MB_ICONINFORMATION);
}

void ShowCommandLineMistake(HWND owner, const CString& reason)
{
    const CString text = reason + L"\n\n" + CommandLineUsage();
    ::MessageBoxW(owner, text, AfxGetModuleState()->m_lpszCurrentAppName, MB_OK | MB_ICONWARNING);
}

CString NoSuchDisplayText(int display)
{
    CString text;
    text.Format(L"There is no display %d (\\\\.\\DISPLAY%d) in the list of monitors", display, display);
    return text;
}
