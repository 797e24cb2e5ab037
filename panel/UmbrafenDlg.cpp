#include "panel/UmbrafenDlg.h"
#include "res/AppIcon.h"
#include "colorwin/OpenWindowRegistry.h"
#include "display/MonitorDpi.h"
#include "display/MonitorFit.h"
#include "help/AboutDlg.h"
#include "panel/RemoteCommands.h"
#include "panel/TrayIcon.h"
#include "res/resource.h"
#include "settings/AppSettings.h"

CUmbrafenDlg* g_pMainDlg = nullptr;

CUmbrafenDlg::CUmbrafenDlg(CWnd* pParent) : CDialogEx(IDD_UMBRAFEN_DIALOG, pParent)
{
    m_hIcon = LoadAppIcon();
}

// Every message and command the control panel handles.
// clang-format off
BEGIN_MESSAGE_MAP(CUmbrafenDlg, CDialogEx)
    Msg<WM_SYSCOMMAND, &T::OnSysCommand>(),
    Msg<WM_PAINT, &T::OnPaint>(),
    Msg<WM_QUERYDRAGICON, &T::OnQueryDragIcon>(),
    Msg<WM_GETMINMAXINFO, &T::OnGetMinMaxInfo>(),
    Msg<WM_DESTROY, &T::OnDestroy>(),
    Msg<WM_ENDSESSION, &T::OnEndSession>(),
    Raw<WM_DISPLAYCHANGE, &T::OnDisplayChange>(),
    Cmd<IDC_BTN_CHECK_ALL, &T::CheckAll>(),
    Cmd<IDC_BTN_UNCHECK_ALL, &T::UncheckAll>(),
    Cmd<IDC_BTN_SHOW_WINDOWS, &T::OnShowWindows>(),
    Cmd<IDC_BTN_CLOSE_ALL_WINDOWS, &T::OnCloseAllColoredWindows>(),
    Cmd<ID_CLOSE_ALL_COLORED_WINDOWS, &T::OnCloseAllColoredWindows>(),
    Cmd<ID_CLOSE_CHECKED_COLORED_WINDOWS, &T::CloseCheckedColoredWindows>(),
    Cmd<ID_COLORED_WINDOW_ON_ALL_MONITORS, &T::OnColoredWindowOnAllMonitors>(),
    Cmd<ID_EXIT, &T::OnExit>(),
    Msg<WM_CLOSE, &T::OnClose>(),
    Msg<WM_TIMER, &T::OnTimer>(),
    Cmd<ID_INITIAL_WINDOW_COLOR, &T::OnInitialWindowColor>(),
    Cmd<IDC_CHK_ON_TOP, &T::OnOnTop>(),
    Cmd<IDC_CHK_IN_ALT_TAB, &T::OnInAltTab>(),
    Cmd<IDC_CHK_PASSTHROUGH, &T::OnPassthrough>(),
    Cmd<IDC_CHK_AUTO_MINIMIZE, &T::OnOptionBox>(),
    Cmd<IDC_CHK_TURN_OFF_MONITORS, &T::OnOptionBox>(),
    Cmd<ID_TURN_OFF_MONITORS, &T::OnTurnOffMonitors>(),
    Notify<NM_RELEASEDCAPTURE, IDC_SLIDER_ALPHA, &T::OnReleasedCaptureSlider>(),
    Raw<WM_HSCROLL, &T::OnHScroll>(),
    Notify<LVN_ITEMCHANGED, IDC_LIST_MONITORS, &T::OnListItemChanged>(),
    Notify<HDN_ENDTRACKW, 0, &T::OnColumnWidthChanged>(),
    Notify<HDN_DIVIDERDBLCLICKW, 0, &T::OnColumnWidthChanged>(),
    Raw<WM_EXITSIZEMOVE, &T::OnExitSizeMove>(),
    Msg<WM_LBUTTONDOWN, &T::OnLButtonDown>(),
    Cmd<IDC_BTN_HELP, &T::OnHelpButton>(),
    Msg<WM_CONTEXTMENU, &T::OnContextMenu>(),
    Cmd<IDC_BTN_MENU, &T::OnMenuButton>(),
    Cmd<ID_INCREMENT_LIST_FONT, &T::OnIncrementListFont>(),
    Cmd<ID_DECREMENT_LIST_FONT, &T::OnDecrementListFont>(),
    Msg<WM_MOUSEWHEEL, &T::OnMouseWheel>(),
    Cmd<ID_CHANGE_FONT, &T::OnChangeFont>(),
    Cmd<ID_AUTOSIZE_COLUMNS, &T::AutosizeColumns>(),
    Cmd<ID_CONTACT_US, &T::OnContactUs>(),
    Cmd<ID_MAKER_WEBSITE, &T::OnMakerWebsite>(),
    Cmd<ID_SHARE, &T::OnShare>(),
    Cmd<ID_MINIMIZE, &T::OnMinimize>(),
    Cmd<ID_DISPLAY_SETTINGS, &T::OnDisplaySettings>(),
    Cmd<ID_DISPLAY_DEVICES, &T::OnDisplayDevices>(),
    Msg<WM_HELP, &T::OnHelpInfo>(),
    Cmd<ID_RESET_ALL_PARAMETERS, &T::OnResetAllParameters>(),
    CmdCode<CBN_SELCHANGE, IDC_COMBO_TOPOLOGY, &T::OnTopologySelChange>(),
    Raw<WM_COPYDATA, &T::OnCopyData>(),
    Raw<WM_START_COMMAND, &T::OnStartCommand>(),
    Raw<WM_HOTKEY, &T::OnHotKey>(),
    Raw<HotkeyReportMessage, &T::OnHotkeyReport>(),
    Raw<TrayCallbackMessage, &T::OnTrayNotify>(),
    Raw<WM_SIZE, &T::OnSize>(),
    Cmd<ID_TRAY_OPEN, &T::OnTrayOpen>(),
    Cmd<ID_TRAY_SHOW, &T::OnTrayShow>(),
    Cmd<ID_PREFERENCES, &T::OnPreferences>(),
    Cmd<ID_TRAY_PAUSE_AUTO_COVER, &T::PauseAutoCover>(),
    Cmd<ID_TRAY_RESUME_AUTO_COVER, &T::ResumeAutoCover>(),
    Raw<WM_WTSSESSION_CHANGE, &T::OnSessionChange>(),
    Raw<WM_POWERBROADCAST, &T::OnPowerBroadcast>(),
END_MESSAGE_MAP()
// clang-format on

void CUmbrafenDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LIST_MONITORS, m_list);
    DDX_Check(pDX, IDC_CHK_ON_TOP, AppSettings.OnTop);
    DDX_Check(pDX, IDC_CHK_IN_ALT_TAB, AppSettings.InAltTab);
    DDX_Check(pDX, IDC_CHK_PASSTHROUGH, AppSettings.Passthrough);
    DDX_Control(pDX, IDC_SLIDER_ALPHA, m_slider);
    DDX_Check(pDX, IDC_CHK_AUTO_MINIMIZE, AppSettings.AutoMinimize);
    DDX_Check(pDX, IDC_CHK_TURN_OFF_MONITORS, AppSettings.TurnOffMonitors);
    DDX_Control(pDX, IDC_COMBO_TOPOLOGY, m_combo);
}

BOOL CUmbrafenDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    // A start with a command comes from a script or the logon: no start-up prompt may hold up its covers.
    const BOOL bPlainStart = m_startCommand == Command();

    ::SetWindowLongW(m_hWnd, GWLP_USERDATA, InstanceMarker);
    g_pMainDlg = this;
    SetControlPanelWindow(m_hWnd);

    if (CMenu* pSysMenu = GetSystemMenu(FALSE))
    {
        CString about;
        about.LoadString(IDS_ABOUTBOX);
        if (!about.IsEmpty())
        {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    InitListColumns();
    FillTopologyCombo();
    FillMonitorList();

    SetWindowText(AfxGetModuleState()->m_lpszCurrentAppName);

    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEW(IDR_MENU_MAIN), RT_MENU);
    m_menu.Attach(::LoadMenuW(hInst, MAKEINTRESOURCEW(IDR_MENU_MAIN)));

    GetWindowRect(&m_rcInitial);

    m_slider.SetRange(50, 255, FALSE);
    m_slider.SetPos(AppSettings.Alpha);

    RestorePlacement();

    if (AppSettings.ListFont.lfWeight != 0) SetListFont(AppSettings.ListFont);

    ApplyPassthroughRules(bPlainStart);
    ApplyPreferences();
    RegisterSessionNotify();
    // Minimised before it was ever shown, and after the tray icon is up so that Minimize to tray holds.
    if (m_startCommand.Minimized)
    {
        ShowWindow(SW_SHOWMINNOACTIVE);
        m_startCommand.Minimized = false;
    }
    PrepareRemoteCommands();
    return TRUE;
}

void CUmbrafenDlg::RestorePlacement()
{
    WINDOWPLACEMENT wp = AppSettings.Placement;
    wp.length = sizeof(WINDOWPLACEMENT);
    if (wp.rcNormalPosition.right - wp.rcNormalPosition.left <= 0) return;
    // Moved onto the nearest monitor when it lies on none (a damaged file, a monitor since removed):
    // the platform brings back some such windows but not all, and an unseen panel cannot be used.
    wp.rcNormalPosition =
        FitOnMonitors(wp.rcNormalPosition, {m_rcInitial.Width(), m_rcInitial.Height()}, MonitorWorkAreas());
    const bool minimised = wp.showCmd == SW_SHOWMINIMIZED || wp.showCmd == SW_MINIMIZE ||
                           wp.showCmd == SW_SHOWMINNOACTIVE || wp.showCmd == SW_FORCEMINIMIZE;
    // Hidden until OnInitDialog minimises it; a panel closed minimised opens restored.
    if (m_startCommand.Minimized) wp.showCmd = SW_HIDE;
    else if (minimised) wp.showCmd = (wp.flags & WPF_RESTORETOMAXIMIZED) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    // Drawn first for the DPI of the monitor it goes back to, so that it keeps its stored size there.
    ScaleToDpi(DpiOfRect(wp.rcNormalPosition), nullptr);
    SetWindowPlacement(&wp);
}

// Every timer of the panel; the ids are in PanelMessages.h.
void CUmbrafenDlg::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent)
    {
    case CloseDelayTimer: OnCloseDelayTimer(); break;
    case AutoCoverTimer: CheckAutoCover(); break;
    case SessionNotifyTimer: RegisterSessionNotify(); break;
    case AutoSaveTimer: OnAutoSaveTimer(); break;
    case PeekTimer: TogglePeek(); break;
    }
    Default();
}

void CUmbrafenDlg::OnSysCommand(UINT nID, LPARAM)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX)
    {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
        return;
    }
    Default();
}

void CUmbrafenDlg::OnPaint()
{
    if (!IsIconic())
    {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    CRect rect;
    GetClientRect(&rect);
    int x = (rect.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (rect.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CUmbrafenDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void CUmbrafenDlg::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    lpMMI->ptMinTrackSize.x = m_rcInitial.Width();
    lpMMI->ptMinTrackSize.y = m_rcInitial.Height();
    Default();
}

void CUmbrafenDlg::CaptureSettings(BOOL bReport)
{
    AppSettings.Placement.length = sizeof(WINDOWPLACEMENT);
    GetWindowPlacement(&AppSettings.Placement);
    ReadSliderAlpha();
    StoreCheckedState(bReport);
    CaptureColumnWidths();
}

void CUmbrafenDlg::OnDestroy()
{
    // Coloured windows left open by an OK end must not reach a dialog that is gone.
    SetControlPanelWindow(nullptr);
    UnregisterHotkeys();
    if (m_bPeeking) TogglePeek();   // the next covers of this process must not start see-through
    UnregisterSessionNotify();
    ShowTrayIcon(false);
    CaptureSettings();
    Default();
    g_pMainDlg = nullptr;
}

// The system ends the process right after this message, before the modal loop could
// return: the settings are stored here as a clean close stores them.
void CUmbrafenDlg::OnEndSession(BOOL bEnding)
{
    if (bEnding && ResetRequested == 0)
    {
        CaptureSettings();
        SaveLoadSettings(TRUE);
    }
    Default();
}

void CUmbrafenDlg::ShowCommandMenu(CPoint pos)
{
    if (CMenu* popup = CMenu::FromHandle(::GetSubMenu(m_menu, 0))) popup->TrackPopupMenu(0, pos.x, pos.y, this);
}

void CUmbrafenDlg::OnContextMenu(CWnd*, CPoint pos)
{
    // From the keyboard there is no mouse position (-1, -1): open at the cursor.
    if (pos.x == -1 && pos.y == -1) ::GetCursorPos(&pos);
    ShowCommandMenu(pos);
}

void CUmbrafenDlg::OnMenuButton()
{
    CPoint pos;
    if (!::GetCursorPos(&pos))
    {
        ::MessageBeep(MB_ICONHAND);
        return;
    }
    ShowCommandMenu(pos);
}
