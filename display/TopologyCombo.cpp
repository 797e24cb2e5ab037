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
    {L"Duplicate", 0x00000002},
    {L"Extend", 0x00000004},
    {L"PC screen only", 0x00000001},
    {L"Second screen only", 0x00000008},
    {L"Forced", 0xFFFFFFFF},
};
constexpr UINT32 QdcDatabaseCurrent = 0x00000004;
constexpr UINT32 SdcValidate = 0x00000040;
constexpr UINT32 SdcApply = 0x00000080;
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
    if (!topologyId || Display().GetDisplayConfigBufferSizes(QdcDatabaseCurrent, &pathCount, &modeCount) != ERROR_SUCCESS)
        return FALSE;
    auto* paths = new (std::nothrow) DISPLAYCONFIG_PATH_INFO[pathCount]();
    auto* modes = new (std::nothrow) DISPLAYCONFIG_MODE_INFO[modeCount]();
    BOOL ok = FALSE;
    if (paths && modes)
        ok = Display().QueryDisplayConfig(QdcDatabaseCurrent, &pathCount, paths, &modeCount, modes,
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
    if (Display().SetDisplayConfig(0, nullptr, 0, nullptr, flags | SdcValidate) == ERROR_SUCCESS)
        Display().SetDisplayConfig(0, nullptr, 0, nullptr, flags | SdcApply);
    SyncTopologyCombo();
}
