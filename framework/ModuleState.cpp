#include "framework/ModuleState.h"

AFX_MODULE_STATE* AfxGetModuleState()
{
    static AFX_MODULE_STATE state;
    return &state;
}

int AfxMessageBox(LPCWSTR lpszText, UINT nType)
{
    return MessageBoxW(GetActiveWindow(), lpszText, AfxGetModuleState()->m_lpszCurrentAppName, nType);
}
