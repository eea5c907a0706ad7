// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/CleaningCommands.h"

#include <cctype>
#include <string>

#include "editor/CommandSupport.h"

namespace {
TDataSeq* Editable(EditorContext& ctx) {
  TDataSeq* ds = CommandDataset(ctx);
  if (ctx.locked || ds == nullptr || ds->SeqAt(ds->currentRow) == nullptr) return nullptr;
  return ds;
}

template <typename Op>
bool RowWise(EditorContext& ctx, Op op) {
  TDataSeq* ds = Editable(ctx);
  if (ds == nullptr) return false;
  ds->SaveUndo();
  op(*ds);
  ds->LettersChanged();
  ctx.modified = true;
  return true;
}

bool IsN(char c) {
  return c == 'N' || c == 'n';
}

// Deletes the run of N at one end of every enabled row; a row of nothing but N keeps one.
int DeleteNRuns(EditorContext& ctx, bool atStart) {
  if (Editable(ctx) == nullptr) return 0;
  int changed = 0;
  for (TDataSeq* ds : AllDatasets(ctx)) {
    for (int r = 1; r <= ds->Count(); ++r) {
      TSeq& s = *ds->SeqAt(r);
      const int len = s.Length();
      int run = 0;
      while (run < len && IsN(s.letters[static_cast<std::size_t>(atStart ? run : len - 1 - run)]))
        ++run;
      if (run == len) --run;
      if (run <= 0 || !s.enabled) continue;
      // Deleting from the start keeps the rest of the row in its columns.
      s.DeleteLetters(atStart ? 1 : len - run + 1, run, true);
      ++changed;
    }
    ds->NormaliseShifts();
    ds->LettersChanged();
  }
  if (changed > 0) ctx.modified = true;
  return changed;
}

int RemoveGapColumnsIn(EditorContext& ctx, const std::vector<TDataSeq*>& scope) {
  int removed = 0;
  ForEachDataset(
      ctx, scope,
      [&](TDataSeq& ds) {
        ds.SaveUndo();
        removed += ds.RemoveSharedGapColumns();
      },
      "Removing gaps...");
  ctx.modified = true;
  return removed;
}
}  // namespace

int RemoveSharedGaps(EditorContext& ctx) {
  if (Editable(ctx) == nullptr) return 0;
  const auto scope = ScopeDatasets(
      ctx,
      "Proceed with all datasets in the project?\r\n(will remove any gaps(-) that are present "
      "in all sequences)\r\n\r\nPress NO to delete gaps only in the current dataset");
  ctx.services.progress.ShowStatus("Removing gaps...", false, false);
  return RemoveGapColumnsIn(ctx, scope);
}

int RemoveSharedGapsInProject(EditorContext& ctx) {
  if (Editable(ctx) == nullptr) return -1;
  if (!ctx.services.messages.AskYesNo(
          "Remove gaps present in all sequences?\r\n(Will be done for all datasets in the "
          "project)"))
    return -1;
  ctx.services.progress.ShowStatus("Removing gaps...", false, false);
  return RemoveGapColumnsIn(ctx, AllDatasets(ctx));
}

bool CutEndsToEqualLength(EditorContext& ctx) {
  if (Editable(ctx) == nullptr) return false;
  if (!ctx.services.messages.AskYesNo("Proceed with removing seq ends to make seq equal length?"))
    return false;
  const bool codonAware = ctx.services.messages.AskYesNo("Cut CDS to full codons?");
  ctx.services.progress.ShowStatus("Removing seq ends...", false, false);
  const auto datasets = AllDatasets(ctx);
  ProgressScope progress(ctx.services.progress, static_cast<int>(datasets.size()),
                         "Removing seq ends...");
  for (TDataSeq* ds : datasets) {
    ctx.services.progress.ShowStatus("Removing seq ends from " + ds->dsName, true, false);
    ds->SaveUndo();
    ds->CutToCommonStart();
    ds->CutToCommonEnd(codonAware);
  }
  ctx.modified = true;
  return true;
}

bool PadWithNs(EditorContext& ctx) {
  if (Editable(ctx) == nullptr) return false;
  ForEachDataset(ctx, ScopeDatasets(ctx, kAllDatasetsQuestion), [](TDataSeq& ds) {
    ds.SaveUndo();
    ds.PadWithN();
  });
  ctx.modified = true;
  return true;
}

bool PadWithGapLetters(EditorContext& ctx) {
  if (Editable(ctx) == nullptr) return false;
  ForEachDataset(ctx, ScopeDatasets(ctx, kAllDatasetsQuestion), [](TDataSeq& ds) {
    ds.SaveUndo();
    ds.PadWithGaps();
  });
  ctx.modified = true;
  return true;
}

int DeleteLeadingNs(EditorContext& ctx) {
  return DeleteNRuns(ctx, true);
}

int DeleteTrailingNs(EditorContext& ctx) {
  return DeleteNRuns(ctx, false);
}

bool RemoveChromatograms(EditorContext& ctx) {
  return RowWise(ctx, [](TDataSeq& ds) { ds.RemoveTrace(0); });
}

bool RemoveBaseQualities(EditorContext& ctx) {
  return RowWise(ctx, [](TDataSeq& ds) { ds.RemoveQuality(0); });
}

bool RemoveGapsFromSelected(EditorContext& ctx) {
  return RowWise(ctx, [](TDataSeq& ds) { ds.RemoveGapsRows(0); });
}

bool ChangeGapNsToDashes(EditorContext& ctx) {
  return RowWise(ctx, [](TDataSeq& ds) { ds.GapNsToDash(0); });
}

int RemoveSingletonInsertsOfSelected(EditorContext& ctx) {
  int removed = 0;
  RowWise(ctx, [&](TDataSeq& ds) {
    for (int r : EnabledTargetRowsOf(ds)) removed += ds.RemoveSingletonInserts(r);
  });
  return removed;
}
