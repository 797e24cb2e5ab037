// Helpers for tests that drive real windows on the virtual desktop. Waits are sized for a loaded machine, and a miss
// returns so that the test fails with its own message.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include "res/resource.h"
#include "tests/support/Files.h"
#include "tests/support/PromptStore.h"

class CUmbrafenDlg;

// Pumps this thread's messages until pred() holds or the time runs out.
inline bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 10000)
{
    for (const ULONGLONG end = ::GetTickCount64() + timeoutMs;;)
    {
        for (MSG msg; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
            ::TranslateMessage(&msg), ::DispatchMessageW(&msg);
        if (pred()) return true;
        if (::GetTickCount64() >= end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}
// Top-level windows of a process, visible or not, whose class is cls (any when null).
inline std::vector<HWND> TopLevelWindows(DWORD pid, LPCWSTR cls = nullptr)
{
    std::vector<HWND> all, found;
    ::EnumWindows([](HWND h, LPARAM all) { return reinterpret_cast<std::vector<HWND>*>(all)->push_back(h), TRUE; },
                  reinterpret_cast<LPARAM>(&all));
    WCHAR name[64];
    DWORD owner = 0;
    for (HWND h : all)
        if (::GetWindowThreadProcessId(h, &owner) && owner == pid && (!cls || (::GetClassNameW(h, name, 64) &&
                                                                               lstrcmpiW(name, cls) == 0)))
            found.push_back(h);
    return found;
}
inline std::vector<HWND> ProcessTopLevelWindows(LPCWSTR cls = nullptr)
{
    return TopLevelWindows(::GetCurrentProcessId(), cls);
}
inline std::wstring WindowText(HWND h)
{
    std::wstring text(::GetWindowTextLengthW(h), L'\0');
    return ::GetWindowTextW(h, text.data(), static_cast<int>(text.size()) + 1), text;
}
inline std::wstring MessageBoxText(HWND box)   // its static texts
{
    std::wstring text;
    WCHAR cls[32];
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        if (::GetClassNameW(c, cls, 32) && lstrcmpiW(cls, L"Static") == 0) text += WindowText(c);
    return text;
}
// A visible message box of this process whose text contains part; null when none.
inline HWND FindMessageBox(const std::wstring& part)
{
    for (HWND h : ProcessTopLevelWindows(L"#32770"))
        if (::IsWindowVisible(h) && MessageBoxText(h).find(part) != std::wstring::npos) return h;
    return nullptr;
}
// Waits for a visible dialog of this process with exactly this title; null when none came.
inline HWND WaitForDialog(const std::wstring& title)
{
    HWND found = nullptr;
    PumpUntil([&] {
        for (HWND h : ProcessTopLevelWindows(L"#32770"))
            if (::IsWindowVisible(h) && WindowText(h) == title) found = h;
        return found != nullptr;
    });
    return found;
}
// The window's thread has handled everything sent to it before: a round trip instead of a sleep.
inline bool RoundTrip(HWND h)
{
    DWORD_PTR r = 0;
    return ::SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &r) != 0;
}
// A window has finished its initialisation once it is visible and its thread answers.
inline bool Settled(HWND h)
{
    return ::IsWindowVisible(h) && RoundTrip(h);
}
inline int AlphaOf(HWND h)   // a layered window's opacity; -1 when it has none or is gone
{
    BYTE a = 0;
    return ::GetLayeredWindowAttributes(h, nullptr, &a, nullptr) ? a : -1;
}
inline LOGFONTW FontOf(HWND h)
{
    LOGFONTW lf{};
    return ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(h, WM_GETFONT, 0, 0)), sizeof(lf), &lf), lf;
}
// The dialog's controls in z-order, with their rectangles in its client coordinates.
std::vector<std::pair<HWND, RECT>> ControlRects(HWND dlg);
// Empty when every control of the dialog lies whole inside its client area and apart from the others.
std::string LayoutFault(HWND dlg);
inline void ClickButton(HWND dlg, int id)   // as a user does, from any thread
{
    ::SendMessageW(::GetDlgItem(dlg, id), BM_CLICK, 0, 0);
}
inline void SendCommand(HWND wnd, int id)   // as a menu item does
{
    ::SendMessageW(wnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}
// Ctrl+Alt+key as the keyboard makes it, the window brought to the front first (Wine delivers hotkeys only to a focused
// window of the process); a press that never arrived is made again. False when none arrived.
bool PressCtrlAlt(HWND panel, BYTE key);
// The popup menu that opens next, each item as its text (" [x]" when checked) and command, separators left out;
// it is then closed unused through its owner.
std::vector<std::pair<std::wstring, UINT>> TakeShownMenu(HWND owner);
// The display numbers of the covers among these windows (visible dialogs without controls), ascending: L"12". On the
// virtual desktop display 1 is 1920 x 1080 and display 2 1280 x 1024, both at 0,0; a cover on neither shows as '?'.
inline std::wstring DisplaysCovered(const std::vector<HWND>& windows)
{
    std::wstring numbers;
    RECT rc{};
    for (HWND h : windows)
        if (::IsWindowVisible(h) && !::GetWindow(h, GW_CHILD) && ::GetWindowRect(h, &rc))
            numbers +=
                rc.right == 1920 && rc.bottom == 1080 ? L'1' : (rc.right == 1280 && rc.bottom == 1024 ? L'2' : L'?');
    return std::sort(numbers.begin(), numbers.end()), numbers;
}

// "The user's program": a 300 x 200 window of this executable started again, taking the foreground (or, top-most,
// showing over the rest). ForeignRaise raises it once, unreported as under Wine; ForeignInsist every 15 ms, reported.
constexpr UINT ForeignRaise = WM_APP, ForeignInsist = WM_APP + 1;
struct ForeignWindow
{
    ForeignWindow(POINT at, bool topMost);
    ~ForeignWindow()
    {
        if (m_pi.hProcess) ::TerminateProcess(m_pi.hProcess, 0), ::WaitForSingleObject(m_pi.hProcess, 10000);
        if (m_pi.hProcess) ::CloseHandle(m_pi.hThread), ::CloseHandle(m_pi.hProcess);
    }
    HWND Hwnd() const { return m_hwnd; }
    PROCESS_INFORMATION m_pi{};
    HWND m_hwnd = nullptr;
};
int RunForeignWindow(wchar_t** argv);   // the other process's whole life
// Whether the user's window is still in front and the cover took neither activation nor the keyboard focus of its
// own thread (which under Wine takes the foreground away from the user late, through the X server).
inline bool KeptInFront(HWND user, HWND cover)
{
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    return Settled(cover) && ::GetGUIThreadInfo(::GetWindowThreadProcessId(cover, nullptr), &gui) && !gui.hwndFocus &&
           !gui.hwndActive && ::GetForegroundWindow() == user;
}
inline bool IsAbove(HWND upper, HWND lower)   // in the z-order
{
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT))
        if (w == upper || w == lower) return w == upper;
    return false;
}

// Watches for message boxes on a thread of its own and answers each one with its default button.
class MessageBoxWatcher
{
public:
    MessageBoxWatcher();
    ~MessageBoxWatcher() { m_stop = true, m_thread.join(); }
    std::vector<std::wstring> Texts() { return std::lock_guard<std::mutex>(m_lock), m_texts; }   // copied locked
    size_t Count() { return Texts().size(); }
    bool WaitForCount(size_t n) { return PumpUntil([&] { return Count() >= n; }); }

private:
    std::atomic<bool> m_stop{false};
    std::mutex m_lock;
    std::vector<std::wstring> m_texts;
    std::thread m_thread;
};

// The control panel, run with DoModal on a UI thread of its own, as the application runs it.
class PanelThread
{
public:
    PanelThread();
    ~PanelThread();   // closes the panel if still open and joins the thread
    HWND Hwnd() const { return m_hwnd; }
    CUmbrafenDlg* Dialog() const { return m_dlg; }
    bool Ended(DWORD timeoutMs = 10000) { return PumpUntil([&] { return m_ended.load(); }, timeoutMs); }
    void Invoke(const std::function<void()>& fn);   // runs fn on the panel's thread
    // Closes it as the user does and waits until its destruction (and so the store) is over.
    void Close() { EXPECT_TRUE(::PostMessageW(m_hwnd, WM_CLOSE, 0, 0) && Ended(15000)) << "the panel did not close"; }

private:
    std::atomic<HWND> m_hwnd{nullptr};
    std::atomic<CUmbrafenDlg*> m_dlg{nullptr};
    std::atomic<bool> m_ended{false};
    DWORD m_threadId = 0;
    HANDLE m_thread = nullptr;
};

// f(0) ... f(n - 1)
template <class F> auto Each(int n, F f)
{
    std::vector<decltype(f(0))> all;
    for (int i = 0; i < n; ++i) all.push_back(f(i));
    return all;
}

// A list-view control reached only through its window, as another program would.
struct ListView
{
    explicit ListView(HWND list) : m_h(list) {}
    ListView(HWND dlg, int id) : m_h(::GetDlgItem(dlg, id)) {}
    HWND Hwnd() const { return m_h; }
    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageW(m_h, msg, wp, lp); }
    int Count() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
    std::wstring Text(int row, int column) const
    {
        WCHAR buffer[512] = {};
        LVITEMW item{};
        item.iSubItem = column, item.pszText = buffer, item.cchTextMax = 512;
        return Send(LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)), buffer;
    }
    std::vector<std::wstring> Column(int c) const { return Each(Count(), [&](int r) { return Text(r, c); }); }
    std::vector<bool> Ticks() const
    {
        return Each(Count(), [&](int r) { return (Send(LVM_GETITEMSTATE, r, LVIS_STATEIMAGEMASK) >> 12) == 2; });
    }
    void SetTick(int row, bool on) const   // as a click on the row's check box does
    {
        LVITEMW item{};
        item.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1), item.stateMask = LVIS_STATEIMAGEMASK;
        Send(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
    HMONITOR Data(int row) const
    {
        LVITEMW item{};
        item.mask = LVIF_PARAM, item.iItem = row;
        return Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)), reinterpret_cast<HMONITOR>(item.lParam);
    }
    std::vector<int> ColumnWidths() const { return Each(7, [&](int c) { return int(Send(LVM_GETCOLUMNWIDTH, c)); }); }
    HWND m_h;
};

// The control panel on the two-monitor desktop: fresh settings, displays never switched off, every prompt in force.
class PanelTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    virtual void BeforeOpen() {}   // adjusts the settings the panel opens with

    HWND Panel() const { return m_panel->Hwnd(); }
    HWND Item(int id) const { return ::GetDlgItem(Panel(), id); }
    void Tick(const std::vector<bool>& rows)   // row r ticked as rows[r]
    {
        for (size_t r = 0; r < rows.size(); ++r) ListView(Panel(), IDC_LIST_MONITORS).SetTick(int(r), rows[r]);
    }
    HWND WindowOn(int row) const;               // the coloured window registered for the row's monitor
    int RowOf(int display) const;               // the row of \\.\DISPLAYn
    // Waits for a settled coloured window filling the monitor of each of the rows and none elsewhere,
    // none of them in old, which must all be gone; returns them in row order (empty on failure).
    std::vector<HWND> WaitForWindows(const std::vector<int>& rows, const std::vector<HWND>& old = {});
    // Round trips to the panel and to every cover's thread: what they were asked has been done.
    bool RoundTrips();

    std::unique_ptr<PanelThread> m_panel;
    std::vector<std::pair<HMONITOR, RECT>> m_rows;
};
