// The control panel's tray icon: shown and removed as Preferences says, back after Explorer
// restarts, its menu, balloons, and Minimize to tray.
#include "panel/TrayIcon.h"
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/Preferences.h"

NotifyIconFunction NotifyIcon = &::Shell_NotifyIconW;

namespace {

NOTIFYICONDATAW IconData(HWND hWnd)
{
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = hWnd;
    data.uID = TrayIconId;
    return data;
}

UINT TaskbarCreatedMessage()
{
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

}   // namespace

void CUmbrafenDlg::ShowTrayIcon(bool show)
{
    NOTIFYICONDATAW data = IconData(m_hWnd);
    if (!show)
    {
        if (m_trayIconShown) NotifyIcon(NIM_DELETE, &data);
        m_trayIconShown = false;
        return;
    }
    if (m_trayIconShown) return;
    // The shell runs at the user's level; a raised panel would otherwise never hear from it.
    ::ChangeWindowMessageFilterEx(m_hWnd, TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
    ::ChangeWindowMessageFilterEx(m_hWnd, TrayCallbackMessage, MSGFLT_ALLOW, nullptr);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = TrayCallbackMessage;
    data.hIcon = m_hIcon;
    lstrcpynW(data.szTip, AfxGetModuleState()->m_lpszCurrentAppName, ARRAYSIZE(data.szTip));
    // After an Explorer restart the old icon is gone: add it again rather than modify.
    m_trayIconShown = NotifyIcon(NIM_ADD, &data) || NotifyIcon(NIM_MODIFY, &data);
}

void CUmbrafenDlg::OnTaskbarCreated()
{
    m_trayIconShown = false;
    if (Preferences.TrayIcon) ShowTrayIcon(true);
}

void CUmbrafenDlg::ShowNotice(LPCWSTR text)
{
    if (m_trayIconShown)
    {
        NOTIFYICONDATAW data = IconData(m_hWnd);
        data.uFlags = NIF_INFO;
        data.dwInfoFlags = NIIF_WARNING;
        lstrcpynW(data.szInfoTitle, AfxGetModuleState()->m_lpszCurrentAppName, ARRAYSIZE(data.szInfoTitle));
        lstrcpynW(data.szInfo, text, ARRAYSIZE(data.szInfo));
        if (NotifyIcon(NIM_MODIFY, &data)) return;
    }
    AppMessageBox(m_hWnd, text, MB_OK | MB_ICONWARNING);
}

HMENU CUmbrafenDlg::BuildTrayMenu()
{
    HMENU menu = ::CreatePopupMenu();
    // The panel's own commands, except that a show asked for here shows no prompt.
    ::AppendMenuW(menu, MF_STRING, ID_TRAY_SHOW, L"Show Window(s)");
    ::AppendMenuW(menu, MF_STRING, ID_CLOSE_ALL_COLORED_WINDOWS, L"Close All Window(s)");
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    const int rows = m_list.GetItemCount();
    for (int row = 0; row < rows && row <= ID_TRAY_TOGGLE_LAST - ID_TRAY_TOGGLE_FIRST; ++row)
    {
        // Checked while the monitor is covered: the item then uncovers it.
        const UINT state = IsRowCovered(row) ? MF_CHECKED : MF_UNCHECKED;
        ::AppendMenuW(menu, MF_STRING | state, ID_TRAY_TOGGLE_FIRST + row, L"Toggle " + m_list.GetItemText(row, 0));
    }
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    // Only while auto-cover is on; while it is paused the item ends the pause.
    if (m_autoCover.IsEnabled())
    {
        const bool paused = IsAutoCoverPaused();
        ::AppendMenuW(menu, MF_STRING, paused ? ID_TRAY_RESUME_AUTO_COVER : ID_TRAY_PAUSE_AUTO_COVER,
                      paused ? L"Resume" : L"Pause auto-cover for 1 hour");
    }
    ::AppendMenuW(menu, MF_STRING, ID_PREFERENCES, L"Preferences...");
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, ID_TRAY_OPEN, L"Open Umbrafen");
    ::AppendMenuW(menu, MF_STRING, ID_EXIT, L"Exit");
    // Bold, as the left click's action.
    ::SetMenuDefaultItem(menu, ID_TRAY_OPEN, FALSE);
    return menu;
}

LRESULT CUmbrafenDlg::OnTrayNotify(WPARAM, LPARAM lParam)
{
    const UINT event = LOWORD(lParam);
    if (event != WM_LBUTTONUP && event != WM_RBUTTONUP) return 0;
    // A box of the panel is open: bring it forward instead of starting another command under it.
    if (event == WM_LBUTTONUP || !::IsWindowEnabled(m_hWnd))
    {
        OnTrayOpen();
        return 0;
    }
    CMenu menu;
    menu.Attach(BuildTrayMenu());
    CPoint pos;
    ::GetCursorPos(&pos);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    ::SetForegroundWindow(m_hWnd);
    ::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, pos.x, pos.y, 0, m_hWnd, nullptr);
    PostMessage(WM_NULL);
    return 0;
}

void CUmbrafenDlg::OnTrayOpen()
{
    ShowWindow(SW_SHOW);
    if (IsIconic()) ShowWindow(SW_RESTORE);
    ::SetForegroundWindow(m_hWnd);
    // A modal box of the panel comes forward with it.
    if (HWND popup = ::GetLastActivePopup(m_hWnd); popup != m_hWnd) ::SetForegroundWindow(popup);
}

LRESULT CUmbrafenDlg::OnSize(WPARAM wParam, LPARAM)
{
    const LRESULT result = Default();
    // Minimised, maximised or restored: the placement's state changed. Sizes end with WM_EXITSIZEMOVE.
    if (wParam != m_sizeType) MarkSettingsChanged();
    m_sizeType = wParam;
    // Without the icon there would be no way back to a hidden panel.
    if (wParam == SIZE_MINIMIZED && Preferences.MinimizeToTray && m_trayIconShown) ShowWindow(SW_HIDE);
    return result;
}

LRESULT CUmbrafenDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == TaskbarCreatedMessage() && msg != 0)
    {
        OnTaskbarCreated();
        return 0;
    }
    if (msg == WM_COMMAND && HIWORD(wp) == 0 && LOWORD(wp) >= ID_TRAY_TOGGLE_FIRST && LOWORD(wp) <= ID_TRAY_TOGGLE_LAST)
    {
        const int row = LOWORD(wp) - ID_TRAY_TOGGLE_FIRST;
        if (row < m_list.GetItemCount()) ToggleRows({row});
        return 0;
    }
    return CDialogEx::WindowProc(msg, wp, lp);
}
