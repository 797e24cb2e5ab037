// The control panel created from its real template on the virtual desktop:
// data exchange with AppSettings, placement, font, resizing, system menu.
#include <gtest/gtest.h>
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "tests/support/GuiSupport.h"

namespace {

class ControlPanel : public ::testing::Test
{
protected:
    void SetUp() override { ResetAppSettings(); }
    void TearDown() override { ResetAppSettings(); }
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
    const int boxes[] = {IDC_CHK_ON_TOP, IDC_CHK_PASSTHROUGH, IDC_CHK_AUTO_MINIMIZE, IDC_CHK_TURN_OFF_MONITORS, IDC_CHK_IN_ALT_TAB};
    std::vector<UINT> states;
    for (int id : boxes) states.push_back(::IsDlgButtonChecked(h, id));
    EXPECT_EQ(states, (std::vector<UINT>{BST_UNCHECKED, BST_CHECKED, BST_CHECKED, BST_CHECKED, BST_UNCHECKED}));
    EXPECT_EQ(::SendMessageW(::GetDlgItem(h, IDC_SLIDER_ALPHA), TBM_GETPOS, 0, 0), 150);
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

// The system menu ends with a separator and About, which opens a modal box owned by
// the panel; the panel cannot shrink below its initial size and its controls follow.
TEST_F(ControlPanel, SystemMenuAboutBoxAndResizing)
{
    PanelThread panel;
    HWND h = panel.Hwnd();
    ASSERT_NE(h, nullptr);
    HMENU sys = ::GetSystemMenu(h, FALSE);
    const int n = ::GetMenuItemCount(sys);
    ASSERT_GE(n, 2);
    MENUITEMINFOW sep{};
    sep.cbSize = sizeof(sep);
    sep.fMask = MIIM_FTYPE;
    ASSERT_TRUE(::GetMenuItemInfoW(sys, n - 2, TRUE, &sep));
    EXPECT_TRUE(sep.fType & MFT_SEPARATOR);
    WCHAR text[64] = {};
    ::GetMenuStringW(sys, n - 1, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&About Umbrafen...");
    EXPECT_EQ(::GetMenuItemID(sys, n - 1), static_cast<UINT>(IDM_ABOUTBOX));

    ::PostMessageW(h, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND about = WaitForDialog(L"About Umbrafen");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(::GetWindow(about, GW_OWNER), h);
    EXPECT_FALSE(::IsWindowEnabled(h)) << "the panel cannot be used while the About box is open";
    ::PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(about) && ::IsWindowEnabled(h); }));

    RECT initial{}, small{};
    ::GetWindowRect(h, &initial);
    const int w = initial.right - initial.left, ht = initial.bottom - initial.top;
    ::SetWindowPos(h, nullptr, 0, 0, w - 100, ht - 60, SWP_NOMOVE | SWP_NOZORDER);
    ::GetWindowRect(h, &small);
    EXPECT_EQ(small.right - small.left, w);
    EXPECT_EQ(small.bottom - small.top, ht);

    const int ids[] = {IDC_LIST_MONITORS, IDC_CHK_TURN_OFF_MONITORS, IDC_BTN_CHECK_ALL, IDC_BTN_SHOW_WINDOWS, IDC_COMBO_TOPOLOGY};
    std::vector<RECT> before;
    for (int id : ids) before.push_back(ChildRect(h, id));
    ::SetWindowPos(h, nullptr, 0, 0, w + 200, ht + 100, SWP_NOMOVE | SWP_NOZORDER);
    // How far each edge moved: the list grows, the right-hand column follows the right
    // edge, the bottom-left buttons the bottom edge, the combo box is moved, not sized.
    const RECT moved[] = {{0, 0, 200, 100}, {200, 0, 200, 0}, {0, 100, 0, 100}, {200, 100, 200, 100}, {200, 100, 200, 100}};
    for (size_t i = 0; i < std::size(ids); ++i)
    {
        const RECT a = ChildRect(h, ids[i]), b = before[i];
        EXPECT_TRUE(a.left - b.left == moved[i].left && a.top - b.top == moved[i].top && a.right - b.right == moved[i].right &&
                    a.bottom - b.bottom == moved[i].bottom)
            << "control " << ids[i] << " moved by " << a.left - b.left << "," << a.top - b.top << ","
            << a.right - b.right << "," << a.bottom - b.bottom;
    }
}

// A stored placement is applied unless right - left is 0; a stored list font only
// when it has a weight.
TEST_F(ControlPanel, StoredPlacementAndListFontApplyOnlyWhenValid)
{
    RECT platformChoice{};
    LOGFONTW dialogFont{};
    {
        PanelThread panel;
        ASSERT_NE(panel.Hwnd(), nullptr);
        ::GetWindowRect(panel.Hwnd(), &platformChoice);
        dialogFont = FontOf(::GetDlgItem(panel.Hwnd(), IDC_LIST_MONITORS));
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
        EXPECT_EQ(FontOf(::GetDlgItem(panel.Hwnd(), IDC_LIST_MONITORS)).lfHeight, dialogFont.lfHeight)
            << "a font without weight is not applied";
    }

    AppSettings.Placement.rcNormalPosition = {500, 400, 500, 700};
    AppSettings.ListFont.lfWeight = FW_BOLD;
    {
        PanelThread panel;
        RECT rc{};
        ::GetWindowRect(panel.Hwnd(), &rc);
        EXPECT_EQ(rc.left, platformChoice.left);
        EXPECT_EQ(rc.right - rc.left, w);
        const LOGFONTW lf = FontOf(::GetDlgItem(panel.Hwnd(), IDC_LIST_MONITORS));
        EXPECT_EQ(lf.lfHeight, -31);
        EXPECT_EQ(lf.lfWeight, FW_BOLD);
    }
}

} // namespace
