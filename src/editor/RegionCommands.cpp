// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/RegionCommands.h"

#include <set>
#include <vector>

#include "analysis/MutUnit.h"
#include "editor/CommandSupport.h"

namespace {
TRegion MakeAssigned(int start, int end, int kind, int codonPos, const std::string& name) {
  TRegion r;
  r.regStart = start;
  r.regEnd = end;
  r.regType = static_cast<std::uint8_t>(kind);
  r.regReverse = false;
  r.codonPos = codonPos;
  r.regName = name;
  return r;
}

bool HasBlock(const TSeq& s) {
  return s.selStart > 0 && s.selLength > 0;
}

// Adds the region over every enabled row's block; the snapshot is taken before the first.
int AssignOverBlocks(EditorContext& ctx, TDataSeq& ds, int kind, int codonPos,
                     const std::string& name) {
  int added = 0;
  for (int r = 1; r <= ds.Count(); ++r) {
    const TSeq& s = *ds.SeqAt(r);
    if (!s.enabled || !HasBlock(s)) continue;
    if (added == 0) ds.SaveUndo();
    if (ds.AddRegionClipped(
            r, MakeAssigned(s.selStart, s.selStart + s.selLength - 1, kind, codonPos, name)) >= 0)
      ++added;
  }
  if (added > 0) ctx.modified = true;
  return added;
}

// One-letter regions at the given alignment columns in every enabled row that is not an
// outgroup and has a letter there.
int MarkColumns(EditorContext& ctx, TDataSeq& ds, const std::vector<int>& columns, int kind,
                const std::string& name) {
  int added = 0;
  bool saved = false;
  for (int r = 1; r <= ds.Count(); ++r) {
    const TSeq& s = *ds.SeqAt(r);
    if (!s.enabled || ds.IsOutgroup(r)) continue;
    for (int column : columns) {
      const int pos = column - s.columnShift;
      if (pos < 1 || pos > s.Length()) continue;
      if (!saved) {
        ds.SaveUndo();
        saved = true;
      }
      if (ds.AddRegionClipped(r, MakeAssigned(pos, pos, kind, 0, name)) >= 0) ++added;
    }
  }
  if (added > 0) ctx.modified = true;
  return added;
}

// The No path of SNP and indel marking: blocks, else the cursor in the selected rows, else
// the cursor in the current row.
int MarkHere(EditorContext& ctx, TDataSeq& ds, int kind, const std::string& name) {
  if (ds.BlockCount() > 0) return AssignOverBlocks(ctx, ds, kind, 0, name);
  int added = 0;
  const int column = ds.cursorPos + ds.SeqAt(ds.currentRow)->columnShift;
  for (int r : EnabledTargetRowsOf(ds)) {
    const int pos = r == ds.currentRow ? ds.cursorPos : column - ds.SeqAt(r)->columnShift;
    if (pos < 1 || pos > ds.SeqAt(r)->Length()) continue;
    if (added == 0) ds.SaveUndo();
    if (ds.AddRegionClipped(r, MakeAssigned(pos, pos, kind, 0, name)) >= 0) ++added;
  }
  if (added > 0) ctx.modified = true;
  return added;
}

std::vector<int> PolymorphicColumns(TDataSeq& ds, bool excludeIndels) {
  AnalysisOptions options;
  options.useRegions = false;
  options.indelMode = excludeIndels ? 0 : 2;
  ScanChoices choices;
  std::set<int> columns;
  if (UpdateMuts(ds, options, nullptr, {}, choices) && !ds.mutHolders.empty() &&
      ds.mutHolders[0] != nullptr)
    for (const tmutation& m : ds.mutHolders[0]->mutations) columns.insert(m.position);
  return {columns.begin(), columns.end()};
}

// Columns where some analysed rows have a gap and others a letter.
std::vector<int> IndelColumns(const TDataSeq& ds) {
  std::vector<int> columns;
  const int length = ds.AlignmentLength(true);
  for (int c = 1; c <= length; ++c) {
    const std::string letters = ds.ColumnLetters(c, 0);
    bool gap = false, letter = false;
    for (int r = 1; r <= ds.Count(); ++r) {
      const char l = letters[static_cast<std::size_t>(r - 1)];
      if (l == '!' || ds.IsOutgroup(r)) continue;
      (l == '-' ? gap : letter) = true;
    }
    if (gap && letter) columns.push_back(c);
  }
  return columns;
}

std::set<int> KindsOf(RegionRemoval which) {
  switch (which) {
    case RegionRemoval::Exons:
      return {kRegExon};
    case RegionRemoval::Introns:
      return {kRegIntron};
    case RegionRemoval::Genes:
      return {kRegGene};
    case RegionRemoval::Cds:
      return {kRegCds};
    case RegionRemoval::Misc:
      return {kRegMisc};
    case RegionRemoval::All:
      break;
  }
  std::set<int> all;
  for (int k = 0; k < kRegionKindCount; ++k) all.insert(k);
  return all;
}

const char* RemovalWords(RegionRemoval which) {
  switch (which) {
    case RegionRemoval::Exons:
      return "exon assignments";
    case RegionRemoval::Introns:
      return "intron assignments";
    case RegionRemoval::Genes:
      return "gene assignment";
    case RegionRemoval::Cds:
      return "CDS assignments";
    case RegionRemoval::Misc:
      return "misc region assignments";
    case RegionRemoval::All:
      break;
  }
  return "functional region assignments";
}

bool EditableDataset(EditorContext& ctx) {
  TDataSeq* ds = CommandDataset(ctx);
  return ds != nullptr && ds->SeqAt(ds->currentRow) != nullptr && !ctx.locked;
}

// Runs op on each enabled row of the datasets, each dataset snapshotted first.
template <typename Op>
void ForEnabledRows(EditorContext& ctx, const std::vector<TDataSeq*>& scope, Op op) {
  ForEachDataset(ctx, scope, [&](TDataSeq& ds) {
    ds.SaveUndo();
    for (int r = 1; r <= ds.Count(); ++r)
      if (ds.SeqAt(r)->enabled) op(*ds.SeqAt(r));
    ds.LettersChanged();
  });
}
}  // namespace

int AssignRegion(EditorContext& ctx, const RegionAssignment& region) {
  if (!EditableDataset(ctx)) return 0;
  return AssignOverBlocks(ctx, *CommandDataset(ctx), region.kind, region.codonPos, region.name);
}

int AssignSnps(EditorContext& ctx) {
  if (!EditableDataset(ctx)) return 0;
  TDataSeq& ds = *CommandDataset(ctx);
  if (!ctx.services.messages.AskYesNo(
          "Search for SNPs and assign them in all sequences (except outgroups) in the "
          "dataset?\r\nPress No to mark the current position as SNP in the selected sequences."))
    return MarkHere(ctx, ds, kRegSnp, "SNP");
  const bool excludeIndels =
      ctx.services.messages.AskYesNo("Exclude insertion/deletion/gap regions?");
  return MarkColumns(ctx, ds, PolymorphicColumns(ds, excludeIndels), kRegSnp, "SNP");
}

int AssignIndels(EditorContext& ctx) {
  if (!EditableDataset(ctx)) return 0;
  TDataSeq& ds = *CommandDataset(ctx);
  if (!ctx.services.messages.AskYesNo(
          "Search for Indels and assign them in all sequences (except outgroups) in the "
          "dataset?\r\nPress No to mark the selected positions as indel (or gap) in the selected "
          "sequences."))
    return MarkHere(ctx, ds, kRegIndel, "gap");
  return MarkColumns(ctx, ds, IndelColumns(ds), kRegIndel, "gap");
}

int RemoveRegionAssignments(EditorContext& ctx, RegionRemoval which) {
  if (!EditableDataset(ctx)) return 0;
  const auto scope = ScopeDatasets(ctx, std::string("Remove ") + RemovalWords(which) +
                                            " from all datasets in the project?\r\nPress No to "
                                            "remove assignments only from the current dataset");
  const std::set<int> kinds = KindsOf(which);
  ForEnabledRows(ctx, scope, [&](TSeq& s) { s.DeleteRegionsOfKinds(kinds); });
  ctx.modified = true;
  return static_cast<int>(scope.size());
}

bool DeleteRegionLetters(EditorContext& ctx, int kind, bool allBut) {
  if (!EditableDataset(ctx)) return false;
  ForEnabledRows(ctx, {CommandDataset(ctx)}, [&](TSeq& s) { s.DeleteKindLetters(kind, allBut); });
  ctx.modified = true;
  return true;
}

bool SpliceRegions(EditorContext& ctx, int kind) {
  if (!EditableDataset(ctx)) return false;
  TDataSeq& current = *CommandDataset(ctx);
  const bool all = ctx.project.DatasetCount() > 1 &&
                   ctx.services.messages.AskYesNo(
                       std::string("Splice ") + RegionKindName(kind) +
                       "s in all datasets in the project?\r\nPress No to proceed only with the "
                       "current dataset");
  if (all) {
    ForEnabledRows(ctx, AllDatasets(ctx), [&](TSeq& s) { s.SpliceKind(kind); });
  } else {
    current.SaveUndo();
    for (int r : EnabledTargetRowsOf(current)) current.SeqAt(r)->SpliceKind(kind);
    current.LettersChanged();
  }
  ctx.modified = true;
  return true;
}

bool MergeOverlappingRegions(EditorContext& ctx) {
  if (!EditableDataset(ctx)) return false;
  ForEnabledRows(ctx, ScopeDatasets(ctx, kAllDatasetsQuestion), [](TSeq& s) { s.MergeRegions(); });
  ctx.modified = true;
  return true;
}

int MergeCdsSplitByNs(EditorContext& ctx) {
  if (!EditableDataset(ctx)) return -1;
  if (!ctx.services.messages.AskYesNo(
          "Attempt to merge CDS split by NNN?\r\n(CDSs comments should contain the same "
          "accession number between [ ])."))
    return -1;
  int merged = 0;
  ForEnabledRows(ctx, ScopeDatasets(ctx, kAllDatasetsQuestion),
                 [&](TSeq& s) { merged += s.MergeCdsSplitByN(); });
  if (merged > 0) ctx.modified = true;
  if (merged == 0)
    ctx.services.messages.Notify("Done. No CDSs split by NNN were found.");
  else if (merged == 1)
    ctx.services.messages.Notify("Done. One CDS pair was merged.");
  else
    ctx.services.messages.Notify("Done. " + std::to_string(merged) + " CDS pairs were merged.");
  return merged;
}

int TurnAllCdsForward(EditorContext& ctx) {
  if (!EditableDataset(ctx)) return -1;
  if (!ctx.services.messages.AskYesNo(
          "Attempt to turn all sequences to make sure CDSs are oriented ==> ?\r\n(Will not work "
          "for seq with >1 CDS with diff orientation)"))
    return -1;
  int turned = 0;
  ForEnabledRows(ctx, ScopeDatasets(ctx, kAllDatasetsQuestion),
                 [&](TSeq& s) { turned += s.TurnCdsForward() > 0 ? 1 : 0; });
  if (turned > 0) ctx.modified = true;
  ctx.services.messages.Notify("Done. " + std::to_string(turned) +
                               " sequences were reverse-complemented.");
  return turned;
}
