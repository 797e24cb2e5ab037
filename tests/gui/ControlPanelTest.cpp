// The control panel created from its real template: data exchange with AppSettings, system menu, About box,
// resizing, stored placement and font, its command menu and the commands no other file covers, list-font
// steps and the font picker, the topology box over a scripted desktop, and the error boundary of the message maps.
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <tuple>
#include <windows.h>
#include <dlgs.h>
#include "help/BrowserLauncher.h"
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/GuiSupport.h"

namespace {

class ControlPanel : public ::testing::Test
{
protected:
    void SetUp() override { ResetAppSettings(); }
    void TearDown() override { ResetAppSettings(); }
    static HWND List(HWND panel) { return ::GetDlgItem(panel, IDC_LIST_MONITORS); }
    static std::wstring Text(UINT id)
    {
        WCHAR text[256] = {};
        ::LoadStringW(::GetModuleHandleW(nullptr), id, text, 256);
        return text;
    }
};

RECT ChildRect(HWND dlg, int id)
{
    RECT rc{};
    ::GetWindowRect(::GetDlgItem(dlg, id), &rc);
    ::MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

TEST_F(ControlPanel, ShowsTheSettingsMarksItselfAndWritesTheCheckBoxesBack)
{
    AppSettings.OnTop = 0;
    AppSettings.AutoMinimize = 1;
    AppSettings.TurnOffMonitors = 1;
    PanelThread panel;
    HWND h = panel.Hwnd();
    ASSERT_NE(h, nullptr);
    std::vector<UINT> states;
    for (int id :
         {IDC_CHK_ON_TOP, IDC_CHK_PASSTHROUGH, IDC_CHK_AUTO_MINIMIZE, IDC_CHK_TURN_OFF_MONITORS, IDC_CHK_IN_ALT_TAB})
        states.push_back(::IsDlgButtonChecked(h, id));
    EXPECT_EQ(states, (std::vector<UINT>{BST_UNCHECKED, BST_CHECKED, BST_CHECKED, BST_CHECKED, BST_UNCHECKED}));
    EXPECT_EQ(::SendDlgItemMessageW(h, IDC_SLIDER_ALPHA, TBM_GETPOS, 0, 0), 150);
    EXPECT_EQ(::GetWindowLongW(h, GWLP_USERDATA), 0x312) << "the mark a second instance looks for";
    EXPECT_EQ(WindowText(h), L"Umbrafen");
    EXPECT_NE(::SendMessageW(h, WM_GETICON, ICON_BIG, 0), 0);

    ::CheckDlgButton(h, IDC_CHK_ON_TOP, BST_CHECKED);
    ::CheckDlgButton(h, IDC_CHK_AUTO_MINIMIZE, BST_UNCHECKED);
    panel.Invoke([&] { panel.Dialog()->UpdateData(TRUE); });
    EXPECT_EQ(AppSettings.OnTop, 1);
    EXPECT_EQ(AppSettings.AutoMinimize, 0);
    EXPECT_EQ(AppSettings.TurnOffMonitors, 1);
}

// The system menu ends with a separator and About, a modal box owned by the panel; the panel cannot
// shrink below its initial size and its controls follow its edges.
TEST_F(ControlPanel, SystemMenuAboutBoxAndResizing)
{
    PanelThread panel;
    HWND h = panel.Hwnd();
    ASSERT_NE(h, nullptr);
    HMENU sys = ::GetSystemMenu(h, FALSE);
    const int n = ::GetMenuItemCount(sys);
    ASSERT_GE(n, 2);
    EXPECT_EQ(::GetMenuState(sys, n - 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    WCHAR text[64] = {};
    ::GetMenuStringW(sys, n - 1, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&About Umbrafen...");
    EXPECT_EQ(::GetMenuItemID(sys, n - 1), static_cast<UINT>(IDM_ABOUTBOX));

    ::PostMessageW(h, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND about = WaitForDialog(L"About Umbrafen");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(::GetWindow(about, GW_OWNER), h);
    EXPECT_FALSE(::IsWindowEnabled(h)) << "the About box is modal";
    ::PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(about) && ::IsWindowEnabled(h); }));

    RECT initial{}, small{};
    ::GetWindowRect(h, &initial);
    const int w = initial.right - initial.left, ht = initial.bottom - initial.top;
    ::SetWindowPos(h, nullptr, 0, 0, w - 100, ht - 60, SWP_NOMOVE | SWP_NOZORDER);
    ::GetWindowRect(h, &small);
    EXPECT_EQ(small.right - small.left, w);
    EXPECT_EQ(small.bottom - small.top, ht);

    const int ids[] = {IDC_LIST_MONITORS, IDC_CHK_TURN_OFF_MONITORS, IDC_BTN_CHECK_ALL, IDC_BTN_SHOW_WINDOWS,
                       IDC_COMBO_TOPOLOGY};
    std::vector<RECT> before;
    for (int id : ids) before.push_back(ChildRect(h, id));
    ::SetWindowPos(h, nullptr, 0, 0, w + 200, ht + 100, SWP_NOMOVE | SWP_NOZORDER);
    // How far each edge moved: the list grows, the right-hand column follows the right edge, the
    // bottom-left buttons the bottom edge, the combo box is moved, not sized.
    const RECT moved[] = {
        {0, 0, 200, 100}, {200, 0, 200, 0}, {0, 100, 0, 100}, {200, 100, 200, 100}, {200, 100, 200, 100}};
    for (size_t i = 0; i < std::size(ids); ++i)
    {
        const RECT a = ChildRect(h, ids[i]), b = before[i];
        EXPECT_EQ((std::vector<LONG>{a.left - b.left, a.top - b.top, a.right - b.right, a.bottom - b.bottom}),
                  (std::vector<LONG>{moved[i].left, moved[i].top, moved[i].right, moved[i].bottom}))
            << "control " << ids[i];
    }
}

// A stored placement is applied unless right - left is 0; a stored list font only when it has a weight.
TEST_F(ControlPanel, StoredPlacementAndListFontApplyOnlyWhenValid)
{
    RECT platformChoice{};
    LOGFONTW dialogFont{};
    {
        PanelThread panel;
        ASSERT_NE(panel.Hwnd(), nullptr);
        ::GetWindowRect(panel.Hwnd(), &platformChoice);
        dialogFont = FontOf(List(panel.Hwnd()));
    }
    const LONG w = platformChoice.right - platformChoice.left, h = platformChoice.bottom - platformChoice.top;
    AppSettings.Placement.showCmd = SW_SHOWNORMAL;
    AppSettings.Placement.rcNormalPosition = {300, 200, 300 + w + 40, 200 + h + 30};
    AppSettings.ListFont = dialogFont;
    AppSettings.ListFont.lfHeight = -31;
    AppSettings.ListFont.lfWeight = 0;
    {
        PanelThread panel;
        RECT rc{};
        ::GetWindowRect(panel.Hwnd(), &rc);
        EXPECT_TRUE(::EqualRect(&rc, &AppSettings.Placement.rcNormalPosition));
        EXPECT_EQ(FontOf(List(panel.Hwnd())).lfHeight, dialogFont.lfHeight) << "a font without weight is not applied";
    }
    AppSettings.Placement.rcNormalPosition = {500, 400, 500, 700};
    AppSettings.ListFont.lfWeight = FW_BOLD;
    {
        PanelThread panel;
        RECT rc{};
        ::GetWindowRect(panel.Hwnd(), &rc);
        EXPECT_EQ(rc.left, platformChoice.left);
        EXPECT_EQ(rc.right - rc.left, w);
        const LOGFONTW lf = FontOf(List(panel.Hwnd()));
        EXPECT_EQ(lf.lfHeight, -31);
        EXPECT_EQ(lf.lfWeight, FW_BOLD);
    }
}

// The menu a right click or the Menu button opens: its items, with the commands the rest of the suite
// sends by id.
TEST_F(ControlPanel, CommandMenuOpensFromRightClickAndMenuButtonWithItsItems)
{
    PanelThread panel;
    HWND h = panel.Hwnd();
    ASSERT_NE(h, nullptr);
    HMENU popup = nullptr;
    panel.Invoke([&] { popup = ::GetSubMenu(panel.Dialog()->m_menu, 0); });
    const std::pair<const wchar_t*, UINT> items[] = {
        {L"Colored Window On All Monitor(s)", ID_COLORED_WINDOW_ON_ALL_MONITORS},
        {L"Close All Colored Window(s)", ID_CLOSE_ALL_COLORED_WINDOWS},
        {L"Close Checked Colored Window(s)", ID_CLOSE_CHECKED_COLORED_WINDOWS},
        {L"Initial Window(s) Color...", ID_INITIAL_WINDOW_COLOR},
        {L"Increment List Font\tCtrl+Scroll Up", ID_INCREMENT_LIST_FONT},
        {L"Decrement List Font\tCtrl+Scroll Down", ID_DECREMENT_LIST_FONT},
        {L"Change Font...", ID_CHANGE_FONT},
        {L"Autosize Columns", ID_AUTOSIZE_COLUMNS},
        {L"Contact Us", ID_CONTACT_US},
        {L"umbrafen.example.org", ID_MAKER_WEBSITE},
        {L"Share...", ID_SHARE},
        {L"Minimize", ID_MINIMIZE},
        {L"Display Settings...", ID_DISPLAY_SETTINGS},
        {L"Display Device(s)...", ID_DISPLAY_DEVICES},
        {L"Reset All Parameters", ID_RESET_ALL_PARAMETERS},
        {L"Turn Off Monitor(s)", ID_TURN_OFF_MONITORS},
        {L"Preferences...", ID_PREFERENCES},
        {L"Exit", ID_EXIT},
    };
    std::vector<std::pair<std::wstring, UINT>> shown;
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i)
    {
        WCHAR text[64] = {};
        ::GetMenuStringW(popup, i, text, 64, MF_BYPOSITION);
        if (!(::GetMenuState(popup, i, MF_BYPOSITION) & MF_SEPARATOR))
            shown.emplace_back(text, ::GetMenuItemID(popup, i));
    }
    EXPECT_EQ(shown, (std::vector<std::pair<std::wstring, UINT>>(std::begin(items), std::end(items))));
    for (int way = 0; way < 2; ++way)
    {
        SCOPED_TRACE(way ? "Menu button" : "keyboard context menu");
        if (way) ::PostMessageW(::GetDlgItem(h, IDC_BTN_MENU), BM_CLICK, 0, 0);
        else ::PostMessageW(h, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h), MAKELPARAM(-1, -1));
        HMENU shown = nullptr;
        EXPECT_TRUE(PumpUntil([&] {
            for (HWND m : ProcessTopLevelWindows(L"#32768"))
                if (::IsWindowVisible(m)) shown = reinterpret_cast<HMENU>(::SendMessageW(m, MN_GETHMENU, 0, 0));
            return shown != nullptr;
        }));
        EXPECT_EQ(shown, popup);
        ::PostMessageW(h, WM_CANCELMODE, 0, 0);
        PumpUntil([] {
            for (HWND m : ProcessTopLevelWindows(L"#32768"))
                if (::IsWindowVisible(m)) return false;
            return true;
        });
    }
}

// Steps from the menu and Ctrl+wheel stay within -150..-21; only an applied step is stored, whole.
TEST_F(ControlPanel, FontStepsStayWithinTheBoundsAndOnlyAppliedOnesAreStored)
{
    PanelThread panel;
    HWND h = panel.Hwnd();
    ASSERT_NE(h, nullptr);
    const std::wstring face = FontOf(List(h)).lfFaceName;
    std::vector<HFONT> fonts;
    auto prepare = [&](LONG height) {
        LOGFONTW lf = FontOf(List(h));
        lf.lfHeight = height;
        fonts.push_back(::CreateFontIndirectW(&lf));
        ::SendMessageW(List(h), WM_SETFONT, reinterpret_cast<WPARAM>(fonts.back()), TRUE);
        panel.Invoke([] { AppSettings.ListFont = LOGFONTW{}; });
    };
    const struct
    {
        LONG start;
        bool increment;
        LONG applied;   // 0: refused
    } cases[] = {
        {-11, true, 0},  {-16, true, -21},    {-16, false, 0},     {-25, false, 0},   // the bound is -21, not -20
        {-150, true, 0}, {-150, false, -145}, {-155, false, -150}, {-155, true, 0}, {-160, false, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "from " << c.start << (c.increment ? " larger" : " smaller"));
        prepare(c.start);
        SendCommand(h, c.increment ? ID_INCREMENT_LIST_FONT : ID_DECREMENT_LIST_FONT);
        EXPECT_EQ(FontOf(List(h)).lfHeight, c.applied ? c.applied : c.start);
        EXPECT_EQ(AppSettings.ListFont.lfHeight, c.applied);
        if (c.applied)
        {
            EXPECT_EQ(std::wstring(AppSettings.ListFont.lfFaceName), face) << "the whole font is stored";
        }
    }
    // Ctrl+wheel: one step per message whatever its delta; the plain wheel none.
    prepare(-26);
    auto wheel = [&](WORD keys, short delta) {
        ::SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(delta)), MAKELPARAM(100, 100));
        return FontOf(List(h)).lfHeight;
    };
    EXPECT_EQ(wheel(MK_CONTROL, 480), -31) << "four notches in one message are one step";
    EXPECT_EQ(wheel(MK_CONTROL, -120), -26);
    EXPECT_EQ(wheel(MK_CONTROL, 0), -21) << "no delta counts as smaller";
    EXPECT_EQ(wheel(MK_CONTROL, 0), -21);
    EXPECT_EQ(wheel(MK_SHIFT, -120), -21);
    EXPECT_EQ(AppSettings.ListFont.lfHeight, -21);
    panel.Close();
    for (HFONT f : fonts) ::DeleteObject(f);
}

// Change Font...: the picker opens captioned and owned by the panel; OK applies the chosen size to the list
// and stores it, even one outside the steps' bounds; Cancel changes nothing.
TEST_F(ControlPanel, ChangeFontAppliesAndStoresTheChosenFont)
{
    PanelThread panel;
    HWND h = panel.Hwnd();
    ASSERT_NE(h, nullptr);
    const LONG before = FontOf(List(h)).lfHeight;
    HDC screen = ::GetDC(nullptr);
    const LONG twelvePoint = -::MulDiv(12, ::GetDeviceCaps(screen, LOGPIXELSY), 72);   // beyond the steps' -21
    ::ReleaseDC(nullptr, screen);
    for (bool ok : {false, true})
    {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        ::PostMessageW(h, WM_COMMAND, ID_CHANGE_FONT, 0);
        HWND dlg = WaitForDialog(L"Select Font - Umbrafen");
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(::GetWindow(dlg, GW_OWNER), h);
        HWND size = ::GetDlgItem(dlg, cmb3);
        ::SendMessageW(size, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"12"));
        ::SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(cmb3, CBN_SELCHANGE), reinterpret_cast<LPARAM>(size));
        ::PostMessageW(dlg, WM_COMMAND, ok ? IDOK : IDCANCEL, 0);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(dlg) && ::IsWindowEnabled(h); }));
        ::SendMessageW(h, WM_NULL, 0, 0);
        EXPECT_EQ(FontOf(List(h)).lfHeight, ok ? twelvePoint : before);
        EXPECT_EQ(AppSettings.ListFont.lfHeight, ok ? twelvePoint : 0);
    }
}

// The web links and F1 open the launcher owned by the panel on their own address; Esc closes it and
// copies nothing. Contact Us names the support address; Minimize minimises.
TEST_F(ControlPanel, WebLinksContactUsAndMinimize)
{
    PanelThread panel;
    HWND h = panel.Hwnd();
    ASSERT_NE(h, nullptr);
    ClearClipboard();
    static HELPINFO help{sizeof(HELPINFO), HELPINFO_WINDOW, 0, nullptr, 0, {0, 0}};
    const struct
    {
        UINT msg;
        WPARAM wp;
        LPARAM lp;
        UINT url;
    } links[] = {
        {WM_COMMAND, ID_MAKER_WEBSITE, 0, IDS_MAKER_HOME_URL},
        {WM_COMMAND, ID_SHARE, 0, IDS_SHARE_URL},
        {WM_HELP, 0, reinterpret_cast<LPARAM>(&help), IDS_PRODUCT_URL},
    };
    for (const auto& link : links)
    {
        SCOPED_TRACE(Text(link.url));
        // WM_HELP carries a pointer and cannot be posted: sent from a thread that returns once the launcher closed.
        LRESULT result = 0;
        std::thread sender([&] { result = ::SendMessageW(h, link.msg, link.wp, link.lp); });
        HWND launcher = WaitForDialog(L"Browser Launcher - Umbrafen");
        EXPECT_NE(launcher, nullptr);
        if (launcher)
        {
            EXPECT_EQ(::GetWindow(launcher, GW_OWNER), h);
            WCHAR shown[256] = {};
            ::GetDlgItemTextW(launcher, IDC_EDIT_URL, shown, 256);
            EXPECT_EQ(std::wstring(shown), Text(link.url));
            ::PostMessageW(launcher, WM_KEYDOWN, VK_ESCAPE, 0);
            EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(launcher) && ::IsWindowEnabled(h); }));
        }
        sender.join();
        if (link.msg == WM_HELP)
        {
            EXPECT_EQ(result, TRUE) << "WM_HELP is answered as handled";
        }
        EXPECT_FALSE(::IsClipboardFormatAvailable(CF_UNICODETEXT)) << "Esc copies nothing";
    }
    MessageBoxWatcher watcher;
    SendCommand(h, ID_CONTACT_US);
    EXPECT_EQ(watcher.Texts(), std::vector<std::wstring>{L"Please write an email to " + Text(IDS_SUPPORT_EMAIL)});
    SendCommand(h, ID_MINIMIZE);
    EXPECT_TRUE(::IsIconic(h));
}

// The launcher's copy action, seen from the clipboard; the browser itself is never started here.
TEST(BrowserLauncher, CopyPutsExactlyTheUrlOnTheClipboardAndCloses)
{
    ClearClipboard();
    MessageBoxWatcher boxes;
    // Long enough that a wrong length or a missing terminator would show.
    const std::wstring url = L"https://umbrafen.example.org/share?text=" + std::wstring(300, L'x') + L"\u00e9";
    std::thread ui([&] { ShowBrowserLauncher(url.c_str(), nullptr); });
    HWND launcher = WaitForDialog(L"Browser Launcher - Umbrafen");
    EXPECT_NE(launcher, nullptr);
    if (launcher)
    {
        EXPECT_TRUE(::GetWindowLongW(::GetDlgItem(launcher, IDC_EDIT_URL), GWL_STYLE) & ES_READONLY);
        ClickButton(launcher, IDC_BTN_COPY_URL);
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(launcher); })) << "the launcher closes after copying";
    }
    ui.join();
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    const std::wstring copied = data ? static_cast<const WCHAR*>(::GlobalLock(data)) : L"";
    if (data) ::GlobalUnlock(data);
    ::CloseClipboard();
    EXPECT_EQ(copied, url);
    EXPECT_EQ(boxes.Count(), 0u) << "no error message";
}

// The topology box shows the topology in force (nothing for an unknown id, greyed out when it cannot be
// read); a choice is validated before it is applied, and the box follows the platform.
TEST_F(ControlPanel, TopologyBoxShowsTheTopologyInForceAndValidatesAChoice)
{
    FakeDesktop desktop;
    desktop.AddMonitor(L"Left", {0, 0, 1920, 1080});
    desktop.AddMonitor(L"Right", {1920, 0, 3200, 1024});
    auto open = [](PanelThread& panel) { return ::GetDlgItem(panel.Hwnd(), IDC_COMBO_TOPOLOGY); };
    auto selection = [](HWND combo) { return static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0)); };
    for (auto [id, fails, expected] : {std::tuple{0u, false, CB_ERR}, {0u, true, CB_ERR}})
    {
        desktop.CurrentTopology = static_cast<DISPLAYCONFIG_TOPOLOGY_ID>(id);
        desktop.CurrentTopologyFails = fails;
        PanelThread panel;
        EXPECT_EQ(selection(open(panel)), expected);
        EXPECT_EQ(!!::IsWindowEnabled(open(panel)), !fails) << "greyed out while the topology cannot be read";
    }
    desktop.CurrentTopologyFails = false;
    desktop.CurrentTopology = DISPLAYCONFIG_TOPOLOGY_EXTEND;
    PanelThread panel;
    HWND combo = open(panel);
    ASSERT_EQ(::SendMessageW(combo, CB_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(selection(combo), 1) << "Extend";
    EXPECT_EQ(static_cast<UINT32>(::SendMessageW(combo, CB_GETITEMDATA, 4, 0)), 0xFFFFFFFFu) << "Forced";
    auto choose = [&](int index) {
        ::SendMessageW(combo, CB_SETCURSEL, index, 0);
        ::SendMessageW(panel.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_COMBO_TOPOLOGY, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(combo));
    };
    desktop.ValidateResult = ERROR_GEN_FAILURE;
    choose(0);   // Duplicate
    EXPECT_EQ(desktop.SetDisplayConfigFlags, (std::vector<UINT32>{0x2u | 0x40u}))
        << "not applied after a failed validation";
    EXPECT_EQ(selection(combo), 1) << "back to the topology in force";
    desktop.ValidateResult = ERROR_SUCCESS;
    choose(0);
    EXPECT_EQ(desktop.SetDisplayConfigFlags, (std::vector<UINT32>{0x42u, 0x42u, 0x82u}));
    EXPECT_EQ(selection(combo), 0) << "the box shows the new topology";
}

// The error boundary: a handler's exception never unwinds through user32, and a notification code is
// matched together with its command id.
constexpr UINT WM_THROW = WM_APP + 2, IDC_PROBE = 4711;

class CProbe : public CDialogEx
{
public:
    CProbe() : CDialogEx(IDD_ABOUTBOX) {}
    static const AFX_MSGMAP* GetThisMessageMap()
    {
        using T = CProbe;
        static const AFX_MSGMAP_ENTRY entries[] = {CmdCode<BN_DOUBLECLICKED, IDC_PROBE, &T::OnDoubleClicked>(),
                                                   Raw<WM_THROW, &T::OnThrow>()};
        static const AFX_MSGMAP map{&CDialogEx::GetThisMessageMap, entries};
        return &map;
    }
    const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }
    void OnDoubleClicked() { ++doubleClicks; }
    LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failure"); }
    int doubleClicks = 0;
};

TEST(MessageMap, ExceptionsStopAtTheBoundaryAndCodesMatchWithTheirId)
{
    CProbe dlg;
    ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX));
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PROBE, BN_CLICKED));
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PROBE, BN_DOUBLECLICKED));
    EXPECT_EQ(dlg.doubleClicks, 1);
    EXPECT_EQ(dlg.SendMessage(WM_THROW), 0);
    EXPECT_TRUE(::IsWindow(dlg.m_hWnd)) << "the window lives on after the failed handler";
    dlg.DestroyWindow();
    EXPECT_EQ(dlg.m_hWnd, nullptr) << "the object lets go of its window when it is destroyed";
}

}   // namespace
