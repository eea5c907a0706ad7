// SPDX-License-Identifier: GPL-3.0-or-later
// Rooting a tree on an outgroup (or any leaf set), and the length of a drawing's scale bar.
#pragma once
#include <string>
#include <vector>

#include "trees/TreeUnit.h"

enum class RootOutcome {
  Rooted,     // the root now sits halfway along the edge that splits the leaves from the rest
  NotAClade,  // no edge splits them off: the root sits above the first of them instead
  NoLeaf,     // no leaf of the tree bears any of the names; the tree is unchanged
};

// Leaves are matched by name, ignoring case. Support values stay with their edges; an inner
// node left with a single child (the old root of a rooted tree) is removed and its two edges
// joined. A tree already rooted on that edge is left as it is.
RootOutcome RootOnLeaves(TTree& tree, const std::vector<std::string>& names);

// Length for a scale bar under a drawing spanning `span` branch-length units: 1, 2 or 5
// times a power of ten, the largest not above a quarter of the span; 0 for no span.
double ScaleBarLength(double span);
