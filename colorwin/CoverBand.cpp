// Runs on the cover's own thread: the hooks deliver their events to this thread's message loop.
#include "colorwin/CoverBand.h"
#include <iterator>

namespace {

thread_local CCoverBand* t_band = nullptr;

// How a window of another program shows itself, comes to the front or moves up. Wine 8 raises
// none of these for such a raise: the timer's look finds those.
constexpr DWORD BandEvents[] = {EVENT_SYSTEM_FOREGROUND, EVENT_OBJECT_SHOW, EVENT_OBJECT_REORDER,
                                EVENT_OBJECT_LOCATIONCHANGE};
constexpr UINT CheckEveryMs = 1000;
constexpr ULONGLONG RaiseWindowMs = 1000;

bool IsRival(HWND w, const RECT& cover)
{
    DWORD pid = 0;
    RECT rc, overlap;
    ::GetWindowThreadProcessId(w, &pid);
    return pid != ::GetCurrentProcessId() && ::IsWindowVisible(w) && !::IsIconic(w) &&
           (::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) && ::GetWindowRect(w, &rc) &&
           ::IntersectRect(&overlap, &rc, &cover);
}

}   // namespace

void CCoverBand::Start(HWND cover)
{
    m_hWnd = cover;
    t_band = this;
    // Our own windows never count: the panel and its boxes are not pushed under.
    for (DWORD event : BandEvents)
        if (HWINEVENTHOOK hook = ::SetWinEventHook(event, event, nullptr, &CCoverBand::OnWinEvent, 0, 0,
                                                   WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS))
            m_hooks.push_back(hook);
    ::SetTimer(m_hWnd, CoverBandCheckTimer, CheckEveryMs, nullptr);
}

void CCoverBand::Stop()
{
    for (HWINEVENTHOOK hook : m_hooks) ::UnhookWinEvent(hook);
    m_hooks.clear();
    if (t_band == this) t_band = nullptr;
    if (m_hWnd)
    {
        ::KillTimer(m_hWnd, CoverBandCheckTimer);
        ::KillTimer(m_hWnd, CoverBandRetryTimer);
    }
    m_hWnd = nullptr;
}

void CCoverBand::OnTimer(UINT_PTR id)
{
    if (id == CoverBandRetryTimer) ::KillTimer(m_hWnd, CoverBandRetryTimer);
    if (id == CoverBandCheckTimer || id == CoverBandRetryTimer) Check();
}

void CALLBACK CCoverBand::OnWinEvent(HWINEVENTHOOK, DWORD event, HWND hWnd, LONG idObject, LONG idChild, DWORD, DWORD)
{
    if (!t_band || !hWnd) return;
    // A reorder names the parent whose children moved; the others must be a top-level window
    // itself, not its caret, cursor or a control in it.
    if (event != EVENT_OBJECT_REORDER &&
        (idObject != OBJID_WINDOW || idChild != CHILDID_SELF || ::GetAncestor(hWnd, GA_ROOT) != hWnd))
        return;
    t_band->Check();
}

HWND CCoverBand::HighestRival() const
{
    RECT cover;
    if (!::GetWindowRect(m_hWnd, &cover)) return nullptr;
    for (HWND w = ::GetTopWindow(nullptr); w && w != m_hWnd; w = ::GetWindow(w, GW_HWNDNEXT))
        if (IsRival(w, cover)) return w;
    return nullptr;
}

void CCoverBand::Check()
{
    // Demoted by another program, or never top-most: that is for a re-check to settle, not this.
    if (!m_hWnd || !(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST)) return;
    const HWND rival = HighestRival();
    if (!rival) return;
    const ULONGLONG now = ::GetTickCount64();
    const ULONGLONG oldest = m_raisedAt[m_next];
    // Two programs that both insist on the top would otherwise take turns as fast as they can.
    if (oldest && now - oldest < RaiseWindowMs)
    {
        ::SetTimer(m_hWnd, CoverBandRetryTimer, static_cast<UINT>(RaiseWindowMs - (now - oldest)) + 1, nullptr);
        return;
    }
    m_raisedAt[m_next] = now;
    m_next = (m_next + 1) % std::size(m_raisedAt);
    // Right above the rival, so whatever was above it stays so; never activated.
    HWND above = ::GetWindow(rival, GW_HWNDPREV);
    ::SetWindowPos(m_hWnd, above ? above : HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
