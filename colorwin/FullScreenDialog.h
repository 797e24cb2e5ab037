// A coloured window and the user-interface thread it lives in.
//   CDlgFullScreenDialog     modeless, borderless dialog covering one monitor in one colour
//   CThreadFullScreenDialog  the thread that creates one such window and runs its message loop
#pragma once
#include <windows.h>
#include "colorwin/CoverBand.h"
#include "colorwin/OpenWindowRegistry.h"
#include "framework/Framework.h"

class CDlgFullScreenDialog : public CDialogEx
{
public:
    CDlgFullScreenDialog();
    ~CDlgFullScreenDialog() override;

    DECLARE_RUNTIME_CLASS()
    DECLARE_MESSAGE_MAP()

    // Start parameters, written by the starter while the thread is suspended.
    CMenu m_menuContext;
    RECT m_rcMonitor = {0, 0, 0, 0};
    COLORREF m_crColor = 0;
    COpenWindowRegistry* m_pOpenWindows = nullptr;
    HMONITOR m_hMonitor = nullptr;
    BOOL m_bOnTop = FALSE;
    CString m_strMonitorLabel;
    BOOL m_bInAltTab = FALSE;
    BYTE m_nAlpha = 255;
    BOOL m_bPassthrough = TRUE;
    BOOL m_bExcludeFromCapture = FALSE;
    UINT_PTR m_nTicket = 0;     // this window's lifetime in the registry
    BOOL m_bActivate = FALSE;   // the window becomes the active one as it takes its band
    CString m_strDevice;        // its monitor's device name, to find it again under a new handle
    BOOL m_bPeeking = FALSE;    // see-through and click-through for a peek, its own opacity kept

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override;

    void OnDestroy();
    void OnClose();
    void OnColoredClose();
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    void OnColoredCloseAll();
    void OnChangeColor();
    void OnColoredExit();
    LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnPowerBroadcast(WPARAM wParam, LPARAM lParam);
    LRESULT OnRecheck(WPARAM wParam, LPARAM lParam);
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnLook(WPARAM wParam, LPARAM lParam);
    LRESULT OnPeek(WPARAM wParam, LPARAM lParam);
    // Opacity and click-through as its own values and a peek make them.
    void ApplyLook();
    void OnTimer(UINT_PTR nIDEvent);
    // Takes its monitor's rectangle, its opacity and its band again, and repaints; follows its
    // monitor to a new handle, or closes when the monitor is gone.
    void Recheck();

private:
    CCoverBand m_band;
};

class CThreadFullScreenDialog : public CWinThread
{
public:
    CThreadFullScreenDialog();
    ~CThreadFullScreenDialog() override;

    DECLARE_RUNTIME_CLASS()

    BOOL InitInstance() override;
    int ExitInstance() override;

    CDlgFullScreenDialog m_dlgFullScreen;
};
