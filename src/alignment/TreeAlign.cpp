// SPDX-License-Identifier: GPL-3.0-or-later
// Tree-guided progressive alignment. The pairwise lists are not kept: a pair of leaves under
// one node is aligned again when that node is merged (the same letters give the same list),
// which costs one alignment per such pair instead of holding n^2 / 2 lists.
#include "alignment/TreeAlign.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <string>

#include "alignment/AlnUnit.h"
#include "alignment/MuscleAlign.h"
#include "model/Datasequnit.h"
#include "trees/NJTreeUnit.h"

namespace {

std::string Letters(const TSeq& s, bool blocks) {
  if (!blocks) return s.letters;
  return s.letters.substr(static_cast<std::size_t>(s.selStart - 1),
                          static_cast<std::size_t>(s.selLength));
}

bool HasLetters(const TSeq& s, bool blocks) {
  const std::string l = Letters(s, blocks);
  return std::any_of(l.begin(), l.end(), [](char c) { return c != '-'; });
}

// A run k gaps long before position pos; a run at the same place as the last one joins it.
void AddRun(std::vector<std::pair<int, int>>& runs, int pos, int k) {
  if (!runs.empty() && runs.back().first == pos)
    runs.back().second += k;
  else
    runs.emplace_back(pos, k);
}

void LayRuns(TDataSeq& ds, const std::vector<int>& rows,
             const std::vector<std::pair<int, int>>& runs, bool blocks) {
  if (runs.empty()) return;
  int total = 0;
  for (const auto& run : runs) total += run.second;
  for (int r : rows) {
    TSeq& s = *ds.SeqAt(r);
    if (!blocks) {
      s.InsertGapRuns(runs);
      continue;
    }
    std::vector<std::pair<int, int>> at = runs;
    for (auto& run : at) run.first += s.selStart - 1;
    s.InsertGapRuns(at);
    s.selLength += total;
  }
}

class TreeMerger {
 public:
  TreeMerger(TDataSeq& ds, const TreeAlignScope& scope, TTree& tree, IProgress* progress)
      : ds_(ds), scope_(scope), tree_(tree), progress_(progress) {
    for (std::size_t k = 0; k < scope.rows.size(); ++k) keys_.push_back(std::to_string(k));
    title_ = "Dataset: " + ds.dsName + "; Tree-guided profile alignments...";
  }

  void Merge(Node* x) {
    if (x->merged) return;
    const std::vector<Node*> children = x->Children();
    for (Node* c : children)
      if (c->isInternal) Merge(c);
    std::vector<int> merged;
    for (Node* c : children) {
      const std::vector<int> below = RowsBelow(c);
      if (below.empty()) continue;
      if (!merged.empty()) {
        // The profile so far against the child's, each represented by its last row; the
        // child's rows then join the profile, so a third child meets all that went before.
        const PairAlignment p =
            GlobalAlign(Letters(*ds_.SeqAt(merged.back()), scope_.blocks),
                        Letters(*ds_.SeqAt(below.back()), scope_.blocks), title_, progress_);
        GroupGaps(ds_, p.displacement, merged, below, scope_.blocks);
      }
      merged.insert(merged.end(), below.begin(), below.end());
      std::sort(merged.begin(), merged.end());
      c->merged = true;
    }
    x->merged = true;
  }

 private:
  TDataSeq& ds_;
  const TreeAlignScope& scope_;
  TTree& tree_;
  IProgress* progress_;
  std::vector<std::string> keys_;  // the leaves' names: their index among the rows
  std::string title_;

  std::vector<int> RowsBelow(const Node* node) const {
    std::vector<bool> marks(keys_.size(), false);
    tree_.LeavesBelow(node, keys_, marks);
    std::vector<int> rows;
    for (std::size_t k = 0; k < marks.size(); ++k)
      if (marks[k]) rows.push_back(scope_.rows[k]);
    return rows;
  }
};

// Gaps out of the letters taking part; whole rows start in column 1.
void PrepareRows(TDataSeq& ds, const TreeAlignScope& scope) {
  for (int r : scope.rows) {
    TSeq& s = *ds.SeqAt(r);
    if (scope.blocks) {
      const std::string block = Letters(s, true);
      std::string plain;
      for (char c : block)
        if (c != '-') plain.push_back(c);
      const int start = s.selStart;
      LayGapRuns(s, start, start + s.selLength - 1, plain);
      s.selStart = start;
      s.selLength = static_cast<int>(plain.size());
    } else {
      s.RemoveGaps();
      s.columnShift = 0;
    }
  }
}

int Abandon(TDataSeq& ds, int result) {
  (void)ds.Undo();
  return result;
}

}  // namespace

TreeAlignScope TreeAlignScopeOf(const TDataSeq& ds) {
  TreeAlignScope scope;
  const auto collect = [&](auto take) {
    std::vector<int> rows;
    for (int r = 1; r <= ds.Count(); ++r)
      if (take(r)) rows.push_back(r);
    return rows;
  };
  if (ds.BlockCount() >= 2) {
    scope.blocks = true;
    scope.rows = collect([&](int r) { return ds.SeqAt(r)->selLength > 0; });
  } else if (ds.SelectedCount() >= 2) {
    scope.rows = collect([&](int r) { return ds.IsSelected(r); });
  } else {
    scope.rows = collect([](int) { return true; });
  }
  // A disabled row is never changed, and a row without letters has nothing to align.
  std::erase_if(scope.rows, [&](int r) {
    const TSeq& s = *ds.SeqAt(r);
    return !s.enabled || !HasLetters(s, scope.blocks);
  });
  return scope;
}

void GroupGaps(TDataSeq& ds, const std::vector<int>& list, const std::vector<int>& rowsA,
               const std::vector<int>& rowsB, bool blocks) {
  // Positions are counted in the rows as they stand before any run goes in.
  std::vector<std::pair<int, int>> runsA, runsB;
  int lettersA = 0, lettersB = 0;
  for (int k : list) {
    if (k == 0) {
      ++lettersA;
      ++lettersB;
    } else if (k > 0) {
      AddRun(runsA, lettersA + 1, k);
      lettersB += k;
    } else {
      AddRun(runsB, lettersB + 1, -k);
      lettersA -= k;
    }
  }
  LayRuns(ds, rowsA, runsA, blocks);
  LayRuns(ds, rowsB, runsB, blocks);
  ds.InvalidateMutHolders();
}

int TreeGuidedAlign(TDataSeq& ds, Services& svc, bool showProgress) {
  const TreeAlignScope scope = TreeAlignScopeOf(ds);
  const int n = static_cast<int>(scope.rows.size());
  if (n < 2) return 0;
  ds.SaveUndo();
  ds.InvalidateMutHolders();
  int leftmost = std::numeric_limits<int>::max();
  for (int r : scope.rows)
    leftmost = std::min(leftmost, ds.SeqAt(r)->selStart + ds.SeqAt(r)->columnShift);
  PrepareRows(ds, scope);

  IProgress* progress = showProgress ? &svc.progress : nullptr;
  std::unique_ptr<ProgressScope> bar;
  if (showProgress)
    bar = std::make_unique<ProgressScope>(svc.progress, n,
                                          "Dataset: " + ds.dsName + "; Pairwise alignments...");
  std::vector<std::string> letters;
  for (int r : scope.rows) letters.push_back(Letters(*ds.SeqAt(r), scope.blocks));
  // A full matrix with a zero diagonal: neighbour-joining refuses undefined entries.
  DistanceMatrix matrix = DistanceMatrix::Zero(n);
  std::vector<int> pairList;
  for (int a = 0; a < n; ++a) {
    for (int b = a + 1; b < n; ++b) {
      const auto ua = static_cast<std::size_t>(a), ub = static_cast<std::size_t>(b);
      PairAlignment p = GlobalAlign(
          letters[ua], letters[ub],
          "Pairwise alignment: " + ds.NameAt(scope.rows[ua]) + " & " + ds.NameAt(scope.rows[ub]),
          progress);
      matrix.d[ua * static_cast<std::size_t>(n) + ub] = p.distance;
      matrix.d[ub * static_cast<std::size_t>(n) + ua] = p.distance;
      if (n == 2) pairList = std::move(p.displacement);
    }
    if (!bar) continue;
    bar->Step(true);
    if (svc.progress.cancelRequested()) {
      if (svc.messages.AskYesNo("Cancel alignment?")) {
        svc.messages.Notify("Alignment cancelled");
        return Abandon(ds, kAlignCancelled);
      }
      svc.progress.ClearCancel();
    }
  }
  if (showProgress) svc.progress.ShowStatus("Pairwise alignments completed", false, false);

  if (n == 2) {
    GroupGaps(ds, pairList, {scope.rows[0]}, {scope.rows[1]}, scope.blocks);
  } else {
    TTree tree;
    std::vector<bool> mask(static_cast<std::size_t>(ds.Count()), false);
    for (int r : scope.rows) mask[static_cast<std::size_t>(r - 1)] = true;
    tree.LeavesFromDataset(ds, &mask);
    for (int k = 0; k < n; ++k) tree.At(k)->name = std::to_string(k);
    if (!NeighborJoin(tree, matrix, &svc.messages)) return Abandon(ds, kAlignFailed);
    if (showProgress)
      svc.progress.ShowStatus("Dataset: " + ds.dsName + "; Tree-guided profile alignments...",
                              false, true);
    // A node's merge depends only on the rows below it, so merging every node below before the
    // node itself, from the root down, gives the rows that merging up from the closest pair
    // would.
    TreeMerger merger(ds, scope, tree, progress);
    for (Node* root : tree.Roots()) merger.Merge(root);
  }

  if (scope.blocks) {
    // The aligned blocks stand in one set of columns, from the leftmost block's.
    for (int r : scope.rows) {
      TSeq& s = *ds.SeqAt(r);
      s.columnShift = leftmost - s.selStart;
    }
  }
  ds.NormaliseShifts();
  ds.InvalidateMutHolders();
  return 0;
}
