// SPDX-License-Identifier: GPL-3.0-or-later
// Differentiation between groups of one mutation table: Hudson's Fst and Kst*, Jost's Hst,
// Nei's Dxy and Da, shared/fixed/exclusive sites, the exchange of sequences between groups for
// the permutation test, and bootstrap copies of a table.
//
// Every operation takes the span from..to (0, 0: the whole table), both filters and a list of
// group masks over the table's sequences. A sequence that lies in several masks counts for the
// first of them only, so the groups are always disjoint.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "analysis/MutHold.h"

class PlatformRandom;
struct IProgress;

// -1 marks a value that cannot be computed.
struct SubdivisionValues {
  double fst = -1, kst = -1, hst = -1;
  bool ok = false;  // all three computable
};

struct DivergenceSums {
  double dxy = -1, da = -1;  // sums over all pairs of groups
};

struct SharedFixedCounts {
  int shared = 0, fixed = 0, exclusiveX = 0, exclusiveY = 0;
};

// L: analysed columns of the table within the span.
int AnalysedColumns(const tmutholder& t, int from, int to);

// Dxy (Nei 1987) and Da (Nei and Li 1979) summed over the pairs of groups; -1 when
// the table has no mutations, a mask is empty or does not fit, or L is 0.
DivergenceSums divergenceDxyDa(const tmutholder& t, int from, int to, int siteFlags,
                               int mutationFlags, const std::vector<samptype>& masks);

// Fst (Hudson, Slatkin and Maddison 1992), Hst (Jost 2008, eq. 9) and, when withKst, Kst*
// (Hudson, Boos and Kaplan 1992).
SubdivisionValues subdivisionFst(const tmutholder& t, int from, int to, int siteFlags,
                                 int mutationFlags, const std::vector<samptype>& masks,
                                 bool withKst = true);

SharedFixedCounts sharedFixedSites(const tmutholder& t, int from, int to, int siteFlags,
                                   int mutationFlags, const samptype& x, const samptype& y);

// Nm = (1 / Fst - 1) / 4 (Hudson, Slatkin and Maddison 1992, eq. 4); -1 unless Fst > 0.
double GeneFlowNm(double fst);

// 5 x sequences x groups attempts to swap a random sequence of one random group with one of
// another; group sizes are kept. False (masks unchanged) unless all masks have one positive
// length and there are at least two.
bool PermuteGroups(std::vector<samptype>& masks, PlatformRandom& rng);
// The same exchange on group labels (group index per sequence, -1 outside every group); the
// same draws give the same result as PermuteGroups on the equivalent masks.
void PermuteLabels(std::vector<int>& labels, int groups, PlatformRandom& rng);

// Group label of every sequence of the table (first mask holding it), -1 for none.
std::vector<int> LabelsOf(const std::vector<samptype>& masks, int sequences);

// A table drawn from the source's columns with replacement: as many draws as columns; a drawn
// analysed column contributes the first mutation of the source at it.
std::unique_ptr<tmutholder> BootstrapTable(const tmutholder& source, PlatformRandom& rng);

// All statistics of one grouping, as the permutation test needs them.
struct SubdivisionStats {
  SubdivisionValues values;
  DivergenceSums sums;
};

// The pairwise differences (and log10(1 + d)) among the sequences of the groups, computed once
// from bit-packed per-sequence mutation rows. Any regrouping of the same sequences is then
// evaluated by summing entries, without going back to the mutations. When the sequences hold
// at most half as many haplotypes as sequences, the differences are kept per pair of
// haplotypes and a regrouping is evaluated from the counts of each haplotype in each group.
class SubdivisionMatrix {
 public:
  // With progress, the pair counting reports and stops at a cancel (the matrix is then not
  // usable).
  SubdivisionMatrix(const tmutholder& t, int from, int to, int siteFlags, int mutationFlags,
                    const std::vector<samptype>& masks, bool withLogs,
                    IProgress* progress = nullptr);
  // False when the inputs make every statistic not computable, or a difference count is too
  // large for the packed form (callers then fall back to the table operations).
  [[nodiscard]] bool Usable() const { return usable_; }
  // labels: one per table sequence, as LabelsOf gives; the sequences with a label must be the
  // ones of the masks the matrix was built from.
  [[nodiscard]] SubdivisionStats Evaluate(const std::vector<int>& labels) const;

 private:
  [[nodiscard]] std::size_t RowStart(int u) const;
  [[nodiscard]] SubdivisionStats EvaluateHaplotypes(const std::vector<int>& labels) const;
  std::vector<int> members_;             // table sequence of each matrix index
  std::vector<int> haplotypeOf_;         // per member; empty when kept per pair of sequences
  int haplotypes_ = 0;                   // haplotype form: diff_ and logs_ are haplotypes^2
  std::vector<std::uint16_t> diff_;      // upper triangle, row by row
  std::vector<std::int32_t> logs_;       // log10(1 + d) in fixed point, same layout
  std::vector<std::uint32_t> rowTotal_;  // sum of each row's entries
  long long totalLog_ = 0;               // sum of all log entries
  std::vector<int> sizes_;               // members per group
  int groups_ = 0;
  double sites_ = 0;
  bool withLogs_ = false;
  bool usable_ = false;
};
