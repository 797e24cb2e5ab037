// Coloured windows shown, styled and closed through the real control panel on
// the two-monitor virtual desktop; every window runs on a thread of its own.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "colorwin/OpenWindowRegistry.h"
#include "display/HandleText.h"
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/PromptStore.h"

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

struct Row
{
    HMONITOR monitor;
    std::wstring label;
    RECT rect;
};

HWND WindowOf(HMONITOR monitor)
{
    CString value;
    if (!OpenWindowRegistry.Lookup(FormatHandleText(monitor), value)) return nullptr;
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(ParseHandleText(value)));
}

// A window has finished its initialisation once its thread answers a sent message.
bool Settled(HWND h)
{
    DWORD_PTR r = 0;
    return ::IsWindowVisible(h) && ::SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &r);
}

int ProcessThreadCount()
{
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 te{};
    te.dwSize = sizeof(te);
    int n = 0;
    for (BOOL ok = ::Thread32First(snap, &te); ok; ok = ::Thread32Next(snap, &te))
        if (te.th32OwnerProcessID == ::GetCurrentProcessId()) ++n;
    ::CloseHandle(snap);
    return n;
}

// Waits until the window's thread has taken every message posted to it so far:
// a marker posted last is seen by a message hook once everything before it is handled.
std::atomic<bool> g_markerSeen{false};
constexpr WPARAM Marker = 0x554D4246;

LRESULT CALLBACK MarkerHook(int code, WPARAM wp, LPARAM lp)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lp);
    if (code == HC_ACTION && msg->message == WM_NULL && msg->wParam == Marker) g_markerSeen = true;
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

bool DrainPosted(HWND h)
{
    g_markerSeen = false;
    HHOOK hook = ::SetWindowsHookExW(WH_GETMESSAGE, MarkerHook, nullptr, ::GetWindowThreadProcessId(h, nullptr));
    ::PostMessageW(h, WM_NULL, Marker, 0);
    const bool seen = PumpUntil([] { return g_markerSeen.load(); });
    ::UnhookWindowsHookEx(hook);
    return seen;
}

bool ThreadEnds(DWORD threadId, DWORD timeoutMs = 5000)
{
    HANDLE t = ::OpenThread(SYNCHRONIZE, FALSE, threadId);
    if (!t) return true;
    const bool ended = ::WaitForSingleObject(t, timeoutMs) == WAIT_OBJECT_0;
    ::CloseHandle(t);
    return ended;
}

class ColoredWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AfxGetModuleState()->m_lpszCurrentAppName = L"Umbrafen";
        ResetAppSettings();
        AppSettings.TurnOffMonitors = 0;   // never switch the test desktop's displays off
        AppSettings.AutoMinimize = 0;
        RestorePrompt(PassthroughPromptKey);
        RestorePrompt(ColoredPromptKey);
        m_panel = std::make_unique<PanelThread>();
        ASSERT_NE(m_panel->Hwnd(), nullptr);
        m_panel->Invoke([&] {
            CListCtrl& list = m_panel->Dialog()->m_list;
            for (int i = 0; i < list.GetItemCount(); ++i)
            {
                Row row{reinterpret_cast<HMONITOR>(list.GetItemData(i)), list.GetItemText(i, 0).GetString(), {}};
                MONITORINFO info{};
                info.cbSize = sizeof(info);
                ::GetMonitorInfoW(row.monitor, &info);
                row.rect = info.rcMonitor;
                m_rows.push_back(row);
            }
        });
        ASSERT_EQ(m_rows.size(), 2u) << "the virtual desktop has two monitors";
    }

    void TearDown() override
    {
        CloseAllColoredWindows();
        m_panel.reset();
        EXPECT_TRUE(PumpUntil([] { return OpenWindowRegistry.GetCount() == 0; }));
        RestorePrompt(PassthroughPromptKey);
        RestorePrompt(ColoredPromptKey);
    }

    HWND Panel() const { return m_panel->Hwnd(); }

    void Tick(int row, bool on)
    {
        m_panel->Invoke([&] { m_panel->Dialog()->m_list.SetCheck(row, on); });
    }

    void SetOptions(bool onTop, bool passthrough, bool inAltTab, int alpha)
    {
        ::CheckDlgButton(Panel(), IDC_CHK_ON_TOP, onTop);
        ::CheckDlgButton(Panel(), IDC_CHK_PASSTHROUGH, passthrough);
        ::CheckDlgButton(Panel(), IDC_CHK_IN_ALT_TAB, inAltTab);
        ::SendDlgItemMessageW(Panel(), IDC_SLIDER_ALPHA, TBM_SETPOS, TRUE, alpha);
    }

    // Show Window(s) as a user clicks it; returns once the handler has returned.
    void ClickShow() { ClickButton(Panel(), IDC_BTN_SHOW_WINDOWS); }

    // Waits for a settled window on each of the given rows and none elsewhere.
    std::vector<HWND> WaitForWindows(const std::vector<int>& rows)
    {
        std::vector<HWND> windows;
        const bool ok = PumpUntil(
            [&] {
                windows.clear();
                if (OpenWindowRegistry.GetCount() != static_cast<INT_PTR>(rows.size())) return false;
                for (int r : rows)
                {
                    HWND h = WindowOf(m_rows[r].monitor);
                    if (!h || !Settled(h)) return false;
                    windows.push_back(h);
                }
                return true;
            },
            10000);
        EXPECT_TRUE(ok) << "expected " << rows.size() << " coloured windows, registry holds "
                        << OpenWindowRegistry.GetCount();
        return windows;
    }

    std::unique_ptr<PanelThread> m_panel;
    std::vector<Row> m_rows;
};

} // namespace

TEST_F(ColoredWindows, ShowWithNoTickedRowGivesTheMessageAndNoPrompt)
{
    MessageBoxWatcher watcher;
    Tick(0, false);
    Tick(1, false);
    ClickShow();
    ASSERT_EQ(watcher.Texts(), std::vector<std::wstring>{NoMonitorText});
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
    for (HWND h : ProcessTopLevelWindows(L"#32770"))
        EXPECT_FALSE(h != Panel() && ::IsWindowVisible(h)) << "a window other than the panel is showing";
}

// Each row of the option table: styles, band and opacity of both windows.
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
        {true, false, false, 200, L | W | TOP, 200},
        {true, false, true, 255, L | TOP, 255},
        {false, false, false, 50, L | W, 50},
        {false, false, true, 180, L, 180},
        {true, true, false, 255, L | T | N | W | TOP, 240},
        {false, true, false, 240, L | T | N | W, 240},
    };
    const DWORD Watched = L | T | N | W | TOP;

    MessageBoxWatcher watcher;
    Tick(0, true);
    Tick(1, true);
    std::vector<HWND> previous;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "OnTop " << c.onTop << " Passthrough " << c.passthrough << " InAltTab "
                                        << c.inAltTab << " slider " << c.slider);
        const size_t prompts = watcher.Count();
        SetOptions(c.onTop, c.passthrough, c.inAltTab, c.slider);
        ClickShow();

        // The prompt of the pair that fits Passthrough, exactly once.
        ASSERT_EQ(watcher.Count(), prompts + 1);
        EXPECT_EQ(watcher.Texts().back(), c.passthrough ? PassthroughPromptText : ColoredPromptText);
        // Windows of the previous show were closed synchronously before the new ones started.
        for (HWND old : previous) EXPECT_FALSE(::IsWindow(old));

        previous = WaitForWindows({0, 1});
        ASSERT_EQ(previous.size(), 2u);
        for (int r = 0; r < 2; ++r)
        {
            HWND h = previous[r];
            RECT rc;
            ::GetWindowRect(h, &rc);
            EXPECT_TRUE(::EqualRect(&rc, &m_rows[r].rect)) << "row " << r << " window " << rc.left << "," << rc.top
                                                           << " " << rc.right << "x" << rc.bottom;
            WCHAR title[256] = {};
            ::GetWindowTextW(h, title, 256);
            EXPECT_EQ(std::wstring(title), m_rows[r].label + L" - Umbrafen");
            EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrW(h, GWL_EXSTYLE)) & Watched, c.exStyle);
            BYTE alpha = 0;
            DWORD flags = 0;
            ASSERT_TRUE(::GetLayeredWindowAttributes(h, nullptr, &alpha, &flags));
            EXPECT_EQ(alpha, c.alpha);
            EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
            EXPECT_EQ(::GetAncestor(h, GA_ROOTOWNER), h) << "no owner, no parent";
        }
        EXPECT_EQ(AppSettings.Alpha, static_cast<BYTE>(c.slider));
    }
}

TEST_F(ColoredWindows, ShowClosesEveryOpenWindowFirstAlsoOnUntickedMonitors)
{
    Suppress(PassthroughPromptKey);
    Tick(0, true);
    Tick(1, true);
    ClickShow();
    const std::vector<HWND> first = WaitForWindows({0, 1});
    ASSERT_EQ(first.size(), 2u);

    Tick(1, false);
    ClickShow();
    EXPECT_FALSE(::IsWindow(first[0]));
    EXPECT_FALSE(::IsWindow(first[1])) << "the window on the unticked monitor stays open";
    const std::vector<HWND> second = WaitForWindows({0});
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(WindowOf(m_rows[1].monitor), nullptr);
}

TEST_F(ColoredWindows, SuppressedPromptShowsNothingAndLeavesTheOtherInForce)
{
    MessageBoxWatcher watcher;
    Suppress(PassthroughPromptKey);
    Tick(0, true);
    Tick(1, false);
    SetOptions(true, true, false, 255);
    ClickShow();
    EXPECT_EQ(watcher.Count(), 0u);
    WaitForWindows({0});

    SetOptions(true, false, false, 255);
    ClickShow();
    EXPECT_EQ(watcher.Texts(), std::vector<std::wstring>{ColoredPromptText});
    WaitForWindows({0});
}

// The prompt is the shell's box: owned by the panel, captioned with the
// application name, with the check box that suppresses it.
TEST_F(ColoredWindows, PromptIsOwnedByThePanelWithTheAppNameAndACheckBox)
{
    Tick(0, true);
    ::CheckDlgButton(Panel(), IDC_CHK_PASSTHROUGH, BST_CHECKED);
    ::PostMessageW(::GetDlgItem(Panel(), IDC_BTN_SHOW_WINDOWS), BM_CLICK, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = FindMessageBox(L"To Close Passthrough Colored Window(s)")) != nullptr; }));
    WCHAR caption[64] = {};
    ::GetWindowTextW(box, caption, 64);
    EXPECT_STREQ(caption, L"Umbrafen");
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
    // The windows wait for the answer.
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitForWindows({0});
}

TEST_F(ColoredWindows, CloseCheckedClosesOnlyTheTickedRowsWindows)
{
    Suppress(PassthroughPromptKey);
    Tick(0, true);
    Tick(1, true);
    ClickShow();
    const std::vector<HWND> w = WaitForWindows({0, 1});
    ASSERT_EQ(w.size(), 2u);

    Tick(0, false);
    SendCommand(Panel(), ID_CLOSE_CHECKED_COLORED_WINDOWS);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(w[1]); }));
    EXPECT_EQ(WindowOf(m_rows[1].monitor), nullptr);
    EXPECT_TRUE(Settled(w[0]));
    EXPECT_EQ(WindowOf(m_rows[0].monitor), w[0]);

    // A ticked row without a window is skipped without a word.
    Tick(1, true);
    MessageBoxWatcher watcher;
    SendCommand(Panel(), ID_CLOSE_CHECKED_COLORED_WINDOWS);
    EXPECT_TRUE(Settled(w[0]));
    EXPECT_EQ(watcher.Count(), 0u);
}

// Esc, Alt+F4 and the Close item each close their own window and end its thread;
// Enter leaves the window as it is.
TEST_F(ColoredWindows, EscAltF4AndCloseItemCloseOnlyThatWindow)
{
    struct Way
    {
        const char* name;
        void (*close)(HWND);
    };
    const Way ways[] = {
        {"Esc", [](HWND h) { ::PostMessageW(h, WM_KEYDOWN, VK_ESCAPE, 1); }},
        {"Alt+F4", [](HWND h) { ::PostMessageW(h, WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29)); }},
        {"Close item", [](HWND h) { ::PostMessageW(h, WM_COMMAND, ID_COLORED_CLOSE, 0); }},
    };
    Suppress(ColoredPromptKey);
    SetOptions(true, false, false, 255);   // a window that takes input
    Tick(0, true);
    Tick(1, true);
    for (const Way& way : ways)
    {
        SCOPED_TRACE(way.name);
        ClickShow();
        const std::vector<HWND> w = WaitForWindows({0, 1});
        ASSERT_EQ(w.size(), 2u);

        ::PostMessageW(w[1], WM_KEYDOWN, VK_RETURN, 1);
        ASSERT_TRUE(DrainPosted(w[1]));
        EXPECT_TRUE(Settled(w[1])) << "Enter hid the window";
        EXPECT_EQ(WindowOf(m_rows[1].monitor), w[1]);

        const DWORD thread = ::GetWindowThreadProcessId(w[1], nullptr);
        way.close(w[1]);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(w[1]); }));
        EXPECT_TRUE(ThreadEnds(thread));
        EXPECT_EQ(WindowOf(m_rows[1].monitor), nullptr);
        EXPECT_TRUE(Settled(w[0]));
        EXPECT_EQ(OpenWindowRegistry.GetCount(), 1);
    }
}

TEST_F(ColoredWindows, CloseAllItemClosesEveryWindowFromTheWindowsOwnThread)
{
    Suppress(ColoredPromptKey);
    SetOptions(true, false, false, 255);
    Tick(0, true);
    Tick(1, true);
    ClickShow();
    const std::vector<HWND> w = WaitForWindows({0, 1});
    ASSERT_EQ(w.size(), 2u);

    ::PostMessageW(w[0], WM_COMMAND, ID_COLORED_CLOSE_ALL, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(w[0]) && !::IsWindow(w[1]); }));
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
    EXPECT_TRUE(::IsWindowVisible(Panel())) << "Close All leaves the panel alone";
}

// Closing the panel with windows open: all of them are gone when WM_CLOSE
// returns, the panel itself ends on timer 1 some 300 ms later.
TEST_F(ColoredWindows, ClosingThePanelClosesEveryWindowThenEndsOnTheTimer)
{
    Suppress(PassthroughPromptKey);
    Tick(0, true);
    Tick(1, true);
    ClickShow();
    const std::vector<HWND> w = WaitForWindows({0, 1});
    ASSERT_EQ(w.size(), 2u);

    ::SendMessageW(Panel(), WM_CLOSE, 0, 0);
    const ULONGLONG closed = ::GetTickCount64();
    EXPECT_FALSE(::IsWindow(w[0]));
    EXPECT_FALSE(::IsWindow(w[1]));
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
    EXPECT_TRUE(::IsWindowVisible(Panel())) << "the panel must wait for timer 1";
    ASSERT_TRUE(m_panel->Ended(5000));
    const ULONGLONG elapsed = ::GetTickCount64() - closed;
    EXPECT_GE(elapsed, 250u);
    EXPECT_EQ(m_panel->Result(), IDCANCEL);
}

TEST_F(ColoredWindows, ClosingThePanelWithNoWindowEndsAtOnce)
{
    ::SendMessageW(Panel(), WM_CLOSE, 0, 0);
    // Ended by the time WM_CLOSE returns: no timer in between.
    EXPECT_FALSE(::IsWindowVisible(Panel()));
    ASSERT_TRUE(m_panel->Ended(5000));
    EXPECT_EQ(m_panel->Result(), IDCANCEL);
}

TEST_F(ColoredWindows, ExitItemOfAWindowRunsThePanelsCloseSequence)
{
    Suppress(ColoredPromptKey);
    SetOptions(true, false, false, 255);
    Tick(0, true);
    Tick(1, true);
    ClickShow();
    const std::vector<HWND> w = WaitForWindows({0, 1});
    ASSERT_EQ(w.size(), 2u);

    ::PostMessageW(w[1], WM_COMMAND, ID_COLORED_EXIT, 0);
    ASSERT_TRUE(m_panel->Ended(5000));
    EXPECT_FALSE(::IsWindow(w[0]));
    EXPECT_FALSE(::IsWindow(w[1]));
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
}

TEST_F(ColoredWindows, OnAllMonitorsTicksEveryRowWithoutReadingTheCheckBoxes)
{
    Suppress(PassthroughPromptKey);
    Tick(0, false);
    Tick(1, false);
    ::CheckDlgButton(Panel(), IDC_CHK_PASSTHROUGH, BST_UNCHECKED);   // not read: Passthrough stays on
    SendCommand(Panel(), ID_COLORED_WINDOW_ON_ALL_MONITORS);
    const std::vector<HWND> w = WaitForWindows({0, 1});
    ASSERT_EQ(w.size(), 2u);
    for (HWND h : w) EXPECT_TRUE(::GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    m_panel->Invoke([&] {
        EXPECT_TRUE(m_panel->Dialog()->m_list.GetCheck(0));
        EXPECT_TRUE(m_panel->Dialog()->m_list.GetCheck(1));
    });
    ClickButton(Panel(), IDC_BTN_CLOSE_ALL_WINDOWS);
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
    EXPECT_FALSE(::IsWindow(w[0]));
}

// A click on a Passthrough window reaches what lies beneath it.
TEST_F(ColoredWindows, PassthroughWindowIsSkippedByHitTesting)
{
    Suppress(PassthroughPromptKey);
    Suppress(ColoredPromptKey);
    Tick(0, true);
    Tick(1, false);
    const POINT pt{m_rows[0].rect.left + 5, m_rows[0].rect.top + 5};

    SetOptions(true, false, false, 200);
    ClickShow();
    std::vector<HWND> w = WaitForWindows({0});
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(::WindowFromPoint(pt), w[0]);

    SetOptions(true, true, false, 200);
    ClickShow();
    w = WaitForWindows({0});
    ASSERT_EQ(w.size(), 1u);
    EXPECT_NE(::WindowFromPoint(pt), w[0]);
}

// Showing and closing must not leak threads: every window thread ends.
TEST_F(ColoredWindows, HundredShowCloseCyclesLeaveTheThreadCount)
{
    Suppress(PassthroughPromptKey);
    Tick(0, true);
    Tick(1, true);
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

// After a display change a window fits itself to its monitor again.
TEST_F(ColoredWindows, DisplayChangeRefitsTheWindowToItsMonitor)
{
    Suppress(PassthroughPromptKey);
    Tick(0, false);
    Tick(1, true);
    ClickShow();
    const std::vector<HWND> w = WaitForWindows({1});
    ASSERT_EQ(w.size(), 1u);
    ::SetWindowPos(w[0], nullptr, 100, 50, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(w[0], WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));
    RECT rc;
    ::GetWindowRect(w[0], &rc);
    EXPECT_TRUE(::EqualRect(&rc, &m_rows[1].rect));
}
