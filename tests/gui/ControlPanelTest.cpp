// The control panel from its real template: settings shown and stored, placement, menu, links, About, topology.
#include <cstdlib>
#include <optional>
#include <tuple>
#include "panel/UmbrafenDlg.h"
#include "settings/AppSettings.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/GuiSupport.h"
#include <dlgs.h>

namespace {

class ControlPanel : public ::testing::Test
{
protected:
    void SetUp() override { ResetAppSettings(); }
    void TearDown() override { ResetAppSettings(); }
    static HWND List(HWND panel) { return ::GetDlgItem(panel, IDC_LIST_MONITORS); }
    static void StoreWidthsAndListFont()   // at 96 DPI, as the data file holds them
    {
        std::copy(std::begin(Widths), std::end(Widths), AppSettings.ColumnWidths);
        AppSettings.ListFont = {}, AppSettings.ListFont.lfHeight = -21, AppSettings.ListFont.lfWeight = FW_NORMAL;
    }
    static constexpr int Widths[ListColumnCount] = {101, 57, 61, 62, 63, 121, 3};
};

std::wstring ClipboardText()
{
    std::wstring text = L"(no clipboard)";
    HANDLE data = ::OpenClipboard(nullptr) ? (text.clear(), ::GetClipboardData(CF_UNICODETEXT)) : nullptr;
    if (data) text = static_cast<const WCHAR*>(::GlobalLock(data)), ::GlobalUnlock(data);
    return ::CloseClipboard(), text;
}

// Whether the screen, read through its DC, shows what the window draws, along the window's middle row.
bool ScreenShows(HWND h)
{
    RECT rc{};
    ::GetWindowRect(h, &rc);
    HDC screen = ::GetDC(nullptr), drawn = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(drawn, ::CreateCompatibleBitmap(screen, rc.right - rc.left, rc.bottom - rc.top));
    ::PrintWindow(h, drawn, 0);
    bool same = true;
    for (int x = 0, y = (rc.bottom - rc.top) / 2; x < rc.right - rc.left; ++x)
        same &= ::GetPixel(screen, rc.left + x, rc.top + y) == ::GetPixel(drawn, x, y);
    return ::DeleteObject(::SelectObject(drawn, old)), ::DeleteDC(drawn), ::ReleaseDC(nullptr, screen), same;
}

// A first run shows On Top and Passthrough ticked, the other boxes not, opacity 150; each box shows and writes back
// its own setting. List font steps (menu, Ctrl+wheel: one per message) stay within -150..-21 and are stored, the plain
// wheel steps nothing, and the picker's choice is applied and stored as it is. Resized in steps and drawn between
// them, as a border drag does, the panel shows each moved button where it lands.
TEST_F(ControlPanel, SettingsShownAndStoredAndMovedControlsDrawn)
{
    PanelThread panel;
    HWND h = panel.Hwnd();
    const int ids[] = {IDC_CHK_ON_TOP, IDC_CHK_IN_ALT_TAB, IDC_CHK_PASSTHROUGH, IDC_CHK_AUTO_MINIMIZE,
                       IDC_CHK_TURN_OFF_MONITORS};
    int* const settings[] = {&AppSettings.OnTop, &AppSettings.InAltTab, &AppSettings.Passthrough,
                             &AppSettings.AutoMinimize, &AppSettings.TurnOffMonitors};
    const auto shown = [&] { return Each(5, [&](int i) { return int(::IsDlgButtonChecked(h, ids[i])); }); };
    EXPECT_EQ(shown(), (std::vector<int>{1, 0, 1, 0, 0}));
    EXPECT_EQ(::SendDlgItemMessageW(h, IDC_SLIDER_ALPHA, TBM_GETPOS, 0, 0), 150);
    // Any two boxes differ in one of the patterns, so a box bound to another's setting shows.
    for (int pattern : {0b10101, 0b01100, 0b00011})
    {
        const std::vector<int> expected = Each(5, [&](int i) { return pattern >> i & 1; });
        std::vector<int> onScreen, written;
        panel.Invoke([&] {
            for (int i = 0; i < 5; ++i) *settings[i] = expected[i];
            panel.Dialog()->UpdateData(FALSE), onScreen = shown();
            for (int i = 0; i < 5; ++i) ::CheckDlgButton(h, ids[i], !expected[i]);
            panel.Dialog()->UpdateData(TRUE), written = Each(5, [&](int i) { return int(!*settings[i]); });
        });
        EXPECT_EQ(onScreen, expected) << "pattern " << pattern;
        EXPECT_EQ(written, expected) << "pattern " << pattern << ", inverted";
    }
    // From this height, this message gives that height (the same: refused).
    const std::tuple<LONG, UINT, WPARAM, LONG> cases[] = {
        {-16, WM_COMMAND, ID_INCREMENT_LIST_FONT, -21},             // up to the bound
        {-25, WM_COMMAND, ID_DECREMENT_LIST_FONT, -25},             // -20: beyond it
        {-145, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, 480), -150},   // four notches, one step, to the other bound
        {-150, WM_COMMAND, ID_INCREMENT_LIST_FONT, -150},           // -155: beyond it
        {-26, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -120), -21},
        {-26, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, 120), -26},   // no Ctrl: no step
    };
    for (auto [start, msg, wp, height] : cases)
    {
        LOGFONTW lf = FontOf(List(h));
        lf.lfHeight = start;
        panel.Invoke([&] { panel.Dialog()->SetListFont(lf), AppSettings.ListFont = {}; });
        ::SendMessageW(h, msg, wp, 0);
        EXPECT_EQ(FontOf(List(h)).lfHeight, height) << "from " << start << " by " << msg << " " << wp;
        EXPECT_EQ(AppSettings.ListFont.lfHeight, height == start ? 0 : height) << "from " << start;
    }
    const LONG twelvePoint = -::MulDiv(12, int(::GetDpiForSystem()), 72);
    ::PostMessageW(h, WM_COMMAND, ID_CHANGE_FONT, 0);
    HWND dlg = WaitForDialog(L"Select Font - Umbrafen"), size = ::GetDlgItem(dlg, cmb3);
    ASSERT_NE(dlg, nullptr);
    ::SendMessageW(size, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"12"));
    ::SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(cmb3, CBN_SELCHANGE), reinterpret_cast<LPARAM>(size));
    ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(dlg) && Settled(h); }));
    EXPECT_EQ(FontOf(List(h)).lfHeight, twelvePoint);
    EXPECT_EQ(AppSettings.ListFont.lfHeight, twelvePoint);
    panel.Invoke([h] {
        for (int i = 0; i < 10; ++i, ::UpdateWindow(h))
            ::SetWindowPos(h, nullptr, 0, 0, 540 + 40 * i, 320 + 30 * i, SWP_NOZORDER | SWP_NOMOVE);
    });
    std::vector<int> undrawn;
    PumpUntil([&] {
        undrawn.clear();
        for (int id : {IDC_BTN_CHECK_ALL, IDC_BTN_UNCHECK_ALL, IDC_BTN_SHOW_WINDOWS, IDC_BTN_MENU})
            if (!ScreenShows(::GetDlgItem(h, id))) undrawn.push_back(id);
        return undrawn.empty();
    });
    EXPECT_EQ(undrawn, std::vector<int>{}) << "buttons not drawn where they moved";
}

// A stored placement is applied, unless its width is 0, and opens restored when it was stored minimised. One that
// lies on no monitor is moved onto the nearest, keeping its size: on the virtual desktop and on a scripted one.
TEST_F(ControlPanel, StoredPlacementIsAppliedOnAMonitor)
{
    RECT platform{};
    ::GetWindowRect(PanelThread().Hwnd(), &platform);   // the panel's own size, closed again
    const LONG w = platform.right - platform.left, h = platform.bottom - platform.top;
    const std::tuple<RECT, UINT, bool, RECT> cases[] = {
        {{300, 200, 300, 230 + h}, SW_SHOWNORMAL, false, platform},
        {{300, 200, 340 + w, 230 + h}, SW_SHOWMINIMIZED, false, {300, 200, 340 + w, 230 + h}},
        {{0, 32767, w, 32767}, SW_SHOWNORMAL, false, {0, 1080 - h, w, 1080}},   // damaged: no height
        {{-32768, 32767, w - 32768, 32767}, SW_SHOWNORMAL, false, {0, 1080 - h, w, 1080}},
        {{1950, 100, 1950 + w, 100 + h}, SW_SHOWNORMAL, true, {1900 - w, 100, 1900, 100 + h}},
    };
    for (const auto& [stored, showCmd, scripted, expected] : cases)
    {
        std::optional<FakeDesktop> desk;   // monitors away from the stored rectangle, the second one nearest
        if (scripted) desk.emplace().AddMonitor(L"A", {0, 0, 600, 500}), desk->AddMonitor(L"B", {1000, 0, 1900, 1000});
        AppSettings.Placement.showCmd = showCmd, AppSettings.Placement.rcNormalPosition = stored;
        PanelThread panel;
        RECT rc{};
        EXPECT_TRUE(::GetWindowRect(panel.Hwnd(), &rc) && ::EqualRect(&rc, &expected) && !::IsIconic(panel.Hwnd()))
            << "stored at " << stored.left << "," << stored.top << ": at " << rc.left << "," << rc.top;
    }
}

// At the desktop's DPI (96, and 144 in the run that sets UMBRAFEN_TEST_DPI) the controls lie inside the panel and
// apart. Moved to a monitor of another DPI (the message, with the system's rectangle) the panel is drawn for it:
// fonts, controls, minimum size, column widths and list font; list-font steps stay in 96-DPI units. Back on the
// first monitor every control has its first rectangle and font again.
TEST_F(ControlPanel, RedrawnForTheDpiOfANewMonitorAndBack)
{
    const char* asked = std::getenv("UMBRAFEN_TEST_DPI");
    ASSERT_EQ(::GetDpiForSystem(), asked ? std::strtoul(asked, nullptr, 10) : ::GetDpiForSystem());
    StoreWidthsAndListFont();
    PanelThread panel;
    const HWND h = panel.Hwnd(), show = ::GetDlgItem(h, IDC_BTN_SHOW_WINDOWS);
    const UINT dpi = ::GetDpiForWindow(h), high = dpi * 3 / 2;
    const auto state = [&] {   // the minimum size, a column's width, every control's rectangle and font height
        MINMAXINFO mmi{};
        ::SendMessageW(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        std::vector<LONG> s{mmi.ptMinTrackSize.x, mmi.ptMinTrackSize.y, ListView(List(h)).ColumnWidths()[0]};
        for (auto [c, rc] : ControlRects(h))
            s.insert(s.end(), {rc.left, rc.top, rc.right, rc.bottom, FontOf(c).lfHeight});
        return s;
    };
    const std::vector<LONG> first = state();
    EXPECT_EQ(LayoutFault(h), "");
    EXPECT_EQ(first[2], ::MulDiv(101, dpi, 96)) << "the first column's stored width";
    RECT rc, button, there, suggested;
    ::GetWindowRect(show, &button);
    // Suggested at the old size, which the frame and caption make too small for the new DPI: the minimum holds.
    ::GetWindowRect(h, &rc), ::SetRect(&suggested, rc.left + 10, rc.top + 10, rc.right + 10, rc.bottom + 10);
    ::SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(high, high), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_NEAR(state()[0], first[0] * 3 / 2, 6) << "minimum width";
    EXPECT_TRUE(::GetWindowRect(h, &there) && there.left == suggested.left && there.top == suggested.top &&
                there.right - there.left == state()[0] && there.bottom - there.top == state()[1]);
    EXPECT_EQ(LayoutFault(h), "");
    EXPECT_EQ(FontOf(show).lfHeight, -::MulDiv(8, high, 72));
    ::GetWindowRect(show, &there);
    EXPECT_EQ(there.right - there.left, ::MulDiv(button.right - button.left, 3, 2));
    EXPECT_EQ(state()[2], ::MulDiv(101, high, 96));
    SendCommand(h, ID_INCREMENT_LIST_FONT);
    EXPECT_EQ(AppSettings.ListFont.lfHeight, -26);
    EXPECT_EQ(FontOf(List(h)).lfHeight, ::MulDiv(-26, high, 96));
    SendCommand(h, ID_DECREMENT_LIST_FONT);
    ::SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&rc));
    EXPECT_EQ(state(), first);
}

// Stored on a monitor of another DPI, the panel comes back drawn for that DPI at its stored rectangle, with the
// column widths and list font kept at 96 DPI scaled for it; the widths go back to the file as they came.
TEST_F(ControlPanel, StoredOnAMonitorOfAnotherDpi)
{
    FakeDesktop desk;
    const UINT high = ::GetDpiForSystem() * 3 / 2;
    desk.AddMonitor(L"Here", {0, 0, 1920, 1080});
    desk.Monitors[desk.AddMonitor(L"There", {1920, 0, 4800, 1620})].Dpi = high;
    StoreWidthsAndListFont();
    const RECT stored{1700, 100, 3100, 1000};
    AppSettings.Placement.showCmd = SW_SHOWNORMAL, AppSettings.Placement.rcNormalPosition = stored;
    {
        PanelThread panel;
        const HWND h = panel.Hwnd();
        RECT rc;
        EXPECT_TRUE(::GetWindowRect(h, &rc) && ::EqualRect(&rc, &stored));
        EXPECT_EQ(FontOf(::GetDlgItem(h, IDC_BTN_SHOW_WINDOWS)).lfHeight, -::MulDiv(8, high, 72));
        EXPECT_EQ(LayoutFault(h), "");
        EXPECT_EQ(ListView(List(h)).ColumnWidths(),
                  Each(ListColumnCount, [&](int c) { return ::MulDiv(Widths[c], high, 96); }));
        EXPECT_EQ(FontOf(List(h)).lfHeight, ::MulDiv(-21, high, 96));
    }
    EXPECT_TRUE(std::equal(std::begin(Widths), std::end(Widths), AppSettings.ColumnWidths)) << "as the file holds them";
}

// A right click and the Menu button open the command menu, every command in its place. The links and F1 open the
// launcher on their address, which Copy puts on the clipboard. Each topology choice, found by its text, is validated
// first and applied only once the validation passed; the box then shows the topology in force (a "Forced" request
// leaves the one before). Contact Us and About name the address and version.
TEST_F(ControlPanel, CommandMenuLinksTopologyContactUsAndAbout)
{
    FakeDesktop desktop;
    PanelThread panel;
    HWND h = panel.Hwnd(), combo = ::GetDlgItem(h, IDC_COMBO_TOPOLOGY);
    for (bool button : {false, true})
    {
        if (button) ::PostMessageW(::GetDlgItem(h, IDC_BTN_MENU), BM_CLICK, 0, 0);
        else ::PostMessageW(h, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
        std::vector<UINT> commands;
        for (const auto& [text, id] : TakeShownMenu(h)) commands.push_back(id);
        EXPECT_EQ(commands,
                  (std::vector<UINT>{ID_COLORED_WINDOW_ON_ALL_MONITORS, ID_CLOSE_ALL_COLORED_WINDOWS,
                                     ID_CLOSE_CHECKED_COLORED_WINDOWS, ID_INITIAL_WINDOW_COLOR, ID_INCREMENT_LIST_FONT,
                                     ID_DECREMENT_LIST_FONT, ID_CHANGE_FONT, ID_AUTOSIZE_COLUMNS, ID_CONTACT_US,
                                     ID_MAKER_WEBSITE, ID_SHARE, ID_MINIMIZE, ID_DISPLAY_SETTINGS, ID_DISPLAY_DEVICES,
                                     ID_RESET_ALL_PARAMETERS, ID_TURN_OFF_MONITORS, ID_PREFERENCES, ID_EXIT}))
            << (button ? "Menu button" : "right click");
    }
    static HELPINFO help{sizeof(HELPINFO), HELPINFO_WINDOW, 0, nullptr, 0, {0, 0}};
    const std::tuple<UINT, WPARAM, LPARAM, std::wstring> links[] = {
        {WM_COMMAND, ID_MAKER_WEBSITE, 0, L"https://umbrafen.example.org/"},
        {WM_COMMAND, ID_SHARE, 0, L"https://umbrafen.example.org/share"},
        {WM_HELP, 0, reinterpret_cast<LPARAM>(&help), L"https://umbrafen.example.org/help"},
    };
    for (const auto& [msg, wp, lp, url] : links)
    {
        ::OpenClipboard(nullptr), ::EmptyClipboard(), ::CloseClipboard();
        // WM_HELP carries a pointer and cannot be posted: sent from a thread that returns once the launcher closed.
        std::thread sender([&h, msg, wp, lp] { ::SendMessageW(h, msg, wp, lp); });
        HWND launcher = WaitForDialog(L"Browser Launcher - Umbrafen");
        EXPECT_EQ(WindowText(::GetDlgItem(launcher, IDC_EDIT_URL)), url);
        const bool copy = msg == WM_HELP;
        if (copy) ClickButton(launcher, IDC_BTN_COPY_URL);
        else ::PostMessageW(launcher, WM_KEYDOWN, VK_ESCAPE, 0);
        sender.join();
        EXPECT_EQ(ClipboardText(), copy ? url : L"");
    }
    const std::pair<std::wstring, UINT32> choices[] = {{L"Duplicate", SDC_TOPOLOGY_CLONE},
                                                       {L"Extend", SDC_TOPOLOGY_EXTEND},
                                                       {L"PC screen only", SDC_TOPOLOGY_INTERNAL},
                                                       {L"Second screen only", SDC_TOPOLOGY_EXTERNAL},
                                                       {L"Forced", 0xFFFFFFFF}};
    std::wstring inForce = L"Extend";
    for (const auto& [text, flags] : choices)
        for (LONG validation : {ERROR_GEN_FAILURE, ERROR_SUCCESS})
        {
            desktop.ValidateResult = validation, desktop.SetDisplayConfigFlags.clear();
            ::SendMessageW(combo, CB_SETCURSEL,
                           ::SendMessageW(combo, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(text.c_str())), 0);
            ::SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDC_COMBO_TOPOLOGY, CBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(combo));
            std::vector<UINT32> asked{flags | SDC_VALIDATE};
            if (validation == ERROR_SUCCESS) asked.push_back(flags | SDC_APPLY);
            if (validation == ERROR_SUCCESS && flags != 0xFFFFFFFF) inForce = text;
            EXPECT_EQ(desktop.SetDisplayConfigFlags, asked) << text;
            EXPECT_EQ(WindowText(combo), inForce) << text;
        }
    MessageBoxWatcher watcher;
    SendCommand(h, ID_CONTACT_US);
    ::PostMessageW(h, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);   // the About box, answered too
    ASSERT_TRUE(watcher.WaitForCount(2));
    const std::vector<std::wstring> texts = watcher.Texts();   // the About box's texts after its icon's
    EXPECT_EQ(texts[0], L"Please write an email to support@umbrafen.example.org");
    const std::wstring about = L"Umbrafen, Version " UMBRAFEN_TEST_VERSION L"support@umbrafen.example.org";
    EXPECT_TRUE(texts[1].ends_with(about)) << texts[1];
}

}   // namespace
