#include "display/DisplayDevicesDlg.h"
#include "res/AppIcon.h"
#include <cwchar>
#include "display/DisplayApi.h"
#include "display/MonitorDpi.h"
#include "res/resource.h"

CDlgDisplayDevices::CDlgDisplayDevices(CWnd* pParent) : CDialog(IDD_DISPLAY_DEVICES, pParent) {}

IMPLEMENT_RUNTIME_CLASS(CDlgDisplayDevices, CDialog, false)

// clang-format off
BEGIN_MESSAGE_MAP(CDlgDisplayDevices, CDialog)
    Msg<WM_GETMINMAXINFO, &T::OnGetMinMaxInfo>(),
    Raw<WM_DISPLAYCHANGE, &T::OnDisplayChange>(),
END_MESSAGE_MAP()
// clang-format on

void CDlgDisplayDevices::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LIST_DISPLAY_DEVICES, m_list);
}

BOOL CDlgDisplayDevices::OnInitDialog()
{
    CDialog::OnInitDialog();

    SetSecondaryCaption(*this, L"Display Device(s)");

    GetWindowRect(&m_rcMinimum);

    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    static const struct
    {
        LPCWSTR heading;
        int width;
    } columns[] = {
        {L"Sr", 50}, {L"Name", 200}, {L"Device String", 350}, {L"Active", 125}, {L"Primary", 125}, {L"Device ID", 350},
    };
    for (int i = 0; i < 6; ++i)
        m_list.InsertColumn(i, columns[i].heading, LVCFMT_LEFT, ScaledFrom96(columns[i].width, GetDpi()));

    FillDeviceList();
    return TRUE;
}

void CDlgDisplayDevices::FillDeviceList()
{
    m_list.DeleteAllItems();

    // One record for every query; each query overwrites what it returns.
    DISPLAY_DEVICEW dd{};
    dd.cb = sizeof(dd);
    if (!Display().EnumDisplayDevicesW(nullptr, 0, &dd, 0)) return;

    for (DWORD i = 0;; ++i)
    {
        // The monitor query below overwrites the record, the adapter's name included.
        WCHAR adapterName[64] = {};
        wcscpy_s(adapterName, 64, dd.DeviceName);

        const int n = m_list.GetItemCount();
        CString number;
        number.Format(L"%d", n + 1);
        m_list.InsertItem(n, number);
        m_list.SetItemText(n, 1, dd.DeviceName);
        m_list.SetItemText(n, 2, dd.DeviceString);
        if (dd.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) m_list.SetItemText(n, 3, L"Yes");
        if (dd.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) m_list.SetItemText(n, 4, L"Yes");

        if (Display().EnumDisplayDevicesW(adapterName, 0, &dd, EDD_GET_DEVICE_INTERFACE_NAME))
            m_list.SetItemText(n, 5, dd.DeviceID);

        if (!Display().EnumDisplayDevicesW(nullptr, i + 1, &dd, 0)) break;
    }
}

void CDlgDisplayDevices::OnDpiScaled(UINT oldDpi)
{
    const SIZE created = GetCreatedSize();
    m_rcMinimum.right = m_rcMinimum.left + created.cx;
    m_rcMinimum.bottom = m_rcMinimum.top + created.cy;
    for (int i = 0; i < 6; ++i) m_list.SetColumnWidth(i, ::MulDiv(m_list.GetColumnWidth(i), GetDpi(), oldDpi));
}

LRESULT CDlgDisplayDevices::OnDisplayChange(WPARAM, LPARAM)
{
    FillDeviceList();
    return 0;
}

void CDlgDisplayDevices::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    lpMMI->ptMinTrackSize.x = m_rcMinimum.right - m_rcMinimum.left;
    lpMMI->ptMinTrackSize.y = m_rcMinimum.bottom - m_rcMinimum.top;
    Default();
}
