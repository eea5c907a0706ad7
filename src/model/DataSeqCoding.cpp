// SPDX-License-Identifier: GPL-3.0-or-later
// TDataSeq: reading-frame repairs over the coding regions of a row: gap columns that restore
// an open reading frame, and masking of stop codons.
#include <algorithm>
#include <charconv>

#include "model/Datasequnit.h"

int TDataSeq::TargetRow(int row, bool byIndividual) const {
  if (byIndividual) return row >= 0 ? RowOfIndivid(row) : -1;
  return SeqAt(row) != nullptr ? row : -1;
}

int TDataSeq::RestoreOrf(int row, bool byIndividual) {
  const int target = TargetRow(row, byIndividual);
  if (target < 0 || code == nullptr) return 0;
  int insertions = 0;
  std::string positions;
  for (std::size_t ri = 0; ri < SeqAt(target)->regions.size(); ++ri) {
    TSeq& s = *SeqAt(target);
    if (s.regions[ri].regType != kRegCds) continue;
    positions.clear();
    int stops = s.CountStops(static_cast<int>(ri), *code, false, positions);
    if (stops <= 0) continue;
    int pos = std::max(1, s.regions[ri].regStart);
    // The region grows with every accepted insertion, so its end is read afresh.
    while (pos <= std::min(s.regions[ri].regEnd, s.Length())) {
      if (s.letters[static_cast<std::size_t>(pos - 1)] != '-') {
        ++pos;
        continue;
      }
      int end = pos;
      while (end + 1 <= std::min(s.regions[ri].regEnd, s.Length()) &&
             s.letters[static_cast<std::size_t>(end)] == '-')
        ++end;
      const int runLength = end - pos + 1;
      if (runLength % 3 != 0) {
        const int add = runLength % 3 == 1 ? 2 : 1;
        const int middle = pos + runLength / 2;
        auto trial = s.Clone();
        trial->InsertGaps(middle, add);
        positions.clear();
        const int after = trial->CountStops(static_cast<int>(ri), *code, false, positions);
        if (after >= 0 && 2 * after < stops) {
          InsertGapColumns(middle + s.columnShift, add);
          stops = after;
          end += add;
          ++insertions;
        }
      }
      pos = end + 1;
    }
  }
  if (insertions > 0) InvalidateMutHolders();
  return insertions;
}

int TDataSeq::MaskStops(int row, bool byIndividual, bool extendEnd) {
  const int target = TargetRow(row, byIndividual);
  if (target < 0 || code == nullptr) return 0;
  TSeq& s = *SeqAt(target);
  int masked = 0;
  std::string positions;
  for (std::size_t ri = 0; ri < s.regions.size(); ++ri) {
    if (s.regions[ri].regType != kRegCds) continue;
    positions.clear();
    if (s.CountStops(static_cast<int>(ri), *code, false, positions, extendEnd) <= 0) continue;
    // The positions come as "p,p,...,": the first letter of each stop codon.
    const char* p = positions.data();
    const char* const end = p + positions.size();
    while (p < end) {
      int first = 0;
      const auto [next, ec] = std::from_chars(p, end, first);
      if (ec != std::errc()) {
        ++p;
        continue;
      }
      for (int k = first; k < first + 3; ++k)
        if (k >= 1 && k <= s.Length()) s.letters[static_cast<std::size_t>(k - 1)] = 'n';
      ++masked;
      p = next;
    }
  }
  if (masked > 0) InvalidateMutHolders();
  return masked;
}
