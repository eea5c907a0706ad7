// SPDX-License-Identifier: GPL-3.0-or-later
// The MUSCLE commands of the editor: a dataset, its selected sequences or blocks, and batches
// of datasets, each batch dataset also written to its own FASTA file.
#include <algorithm>
#include <cctype>

#include "alignment/AlignCommands.h"
#include "alignment/MuscleAlign.h"
#include "analysis/MutUnit.h"
#include "editor/CommandSupport.h"
#include "io/IOUnit.h"
#include "io/SaveCommand.h"
#include "model/Datasequnit.h"

namespace {

std::vector<int> AllRows(const TDataSeq& ds) {
  std::vector<int> rows;
  for (int r = 1; r <= ds.Count(); ++r) rows.push_back(r);
  return rows;
}

// Shifts and gaps cleared and the left ends anchored: MUSCLE starts from the reads as read.
void PrepareRows(TDataSeq& ds, const std::vector<int>& rows) {
  for (int r : rows) {
    TSeq& s = *ds.SeqAt(r);
    if (!s.enabled) continue;
    s.columnShift = 0;
    s.RemoveGaps();
  }
  AnchorLeftEnds(ds, rows);
}

MuscleRun RunOf(const OutsideAligner& aligner, bool showProgress, std::vector<int> rows = {}) {
  MuscleRun run;
  run.aligner = aligner;
  run.showProgress = showProgress;
  run.saveUndo = false;
  run.rows = std::move(rows);
  return run;
}

// The whole dataset from scratch: its undo copy, the rows prepared, the windows aligned.
int AlignWhole(TDataSeq& ds, Services& svc, const OutsideAligner& aligner, bool showProgress) {
  ds.SaveUndo();
  PrepareRows(ds, AllRows(ds));
  return MuscleAlign(ds, svc, RunOf(aligner, showProgress));
}

// Selected blocks: their letters are aligned apart and laid back at the blocks' starts, every
// block starting in the column of the leftmost one plus its own leading gap run.
int AlignBlocks(TDataSeq& ds, Services& svc, const OutsideAligner& aligner) {
  TDataSeq blocks(svc);
  blocks.dsName = ds.dsName;
  std::vector<int> rows;
  int leftmost = 0;
  for (int r = 1; r <= ds.Count(); ++r) {
    const TSeq& s = *ds.SeqAt(r);
    if (s.selLength <= 0 || !s.enabled) continue;
    auto part =
        std::make_unique<TSeq>(s.seqName, s.letters.substr(static_cast<std::size_t>(s.selStart - 1),
                                                           static_cast<std::size_t>(s.selLength)));
    part->RemoveGaps();
    part->SyncLength();
    if (blocks.AddSeq(part, false) < 0) return kAlignFailed;
    const int column = s.selStart + s.columnShift;
    leftmost = rows.empty() ? column : std::min(leftmost, column);
    rows.push_back(r);
  }
  MuscleRun run = RunOf(aligner, true);
  run.saveUndo = true;
  const int result = MuscleAlign(blocks, svc, run);
  if (result != 0) return result;
  ds.SaveUndo();
  for (std::size_t k = 0; k < rows.size(); ++k) {
    TSeq& s = *ds.SeqAt(rows[k]);
    const TSeq& aligned = *blocks.SeqAt(static_cast<int>(k) + 1);
    const int start = s.selStart;
    LayGapRuns(s, start, start + s.selLength - 1, aligned.letters);
    s.selStart = start;
    s.selLength = aligned.Length();
    s.columnShift = leftmost + aligned.columnShift - start;
  }
  ds.NormaliseShifts();
  ds.InvalidateMutHolders();
  return 0;
}

// Datasets one after another with the bar "Aligning...": each aligned from scratch and written
// to its FASTA copy. Stops at a cancel; returns the number aligned.
int AlignBatch(EditorContext& ctx, const std::vector<TDataSeq*>& datasets,
               const OutsideAligner& aligner, const AlignSetup& setup, bool& cancelled) {
  Services& svc = ctx.services;
  ProgressScope bar(svc.progress, static_cast<int>(datasets.size()), "Aligning...");
  int aligned = 0;
  for (TDataSeq* ds : datasets) {
    if (svc.progress.cancelRequested()) {
      if (svc.messages.AskYesNo("Cancel alignment?")) {
        svc.messages.Notify("Alignment cancelled");
        cancelled = true;
        break;
      }
      svc.progress.ClearCancel();
    }
    svc.progress.ShowStatus("Aligning " + ds->dsName, true, true);
    const int result = AlignWhole(*ds, svc, aligner, false);
    if (result == kAlignCancelled) {
      cancelled = true;
      break;
    }
    if (result != 0) continue;
    ctx.modified = true;
    ++aligned;
    (void)SaveFasta(AlignedCopyPath(setup.outFolder, ds->dsName), *ds, false, svc);
  }
  return aligned;
}

}  // namespace

std::string AlignedCopyPath(const std::string& folder, const std::string& datasetName) {
  const std::string name = "aln_" + SafeFileName(datasetName) + ".fasta";
  if (folder.empty()) return name;
  const char last = folder.back();
  return last == '/' || last == '\\' ? folder + name : folder + "/" + name;
}

bool AlignSequences(EditorContext& ctx, const AlignSetup& setup) {
  TDataSeq* ds = CommandDataset(ctx);
  if (ds == nullptr) return false;
  Services& svc = ctx.services;
  svc.progress.ClearCancel();
  std::vector<int> rows;
  if (ds->BlockCount() < 2) {
    for (int r = 1; r <= ds->Count(); ++r)
      if (ds->IsSelected(r)) rows.push_back(r);
    if (rows.size() < 2) {
      if (!svc.messages.AskYesNo("No selected sequences found. Align the entire dataset " +
                                 ds->dsName + "?"))
        return false;
      rows = AllRows(*ds);
    }
  }
  const OutsideAligner aligner = FindAligner(svc, setup.aligner);
  if (aligner.program.empty()) return false;
  int result = 0;
  if (rows.empty()) {
    result = AlignBlocks(*ds, svc, aligner);
  } else {
    ds->SaveUndo();
    PrepareRows(*ds, rows);
    result = MuscleAlign(*ds, svc, RunOf(aligner, true, rows));
  }
  ctx.modified = result == 0;
  return result == 0;
}

bool AlignSelectedDatasets(EditorContext& ctx, const AlignSetup& setup) {
  TDataSeq* current = CommandDataset(ctx);
  if (current == nullptr) return false;
  Services& svc = ctx.services;
  std::vector<TDataSeq*> datasets{current};
  bool batch = true;
  if (ctx.project.DatasetCount() > 1) {
    datasets.clear();
    for (TDataSeq* ds : AllDatasets(ctx))
      if (ds->dsSelected) datasets.push_back(ds);
    batch = svc.messages.AskYesNo("Align " + std::to_string(datasets.size()) +
                                  " selected datasets in the project?\r\nPress NO to align just "
                                  "the current dataset");
  }
  const OutsideAligner aligner = FindAligner(svc, setup.aligner);
  if (aligner.program.empty()) return false;
  bool cancelled = false;
  if (batch) {
    AlignBatch(ctx, datasets, aligner, setup, cancelled);
  } else {
    MuscleRun run = RunOf(aligner, true);
    run.saveUndo = true;
    const int result = MuscleAlign(*current, svc, run);
    cancelled = result == kAlignCancelled;
    ctx.modified = result == 0;
  }
  if (!cancelled) svc.messages.Notify("Alignment finished");
  return ctx.modified;
}

bool AlignDatasetsFromCurrent(EditorContext& ctx, const AlignSetup& setup) {
  if (CommandDataset(ctx) == nullptr) return false;
  std::vector<TDataSeq*> datasets;
  for (int i = ctx.project.CurrentIndex(); i < ctx.project.DatasetCount(); ++i)
    datasets.push_back(ctx.project.DatasetAt(i));
  if (!ctx.services.messages.AskYesNo("Align " + std::to_string(datasets.size()) + " datasets?"))
    return false;
  const OutsideAligner aligner = FindAligner(ctx.services, setup.aligner);
  if (aligner.program.empty()) return false;
  bool cancelled = false;
  AlignBatch(ctx, datasets, aligner, setup, cancelled);
  if (!cancelled) ctx.services.messages.Notify("Alignment finished");
  return ctx.modified;
}

bool RealignPolymorphicDatasets(EditorContext& ctx, const AlignSetup& setup, int maxDifferences) {
  if (CommandDataset(ctx) == nullptr) return false;
  const std::vector<TDataSeq*> scope =
      ScopeDatasets(ctx, "Align ALL datasets with " + std::to_string(maxDifferences) +
                             " or more polymorphism per 100 bases?");
  // Variable columns by the site scan's rule: ambiguity letters and '!' carry no variant, a
  // gap is one.
  std::vector<TDataSeq*> chosen;
  {
    ProgressScope bar(ctx.services.progress, static_cast<int>(scope.size()), "Aligning...");
    for (TDataSeq* ds : scope) {
      ctx.services.progress.ShowStatus("Processing dataset " + ds->dsName, true, false);
      const int length = ds->AlignmentLength(true);
      if (length == 0) continue;
      int variable = 0;
      for (int c = 1; c <= length; ++c) {
        std::string column = ds->ColumnLetters(c, 0);
        for (char& l : column) l = static_cast<char>(std::toupper(static_cast<unsigned char>(l)));
        if (FindVariants(column).letters.size() > 1) ++variable;
      }
      if (100.0 * variable / length > maxDifferences) chosen.push_back(ds);
    }
  }
  if (chosen.empty()) {
    ctx.services.messages.Notify("Aligned 0 datasets");
    return false;
  }
  const OutsideAligner aligner = FindAligner(ctx.services, setup.aligner);
  if (aligner.program.empty()) return false;
  bool cancelled = false;
  const int aligned = AlignBatch(ctx, chosen, aligner, setup, cancelled);
  ctx.services.messages.Notify("Aligned " + std::to_string(aligned) + " datasets");
  return aligned > 0;
}
