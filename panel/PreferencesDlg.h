// CPreferencesDlg: the Preferences dialog. It edits a copy of the preferences record and
// checks it; the caller saves and applies what OK leaves in m_prefs.
#pragma once
#include "framework/Framework.h"
#include <vector>
#include "settings/Preferences.h"

class CPreferencesDlg : public CDialogEx
{
public:
    // problems: lines to show once in the dialog (unreadable ini lines, refused hotkeys).
    CPreferencesDlg(const PreferencesRecord& prefs, std::vector<CString> problems, CWnd* pParent = nullptr);

    DECLARE_RUNTIME_CLASS()

    PreferencesRecord m_prefs;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    // FALSE after telling the user what is wrong, with the focus on that control.
    BOOL ReadHotkeys();
    BOOL ReadAutoCover();
    BOOL Refuse(int nID, const CString& text);

    std::vector<CString> m_problems;
    CString m_seconds;
    CString m_displays;
    CString m_dimSeconds;
    CString m_dimOpacity;
};
