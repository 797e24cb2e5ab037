#include "settings/Preferences.h"
#include <algorithm>
#include "settings/AppSettings.h"
#include "settings/ValueText.h"

PreferencesRecord Preferences;

namespace {

constexpr LPCWSTR HotkeysSection = L"Hotkeys";
constexpr LPCWSTR AutoCoverSection = L"AutoCover";
constexpr LPCWSTR AutoCoverStaysOff = L"; auto-cover stays off";
// Longer than any sensible value, a full display list included; a longer one is not read at all.
constexpr int ValueLength = 1024;

struct SwitchKey
{
    LPCWSTR section;
    LPCWSTR key;
    int PreferencesRecord::*field;
};
constexpr SwitchKey Switches[] = {
    {L"Tray", L"Icon", &PreferencesRecord::TrayIcon},
    {L"Tray", L"MinimizeToTray", &PreferencesRecord::MinimizeToTray},
    {L"Tray", L"StartWithWindows", &PreferencesRecord::StartWithWindows},
    {L"Covers", L"ExcludeFromCapture", &PreferencesRecord::ExcludeFromCapture},
};

bool IsIn(const std::vector<CString>& keys, const CString& key)
{
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

// A problem's line is held: Save leaves it as the user wrote it.
void AddProblem(PreferencesRecord& prefs, LPCWSTR key, const CString& value, LPCWSTR why, LPCWSTR suffix = L"")
{
    CString text;
    text.Format(L"%s=%s %s%s", key, value, why, suffix);
    prefs.Problems.push_back(text);
    if (!IsIn(prefs.Held, key)) prefs.Held.push_back(key);
}

// A missing key and an empty value both read as empty and leave the default. A value that does not
// fit would come back cut, so it is named (with suffix) and counts as empty: FALSE.
bool ReadValue(LPCWSTR path, LPCWSTR section, LPCWSTR key, CString& value, PreferencesRecord& prefs,
               LPCWSTR suffix = L"")
{
    const DWORD n =
        ::GetPrivateProfileStringW(section, key, L"", value.GetBuffer(ValueLength + 1), ValueLength + 1, path);
    value.ReleaseBuffer(static_cast<int>(n));
    if (n < ValueLength)
    {
        value.Trim();
        return true;
    }
    CString why;
    why.Format(L"is longer than %d characters", ValueLength - 1);
    AddProblem(prefs, key, value.Left(24) + L"...", why, suffix);
    value.Empty();
    return false;
}

void ReadSwitch(LPCWSTR path, LPCWSTR section, LPCWSTR key, int& field, PreferencesRecord& prefs)
{
    CString value;
    ReadValue(path, section, key, value, prefs);
    if (value == L"0" || value == L"1") field = value == L"1";
    else if (!value.IsEmpty()) AddProblem(prefs, key, value, L"is not 0 or 1");
}

// Whether the field written under key differs between the two records.
bool FieldDiffers(const PreferencesRecord& a, const PreferencesRecord& b, const CString& key)
{
    for (int slot = 0; slot < HotkeySlotCount; ++slot)
        if (key == HotkeyKeyName(slot)) return !(HotkeyAt(a, slot) == HotkeyAt(b, slot));
    for (const SwitchKey& s : Switches)
        if (key == s.key) return a.*s.field != b.*s.field;
    if (key == L"Enabled") return a.AutoCoverEnabled != b.AutoCoverEnabled;
    if (key == L"AfterSeconds") return a.AutoCoverSeconds != b.AutoCoverSeconds;
    if (key == L"DimAfterSeconds") return a.AutoCoverDimSeconds != b.AutoCoverDimSeconds;
    if (key == L"DimOpacity") return a.AutoCoverDimOpacity != b.AutoCoverDimOpacity;
    return a.AutoCoverDisplays != b.AutoCoverDisplays;
}

}   // namespace

CString HotkeyKeyName(int slot)
{
    constexpr LPCWSTR here[] = {L"ToggleHere", L"DimHere", L"BrightenHere", L"Peek"};
    CString name = slot == 0                ? L"ToggleAll"
                   : slot == 1              ? L"CloseAll"
                   : slot >= ToggleHereSlot ? here[slot - ToggleHereSlot]
                                            : L"";
    if (name.IsEmpty()) name.Format(L"Toggle%d", slot - 1);
    return name;
}

Hotkey& HotkeyAt(PreferencesRecord& prefs, int slot)
{
    Hotkey* const here[] = {&prefs.ToggleHere, &prefs.DimHere, &prefs.BrightenHere, &prefs.Peek};
    return slot == 0                ? prefs.ToggleAll
           : slot == 1              ? prefs.CloseAll
           : slot >= ToggleHereSlot ? *here[slot - ToggleHereSlot]
                                    : prefs.Toggle[slot - 2];
}

const Hotkey& HotkeyAt(const PreferencesRecord& prefs, int slot)
{
    return HotkeyAt(const_cast<PreferencesRecord&>(prefs), slot);
}

void PreferencesRecord::Load(LPCWSTR path)
{
    *this = PreferencesRecord();

    for (int slot = 0; slot < HotkeySlotCount; ++slot)
    {
        const CString key = HotkeyKeyName(slot);
        CString value;
        ReadValue(path, HotkeysSection, key, value, *this);
        Hotkey hotkey;
        const HotkeyError error = ParseHotkey(value, hotkey);
        if (error == HotkeyError::Unreadable) AddProblem(*this, key, value, L"is not a hotkey (such as Ctrl+Alt+F12)");
        else if (error == HotkeyError::NeedsModifier)
            AddProblem(*this, key, value, L"needs Ctrl, Alt or Win (only F1-F24 and Pause may go without)");
        // Registering the same keys twice would fail for the second, so the first one keeps them.
        for (int earlier = 0; hotkey.IsSet() && earlier < slot; ++earlier)
        {
            if (HotkeyAt(*this, earlier) == hotkey)
            {
                AddProblem(*this, key, value, L"is already used by ", HotkeyKeyName(earlier));
                hotkey = Hotkey();
            }
        }
        HotkeyAt(*this, slot) = hotkey;
    }

    for (const SwitchKey& s : Switches) ReadSwitch(path, s.section, s.key, this->*s.field, *this);

    int enabled = 0;
    ReadSwitch(path, AutoCoverSection, L"Enabled", enabled, *this);
    CString seconds, displays;
    bool usable = ReadValue(path, AutoCoverSection, L"AfterSeconds", seconds, *this, AutoCoverStaysOff);
    int n = AutoCoverSeconds;
    const bool number = seconds.IsEmpty() || ParseDecimal(seconds, n);
    if (number && n >= MinAutoCoverSeconds && n <= MaxAutoCoverSeconds)
    {
        AutoCoverSeconds = n;
    }
    else
    {
        CString why;
        why.Format(number ? L"is out of range (%d to %d)" : L"is not a number of seconds (%d to %d)",
                   MinAutoCoverSeconds, MaxAutoCoverSeconds);
        AddProblem(*this, L"AfterSeconds", seconds, why, AutoCoverStaysOff);
        usable = false;
    }
    // The dim stage's numbers: kept when empty or in range, else named with the reason and auto-cover off.
    // Its seconds are 0 (none), else from the least wait to just under AfterSeconds.
    const auto readStage = [&](LPCWSTR key, int& value, auto inRange, const CString& why) {
        CString text;
        usable &= ReadValue(path, AutoCoverSection, key, text, *this, AutoCoverStaysOff);
        int n = value;
        if ((text.IsEmpty() || ParseDecimal(text, n)) && inRange(n)) return void(value = n);
        AddProblem(*this, key, text, why, AutoCoverStaysOff);
        usable = false;
    };
    CString why;
    why.Format(L"is not 0 or %d seconds to less than AfterSeconds (%d)", MinAutoCoverSeconds, AutoCoverSeconds);
    readStage(L"DimAfterSeconds", AutoCoverDimSeconds,
              [&](int d) { return d == 0 || (d >= MinAutoCoverSeconds && d < AutoCoverSeconds); }, why);
    why.Format(L"is not an opacity (%d to %d)", MinCoverOpacity, MaxCoverOpacity);
    readStage(L"DimOpacity", AutoCoverDimOpacity, [](int o) { return o >= MinCoverOpacity && o <= MaxCoverOpacity; },
              why);
    usable &= ReadValue(path, AutoCoverSection, L"Displays", displays, *this, AutoCoverStaysOff);
    if (!displays.IsEmpty() && !ParseDisplayList(displays, AutoCoverDisplays))
    {
        CString why;
        why.Format(L"is not all or display numbers 1 to %d separated by commas", MaxDisplayNumber);
        AddProblem(*this, L"Displays", displays, why, AutoCoverStaysOff);
        usable = false;
    }
    // Covering on a timer or displays the user did not mean would be worse than not covering.
    AutoCoverEnabled = usable ? enabled : 0;
    if (enabled && !usable) Held.push_back(L"Enabled");
}

BOOL PreferencesRecord::Save(LPCWSTR path) const
{
    BOOL ok = TRUE;
    auto write = [&](LPCWSTR section, LPCWSTR key, const CString& value) {
        if (!IsIn(Held, key) && !::WritePrivateProfileStringW(section, key, value, path)) ok = FALSE;
    };
    for (int slot = 0; slot < HotkeySlotCount; ++slot)
        write(HotkeysSection, HotkeyKeyName(slot), HotkeyText(HotkeyAt(*this, slot)));
    for (const SwitchKey& s : Switches) write(s.section, s.key, this->*s.field ? L"1" : L"0");
    write(AutoCoverSection, L"Enabled", AutoCoverEnabled ? L"1" : L"0");
    CString seconds;
    seconds.Format(L"%d", AutoCoverSeconds);
    write(AutoCoverSection, L"AfterSeconds", seconds);
    seconds.Format(L"%d", AutoCoverDimSeconds);
    write(AutoCoverSection, L"DimAfterSeconds", seconds);
    seconds.Format(L"%d", AutoCoverDimOpacity);
    write(AutoCoverSection, L"DimOpacity", seconds);
    write(AutoCoverSection, L"Displays", DisplayListText(AutoCoverDisplays));
    return ok;
}

void PreferencesRecord::ReleaseChanged(const PreferencesRecord& before)
{
    std::vector<CString> held;
    for (const CString& key : Held)
    {
        if (!FieldDiffers(*this, before, key))
        {
            held.push_back(key);
            continue;
        }
        const CString named = key + L"=";
        std::erase_if(Problems, [&](const CString& problem) { return problem.Left(named.GetLength()) == named; });
    }
    Held = held;
}

void GetPreferencesFilePath(CString& path)
{
    GetDataFilePath(path);
    // Same folder as the data file, another name.
    int slash = -1;
    for (int at = path.Find(L'\\'); at >= 0; at = path.Find(L'\\', at + 1)) slash = at;
    path = slash < 0 ? CString() : path.Left(slash + 1) + L"Umbrafen.ini";
}

void DeletePreferencesFile()
{
    CString path;
    GetPreferencesFilePath(path);
    if (!path.IsEmpty()) ::DeleteFileW(path);
}
