// The control panel's display topology box: shows the topology in force and
// asks the platform for a whole topology when the user picks one.
#include <new>
#include "display/DisplayApi.h"
#include "panel/UmbrafenDlg.h"

namespace {
struct TopologyEntry
{
    LPCWSTR text;
    UINT32 id;   // topology id, and the flag SetDisplayConfig takes for it
};
constexpr TopologyEntry TopologyEntries[] = {
    {L"Duplicate", SDC_TOPOLOGY_CLONE},
    {L"Extend", SDC_TOPOLOGY_EXTEND},
    {L"PC screen only", SDC_TOPOLOGY_INTERNAL},
    {L"Second screen only", SDC_TOPOLOGY_EXTERNAL},
    {L"Forced", 0xFFFFFFFF},
};
}

void CUmbrafenDlg::FillTopologyCombo()
{
    m_combo.ResetContent();
    for (const TopologyEntry& e : TopologyEntries)
    {
        int index = m_combo.AddString(e.text);
        m_combo.SetItemData(index, e.id);
    }
}

BOOL CUmbrafenDlg::GetCurrentTopology(UINT32* topologyId)
{
    UINT32 pathCount = 0, modeCount = 0;
    if (!topologyId || Display().GetDisplayConfigBufferSizes(QDC_DATABASE_CURRENT, &pathCount, &modeCount) != ERROR_SUCCESS)
        return FALSE;
    auto* paths = new (std::nothrow) DISPLAYCONFIG_PATH_INFO[pathCount]();
    auto* modes = new (std::nothrow) DISPLAYCONFIG_MODE_INFO[modeCount]();
    BOOL ok = FALSE;
    if (paths && modes)
        ok = Display().QueryDisplayConfig(QDC_DATABASE_CURRENT, &pathCount, paths, &modeCount, modes,
                                          reinterpret_cast<DISPLAYCONFIG_TOPOLOGY_ID*>(topologyId)) == ERROR_SUCCESS;
    delete[] paths;
    delete[] modes;
    return ok;
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
    UINT32 flags = static_cast<UINT32>(m_combo.GetItemData(sel));
    if (Display().SetDisplayConfig(0, nullptr, 0, nullptr, flags | SDC_VALIDATE) == ERROR_SUCCESS)
        Display().SetDisplayConfig(0, nullptr, 0, nullptr, flags | SDC_APPLY);
    SyncTopologyCombo();
}
