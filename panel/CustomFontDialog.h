// CCustomFontDialog: the platform's font picker with the application's icon
// and a caption "<title> - <application>".
#pragma once
#include "framework/Framework.h"

class CCustomFontDialog : public CFontDialog
{
public:
    using CFontDialog::CFontDialog;

    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }
    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }

    CString m_strTitle;   // first part of the caption

protected:
    BOOL OnInitDialog() override;
};
