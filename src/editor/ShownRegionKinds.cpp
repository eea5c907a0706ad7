// SPDX-License-Identifier: GPL-3.0-or-later
// Region kinds shown: listing, writing back and the gap regions that follow.
#include "editor/ShownRegionKinds.h"

#include <algorithm>
#include <utility>

namespace {

void WriteTicks(std::vector<RegionDisplayEntry>& display, const std::vector<bool>& ticks) {
  const std::size_t n = std::min(ticks.size() + 1, display.size());
  for (std::size_t i = 1; i < n; ++i) display[i].shown = ticks[i - 1];
}

bool ShowsGaps(const std::vector<RegionDisplayEntry>& display) {
  return std::any_of(display.begin(), display.end(),
                     [](const RegionDisplayEntry& e) { return e.kind == kRegIndel && e.shown; });
}

// The gap regions of a sequence by their bounds: ids and order change with every marking.
std::vector<std::pair<int, int>> GapBounds(const TSeq& s) {
  std::vector<std::pair<int, int>> bounds;
  for (const TRegion& r : s.regions)
    if (r.regType == kRegIndel) bounds.emplace_back(r.regStart, r.regEnd);
  std::sort(bounds.begin(), bounds.end());
  return bounds;
}

}  // namespace

std::vector<std::string> ShownKindNames(const std::vector<RegionDisplayEntry>& display) {
  std::vector<std::string> names;
  for (std::size_t i = 1; i < display.size(); ++i)
    names.emplace_back(RegionKindName(display[i].kind));
  return names;
}

std::vector<bool> ShownKindTicks(const std::vector<RegionDisplayEntry>& display) {
  std::vector<bool> ticks;
  for (std::size_t i = 1; i < display.size(); ++i) ticks.push_back(display[i].shown);
  return ticks;
}

int ApplyShownKinds(TDataProj& project, std::vector<RegionDisplayEntry>& grid,
                    const std::vector<bool>& gridTicks, std::vector<RegionDisplayEntry>& trace,
                    const std::vector<bool>& traceTicks) {
  WriteTicks(grid, gridTicks);
  WriteTicks(trace, traceTicks);
  if (!ShowsGaps(grid) && !ShowsGaps(trace)) return 0;
  std::vector<std::vector<std::pair<int, int>>> before;
  for (int d = 0; d < project.DatasetCount(); ++d) {
    const TDataSeq& ds = *project.DatasetAt(d);
    for (int r = 1; r <= ds.Count(); ++r) before.push_back(GapBounds(*ds.SeqAt(r)));
  }
  project.MarkGapRegions(-1, -1);
  int changed = 0;
  std::size_t next = 0;
  for (int d = 0; d < project.DatasetCount(); ++d) {
    TDataSeq& ds = *project.DatasetAt(d);
    int changedHere = 0;
    for (int r = 1; r <= ds.Count(); ++r) changedHere += GapBounds(*ds.SeqAt(r)) != before[next++];
    if (changedHere > 0) ds.InvalidateMutHolders();
    changed += changedHere;
  }
  return changed;
}
