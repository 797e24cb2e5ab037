// The control panel's monitor list: columns and their widths, the fill from a
// fresh enumeration, and the ticks remembered in AppSettings by Monitor ID.
#include <iterator>
#include "display/HandleText.h"
#include "display/MonitorDpi.h"
#include "display/MonitorEnum.h"
#include "panel/UmbrafenDlg.h"
#include "res/resource.h"
#include "settings/AppSettings.h"

namespace {
struct ColumnSpec
{
    LPCWSTR title;
    int factor;   // default width is list width x factor / 671
};
constexpr ColumnSpec Columns[] = {
    {L"Monitor", 200}, {L"Left", 75}, {L"Top", 75}, {L"Width", 75}, {L"Height", 75}, {L"Name", 150}, {L"Monitor ID", 1},
};
constexpr int ColumnDivisor = 671;
}   // namespace

int DefaultColumnWidth(int listWidth, int column)
{
    return listWidth * Columns[column].factor / ColumnDivisor;
}

// The message shown when more rows are listed than ticks can be remembered.
static void ShowStoredCheckLimit(CWnd* owner, LPCWSTR verb)
{
    CString email;
    email.LoadString(IDS_SUPPORT_EMAIL);
    CString text;
    text.Format(L"Checked / Unchecked Data of only %d Display Devices will be %s.\n\nPlease Write to ",
                StoredCheckLimit, verb);
    text += email;
    text += L" to get this Limit increased.";
    AppMessageBox(owner->m_hWnd, text);
}

void CUmbrafenDlg::InitListColumns()
{
    m_list.GetWindowRect(&m_rcList);
    const int width = m_rcList.Width();
    m_list.GetHeaderCtrl().ModifyStyle(0, HDS_CHECKBOXES);
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);

    for (int i = 0; i < static_cast<int>(std::size(Columns)); ++i)
    {
        const int stored = AppSettings.ColumnWidths[i];
        const int w = stored != 0 ? ScaledFrom96(stored, GetDpi()) : DefaultColumnWidth(width, i);
        if (i == 0)
        {
            LVCOLUMNW col{};
            col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
            col.fmt = HDF_CHECKBOX;
            col.cx = w;
            col.pszText = const_cast<LPWSTR>(Columns[0].title);
            col.iSubItem = 0;
            m_list.InsertColumn(0, &col);
        }
        else
        {
            m_list.InsertColumn(i, Columns[i].title, LVCFMT_LEFT, w, -1);
        }
    }
}

void CUmbrafenDlg::FillMonitorList()
{
    CWaitCursor wait;
    BuildMonitorInterfaceMap();
    m_list.DeleteAllItems();
    EnumerateMonitors();
    for (INT_PTR i = 0; i < MonitorHandleTexts.GetSize(); ++i)
    {
        HMONITOR handle = reinterpret_cast<HMONITOR>(ParseHandleText(MonitorHandleTexts[i]));
        AddMonitorRow(MonitorFriendlyNames[i], handle);
    }
    RestoreCheckedState();
    SyncTopologyCombo();
}

void CUmbrafenDlg::AddMonitorRow(CString label, HMONITOR handle)
{
    MonitorRecord rec;
    if (!CompleteMonitorRecord(handle, label, rec)) return;

    const int row = m_list.InsertItem(m_list.GetItemCount(), rec.Label);
    m_list.SetItemData(row, reinterpret_cast<DWORD_PTR>(handle));
    const int numbers[] = {rec.Left, rec.Top, rec.Width, rec.Height};
    for (int c = 0; c < 4; ++c)
    {
        CString text;
        text.Format(L"%d", numbers[c]);
        m_list.SetItemText(row, c + 1, text);
    }
    m_list.SetItemText(row, DeviceNameColumn, rec.DeviceName);
    m_list.SetItemText(row, MonitorIdColumn, rec.MonitorId);
}

void CUmbrafenDlg::RestoreCheckedState()
{
    const int rows = m_list.GetItemCount();
    const int n = rows > StoredCheckLimit ? StoredCheckLimit : rows;
    for (int r = 0; r < n; ++r)
    {
        const ULONGLONG key = MonitorIdKey(m_list.GetItemText(r, MonitorIdColumn));
        for (int k = 0; k < StoredCheckLimit; ++k)
        {
            if (AppSettings.CheckedKey[k] == key)
            {
                m_list.SetCheck(r, AppSettings.CheckedState[k]);
                break;
            }
        }
    }
    // Only once the ticks are back: a display change handled while the box is open
    // stores the ticks the list shows before it refills the list.
    if (rows > StoredCheckLimit) ShowStoredCheckLimit(this, L"Loaded");
}

void CUmbrafenDlg::StoreCheckedState(BOOL bReport)
{
    int n = m_list.GetItemCount();
    if (n > StoredCheckLimit)
    {
        if (bReport) ShowStoredCheckLimit(this, L"Stored");
        n = StoredCheckLimit;
    }
    // Slots beyond n keep monitors that are not listed now.
    for (int r = 0; r < n; ++r)
    {
        AppSettings.CheckedKey[r] = MonitorIdKey(m_list.GetItemText(r, MonitorIdColumn));
        AppSettings.CheckedState[r] = m_list.GetCheck(r);
    }
}

void CUmbrafenDlg::CaptureColumnWidths()
{
    CHeaderCtrl& header = m_list.GetHeaderCtrl();
    const int count = header.GetItemCount();
    for (int i = 0; i < count && i < static_cast<int>(std::size(AppSettings.ColumnWidths)); ++i)
    {
        HDITEMW item{};
        item.mask = HDI_WIDTH;
        header.GetItem(i, &item);
        AppSettings.ColumnWidths[i] = StoredAt96(AppSettings.ColumnWidths[i], item.cxy, GetDpi());
    }
}

void CUmbrafenDlg::CheckAll()
{
    for (int r = 0; r < m_list.GetItemCount(); ++r) m_list.SetCheck(r, TRUE);
}

void CUmbrafenDlg::UncheckAll()
{
    for (int r = 0; r < m_list.GetItemCount(); ++r) m_list.SetCheck(r, FALSE);
}

LRESULT CUmbrafenDlg::OnDisplayChange(WPARAM, LPARAM)
{
    CWaitCursor wait;
    m_autoCover.DisplayChanged();
    StoreCheckedState();
    FillMonitorList();
    MarkSettingsChanged();
    return 0;
}
