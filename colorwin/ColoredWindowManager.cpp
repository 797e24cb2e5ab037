// The control panel's side of the coloured windows: show, close, and the close sequence.
#include "colorwin/FullScreenDialog.h"
#include "colorwin/OpenWindowRegistry.h"
#include "display/DisplayApi.h"
#include "display/HandleText.h"
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/AppSettings.h"

namespace {

constexpr UINT_PTR CloseDelayTimer = 1;
constexpr UINT CloseDelayMs = 300;

} // namespace

void CUmbrafenDlg::OnShowWindows()
{
    UpdateData(TRUE);
    int checked = 0;
    const int rows = m_list.GetItemCount();
    for (int row = 0; row < rows; ++row)
        if (m_list.GetCheck(row)) ++checked;
    if (checked > 0)
    {
        ShowColoredWindows(FALSE);
        return;
    }
    MessageBox(L"Please Check Monitor(s)\n\non which you want to\n\nDisplay Colored Window(s) and then try again.\n\n"
               L"Alternatively Right Click on the Main Screen of this Software and then Click on Appropriate Menu Item.",
               AfxGetModuleState()->m_lpszCurrentAppName, MB_OK | MB_ICONINFORMATION);
}

void CUmbrafenDlg::ShowColoredWindows(BOOL bReshow)
{
    if (AppSettings.Passthrough)
        ShowDontShowAgainPrompt(L"To Close Passthrough Colored Window(s) about to be displayed,\n\nRight Click on the Main "
                                L"Screen of this Software and then Click on Appropriate Menu Item or Close this Software.",
                                L"606A7964-C1F1-4C7D-92EF-BC92E9F49BFB");
    else
        ShowDontShowAgainPrompt(L"To Close the Colored Window (about to be Displayed),\n\nRight Click on the Colored "
                                L"Window and then Click on Close Menu Item.",
                                L"0EA4C671-3CC3-4D6E-B060-FB244D24A0F8");

    // Exit chosen while the prompt was open: the panel is closing, nothing new may start.
    if (m_bClosing) return;

    CloseAllColoredWindows();

    AppSettings.Alpha = static_cast<BYTE>(GetDlgItem(IDC_SLIDER_ALPHA)->SendMessage(TBM_GETPOS) & 0xFF);

    const int rows = m_list.GetItemCount();
    for (int row = 0; row < rows; ++row)
    {
        if (!m_list.GetCheck(row)) continue;
        HMONITOR hMonitor = reinterpret_cast<HMONITOR>(m_list.GetItemData(row));
        const CString label = m_list.GetItemText(row, 0);

        MONITORINFO info{};
        info.cbSize = sizeof(MONITORINFO);
        if (!Display().GetMonitorInfoW(hMonitor, &info)) continue;   // the monitor went away

        CWinThread* pThread = AfxBeginThread(CThreadFullScreenDialog::GetThisClass(), THREAD_PRIORITY_NORMAL, 0,
                                             CREATE_SUSPENDED, nullptr);
        if (!pThread) continue;   // no thread, no window for this row
        CDlgFullScreenDialog& dlg = static_cast<CThreadFullScreenDialog*>(pThread)->m_dlgFullScreen;
        dlg.m_hMonitor = hMonitor;
        dlg.m_rcMonitor = info.rcMonitor;
        dlg.m_crColor = AppSettings.WindowColor;
        dlg.m_bOnTop = AppSettings.OnTop;
        dlg.m_pOpenWindows = &OpenWindowRegistry;
        dlg.m_strMonitorLabel = label;
        dlg.m_bInAltTab = AppSettings.InAltTab;
        dlg.m_nAlpha = AppSettings.Alpha;
        dlg.m_bPassthrough = AppSettings.Passthrough;
        dlg.m_nTicket = OpenWindowRegistry.Reserve(pThread->m_hThread);
        pThread->ResumeThread();
    }

    if (!bReshow && AppSettings.AutoMinimize) ShowWindow(SW_MINIMIZE);
    if (AppSettings.TurnOffMonitors) TurnOffMonitors();
}

void CUmbrafenDlg::CloseCheckedColoredWindows()
{
    const int rows = m_list.GetItemCount();
    for (int row = 0; row < rows; ++row)
    {
        if (!m_list.GetCheck(row)) continue;
        CString value;
        if (!OpenWindowRegistry.Lookup(FormatHandleText(reinterpret_cast<const void*>(m_list.GetItemData(row))), value))
            continue;
        ::PostMessageW(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(ParseHandleText(value))), WM_CLOSE, 0, 0);
    }
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

void CUmbrafenDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == CloseDelayTimer)
    {
        KillTimer(CloseDelayTimer);
        CDialogEx::OnCancel();
    }
    Default();
}
