// CCustomMFCListCtrl: the monitor list. Rows are ordered by the monitors
// themselves (through the handle in each row's item data), not by cell text.
#pragma once
#include "framework/Framework.h"

class CCustomMFCListCtrl : public CMFCListCtrl
{
public:
    DECLARE_RUNTIME_CLASS()

    int OnCompareItems(LPARAM lParam1, LPARAM lParam2, int iColumn) override;

    // No entries: every message is the framework list's.
    DECLARE_MESSAGE_MAP()
};

// The friendly name the last enumeration recorded for a monitor handle.
CString LookUpFriendlyName(LPARAM handle);
