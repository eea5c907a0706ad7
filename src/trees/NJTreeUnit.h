// SPDX-License-Identifier: GPL-3.0-or-later
// Neighbour-joining over a distance matrix and the report text of a neighbour-joining run:
// the distance matrix, the tree in bracket form and its terminal branch lengths.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "trees/Distances.h"
#include "trees/TreeUnit.h"

struct IMessages;
struct IProgress;

// Joins the tree's first n nodes (the leaves in matrix order, LeavesFromNames) into an
// unrooted-style tree whose root holds the last three clusters; O(n^3) time. The matrix is
// symmetrised first. Refuses, with a message naming the first pair, a matrix holding an
// undefined (negative) distance, since no value can stand in for it honestly. Negative branch
// lengths are stored as 0. True when the tree then has more than n and at most 2n - 1 nodes.
// With progress, the joins report and stop at a cancel (false; the tree is then unfinished and
// the caller drops it).
bool NeighborJoin(TTree& tree, const DistanceMatrix& matrix, IMessages* messages = nullptr,
                  IProgress* progress = nullptr);

// The first undefined distance (i > j) and how many there are; count 0 when none.
struct UndefinedDistances {
  int count = 0;
  int i = -1, j = -1;
};
UndefinedDistances FindUndefined(const DistanceMatrix& matrix);

// "Jukes and Cantor distances", "Kimura (2 param) distances", "Number of nucleotide differences".
std::string ModelTitle(DistanceModel model);

// The heading and the matrix: distances in the lower left, standard deviations in the upper
// right, names right-aligned in columns of the longest name (4..7 letters) plus one.
// With progress, the rows report and stop at a cancel (the text is then cut short).
std::string DistanceMatrixReport(const std::vector<std::string>& names,
                                 const DistanceMatrix& matrix, DistanceModel model, bool showSD,
                                 IProgress* progress = nullptr);

// One group's part of the report after the group heading: the matrix, then the tree and the
// terminal branch lengths (or why there is none). tree receives the tree built (empty when
// none), so the caller can hand its bracket text to the viewer and the gene-tree file. When
// tree already holds one leaf per name (LeavesFromDataset) those leaves are joined, else
// leaves are made from the names. beforeWriting, when given, sees the joined tree before its
// bracket text is written (to put bootstrap support on it).
std::string NeighborJoinReport(const std::vector<std::string>& names, const DistanceMatrix& matrix,
                               DistanceModel model, bool showSD, TTree& tree,
                               IMessages* messages = nullptr,
                               const std::function<void(TTree&)>& beforeWriting = {},
                               IProgress* progress = nullptr);

// "Terminal branch lengths:" and one line per leaf.
std::string TerminalBranchLengths(const TTree& tree);

// Title of a group's tree in the viewer: the dataset name, with "_" + group for a group.
std::string NJTreeTitle(const std::string& datasetName, const std::string& groupName,
                        bool wholeDataset);
