#include "framework/Controls.h"

// --- CListCtrl -------------------------------------------------------------

const CRuntimeClass* CListCtrl::GetThisClass()
{
    return MakeRuntimeClass<CListCtrl, CWnd, false>();
}

int CListCtrl::InsertItem(int nItem, LPCWSTR lpszItem)
{
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.pszText = const_cast<LPWSTR>(lpszItem);
    return InsertItem(&item);
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCWSTR lpszText)
{
    LVITEMW item{};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPWSTR>(lpszText);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, nItem, (LPARAM)&item));
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    // The control copies at most the buffer size; grow until the text fits.
    CString text;
    for (int size = 256;; size *= 2)
    {
        LVITEMW item{};
        item.iSubItem = nSubItem;
        item.cchTextMax = size;
        item.pszText = text.GetBuffer(size);
        int n = static_cast<int>(SendMessage(LVM_GETITEMTEXTW, nItem, (LPARAM)&item));
        text.ReleaseBuffer(n);
        if (n < size - 1) return text;
    }
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData)
{
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    item.lParam = static_cast<LPARAM>(dwData);
    return SetItem(&item);
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    SendMessage(LVM_GETITEMW, 0, (LPARAM)&item);
    return static_cast<DWORD_PTR>(item.lParam);
}

BOOL CListCtrl::GetCheck(int nItem) const
{
    // State image 1 is "unchecked", 2 is "checked".
    UINT state = static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, nItem, LVIS_STATEIMAGEMASK));
    return ((state >> 12) - 1) == 1;
}

BOOL CListCtrl::SetCheck(int nItem, BOOL fCheck)
{
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, nItem, (LPARAM)&item));
}

int CListCtrl::InsertColumn(int nCol, LPCWSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem)
{
    LVCOLUMNW col{};
    col.mask = LVCF_FMT | LVCF_TEXT;
    col.fmt = nFormat;
    col.pszText = const_cast<LPWSTR>(lpszColumnHeading);
    if (nWidth != -1)
    {
        col.mask |= LVCF_WIDTH;
        col.cx = nWidth;
    }
    if (nSubItem != -1)
    {
        col.mask |= LVCF_SUBITEM;
        col.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &col);
}

CHeaderCtrl& CListCtrl::GetHeaderCtrl()
{
    HWND h = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    m_header.m_hWnd = h;   // a plain wrapper; the list owns the header window
    return m_header;
}

// --- CMFCListCtrl ----------------------------------------------------------

const CRuntimeClass* CMFCListCtrl::GetThisClass()
{
    return MakeRuntimeClass<CMFCListCtrl, CListCtrl, false>();
}

const AFX_MSGMAP* CMFCListCtrl::GetThisMessageMap()
{
    // The header is the list's child; its notifications come here, id 0.
    static const AFX_MSGMAP_ENTRY entries[] = {
        Notify<HDN_ITEMCLICKW, 0, &CMFCListCtrl::OnHeaderItemClick>(),
    };
    static const AFX_MSGMAP map{&CWnd::GetThisMessageMap, entries};
    return &map;
}

void CMFCListCtrl::OnHeaderItemClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    int column = reinterpret_cast<NMHEADERW*>(pNMHDR)->iItem;
    Sort(column, column == m_iSortedColumn ? !m_bAscending : TRUE);
    *pResult = 0;
}

int CALLBACK CMFCListCtrl::CompareProc(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    CMFCListCtrl* self = reinterpret_cast<CMFCListCtrl*>(lParamSort);
    int r = self->OnCompareItems(lParam1, lParam2, self->m_iSortedColumn);
    return self->m_bAscending ? r : -r;
}

void CMFCListCtrl::Sort(int iColumn, BOOL bAscending)
{
    m_iSortedColumn = iColumn;
    m_bAscending = bAscending;
    ShowSortArrow();
    SortItems(&CMFCListCtrl::CompareProc, reinterpret_cast<DWORD_PTR>(this));
}

int CMFCListCtrl::OnCompareItems(LPARAM, LPARAM, int)
{
    return 0;
}

void CMFCListCtrl::ShowSortArrow()
{
    CHeaderCtrl& header = GetHeaderCtrl();
    for (int i = 0, n = header.GetItemCount(); i < n; ++i)
    {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        header.GetItem(i, &item);
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == m_iSortedColumn) item.fmt |= m_bAscending ? HDF_SORTUP : HDF_SORTDOWN;
        header.SetItem(i, &item);
    }
}
