// Reset All Parameters: the control panel's command that forgets every setting.
#include "panel/UmbrafenDlg.h"
#include "settings/AppSettings.h"

void CUmbrafenDlg::OnResetAllParameters()
{
    CString path;
    GetDataFilePath(path);
    ::DeleteFileW(path);
    // Nothing is written back at exit, so the next start finds no file.
    ResetRequested = 1;
    MessageBox(L"The Application will Close Now.\n\nStart it Again with Parameters Reset.",
               AfxGetModuleState()->m_lpszCurrentAppName, MB_ICONINFORMATION);
    PostMessage(WM_CLOSE);
}
