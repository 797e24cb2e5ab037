#include "display/Topology.h"
#include <vector>
#include "display/DisplayApi.h"

std::span<const TopologyEntry> TopologyEntries()
{
    static constexpr TopologyEntry entries[] = {
        {L"Duplicate", SDC_TOPOLOGY_CLONE},
        {L"Extend", SDC_TOPOLOGY_EXTEND},
        {L"PC screen only", SDC_TOPOLOGY_INTERNAL},
        {L"Second screen only", SDC_TOPOLOGY_EXTERNAL},
        {L"Forced", 0xFFFFFFFF},
    };
    return entries;
}

BOOL GetCurrentTopology(UINT32* topologyId)
{
    UINT32 pathCount = 0, modeCount = 0;
    if (!topologyId ||
        Display().GetDisplayConfigBufferSizes(QDC_DATABASE_CURRENT, &pathCount, &modeCount) != ERROR_SUCCESS)
        return FALSE;
    std::vector<DISPLAYCONFIG_PATH_INFO> paths(pathCount);
    std::vector<DISPLAYCONFIG_MODE_INFO> modes(modeCount);
    return Display().QueryDisplayConfig(QDC_DATABASE_CURRENT, &pathCount, paths.data(), &modeCount, modes.data(),
                                        reinterpret_cast<DISPLAYCONFIG_TOPOLOGY_ID*>(topologyId)) == ERROR_SUCCESS;
}

void ApplyTopology(UINT32 id)
{
    if (Display().SetDisplayConfig(0, nullptr, 0, nullptr, id | SDC_VALIDATE) == ERROR_SUCCESS)
        Display().SetDisplayConfig(0, nullptr, 0, nullptr, id | SDC_APPLY);
}
