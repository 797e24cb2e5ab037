#include "panel/CustomFontDialog.h"
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

    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEW(IDR_MAINFRAME), MAKEINTRESOURCEW(14) /*RT_GROUP_ICON*/);
    HICON hIcon = ::LoadIconW(hInst, MAKEINTRESOURCEW(IDR_MAINFRAME));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));

    CString caption;
    caption.Format(L"%s - %s", m_strTitle.GetString(), AfxGetModuleState()->m_lpszCurrentAppName);
    SetWindowText(caption);
    return TRUE;
}
