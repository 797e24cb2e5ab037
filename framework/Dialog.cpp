#include "framework/Dialog.h"
#include "framework/App.h"
#include "framework/Thread.h"
#include <cstring>

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (!rControl.m_hWnd) rControl.SubclassDlgItem(nIDC, pDX->m_pDlgWnd);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    if (pDX->m_bSaveAndValidate) pDX->m_pDlgWnd->GetDlgItemText(nIDC, value);
    else pDX->m_pDlgWnd->SetDlgItemText(nIDC, value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    if (pDX->m_bSaveAndValidate) value = static_cast<int>(pDX->m_pDlgWnd->IsDlgButtonChecked(nIDC));
    else pDX->m_pDlgWnd->CheckDlgButton(nIDC, static_cast<UINT>(value));
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

// --- CDialogLayout ---------------------------------------------------------

BOOL CDialogLayout::Load(HWND hDlg, UINT nIDTemplate)
{
    m_items.clear();
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEW(nIDTemplate), L"AFX_DIALOG_LAYOUT");
    HRSRC hRes = ::FindResourceW(hInst, MAKEINTRESOURCEW(nIDTemplate), L"AFX_DIALOG_LAYOUT");
    if (!hRes) return FALSE;
    const WORD* data = static_cast<const WORD*>(::LockResource(::LoadResource(hInst, hRes)));
    size_t words = ::SizeofResource(hInst, hRes) / sizeof(WORD);
    if (!data || words < 1 || data[0] != 0) return FALSE;   // version 0 only

    RECT rcClient;
    ::GetClientRect(hDlg, &rcClient);
    m_initialClient = {rcClient.right, rcClient.bottom};
    // The controls in template order are the dialog's children in z-order.
    const WORD* p = data + 1;
    for (HWND h = ::GetWindow(hDlg, GW_CHILD); h && p + 4 <= data + words; h = ::GetWindow(h, GW_HWNDNEXT), p += 4)
    {
        Item item{h, {}, p[0], p[1], p[2], p[3]};
        ::GetWindowRect(h, &item.rcInitial);
        ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&item.rcInitial), 2);
        if (item.moveX || item.moveY || item.sizeX || item.sizeY) m_items.push_back(item);
    }
    // The dialog's background never paints over a control, so a moved control shows no flash of it.
    ::SetWindowLongW(hDlg, GWL_STYLE, ::GetWindowLongW(hDlg, GWL_STYLE) | WS_CLIPCHILDREN);
    return TRUE;
}

void CDialogLayout::Apply(HWND hDlg) const
{
    if (m_items.empty()) return;
    RECT rc;
    ::GetClientRect(hDlg, &rc);
    const int dx = rc.right - m_initialClient.cx;
    const int dy = rc.bottom - m_initialClient.cy;
    HDWP hdwp = ::BeginDeferWindowPos(static_cast<int>(m_items.size()));
    for (const Item& it : m_items)
    {
        const int x = it.rcInitial.left + dx * it.moveX / 100;
        const int y = it.rcInitial.top + dy * it.moveY / 100;
        const int cx = it.rcInitial.right - it.rcInitial.left + dx * it.sizeX / 100;
        const int cy = it.rcInitial.bottom - it.rcInitial.top + dy * it.sizeY / 100;
        // Drawn afresh where they land: bits copied from the old place can be ones never drawn.
        if (hdwp)
            hdwp =
                ::DeferWindowPos(hdwp, it.hWnd, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
    if (hdwp) ::EndDeferWindowPos(hdwp);
}

// --- CDialog ---------------------------------------------------------------

const CRuntimeClass* CDialog::GetThisClass()
{
    return MakeRuntimeClass<CDialog, CWnd, false>();
}

const AFX_MSGMAP* CDialog::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {
        Msg<WM_INITDIALOG, &CDialog::HandleInitDialog>(),
        Cmd<IDOK, &CDialog::OnOK>(),
        Cmd<IDCANCEL, &CDialog::OnCancel>(),
        Raw<WM_DPICHANGED, &CDialog::OnDpiChanged>(),
    };
    static const AFX_MSGMAP map{&CWnd::GetThisMessageMap, entries};
    return &map;
}

INT_PTR CALLBACK CDialog::DlgProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    // Everything after WM_INITDIALOG reaches the object through the subclassed
    // window procedure; here the dialog manager only gets "not handled".
    if (msg != WM_INITDIALOG) return FALSE;
    auto* dlg = reinterpret_cast<CDialog*>(lp);
    dlg->SubclassWindow(hWnd);
    CDialogDpi::TakeOver(hWnd);
    dlg->m_bScalesItself = true;
    return CWnd::AfxWndProc(hWnd, msg, wp, lp);
}

INT_PTR CDialog::DoModal()
{
    // Like the platform's own modal boxes, a dialog without a parent is owned
    // by the thread's main window, which stays disabled while it runs.
    HWND hOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!hOwner)
        if (CWinThread* t = AfxGetThread(); t && t->m_pMainWnd && t->m_pMainWnd != this) hOwner = t->m_pMainWnd->m_hWnd;
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEW(m_nIDTemplate), RT_DIALOG);
    HRSRC hRes = ::FindResourceW(hInst, MAKEINTRESOURCEW(m_nIDTemplate), RT_DIALOG);
    const BYTE* data = hRes ? static_cast<const BYTE*>(::LockResource(::LoadResource(hInst, hRes))) : nullptr;
    if (!data || ::SizeofResource(hInst, hRes) < 16) return -1;
    // The platform's modal loop shows its dialog (restoring it) when the queue first goes empty, and
    // creation shows a WS_VISIBLE template: both would undo a dialog that starts minimised or hidden.
    // So the template loses WS_VISIBLE and the loop below shows the dialog itself.
    std::vector<BYTE> dlgTemplate(data, data + ::SizeofResource(hInst, hRes));
    const size_t styleAt = reinterpret_cast<const WORD*>(data)[1] == 0xFFFF ? 12 : 0;   // DLGTEMPLATEEX or not
    DWORD style;
    memcpy(&style, dlgTemplate.data() + styleAt, sizeof style);
    style &= ~WS_VISIBLE;
    memcpy(dlgTemplate.data() + styleAt, &style, sizeof style);

    const bool disableOwner = hOwner && ::IsWindowEnabled(hOwner);
    if (disableOwner) ::EnableWindow(hOwner, FALSE);
    m_bEndModal = false;
    m_nModalResult = -1;
    HWND hWnd = ::CreateDialogIndirectParamW(hInst, reinterpret_cast<LPCDLGTEMPLATEW>(dlgTemplate.data()), hOwner,
                                             &CDialog::DlgProc, reinterpret_cast<LPARAM>(this));
    if (hWnd) RunModalLoop(hWnd);
    if (disableOwner) ::EnableWindow(hOwner, TRUE);
    if (::IsWindow(hWnd)) ::DestroyWindow(hWnd);
    return m_nModalResult;
}

void CDialog::RunModalLoop(HWND hWnd)
{
    if (!m_bEndModal && !::IsWindowVisible(hWnd) && !::IsIconic(hWnd)) ::ShowWindow(hWnd, SW_SHOWNORMAL);
    MSG msg;
    while (!m_bEndModal && ::IsWindow(hWnd))
    {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0)
        {
            // A quit request ends this loop and is left for the thread's own loop.
            if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!::IsDialogMessageW(hWnd, &msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bEndModal = true;
    // Hides the dialog and gives the activation back to its owner, as the platform's modal boxes do.
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEW(nIDTemplate), RT_DIALOG);
    HWND h = ::CreateDialogParamW(hInst, MAKEINTRESOURCEW(nIDTemplate), pParentWnd ? pParentWnd->m_hWnd : nullptr,
                                  &CDialog::DlgProc, reinterpret_cast<LPARAM>(this));
    return h != nullptr;
}

BOOL CDialog::HandleInitDialog()
{
    m_layout.Load(m_hWnd, m_nIDTemplate);
    m_dpiScale.Init(m_hWnd);
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

LRESULT CDialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    LRESULT result = CWnd::WindowProc(msg, wp, lp);
    if (msg == WM_SIZE && wp != SIZE_MINIMIZED) m_layout.Apply(m_hWnd);
    return result;
}

// --- CDialogEx -------------------------------------------------------------

const CRuntimeClass* CDialogEx::GetThisClass()
{
    return MakeRuntimeClass<CDialogEx, CDialog, false>();
}

const AFX_MSGMAP* CDialogEx::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {
        Raw<WM_CTLCOLORDLG, &CDialogEx::OnCtlColorDlg>(),
    };
    static const AFX_MSGMAP map{&CDialog::GetThisMessageMap, entries};
    return &map;
}

void CDialogEx::SetBackgroundColor(COLORREF color, BOOL bRepaint)
{
    m_brBackground.DeleteObject();
    m_brBackground.CreateSolidBrush(color);
    if (bRepaint && m_hWnd) ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT CDialogEx::OnCtlColorDlg(WPARAM, LPARAM)
{
    if (m_brBackground.m_hObject) return reinterpret_cast<LRESULT>(m_brBackground.m_hObject);
    return Default();
}
