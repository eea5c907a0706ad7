// SPDX-License-Identifier: GPL-3.0-or-later
// The site filter without its dialog: copies of datasets that keep only the alignment columns
// of chosen site classes within a region, gathered into a new project.
#pragma once
#include <memory>
#include <string>
#include <vector>

class TDataProj;
class TDataSeq;
struct Services;

// The controls of "Filter sites" with their defaults.
struct FilterSitesOptions {
  bool onlyRegion = false;  // rbOnlyReg, else rbFullLength
  int regFrom = 1, regTo = 1;
  bool noncoding = true;       // cbSilent
  bool codonPositions = true;  // cbNonSilent chosen, else cbDegenerate
  bool pos1 = true, pos2 = true, pos3 = true;
  bool deg1 = false, deg2 = false, deg3 = false, deg4 = false;
  bool removeIndels = true;     // rbRemoveIndels (indelMode 0), else rbInclIndels (1)
  bool removeAmbiguous = true;  // cbRemoveAmbig (ambiguityMode 1), else cbIgnoreAmbig (0)
};

// The scan's site flags the options stand for (all sites when nothing is chosen).
int FilterSiteFlags(const FilterSitesOptions& o);
// The caption of the window the copies are shown in.
std::string FilterSitesLabel(const FilterSitesOptions& o);

// A copy of ds (same name) keeping the columns of from..to that the site scan, in simple mode
// with the given classes, analyses in the first table; empty (no rows) when the scan made no
// table. A row that starts after column 1 has its shift lowered by the removed columns before
// its first letter, so the copies stay aligned. The source's tables are dropped afterwards.
std::unique_ptr<TDataSeq> FilteredCopy(TDataSeq& ds, int from, int to, const TDataProj* project,
                                       const std::vector<int>& groupIds,
                                       bool includeOutgroupsInSample, int siteFlags,
                                       int ambiguityMode, int indelMode);

struct FilterSitesResult {
  std::unique_ptr<TDataProj> project;  // nullptr when no dataset was produced
  std::string caption;                 // FilterSitesLabel
  bool cancelled = false;
};

// The filtered copies of every dataset selected for analysis, unselected, in a new project
// with copies of the groups and individuals. The progress shows "Processing output...".
FilterSitesResult RunFilterSites(TDataProj& project, const FilterSitesOptions& o,
                                 Services& services);
