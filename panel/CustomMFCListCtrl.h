// CCustomMFCListCtrl: the monitor list. Rows are ordered by the monitors
// themselves (through the handle in each row's item data), not by cell text.
#pragma once
#include "framework/Framework.h"

class CCustomMFCListCtrl : public CMFCListCtrl
{
public:
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    int OnCompareItems(LPARAM lParam1, LPARAM lParam2, int iColumn) override;

    // No entries: every message is the framework list's.
    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }
};

// The friendly name the last enumeration recorded for a monitor handle.
CString LookUpFriendlyName(LPARAM handle);
