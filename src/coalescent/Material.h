// SPDX-License-Identifier: GPL-3.0-or-later
// Ancestral material of a lineage: runs of sites, each with the samples that descend from the
// lineage there. A lineage's runs are in site order and never overlap.
#pragma once
#include <vector>

#include "analysis/SampType.h"

struct LineageSegment {
  samptype carriers;  // one bit per sample sequence
  int firstSite = 0;  // sites 0..L-1, both ends inclusive
  int lastSite = 0;
  bool finished = false;  // carriers are every sample or none: the run's ancestry is complete
};

using Material = std::vector<LineageSegment>;

// into |= from; both of one size.
void OrInto(samptype& into, const samptype& from);

// The unfinished run covering the site, nullptr when none.
const LineageSegment* UnfinishedRunAt(const Material& material, int site);

// First and last site of the unfinished runs; false when there are none.
bool UnfinishedSpan(const Material& material, int& first, int& last);

// The material of the parent of two lineages: the unfinished runs of p and a merged run by
// run. A new run starts wherever the pair of runs covering a site changes (or after a gap), so
// the result equals a site-by-site merge while costing only the number of runs. Finished runs
// are left out: their ancestry is complete and no other lineage carries those samples there.
Material MergeMaterial(const Material& p, const Material& a);

// A break between sites b and b + 1: the unfinished runs up to b go to left, those from b + 1
// on to right, a run across the break is cut in two.
void SplitMaterial(const Material& x, int b, Material& left, Material& right);
