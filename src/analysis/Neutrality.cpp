// SPDX-License-Identifier: GPL-3.0-or-later
// Tajima's D, Fu and Li's tests with and without an outgroup, Wall's B and Q and Kelly's ZnS.
#include "analysis/Neutrality.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "analysis/LinkageStats.h"

double FuLiC(int n) {
  if (n < 3) return 1.0;
  const double nd = n;
  return 2.0 * (nd * tmutholder::a(n) - 2.0 * (nd - 1)) / ((nd - 1) * (nd - 2));
}

double FuLiD(int n) {
  const double nd = n;
  return FuLiC(n) + (nd - 2) / ((nd - 1) * (nd - 1)) +
         2.0 / (nd - 1) * (1.5 - (2.0 * tmutholder::a(n + 1) - 3.0) / (nd - 2) - 1.0 / nd);
}

namespace {

bool Usable(const tmutholder& t, const samptype& mask, int minimum) {
  return !t.mutations.empty() && mask.Size() == t.SequenceCount() && mask.Count() >= minimum;
}

// A statistic over sqrt(radicand); a radicand that is not positive (NaN included) gives the
// error value rather than a division by zero or the root of a negative number.
double Ratio(double numerator, double radicand) {
  if (!(radicand > 0) || !std::isfinite(radicand)) return kNeutralityError;
  const double v = numerator / std::sqrt(radicand);
  return std::isfinite(v) ? v : kNeutralityError;
}

bool InSpan(const tmutation& m, int from, int to) {
  return (from == 0 && to == 0) || (m.position >= from && m.position <= to);
}

int CountOrientedSingletons(const tmutholder& t, int from, int to, const samptype& mask,
                            int siteFlags, int mutationFlags, bool excluded) {
  if (t.mutations.empty() || mask.Size() != t.SequenceCount()) return 0;
  int n = 0;
  for (const tmutation& m : t.mutations) {
    if (!InSpan(m, from, to) || !m.isSingleton || m.isExcluded != excluded) continue;
    if (!PassesSiteFilter(m, siteFlags) || !PassesMutationFilter(m, mutationFlags)) continue;
    if (tmutholder::isSegregatingIn(m, mask)) ++n;
  }
  return n;
}

}  // namespace

double tajimaD(const tmutholder& t, int from, int to, const samptype& mask, int siteFlags,
               int mutationFlags) {
  if (!Usable(t, mask, 2)) return kNeutralityError;
  const int n = mask.Count();
  const double nd = n, a1 = tmutholder::a(n), a2 = tmutholder::b(n);
  const double b1 = (nd + 1) / (3 * (nd - 1));
  const double b2 = 2 * (nd * nd + nd + 3) / (9 * nd * (nd - 1));
  const double c1 = b1 - 1 / a1;
  const double c2 = b2 - (nd + 2) / (a1 * nd) + a2 / (a1 * a1);
  const double e1 = c1 / a1, e2 = c2 / (a1 * a1 + a2);
  const double S = t.countSegregatingSites(from, to, mask, siteFlags, mutationFlags);
  const double pi = t.meanPairwiseDifferences(mask, from, to, siteFlags, mutationFlags);
  const double V = e1 * S + e2 * S * (S - 1);
  if (!(V >= 1e-7) || std::sqrt(V) == 0) return kNeutralityError;
  const double D = (pi - S / a1) / std::sqrt(V);
  if (!(D >= -20 && D <= 20)) return kNeutralityError;
  return D;
}

double fuLiDstar(const tmutholder& t, int from, int to, const samptype& mask, int siteFlags,
                 int mutationFlags) {
  if (!Usable(t, mask, 3)) return kNeutralityError;
  const int n = mask.Count();
  const double nd = n, a = tmutholder::a(n), b = tmutholder::b(n), r = nd / (nd - 1);
  const double v =
      (r * r * b + a * a * FuLiD(n) - 2 * nd * a * (a + 1) / ((nd - 1) * (nd - 1))) / (a * a + b);
  const double u = r * (a - r) - v;
  const double eta = t.countMutations(from, to, mask, siteFlags, mutationFlags);
  const double etaS = t.countSingletons(from, to, mask, siteFlags, mutationFlags);
  return Ratio(r * eta - a * etaS, u * eta + v * eta * eta);
}

double fuLiFstar(const tmutholder& t, int from, int to, const samptype& mask, int siteFlags,
                 int mutationFlags) {
  if (!Usable(t, mask, 3)) return kNeutralityError;
  const int n = mask.Count();
  const double nd = n, a = tmutholder::a(n), b = tmutholder::b(n);
  const double an1 = tmutholder::a(n + 1);
  // Simonsen, Churchill and Aquadro (1995), correcting the variance of Fu and Li (1993).
  const double v = ((2 * nd * nd * nd + 110 * nd * nd - 255 * nd + 153) / (9 * nd * nd * (nd - 1)) +
                    2 * (nd - 1) * a / (nd * nd) - 8 * b / nd) /
                   (a * a + b);
  const double u =
      ((4 * nd * nd + 19 * nd + 3 - 12 * (nd + 1) * an1) / (3 * nd * (nd - 1))) / a - v;
  const double eta = t.countMutations(from, to, mask, siteFlags, mutationFlags);
  const double etaS = t.countSingletons(from, to, mask, siteFlags, mutationFlags);
  const double pi = t.meanPairwiseDifferences(mask, from, to, siteFlags, mutationFlags);
  return Ratio(pi - (nd - 1) / nd * etaS, u * eta + v * eta * eta);
}

int countExternal(const tmutholder& t, int from, int to, const samptype& mask, int siteFlags,
                  int mutationFlags) {
  return CountOrientedSingletons(t, from, to, mask, siteFlags, mutationFlags, false);
}

int countAmbiguousOutgroup(const tmutholder& t, int from, int to, const samptype& mask,
                           int siteFlags, int mutationFlags) {
  return CountOrientedSingletons(t, from, to, mask, siteFlags, mutationFlags, true);
}

namespace {

// eta and eta_e over the mutations the outgroup orients; the others are counted apart. A
// mutation the outgroup cannot orient would count in eta but could never count in eta_e (its
// singletons are not known to be external), which would bias D and F upwards.
FuLiOutgroupResult OutgroupCounts(const tmutholder& t, int from, int to, const samptype& mask,
                                  int siteFlags, int mutationFlags) {
  FuLiOutgroupResult r;
  std::size_t first = 0, last = 0;
  t.Span(from, to, first, last);
  for (std::size_t i = first; i < last; ++i) {
    const tmutation& m = t.mutations[i];
    if (m.isFixed) continue;
    if (!PassesSiteFilter(m, siteFlags) || !PassesMutationFilter(m, mutationFlags)) continue;
    if (!tmutholder::isSegregatingIn(m, mask)) continue;
    if (m.isExcluded || m.outgroupIndex < 0) {
      ++r.ambiguousOutgroup;
      continue;
    }
    ++r.mutations;
    if (m.isSingleton) ++r.external;
  }
  return r;
}

}  // namespace

FuLiOutgroupResult fuLiDoutgroup(const tmutholder& t, int from, int to, const samptype& mask,
                                 int siteFlags, int mutationFlags) {
  if (!Usable(t, mask, 3)) return {};
  FuLiOutgroupResult r = OutgroupCounts(t, from, to, mask, siteFlags, mutationFlags);
  const int n = mask.Count();
  const double nd = n, a = tmutholder::a(n), b = tmutholder::b(n);
  const double v = 1 + a * a / (a * a + b) * (FuLiC(n) - (nd + 1) / (nd - 1));
  const double u = a - 1 - v;
  const double eta = r.mutations, etaE = r.external;
  r.value = Ratio(eta - a * etaE, u * eta + v * eta * eta);
  return r;
}

FuLiOutgroupResult fuLiFoutgroup(const tmutholder& t, int from, int to, const samptype& mask,
                                 int siteFlags, int mutationFlags) {
  if (!Usable(t, mask, 3)) return {};
  FuLiOutgroupResult r = OutgroupCounts(t, from, to, mask, siteFlags, mutationFlags);
  const int n = mask.Count();
  const double nd = n, a = tmutholder::a(n), b = tmutholder::b(n);
  const double an1 = tmutholder::a(n + 1);
  const double v =
      (FuLiC(n) + 2 * (nd * nd + nd + 3) / (9 * nd * (nd - 1)) - 2 / (nd - 1)) / (a * a + b);
  const double u = (1 + (nd + 1) / (3 * (nd - 1)) -
                    4 * (nd + 1) / ((nd - 1) * (nd - 1)) * (an1 - 2 * nd / (nd + 1))) /
                       a -
                   v;
  const double eta = r.mutations, etaE = r.external;
  const double pi = t.meanPairwiseDifferences(mask, from, to, siteFlags, mutationFlags);
  r.value = Ratio(pi - etaE, u * eta + v * eta * eta);
  return r;
}

std::vector<int> SegregatingInSpan(const tmutholder& t, int from, int to, const samptype& mask,
                                   const std::vector<int>* subset) {
  std::vector<int> out;
  if (t.mutations.empty() || mask.Size() != t.SequenceCount()) return out;
  auto take = [&](int i) {
    const tmutation& m = t.mutations[static_cast<std::size_t>(i)];
    if (InSpan(m, from, to) && tmutholder::isSegregatingIn(m, mask)) out.push_back(i);
  };
  const int size = static_cast<int>(t.mutations.size());
  if (subset) {
    for (int i : *subset)
      if (i >= 0 && i < size) take(i);
    return out;
  }
  int first = 0, last = size;
  if (from != 0 || to != 0) {
    const auto lo = std::lower_bound(t.mutations.begin(), t.mutations.end(), from,
                                     [](const tmutation& m, int p) { return m.position < p; });
    const auto hi = std::upper_bound(t.mutations.begin(), t.mutations.end(), to,
                                     [](int p, const tmutation& m) { return p < m.position; });
    first = static_cast<int>(lo - t.mutations.begin());
    last = std::max(first, static_cast<int>(hi - t.mutations.begin()));
  }
  for (int i = first; i < last; ++i) take(i);
  return out;
}

WallResult wallBQ(const tmutholder& t, int from, int to, const samptype& mask,
                  const std::vector<int>* subset) {
  WallResult r;
  if (t.mutations.size() < 2 || mask.Size() != t.SequenceCount()) return r;
  const std::vector<int> seg = SegregatingInSpan(t, from, to, mask, subset);
  const int s = static_cast<int>(seg.size());
  const PackedCarriers carriers(t, seg, mask);
  int congruent = 0;
  std::set<std::vector<std::uint64_t>> partitions;  // carrier sets within the sample
  bool previousCongruent = false;
  for (int k = 0; k + 1 < s; ++k) {
    const bool same = carriers.Same(k, k + 1);
    if (same) {
      ++congruent;
      if (!previousCongruent) {
        const tmutation& m =
            t.mutations[static_cast<std::size_t>(seg[static_cast<std::size_t>(k)])];
        std::vector<std::uint64_t> set(m.Words(), m.Words() + mask.WordCount());
        for (int w = 0; w < mask.WordCount(); ++w)
          set[static_cast<std::size_t>(w)] &= mask.Words()[w];
        partitions.insert(std::move(set));
      }
    }
    previousCongruent = same;
  }
  if (s >= 2) r.B = static_cast<double>(congruent) / (s - 1);
  if (s >= 1) r.Q = static_cast<double>(congruent + static_cast<int>(partitions.size())) / s;
  return r;
}

double kellyZnS(const tmutholder& t, int from, int to, const samptype& mask,
                const std::vector<int>* subset) {
  const std::vector<int> seg = SegregatingInSpan(t, from, to, mask, subset);
  const int s = static_cast<int>(seg.size());
  if (s < 2) return kZnSError;
  const PackedCarriers carriers(t, seg, mask);
  const int m = carriers.SampleSize();
  // Rows in blocks, so the pair counts run through the tiled kernel.
  constexpr int kBlock = 256;
  std::vector<int> both;
  double sum = 0;
  for (int k0 = 0; k0 < s; k0 += kBlock) {
    const int k1 = std::min(s, k0 + kBlock);
    carriers.BothBlock(k0, k1, k0, s, both);
    const int cols = s - k0;
    for (int k = k0; k < k1; ++k)
      for (int l = k + 1; l < s; ++l)
        sum += R2FromCounts(m, carriers.Count(k), carriers.Count(l),
                            both[static_cast<std::size_t>(k - k0) * static_cast<std::size_t>(cols) +
                                 static_cast<std::size_t>(l - k0)]);
  }
  return 2.0 * sum / (static_cast<double>(s) * (s - 1));
}
