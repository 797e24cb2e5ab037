#include "tests/support/GuiSupport.h"
#include "colorwin/OpenWindowRegistry.h"
#include "display/HandleText.h"
#include "panel/UmbrafenDlg.h"
#include "settings/AppSettings.h"

bool PressCtrlAlt(HWND panel, BYTE key)
{
    static std::atomic<int> hotkeys{0};   // WM_HOTKEY taken from the queue of the hooked thread
    HHOOK hook = ::SetWindowsHookExW(
        WH_GETMESSAGE,
        [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
            hotkeys += code == HC_ACTION && wp == PM_REMOVE && reinterpret_cast<const MSG*>(lp)->message == WM_HOTKEY;
            return ::CallNextHookEx(nullptr, code, wp, lp);
        },
        nullptr, ::GetWindowThreadProcessId(panel, nullptr));
    const int before = hotkeys;
    for (int attempt = 0; attempt < 3 && hotkeys == before; ++attempt)
        if (::SetForegroundWindow(panel), PumpUntil([&] { return ::GetForegroundWindow() == panel; }, 5000))
        {
            for (BYTE k : {BYTE(VK_CONTROL), BYTE(VK_MENU), key}) ::keybd_event(k, 0, 0, 0);
            for (BYTE k : {key, BYTE(VK_MENU), BYTE(VK_CONTROL)}) ::keybd_event(k, 0, KEYEVENTF_KEYUP, 0);
            PumpUntil([&] { return hotkeys > before; }, 5000);
        }
    return ::UnhookWindowsHookEx(hook), hotkeys > before;
}

std::vector<std::pair<std::wstring, UINT>> TakeShownMenu(HWND owner)
{
    HMENU menu = nullptr;
    PumpUntil([&] {
        for (HWND m : ProcessTopLevelWindows(L"#32768"))
            if (::IsWindowVisible(m)) menu = reinterpret_cast<HMENU>(::SendMessageW(m, MN_GETHMENU, 0, 0));
        return menu != nullptr;
    });
    std::vector<std::pair<std::wstring, UINT>> items;
    WCHAR text[128];
    for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i)
        if (UINT id = ::GetMenuItemID(menu, i); id && ::GetMenuStringW(menu, i, text, 128, MF_BYPOSITION))
            items.emplace_back(text + std::wstring(::GetMenuState(menu, i, MF_BYPOSITION) & MF_CHECKED ? L" [x]" : L""),
                               id);
    ::PostMessageW(owner, WM_CANCELMODE, 0, 0);
    return PumpUntil([] { return !::IsWindowVisible(::FindWindowW(L"#32768", nullptr)); }), items;
}

std::vector<std::pair<HWND, RECT>> ControlRects(HWND dlg)
{
    std::vector<std::pair<HWND, RECT>> controls;
    for (HWND c = ::GetWindow(dlg, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        if (RECT& rc = controls.emplace_back(c, RECT{}).second; ::GetWindowRect(c, &rc))
            ::MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&rc), 2);
    return controls;
}

std::string LayoutFault(HWND dlg)
{
    RECT client, common;
    ::GetClientRect(dlg, &client);
    const auto controls = ControlRects(dlg);
    for (auto c = controls.begin(); c != controls.end(); ++c)
    {
        const std::string id = std::to_string(::GetDlgCtrlID(c->first));
        if (!::IntersectRect(&common, &c->second, &client) || !::EqualRect(&common, &c->second))
            return "control " + id + " is clipped";
        for (auto o = controls.begin(); o != c; ++o)
            if (::IntersectRect(&common, &c->second, &o->second)) return "control " + id + " overlaps another";
    }
    return {};
}

ForeignWindow::ForeignWindow(POINT at, bool topMost)
{
    WCHAR exe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring cmd = L"\"" + std::wstring(exe) + L"\" --foreign-window " + std::to_wstring(at.x) + L" " +
                       std::to_wstring(at.y) + (topMost ? L" 1" : L" 0");
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    if (!::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi)) return;
    PumpUntil([&] {
        const std::vector<HWND> found = TopLevelWindows(m_pi.dwProcessId, L"UmbrafenForeign");
        return !found.empty() && ::IsWindowVisible(m_hwnd = found[0]);
    }, 15000);
}

int RunForeignWindow(wchar_t** argv)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == ForeignInsist) ::SetTimer(h, 1, 15, nullptr);
        if (msg != ForeignRaise && msg != WM_TIMER) return ::DefWindowProcW(h, msg, wp, lp);
        ::SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (msg == WM_TIMER) ::NotifyWinEvent(EVENT_OBJECT_REORDER, h, OBJID_WINDOW, CHILDID_SELF);
        return 0;
    };
    wc.lpszClassName = L"UmbrafenForeign";
    ::RegisterClassW(&wc);
    const bool topMost = _wtoi(argv[4]) != 0;
    HWND h = ::CreateWindowExW(topMost ? WS_EX_TOPMOST : 0, wc.lpszClassName, L"user's program", WS_POPUP,
                               _wtoi(argv[2]), _wtoi(argv[3]), 300, 200, nullptr, nullptr, nullptr, nullptr);
    ::ShowWindow(h, topMost ? SW_SHOWNOACTIVATE : SW_SHOW);
    ::NotifyWinEvent(EVENT_OBJECT_SHOW, h, OBJID_WINDOW, CHILDID_SELF);
    if (!topMost) ::SetForegroundWindow(h);
    for (MSG msg; ::GetMessageW(&msg, nullptr, 0, 0);) ::DispatchMessageW(&msg);
    return 0;
}

// Message boxes: visible dialogs with an OK button and text, neither the panel nor another template with a list.
MessageBoxWatcher::MessageBoxWatcher()
{
    m_thread = std::thread([this] {
        for (; !m_stop; ::Sleep(10))
            for (HWND h : ProcessTopLevelWindows(L"#32770"))
            {
                const std::wstring text = MessageBoxText(h);
                if (!::IsWindowVisible(h) || !::GetDlgItem(h, IDOK) || ::GetDlgItem(h, IDC_LIST_MONITORS) ||
                    ::GetWindowLongPtrW(h, GWLP_USERDATA) == InstanceMarker || text.empty())
                    continue;
                std::lock_guard<std::mutex>{m_lock}, m_texts.push_back(text);
                // Posted: the box's thread may be busy in a send to us. Once it is gone it cannot be counted twice.
                ::PostMessageW(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(::GetDlgItem(h, IDOK)));
                for (int i = 0; i < 1000 && ::IsWindow(h) && ::IsWindowVisible(h); ++i) ::Sleep(5);
            }
    });
}

PanelThread::PanelThread()
{
    m_thread = ::CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            auto* self = static_cast<PanelThread*>(p);
            CUmbrafenDlg dlg;
            self->m_dlg = &dlg;
            // The thread's main window, as in the application: dialogs opened without a parent are owned by it.
            CWinThread thread;
            thread.m_pMainWnd = &dlg;
            AfxSetThread(&thread);
            dlg.DoModal();
            // The panel stores its changes as it runs: the program's own starts find no test's file, and the next
            // panel's first store writes one even where its record is the same.
            DeleteDataFile(), SaveLoadSettings(FALSE);
            self->m_dlg = nullptr, self->m_ended = true;
            if (g_pMainDlg == &dlg) g_pMainDlg = nullptr;
            AfxSetThread(nullptr), AfxDeleteTempMaps();
            return 0;
        },
        this, 0, &m_threadId);
    // Shown by OnInitDialog; a sent message is handled once the dialog's loop runs, after all of its initialisation.
    PumpUntil([&] {
        CUmbrafenDlg* dlg = m_dlg;
        if (!m_ended && dlg && dlg->m_hWnd && ::IsWindowVisible(dlg->m_hWnd)) m_hwnd = dlg->m_hWnd;
        return m_hwnd.load() != nullptr || m_ended.load();
    }, 15000);
    if (HWND h = m_hwnd.load()) RoundTrip(h);
}

void PanelThread::Invoke(const std::function<void()>& fn)
{
    // A registered message, seen by a hook on the panel's thread, carries the call there.
    static const UINT msg = ::RegisterWindowMessageW(L"UmbrafenTestInvoke");
    HHOOK hook = ::SetWindowsHookExW(
        WH_CALLWNDPROC,
        [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
            auto* cwp = reinterpret_cast<CWPSTRUCT*>(lp);
            if (code == HC_ACTION && cwp->message == msg)
                (*reinterpret_cast<const std::function<void()>*>(cwp->lParam))();
            return ::CallNextHookEx(nullptr, code, wp, lp);
        },
        nullptr, m_threadId);
    ::SendMessageW(m_hwnd, msg, 0, reinterpret_cast<LPARAM>(&fn)), ::UnhookWindowsHookEx(hook);
}

PanelThread::~PanelThread()
{
    if (!m_ended && m_hwnd) ::PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
    if (!Ended(15000)) ADD_FAILURE() << "the control panel did not end";
    // The thread writes into this object until it ends; never free it earlier.
    ::WaitForSingleObject(m_thread, INFINITE), ::CloseHandle(m_thread);
}

void PanelTest::SetUp()
{
    AfxGetModuleState()->m_lpszCurrentAppName = L"Umbrafen";
    ResetAppSettings(), AppSettings.TurnOffMonitors = 0;   // never switch the test desktop's displays off
    for (const wchar_t* key : {PassthroughPromptKey, ColoredPromptKey, OnTopPromptKey, PassthroughOffPromptKey})
        RestorePrompt(key);
    BeforeOpen();
    m_panel = std::make_unique<PanelThread>();
    ASSERT_NE(Panel(), nullptr);
    ListView list(Panel(), IDC_LIST_MONITORS);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    for (int r = 0; r < list.Count(); ++r)
        if (::GetMonitorInfoW(list.Data(r), &info)) m_rows.emplace_back(list.Data(r), info.rcMonitor);
    ASSERT_EQ(m_rows.size(), 2u) << "the virtual desktop has two monitors";
}

void PanelTest::TearDown()
{
    CloseAllColoredWindows(), m_panel.reset();
    EXPECT_TRUE(PumpUntil([] { return OpenWindowRegistry.GetCount() == 0; }));
    ResetAppSettings();
}

HWND PanelTest::WindowOn(int row) const
{
    CString value;
    const bool found = OpenWindowRegistry.Lookup(FormatHandleText(m_rows[row].first), value);
    return found ? reinterpret_cast<HWND>(static_cast<ULONG_PTR>(ParseHandleText(value))) : nullptr;
}

int PanelTest::RowOf(int display) const
{
    const std::vector<std::wstring> names = ListView(Panel(), IDC_LIST_MONITORS).Column(DeviceNameColumn);
    return int(std::find(names.begin(), names.end(), L"\\\\.\\DISPLAY" + std::to_wstring(display)) - names.begin());
}

std::vector<HWND> PanelTest::WaitForWindows(const std::vector<int>& rows, const std::vector<HWND>& old)
{
    std::vector<HWND> windows;
    const bool ok = PumpUntil([&] {
        windows.clear();
        if (OpenWindowRegistry.GetCount() != static_cast<INT_PTR>(rows.size())) return false;
        for (int r : rows)
        {
            HWND h = WindowOn(r);
            if (!h || std::find(old.begin(), old.end(), h) != old.end() || !Settled(h)) return false;
            windows.push_back(h);
        }
        return true;
    });
    EXPECT_TRUE(ok) << "expected " << rows.size() << " new covers, registry holds " << OpenWindowRegistry.GetCount();
    for (HWND o : old) EXPECT_FALSE(::IsWindow(o)) << "an old window was left open";
    RECT rc{};
    for (size_t i = 0; ok && i < windows.size(); ++i)
        EXPECT_TRUE(::GetWindowRect(windows[i], &rc) && ::EqualRect(&rc, &m_rows[rows[i]].second))
            << "the window on row " << rows[i] << " misses its monitor";
    return ok ? windows : std::vector<HWND>{};
}

bool PanelTest::RoundTrips()
{
    bool all = RoundTrip(Panel());
    for (HWND h : OpenWindowRegistry.GetWindows()) all &= RoundTrip(h);
    return all;
}
