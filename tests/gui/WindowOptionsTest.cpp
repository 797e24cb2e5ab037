// The window options, the "?" button and the colour pickers of the real
// control panel, with coloured windows open and without.
#include <windows.h>
#include <colordlg.h>
#include <roapi.h>
#include <winstring.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

#include "colorwin/OpenWindowRegistry.h"
#include "help/HelpPopup.h"
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/PromptStore.h"

namespace {

const wchar_t* const OnTopPromptText =
    L"When On Top is Unchecked,\n\nyou will be able to use Alt+Tab to switch to other Application / Document Window.";
const wchar_t* const HelpText =
    L"To Close any Colored Window, you can Right Click on the Colored Window and then Click on Close.\n\nYou can also "
    L"Click on a Colored Window and press Esc or Alt + F4 Key to Close the Colored Window.\n\nTo Close a Passthrough "
    L"Colored Window, you can use Right Click on the Main Screen of this Software and Click on appropriate Menu "
    L"Item.\n\nIn case you have any question or concern, please write to support@umbrafen.example.org to get "
    L"assistance.";
constexpr COLORREF Initial = RGB(10, 20, 30), Chosen = RGB(200, 40, 90);

BYTE Alpha(HWND h)
{
    BYTE alpha = 0;
    ::GetLayeredWindowAttributes(h, nullptr, &alpha, nullptr);
    return alpha;
}

// The colour a window paints its background with.
COLORREF BackgroundOf(HWND h)
{
    HDC dc = ::GetDC(h);
    auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(h, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), 0));
    ::ReleaseDC(h, dc);
    LOGBRUSH lb{};
    return brush && ::GetObjectW(brush, sizeof(lb), &lb) ? lb.lbColor : CLR_INVALID;
}

// Answers one colour picker from a thread of its own: notes its title, owner
// and icon, types a colour into its Red/Green/Blue boxes when given one, and
// presses OK or Cancel.
struct PickerDriver
{
    PickerDriver(bool ok, COLORREF type = CLR_INVALID)
        : thread([=, this] {
              HWND dlg = nullptr;
              for (int i = 0; i < 1000 && !dlg; ++i, ::Sleep(10))
                  for (HWND h : ProcessTopLevelWindows(L"#32770"))
                      if (::IsWindowVisible(h) && ::GetDlgItem(h, COLOR_RED)) dlg = h;
              if (!dlg) return void(done = true);
              title = WindowText(dlg);
              owner = ::GetWindow(dlg, GW_OWNER);
              icons = ::SendMessageW(dlg, WM_GETICON, ICON_BIG, 0) && ::SendMessageW(dlg, WM_GETICON, ICON_SMALL, 0);
              for (int id : {COLOR_RED, COLOR_GREEN, COLOR_BLUE})
              {
                  if (type == CLR_INVALID) break;
                  const int v = id == COLOR_RED     ? GetRValue(type)
                                : id == COLOR_GREEN ? GetGValue(type)
                                                    : GetBValue(type);
                  ::SendDlgItemMessageW(dlg, id, EM_SETSEL, 0, -1);
                  for (wchar_t c : std::to_wstring(v)) ::SendDlgItemMessageW(dlg, id, WM_CHAR, c, 1);
              }
              ::PostMessageW(dlg, WM_COMMAND, ok ? IDOK : IDCANCEL, 0);
              done = true;
          })
    {}
    ~PickerDriver() { thread.join(); }
    bool Done()
    {
        return PumpUntil([&] { return done.load(); }, 15000) && owner;
    }

    std::atomic<bool> done{false};
    std::wstring title;
    HWND owner = nullptr;
    bool icons = false;
    std::thread thread;
};

class WindowOptions : public PanelTest
{
protected:
    void BeforeOpen() override { AppSettings.WindowColor = Initial; }
    void SetUp() override
    {
        PanelTest::SetUp();
        Tick({true, true});
    }

    bool Checked(int id) const { return ::IsDlgButtonChecked(Panel(), id) == BST_CHECKED; }
};

}   // namespace

// With no window open every option change stays on the panel: its prompts
// and the Passthrough/In Alt+Tab rules, but no window and no show prompt.
TEST_F(WindowOptions, WithNoWindowOpenOptionsOnlyPromptAndTieInAltTabToPassthrough)
{
    MessageBoxWatcher watcher;
    ASSERT_TRUE(Checked(IDC_CHK_ON_TOP) && Checked(IDC_CHK_PASSTHROUGH));
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_CHK_IN_ALT_TAB)));

    ClickButton(Panel(), IDC_CHK_ON_TOP);   // off: its prompt
    EXPECT_EQ(AppSettings.OnTop, 0);
    ClickButton(Panel(), IDC_CHK_ON_TOP);   // on: nothing
    EXPECT_EQ(watcher.Texts(), std::vector<std::wstring>{OnTopPromptText});

    ClickButton(Panel(), IDC_CHK_PASSTHROUGH);   // off: In Alt+Tab usable, still unticked
    ASSERT_EQ(watcher.Count(), 2u);
    EXPECT_TRUE(watcher.Texts()[1].starts_with(L"When Passthrough is Unchecked"));
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_CHK_IN_ALT_TAB)));
    EXPECT_FALSE(Checked(IDC_CHK_IN_ALT_TAB));

    ClickButton(Panel(), IDC_CHK_IN_ALT_TAB);
    EXPECT_EQ(AppSettings.InAltTab, 1);
    ClickButton(Panel(), IDC_CHK_PASSTHROUGH);   // on again: In Alt+Tab unticked and disabled
    EXPECT_EQ(AppSettings.InAltTab, 0);
    EXPECT_FALSE(Checked(IDC_CHK_IN_ALT_TAB));
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_CHK_IN_ALT_TAB)));

    DragSliderToLeftEnd(Item(IDC_SLIDER_ALPHA));
    ASSERT_TRUE(PumpUntil([&] { return ::SendMessageW(Item(IDC_SLIDER_ALPHA), TBM_GETPOS, 0, 0) == 50; }));
    ::SendMessageW(Panel(), WM_NULL, 0, 0);   // the release has been handled
    EXPECT_EQ(watcher.Count(), 2u);
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
}

// "?" never leaves the user with nothing: the runtime pop-up where the
// platform has it, otherwise the same text in a box owned by the panel.
TEST_F(WindowOptions, HelpButtonShowsTheHelpText)
{
    HSTRING cls = nullptr;
    ::WindowsCreateString(L"Windows.UI.Popups.MessageDialog", 31, &cls);
    IUnknown* factory = nullptr;
    const HRESULT probe = ::RoGetActivationFactory(cls, __uuidof(IUnknown), reinterpret_cast<void**>(&factory));
    ::WindowsDeleteString(cls);
    if (factory) factory->Release();

    const ULONGLONG start = ::GetTickCount64();
    const HRESULT hr = ShowHelpPopup(Panel(), HelpText);
    EXPECT_LT(::GetTickCount64() - start, 2000u) << "ShowHelpPopup must not wait for the user";
    EXPECT_EQ(SUCCEEDED(hr), SUCCEEDED(probe)) << std::hex << hr << " " << probe;
    if (SUCCEEDED(probe)) return;   // a real pop-up: nothing here can dismiss it

    ::PostMessageW(Item(IDC_BTN_HELP), BM_CLICK, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = FindMessageBox(L"To Close any Colored Window")) != nullptr; }));
    EXPECT_EQ(MessageBoxText(box), HelpText);
    EXPECT_EQ(::GetWindow(box, GW_OWNER), Panel());
    EXPECT_EQ(WindowText(box), L"Umbrafen");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// A press on an empty part of the panel grabs it like its caption: real
// mouse input, pressed, moved and released.
TEST_F(WindowOptions, DraggingAnEmptyPartOfThePanelMovesIt)
{
    RECT gap{262, 100, 262, 100};   // between the list and the option column
    ::MapDialogRect(Panel(), &gap);
    POINT from{gap.left, gap.top};
    ASSERT_EQ(::ChildWindowFromPointEx(Panel(), from, CWP_SKIPINVISIBLE), Panel());
    ::ClientToScreen(Panel(), &from);
    RECT before{}, after{};
    ::GetWindowRect(Panel(), &before);
    auto at = [](int x, int y, DWORD flags) {
        INPUT in{INPUT_MOUSE, {}};
        in.mi.dx = MulDiv(x - ::GetSystemMetrics(SM_XVIRTUALSCREEN), 65535, ::GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1);
        in.mi.dy = MulDiv(y - ::GetSystemMetrics(SM_YVIRTUALSCREEN), 65535, ::GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1);
        in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
        return in;
    };
    INPUT press[] = {at(from.x, from.y, 0), at(from.x, from.y, MOUSEEVENTF_LEFTDOWN)};
    ASSERT_EQ(::SendInput(2, press, sizeof(INPUT)), 2u);
    PumpUntil([] { return false; }, 200);
    // One step at a time: Wine's move loop may drop a move that comes together with the release.
    for (INPUT step : {at(from.x + 30, from.y + 20, 0), at(from.x + 60, from.y + 40, 0),
                       at(from.x + 60, from.y + 40, MOUSEEVENTF_LEFTUP)})
    {
        ASSERT_EQ(::SendInput(1, &step, sizeof(INPUT)), 1u);
        PumpUntil([] { return false; }, 100);
    }
    EXPECT_TRUE(PumpUntil([&] {
        ::GetWindowRect(Panel(), &after);
        return std::abs(after.left - before.left - 60) <= 2 && std::abs(after.top - before.top - 40) <= 2;
    })) << "panel went from "
        << before.left << "," << before.top << " to " << after.left << "," << after.top;
}

// The panel's picker changes the colour only with OK, and only for windows shown
// afterwards; a window's own picker recolours that window alone, keeps its opacity
// and stores nothing, and its colour is gone with the next re-show.
TEST_F(WindowOptions, PanelPickerColoursLaterWindowsAndAWindowsPickerOnlyItself)
{
    const COLORREF Own = RGB(1, 150, 2);
    Suppress(PassthroughPromptKey);
    Suppress(ColoredPromptKey);
    ::CheckDlgButton(Panel(), IDC_CHK_PASSTHROUGH, BST_UNCHECKED);   // windows that take input
    ::SendDlgItemMessageW(Panel(), IDC_SLIDER_ALPHA, TBM_SETPOS, TRUE, 180);
    ClickButton(Panel(), IDC_BTN_SHOW_WINDOWS);
    const std::vector<HWND> w = WaitForWindows({0, 1});
    ASSERT_EQ(w.size(), 2u);

    for (auto [ok, type, expected] :
         {std::tuple{false, Chosen, Initial}, {true, CLR_INVALID, Initial}, {true, Chosen, Chosen}})
    {
        SCOPED_TRACE(testing::Message() << "OK " << ok << " typed " << type);
        PickerDriver picker(ok, type);
        SendCommand(Panel(), ID_INITIAL_WINDOW_COLOR);
        ASSERT_TRUE(picker.Done());
        EXPECT_EQ(picker.title, L"Window Color - Umbrafen");
        EXPECT_EQ(picker.owner, Panel());
        EXPECT_TRUE(picker.icons);
        EXPECT_EQ(AppSettings.WindowColor, expected) << "the picker opens on the current colour";
    }
    for (bool ok : {false, true})
    {
        PickerDriver picker(ok, Own);
        ::PostMessageW(w[0], WM_COMMAND, ID_CHANGE_COLOR, 0);
        ASSERT_TRUE(picker.Done());
        EXPECT_EQ(picker.title, L"Select Color - Umbrafen");
        EXPECT_EQ(picker.owner, w[0]);
        EXPECT_TRUE(picker.icons);
        ASSERT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(w[0]); })) << "the picker did not close";
        EXPECT_EQ(BackgroundOf(w[0]), ok ? Own : Initial);
    }
    EXPECT_EQ(BackgroundOf(w[1]), Initial) << "open windows keep their colour";
    EXPECT_EQ(AppSettings.WindowColor, Chosen);
    EXPECT_EQ(Alpha(w[0]), 180);

    ClickButton(Panel(), IDC_CHK_PASSTHROUGH);   // an option change re-shows with the panel's colour
    for (HWND h : WaitForWindows({0, 1}, w)) EXPECT_EQ(BackgroundOf(h), Chosen);
}
