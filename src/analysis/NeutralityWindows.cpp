// SPDX-License-Identifier: GPL-3.0-or-later
// Window spans, the Tajima's D and ZnS profiles, and the window-file lines.
#include "analysis/NeutralityWindows.h"

#include <algorithm>

#include "analysis/LinkageStats.h"
#include "analysis/Neutrality.h"
#include "common/NumberFormat.h"

namespace {

NeutralityWindowPoint PointOf(const tmutholder& t, const samptype& mask, const WindowSpan& s,
                              int siteFlags, int mutationFlags) {
  NeutralityWindowPoint p;
  p.start = s.start;
  p.end = s.end;
  p.x = RoundHalfEvenInt(s.start + (s.end - s.start) / 2.0);
  p.segregating = t.countSegregatingSites(s.start, s.end, mask, siteFlags, mutationFlags);
  return p;
}

}  // namespace

std::vector<NeutralityWindowPoint> TajimaDWindows(const tmutholder& t, const samptype& mask,
                                                  const std::vector<WindowSpan>& spans,
                                                  int siteFlags, int mutationFlags) {
  std::vector<NeutralityWindowPoint> points;
  points.reserve(spans.size());
  for (const WindowSpan& s : spans) {
    NeutralityWindowPoint p = PointOf(t, mask, s, siteFlags, mutationFlags);
    p.value = tajimaD(t, s.start, s.end, mask, siteFlags, mutationFlags);
    points.push_back(p);
  }
  return points;
}

std::vector<NeutralityWindowPoint> ZnSWindows(const tmutholder& t, const samptype& mask,
                                              const std::vector<WindowSpan>& spans, int siteFlags,
                                              int mutationFlags) {
  std::vector<NeutralityWindowPoint> points;
  points.reserve(spans.size());
  const std::vector<int> seg = SegregatingInSpan(t, 0, 0, mask);
  std::vector<int> positions;
  positions.reserve(seg.size());
  for (int i : seg) positions.push_back(t.mutations[static_cast<std::size_t>(i)].position);
  const PackedCarriers carriers(t, seg, mask);
  R2Band band(carriers);
  for (const WindowSpan& s : spans) {
    NeutralityWindowPoint p = PointOf(t, mask, s, siteFlags, mutationFlags);
    const int lo = static_cast<int>(std::lower_bound(positions.begin(), positions.end(), s.start) -
                                    positions.begin());
    const int hi = static_cast<int>(std::upper_bound(positions.begin(), positions.end(), s.end) -
                                    positions.begin());
    const int k = hi - lo;
    p.value =
        k >= 2 ? 2.0 * band.WindowSum(lo, hi) / (static_cast<double>(k) * (k - 1)) : kZnSError;
    points.push_back(p);
  }
  return points;
}

std::string NeutralityWindowLine(const std::string& dataset, const NeutralityWindowPoint& p,
                                 bool zns) {
  std::string line = dataset + "," + std::to_string(p.start) + "," + std::to_string(p.end) +
                     ",SegrS=," + std::to_string(p.segregating) + ",";
  const bool error = zns ? p.value == kZnSError : p.value <= kNeutralityError;
  line += zns ? "ZnS:," : "TajimaD:,";
  line += error ? "NA" : FormatFixed(p.value, 4);
  return line;
}
