// Boxes for the command line, shown by the starting process or by the control panel.
#include "help/CommandLineHelp.h"
#include "framework/ModuleState.h"

void ShowCommandLineHelp(HWND owner, LPCWSTR usage)
{
    AppMessageBox(owner, usage);
}

void ShowCommandLineMistake(HWND owner, const CString& reason, LPCWSTR usage)
{
    const CString text = reason + L"\n\n" + usage;
    AppMessageBox(owner, text, MB_OK | MB_ICONWARNING);
}

CString NoSuchDisplayText(int display)
{
    CString text;
    text.Format(L"There is no display %d (\\\\.\\DISPLAY%d) in the list of monitors", display, display);
    return text;
}
