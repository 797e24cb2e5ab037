// Hotkey text and the hotkey control's encoding; the preferences file through real files:
// layout, round trip, and lines that cannot be read.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <string>
#include "settings/Preferences.h"
#include "tests/support/Files.h"

namespace {

constexpr UINT AllMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT | MOD_WIN;

TEST(PreferencesHotkey, ReadsAnyOrderAndCaseAndWritesCanonically)
{
    const struct
    {
        LPCWSTR text;
        Hotkey hotkey;
        LPCWSTR canonical;
    } cases[] = {
        {L"Ctrl+Alt+F12", {MOD_CONTROL | MOD_ALT, VK_F12}, L"Ctrl+Alt+F12"},
        {L" win + SHIFT+alt+ctrl+pagedown ", {AllMods, VK_NEXT}, L"Ctrl+Alt+Shift+Win+PageDown"},
        {L"Win+0", {MOD_WIN, '0'}, L"Win+0"},
        {L"f24", {0, VK_F24}, L"F24"},
        {L"Pause", {0, VK_PAUSE}, L"Pause"},
        {L"", {}, L""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        Hotkey hotkey{MOD_ALT, 'X'};
        EXPECT_EQ(HotkeyError::None, ParseHotkey(c.text, hotkey));
        EXPECT_EQ(c.hotkey.Modifiers, hotkey.Modifiers);
        EXPECT_EQ(c.hotkey.Key, hotkey.Key);
        EXPECT_STREQ(c.canonical, HotkeyText(hotkey));
    }
}

TEST(PreferencesHotkey, RejectsUnknownNamesAndKeysThatWouldStealTyping)
{
    const struct
    {
        LPCWSTR text;
        HotkeyError error;
    } cases[] = {
        {L"Ctrl+", HotkeyError::Unreadable},    {L"Ctrl+A+B", HotkeyError::Unreadable},
        {L"Hyper+A", HotkeyError::Unreadable},  {L"Ctrl+F25", HotkeyError::Unreadable},
        {L"Ctrl+F01", HotkeyError::Unreadable}, {L"Alt+Esc", HotkeyError::Unreadable},
        {L"A", HotkeyError::NeedsModifier},     {L"shift+delete", HotkeyError::NeedsModifier},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        Hotkey hotkey{MOD_ALT, 'X'};
        EXPECT_EQ(c.error, ParseHotkey(c.text, hotkey));
        EXPECT_FALSE(hotkey.IsSet());
    }
}

// The control's modifier bits are not MOD_*; navigation keys go to it marked extended.
TEST(PreferencesHotkey, ControlWordConvertsModifierBitsBothWays)
{
    const struct
    {
        Hotkey hotkey;
        WORD control;
    } cases[] = {
        {{MOD_CONTROL | MOD_SHIFT, VK_HOME}, MAKEWORD(VK_HOME, HOTKEYF_CONTROL | HOTKEYF_SHIFT | HOTKEYF_EXT)},
        {{MOD_SHIFT | MOD_ALT, 'Z'}, MAKEWORD('Z', HOTKEYF_SHIFT | HOTKEYF_ALT)},
        {{MOD_CONTROL, VK_NEXT}, MAKEWORD(VK_NEXT, HOTKEYF_CONTROL | HOTKEYF_EXT)},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.control, HotkeyToControl(c.hotkey)) << c.hotkey.Key;
        EXPECT_EQ(c.hotkey, HotkeyFromControl(c.control)) << c.hotkey.Key;
    }
    EXPECT_EQ(MAKEWORD('K', HOTKEYF_ALT), HotkeyToControl({MOD_ALT | MOD_WIN, 'K'}));   // the control has no Win
}

// The file's lines joined by '\n', blank lines left out: they do not matter between sections.
std::string FileText(LPCWSTR path)
{
    std::string text;
    for (BYTE b : ReadAllBytes(path))
        if (b != '\r' && (b != '\n' || (!text.empty() && text.back() != '\n'))) text += static_cast<char>(b);
    return text;
}

class PreferencesFile : public ::testing::Test
{
protected:
    void TearDown() override { ::DeleteFileW(m_path); }
    const CString m_path = TempPath(L"Umbrafen.ini").c_str();
};

// Every field survives a save and a load; saving the defaults then replaces every value, in the
// documented layout.
TEST_F(PreferencesFile, RoundTripOverwriteAndLayout)
{
    PreferencesRecord saved;
    saved.ToggleAll = {MOD_CONTROL | MOD_ALT, VK_F12};
    saved.CloseAll = {0, VK_PAUSE};
    saved.Toggle[0] = {MOD_CONTROL | MOD_ALT, '1'};
    saved.Toggle[8] = {MOD_SHIFT | MOD_WIN, VK_END};
    saved.TrayIcon = 0;
    saved.MinimizeToTray = saved.StartWithWindows = saved.ExcludeFromCapture = saved.AutoCoverEnabled = 1;
    saved.AutoCoverSeconds = 86400;
    saved.AutoCoverDisplays = {2, 17};
    ASSERT_TRUE(saved.Save(m_path));
    PreferencesRecord loaded;
    loaded.Load(m_path);
    EXPECT_EQ(saved, loaded);

    ASSERT_TRUE(PreferencesRecord().Save(m_path));
    loaded.Load(m_path);
    EXPECT_EQ(PreferencesRecord(), loaded);
    std::string expected = "[Hotkeys]\nToggleAll=\nCloseAll=\n";
    for (int n = 1; n <= 9; ++n) expected += "Toggle" + std::to_string(n) + "=\n";
    expected += "[Tray]\nIcon=1\nMinimizeToTray=0\nStartWithWindows=0\n[Covers]\nExcludeFromCapture=0\n"
                "[AutoCover]\nEnabled=0\nAfterSeconds=600\nDisplays=all\n";
    EXPECT_EQ(expected, FileText(m_path));
    EXPECT_FALSE(PreferencesRecord().Save(TempPath(L"no\\such\\folder.ini").c_str()));
}

// One unreadable line at a time, in a file written by hand: it counts as if it were missing, is
// named once, and a bad auto-cover line keeps auto-cover off; every other line still counts.
TEST_F(PreferencesFile, UnreadableLineIsNamedAndTheRestStillCounts)
{
    struct Line
    {
        std::string section, key, value;
    };
    const std::vector<Line> good = {
        {"Hotkeys", "ToggleAll", "ctrl + ALT+f12"},
        {"Hotkeys", "CloseAll", "Ctrl+Alt+F11"},
        {"Tray", "Icon", "0"},
        {"Tray", "MinimizeToTray", "1"},
        {"AutoCover", "Enabled", "1"},
        {"AutoCover", "AfterSeconds", "30"},
        {"AutoCover", "Displays", "2, 1"},
    };
    // The good file with key's line changed to value, or left out for a null value.
    auto load = [&](const std::string& key, const char* value) {
        std::string text = "; written by hand\r\n";
        std::string section;
        for (const Line& line : good)
        {
            if (line.section != section) text += "\r\n[" + (section = line.section) + "]\r\n";
            if (line.key != key || value) text += line.key + "=" + (line.key == key ? value : line.value) + "\r\n";
        }
        EXPECT_TRUE(WriteAllBytes(m_path.GetString(), Bytes(text.begin(), text.end())));
        PreferencesRecord prefs;
        prefs.Load(m_path);
        return prefs;
    };

    PreferencesRecord expected;
    expected.ToggleAll = {MOD_CONTROL | MOD_ALT, VK_F12};
    expected.CloseAll = {MOD_CONTROL | MOD_ALT, VK_F11};
    expected.TrayIcon = 0;
    expected.MinimizeToTray = 1;
    expected.AutoCoverEnabled = 1;
    expected.AutoCoverSeconds = 30;
    expected.AutoCoverDisplays = {1, 2};
    ASSERT_EQ(expected, load("", nullptr));

    const struct
    {
        std::string key;
        const char* value;
        LPCWSTR problem;
    } cases[] = {
        {"CloseAll", "Ctrl+Alt+F99", L"CloseAll=Ctrl+Alt+F99 is not a hotkey (such as Ctrl+Alt+F12)"},
        {"CloseAll", "q", L"CloseAll=q needs Ctrl, Alt or Win (only F1-F24 and Pause may go without)"},
        {"CloseAll", "Alt+Ctrl+F12", L"CloseAll=Alt+Ctrl+F12 is already used by ToggleAll"},
        {"MinimizeToTray", "yes", L"MinimizeToTray=yes is not 0 or 1"},
        {"AfterSeconds", "4", L"AfterSeconds=4 is out of range (5 to 86400); auto-cover stays off"},
        {"AfterSeconds", "-30", L"AfterSeconds=-30 is not a number of seconds (5 to 86400); auto-cover stays off"},
        {"Displays", "1,,2",
         L"Displays=1,,2 is not all or display numbers 1 to 99 separated by commas; auto-cover stays off"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.key + "=" + c.value);
        PreferencesRecord got = load(c.key, c.value);
        ASSERT_EQ(1u, got.Problems.size());
        EXPECT_STREQ(c.problem, got.Problems[0]);
        got.Problems.clear();
        PreferencesRecord want = load(c.key, nullptr);
        if (c.key == "Enabled" || c.key == "AfterSeconds" || c.key == "Displays") want.AutoCoverEnabled = 0;
        EXPECT_TRUE(want == got);
    }
}

}   // namespace
