// SPDX-License-Identifier: GPL-3.0-or-later
// Codon-position runs of the rows and their per-column sums.
#include "analysis/CodingMap.h"

#include <algorithm>

#include "model/Datasequnit.h"

namespace {

bool DecidesCodonPos(int kind) {
  return kind == kRegCds || kind == kRegNoncoding || kind == kRegIntron || kind == kRegOrf;
}

int Mod3(int x) {
  return ((x % 3) + 3) % 3;
}

// The region CodonPosAt reads at pos: the last one of a deciding kind containing it.
const TRegion* GoverningRegion(const TSeq& seq, int pos) {
  for (auto it = seq.regions.rbegin(); it != seq.regions.rend(); ++it) {
    if (!DecidesCodonPos(it->regType)) continue;
    if (pos >= std::min(it->regStart, it->regEnd) && pos <= std::max(it->regStart, it->regEnd))
      return &*it;
  }
  return nullptr;
}

}  // namespace

std::vector<std::vector<CodingRun>> BuildCodingRuns(const TDataSeq& ds) {
  // Without a region that decides codon positions every column is a single site: no runs are
  // kept (a run of every row would cost an allocation per row for nothing).
  bool any = false;
  for (int r = 1; r <= ds.Count() && !any; ++r)
    for (const TRegion& g : ds.SeqAt(r)->regions)
      if (DecidesCodonPos(g.regType)) {
        any = true;
        break;
      }
  if (!any) return {};
  std::vector<std::vector<CodingRun>> runs(static_cast<std::size_t>(ds.Count()));
  std::vector<int> cuts;
  for (int r = 1; r <= ds.Count(); ++r) {
    const TSeq& s = *ds.SeqAt(r);
    const int len = s.Length();
    if (len == 0) continue;
    // Cut at every bound of a deciding region, and single out each region's end letters:
    // there the codon-position arithmetic may differ from the periodic rule.
    cuts.assign({1, len + 1});
    for (const TRegion& g : s.regions) {
      if (!DecidesCodonPos(g.regType)) continue;
      const int lo = std::min(g.regStart, g.regEnd), hi = std::max(g.regStart, g.regEnd);
      for (int c : {lo, lo + 1, hi, hi + 1})
        if (c >= 1 && c <= len + 1) cuts.push_back(c);
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    auto& out = runs[static_cast<std::size_t>(r - 1)];
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
      const int a = cuts[i], b = cuts[i + 1] - 1;
      const int v = s.CodonPosAt(a);
      CodingRun run{a + s.columnShift, b + s.columnShift, -1, 0};
      if (v == 0) {
        run.kind = 0;
      } else if (v > 0) {
        const TRegion* g = GoverningRegion(s, a);
        const bool reverse = g != nullptr && (g->regReverse || g->regStart > g->regEnd);
        run.kind = reverse ? 2 : 1;
        run.phase =
            static_cast<std::int8_t>(reverse ? Mod3(v - 1 + run.first) : Mod3(v - 1 - run.first));
      }
      if (!out.empty() && out.back().kind == run.kind && out.back().phase == run.phase &&
          out.back().last + 1 == run.first)
        out.back().last = run.last;
      else
        out.push_back(run);
    }
  }
  return runs;
}

CodingAgreement::CodingAgreement(const std::vector<std::vector<CodingRun>>& runs,
                                 const samptype& mask, int lastColumn)
    : last_(lastColumn) {
  counts_.assign(static_cast<std::size_t>(lastColumn + 2) * kCount, 0);
  auto add = [&](int column, int k, int d) {
    if (column < 1) column = 1;
    if (column > last_ + 1) return;
    counts_[static_cast<std::size_t>(column) * kCount + k] += d;
  };
  for (std::size_t r = 0; r < runs.size(); ++r) {
    if (!mask.Test(static_cast<int>(r))) continue;
    for (const CodingRun& run : runs[r]) {
      if (run.last < 1 || run.first > last_) continue;
      int k = kNone;
      if (run.kind == 0)
        k = kNoncoding;
      else if (run.kind == 1)
        k = kFwd0 + run.phase;
      else if (run.kind == 2)
        k = kRev0 + run.phase;
      add(run.first, kCover, 1);
      add(run.last + 1, kCover, -1);
      add(run.first, k, 1);
      add(run.last + 1, k, -1);
    }
  }
  for (int c = 1; c <= last_ + 1; ++c)
    for (int k = 0; k < kCount; ++k)
      counts_[static_cast<std::size_t>(c) * kCount + k] +=
          counts_[static_cast<std::size_t>(c - 1) * kCount + k];
}

int CodingAgreement::At(int column, int k) const {
  if (column < 1 || column > last_) return 0;
  return counts_[static_cast<std::size_t>(column) * kCount + k];
}

int CodingAgreement::AgreedPosition(int column) const {
  const int cover = At(column, kCover);
  if (cover == 0) return -1;
  if (At(column, kNoncoding) == cover) return 0;
  for (int p = 1; p <= 3; ++p) {
    const int n =
        At(column, kFwd0 + Mod3(p - 1 - column)) + At(column, kRev0 + Mod3(p - 1 + column));
    if (n == cover) return p;
  }
  return -1;
}

bool CodingAgreement::AllAt(int column, int p, bool reverse) const {
  const int cover = At(column, kCover);
  const int n =
      reverse ? At(column, kRev0 + Mod3(p - 1 + column)) : At(column, kFwd0 + Mod3(p - 1 - column));
  return n == cover;
}

bool CodingAgreement::NoCoding(int column) const {
  for (int k = kFwd0; k < kCount; ++k)
    if (At(column, k) != 0) return false;
  return true;
}

bool CodonColumnsOf(const TSeq& seq, int column, int columns[3], bool& reverse) {
  const int pos = column - seq.columnShift;
  const int cp = seq.CodonPosAt(pos);
  const TRegion* g = GoverningRegion(seq, pos);
  if (cp < 1 || cp > 3 || g == nullptr) return false;
  reverse = g->regReverse || g->regStart > g->regEnd;
  const int dir = reverse ? -1 : 1;  // letter step that advances the codon position
  columns[cp - 1] = column;
  const int len = seq.Length();
  for (int side : {1, -1}) {
    int q = pos;
    for (int p = cp + side; p >= 1 && p <= 3; p += side) {
      q += dir * side;
      while (q >= 1 && q <= len && seq.CodonPosAt(q) <= 0) q += dir * side;
      if (q < 1 || q > len || seq.CodonPosAt(q) != p) return false;
      columns[p - 1] = q + seq.columnShift;
    }
  }
  return true;
}
