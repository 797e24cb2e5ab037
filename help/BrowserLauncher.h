// The Browser Launcher: every web link of the program goes through it.
//   CDlgBrowserHelper     shows a URL read-only; opens it in the browser or copies it
//   ShowBrowserLauncher   the one entry point: shows the launcher modally for a URL
#pragma once
#include "framework/Framework.h"

class CDlgBrowserHelper : public CDialogEx
{
public:
    explicit CDlgBrowserHelper(CWnd* pParent = nullptr);

    DECLARE_RUNTIME_CLASS()
    DECLARE_MESSAGE_MAP()

    CString m_strURL;   // set before DoModal

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOpenInBrowser();
    void OnCopyUrl();
    BOOL OnHelpInfo(HELPINFO* pHelpInfo);
};

void ShowBrowserLauncher(CString url, CWnd* parent);
