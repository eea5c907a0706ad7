// SPDX-License-Identifier: GPL-3.0-or-later
// TDataSeq: edits over alignment columns: padding and cutting to a common length, shift
// normalisation, removal of shared gap columns and singleton inserts.
#include <algorithm>
#include <climits>

#include "model/ColumnKeep.h"
#include "model/Datasequnit.h"

namespace {

bool IsGapOrEmpty(char c) {
  return c == '-';
}

// Removes the letters at the given 1-based positions (flags over 1..Length()) in one pass,
// keeping regions, quality, peaks and polymorphic positions on their letters.
void DeleteFlaggedLetters(TSeq& s, const std::vector<char>& drop) {
  const int len = s.Length();
  // The rows of a dataset are mostly of one length: the tables keep their memory from row to
  // row instead of being allocated, and faulted in, afresh for each of thousands of rows.
  thread_local std::vector<int> kept, nextKept, prevKept;
  kept.assign(static_cast<std::size_t>(len) + 1, 0);  // kept letters in 1..p
  nextKept.assign(static_cast<std::size_t>(len) + 2, len + 1);
  prevKept.assign(static_cast<std::size_t>(len) + 1, 0);
  for (int p = 1; p <= len; ++p) {
    const bool keep = drop[static_cast<std::size_t>(p)] == 0;
    kept[static_cast<std::size_t>(p)] = kept[static_cast<std::size_t>(p - 1)] + (keep ? 1 : 0);
    prevKept[static_cast<std::size_t>(p)] = keep ? p : prevKept[static_cast<std::size_t>(p - 1)];
  }
  for (int p = len; p >= 1; --p)
    nextKept[static_cast<std::size_t>(p)] =
        drop[static_cast<std::size_t>(p)] == 0 ? p : nextKept[static_cast<std::size_t>(p + 1)];
  const int newLen = kept[static_cast<std::size_t>(len)];
  if (newLen == len) return;

  auto filter = [&](auto& list) {
    if (static_cast<int>(list.size()) != len) return;
    std::size_t out = 0;
    for (int p = 1; p <= len; ++p)
      if (drop[static_cast<std::size_t>(p)] == 0)
        list[out++] = list[static_cast<std::size_t>(p - 1)];
    list.resize(out);
  };
  filter(s.letters);
  filter(s.quality);
  filter(s.peakPos);
  filter(s.polySitePos);

  std::vector<TRegion> regions;
  regions.reserve(s.regions.size());
  for (TRegion reg : s.regions) {
    const int a = std::max(1, std::min(reg.regStart, reg.regEnd));
    const int b = std::min(len, std::max(reg.regStart, reg.regEnd));
    if (a > b) continue;
    const int first = nextKept[static_cast<std::size_t>(a)];
    const int last = prevKept[static_cast<std::size_t>(b)];
    if (first > last) continue;  // every letter of the region went
    if (IsCodingKind(reg.regType) && reg.codonPos > 0) {
      // The frame is counted from the first letter (forward) or the last (reverse).
      reg.codonPos = reg.regReverse ? CodonPosBefore(reg.codonPos, b - last)
                                    : CodonPosAfter(reg.codonPos, first - a);
    }
    reg.regStart = kept[static_cast<std::size_t>(first)];
    reg.regEnd = kept[static_cast<std::size_t>(last)];
    regions.push_back(std::move(reg));
  }
  s.regions = std::move(regions);

  auto mapPos = [&](std::int32_t& pos, bool left) {
    if (pos < 1) return;
    const int p = std::min(pos, len);
    const int k =
        left ? nextKept[static_cast<std::size_t>(p)] : prevKept[static_cast<std::size_t>(p)];
    pos = (k >= 1 && k <= len) ? kept[static_cast<std::size_t>(k)] : (left ? newLen : 1);
  };
  mapPos(s.poorQualityLeft, true);
  mapPos(s.poorQualityRight, false);
  s.selStart = 0;
  s.selLength = 0;
  if (newLen == 0) {
    s.columnShift = 0;
    s.regions.clear();
  }
  s.SyncLength();
}

// Deletes ascending column runs (first column, count) from one row.
void DeleteColumnRuns(TSeq& s, const std::vector<std::pair<int, int>>& runs) {
  const int len = s.Length();
  const int shift = s.columnShift;
  int beforeLetters = 0;
  bool anyLetter = false;
  thread_local std::vector<char> drop;  // kept between rows, as the tables above
  drop.assign(static_cast<std::size_t>(len) + 1, 0);
  for (const auto& [column, count] : runs) {
    const int last = column + count - 1;
    beforeLetters += std::max(0, std::min(last, shift) - column + 1);
    for (int c = std::max(column, shift + 1); c <= std::min(last, shift + len); ++c) {
      drop[static_cast<std::size_t>(c - shift)] = 1;
      anyLetter = true;
    }
  }
  if (anyLetter) DeleteFlaggedLetters(s, drop);
  if (s.Length() > 0) s.columnShift = std::max(0, s.columnShift - beforeLetters);
}

// Ascending runs of the flagged columns 1..flags.size()-1.
std::vector<std::pair<int, int>> RunsOf(const std::vector<char>& flags) {
  std::vector<std::pair<int, int>> runs;
  const int n = static_cast<int>(flags.size()) - 1;
  for (int c = 1; c <= n; ++c) {
    if (flags[static_cast<std::size_t>(c)] == 0) continue;
    int e = c;
    while (e + 1 <= n && flags[static_cast<std::size_t>(e + 1)] != 0) ++e;
    runs.emplace_back(c, e - c + 1);
    c = e;
  }
  return runs;
}

}  // namespace

void TDataSeq::DeleteColumns(const std::vector<std::pair<int, int>>& runs) {
  if (runs.empty()) return;
  for (int r = 1; r <= Count(); ++r) DeleteColumnRuns(*SeqAt(r), runs);
  InvalidateMutHolders();
}

void TDataSeq::InsertGapColumns(int column, int count) {
  if (count <= 0) return;
  for (int r = 1; r <= Count(); ++r) {
    TSeq& s = *SeqAt(r);
    const int pos = column - s.columnShift;
    if (pos < 1 && s.Length() > 0)
      s.columnShift += count;
    else if (pos >= 1 && pos <= s.Length())
      s.InsertGaps(pos, count);
  }
  InvalidateMutHolders();
}

namespace {
// Moves a positive shift into leading pad letters and pads the end up to the common length.
// Disabled rows refuse letter edits, so they keep their place untouched.
void PadRows(TDataSeq& ds, char pad) {
  for (int r = 1; r <= ds.Count(); ++r) {
    TSeq& s = *ds.SeqAt(r);
    if (!s.enabled || s.columnShift <= 0) continue;
    const int shift = s.columnShift;
    if (pad == '-')
      s.InsertGaps(1, shift);
    else
      s.InsertLetters(1, std::string(static_cast<std::size_t>(shift), pad), false);
    s.columnShift = 0;
  }
  const int length = ds.AlignmentLength(true);
  for (int r = 1; r <= ds.Count(); ++r) {
    TSeq& s = *ds.SeqAt(r);
    const int missing = length - s.columnShift - s.Length();
    if (!s.enabled || missing <= 0) continue;
    if (pad == '-')
      s.InsertGaps(s.Length() + 1, missing);
    else
      s.InsertLetters(s.Length() + 1, std::string(static_cast<std::size_t>(missing), pad), false);
  }
}
}  // namespace

void TDataSeq::PadWithN() {
  PadRows(*this, 'n');
  InvalidateMutHolders();
}

void TDataSeq::PadWithGaps() {
  PadRows(*this, '-');
  InvalidateMutHolders();
}

void TDataSeq::CutToCommonEnd(bool codonAware) {
  for (int r = 1; r <= Count(); ++r) SeqAt(r)->TrimTrailing('-');
  // Empty rows end nowhere: counting them would cut every row to nothing.
  int cut = INT_MAX;
  for (int r = 1; r <= Count(); ++r) {
    const TSeq& s = *SeqAt(r);
    if (s.enabled && s.Length() > 0) cut = std::min(cut, s.columnShift + s.Length());
  }
  if (cut == INT_MAX) {
    InvalidateMutHolders();
    return;
  }
  if (codonAware) {
    for (int r = 1; r <= Count(); ++r) {
      const TSeq& s = *SeqAt(r);
      if (!s.enabled || s.Length() == 0) continue;
      const TRegion* cds = nullptr;
      for (const TRegion& reg : s.regions)
        if (reg.regType == kRegCds && (cds == nullptr || reg.regEnd > cds->regEnd)) cds = &reg;
      if (cds == nullptr || cds->regReverse || cds->codonPos < 1) continue;
      // Codon position of the last letter the cut keeps, when that letter is coding.
      const int pos = cut - s.columnShift;
      if (pos < cds->regStart || pos > cds->regEnd) continue;
      const int p = CodonPosAfter(cds->codonPos, pos - cds->regStart);
      if (p <= 2) cut = std::min(cut, pos + s.columnShift - p);
    }
  }
  for (int r = 1; r <= Count(); ++r) {
    TSeq& s = *SeqAt(r);
    const int keep = cut - s.columnShift;
    if (!s.enabled || s.Length() <= keep) continue;
    if (keep < 1)
      s.DeleteLetters(1, s.Length(), false);
    else
      s.DeleteLetters(keep + 1, s.Length() - keep, false);
  }
  InvalidateMutHolders();
}

void TDataSeq::CutToCommonStart() {
  int start = 0;
  for (int r = 1; r <= Count(); ++r) {
    const TSeq& s = *SeqAt(r);
    if (s.enabled && s.Length() > 0) start = std::max(start, s.columnShift);
  }
  for (int r = 1; r <= Count(); ++r) {
    TSeq& s = *SeqAt(r);
    if (!s.enabled) {
      s.columnShift = std::max(0, s.columnShift - start);
      continue;
    }
    const int before = start - s.columnShift;
    if (before > 0) s.DeleteLetters(1, std::min(before, s.Length()), false);
    s.columnShift = 0;
  }
  InvalidateMutHolders();
}

void TDataSeq::NormaliseShifts() {
  int least = INT_MAX;
  bool emptyShifted = false;
  for (int r = 1; r <= Count(); ++r) {
    const TSeq& s = *SeqAt(r);
    if (s.Length() > 0)
      least = std::min(least, s.columnShift);
    else
      emptyShifted = emptyShifted || s.columnShift != 0;
  }
  // Usually already normalised: every deletion asks, so the second pass is skipped then.
  if ((least == 0 || least == INT_MAX) && !emptyShifted) return;
  for (int r = 1; r <= Count(); ++r) {
    TSeq& s = *SeqAt(r);
    s.columnShift = s.Length() > 0 ? s.columnShift - least : 0;
  }
}

int KeepColumns(TDataSeq& ds, const std::vector<char>& keep) {
  const int length = ds.AlignmentLength(true);
  std::vector<char> drop(static_cast<std::size_t>(length) + 1, 1);
  drop[0] = 0;
  for (int c = 1; c <= length && c < static_cast<int>(keep.size()); ++c)
    drop[static_cast<std::size_t>(c)] = keep[static_cast<std::size_t>(c)] != 0 ? 0 : 1;
  const auto runs = RunsOf(drop);
  int removed = 0;
  for (const auto& run : runs) removed += run.second;
  if (runs.empty()) return 0;
  for (int r = 1; r <= ds.Count(); ++r) DeleteColumnRuns(*ds.SeqAt(r), runs);
  ds.InvalidateMutHolders();
  return removed;
}

int TDataSeq::RemoveSharedGapColumns() {
  const int length = AlignmentLength(true);
  if (Count() == 0 || length == 0) return 0;
  std::vector<char> shared(static_cast<std::size_t>(length) + 1, 1);
  shared[0] = 0;
  for (int r = 1; r <= Count(); ++r) {
    const TSeq& s = *SeqAt(r);
    for (int p = 1; p <= s.Length(); ++p)
      if (!IsGapOrEmpty(s.letters[static_cast<std::size_t>(p - 1)]))
        shared[static_cast<std::size_t>(p + s.columnShift)] = 0;
  }
  const auto runs = RunsOf(shared);
  int removed = 0;
  for (const auto& run : runs) removed += run.second;
  DeleteColumns(runs);
  return removed;
}

int TDataSeq::RemoveSingletonInserts(int row) {
  const TSeq* target = SeqAt(row);
  const int length = AlignmentLength(true);
  if (target == nullptr || length == 0) return 0;
  std::vector<int> letters(static_cast<std::size_t>(length) + 1, 0);
  for (int r = 1; r <= Count(); ++r) {
    const TSeq& s = *SeqAt(r);
    for (int p = 1; p <= s.Length(); ++p)
      if (!IsGapOrEmpty(s.letters[static_cast<std::size_t>(p - 1)]))
        ++letters[static_cast<std::size_t>(p + s.columnShift)];
  }
  std::vector<char> single(static_cast<std::size_t>(length) + 1, 0);
  for (int p = 1; p <= target->Length(); ++p) {
    const auto c = static_cast<std::size_t>(p + target->columnShift);
    if (!IsGapOrEmpty(target->letters[static_cast<std::size_t>(p - 1)]) && letters[c] == 1)
      single[c] = 1;
  }
  const auto runs = RunsOf(single);
  int removed = 0;
  for (const auto& run : runs) removed += run.second;
  DeleteColumns(runs);
  return removed;
}
