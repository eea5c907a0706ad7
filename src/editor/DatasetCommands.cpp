// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/DatasetCommands.h"

#include <map>
#include <set>
#include <vector>

#include "common/NumberFormat.h"
#include "editor/CommandSupport.h"

namespace {
constexpr const char* kNoUndo =
    "\r\nPlease note that there is NO UNDO option to restore a deleted dataset.";

// Deletes datasets first..last (indices, inclusive), the last first.
int DeleteRange(EditorContext& ctx, int first, int last) {
  for (int i = last; i >= first; --i) ctx.project.DeleteDataset(i);
  const int removed = last - first + 1;
  if (removed > 0) ctx.modified = true;
  return removed;
}

bool HasProject(EditorContext& ctx) {
  return CommandDataset(ctx) != nullptr;
}

std::set<int> AllKindsBut(int kind) {
  std::set<int> kinds;
  for (int k = 0; k < kRegionKindCount; ++k)
    if (k != kind) kinds.insert(k);
  return kinds;
}

// Keeps one random row of every key; rows with key -1 stay.
template <typename KeyOf>
int KeepOnePerKey(EditorContext& ctx, PlatformRandom& rng, KeyOf keyOf) {
  int removed = 0;
  for (TDataSeq* ds : AllDatasets(ctx)) {
    std::map<int, std::vector<int>> rowsByKey;
    for (int r = 1; r <= ds->Count(); ++r) {
      const int key = keyOf(*ds, r);
      if (key != -1) rowsByKey[key].push_back(r);
    }
    std::vector<int> gone;
    for (const auto& [key, rows] : rowsByKey) {
      if (rows.size() < 2) continue;
      const int keep = rng.NextInt(static_cast<int>(rows.size()));
      for (int i = 0; i < static_cast<int>(rows.size()); ++i)
        if (i != keep) gone.push_back(rows[static_cast<std::size_t>(i)]);
    }
    if (gone.empty()) continue;
    ds->SaveUndo();
    ds->DeleteSeqs(gone);
    if (ds->currentRow > ds->Count()) ds->currentRow = ds->Count();
    removed += static_cast<int>(gone.size());
  }
  if (removed > 0) ctx.modified = true;
  ctx.services.messages.Notify(std::to_string(removed) + " sequences removed");
  return removed;
}

bool IsOrientingKind(int kind) {
  return kind == kRegCds || kind == kRegExon || kind == kRegGene;
}
}  // namespace

int RemoveCurrentDataset(EditorContext& ctx) {
  if (!HasProject(ctx)) return 0;
  const int i = ctx.project.CurrentIndex();
  if (!ctx.services.messages.AskYesNo("Do you want to permanently remove the dataset " +
                                      ctx.project.DatasetAt(i)->dsName + " ?" + kNoUndo))
    return 0;
  return DeleteRange(ctx, i, i);
}

int RemoveDatasetsFromCurrentToEnd(EditorContext& ctx) {
  if (!HasProject(ctx)) return 0;
  const int i = ctx.project.CurrentIndex(), n = ctx.project.DatasetCount() - i;
  if (!ctx.services.messages.AskYesNo("Do you want to permanently remove " + std::to_string(n) +
                                      " datasets from current to the end of the project?" +
                                      kNoUndo))
    return 0;
  return DeleteRange(ctx, i, ctx.project.DatasetCount() - 1);
}

int RemoveDatasetsFromCurrentToStart(EditorContext& ctx) {
  if (!HasProject(ctx)) return 0;
  const int i = ctx.project.CurrentIndex();
  if (!ctx.services.messages.AskYesNo("Do you want to permanently remove " + std::to_string(i + 1) +
                                      " datasets from current to the start of the project?" +
                                      kNoUndo))
    return 0;
  return DeleteRange(ctx, 0, i);
}

int RemoveDatasetsAfterCurrent(EditorContext& ctx) {
  if (!HasProject(ctx)) return 0;
  const int i = ctx.project.CurrentIndex(), n = ctx.project.DatasetCount() - i - 1;
  if (n <= 0 || !ctx.services.messages.AskYesNo("You are about to irreversibly delete " +
                                                std::to_string(n) + " datasets. Proceed anyway?"))
    return 0;
  return DeleteRange(ctx, i + 1, ctx.project.DatasetCount() - 1);
}

int RemoveDatasetsBeforeCurrent(EditorContext& ctx) {
  if (!HasProject(ctx)) return 0;
  const int n = ctx.project.CurrentIndex();
  if (n <= 0 || !ctx.services.messages.AskYesNo("You are about to irreversibly delete " +
                                                std::to_string(n) + " datasets. Proceed anyway?"))
    return 0;
  return DeleteRange(ctx, 0, n - 1);
}

bool RemoveAnnotationsInProject(EditorContext& ctx, AnnotationRemoval which) {
  if (!HasProject(ctx) || ctx.locked) return false;
  struct Texts {
    const char* question;
    const char* status;
    const char* perDataset;
  };
  const Texts t =
      which == AnnotationRemoval::All
          ? Texts{"Proceed with removing all annotations from the sequences in the "
                  "project?\r\nWarning: there is no undo for this step",
                  "Removing annotation from sequences in the project...",
                  "Removing annotation from dataset "}
      : which == AnnotationRemoval::Coding
          ? Texts{"Proceed with removing all coding regions from the sequences in the "
                  "project?\r\nWarning: there is no undo for this step",
                  "Removing coding regions from sequences in the project...",
                  "Removing CDS from dataset "}
          : Texts{"Proceed with removing all non-coding regions from the sequences in the "
                  "project?\r\nWarning: there is no undo for this step",
                  "Removing non-coding regions from sequences in the project...",
                  "Removing all but CDS from dataset "};
  if (!ctx.services.messages.AskYesNo(t.question)) return false;
  const std::set<int> kinds = which == AnnotationRemoval::All      ? AllKindsBut(-1)
                              : which == AnnotationRemoval::Coding ? std::set<int>{kRegCds}
                                                                   : AllKindsBut(kRegCds);
  const auto datasets = AllDatasets(ctx);
  ProgressScope progress(ctx.services.progress, static_cast<int>(datasets.size()), t.status);
  for (TDataSeq* ds : datasets) {
    ctx.services.progress.ShowStatus(t.perDataset + ds->dsName, true, false);
    ds->DeleteRegionsOfKinds(-1, kinds, true);
  }
  ctx.modified = true;
  return true;
}

int RemoveShortSequencesInProject(EditorContext& ctx, int minLength) {
  if (!HasProject(ctx) || minLength < 1) return -1;
  const bool basesOnly = ctx.services.messages.AskYesNo(
      "Count usable positions? Press No to analyse total length only");
  const int removed = ctx.project.RemoveShortSeqs(minLength, basesOnly);
  if (removed > 0) ctx.modified = true;
  ctx.services.messages.Notify(std::to_string(removed) + " sequences were removed.");
  return removed;
}

int RemoveLongSequencesInProject(EditorContext& ctx, int maxLength) {
  if (!HasProject(ctx) || maxLength < 0) return -1;
  const int removed = ctx.project.RemoveLongSeqs(maxLength);
  if (removed > 0) ctx.modified = true;
  ctx.services.messages.Notify(std::to_string(removed) + " sequences were removed.");
  return removed;
}

namespace {
template <typename Doomed>
int RemoveDatasetsWhere(EditorContext& ctx, const std::string& status, Doomed doomed) {
  ctx.services.progress.ShowStatus(status, false, false);
  int removed = 0;
  for (int i = ctx.project.DatasetCount() - 1; i >= 0; --i) {
    if (!doomed(*ctx.project.DatasetAt(i))) continue;
    ctx.project.DeleteDataset(i);
    ++removed;
  }
  if (removed > 0) ctx.modified = true;
  ctx.services.messages.Notify(std::to_string(removed) + " datasets were removed.");
  return removed;
}
}  // namespace

int RemoveDatasetsWithFewSequences(EditorContext& ctx, int minCount) {
  if (!HasProject(ctx) || minCount < 0) return -1;
  return RemoveDatasetsWhere(ctx, "Removing datasets with too few seq...",
                             [minCount](const TDataSeq& ds) { return ds.Count() < minCount; });
}

int RemoveDatasetsWithManySequences(EditorContext& ctx, int maxCount) {
  if (!HasProject(ctx) || maxCount < 0) return -1;
  return RemoveDatasetsWhere(ctx, "Removing datasets with too many seq...",
                             [maxCount](const TDataSeq& ds) { return ds.Count() > maxCount; });
}

int SplitIntoDatasets(EditorContext& ctx) {
  if (!HasProject(ctx)) return 0;
  const int current = ctx.project.CurrentIndex();
  const TDataSeq& first = *ctx.project.DatasetAt(0);
  std::vector<std::unique_ptr<TSeq>> copies;
  for (int r = 1; r <= first.Count(); ++r) copies.push_back(first.CloneAt(r));
  int added = 0;
  for (auto& copy : copies) {
    const std::string name = copy->seqName.substr(0, copy->seqName.find(' '));
    copy->seqName = name;
    auto ds = ctx.project.MakeDataset();
    ds->dsName = name.empty() ? "Dataset" : name;
    if (ds->AddSeq(copy, true) < 0) continue;
    ds->SetCursor(1, 1);
    if (ctx.project.AddDataset(ds, false) >= 0) ++added;
  }
  ctx.project.SetCurrent(current);
  if (added > 0) ctx.modified = true;
  return added;
}

int RevComplAllToForward(EditorContext& ctx, std::string& report) {
  report.clear();
  if (!HasProject(ctx) || ctx.locked) return -1;
  if (!ctx.services.messages.AskYesNo(
          "Turn all sequences in the project to Forward?\r\nThis may not be possible for "
          "sequences containing functional regions facing in opposite directions."))
    return -1;
  ctx.services.progress.ShowStatus("Rev-complementing sequences...", false, false);
  int turned = 0, mixed = 0;
  for (TDataSeq* ds : AllDatasets(ctx)) {
    bool saved = false;
    for (int r = 1; r <= ds->Count(); ++r) {
      TSeq& s = *ds->SeqAt(r);
      bool forward = false, reverse = false;
      for (const TRegion& reg : s.regions)
        if (IsOrientingKind(reg.regType)) (reg.regReverse ? reverse : forward) = true;
      if (forward && reverse) {
        if (mixed == 0) report = "Sequences with CDSs in opposite directions:\r\n";
        report += "Dataset: " + ds->dsName + "; Sequence: " + s.seqName + "\r\n";
        ++mixed;
        continue;
      }
      if (!reverse || !s.enabled) continue;
      if (!saved) {
        ds->SaveUndo();
        saved = true;
      }
      s.ReverseComplement();
      ++turned;
    }
    if (saved) ds->LettersChanged();
  }
  if (turned > 0) ctx.modified = true;
  std::string notice = "Rev-complemented " + std::to_string(turned) + " sequences";
  if (mixed > 0)
    notice += "\r\ncould not revcompl " + std::to_string(mixed) +
              " sequences that contain annotations in both directions";
  ctx.services.messages.Notify(notice);
  return turned;
}

bool SortAllDatasetsByName(EditorContext& ctx) {
  if (!HasProject(ctx)) return false;
  for (TDataSeq* ds : AllDatasets(ctx)) ds->SortByName(false);
  ctx.modified = true;
  return true;
}

int LeaveOneSequencePerIndivid(EditorContext& ctx, PlatformRandom& rng) {
  if (!HasProject(ctx)) return -1;
  if (!ctx.services.messages.AskYesNo(
          "This will remove all but one seq per individ in each dataset of the project. "
          "Proceed?"))
    return -1;
  return KeepOnePerKey(ctx, rng, [](const TDataSeq& ds, int r) {
    const int id = ds.SeqAt(r)->individId;
    return id < 0 ? -1 : id;
  });
}

int LeaveOneSequencePerGroup(EditorContext& ctx, PlatformRandom& rng) {
  if (!HasProject(ctx)) return -1;
  if (!ctx.services.messages.AskYesNo(
          "This will remove all but one seq per group in each dataset of the project. Proceed?"))
    return -1;
  return KeepOnePerKey(ctx, rng, [&ctx](const TDataSeq& ds, int r) {
    const int key = ctx.project.GroupOfSeq(ds, ds.SeqAt(r)->seqId);
    return key < 0 && key != kOutgroupKey ? -1 : key;
  });
}

bool SetPloidy(EditorContext& ctx, int ploidy) {
  if (!HasProject(ctx) || ploidy < 1) return false;
  ForEachDataset(ctx, ScopeDatasets(ctx, kAllDatasetsQuestion), [ploidy](TDataSeq& ds) {
    for (int r = 1; r <= ds.Count(); ++r) ds.SeqAt(r)->ploidy = ploidy;
  });
  ctx.modified = true;
  return true;
}

bool AssignBaseQuality(EditorContext& ctx) {
  TSeq* seq = CommandRow(ctx);
  if (seq == nullptr || ctx.locked) return false;
  const double average = seq->EstimateQuality();
  ctx.services.messages.Notify("Average base quality = " + FormatReal(average));
  if (average >= 0) ctx.modified = true;
  return average >= 0;
}

bool SelectAllDatasets(EditorContext& ctx) {
  if (!HasProject(ctx)) return false;
  for (TDataSeq* ds : AllDatasets(ctx)) ds->dsSelected = true;
  return true;
}

bool UnselectAllDatasets(EditorContext& ctx) {
  if (!HasProject(ctx)) return false;
  for (TDataSeq* ds : AllDatasets(ctx)) ds->dsSelected = false;
  return true;
}

bool InvertDatasetSelection(EditorContext& ctx) {
  if (!HasProject(ctx)) return false;
  for (TDataSeq* ds : AllDatasets(ctx)) ds->dsSelected = !ds->dsSelected;
  return true;
}
