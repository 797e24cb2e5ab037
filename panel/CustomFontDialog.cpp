#include "panel/CustomFontDialog.h"
#include "app/AppIcon.h"
#include "res/resource.h"

const CRuntimeClass* CCustomFontDialog::GetThisClass()
{
    return MakeRuntimeClass<CCustomFontDialog, CFontDialog, false>("CCustomFontDialog");
}

const AFX_MSGMAP* CCustomFontDialog::GetThisMessageMap()
{
    static const AFX_MSGMAP map{&CFontDialog::GetThisMessageMap, {}};
    return &map;
}

BOOL CCustomFontDialog::OnInitDialog()
{
    CFontDialog::OnInitDialog();

    SetAppIcon(*this);

    CString caption;
    caption.Format(L"%s - %s", m_strTitle.GetString(), AfxGetModuleState()->m_lpszCurrentAppName);
    SetWindowText(caption);
    return TRUE;
}
