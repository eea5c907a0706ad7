// SPDX-License-Identifier: GPL-3.0-or-later
// Pair LD values from 2x2 counts, the pair operations of a mutation table, packed carriers
// with tiled pair counts, and the D' and r^2 caches.
#include "analysis/LinkageStats.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "common/PopcountClones.h"

PairLDValues PairLDFromCounts(int m, int nA, int nB, int nAB) {
  PairLDValues v;
  if (m < 1 || nA <= 0 || nA >= m || nB <= 0 || nB >= m) return v;
  const double pA = static_cast<double>(nA) / m, pB = static_cast<double>(nB) / m;
  const double pAB = static_cast<double>(nAB) / m;
  v.D = pAB - pA * pB;
  v.R = v.D / std::sqrt(pA * pB * (1 - pA) * (1 - pB));
  v.Dprime = DprimeFromCounts(m, nA, nB, nAB);
  v.chiSquare = ChiSquareFromCounts(m, nA, nB, nAB);
  v.ok = true;
  return v;
}

double DprimeFromCounts(int m, int nA, int nB, int nAB) {
  if (m < 1) return 0;
  const double pA = static_cast<double>(nA) / m, pB = static_cast<double>(nB) / m;
  const double D = static_cast<double>(nAB) / m - pA * pB;
  if (D > 0) {
    const double dmax = std::min(pA * (1 - pB), (1 - pA) * pB);
    return dmax == 0 ? 1.0 : D / dmax;
  }
  if (D < 0) {
    // The most negative D possible is -min(pA pB, (1 - pA)(1 - pB)); dividing by pA pB alone
    // lets |D'| stay below 1 for pairs in complete repulsion when pA + pB > 1.
    const double dmin = std::min(pA * pB, (1 - pA) * (1 - pB));
    return dmin == 0 ? -1.0 : D / dmin;
  }
  return 0;
}

double ChiSquareFromCounts(int m, int nA, int nB, int nAB) {
  if (m < 1 || nA < 1 || nA >= m || nB < 1 || nB >= m) return -1;
  const double pA = static_cast<double>(nA) / m, pB = static_cast<double>(nB) / m;
  const double observed[4] = {static_cast<double>(nAB), static_cast<double>(nB - nAB),
                              static_cast<double>(nA - nAB),
                              static_cast<double>(m - nA - nB + nAB)};
  const double expected[4] = {m * pA * pB, m * (1 - pA) * pB, m * (1 - pB) * pA,
                              m * (1 - pA) * (1 - pB)};
  double chi = 0;
  for (int c = 0; c < 4; ++c) {
    const double d = observed[c] - expected[c];
    chi += d * d / expected[c];
  }
  return chi;
}

double R2FromCounts(int m, int nA, int nB, int nAB) {
  if (m < 1) return 0;
  const double pA = static_cast<double>(nA) / m, pB = static_cast<double>(nB) / m;
  const double denom = pA * (1 - pA) * pB * (1 - pB);
  if (denom == 0) return 0;
  const double D = static_cast<double>(nAB) / m - pA * pB;
  return D * D / denom;
}

namespace {

struct PairCounts {
  int m = 0, nA = 0, nB = 0, nAB = 0;
};

PairCounts CountPair(const tmutholder& t, int i, int j, const samptype& mask) {
  PairCounts c;
  const int size = static_cast<int>(t.mutations.size());
  if (i < 0 || j < 0 || i >= size || j >= size) return c;
  const tmutation& a = t.mutations[static_cast<std::size_t>(i)];
  const tmutation& b = t.mutations[static_cast<std::size_t>(j)];
  if (a.Size() != mask.Size() || b.Size() != mask.Size()) return c;
  const std::uint64_t *wa = a.Words(), *wb = b.Words(), *wm = mask.Words();
  for (int w = 0; w < mask.WordCount(); ++w) {
    c.m += std::popcount(wm[w]);
    c.nA += std::popcount(wa[w] & wm[w]);
    c.nB += std::popcount(wb[w] & wm[w]);
    c.nAB += std::popcount(wa[w] & wb[w] & wm[w]);
  }
  return c;
}

}  // namespace

PairLDValues pairLD(const tmutholder& t, int i, int j, const samptype& mask) {
  const PairCounts c = CountPair(t, i, j, mask);
  return PairLDFromCounts(c.m, c.nA, c.nB, c.nAB);
}

double pairDprime(const tmutholder& t, int i, int j, const samptype& mask) {
  const PairCounts c = CountPair(t, i, j, mask);
  return DprimeFromCounts(c.m, c.nA, c.nB, c.nAB);
}

double pairChiSquare(const tmutholder& t, int i, int j, const samptype& mask) {
  const PairCounts c = CountPair(t, i, j, mask);
  return ChiSquareFromCounts(c.m, c.nA, c.nB, c.nAB);
}

double pairR2(const tmutholder& t, int i, int j, const samptype& mask) {
  const PairCounts c = CountPair(t, i, j, mask);
  return R2FromCounts(c.m, c.nA, c.nB, c.nAB);
}

bool sameCarriers(const tmutholder& t, int i, int j, const samptype& mask) {
  const int size = static_cast<int>(t.mutations.size());
  if (i < 0 || j < 0 || i >= size || j >= size) return false;
  const tmutation& a = t.mutations[static_cast<std::size_t>(i)];
  const tmutation& b = t.mutations[static_cast<std::size_t>(j)];
  if (a.Size() != mask.Size() || b.Size() != mask.Size()) return false;
  const std::uint64_t *wa = a.Words(), *wb = b.Words(), *wm = mask.Words();
  for (int w = 0; w < mask.WordCount(); ++w)
    if (((wa[w] ^ wb[w]) & wm[w]) != 0) return false;
  return true;
}

PackedCarriers::PackedCarriers(const tmutholder& t, const std::vector<int>& indices,
                               const samptype& mask) {
  stride_ = mask.WordCount();
  sampleSize_ = mask.Count();
  const auto stride = static_cast<std::size_t>(stride_);
  const std::uint64_t* keep = mask.Words();
  const int size = static_cast<int>(t.mutations.size());
  auto mutationAt = [&](int i) -> const tmutation* {
    if (i < 0 || i >= size) return nullptr;
    const tmutation& m = t.mutations[static_cast<std::size_t>(i)];
    return m.Size() == mask.Size() ? &m : nullptr;
  };
  auto insideMask = [&](const tmutation& m) {
    for (std::size_t w = 0; w < stride; ++w)
      if ((m.Words()[w] & ~keep[w]) != 0) return false;
    return true;
  };
  // Copies first, in one allocation, so the row pointers into it stay valid.
  std::size_t copies = 1;
  for (const int i : indices)
    if (const tmutation* m = mutationAt(i); m != nullptr && !insideMask(*m)) ++copies;
  words_.assign(copies * stride, 0);
  rows_.assign(indices.size(), words_.data());
  counts_.assign(indices.size(), 0);
  std::size_t next = 1;
  for (std::size_t k = 0; k < indices.size(); ++k) {
    const tmutation* m = mutationAt(indices[k]);
    if (m == nullptr) continue;
    if (insideMask(*m)) {
      rows_[k] = m->Words();
    } else {
      std::uint64_t* row = words_.data() + next++ * stride;
      for (std::size_t w = 0; w < stride; ++w) row[w] = m->Words()[w] & keep[w];
      rows_[k] = row;
    }
    int n = 0;
    for (std::size_t w = 0; w < stride; ++w) n += std::popcount(rows_[k][w]);
    counts_[k] = n;
  }
}

NODRIX_POPCOUNT_CLONES int PackedCarriers::Both(int k, int l) const {
  const std::uint64_t *a = Row(k), *b = Row(l);
  int n = 0;
  for (int w = 0; w < stride_; ++w) n += std::popcount(a[w] & b[w]);
  return n;
}

bool PackedCarriers::Same(int k, int l) const {
  return counts_[static_cast<std::size_t>(k)] == counts_[static_cast<std::size_t>(l)] &&
         std::equal(Row(k), Row(k) + stride_, Row(l));
}

NODRIX_POPCOUNT_CLONES void PackedCarriers::BothBlock(int k0, int k1, int l0, int l1,
                                                      std::vector<int>& out) const {
  const int cols = l1 - l0;
  out.assign(
      static_cast<std::size_t>(std::max(0, k1 - k0)) * static_cast<std::size_t>(std::max(0, cols)),
      0);
  if (k1 <= k0 || cols <= 0) return;
  // Rows in tiles of about 64 KB stay in cache while each column is read once per tile.
  const int tileRows = std::max(1, std::min(64, 8192 / std::max(1, stride_)));
  for (int kt = k0; kt < k1; kt += tileRows) {
    const int kEnd = std::min(k1, kt + tileRows);
    for (int l = l0; l < l1; ++l) {
      const std::uint64_t* b = Row(l);
      for (int k = kt; k < kEnd; ++k) {
        const std::uint64_t* a = Row(k);
        int n = 0;
        for (int w = 0; w < stride_; ++w) n += std::popcount(a[w] & b[w]);
        out[static_cast<std::size_t>(k - k0) * static_cast<std::size_t>(cols) +
            static_cast<std::size_t>(l - l0)] = n;
      }
    }
  }
}

void ForEachPairLD(const PackedCarriers& carriers, const std::vector<int>& reach,
                   const std::function<void(int, int, int, const PairLDValues&)>& fn,
                   const std::function<bool(int)>& onRow) {
  const int s = carriers.Size(), m = carriers.SampleSize();
  auto reachOf = [&](int k) { return reach.empty() ? s : reach[static_cast<std::size_t>(k)]; };
  constexpr int kBlock = 64;
  std::vector<int> both;
  for (int k0 = 0; k0 + 1 < s; k0 += kBlock) {
    const int k1 = std::min(s - 1, k0 + kBlock);
    const int l0 = k0 + 1;
    int l1 = l0;
    for (int k = k0; k < k1; ++k) l1 = std::max(l1, reachOf(k));
    carriers.BothBlock(k0, k1, l0, l1, both);
    const auto cols = static_cast<std::size_t>(l1 - l0);
    for (int k = k0; k < k1; ++k) {
      if (onRow && onRow(k)) return;
      const int nA = carriers.Count(k);
      const int* row = both.data() + static_cast<std::size_t>(k - k0) * cols;
      for (int l = k + 1; l < reachOf(k); ++l) {
        const int nAB = row[l - l0];
        fn(k, l, nAB, PairLDFromCounts(m, nA, carriers.Count(l), nAB));
      }
    }
  }
}

void DprimeCache::Put(int i, int j, double dprime) {
  if (i < 0 || j < 0) return;
  const int lo = std::min(i, j), hi = std::max(i, j);
  if (static_cast<std::size_t>(lo) >= rows_.size()) rows_.resize(static_cast<std::size_t>(lo) + 1);
  std::vector<Entry>& row = rows_[static_cast<std::size_t>(lo)];
  if (row.empty() || row.back().partner < hi) {
    row.push_back({hi, dprime});
    ++size_;
    return;
  }
  const auto it = std::lower_bound(row.begin(), row.end(), hi,
                                   [](const Entry& e, int p) { return e.partner < p; });
  if (it != row.end() && it->partner == hi) {
    it->dprime = dprime;
    return;
  }
  row.insert(it, {hi, dprime});
  ++size_;
}

bool DprimeCache::Find(int i, int j, double& dprime) const {
  const int lo = std::min(i, j), hi = std::max(i, j);
  if (lo < 0 || static_cast<std::size_t>(lo) >= rows_.size()) return false;
  const std::vector<Entry>& row = rows_[static_cast<std::size_t>(lo)];
  const auto it = std::lower_bound(row.begin(), row.end(), hi,
                                   [](const Entry& e, int p) { return e.partner < p; });
  if (it == row.end() || it->partner != hi) return false;
  dprime = it->dprime;
  return true;
}

void R2Band::Extend(int k, int upTo) {
  std::vector<double>& row = rows_[static_cast<std::size_t>(k)];
  const int have = k + 1 + static_cast<int>(row.size());
  if (upTo <= have) return;
  const int m = carriers_.SampleSize(), nA = carriers_.Count(k);
  row.reserve(static_cast<std::size_t>(upTo - k - 1));
  for (int l = have; l < upTo; ++l)
    row.push_back(R2FromCounts(m, nA, carriers_.Count(l), carriers_.Both(k, l)));
  computed_ += upTo - have;
}

double R2Band::WindowSum(int lo, int hi) {
  lo = std::max(lo, 0);
  hi = std::min(hi, carriers_.Size());
  double sum = 0;
  for (int k = lo; k + 1 < hi; ++k) {
    Extend(k, hi);
    const std::vector<double>& row = rows_[static_cast<std::size_t>(k)];
    for (int l = k + 1; l < hi; ++l) sum += row[static_cast<std::size_t>(l - k - 1)];
  }
  return sum;
}
