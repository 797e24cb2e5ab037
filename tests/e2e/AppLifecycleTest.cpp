// The real Umbrafen.exe started as a process and driven from outside: the single-instance
// rule, the settings written at exit, Reset All Parameters, its coloured windows.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <map>
#include "tests/e2e/AppProcess.h"
#include "tests/support/PromptStore.h"

namespace {

int CountWindowsTitled(LPCWSTR title)
{
    int n = 0;
    for (HWND h = nullptr; (h = ::FindWindowExW(nullptr, h, nullptr, title)) != nullptr;)
        n += ::IsWindowVisible(h) && WindowText(h) == title;   // the search ignores case
    return n;
}

class AppLifecycle : public ::testing::Test
{
protected:
    void SetUp() override { ::DeleteFileW(DataFilePath().c_str()); }
    void TearDown() override { ::DeleteFileW(DataFilePath().c_str()); }
};

struct Monitor
{
    RECT rc;
    std::wstring label;   // the friendly name the platform reports
};

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

// Coloured windows of the real program as other programs see them: top-level windows of
// its process with their rectangles and titles, click-through with Passthrough.
class ColoredWindowsFromOutside : public AppLifecycle
{
protected:
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
        for (const auto& [title, w] : windows) Settled(w);
        return windows;
    }

    const std::vector<Monitor> monitors = Monitors();
};

TEST_F(AppLifecycle, SecondStartRestoresTheFirstAndEndsWithoutAWindow)
{
    UmbrafenProcess first;
    HWND panel = first.WaitForPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(::GetWindowLongW(panel, GWLP_USERDATA), 0x312);
    // Asked again until it takes: under Wine a request from another process is now and then lost.
    ASSERT_TRUE(WaitFor([&] { return ::ShowWindow(panel, SW_MINIMIZE), ::IsIconic(panel) != FALSE; }, 5000));

    UmbrafenProcess second;
    ASSERT_TRUE(second.started);
    ASSERT_TRUE(second.WaitForExit()) << "the second instance must end by itself";
    EXPECT_FALSE(::IsIconic(panel)) << "the first instance's panel is restored";
    EXPECT_TRUE(::IsWindowVisible(panel));
    EXPECT_EQ(CountWindowsTitled(L"Umbrafen"), 1) << "no second control panel";
    EXPECT_FALSE(first.WaitForExit(0)) << "the first instance keeps running";
}

// Two starts at the same moment: one becomes the instance, the other ends by itself.
TEST_F(AppLifecycle, TwoSimultaneousStartsGiveOneInstance)
{
    UmbrafenProcess first, second;
    ASSERT_TRUE(first.started && second.started);
    ASSERT_TRUE(WaitFor([&] { return first.WaitForExit(0) || second.WaitForExit(0); }, 15000))
        << "neither start ended by itself";
    UmbrafenProcess& running = first.WaitForExit(0) ? second : first;
    ASSERT_NE(running.WaitForPanel(), nullptr);
    EXPECT_EQ(CountWindowsTitled(L"Umbrafen"), 1) << "no second control panel";
}

// Apart from the previous test: windows of this process keep Wine from minimising the panel for it.
TEST_F(AppLifecycle, WindowsThatOnlyLookLikeTheRunningInstanceAreIgnored)
{
    // Right title without the marker, and the marker with the title in another case.
    HWND impostor = ::CreateWindowExW(0, L"STATIC", L"Umbrafen", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    HWND wrongCase = ::CreateWindowExW(0, L"STATIC", L"umbrafen", WS_POPUP | WS_VISIBLE, 60, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(impostor && wrongCase);
    ::SetWindowLongW(wrongCase, GWLP_USERDATA, 0x312);
    UmbrafenProcess app;
    EXPECT_NE(app.WaitForPanel(), nullptr) << "the program must start its own control panel";
    ::DestroyWindow(impostor);
    ::DestroyWindow(wrongCase);
}

TEST_F(AppLifecycle, ClosingThePanelOrOkWritesPlacementAndOpacity)
{
    UmbrafenProcess app;
    ASSERT_TRUE(app.started);
    HWND panel = app.WaitForPanel();
    ASSERT_NE(panel, nullptr);

    ::SetWindowPos(panel, nullptr, 137, 91, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::SendMessageW(::GetDlgItem(panel, IDC_SLIDER_ALPHA), TBM_SETPOS, TRUE, 201);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    ASSERT_TRUE(::GetWindowPlacement(panel, &wp));

    ::PostMessageW(panel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit());

    const auto bytes = ReadFileBytes(DataFilePath());
    ASSERT_EQ(bytes.size(), 445u);
    EXPECT_EQ(bytes[16], 201) << "opacity";
    const RECT stored = At<RECT>(bytes, 333);
    EXPECT_TRUE(::EqualRect(&stored, &wp.rcNormalPosition));
    EXPECT_EQ(At<UINT>(bytes, 349), wp.showCmd);
    EXPECT_EQ(At<UINT>(bytes, 8), 1u) << "On Top keeps its fresh value";
    EXPECT_GT(At<int>(bytes, 285), 0) << "the first column's width is captured";

    // The next run comes up where this one was left.
    UmbrafenProcess again;
    HWND panel2 = again.WaitForPanel();
    ASSERT_NE(panel2, nullptr);
    RECT rc{};
    ::GetWindowRect(panel2, &rc);
    EXPECT_EQ(rc.left, wp.rcNormalPosition.left);
    EXPECT_EQ(rc.top, wp.rcNormalPosition.top);
    EXPECT_EQ(::SendMessageW(::GetDlgItem(panel2, IDC_SLIDER_ALPHA), TBM_GETPOS, 0, 0), 201);

    // Ending with OK stores the settings as any other close.
    ::SendMessageW(::GetDlgItem(panel2, IDC_SLIDER_ALPHA), TBM_SETPOS, TRUE, 99);
    ::PostMessageW(panel2, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(again.WaitForExit());
    EXPECT_EQ(ReadFileBytes(DataFilePath()).at(16), 99);
}

TEST_F(AppLifecycle, ResetAllParametersEndsTheProgramAndLeavesNoDataFile)
{
    {
        UmbrafenProcess first;   // a normal run leaves a data file behind
        HWND panel = first.WaitForPanel();
        ASSERT_NE(panel, nullptr);
        ::PostMessageW(panel, WM_CLOSE, 0, 0);
        ASSERT_TRUE(first.WaitForExit());
    }
    ASSERT_EQ(::GetFileAttributesW(DataFilePath().c_str()) != INVALID_FILE_ATTRIBUTES, true);

    UmbrafenProcess app;
    HWND panel = app.WaitForPanel();
    ASSERT_NE(panel, nullptr);
    ::PostMessageW(panel, WM_COMMAND, MAKEWPARAM(ID_RESET_ALL_PARAMETERS, 0), 0);

    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = app.MessageBox()) != nullptr; }, 10000))
        << "the program tells the user it will close";
    EXPECT_EQ(::GetFileAttributesW(DataFilePath().c_str()), INVALID_FILE_ATTRIBUTES) << "deleted before the message";
    AnswerOk(box);

    ASSERT_TRUE(app.WaitForExit());
    EXPECT_EQ(::GetFileAttributesW(DataFilePath().c_str()), INVALID_FILE_ATTRIBUTES) << "nothing written at exit";
}

TEST_F(AppLifecycle, ShortDataFileReportsOnceAndKeepsWhatWasRead)
{
    // Reserved0, WindowColor, OnTop, InAltTab: 16 bytes, then the file ends.
    const DWORD head[4] = {7, 0x00123456, 0, 0};
    std::wstring path = DataFilePath();
    ::CreateDirectoryW(path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
    {
        std::ofstream out(path.c_str(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(head), sizeof(head));
    }

    UmbrafenProcess app;
    ASSERT_TRUE(app.started);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = app.MessageBox()) != nullptr; }, 30000))
        << "the short file is reported";
    EXPECT_FALSE(MessageBoxText(box).empty());
    EXPECT_EQ(app.Panel(), nullptr) << "reported before the control panel opens";
    AnswerOk(box);

    HWND panel = app.WaitForPanel();
    ASSERT_NE(panel, nullptr) << "start-up goes on after the report";
    EXPECT_EQ(app.MessageBox(), nullptr) << "reported once";
    EXPECT_EQ(::IsDlgButtonChecked(panel, IDC_CHK_ON_TOP), BST_UNCHECKED) << "OnTop came from the file";
    EXPECT_EQ(::SendMessageW(::GetDlgItem(panel, IDC_SLIDER_ALPHA), TBM_GETPOS, 0, 0), 150) << "Alpha stays fresh";

    ::PostMessageW(panel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit());
    const auto bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 445u);
    EXPECT_EQ(At<DWORD>(bytes, 0), 7u);
    EXPECT_EQ(At<DWORD>(bytes, 4), 0x00123456u);
    EXPECT_EQ(bytes[16], 150);
    EXPECT_EQ(At<DWORD>(bytes, 21), 1u) << "Passthrough fresh";
}

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

// However the program is ended, with covers up or still starting, it exits with code 0
// and leaves no cover behind.
TEST_F(ColoredWindowsFromOutside, EveryWayOutEndsWithExitCodeZero)
{
    Suppress(PassthroughPromptKey);
    struct Case
    {
        const char* name;
        bool waitForCovers;
        std::function<void(HWND panel, const std::map<std::wstring, HWND>& covers)> close;
    };
    const Case cases[] = {
        {"Exit item, covers up", true, [](HWND panel, auto&) { ::PostMessageW(panel, WM_COMMAND, ID_EXIT, 0); }},
        {"Esc, covers starting", false, [](HWND panel, auto&) { ::PostMessageW(panel, WM_COMMAND, IDCANCEL, 0); }},
        {"a cover's Exit item", true,
         [](HWND, auto& covers) { ::PostMessageW(covers.begin()->second, WM_COMMAND, ID_COLORED_EXIT, 0); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        UmbrafenProcess app;
        HWND panel = app.WaitForPanel();
        ASSERT_NE(panel, nullptr);
        ::PostMessageW(panel, WM_COMMAND, ID_COLORED_WINDOW_ON_ALL_MONITORS, 0);
        std::map<std::wstring, HWND> covers;
        if (c.waitForCovers)
        {
            ASSERT_TRUE(WaitFor([&] { return (covers = ColoredWindows(app.pi.dwProcessId)).size() == monitors.size(); }));
        }
        c.close(panel, covers);
        ASSERT_TRUE(app.WaitForExit());
        DWORD code = 1;
        ::GetExitCodeProcess(app.pi.hProcess, &code);
        EXPECT_EQ(code, 0u);
    }
    RestorePrompt(PassthroughPromptKey);
}

} // namespace
