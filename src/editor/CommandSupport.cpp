// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/CommandSupport.h"

TDataSeq* CommandDataset(EditorContext& ctx) {
  if (ctx.project.DatasetCount() == 0) return nullptr;
  return ctx.project.DatasetAt(ctx.project.CurrentIndex());
}

TSeq* CommandRow(EditorContext& ctx) {
  TDataSeq* ds = CommandDataset(ctx);
  return ds == nullptr ? nullptr : ds->SeqAt(ds->currentRow);
}

std::vector<TDataSeq*> AllDatasets(EditorContext& ctx) {
  std::vector<TDataSeq*> out;
  for (int i = 0; i < ctx.project.DatasetCount(); ++i) out.push_back(ctx.project.DatasetAt(i));
  return out;
}

std::vector<TDataSeq*> ScopeDatasets(EditorContext& ctx, const std::string& question) {
  TDataSeq* current = CommandDataset(ctx);
  if (current == nullptr) return {};
  if (ctx.project.DatasetCount() > 1 && ctx.services.messages.AskYesNo(question))
    return AllDatasets(ctx);
  return {current};
}

void ForEachDataset(EditorContext& ctx, const std::vector<TDataSeq*>& datasets,
                    const std::function<void(TDataSeq&)>& work, const std::string& statusPrefix) {
  if (datasets.size() <= 1) {
    for (TDataSeq* ds : datasets) work(*ds);
    return;
  }
  ProgressScope progress(ctx.services.progress, static_cast<int>(datasets.size()), statusPrefix);
  for (TDataSeq* ds : datasets) {
    ctx.services.progress.ShowStatus(statusPrefix + ds->dsName, true, false);
    work(*ds);
  }
}

std::vector<int> EnabledTargetRowsOf(const TDataSeq& ds) {
  std::vector<int> rows;
  for (int r : ds.SelectedOrCurrentRows())
    if (ds.SeqAt(r)->enabled) rows.push_back(r);
  return rows;
}
