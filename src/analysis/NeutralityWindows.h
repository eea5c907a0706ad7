// SPDX-License-Identifier: GPL-3.0-or-later
// Sliding-window profiles of Tajima's D and Kelly's ZnS along a dataset, and their window-file
// lines.
#pragma once
#include <string>
#include <vector>

#include "analysis/MutHold.h"

struct WindowSpan {
  int start = 0, end = 0;  // alignment columns, inclusive
};

// With f..t the region: c = the smallest k >= 1 with f + size + step (k - 1) >= t, then
// c - 1 windows, the w-th starting at f + w step and ending size columns later. Empty when
// size < 1; a step below 1 counts as 1.
std::vector<WindowSpan> NeutralityWindowSpans(int regionFrom, int regionTo, int size, int step);

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
