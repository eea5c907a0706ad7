// SPDX-License-Identifier: GPL-3.0-or-later
// Single sites of the scan: variants of a column from its letter bit sets, outgroup
// orientation, and one mutation per variant after the first.
#include <algorithm>
#include <cctype>

#include "analysis/SiteScanInternal.h"

namespace scan_detail {

namespace {

struct Variant {
  int first = 0;
  char letter = 0;
  int count = 0;
  int slot = 0;
};

}  // namespace

void ScanSingleSite(ScanContext& ctx, TableScan& t, int column, int storedPosition) {
  tmutholder& table = *t.table;
  const AnalysisOptions& opt = ctx.options;
  const ColumnSlots& col = ctx.SlotsOf(column);
  std::vector<Variant> variants;
  std::string ambiguity;
  for (std::uint64_t u = col.used; u != 0; u &= u - 1) {
    const int s = std::countr_zero(u);
    const int n = col.CountIn(s, t.slotMask);
    if (n == 0) continue;
    const char letter = col.letter[static_cast<std::size_t>(s)];
    if (SlotIsAmbiguity(s)) {
      ambiguity += letter;
      continue;
    }
    variants.push_back({col.FirstIn(s, t.slotMask), letter, n, s});
  }
  std::sort(variants.begin(), variants.end(),
            [](const Variant& a, const Variant& b) { return a.first < b.first; });
  std::string letters;
  std::vector<int> counts;
  for (const Variant& v : variants) {
    letters += v.letter;
    counts.push_back(v.count);
  }
  OrderVariants(letters, counts);
  auto slotOf = [&](char letter) {
    for (const Variant& v : variants)
      if (v.letter == letter) return v.slot;
    return -1;
  };

  bool hasAmbiguity = !ambiguity.empty();
  if (hasAmbiguity && opt.ambiguityMode == 1) return;
  const bool hasGap = letters.find('-') != std::string::npos;
  if (hasGap && opt.indelMode != 1 && opt.indelMode != 2) return;
  if (hasAmbiguity) hasAmbiguity = AmbiguityStays(ambiguity, letters);
  if (letters.size() > 1 && hasGap && opt.indelMode == 1) {
    const std::size_t at = letters.find('-');
    letters.erase(at, 1);
    counts.erase(counts.begin() + static_cast<long>(at));
  }

  // Orientation: the outgroup's letter leads when it is one of the variants. A missing,
  // ambiguous or discarded letter cannot tell which variant is ancestral, so such a site stays
  // unoriented rather than making the majority look derived.
  bool oriented = false;
  char outgroupLetter = 'N';
  if (t.outgroup > 0) {
    const char raw = ctx.block.Column(column)[t.outgroupSlot];
    const char up = static_cast<char>(std::toupper(static_cast<unsigned char>(raw)));
    const std::size_t at = letters.find(up);
    if (up != '!' && at != std::string::npos) {
      oriented = true;
      outgroupLetter = up;
      std::rotate(letters.begin(), letters.begin() + static_cast<long>(at),
                  letters.begin() + static_cast<long>(at) + 1);
      std::rotate(counts.begin(), counts.begin() + static_cast<long>(at),
                  counts.begin() + static_cast<long>(at) + 1);
    }
  }

  samptype ingroup = t.letterMask;
  if (oriented) ingroup.Set(t.outgroup - 1, false);
  const std::size_t k = letters.size();
  auto fill = [&](tmutation& m, char derived) {
    m.position = storedPosition;
    m.mutationClass = kMutClassNoncoding;
    m.siteClass = kClassNoncodingSite;
    m.isSilent = true;
    m.hasAmbiguity = hasAmbiguity;
    m.hasGap = hasGap;
    m.ancestralLetter = k > 0 ? letters[0] : 'N';
    m.derivedLetter = derived;
    m.isTransition = IsTransitionPair(m.ancestralLetter, m.derivedLetter);
    if (oriented) {
      m.outgroupIndex = t.outgroup;
      m.outgroupLetter = outgroupLetter;
    }
  };
  auto carriersOf = [&](tmutation& m, int slot) {  // adds the slot's rows to the carriers
    if (m.Size() != ctx.rows) m.Resize(ctx.rows);
    if (slot >= 0) ctx.AddCarriers(m, col.Slot(slot), t.slotMask);
  };

  if (ctx.choices.simple) {
    // One record per analysed site: the carriers of every variant but the first.
    tmutation m;
    fill(m, k > 1 ? letters[1] : (k > 0 ? letters[0] : 'N'));
    m.Resize(ctx.rows);
    for (std::size_t u = 1; u < k; ++u) carriersOf(m, slotOf(letters[u]));
    m.carrierCount = m.Count();
    table.mutations.push_back(std::move(m));
  } else {
    for (std::size_t u = 1; u < k; ++u) {
      tmutation m;
      fill(m, letters[u]);
      carriersOf(m, slotOf(letters[u]));
      m.carrierCount = m.Count();
      if (oriented) {
        m.isSingleton = m.carrierCount == 1;
        m.isFixed = !m.Test(t.outgroup - 1) && static_cast<const samptype&>(m) == ingroup;
        m.isExcluded = k > 2 && counts[0] == 1;
      }
      table.mutations.push_back(std::move(m));
    }
  }
  if (column >= 1 && column <= static_cast<int>(table.siteAnalysed.size()))
    table.siteAnalysed[static_cast<std::size_t>(column - 1)] = true;
  ++table.noncodingPositions;
  ++table.positionsCounted;
}

}  // namespace scan_detail
