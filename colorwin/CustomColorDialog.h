// CCustomColorDialog: the platform's colour picker titled "<words> - <app>"
// and carrying the application icon. PickColor: one pick with it.
#pragma once
#include "framework/Framework.h"
#include "res/AppIcon.h"

class CCustomColorDialog : public CTitledPicker<CColorDialog>
{
public:
    using CTitledPicker::CTitledPicker;

    DECLARE_RUNTIME_CLASS()
    DECLARE_MESSAGE_MAP()
};

// Lets the user pick a colour, starting from color; TRUE (and color set) on OK.
BOOL PickColor(CWnd* owner, LPCWSTR title, COLORREF& color);
