// The data file kept current while the panel runs: a change to a value it holds, whoever made it,
// is stored about two seconds later, so a crash keeps what the user did before it. Nothing runs
// while nothing changes, and only bytes that differ from the file's are written.
#include "panel/UmbrafenDlg.h"
#include "settings/AppSettings.h"

namespace {

// Long enough to gather a burst of changes (a drag, several ticks) into one store.
constexpr UINT AutoSaveDelayMs = 2000;

}   // namespace

void CUmbrafenDlg::MarkSettingsChanged()
{
    // After Reset All Parameters the file must stay deleted.
    if (m_bAutoSavePending || ResetRequested || !m_hWnd) return;
    m_bAutoSavePending = SetTimer(AutoSaveTimer, AutoSaveDelayMs) != 0;
}

void CUmbrafenDlg::OnAutoSaveTimer()
{
    KillTimer(AutoSaveTimer);
    m_bAutoSavePending = false;
    // Reset All Parameters cancels a store still pending: the file stays deleted.
    if (ResetRequested) return;
    // Quietly: the box about more than 20 monitors belongs to the store at exit.
    CaptureSettings(FALSE);
    try
    {
        StoreSettingsIfChanged();
    }
    catch (CException* e)
    {
        // A full disk is told once, not every two seconds; the store at exit still reports its own.
        if (!m_bAutoSaveFailed)
        {
            m_bAutoSaveFailed = true;
            e->ReportError(MB_OK | MB_ICONWARNING);
        }
        e->Delete();
    }
}

void CUmbrafenDlg::OnListItemChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    // A tick is the row's state image; a row being added has none before.
    const auto* item = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    const UINT before = item->uOldState & LVIS_STATEIMAGEMASK, after = item->uNewState & LVIS_STATEIMAGEMASK;
    if ((item->uChanged & LVIF_STATE) && before && after != before) MarkSettingsChanged();
    *pResult = 0;
}

// The list forwards these two from its header (id 0); a width set by the program is marked where it is set.
void CUmbrafenDlg::OnColumnWidthChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    if (pNMHDR->hwndFrom == m_list.GetHeaderCtrl().m_hWnd) MarkSettingsChanged();
    *pResult = 0;
}

LRESULT CUmbrafenDlg::OnHScroll(WPARAM, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(lParam) == m_slider.m_hWnd) MarkSettingsChanged();
    return Default();
}

LRESULT CUmbrafenDlg::OnExitSizeMove(WPARAM, LPARAM)
{
    MarkSettingsChanged();
    return Default();
}
