// SPDX-License-Identifier: GPL-3.0-or-later
// The neighbour-joining analysis without its dialog: options with the dialog's defaults, the
// per-group step that the analysis frame calls with the group's distance matrix, and the
// gene-tree file. The dialog TNJTreeFrm fills NJTreeOptions from its controls, lets the frame
// loop over datasets and groups, and hands NJTreeRun::trees to the tree viewer.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "trees/Distances.h"
#include "trees/TreeTexts.h"

struct IMessages;
struct IProgress;

struct NJTreeOptions {
  DistanceModel model = DistanceModel::JukesCantor;  // rbJC / rbKimura / rbNumDif
  bool showSD = true;                                // cbSDK
  bool geneTree = false;                             // cbGeneTree
  bool popOut = false;                               // cbPopOut
  std::string tableFileName = "output";              // TableFileName, without ".tree"
  bool buildTree = true;                             // false: the distance matrices alone, no tree
};

struct NJTreeRun {
  std::string report;            // appended to after each group's heading
  std::vector<NamedTree> trees;  // (title, bracket text) in the order built
  bool geneTreeFailed = false;   // the run stops at a gene-tree file error
  int missingTrees = 0;          // groups of two or more sequences that got no tree
};

inline constexpr const char* kNJReportCaption = "Neighbour Joining tree reconstruction report";

// "Phylogenies for individual datasets were appended to file " + TableFileName + ".tree".
std::string GeneTreeNotice(const NJTreeOptions& options);

// One group (or the whole dataset): the matrix, the tree and its terminal branch lengths go
// to run.report; a built tree is added to run.trees and, when asked, to the gene-tree file.
// names and matrix rows are the group's sequences in dataset order. False only when the
// gene-tree file could not be written.
// leaves, when given, holds the group's leaves (LeavesFromDataset) and receives the tree;
// beforeWriting sees the joined tree before its text is written.
bool NJAnalyseGroup(const std::vector<std::string>& names, const DistanceMatrix& matrix,
                    const std::string& datasetName, const std::string& groupName, bool wholeDataset,
                    const NJTreeOptions& options, NJTreeRun& run, IMessages& messages,
                    TTree* leaves = nullptr, const std::function<void(TTree&)>& beforeWriting = {},
                    IProgress* progress = nullptr);

// Appends "datasetName TAB bracketText CR LF" to the file, creating it when absent.
bool AppendGeneTree(const std::string& path, const std::string& datasetName,
                    const std::string& bracketText, IMessages& messages);
