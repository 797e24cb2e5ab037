// The control panel's own menu commands: list-font steps from the menu and the
// Ctrl+wheel, Autosize Columns, and the web links that go through the Browser Launcher.
#include <gtest/gtest.h>
#include "help/BrowserLauncher.h"
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "tests/support/GuiSupport.h"

namespace {

std::wstring ClipboardText()
{
    if (!::OpenClipboard(nullptr)) return L"<clipboard busy>";
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    const auto* p = data ? static_cast<const WCHAR*>(::GlobalLock(data)) : nullptr;
    std::wstring text = p ? p : L"";
    if (p) ::GlobalUnlock(data);
    ::CloseClipboard();
    return text;
}

class CommandMenu : public ::testing::Test
{
protected:
    void SetUp() override { ResetAppSettings(); }
    void TearDown() override
    {
        ResetAppSettings();
        for (HFONT f : m_fonts) ::DeleteObject(f);
    }

    static HWND List(HWND panel) { return ::GetDlgItem(panel, IDC_LIST_MONITORS); }

    static LOGFONTW ListFont(HWND panel) { return FontOf(List(panel)); }

    // Gives the list a font of the given height (owned by the test) and marks
    // AppSettings.ListFont so that any write to it shows.
    void PrepareFont(PanelThread& panel, LONG height)
    {
        LOGFONTW lf = ListFont(panel.Hwnd());
        lf.lfHeight = height;
        HFONT f = ::CreateFontIndirectW(&lf);
        m_fonts.push_back(f);
        ::SendMessageW(List(panel.Hwnd()), WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
        panel.Invoke([] {
            AppSettings.ListFont = LOGFONTW{};
            AppSettings.ListFont.lfHeight = 12345;
        });
    }

    static std::wstring Url(UINT id)
    {
        WCHAR text[256] = {};
        ::LoadStringW(::GetModuleHandleW(nullptr), id, text, 256);
        return text;
    }

    std::vector<HFONT> m_fonts;   // deleted after the panel has ended
};

TEST_F(CommandMenu, FontStepsFromMenuAndCtrlWheelStayWithinTheBoundsAndOnlyAppliedOnesAreStored)
{
    PanelThread panel;
    HWND h = panel.Hwnd();
    ASSERT_NE(h, nullptr);
    const std::wstring face = ListFont(h).lfFaceName;

    struct Case
    {
        LONG start;
        bool increment;
        LONG applied;   // 0: refused
    };
    const Case cases[] = {
        {-11, true, 0},      {-11, false, 0},     // -16 and -6 are both outside
        {-16, true, -21},    {-16, false, 0},
        {-25, false, 0},                          // the bound is -21, not -20
        {-150, true, 0},     {-150, false, -145},
        {-155, false, -150}, {-155, true, 0},     // from outside, only a step back inside counts
        {-160, false, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "from " << c.start << (c.increment ? " larger" : " smaller"));
        PrepareFont(panel, c.start);
        SendCommand(h, c.increment ? ID_INCREMENT_LIST_FONT : ID_DECREMENT_LIST_FONT);
        const LOGFONTW now = ListFont(h);
        if (c.applied)
        {
            EXPECT_EQ(now.lfHeight, c.applied);
            EXPECT_EQ(AppSettings.ListFont.lfHeight, c.applied);
            EXPECT_EQ(std::wstring(AppSettings.ListFont.lfFaceName), face) << "the whole font is stored";
            HGDIOBJ owned = nullptr;
            panel.Invoke([&] { owned = panel.Dialog()->m_listFont.m_hObject; });
            EXPECT_EQ(owned, reinterpret_cast<HGDIOBJ>(::SendMessageW(List(h), WM_GETFONT, 0, 0)));
        }
        else
        {
            EXPECT_EQ(now.lfHeight, c.start);
            EXPECT_EQ(AppSettings.ListFont.lfHeight, 12345) << "a refused step stores nothing";
        }
    }

    // Ctrl+wheel: one step per message whatever its delta; the plain wheel none.
    PrepareFont(panel, -26);
    auto wheel = [&](WORD keys, short delta) {
        ::SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(delta)), MAKELPARAM(100, 100));
        return ListFont(h).lfHeight;
    };
    EXPECT_EQ(wheel(MK_CONTROL, 480), -31) << "four notches in one message are one step";
    EXPECT_EQ(wheel(MK_CONTROL, -120), -26);
    EXPECT_EQ(wheel(MK_CONTROL, 0), -21) << "no delta counts as smaller";
    EXPECT_EQ(wheel(MK_CONTROL, 0), -21) << "and is bounded like any step";
    EXPECT_EQ(AppSettings.ListFont.lfHeight, -21);
    EXPECT_EQ(wheel(0, 120), -21);
    EXPECT_EQ(wheel(MK_SHIFT, -120), -21);
    EXPECT_EQ(AppSettings.ListFont.lfHeight, -21);
}

TEST_F(CommandMenu, AutosizeGivesTheDefaultLayoutForTheListsPresentWidth)
{
    PanelThread panel;
    HWND h = panel.Hwnd();
    ListView list(h, IDC_LIST_MONITORS);
    RECT rc{};
    ::GetWindowRect(list.Hwnd(), &rc);

    const std::pair<int, std::vector<int>> cases[] = {{500, {149, 55, 55, 55, 55, 111, 0}},
                                                      {1000, {298, 111, 111, 111, 111, 223, 1}}};
    for (const auto& c : cases)
    {
        ::SetWindowPos(list.Hwnd(), nullptr, 0, 0, c.first, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
        SendCommand(h, ID_AUTOSIZE_COLUMNS);
        EXPECT_EQ(list.ColumnWidths(), c.second) << "outer width " << c.first;
    }
}

// The three web links each open the launcher owned by the panel, showing their
// own address; Esc closes it and leaves the clipboard alone.
TEST_F(CommandMenu, WebLinksAndF1OpenTheLauncherOnTheirPage)
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
        SCOPED_TRACE(Url(link.url));
        // WM_HELP carries a pointer and cannot be posted: each request is sent
        // from a thread of its own, which returns when the launcher has closed.
        LRESULT result = 0;
        std::thread sender([&] { result = ::SendMessageW(h, link.msg, link.wp, link.lp); });
        HWND launcher = WaitForDialog(L"Browser Launcher - Umbrafen");
        EXPECT_NE(launcher, nullptr);
        if (launcher)
        {
            EXPECT_EQ(::GetWindow(launcher, GW_OWNER), h);
            EXPECT_NE(::SendMessageW(launcher, WM_GETICON, ICON_SMALL, 0), 0);
            WCHAR shownUrl[256] = {};
            ::GetDlgItemTextW(launcher, IDC_EDIT_URL, shownUrl, 256);
            EXPECT_EQ(std::wstring(shownUrl), Url(link.url));

            ::PostMessageW(launcher, WM_KEYDOWN, VK_ESCAPE, 0);
            EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(launcher) && ::IsWindowEnabled(h); }));
            if (::IsWindow(launcher)) ::PostMessageW(launcher, WM_CLOSE, 0, 0);
        }
        sender.join();
        if (link.msg == WM_HELP) { EXPECT_EQ(result, TRUE) << "WM_HELP is answered as handled"; }
        EXPECT_FALSE(::IsClipboardFormatAvailable(CF_UNICODETEXT)) << "Esc copies nothing";
    }
}

// The launcher's copy action, seen from the clipboard. Opening the browser
// (ShellExecuteW) is deliberately never triggered here.
TEST(BrowserLauncher, CopyPutsExactlyTheUrlOnTheClipboardAndCloses)
{
    ClearClipboard();

    MessageBoxWatcher boxes;
    // A URL long enough that a wrong length or a missing terminator would show.
    const std::wstring url = L"https://umbrafen.example.org/share?from=test&text=" + std::wstring(300, L'x') + L"\u00e9";
    std::thread ui([&] { ShowBrowserLauncher(url.c_str(), nullptr); });

    HWND launcher = WaitForDialog(L"Browser Launcher - Umbrafen");
    EXPECT_NE(launcher, nullptr);
    if (launcher)
    {
        EXPECT_TRUE(::GetWindowLongW(::GetDlgItem(launcher, IDC_EDIT_URL), GWL_STYLE) & ES_READONLY);
        ClickButton(launcher, IDC_BTN_COPY_URL);
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(launcher); })) << "the launcher closes after copying";
        if (::IsWindow(launcher)) ::PostMessageW(launcher, WM_CLOSE, 0, 0);
    }
    ui.join();

    EXPECT_EQ(ClipboardText(), url);
    EXPECT_EQ(boxes.Count(), 0u) << "no error message";
}

} // namespace
