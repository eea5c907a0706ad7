// SPDX-License-Identifier: GPL-3.0-or-later
// TSeq region operations: adding with unique ids, merging, copying, splicing and deleting the
// letters of a region kind, gap regions and turning reverse CDSs forward.
#include <algorithm>
#include <numeric>

#include "model/tsequnit.h"

namespace {

enum class MergeRule { kNever, kAlways, kSameFrame };

MergeRule RuleFor(int kind) {
  switch (kind) {
    case kRegNoncoding:
    case kRegIntron:
    case kRegIndel:
    case kRegHetIndel:
      return MergeRule::kAlways;
    case kRegCds:
    case kRegExon:
    case kRegOrf:
      return MergeRule::kSameFrame;
    default:
      return MergeRule::kNever;
  }
}

// Two regions of one kind and strand, first starting no later than second, that overlap or
// touch: whether one region may hold both. A reverse region reads from its end, so its frame
// is compared from the ends.
bool Joinable(const TRegion& first, const TRegion& second) {
  if (second.regStart > first.regEnd + 1) return false;
  const MergeRule rule = RuleFor(first.regType);
  if (rule == MergeRule::kAlways) return true;
  if (rule == MergeRule::kNever) return false;
  if (!first.regReverse)
    return CodonPosAfter(first.codonPos, second.regStart - first.regStart) == second.codonPos;
  const TRegion& later = second.regEnd >= first.regEnd ? second : first;
  const TRegion& other = &later == &second ? first : second;
  return CodonPosAfter(later.codonPos, later.regEnd - other.regEnd) == other.codonPos;
}

bool StartsFirst(const std::vector<TRegion>& regs, int a, int b) {
  const TRegion& x = regs[static_cast<std::size_t>(a)];
  const TRegion& y = regs[static_cast<std::size_t>(b)];
  return x.regStart != y.regStart ? x.regStart < y.regStart : a < b;
}

// Joins regions a and b into the one earlier in the list; returns the survivor.
int Join(std::vector<TRegion>& regs, int a, int b, std::vector<bool>& gone) {
  const int first = StartsFirst(regs, a, b) ? a : b;
  const int second = first == a ? b : a;
  TRegion& f = regs[static_cast<std::size_t>(first)];
  TRegion& s = regs[static_cast<std::size_t>(second)];
  int codonPos = f.codonPos;
  if (f.regReverse && s.regEnd > f.regEnd) codonPos = s.codonPos;
  const int start = f.regStart;
  const int end = std::max(f.regEnd, s.regEnd);
  const int keep = std::min(a, b);
  const int drop = std::max(a, b);
  TRegion& k = regs[static_cast<std::size_t>(keep)];
  k.regStart = start;
  k.regEnd = end;
  k.codonPos = codonPos;
  gone[static_cast<std::size_t>(drop)] = true;
  return keep;
}

bool JoinableIdx(const std::vector<TRegion>& regs, int a, int b) {
  const bool aFirst = StartsFirst(regs, a, b);
  const TRegion& f = regs[static_cast<std::size_t>(aFirst ? a : b)];
  const TRegion& s = regs[static_cast<std::size_t>(aFirst ? b : a)];
  return Joinable(f, s);
}

// One sweep per kind and strand in start order, holding only the regions that can still meet
// the next one, so thousands of regions merge in n log n.
bool MergePass(std::vector<TRegion>& regs) {
  std::vector<int> order;
  for (int i = 0; i < static_cast<int>(regs.size()); ++i) {
    const TRegion& r = regs[static_cast<std::size_t>(i)];
    if (RuleFor(r.regType) != MergeRule::kNever && r.regStart <= r.regEnd) order.push_back(i);
  }
  std::sort(order.begin(), order.end(), [&](int a, int b) {
    const TRegion& x = regs[static_cast<std::size_t>(a)];
    const TRegion& y = regs[static_cast<std::size_t>(b)];
    if (x.regType != y.regType) return x.regType < y.regType;
    if (x.regReverse != y.regReverse) return x.regReverse < y.regReverse;
    return StartsFirst(regs, a, b);
  });
  std::vector<bool> gone(regs.size(), false);
  bool changed = false;
  std::vector<int> active;
  for (std::size_t k = 0; k < order.size(); ++k) {
    const int r = order[k];
    const TRegion& cur = regs[static_cast<std::size_t>(r)];
    if (k == 0 || cur.regType != regs[static_cast<std::size_t>(order[k - 1])].regType ||
        cur.regReverse != regs[static_cast<std::size_t>(order[k - 1])].regReverse)
      active.clear();
    std::erase_if(
        active, [&](int a) { return regs[static_cast<std::size_t>(a)].regEnd + 1 < cur.regStart; });
    auto hit =
        std::find_if(active.begin(), active.end(), [&](int a) { return JoinableIdx(regs, a, r); });
    if (hit == active.end()) {
      active.push_back(r);
      continue;
    }
    int merged = Join(regs, *hit, r, gone);
    *hit = merged;
    changed = true;
    // The grown region may now reach another held region.
    for (bool again = true; again;) {
      again = false;
      for (auto it = active.begin(); it != active.end(); ++it) {
        if (*it == merged || !JoinableIdx(regs, *it, merged)) continue;
        const int other = *it;
        const int survivor = Join(regs, other, merged, gone);
        const int dropped = survivor == other ? merged : other;
        std::erase(active, dropped);
        merged = survivor;
        again = true;
        break;
      }
    }
  }
  if (!changed) return false;
  std::size_t out = 0;
  for (std::size_t i = 0; i < regs.size(); ++i) {
    if (gone[i]) continue;
    if (out != i) regs[out] = std::move(regs[i]);  // a self-move would empty the strings
    ++out;
  }
  regs.resize(out);
  return true;
}

}  // namespace

void TSeq::RefreshRegionIds() const {
  if (regionIds_->count == regions.size() && regionIds_->data == regions.data()) return;
  regionIds_->ids.clear();
  for (const TRegion& r : regions) regionIds_->ids.insert(r.regId);
  NoteRegionListKept();
}

void TSeq::NoteRegionListKept() const {
  regionIds_->count = regions.size();
  regionIds_->data = regions.data();
}

int TSeq::AddRegion(const TRegion& region) {
  RefreshRegionIds();
  TRegion r = region;
  if (r.regId <= 0 || regionIds_->ids.contains(r.regId)) {
    const int largest = regionIds_->ids.empty() ? 0 : *regionIds_->ids.rbegin();
    r.regId = std::max(largest, 0) + 1;
  }
  regions.push_back(std::move(r));
  regionIds_->ids.insert(regions.back().regId);
  NoteRegionListKept();
  return regions.back().regId;
}

int TSeq::AddRegionClipped(const TRegion& region, bool merge) {
  TRegion r = region;
  if (r.regStart > r.regEnd) std::swap(r.regStart, r.regEnd);
  const int len = Length();
  if (r.regEnd <= 0 || r.regStart > len) return -1;
  // Clipped letters shift the frame of the first letter read.
  if (r.regStart < 1) {
    if (!r.regReverse && r.codonPos != 0) r.codonPos = CodonPosAfter(r.codonPos, 1 - r.regStart);
    r.regStart = 1;
  }
  if (r.regEnd > len) {
    if (r.regReverse && r.codonPos != 0) r.codonPos = CodonPosAfter(r.codonPos, r.regEnd - len);
    r.regEnd = len;
  }
  const int id = AddRegion(r);
  if (merge && regions.size() >= 2) MergeRegions();
  return id;
}

int TSeq::AddSimpleRegion(int start, int end, const std::string& comment, const std::string& name,
                          int kind, int codonPos) {
  TRegion r;
  r.regStart = start;
  r.regEnd = end;
  r.regComment = comment;
  r.regName = name;
  r.regType = static_cast<std::uint8_t>(kind);
  r.codonPos = codonPos;
  return AddRegionClipped(r, false);
}

void TSeq::DeleteRegion(int index) {
  if (index < 0 || index >= static_cast<int>(regions.size())) return;
  // Splitting many regions deletes one at a time; keep the id memory instead of rebuilding it.
  const bool kept = regionIds_->count == regions.size() && regionIds_->data == regions.data();
  const auto it = regions.begin() + index;
  const auto known = kept ? regionIds_->ids.find(it->regId) : regionIds_->ids.end();
  if (known != regionIds_->ids.end()) regionIds_->ids.erase(known);
  regions.erase(it);
  if (known != regionIds_->ids.end())
    NoteRegionListKept();
  else
    ForgetRegionIds();
}

void TSeq::DeleteRegionsOfKinds(const std::set<int>& kinds) {
  std::erase_if(regions, [&](const TRegion& r) { return kinds.contains(r.regType); });
}

void TSeq::SortRegions() {
  std::stable_sort(regions.begin(), regions.end(),
                   [](const TRegion& a, const TRegion& b) { return a.regStart < b.regStart; });
}

void TSeq::MergeRegions() {
  for (int pass = 0; pass < 2; ++pass)
    if (!MergePass(regions)) break;
}

void TSeq::CopyRegionsInto(TSeq& target, bool clearFirst) const {
  const std::vector<TRegion> source = regions;  // target may be this sequence
  const int diff = columnShift - target.columnShift;
  if (clearFirst) target.regions.clear();
  for (TRegion r : source) {
    r.regMark = 0;
    r.regStart += diff;
    r.regEnd += diff;
    target.AddRegionClipped(r, false);
  }
}

void TSeq::CopyRegionsTo(TSeq& target, bool clearFirst) {
  for (TRegion& r : regions) r.regMark = 0;
  CopyRegionsInto(target, clearFirst);
}

void TSeq::SpliceKind(int kind) {
  if (!enabled) return;
  SortRegions();
  MergeRegions();
  const int len = Length();
  std::vector<TRegion> kept;
  for (const TRegion& r : regions)
    if (r.regType == kind && r.regStart >= 1 && r.regEnd <= len && r.regStart <= r.regEnd)
      kept.push_back(r);
  // Without a region of the kind there is nothing to splice; an empty result would lose the
  // whole sequence.
  if (kept.empty()) return;
  const bool withPeaks = peakPos.size() >= static_cast<std::size_t>(len);
  const bool withQuality = quality.size() >= static_cast<std::size_t>(len);
  const bool withPoly = polySitePos.size() >= static_cast<std::size_t>(len);
  std::string text;
  std::vector<std::int32_t> peaks, poly;
  std::vector<std::uint8_t> qual;
  for (TRegion& r : kept) {
    const auto from = static_cast<std::size_t>(r.regStart - 1);
    const auto to = static_cast<std::size_t>(r.regEnd);
    const int newStart = static_cast<int>(text.size()) + 1;
    text.append(letters, from, to - from);
    if (withPeaks) peaks.insert(peaks.end(), peakPos.begin() + from, peakPos.begin() + to);
    if (withQuality) qual.insert(qual.end(), quality.begin() + from, quality.begin() + to);
    if (withPoly) poly.insert(poly.end(), polySitePos.begin() + from, polySitePos.begin() + to);
    r.regEnd = newStart + (r.regEnd - r.regStart);
    r.regStart = newStart;
  }
  letters = std::move(text);
  if (withPeaks) peakPos = std::move(peaks);
  if (withQuality) quality = std::move(qual);
  if (withPoly) polySitePos = std::move(poly);
  regions = std::move(kept);
  ForgetRegionIds();
  siteMarks.clear();
  columnShift = 0;
  selStart = 0;
  selLength = 0;
  poorQualityLeft = -1;
  poorQualityRight = -1;
  SyncLength();
  MergeRegions();
}

void TSeq::DeleteKindLetters(int kind, bool allBut) {
  if (!enabled) return;
  const int len = Length();
  if (len == 0) return;
  std::vector<bool> mask(static_cast<std::size_t>(len), false);
  std::vector<bool> keep(static_cast<std::size_t>(len), false);
  auto mark = [&](std::vector<bool>& m, const TRegion& r) {
    const int s = std::max(1, std::min(r.regStart, r.regEnd));
    const int e = std::min(len, std::max(r.regStart, r.regEnd));
    for (int p = s; p <= e; ++p) m[static_cast<std::size_t>(p - 1)] = true;
  };
  for (const TRegion& r : regions) {
    if ((r.regType == kind) != allBut) mark(mask, r);
    if (allBut && r.regType == kind) mark(keep, r);
  }
  if (allBut) {
    // "Delete all non-coding": letters outside every CDS go as well. A letter inside a region of
    // the kept kind stays even when another region covers it.
    for (std::size_t i = 0; i < mask.size(); ++i) {
      if (kind == kRegCds && !keep[i]) mask[i] = true;
      if (keep[i]) mask[i] = false;
    }
  }
  DeleteMaskedLetters(mask);
  MergeRegions();
}

void TSeq::MarkGapRegions() {
  DeleteRegionsOfKinds({kRegIndel});
  const int len = Length();
  for (int p = 1; p <= len;) {
    if (letters[static_cast<std::size_t>(p - 1)] != '-') {
      ++p;
      continue;
    }
    int e = p;
    while (e < len && letters[static_cast<std::size_t>(e)] == '-') ++e;
    AddSimpleRegion(p, e, "", "gap", kRegIndel, 0);
    p = e + 1;
  }
}

int TSeq::TurnCdsForward() {
  std::vector<int> ids;
  for (const TRegion& r : regions)
    if (r.regType == kRegCds && r.regReverse) ids.push_back(r.regId);
  int turned = 0;
  for (int id : ids) {
    const int i = RegionIndexById(id);
    if (i < 0) continue;
    const TRegion& r = regions[static_cast<std::size_t>(i)];
    // A segment turned earlier may already have turned this one.
    if (!r.regReverse || r.regType != kRegCds) continue;
    if (InvertSegment(r.regStart, r.regEnd)) ++turned;
  }
  std::erase_if(regions,
                [](const TRegion& r) { return r.regType == kRegMisc && r.regStart == r.regEnd; });
  return turned;
}
