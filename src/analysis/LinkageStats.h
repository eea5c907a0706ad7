// SPDX-License-Identifier: GPL-3.0-or-later
// Linkage disequilibrium of mutation pairs: D, D', R, r^2 and chi-square from 2x2 counts, the
// pair operations of a mutation table, and packed carrier sets for work on many pairs.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "analysis/MutHold.h"

struct PairLDValues {
  bool ok = false;  // false: all four values 0
  double D = 0, Dprime = 0, R = 0, chiSquare = 0;
};

// m sequences, nA and nB carriers of the two mutations, nAB carriers of both. A and B are the
// derived states. Nothing is computed unless 0 < nA < m and 0 < nB < m.
PairLDValues PairLDFromCounts(int m, int nA, int nB, int nAB);
// D' with the bounds of Lewontin (1964): D / min(pA (1 - pB), (1 - pA) pB) for D > 0 (1 when
// that is 0), D / min(pA pB, (1 - pA)(1 - pB)) for D < 0, 0 for D = 0 or m < 1.
double DprimeFromCounts(int m, int nA, int nB, int nAB);
// Pearson chi-square of the 2x2 table without continuity correction; -1 unless m >= 1,
// 1 <= nA < m and 1 <= nB < m.
double ChiSquareFromCounts(int m, int nA, int nB, int nAB);
// D^2 / (pA (1 - pA) pB (1 - pB)); 0 when the denominator is 0.
double R2FromCounts(int m, int nA, int nB, int nAB);

// Pair operations on mutations i and j (table indices) within the mask. A bad index or a mask
// that does not fit the table counts as an empty mask.
PairLDValues pairLD(const tmutholder& t, int i, int j, const samptype& mask);
double pairDprime(const tmutholder& t, int i, int j, const samptype& mask);  // 0 on failure
double pairChiSquare(const tmutholder& t, int i, int j, const samptype& mask);
double pairR2(const tmutholder& t, int i, int j, const samptype& mask);
bool sameCarriers(const tmutholder& t, int i, int j, const samptype& mask);

// Carrier sets of chosen mutations restricted to a mask, so pair counts are a run of
// AND-popcounts over each set's words. A set the mask leaves whole is read in place (the
// table's carriers usually lie inside its sample); only the others are copied, masked. The
// table must outlive the object and stay unchanged.
class PackedCarriers {
 public:
  // indices are table indices; a mask that does not fit the table gives empty sets.
  PackedCarriers(const tmutholder& t, const std::vector<int>& indices, const samptype& mask);
  [[nodiscard]] int Size() const { return static_cast<int>(counts_.size()); }
  [[nodiscard]] int SampleSize() const { return sampleSize_; }
  [[nodiscard]] int Count(int k) const { return counts_[static_cast<std::size_t>(k)]; }
  [[nodiscard]] int Both(int k, int l) const;
  // out[(k - k0) * (l1 - l0) + (l - l0)] = Both(k, l) for k0 <= k < k1, l0 <= l < l1, in tiles
  // that keep the rows in cache while the columns stream past.
  void BothBlock(int k0, int k1, int l0, int l1, std::vector<int>& out) const;
  // Whether the two sets are equal.
  [[nodiscard]] bool Same(int k, int l) const;

 private:
  const std::uint64_t* Row(int k) const { return rows_[static_cast<std::size_t>(k)]; }
  std::vector<const std::uint64_t*> rows_;
  std::vector<std::uint64_t> words_;  // masked copies, and one empty set
  std::vector<int> counts_;
  int stride_ = 0;
  int sampleSize_ = 0;
};

// Calls fn(k, l, nAB, values) for every packed pair k < l < reach[k] (all later l when reach
// is empty), rows in rising order and partners in rising order within a row; onRow (when set)
// is called with k before the pairs of every row but the last, and stops the walk by
// returning true (a cancelled run).
void ForEachPairLD(const PackedCarriers& carriers, const std::vector<int>& reach,
                   const std::function<void(int, int, int, const PairLDValues&)>& fn,
                   const std::function<bool(int)>& onRow = {});

// D' of mutation pairs computed in one dataset step, keyed by the two table indices (either
// order), so two mutations at one column never share an entry. Each first mutation keeps its
// partners sorted: the pairwise outputs add them in rising order, lookups bisect.
class DprimeCache {
 public:
  void Put(int i, int j, double dprime);
  [[nodiscard]] bool Find(int i, int j, double& dprime) const;
  [[nodiscard]] std::size_t Size() const { return size_; }
  void Clear() {
    rows_.clear();
    size_ = 0;
  }

 private:
  struct Entry {
    int partner;
    double dprime;
  };
  std::vector<std::vector<Entry>> rows_;
  std::size_t size_ = 0;
};

// r^2 of pairs of packed mutations k < l, computed once and kept per first mutation as a run
// over l = k + 1, k + 2, ...; overlapping windows over the same mutations reuse it.
class R2Band {
 public:
  explicit R2Band(const PackedCarriers& carriers) : carriers_(carriers), rows_(carriers.Size()) {}
  // Sum of r^2 over all pairs lo <= k < l < hi.
  double WindowSum(int lo, int hi);
  [[nodiscard]] long long Computed() const { return computed_; }

 private:
  void Extend(int k, int upTo);  // row k holds pairs up to l = upTo - 1
  const PackedCarriers& carriers_;
  std::vector<std::vector<double>> rows_;
  long long computed_ = 0;
};
