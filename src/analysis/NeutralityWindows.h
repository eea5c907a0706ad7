// SPDX-License-Identifier: GPL-3.0-or-later
// Sliding-window profiles of Tajima's D and Kelly's ZnS along a dataset (the windows of
// SlidingWindows), and their window-file lines.
#pragma once
#include <string>
#include <vector>

#include "analysis/DNApolDbox.h"
#include "analysis/MutHold.h"

struct NeutralityWindowPoint {
  int start = 0, end = 0;
  int x = 0;            // window midpoint, halves to even
  int segregating = 0;  // countSegregatingSites of the window
  double value = 0;     // the statistic; its error value when it cannot be computed
};

// Tajima's D of each window over the sample and the run's filters.
std::vector<NeutralityWindowPoint> TajimaDWindows(const tmutholder& t, const samptype& mask,
                                                  const std::vector<WindowSpan>& spans,
                                                  int siteFlags, int mutationFlags);
// Kelly's ZnS of each window; r^2 of a pair is computed once for all windows that hold it.
std::vector<NeutralityWindowPoint> ZnSWindows(const tmutholder& t, const samptype& mask,
                                              const std::vector<WindowSpan>& spans, int siteFlags,
                                              int mutationFlags);

// "name,start,end,SegrS=,S,TajimaD:,value" (or "ZnS:"); the value with 4 decimals, "NA" for
// the error value.
std::string NeutralityWindowLine(const std::string& dataset, const NeutralityWindowPoint& p,
                                 bool zns);
