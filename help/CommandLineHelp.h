// The boxes that answer a command line: its usage, or what was wrong with it.
//   ShowCommandLineHelp      the usage, for --help
//   ShowCommandLineMistake   what was wrong, then the usage
//   NoSuchDisplayText        the mistake of naming a display the control panel does not list
#pragma once
#include <windows.h>
#include "framework/Strings.h"

// Both are modal, owned by owner (may be null) and captioned with the application name; usage is the
// syntax, which the command line's parser owns.
void ShowCommandLineHelp(HWND owner, LPCWSTR usage);
void ShowCommandLineMistake(HWND owner, const CString& reason, LPCWSTR usage);
CString NoSuchDisplayText(int display);
