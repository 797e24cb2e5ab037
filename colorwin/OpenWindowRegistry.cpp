#include "colorwin/OpenWindowRegistry.h"
#include <algorithm>
#include <atomic>
#include "display/HandleText.h"
#include "framework/Scoped.h"

COpenWindowRegistry& OpenWindowRegistry = *new COpenWindowRegistry;

namespace {

// Waits for the handle or the time, still answering messages that other threads send to
// this thread's windows: a starting window may send to the panel while the panel waits.
void WaitAnsweringSends(HANDLE h, DWORD ms)
{
    if (::MsgWaitForMultipleObjects(1, &h, FALSE, ms, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1)
    {
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// A window thread that never answers must not hang the panel for good.
constexpr DWORD StartingWindowLimitMs = 10000;

}   // namespace

COpenWindowRegistry::COpenWindowRegistry() : m_map(10), m_changed(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

BOOL COpenWindowRegistry::Lookup(LPCWSTR key, CString& rValue) const
{
    CExclusiveLock guard(m_lock);
    return m_map.Lookup(key, rValue);
}

INT_PTR COpenWindowRegistry::GetCount() const
{
    CExclusiveLock guard(m_lock);
    return m_map.GetCount();
}

std::vector<HWND> COpenWindowRegistry::GetWindows() const
{
    std::vector<HWND> windows;
    CExclusiveLock guard(m_lock);
    windows.reserve(static_cast<size_t>(m_map.GetCount()));
    CString key, value;
    for (POSITION pos = m_map.GetStartPosition(); pos;)
    {
        m_map.GetNextAssoc(pos, key, value);
        windows.push_back(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(ParseHandleText(value))));
    }
    return windows;
}

COpenWindowRegistry::Slot* COpenWindowRegistry::Find(UINT_PTR ticket)
{
    auto it = std::find_if(m_slots.begin(), m_slots.end(), [ticket](const Slot& s) { return s.ticket == ticket; });
    return it == m_slots.end() ? nullptr : &*it;
}

const COpenWindowRegistry::Slot* COpenWindowRegistry::Find(UINT_PTR ticket) const
{
    return const_cast<COpenWindowRegistry*>(this)->Find(ticket);
}

void COpenWindowRegistry::Changed()
{
    ::SetEvent(m_changed);
}

UINT_PTR COpenWindowRegistry::Reserve(HANDLE hThread, LPCWSTR key, BOOL autoCover, BYTE alpha, BYTE maxAlpha)
{
    HANDLE copy = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), hThread, ::GetCurrentProcess(), &copy, SYNCHRONIZE, FALSE, 0);
    CExclusiveLock guard(m_lock);
    // Threads that have ended need no waiting for at exit.
    std::erase_if(m_threads, [](HANDLE h) {
        if (::WaitForSingleObject(h, 0) != WAIT_OBJECT_0) return false;
        ::CloseHandle(h);
        return true;
    });
    if (copy) m_threads.push_back(copy);
    const UINT_PTR ticket = m_nextTicket++;
    m_slots.push_back({ticket, State::Starting, key, autoCover});
    m_slots.back().alpha = std::min(alpha, maxAlpha), m_slots.back().maxAlpha = maxAlpha;
    return ticket;
}

BOOL COpenWindowRegistry::Register(UINT_PTR ticket, HWND hWnd, BYTE* alpha, BOOL* peeking)
{
    CExclusiveLock guard(m_lock);
    Slot* slot = Find(ticket);
    if (!slot) return FALSE;
    if (slot->state != State::Starting)
    {
        slot->state = State::Closed;
        Changed();
        return FALSE;
    }
    slot->state = State::Open;
    slot->hWnd = hWnd;
    if (alpha) *alpha = slot->alpha;
    if (peeking) *peeking = m_peeking;
    // An older window on this monitor may still be closing: the key names the new one from now on.
    m_map[slot->key] = FormatHandleText(hWnd);
    return TRUE;
}

void COpenWindowRegistry::MarkShown(UINT_PTR ticket)
{
    CExclusiveLock guard(m_lock);
    if (Slot* slot = Find(ticket)) slot->settled = true;
    Changed();
}

BOOL COpenWindowRegistry::Rekey(UINT_PTR ticket, LPCWSTR key)
{
    CExclusiveLock guard(m_lock);
    Slot* slot = Find(ticket);
    if (!slot || slot->state != State::Open) return FALSE;
    for (const Slot& s : m_slots)
        if (&s != slot && IsLive(s) && s.key.Compare(key) == 0) return FALSE;
    CString value;
    if (m_map.Lookup(slot->key, value) && ParseHandleText(value) == reinterpret_cast<ULONG_PTR>(slot->hWnd))
        m_map.RemoveKey(slot->key);
    slot->key = key;
    m_map[key] = FormatHandleText(slot->hWnd);
    Changed();
    return TRUE;
}

void COpenWindowRegistry::Unregister(UINT_PTR ticket, HWND hWnd)
{
    CExclusiveLock guard(m_lock);
    Slot* slot = Find(ticket);
    if (!slot) return;
    CString value;
    if (m_map.Lookup(slot->key, value) && ParseHandleText(value) == reinterpret_cast<ULONG_PTR>(hWnd))
        m_map.RemoveKey(slot->key);
    slot->state = State::Closed;
    Changed();
}

void COpenWindowRegistry::Release(UINT_PTR ticket)
{
    CExclusiveLock guard(m_lock);
    const Slot* slot = Find(ticket);
    if (slot && !slot->settled)
    {
        // Kept for a command that still waits for it; a few are enough.
        if (m_failed.size() >= 32) m_failed.erase(m_failed.begin());
        m_failed.push_back(ticket);
    }
    std::erase_if(m_slots, [ticket](const Slot& s) { return s.ticket == ticket; });
    Changed();
}

INT_PTR COpenWindowRegistry::GetLiveCount() const
{
    CExclusiveLock guard(m_lock);
    return std::count_if(m_slots.begin(), m_slots.end(), IsLive);
}

COpenWindowRegistry::Slot* COpenWindowRegistry::LiveOn(LPCWSTR key)
{
    for (Slot& s : m_slots)
        if (IsLive(s) && s.key.Compare(key) == 0) return &s;
    return nullptr;
}

BOOL COpenWindowRegistry::AlphaOn(LPCWSTR key, BYTE& alpha, BYTE& maxAlpha) const
{
    CExclusiveLock guard(m_lock);
    const Slot* slot = const_cast<COpenWindowRegistry*>(this)->LiveOn(key);
    if (slot) alpha = slot->alpha, maxAlpha = slot->maxAlpha;
    return slot != nullptr;
}

HWND COpenWindowRegistry::SetAlphaOn(LPCWSTR key, BYTE alpha)
{
    CExclusiveLock guard(m_lock);
    Slot* slot = LiveOn(key);
    if (!slot) return nullptr;
    slot->alpha = std::min(alpha, slot->maxAlpha);
    return slot->hWnd;
}

std::vector<HWND> COpenWindowRegistry::SetPeeking(BOOL peeking)
{
    std::vector<HWND> windows;
    CExclusiveLock guard(m_lock);
    m_peeking = peeking;
    for (const Slot& s : m_slots)
        if (s.state == State::Open) windows.push_back(s.hWnd);
    return windows;
}

UINT_PTR COpenWindowRegistry::CoverOn(LPCWSTR key) const
{
    CExclusiveLock guard(m_lock);
    for (const Slot& s : m_slots)
        if (IsLive(s) && s.key.Compare(key) == 0) return s.ticket;
    return 0;
}

BOOL COpenWindowRegistry::IsAutoCovered(LPCWSTR key) const
{
    CExclusiveLock guard(m_lock);
    bool any = false;
    for (const Slot& s : m_slots)
    {
        if (!IsLive(s) || s.key.Compare(key) != 0) continue;
        if (!s.autoCover) return FALSE;
        any = true;
    }
    return any;
}

void COpenWindowRegistry::ClaimAutoCover(LPCWSTR key)
{
    CExclusiveLock guard(m_lock);
    for (Slot& s : m_slots)
        if (s.key.Compare(key) == 0) s.autoCover = FALSE;
}

void COpenWindowRegistry::BeginClose(Slot& s, std::vector<UINT_PTR>& tickets, std::vector<HWND>& toClose)
{
    if (s.state == State::Closed) return;
    if (s.state == State::Starting) s.state = State::Cancelled;
    if (s.state == State::Open)
    {
        s.state = State::Closing;
        toClose.push_back(s.hWnd);
    }
    s.settled = true;
    tickets.push_back(s.ticket);
}

std::vector<UINT_PTR> COpenWindowRegistry::BeginCloseOn(LPCWSTR key, std::vector<HWND>& toClose)
{
    std::vector<UINT_PTR> tickets;
    CExclusiveLock guard(m_lock);
    for (Slot& s : m_slots)
        if (s.key.Compare(key) == 0) BeginClose(s, tickets, toClose);
    return tickets;
}

std::vector<UINT_PTR> COpenWindowRegistry::BeginCloseAll(std::vector<HWND>& toClose)
{
    std::vector<UINT_PTR> tickets;
    CExclusiveLock guard(m_lock);
    for (Slot& s : m_slots)
    {
        // Windows already closing are sent their WM_CLOSE too: Close All returns only once they are gone.
        if (s.state == State::Closing) toClose.push_back(s.hWnd);
        BeginClose(s, tickets, toClose);
    }
    return tickets;
}

bool COpenWindowRegistry::IsShownOrTakenAway(UINT_PTR ticket) const
{
    if (const Slot* slot = Find(ticket)) return slot->settled;
    return ticket != 0 && std::find(m_failed.begin(), m_failed.end(), ticket) == m_failed.end();
}

bool COpenWindowRegistry::IsDestroyed(UINT_PTR ticket) const
{
    const Slot* slot = Find(ticket);
    return !slot || slot->state == State::Closed;
}

BOOL COpenWindowRegistry::WaitUntil(const std::vector<UINT_PTR>& shown, const std::vector<UINT_PTR>& destroyed,
                                    DWORD timeoutMs) const
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;)
    {
        {
            CExclusiveLock guard(m_lock);
            for (UINT_PTR t : shown)
                if (!Find(t) && !IsShownOrTakenAway(t)) return FALSE;   // it never came up, and never will
            if (std::all_of(shown.begin(), shown.end(), [this](UINT_PTR t) { return IsShownOrTakenAway(t); }) &&
                std::all_of(destroyed.begin(), destroyed.end(), [this](UINT_PTR t) { return IsDestroyed(t); }))
                return TRUE;
            if (::GetTickCount64() >= deadline) return FALSE;
            ::ResetEvent(m_changed);
        }
        // The timeout only covers a wake-up that another waiter's reset swallowed.
        WaitAnsweringSends(m_changed, 50);
    }
}

BOOL COpenWindowRegistry::WaitForThreads(DWORD timeoutMs)
{
    std::vector<HANDLE> threads;
    {
        CExclusiveLock guard(m_lock);
        threads.swap(m_threads);
    }
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    BOOL all = TRUE;
    for (HANDLE h : threads)
    {
        while (::WaitForSingleObject(h, 0) == WAIT_TIMEOUT)
        {
            const ULONGLONG now = ::GetTickCount64();
            if (now >= deadline)
            {
                all = FALSE;
                break;
            }
            WaitAnsweringSends(h, static_cast<DWORD>(deadline - now));
        }
        ::CloseHandle(h);
    }
    return all;
}

namespace {
std::atomic<HWND> g_hControlPanel{nullptr};
}

void SetControlPanelWindow(HWND hWnd)
{
    g_hControlPanel.store(hWnd);
}

HWND ControlPanelWindow()
{
    return g_hControlPanel.load();
}

BOOL CloseAllColoredWindows(std::vector<UINT_PTR>* closed)
{
    // The handles are copied out first: each window unregisters itself on its own
    // thread while the send waits, so the lock must be free by then.
    std::vector<HWND> windows;
    const std::vector<UINT_PTR> tickets = OpenWindowRegistry.BeginCloseAll(windows);
    for (HWND hWnd : windows) ::SendMessageW(hWnd, WM_CLOSE, 0, 0);
    OpenWindowRegistry.WaitUntil({}, tickets, StartingWindowLimitMs);
    if (closed) *closed = tickets;
    return !tickets.empty();
}
