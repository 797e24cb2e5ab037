// The preferences file Umbrafen.ini beside the data file, kept editable by hand.
//   PreferencesRecord       hotkeys, tray, covers and auto-cover, with the lines that could not be read
//   Preferences             the one process-wide record
//   HotkeySlotCount, HotkeyAt, HotkeyKeyName   the hotkeys by slot, as the file and the panel list them
//   GetPreferencesFilePath, DeletePreferencesFile
#pragma once
#include <windows.h>
#include <vector>
#include "framework/Strings.h"
#include "settings/Hotkey.h"

// Toggle1..Toggle9: one hotkey per display number 1-9.
constexpr int ToggleHotkeyCount = 9;
constexpr int MinAutoCoverSeconds = 5;
constexpr int MaxAutoCoverSeconds = 86400;
// A cover's opacity, as the panel's slider takes it.
constexpr int MinCoverOpacity = 50;
constexpr int MaxCoverOpacity = 255;

// Check-box fields are int because the dialog's data exchange binds them as int.
struct PreferencesRecord
{
    Hotkey ToggleAll;
    Hotkey CloseAll;
    Hotkey Toggle[ToggleHotkeyCount];   // Toggle[0] is display 1
    Hotkey ToggleHere;                  // the monitor under the pointer
    Hotkey DimHere;
    Hotkey BrightenHere;
    Hotkey Peek;
    int TrayIcon = 1;
    int MinimizeToTray = 0;
    int StartWithWindows = 0;
    int ExcludeFromCapture = 0;
    int AutoCoverEnabled = 0;
    int AutoCoverSeconds = 600;
    int AutoCoverDimSeconds = 0;   // 0: no dim stage; else below AutoCoverSeconds
    int AutoCoverDimOpacity = 100;
    std::vector<int> AutoCoverDisplays;   // empty: all displays
    // One text per line that could not be read, e.g. "AfterSeconds=3 is out of range (5 to 86400)...".
    std::vector<CString> Problems;
    // Keys whose lines Save leaves as the user wrote them: those that could not be read (or did not
    // fit), and a readable Enabled=1 that such a line kept off.
    std::vector<CString> Held;

    // Starts from the defaults, so a missing file or key leaves them. An unreadable line keeps its
    // default and is named in Problems; a bad auto-cover line also keeps auto-cover off.
    void Load(LPCWSTR path);
    // Writes every key but the held ones (an unset hotkey as an empty value), keeping whatever else
    // the file holds. FALSE when a key could not be written.
    BOOL Save(LPCWSTR path) const;
    // After an edit that started from before: a held key whose value was changed is written again,
    // and the problems named under it go.
    void ReleaseChanged(const PreferencesRecord& before);

    friend bool operator==(const PreferencesRecord&, const PreferencesRecord&) = default;
};

extern PreferencesRecord Preferences;

// Slot 0 ToggleAll, 1 CloseAll, then Toggle1..Toggle9, ToggleHere, DimHere, BrightenHere, Peek; the file lists
// them in this order.
constexpr int ToggleHereSlot = 2 + ToggleHotkeyCount;
constexpr int DimHereSlot = ToggleHereSlot + 1, BrightenHereSlot = ToggleHereSlot + 2, PeekSlot = ToggleHereSlot + 3;
constexpr int HotkeySlotCount = PeekSlot + 1;
Hotkey& HotkeyAt(PreferencesRecord& prefs, int slot);
const Hotkey& HotkeyAt(const PreferencesRecord& prefs, int slot);
// The key's name in the file: "ToggleAll", "CloseAll", "Toggle1", "ToggleHere".
CString HotkeyKeyName(int slot);

// Umbrafen.ini in the data file's folder; empty when that folder is unknown.
void GetPreferencesFilePath(CString& path);
// For Reset All Parameters: the next start finds no preferences file.
void DeletePreferencesFile();
