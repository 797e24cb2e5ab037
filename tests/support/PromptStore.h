// The don't-show-again store: tests suppress a prompt, or bring it back, by its key as the shell's box would.
#pragma once
#include <windows.h>

inline constexpr const wchar_t* PassthroughPromptKey = L"606A7964-C1F1-4C7D-92EF-BC92E9F49BFB";
inline constexpr const wchar_t* ColoredPromptKey = L"0EA4C671-3CC3-4D6E-B060-FB244D24A0F8";
inline constexpr const wchar_t* OnTopPromptKey = L"1669EE73-6C2F-44EE-8960-8293136A79B9";
inline constexpr const wchar_t* PassthroughOffPromptKey = L"5259886A-688A-4BCB-B915-8C60FEAD5CA3";
inline constexpr const wchar_t* DontShowKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\DontShowMeThisDialogAgain";

// Marks the prompt as suppressed ("no"), the form both Windows and Wine read.
inline void Suppress(const wchar_t* key)
{
    ::RegSetKeyValueW(HKEY_CURRENT_USER, DontShowKey, key, REG_SZ, L"no", sizeof(L"no"));
}

inline void RestorePrompt(const wchar_t* key)   // the prompt shows again
{
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, DontShowKey, key);
}
