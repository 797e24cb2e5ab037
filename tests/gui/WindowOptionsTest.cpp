// The option check boxes and the opacity trackbar of the real control panel:
// their prompts, the Passthrough/In Alt+Tab rules, the re-show of open
// windows with the new values, and the "?" button.
#include <windows.h>
#include <roapi.h>
#include <winstring.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "colorwin/OpenWindowRegistry.h"
#include "display/HandleText.h"
#include "help/HelpPopup.h"
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/PromptStore.h"

namespace {

const wchar_t* const OnTopPromptKey = L"1669EE73-6C2F-44EE-8960-8293136A79B9";
const wchar_t* const PassthroughOffPromptKey = L"5259886A-688A-4BCB-B915-8C60FEAD5CA3";
const wchar_t* const OnTopPromptText =
    L"When On Top is Unchecked,\n\nyou will be able to use Alt+Tab to switch to other Application / Document Window.";
const wchar_t* const PassthroughOffPromptText =
    L"When Passthrough is Unchecked, User Input (Mouse, Keyboard, etc) will not be passed to Window or Application "
    L"beneath Colored Window.\n\nYou will be able to Right Click on the Colored Window and Click on Close, Press Esc "
    L"or Alt+F4 and Close the Colored Window.";
const wchar_t* const PassthroughPromptText =
    L"To Close Passthrough Colored Window(s) about to be displayed,\n\nRight Click on the Main Screen of this "
    L"Software and then Click on Appropriate Menu Item or Close this Software.";
const wchar_t* const ColoredPromptText =
    L"To Close the Colored Window (about to be Displayed),\n\nRight Click on the Colored Window and then Click on "
    L"Close Menu Item.";
const wchar_t* const HelpText =
    L"To Close any Colored Window, you can Right Click on the Colored Window and then Click on Close.\n\nYou can also "
    L"Click on a Colored Window and press Esc or Alt + F4 Key to Close the Colored Window.\n\nTo Close a Passthrough "
    L"Colored Window, you can use Right Click on the Main Screen of this Software and Click on appropriate Menu "
    L"Item.\n\nIn case you have any question or concern, please write to support@umbrafen.example.org to get "
    L"assistance.";

const DWORD Watched = WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

struct Shown
{
    std::vector<HWND> windows;
    DWORD exStyle = 0;   // of the first window, the Watched bits
    BYTE alpha = 0;
};

class WindowOptions : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetAppSettings();
        AppSettings.TurnOffMonitors = 0;   // never switch the test desktop's displays off
        for (auto key : {OnTopPromptKey, PassthroughOffPromptKey, PassthroughPromptKey, ColoredPromptKey})
            RestorePrompt(key);
        m_panel = std::make_unique<PanelThread>();
        ASSERT_NE(Panel(), nullptr);
        m_panel->Invoke([&] {
            CListCtrl& list = m_panel->Dialog()->m_list;
            for (int i = 0; i < list.GetItemCount(); ++i)
                m_monitors.push_back(reinterpret_cast<HMONITOR>(list.GetItemData(i)));
        });
        ASSERT_EQ(m_monitors.size(), 2u);
    }

    void TearDown() override
    {
        CloseAllColoredWindows();
        m_panel.reset();
        for (auto key : {OnTopPromptKey, PassthroughOffPromptKey, PassthroughPromptKey, ColoredPromptKey})
            RestorePrompt(key);
        ResetAppSettings();
    }

    HWND Panel() const { return m_panel->Hwnd(); }
    HWND Item(int id) const { return ::GetDlgItem(Panel(), id); }
    bool Checked(int id) const { return ::IsDlgButtonChecked(Panel(), id) == BST_CHECKED; }

    void TickAllRows()
    {
        m_panel->Invoke([&] {
            for (int i = 0; i < 2; ++i) m_panel->Dialog()->m_list.SetCheck(i, TRUE);
        });
    }

    HWND WindowOf(HMONITOR monitor) const
    {
        CString value;
        if (!OpenWindowRegistry.Lookup(FormatHandleText(monitor), value)) return nullptr;
        return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(ParseHandleText(value)));
    }

    // Waits for a settled window on both monitors, none of them in `old`.
    Shown WaitForNewWindows(const std::vector<HWND>& old = {})
    {
        Shown s;
        const bool ok = PumpUntil(
            [&] {
                s.windows.clear();
                for (HMONITOR m : m_monitors)
                {
                    HWND h = WindowOf(m);
                    DWORD_PTR r = 0;
                    if (!h || !::IsWindowVisible(h) || !::SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &r))
                        return false;
                    for (HWND o : old)
                        if (o == h) return false;
                    s.windows.push_back(h);
                }
                return true;
            },
            10000);
        EXPECT_TRUE(ok) << "no fresh window on every monitor; registry holds " << OpenWindowRegistry.GetCount();
        if (!ok) return s;
        for (HWND o : old) EXPECT_FALSE(::IsWindow(o)) << "an old window was left open";
        s.exStyle = static_cast<DWORD>(::GetWindowLongPtrW(s.windows[0], GWL_EXSTYLE)) & Watched;
        ::GetLayeredWindowAttributes(s.windows[0], nullptr, &s.alpha, nullptr);
        return s;
    }

    // Drags the trackbar's thumb with the mouse to the left end of its channel
    // and lets go, as a user would; the trackbar then reports the release.
    void DragSliderToLeftEnd()
    {
        HWND slider = Item(IDC_SLIDER_ALPHA);
        RECT thumb{}, channel{};
        ::SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        ::SendMessageW(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
        const int y = (thumb.top + thumb.bottom) / 2;
        ::PostMessageW(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((thumb.left + thumb.right) / 2, y));
        ::PostMessageW(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(channel.left, y));
        ::PostMessageW(slider, WM_LBUTTONUP, 0, MAKELPARAM(channel.left, y));
    }

    std::unique_ptr<PanelThread> m_panel;
    std::vector<HMONITOR> m_monitors;
};

} // namespace

// With no window open every option change stays on the panel: its prompts
// and the Passthrough/In Alt+Tab rules, but no window and no show prompt.
TEST_F(WindowOptions, WithNoWindowOpenOptionsOnlyPromptAndTieInAltTabToPassthrough)
{
    TickAllRows();
    MessageBoxWatcher watcher;
    ASSERT_TRUE(Checked(IDC_CHK_ON_TOP));
    ASSERT_TRUE(Checked(IDC_CHK_PASSTHROUGH));
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_CHK_IN_ALT_TAB)));

    ClickButton(Panel(), IDC_CHK_ON_TOP);   // off: its prompt
    EXPECT_EQ(AppSettings.OnTop, 0);
    ClickButton(Panel(), IDC_CHK_ON_TOP);   // on: nothing
    EXPECT_EQ(AppSettings.OnTop, 1);
    EXPECT_EQ(watcher.Texts(), std::vector<std::wstring>{OnTopPromptText});

    ClickButton(Panel(), IDC_CHK_PASSTHROUGH);   // off: In Alt+Tab usable, still unticked
    EXPECT_EQ(watcher.Texts().back(), PassthroughOffPromptText);
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_CHK_IN_ALT_TAB)));
    EXPECT_FALSE(Checked(IDC_CHK_IN_ALT_TAB));

    ClickButton(Panel(), IDC_CHK_IN_ALT_TAB);
    EXPECT_EQ(AppSettings.InAltTab, 1);
    ClickButton(Panel(), IDC_CHK_PASSTHROUGH);   // on again: In Alt+Tab unticked and disabled
    EXPECT_EQ(AppSettings.Passthrough, 1);
    EXPECT_EQ(AppSettings.InAltTab, 0);
    EXPECT_FALSE(Checked(IDC_CHK_IN_ALT_TAB));
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_CHK_IN_ALT_TAB)));

    DragSliderToLeftEnd();
    ASSERT_TRUE(PumpUntil([&] { return ::SendMessageW(Item(IDC_SLIDER_ALPHA), TBM_GETPOS, 0, 0) == 50; }));
    ::SendMessageW(Panel(), WM_NULL, 0, 0);   // the release has been handled

    EXPECT_EQ(watcher.Texts(), (std::vector<std::wstring>{OnTopPromptText, PassthroughOffPromptText}));
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
}

// With windows open, each option change closes them and shows new ones on
// every ticked monitor with the new values; a re-show never minimises.
TEST_F(WindowOptions, WithWindowsOpenEachChangeReshowsThemWithTheNewValues)
{
    TickAllRows();
    ::CheckDlgButton(Panel(), IDC_CHK_AUTO_MINIMIZE, BST_UNCHECKED);
    MessageBoxWatcher watcher;
    ClickButton(Panel(), IDC_CHK_PASSTHROUGH);   // off, so that In Alt+Tab can be ticked
    ASSERT_EQ(OpenWindowRegistry.GetCount(), 0);
    ClickButton(Panel(), IDC_BTN_SHOW_WINDOWS);
    Shown s = WaitForNewWindows();
    ASSERT_EQ(s.windows.size(), 2u);
    EXPECT_EQ(s.exStyle, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    ::CheckDlgButton(Panel(), IDC_CHK_AUTO_MINIMIZE, BST_CHECKED);   // read by the next handler
    size_t prompts = watcher.Count();

    ClickButton(Panel(), IDC_CHK_IN_ALT_TAB);
    s = WaitForNewWindows(s.windows);
    ASSERT_EQ(s.windows.size(), 2u);
    EXPECT_EQ(s.exStyle, static_cast<DWORD>(WS_EX_TOPMOST));
    EXPECT_EQ(watcher.Texts().back(), ColoredPromptText) << "every re-show gives its show prompt";
    EXPECT_EQ(watcher.Count(), prompts + 1);
    EXPECT_FALSE(::IsIconic(Panel())) << "a re-show must not minimise the panel";

    prompts = watcher.Count();
    ClickButton(Panel(), IDC_CHK_ON_TOP);
    s = WaitForNewWindows(s.windows);
    ASSERT_EQ(s.windows.size(), 2u);
    EXPECT_EQ(s.exStyle, 0u);
    EXPECT_EQ(watcher.Texts().at(prompts), OnTopPromptText);

    ClickButton(Panel(), IDC_CHK_PASSTHROUGH);
    s = WaitForNewWindows(s.windows);
    ASSERT_EQ(s.windows.size(), 2u);
    EXPECT_EQ(s.exStyle, WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW) << "In Alt+Tab is cleared with Passthrough";
    EXPECT_EQ(watcher.Texts().back(), PassthroughPromptText);

    DragSliderToLeftEnd();
    s = WaitForNewWindows(s.windows);
    ASSERT_EQ(s.windows.size(), 2u);
    EXPECT_EQ(s.alpha, 50);
    EXPECT_EQ(AppSettings.Alpha, 50);
    EXPECT_FALSE(::IsIconic(Panel()));
}

// "?" never leaves the user with nothing: the runtime pop-up where the
// platform has it, otherwise the same text in a box owned by the panel.
TEST_F(WindowOptions, HelpButtonShowsTheHelpTextAtOnce)
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
    if (SUCCEEDED(probe))
    {
        EXPECT_TRUE(SUCCEEDED(hr));
        DWORD_PTR r = 0;
        EXPECT_TRUE(::SendMessageTimeoutW(Item(IDC_BTN_HELP), BM_CLICK, 0, 0, SMTO_NORMAL, 2000, &r));
        return;
    }
    EXPECT_TRUE(FAILED(hr)) << "no MessageDialog here (" << std::hex << probe << "), yet it reported success";

    ::PostMessageW(Item(IDC_BTN_HELP), BM_CLICK, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = FindMessageBox(L"To Close any Colored Window")) != nullptr; }));
    EXPECT_EQ(MessageBoxText(box), HelpText);
    EXPECT_EQ(::GetWindow(box, GW_OWNER), Panel());
    WCHAR caption[64] = {};
    ::GetWindowTextW(box, caption, 64);
    EXPECT_STREQ(caption, L"Umbrafen");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(box); }));
}
