// The real Umbrafen.exe started as a process and driven from outside, as a user's other programs see it:
// the single-instance rule, the data file at start and exit, Reset All Parameters, its coloured windows
// and its exit code.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include "tests/e2e/AppProcess.h"
#include "tests/support/PromptStore.h"

namespace {

int CountVisibleTitled(LPCWSTR title)
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

// A window with the title but not the mark, or the mark with the title in another case, is no instance;
// a second start restores the first one's panel and ends by itself; two starts at once give one instance.
TEST_F(AppLifecycle, OneInstanceRestoredByASecondStart)
{
    HWND impostor = ::CreateWindowExW(0, L"STATIC", L"Umbrafen", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                      nullptr, nullptr);
    HWND wrongCase = ::CreateWindowExW(0, L"STATIC", L"umbrafen", WS_POPUP | WS_VISIBLE, 60, 0, 50, 50, nullptr,
                                       nullptr, nullptr, nullptr);
    ::SetWindowLongW(wrongCase, GWLP_USERDATA, 0x312);
    {
        UmbrafenProcess first;
        HWND panel = first.WaitForDialog(true);
        ::DestroyWindow(impostor);
        ::DestroyWindow(wrongCase);
        ASSERT_NE(panel, nullptr) << "the program must start its own control panel";
        // Asked again until it takes: under Wine a request from another process is now and then lost.
        ASSERT_TRUE(WaitFor([&] { return ::ShowWindow(panel, SW_MINIMIZE), ::IsIconic(panel) != FALSE; }));
        UmbrafenProcess second;
        ASSERT_TRUE(second.Exited()) << "the second instance must end by itself";
        EXPECT_EQ(second.ExitCode(), 0u);
        EXPECT_FALSE(::IsIconic(panel)) << "the first instance's panel is restored";
        EXPECT_EQ(CountVisibleTitled(L"Umbrafen"), 1);
        EXPECT_FALSE(first.Exited(0));
    }
    UmbrafenProcess a, b;
    ASSERT_TRUE(WaitFor([&] { return a.Exited(0) || b.Exited(0); }, 15000)) << "neither start ended by itself";
    ASSERT_NE((a.Exited(0) ? b : a).WaitForDialog(true), nullptr);
    EXPECT_EQ(CountVisibleTitled(L"Umbrafen"), 1);
}

// A cut data file is reported once before the panel opens; what was read is kept, the rest is fresh, and
// the whole record is written at exit.
TEST_F(AppLifecycle, ShortDataFileReportsOnceAndKeepsWhatWasRead)
{
    const std::wstring path = DataFilePath();
    ::CreateDirectoryW(path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
    // Reserved0, WindowColor, OnTop, InAltTab: 16 bytes, then the file ends.
    ASSERT_TRUE(WriteAllBytes(path, {7, 0, 0, 0, 0x56, 0x34, 0x12, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    UmbrafenProcess app;
    HWND box = app.WaitForDialog(false);
    ASSERT_NE(box, nullptr) << "the short file is reported";
    EXPECT_EQ(MessageBoxText(box), L"Unexpected end of file while reading " + path + L".");
    EXPECT_EQ(app.Dialog(true), nullptr) << "reported before the control panel opens";
    Answer(box);
    HWND panel = app.WaitForDialog(true);
    ASSERT_NE(panel, nullptr) << "start-up goes on after the report";
    EXPECT_EQ(app.Dialog(false), nullptr) << "reported once";
    EXPECT_EQ(::IsDlgButtonChecked(panel, IDC_CHK_ON_TOP), BST_UNCHECKED) << "OnTop came from the file";
    EXPECT_EQ(::SendDlgItemMessageW(panel, IDC_SLIDER_ALPHA, TBM_GETPOS, 0, 0), 150) << "Alpha stays fresh";
    ::PostMessageW(panel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.Exited());
    const Bytes bytes = ReadAllBytes(path);
    ASSERT_EQ(bytes.size(), 445u);
    EXPECT_EQ((std::vector<DWORD>{At(bytes, 0), At(bytes, 4), bytes[16], At(bytes, 21)}),
              (std::vector<DWORD>{7, 0x123456, 150, 1}));
}

TEST_F(AppLifecycle, ResetAllParametersEndsTheProgramAndLeavesNoDataFile)
{
    const std::wstring path = DataFilePath();
    ::CreateDirectoryW(path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
    Bytes record(445, 0);
    record[21] = 1;   // Passthrough, so that no prompt comes at start
    ASSERT_TRUE(WriteAllBytes(path, record));
    UmbrafenProcess app;
    HWND panel = app.WaitForDialog(true);
    ASSERT_NE(panel, nullptr);
    ::PostMessageW(panel, WM_COMMAND, ID_RESET_ALL_PARAMETERS, 0);
    HWND box = app.WaitForDialog(false, 10000);
    ASSERT_NE(box, nullptr) << "the program tells the user it will close";
    EXPECT_FALSE(FileExists(DataFilePath())) << "deleted before the message";
    Answer(box);
    ASSERT_TRUE(app.Exited());
    EXPECT_FALSE(FileExists(DataFilePath())) << "nothing written at exit";
}

// Fresh settings (On Top, Passthrough): one window per monitor with its rectangle and title, which clicks
// go through; Close All leaves the program running. Without Passthrough the windows catch clicks; closing
// the panel closes them, ends the program and writes the data file.
TEST_F(AppLifecycle, CoversFromOutsideAndTheDataFileAtExit)
{
    // Wine reports both screens at the origin, each titled with its friendly name Displayn.
    const std::map<std::wstring, RECT> monitors = {{L"Display1 - Umbrafen", {0, 0, 1920, 1080}},
                                                   {L"Display2 - Umbrafen", {0, 0, 1280, 1024}}};
    UmbrafenProcess app;
    HWND panel = app.WaitForDialog(true);
    ASSERT_NE(panel, nullptr);
    auto show = [&](int command) {
        ::PostMessageW(panel, WM_COMMAND, command, 0);
        HWND prompt = app.WaitForDialog(false, 15000);
        EXPECT_NE(prompt, nullptr) << "a prompt comes before the windows";
        EXPECT_TRUE(app.Covers().empty()) << "no window before the prompt is answered";
        if (prompt) Answer(prompt);
        std::map<std::wstring, HWND> covers;
        WaitFor([&] { return (covers = app.Covers()).size() == monitors.size(); }, 15000);
        for (const auto& c : covers) Settled(c.second);
        return covers;
    };
    auto covers = show(ID_COLORED_WINDOW_ON_ALL_MONITORS);
    ASSERT_EQ(covers.size(), monitors.size());
    for (const auto& [title, expected] : monitors)
    {
        RECT rc{};
        ASSERT_TRUE(::GetWindowRect(covers[title], &rc)) << "no window titled for a monitor";
        EXPECT_TRUE(::EqualRect(&rc, &expected));
    }
    const POINT center{640, 512};   // on both windows
    auto hitsCover = [&] {
        for (const auto& c : covers)
            if (::WindowFromPoint(center) == c.second) return true;
        return false;
    };
    EXPECT_FALSE(hitsCover()) << "a Passthrough window takes no clicks";
    ::PostMessageW(panel, WM_COMMAND, IDC_BTN_CLOSE_ALL_WINDOWS, 0);
    EXPECT_TRUE(WaitFor([&] { return app.Covers().empty(); }));
    EXPECT_FALSE(app.Exited(0)) << "Close All leaves the program running";

    ::SendDlgItemMessageW(panel, IDC_CHK_PASSTHROUGH, BM_SETCHECK, BST_UNCHECKED, 0);
    ::SendDlgItemMessageW(panel, IDC_CHK_ON_TOP, BM_SETCHECK, BST_UNCHECKED, 0);
    ::PostMessageW(panel, WM_COMMAND, IDC_BTN_CHECK_ALL, 0);
    covers = show(IDC_BTN_SHOW_WINDOWS);
    ASSERT_EQ(covers.size(), monitors.size());
    EXPECT_TRUE(hitsCover()) << "without Passthrough the window catches the click";
    ::SetWindowPos(panel, nullptr, 137, 91, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::SendDlgItemMessageW(panel, IDC_SLIDER_ALPHA, TBM_SETPOS, TRUE, 201);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    ASSERT_TRUE(::GetWindowPlacement(panel, &wp));
    ::PostMessageW(panel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.Exited()) << "the close sequence ends the program";
    EXPECT_TRUE(app.Covers().empty());
    Bytes bytes = ReadAllBytes(DataFilePath());
    ASSERT_EQ(bytes.size(), 445u);
    EXPECT_EQ(bytes[16], 201) << "opacity";
    EXPECT_EQ(At(bytes, 21), 0u) << "Passthrough off is remembered";
    EXPECT_EQ(At(bytes, 45), 1u) << "the first row's tick is remembered";
    const RECT stored{LONG(At(bytes, 333)), LONG(At(bytes, 337)), LONG(At(bytes, 341)), LONG(At(bytes, 345))};
    EXPECT_TRUE(::EqualRect(&stored, &wp.rcNormalPosition));
    EXPECT_GT(At(bytes, 285), 0u) << "the first column's width is captured";
}

// However the program is ended, with covers up or still starting, it exits with code 0 and leaves no cover.
TEST_F(AppLifecycle, EveryWayOutEndsWithExitCodeZero)
{
    Suppress(PassthroughPromptKey);
    const std::pair<const char*, int> cases[] = {{"Exit item, covers up", ID_EXIT},
                                                 {"Esc, covers starting", IDCANCEL},
                                                 {"a cover's Exit item", ID_COLORED_EXIT}};
    for (const auto& [name, command] : cases)
    {
        SCOPED_TRACE(name);
        UmbrafenProcess app;
        HWND panel = app.WaitForDialog(true);
        ASSERT_NE(panel, nullptr);
        ::PostMessageW(panel, WM_COMMAND, ID_COLORED_WINDOW_ON_ALL_MONITORS, 0);
        if (command != IDCANCEL)
        {
            ASSERT_TRUE(WaitFor([&] { return app.Covers().size() == 2; }));
        }
        ::PostMessageW(command == ID_COLORED_EXIT ? app.Covers().begin()->second : panel, WM_COMMAND, command, 0);
        ASSERT_TRUE(app.Exited());
        EXPECT_EQ(app.ExitCode(), 0u);
    }
    RestorePrompt(PassthroughPromptKey);
}

}   // namespace
