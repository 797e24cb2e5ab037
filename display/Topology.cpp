#include "display/Topology.h"
#include <new>
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

void ApplyTopology(UINT32 id)
{
    if (Display().SetDisplayConfig(0, nullptr, 0, nullptr, id | SDC_VALIDATE) == ERROR_SUCCESS)
        Display().SetDisplayConfig(0, nullptr, 0, nullptr, id | SDC_APPLY);
}
