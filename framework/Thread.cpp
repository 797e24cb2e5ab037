#include "framework/Thread.h"
#include "framework/Menu.h"
#include "framework/Window.h"

namespace {
thread_local CWinThread* t_pThread = nullptr;
}

CWinThread* AfxGetThread()
{
    return t_pThread;
}

void AfxDeleteTempMaps()
{
    CWnd::DeleteTempMap();
    CMenu::DeleteTempMap();
}
void AfxSetThread(CWinThread* pThread)
{
    t_pThread = pThread;
}

const CRuntimeClass* CWinThread::GetThisClass()
{
    return MakeRuntimeClass<CWinThread, CObject, false>();
}

CWinThread::~CWinThread()
{
    if (m_hThread) ::CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    m_hThread = ::CreateThread(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, this,
                               dwCreateFlags & CREATE_SUSPENDED, nullptr);
    return m_hThread != nullptr;
}

DWORD WINAPI CWinThread::ThreadEntry(LPVOID pParam)
{
    CWinThread* self = static_cast<CWinThread*>(pParam);
    AfxSetThread(self);
    int code = self->InitInstance() ? self->Run() : self->ExitInstance();
    AfxSetThread(nullptr);
    AfxDeleteTempMaps();
    self->Delete();
    return static_cast<DWORD>(code);
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    // Keyboard navigation (Esc, Tab, Enter) for the thread's modeless dialog.
    return m_pMainWnd && m_pMainWnd->m_hWnd && ::IsDialogMessageW(m_pMainWnd->m_hWnd, pMsg);
}

int CWinThread::Run()
{
    // The main window may already be gone (closed while it initialised).
    if (!m_pMainWnd) return ExitInstance();
    m_bInRun = true;
    MSG msg;
    for (;;)
    {
        // Idle: nothing refers to temporary wrappers between messages.
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) AfxDeleteTempMaps();
        if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
        if (!PreTranslateMessage(&msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    m_bInRun = false;
    m_nExitCode = static_cast<int>(msg.wParam);
    return ExitInstance();
}

void CWinThread::Delete()
{
    delete this;
}

CWinThread* AfxBeginThread(const CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    CObject* obj = pThreadClass->CreateObject();
    CWinThread* thread = obj && obj->IsKindOf(CWinThread::GetThisClass()) ? static_cast<CWinThread*>(obj) : nullptr;
    if (!thread)
    {
        delete obj;
        return nullptr;
    }
    if (!thread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs))
    {
        delete thread;
        return nullptr;
    }
    thread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED)) thread->ResumeThread();
    return thread;
}
