#include "framework/Menu.h"
#include <memory>
#include <unordered_map>
#include "framework/App.h"
#include "framework/Window.h"

namespace {
// Temporary wrappers never own their menu: the system menu belongs to its window.
thread_local std::unordered_map<HMENU, std::unique_ptr<CMenu>> t_temporary;
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    if (!hMenu) return nullptr;
    struct Borrowed : CMenu
    {
        ~Borrowed() { Detach(); }
    };
    std::unique_ptr<CMenu>& temp = t_temporary[hMenu];
    if (!temp)
    {
        temp = std::make_unique<Borrowed>();
        temp->m_hMenu = hMenu;
    }
    return temp.get();
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
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEW(nIDResource), MAKEINTRESOURCEW(4) /*RT_MENU*/);
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
