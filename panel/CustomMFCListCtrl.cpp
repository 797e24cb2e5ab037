#include "panel/CustomMFCListCtrl.h"
#include "display/DisplayApi.h"
#include "display/MonitorEnum.h"

IMPLEMENT_RUNTIME_CLASS(CCustomMFCListCtrl, CMFCListCtrl, false)

BEGIN_MESSAGE_MAP(CCustomMFCListCtrl, CMFCListCtrl)
END_MESSAGE_MAP()

CString LookUpFriendlyName(LPARAM handle)
{
    CString text;
    text.Format(L"%llu", static_cast<ULONGLONG>(handle));
    for (INT_PTR i = 0; i < MonitorHandleTexts.GetSize(); ++i)
        if (MonitorHandleTexts[i].CompareNoCase(text) == 0)
            return i < MonitorFriendlyNames.GetSize() ? MonitorFriendlyNames[i] : CString();
    return CString();
}

int CCustomMFCListCtrl::OnCompareItems(LPARAM lParam1, LPARAM lParam2, int iColumn)
{
    if (iColumn == 0) return LookUpFriendlyName(lParam1).Compare(LookUpFriendlyName(lParam2));

    MONITORINFOEXW mi1{}, mi2{};
    mi1.cbSize = mi2.cbSize = sizeof(MONITORINFOEXW);
    if (!Display().GetMonitorInfoW(reinterpret_cast<HMONITOR>(lParam1), &mi1) ||
        !Display().GetMonitorInfoW(reinterpret_cast<HMONITOR>(lParam2), &mi2) || iColumn >= 6)
        return 0;
    const RECT& rc1 = mi1.rcMonitor;
    const RECT& rc2 = mi2.rcMonitor;
    switch (iColumn)
    {
    case 1: return rc1.left - rc2.left;
    case 2: return rc1.top - rc2.top;
    case 3: return (rc1.right - rc1.left) - (rc2.right - rc2.left);
    case 4: return (rc1.bottom - rc1.top) - (rc2.bottom - rc2.top);
    default:
    {
        CString name1, name2;
        name1.Format(L"%s", mi1.szDevice);
        name2.Format(L"%s", mi2.szDevice);
        return name1.Compare(name2);
    }
    }
}
