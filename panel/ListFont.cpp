// The monitor list's font: one step larger or smaller (menu, Ctrl+wheel) and a
// free choice through the font picker. Every applied change is remembered.
#include "panel/CustomFontDialog.h"
#include "panel/UmbrafenDlg.h"
#include "settings/AppSettings.h"

namespace {
LOGFONTW CurrentListFont(const CWnd& list)
{
    LOGFONTW lf{};
    ::GetObjectW(list.GetFont(), sizeof(lf), &lf);
    return lf;
}
}   // namespace

void CUmbrafenDlg::SetListFont(const LOGFONTW& lf)
{
    // Attach refuses an occupied object, so the old font goes first.
    m_listFont.DeleteObject();
    m_listFont.Attach(::CreateFontIndirectW(&lf));
    m_list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_listFont.m_hObject), TRUE);
}

void CUmbrafenDlg::StepListFont(bool increment)
{
    LOGFONTW lf = CurrentListFont(m_list);
    // Heights are negative: a larger font has the lower height.
    const LONG height = increment ? lf.lfHeight - 5 : lf.lfHeight + 5;
    if (static_cast<UINT32>(height + 150) > 129) return;   // outside -150..-21
    lf.lfHeight = height;
    AppSettings.ListFont = lf;
    SetListFont(lf);
    MarkSettingsChanged();
}

void CUmbrafenDlg::OnIncrementListFont()
{
    StepListFont(true);
}

void CUmbrafenDlg::OnDecrementListFont()
{
    StepListFont(false);
}

BOOL CUmbrafenDlg::OnMouseWheel(UINT nFlags, short zDelta, CPoint)
{
    // One step per message, however far the wheel turned.
    if (nFlags & MK_CONTROL) StepListFont(zDelta > 0);
    return static_cast<BOOL>(Default());
}

void CUmbrafenDlg::OnChangeFont()
{
    LOGFONTW lf = CurrentListFont(m_list);
    CCustomFontDialog dlg(&lf, CF_SCREENFONTS | CF_EFFECTS, nullptr, nullptr);
    dlg.m_strTitle = L"Select Font";
    if (dlg.DoModal() != IDOK) return;
    // A chosen size is taken as it is; only the steps are bounded.
    SetListFont(lf);
    AppSettings.ListFont = lf;
    MarkSettingsChanged();
}
