// The monitor list's font: one step larger or smaller (menu, Ctrl+wheel) and a
// free choice through the font picker. Every applied change is remembered.
// Heights are remembered, stepped and bounded at 96 DPI and scaled to the panel's DPI.
#include "display/MonitorDpi.h"
#include "panel/CustomFontDialog.h"
#include "panel/UmbrafenDlg.h"
#include "settings/AppSettings.h"

LOGFONTW CUmbrafenDlg::ListFontAt96()
{
    LOGFONTW lf{};
    ::GetObjectW(m_list.GetFont(), sizeof(lf), &lf);
    lf.lfHeight = StoredAt96(AppSettings.ListFont.lfHeight, lf.lfHeight, GetDpi());
    return lf;
}

void CUmbrafenDlg::SetListFont(const LOGFONTW& lf)
{
    LOGFONTW scaled = lf;
    scaled.lfHeight = ScaledFrom96(lf.lfHeight, GetDpi());
    // Attach refuses an occupied object, so the old font goes first.
    m_listFont.DeleteObject();
    m_listFont.Attach(::CreateFontIndirectW(&scaled));
    m_list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_listFont.m_hObject), TRUE);
}

void CUmbrafenDlg::StepListFont(bool increment)
{
    LOGFONTW lf = ListFontAt96();
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
    LOGFONTW lf = ListFontAt96();
    const LONG height96 = lf.lfHeight;
    // The picker shows points at the system's DPI, whichever monitor the panel is on; its choice is taken in points.
    const UINT systemDpi = GetSystemDpi();
    lf.lfHeight = ScaledFrom96(height96, systemDpi);
    CCustomFontDialog dlg(&lf, CF_SCREENFONTS | CF_EFFECTS, nullptr, nullptr);
    dlg.m_strTitle = L"Select Font";
    if (dlg.DoModal() != IDOK) return;
    lf.lfHeight = StoredAt96(height96, -::MulDiv(dlg.GetSize(), static_cast<int>(systemDpi), 720), systemDpi);
    // A chosen size is taken as it is; only the steps are bounded.
    SetListFont(lf);
    AppSettings.ListFont = lf;
    MarkSettingsChanged();
}
