// Hotkey text and the hotkey control's word; Umbrafen.ini through real files: layout, round trip, bad lines.
#include "settings/Preferences.h"
#include "tests/support/GuiSupport.h"

namespace {

// Text in any order and case, written back canonically; typing keys need Ctrl, Alt or Win; control bits are not MOD_*.
TEST(PreferencesHotkey, TextAndControlWordForms)
{
    // A refused text leaves no hotkey; only F1-F24 and Pause may go without a modifier.
    using E = HotkeyError;
    const std::tuple<LPCWSTR, HotkeyError, LPCWSTR> texts[] = {
        {L" win + SHIFT+alt+ctrl+pagedown ", E::None, L"Ctrl+Alt+Shift+Win+PageDown"}, {L"Win+0", E::None, L"Win+0"},
        {L"f24", E::None, L"F24"}, {L"Pause", E::None, L"Pause"}, {L"Hyper+A", E::Unreadable, L""},
        {L"shift+delete", E::NeedsModifier, L""}};
    for (const auto& [text, error, canonical] : texts)
    {
        Hotkey hotkey{MOD_ALT, 'X'};
        EXPECT_EQ(error, ParseHotkey(text, hotkey)) << text;
        EXPECT_STREQ(canonical, HotkeyText(hotkey)) << text;
    }
    // The control has no Win, and names navigation keys rightly only when they are marked extended.
    EXPECT_EQ(MAKEWORD(VK_HOME, HOTKEYF_SHIFT | HOTKEYF_EXT), HotkeyToControl({MOD_SHIFT | MOD_WIN, VK_HOME}));
    EXPECT_EQ(MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT), HotkeyToControl({MOD_CONTROL | MOD_ALT, 'K'}));
    EXPECT_EQ((Hotkey{MOD_SHIFT, VK_END}), HotkeyFromControl(MAKEWORD(VK_END, HOTKEYF_SHIFT | HOTKEYF_EXT)));
}

const std::wstring Path = TempPath(L"Umbrafen.ini");   // scratch: each test deletes it when done

// Every field survives a save and a load, under its own section and key, in the file's order.
TEST(PreferencesFile, SavedFieldsLoadBackInTheirLayout)
{
    PreferencesRecord saved, loaded;
    saved.ToggleAll = Hotkey{MOD_CONTROL | MOD_ALT, VK_F12}, saved.Toggle[0] = Hotkey{MOD_SHIFT | MOD_WIN, VK_END};
    saved.TrayIcon = saved.StartWithWindows = 0;
    saved.MinimizeToTray = saved.ExcludeFromCapture = saved.AutoCoverEnabled = 1;
    saved.AutoCoverSeconds = 86400, saved.AutoCoverDisplays = {2, 17}, saved.Peek = Hotkey{MOD_ALT, VK_PAUSE};
    saved.AutoCoverDimSeconds = 86399, saved.AutoCoverDimOpacity = 255;
    ASSERT_TRUE(saved.Save(Path.c_str()));
    loaded.Load(Path.c_str());
    EXPECT_EQ(saved, loaded);

    std::string expected = "[Hotkeys]\nToggleAll=Ctrl+Alt+F12\nCloseAll=\nToggle1=Shift+Win+End\n", text;
    for (int n = 2; n <= 9; ++n) expected += "Toggle" + std::to_string(n) + "=\n";
    expected += "ToggleHere=\nDimHere=\nBrightenHere=\nPeek=Alt+Pause\n[Tray]\nIcon=0\nMinimizeToTray=1\n"
                "StartWithWindows=0\n[Covers]\nExcludeFromCapture=1\n[AutoCover]\nEnabled=1\nAfterSeconds=86400\n"
                "DimAfterSeconds=86399\nDimOpacity=255\nDisplays=2,17\n";
    // Blank lines left out: they do not matter between sections.
    for (BYTE b : ReadAllBytes(Path))
        if (b != '\r' && (b != '\n' || (!text.empty() && text.back() != '\n'))) text += static_cast<char>(b);
    EXPECT_EQ(expected, text);
    ::DeleteFileW(Path.c_str());
}

// A bad line of a hand-written file is named and counts as empty, a bad auto-cover line keeps auto-cover off, the rest
// counts (AfterSeconds from 5 to 86400); Save leaves such a line, and an Enabled=1 it kept off, until it is changed.
TEST(PreferencesFile, UnreadableLineIsNamedKeptAndTheRestStillCounts)
{
    auto loadWith = [](const std::string& key, const std::string& value) {
        std::string text = "; written by hand\r\n[Hotkeys]\r\nToggleAll=ctrl + ALT+f12\r\nCloseAll=Ctrl+Alt+F11\r\n"
                           "\r\n[Tray]\r\nMinimizeToTray=1\r\n[AutoCover]\r\nEnabled=1\r\nAfterSeconds=6\r\n"
                           "DimAfterSeconds=5\r\nDimOpacity=50\r\nDisplays=2, 1\r\n";
        const size_t at = text.find("\n" + key + "=") + key.size() + 2;
        text.replace(at, text.find('\r', at) - at, value);
        EXPECT_TRUE(WriteAllBytes(Path, Bytes(text.begin(), text.end())));
        PreferencesRecord prefs;
        prefs.Load(Path.c_str());
        return prefs;
    };
    PreferencesRecord w;   // what the file says, the dim stage at its lowest; a case's line keeps its default
    w.ToggleAll = Hotkey{MOD_CONTROL | MOD_ALT, VK_F12}, w.CloseAll = Hotkey{MOD_CONTROL | MOD_ALT, VK_F11};
    w.MinimizeToTray = w.AutoCoverEnabled = 1, w.AutoCoverSeconds = 6, w.AutoCoverDisplays = {1, 2};
    w.AutoCoverDimSeconds = 5, w.AutoCoverDimOpacity = 50;
    std::string cut;   // 1,025 characters: cut after 1,023 it would read as a good list
    for (int i = 0; i < 511; ++i) cut += "1,";
    const std::pair<std::string, LPCWSTR> cases[] = {
        {"Ctrl+Alt+F99", L"CloseAll=Ctrl+Alt+F99 is not a hotkey (such as Ctrl+Alt+F12)"},
        {"q", L"CloseAll=q needs Ctrl, Alt or Win (only F1-F24 and Pause may go without)"},
        {"Alt+Ctrl+F12", L"CloseAll=Alt+Ctrl+F12 is already used by ToggleAll"},
        {"yes", L"MinimizeToTray=yes is not 0 or 1"},
        {"4", L"AfterSeconds=4 is out of range (5 to 86400); auto-cover stays off"},
        {"86401", L"AfterSeconds=86401 is out of range (5 to 86400); auto-cover stays off"},
        {"-30", L"AfterSeconds=-30 is not a number of seconds (5 to 86400); auto-cover stays off"},
        {"6", L"DimAfterSeconds=6 is not 0 or 5 seconds to less than AfterSeconds (6); auto-cover stays off"},
        {"49", L"DimOpacity=49 is not an opacity (50 to 255); auto-cover stays off"},
        {"1,,2", L"Displays=1,,2 is not all or display numbers 1 to 99 separated by commas; auto-cover stays off"},
        {cut + "100", L"Displays=1,1,1,1,1,1,1,1,1,1,1,1,... is longer than 1023 characters; auto-cover stays off"},
    };
    for (const auto& [value, problem] : cases)
    {
        // The problem starts with the line's key.
        const std::string key(problem, problem + std::wcscspn(problem, L"="));
        PreferencesRecord want = w, got = loadWith(key, value);   // got's file stays
        EXPECT_STREQ(problem, got.Problems.empty() ? L"(none)" : got.Problems[0].GetString());
        if (key == "CloseAll") want.CloseAll = {};
        if (key == "MinimizeToTray") want.MinimizeToTray = 0;
        if (key == "AfterSeconds") want.AutoCoverSeconds = 600;
        if (key == "Displays") want.AutoCoverDisplays = {};
        if (key == "DimAfterSeconds") want.AutoCoverDimSeconds = 0;
        if (key == "DimOpacity") want.AutoCoverDimOpacity = 100;
        want.Problems = {problem};
        want.Held = {CString(std::wstring(key.begin(), key.end()).c_str())};
        if (std::wcsstr(problem, L"auto-cover stays off")) want.AutoCoverEnabled = 0, want.Held.push_back(L"Enabled");
        EXPECT_TRUE(want == got) << key << "=" << value;
        ASSERT_TRUE(got.Save(Path.c_str()));
        const Bytes saved = ReadAllBytes(Path);
        const std::string text(saved.begin(), saved.end());
        EXPECT_TRUE(text.find("\n" + key + "=" + value + "\r") != text.npos && text.find("\nEnabled=1\r") != text.npos)
            << "kept: " << key;
    }
    // Changed in Preferences, the field is written after all and its problem goes.
    PreferencesRecord edited = loadWith("CloseAll", "q"), reread;
    edited.CloseAll = {MOD_ALT, VK_F2};
    edited.ReleaseChanged(loadWith("CloseAll", "q"));
    ASSERT_TRUE(edited.Save(Path.c_str()));
    reread.Load(Path.c_str());
    EXPECT_TRUE(edited.Problems.empty() && reread.Problems.empty() && reread.CloseAll == edited.CloseAll);
    ::DeleteFileW(Path.c_str());
}

}   // namespace
