// The open coloured windows: the one place where the control panel's thread
// and the window threads meet. Everything here may run on any thread.
//   COpenWindowRegistry     monitor handle text -> window handle text ("%llu"), plus the
//                           lifetime of every window from its thread's start to its end
//   OpenWindowRegistry      the process-wide instance (never destroyed)
//   CloseAllColoredWindows  closes every window, open or still starting, and waits for it
// Every window has a ticket: what a command started or closed, it can wait for by ticket.
#pragma once
#include <windows.h>
#include <vector>
#include "framework/Strings.h"

class COpenWindowRegistry
{
public:
    COpenWindowRegistry();
    COpenWindowRegistry(const COpenWindowRegistry&) = delete;
    COpenWindowRegistry& operator=(const COpenWindowRegistry&) = delete;

    BOOL Lookup(LPCWSTR key, CString& rValue) const;
    INT_PTR GetCount() const;
    // The window handles of all entries at this moment, in the map's order.
    std::vector<HWND> GetWindows() const;

    // A window counts from its thread's creation to that thread's end, so a Close All
    // also reaches windows whose threads have not yet created them.
    // Starter's thread, before the window thread runs, for the window that will cover the
    // monitor with this key: returns the window's ticket. autoCover marks a cover that
    // auto-cover made and may take away again.
    // alpha: its opacity at the start, at most maxAlpha.
    UINT_PTR Reserve(HANDLE hThread, LPCWSTR key, BOOL autoCover = FALSE, BYTE alpha = 255, BYTE maxAlpha = 255);
    // Window thread, once its window exists: adds the entry, and gives the opacity and peek the
    // window shows, which may have changed while it started. FALSE when a close request came
    // first; the window must then destroy itself unseen.
    BOOL Register(UINT_PTR ticket, HWND hWnd, BYTE* alpha = nullptr, BOOL* peeking = nullptr);
    // Window thread, at the end of its window's initialisation: the cover is up and visible.
    void MarkShown(UINT_PTR ticket);
    // Window thread: its monitor has a new handle, with this key. FALSE when another window
    // already covers that monitor, or the window is on its way out.
    BOOL Rekey(UINT_PTR ticket, LPCWSTR key);
    // Window thread, as its window is destroyed: removes the entry if it still names hWnd.
    void Unregister(UINT_PTR ticket, HWND hWnd);
    // Window thread, as it ends, whether or not it made a window.
    void Release(UINT_PTR ticket);
    // Windows open or still starting; those asked to close no longer count.
    INT_PTR GetLiveCount() const;
    // The ticket of the window that covers, or is about to cover, the monitor with this key; 0 if none.
    UINT_PTR CoverOn(LPCWSTR key) const;
    // Whether that monitor is covered by auto-cover's windows alone.
    BOOL IsAutoCovered(LPCWSTR key) const;
    // The user asked for that monitor's cover: an auto-cover there becomes the user's.
    void ClaimAutoCover(LPCWSTR key);
    // The opacity of the live cover on that monitor and its cap; FALSE when there is none.
    BOOL AlphaOn(LPCWSTR key, BYTE& alpha, BYTE& maxAlpha) const;
    // Sets it (at most the cap); returns the window to tell, null while the window still starts
    // (it takes the value as it registers) or when there is no cover.
    HWND SetAlphaOn(LPCWSTR key, BYTE alpha);
    // Every cover is see-through while peeking, those that start meanwhile too; returns the
    // windows open now, to tell.
    std::vector<HWND> SetPeeking(BOOL peeking);

    // A close request takes effect here, under the lock, before any window has seen it: the
    // windows still starting are cancelled and the open ones marked closing, so the next
    // command already finds the monitor uncovered. Returns the tickets of every window on its
    // way out there; toClose gets the windows that still need their WM_CLOSE.
    std::vector<UINT_PTR> BeginCloseOn(LPCWSTR key, std::vector<HWND>& toClose);
    // The same for every window; toClose gets every window not yet destroyed.
    std::vector<UINT_PTR> BeginCloseAll(std::vector<HWND>& toClose);
    // Waits until every ticket in shown is shown or was taken away by a later close request,
    // and every ticket in destroyed is destroyed, answering sent messages meanwhile. FALSE
    // after timeoutMs, or at once for a window that failed to come up (ticket 0 included).
    BOOL WaitUntil(const std::vector<UINT_PTR>& shown, const std::vector<UINT_PTR>& destroyed, DWORD timeoutMs) const;
    // At the end of the process: waits (bounded) for every window thread to have ended.
    BOOL WaitForThreads(DWORD timeoutMs);

private:
    enum class State
    {
        Starting,
        Cancelled,
        Open,
        Closing,
        Closed
    };
    struct Slot
    {
        UINT_PTR ticket;
        State state;
        CString key;
        BOOL autoCover;
        HWND hWnd = nullptr;
        bool settled = false;   // shown, or taken away by a close request before it was
        BYTE alpha = 255;
        BYTE maxAlpha = 255;
    };
    Slot* LiveOn(LPCWSTR key);
    Slot* Find(UINT_PTR ticket);
    const Slot* Find(UINT_PTR ticket) const;
    static bool IsLive(const Slot& s) { return s.state == State::Starting || s.state == State::Open; }
    // Takes the slot out of the live ones; a window to close goes to toClose.
    void BeginClose(Slot& s, std::vector<UINT_PTR>& tickets, std::vector<HWND>& toClose);
    bool IsShownOrTakenAway(UINT_PTR ticket) const;
    bool IsDestroyed(UINT_PTR ticket) const;
    void Changed();

    mutable SRWLOCK m_lock = SRWLOCK_INIT;
    CMapStringToString m_map;
    std::vector<Slot> m_slots;
    std::vector<HANDLE> m_threads;    // duplicates, closed once the thread has ended
    std::vector<UINT_PTR> m_failed;   // the latest tickets whose window never came up
    UINT_PTR m_nextTicket = 1;
    BOOL m_peeking = FALSE;
    HANDLE m_changed;   // manual-reset, set on every change of a slot
};

// Never destroyed: window threads may still use it while the process ends.
extern COpenWindowRegistry& OpenWindowRegistry;

// The control panel's window, for a window's Exit item; null while there is none.
void SetControlPanelWindow(HWND hWnd);
HWND ControlPanelWindow();

// Closes every window (WM_CLOSE, sent) and cancels every starting one, then returns once
// all of them are destroyed and unregistered. FALSE when there was none. closed, when
// given, gets the tickets of those windows.
BOOL CloseAllColoredWindows(std::vector<UINT_PTR>* closed = nullptr);
