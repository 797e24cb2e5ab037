#include "framework/Menu.h"
#include <memory>
#include <unordered_map>
#include "framework/App.h"
#include "framework/Window.h"

namespace {
// Temporary wrappers never own their menu: the system menu belongs to its window.
// Process-wide and never freed, for the same reason as the window wrappers.
struct TemporaryMenus
{
    SRWLOCK lock = SRWLOCK_INIT;
    std::unordered_map<HMENU, std::unique_ptr<CMenu>> map;
};

TemporaryMenus& Temporary()
{
    static TemporaryMenus* m = new TemporaryMenus;
    return *m;
}
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    if (!hMenu) return nullptr;
    struct Borrowed : CMenu
    {
        ~Borrowed() { Detach(); }
    };
    TemporaryMenus& t = Temporary();
    AcquireSRWLockExclusive(&t.lock);
    std::unique_ptr<CMenu>& temp = t.map[hMenu];
    if (!temp)
    {
        temp = std::make_unique<Borrowed>();
        temp->m_hMenu = hMenu;
    }
    CMenu* m = temp.get();
    ReleaseSRWLockExclusive(&t.lock);
    return m;
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
