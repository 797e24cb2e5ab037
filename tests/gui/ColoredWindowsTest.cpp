// Coloured windows shown, styled and closed through the real control panel on
// the two-monitor virtual desktop; every window runs on a thread of its own.
#include <windows.h>
#include <tlhelp32.h>
#include <thread>
#include <gtest/gtest.h>
#include "colorwin/OpenWindowRegistry.h"
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/PromptStore.h"
#include "tests/unit/TempFolder.h"

namespace {

const wchar_t* const NoMonitorText =
    L"Please Check Monitor(s)\n\non which you want to\n\nDisplay Colored Window(s) and then try again.\n\n"
    L"Alternatively Right Click on the Main Screen of this Software and then Click on Appropriate Menu Item.";
const wchar_t* const PassthroughPromptText =
    L"To Close Passthrough Colored Window(s) about to be displayed,\n\nRight Click on the Main Screen of this "
    L"Software and then Click on Appropriate Menu Item or Close this Software.";
const wchar_t* const ColoredPromptText =
    L"To Close the Colored Window (about to be Displayed),\n\nRight Click on the Colored Window and then Click on "
    L"Close Menu Item.";

int ProcessThreadCount()
{
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 te{};
    te.dwSize = sizeof(te);
    int n = 0;
    for (BOOL ok = ::Thread32First(snap, &te); ok; ok = ::Thread32Next(snap, &te))
        n += te.th32OwnerProcessID == ::GetCurrentProcessId();
    ::CloseHandle(snap);
    return n;
}

// Waits until the window's thread has taken every message posted to it so far:
// a marker posted last is seen by a message hook once everything before it is handled.
std::atomic<bool> g_markerSeen{false};
constexpr WPARAM Marker = 0x554D4246;

bool DrainPosted(HWND h)
{
    g_markerSeen = false;
    HHOOK hook = ::SetWindowsHookExW(
        WH_GETMESSAGE,
        [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
            const MSG* msg = reinterpret_cast<const MSG*>(lp);
            if (code == HC_ACTION && msg->message == WM_NULL && msg->wParam == Marker) g_markerSeen = true;
            return ::CallNextHookEx(nullptr, code, wp, lp);
        },
        nullptr, ::GetWindowThreadProcessId(h, nullptr));
    ::PostMessageW(h, WM_NULL, Marker, 0);
    const bool seen = PumpUntil([] { return g_markerSeen.load(); });
    ::UnhookWindowsHookEx(hook);
    return seen;
}

bool ThreadEnds(DWORD threadId)
{
    HANDLE t = ::OpenThread(SYNCHRONIZE, FALSE, threadId);
    const bool ended = !t || ::WaitForSingleObject(t, 5000) == WAIT_OBJECT_0;
    if (t) ::CloseHandle(t);
    return ended;
}

class ColoredWindows : public PanelTest
{
protected:
    void BeforeOpen() override { AppSettings.AutoMinimize = 0; }
    // Show Window(s) as a user clicks it; returns once the handler has returned.
    void ClickShow() { ClickButton(Panel(), IDC_BTN_SHOW_WINDOWS); }
};

} // namespace

TEST_F(ColoredWindows, ShowWithNoTickedRowGivesTheMessageAndNoPrompt)
{
    MessageBoxWatcher watcher;
    Tick({false, false});
    ClickShow();
    ASSERT_EQ(watcher.Texts(), std::vector<std::wstring>{NoMonitorText});
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
    for (HWND h : ProcessTopLevelWindows(L"#32770"))
        EXPECT_FALSE(h != Panel() && ::IsWindowVisible(h)) << "a window other than the panel is showing";
}

// Each row of the option table: styles, band and opacity of both windows, the
// prompt that fits, and the windows of the previous show closed before it.
TEST_F(ColoredWindows, ShowCoversEveryTickedMonitorWithTheOptionStyles)
{
    struct Case
    {
        bool onTop, passthrough, inAltTab;
        int slider;
        DWORD exStyle;
        BYTE alpha;
    };
    const DWORD L = WS_EX_LAYERED, T = WS_EX_TRANSPARENT, N = WS_EX_NOACTIVATE, W = WS_EX_TOOLWINDOW, TOP = WS_EX_TOPMOST;
    const Case cases[] = {
        {true, false, false, 200, L | W | TOP, 200},      {true, false, true, 255, L | TOP, 255},
        {false, false, false, 50, L | W, 50},             {false, false, true, 180, L, 180},
        {true, true, false, 255, L | T | N | W | TOP, 240}, {false, true, false, 240, L | T | N | W, 240},
    };
    MessageBoxWatcher watcher;
    Tick({true, true});
    std::vector<HWND> previous;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "OnTop " << c.onTop << " Passthrough " << c.passthrough << " InAltTab "
                                        << c.inAltTab << " slider " << c.slider);
        const size_t prompts = watcher.Count();
        SetOptions(c.onTop, c.passthrough, c.inAltTab, c.slider);
        ClickShow();
        ASSERT_EQ(watcher.Count(), prompts + 1);
        EXPECT_EQ(watcher.Texts().back(), c.passthrough ? PassthroughPromptText : ColoredPromptText);
        // Closed synchronously before the new ones started.
        for (HWND old : previous) EXPECT_FALSE(::IsWindow(old));

        previous = WaitForWindows({0, 1});
        ASSERT_EQ(previous.size(), 2u);
        for (HWND h : previous)
        {
            EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrW(h, GWL_EXSTYLE)) & (L | T | N | W | TOP), c.exStyle);
            BYTE alpha = 0;
            DWORD flags = 0;
            ASSERT_TRUE(::GetLayeredWindowAttributes(h, nullptr, &alpha, &flags));
            EXPECT_EQ(alpha, c.alpha);
            EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
            EXPECT_EQ(::GetAncestor(h, GA_ROOTOWNER), h) << "no owner, no parent";
        }
    }
}

// Show closes every open window first, also on unticked monitors; Close Checked
// closes only the ticked rows' windows and skips a ticked row without one silently.
TEST_F(ColoredWindows, ShowClosesAllFirstAndCloseCheckedOnlyTheTickedRows)
{
    Suppress(PassthroughPromptKey);
    Tick({true, true});
    ClickShow();
    std::vector<HWND> w = WaitForWindows({0, 1});
    Tick({true, false});
    ClickShow();
    EXPECT_FALSE(::IsWindow(w[1])) << "the window on the unticked monitor stays open";
    ASSERT_EQ(WaitForWindows({0}, w).size(), 1u);

    Tick({true, true});
    ClickShow();
    w = WaitForWindows({0, 1});
    ASSERT_EQ(w.size(), 2u);
    Tick({false, true});
    SendCommand(Panel(), ID_CLOSE_CHECKED_COLORED_WINDOWS);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(w[1]); }));
    EXPECT_EQ(WindowOn(1), nullptr);
    EXPECT_EQ(WindowOn(0), w[0]);
    EXPECT_TRUE(Settled(w[0]));

    MessageBoxWatcher watcher;   // row 1 is still ticked, without a window now
    SendCommand(Panel(), ID_CLOSE_CHECKED_COLORED_WINDOWS);
    EXPECT_TRUE(Settled(w[0]));
    EXPECT_EQ(watcher.Count(), 0u);
}

// The prompt is the shell's box: owned by the panel, captioned with the application
// name, with the check box that suppresses it; the windows wait for the answer.
// A suppressed prompt shows nothing and leaves the other one in force.
TEST_F(ColoredWindows, PromptIsOwnedByThePanelAndASuppressedOneShowsNothing)
{
    Tick({true, false});
    ::CheckDlgButton(Panel(), IDC_CHK_PASSTHROUGH, BST_CHECKED);
    ::PostMessageW(Item(IDC_BTN_SHOW_WINDOWS), BM_CLICK, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = FindMessageBox(L"To Close Passthrough Colored Window(s)")) != nullptr; }));
    EXPECT_EQ(WindowText(box), L"Umbrafen");
    EXPECT_EQ(::GetWindow(box, GW_OWNER), Panel());
    bool hasCheckBox = false;
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
    {
        const LONG type = ::GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK;
        WCHAR cls[16] = {};
        ::GetClassNameW(c, cls, 16);
        hasCheckBox |= lstrcmpiW(cls, L"Button") == 0 && ::IsWindowVisible(c) &&
                       (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX);
    }
    EXPECT_TRUE(hasCheckBox);
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitForWindows({0});

    MessageBoxWatcher watcher;
    Suppress(PassthroughPromptKey);
    ClickShow();
    EXPECT_EQ(watcher.Count(), 0u);
    WaitForWindows({0});
    ::CheckDlgButton(Panel(), IDC_CHK_PASSTHROUGH, BST_UNCHECKED);
    ClickShow();
    EXPECT_EQ(watcher.Texts(), std::vector<std::wstring>{ColoredPromptText});
    WaitForWindows({0});
}

// Esc, Alt+F4 and the Close item each close their own window and end its thread
// (Enter leaves it); Close All from a window closes all and leaves the panel;
// Exit from a window runs the panel's close sequence.
TEST_F(ColoredWindows, WindowKeysAndMenuCloseOneAllOrEverything)
{
    const std::pair<const char*, void (*)(HWND)> ways[] = {
        {"Esc", [](HWND h) { ::PostMessageW(h, WM_KEYDOWN, VK_ESCAPE, 1); }},
        {"Alt+F4", [](HWND h) { ::PostMessageW(h, WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29)); }},
        {"Close item", [](HWND h) { ::PostMessageW(h, WM_COMMAND, ID_COLORED_CLOSE, 0); }},
    };
    Suppress(ColoredPromptKey);
    SetOptions(true, false, false, 255);   // windows that take input
    Tick({true, true});
    for (const auto& [name, close] : ways)
    {
        SCOPED_TRACE(name);
        ClickShow();
        const std::vector<HWND> w = WaitForWindows({0, 1});
        ASSERT_EQ(w.size(), 2u);
        ::PostMessageW(w[1], WM_KEYDOWN, VK_RETURN, 1);
        ASSERT_TRUE(DrainPosted(w[1]));
        EXPECT_TRUE(Settled(w[1])) << "Enter hid the window";

        const DWORD thread = ::GetWindowThreadProcessId(w[1], nullptr);
        close(w[1]);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(w[1]); }));
        EXPECT_TRUE(ThreadEnds(thread));
        EXPECT_EQ(WindowOn(1), nullptr);
        EXPECT_TRUE(Settled(w[0]));
        EXPECT_EQ(OpenWindowRegistry.GetCount(), 1);
    }

    ClickShow();
    std::vector<HWND> w = WaitForWindows({0, 1});
    ASSERT_EQ(w.size(), 2u);
    ::PostMessageW(w[0], WM_COMMAND, ID_COLORED_CLOSE_ALL, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(w[0]) && !::IsWindow(w[1]); }));
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
    EXPECT_TRUE(::IsWindowVisible(Panel())) << "Close All leaves the panel alone";

    ClickShow();
    w = WaitForWindows({0, 1});
    ASSERT_EQ(w.size(), 2u);
    ::PostMessageW(w[1], WM_COMMAND, ID_COLORED_EXIT, 0);
    ASSERT_TRUE(m_panel->Ended(5000));
    EXPECT_FALSE(::IsWindow(w[0]) || ::IsWindow(w[1]));
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
}

// Closing the panel with windows open: all of them are gone when WM_CLOSE returns,
// the panel itself ends on timer 1 some 300 ms later; with none open it ends at once.
TEST_F(ColoredWindows, ClosingThePanelWaitsForTimerOneOnlyWhenWindowsWereOpen)
{
    Suppress(PassthroughPromptKey);
    Tick({true, true});
    ClickShow();
    const std::vector<HWND> w = WaitForWindows({0, 1});
    ASSERT_EQ(w.size(), 2u);
    ::SendMessageW(Panel(), WM_CLOSE, 0, 0);
    const ULONGLONG closed = ::GetTickCount64();
    EXPECT_FALSE(::IsWindow(w[0]) || ::IsWindow(w[1]));
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
    EXPECT_TRUE(::IsWindowVisible(Panel())) << "the panel must wait for timer 1";
    ASSERT_TRUE(m_panel->Ended(5000));
    EXPECT_GE(::GetTickCount64() - closed, 250u);
    EXPECT_EQ(m_panel->Result(), IDCANCEL);

    m_panel = std::make_unique<PanelThread>();
    ASSERT_NE(Panel(), nullptr);
    ::SendMessageW(Panel(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindowVisible(Panel())) << "no window: ended by the time WM_CLOSE returns";
    ASSERT_TRUE(m_panel->Ended(5000));
    EXPECT_EQ(m_panel->Result(), IDCANCEL);
}

// On All Monitors ticks every row and keeps Passthrough without reading the check
// boxes; a window refits itself to its monitor after a display change.
TEST_F(ColoredWindows, OnAllMonitorsTicksEveryRowAndWindowsRefitOnADisplayChange)
{
    Suppress(PassthroughPromptKey);
    Tick({false, false});
    ::CheckDlgButton(Panel(), IDC_CHK_PASSTHROUGH, BST_UNCHECKED);   // not read: Passthrough stays on
    SendCommand(Panel(), ID_COLORED_WINDOW_ON_ALL_MONITORS);
    const std::vector<HWND> w = WaitForWindows({0, 1});
    ASSERT_EQ(w.size(), 2u);
    for (HWND h : w) EXPECT_TRUE(::GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_EQ(ListView(Panel(), IDC_LIST_MONITORS).Ticks(), (std::vector<bool>{true, true}));

    ::SetWindowPos(w[1], nullptr, 100, 50, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(w[1], WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));
    RECT rc;
    ::GetWindowRect(w[1], &rc);
    EXPECT_TRUE(::EqualRect(&rc, &m_rows[1].rect));

    ClickButton(Panel(), IDC_BTN_CLOSE_ALL_WINDOWS);
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
    EXPECT_FALSE(::IsWindow(w[0]));
}

// Showing and closing must not leak threads: every window thread ends.
TEST_F(ColoredWindows, HundredShowCloseCyclesLeaveTheThreadCount)
{
    Suppress(PassthroughPromptKey);
    Tick({true, true});
    const int before = ProcessThreadCount();
    for (int i = 0; i < 100; ++i)
    {
        ClickShow();
        ASSERT_EQ(WaitForWindows({0, 1}).size(), 2u) << "cycle " << i;
        ClickButton(Panel(), IDC_BTN_CLOSE_ALL_WINDOWS);
        ASSERT_EQ(OpenWindowRegistry.GetCount(), 0);
    }
    int after = 0;
    EXPECT_TRUE(PumpUntil([&] { return (after = ProcessThreadCount()) <= before; }, 10000))
        << "threads before " << before << ", after " << after;
}

namespace {

// Windows of this process, shown or not yet, that cover the row's monitor.
int CoversOn(HWND panel, int row)
{
    const std::wstring title = ListView(panel, IDC_LIST_MONITORS).Text(row, 0) + L" - Umbrafen";
    int n = 0;
    for (HWND h : ProcessTopLevelWindows(L"#32770")) n += WindowText(h) == title;
    return n;
}

int AllCovers()
{
    int n = 0;
    for (HWND h : ProcessTopLevelWindows(L"#32770")) n += WindowText(h).ends_with(L" - Umbrafen");
    return n;
}

} // namespace

// However fast Show or an option is clicked, one cover per monitor remains, and Close All
// leaves none: a window whose thread is still starting counts as open.
TEST_F(ColoredWindows, BurstsOfShowAndOptionChangesLeaveOneCoverPerMonitor)
{
    Suppress(PassthroughPromptKey);
    Suppress(OnTopPromptKey);
    Tick({true, true});
    for (int i = 0; i < 4; ++i) ClickShow();
    ASSERT_EQ(WaitForWindows({0, 1}).size(), 2u);
    ::Sleep(300);   // time for any orphan to come up
    EXPECT_EQ(CoversOn(Panel(), 0), 1);
    EXPECT_EQ(CoversOn(Panel(), 1), 1);

    ClickButton(Panel(), IDC_CHK_ON_TOP);
    ClickButton(Panel(), IDC_CHK_ON_TOP);
    ASSERT_EQ(WaitForWindows({0, 1}).size(), 2u);
    ::Sleep(300);
    EXPECT_EQ(CoversOn(Panel(), 0), 1);
    EXPECT_EQ(CoversOn(Panel(), 1), 1);

    ClickShow();
    ClickButton(Panel(), IDC_BTN_CLOSE_ALL_WINDOWS);   // while the new threads start
    EXPECT_EQ(CoversOn(Panel(), 0) + CoversOn(Panel(), 1), 0);
    ::Sleep(300);
    EXPECT_EQ(CoversOn(Panel(), 0) + CoversOn(Panel(), 1), 0) << "a cancelled window came up after all";
    EXPECT_EQ(OpenWindowRegistry.GetLiveCount(), 0);
}

// Exit from a cover while the show prompt is open: nothing starts once it is dismissed.
TEST_F(ColoredWindows, ExitDuringTheShowPromptStartsNoCovers)
{
    Tick({true, true});
    ::PostMessageW(Panel(), WM_COMMAND, IDC_BTN_SHOW_WINDOWS, 0);
    HWND prompt = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (prompt = FindMessageBox(PassthroughPromptText)) != nullptr; }));
    ::PostMessageW(Panel(), WM_CLOSE, 0, 0);
    ::Sleep(200);
    MessageBoxWatcher watcher;
    ASSERT_TRUE(m_panel->Ended(5000));
    ::Sleep(300);
    EXPECT_EQ(AllCovers(), 0);
}

// The end of the Windows session stores what a clean close stores, byte for byte.
TEST_F(ColoredWindows, EndOfSessionStoresTheSettingsAsACleanCloseDoes)
{
    CString path;
    GetDataFilePath(path);
    ::DeleteFileW(path);
    Tick({true, false});
    ::SendMessageW(Panel(), WM_QUERYENDSESSION, 0, 0);
    ::SendMessageW(Panel(), WM_ENDSESSION, TRUE, 0);
    const std::vector<BYTE> atSessionEnd = ReadAllBytes(path);
    EXPECT_EQ(atSessionEnd.size(), SettingsFileSize);
    m_panel->Close();
    SaveLoadSettings(TRUE);   // what the application stores once the panel has ended
    EXPECT_EQ(atSessionEnd, ReadAllBytes(path));
    ::DeleteFileW(path);
}

// Switching the displays off must not wait for ever on a hung window of another thread.
TEST_F(ColoredWindows, TurnOffMonitorsDoesNotHangOnAHungWindow)
{
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND hung = nullptr;
    std::thread owner([&] {
        hung = ::CreateWindowExW(0, L"STATIC", L"hung", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ::WaitForSingleObject(release, INFINITE);   // takes no messages meanwhile
        ::DestroyWindow(hung);
    });
    ASSERT_TRUE(PumpUntil([&] { return hung != nullptr; }));
    DWORD_PTR result = 0;
    const ULONGLONG start = ::GetTickCount64();
    const bool returned = ::SendMessageTimeoutW(Panel(), WM_COMMAND, ID_TURN_OFF_MONITORS, 0, SMTO_NORMAL, 8000, &result);
    EXPECT_TRUE(returned) << "the panel hung in the broadcast";
    EXPECT_LT(::GetTickCount64() - start, 8000u);
    ::SetEvent(release);
    owner.join();
    ::CloseHandle(release);
    PumpUntil([] { return false; }, 200);   // let the panel finish a broadcast that was still waiting
}
