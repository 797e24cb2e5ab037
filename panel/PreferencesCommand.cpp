// The control panel's side of the preferences: applying them (hotkeys, tray icon, auto-cover) and the
// Preferences... command, which saves Umbrafen.ini and the Run value.
#include "panel/PreferencesDlg.h"
#include "panel/UmbrafenDlg.h"
#include "settings/StartWithWindows.h"

void CUmbrafenDlg::ApplyPreferences()
{
    ShowTrayIcon(Preferences.TrayIcon != 0);
    // A panel hidden in the tray must not stay hidden once the icon is gone.
    if (!m_trayIconShown && !::IsWindowVisible(m_hWnd) && IsIconic()) ShowWindow(SW_SHOW);
    RegisterHotkeys();
    ApplyAutoCoverPreferences();
}

void CUmbrafenDlg::OnPreferences()
{
    std::vector<CString> problems = Preferences.Problems;
    for (const CString& failure : m_hotkeyFailures) problems.push_back(failure + L" is in use by another program");
    CPreferencesDlg dlg(Preferences, problems, this);
    if (dlg.DoModal() != IDOK) return;

    const PreferencesRecord before = Preferences;
    Preferences = dlg.m_prefs;
    // A line that could not be read keeps the user's text, and stays named, unless its field was changed here.
    Preferences.ReleaseChanged(before);
    CString path;
    GetPreferencesFilePath(path);
    if (path.IsEmpty() || !Preferences.Save(path))
        AppMessageBox(m_hWnd,
                      L"The preferences could not be saved to " + (path.IsEmpty() ? CString(L"Umbrafen.ini") : path) + L".",
                      MB_OK | MB_ICONWARNING);
    // Only a change is written: a Run value the user removed by other means stays removed.
    if (before.StartWithWindows != Preferences.StartWithWindows && !SetStartWithWindows(Preferences.StartWithWindows))
        AppMessageBox(m_hWnd, L"Start with Windows could not be changed in the registry.", MB_OK | MB_ICONWARNING);
    ApplyPreferences();
}
