#include "colorwin/CustomColorDialog.h"
#include "app/AppIcon.h"
#include "res/resource.h"

const CRuntimeClass* CCustomColorDialog::GetThisClass()
{
    return MakeRuntimeClass<CCustomColorDialog, CColorDialog, false>("CCustomColorDialog");
}

const AFX_MSGMAP* CCustomColorDialog::GetThisMessageMap()
{
    static const AFX_MSGMAP map{&CColorDialog::GetThisMessageMap, {}};
    return &map;
}

BOOL CCustomColorDialog::OnInitDialog()
{
    CColorDialog::OnInitDialog();

    CString title;
    title.Format(L"%s - %s", static_cast<LPCWSTR>(m_strTitle), AfxGetModuleState()->m_lpszCurrentAppName);
    SetWindowText(title);

    SetAppIcon(*this);
    return TRUE;
}
