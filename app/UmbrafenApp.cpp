#include "app/UmbrafenApp.h"
#include <commctrl.h>
#include "app/CommandForwarding.h"
#include "colorwin/OpenWindowRegistry.h"
#include "help/CommandLineHelp.h"
#include "panel/UmbrafenDlg.h"
#include "settings/AppSettings.h"
#include "settings/Preferences.h"

int InstanceFound = 0;

BOOL IsRunningInstance(HWND hwnd)
{
    if (::GetWindowLongW(hwnd, GWLP_USERDATA) != InstanceMarker) return FALSE;
    CWnd* pWnd = CWnd::FromHandle(hwnd);
    if (!pWnd) return FALSE;
    CString title;
    pWnd->GetWindowText(title);
    return title.Compare(AfxGetModuleState()->m_lpszCurrentAppName) == 0;
}

BOOL CALLBACK FindRunningInstanceProc(HWND hwnd, LPARAM)
{
    if (!IsRunningInstance(hwnd)) return TRUE;

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

}   // namespace

InstanceClaim ClaimSingleInstance(HWND& runningPanel)
{
    CString name;
    name.Format(L"Local\\%s.SingleInstance", AfxGetModuleState()->m_lpszCurrentAppName);
    g_hInstanceMutex = ::CreateMutexW(nullptr, FALSE, name);
    // Without the mutex the window search still guards most starts.
    if (!g_hInstanceMutex) return InstanceClaim::Claimed;
    // The owner is either running (its panel appears and answers) or ending (its mutex comes
    // free): whichever happens first decides. An owner that does neither is hung, or held up
    // by a message box before its panel exists.
    const ULONGLONG deadline = ::GetTickCount64() + InstanceAnswerLimitMs;
    for (;;)
    {
        const DWORD waited = ::WaitForSingleObject(g_hInstanceMutex, 50);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return InstanceClaim::Claimed;
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return InstanceClaim::NoAnswer;
        if ((runningPanel = FindRunningPanel()) == nullptr) continue;
        DWORD_PTR ignored = 0;
        if (::SendMessageTimeoutW(runningPanel, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(deadline - now),
                                  &ignored))
            return InstanceClaim::Running;
        // A panel that went away meanwhile belonged to an instance that is ending.
        if (::IsWindow(runningPanel)) return InstanceClaim::NoAnswer;
    }
}

BOOL CUmbrafenApp::InitInstance()
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    CWinApp::InitInstance();

    // A mistake on the line changes nothing, here or in a running instance.
    Command command;
    CString error;
    if (!ParseCommandLine(::GetCommandLineW(), command, error))
    {
        ShowCommandLineMistake(nullptr, error, CommandLineUsage());
        m_nExitCode = ExitBadCommand;
        return FALSE;
    }
    if (command.Action == CommandAction::Help)
    {
        ShowCommandLineHelp(nullptr, CommandLineUsage());
        return FALSE;
    }

    // Two starts at the same moment would both miss the other's window: the mutex decides first.
    if (!ClaimOrForward(command, m_nExitCode)) return FALSE;
    // Nothing runs that --exit could end.
    if (command.Action == CommandAction::Exit) return FALSE;

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
        dlg.m_startCommand = command;
        dlg.DoModal();
        if (dlg.m_bStartCommandFailed) m_nExitCode = ExitBadCommand;
        m_pMainWnd = nullptr;
        // An OK end skips the close sequence; the covers go before the process does.
        CloseAllColoredWindows();
        if (dlg.ResetRequested == 0) SaveLoadSettings(TRUE);
    }
    // No static may be destroyed under a window thread that is still running out.
    OpenWindowRegistry.WaitForThreads(5000);
    return FALSE;
}
