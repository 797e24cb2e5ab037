// CCustomColorDialog: the platform's colour picker titled "<words> - <app>"
// and carrying the application icon.
#pragma once
#include "framework/Framework.h"

class CCustomColorDialog : public CColorDialog
{
public:
    using CColorDialog::CColorDialog;

    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }
    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }

    CString m_strTitle;   // words put in front of the application name

protected:
    BOOL OnInitDialog() override;
};
