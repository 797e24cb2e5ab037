#include "app/UmbrafenApp.h"
#include <commctrl.h>
#include "colorwin/OpenWindowRegistry.h"
#include "panel/UmbrafenDlg.h"
#include "settings/AppSettings.h"
#include "settings/Preferences.h"

int InstanceFound = 0;

BOOL CALLBACK FindRunningInstanceProc(HWND hwnd, LPARAM)
{
    if (::GetWindowLongW(hwnd, GWLP_USERDATA) != InstanceMarker) return TRUE;
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

namespace {

// Held for the life of the process; the system frees it when the process ends.
HANDLE g_hInstanceMutex = nullptr;

} // namespace

BOOL ClaimSingleInstance()
{
    CString name;
    name.Format(L"Local\\%s.SingleInstance", AfxGetModuleState()->m_lpszCurrentAppName);
    g_hInstanceMutex = ::CreateMutexW(nullptr, FALSE, name);
    // Without the mutex the window search still guards most starts.
    if (!g_hInstanceMutex) return TRUE;
    // The owner is either running (its panel appears and is raised) or ending (its
    // mutex comes free): whichever happens first decides, within five seconds.
    for (int tries = 0; tries < 100; ++tries)
    {
        const DWORD waited = ::WaitForSingleObject(g_hInstanceMutex, 50);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return TRUE;
        InstanceFound = 0;
        ::EnumWindows(FindRunningInstanceProc, 0);
        if (InstanceFound) return FALSE;
    }
    return FALSE;
}

BOOL CUmbrafenApp::InitInstance()
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    CWinApp::InitInstance();

    // Two starts at the same moment would both miss the other's window: the mutex decides first.
    if (!ClaimSingleInstance()) return FALSE;

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

    CString preferencesPath;
    GetPreferencesFilePath(preferencesPath);
    if (!preferencesPath.IsEmpty()) Preferences.Load(preferencesPath);

    AfxEnableControlContainer();
    CMFCVisualManager::SetDefaultManager(CMFCVisualManagerWindows::GetThisClass());

    {
        CUmbrafenDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
        // An OK end skips the close sequence; the covers go before the process does.
        CloseAllColoredWindows();
        if (dlg.ResetRequested == 0) SaveLoadSettings(TRUE);
    }
    // No static may be destroyed under a window thread that is still running out.
    OpenWindowRegistry.WaitForThreads(5000);
    return FALSE;
}
