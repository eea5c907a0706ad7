// SPDX-License-Identifier: GPL-3.0-or-later
// Haplotypes by hashing carrier patterns, and pairwise distances between two sequences.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <unordered_map>

#include "analysis/MutHold.h"
#include "analysis/PolymEstimators.h"
#include "analysis/SiteStates.h"

namespace {

// Transposes a 64 x 64 bit matrix in place: bit c of row r moves to bit r of row c.
void Transpose64(std::array<std::uint64_t, 64>& a) {
  std::uint64_t m = 0x00000000FFFFFFFFull;
  for (int j = 32; j != 0; j >>= 1, m ^= (m << j)) {
    for (int k = 0; k < 64; k = ((k | j) + 1) & ~j) {
      const std::uint64_t t = ((a[k] >> j) ^ a[k | j]) & m;
      a[k] ^= t << j;
      a[k | j] ^= t;
    }
  }
}

std::uint64_t Mix(std::uint64_t x) {
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdull;
  x ^= x >> 33;
  x *= 0xc4ceb9fe1a85ec53ull;
  x ^= x >> 33;
  return x;
}

struct PairHash {
  std::size_t operator()(const std::pair<std::uint64_t, std::uint64_t>& p) const {
    return static_cast<std::size_t>(p.first ^ (p.second * 0x9e3779b97f4a7c15ull));
  }
};

}  // namespace

// Two sequences share a haplotype exactly when their carrier states agree at every counted
// mutation, so the first-earlier-match rule is an equivalence and a hash of each sequence's
// state pattern finds it without comparing pairs. The pattern is hashed 64 mutations at a time
// from 64 x 64 bit blocks; two independent 64-bit hashes make a false merge practically
// impossible (about n^2 / 2^128).
int tmutholder::countHaplotypes(const samptype& mask, int from, int to, int siteFlags,
                                int mutationFlags, std::vector<int>* haplotypeOf) const {
  const int n = mask.Size();
  if (haplotypeOf != nullptr) haplotypeOf->assign(static_cast<std::size_t>(n), -1);
  std::vector<const tmutation*> counted;
  if (!mutations.empty() && n == SequenceCount()) {
    std::size_t first, last;
    Span(from, to, first, last);
    for (std::size_t i = first; i < last; ++i) {
      const tmutation& m = mutations[i];
      if (PassesSiteFilter(m, siteFlags) && PassesMutationFilter(m, mutationFlags))
        counted.push_back(&m);
    }
  }
  std::vector<std::uint64_t> h1(static_cast<std::size_t>(n), 0x243f6a8885a308d3ull);
  std::vector<std::uint64_t> h2(static_cast<std::size_t>(n), 0x13198a2e03707344ull);
  const int words = mask.WordCount();
  std::array<std::uint64_t, 64> block{};
  for (std::size_t m0 = 0; m0 < counted.size(); m0 += 64) {
    const std::size_t mCount = std::min<std::size_t>(64, counted.size() - m0);
    const std::uint64_t salt = Mix(m0 + 1);
    for (int w = 0; w < words; ++w) {
      if (mask.Words()[w] == 0) continue;
      for (std::size_t r = 0; r < 64; ++r) block[r] = r < mCount ? counted[m0 + r]->Words()[w] : 0;
      Transpose64(block);
      const int base = w * 64;
      for (int r = 0; r < 64 && base + r < n; ++r) {
        const std::size_t s = static_cast<std::size_t>(base + r);
        h1[s] = Mix(h1[s] ^ block[static_cast<std::size_t>(r)] ^ salt);
        h2[s] = Mix(h2[s] + block[static_cast<std::size_t>(r)] * 0x9e3779b97f4a7c15ull + salt);
      }
    }
  }
  std::unordered_map<std::pair<std::uint64_t, std::uint64_t>, int, PairHash> index;
  int count = 0;
  for (int s = 0; s < n; ++s) {
    if (!mask.Test(s)) continue;
    auto [it, added] = index.try_emplace(
        {h1[static_cast<std::size_t>(s)], h2[static_cast<std::size_t>(s)]}, count);
    if (added) ++count;
    if (haplotypeOf != nullptr) (*haplotypeOf)[static_cast<std::size_t>(s)] = it->second;
  }
  return count == 0 ? 1 : count;
}

std::vector<int> tmutholder::differencesFrom(int j, int siteFlags, int mutationFlags) const {
  const int n = SequenceCount();
  if (j < 0 || j >= n) return {};
  std::vector<int> counts(static_cast<std::size_t>(n), 0);
  const int words = (n + 63) / 64;
  std::vector<std::uint64_t> differ(static_cast<std::size_t>(words));
  ForEachSite(*this, 0, 0, siteFlags, mutationFlags, [&](SiteRecords site) {
    // A sequence differs from j at the site when some mutation of it holds one and not the
    // other: the carriers of a mutation j lacks, the others of one it carries.
    std::fill(differ.begin(), differ.end(), 0);
    for (const tmutation* m : site) {
      const std::uint64_t flip = m->Test(j) ? ~std::uint64_t{0} : 0;
      for (int k = 0; k < words && k < m->WordCount(); ++k)
        differ[static_cast<std::size_t>(k)] |= m->Words()[k] ^ flip;
    }
    for (int k = 0; k < words; ++k) {
      std::uint64_t x = differ[static_cast<std::size_t>(k)];
      if (k == words - 1 && (n & 63) != 0) x &= (std::uint64_t{1} << (n & 63)) - 1;
      for (; x != 0; x &= x - 1) ++counts[static_cast<std::size_t>(k * 64 + std::countr_zero(x))];
    }
  });
  return counts;
}

double tmutholder::meanJukesCantorFrom(int j, int siteFlags) const {
  const double L = sitesOfClass(siteFlags);
  if (mutations.empty() || L <= 0) return -1;
  const std::vector<int> diffs = differencesFrom(j, siteFlags, kMutAll);
  if (diffs.empty()) return -1;
  double sum = 0;
  int count = 0;
  for (int r = 0; r < static_cast<int>(diffs.size()); ++r) {
    if (r == j || !sampleMask.Test(r)) continue;
    const DistanceResult d =
        DistanceOfDifferences(kJukesCantor, 0, diffs[static_cast<std::size_t>(r)], L);
    if (d.distance < 0) continue;
    sum += d.distance;
    ++count;
  }
  return count > 0 ? sum / count : -1.0;
}

DistanceResult DistanceOfDifferences(int model, int transitions, int transversions, double L) {
  DistanceResult r;
  if (L <= 0) return r;
  // The arguments of the logarithms from whole counts, so that a pair exactly at saturation is
  // undefined rather than a huge distance from a rounding left over.
  if (model == kJukesCantor) {
    const double k = transitions + transversions;
    const double p = k / L;
    const double q = (3 * L - 4 * k) / (3 * L);
    if (q > 0) {
      r.distance = -0.75 * std::log(q);
      r.variance = p * (1 - p) / (L * q * q);
    }
  } else if (model == kKimura2P) {
    const double P = transitions / L, Q = transversions / L;
    const double d1 = (L - 2.0 * transitions - transversions) / L;
    const double d2 = (L - 2.0 * transversions) / L;
    if (d1 > 0 && d2 > 0) {
      const double a = 1 / d1, b = 1 / d2, c = (a + b) / 2;
      r.distance = std::log(a) / 2 + std::log(b) / 4;
      const double t = a * P + c * Q;
      r.variance = (a * a * P + c * c * Q - t * t) / L;
    }
  } else if (model == kDifferenceCount) {
    r.distance = transitions + transversions;
  }
  // -0.0 from ln(1) would print as a sign the distance does not have.
  if (r.distance == 0) r.distance = 0;
  return r;
}

DistanceResult tmutholder::pairwiseDistance(int i, int j, int model, int siteFlags,
                                            int mutationFlags, int to, int from) const {
  const double L = sitesOfClass(siteFlags);
  if (mutations.empty() || i < 0 || j < 0 || i >= SequenceCount() || j >= SequenceCount() || L <= 0)
    return {};
  int transitions = 0, transversions = 0;
  ForEachSite(*this, from, to, siteFlags, mutationFlags, [&](SiteRecords site) {
    if (!DifferAt(site, i, j)) return;
    if (IsTransitionPair(LetterAt(site, i), LetterAt(site, j)))
      ++transitions;
    else
      ++transversions;
  });
  DistanceResult r = DistanceOfDifferences(model, transitions, transversions, L);
  if (model == kDifferenceCount) {
    const double v = nucleotideDiversityVar(*this, from, to, sampleMask, siteFlags, mutationFlags);
    if (v > -1) r.variance = std::sqrt(std::max(v, 0.0));
  }
  return r;
}
