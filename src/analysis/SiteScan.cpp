// SPDX-License-Identifier: GPL-3.0-or-later
// UpdateMuts: one pass over the columns fills every table of a dataset (UpdateGroupTables: the
// tables of one group, in their place among the others). Each block of columns
// is copied out of the rows once and each column turned into letter bit sets once; the tables
// (groups, with and without the outgroup) then only mask and count.
#include <algorithm>
#include <optional>

#include "analysis/SiteScanInternal.h"
#include "common/PlatformRandom.h"
#include "common/StepTicker.h"
#include "model/DataProjUnit.h"
#include "model/Datasequnit.h"

namespace scan_detail {

ScanContext::ScanContext(TDataSeq& d, const AnalysisOptions& o, const ScanChoices& c,
                         const TGenCode& g, PlatformRandom& r, std::vector<int> readRows)
    : ds(d),
      options(o),
      choices(c),
      code(g),
      rng(r),
      rows(d.Count()),
      slotRows(std::move(readRows)),
      block(d, slotRows.empty() ? nullptr : &slotRows) {}

samptype ScanContext::ToSlots(const samptype& datasetRows) const {
  if (slotRows.empty()) return datasetRows;
  samptype out(static_cast<int>(slotRows.size()));
  for (std::size_t k = 0; k < slotRows.size(); ++k)
    if (datasetRows.Test(slotRows[k])) out.Set(static_cast<int>(k));
  return out;
}

int ScanContext::SlotOf(int row) const {
  if (slotRows.empty()) return row;
  const auto it = std::lower_bound(slotRows.begin(), slotRows.end(), row);
  return it != slotRows.end() && *it == row ? static_cast<int>(it - slotRows.begin()) : -1;
}

samptype ScanContext::ToRows(const samptype& slots) const {
  if (slotRows.empty()) return slots;
  samptype out(rows);
  AddCarriers(out, slots.Words(), slots);
  return out;
}

void ScanContext::AddCarriers(samptype& m, const std::uint64_t* bits,
                              const samptype& slotMask) const {
  const std::uint64_t* mask = slotMask.Words();
  if (slotRows.empty()) {
    for (int w = 0; w < m.WordCount(); ++w) m.Words()[w] |= bits[w] & mask[w];
    return;
  }
  for (int w = 0; w < slotMask.WordCount(); ++w)
    for (std::uint64_t x = bits[w] & mask[w]; x != 0; x &= x - 1)
      m.Set(slotRows[static_cast<std::size_t>(w * 64 + std::countr_zero(x))]);
}

const ColumnSlots& ScanContext::SlotsOf(int column) {
  ++clock_;
  std::size_t victim = 0;
  for (std::size_t i = 0; i < cache_.size(); ++i) {
    if (cache_[i].column == column && stamp_[i] > 0) {
      stamp_[i] = clock_;
      return cache_[i];
    }
    if (stamp_[i] < stamp_[victim]) victim = i;
  }
  const char* letters = nullptr;
  if (block.Holds(column)) {
    letters = block.Column(column);
  } else {
    block.ReadColumn(column, scratch_);
    letters = scratch_.data();
  }
  cache_[victim].Build(column, letters, block.Rows());
  stamp_[victim] = clock_;
  return cache_[victim];
}

}  // namespace scan_detail

using namespace scan_detail;

namespace {

// Columns copied into the scan's block at a time: up to 64, fewer when the rows are many, so
// the block stays near a megabyte beside the tables.
constexpr int kMaxBlockColumns = 64;
constexpr int kBlockBytes = 1 << 20;

bool IsSnpDataset(const TDataSeq& ds) {
  for (int r = 1; r <= ds.Count(); ++r)
    if (ds.SeqAt(r)->seqType == kSeqSnp) return true;
  return false;
}

// Last column a row of the mask covers.
int LastColumnOf(const TDataSeq& ds, const samptype& mask) {
  int last = 0;
  for (int r = 0; r < mask.Size(); ++r)
    if (mask.Test(r)) {
      const TSeq* s = ds.SeqAt(r + 1);
      last = std::max(last, s->columnShift + s->Length());
    }
  return last;
}

// Stored site position of a column of a SNP dataset, from the first row that has one.
int StoredPosition(const TDataSeq& ds, const samptype& mask, int column) {
  for (int r = 0; r < mask.Size(); ++r) {
    if (!mask.Test(r)) continue;
    const TSeq* s = ds.SeqAt(r + 1);
    const int pos = column - s->columnShift;
    if (pos >= 1 && pos <= static_cast<int>(s->polySitePos.size()))
      return s->polySitePos[static_cast<std::size_t>(pos - 1)];
  }
  return column;
}

void Finish(TableScan& t, bool snp) {
  tmutholder& table = *t.table;
  const int outgroupBit = t.outgroup - 1;
  for (tmutation& m : table.mutations) {
    if (m.outgroupIndex <= 0 || m.outgroupLetter == 'N' || m.derivedLetter != m.outgroupLetter)
      continue;
    if (m.CountAnd(table.sampleMask) == 0) continue;
    // Polarised the wrong way round: the outgroup's state is the ancestral one.
    for (int w = 0; w < m.WordCount(); ++w) m.Words()[w] = ~m.Words()[w] & t.letterMask.Words()[w];
    if (outgroupBit >= 0) m.Set(outgroupBit, false);
    m.carrierCount = m.Count();
    std::swap(m.ancestralLetter, m.derivedLetter);
  }
  std::stable_sort(table.mutations.begin(), table.mutations.end(),
                   [](const tmutation& a, const tmutation& b) { return a.position < b.position; });
  if (snp) {
    table.spanCounting = true;
    table.positionsCounted = table.mutations.empty() ? 0
                                                     : table.mutations.back().position -
                                                           table.mutations.front().position + 1;
  }
  if (t.outgroup > 0 && table.groupId == -1) table.groupId = t.outgroup;
}

// Group 0 first, then each key of groupIds once: the order of ds.mutHolders.
std::vector<int> TableGroups(const std::vector<int>& groupIds) {
  std::vector<int> groups{0};
  for (int g : groupIds)
    if (std::find(groups.begin(), groups.end(), g) == groups.end()) groups.push_back(g);
  return groups;
}

MutHolderPtr EmptyTable(int groupId) {
  MutHolderPtr holder(std::make_unique<tmutholder>().release(), &DeleteMutHolder);
  holder->groupId = groupId;
  return holder;
}

// One pass over the columns into new tables of the given groups, in their order, and, when an
// enabled outgroup exists, a divergence table for each. False when the user cancelled; both
// lists are then empty.
bool ScanTables(TDataSeq& ds, const AnalysisOptions& options, const TDataProj* project,
                const std::vector<int>& groups, const ScanChoices& choices, PlatformRandom& rng,
                std::vector<MutHolderPtr>& tables, std::vector<MutHolderPtr>& divergence) {
  const int n = ds.Count();
  Services& svc = ds.GetServices();
  AnalysisOptions opt = options;
  const bool snp = IsSnpDataset(ds);
  int lastPosition = ds.AlignmentLength(true);
  if (snp) {
    int firstSite = 0;
    lastPosition = ds.PolySiteRange(firstSite);
  }
  opt.regionFrom = std::max(1, opt.regionFrom);
  if (opt.regionTo <= 0 || opt.regionTo > lastPosition) opt.regionTo = lastPosition;

  std::vector<bool> outgroup(static_cast<std::size_t>(n), false);
  int firstOutgroup = -1;
  for (int r = 1; r <= n; ++r) {
    const TSeq* s = ds.SeqAt(r);
    outgroup[static_cast<std::size_t>(r - 1)] = project != nullptr && project->IsOutgroup(ds, r);
    if (outgroup[static_cast<std::size_t>(r - 1)] && s->enabled && firstOutgroup < 0)
      firstOutgroup = r;
  }
  auto inGroup = [&](int r, int g) {
    if (g == 0) return true;
    const TSeq* s = ds.SeqAt(r);
    return project != nullptr ? project->IsInGroup(ds, s->seqId, true, g) : s->groupNum == g;
  };

  std::vector<std::vector<CodingRun>> runs;
  if (opt.useRegions && !snp) runs = BuildCodingRuns(ds);
  const bool codons = !runs.empty();

  std::vector<TableScan> scans;
  auto addTables = [&](std::vector<MutHolderPtr>& list, int outgroupRow) {
    for (int g : groups) {
      MutHolderPtr holder = EmptyTable(g);
      tmutholder& table = *holder;
      table.maxMutations = ds.MutHolderLimit();
      if (outgroupRow > 0) table.message = ds.NameAt(outgroupRow);
      const std::size_t messageStart = table.message.size();
      TableScan t;
      t.table = &table;
      t.outgroup = outgroupRow;
      t.messageStart = messageStart;
      table.sampleMask.Resize(n);
      t.letterMask.Resize(n);
      for (int r = 1; r <= n; ++r) {
        const TSeq* s = ds.SeqAt(r);
        const bool isOut = outgroup[static_cast<std::size_t>(r - 1)];
        if (!s->enabled) continue;
        if (isOut && outgroupRow > 0 && r != outgroupRow) continue;
        const bool ownOutgroup = isOut && (outgroupRow == r || outgroupRow < 0);
        if (!ownOutgroup && !inGroup(r, g)) continue;
        table.sampleMask.Set(r - 1);
        const bool letters = !isOut || r == outgroupRow || choices.includeOutgroupsInSample;
        if (letters) t.letterMask.Set(r - 1);
      }
      const int last = LastColumnOf(ds, t.letterMask);
      table.siteAnalysed.assign(static_cast<std::size_t>(last), false);
      // A simple scan records every analysed column, so the limit on mutations must not cut
      // off the columns of a long alignment.
      if (choices.simple) table.maxMutations = std::max(table.maxMutations, last);
      t.endColumn = snp ? last : std::min(last, opt.regionTo);
      t.consumed.assign(static_cast<std::size_t>(last) + 1, false);
      if (codons) t.coding = std::make_unique<CodingAgreement>(runs, t.letterMask, last);
      list.push_back(std::move(holder));
      scans.push_back(std::move(t));
    }
  };
  addTables(tables, -1);
  if (firstOutgroup > 0) addTables(divergence, firstOutgroup);
  runs.clear();
  // Rows no table reads (the other groups' when one group is scanned) are left out of the
  // column block and sets when they are many, so such a pass costs what the group's rows do.
  samptype read(n);
  for (const TableScan& t : scans)
    for (int w = 0; w < read.WordCount(); ++w) read.Words()[w] |= t.letterMask.Words()[w];
  std::vector<int> readRows;
  if (const int count = read.Count(); count > 0 && 4 * count < 3 * n) {
    readRows.reserve(static_cast<std::size_t>(count));
    for (int r = 0; r < n; ++r)
      if (read.Test(r)) readRows.push_back(r);
  }
  ScanContext ctx(ds, opt, choices, svc.genCode, rng, std::move(readRows));
  ctx.snp = snp;
  for (TableScan& t : scans) {
    t.slotMask = ctx.ToSlots(t.letterMask);
    if (t.outgroup > 0) t.outgroupSlot = ctx.SlotOf(t.outgroup - 1);
  }
  // Divergence tables first, as the program always filled them.
  std::rotate(scans.begin(), scans.begin() + static_cast<long>(groups.size()), scans.end());

  int firstColumn = snp ? 1 : opt.regionFrom;
  int endColumn = 0;
  for (const TableScan& t : scans) endColumn = std::max(endColumn, t.endColumn);
  std::optional<ProgressScope> bar;
  if (opt.showProgress)
    bar.emplace(svc.progress, std::max(0, endColumn - firstColumn),
                "Searching for polymorphisms...");
  // Without a bar of its own (one of several datasets) the scan still lets events through and
  // sees a cancel; a cancelled scan leaves no tables.
  StepTicker ticker(bar ? nullptr : &svc.progress, "Searching for polymorphisms in " + ds.dsName,
                    endColumn - firstColumn + 1);
  const auto cancelled = [&] {
    scans.clear();
    tables.clear();
    divergence.clear();
    return false;
  };

  const int blockColumns =
      std::clamp(kBlockBytes / std::max(ctx.block.Rows(), 1), 8, kMaxBlockColumns);
  for (int c0 = firstColumn; c0 <= endColumn; c0 += blockColumns) {
    // Two extra columns so a codon starting in this block is read from it.
    ctx.block.Fill(c0, std::min(blockColumns, endColumn - c0 + 1) + 2);
    const int c1 = std::min(endColumn, c0 + blockColumns - 1);
    for (int c = c0; c <= c1; ++c) {
      if (bar) {
        bar->Step((c & 255) == 0);
        if ((c & 255) == 0 && svc.progress.cancelRequested()) return cancelled();
      } else if (ticker.Tick(c - firstColumn)) {
        return cancelled();
      }
      int stored = c;
      bool storedKnown = false;
      for (TableScan& t : scans) {
        if (c > t.endColumn) continue;
        tmutholder& table = *t.table;
        if (static_cast<int>(table.mutations.size()) > table.maxMutations) {
          // The outgroup's name that opens a divergence table's message gives way; codon
          // warnings stay in front.
          if (!t.full)
            table.message =
                table.message.substr(t.messageStart) + "Exceeded max number of mutations";
          t.full = true;
          continue;
        }
        if (snp) {
          if (!storedKnown) stored = StoredPosition(ds, t.letterMask, c);
          storedKnown = true;
          if (stored < opt.regionFrom || stored > opt.regionTo) continue;
          ScanSingleSite(ctx, t, c, stored);
          continue;
        }
        if (t.consumed[static_cast<std::size_t>(c)]) continue;
        const int agreed = codons ? t.coding->AgreedPosition(c) : -1;
        if (agreed >= 1)
          ScanCodonUnit(ctx, t, c);
        else if (opt.siteFlags & (kSiteAll | kSiteNoncoding))
          ScanSingleSite(ctx, t, c, c);
      }
    }
  }

  bool reported = false;
  for (TableScan& t : scans) {
    Finish(t, snp);
    if (t.full && !reported) {
      svc.messages.ReportError(t.table->message + " in " + ds.dsName);
      reported = true;
    }
  }
  return true;
}

}  // namespace

bool UpdateMuts(TDataSeq& ds, const AnalysisOptions& options, const TDataProj* project,
                const std::vector<int>& groupIds, const ScanChoices& choices, PlatformRandom* rng) {
  ds.mutHolders.clear();
  ds.groupMutHolders.clear();
  if (ds.Count() <= 0) return false;
  if (project == nullptr) project = ds.project;
  std::optional<PlatformRandom> own;
  if (rng == nullptr) rng = &own.emplace(PlatformRandom::FromClock());
  return ScanTables(ds, options, project, TableGroups(groupIds), choices, *rng, ds.mutHolders,
                    ds.groupMutHolders);
}

bool UpdateGroupTables(TDataSeq& ds, const AnalysisOptions& options, const TDataProj* project,
                       const std::vector<int>& groupIds, int index, const ScanChoices& choices,
                       PlatformRandom* rng, bool alone) {
  const std::vector<int> groups = TableGroups(groupIds);
  const auto slot = static_cast<std::size_t>(index);
  if (index < 0 || slot >= groups.size() || ds.Count() <= 0 || ds.mutHolders.empty()) return false;
  if (project == nullptr) project = ds.project;
  std::optional<PlatformRandom> own;
  if (rng == nullptr) rng = &own.emplace(PlatformRandom::FromClock());
  const bool withDivergence = !ds.groupMutHolders.empty();
  for (auto* list : {&ds.mutHolders, &ds.groupMutHolders}) {
    if (list->empty()) continue;
    for (std::size_t k = list->size(); k < groups.size(); ++k)
      list->push_back(EmptyTable(groups[k]));
    // The others go before the scan, so its tables are the only ones held.
    if (alone)
      for (std::size_t k = 0; k < groups.size(); ++k)
        if (k != slot) (*list)[k] = EmptyTable(groups[k]);
  }
  std::vector<MutHolderPtr> tables, divergence;
  if (!ScanTables(ds, options, project, {groups[slot]}, choices, *rng, tables, divergence))
    return false;
  ds.mutHolders[slot] = std::move(tables.front());
  if (withDivergence && !divergence.empty())
    ds.groupMutHolders[slot] = std::move(divergence.front());
  return true;
}
