#include "framework/Window.h"
#include <memory>
#include <unordered_map>
#include "framework/Files.h"
#include "framework/Menu.h"
#include "framework/ModuleState.h"
#include "framework/Scoped.h"
#include "framework/Thread.h"

const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

namespace {

// Windows owned by objects of this process. Several UI threads use it at once.
struct PermanentMap
{
    SRWLOCK lock = SRWLOCK_INIT;
    std::unordered_map<HWND, CWnd*> map;
};

PermanentMap& Permanent()
{
    // Never destroyed: windows may still be dispatched during static destruction.
    static PermanentMap* m = new PermanentMap;
    return *m;
}

void AddPermanent(HWND h, CWnd* w)
{
    PermanentMap& p = Permanent();
    CExclusiveLock guard(p.lock);
    p.map[h] = w;
}

void RemovePermanent(HWND h)
{
    PermanentMap& p = Permanent();
    CExclusiveLock guard(p.lock);
    p.map.erase(h);
}

// Wrappers for windows nobody here owns; they only hold the handle. Plain
// pointer: a thread_local with a destructor would run after the statics it uses.
thread_local std::unordered_map<HWND, CWnd*>* t_temporary = nullptr;

}   // namespace

const CRuntimeClass* CWnd::GetThisClass()
{
    return MakeRuntimeClass<CWnd, CObject, false>();
}

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
    {
        // The object goes first: the window must not call into freed memory.
        HWND h = m_hWnd;
        if (m_pfnSuper) ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        RemovePermanent(h);
        m_hWnd = nullptr;
        if (::GetWindowThreadProcessId(h, nullptr) == ::GetCurrentThreadId()) ::DestroyWindow(h);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    PermanentMap& p = Permanent();
    CSharedLock guard(p.lock);
    auto it = p.map.find(hWnd);
    return it == p.map.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd) return nullptr;
    if (CWnd* w = FromHandlePermanent(hWnd)) return w;
    if (!t_temporary) t_temporary = new std::unordered_map<HWND, CWnd*>;
    CWnd*& temp = (*t_temporary)[hWnd];
    if (!temp) temp = new CWnd(hWnd);
    return temp;
}

void CWnd::DeleteTempMap()
{
    if (!t_temporary) return;
    for (auto& [h, w] : *t_temporary) delete w;
    delete t_temporary;
    t_temporary = nullptr;
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd) return FALSE;
    m_hWnd = hWnd;
    AddPermanent(hWnd, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (h) RemovePermanent(h);
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd)) return FALSE;
    WNDPROC old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::AfxWndProc)));
    if (old != &CWnd::AfxWndProc) m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND h = ::GetDlgItem(pParent->m_hWnd, nID);
    return h ? SubclassWindow(h) : FALSE;
}

LRESULT CALLBACK CWnd::AfxWndProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    CWnd* w = FromHandlePermanent(hWnd);
    if (!w) return ::DefWindowProcW(hWnd, msg, wp, lp);
    // No C++ exception may unwind through user32.
    try
    {
        return w->WindowProc(msg, wp, lp);
    }
    catch (CException* e)
    {
        e->ReportError();
        e->Delete();
    }
    catch (...)
    {
        // Nothing to report to the user, but a debugger or DebugView shows which handler failed.
        // Fixed buffers: nothing here may throw again.
        WCHAR className[64] = {}, trace[1024];   // wsprintfW writes at most 1024 characters
        ::GetClassNameW(hWnd, className, ARRAYSIZE(className));
        ::wsprintfW(trace, L"%s: an exception left the handler of message 0x%04X in a window of class %s\n",
                    AfxGetModuleState()->m_lpszCurrentAppName, msg, className);
        ::OutputDebugStringW(trace);
    }
    return 0;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    const MSG saved = m_currentMsg;
    m_currentMsg = MSG{m_hWnd, msg, wp, lp, 0, {0, 0}};
    LRESULT result = 0;
    try
    {
        if (!OnWndMsg(msg, wp, lp, &result)) result = DefWindowProc(msg, wp, lp);
    }
    catch (...)
    {
        // A failed handler must not leave a destroyed window mapped or a loop running.
        m_currentMsg = saved;
        if (msg == WM_NCDESTROY) OnNcDestroyed();
        throw;
    }
    m_currentMsg = saved;
    if (msg == WM_NCDESTROY) OnNcDestroyed();   // may delete this
    return result;
}

BOOL CWnd::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* pResult)
{
    UINT code = 0, id = 0;
    if (msg == WM_COMMAND)
    {
        code = HIWORD(wp);
        id = LOWORD(wp);
    }
    else if (msg == WM_NOTIFY)
    {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lp);
        code = hdr->code;
        id = static_cast<UINT>(hdr->idFrom);
    }
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY& e : map->entries)
        {
            if (e.nMessage != msg || e.nCode != code || e.nID != id) continue;
            *pResult = e.pfn(this, wp, lp);
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (m_pfnSuper) return ::CallWindowProcW(m_pfnSuper, m_hWnd, msg, wp, lp);
    return ::DefWindowProcW(m_hWnd, msg, wp, lp);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_currentMsg.message, m_currentMsg.wParam, m_currentMsg.lParam);
}

void CWnd::OnNcDestroyed()
{
    Detach();
    m_pfnSuper = nullptr;
    // The main window of a UI thread takes the thread's message loop with it. A
    // thread without a loop of its own (the application's, around a modal
    // dialog) gets no WM_QUIT: it would end the next message box at once.
    if (CWinThread* t = AfxGetThread(); t && t->m_pMainWnd == this)
    {
        t->m_pMainWnd = nullptr;
        if (t->m_bInRun) ::PostQuitMessage(0);
    }
    PostNcDestroy();
}

const AFX_MSGMAP* CWnd::GetThisMessageMap()
{
    static const AFX_MSGMAP map{nullptr, {}};
    return &map;
}

void CWnd::GetWindowText(CString& text) const
{
    int n = ::GetWindowTextLengthW(m_hWnd);
    ::GetWindowTextW(m_hWnd, text.GetBufferSetLength(n), n + 1);
    text.ReleaseBuffer();
}

void CWnd::GetDlgItemText(int nID, CString& text) const
{
    HWND h = ::GetDlgItem(m_hWnd, nID);
    if (h) FromHandle(h)->GetWindowText(text);
    else text.Empty();
}

BOOL CWnd::SetWindowPos(const CWnd* pInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    return ::SetWindowPos(m_hWnd, pInsertAfter ? pInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
}

static BOOL ModifyLong(HWND h, int index, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD old = static_cast<DWORD>(::GetWindowLongPtrW(h, index));
    DWORD now = (old & ~dwRemove) | dwAdd;
    if (now == old) return FALSE;
    ::SetWindowLongPtrW(h, index, static_cast<LONG_PTR>(now));
    if (nFlags)
        ::SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyLong(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyLong(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

int CWnd::MessageBox(LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType)
{
    return lpszCaption ? ::MessageBoxW(m_hWnd, lpszText, lpszCaption, nType) : AppMessageBox(m_hWnd, lpszText, nType);
}
