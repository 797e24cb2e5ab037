// The window options, the "?" button, dragging the panel and the colour pickers of the real control panel.
#include <colordlg.h>
#include <tuple>
#include "tests/support/GuiSupport.h"

namespace {

using WindowOptions = PanelTest;

// The colour a window paints its background with.
COLORREF BackgroundOf(HWND h)
{
    HDC dc = ::GetDC(h);
    auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(h, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), 0));
    LOGBRUSH lb{};
    return ::ReleaseDC(h, dc), brush && ::GetObjectW(brush, sizeof(lb), &lb) ? lb.lbColor : CLR_INVALID;
}

// Answers the colour picker that opens: types c into its Red/Green/Blue boxes, then OK or Cancel.
void AnswerPicker(bool ok, COLORREF c)
{
    HWND dlg = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        for (HWND h : ProcessTopLevelWindows(L"#32770"))
            if (::IsWindowVisible(h) && ::GetDlgItem(h, COLOR_RED)) dlg = h;
        return dlg != nullptr;
    })) << "no colour picker";
    for (int i = 0; i < 3; ++i)   // red, green, blue
    {
        ::SendDlgItemMessageW(dlg, COLOR_RED + i, EM_SETSEL, 0, -1);
        for (wchar_t ch : std::to_wstring(c >> 8 * i & 0xFF)) ::SendDlgItemMessageW(dlg, COLOR_RED + i, WM_CHAR, ch, 1);
    }
    ::PostMessageW(dlg, WM_COMMAND, ok ? IDOK : IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(dlg); }));
}

}   // namespace

// Each click's prompts and the In Alt+Tab rules (Passthrough ticked unticks and disables it; On Top prompts only on
// unticking; "?" shows the help in a box where the pop-up is missing); a press on an empty part drags the panel.
TEST_F(WindowOptions, PromptsInAltTabRulesHelpAndDrag)
{
    RECT gap{262, 100, 262, 100};   // between the list and the option column
    ::MapDialogRect(Panel(), &gap);
    ASSERT_EQ(::ChildWindowFromPointEx(Panel(), POINT{gap.left, gap.top}, CWP_SKIPINVISIBLE), Panel());
    ::PostMessageW(Panel(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(gap.left, gap.top));
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    const DWORD thread = ::GetWindowThreadProcessId(Panel(), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return ::GetGUIThreadInfo(thread, &gui) && gui.hwndMoveSize == Panel(); }))
        << "the press did not start moving the panel";
    ::PostMessageW(Panel(), WM_LBUTTONUP, 0, 0);
    PumpUntil([&] { return ::GetGUIThreadInfo(thread, &gui) && !gui.hwndMoveSize; });
    MessageBoxWatcher watcher;
    // After each click: message boxes so far, In Alt+Tab ticked, In Alt+Tab enabled.
    for (auto [click, boxes, altTicked, altEnabled] : {
             std::tuple{IDC_CHK_ON_TOP, 1u, false, false},   // unticked: its prompt
             {IDC_CHK_ON_TOP, 1u, false, false},             // ticked: none
             {IDC_CHK_PASSTHROUGH, 2u, false, true},         // unticked: its prompt, In Alt+Tab usable
             {IDC_CHK_IN_ALT_TAB, 2u, true, true},
             {IDC_CHK_PASSTHROUGH, 2u, false, false},   // ticked again
             {IDC_BTN_HELP, 3u, false, false},
         })
    {
        ClickButton(Panel(), click);
        EXPECT_EQ(watcher.Count(), boxes) << "after a click on " << click;
        EXPECT_EQ(::IsDlgButtonChecked(Panel(), IDC_CHK_IN_ALT_TAB) == BST_CHECKED, altTicked) << click;
        EXPECT_EQ(!!::IsWindowEnabled(Item(IDC_CHK_IN_ALT_TAB)), altEnabled) << click;
    }
    const std::vector<std::wstring> texts = watcher.Texts();
    EXPECT_EQ(Each(int(texts.size()), [&](int i) { return texts[i].substr(0, 14); }),
              (std::vector<std::wstring>{L"When On Top is", L"When Passthrou", L"To Close any C"}));
}

// The panel's picker changes the colour of the next covers (black at first) only with OK; a cover's own picker
// recolours that cover alone.
TEST_F(WindowOptions, PanelPickerOnlyWithOkAndACoversPickerOnlyThatCover)
{
    const COLORREF chosen = RGB(200, 40, 90), own = RGB(1, 150, 2);
    Suppress(PassthroughPromptKey);
    Tick({true, true});
    std::vector<HWND> w;
    for (int ok : {-1, 0, 1})   // no picker yet, then Cancel, then OK
    {
        if (ok >= 0) ::PostMessageW(Panel(), WM_COMMAND, ID_INITIAL_WINDOW_COLOR, 0), AnswerPicker(ok, chosen);
        ASSERT_TRUE(Settled(Panel()));
        ClickButton(Panel(), IDC_BTN_SHOW_WINDOWS);
        ASSERT_EQ((w = WaitForWindows({0, 1}, w)).size(), 2u);
        EXPECT_EQ(BackgroundOf(w[1]), ok == 1 ? chosen : RGB(0, 0, 0)) << "OK " << ok;
    }
    ::PostMessageW(w[0], WM_COMMAND, ID_CHANGE_COLOR, 0);
    AnswerPicker(true, own);
    EXPECT_TRUE(PumpUntil([&] { return BackgroundOf(w[0]) == own; }));
    EXPECT_EQ(BackgroundOf(w[1]), chosen);
}
