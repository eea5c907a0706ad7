// SPDX-License-Identifier: GPL-3.0-or-later
// Codon positions of alignment columns: each row's annotation as runs of columns, summed per
// table so the agreed codon position of a column is a constant-time look-up.
#pragma once
#include <cstdint>
#include <vector>

#include "analysis/SampType.h"

class TDataSeq;
class TSeq;

// A run of columns of one row under one annotation. kind: -1 none, 0 noncoding, 1 forward
// coding, 2 reverse coding; the codon position at column c is ((c + phase) mod 3) + 1 forward
// and ((phase - c) mod 3) + 1 reverse.
struct CodingRun {
  int first = 0, last = 0;
  std::int8_t kind = -1;
  std::int8_t phase = 0;
};

// Runs of every row, built once per scan; empty when no row has a region that decides codon
// positions.
std::vector<std::vector<CodingRun>> BuildCodingRuns(const TDataSeq& ds);

class CodingAgreement {
 public:
  // Sums the runs of the rows in mask over columns 1..lastColumn.
  CodingAgreement(const std::vector<std::vector<CodingRun>>& runs, const samptype& mask,
                  int lastColumn);
  // Codon position 1..3 all covering rows agree on, 0 when all are noncoding, -1 otherwise.
  [[nodiscard]] int AgreedPosition(int column) const;
  // True when every covering row has codon position p on the given strand at the column.
  [[nodiscard]] bool AllAt(int column, int p, bool reverse) const;
  // True when no row has a coding letter at the column.
  [[nodiscard]] bool NoCoding(int column) const;

 private:
  enum { kCover, kNone, kNoncoding, kFwd0, kRev0 = kFwd0 + 3, kCount = kRev0 + 3 };
  int last_ = 0;
  std::vector<int> counts_;  // kCount per column, index column * kCount
  [[nodiscard]] int At(int column, int k) const;
};

// Columns of codon positions 1..3 of the codon that holds the row's letter at column, walking
// across noncoding letters between coding regions; false when the codon is incomplete.
bool CodonColumnsOf(const TSeq& seq, int column, int columns[3], bool& reverse);
