// Information prompts the user can suppress for good with the shell's own check box.
#include "help/Prompts.h"
#include "framework/ModuleState.h"

namespace {

using SHMessageBoxCheckWProc = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT, int, LPCWSTR);

// shlwapi exports this function by ordinal only on older systems, so it is always taken by ordinal.
SHMessageBoxCheckWProc LoadMessageBoxCheck()
{
    HMODULE hShlwapi = ::GetModuleHandleW(L"shlwapi.dll");
    if (!hShlwapi) hShlwapi = ::LoadLibraryW(L"shlwapi.dll");
    if (!hShlwapi) return nullptr;
    return reinterpret_cast<SHMessageBoxCheckWProc>(
        reinterpret_cast<void*>(::GetProcAddress(hShlwapi, MAKEINTRESOURCEA(191))));
}

}   // namespace

void ShowDontShowAgainPrompt(HWND owner, LPCWSTR text, LPCWSTR key)
{
    static const SHMessageBoxCheckWProc pfnMessageBoxCheck = LoadMessageBoxCheck();
    // A prompt that cannot be shown counts as suppressed.
    if (!pfnMessageBoxCheck) return;
    pfnMessageBoxCheck(owner, text, AfxGetModuleState()->m_lpszCurrentAppName, MB_OK | MB_ICONINFORMATION, 0, key);
}
