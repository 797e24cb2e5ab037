// CCustomColorDialog: the platform's colour picker titled "<words> - <app>"
// and carrying the application icon. PickColor: one pick with it.
#pragma once
#include "framework/Framework.h"

class CCustomColorDialog : public CColorDialog
{
public:
    using CColorDialog::CColorDialog;

    DECLARE_RUNTIME_CLASS()
    DECLARE_MESSAGE_MAP()

    CString m_strTitle;   // words put in front of the application name

protected:
    BOOL OnInitDialog() override;
};

// Lets the user pick a colour, starting from color; TRUE (and color set) on OK.
BOOL PickColor(CWnd* owner, LPCWSTR title, COLORREF& color);
