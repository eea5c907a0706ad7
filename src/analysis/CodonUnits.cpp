// SPDX-License-Identifier: GPL-3.0-or-later
// Codon units of the scan: the codon columns, the sample's codons as classes of rows, the
// analysis of the unit and the synonymous and nonsynonymous positions it adds.
#include <algorithm>
#include <bit>

#include "analysis/SiteScanInternal.h"
#include "model/Datasequnit.h"
#include "model/GenCodUnit.h"

namespace scan_detail {

namespace {

// The first row of the table whose letters cover the column.
const TSeq* FirstCoveringRow(const ScanContext& ctx, const TableScan& t, int column) {
  for (int r = t.letterMask.First(); r >= 0 && r < ctx.rows; ++r) {
    if (!t.letterMask.Test(r)) continue;
    const TSeq* s = ctx.ds.SeqAt(r + 1);
    const int pos = column - s->columnShift;
    if (pos >= 1 && pos <= s->Length()) return s;
  }
  return nullptr;
}

bool PositionSelected(int siteFlags, int u) {
  if (siteFlags & (kSiteAll | kSiteCoding)) return true;
  if (siteFlags & (kSiteFirst << (u - 1))) return true;
  if (siteFlags & kSiteDegen01) return true;
  if ((siteFlags & kSiteDegen2) && (u == 1 || u == 3)) return true;
  return (siteFlags & (kSiteDegen3 | kSiteDegen4)) && u == 3;
}

// Rows of the mask grouped by their codon, in order of each codon's first row.
std::vector<CodonClass> ClassesOf(ScanContext& ctx, const TableScan& t, const int cols[3],
                                  bool reverse) {
  const ColumnSlots* s[3] = {&ctx.SlotsOf(cols[0]), &ctx.SlotsOf(cols[1]), &ctx.SlotsOf(cols[2])};
  const int words = t.slotMask.WordCount();
  std::vector<std::uint64_t> ab(static_cast<std::size_t>(words));
  std::vector<std::pair<int, CodonClass>> found;
  const std::uint64_t* mask = t.slotMask.Words();
  for (std::uint64_t ua = s[0]->used; ua != 0; ua &= ua - 1) {
    const int a = std::countr_zero(ua);
    for (std::uint64_t ub = s[1]->used; ub != 0; ub &= ub - 1) {
      const int b = std::countr_zero(ub);
      bool any = false;
      for (int w = 0; w < words; ++w) {
        ab[static_cast<std::size_t>(w)] = s[0]->Slot(a)[w] & s[1]->Slot(b)[w] & mask[w];
        any = any || ab[static_cast<std::size_t>(w)] != 0;
      }
      if (!any) continue;
      for (std::uint64_t uc = s[2]->used; uc != 0; uc &= uc - 1) {
        const int c = std::countr_zero(uc);
        CodonClass k;
        k.members.Resize(t.slotMask.Size());
        for (int w = 0; w < words; ++w)
          k.members.Words()[w] = ab[static_cast<std::size_t>(w)] & s[2]->Slot(c)[w];
        k.count = k.members.Count();
        if (k.count == 0) continue;
        if (!ctx.slotRows.empty()) k.members = ctx.ToRows(k.members);
        k.codon = {s[0]->letter[static_cast<std::size_t>(a)],
                   s[1]->letter[static_cast<std::size_t>(b)],
                   s[2]->letter[static_cast<std::size_t>(c)]};
        if (reverse)
          for (char& ch : k.codon) ch = ComplementLetter(ch);
        found.emplace_back(k.members.First(), std::move(k));
      }
    }
  }
  std::sort(found.begin(), found.end(),
            [](const auto& x, const auto& y) { return x.first < y.first; });
  std::vector<CodonClass> classes;
  for (auto& f : found) classes.push_back(std::move(f.second));
  return classes;
}

}  // namespace

void ScanCodonUnit(ScanContext& ctx, TableScan& t, int column) {
  tmutholder& table = *t.table;
  const AnalysisOptions& opt = ctx.options;
  t.consumed[static_cast<std::size_t>(column)] = true;
  const TSeq* first = FirstCoveringRow(ctx, t, column);
  int cols[3];
  bool reverse = false;
  if (first == nullptr || !CodonColumnsOf(*first, column, cols, reverse)) return;
  const int lo = std::min({cols[0], cols[1], cols[2]});
  const int hi = std::max({cols[0], cols[1], cols[2]});
  // A codon that began before this column was cut by the start of the region or the scan.
  if (lo < column) return;
  for (int c : cols)
    if (c < static_cast<int>(t.consumed.size())) t.consumed[static_cast<std::size_t>(c)] = true;
  if (hi > t.endColumn) return;
  if (!(opt.siteFlags & (kSiteAll | kSiteCoding | kSiteCodonPositions))) return;
  // Every row must read the same three columns as this codon, on the same strand, with nothing
  // coding in between.
  for (int p = 1; p <= 3; ++p)
    if (!t.coding->AllAt(cols[p - 1], p, reverse)) return;
  for (int c = lo + 1; c < hi; ++c)
    if (c != cols[0] && c != cols[1] && c != cols[2] && !t.coding->NoCoding(c)) return;

  CodonUnit unit;
  std::copy(cols, cols + 3, unit.columns);
  unit.classes = ClassesOf(ctx, t, cols, reverse);
  for (const CodonClass& k : unit.classes) {
    const bool gap = k.codon.find('-') != std::string::npos;
    if (gap && opt.indelMode != 1 && opt.indelMode != 2) return;
    if (opt.ambiguityMode == 1 &&
        std::any_of(k.codon.begin(), k.codon.end(), [](char ch) { return IsAmbiguityLetter(ch); }))
      return;
    if (t.outgroup > 0 && k.members.Test(t.outgroup - 1)) unit.outgroupCodon = k.codon;
  }
  unit.outgroupIndex = t.outgroup;
  const CodonScanChoices choices{opt.siteFlags, opt.mutationFlags, opt.indelMode,
                                 ctx.choices.multiDifferenceCodons};
  const bool accepted = AnalyseCodon(table, unit, ctx.code, choices, ctx.rng);

  for (int u = 1; u <= 3; ++u) {
    if (!PositionSelected(opt.siteFlags, u)) continue;
    const int c = cols[u - 1];
    if (c >= 1 && c <= static_cast<int>(table.siteAnalysed.size()))
      table.siteAnalysed[static_cast<std::size_t>(c - 1)] = accepted;
    if (!accepted) continue;
    double j = 0;
    if (u != 2) {
      double sum = 0;
      int n = 0;
      for (const CodonClass& k : unit.classes) {
        const double f = ctx.code.SynonymousFraction(k.codon, u);
        if (f < 0 || f > 1) continue;  // undefined for this codon
        sum += f * k.count;
        n += k.count;
      }
      j = n > 0 ? sum / n : -1;
    }
    if (j > -1) {
      table.synPositions += j;
      table.nonsynPositions += 1 - j;
      ++table.positionsCounted;
    }
  }
  if (!accepted) return;
  ++table.codonCount;
  const bool all = opt.siteFlags & (kSiteAll | kSiteCoding);
  if (all || (opt.siteFlags & kSiteFirst)) ++table.firstPosCount;
  if (all || (opt.siteFlags & kSiteSecond)) ++table.secondPosCount;
  if (all || (opt.siteFlags & kSiteThird)) ++table.thirdPosCount;
}

}  // namespace scan_detail
