// Covers shown, styled and closed through the real control panel on the two-monitor desktop, each on its own thread.
#include <tuple>
#include "colorwin/OpenWindowRegistry.h"
#include "panel/UmbrafenDlg.h"
#include "settings/AppSettings.h"
#include "settings/Preferences.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/FakeDesktop.h"

namespace {

std::atomic<int> g_powerOffs{0};   // display-off requests a probe window of the test thread received
std::atomic<int> g_raises{0};      // z-order moves asked for on a hooked cover's thread
std::atomic<int> g_excluded{0};    // covers that asked to be kept out of screen captures

// Waits until the window's thread has taken every message posted to it so far.
bool DrainPosted(HWND h)
{
    static std::atomic<bool> seen;   // set by the hook once the thread takes a marker posted after the rest
    seen = false;
    HHOOK hook = ::SetWindowsHookExW(
        WH_GETMESSAGE,
        [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
            const MSG* msg = reinterpret_cast<const MSG*>(lp);
            if (code == HC_ACTION && msg->message == WM_NULL && msg->wParam == 0x554D) seen = true;
            return ::CallNextHookEx(nullptr, code, wp, lp);
        },
        nullptr, ::GetWindowThreadProcessId(h, nullptr));
    const bool drained = ::PostMessageW(h, WM_NULL, 0x554D, 0) && PumpUntil([] { return seen.load(); });
    return ::UnhookWindowsHookEx(hook), drained;
}

using ColoredWindows = PanelTest;

}   // namespace

// No ticked row gives the hint alone; the show prompt is owned by the panel and the covers wait for its answer. Closing
// the panel while the prompt is open: every cover is gone when WM_CLOSE returns, and none starts once it is answered.
TEST_F(ColoredWindows, ShowPromptTheNoMonitorHintAndClosingThePanelDuringThePrompt)
{
    {
        MessageBoxWatcher watcher;
        Tick({false, false});
        ClickButton(Panel(), IDC_BTN_SHOW_WINDOWS);
        const std::vector<std::wstring> texts = watcher.Texts();
        EXPECT_TRUE(texts.size() == 1 && texts[0].starts_with(L"Please Check Monitor(s)")) << texts.size() << " boxes";
    }
    Tick({true, true});
    ::PostMessageW(Item(IDC_BTN_SHOW_WINDOWS), BM_CLICK, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = FindMessageBox(L"To Close Passthrough")) != nullptr; }));
    EXPECT_EQ(::GetWindow(box, GW_OWNER), Panel());
    EXPECT_EQ(OpenWindowRegistry.GetCount(), 0);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    const std::vector<HWND> w = WaitForWindows({0, 1});
    ASSERT_EQ(w.size(), 2u);
    ::PostMessageW(Item(IDC_BTN_SHOW_WINDOWS), BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpUntil([] { return FindMessageBox(L"To Close Passthrough") != nullptr; }));
    ::SendMessageW(Panel(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(w[0]) || ::IsWindow(w[1]));
    MessageBoxWatcher watcher;   // answers the prompt
    ASSERT_TRUE(m_panel->Ended(5000));
    EXPECT_EQ(OpenWindowRegistry.GetLiveCount(), 0) << "covers started after the panel closed";
}

// Show styles the covers from the options and the capture preference; with covers up an option
// change replaces them (a re-show) with the new value; a cover refits to its monitor on a display change.
TEST_F(ColoredWindows, OptionsShapeTheCoversAtShowAndAtEveryChange)
{
    const DWORD L = WS_EX_LAYERED, T = WS_EX_TRANSPARENT, N = WS_EX_NOACTIVATE, W = WS_EX_TOOLWINDOW,
                TOP = WS_EX_TOPMOST;
    // The control clicked, Preferences.ExcludeFromCapture, and the covers' extended styles and opacity.
    const std::tuple<int, int, DWORD, BYTE> steps[] = {
        {IDC_BTN_SHOW_WINDOWS, 1, L | T | N | W | TOP, 240},   // Passthrough caps the opacity
        {IDC_CHK_PASSTHROUGH, 0, L | W | TOP, 255},
        {IDC_CHK_IN_ALT_TAB, 1, L | TOP, 255},
        {IDC_CHK_ON_TOP, 0, L, 255},
    };
    for (const wchar_t* key : {PassthroughPromptKey, ColoredPromptKey, OnTopPromptKey, PassthroughOffPromptKey})
        Suppress(key);
    DisplayApi recorder = SystemDisplayApi();
    recorder.SetWindowDisplayAffinity = [](HWND, DWORD a) { return g_excluded += a == WDA_EXCLUDEFROMCAPTURE, TRUE; };
    DisplayApiOverride capture(recorder);
    Tick({true, true});
    ::SendDlgItemMessageW(Panel(), IDC_SLIDER_ALPHA, TBM_SETPOS, TRUE, 255);
    std::vector<HWND> w;
    for (const auto& [control, exclude, exStyle, alpha] : steps)
    {
        SCOPED_TRACE(control);
        Preferences.ExcludeFromCapture = exclude, g_excluded = 0;
        ClickButton(Panel(), control);
        ASSERT_EQ((w = WaitForWindows({0, 1}, w)).size(), 2u);
        EXPECT_EQ(g_excluded, exclude ? 2 : 0) << "covers kept out of captures";
        for (HWND h : w)
        {
            EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrW(h, GWL_EXSTYLE)) & (L | T | N | W | TOP), exStyle);
            EXPECT_EQ(AlphaOf(h), alpha);
        }
    }

    ::SetWindowPos(w[1], nullptr, 100, 50, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(w[1], WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));
    RECT rc;
    EXPECT_TRUE(::GetWindowRect(w[1], &rc) && ::EqualRect(&rc, &m_rows[1].second));
}

// However fast Show is clicked, one cover per monitor remains (one still starting counts as open). Show closes every
// open cover first, also on unticked monitors; Close Checked closes the ticked rows' only. On All Monitors ticks every
// row and keeps Passthrough on without reading its box. Every cover's thread ends with its window.
TEST_F(ColoredWindows, BurstsShowCloseCheckedAndOnAllMonitorsPickTheirMonitors)
{
    for (const wchar_t* key : {PassthroughPromptKey, ColoredPromptKey}) Suppress(key);
    Tick({true, true});
    for (int i = 0; i < 4; ++i) ClickButton(Panel(), IDC_BTN_SHOW_WINDOWS);
    std::vector<HWND> w = WaitForWindows({0, 1});
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(OpenWindowRegistry.GetLiveCount(), 2) << "a cover still starting";   // the clicks were sent: all began
    int covers = 0;   // counted by title too, as the registry may not know one
    for (HWND h : ProcessTopLevelWindows(L"#32770")) covers += WindowText(h).ends_with(L" - Umbrafen");
    EXPECT_EQ(covers, 2);
    Tick({true, false});
    ClickButton(Panel(), IDC_BTN_SHOW_WINDOWS);
    EXPECT_FALSE(::IsWindow(w[1])) << "the cover on the unticked monitor stays";
    ASSERT_EQ((w = WaitForWindows({0}, w)).size(), 1u);

    Tick({false, false});
    ::CheckDlgButton(Panel(), IDC_CHK_PASSTHROUGH, BST_UNCHECKED);   // not read: Passthrough stays on
    SendCommand(Panel(), ID_COLORED_WINDOW_ON_ALL_MONITORS);
    ASSERT_EQ((w = WaitForWindows({0, 1}, w)).size(), 2u);
    for (HWND h : w) EXPECT_TRUE(::GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TRANSPARENT);

    Tick({false, true});
    SendCommand(Panel(), ID_CLOSE_CHECKED_COLORED_WINDOWS);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(w[1]); }));
    EXPECT_EQ(WindowOn(0), w[0]);
    EXPECT_TRUE(Settled(w[0]));
    CloseAllColoredWindows();
    EXPECT_TRUE(OpenWindowRegistry.WaitForThreads(5000)) << "a closed cover's thread still runs";
}

// Auto Minimize follows a Show but not a re-show; Turn Off Monitor(s) follows both, and a hung window elsewhere on the
// desktop does not hold the panel in its broadcast. The end of the Windows session then stores what the panel shows,
// as a clean close does: ticks, opacity, placement.
TEST_F(ColoredWindows, AutoMinimizeTurnOffMonitorsAndEndOfSessionFollowThePanel)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_MONITORPOWER && lp == 2) return ++g_powerOffs, 0;
        return ::DefWindowProcW(h, msg, wp, lp);
    };
    wc.lpszClassName = L"UmbrafenPowerProbe";
    ::RegisterClassW(&wc);
    HWND probe = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    for (const wchar_t* key : {PassthroughPromptKey, OnTopPromptKey}) Suppress(key);
    Tick({true, false});
    std::vector<HWND> w;
    // Auto Minimize and Turn Off Monitor(s) ticked, the control clicked; the panel minimised, display-off requests.
    for (auto [boxes, control, minimised, requests] : {std::tuple{false, IDC_BTN_SHOW_WINDOWS, false, 0},
                                                       {true, IDC_BTN_SHOW_WINDOWS, true, 1},
                                                       {true, IDC_CHK_ON_TOP, false, 1}})   // a re-show
    {
        SCOPED_TRACE(control);
        ::ShowWindow(Panel(), SW_RESTORE);
        ::CheckDlgButton(Panel(), IDC_CHK_AUTO_MINIMIZE, boxes);
        ::CheckDlgButton(Panel(), IDC_CHK_TURN_OFF_MONITORS, boxes);
        g_powerOffs = 0;
        ClickButton(Panel(), control);   // sent: this thread answers the broadcast meanwhile
        EXPECT_EQ(g_powerOffs, requests);
        w = WaitForWindows({0}, w);
        EXPECT_EQ(!!::IsIconic(Panel()), minimised);
    }
    ::DestroyWindow(probe);

    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<HWND> hung{nullptr};
    std::thread owner([&] {
        hung = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        ::WaitForSingleObject(release, INFINITE);   // takes no messages meanwhile
        ::DestroyWindow(hung);
    });
    EXPECT_TRUE(PumpUntil([&] { return hung.load() != nullptr; }));
    EXPECT_TRUE(::SendMessageTimeoutW(Panel(), WM_COMMAND, ID_TURN_OFF_MONITORS, 0, SMTO_NORMAL, 8000, nullptr))
        << "the panel hung in the broadcast";
    ::SetEvent(release), owner.join(), ::CloseHandle(release);

    CString path;
    GetDataFilePath(path);
    ::DeleteFileW(path);
    Tick({false, true});   // changed since the last show, as the opacity and placement are
    ::SendDlgItemMessageW(Panel(), IDC_SLIDER_ALPHA, TBM_SETPOS, TRUE, 201);
    ::SetWindowPos(Panel(), nullptr, 137, 91, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(Panel(), WM_ENDSESSION, TRUE, 0);
    const Bytes b = ReadAllBytes(path.GetString());
    ASSERT_EQ(b.size(), SettingsFileSize);
    EXPECT_EQ((std::vector<DWORD>{b[16], At(b, 45), At(b, 57), At(b, 333), At(b, 337)}),
              (std::vector<DWORD>{201, 0, 1, 137, 91}));
}

// Only the panel's Show makes its cover the active window; a cover asked for from the tray leaves the user's program in
// front. Enter leaves a cover up and Esc closes only its own; a cover's Exit item ends the panel.
TEST_F(ColoredWindows, OnlyShowTakesTheForegroundThenEnterLeavesACoverEscClosesItAndExitEndsThePanel)
{
    Suppress(PassthroughPromptKey);
    ForeignWindow user({1400, 100}, false);
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == user.Hwnd(); })) << "the user's program not in front";
    Tick({false, true});
    SendCommand(Panel(), ID_TRAY_SHOW);
    std::vector<HWND> w = WaitForWindows({1});
    ASSERT_EQ(w.size(), 1u);
    EXPECT_TRUE(KeptInFront(user.Hwnd(), w[0])) << "a cover from the tray took the foreground";
    ClickButton(Panel(), IDC_BTN_SHOW_WINDOWS);
    ASSERT_EQ((w = WaitForWindows({1}, w)).size(), 1u);
    EXPECT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == w[0]; })) << "Show did not activate its cover";

    Suppress(ColoredPromptKey);
    ::CheckDlgButton(Panel(), IDC_CHK_PASSTHROUGH, BST_UNCHECKED);   // covers that take input
    Tick({true, true});
    ClickButton(Panel(), IDC_BTN_SHOW_WINDOWS);
    ASSERT_EQ((w = WaitForWindows({0, 1}, w)).size(), 2u);
    ::PostMessageW(w[1], WM_KEYDOWN, VK_RETURN, 1);
    ASSERT_TRUE(DrainPosted(w[1]));
    EXPECT_TRUE(Settled(w[1])) << "Enter hid the cover";
    ::PostMessageW(w[1], WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(w[1]); }));
    EXPECT_TRUE(Settled(w[0]));
    ::PostMessageW(w[0], WM_COMMAND, ID_COLORED_EXIT, 0);
    EXPECT_TRUE(m_panel->Ended(5000));
}

// Another program's top-most window that shows itself or rises over a top-most cover goes back under it, reported
// or not (Wine reports neither); one that insists gets at most 4 re-raises a second. A cover not top-most is never raised.
TEST_F(ColoredWindows, ATopMostCoverStaysAboveOtherProgramsTopMostWindows)
{
    for (const wchar_t* key : {PassthroughPromptKey, OnTopPromptKey}) Suppress(key);
    Tick({true, false});
    ClickButton(Panel(), IDC_BTN_SHOW_WINDOWS);
    std::vector<HWND> w = WaitForWindows({0});
    ForeignWindow rival({100, 100}, true);
    ASSERT_TRUE(w.size() == 1 && rival.Hwnd());
    EXPECT_TRUE(PumpUntil([&] { return IsAbove(w[0], rival.Hwnd()); }, 3000)) << "shown over the cover, it stays";
    ::SendMessageW(rival.Hwnd(), ForeignRaise, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return IsAbove(w[0], rival.Hwnd()); }, 3000)) << "raised over the cover, it stays";
    for (const bool onTop : {true, false})
    {
        const ULONGLONG start = ::GetTickCount64();
        g_raises = 0;
        HHOOK hook = ::SetWindowsHookExW(
            WH_CALLWNDPROC,
            [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
                const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lp);
                g_raises += code == HC_ACTION && cwp->message == WM_WINDOWPOSCHANGING &&
                            !(reinterpret_cast<const WINDOWPOS*>(cwp->lParam)->flags & SWP_NOZORDER);
                return ::CallNextHookEx(nullptr, code, wp, lp);
            },
            nullptr, ::GetWindowThreadProcessId(w[0], nullptr));
        ::SendMessageW(rival.Hwnd(), ForeignInsist, 0, 0);
        PumpUntil([] { return false; }, 2500);
        ::UnhookWindowsHookEx(hook);
        const int most = onTop ? 4 * static_cast<int>((::GetTickCount64() - start) / 1000 + 1) : 0;
        EXPECT_TRUE(g_raises >= (onTop ? 5 : 0) && g_raises <= most) << g_raises << " re-raises, at most " << most;
        ClickButton(Panel(), IDC_CHK_ON_TOP);
        w = WaitForWindows({0}, w);
    }
}

// Resume, unlock, a display change and a new DPI each put back a cover that another program moved off its monitor, out
// of its band and to another opacity; at a display change a cover follows its monitor to a new handle, or closes when
// the monitor is gone. At 144 DPI too (the run that sets UMBRAFEN_TEST_DPI).
TEST_F(ColoredWindows, ResumeUnlockAndDisplayChangeRestoreTheCovers)
{
    Suppress(PassthroughPromptKey);
    Tick({true, true});
    ClickButton(Panel(), IDC_BTN_SHOW_WINDOWS);
    const std::vector<HWND> w = WaitForWindows({0, 1});
    ASSERT_EQ(w.size(), 2u);
    const int shown = AlphaOf(w[1]);
    const std::tuple<HWND, UINT, WPARAM> steps[] = {{w[1], WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC},
                                                    {Panel(), WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK},
                                                    {w[1], WM_DISPLAYCHANGE, 32},
                                                    {w[1], WM_DPICHANGED, MAKEWPARAM(192, 192)}};
    for (const auto& [to, msg, wp] : steps)
    {
        ::SetWindowPos(w[1], HWND_NOTOPMOST, 100, 50, 300, 200, SWP_NOACTIVATE);
        ::SetLayeredWindowAttributes(w[1], 0, 90, LWA_ALPHA);
        ::SendMessageW(to, msg, wp, 0);
        RECT rc{};
        EXPECT_TRUE(PumpUntil([&] {
            return ::GetWindowRect(w[1], &rc) && ::EqualRect(&rc, &m_rows[1].second) &&
                   (::GetWindowLongPtrW(w[1], GWL_EXSTYLE) & WS_EX_TOPMOST) && AlphaOf(w[1]) == shown;
        })) << "not restored after message " << msg;
    }
    FakeDesktop desk;   // row 0's monitor under a new handle, row 1's gone
    const HMONITOR moved = desk.Handle(desk.AddMonitor(L"Moved", m_rows[0].second));
    desk.Monitors[0].DeviceName = ListView(Panel(), IDC_LIST_MONITORS).Text(0, DeviceNameColumn);
    for (HWND h : w) ::SendMessageW(h, WM_DISPLAYCHANGE, 32, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(w[1]); })) << "the cover of a monitor that is gone stays";
    EXPECT_TRUE(IsMonitorCovered(moved) && Settled(w[0])) << "the cover did not follow its monitor's new handle";
}

