// CUmbrafenDlg: the control panel, the program's only top-level window, on the
// application's main thread. Its members live in panel/, one file per concern:
// UmbrafenDlg.cpp (message map, start, end), MonitorList.cpp, Covers.cpp,
// WindowOptions.cpp, TopologyBox.cpp, Menus.cpp, ListFont.cpp, RemoteCommands.cpp,
// AutoCover.cpp, AutoCoverCommand.cpp, Hotkeys.cpp, TrayIcon.cpp, PreferencesCommand.cpp,
// SessionEvents.cpp, AutoSave.cpp, DpiScaling.cpp.
#pragma once
#include "framework/Framework.h"
#include <vector>
#include "colorwin/AutoCover.h"
#include "colorwin/ColoredWindowManager.h"
#include "panel/CustomMFCListCtrl.h"
#include "panel/PanelMessages.h"
#include "settings/CommandLine.h"

// The control panel's window user data; with the application name as title it
// marks the running instance for a second start.
constexpr LONG InstanceMarker = 0x312;

class CUmbrafenDlg;
// The open control panel, for its own thread only (window threads use ControlPanelWindow).
extern CUmbrafenDlg* g_pMainDlg;

// Monitor-list columns the panel reads back.
constexpr int DeviceNameColumn = 5;
constexpr int MonitorIdColumn = 6;

// Default width of a monitor-list column for a list of the given outer width.
int DefaultColumnWidth(int listWidth, int column);

class CUmbrafenDlg : public CDialogEx
{
public:
    explicit CUmbrafenDlg(CWnd* pParent = nullptr);

    DECLARE_MESSAGE_MAP()

    CRect m_rcInitial;   // window rectangle as created: the minimum tracking size
    CRect m_rcList;      // list control's window rectangle, base of the default column widths
    CFont m_listFont;    // the list's font when one is stored
    CMenu m_menu;        // command menu 132
    int ResetRequested = 0;
    bool m_bClosing = false;   // the close sequence has begun
    HICON m_hIcon = nullptr;
    CCustomMFCListCtrl m_list;
    CSliderCtrl m_slider;
    CComboBox m_combo;

    // Monitor list and remembered ticks
    void InitListColumns();
    void FillMonitorList();
    void AddMonitorRow(CString label, HMONITOR handle);
    void RestoreCheckedState();
    void StoreCheckedState(BOOL bReport = TRUE);   // bReport: the box about more than 20 rows
    void CaptureColumnWidths();
    void CheckAll();
    void UncheckAll();
    LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam);

    // Display topology box
    void FillTopologyCombo();
    void SyncTopologyCombo();
    void OnTopologySelChange();

    // Window options
    void ApplyPassthroughRules(BOOL bPrompt = TRUE);   // bPrompt: the Passthrough-off prompt
    void ReshowColoredWindows();
    void OnOnTop();
    void OnInAltTab();
    void OnPassthrough();
    void OnReleasedCaptureSlider(NMHDR* pNMHDR, LRESULT* pResult);
    void OnTurnOffMonitors();
    void OnOptionBox();   // Auto Minimize, Turn Off Monitor(s)
    void OnLButtonDown(UINT nFlags, CPoint point);

    // Colour of new coloured windows
    void OnInitialWindowColor();

    // Help
    void OnHelpButton();

    // Coloured windows
    void OnShowWindows();
    std::vector<int> TickedRows();
    HMONITOR MonitorOf(int row);   // the row's monitor handle, its item data
    void ReadSliderAlpha();        // the opacity trackbar into AppSettings.Alpha
    void ShowNoMonitorMessage();
    void ShowColoredWindows(BOOL bReshow);
    void CloseCheckedColoredWindows();
    void OnCloseAllColoredWindows();
    void OnColoredWindowOnAllMonitors();
    void OnExit();
    void OnClose();
    void OnTimer(UINT_PTR nIDEvent);   // dispatches every timer of the panel
    void OnCloseDelayTimer();
    void OnCancel() override;

    // Covers asked for directly, by row (command line, hotkeys, tray)
    int FindDisplayRow(int display);   // the row of \\.\DISPLAYn, -1 when none
    BOOL IsRowCovered(int row);
    // Each returns what it started and closed, for a command that waits until it is in place.
    CoverTickets CoverRows(const std::vector<int>& rows, int alpha = -1);   // alpha: instead of the slider's
    CoverTickets UncoverRows(const std::vector<int>& rows);
    CoverTickets ToggleRows(const std::vector<int>& rows);
    CoverRequest CoverRequestFor(int row);
    CoverOptions CurrentCoverOptions() const;
    CoverOptions ReadCoverOptions();   // the check boxes and trackbar read first, as Show reads them

    // The command line: this start's, or a later start's sent with WM_COPYDATA
    Command m_startCommand;               // set before DoModal, applied once the panel is up
    bool m_bStartCommandFailed = false;   // it named a display the list lacks
    void PrepareRemoteCommands();
    LRESULT OnStartCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnCopyData(WPARAM wParam, LPARAM lParam);
    // CommandApplied, or -n for a missing display n; done gets what it started and closed.
    LRESULT ApplyCommand(const Command& command, CoverTickets& done);
    CoverTickets ShowTickedRows();
    void MinimizePanel();
    void EndForExit();   // --exit: the panel's open boxes are cancelled, then it closes
    void SetAutoCoverMode(AutoCoverMode mode);   // On and Off also set the preference for this run

    // Auto-cover: its timer, and the commands of the tray menu and the command line
    CAutoCover m_autoCover;
    void ApplyAutoCoverPreferences();   // from ApplyPreferences: at start and after the Preferences dialog
    void CheckAutoCover();
    void PauseAutoCover();   // for an hour
    void ResumeAutoCover();
    BOOL IsAutoCoverPaused();

    // Lock, unlock and resume: auto-cover's waits, and every cover checks itself again
    bool m_sessionNotify = false;   // registered for the session's lock and unlock
    int m_sessionNotifyTries = 0;
    void RegisterSessionNotify();
    void UnregisterSessionNotify();
    LRESULT OnSessionChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnPowerBroadcast(WPARAM wParam, LPARAM lParam);

    // Settings
    void OnResetAllParameters();
    void RestorePlacement();

    // The data file kept current while the panel runs
    bool m_bAutoSavePending = false;     // the store timer runs
    bool m_bAutoSaveFailed = false;      // a background store failed and was reported
    WPARAM m_sizeType = SIZE_RESTORED;   // the last WM_SIZE's kind: restored, minimised or maximised
    void MarkSettingsChanged();          // a value the data file holds has changed: stored about 2 s later
    void OnAutoSaveTimer();
    void OnListItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnColumnWidthChanged(NMHDR* pNMHDR, LRESULT* pResult);   // the user dragged a divider, or double-clicked it
    LRESULT OnHScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnExitSizeMove(WPARAM wParam, LPARAM lParam);

    // Command menu
    void ShowCommandMenu(CPoint pos);
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    void OnMenuButton();
    void AutosizeColumns();
    void OnContactUs();
    void OnMakerWebsite();
    void OnShare();
    void OnMinimize();
    void OnDisplaySettings();
    void OnDisplayDevices();
    BOOL OnHelpInfo(HELPINFO* pHelpInfo);

    // Hotkeys, tray icon and the Preferences dialog
    std::vector<CString> m_hotkeyFailures;   // "ToggleAll=Ctrl+Alt+T" per hotkey RegisterHotKey refused
    CString m_hotkeyReport;                  // refusals not yet told to the user
    bool m_trayIconShown = false;            // the shell holds our icon
    void ApplyPreferences();                 // hotkeys, tray icon and auto-cover as Preferences says
    void RegisterHotkeys();
    void UnregisterHotkeys();
    LRESULT OnHotKey(WPARAM wParam, LPARAM lParam);
    LRESULT OnHotkeyReport(WPARAM wParam, LPARAM lParam);
    void ToggleTickedRows();
    int RowUnderPointer();   // -1 when the pointer is on no listed monitor
    void StepOpacityHere(bool dimmer);
    bool m_bPeeking = false;
    void TogglePeek();
    void ShowTrayIcon(bool show);
    void ShowNotice(LPCWSTR text);   // a balloon on the tray icon, else a message box
    HMENU BuildTrayMenu();
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    void OnTaskbarCreated();
    void OnTrayOpen();
    void OnTrayShow();
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    void OnPreferences();

    // List font
    void StepListFont(bool increment);
    void SetListFont(const LOGFONTW& lf);   // lf at 96 DPI
    LOGFONTW ListFontAt96();                // the list's font, its height at 96 DPI
    void OnIncrementListFont();
    void OnDecrementListFont();
    void OnChangeFont();
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);

protected:
    // Drawn for the DPI of the monitor it is on: minimum size, column widths and list font follow.
    void OnDpiScaled(UINT oldDpi) override;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    void OnDestroy();
    void OnEndSession(BOOL bEnding);
    // Messages a map entry cannot name: TaskbarCreated (numbered at run time), the tray's Toggle range.
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    // Placement, opacity, ticks and column widths into AppSettings; bReport: the box about more than 20 rows.
    void CaptureSettings(BOOL bReport = TRUE);
};
