// SPDX-License-Identifier: GPL-3.0-or-later
// The neighbour-joining analysis on the analysis frame: for every dataset and group chosen,
// the group report, the distance matrix from the group's mutation table, the tree (with
// bootstrap support when replicates are asked for), the gene-tree file, and the list of trees
// for the tree viewer. The dialog TNJTreeFrm and the command line both call RunNJ.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/BaseDbox1.h"
#include "common/PlatformRandom.h"
#include "trees/NJAnalysis.h"

class TDataProj;
struct IProgress;

// Pairwise distances of the rows (0-based sequence indexes of the table) over the sites of
// from..to (0, 0: all) with mutations that pass both filters, as pairwiseDistance gives them,
// but with the variance in every model (the table gives a standard deviation for the number of
// differences). Each sequence's states are packed once, so a pair costs a few word operations
// per 64 sites. With progress, the rows report and a cancel gives an empty matrix.
DistanceMatrix TableDistances(const tmutholder& table, const std::vector<int>& rows,
                              DistanceModel model, int siteFlags, int mutationFlags, int from = 0,
                              int to = 0, IProgress* progress = nullptr);

struct NJRunOutput {
  AnalysisOutput output;
  std::vector<NamedTree> trees;  // (title, bracket text) for the tree viewer, in run order
  int missingTrees = 0;          // datasets and groups of two or more sequences without a tree
};

class NJTreeAnalysis : public AnalysisFrame {
 public:
  // seed: the generator of the bootstrap replicates; from the clock when not given.
  NJTreeAnalysis(FrameOptions frame, NJTreeOptions options,
                 std::optional<std::uint32_t> seed = std::nullopt);
  std::vector<NamedTree> TakeTrees() { return std::move(run_.trees); }
  [[nodiscard]] int MissingTrees() const { return run_.missingTrees; }

 protected:
  // The outgroups stand in the tree like any other sequence, so their letters are scanned.
  [[nodiscard]] ScanChoices RunScanChoices() const override;
  bool BeforeRun() override;
  void DoForm(TDataSeq& ds) override;
  void AnalysePop(TDataSeq& ds, const std::string& groupName) override;
  void AfterRun() override;

 private:
  void AddSupport(TTree& tree, const std::vector<int>& rows, const std::vector<std::string>& names);
  NJTreeOptions nj_;
  NJTreeRun run_;
  PlatformRandom rng_;
  std::unique_ptr<TDataProj> replicates_;  // of the dataset being reported
  std::string supportNote_;                // replicates without a tree, for the group report
};

// The whole analysis: what the dialog's Ok and the command line both run. A cancelled run
// gives no trees.
NJRunOutput RunNJ(TDataProj& project, const FrameOptions& frame, const NJTreeOptions& options,
                  Services& services, std::optional<std::uint32_t> seed = std::nullopt);
