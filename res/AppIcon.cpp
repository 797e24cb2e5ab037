#include "res/AppIcon.h"
#include "res/resource.h"

HICON LoadAppIcon()
{
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEW(IDR_MAINFRAME), RT_GROUP_ICON);
    return ::LoadIconW(hInst, MAKEINTRESOURCEW(IDR_MAINFRAME));
}

void SetAppIcon(CWnd& wnd)
{
    HICON hIcon = LoadAppIcon();
    wnd.SetIcon(hIcon, TRUE);
    wnd.SetIcon(hIcon, FALSE);
}

void SetSecondaryCaption(CWnd& wnd, LPCWSTR words)
{
    SetAppIcon(wnd);
    CString caption;
    caption.Format(L"%s - %s", words, AfxGetModuleState()->m_lpszCurrentAppName);
    wnd.SetWindowText(caption);
}
