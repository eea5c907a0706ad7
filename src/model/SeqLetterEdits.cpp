// SPDX-License-Identifier: GPL-3.0-or-later
// TSeq letter edits: insertion, deletion, gaps, runs, inserted sequences and inverted segments,
// each keeping regions, peaks, traces, quality and polymorphic positions in step with the letters.
#include <algorithm>
#include <cstdint>

#include "common/NumberFormat.h"
#include "model/tsequnit.h"

namespace {

std::size_t Index(int pos) {
  return static_cast<std::size_t>(pos);
}

// Peaks for n letters placed between the peaks left and right, evenly spaced.
std::vector<std::int32_t> InterpolatedPeaks(int left, int right, int n) {
  std::vector<std::int32_t> out(Index(n));
  const int step = RoundHalfEvenInt(static_cast<double>(right - left) / (n + 1));
  for (int k = 1; k <= n; ++k) {
    const int v = step * k + left;
    out[Index(k - 1)] = v == 0 ? 1 : v;
  }
  return out;
}

// Whether a per-letter list reaches the insertion point pos of a sequence of length len: it
// covers the letter at pos, or it covers every letter and the insertion appends.
bool ListReaches(std::size_t listSize, int pos, int len) {
  if (listSize == 0) return false;
  return listSize >= Index(pos) || (pos == len + 1 && listSize == Index(len));
}

// Keeps the reading frame of the remaining letters: a forward region reads from its start, a
// reverse one from its end.
void LoseAtStart(TRegion& r, int lost) {
  if (!r.regReverse && r.codonPos != 0) r.codonPos = CodonPosAfter(r.codonPos, lost);
}
void LoseAtEnd(TRegion& r, int lost) {
  if (r.regReverse && r.codonPos != 0) r.codonPos = CodonPosAfter(r.codonPos, lost);
}

// Adjusts a region for the deletion of letters pos..last; false when it loses every letter.
bool AdjustForDeletion(TRegion& r, int pos, int last) {
  const int count = last - pos + 1;
  if (r.regStart > r.regEnd) std::swap(r.regStart, r.regEnd);
  if (r.regEnd < pos) return true;
  if (r.regStart > last) {
    r.regStart -= count;
    r.regEnd -= count;
  } else if (r.regStart >= pos && r.regEnd <= last) {
    return false;
  } else if (r.regStart >= pos) {
    LoseAtStart(r, last - r.regStart + 1);
    r.regStart = pos;
    r.regEnd -= count;
  } else if (r.regEnd <= last) {
    LoseAtEnd(r, r.regEnd - pos + 1);
    r.regEnd = pos - 1;
  } else {
    r.regEnd -= count;
  }
  return true;
}

void AdjustRegionList(std::vector<TRegion>& list, int pos, int last) {
  std::erase_if(list, [&](TRegion& r) { return !AdjustForDeletion(r, pos, last); });
}

template <typename T>
void EraseLetterRange(std::vector<T>& list, int pos, int last, int newLen) {
  if (list.size() >= Index(pos)) {
    const std::size_t end = std::min(list.size(), Index(last));
    list.erase(list.begin() + (pos - 1), list.begin() + static_cast<std::ptrdiff_t>(end));
  }
  if (list.size() > Index(newLen)) list.resize(Index(newLen));
}

void ResizeChannel(std::vector<std::uint16_t>& ch, long long size) {
  if (size < 0) size = 0;
  if (static_cast<long long>(ch.size()) > size) ch.resize(static_cast<std::size_t>(size));
}

template <typename T>
void InsertRepeated(std::vector<T>& list, int pos, int n, T value) {
  const std::size_t at = std::min(list.size(), Index(pos - 1));
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), Index(n), value);
}

// The same on a list most sequences do not hold: nothing to do while it is absent.
template <typename T>
void EraseLetterRange(TRare<std::vector<T>>& list, int pos, int last, int newLen) {
  if (auto* held = list.Held()) EraseLetterRange(*held, pos, last, newLen);
}
template <typename T>
void InsertRepeated(TRare<std::vector<T>>& list, int pos, int n, T value) {
  InsertRepeated(list.Mut(), pos, n, value);
}

std::uint8_t QualityByte(int q) {
  return static_cast<std::uint8_t>(std::clamp(q, 0, 255));
}

}  // namespace

void TSeq::ShiftRegionsForInsert(int pos, int n) {
  for (std::vector<TRegion>* list : {&regions, &siteMarks}) {
    for (TRegion& r : *list) {
      if (r.regStart >= pos) {
        r.regStart += n;
        r.regEnd += n;
      } else if (r.regEnd >= pos) {
        r.regEnd += n;
      }
    }
  }
}

void TSeq::ClearAfterEmptied() {
  traceA.clear();
  traceT.clear();
  traceG.clear();
  traceC.clear();
  peakPos.clear();
  quality.clear();
  polySitePos.clear();
  regions.clear();
  siteMarks.clear();
  poorQualityLeft = 0;
  poorQualityRight = 0;
  columnShift = 0;
  selStart = 0;
  selLength = 0;
}

void TSeq::InsertLetters(int pos, std::string_view text, bool shiftIfBefore, int insertedQuality) {
  if (!enabled || text.empty()) return;
  const int n = static_cast<int>(text.size());
  if (pos <= 0) {
    if (shiftIfBefore) columnShift += n;
    return;
  }
  const int len = Length();
  pos = std::min(pos, len + 1);
  if (ListReaches(peakPos.size(), pos, len)) {
    const int left = pos == 1 ? 0 : peakPos[Index(pos - 2)];
    // Appending has no right neighbour; one letter cell further on stands in for it.
    const int right = Index(pos - 1) < peakPos.size() ? peakPos[Index(pos - 1)] : left + 10;
    const auto fresh = InterpolatedPeaks(left, right, n);
    auto& peaks = peakPos.Mut();
    peaks.insert(peaks.begin() + (pos - 1), fresh.begin(), fresh.end());
  }
  if (ListReaches(quality.size(), pos, len))
    InsertRepeated(quality, pos, n, QualityByte(insertedQuality));
  if (ListReaches(polySitePos.size(), pos, len)) InsertRepeated(polySitePos, pos, n, 0);
  letters.insert(Index(pos - 1), text);
  ShiftRegionsForInsert(pos, n);
  SyncLength();
}

void TSeq::DeleteLetters(int pos, int count, bool trimTrace) {
  if (!enabled || count <= 0) return;
  if (pos < 1) {
    const int before = 1 - pos;
    if (count <= before) {
      columnShift -= count;
      return;
    }
    columnShift -= before;
    count -= before;
    pos = 1;
  }
  const int len = Length();
  if (pos > len) return;
  count = std::min(count, len - pos + 1);
  if (count == len) {
    letters.clear();
    ClearAfterEmptied();
    SyncLength();
    return;
  }
  const int last = pos + count - 1;
  const int newLen = len - count;

  bool peaksDone = false;
  if (trimTrace && HasTrace() && peakPos.size() >= Index(len)) {
    std::vector<std::uint16_t>* channels[] = {&traceA.Mut(), &traceT.Mut(), &traceG.Mut(),
                                              &traceC.Mut()};
    if (last == len) {
      const long long keep = static_cast<long long>(peakPos[Index(pos - 2)]) + 6;
      for (auto* ch : channels) ResizeChannel(*ch, keep);
    } else if (pos == 1) {
      const int drop = std::max(0, peakPos[Index(last)] - 5);
      for (auto* ch : channels)
        ch->erase(ch->begin(),
                  ch->begin() + static_cast<std::ptrdiff_t>(std::min(ch->size(), Index(drop))));
      auto& peaks = peakPos.Mut();
      peaks.erase(peaks.begin(), peaks.begin() + count);
      for (auto& p : peakPos) p -= drop;
      const long long keep = static_cast<long long>(peakPos.back()) + 6;
      for (auto* ch : channels) ResizeChannel(*ch, keep);
      peaksDone = true;
    } else {
      const long long from = peakPos[Index(pos - 1)];
      const long long to = static_cast<long long>(peakPos[Index(last)]) - 5;
      for (auto* ch : channels)
        for (long long s = std::max(0LL, from); s <= to && s < static_cast<long long>(ch->size());
             ++s)
          (*ch)[static_cast<std::size_t>(s)] = 0;
    }
  }
  if (!peaksDone) EraseLetterRange(peakPos, pos, last, newLen);
  EraseLetterRange(quality, pos, last, newLen);
  EraseLetterRange(polySitePos, pos, last, newLen);

  AdjustRegionList(regions, pos, last);
  AdjustRegionList(siteMarks, pos, last);
  if (selLength > 0) {
    TRegion block;
    block.regStart = selStart;
    block.regEnd = selStart + selLength - 1;
    if (AdjustForDeletion(block, pos, last)) {
      selStart = block.regStart;
      selLength = block.Length();
    } else {
      selStart = 0;
      selLength = 0;
    }
  }
  letters.erase(Index(pos - 1), Index(count));
  if (pos == 1) columnShift += count;
  SyncLength();
}

void TSeq::DeleteMaskedLetters(const std::vector<bool>& mask) {
  // One pass instead of a DeleteLetters per run: long sequences with many gap runs stay linear.
  const int len = Length();
  if (!enabled || mask.size() < Index(len)) return;
  // kept[p] = number of kept letters among 1..p.
  std::vector<int> kept(Index(len) + 1, 0);
  for (int p = 1; p <= len; ++p) kept[Index(p)] = kept[Index(p - 1)] + (mask[Index(p - 1)] ? 0 : 1);
  const int newLen = kept[Index(len)];
  if (newLen == len) return;
  if (newLen == 0) {
    letters.clear();
    ClearAfterEmptied();
    SyncLength();
    return;
  }
  int leadingRun = 0;
  while (mask[Index(leadingRun)]) ++leadingRun;

  auto remap = [&](TRegion& r) {
    if (r.regStart > r.regEnd) std::swap(r.regStart, r.regEnd);
    const int s = std::clamp(r.regStart, 1, len + 1);
    const int e = std::clamp(r.regEnd, 0, len);
    if (r.regEnd < 1) return true;  // wholly before the letters: unchanged
    if (r.regStart > len) {         // wholly after: moves with the end
      const int shift = len - newLen;
      r.regStart -= shift;
      r.regEnd -= shift;
      return true;
    }
    const int inside = kept[Index(e)] - kept[Index(s - 1)];
    if (inside == 0) return false;
    int firstKept = s;
    while (mask[Index(firstKept - 1)]) ++firstKept;
    int lastKept = e;
    while (mask[Index(lastKept - 1)]) --lastKept;
    LoseAtStart(r, firstKept - s);
    LoseAtEnd(r, e - lastKept);
    r.regStart = kept[Index(firstKept)];
    r.regEnd = kept[Index(lastKept)];
    return true;
  };
  std::erase_if(regions, [&](TRegion& r) { return !remap(r); });
  std::erase_if(siteMarks, [&](TRegion& r) { return !remap(r); });
  if (selLength > 0) {
    TRegion block;
    block.regStart = selStart;
    block.regEnd = selStart + selLength - 1;
    if (remap(block)) {
      selStart = block.regStart;
      selLength = block.Length();
    } else {
      selStart = 0;
      selLength = 0;
    }
  }
  auto filter = [&](auto& list) {
    std::size_t out = 0;
    for (std::size_t i = 0; i < list.size() && i < Index(len); ++i)
      if (!mask[i]) list[out++] = list[i];
    list.resize(std::min(out, Index(newLen)));
  };
  filter(peakPos);
  filter(quality);
  filter(polySitePos);
  std::string kept_letters;
  kept_letters.reserve(Index(newLen));
  for (int p = 0; p < len; ++p)
    if (!mask[Index(p)]) kept_letters += letters[Index(p)];
  letters = std::move(kept_letters);
  // The leading run goes last when runs are deleted from the back, from position 1: the
  // remaining letters keep their columns.
  columnShift += leadingRun;
  SyncLength();
}

void TSeq::InsertGaps(int pos, int count) {
  if (count <= 0) return;
  const int len = Length();
  pos = std::clamp(pos, 1, len + 1);
  if (HasTrace() && peakPos.size() >= Index(std::max(pos - 1, 1))) {
    const int prev = pos == 1 ? peakPos[0] : peakPos[Index(pos - 2)];
    const int next = Index(pos - 1) < peakPos.size() ? peakPos[Index(pos - 1)] : prev;
    const int step = RoundHalfEvenInt(static_cast<double>(next - prev) / (2.0 * count));
    std::vector<std::int32_t> fresh(Index(count));
    for (int k = 1; k <= count; ++k) fresh[Index(k - 1)] = prev + step * k;
    const std::size_t at = std::min(peakPos.size(), Index(pos - 1));
    peakPos.Mut().insert(peakPos.begin() + static_cast<std::ptrdiff_t>(at), fresh.begin(),
                         fresh.end());
  }
  // Quality and polymorphic positions are per letter: a gap gets an entry too, or every later
  // letter would read its neighbour's value.
  if (ListReaches(quality.size(), pos, len)) InsertRepeated(quality, pos, count, std::uint8_t{0});
  if (ListReaches(polySitePos.size(), pos, len)) InsertRepeated(polySitePos, pos, count, 0);
  letters.insert(Index(pos - 1), Index(count), '-');
  ShiftRegionsForInsert(pos, count);
  SyncLength();
}

void TSeq::ReplaceLetter(char oldLetter, char newLetter) {
  std::replace(letters.begin(), letters.end(), oldLetter, newLetter);
}

void TSeq::TrimTrailing(char letter) {
  int run = 0;
  for (auto it = letters.rbegin(); it != letters.rend() && *it == letter; ++it) ++run;
  if (run > 0) DeleteLetters(Length() - run + 1, run, false);
}

void TSeq::RemoveLetterRuns(int from, int to, bool columnRelative, char letter) {
  if (!enabled) return;
  const int oldShift = columnShift;
  const int len = Length();
  int a = columnRelative ? from - oldShift : from;
  int b = columnRelative ? to - oldShift : to;
  a = std::max(a, 1);
  b = std::min(b, len);
  if (a <= b) {
    std::vector<bool> mask(Index(len), false);
    bool any = false;
    for (int p = a; p <= b; ++p)
      if (letters[Index(p - 1)] == letter) mask[Index(p - 1)] = any = true;
    if (any) DeleteMaskedLetters(mask);
  }
  if (columnRelative && from <= oldShift && !letters.empty()) columnShift = std::max(0, from - 1);
}

void TSeq::InsertSequence(int pos, const TSeq& other, int insertedQuality) {
  if (!enabled || pos < 0 || other.letters.empty()) return;
  if (&other == this) {
    const TSeq copy(*this);
    InsertSequence(pos, copy, insertedQuality);
    return;
  }
  const int len = Length();
  const int n = other.Length();
  const bool appending = pos > len;
  const int p = appending ? len + 1 : std::max(pos, 1);
  const bool otherPeaks = other.peakPos.size() >= Index(n);

  if (ListReaches(peakPos.size(), p, len)) {
    const int p1 = p == 1 ? 0 : peakPos[Index(p - 2)];
    const int p2 = appending ? p1 + 10 : peakPos[Index(p - 1)];
    const int middle = RoundHalfEvenInt((static_cast<double>(p1) + p2) / 2.0);
    std::vector<std::int32_t> fresh;
    if (otherPeaks) {
      fresh.assign(other.peakPos.begin(), other.peakPos.begin() + n);
      for (auto& v : fresh) v += middle;
      if (!appending) {
        const int raise = other.peakPos[Index(n - 1)] + 5;
        for (std::size_t i = Index(p - 1); i < peakPos.size(); ++i) peakPos[i] += raise;
      }
    } else {
      fresh = InterpolatedPeaks(p1, p2, n);
    }
    peakPos.Mut().insert(peakPos.begin() + (p - 1), fresh.begin(), fresh.end());
    TRare<std::vector<std::uint16_t>>* mine[] = {&traceA, &traceT, &traceG, &traceC};
    const TRare<std::vector<std::uint16_t>>* theirs[] = {&other.traceA, &other.traceT,
                                                         &other.traceG, &other.traceC};
    for (int c = 0; c < 4; ++c) {
      if (mine[c]->empty() || theirs[c]->empty()) continue;
      auto& ch = mine[c]->Mut();
      const auto& src = theirs[c]->get();
      const std::size_t at =
          appending ? ch.size() : std::min(ch.size(), Index(std::max(middle, 0)));
      ch.insert(ch.begin() + static_cast<std::ptrdiff_t>(at), src.begin(), src.end());
    }
  }
  if (ListReaches(quality.size(), p, len)) {
    const std::size_t at = Index(p - 1);
    if (other.quality.size() >= Index(n))
      quality.Mut().insert(quality.begin() + static_cast<std::ptrdiff_t>(at), other.quality.begin(),
                           other.quality.begin() + n);
    else
      quality.Mut().insert(quality.begin() + static_cast<std::ptrdiff_t>(at), Index(n),
                           QualityByte(insertedQuality));
  }
  if (ListReaches(polySitePos.size(), p, len)) InsertRepeated(polySitePos, p, n, 0);
  letters.insert(Index(p - 1), other.letters);
  ShiftRegionsForInsert(p, n);
  for (const TRegion& r : other.regions) {
    TRegion copy;
    copy.regStart = r.regStart + p - 1;
    copy.regEnd = r.regEnd + p - 1;
    copy.regName = r.regName;
    copy.regComment = r.regComment;
    copy.regType = r.regType;
    copy.regReverse = r.regReverse;
    copy.codonPos = r.codonPos;
    copy.regId = 0;
    AddRegion(copy);
  }
  SyncLength();
}

bool TSeq::InvertSegment(int from, int to) {
  const int len = Length();
  if (!enabled || from < 1 || to > len || from >= to) return false;
  auto first = letters.begin() + (from - 1);
  auto last = letters.begin() + to;
  std::reverse(first, last);
  for (auto it = first; it != last; ++it) *it = ComplementLetter(*it);

  for (std::vector<TRegion>* list : {&regions, &siteMarks}) {
    for (TRegion& r : *list) {
      if (r.regStart < from || r.regEnd > to || r.regStart > r.regEnd) continue;
      const int s = from + to - r.regEnd;
      r.regEnd = from + to - r.regStart;
      r.regStart = s;
      r.regReverse = !r.regReverse;
    }
  }
  if (quality.size() >= Index(to)) std::reverse(quality.begin() + (from - 1), quality.begin() + to);
  if (polySitePos.size() >= Index(to))
    std::reverse(polySitePos.begin() + (from - 1), polySitePos.begin() + to);

  if (HasTrace() && peakPos.size() >= Index(to)) {
    const int a = peakPos[Index(from - 1)];
    const int b = peakPos[Index(to - 1)];
    const std::size_t shortest =
        std::min({traceA.size(), traceT.size(), traceG.size(), traceC.size()});
    if (a >= 0 && a <= b && Index(b) < shortest) {
      for (auto* ch : {&traceA, &traceT, &traceG, &traceC})
        std::reverse(ch->begin() + a, ch->begin() + b + 1);
      std::swap_ranges(traceA.begin() + a, traceA.begin() + b + 1, traceT.begin() + a);
      std::swap_ranges(traceG.begin() + a, traceG.begin() + b + 1, traceC.begin() + a);
      // Mirror the peaks inside the segment's samples and keep them in letter order.
      std::vector<std::int32_t> seg(peakPos.begin() + (from - 1), peakPos.begin() + to);
      for (int k = 0; k <= to - from; ++k)
        peakPos[Index(from - 1 + k)] = a + b - seg[Index(to - from - k)];
    }
  }
  return true;
}
