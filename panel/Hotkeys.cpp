// The control panel's global hotkeys: registration on the panel's window as Preferences
// sets them, the one report of those another program holds, and what each one does.
#include <algorithm>
#include "colorwin/ColoredWindowManager.h"
#include "colorwin/OpenWindowRegistry.h"
#include "display/DisplayApi.h"
#include "panel/TrayIcon.h"
#include "panel/UmbrafenDlg.h"
#include "settings/Preferences.h"

namespace {

// Hotkey id = slot + 1, so the ids follow the file's order (ToggleAll, CloseAll, Toggle1..9, ToggleHere, DimHere,
// BrightenHere, Peek).
constexpr int HotkeyIdBase = 1;
constexpr UINT PeekMs = 5000;

}   // namespace

void CUmbrafenDlg::RegisterHotkeys()
{
    UnregisterHotkeys();
    std::vector<CString> failures;
    for (int slot = 0; slot < HotkeySlotCount; ++slot)
    {
        const Hotkey& hotkey = HotkeyAt(Preferences, slot);
        if (!hotkey.IsSet()) continue;
        // MOD_NOREPEAT: holding the keys down must not toggle the covers on and off.
        if (!::RegisterHotKey(m_hWnd, HotkeyIdBase + slot, hotkey.Modifiers | MOD_NOREPEAT, hotkey.Key))
            failures.push_back(HotkeyKeyName(slot) + L"=" + HotkeyText(hotkey));
    }
    // Each refusal is told once: a later registration that fails the same way stays quiet.
    CString report;
    for (const CString& failure : failures)
        if (std::find(m_hotkeyFailures.begin(), m_hotkeyFailures.end(), failure) == m_hotkeyFailures.end())
            report += (report.IsEmpty() ? L"" : L"\n") + failure;
    m_hotkeyFailures = failures;
    if (!report.IsEmpty())
    {
        m_hotkeyReport = report;
        // Told once the panel is up and the tray icon in place.
        PostMessage(HotkeyReportMessage);
    }
}

void CUmbrafenDlg::UnregisterHotkeys()
{
    // Ids that were never registered fail harmlessly.
    for (int slot = 0; slot < HotkeySlotCount; ++slot) ::UnregisterHotKey(m_hWnd, HotkeyIdBase + slot);
}

LRESULT CUmbrafenDlg::OnHotkeyReport(WPARAM, LPARAM)
{
    if (m_hotkeyReport.IsEmpty()) return 0;
    CString text =
        L"These hotkeys are in use by another program:\n" + m_hotkeyReport + L"\nChoose others in Preferences.";
    m_hotkeyReport.Empty();
    ShowNotice(text);
    return 0;
}

LRESULT CUmbrafenDlg::OnHotKey(WPARAM wParam, LPARAM)
{
    const int slot = static_cast<int>(wParam) - HotkeyIdBase;
    if (slot == 0)
    {
        ToggleTickedRows();
    }
    else if (slot == 1)
    {
        CloseAllColoredWindows();
    }
    else if (slot >= 2 && slot <= ToggleHereSlot)
    {
        // A display that is not connected now, or a pointer on no listed monitor, has no row: the key does nothing.
        const int row = slot == ToggleHereSlot ? RowUnderPointer() : FindDisplayRow(slot - 1);
        if (row >= 0) ToggleRows({row});
    }
    else if (slot == DimHereSlot || slot == BrightenHereSlot)
    {
        StepOpacityHere(slot == DimHereSlot);
    }
    else if (slot == PeekSlot)
    {
        TogglePeek();
    }
    return 0;
}

int CUmbrafenDlg::RowUnderPointer()
{
    POINT pt{};
    const HMONITOR monitor = ::GetCursorPos(&pt) ? Display().MonitorFromPoint(pt, MONITOR_DEFAULTTONULL) : nullptr;
    for (int row = 0; monitor && row < m_list.GetItemCount(); ++row)
        if (MonitorOf(row) == monitor) return row;
    return -1;
}

// DimHere and BrightenHere change the cover's own opacity in place; a re-show takes the slider's again.
void CUmbrafenDlg::StepOpacityHere(bool dimmer)
{
    const int row = RowUnderPointer();
    if (row < 0) return;
    const HMONITOR monitor = MonitorOf(row);
    BYTE alpha = 0, maxAlpha = 0;
    if (!CoverAlphaOn(monitor, alpha, maxAlpha))
    {
        if (dimmer) CoverRows({row}, MinCoverOpacity);   // dimming begins from the faintest cover
        return;
    }
    ClaimAutoCover(monitor);   // the user's cover now: the pointer there must not take it away
    const int stepped = SteppedAlpha(alpha, dimmer, MinCoverOpacity, maxAlpha);
    if (stepped == 0) UncoverRows({row});
    else SetCoverAlphaOn(monitor, static_cast<BYTE>(stepped));
}

// The panel ends every peek, so all covers come back together, those started during it too.
void CUmbrafenDlg::TogglePeek()
{
    m_bPeeking = !m_bPeeking;
    PeekColoredWindows(m_bPeeking);
    if (m_bPeeking) SetTimer(PeekTimer, PeekMs, nullptr);
    else KillTimer(PeekTimer);
}

// One key for "covers on or off": if any ticked monitor is covered the ticked covers close,
// otherwise every ticked monitor is covered. Toggling each row on its own would swap a mixed
// state instead of settling it.
void CUmbrafenDlg::ToggleTickedRows()
{
    const std::vector<int> ticked = TickedRows();
    if (std::any_of(ticked.begin(), ticked.end(), [this](int row) { return IsRowCovered(row); })) UncoverRows(ticked);
    else CoverRows(ticked);
}
