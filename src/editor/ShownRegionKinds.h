// SPDX-License-Identifier: GPL-3.0-or-later
// The choice of region kinds drawn in the grid and in the trace view, without a window.
#pragma once
#include <string>
#include <vector>

#include "editor/GridPaintRules.h"
#include "model/DataProjUnit.h"

// The entries a page lists: every entry of the display list from its second on (the first,
// "Sequence", is always drawn), by the kind's display name.
std::vector<std::string> ShownKindNames(const std::vector<RegionDisplayEntry>& display);
std::vector<bool> ShownKindTicks(const std::vector<RegionDisplayEntry>& display);

// Writes the ticks of both pages back entry by entry. When either list then shows "Indel or
// gap", the gap regions of every sequence of the project are marked anew. Returns the number
// of sequences whose gap regions changed.
int ApplyShownKinds(TDataProj& project, std::vector<RegionDisplayEntry>& grid,
                    const std::vector<bool>& gridTicks, std::vector<RegionDisplayEntry>& trace,
                    const std::vector<bool>& traceTicks);
