// The application's icon (icon group 128), which every window of the program
// carries as its big and its small icon, and the caption of secondary dialogs.
//   CTitledPicker<TPicker>   a platform picker (colour, font) with that icon and caption
#pragma once
#include "framework/Framework.h"

HICON LoadAppIcon();
void SetAppIcon(CWnd& wnd);
// The icon, and the caption "<words> - <application name>".
void SetSecondaryCaption(CWnd& wnd, LPCWSTR words);

template <class TPicker> class CTitledPicker : public TPicker
{
public:
    using TPicker::TPicker;

    CString m_strTitle;   // words put in front of the application name

protected:
    BOOL OnInitDialog() override
    {
        TPicker::OnInitDialog();
        SetSecondaryCaption(*this, m_strTitle);
        return TRUE;
    }
};
