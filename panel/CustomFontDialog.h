// CCustomFontDialog: the platform's font picker with the application's icon
// and a caption "<title> - <application>".
#pragma once
#include "framework/Framework.h"

class CCustomFontDialog : public CFontDialog
{
public:
    using CFontDialog::CFontDialog;

    DECLARE_RUNTIME_CLASS()
    DECLARE_MESSAGE_MAP()

    CString m_strTitle;   // first part of the caption

protected:
    BOOL OnInitDialog() override;
};
