#include "colorwin/CustomColorDialog.h"
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

    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEW(IDR_MAINFRAME), MAKEINTRESOURCEW(14) /*RT_GROUP_ICON*/);
    HICON hIcon = ::LoadIconW(hInst, MAKEINTRESOURCEW(IDR_MAINFRAME));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
    return TRUE;
}
