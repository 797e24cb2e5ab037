#include "panel/CustomFontDialog.h"
#include "res/AppIcon.h"
#include "res/resource.h"

IMPLEMENT_RUNTIME_CLASS(CCustomFontDialog, CFontDialog, false)

BEGIN_MESSAGE_MAP(CCustomFontDialog, CFontDialog)
END_MESSAGE_MAP()

BOOL CCustomFontDialog::OnInitDialog()
{
    CFontDialog::OnInitDialog();

    SetSecondaryCaption(*this, m_strTitle);
    return TRUE;
}
