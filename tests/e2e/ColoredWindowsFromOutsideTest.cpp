// Coloured windows of the real program as other programs see them: top-level
// windows of its process with the option styles, opacity, rectangles and
// titles, click-through with Passthrough, closed by the panel's commands.
#include <gtest/gtest.h>
#include <windows.h>
#include <map>
#include "tests/e2e/AppProcess.h"

namespace {

struct Monitor
{
    RECT rc;
    std::wstring label;   // the friendly name the platform reports
};

// The coloured windows of the process: its visible windows other than dialogs
// with controls, keyed by title.
std::map<std::wstring, HWND> ColoredWindows(DWORD pid)
{
    std::map<std::wstring, HWND> found;
    for (HWND h : TopLevelWindows(pid, L"#32770"))
    {
        WCHAR title[128] = {};
        ::GetWindowTextW(h, title, 128);
        if (::IsWindowVisible(h) && !::GetWindow(h, GW_CHILD) && std::wstring(title).ends_with(L" - Umbrafen"))
            found[title] = h;
    }
    return found;
}

std::vector<Monitor> Monitors()
{
    std::vector<Monitor> monitors;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR m, HDC, LPRECT, LPARAM lp) -> BOOL {
            MONITORINFOEXW mi{};
            mi.cbSize = sizeof(mi);
            ::GetMonitorInfoW(m, &mi);
            std::wstring name = mi.szDevice;   // \\.\DISPLAYn; Wine's friendly name is Displayn
            reinterpret_cast<std::vector<Monitor>*>(lp)->push_back({mi.rcMonitor, L"Display" + name.substr(name.size() - 1)});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

class ColoredWindowsFromOutside : public ::testing::Test
{
protected:
    void SetUp() override { ::DeleteFileW(DataFilePath().c_str()); }
    void TearDown() override { ::DeleteFileW(DataFilePath().c_str()); }

    // Shows the windows with a command and answers the prompt that comes first.
    std::map<std::wstring, HWND> Show(UmbrafenProcess& app, HWND panel, int command)
    {
        ::PostMessageW(panel, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        HWND prompt = app.WaitForMessageBox();
        EXPECT_NE(prompt, nullptr) << "a prompt comes before the windows";
        EXPECT_TRUE(ColoredWindows(app.pi.dwProcessId).empty()) << "no window before the prompt is answered";
        if (prompt) AnswerOk(prompt);
        std::map<std::wstring, HWND> windows;
        WaitFor([&] { return (windows = ColoredWindows(app.pi.dwProcessId)).size() == monitors.size(); }, 15000);
        // A window's thread answers a sent message only once its initialisation is over.
        for (const auto& [title, w] : windows)
        {
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
        }
        return windows;
    }

    const std::vector<Monitor> monitors = Monitors();
};

TEST_F(ColoredWindowsFromOutside, PassthroughWindowsCoverEveryMonitorAndLetClicksThrough)
{
    UmbrafenProcess app;
    HWND panel = app.WaitForPanel();
    ASSERT_NE(panel, nullptr);
    ::SendMessageW(::GetDlgItem(panel, IDC_SLIDER_ALPHA), TBM_SETPOS, TRUE, 255);

    // Fresh settings: On Top and Passthrough on, In Alt+Tab off.
    auto windows = Show(app, panel, ID_COLORED_WINDOW_ON_ALL_MONITORS);
    ASSERT_EQ(windows.size(), monitors.size());
    for (const Monitor& m : monitors)
    {
        SCOPED_TRACE(::testing::Message() << "monitor " << m.rc.right << "x" << m.rc.bottom);
        HWND w = windows[m.label + L" - Umbrafen"];
        ASSERT_NE(w, nullptr);
        RECT rc{};
        ::GetWindowRect(w, &rc);
        EXPECT_TRUE(::EqualRect(&rc, &m.rc));
        const DWORD ex = static_cast<DWORD>(::GetWindowLongPtrW(w, GWL_EXSTYLE));
        EXPECT_EQ(ex & (WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST),
                  static_cast<DWORD>(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
        BYTE alpha = 0;
        DWORD flags = 0;
        ASSERT_TRUE(::GetLayeredWindowAttributes(w, nullptr, &alpha, &flags));
        EXPECT_EQ(alpha, 240) << "opacity 255 is capped with Passthrough";
        EXPECT_TRUE(flags & LWA_ALPHA);
    }
    POINT center{monitors[0].rc.right / 2, monitors[0].rc.bottom / 2};
    HWND hit = ::WindowFromPoint(center);
    for (const auto& [title, w] : windows) EXPECT_NE(hit, w) << "a Passthrough window takes no clicks";

    ::PostMessageW(panel, WM_COMMAND, MAKEWPARAM(IDC_BTN_CLOSE_ALL_WINDOWS, BN_CLICKED), 0);
    EXPECT_TRUE(WaitFor([&] { return ColoredWindows(app.pi.dwProcessId).empty(); }));
    EXPECT_FALSE(app.WaitForExit(0)) << "Close All leaves the program running";
}

TEST_F(ColoredWindowsFromOutside, OpaqueWindowsCatchClicksAndCloseWithThePanel)
{
    UmbrafenProcess app;
    HWND panel = app.WaitForPanel();
    ASSERT_NE(panel, nullptr);
    // The user unticks Passthrough and On Top, ticks every monitor, then Show Window(s).
    ::SendMessageW(::GetDlgItem(panel, IDC_CHK_PASSTHROUGH), BM_SETCHECK, BST_UNCHECKED, 0);
    ::SendMessageW(::GetDlgItem(panel, IDC_CHK_ON_TOP), BM_SETCHECK, BST_UNCHECKED, 0);
    ::PostMessageW(panel, WM_COMMAND, MAKEWPARAM(IDC_BTN_CHECK_ALL, BN_CLICKED), 0);

    auto windows = Show(app, panel, IDC_BTN_SHOW_WINDOWS);
    ASSERT_EQ(windows.size(), monitors.size());
    for (const auto& [title, w] : windows)
    {
        SCOPED_TRACE(::testing::Message() << "window " << std::string(title.begin(), title.end()));
        const DWORD ex = static_cast<DWORD>(::GetWindowLongPtrW(w, GWL_EXSTYLE));
        EXPECT_TRUE(ex & WS_EX_LAYERED);
        EXPECT_FALSE(ex & (WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOPMOST));
        EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
        BYTE alpha = 0;
        ASSERT_TRUE(::GetLayeredWindowAttributes(w, nullptr, &alpha, nullptr));
        EXPECT_EQ(alpha, 150) << "the fresh opacity";
    }
    // The smaller monitor's centre lies on both windows; the top one takes the click.
    POINT center{monitors.back().rc.right / 2, monitors.back().rc.bottom / 2};
    HWND hit = ::WindowFromPoint(center);
    bool hitColored = false;
    for (const auto& [title, w] : windows) hitColored |= hit == w;
    EXPECT_TRUE(hitColored) << "without Passthrough the window catches the click";

    ::PostMessageW(panel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit()) << "the close sequence ends the program";
    EXPECT_TRUE(ColoredWindows(app.pi.dwProcessId).empty());
    const auto bytes = ReadFileBytes(DataFilePath());
    ASSERT_EQ(bytes.size(), 445u);
    EXPECT_EQ(At<DWORD>(bytes, 21), 0u) << "Passthrough off is remembered";
    EXPECT_EQ(At<DWORD>(bytes, 45), 1u) << "the first row's tick is remembered";
}

} // namespace
