// CMenu: owns a menu handle (destroyed with the object) unless it is a
// temporary wrapper from FromHandle, such as the system menu.
#pragma once
#include <windows.h>

class CWnd;

class CMenu
{
public:
    HMENU m_hMenu = nullptr;

    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    // Virtual: borrowed wrappers (FromHandle) are deleted through CMenu* and must not destroy the menu.
    virtual ~CMenu() { DestroyMenu(); }

    static CMenu* FromHandle(HMENU hMenu);
    static void DeleteTempMap();

    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    BOOL LoadMenu(UINT nIDResource);
    BOOL DestroyMenu();
    operator HMENU() const { return m_hMenu; }

    CMenu* GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr)
    {
        return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
    }
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
};
