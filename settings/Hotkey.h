// One global hotkey and its forms.
//   Hotkey                      MOD_* flags and a virtual key, as RegisterHotKey takes them
//   IsUsableHotkey              the keys and modifier rules this program accepts
//   ParseHotkey, HotkeyText     "Ctrl+Alt+F12" as written in the preferences file
//   HotkeyFromControl, HotkeyToControl   the standard hotkey control's HKM_GETHOTKEY/HKM_SETHOTKEY word
#pragma once
#include <windows.h>
#include "framework/Strings.h"

struct Hotkey
{
    UINT Modifiers = 0;   // MOD_CONTROL | MOD_ALT | MOD_SHIFT | MOD_WIN
    UINT Key = 0;         // virtual-key code; 0 when no hotkey is set

    bool IsSet() const { return Key != 0; }
    friend bool operator==(const Hotkey&, const Hotkey&) = default;
};

// A key this program can name (A-Z, 0-9, F1-F24, Space, Insert, Delete, Home, End, PageUp,
// PageDown, Pause) with only the four modifiers. Ctrl, Alt or Win is required except for
// F1-F24 and Pause: a bare or shifted letter, digit or editing key would steal typing.
bool IsUsableHotkey(const Hotkey& hotkey);

// Why a written hotkey cannot be used.
enum class HotkeyError
{
    None,
    Unreadable,
    NeedsModifier
};

// Modifier names in any order and case, then one key, joined by '+'. Empty text is the unset
// hotkey. On an error hotkey is left unset.
HotkeyError ParseHotkey(const CString& text, Hotkey& hotkey);
// Modifiers in the order Ctrl+Alt+Shift+Win, then the key; empty when unset or the key has no name.
CString HotkeyText(const Hotkey& hotkey);

// The control has no Win modifier, so HotkeyToControl drops MOD_WIN; it marks the navigation
// keys extended so the control names them "Home" rather than the keypad key.
WORD HotkeyToControl(const Hotkey& hotkey);
// The extended flag is ignored: the same virtual key registers either way.
Hotkey HotkeyFromControl(WORD value);
