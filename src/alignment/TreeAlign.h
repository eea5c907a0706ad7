// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own multiple alignment ("Align..."): global alignments of every pair, a
// neighbour-joining guide tree over their distances and profile merging up that tree, each
// profile standing in by its last sequence.
#pragma once
#include <vector>

#include "common/Services.h"

class TDataSeq;

// The rows an alignment of the dataset takes: those with a selected block when at least two
// have one (blocks set: only the block letters), else the selected rows when at least two,
// else every row. Disabled rows never take part.
struct TreeAlignScope {
  std::vector<int> rows;
  bool blocks = false;
};
[[nodiscard]] TreeAlignScope TreeAlignScopeOf(const TDataSeq& ds);

// Lays a displacement list (AlnUnit.h) into two sets of rows that each hold one alignment:
// k > 0 puts k gaps into every row of rowsA after the columns laid so far, k < 0 into every
// row of rowsB. With blocks the columns count from each row's block start and the blocks grow
// by the gaps. Each row is rebuilt once, whatever the number of runs.
void GroupGaps(TDataSeq& ds, const std::vector<int>& list, const std::vector<int>& rowsA,
               const std::vector<int>& rowsB, bool blocks);

// Aligns the rows of TreeAlignScopeOf(ds) from their letters (gaps removed; whole rows start in
// column 1, blocks in the column of the leftmost block). The dataset's undo copy is taken
// first. With showProgress the bar runs over the pairs and a cancel is offered between them.
// 0; kAlignFailed when no guide tree could be built; kAlignCancelled. On failure and cancel the
// dataset is as it was.
[[nodiscard]] int TreeGuidedAlign(TDataSeq& ds, Services& services, bool showProgress);
