// SPDX-License-Identifier: GPL-3.0-or-later
// Neighbour-joining through the analysis frame, with bootstrap support.
#include "trees/NJTreeAnalysis.h"

#include <algorithm>

#include "analysis/PolymEstimators.h"
#include "analysis/SiteStates.h"
#include "common/OutputFolder.h"
#include "common/Services.h"
#include "common/StepTicker.h"
#include "io/IOUnit.h"
#include "model/DataProjUnit.h"
#include "trees/NJTreeUnit.h"
#include "trees/SplitSupport.h"

DistanceMatrix TableDistances(const tmutholder& table, const std::vector<int>& rows,
                              DistanceModel model, int siteFlags, int mutationFlags, int from,
                              int to, IProgress* progress) {
  const int n = static_cast<int>(rows.size());
  DistanceMatrix out = DistanceMatrix::Zero(n);
  const int code = static_cast<int>(model);
  const double L = table.sitesOfClass(siteFlags);
  const int count = table.SequenceCount();
  const bool rowsFit =
      std::all_of(rows.begin(), rows.end(), [&](int r) { return r >= 0 && r < count; });
  if (table.mutations.empty() || L <= 0 || !rowsFit) {
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < i; ++j) out.Set(i, j, {-1, -1});
    return out;
  }
  const PackedStates states(table, rows, from, to, siteFlags, mutationFlags,
                            model == DistanceModel::Kimura2P);
  // The number of differences has one variance for every pair: that of the sample's mean.
  const double countVariance =
      model == DistanceModel::Differences
          ? nucleotideDiversityVar(table, from, to, table.sampleMask, siteFlags, mutationFlags)
          : -1;
  // Row i costs i pairs: the ticker counts pairs done, so the bar moves evenly.
  StepTicker ticker(progress, "Computing the distance matrix",
                    static_cast<long long>(n) * (n - 1) / 2);
  for (int i = 0; i < n; ++i) {
    if (ticker.Tick(static_cast<long long>(i) * (i - 1) / 2)) return DistanceMatrix{};
    for (int j = 0; j < i; ++j) {
      const PackedStates::PairCount c = states.Compare(i, j);
      DistanceResult r =
          DistanceOfDifferences(code, c.transitions, c.differences - c.transitions, L);
      if (model == DistanceModel::Differences) r.variance = countVariance;
      out.Set(i, j, {r.distance, r.variance});
    }
  }
  return out;
}

NJTreeAnalysis::NJTreeAnalysis(FrameOptions frame, NJTreeOptions options,
                               std::optional<std::uint32_t> seed)
    : AnalysisFrame(std::move(frame)),
      nj_(std::move(options)),
      rng_(seed ? PlatformRandom(*seed) : PlatformRandom::FromClock()) {
  // The table file's name and the group rows are the frame's own controls.
  nj_.tableFileName = OutputPath(fo.outputFolder, fo.tableFileName);
  nj_.popOut = fo.popOut;
}

ScanChoices NJTreeAnalysis::RunScanChoices() const {
  ScanChoices c;
  c.includeOutgroupsInSample = true;
  return c;
}

bool NJTreeAnalysis::BeforeRun() {
  run_ = NJTreeRun{};
  out.reportCaption = kNJReportCaption;
  return !(fo.doBootstrap && fo.phylipFile) || CreateEmptyFile(fo.phylipFileName);
}

void NJTreeAnalysis::DoForm(TDataSeq& ds) {
  replicates_.reset();
  if (fo.doBootstrap && !BootstrapDseq(ds, fo.bsReplicates, regionFrom, regionTo, replicates_,
                                       opt.indelMode, opt.ambiguityMode, rng_, *svc))
    replicates_.reset();  // cancelled: the trees go without support
  // The replicates one after another, as PHYLIP's own programs read several data sets.
  if (replicates_ && fo.phylipFile)
    for (int k = 0; k < replicates_->DatasetCount() && !Failed(); ++k)
      AppendToFile(fo.phylipFileName, PhylipText(*replicates_->DatasetAt(k)));
  AnalysisFrame::DoForm(ds);
  replicates_.reset();
}

void NJTreeAnalysis::AnalysePop(TDataSeq& ds, const std::string& groupName) {
  if (!BaseGroupReport(ds, groupName)) return;
  const int ti = TableIndex(ds, groupName);
  if (ti < 0) return;
  std::vector<int> rows;
  std::vector<bool> mask(static_cast<std::size_t>(ds.Count()), false);
  std::vector<std::string> names;
  for (int r = 1; r <= ds.Count(); ++r)
    if (groupMask.Test(r - 1)) {
      rows.push_back(r - 1);
      mask[static_cast<std::size_t>(r - 1)] = true;
      names.push_back(ds.NameAt(r));
    }
  if (rows.size() < 2) return;
  const DistanceMatrix matrix =
      TableDistances(*ds.mutHolders[static_cast<std::size_t>(ti)], rows, nj_.model, opt.siteFlags,
                     opt.mutationFlags, regionFrom, regionTo, &svc->progress);
  if (CancelRequested()) return;
  TTree tree;
  tree.LeavesFromDataset(ds, &mask);
  run_.report.clear();
  const bool written = NJAnalyseGroup(
      names, matrix, ds.dsName, groupName, groupName.empty(), nj_, run_, svc->messages, &tree,
      [&](TTree& joined) { AddSupport(joined, rows, names); }, &svc->progress);
  Append(run_.report);
  Append(supportNote_);
  run_.report.clear();
  supportNote_.clear();
  if (!written) Fail("Cannot write the file " + nj_.tableFileName + ".tree");
}

void NJTreeAnalysis::AddSupport(TTree& tree, const std::vector<int>& rows,
                                const std::vector<std::string>& names) {
  if (!replicates_ || replicates_->DatasetCount() == 0) return;
  std::vector<TTree> trees(static_cast<std::size_t>(replicates_->DatasetCount()));
  std::vector<const TTree*> built;
  StepTicker ticker(&svc->progress, "Bootstrap trees", replicates_->DatasetCount());
  for (int k = 0; k < replicates_->DatasetCount(); ++k) {
    if (ticker.Tick(k)) return;  // the run is cancelled: no support on a tree that goes
    const TDataSeq& rep = *replicates_->DatasetAt(k);
    TTree& t = trees[static_cast<std::size_t>(k)];
    const DistanceMatrix m = rep.mutHolders.empty()
                                 ? DistanceMatrix{}
                                 : TableDistances(*rep.mutHolders[0], rows, nj_.model, kSiteAll,
                                                  kMutAll, 0, 0, &svc->progress);
    t.LeavesFromNames(names);
    // A replicate whose distances cannot all be computed (saturated by the draw) gives no
    // tree; the support is the share among the replicates that do, and the report says how
    // many did not.
    const bool joined = m.n == static_cast<int>(rows.size()) && FindUndefined(m).count == 0 &&
                        NeighborJoin(t, m, nullptr, &svc->progress);
    if (joined) built.push_back(&t);
  }
  AssignSplitSupport(tree, built);
  const int failed = replicates_->DatasetCount() - static_cast<int>(built.size());
  if (failed > 0)
    supportNote_ =
        ("Bootstrap: " + std::to_string(failed) + " of " +
         std::to_string(replicates_->DatasetCount()) +
         " replicates gave no tree (undefined distances); support is counted over the others.\r\n");
}

void NJTreeAnalysis::AfterRun() {
  if (nj_.geneTree) out.notices.push_back(GeneTreeNotice(nj_));
  if (fo.doBootstrap && fo.phylipFile) {
    out.filesWritten.push_back(fo.phylipFileName);
    out.notices.push_back("Bootstrap replicates were saved to file " + fo.phylipFileName);
  }
}

NJRunOutput RunNJ(TDataProj& project, const FrameOptions& frame, const NJTreeOptions& options,
                  Services& services, std::optional<std::uint32_t> seed) {
  NJTreeAnalysis analysis(frame, options, seed);
  NJRunOutput result;
  result.output = analysis.Run(project, services);
  result.trees = analysis.TakeTrees();
  // A stopped run hands over no tree, not even those of the groups it had finished.
  if (result.output.cancelled) result.trees.clear();
  result.missingTrees = analysis.MissingTrees();
  return result;
}
