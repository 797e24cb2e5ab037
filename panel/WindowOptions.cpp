// Window options of the control panel: the rules that tie Passthrough and
// In Alt+Tab together.
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/AppSettings.h"

void CUmbrafenDlg::ApplyPassthroughRules()
{
    UpdateData(TRUE);
    if (!AppSettings.Passthrough)
    {
        ShowDontShowAgainPrompt(
            L"When Passthrough is Unchecked, User Input (Mouse, Keyboard, etc) will not be passed to Window or "
            L"Application beneath Colored Window.\n\nYou will be able to Right Click on the Colored Window and Click "
            L"on Close, Press Esc or Alt+F4 and Close the Colored Window.",
            L"5259886A-688A-4BCB-B915-8C60FEAD5CA3");
    }
    else if (AppSettings.InAltTab)
    {
        AppSettings.InAltTab = 0;
        UpdateData(FALSE);
    }
    if (CWnd* inAltTab = GetDlgItem(IDC_CHK_IN_ALT_TAB)) inAltTab->EnableWindow(!AppSettings.Passthrough);
}
