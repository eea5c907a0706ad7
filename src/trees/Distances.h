// SPDX-License-Identifier: GPL-3.0-or-later
// Evolutionary distances between aligned sequences, with their variances, and the matrix of
// all pairwise distances of a list of sequences.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct IProgress;

// The numbers are the model codes of the neighbour-joining dialog.
enum class DistanceModel { JukesCantor = 0, Kimura2P = 1, Differences = 5 };

// Sites compared between two sequences and the differences among them.
struct SiteCounts {
  long long transitions = 0;  // A<->G, C<->T
  long long transversions = 0;
  long long sites = 0;  // L: sites where both hold one of A, C, G, T (U)
  [[nodiscard]] long long Differences() const { return transitions + transversions; }
};

// A distance and its variance; both -1 when the distance is undefined (no comparable site,
// or differences beyond what the model can correct: saturation).
struct PairDistance {
  double d = -1;
  double variance = -1;
  [[nodiscard]] bool Defined() const { return d >= 0; }
};

// Compares two aligned sequences letter by letter; gaps, N and ambiguity letters at either
// position leave the site out (pairwise deletion). Positions past the shorter one count as
// missing.
SiteCounts CountSites(std::string_view a, std::string_view b);

// All n x n distances, row-major; entry (i, i) is 0.
struct DistanceMatrix {
  int n = 0;
  std::vector<double> d;
  std::vector<double> variance;
  [[nodiscard]] double At(int i, int j) const { return d[static_cast<std::size_t>(i) * n + j]; }
  [[nodiscard]] double VarAt(int i, int j) const {
    return variance[static_cast<std::size_t>(i) * n + j];
  }
  void Set(int i, int j, PairDistance p);  // both (i, j) and (j, i)
  [[nodiscard]] static DistanceMatrix Zero(int n);
};

// The letters of a sequence packed as bit planes, 64 sites a word, so one pair costs a few
// word operations per 64 sites instead of a comparison per letter.
class PackedSeq {
 public:
  explicit PackedSeq(std::string_view letters);
  [[nodiscard]] static SiteCounts Compare(const PackedSeq& a, const PackedSeq& b);

 private:
  std::vector<std::uint64_t> valid, purine, second;
  long long length = 0;
  bool complete = true;  // every site valid
};

// Distances of every pair of seqs, by the formulas of DistanceOfDifferences over the sites both
// hold a base at; the number of differences has no variance here (-1): that needs a sample,
// which the analyses take from the mutation table. When given, progress steps (processing events)
// once per 64 rows, so the caller starts it with seqs.size() / 64 steps; a cancel leaves the matrix
// partly filled and returns false.
bool ComputeDistances(const std::vector<std::string>& seqs, DistanceModel model,
                      DistanceMatrix& out, IProgress* progress = nullptr);
