// CWinThread and AfxBeginThread: user-interface threads with a message loop
// of their own that ends when the thread's main window is destroyed.
#pragma once
#include <windows.h>
#include "framework/Object.h"

class CWnd;

class CWinThread : public CObject
{
public:
    CWinThread() = default;
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;
    ~CWinThread() override;

    static const CRuntimeClass* GetThisClass();

    HANDLE m_hThread = nullptr;
    CWnd* m_pMainWnd = nullptr;
    // Set while Run's loop runs: only then does the main window's end post WM_QUIT.
    bool m_bInRun = false;

    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }

    virtual BOOL InitInstance() { return FALSE; }
    // The message loop; returns ExitInstance's result when WM_QUIT arrives.
    virtual int Run();
    virtual int ExitInstance() { return m_nExitCode; }
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Frees the object once its thread has ended.
    virtual void Delete();

protected:
    int m_nExitCode = 0;

private:
    static DWORD WINAPI ThreadEntry(LPVOID pParam);
};

// The CWinThread (or CWinApp) of the calling thread, if it has one.
CWinThread* AfxGetThread();
void AfxSetThread(CWinThread* pThread);
// Frees the calling thread's temporary window and menu wrappers.
void AfxDeleteTempMaps();

// Creates the thread object from its class and starts it; with
// CREATE_SUSPENDED the caller resumes it after handing over its parameters.
CWinThread* AfxBeginThread(const CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
