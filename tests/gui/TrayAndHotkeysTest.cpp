// Control without the panel: global hotkeys from a written Umbrafen.ini, the tray icon and
// its menu (seen through the NotifyIcon seam, since the virtual desktop has no shell to
// ask), Minimize to tray, the Preferences dialog, and Reset All Parameters.
#include <windows.h>
#include <algorithm>
#include <mutex>
#include <thread>
#include <gtest/gtest.h>
#include "colorwin/OpenWindowRegistry.h"
#include "panel/TrayIcon.h"
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/Preferences.h"
#include "settings/StartWithWindows.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/PromptStore.h"

namespace {

struct ShellCall
{
    DWORD message;
    NOTIFYICONDATAW data;
};
std::mutex g_shellLock;
std::vector<ShellCall> g_shellCalls;

BOOL WINAPI RecordShellCall(DWORD message, PNOTIFYICONDATAW data)
{
    std::lock_guard<std::mutex> lock(g_shellLock);
    g_shellCalls.push_back({message, *data});
    return TRUE;
}

std::vector<ShellCall> ShellCalls(DWORD message, UINT flag = 0)
{
    std::lock_guard<std::mutex> lock(g_shellLock);
    std::vector<ShellCall> found;
    for (const ShellCall& c : g_shellCalls)
        if (c.message == message && (flag == 0 || (c.data.uFlags & flag))) found.push_back(c);
    return found;
}

std::wstring IniPath()
{
    CString path;
    GetPreferencesFilePath(path);
    return path.GetString();
}

std::wstring IniValue(LPCWSTR section, LPCWSTR key)
{
    WCHAR value[256] = {};
    ::GetPrivateProfileStringW(section, key, L"<missing>", value, 256, IniPath().c_str());
    return value;
}

// A key press as the keyboard makes it, with Ctrl+Alt held, on the focused panel.
void PressCtrlAlt(HWND panel, WORD key)
{
    ::SetForegroundWindow(panel);
    PumpUntil([&] { return ::GetForegroundWindow() == panel; }, 2000);
    INPUT in[6] = {};
    const WORD keys[] = {VK_CONTROL, VK_MENU, key, key, VK_MENU, VK_CONTROL};
    for (int i = 0; i < 6; ++i)
    {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = keys[i];
        in[i].ki.dwFlags = i < 3 ? 0 : KEYEVENTF_KEYUP;
    }
    ::SendInput(6, in, sizeof(INPUT));
}

// Another window of this process, which may hold hotkeys the panel then cannot have.
class Holder
{
public:
    Holder() : m_hwnd(::CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr)) {}
    ~Holder() { ::DestroyWindow(m_hwnd); }
    // TRUE when nobody else has Ctrl+Alt+key; it is given back at once.
    bool IsFree(WORD key)
    {
        const bool free = ::RegisterHotKey(m_hwnd, 2, MOD_CONTROL | MOD_ALT, key);
        if (free) ::UnregisterHotKey(m_hwnd, 2);
        return free;
    }
    bool Hold(WORD key) { return ::RegisterHotKey(m_hwnd, 1, MOD_CONTROL | MOD_ALT, key); }

private:
    HWND m_hwnd;
};

class ControlWithoutPanel : public PanelTest
{
protected:
    void BeforeOpen() override
    {
        {
            std::lock_guard<std::mutex> lock(g_shellLock);
            g_shellCalls.clear();
        }
        NotifyIcon = &RecordShellCall;
        ::DeleteFileW(IniPath().c_str());
        WriteIni();
        Preferences.Load(IniPath().c_str());
    }
    void TearDown() override
    {
        PanelTest::TearDown();
        NotifyIcon = &::Shell_NotifyIconW;
        Preferences = PreferencesRecord();
        ::DeleteFileW(IniPath().c_str());
        SetStartWithWindows(FALSE);
    }
    virtual void WriteIni() {}
    void Write(LPCWSTR section, LPCWSTR key, LPCWSTR value)
    {
        ::WritePrivateProfileStringW(section, key, value, IniPath().c_str());
    }
    // Waits until exactly these rows are covered: a row that stays covered keeps its window,
    // every other earlier window is gone.
    void ExpectCovered(const std::vector<int>& rows)
    {
        std::vector<HWND> gone;
        for (size_t i = 0; i < m_coveredRows.size(); ++i)
            if (std::find(rows.begin(), rows.end(), m_coveredRows[i]) == rows.end()) gone.push_back(m_covers[i]);
        // A single cover's close is posted, not waited for: its window goes a moment after its entry.
        PumpUntil([&] { return std::none_of(gone.begin(), gone.end(), ::IsWindow); });
        const std::vector<HWND> now = WaitForWindows(rows, gone);
        for (size_t i = 0; i < m_coveredRows.size() && !now.empty(); ++i)
            for (size_t j = 0; j < rows.size(); ++j)
                if (rows[j] == m_coveredRows[i])
                {
                    EXPECT_EQ(now[j], m_covers[i]) << "row " << rows[j] << " keeps its cover";
                }
        m_coveredRows = rows;
        m_covers = now;
    }
    std::vector<int> m_coveredRows;
    std::vector<HWND> m_covers;

    int RowOfDisplay(int n)
    {
        ListView list(Panel(), IDC_LIST_MONITORS);
        for (int r = 0; r < list.Count(); ++r)
            if (list.Text(r, DeviceNameColumn) == L"\\\\.\\DISPLAY" + std::to_wstring(n)) return r;
        return -1;
    }
};

class Hotkeys : public ControlWithoutPanel
{
protected:
    void WriteIni() override
    {
        ASSERT_TRUE(m_holder.Hold('K'));
        Write(L"Hotkeys", L"ToggleAll", L"Ctrl+Alt+T");
        Write(L"Hotkeys", L"CloseAll", L"Ctrl+Alt+Q");
        Write(L"Hotkeys", L"Toggle1", L"Ctrl+Alt+1");
        Write(L"Hotkeys", L"Toggle2", L"Ctrl+Alt+K");
    }
    Holder m_holder;
};

}   // namespace

TEST_F(Hotkeys, KeysFromTheIniActWithoutPromptAndAHeldOneIsReportedOnce)
{
    MessageBoxWatcher boxes;
    ASSERT_TRUE(PumpUntil([] { return !ShellCalls(NIM_MODIFY, NIF_INFO).empty(); }));
    const std::wstring balloon = ShellCalls(NIM_MODIFY, NIF_INFO)[0].data.szInfo;
    EXPECT_NE(balloon.find(L"Toggle2=Ctrl+Alt+K"), std::wstring::npos) << balloon;
    EXPECT_EQ(balloon.find(L"ToggleAll"), std::wstring::npos) << balloon;
    for (WORD key : {'T', 'Q', '1'}) EXPECT_FALSE(Holder().IsFree(key)) << "the panel holds Ctrl+Alt+" << char(key);

    // Applying the same preferences again must not tell the user a second time.
    m_panel->Invoke([this] {
        m_panel->Dialog()->ApplyPreferences();
        MSG msg;
        while (::PeekMessageW(&msg, Panel(), HotkeyReportMessage, HotkeyReportMessage, PM_REMOVE))
            ::DispatchMessageW(&msg);
    });
    EXPECT_EQ(ShellCalls(NIM_MODIFY, NIF_INFO).size(), 1u);

    // ToggleAll: mixed or uncovered ticked rows -> cover them all; any covered -> close them.
    Tick({true, true});
    const int display1 = RowOfDisplay(1);
    ASSERT_GE(display1, 0);
    const struct
    {
        WORD key;
        std::vector<int> covered;
    } steps[] = {
        {'T', {0, 1}}, {'1', {1 - display1}}, {'T', {}}, {'1', {display1}}, {'T', {}}, {'T', {0, 1}}, {'Q', {}},
    };
    for (const auto& step : steps)
    {
        SCOPED_TRACE(testing::Message() << "Ctrl+Alt+" << char(step.key));
        PressCtrlAlt(Panel(), step.key);
        ExpectCovered(step.covered);
    }
    EXPECT_EQ(boxes.Count(), 0u) << "hotkeys show no prompt";
}

TEST_F(ControlWithoutPanel, TrayIconMenuCommandsAndMinimizeToTray)
{
    MessageBoxWatcher boxes;   // no prompt either: the user asked for the covers directly
    ASSERT_EQ(ShellCalls(NIM_ADD).size(), 1u);
    const NOTIFYICONDATAW added = ShellCalls(NIM_ADD)[0].data;
    EXPECT_EQ(added.hWnd, Panel());
    EXPECT_EQ(added.uFlags & (NIF_MESSAGE | NIF_ICON | NIF_TIP), UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_NE(added.hIcon, nullptr);
    EXPECT_STREQ(added.szTip, L"Umbrafen");

    ListView list(Panel(), IDC_LIST_MONITORS);
    auto menuItems = [&] {
        std::vector<std::pair<UINT, std::wstring>> items;
        m_panel->Invoke([&] {
            HMENU menu = m_panel->Dialog()->BuildTrayMenu();
            for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
            {
                WCHAR text[128] = {};
                ::GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
                const bool checked = ::GetMenuState(menu, i, MF_BYPOSITION) & MF_CHECKED;
                items.push_back({::GetMenuItemID(menu, i), text + std::wstring(checked ? L" [x]" : L"")});
            }
            ::DestroyMenu(menu);
        });
        return items;
    };
    auto idOf = [&](const std::wstring& text) {
        for (const auto& item : menuItems())
            if (item.second == text) return item.first;
        ADD_FAILURE() << "no tray item " << text;
        return 0u;
    };
    std::vector<std::wstring> texts;
    for (const auto& item : menuItems()) texts.push_back(item.second);
    const std::wstring toggle0 = L"Toggle " + list.Text(0, 0), toggle1 = L"Toggle " + list.Text(1, 0);
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"Show Window(s)", L"Close All Window(s)", L"", toggle0, toggle1, L"",
                                                L"Preferences...", L"", L"Open Umbrafen", L"Exit"}));

    // Each command reaches the panel as the menu sends it.
    Tick({false, true});
    SendCommand(Panel(), idOf(L"Show Window(s)"));
    ExpectCovered({1});
    SendCommand(Panel(), idOf(toggle0));
    ExpectCovered({0, 1});
    EXPECT_NE(idOf(toggle0 + L" [x]"), 0u) << "a covered monitor's item is checked";
    SendCommand(Panel(), idOf(L"Close All Window(s)"));
    ExpectCovered({});
    SendCommand(Panel(), idOf(toggle1));
    ExpectCovered({1});
    SendCommand(Panel(), idOf(toggle1 + L" [x]"));
    ExpectCovered({});

    // Minimize to tray hides the panel; a left click on the icon brings it back.
    Preferences.MinimizeToTray = 1;
    SendCommand(Panel(), ID_MINIMIZE);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(Panel()); }));
    ::SendMessageW(Panel(), TrayCallbackMessage, TrayIconId, WM_LBUTTONUP);
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(Panel()) && !::IsIconic(Panel()); }));

    // A restarted Explorer gets the icon again; the end of the panel removes it.
    ::SendMessageW(Panel(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_EQ(ShellCalls(NIM_ADD).size(), 2u);
    SendCommand(Panel(), idOf(L"Exit"));
    EXPECT_TRUE(m_panel->Ended(15000));
    ASSERT_EQ(ShellCalls(NIM_DELETE).size(), 1u);
    EXPECT_EQ(ShellCalls(NIM_DELETE)[0].data.uID, TrayIconId);
    EXPECT_EQ(boxes.Count(), 0u);
}

class PreferencesDialog : public ControlWithoutPanel
{
protected:
    void WriteIni() override { Write(L"AutoCover", L"AfterSeconds", L"3"); }
};

TEST_F(PreferencesDialog, OkWritesAndAppliesAndResetDeletesTheIni)
{
    MessageBoxWatcher boxes;
    auto open = [&] {
        std::thread sender([&] { SendCommand(Panel(), ID_PREFERENCES); });
        sender.detach();
        return WaitForDialog(L"Preferences - Umbrafen");
    };
    HWND dlg = open();
    ASSERT_NE(dlg, nullptr);
    EXPECT_NE(::SendMessageW(dlg, WM_GETICON, ICON_SMALL, 0), 0);
    WCHAR problems[512] = {};
    ::GetDlgItemTextW(dlg, IDC_EDIT_PREFERENCES_PROBLEMS, problems, 512);
    EXPECT_NE(std::wstring(problems).find(L"AfterSeconds=3"), std::wstring::npos) << problems;

    // A bad value keeps the dialog open and writes nothing.
    ::SetDlgItemTextW(dlg, IDC_EDIT_AUTO_COVER_SECONDS, L"3");
    ClickButton(dlg, IDOK);
    EXPECT_TRUE(boxes.WaitForCount(1));
    EXPECT_TRUE(::IsWindow(dlg));
    EXPECT_EQ(IniValue(L"AutoCover", L"AfterSeconds"), L"3") << "the bad line is still the file's";

    ::SendDlgItemMessageW(dlg, IDC_HOTKEY_TOGGLE_ALL, HKM_SETHOTKEY, MAKEWORD('P', HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
    ::SetDlgItemTextW(dlg, IDC_EDIT_AUTO_COVER_SECONDS, L"30");
    ::SetDlgItemTextW(dlg, IDC_EDIT_AUTO_COVER_DISPLAYS, L"2, 1");
    for (int box : {IDC_CHK_TRAY_ICON, IDC_CHK_START_WITH_WINDOWS, IDC_CHK_EXCLUDE_FROM_CAPTURE, IDC_CHK_AUTO_COVER})
        ClickButton(dlg, box);
    ClickButton(dlg, IDOK);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(dlg); }));
    ::SendMessageW(Panel(), WM_NULL, 0, 0);

    const struct
    {
        LPCWSTR section, key, value;
    } written[] = {
        {L"Hotkeys", L"ToggleAll", L"Ctrl+Alt+P"},
        {L"Hotkeys", L"Toggle9", L""},
        {L"Tray", L"Icon", L"0"},
        {L"Tray", L"StartWithWindows", L"1"},
        {L"Tray", L"MinimizeToTray", L"0"},
        {L"Covers", L"ExcludeFromCapture", L"1"},
        {L"AutoCover", L"Enabled", L"1"},
        {L"AutoCover", L"AfterSeconds", L"30"},
        {L"AutoCover", L"Displays", L"1,2"},
    };
    for (const auto& w : written) EXPECT_EQ(IniValue(w.section, w.key), w.value) << w.key;
    EXPECT_FALSE(Holder().IsFree('P')) << "the new hotkey is registered";
    EXPECT_EQ(ShellCalls(NIM_DELETE).size(), 1u) << "the tray icon went away";

    WCHAR run[1024] = {};
    DWORD bytes = sizeof(run);
    EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, RunKeyPath, RunValueName, RRF_RT_REG_SZ, nullptr, run, &bytes),
              ERROR_SUCCESS);
    WCHAR exe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_EQ(std::wstring(run), L"\"" + std::wstring(exe) + L"\" --minimized");

    // Reset All Parameters leaves no preferences behind for the next start.
    SendCommand(Panel(), ID_RESET_ALL_PARAMETERS);
    EXPECT_TRUE(m_panel->Ended(15000));
    EXPECT_EQ(::GetFileAttributesW(IniPath().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(::RegGetValueW(HKEY_CURRENT_USER, RunKeyPath, RunValueName, RRF_RT_REG_SZ, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
}
