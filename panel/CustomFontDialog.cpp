#include "panel/CustomFontDialog.h"
#include "res/AppIcon.h"
#include "res/resource.h"

IMPLEMENT_RUNTIME_CLASS(CCustomFontDialog, CFontDialog, false)

BEGIN_MESSAGE_MAP(CCustomFontDialog, CFontDialog)
END_MESSAGE_MAP()

BOOL CCustomFontDialog::OnInitDialog()
{
    CFontDialog::OnInitDialog();

    SetAppIcon(*this);

    CString caption;
    caption.Format(L"%s - %s", m_strTitle.GetString(), AfxGetModuleState()->m_lpszCurrentAppName);
    SetWindowText(caption);
    return TRUE;
}
