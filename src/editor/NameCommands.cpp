// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/NameCommands.h"

#include <optional>
#include <string>

#include "editor/CommandSupport.h"

namespace {
std::optional<std::string> Cut(const std::string& name, NameCut cut) {
  std::string kept;
  switch (cut) {
    case NameCut::BeforeFirstUnderscore: {
      const auto at = name.find('_');
      if (at == std::string::npos) return std::nullopt;
      kept = name.substr(at + 1);
      break;
    }
    case NameCut::AfterLastUnderscore: {
      const auto at = name.rfind('_');
      if (at == std::string::npos) return std::nullopt;
      kept = name.substr(0, at);
      break;
    }
    case NameCut::AfterFirstSpace: {
      const auto at = name.find(' ');
      if (at == std::string::npos) return std::nullopt;
      kept = name.substr(0, at);
      break;
    }
  }
  if (kept.empty() || kept == name) return std::nullopt;
  return kept;
}

template <typename Rename>
int RenameSeqsIn(EditorContext& ctx, const std::vector<TDataSeq*>& scope, Rename rename) {
  int changed = 0;
  ForEachDataset(ctx, scope, [&](TDataSeq& ds) {
    for (int r = 1; r <= ds.Count(); ++r) {
      const std::optional<std::string> name = rename(ds, ds.SeqAt(r)->seqName);
      if (!name) continue;
      ds.RenameSeq(r, *name, true);
      ++changed;
    }
    ds.NamesChanged();
  });
  if (changed > 0) ctx.modified = true;
  return changed;
}

template <typename Rename>
int RenameDatasetsIn(EditorContext& ctx, const std::vector<TDataSeq*>& scope, Rename rename) {
  int changed = 0;
  for (TDataSeq* ds : scope) {
    const std::optional<std::string> name = rename(ds->dsName);
    if (!name) continue;
    ctx.project.RenameDataset(ctx.project.IndexByNumber(ds->dsNumber), *name);
    ++changed;
  }
  if (changed > 0) ctx.modified = true;
  return changed;
}

std::vector<TDataSeq*> ScopeOrNone(EditorContext& ctx) {
  TDataSeq* ds = CommandDataset(ctx);
  if (ds == nullptr) return {};
  return ScopeDatasets(ctx, kAllDatasetsQuestion);
}
}  // namespace

int PrefixSeqNamesWithDatasetName(EditorContext& ctx) {
  return RenameSeqsIn(ctx, ScopeOrNone(ctx), [](const TDataSeq& ds, const std::string& name) {
    return std::optional<std::string>(ds.dsName + "_" + name);
  });
}

int PrefixSeqNamesWithAt(EditorContext& ctx) {
  return RenameSeqsIn(ctx, ScopeOrNone(ctx), [](const TDataSeq&, const std::string& name) {
    return std::optional<std::string>("@" + name);
  });
}

int AppendSeqNamesWithAt(EditorContext& ctx) {
  return RenameSeqsIn(ctx, ScopeOrNone(ctx), [](const TDataSeq&, const std::string& name) {
    return std::optional<std::string>(name + "@");
  });
}

int PrefixDatasetNamesWithAt(EditorContext& ctx) {
  return RenameDatasetsIn(ctx, ScopeOrNone(ctx), [](const std::string& name) {
    return std::optional<std::string>("@" + name);
  });
}

int AppendDatasetNamesWithAt(EditorContext& ctx) {
  return RenameDatasetsIn(ctx, ScopeOrNone(ctx), [](const std::string& name) {
    return std::optional<std::string>(name + "@");
  });
}

int CutSequenceNames(EditorContext& ctx, NameCut cut) {
  if (CommandDataset(ctx) == nullptr) return 0;
  return RenameSeqsIn(ctx, AllDatasets(ctx),
                      [cut](const TDataSeq&, const std::string& name) { return Cut(name, cut); });
}

int CutDatasetNames(EditorContext& ctx, NameCut cut) {
  if (CommandDataset(ctx) == nullptr) return 0;
  return RenameDatasetsIn(ctx, AllDatasets(ctx),
                          [cut](const std::string& name) { return Cut(name, cut); });
}

bool WhitespacesFromSeqNames(EditorContext& ctx) {
  TDataSeq* ds = CommandDataset(ctx);
  if (ds == nullptr || ds->SeqAt(ds->currentRow) == nullptr) return false;
  ds->NameSpacesToUnderscore(0);
  ctx.modified = true;
  return true;
}

bool PrefixFromSeqNames(EditorContext& ctx) {
  TDataSeq* ds = CommandDataset(ctx);
  if (ds == nullptr || ds->SeqAt(ds->currentRow) == nullptr) return false;
  ds->NamePrefixBeforeUnderscore(0);
  ctx.modified = true;
  return true;
}
