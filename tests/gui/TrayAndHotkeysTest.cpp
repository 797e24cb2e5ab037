// Control without the panel: hotkeys from Umbrafen.ini, the tray icon and menu, Minimize to tray, Preferences, Reset.
#include <optional>
#include <sstream>
#include "colorwin/OpenWindowRegistry.h"
#include "display/DisplayApi.h"
#include "panel/TrayIcon.h"
#include "panel/UmbrafenDlg.h"
#include "settings/Preferences.h"
#include "settings/StartWithWindows.h"
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

bool RegistersFor(UINT mods, UINT key)   // nobody else holds these keys
{
    return ::RegisterHotKey(nullptr, 2, mods, key) && ::UnregisterHotKey(nullptr, 2);
}

// The panel opened on an ini with hotkeys (Ctrl+Alt+K held by this thread) and a bad auto-cover line.
class ControlWithoutPanel : public PanelTest
{
protected:
    void BeforeOpen() override
    {
        g_shellCalls.clear(), NotifyIcon = &RecordShellCall;   // no panel yet to call it
        EXPECT_TRUE(::RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'K'));
        CString path;
        GetPreferencesFilePath(path);
        m_ini = path.GetString();
        const std::string ini =
            "[Hotkeys]\r\nToggleAll=Ctrl+Alt+T\r\nCloseAll=Ctrl+Alt+C\r\nToggle1=Ctrl+Alt+1\r\n"
            "Toggle2=Ctrl+Alt+K\r\nToggleHere=Ctrl+Alt+H\r\nDimHere=Ctrl+Alt+D\r\nBrightenHere=Ctrl+Alt+B\r\n"
            "Peek=Ctrl+Alt+E\r\n[AutoCover]\r\nAfterSeconds=3\r\n";
        EXPECT_TRUE(WriteAllBytes(m_ini, Bytes(ini.begin(), ini.end())));
        Preferences.Load(m_ini.c_str());
    }
    void TearDown() override
    {
        PanelTest::TearDown();
        ::UnregisterHotKey(nullptr, 1), ::DeleteFileW(m_ini.c_str()), SetStartWithWindows(FALSE);
        NotifyIcon = &::Shell_NotifyIconW, Preferences = PreferencesRecord();
    }
    std::wstring IniValue(LPCWSTR section, LPCWSTR key)
    {
        WCHAR value[256] = {};
        return ::GetPrivateProfileStringW(section, key, L"<missing>", value, 256, m_ini.c_str()), value;
    }
    void ChooseTrayItem(const std::wstring& text)   // in the menu a right click on the icon opens, as a click does
    {
        ::PostMessageW(Panel(), TrayCallbackMessage, TrayIconId, WM_RBUTTONUP);
        for (const auto& [item, id] : TakeShownMenu(Panel()))
            if (item == text) return (void)::PostMessageW(Panel(), WM_COMMAND, id, 0);
        ADD_FAILURE() << "the tray menu has no " << text;
    }
    // Two toggles back to back on a covered row give back the first state: covered, by a new cover.
    void ToggleTwiceKeepsTheRowCovered(int row, const std::function<void()>& toggle)
    {
        const std::vector<HWND> covered = WaitForWindows({row});
        ASSERT_EQ(covered.size(), 1u);
        toggle(), toggle();
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(covered[0]); }));
        WaitForWindows({row});
    }
    std::wstring m_ini;
};

}   // namespace

// The ini's hotkeys act without a prompt: ToggleAll settles a mix by closing the ticked covers and leaves an unticked
// monitor's cover, CloseAll closes all, two Toggle1 back to back give back the first state; a held key is told once.
TEST_F(ControlWithoutPanel, HotkeysFromTheIniActAndAHeldOneIsReportedOnce)
{
    ASSERT_TRUE(PumpUntil([] { return !ShellCalls(NIM_MODIFY).empty(); }));
    const std::wstring balloon = ShellCalls(NIM_MODIFY)[0];
    EXPECT_NE(balloon.find(L"Toggle2=Ctrl+Alt+K"), std::wstring::npos) << balloon;
    EXPECT_EQ(balloon.find(L"ToggleAll"), std::wstring::npos) << balloon;
    // Applying the same preferences again tells nothing new; the report is delivered at once to see it.
    m_panel->Invoke([&] { m_panel->Dialog()->ApplyPreferences(), ::SendMessageW(Panel(), HotkeyReportMessage, 0, 0); });
    EXPECT_EQ(ShellCalls(NIM_MODIFY).size(), 1u);

    const auto rows = [&](const std::vector<int>& displays) {
        return Each(int(displays.size()), [&](int i) { return RowOf(displays[i]); });
    };
    // Displays ticked, the key, then the displays covered.
    const std::tuple<std::vector<int>, BYTE, std::vector<int>> steps[] = {
        {{1, 2}, 'T', {1, 2}}, {{1, 2}, '1', {2}}, {{1, 2}, 'T', {}},
        {{1, 2}, '1', {1}},    {{2}, 'T', {1, 2}},  {{2}, 'C', {}}};
    for (const auto& [ticked, key, covered] : steps)
    {
        SCOPED_TRACE(testing::Message() << "Ctrl+Alt+" << char(key) << " with " << ticked.size() << " ticked");
        Tick(Each(2, [&, r = rows(ticked)](int row) { return std::find(r.begin(), r.end(), row) != r.end(); }));
        ASSERT_TRUE(PressCtrlAlt(Panel(), key)) << "the hotkey never reached the panel";
        WaitForWindows(rows(covered));
    }
    const WPARAM toggle1 = 3;   // Toggle1's hotkey id: its slot after ToggleAll and CloseAll, plus one
    ::SendMessageW(Panel(), WM_HOTKEY, toggle1, 0);
    ToggleTwiceKeepsTheRowCovered(RowOf(1), [&] { ::SendMessageW(Panel(), WM_HOTKEY, toggle1, 0); });
}

// The keys under the pointer. ToggleHere covers and uncovers its monitor (through the display seam, the right one of
// two side by side). Peek makes every cover, and one started meanwhile, see-through and click-through, then gives the
// same windows back at a second press or after 5 s. DimHere and BrightenHere step the same window's alpha, 50 to 255
// (240 with Passthrough): DimHere starts at 50, BrightenHere at 50 closes.
TEST_F(ControlWithoutPanel, KeysUnderThePointerToggleStepAndPeek)
{
    const auto look = [](HWND h) {   // alpha, and whether clicks pass through
        return std::pair(AlphaOf(h), (::GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0);
    };
    ::SendDlgItemMessageW(Panel(), IDC_CHK_PASSTHROUGH, BM_SETCHECK, BST_UNCHECKED, 0);   // to see a peek's clicks pass
    static HMONITOR halves[2];
    halves[0] = m_rows[RowOf(1)].first, halves[1] = m_rows[RowOf(2)].first;
    DisplayApi sideBySide = Display();
    sideBySide.MonitorFromPoint = [](POINT pt, DWORD) { return halves[pt.x >= 960]; };
    std::optional<DisplayApiOverride> seam(sideBySide);
    ::SetCursorPos(1500, 500);
    for (const std::vector<int>& rows : {std::vector<int>{RowOf(2)}, {}, {RowOf(2)}})
    {
        ASSERT_TRUE(PressCtrlAlt(Panel(), 'H'));
        WaitForWindows(rows);
    }
    seam.reset(), ::SetCursorPos(1600, 1050);   // on display 1 only
    const HWND two = WindowOn(RowOf(2));
    const std::pair<int, bool> before = look(two);
    ASSERT_TRUE(PressCtrlAlt(Panel(), 'E') && PressCtrlAlt(Panel(), '1'));   // display 1 covered during the peek
    const std::vector<HWND> both = WaitForWindows({RowOf(1), RowOf(2)});
    ASSERT_TRUE(both.size() == 2 && both[1] == two);
    const auto all = [&](std::pair<int, bool> want) {
        return PumpUntil([&] { return look(both[0]) == want && look(two) == want; });
    };
    for (bool again : {true, false})
    {
        EXPECT_TRUE((again || PressCtrlAlt(Panel(), 'E')) && all({0, true}) && ::GetForegroundWindow() == Panel());
        const ULONGLONG start = ::GetTickCount64();
        EXPECT_TRUE((!again || PressCtrlAlt(Panel(), 'E')) && all(before)) << "the same windows as they were";
        EXPECT_TRUE(again || ::GetTickCount64() - start >= 4000) << "back before the peek's time";
    }
    ::SendMessageW(::GetDlgItem(Panel(), IDC_SLIDER_ALPHA), TBM_SETPOS, TRUE, 245);
    ASSERT_TRUE(PressCtrlAlt(Panel(), 'C'));
    WaitForWindows({});
    HWND cover = nullptr;   // each key with the alpha it leaves, 0 for no cover; at P Passthrough is ticked
    std::istringstream steps("D50 D70 B50 B0 H245 D255 D255 B235 H0 P0 H240 D240 B220");
    for (std::string step; steps >> step;)
    {
        const char key = step[0];
        const int want = std::stoi(step.substr(1));
        SCOPED_TRACE(testing::Message() << "Ctrl+Alt+" << key << " to " << want);
        const HWND was = cover;
        if (key == 'P') ::SendDlgItemMessageW(Panel(), IDC_CHK_PASSTHROUGH, BM_SETCHECK, BST_CHECKED, 0);
        else ASSERT_TRUE(PressCtrlAlt(Panel(), BYTE(key)));
        EXPECT_TRUE(PumpUntil([&] {
            return RoundTrips() && (want ? (cover = WindowOn(RowOf(1))) && Settled(cover) && look(cover).first == want
                                         : OpenWindowRegistry.GetCount() == 0);
        }));
        EXPECT_TRUE(!was || !want || cover == was) << "not changed in place";
        cover = want ? cover : nullptr;
    }
}

// The icon comes and goes with the panel. Its menu's Toggle items act on their monitor and are checked while it is
// covered; Show covers the ticked monitors without a prompt, Close All (and the panel's button) closes every cover,
// Pause and Resume take turns, Open brings back the panel Minimize to tray hid, Exit ends it.
TEST_F(ControlWithoutPanel, TrayIconMenuAndMinimizeToTray)
{
    ASSERT_EQ(ShellCalls(NIM_ADD).size(), 1u);
    for (int row : {0, 1})
    {
        const std::wstring item = L"Toggle " + ListView(Panel(), IDC_LIST_MONITORS).Text(row, 0);
        ChooseTrayItem(item);
        ToggleTwiceKeepsTheRowCovered(row, [&] { SendCommand(Panel(), ID_TRAY_TOGGLE_FIRST + row); });
        ChooseTrayItem(item + L" [x]");
        WaitForWindows({});
    }
    for (bool tray : {true, false})   // Close All from the tray (the command menu's item) and the panel's button
    {
        Tick({true, false});
        ChooseTrayItem(L"Show Window(s)");
        WaitForWindows({0});
        Tick({false, true});   // Close All reaches the covers of unticked monitors too
        if (tray) ChooseTrayItem(L"Close All Window(s)");
        else ClickButton(Panel(), IDC_BTN_CLOSE_ALL_WINDOWS);
        WaitForWindows({});
    }
    Preferences.AutoCoverEnabled = 1, Preferences.AutoCoverSeconds = MaxAutoCoverSeconds;   // on, never due here
    m_panel->Invoke([this] { m_panel->Dialog()->ApplyPreferences(); });
    for (const wchar_t* item : {L"Pause auto-cover for 1 hour", L"Resume", L"Pause auto-cover for 1 hour"})
        ChooseTrayItem(item);
    Preferences.MinimizeToTray = 1;
    for (bool click : {true, false})
    {
        SendCommand(Panel(), ID_MINIMIZE);
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(Panel()); })) << "minimized to the tray";
        if (click) ::SendMessageW(Panel(), TrayCallbackMessage, TrayIconId, WM_LBUTTONUP);
        else ChooseTrayItem(L"Open Umbrafen");
        EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(Panel()) && !::IsIconic(Panel()); })) << "back from it";
    }
    ChooseTrayItem(L"Exit");
    EXPECT_TRUE(m_panel->Ended());
    EXPECT_EQ(ShellCalls(NIM_DELETE).size(), 1u);
}

// A refused OK (bad wait or displays, a key twice, one without Ctrl or Alt) keeps the dialog open and Cancel then
// changes nothing; a good OK writes and applies; Reset deletes it all.
TEST_F(ControlWithoutPanel, PreferencesOkWritesAndAppliesAndResetDeletesThem)
{
    const WORD ctrlAltP = MAKEWORD('P', HOTKEYF_CONTROL | HOTKEYF_ALT);
    // No MessageBoxWatcher while the dialog is open: it would press the dialog's OK as well.
    const std::tuple<int, LPCWSTR, WORD, LPCWSTR> refusals[] = {
        {IDC_EDIT_AUTO_COVER_SECONDS, L"3", 0, L"Auto-cover waits 5 to 86400 seconds."},
        {IDC_EDIT_AUTO_COVER_DIM_SECONDS, L"600", 0,
         L"Auto-cover dims first after 0 (never) or 5 to 599 seconds, less than the wait to cover."},
        {IDC_EDIT_AUTO_COVER_DISPLAYS, L"1,,2", 0,
         L"Displays: all, or display numbers 1 to 99 separated by commas (such as 1,3)."},
        {IDC_HOTKEY_CLOSE_ALL, nullptr, MAKEWORD('1', HOTKEYF_CONTROL | HOTKEYF_ALT),
         L"Display 1: Ctrl+Alt+1 is already the hotkey of Close all."},
        {IDC_HOTKEY_TOGGLE_1, nullptr, MAKEWORD('Q', 0),
         L"Display 1: this key cannot be a hotkey, or it needs Ctrl or Alt (only F1-F24 and Pause may go without)."},
    };
    HWND dlg = nullptr, box = nullptr;
    for (const auto& [control, text, hotkey, refusal] : refusals)
    {
        ::PostMessageW(Panel(), WM_COMMAND, ID_PREFERENCES, 0);
        ASSERT_NE(dlg = WaitForDialog(L"Preferences - Umbrafen"), nullptr);
        ::SendDlgItemMessageW(dlg, IDC_HOTKEY_TOGGLE_ALL, HKM_SETHOTKEY, ctrlAltP, 0);   // for Cancel to drop
        if (text) ::SetDlgItemTextW(dlg, control, text);
        else ::SendDlgItemMessageW(dlg, control, HKM_SETHOTKEY, hotkey, 0);
        ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);   // posted: a sent click would wait for the refusal to be answered
        EXPECT_TRUE(PumpUntil([&] { return (box = FindMessageBox(refusal)) != nullptr; })) << refusal;
        ::SendMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(box) && Settled(Panel()); }) && ::IsWindow(dlg)) << refusal;
        ClickButton(dlg, IDCANCEL);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(dlg) && Settled(Panel()); }));
    }
    EXPECT_TRUE(IniValue(L"Hotkeys", L"ToggleAll") == L"Ctrl+Alt+T" &&
                IniValue(L"AutoCover", L"AfterSeconds") == L"3" && RegistersFor(MOD_CONTROL | MOD_ALT, 'P'))
        << "a refused OK or Cancel wrote or applied a change";

    ::PostMessageW(Panel(), WM_COMMAND, ID_PREFERENCES, 0);
    ASSERT_NE(dlg = WaitForDialog(L"Preferences - Umbrafen"), nullptr);
    RECT ok, okThere;   // drawn for a monitor at twice the scaling, its controls are twice the size
    ::GetWindowRect(::GetDlgItem(dlg, IDOK), &ok);
    ::SendMessageW(dlg, WM_DPICHANGED, MAKEWPARAM(2 * ::GetDpiForWindow(dlg), 2 * ::GetDpiForWindow(dlg)), 0);
    ::GetWindowRect(::GetDlgItem(dlg, IDOK), &okThere);
    EXPECT_EQ(okThere.right - okThere.left, 2 * (ok.right - ok.left));
    ::SendDlgItemMessageW(dlg, IDC_HOTKEY_TOGGLE_ALL, HKM_SETHOTKEY, ctrlAltP, 0);
    for (auto [edit, text] : {std::pair(IDC_EDIT_AUTO_COVER_SECONDS, L"30"), {IDC_EDIT_AUTO_COVER_DIM_SECONDS, L"29"}})
        ::SetDlgItemTextW(dlg, edit, text);
    for (int box : {IDC_CHK_TRAY_ICON, IDC_CHK_START_WITH_WINDOWS, IDC_CHK_EXCLUDE_FROM_CAPTURE}) ClickButton(dlg, box);
    ClickButton(dlg, IDOK);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(dlg) && Settled(Panel()); }));   // saved and applied by now
    const std::tuple<LPCWSTR, LPCWSTR, LPCWSTR> written[] = {
        {L"Hotkeys", L"ToggleAll", L"Ctrl+Alt+P"}, {L"Tray", L"Icon", L"0"},
        {L"Tray", L"StartWithWindows", L"1"},      {L"Tray", L"MinimizeToTray", L"0"},
        {L"Covers", L"ExcludeFromCapture", L"1"},  {L"AutoCover", L"AfterSeconds", L"30"},
        {L"AutoCover", L"DimAfterSeconds", L"29"},
    };
    for (const auto& [section, key, value] : written) EXPECT_EQ(IniValue(section, key), value) << key;
    EXPECT_FALSE(RegistersFor(MOD_CONTROL | MOD_ALT, 'P')) << "Ctrl+Alt+P is the panel's own";
    const auto run = [] { return ::RegGetValueW(HKEY_CURRENT_USER, RunKeyPath, RunValueName, RRF_RT_ANY, 0, 0, 0); };
    EXPECT_EQ(run(), ERROR_SUCCESS);

    // Reset All Parameters leaves no preferences behind for the next start.
    MessageBoxWatcher boxes;   // answers its notice
    SendCommand(Panel(), ID_RESET_ALL_PARAMETERS);
    EXPECT_TRUE(m_panel->Ended(15000));
    EXPECT_FALSE(FileExists(m_ini));
    EXPECT_NE(run(), ERROR_SUCCESS);
}
