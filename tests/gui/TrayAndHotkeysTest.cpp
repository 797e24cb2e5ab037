// Control without the panel: hotkeys from Umbrafen.ini, the tray icon and menu, Minimize to tray, Preferences, Reset.
#include <mutex>
#include <thread>
#include <gtest/gtest.h>
#include "panel/TrayIcon.h"
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/Preferences.h"
#include "settings/StartWithWindows.h"
#include "tests/support/Files.h"
#include "tests/support/GuiSupport.h"

namespace {

// No shell on the virtual desktop: the NotifyIcon seam records each call's message and balloon, for another thread.
std::mutex g_shellLock;
std::vector<std::pair<DWORD, std::wstring>> g_shellCalls;

BOOL WINAPI RecordShellCall(DWORD message, PNOTIFYICONDATAW data)
{
    std::lock_guard<std::mutex> lock(g_shellLock);
    g_shellCalls.push_back({message, data->szInfo});
    return TRUE;
}

// The balloon texts of the calls with this message; NIM_MODIFY is only used for balloons here.
std::vector<std::wstring> ShellCalls(DWORD message)
{
    std::lock_guard<std::mutex> lock(g_shellLock);
    std::vector<std::wstring> found;
    for (const auto& [m, info] : g_shellCalls)
        if (m == message) found.push_back(info);
    return found;
}

// A key press as the keyboard makes it, with Ctrl+Alt held: Wine delivers hotkeys only to a focused window.
void PressCtrlAlt(HWND panel, BYTE key)
{
    ::SetForegroundWindow(panel);
    PumpUntil([&] { return ::GetForegroundWindow() == panel; }, 2000);
    const BYTE keys[] = {VK_CONTROL, VK_MENU, key};
    for (BYTE k : keys) ::keybd_event(k, 0, 0, 0);
    for (int i = 2; i >= 0; --i) ::keybd_event(keys[i], 0, KEYEVENTF_KEYUP, 0);
}

// The panel opened on an ini with hotkeys, Ctrl+Alt+K of them held by this thread, and a bad auto-cover line.
class ControlWithoutPanel : public PanelTest
{
protected:
    void BeforeOpen() override
    {
        g_shellCalls.clear();   // no panel yet to call it
        NotifyIcon = &RecordShellCall;
        EXPECT_TRUE(::RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'K'));
        CString path;
        GetPreferencesFilePath(path);
        m_ini = path.GetString();
        const std::string ini = "[Hotkeys]\r\nToggleAll=Ctrl+Alt+T\r\nToggle1=Ctrl+Alt+1\r\nToggle2=Ctrl+Alt+K\r\n"
                                "[AutoCover]\r\nAfterSeconds=3\r\n";
        EXPECT_TRUE(WriteAllBytes(m_ini, Bytes(ini.begin(), ini.end())));
        Preferences.Load(m_ini.c_str());
    }
    void TearDown() override
    {
        PanelTest::TearDown();
        ::UnregisterHotKey(nullptr, 1);
        NotifyIcon = &::Shell_NotifyIconW;
        Preferences = PreferencesRecord();
        ::DeleteFileW(m_ini.c_str());
        SetStartWithWindows(FALSE);
    }
    std::wstring IniValue(LPCWSTR section, LPCWSTR key)
    {
        WCHAR value[256] = {};
        ::GetPrivateProfileStringW(section, key, L"<missing>", value, 256, m_ini.c_str());
        return value;
    }
    // Two toggles back to back on a covered row give back the first state: covered, by a new cover.
    void ToggleTwiceKeepsTheRowCovered(int row, const std::function<void()>& toggle)
    {
        const std::vector<HWND> covered = WaitForWindows({row});
        ASSERT_EQ(covered.size(), 1u);
        toggle();
        toggle();
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(covered[0]); }));
        WaitForWindows({row});
    }
    std::wstring m_ini;
};

}   // namespace

// The ini's hotkeys act (a prompt nobody answers would stop them), ToggleAll settles a mix by closing, two Toggle1 back
// to back give back the first state, and a held key is reported once.
TEST_F(ControlWithoutPanel, HotkeysFromTheIniActAndAHeldOneIsReportedOnce)
{
    ASSERT_TRUE(PumpUntil([] { return !ShellCalls(NIM_MODIFY).empty(); }));
    const std::wstring balloon = ShellCalls(NIM_MODIFY)[0];
    EXPECT_NE(balloon.find(L"Toggle2=Ctrl+Alt+K"), std::wstring::npos) << balloon;
    EXPECT_EQ(balloon.find(L"ToggleAll"), std::wstring::npos) << balloon;
    // Applying the same preferences again tells nothing new; the report is delivered at once to see it.
    m_panel->Invoke([this] {
        m_panel->Dialog()->ApplyPreferences();
        ::SendMessageW(Panel(), HotkeyReportMessage, 0, 0);
    });
    EXPECT_EQ(ShellCalls(NIM_MODIFY).size(), 1u);

    Tick({true, true});
    const int display1 = ListView(Panel(), IDC_LIST_MONITORS).Text(0, DeviceNameColumn) == L"\\\\.\\DISPLAY1" ? 0 : 1;
    // None covered: cover all ticked; Toggle1 leaves a mix; any covered: close them all.
    const std::pair<BYTE, std::vector<int>> steps[] = {{'T', {0, 1}}, {'1', {1 - display1}}, {'T', {}}};
    for (const auto& [key, covered] : steps)
    {
        SCOPED_TRACE(testing::Message() << "Ctrl+Alt+" << char(key));
        PressCtrlAlt(Panel(), key);
        WaitForWindows(covered);
    }
    const WPARAM toggle1 = 3;   // Toggle1's hotkey id: its slot after ToggleAll and CloseAll, plus one
    ::SendMessageW(Panel(), WM_HOTKEY, toggle1, 0);
    ToggleTwiceKeepsTheRowCovered(display1, [&] { ::SendMessageW(Panel(), WM_HOTKEY, toggle1, 0); });
}

// The icon comes and goes with the panel, Toggle items act on their monitor (two back to back give back the first
// state) and are checked while it is covered, and Minimize to tray hides the panel until the icon is clicked.
TEST_F(ControlWithoutPanel, TrayIconToggleItemsAndMinimizeToTray)
{
    ASSERT_EQ(ShellCalls(NIM_ADD).size(), 1u);
    // The row's Toggle item as the menu shows it, " [x]" for the check mark.
    auto toggleItem = [&](int row) {
        WCHAR text[128] = {};
        UINT state = 0;
        m_panel->Invoke([&] {
            HMENU menu = m_panel->Dialog()->BuildTrayMenu();
            ::GetMenuStringW(menu, ID_TRAY_TOGGLE_FIRST + row, text, 128, MF_BYCOMMAND);
            state = ::GetMenuState(menu, ID_TRAY_TOGGLE_FIRST + row, MF_BYCOMMAND);
            ::DestroyMenu(menu);
        });
        return text + std::wstring(state & MF_CHECKED ? L" [x]" : L"");
    };
    for (int row : {0, 1})
    {
        const std::wstring item = L"Toggle " + ListView(Panel(), IDC_LIST_MONITORS).Text(row, 0);
        EXPECT_EQ(toggleItem(row), item);
        SendCommand(Panel(), ID_TRAY_TOGGLE_FIRST + row);
        ToggleTwiceKeepsTheRowCovered(row, [&] { SendCommand(Panel(), ID_TRAY_TOGGLE_FIRST + row); });
        EXPECT_EQ(toggleItem(row), item + L" [x]");
        SendCommand(Panel(), ID_TRAY_TOGGLE_FIRST + row);
        WaitForWindows({});
    }

    Preferences.MinimizeToTray = 1;
    SendCommand(Panel(), ID_MINIMIZE);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(Panel()); })) << "minimized to the tray";
    ::SendMessageW(Panel(), TrayCallbackMessage, TrayIconId, WM_LBUTTONUP);
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(Panel()) && !::IsIconic(Panel()); })) << "back from it";

    m_panel->Close();
    EXPECT_EQ(ShellCalls(NIM_DELETE).size(), 1u);
}

// OK with a bad value keeps the dialog open and writes nothing; a good OK writes and applies; Reset deletes it all.
// The dialog is drawn for a new DPI.
TEST_F(ControlWithoutPanel, PreferencesOkWritesAndAppliesAndResetDeletesThem)
{
    std::thread([panel = Panel()] { SendCommand(panel, ID_PREFERENCES); }).detach();
    HWND dlg = WaitForDialog(L"Preferences - Umbrafen"), refusal = nullptr;
    ASSERT_NE(dlg, nullptr);
    RECT ok, okThere;   // drawn for a monitor at twice the scaling, its controls are twice the size
    ::GetWindowRect(::GetDlgItem(dlg, IDOK), &ok);
    ::SendMessageW(dlg, WM_DPICHANGED, MAKEWPARAM(2 * ::GetDpiForWindow(dlg), 2 * ::GetDpiForWindow(dlg)), 0);
    ::GetWindowRect(::GetDlgItem(dlg, IDOK), &okThere);
    EXPECT_EQ(okThere.right - okThere.left, 2 * (ok.right - ok.left));

    // No MessageBoxWatcher while the dialog is open: it would press the dialog's OK as well.
    ::SetDlgItemTextW(dlg, IDC_EDIT_AUTO_COVER_SECONDS, L"3");
    ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);   // posted: a sent click would wait for the refusal to be answered
    EXPECT_TRUE(PumpUntil([&] { return (refusal = FindMessageBox(L"Auto-cover waits")) != nullptr; }));
    ::SendMessageW(refusal, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(refusal) && Settled(Panel()); }));   // the panel is past the refusal
    EXPECT_TRUE(::IsWindow(dlg) && IniValue(L"AutoCover", L"AfterSeconds") == L"3") << "open, and nothing written";

    ::SendDlgItemMessageW(dlg, IDC_HOTKEY_TOGGLE_ALL, HKM_SETHOTKEY, MAKEWORD('P', HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
    ::SetDlgItemTextW(dlg, IDC_EDIT_AUTO_COVER_SECONDS, L"30");
    for (int box : {IDC_CHK_TRAY_ICON, IDC_CHK_START_WITH_WINDOWS, IDC_CHK_EXCLUDE_FROM_CAPTURE}) ClickButton(dlg, box);
    ClickButton(dlg, IDOK);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(dlg); }));
    ::SendMessageW(Panel(), WM_NULL, 0, 0);   // the panel has saved and applied them: Ctrl+Alt+P is its own
    const std::tuple<LPCWSTR, LPCWSTR, LPCWSTR> written[] = {
        {L"Hotkeys", L"ToggleAll", L"Ctrl+Alt+P"}, {L"Tray", L"Icon", L"0"},
        {L"Tray", L"StartWithWindows", L"1"},      {L"Tray", L"MinimizeToTray", L"0"},
        {L"Covers", L"ExcludeFromCapture", L"1"},  {L"AutoCover", L"AfterSeconds", L"30"},
    };
    for (const auto& [section, key, value] : written) EXPECT_EQ(IniValue(section, key), value) << key;
    EXPECT_FALSE(::RegisterHotKey(nullptr, 2, MOD_CONTROL | MOD_ALT, 'P') && ::UnregisterHotKey(nullptr, 2));
    EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, RunKeyPath, RunValueName, RRF_RT_ANY, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);

    // Reset All Parameters leaves no preferences behind for the next start.
    MessageBoxWatcher boxes;   // answers its notice
    SendCommand(Panel(), ID_RESET_ALL_PARAMETERS);
    EXPECT_TRUE(m_panel->Ended(15000));
    EXPECT_FALSE(FileExists(m_ini));
    EXPECT_NE(::RegGetValueW(HKEY_CURRENT_USER, RunKeyPath, RunValueName, RRF_RT_ANY, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
}
