// Runs on the coloured window's own thread (the panel's thread only creates the thread
// object and writes its start parameters before resuming it).
#include "colorwin/FullScreenDialog.h"
#include <algorithm>
#include "res/AppIcon.h"
#include "colorwin/ColoredWindowManager.h"
#include "colorwin/CustomColorDialog.h"
#include "display/DisplayApi.h"
#include "display/HandleText.h"
#include "display/MonitorEnum.h"
#include "res/resource.h"

// --- CDlgFullScreenDialog ----------------------------------------------------

CDlgFullScreenDialog::CDlgFullScreenDialog() : CDialogEx(IDD_FULLSCREEN_DIALOG, nullptr) {}

CDlgFullScreenDialog::~CDlgFullScreenDialog()
{
    m_menuContext.DestroyMenu();
}

IMPLEMENT_RUNTIME_CLASS(CDlgFullScreenDialog, CDialogEx, false)

// clang-format off
BEGIN_MESSAGE_MAP(CDlgFullScreenDialog, CDialogEx)
    Msg<WM_DESTROY, &T::OnDestroy>(),
    Msg<WM_CLOSE, &T::OnClose>(),
    Cmd<ID_COLORED_CLOSE, &T::OnColoredClose>(),
    Cmd<ID_CHANGE_COLOR, &T::OnChangeColor>(),
    Msg<WM_CONTEXTMENU, &T::OnContextMenu>(),
    Msg<WM_HELP, &T::OnHelpInfo>(),
    Cmd<ID_COLORED_CLOSE_ALL, &T::OnColoredCloseAll>(),
    Cmd<ID_COLORED_EXIT, &T::OnColoredExit>(),
    Raw<WM_DISPLAYCHANGE, &T::OnDisplayChange>(),
    Raw<WM_POWERBROADCAST, &T::OnPowerBroadcast>(),
    Raw<WM_COVER_RECHECK, &T::OnRecheck>(),
    Raw<WM_DPICHANGED, &T::OnDpiChanged>(),
    Raw<WM_COVER_LOOK, &T::OnLook>(),
    Raw<WM_COVER_PEEK, &T::OnPeek>(),
    Msg<WM_TIMER, &T::OnTimer>(),
END_MESSAGE_MAP()
// clang-format on

BOOL CDlgFullScreenDialog::OnInitDialog()
{
    CDialogEx::OnInitDialog();

    SetAppIcon(*this);

    // A Close All that came while the thread started: the window goes before it is seen.
    // A hotkey may have changed its opacity, or a peek begun, while the thread started.
    if (m_pOpenWindows && !m_pOpenWindows->Register(m_nTicket, m_hWnd, &m_nAlpha, &m_bPeeking))
    {
        DestroyWindow();
        return TRUE;
    }

    SetBackgroundColor(m_crColor, TRUE);
    MoveWindow(m_rcMonitor.left, m_rcMonitor.top, m_rcMonitor.right - m_rcMonitor.left,
               m_rcMonitor.bottom - m_rcMonitor.top, TRUE);
    ShowWindow(SW_SHOWNOACTIVATE);

    m_menuContext.LoadMenu(IDR_MENU_COLORED_WINDOW);

    CString title;
    title.Format(L"%s - %s", static_cast<LPCWSTR>(m_strMonitorLabel), AfxGetModuleState()->m_lpszCurrentAppName);
    SetWindowText(title);

    ModifyStyleEx(0, WS_EX_LAYERED, 0);
    if (m_bPassthrough && m_nAlpha > PassthroughMaxAlpha) m_nAlpha = PassthroughMaxAlpha;
    ApplyLook();
    if (m_bPassthrough) ModifyStyleEx(0, WS_EX_TRANSPARENT | WS_EX_NOACTIVATE, 0);

    // Only the panel's own Show activates: a cover that comes while the user works elsewhere
    // (auto-cover, command line, hotkey, tray) must not take the foreground from that work.
    SetWindowPos(m_bOnTop ? &CWnd::wndTopMost : &CWnd::wndNoTopMost, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW | (m_bActivate ? 0 : SWP_NOACTIVATE));
    if (m_bOnTop) m_band.Start(m_hWnd);

    if (m_bInAltTab) ModifyStyleEx(WS_EX_TOOLWINDOW, 0, 0);
    else ModifyStyleEx(0, WS_EX_TOOLWINDOW, 0);

    // Before Windows 10 2004 captures show the window black instead; where the call fails
    // (no desktop composition, Wine) it stays in captures as before.
    if (m_bExcludeFromCapture) Display().SetWindowDisplayAffinity(m_hWnd, WDA_EXCLUDEFROMCAPTURE);

    // A command that started this cover may now report it in place.
    if (m_pOpenWindows) m_pOpenWindows->MarkShown(m_nTicket);
    // The default focus would take the keyboard, and under Wine the foreground, from the user.
    return m_bActivate;
}

void CDlgFullScreenDialog::OnCancel()
{
    PostMessage(WM_CLOSE, 0, 0);
}

// Enter must not hide the window while it stays registered: it does nothing.
void CDlgFullScreenDialog::OnOK() {}

void CDlgFullScreenDialog::OnClose()
{
    DestroyWindow();
    Default();
}

void CDlgFullScreenDialog::OnDestroy()
{
    m_band.Stop();
    if (m_pOpenWindows) m_pOpenWindows->Unregister(m_nTicket, m_hWnd);
    Default();
}

void CDlgFullScreenDialog::OnColoredClose()
{
    PostMessage(WM_CLOSE, 0, 0);
}

void CDlgFullScreenDialog::OnContextMenu(CWnd* /*pWnd*/, CPoint pos)
{
    if (CMenu* pPopup = m_menuContext.GetSubMenu(0)) pPopup->TrackPopupMenu(0, pos.x, pos.y, this);
}

BOOL CDlgFullScreenDialog::OnHelpInfo(HELPINFO* /*pHelpInfo*/)
{
    return TRUE;
}

void CDlgFullScreenDialog::OnColoredCloseAll()
{
    CloseAllColoredWindows();
}

void CDlgFullScreenDialog::OnColoredExit()
{
    if (HWND hPanel = ControlPanelWindow()) ::PostMessageW(hPanel, WM_CLOSE, 0, 0);
}

// Blocks only this window's thread. The layered attributes are left as they are,
// so the opacity stays; the next show takes the panel's colour again.
void CDlgFullScreenDialog::OnChangeColor()
{
    if (PickColor(this, L"Select Color", m_crColor)) SetBackgroundColor(m_crColor, TRUE);
}

LRESULT CDlgFullScreenDialog::OnDisplayChange(WPARAM, LPARAM)
{
    Recheck();
    return 0;
}

// After sleep some systems keep a layered top-most window listed but no longer draw it.
LRESULT CDlgFullScreenDialog::OnPowerBroadcast(WPARAM wParam, LPARAM)
{
    if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) Recheck();
    return TRUE;
}

LRESULT CDlgFullScreenDialog::OnRecheck(WPARAM, LPARAM)
{
    Recheck();
    return 0;
}

// The system suggests the window scaled for the new DPI; a cover keeps its monitor's whole rectangle.
LRESULT CDlgFullScreenDialog::OnDpiChanged(WPARAM, LPARAM)
{
    Recheck();
    return 0;
}

// In place, so the cover neither closes nor flickers; a re-show starts from the panel's values again.
LRESULT CDlgFullScreenDialog::OnLook(WPARAM wParam, LPARAM lParam)
{
    m_nAlpha = static_cast<BYTE>(std::min<WPARAM>(wParam, m_bPassthrough ? PassthroughMaxAlpha : 255));
    if (static_cast<COLORREF>(lParam) != CLR_INVALID)
        SetBackgroundColor(m_crColor = static_cast<COLORREF>(lParam), TRUE);
    ApplyLook();
    return 0;
}

LRESULT CDlgFullScreenDialog::OnPeek(WPARAM wParam, LPARAM)
{
    m_bPeeking = wParam != 0;
    ApplyLook();
    return 0;
}

void CDlgFullScreenDialog::ApplyLook()
{
    // Only the style changes, never the activation: a peek moves no focus.
    const BOOL through = m_bPassthrough || m_bPeeking;
    ModifyStyleEx(through ? 0 : WS_EX_TRANSPARENT, through ? WS_EX_TRANSPARENT : 0, 0);
    ::SetLayeredWindowAttributes(m_hWnd, m_crColor, m_bPeeking ? 0 : m_nAlpha, LWA_ALPHA);
}

void CDlgFullScreenDialog::OnTimer(UINT_PTR nIDEvent)
{
    m_band.OnTimer(nIDEvent);
}

void CDlgFullScreenDialog::Recheck()
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!Display().GetMonitorInfoW(m_hMonitor, &info))
    {
        // A dock or a driver may give the same monitor a new handle: the cover follows it.
        const HMONITOR same = MonitorByDeviceName(m_strDevice);
        // Its monitor is gone: left in place, the cover could lie over another monitor now. It
        // comes back through auto-cover or the user's Show once the monitor returns.
        if (!same || !Display().GetMonitorInfoW(same, &info) ||
            (m_pOpenWindows && !m_pOpenWindows->Rekey(m_nTicket, FormatHandleText(same))))
        {
            PostMessage(WM_CLOSE, 0, 0);
            return;
        }
        m_hMonitor = same;
    }
    const RECT& rc = info.rcMonitor;
    SetWindowPos(m_bOnTop ? &CWnd::wndTopMost : nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOACTIVATE | (m_bOnTop ? 0 : SWP_NOZORDER));
    ApplyLook();
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// --- CThreadFullScreenDialog -------------------------------------------------

CThreadFullScreenDialog::CThreadFullScreenDialog() = default;
CThreadFullScreenDialog::~CThreadFullScreenDialog() = default;

IMPLEMENT_RUNTIME_CLASS(CThreadFullScreenDialog, CWinThread, true)

BOOL CThreadFullScreenDialog::InitInstance()
{
    m_pMainWnd = &m_dlgFullScreen;
    // A window that cannot be created ends its thread: nothing could ever close a window-less loop.
    // A window cancelled during its initialisation is already gone again.
    return m_dlgFullScreen.Create(IDD_FULLSCREEN_DIALOG, nullptr) && ::IsWindow(m_dlgFullScreen.m_hWnd);
}

int CThreadFullScreenDialog::ExitInstance()
{
    if (m_dlgFullScreen.m_pOpenWindows) m_dlgFullScreen.m_pOpenWindows->Release(m_dlgFullScreen.m_nTicket);
    return CWinThread::ExitInstance();
}
