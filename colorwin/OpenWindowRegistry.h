// The open coloured windows: the one place where the control panel's thread
// and the window threads meet. Everything here may run on any thread.
//   COpenWindowRegistry     monitor handle text -> window handle text ("%llu"), plus the
//                           lifetime of every window from its thread's start to its end
//   OpenWindowRegistry      the process-wide instance (never destroyed)
//   CloseAllColoredWindows  closes every window, open or still starting, and waits for it
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

    // Adds the entry, or replaces the value under a key that is present.
    void SetAt(LPCWSTR key, LPCWSTR value);
    BOOL RemoveKey(LPCWSTR key);
    BOOL Lookup(LPCWSTR key, CString& rValue) const;
    INT_PTR GetCount() const;
    // The window handles of all entries at this moment, in the map's order.
    std::vector<HWND> GetWindows() const;

    // A window counts from its thread's creation to that thread's end, so a Close All
    // also reaches windows whose threads have not yet created them.
    // Starter's thread, before the window thread runs, for the window that will cover the
    // monitor with this key: returns the window's ticket. autoCover marks a cover that
    // auto-cover made and may take away again.
    UINT_PTR Reserve(HANDLE hThread, LPCWSTR key, BOOL autoCover = FALSE);
    // Window thread, once its window exists: adds the entry. FALSE when a Close All came
    // first; the window must then destroy itself unseen.
    BOOL Register(UINT_PTR ticket, HWND hWnd);
    // Window thread, as its window is destroyed: removes the entry if it still names hWnd.
    void Unregister(UINT_PTR ticket, HWND hWnd);
    // Window thread, as it ends, whether or not it made a window.
    void Release(UINT_PTR ticket);
    // Windows open or still starting.
    INT_PTR GetLiveCount() const;
    // Whether a window covers, or is about to cover, the monitor with this key.
    BOOL IsCovered(LPCWSTR key) const;
    // Whether that monitor is covered by auto-cover's windows alone.
    BOOL IsAutoCovered(LPCWSTR key) const;
    // The user asked for that monitor's cover: an auto-cover there becomes the user's.
    void ClaimAutoCover(LPCWSTR key);
    // Cancels the windows still starting for that monitor; returns the open one, if any.
    HWND BeginCloseOn(LPCWSTR key);

    // Close All's two halves: cancels every starting window and returns the open ones
    // (and the newest ticket) ...
    std::vector<HWND> BeginCloseAll(UINT_PTR* horizon);
    // ... then waits until no window up to that ticket is open or starting.
    void WaitUntilClosed(UINT_PTR horizon) const;
    // At the end of the process: waits (bounded) for every window thread to have ended.
    BOOL WaitForThreads(DWORD timeoutMs);

private:
    enum class State
    {
        Starting,
        Cancelled,
        Open,
        Closed
    };
    struct Slot
    {
        UINT_PTR ticket;
        State state;
        CString key;
        BOOL autoCover;
    };
    Slot* Find(UINT_PTR ticket);
    bool AnyLiveUpTo(UINT_PTR horizon) const;
    void Changed();

    mutable SRWLOCK m_lock = SRWLOCK_INIT;
    CMapStringToString m_map;
    std::vector<Slot> m_slots;
    std::vector<HANDLE> m_threads;   // duplicates, closed once the thread has ended
    UINT_PTR m_nextTicket = 1;
    HANDLE m_changed;   // manual-reset, set on every change of a slot
};

// Never destroyed: window threads may still use it while the process ends.
extern COpenWindowRegistry& OpenWindowRegistry;

// The control panel's window, for a window's Exit item; null while there is none.
void SetControlPanelWindow(HWND hWnd);
HWND ControlPanelWindow();

// Closes every window (WM_CLOSE, sent) and cancels every starting one, then returns once
// all of them are destroyed and unregistered. FALSE when there was none.
BOOL CloseAllColoredWindows();
