#include "settings/Hotkey.h"
#include <commctrl.h>
#include <cwctype>
#include <iterator>
#include <vector>
#include "settings/ValueText.h"

namespace {

struct ModifierName
{
    UINT flag;
    BYTE controlFlag;
    LPCWSTR name;
};
// Written in this order.
constexpr ModifierName Modifiers[] = {
    {MOD_CONTROL, HOTKEYF_CONTROL, L"Ctrl"},
    {MOD_ALT, HOTKEYF_ALT, L"Alt"},
    {MOD_SHIFT, HOTKEYF_SHIFT, L"Shift"},
    {MOD_WIN, 0, L"Win"},
};
constexpr UINT AllModifiers = MOD_CONTROL | MOD_ALT | MOD_SHIFT | MOD_WIN;

struct KeyName
{
    UINT key;
    LPCWSTR name;
};
constexpr KeyName NamedKeys[] = {
    {VK_SPACE, L"Space"}, {VK_INSERT, L"Insert"}, {VK_DELETE, L"Delete"}, {VK_HOME, L"Home"},
    {VK_END, L"End"},     {VK_PRIOR, L"PageUp"},  {VK_NEXT, L"PageDown"}, {VK_PAUSE, L"Pause"},
};

bool IsFunctionKey(UINT key)
{
    return key >= VK_F1 && key <= VK_F24;
}

bool IsNavigationKey(UINT key)
{
    return key == VK_INSERT || key == VK_DELETE || key == VK_HOME || key == VK_END || key == VK_PRIOR || key == VK_NEXT;
}

// Empty for a key the program does not name.
CString KeyText(UINT key)
{
    CString text;
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) text = static_cast<WCHAR>(key);
    else if (IsFunctionKey(key)) text.Format(L"F%u", key - VK_F1 + 1);
    for (const KeyName& k : NamedKeys)
        if (k.key == key) text = k.name;
    return text;
}

UINT KeyFromText(const CString& text)
{
    if (text.GetLength() == 1)
    {
        const WCHAR c = static_cast<WCHAR>(towupper(text[0]));
        if ((c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9')) return c;
        return 0;
    }
    int n = 0;
    if ((text[0] == L'F' || text[0] == L'f') && text[1] != L'0' && ParseDecimal(text.Mid(1), n) && n >= 1 && n <= 24)
        return VK_F1 + n - 1;
    for (const KeyName& k : NamedKeys)
        if (text.CompareNoCase(k.name) == 0) return k.key;
    return 0;
}

}   // namespace

bool IsUsableHotkey(const Hotkey& hotkey)
{
    if ((hotkey.Modifiers & ~AllModifiers) != 0 || KeyText(hotkey.Key).IsEmpty()) return false;
    return (hotkey.Modifiers & (MOD_CONTROL | MOD_ALT | MOD_WIN)) != 0 || IsFunctionKey(hotkey.Key) ||
           hotkey.Key == VK_PAUSE;
}

HotkeyError ParseHotkey(const CString& text, Hotkey& hotkey)
{
    hotkey = Hotkey();
    if (CString(text).Trim().IsEmpty()) return HotkeyError::None;
    const std::vector<CString> parts = SplitText(text, L'+');
    Hotkey read;
    for (size_t i = 0; i + 1 < parts.size(); ++i)
    {
        UINT flag = 0;
        for (const ModifierName& m : Modifiers)
            if (parts[i].CompareNoCase(m.name) == 0) flag = m.flag;
        if (flag == 0) return HotkeyError::Unreadable;
        read.Modifiers |= flag;
    }
    read.Key = parts.back().IsEmpty() ? 0 : KeyFromText(parts.back());
    if (read.Key == 0) return HotkeyError::Unreadable;
    if (!IsUsableHotkey(read)) return HotkeyError::NeedsModifier;
    hotkey = read;
    return HotkeyError::None;
}

CString HotkeyText(const Hotkey& hotkey)
{
    const CString key = KeyText(hotkey.Key);
    if (key.IsEmpty()) return CString();
    CString text;
    for (const ModifierName& m : Modifiers)
        if (hotkey.Modifiers & m.flag) text.AppendFormat(L"%s+", m.name);
    return text + key;
}

WORD HotkeyToControl(const Hotkey& hotkey)
{
    BYTE flags = IsNavigationKey(hotkey.Key) ? HOTKEYF_EXT : 0;
    for (const ModifierName& m : Modifiers)
        if (hotkey.Modifiers & m.flag) flags |= m.controlFlag;
    return MAKEWORD(hotkey.Key, flags);
}

Hotkey HotkeyFromControl(WORD value)
{
    Hotkey hotkey;
    hotkey.Key = LOBYTE(value);
    for (const ModifierName& m : Modifiers)
        if (m.controlFlag & HIBYTE(value)) hotkey.Modifiers |= m.flag;
    return hotkey;
}
