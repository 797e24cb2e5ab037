#include "colorwin/CustomColorDialog.h"

IMPLEMENT_RUNTIME_CLASS(CCustomColorDialog, CColorDialog, false)

BEGIN_MESSAGE_MAP(CCustomColorDialog, CColorDialog)
END_MESSAGE_MAP()

BOOL PickColor(CWnd* owner, LPCWSTR title, COLORREF& color)
{
    CCustomColorDialog dlg(color, CC_FULLOPEN, owner);
    dlg.m_strTitle = title;
    if (dlg.DoModal() != IDOK) return FALSE;
    color = dlg.GetColor();
    return TRUE;
}
