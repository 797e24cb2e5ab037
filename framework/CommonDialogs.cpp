#include "framework/CommonDialogs.h"
#include "framework/Thread.h"

const CRuntimeClass* CCommonDialog::GetThisClass()
{
    return MakeRuntimeClass<CCommonDialog, CDialog, false>();
}

CCommonDialog*& CCommonDialog::Starting()
{
    // The dialog about to open on this thread; the hook binds it at WM_INITDIALOG.
    thread_local CCommonDialog* t_starting = nullptr;
    return t_starting;
}

HWND CCommonDialog::OwnerWindow() const
{
    if (m_pParentWnd) return m_pParentWnd->m_hWnd;
    CWinThread* t = AfxGetThread();
    return t && t->m_pMainWnd ? t->m_pMainWnd->m_hWnd : nullptr;
}

UINT_PTR CALLBACK CCommonDialog::HookProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg != WM_INITDIALOG) return 0;
    CCommonDialog* dlg = Starting();
    Starting() = nullptr;
    if (!dlg) return 0;
    dlg->SubclassWindow(hWnd);
    return CWnd::AfxWndProc(hWnd, msg, wp, lp);
}

// Custom colours live as long as the process, shared by every picker.
static COLORREF g_customColors[16] = {RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                      RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                      RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                      RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd)
{
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.rgbResult = clrInit;
    m_cc.Flags = dwFlags | CC_RGBINIT | CC_ENABLEHOOK;
    m_cc.lpCustColors = g_customColors;
    m_cc.lpfnHook = &CCommonDialog::HookProc;
}

const CRuntimeClass* CColorDialog::GetThisClass()
{
    return MakeRuntimeClass<CColorDialog, CCommonDialog, false>();
}

INT_PTR CColorDialog::DoModal()
{
    m_cc.hwndOwner = OwnerWindow();
    Starting() = this;
    const BOOL ok = ::ChooseColorW(&m_cc);
    Starting() = nullptr;
    return ok ? IDOK : IDCANCEL;
}

const CRuntimeClass* CFontDialog::GetThisClass()
{
    return MakeRuntimeClass<CFontDialog, CCommonDialog, false>();
}

CFontDialog::CFontDialog(LPLOGFONTW lplfInitial, DWORD dwFlags, HDC hdcPrinter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_lplfInitial(lplfInitial)
{
    m_cf.lStructSize = sizeof(m_cf);
    m_cf.hDC = hdcPrinter;
    m_cf.lpLogFont = &m_lf;
    m_cf.Flags = dwFlags | CF_ENABLEHOOK;
    m_cf.lpfnHook = &CCommonDialog::HookProc;
    if (lplfInitial)
    {
        m_lf = *lplfInitial;
        m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
    }
}

INT_PTR CFontDialog::DoModal()
{
    m_cf.hwndOwner = OwnerWindow();
    Starting() = this;
    const BOOL ok = ::ChooseFontW(&m_cf);
    Starting() = nullptr;
    if (ok && m_lplfInitial) *m_lplfInitial = m_lf;
    return ok ? IDOK : IDCANCEL;
}
