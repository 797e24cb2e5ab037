// The two colour pickers driven like a user would: the control panel's
// colour for new windows and a coloured window's own colour.
#include <windows.h>
#include <colordlg.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "colorwin/OpenWindowRegistry.h"
#include "display/HandleText.h"
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/PromptStore.h"

namespace {

// The colour a window paints its background with.
COLORREF BackgroundOf(HWND h)
{
    HDC dc = ::GetDC(h);
    auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(h, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(h)));
    ::ReleaseDC(h, dc);
    LOGBRUSH lb{};
    if (!brush || !::GetObjectW(brush, sizeof(lb), &lb)) return CLR_INVALID;
    return lb.lbColor;
}

// Answers one colour picker on a thread of its own: finds it by its title,
// notes its owner and icon, types a colour into its Red/Green/Blue boxes
// when asked to, and presses OK or Cancel.
class PickerDriver
{
public:
    PickerDriver(std::wstring title, bool ok, COLORREF type = CLR_INVALID)
        : m_title(std::move(title)), m_ok(ok), m_type(type), m_thread([this] { Run(); })
    {
    }
    ~PickerDriver() { m_thread.join(); }
    bool Done(DWORD timeoutMs = 10000) { return PumpUntil([&] { return m_done.load(); }, timeoutMs); }
    bool Found() const { return m_found; }
    HWND Owner() const { return m_owner; }
    bool HasIcons() const { return m_icons; }

private:
    static void Type(HWND dlg, int id, int value)
    {
        HWND edit = ::GetDlgItem(dlg, id);
        ::SendMessageW(edit, EM_SETSEL, 0, -1);
        for (wchar_t c : std::to_wstring(value)) ::SendMessageW(edit, WM_CHAR, c, 1);
    }

    void Run()
    {
        HWND dlg = nullptr;
        for (int i = 0; i < 1000 && !dlg; ++i)
        {
            for (HWND h : ProcessTopLevelWindows(L"#32770"))
            {
                WCHAR text[128] = {};
                ::GetWindowTextW(h, text, 128);
                if (::IsWindowVisible(h) && m_title == text) dlg = h;
            }
            if (!dlg) ::Sleep(10);
        }
        if (dlg)
        {
            m_found = true;
            m_owner = ::GetWindow(dlg, GW_OWNER);
            m_icons = ::SendMessageW(dlg, WM_GETICON, ICON_BIG, 0) && ::SendMessageW(dlg, WM_GETICON, ICON_SMALL, 0);
            if (m_type != CLR_INVALID)
            {
                Type(dlg, COLOR_RED, GetRValue(m_type));
                Type(dlg, COLOR_GREEN, GetGValue(m_type));
                Type(dlg, COLOR_BLUE, GetBValue(m_type));
            }
            const int id = m_ok ? IDOK : IDCANCEL;
            ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dlg, id)));
        }
        m_done = true;
    }

    std::wstring m_title;
    bool m_ok;
    COLORREF m_type;
    std::atomic<bool> m_done{false};
    bool m_found = false;
    HWND m_owner = nullptr;
    bool m_icons = false;
    std::thread m_thread;
};

constexpr COLORREF Initial = RGB(10, 20, 30);
constexpr COLORREF Chosen = RGB(200, 40, 90);

class ColorPicker : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetAppSettings();
        AppSettings.TurnOffMonitors = 0;
        AppSettings.WindowColor = Initial;
        Suppress(PassthroughPromptKey);
        Suppress(ColoredPromptKey);
        m_panel = std::make_unique<PanelThread>();
        ASSERT_NE(Panel(), nullptr);
        m_panel->Invoke([&] {
            for (int i = 0; i < 2; ++i) m_panel->Dialog()->m_list.SetCheck(i, TRUE);
        });
    }

    void TearDown() override
    {
        CloseAllColoredWindows();
        m_panel.reset();
        RestorePrompt(PassthroughPromptKey);
        RestorePrompt(ColoredPromptKey);
        ResetAppSettings();
    }

    HWND Panel() const { return m_panel->Hwnd(); }

    // Shows windows on both monitors and returns them once they are up.
    std::vector<HWND> Show(const std::vector<HWND>& old = {})
    {
        ClickButton(Panel(), IDC_BTN_SHOW_WINDOWS);
        return WaitForWindows(old);
    }

    // Both windows up, none of them in old.
    std::vector<HWND> WaitForWindows(const std::vector<HWND>& old = {})
    {
        std::vector<HWND> w;
        EXPECT_TRUE(PumpUntil(
            [&] {
                w = OpenWindowRegistry.GetWindows();
                if (w.size() != 2) return false;
                for (HWND h : w)
                {
                    DWORD_PTR r = 0;
                    if (!::IsWindowVisible(h) || !::SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &r))
                        return false;
                    for (HWND o : old)
                        if (o == h) return false;
                }
                return true;
            },
            10000));
        return w;
    }

    std::unique_ptr<PanelThread> m_panel;
};

} // namespace

// Only OK changes the colour, and only for windows shown afterwards.
TEST_F(ColorPicker, PanelPickerSetsTheColourOfWindowsShownLater)
{
    const std::vector<HWND> open = Show();
    ASSERT_EQ(open.size(), 2u);

    {
        PickerDriver cancel(L"Window Color - Umbrafen", false, Chosen);
        SendCommand(Panel(), ID_INITIAL_WINDOW_COLOR);
        ASSERT_TRUE(cancel.Done());
        ASSERT_TRUE(cancel.Found());
        EXPECT_EQ(cancel.Owner(), Panel());
        EXPECT_TRUE(cancel.HasIcons());
        EXPECT_EQ(AppSettings.WindowColor, Initial);
    }
    {
        // The picker opens on the current colour: OK alone keeps it.
        PickerDriver keep(L"Window Color - Umbrafen", true);
        SendCommand(Panel(), ID_INITIAL_WINDOW_COLOR);
        ASSERT_TRUE(keep.Done());
        ASSERT_TRUE(keep.Found());
        EXPECT_EQ(AppSettings.WindowColor, Initial);
    }
    {
        PickerDriver ok(L"Window Color - Umbrafen", true, Chosen);
        SendCommand(Panel(), ID_INITIAL_WINDOW_COLOR);
        ASSERT_TRUE(ok.Done());
        ASSERT_TRUE(ok.Found());
        EXPECT_EQ(AppSettings.WindowColor, Chosen);
    }
    for (HWND h : open) EXPECT_EQ(BackgroundOf(h), Initial) << "open windows keep their colour";

    const std::vector<HWND> next = Show(open);
    ASSERT_EQ(next.size(), 2u);
    for (HWND h : next) EXPECT_EQ(BackgroundOf(h), Chosen);
}

// A window's own picker recolours that window alone, keeps its opacity, and
// the colour is gone with the next re-show.
TEST_F(ColorPicker, WindowPickerRecoloursOnlyThatWindow)
{
    ::CheckDlgButton(Panel(), IDC_CHK_PASSTHROUGH, BST_UNCHECKED);   // windows that take input
    ::SendDlgItemMessageW(Panel(), IDC_SLIDER_ALPHA, TBM_SETPOS, TRUE, 180);
    const std::vector<HWND> w = Show();
    ASSERT_EQ(w.size(), 2u);

    {
        PickerDriver cancel(L"Select Color - Umbrafen", false, Chosen);
        ::PostMessageW(w[0], WM_COMMAND, ID_CHANGE_COLOR, 0);
        ASSERT_TRUE(cancel.Done());
        ASSERT_TRUE(cancel.Found());
        EXPECT_EQ(cancel.Owner(), w[0]);
        EXPECT_TRUE(cancel.HasIcons());
        ASSERT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(w[0]); })) << "the picker did not close";
        EXPECT_EQ(BackgroundOf(w[0]), Initial);
    }
    {
        PickerDriver ok(L"Select Color - Umbrafen", true, Chosen);
        ::PostMessageW(w[0], WM_COMMAND, ID_CHANGE_COLOR, 0);
        ASSERT_TRUE(ok.Done());
        ASSERT_TRUE(ok.Found());
        EXPECT_TRUE(PumpUntil([&] { return BackgroundOf(w[0]) == Chosen; }));
    }
    EXPECT_EQ(BackgroundOf(w[1]), Initial);
    EXPECT_EQ(AppSettings.WindowColor, Initial);
    BYTE alpha = 0;
    ::GetLayeredWindowAttributes(w[0], nullptr, &alpha, nullptr);
    EXPECT_EQ(alpha, 180);

    ClickButton(Panel(), IDC_CHK_PASSTHROUGH);   // an option change re-shows with the panel's colour
    const std::vector<HWND> again = WaitForWindows(w);
    ASSERT_EQ(again.size(), 2u);
    for (HWND h : again) EXPECT_EQ(BackgroundOf(h), Initial);
}
