// SPDX-License-Identifier: GPL-3.0-or-later
// "Align..." (the tree-guided alignment) and "Global alignment" (Clustal).
#include "alignment/AlignCommands.h"
#include "alignment/ClustalAlign.h"
#include "alignment/MuscleAlign.h"
#include "alignment/TreeAlign.h"
#include "editor/CommandSupport.h"
#include "model/Datasequnit.h"

bool AlignTreeGuided(EditorContext& ctx) {
  TDataSeq* ds = CommandDataset(ctx);
  if (ds == nullptr) return false;
  Services& svc = ctx.services;
  std::string question;
  if (ds->BlockCount() >= 2)
    question = "Align sequences in the selected region?";
  else if (ds->SelectedCount() > 1)
    question = "Align " + std::to_string(ds->SelectedCount()) +
               " selected sequences in the dataset " + ds->dsName + "?";
  else
    question =
        "Align " + std::to_string(ds->Count()) + " sequences in the dataset " + ds->dsName + "?";
  if (!svc.messages.AskYesNo(question)) return false;
  svc.progress.ClearCancel();
  if (TreeGuidedAlign(*ds, svc, true) != 0) return false;
  ctx.modified = true;
  svc.messages.Notify("Alignment completed");
  return true;
}

bool GlobalAlignment(EditorContext& ctx, const AlignSetup& setup) {
  TDataSeq* current = CommandDataset(ctx);
  if (current == nullptr) return false;
  Services& svc = ctx.services;
  const bool justCurrent =
      ctx.project.DatasetCount() < 2 ||
      svc.messages.AskYesNo(
          "Align just the current dataset?\r\nPress NO if you wish to align ALL datasets in the "
          "project\r\nNote that if any region or sequences are selected, only these will be "
          "aligned\r\nIf you wish to align all sequences, unselect them first");
  const std::string program = FindClustal(svc, setup.clustal);
  if (program.empty()) return false;
  svc.progress.ClearCancel();
  if (justCurrent) {
    ctx.modified = ClustalAlign(*current, svc, program) == 0;
    return ctx.modified;
  }
  ProgressScope bar(svc.progress, ctx.project.DatasetCount(), "Aligning...");
  for (TDataSeq* ds : AllDatasets(ctx)) {
    if (svc.progress.cancelRequested()) {
      if (svc.messages.AskYesNo("Cancel alignment?")) {
        svc.messages.Notify("Alignment cancelled");
        break;
      }
      svc.progress.ClearCancel();
    }
    svc.progress.ShowStatus("Aligning " + ds->dsName, true, true);
    const int result = ClustalAlign(*ds, svc, program);
    if (result == kAlignCancelled) break;
    if (result == 0) ctx.modified = true;
  }
  return ctx.modified;
}
