// CDlgDisplayDevices: the display adapters the platform reports, one row each,
// refilled whenever the display configuration changes while it is open.
#pragma once
#include "framework/Framework.h"

class CDlgDisplayDevices : public CDialog
{
public:
    explicit CDlgDisplayDevices(CWnd* pParent = nullptr);

    DECLARE_RUNTIME_CLASS()
    DECLARE_MESSAGE_MAP()

    void FillDeviceList();
    LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam);
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);

    CListCtrl m_list;
    RECT m_rcMinimum{};   // window rectangle as opened: the smallest the user may make it

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnDpiScaled(UINT oldDpi) override;   // minimum size and column widths follow the DPI
};
