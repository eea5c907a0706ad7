// SPDX-License-Identifier: GPL-3.0-or-later
// Haplotypes by hashing carrier patterns, and pairwise distances between two sequences.
#include <array>
#include <bit>
#include <cmath>
#include <unordered_map>

#include "analysis/MutHold.h"

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
  for (const tmutation& m : mutations) {
    if (!PassesSiteFilter(m, siteFlags) || !PassesMutationFilter(m, mutationFlags)) continue;
    // The sequences whose state differs from j's are the carriers when j carries nothing, and
    // the others when it does.
    const std::uint64_t flip = m.Test(j) ? ~std::uint64_t{0} : 0;
    const std::uint64_t* w = m.Words();
    for (int k = 0; k < m.WordCount(); ++k) {
      std::uint64_t x = w[k] ^ flip;
      if (k == m.WordCount() - 1 && (n & 63) != 0) x &= (std::uint64_t{1} << (n & 63)) - 1;
      for (; x != 0; x &= x - 1) ++counts[static_cast<std::size_t>(k * 64 + std::countr_zero(x))];
    }
  }
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
    // The same arithmetic as pairwiseDistance, so the mean does not move by a rounding.
    const double p = diffs[static_cast<std::size_t>(r)] / L;
    const double q = 1.0 - 4.0 * p / 3.0;
    if (q <= 0) continue;
    sum += -0.75 * std::log(q);
    ++count;
  }
  return count > 0 ? sum / count : -1.0;
}

DistanceResult DistanceOfDifferences(int model, int transitions, int transversions, double L,
                                     int sampleSize, int segregatingSites) {
  DistanceResult r;
  if (L <= 0) return r;
  if (model == kJukesCantor) {
    const double p = (transitions + transversions) / L;
    const double q = 1.0 - 4.0 * p / 3.0;
    r.distance = q > 0 ? -0.75 * std::log(q) : -1;
    if (q != 0) r.variance = p * (1 - p) / (L * q * q);
  } else if (model == kKimura2P) {
    const double P = transitions / L, Q = transversions / L;
    const double d1 = 1 - 2 * P - Q, d2 = 1 - 2 * Q;
    // Past saturation the logarithms are undefined; the distance stays -1 then.
    if (d1 > 0 && d2 > 0) {
      const double a = 1 / d1, b = 1 / d2, c = (a + b) / 2;
      r.distance = std::log(a) / 2 + std::log(b) / 4;
      const double t = a * P + c * Q;
      r.variance = (a * a * P + c * c * Q - t * t) / L;
    }
  } else if (model == kDifferenceCount) {
    r.distance = transitions + transversions;
    // Variance of the number of differences under the neutral model (Tajima 1993), with theta
    // from the segregating sites of the table's sample.
    const int n = sampleSize;
    if (n >= 2) {
      const double theta = segregatingSites / tmutholder::a(n);
      const double v = theta * (n + 1) / (3.0 * (n - 1) * L) +
                       theta * theta * 2.0 * (n * n + n + 3) / (9.0 * n * (n - 1));
      if (v > -1) r.variance = std::sqrt(v);
    }
  }
  return r;
}

DistanceResult tmutholder::pairwiseDistance(int i, int j, int model, int siteFlags,
                                            int mutationFlags, int to, int from) const {
  const double L = sitesOfClass(siteFlags);
  if (mutations.empty() || i < 0 || j < 0 || i >= SequenceCount() || j >= SequenceCount() || L <= 0)
    return {};
  std::size_t first, last;
  Span(from, to, first, last);
  int transitions = 0, transversions = 0;
  for (std::size_t k = first; k < last; ++k) {
    const tmutation& m = mutations[k];
    if (m.Test(i) == m.Test(j)) continue;
    if (!PassesSiteFilter(m, siteFlags) || !PassesMutationFilter(m, mutationFlags)) continue;
    if (m.isTransition)
      ++transitions;
    else
      ++transversions;
  }
  const int n = sampleMask.Count();
  const int segregating =
      model == kDifferenceCount && n >= 2
          ? countSegregatingSites(from, to, sampleMask, siteFlags, mutationFlags)
          : 0;
  return DistanceOfDifferences(model, transitions, transversions, L, n, segregating);
}
