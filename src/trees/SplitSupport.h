// SPDX-License-Identifier: GPL-3.0-or-later
// Bootstrap support of the inner edges of a tree from replicate trees over the same leaves.
#pragma once
#include <vector>

#include "trees/TreeUnit.h"

// Sets the support of every inner node with a parent to the share (0..1) of replicates that
// hold the same bipartition of the leaves, compared by leaf name on either side of the edge,
// so replicates rooted elsewhere (as neighbour-joining roots them) still count. Leaves a
// replicate lacks, or extra ones, make that replicate hold none of the splits. Without
// replicates nothing changes.
void AssignSplitSupport(TTree& tree, const std::vector<const TTree*>& replicates);
