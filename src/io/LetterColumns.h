// SPDX-License-Identifier: GPL-3.0-or-later
// LetterColumns: the position in a row's letters that holds its p-th non-gap letter, from a
// table built once per row, so annotating a row with thousands of regions never walks it once
// per region.
#pragma once
#include <vector>

class TSeq;

class LetterColumns {
 public:
  LetterColumns() = default;
  explicit LetterColumns(const TSeq& seq) { Build(seq); }
  void Build(const TSeq& seq);
  // The 1-based position of letter p (gaps '-' skipped). Below 1: p itself; beyond the last
  // letter: p plus every gap of the row, as counting gaps up to p would give.
  [[nodiscard]] int Column(int p) const;
  [[nodiscard]] const TSeq* Source() const { return seq_; }

 private:
  const TSeq* seq_ = nullptr;
  std::vector<int> columns_;
  int gaps_ = 0;
};

// One-off form of LetterColumns(seq).Column(p).
[[nodiscard]] int ColumnOfLetter(const TSeq& seq, int p);
