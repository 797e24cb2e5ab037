#include "settings/StartWithWindows.h"
#include <vector>
#include "framework/Strings.h"

BOOL SetStartWithWindows(BOOL on)
{
    if (!on)
    {
        const LSTATUS status = ::RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKeyPath, RunValueName);
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    // Long enough for any path the loader accepts.
    std::vector<WCHAR> exe(32768);
    const DWORD n = ::GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
    if (n == 0 || n >= exe.size()) return FALSE;
    CString command;
    command.Format(L"\"%s\" --minimized", exe.data());
    const DWORD bytes = (static_cast<DWORD>(command.GetLength()) + 1) * sizeof(WCHAR);
    return ::RegSetKeyValueW(HKEY_CURRENT_USER, RunKeyPath, RunValueName, REG_SZ, command.GetString(), bytes) ==
           ERROR_SUCCESS;
}
