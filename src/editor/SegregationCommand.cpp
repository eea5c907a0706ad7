// SPDX-License-Identifier: GPL-3.0-or-later
// The segregation analysis command: preparation of the cross, then the core analysis.
#include "editor/SegregationCommand.h"

#include "editor/IndividualsCommands.h"
#include "model/DataProjUnit.h"

void PrepareCross(TDataProj& project) {
  if (project.GroupCount() < 2) {
    for (const char* name : kCrossMembers) {
      TGroup g;
      g.grpName = name;
      (void)project.AddGroup(g);
    }
  }
  if (project.IndividCount() > 0) return;
  TIndivid outgroup;
  outgroup.indName = kCrossOutgroupIndivid;
  outgroup.indGroup = kOutgroupKey;
  (void)project.AddIndivid(outgroup);
  for (const char* name : kCrossMembers) {
    TIndivid ind;
    ind.indName = name;
    ind.indGroup = project.GroupKeyByName(name);
    (void)project.AddIndivid(ind);
  }
  (void)AutolinkNames(project);
}

std::optional<SegregationOutput> RunSegregation(TDataProj& project,
                                                const std::array<const TDataProj*, 4>& contigs,
                                                PlatformRandom& rng, Services& services) {
  PrepareCross(project);
  const CrossGroups groups = FindCrossGroups(project);
  if (!groups.Complete()) return std::nullopt;
  CleanCrossDatasets(project, services);
  return AnalyseCross(project, groups, contigs, rng, services);
}
