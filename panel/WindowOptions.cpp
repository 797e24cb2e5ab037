// Window options of the control panel: On Top, In Alt+Tab, Passthrough and
// opacity, the rules that tie Passthrough and In Alt+Tab together, the colour of
// new windows, the displays-off command, the "?" help and dragging the panel by
// its client area.
#include "colorwin/CustomColorDialog.h"
#include "colorwin/OpenWindowRegistry.h"
#include "display/MonitorPower.h"
#include "help/HelpPopup.h"
#include "help/Prompts.h"
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/AppSettings.h"

// Open windows are never restyled in place: they are replaced by new ones
// that take the current options. With none open nothing is shown.
void CUmbrafenDlg::ReshowColoredWindows()
{
    // Windows still starting count too: they would otherwise come up with the old options.
    if (OpenWindowRegistry.GetLiveCount() == 0) return;
    CloseAllColoredWindows();
    ShowColoredWindows(TRUE);
}

void CUmbrafenDlg::OnOnTop()
{
    UpdateData(TRUE);
    MarkSettingsChanged();
    if (!AppSettings.OnTop)
        ShowDontShowAgainPrompt(m_hWnd,
                                L"When On Top is Unchecked,\n\nyou will be able to use Alt+Tab to switch to other "
                                L"Application / Document Window.",
                                L"1669EE73-6C2F-44EE-8960-8293136A79B9");
    ReshowColoredWindows();
}

void CUmbrafenDlg::OnInAltTab()
{
    UpdateData(TRUE);
    MarkSettingsChanged();
    ReshowColoredWindows();
}

void CUmbrafenDlg::OnPassthrough()
{
    UpdateData(TRUE);
    MarkSettingsChanged();
    ApplyPassthroughRules();
    ReshowColoredWindows();
}

void CUmbrafenDlg::ApplyPassthroughRules(BOOL bPrompt)
{
    UpdateData(TRUE);
    if (!AppSettings.Passthrough)
    {
        if (bPrompt)
            ShowDontShowAgainPrompt(m_hWnd,
                                    L"When Passthrough is Unchecked, User Input (Mouse, Keyboard, etc) will not be "
                                    L"passed to Window or Application beneath Colored Window.\n\nYou will be able to "
                                    L"Right Click on the Colored Window and Click on Close, Press Esc or Alt+F4 and "
                                    L"Close the Colored Window.",
                                    L"5259886A-688A-4BCB-B915-8C60FEAD5CA3");
    }
    else if (AppSettings.InAltTab)
    {
        AppSettings.InAltTab = 0;
        UpdateData(FALSE);
    }
    if (CWnd* inAltTab = GetDlgItem(IDC_CHK_IN_ALT_TAB)) inAltTab->EnableWindow(!AppSettings.Passthrough);
}

// Sent only when a mouse drag on the trackbar ends; keyboard moves wait for
// the next show. The position itself is read by ShowColoredWindows.
void CUmbrafenDlg::OnReleasedCaptureSlider(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    ReshowColoredWindows();
    *pResult = 0;
}

void CUmbrafenDlg::OnTurnOffMonitors()
{
    TurnOffMonitors();
}

// Auto Minimize and Turn Off Monitor(s) act only at the next show; the record takes what they show at
// once, so that the change is kept.
void CUmbrafenDlg::OnOptionBox()
{
    UpdateData(TRUE);
    MarkSettingsChanged();
}

// The panel moves as if its caption had been grabbed.
void CUmbrafenDlg::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/)
{
    SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, 0);
    Default();
}

// Open windows keep their colour; the next show or re-show takes the new one.
void CUmbrafenDlg::OnInitialWindowColor()
{
    if (PickColor(this, L"Window Color", AppSettings.WindowColor)) MarkSettingsChanged();
}

void CUmbrafenDlg::OnHelpButton()
{
    ShowHelp(m_hWnd);
}
