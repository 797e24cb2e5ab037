#include "framework/Menu.h"
#include <unordered_map>
#include "framework/App.h"
#include "framework/Window.h"

namespace {
// Temporary wrappers never own their menu: the system menu belongs to its window.
thread_local std::unordered_map<HMENU, CMenu*>* t_temporary = nullptr;
}   // namespace

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    if (!hMenu) return nullptr;
    if (!t_temporary) t_temporary = new std::unordered_map<HMENU, CMenu*>;
    CMenu*& temp = (*t_temporary)[hMenu];
    if (!temp)
    {
        temp = new CMenu;
        temp->m_hMenu = hMenu;
    }
    return temp;
}

void CMenu::DeleteTempMap()
{
    if (!t_temporary) return;
    for (auto& [h, m] : *t_temporary)
    {
        m->Detach();
        delete m;
    }
    delete t_temporary;
    t_temporary = nullptr;
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (!hMenu || m_hMenu) return FALSE;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU h = m_hMenu;
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEW(nIDResource), RT_MENU);
    return Attach(::LoadMenuW(hInst, MAKEINTRESOURCEW(nIDResource)));
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu) return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}
