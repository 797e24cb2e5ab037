// The control panel hears of lock, unlock and resume for the whole run: auto-cover's waits
// follow them, and after an unlock every cover checks its monitor, opacity and band again.
// The covers hear of a resume and of display changes themselves.
#include "panel/UmbrafenDlg.h"
#include <wtsapi32.h>
#include "colorwin/ColoredWindowManager.h"

namespace {

// Early at logon the session service may not be up yet: tried again for some minutes.
constexpr UINT SessionNotifyRetryMs = 5000;
constexpr int SessionNotifyMaxTries = 60;

}   // namespace

void CUmbrafenDlg::RegisterSessionNotify()
{
    KillTimer(SessionNotifyTimer);
    if (m_sessionNotify || m_bClosing) return;
    m_sessionNotify = ::WTSRegisterSessionNotification(m_hWnd, NOTIFY_FOR_THIS_SESSION) != FALSE;
    if (!m_sessionNotify && ++m_sessionNotifyTries < SessionNotifyMaxTries)
        SetTimer(SessionNotifyTimer, SessionNotifyRetryMs, nullptr);
}

// Before the window is destroyed: a registration must not outlive the window it names.
void CUmbrafenDlg::UnregisterSessionNotify()
{
    KillTimer(SessionNotifyTimer);
    if (m_sessionNotify) ::WTSUnRegisterSessionNotification(m_hWnd);
    m_sessionNotify = false;
}

LRESULT CUmbrafenDlg::OnSessionChange(WPARAM wParam, LPARAM)
{
    if (wParam == WTS_SESSION_LOCK) m_autoCover.SetSessionLocked(true);
    if (wParam == WTS_SESSION_UNLOCK)
    {
        m_autoCover.SetSessionLocked(false);
        RecheckColoredWindows();
    }
    return 0;
}

LRESULT CUmbrafenDlg::OnPowerBroadcast(WPARAM wParam, LPARAM)
{
    if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) m_autoCover.RestartWaits();
    return TRUE;
}
