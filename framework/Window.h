// CWnd: one window handle and the calls the program makes on it, message
// dispatch through the class's message map, and subclassing.
#pragma once
#include <windows.h>
#include "framework/Object.h"
#include "framework/Gdi.h"
#include "framework/MessageMap.h"
#include "framework/Strings.h"

class CMenu;
class CDataExchange;

class CWnd : public CObject
{
public:
    HWND m_hWnd = nullptr;

    // Pseudo-windows for SetWindowPos's insert-after argument.
    static const CWnd wndTopMost, wndNoTopMost;

    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    ~CWnd() override;

    static const CRuntimeClass* GetThisClass();

    // The object that owns hWnd, or a per-thread temporary wrapper for a window
    // the program does not own. Null only for a null handle.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Frees this thread's temporary wrappers; pointers from FromHandle die with them.
    static void DeleteTempMap();

    // Binds this object to an existing window and routes its messages
    // through the message map; the window's own procedure becomes the default.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    BOOL Attach(HWND hWnd);
    HWND Detach();

    // Messages
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageW(m_hWnd, msg, wp, lp); }
    BOOL PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::PostMessageW(m_hWnd, msg, wp, lp); }
    LRESULT Default();   // default processing of the message being handled

    // Text
    void SetWindowText(LPCWSTR text) { ::SetWindowTextW(m_hWnd, text); }
    void GetWindowText(CString& text) const;

    // State, style and placement
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void MoveWindow(int x, int y, int cx, int cy, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, cx, cy, bRepaint);
    }
    BOOL SetWindowPos(const CWnd* pInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    void GetWindowRect(LPRECT rc) const { ::GetWindowRect(m_hWnd, rc); }
    void GetClientRect(LPRECT rc) const { ::GetClientRect(m_hWnd, rc); }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* wp) const { return ::GetWindowPlacement(m_hWnd, wp); }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* wp) { return ::SetWindowPlacement(m_hWnd, wp); }
    BOOL DestroyWindow();

    // Dialog items
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    void CheckDlgButton(int nID, UINT nCheck) { ::CheckDlgButton(m_hWnd, nID, nCheck); }
    UINT IsDlgButtonChecked(int nID) const { return ::IsDlgButtonChecked(m_hWnd, nID); }
    void SetDlgItemText(int nID, LPCWSTR text) { ::SetDlgItemTextW(m_hWnd, nID, text); }
    void GetDlgItemText(int nID, CString& text) const;

    // Font, icon, menu, timers
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    HICON SetIcon(HICON hIcon, BOOL bBigIcon)
    {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)hIcon));
    }
    CMenu* GetSystemMenu(BOOL bRevert) const;
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr)
    {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

    // Data exchange between the window's controls and variables.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* /*pDX*/) {}

    // A message box owned by this window; no caption means the application name.
    // Without a caption it is an AppMessageBox.
    int MessageBox(LPCWSTR lpszText, LPCWSTR lpszCaption = nullptr, UINT nType = MB_OK);

    // Dispatch. The window procedure of every window the program owns.
    static LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp);
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }

protected:
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    virtual BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp);
    // After the last message a window receives; the object may delete itself here.
    virtual void PostNcDestroy() {}

    WNDPROC m_pfnSuper = nullptr;   // the procedure the window had before we subclassed it

private:
    void OnNcDestroyed();
    MSG m_currentMsg{};   // the message being dispatched, for Default()
};

// Defined here because it needs the complete CWnd.
template <class T, afx_detail::Crack<WM_CONTEXTMENU>::Handler<T> F>
LRESULT afx_detail::Crack<WM_CONTEXTMENU>::Call(CWnd* w, WPARAM wp, LPARAM l)
{
    (static_cast<T*>(w)->*F)(CWnd::FromHandle(reinterpret_cast<HWND>(wp)), CPoint(l));
    return 0;
}
