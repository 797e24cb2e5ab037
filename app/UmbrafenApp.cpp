#include "app/UmbrafenApp.h"
#include <commctrl.h>
#include "panel/UmbrafenDlg.h"
#include "settings/AppSettings.h"

int InstanceFound = 0;
CUmbrafenDlg* g_pMainDlg = nullptr;

BOOL CALLBACK FindRunningInstanceProc(HWND hwnd, LPARAM)
{
    if (::GetWindowLongPtrW(hwnd, GWLP_USERDATA) != InstanceMarker) return TRUE;
    CWnd* pWnd = CWnd::FromHandle(hwnd);
    if (!pWnd) return TRUE;
    CString title;
    pWnd->GetWindowText(title);
    if (title.Compare(AfxGetModuleState()->m_lpszCurrentAppName) != 0) return TRUE;

    ::ShowWindow(hwnd, SW_RESTORE);
    ::ShowWindow(hwnd, SW_SHOW);
    ::BringWindowToTop(hwnd);
    ::SetForegroundWindow(hwnd);
    ::SetFocus(hwnd);
    InstanceFound = 1;
    return FALSE;
}

BOOL CUmbrafenApp::InitInstance()
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    CWinApp::InitInstance();

    InstanceFound = 0;
    ::EnumWindows(FindRunningInstanceProc, 0);
    if (InstanceFound) return FALSE;

    if (!AfxOleInit())
    {
        AfxMessageBox(L"OLE Init Failed.");
        return FALSE;
    }

    try
    {
        SaveLoadSettings(FALSE);
    }
    catch (CException* e)
    {
        e->ReportError(MB_OK, 0);
        e->Delete();
    }

    AfxEnableControlContainer();
    CMFCVisualManager::SetDefaultManager(CMFCVisualManagerWindows::GetThisClass());

    {
        CUmbrafenDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
        if (dlg.ResetRequested == 0) SaveLoadSettings(TRUE);
    }
    return FALSE;
}
