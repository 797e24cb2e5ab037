#include "tests/support/PromptStore.h"
#include <initializer_list>

namespace {
const wchar_t* const DontShowKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\DontShowMeThisDialogAgain";
}

void Suppress(const wchar_t* key)
{
    static const wchar_t no[] = L"no";
    ::RegSetKeyValueW(HKEY_CURRENT_USER, DontShowKey, key, REG_SZ, no, sizeof(no));
}

void RestorePrompt(const wchar_t* key)
{
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, DontShowKey, key);
}

void RestoreAllPrompts()
{
    for (const wchar_t* key : {PassthroughPromptKey, ColoredPromptKey, OnTopPromptKey, PassthroughOffPromptKey})
        RestorePrompt(key);
}
