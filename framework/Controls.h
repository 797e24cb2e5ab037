// Common-control wrappers: one SendMessage per method, nothing held but the
// handle. CMFCListCtrl adds header-click sorting with the sort arrow.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include "framework/Window.h"

class CHeaderCtrl : public CWnd
{
public:
    int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
    BOOL GetItem(int nPos, HDITEMW* pItem) const
    {
        return static_cast<BOOL>(SendMessage(HDM_GETITEMW, nPos, (LPARAM)pItem));
    }
    BOOL SetItem(int nPos, HDITEMW* pItem) { return static_cast<BOOL>(SendMessage(HDM_SETITEMW, nPos, (LPARAM)pItem)); }
};

class CListCtrl : public CWnd
{
public:
    static const CRuntimeClass* GetThisClass();

    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    int InsertItem(const LVITEMW* pItem) { return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, (LPARAM)pItem)); }
    int InsertItem(int nItem, LPCWSTR lpszItem);
    BOOL SetItem(const LVITEMW* pItem) { return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, (LPARAM)pItem)); }
    BOOL SetItemText(int nItem, int nSubItem, LPCWSTR lpszText);
    CString GetItemText(int nItem, int nSubItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    DWORD_PTR GetItemData(int nItem) const;
    BOOL GetCheck(int nItem) const;
    BOOL SetCheck(int nItem, BOOL fCheck = TRUE);
    int InsertColumn(int nCol, LPCWSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    int InsertColumn(int nCol, const LVCOLUMNW* pColumn)
    {
        return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, nCol, (LPARAM)pColumn));
    }
    int GetColumnWidth(int nCol) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, nCol)); }
    BOOL SetColumnWidth(int nCol, int cx) { return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, nCol, cx)); }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    DWORD SetExtendedStyle(DWORD dwNewStyle)
    {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwNewStyle));
    }
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData)
    {
        return static_cast<BOOL>(SendMessage(LVM_SORTITEMS, dwData, (LPARAM)pfnCompare));
    }
    // The list's header, wrapped once and kept: callers may hold the pointer.
    virtual CHeaderCtrl& GetHeaderCtrl();

private:
    CHeaderCtrl m_header;
};

// Report list that sorts by a header click: the first click on a column sorts
// ascending, each further click on the same column reverses the order.
class CMFCListCtrl : public CListCtrl
{
public:
    static const CRuntimeClass* GetThisClass();

    virtual void Sort(int iColumn, BOOL bAscending = TRUE);
    // Orders two rows by their item data; negative when the first comes first.
    virtual int OnCompareItems(LPARAM lParam1, LPARAM lParam2, int iColumn);

    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }

protected:
    void OnHeaderItemClick(NMHDR* pNMHDR, LRESULT* pResult);

private:
    static int CALLBACK CompareProc(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
    void ShowSortArrow();
    int m_iSortedColumn = -1;
    BOOL m_bAscending = TRUE;
};

class CComboBox : public CWnd
{
public:
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int nSelect) { return static_cast<int>(SendMessage(CB_SETCURSEL, nSelect)); }
    int AddString(LPCWSTR lpszString) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, (LPARAM)lpszString)); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    DWORD_PTR GetItemData(int nIndex) const { return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, nIndex)); }
    int SetItemData(int nIndex, DWORD_PTR dwItemData)
    {
        return static_cast<int>(SendMessage(CB_SETITEMDATA, nIndex, dwItemData));
    }
};

class CSliderCtrl : public CWnd
{
public:
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE)
    {
        SendMessage(TBM_SETRANGEMIN, FALSE, nMin);
        SendMessage(TBM_SETRANGEMAX, bRedraw, nMax);
    }
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    void SetPos(int nPos) { SendMessage(TBM_SETPOS, TRUE, nPos); }
};
