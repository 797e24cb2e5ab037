// CWinApp and the process-level helpers: the application object and its
// name, the entry sequence, OLE start-up and resource lookup.
#pragma once
#include <windows.h>
#include "framework/Strings.h"
#include "framework/Thread.h"

class CWinApp : public CWinThread
{
public:
    // With no name the application takes the executable's base name.
    explicit CWinApp(LPCWSTR lpszAppName = nullptr);

    BOOL InitInstance() override { return TRUE; }
    int ExitInstance() override;

    // Called once by the entry point: names the application, then
    // InitInstance; FALSE ends the process without a message loop. The
    // instance handle is not kept: resources come from AfxFindResourceHandle.
    int WinMain(HINSTANCE);

private:
    CString m_strAppName;
};

// Where a resource lives: the executable (tests link the same resources).
HINSTANCE AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType);

BOOL AfxOleInit();
// Nothing to do: the program hosts no ActiveX controls.
inline void AfxEnableControlContainer() {}

class CMFCVisualManager
{
public:
    static const CRuntimeClass* GetThisClass();
    // Visual styles come from Common Controls 6 through the manifest.
    static void SetDefaultManager(const CRuntimeClass*) {}
};

class CMFCVisualManagerWindows : public CMFCVisualManager
{
public:
    static const CRuntimeClass* GetThisClass();
};
