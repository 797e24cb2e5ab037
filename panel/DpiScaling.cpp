// The control panel drawn for the DPI of the monitor it is on. The framework scales the controls, their
// font and the layout; what the panel holds in pixels itself follows here.
#include "display/MonitorDpi.h"
#include "panel/UmbrafenDlg.h"
#include "settings/AppSettings.h"

void CUmbrafenDlg::OnDpiScaled(UINT oldDpi)
{
    // Never smaller than as created, at this DPI.
    const SIZE created = GetCreatedSize();
    m_rcInitial.right = m_rcInitial.left + created.cx;
    m_rcInitial.bottom = m_rcInitial.top + created.cy;

    // Through their 96-DPI values, so that widths and a font nobody changed come back exactly.
    const int columns = m_list.GetHeaderCtrl().GetItemCount();
    for (int i = 0; i < columns && i < ListColumnCount; ++i)
    {
        const int width96 = StoredAt96(AppSettings.ColumnWidths[i], m_list.GetColumnWidth(i), oldDpi);
        m_list.SetColumnWidth(i, ScaledFrom96(width96, GetDpi()));
    }
    if (!m_listFont.m_hObject) return;   // the list has the dialog's font, which is scaled with it
    LOGFONTW lf{};
    ::GetObjectW(m_listFont.m_hObject, sizeof(lf), &lf);
    lf.lfHeight = StoredAt96(AppSettings.ListFont.lfHeight, lf.lfHeight, oldDpi);
    SetListFont(lf);
}
