#include "framework/App.h"
#include <ole2.h>
#include <shlwapi.h>
#include "framework/ModuleState.h"

namespace {
bool g_oleInitialized = false;
}

CWinApp::CWinApp(LPCWSTR lpszAppName)
{
    if (lpszAppName) m_strAppName = lpszAppName;
}

int CWinApp::ExitInstance()
{
    if (g_oleInitialized)
    {
        ::OleUninitialize();
        g_oleInitialized = false;
    }
    return m_nExitCode;
}

int CWinApp::WinMain(HINSTANCE)
{
    m_hThread = nullptr;   // the process's own thread; nothing to close
    if (m_strAppName.IsEmpty())
    {
        WCHAR path[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        LPWSTR name = ::PathFindFileNameW(path);
        ::PathRemoveExtensionW(name);
        m_strAppName = name;
    }
    AFX_MODULE_STATE* state = AfxGetModuleState();
    ::lstrcpynW(state->m_szAppName, m_strAppName, MAX_PATH);
    state->m_lpszCurrentAppName = state->m_szAppName;
    AfxSetThread(this);

    int code = InitInstance() ? Run() : ExitInstance();
    AfxSetThread(nullptr);
    AfxDeleteTempMaps();
    return code;
}

HINSTANCE AfxFindResourceHandle(LPCWSTR, LPCWSTR)
{
    return ::GetModuleHandleW(nullptr);
}

BOOL AfxOleInit()
{
    if (g_oleInitialized) return TRUE;
    g_oleInitialized = SUCCEEDED(::OleInitialize(nullptr));
    return g_oleInitialized;
}

const CRuntimeClass* CMFCVisualManager::GetThisClass()
{
    static const CRuntimeClass rc{nullptr, CObject::GetThisClass()};
    return &rc;
}

const CRuntimeClass* CMFCVisualManagerWindows::GetThisClass()
{
    static const CRuntimeClass rc{nullptr, CMFCVisualManager::GetThisClass()};
    return &rc;
}
