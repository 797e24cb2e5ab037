// Coloured windows of the real program as other programs see them: top-level
// windows of its process with their rectangles and titles, click-through with
// Passthrough, closed by the panel's commands.
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

// Fresh settings (On Top and Passthrough on): one window per monitor with its rectangle
// and title, which clicks go through; Close All leaves the program running. Then
// without Passthrough the windows catch clicks, and closing the panel closes them,
// ends the program and writes the data file.
TEST_F(ColoredWindowsFromOutside, WindowsCoverEachMonitorAndCloseWithTheCommandsAndThePanel)
{
    UmbrafenProcess app;
    HWND panel = app.WaitForPanel();
    ASSERT_NE(panel, nullptr);
    auto windows = Show(app, panel, ID_COLORED_WINDOW_ON_ALL_MONITORS);
    ASSERT_EQ(windows.size(), monitors.size());
    for (const Monitor& m : monitors)
    {
        HWND w = windows[m.label + L" - Umbrafen"];
        ASSERT_NE(w, nullptr) << "no window titled for " << std::string(m.label.begin(), m.label.end());
        RECT rc{};
        ::GetWindowRect(w, &rc);
        EXPECT_TRUE(::EqualRect(&rc, &m.rc));
    }
    // The smaller monitor's centre lies on both windows.
    const POINT center{monitors.back().rc.right / 2, monitors.back().rc.bottom / 2};
    auto hitsColored = [&] {
        bool hit = false;
        for (const auto& [title, w] : windows) hit |= ::WindowFromPoint(center) == w;
        return hit;
    };
    EXPECT_FALSE(hitsColored()) << "a Passthrough window takes no clicks";
    ::PostMessageW(panel, WM_COMMAND, MAKEWPARAM(IDC_BTN_CLOSE_ALL_WINDOWS, BN_CLICKED), 0);
    EXPECT_TRUE(WaitFor([&] { return ColoredWindows(app.pi.dwProcessId).empty(); }));
    EXPECT_FALSE(app.WaitForExit(0)) << "Close All leaves the program running";

    // The user unticks Passthrough and On Top, ticks every monitor, then Show Window(s).
    ::SendMessageW(::GetDlgItem(panel, IDC_CHK_PASSTHROUGH), BM_SETCHECK, BST_UNCHECKED, 0);
    ::SendMessageW(::GetDlgItem(panel, IDC_CHK_ON_TOP), BM_SETCHECK, BST_UNCHECKED, 0);
    ::PostMessageW(panel, WM_COMMAND, MAKEWPARAM(IDC_BTN_CHECK_ALL, BN_CLICKED), 0);
    windows = Show(app, panel, IDC_BTN_SHOW_WINDOWS);
    ASSERT_EQ(windows.size(), monitors.size());
    EXPECT_TRUE(hitsColored()) << "without Passthrough the window catches the click";

    ::PostMessageW(panel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit()) << "the close sequence ends the program";
    EXPECT_TRUE(ColoredWindows(app.pi.dwProcessId).empty());
    const auto bytes = ReadFileBytes(DataFilePath());
    ASSERT_EQ(bytes.size(), 445u);
    EXPECT_EQ(At<DWORD>(bytes, 21), 0u) << "Passthrough off is remembered";
    EXPECT_EQ(At<DWORD>(bytes, 45), 1u) << "the first row's tick is remembered";
}

} // namespace
