// SPDX-License-Identifier: GPL-3.0-or-later
// "Local alignment", "Pairwise local alignment" and "Quickly align left seq ends".
#include <algorithm>
#include <set>

#include "alignment/AlignCommands.h"
#include "alignment/AlnUnit.h"
#include "alignment/MuscleAlign.h"
#include "editor/CommandSupport.h"
#include "model/Datasequnit.h"

namespace {

constexpr int kProbeLength = 50;

// A copy of s holding other letters: what ApplyGapPattern takes the gap runs from.
std::unique_ptr<TSeq> AlignedCopy(const TSeq& s, std::string letters) {
  auto copy = s.Clone();
  copy->letters = std::move(letters);
  copy->SyncLength();
  return copy;
}

std::vector<int> SelectedRows(const TDataSeq& ds) {
  std::vector<int> rows;
  for (int r = 1; r <= ds.Count(); ++r)
    if (ds.IsSelected(r)) rows.push_back(r);
  return rows;
}

// Every pair in dataset order: the later row takes its aligned copy's gaps, and the earlier
// one's gaps go to every row up to it that holds the same letters.
void AlignPairs(TDataSeq& ds, const std::vector<int>& rows, IProgress* progress) {
  ds.SaveUndo();
  for (std::size_t i = 0; i < rows.size(); ++i)
    for (std::size_t j = i + 1; j < rows.size(); ++j) {
      TSeq& si = *ds.SeqAt(rows[i]);
      TSeq& sj = *ds.SeqAt(rows[j]);
      std::string a = si.letters, b = sj.letters;
      AnchoredAlign(a, b, progress);
      const auto alignedI = AlignedCopy(si, a);
      (void)sj.ApplyGapPattern(*AlignedCopy(sj, b), '-');
      const std::string plain = WithoutGaps(a);
      for (std::size_t k = 0; k <= i; ++k) {
        TSeq& sk = *ds.SeqAt(rows[k]);
        if (WithoutGaps(sk.letters) == plain) (void)sk.ApplyGapPattern(*alignedI, '-');
      }
    }
  ds.InvalidateMutHolders();
}

}  // namespace

bool LocalAlignment(EditorContext& ctx) {
  TDataSeq* current = CommandDataset(ctx);
  if (current == nullptr) return false;
  const std::vector<int> selected = SelectedRows(*current);
  if (selected.size() > 1 && ctx.project.DatasetCount() > 1 &&
      ctx.services.messages.AskYesNo(
          "Proceed with local alignment in all datasets in the project?\r\nPress No to align "
          "only selected seq in the current data set.")) {
    std::set<int> individs;
    for (int r : selected) individs.insert(current->SeqAt(r)->individId);
    ProgressScope bar(ctx.services.progress, ctx.project.DatasetCount(),
                      "Aligning two sequences...");
    for (TDataSeq* ds : AllDatasets(ctx)) {
      ctx.services.progress.ShowStatus("Aligning " + ds->dsName, true, false);
      std::vector<int> rows;
      for (int r = 1; r <= ds->Count(); ++r)
        if (individs.count(ds->SeqAt(r)->individId) > 0) rows.push_back(r);
      if (rows.size() > 1) AlignPairs(*ds, rows, nullptr);
    }
  } else {
    if (selected.size() < 2) return false;
    AlignPairs(*current, selected, &ctx.services.progress);
  }
  ctx.modified = true;
  return true;
}

bool PairwiseLocalAlignment(EditorContext& ctx) {
  TDataSeq* ds = CommandDataset(ctx);
  if (ds == nullptr) return false;
  const std::vector<int> rows = SelectedRows(*ds);
  if (rows.size() != 2) {
    ctx.services.messages.Notify(
        "For Pairwise local alignment two sequences have to be selected (shift-click to select "
        "a sequence)");
    return false;
  }
  TSeq& first = *ds->SeqAt(rows[0]);
  TSeq& second = *ds->SeqAt(rows[1]);
  if (!ctx.services.messages.AskYesNo("Align sequences \r\n" + first.seqName + "\r\n" +
                                      second.seqName + "\r\n?"))
    return false;
  ds->SaveUndo();
  std::string a = first.letters, b = second.letters;
  AnchoredAlign(a, b, &ctx.services.progress);
  (void)first.ApplyGapPattern(*AlignedCopy(first, a), '-');
  (void)second.ApplyGapPattern(*AlignedCopy(second, b), '-');
  ds->InvalidateMutHolders();
  ctx.modified = true;
  return true;
}

void AnchorLeftEnds(TDataSeq& ds, const std::vector<int>& rows) {
  std::vector<TSeq*> seqs;
  for (int r : rows)
    if (TSeq* s = ds.SeqAt(r); s != nullptr && s->enabled) seqs.push_back(s);
  if (seqs.size() < 2) return;
  for (TSeq* s : seqs) s->columnShift = 0;
  const std::size_t n = seqs.size();
  // c[i][j]: where sequence i's left end lies in sequence j.
  std::vector<std::vector<int>> c(n, std::vector<int>(n, 0));
  for (std::size_t i = 0; i < n; ++i) {
    const std::string probe = seqs[i]->letters.substr(0, kProbeLength);
    for (std::size_t j = 0; j < n; ++j)
      if (i != j) c[i][j] = std::max(0, LeftEndPosition(probe, seqs[j]->letters));
  }
  // The reference is the sequence whose own left end is found least in the others: the one
  // the others start in.
  std::size_t reference = 0;
  long long least = 1'000'000'000;
  for (std::size_t i = 0; i < n; ++i) {
    long long sum = 0;
    for (int v : c[i]) sum += v;
    if (sum < least) {
      least = sum;
      reference = i;
    }
  }
  for (std::size_t i = 0; i < n; ++i)
    if (i != reference && c[i][reference] > 0) seqs[i]->columnShift = c[i][reference] - 1;
  ds.InvalidateMutHolders();
}

bool AlignLeftEnds(EditorContext& ctx) {
  if (CommandDataset(ctx) == nullptr) return false;
  const bool bottomOnly = ctx.services.messages.AskYesNo(
      "Align bottom seq to seq above? Press No to proceed with all sequences.");
  const std::vector<TDataSeq*> datasets = ScopeDatasets(ctx, kAllDatasetsQuestion);
  ForEachDataset(ctx, datasets, [&](TDataSeq& ds) {
    if (ds.Count() < 2) return;
    ds.SaveUndo();
    if (bottomOnly) {
      TSeq& last = *ds.SeqAt(ds.Count());
      const TSeq& above = *ds.SeqAt(ds.Count() - 1);
      const int p = LeftEndPosition(last.letters.substr(0, kProbeLength), above.letters);
      // Position p of the row above stands in column p + its shift.
      if (p > 0 && last.enabled) last.columnShift = above.columnShift + p - 1;
    } else {
      std::vector<int> rows;
      for (int r = 1; r <= ds.Count(); ++r) rows.push_back(r);
      AnchorLeftEnds(ds, rows);
    }
    ds.NormaliseShifts();
    ds.InvalidateMutHolders();
  });
  ctx.modified = true;
  return true;
}
