// The control panel's cover commands: show, close, and the close sequence.
#include "colorwin/ColoredWindowManager.h"
#include "colorwin/OpenWindowRegistry.h"
#include "display/MonitorEnum.h"
#include "display/MonitorPower.h"
#include "help/Prompts.h"
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "settings/Preferences.h"

namespace {

constexpr UINT CloseDelayMs = 300;

}   // namespace

void CUmbrafenDlg::OnShowWindows()
{
    UpdateData(TRUE);
    if (!TickedRows().empty()) ShowColoredWindows(FALSE);
    else ShowNoMonitorMessage();
}

// Asked for from the tray: as Show Window(s), without the prompt.
void CUmbrafenDlg::OnTrayShow()
{
    UpdateData(TRUE);
    if (!TickedRows().empty()) ShowTickedRows();
    else ShowNoMonitorMessage();
}

std::vector<int> CUmbrafenDlg::TickedRows()
{
    std::vector<int> ticked;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        if (m_list.GetCheck(row)) ticked.push_back(row);
    return ticked;
}

HMONITOR CUmbrafenDlg::MonitorOf(int row)
{
    return reinterpret_cast<HMONITOR>(m_list.GetItemData(row));
}

void CUmbrafenDlg::ReadSliderAlpha()
{
    AppSettings.Alpha = static_cast<BYTE>(m_slider.GetPos() & 0xFF);
}

void CUmbrafenDlg::ShowNoMonitorMessage()
{
    AppMessageBox(
        m_hWnd,
        L"Please Check Monitor(s)\n\non which you want to\n\nDisplay Colored Window(s) and then try again.\n\n"
        L"Alternatively Right Click on the Main Screen of this Software and then Click on Appropriate Menu Item.");
}

void CUmbrafenDlg::ShowColoredWindows(BOOL bReshow)
{
    if (AppSettings.Passthrough)
        ShowDontShowAgainPrompt(
            m_hWnd,
            L"To Close Passthrough Colored Window(s) about to be displayed,\n\nRight Click on the Main "
            L"Screen of this Software and then Click on Appropriate Menu Item or Close this Software.",
            L"606A7964-C1F1-4C7D-92EF-BC92E9F49BFB");
    else
        ShowDontShowAgainPrompt(m_hWnd,
                                L"To Close the Colored Window (about to be Displayed),\n\nRight Click on the Colored "
                                L"Window and then Click on Close Menu Item.",
                                L"0EA4C671-3CC3-4D6E-B060-FB244D24A0F8");

    // Exit chosen while the prompt was open: the panel is closing, nothing new may start.
    if (m_bClosing) return;

    CloseAllColoredWindows();
    // A command handled while that close waited may have started covers: they go too, as if
    // that command had come before this show.
    BeginCloseAllColoredWindows();

    ReadSliderAlpha();

    std::vector<CoverRequest> requests;
    for (int row : TickedRows()) requests.push_back(CoverRequestFor(row));
    CoverOptions options = CurrentCoverOptions();
    options.activate = TRUE;
    StartColoredWindows(requests, options);

    if (!bReshow && AppSettings.AutoMinimize) ShowWindow(SW_MINIMIZE);
    if (AppSettings.TurnOffMonitors) TurnOffMonitors();
}

void CUmbrafenDlg::CloseCheckedColoredWindows()
{
    UncoverRows(TickedRows());
}

void CUmbrafenDlg::OnCloseAllColoredWindows()
{
    CloseAllColoredWindows();
}

void CUmbrafenDlg::OnColoredWindowOnAllMonitors()
{
    const int rows = m_list.GetItemCount();
    for (int row = 0; row < rows; ++row) m_list.SetCheck(row, TRUE);
    ShowColoredWindows(FALSE);
}

void CUmbrafenDlg::OnExit()
{
    PostMessage(WM_CLOSE, 0, 0);
}

void CUmbrafenDlg::OnClose()
{
    m_bClosing = true;
    // Every coloured window is destroyed by now; the delay lets their threads run out.
    if (CloseAllColoredWindows()) SetTimer(CloseDelayTimer, CloseDelayMs, nullptr);
    else CDialogEx::OnCancel();
}

void CUmbrafenDlg::OnCancel()
{
    OnClose();
}

void CUmbrafenDlg::OnCloseDelayTimer()
{
    KillTimer(CloseDelayTimer);
    CDialogEx::OnCancel();
}

CoverRequest CUmbrafenDlg::CoverRequestFor(int row)
{
    return {MonitorOf(row), m_list.GetItemText(row, 0)};
}

// The options as a show reads them from the panel at this moment.
CoverOptions CUmbrafenDlg::ReadCoverOptions()
{
    UpdateData(TRUE);
    ReadSliderAlpha();
    return CurrentCoverOptions();
}

CoverOptions CUmbrafenDlg::CurrentCoverOptions() const
{
    return {AppSettings.WindowColor, AppSettings.OnTop, AppSettings.InAltTab,
            AppSettings.Passthrough, AppSettings.Alpha, Preferences.ExcludeFromCapture};
}

int CUmbrafenDlg::FindDisplayRow(int display)
{
    const int rows = m_list.GetItemCount();
    for (int row = 0; row < rows; ++row)
        if (DisplayNumberOf(m_list.GetItemText(row, DeviceNameColumn)) == display) return row;
    return -1;
}

BOOL CUmbrafenDlg::IsRowCovered(int row)
{
    return IsMonitorCovered(MonitorOf(row));
}

// Asked for directly (command line, hotkey, tray): no prompt, and covers already up stay.
CoverTickets CUmbrafenDlg::CoverRows(const std::vector<int>& rows, int alpha)
{
    // Nothing starts while the panel closes: for a command that asked for covers, that is a failure.
    if (m_bClosing) return {std::vector<UINT_PTR>(rows.size(), 0), {}};
    CoverOptions options = ReadCoverOptions();
    if (alpha >= 0) options.alpha = static_cast<BYTE>(alpha);
    CoverTickets done;
    std::vector<CoverRequest> requests;
    for (int row : rows)
    {
        m_list.SetCheck(row, TRUE);
        // An auto-cover already there stays, but as the user's: the pointer must not take it away.
        if (const UINT_PTR cover = CoverOnMonitor(MonitorOf(row)))
        {
            ClaimAutoCover(MonitorOf(row));
            done.started.push_back(cover);
        }
        else requests.push_back(CoverRequestFor(row));
    }
    done += {StartColoredWindows(requests, options), {}};
    return done;
}

CoverTickets CUmbrafenDlg::UncoverRows(const std::vector<int>& rows)
{
    std::vector<HMONITOR> monitors;
    for (int row : rows) monitors.push_back(MonitorOf(row));
    return {{}, CloseColoredWindowsOn(monitors)};
}

// A cover asked to close already counts as gone, so a second toggle right after the first covers again.
CoverTickets CUmbrafenDlg::ToggleRows(const std::vector<int>& rows)
{
    std::vector<int> cover, uncover;
    for (int row : rows) (IsRowCovered(row) ? uncover : cover).push_back(row);
    CoverTickets done = UncoverRows(uncover);
    done += CoverRows(cover);
    return done;
}
