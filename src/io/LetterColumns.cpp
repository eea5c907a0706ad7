// SPDX-License-Identifier: GPL-3.0-or-later
// Letter position to position in the aligned letters.
#include "io/LetterColumns.h"

#include <algorithm>
#include <limits>

#include "model/tsequnit.h"

void LetterColumns::Build(const TSeq& seq) {
  seq_ = &seq;
  columns_.clear();
  columns_.reserve(seq.letters.size());
  for (std::size_t i = 0; i < seq.letters.size(); ++i)
    if (seq.letters[i] != '-') columns_.push_back(static_cast<int>(i) + 1);
  gaps_ = static_cast<int>(seq.letters.size() - columns_.size());
}

int LetterColumns::Column(int p) const {
  if (p >= 1 && p <= static_cast<int>(columns_.size()))
    return columns_[static_cast<std::size_t>(p - 1)];
  if (p <= 0) return p;
  return static_cast<int>(
      std::min<long long>(static_cast<long long>(p) + gaps_, std::numeric_limits<int>::max()));
}

int ColumnOfLetter(const TSeq& seq, int p) {
  return LetterColumns(seq).Column(p);
}
