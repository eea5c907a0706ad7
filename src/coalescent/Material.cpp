// SPDX-License-Identifier: GPL-3.0-or-later
// Merging and splitting runs of ancestral material.
#include "coalescent/Material.h"

#include <algorithm>
#include <cassert>
#include <climits>

void OrInto(samptype& into, const samptype& from) {
  assert(into.Size() == from.Size());
  std::uint64_t* w = into.Words();
  const std::uint64_t* f = from.Words();
  for (int i = 0; i < into.WordCount(); ++i) w[i] |= f[i];
}

const LineageSegment* UnfinishedRunAt(const Material& material, int site) {
  auto it = std::upper_bound(material.begin(), material.end(), site,
                             [](int s, const LineageSegment& seg) { return s < seg.firstSite; });
  if (it == material.begin()) return nullptr;
  --it;
  return (site <= it->lastSite && !it->finished) ? &*it : nullptr;
}

bool UnfinishedSpan(const Material& material, int& first, int& last) {
  first = last = -1;
  for (const LineageSegment& seg : material) {
    if (seg.finished) continue;
    if (first < 0) first = seg.firstSite;
    last = seg.lastSite;
  }
  return first >= 0;
}

namespace {

// Index of the next unfinished run at or after i.
std::size_t NextOpen(const Material& m, std::size_t i) {
  while (i < m.size() && m[i].finished) ++i;
  return i;
}

}  // namespace

Material MergeMaterial(const Material& p, const Material& a) {
  Material out;
  out.reserve(p.size() + a.size());
  std::size_t i = NextOpen(p, 0), j = NextOpen(a, 0);
  int s = INT_MIN;  // first site not yet placed
  for (;;) {
    while (i < p.size() && p[i].lastSite < s) i = NextOpen(p, i + 1);
    while (j < a.size() && a[j].lastSite < s) j = NextOpen(a, j + 1);
    if (i == p.size() && j == a.size()) break;
    const int pStart = i < p.size() ? std::max(p[i].firstSite, s) : INT_MAX;
    const int aStart = j < a.size() ? std::max(a[j].firstSite, s) : INT_MAX;
    const int start = std::min(pStart, aStart);
    const bool inP = pStart == start, inA = aStart == start;
    int end;
    if (inP && inA)
      end = std::min(p[i].lastSite, a[j].lastSite);
    else if (inP)
      end = std::min(p[i].lastSite, aStart - 1);
    else
      end = std::min(a[j].lastSite, pStart - 1);
    LineageSegment& run = out.emplace_back();
    run.firstSite = start;
    run.lastSite = end;
    run.carriers = inP ? p[i].carriers : a[j].carriers;
    if (inP && inA) OrInto(run.carriers, a[j].carriers);
    if (end == INT_MAX) break;
    s = end + 1;
  }
  return out;
}

void SplitMaterial(const Material& x, int b, Material& left, Material& right) {
  left.clear();
  right.clear();
  for (const LineageSegment& seg : x) {
    if (seg.finished) continue;
    if (seg.lastSite <= b) {
      left.push_back(seg);
    } else if (seg.firstSite > b) {
      right.push_back(seg);
    } else {
      LineageSegment& l = left.emplace_back(seg);
      l.lastSite = b;
      LineageSegment& r = right.emplace_back(seg);
      r.firstSite = b + 1;
    }
  }
}
