#include "framework/DialogDpi.h"
#include <cstdlib>
#include "framework/Dialog.h"

namespace {

// Present from Windows 10 1607 (1703 for the dialog call); the exe must still start where they are not.
template <class F> F User32Function(const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

}   // namespace

UINT GetSystemDpi()
{
    HDC dc = ::GetDC(nullptr);
    const int dpi = dc ? ::GetDeviceCaps(dc, LOGPIXELSX) : 0;
    if (dc) ::ReleaseDC(nullptr, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

UINT GetWindowDpi(HWND hWnd)
{
    static const auto getDpiForWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow ? getDpiForWindow(hWnd) : 0;
    return dpi ? dpi : GetSystemDpi();
}

SIZE WindowSizeForClient(HWND hWnd, SIZE client, UINT dpi)
{
    static const auto adjustForDpi =
        User32Function<BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    RECT rc{0, 0, client.cx, client.cy};
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(hWnd, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(hWnd, GWL_EXSTYLE));
    const BOOL menu = !(style & WS_CHILD) && ::GetMenu(hWnd);
    if (!adjustForDpi || !adjustForDpi(&rc, style, menu, exStyle, dpi)) ::AdjustWindowRectEx(&rc, style, menu, exStyle);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

// --- CDialogDpi ------------------------------------------------------------

void CDialogDpi::TakeOver(HWND hDlg)
{
    static const auto setBehavior =
        User32Function<BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS)>(
            "SetDialogDpiChangeBehavior");
    // Missing before Windows 10 1703, where the dialog manager re-scales nothing either.
    if (setBehavior) setBehavior(hDlg, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
}

void CDialogDpi::Init(HWND hDlg)
{
    m_createdDpi = m_dpi = GetWindowDpi(hDlg);
    m_hCreatedFont = reinterpret_cast<HFONT>(::SendMessageW(hDlg, WM_GETFONT, 0, 0));
    m_font.DeleteObject();
    m_controls.clear();
    RECT rc;
    ::GetClientRect(hDlg, &rc);
    m_createdClient = {rc.right, rc.bottom};
    for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
    {
        Control c{h, {}};
        ::GetWindowRect(h, &c.rc);
        ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&c.rc), 2);
        m_controls.push_back(c);
    }
}

RECT CDialogDpi::ScaledRect(HWND hControl) const
{
    for (const Control& c : m_controls)
        if (c.hWnd == hControl) return {Scale(c.rc.left), Scale(c.rc.top), Scale(c.rc.right), Scale(c.rc.bottom)};
    return {};
}

SIZE CDialogDpi::ScaledClient() const
{
    return {Scale(m_createdClient.cx), Scale(m_createdClient.cy)};
}

void CDialogDpi::ScaleTo(HWND hDlg, UINT dpi)
{
    const HFONT hOld = m_font.m_hObject ? static_cast<HFONT>(m_font.m_hObject) : m_hCreatedFont;
    m_dpi = dpi;
    CFont font;
    LOGFONTW lf{};
    if (dpi != m_createdDpi && m_hCreatedFont && ::GetObjectW(m_hCreatedFont, sizeof(lf), &lf))
    {
        // The template gives points; the height for this DPI comes from them, as the dialog manager makes it.
        const int points = ::MulDiv(std::abs(lf.lfHeight), 72, static_cast<int>(m_createdDpi));
        lf.lfHeight = (lf.lfHeight < 0 ? -1 : 1) * ::MulDiv(points, static_cast<int>(dpi), 72);
        font.Attach(::CreateFontIndirectW(&lf));
    }
    const HFONT hNew = font.m_hObject ? static_cast<HFONT>(font.m_hObject) : m_hCreatedFont;
    HDWP hdwp = ::BeginDeferWindowPos(static_cast<int>(m_controls.size()));
    for (const Control& c : m_controls)
    {
        if (!::IsWindow(c.hWnd)) continue;
        // A control with a font of its own (the monitor list's) keeps it: its owner scales it.
        if (hOld && reinterpret_cast<HFONT>(::SendMessageW(c.hWnd, WM_GETFONT, 0, 0)) == hOld)
            ::SendMessageW(c.hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hNew), FALSE);
        const RECT rc = ScaledRect(c.hWnd);
        if (hdwp)
            hdwp = ::DeferWindowPos(hdwp, c.hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                                    SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (hdwp) ::EndDeferWindowPos(hdwp);
    // The previous font goes only now that no control draws with it.
    m_font.DeleteObject();
    m_font.Attach(font.Detach());
    ::RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// --- the dialog and its layout at another DPI ------------------------------

void CDialogLayout::Rebase(const CDialogDpi& dpi)
{
    for (Item& it : m_items) it.rcInitial = dpi.ScaledRect(it.hWnd);
    m_initialClient = dpi.ScaledClient();
}

LRESULT CDialog::OnDpiChanged(WPARAM wp, LPARAM lp)
{
    // The system's dialogs (font and colour pickers) are scaled by the dialog manager.
    if (!m_bScalesItself) return Default();
    ScaleToDpi(LOWORD(wp), reinterpret_cast<const RECT*>(lp));
    return 0;
}

void CDialog::ScaleToDpi(UINT dpi, const RECT* rc)
{
    const UINT old = m_dpiScale.Dpi();
    // Also the system's report of a DPI the dialog was drawn for before it moved: its rectangle then holds.
    if (dpi == 0 || dpi == old) return;
    m_dpiScale.ScaleTo(m_hWnd, dpi);
    m_layout.Rebase(m_dpiScale);
    OnDpiScaled(old);
    // A minimised window is laid out again when it is restored.
    if (::IsIconic(m_hWnd)) return;
    RECT target;
    if (rc) target = *rc;
    else ::GetWindowRect(m_hWnd, &target);
    // A resizable window is held to its minimum tracking size (scaled above) by the platform: the system's
    // suggestion scales the frame too, which does not grow in step.
    ::SetWindowPos(m_hWnd, nullptr, target.left, target.top, target.right - target.left, target.bottom - target.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    m_layout.Apply(m_hWnd);
}

SIZE CDialog::GetCreatedSize() const
{
    return WindowSizeForClient(m_hWnd, m_dpiScale.ScaledClient(), m_dpiScale.Dpi());
}
