#include "framework/ModuleState.h"

AFX_MODULE_STATE* AfxGetModuleState()
{
    static AFX_MODULE_STATE state;
    return &state;
}

int AppMessageBox(HWND owner, LPCWSTR text, UINT type)
{
    return ::MessageBoxW(owner, text, AfxGetModuleState()->m_lpszCurrentAppName, type);
}

int AfxMessageBox(LPCWSTR lpszText, UINT nType)
{
    return AppMessageBox(::GetActiveWindow(), lpszText, nType);
}
