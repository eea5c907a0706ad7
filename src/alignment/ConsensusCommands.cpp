// SPDX-License-Identifier: GPL-3.0-or-later
// The consensus commands: a consensus added to the current dataset, to every dataset, or to a
// new project holding one dataset per source dataset.
#include "alignment/AsmContUnit.h"
#include "model/Datasequnit.h"

int CreateConsensus(EditorContext& ctx) {
  if (ctx.project.DatasetCount() == 0) return -1;
  TDataSeq* ds = ctx.project.CurrentDataset();
  if (ds == nullptr) return -1;
  // One selected row is taken as the cursor's doing, not as a choice of rows.
  std::unique_ptr<TSeq> consensus = ds->Consensus(false, ds->SelectedCount() > 1);
  consensus->seqName = "Consensus";
  const int row = ds->AddSeq(consensus, true);
  if (row <= 0) return -1;
  ctx.modified = true;
  ctx.services.messages.Notify("Consensus added");
  return row;
}

namespace {
std::unique_ptr<TSeq> DatasetConsensus(const TDataSeq& ds) {
  std::unique_ptr<TSeq> consensus = ds.Consensus(false, false);
  consensus->seqName = "Consensus_" + ds.dsName;
  return consensus;
}
}  // namespace

int ConsensusInSameProject(EditorContext& ctx) {
  int count = 0;
  {
    ProgressScope bar(ctx.services.progress, ctx.project.DatasetCount(), "Creating consensus...");
    for (int d = 0; d < ctx.project.DatasetCount(); ++d) {
      bar.Step(false);
      TDataSeq& ds = *ctx.project.DatasetAt(d);
      std::unique_ptr<TSeq> consensus = DatasetConsensus(ds);
      if (ds.AddSeq(consensus, true) > 0) ++count;
    }
  }
  if (count > 0) ctx.modified = true;
  ctx.services.messages.Notify("Added consensus to " + std::to_string(count) + " datasets");
  return count;
}

std::unique_ptr<TDataProj> ConsensusInNewProject(EditorContext& ctx) {
  auto out = std::make_unique<TDataProj>(ctx.services);
  ProgressScope bar(ctx.services.progress, ctx.project.DatasetCount(), "Creating consensus...");
  for (int d = 0; d < ctx.project.DatasetCount(); ++d) {
    bar.Step(false);
    const TDataSeq& ds = *ctx.project.DatasetAt(d);
    out->NewDataset();
    out->RenameDataset(out->CurrentIndex(), ds.dsName);
    std::unique_ptr<TSeq> consensus = DatasetConsensus(ds);
    (void)out->CurrentDataset()->AddSeq(consensus, true);
  }
  return out;
}
