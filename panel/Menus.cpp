// Commands of the control panel's menu that no other part of the panel owns,
// and F1 on the panel.
#include "display/DisplayDevicesDlg.h"
#include <shellapi.h>
#include "help/BrowserLauncher.h"
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "settings/Preferences.h"
#include "settings/StartWithWindows.h"

namespace {
CString LoadText(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}
}   // namespace

void CUmbrafenDlg::AutosizeColumns()
{
    m_list.GetWindowRect(&m_rcList);
    const int width = m_rcList.Width();
    CHeaderCtrl& header = m_list.GetHeaderCtrl();
    const int count = header.GetItemCount();
    // The default layout for the list's present width, scroll bar room included.
    for (int i = 0; i < count && i < ListColumnCount; ++i)
    {
        HDITEMW item{};
        item.mask = HDI_WIDTH;
        item.cxy = DefaultColumnWidth(width, i);
        header.SetItem(i, &item);
    }
    MarkSettingsChanged();
}

void CUmbrafenDlg::OnContactUs()
{
    MessageBox(L"Please write an email to " + LoadText(IDS_SUPPORT_EMAIL), nullptr, MB_OK | MB_ICONINFORMATION);
}

void CUmbrafenDlg::OnMakerWebsite()
{
    ShowBrowserLauncher(LoadText(IDS_MAKER_HOME_URL), this);
}

void CUmbrafenDlg::OnShare()
{
    ShowBrowserLauncher(LoadText(IDS_SHARE_URL), this);
}

BOOL CUmbrafenDlg::OnHelpInfo(HELPINFO*)
{
    ShowBrowserLauncher(LoadText(IDS_PRODUCT_URL), this);
    return TRUE;
}

void CUmbrafenDlg::OnMinimize()
{
    ShowWindow(SW_MINIMIZE);
}

void CUmbrafenDlg::OnDisplaySettings()
{
    // A failure leaves nothing to tell the user.
    ::ShellExecuteW(nullptr, nullptr, L"ms-settings:display", nullptr, nullptr, SW_SHOW);
}

void CUmbrafenDlg::OnDisplayDevices()
{
    CDlgDisplayDevices dlg(this);
    dlg.DoModal();
}

void CUmbrafenDlg::OnResetAllParameters()
{
    DeleteDataFile();
    DeletePreferencesFile();
    // With the file gone Start with Windows reads off, so the Run value goes too.
    SetStartWithWindows(FALSE);
    // Nothing is written back, at exit or by a store still pending, so the next start finds no file.
    ResetRequested = 1;
    AppMessageBox(m_hWnd, L"The Application will Close Now.\n\nStart it Again with Parameters Reset.");
    PostMessage(WM_CLOSE);
}
