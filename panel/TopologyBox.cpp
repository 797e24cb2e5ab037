// The control panel's display topology box: shows the topology in force and
// asks for a whole topology when the user picks one.
#include "display/Topology.h"
#include "panel/UmbrafenDlg.h"

void CUmbrafenDlg::FillTopologyCombo()
{
    m_combo.ResetContent();
    for (const TopologyEntry& e : TopologyEntries())
    {
        int index = m_combo.AddString(e.text);
        m_combo.SetItemData(index, e.id);
    }
}

void CUmbrafenDlg::SyncTopologyCombo()
{
    UINT32 id = 0;
    BOOL ok = GetCurrentTopology(&id);
    if (ok)
    {
        for (int i = 0; i < m_combo.GetCount(); ++i)
        {
            if (static_cast<UINT32>(m_combo.GetItemData(i)) == id)
            {
                m_combo.SetCurSel(i);
                break;
            }
        }
    }
    m_combo.EnableWindow(ok);
}

void CUmbrafenDlg::OnTopologySelChange()
{
    int sel = m_combo.GetCurSel();
    if (sel < 0) return;
    ApplyTopology(static_cast<UINT32>(m_combo.GetItemData(sel)));
    SyncTopologyCombo();
}
