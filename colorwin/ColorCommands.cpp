// The two colour commands: the control panel's colour for new windows, and a
// coloured window's own colour for as long as it stays open.
#include "colorwin/CustomColorDialog.h"
#include "colorwin/FullScreenDialog.h"
#include "panel/UmbrafenDlg.h"
#include "settings/AppSettings.h"

// Open windows keep their colour; the next show or re-show takes the new one.
void CUmbrafenDlg::OnInitialWindowColor()
{
    CCustomColorDialog dlg(AppSettings.WindowColor, CC_FULLOPEN, this);
    dlg.m_strTitle = L"Window Color";
    if (dlg.DoModal() == IDOK) AppSettings.WindowColor = dlg.GetColor();
}

// Runs on this window's thread and blocks only this window. The layered
// attributes are left as they are, so the opacity stays.
void CDlgFullScreenDialog::OnChangeColor()
{
    CCustomColorDialog dlg(m_crColor, CC_FULLOPEN, this);
    dlg.m_strTitle = L"Select Color";
    if (dlg.DoModal() != IDOK) return;
    m_crColor = dlg.GetColor();
    SetBackgroundColor(m_crColor, TRUE);
}
