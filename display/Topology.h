// Display topology: the four whole-desktop arrangements the platform can switch between.
//   TopologyEntries     the choices in the order the panel lists them, with their ids
//   GetCurrentTopology  the topology in force
//   ApplyTopology       asks for a topology, validated first
#pragma once
#include <windows.h>
#include <span>

struct TopologyEntry
{
    LPCWSTR text;
    UINT32 id;   // topology id, and the flag SetDisplayConfig takes for it
};

std::span<const TopologyEntry> TopologyEntries();
BOOL GetCurrentTopology(UINT32* topologyId);
void ApplyTopology(UINT32 id);
