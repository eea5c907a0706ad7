// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/IndividCommands.h"

#include <string>

#include "editor/CommandSupport.h"

namespace {
std::string Question(IndividOp op, const std::string& individ) {
  const std::string head = "Proceed with all datasets in the project?\r\n";
  const std::string eachHas = "; each dataset should have a sequence assigned to that individ)";
  switch (op) {
    case IndividOp::CdsFromUpperCase:
    case IndividOp::WholeSeqIsCds:
      return head + "(will attempt to assign CDS to all seq @ individ " + individ + eachHas +
             "\r\n\r\nPress NO to assign CDS only to sequence @ cursor";
    case IndividOp::CopyRegionsToSelected:
      return head + "(will attempt to copy func. regions from seq @ individ " + individ + eachHas +
             "\r\n\r\nPress NO to copy func. regions only in the current dataset";
    case IndividOp::SingletonInserts:
      return head + "(will remove singleton inserts from seq @ individ " + individ + eachHas +
             "\r\n\r\nPress NO to remove singleton inserts only from sequence @ cursor";
    case IndividOp::RestoreOrf:
      return head +
             "(will attempt to add gaps to CDS regions of alignment\r\nto make sure ORFs in seq "
             "of individ " +
             individ + " are not broken)\r\n\r\nPress NO to proceed only with the current dataset";
    case IndividOp::MaskStopCodons:
      return head + "(will attempt to mask stop codons in seq of individ " + individ +
             ")\r\n\r\nPress NO to proceed only with the current dataset";
  }
  return head;
}

const char* Status(IndividOp op) {
  switch (op) {
    case IndividOp::RestoreOrf:
      return "Adding gaps to restore ORF...";
    case IndividOp::MaskStopCodons:
      return "Masking stop codons...";
    default:
      return "";
  }
}

void Apply(TDataSeq& ds, int row, IndividOp op) {
  TSeq& s = *ds.SeqAt(row);
  switch (op) {
    case IndividOp::CdsFromUpperCase:
      s.AddCdsFromUpperCase(false);
      break;
    case IndividOp::WholeSeqIsCds:
      s.AddWholeCds(false);
      break;
    case IndividOp::CopyRegionsToSelected:
      for (int r = 1; r <= ds.Count(); ++r)
        if (r != row && ds.IsSelected(r)) s.CopyRegionsTo(*ds.SeqAt(r), false);
      break;
    case IndividOp::SingletonInserts:
      ds.RemoveSingletonInserts(row);
      break;
    case IndividOp::RestoreOrf:
      ds.RestoreOrf(row, false);
      break;
    case IndividOp::MaskStopCodons:
      ds.MaskStops(row, false, false);
      break;
  }
  ds.LettersChanged();
}
}  // namespace

int RunOnIndividual(EditorContext& ctx, IndividOp op) {
  TDataSeq* current = CommandDataset(ctx);
  if (current == nullptr || ctx.locked) return 0;
  const TSeq* seq = current->SeqAt(current->currentRow);
  if (seq == nullptr || !seq->enabled) return 0;
  const int individ = seq->individId;
  const int index = individ < 0 ? -1 : ctx.project.IndividIndexByKey(individ);
  const bool everywhere =
      index >= 0 && ctx.services.messages.AskYesNo(Question(op, ctx.project.IndividName(index)));
  if (*Status(op) != '\0') ctx.services.progress.ShowStatus(Status(op), false, false);
  int done = 0;
  if (!everywhere) {
    current->SaveUndo();
    Apply(*current, current->currentRow, op);
    done = 1;
  } else {
    ForEachDataset(ctx, AllDatasets(ctx), [&](TDataSeq& ds) {
      const int row = ds.RowOfIndivid(individ);
      if (row < 1 || !ds.SeqAt(row)->enabled) return;
      ds.SaveUndo();
      Apply(ds, row, op);
      ++done;
    });
  }
  if (done > 0) ctx.modified = true;
  return done;
}
