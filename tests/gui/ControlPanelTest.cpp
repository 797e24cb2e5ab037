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

    static RECT ChildRect(HWND dlg, int id)
    {
        RECT rc{};
        HWND child = ::GetDlgItem(dlg, id);
        ::GetWindowRect(child, &rc);
        ::MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
};

TEST_F(ControlPanel, CheckBoxesShowAndWriteBackTheSettings)
{
    AppSettings.OnTop = 0;
    AppSettings.AutoMinimize = 1;
    AppSettings.TurnOffMonitors = 1;
    PanelThread panel;
    HWND h = panel.Hwnd();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(::IsDlgButtonChecked(h, IDC_CHK_ON_TOP), BST_UNCHECKED);
    EXPECT_EQ(::IsDlgButtonChecked(h, IDC_CHK_PASSTHROUGH), BST_CHECKED);
    EXPECT_EQ(::IsDlgButtonChecked(h, IDC_CHK_AUTO_MINIMIZE), BST_CHECKED);
    EXPECT_EQ(::IsDlgButtonChecked(h, IDC_CHK_TURN_OFF_MONITORS), BST_CHECKED);
    EXPECT_EQ(::IsDlgButtonChecked(h, IDC_CHK_IN_ALT_TAB), BST_UNCHECKED);

    ::CheckDlgButton(h, IDC_CHK_ON_TOP, BST_CHECKED);
    ::CheckDlgButton(h, IDC_CHK_AUTO_MINIMIZE, BST_UNCHECKED);
    panel.Invoke([&] { panel.Dialog()->UpdateData(TRUE); });
    EXPECT_EQ(AppSettings.OnTop, 1);
    EXPECT_EQ(AppSettings.AutoMinimize, 0);
    EXPECT_EQ(AppSettings.TurnOffMonitors, 1);
}

TEST_F(ControlPanel, MarksItselfForASecondInstanceAndTakesTheApplicationName)
{
    PanelThread panel;
    HWND h = panel.Hwnd();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(::GetWindowLongW(h, GWLP_USERDATA), 0x312);
    WCHAR title[64] = {};
    ::GetWindowTextW(h, title, 64);
    EXPECT_STREQ(title, L"Umbrafen");
    EXPECT_NE(::SendMessageW(h, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_EQ(::SendMessageW(::GetDlgItem(h, IDC_SLIDER_ALPHA), TBM_GETPOS, 0, 0), 150);
}

TEST_F(ControlPanel, SystemMenuEndsWithSeparatorAndAboutItem)
{
    PanelThread panel;
    ASSERT_NE(panel.Hwnd(), nullptr);
    HMENU sys = ::GetSystemMenu(panel.Hwnd(), FALSE);
    ASSERT_NE(sys, nullptr);
    const int n = ::GetMenuItemCount(sys);
    ASSERT_GE(n, 2);
    MENUITEMINFOW sep{sizeof(sep), MIIM_FTYPE};
    ASSERT_TRUE(::GetMenuItemInfoW(sys, n - 2, TRUE, &sep));
    EXPECT_TRUE(sep.fType & MFT_SEPARATOR);
    WCHAR text[64] = {};
    ::GetMenuStringW(sys, n - 1, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&About Umbrafen...");
    EXPECT_EQ(::GetMenuItemID(sys, n - 1), static_cast<UINT>(IDM_ABOUTBOX));
}

TEST_F(ControlPanel, CannotShrinkBelowItsInitialSizeAndControlsFollowTheLayout)
{
    PanelThread panel;
    HWND h = panel.Hwnd();
    ASSERT_NE(h, nullptr);
    RECT initial{};
    ::GetWindowRect(h, &initial);
    const int w = initial.right - initial.left, ht = initial.bottom - initial.top;

    ::SetWindowPos(h, nullptr, 0, 0, w - 100, ht - 60, SWP_NOMOVE | SWP_NOZORDER);
    RECT small{};
    ::GetWindowRect(h, &small);
    EXPECT_EQ(small.right - small.left, w);
    EXPECT_EQ(small.bottom - small.top, ht);

    const RECT list0 = ChildRect(h, IDC_LIST_MONITORS), turnOff0 = ChildRect(h, IDC_CHK_TURN_OFF_MONITORS),
               checkAll0 = ChildRect(h, IDC_BTN_CHECK_ALL), show0 = ChildRect(h, IDC_BTN_SHOW_WINDOWS),
               combo0 = ChildRect(h, IDC_COMBO_TOPOLOGY);
    ::SetWindowPos(h, nullptr, 0, 0, w + 200, ht + 100, SWP_NOMOVE | SWP_NOZORDER);
    const RECT list1 = ChildRect(h, IDC_LIST_MONITORS), turnOff1 = ChildRect(h, IDC_CHK_TURN_OFF_MONITORS),
               checkAll1 = ChildRect(h, IDC_BTN_CHECK_ALL), show1 = ChildRect(h, IDC_BTN_SHOW_WINDOWS),
               combo1 = ChildRect(h, IDC_COMBO_TOPOLOGY);

    EXPECT_EQ(list1.left, list0.left);
    EXPECT_EQ(list1.top, list0.top);
    EXPECT_EQ(list1.right - list0.right, 200) << "the list grows with the dialog";
    EXPECT_EQ(list1.bottom - list0.bottom, 100);
    EXPECT_EQ(turnOff1.left - turnOff0.left, 200) << "the right-hand column follows the right edge";
    EXPECT_EQ(turnOff1.top, turnOff0.top);
    EXPECT_EQ(checkAll1.left, checkAll0.left) << "the bottom-left buttons follow the bottom edge";
    EXPECT_EQ(checkAll1.top - checkAll0.top, 100);
    EXPECT_EQ(show1.left - show0.left, 200);
    EXPECT_EQ(show1.top - show0.top, 100);
    EXPECT_EQ(combo1.left - combo0.left, 200);
    EXPECT_EQ(combo1.right - combo1.left, combo0.right - combo0.left) << "moved, not sized";
}

TEST_F(ControlPanel, StoredPlacementIsAppliedAndAnEmptyOneIsNot)
{
    RECT platformChoice{};
    {
        PanelThread panel;
        ASSERT_NE(panel.Hwnd(), nullptr);
        ::GetWindowRect(panel.Hwnd(), &platformChoice);
    }

    AppSettings.Placement.showCmd = SW_SHOWNORMAL;
    AppSettings.Placement.rcNormalPosition = {300, 200, 300 + (platformChoice.right - platformChoice.left) + 40,
                                              200 + (platformChoice.bottom - platformChoice.top) + 30};
    {
        PanelThread panel;
        ASSERT_NE(panel.Hwnd(), nullptr);
        RECT rc{};
        ::GetWindowRect(panel.Hwnd(), &rc);
        EXPECT_EQ(rc.left, 300);
        EXPECT_EQ(rc.top, 200);
        EXPECT_EQ(rc.right, AppSettings.Placement.rcNormalPosition.right);
    }

    // right - left = 0 counts as no placement, whatever else the record holds.
    AppSettings.Placement.rcNormalPosition = {500, 400, 500, 700};
    {
        PanelThread panel;
        ASSERT_NE(panel.Hwnd(), nullptr);
        RECT rc{};
        ::GetWindowRect(panel.Hwnd(), &rc);
        EXPECT_EQ(rc.left, platformChoice.left);
        EXPECT_EQ(rc.right - rc.left, platformChoice.right - platformChoice.left);
    }
}

TEST_F(ControlPanel, StoredListFontIsAppliedOnlyWithAWeight)
{
    LOGFONTW dialogFont{};
    {
        PanelThread panel;
        ASSERT_NE(panel.Hwnd(), nullptr);
        HFONT f = reinterpret_cast<HFONT>(::SendMessageW(::GetDlgItem(panel.Hwnd(), IDC_LIST_MONITORS), WM_GETFONT, 0, 0));
        ::GetObjectW(f, sizeof(dialogFont), &dialogFont);
    }

    AppSettings.ListFont = dialogFont;
    AppSettings.ListFont.lfHeight = -31;
    AppSettings.ListFont.lfWeight = 0;
    {
        PanelThread panel;
        LOGFONTW lf{};
        HFONT f = reinterpret_cast<HFONT>(::SendMessageW(::GetDlgItem(panel.Hwnd(), IDC_LIST_MONITORS), WM_GETFONT, 0, 0));
        ::GetObjectW(f, sizeof(lf), &lf);
        EXPECT_EQ(lf.lfHeight, dialogFont.lfHeight) << "a font without weight is not applied";
    }

    AppSettings.ListFont.lfWeight = FW_BOLD;
    {
        PanelThread panel;
        LOGFONTW lf{};
        HFONT f = reinterpret_cast<HFONT>(::SendMessageW(::GetDlgItem(panel.Hwnd(), IDC_LIST_MONITORS), WM_GETFONT, 0, 0));
        ::GetObjectW(f, sizeof(lf), &lf);
        EXPECT_EQ(lf.lfHeight, -31);
        EXPECT_EQ(lf.lfWeight, FW_BOLD);
    }
}

TEST_F(ControlPanel, DestroyCapturesPlacementOpacityAndColumnWidths)
{
    RECT rc{};
    {
        PanelThread panel;
        HWND h = panel.Hwnd();
        ASSERT_NE(h, nullptr);
        ::SetWindowPos(h, nullptr, 111, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::GetWindowRect(h, &rc);
        ::SendMessageW(::GetDlgItem(h, IDC_SLIDER_ALPHA), TBM_SETPOS, TRUE, 222);
        ::PostMessageW(h, WM_CLOSE, 0, 0);
        ASSERT_TRUE(panel.Ended());
    }
    EXPECT_EQ(AppSettings.Alpha, 222);
    EXPECT_EQ(AppSettings.Placement.rcNormalPosition.left, rc.left);
    EXPECT_EQ(AppSettings.Placement.rcNormalPosition.top, rc.top);
    EXPECT_EQ(AppSettings.Placement.length, sizeof(WINDOWPLACEMENT));
    for (int i = 0; i < 6; ++i) EXPECT_GT(AppSettings.ColumnWidths[i], 0) << "column " << i;
}

} // namespace
