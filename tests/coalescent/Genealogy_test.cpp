// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "coalescent/CoalUnit.h"
#include "coalescent/SimTestSupport.h"

namespace {

LineageSegment OneRun(int n, std::initializer_list<int> samples, int first, int last) {
  LineageSegment run;
  run.carriers.Resize(n);
  for (int s : samples) run.carriers.Set(s);
  run.firstSite = first;
  run.lastSite = last;
  return run;
}

// The merge as first described, site by site: a new run wherever the pair of runs covering
// a site changes.
Material SiteBySiteMerge(const Material& p, const Material& a, int length) {
  auto cover = [](const Material& m, int s) {
    int found = -1;
    for (std::size_t k = 0; k < m.size(); ++k)
      if (!m[k].finished && m[k].firstSite <= s && s <= m[k].lastSite) found = static_cast<int>(k);
    return found;
  };
  Material out;
  int prevI = -2, prevJ = -2;
  for (int s = 0; s < length; ++s) {
    const int i = cover(p, s), j = cover(a, s);
    if (i < 0 && j < 0) continue;
    if (i == prevI && j == prevJ) {
      out.back().lastSite = s;
      continue;
    }
    LineageSegment run = i >= 0 ? p[static_cast<std::size_t>(i)] : a[static_cast<std::size_t>(j)];
    if (i >= 0 && j >= 0)
      for (int b = 0; b < run.carriers.Size(); ++b)
        if (a[static_cast<std::size_t>(j)].carriers.Test(b)) run.carriers.Set(b);
    run.firstSite = run.lastSite = s;
    run.finished = false;
    out.push_back(run);
    prevI = i;
    prevJ = j;
  }
  return out;
}

Material RandomMaterial(PlatformRandom& rng, int n, int length) {
  Material m;
  for (int s = rng.NextInt(3); s < length;) {
    const int last = std::min(length - 1, s + rng.NextInt(6));
    LineageSegment run = OneRun(n, {}, s, last);
    for (int b = 0; b < n; ++b)
      if (rng.NextInt(2) == 1) run.carriers.Set(b);
    if (!run.carriers.Any()) run.carriers.Set(rng.NextInt(n));
    m.push_back(run);
    s = last + 1 + rng.NextInt(3);
  }
  return m;
}

bool SameRuns(const Material& x, const Material& y) {
  if (x.size() != y.size()) return false;
  for (std::size_t k = 0; k < x.size(); ++k)
    if (x[k].firstSite != y[k].firstSite || x[k].lastSite != y[k].lastSite ||
        !(x[k].carriers == y[k].carriers))
      return false;
  return true;
}

cTree& Started(cTree& tree, CoalescentInputs in) {
  tree.inputs = in;
  EXPECT_TRUE(tree.InitSimulation(1));
  tree.StartReplicate();
  return tree;
}

// Two samples of 10 sites. Time 1: sample 0 splits into [0..4] and [5..9]; time 2: [0..4]
// meets sample 1 (whose [0..4] is then complete); time 4: [5..9] meets that node, the root.
void ScriptOneRecombination(cTree& tree) {
  tree.AdvanceTime(1);
  ASSERT_TRUE(tree.RecombineAt(0, 0, 4));  // deme list: sample 1, left, right
  tree.AdvanceTime(1);
  ASSERT_TRUE(tree.CoalesceAt(0, 1, 0));  // left with sample 1; list: right, parent
  tree.AdvanceTime(2);
  ASSERT_TRUE(tree.CoalesceAt(0, 0, 1));
  ASSERT_EQ(tree.LineageCount(), 0);
}

CoalescentInputs TwoSamplesOfTenSites(bool conditionalOnTheta) {
  CoalescentInputs in = NeutralInputs(2, 10, 0.0);
  in.conditionalOnTheta = conditionalOnTheta;
  in.conditionalOnMutations = true;
  in.targetCount = 0;
  return in;
}

}  // namespace

TEST(MergeMaterial, GivesTheRunsOfASiteBySiteMergeAndDropsFinishedRuns) {
  PlatformRandom rng(11);
  for (int trial = 0; trial < 400; ++trial) {
    const Material p = RandomMaterial(rng, 6, 40), a = RandomMaterial(rng, 6, 40);
    ASSERT_TRUE(SameRuns(MergeMaterial(p, a), SiteBySiteMerge(p, a, 40))) << "trial " << trial;
  }
  Material done = {OneRun(3, {0, 1, 2}, 0, 4)};
  done[0].finished = true;
  const Material merged = MergeMaterial(done, {OneRun(3, {1}, 5, 9)});
  EXPECT_TRUE(SameRuns(merged, {OneRun(3, {1}, 5, 9)}));
}

// A break splits a lineage when its unfinished material lies on both sides, also when the
// break falls in a gap between its runs (Hudson's algorithm); a break past its last site
// changes nothing and the lineage goes back to the end of its deme.
TEST(cTreeRecombineAt, SplitsMaterialAcrossAGapButNotBeyondIt) {
  RecordingMessages messages;
  cTree tree(messages);
  Started(tree, TwoSamplesOfTenSites(false));
  tree.demes[0][0]->material = {OneRun(2, {0}, 0, 2), OneRun(2, {0}, 6, 8)};
  EXPECT_FALSE(tree.RecombineAt(0, 0, 8));
  ASSERT_EQ(tree.LineageCount(), 2);
  ASSERT_EQ(tree.demes[0][1]->material.size(), 2u);
  EXPECT_TRUE(tree.RecombineAt(0, 1, 4));
  ASSERT_EQ(tree.LineageCount(), 3);
  EXPECT_TRUE(SameRuns(tree.demes[0][1]->material, {OneRun(2, {0}, 0, 2)}));
  EXPECT_TRUE(SameRuns(tree.demes[0][2]->material, {OneRun(2, {0}, 6, 8)}));
  EXPECT_TRUE(tree.FinishReplicate());
}

// Worked by hand: branches sample 0: 1 (its two parent links span the same time, counted
// once), sample 1: 2, left: 1, right: 3, their first parent: 2, root: 0; in all 9, which is
// also lineages times time (2 x 1 + 3 x 1 + 2 x 2). Summing both links gave 10.
TEST(cTreeBranchTotals, ARecombinantChildCountsItsBranchOnce) {
  for (bool conditionalOnTheta : {false, true}) {
    SCOPED_TRACE(conditionalOnTheta);
    RecordingMessages messages;
    cTree tree(messages);
    Started(tree, TwoSamplesOfTenSites(conditionalOnTheta));
    ScriptOneRecombination(tree);
    if (!conditionalOnTheta) {
      const std::vector<double> totals = tree.BranchTotals();
      std::multimap<double, double> byHeight;
      for (std::size_t i = 0; i < totals.size(); ++i)
        byHeight.emplace(tree.nodes[i]->height, totals[i]);
      const std::multimap<double, double> expected = {{0, 1}, {0, 2}, {1, 1},
                                                      {1, 3}, {2, 2}, {4, 0}};
      EXPECT_EQ(byHeight, expected);
    }
    ASSERT_TRUE(tree.FinishReplicate());
    EXPECT_DOUBLE_EQ(tree.LastBranchTotal(), 9.0);
    EXPECT_DOUBLE_EQ(tree.LastTmrca(), 4.0);
    EXPECT_TRUE(messages.errors.empty());
  }
}

// Rounding U x (N - 1) chose the first and the last node half as often as the others.
TEST(cTreeChooseThrowNode, EveryRecordedNodeIsEquallyLikely) {
  RecordingMessages messages;
  cTree tree(messages);
  Started(tree, TwoSamplesOfTenSites(false));
  ScriptOneRecombination(tree);
  ASSERT_EQ(tree.nodes.size(), 6u);
  std::vector<int> counts(6, 0);
  const int draws = 60000;
  for (int i = 0; i < draws; ++i) ++counts[static_cast<std::size_t>(tree.ChooseThrowNode())];
  const double p = 1.0 / 6, sd = std::sqrt(draws * p * (1 - p));
  for (int c : counts) EXPECT_NEAR(c, draws * p, kSigmas * sd);
}

TEST(cTreeMessages, EachProblemOfAReplicateIsReportedOnceWithItsCount) {
  RecordingMessages messages;
  cTree tree(messages);
  Started(tree, TwoSamplesOfTenSites(false));
  EXPECT_FALSE(tree.CoalesceAt(0, 0, 5));
  EXPECT_FALSE(tree.MigrateAt(0, 7, 0));
  EXPECT_FALSE(tree.MigrateAt(0, 0, 3));
  EXPECT_TRUE(messages.errors.empty());  // nothing while the replicate runs
  tree.FinishReplicate();
  EXPECT_EQ(messages.errors,
            (std::vector<std::string>{"AddNodeError: ArNode out of bounds",
                                      "GetNodeError: ArNode out of bounds (2 times)"}));
}

TEST(cTreeInitSimulation, RefusesDemesThatCanNeverMeetWhileRecombinationGoesOn) {
  auto subdivided = [] {
    CoalescentInputs in = NeutralInputs(4, 100, 0.01);
    in.subdivided = true;
    in.demeCount = 2;
    in.demeSampleSizes = {2, 2};
    in.recRatePerSite = 0.01f;
    return in;
  };
  {
    RecordingMessages messages;
    cTree tree(messages);
    tree.inputs = subdivided();
    EXPECT_FALSE(tree.InitSimulation(1));
    ASSERT_EQ(messages.errors.size(), 1u);
    EXPECT_EQ(messages.errors[0].rfind("Error: samples from different demes can never coalesce", 0),
              0u);
  }
  // Migration, a split, no recombination or samples from one deme let every replicate end.
  std::vector<CoalescentInputs> finishing(4, subdivided());
  finishing[0].migrationRate = 0.5;
  finishing[1].splitOff = false;
  finishing[1].splitTime = 500;
  finishing[2].recRatePerSite = 0;
  finishing[3].demeSampleSizes = {4, 0};
  for (const CoalescentInputs& in : finishing) {
    RecordingMessages messages;
    cTree tree(messages);
    tree.inputs = in;
    ASSERT_TRUE(tree.InitSimulation(2));
    for (int r = 0; r < 5; ++r) EXPECT_TRUE(tree.BuildReplicate());
    EXPECT_TRUE(messages.errors.empty());
  }
}

TEST(cTreeInitSimulation, PutsEverySampleInTheFirstDemeWhenTheDemeSizesDoNotAddUp) {
  RecordingMessages messages;
  cTree tree(messages);
  tree.inputs = NeutralInputs(10, 100, 0.01);
  tree.inputs.subdivided = true;
  tree.inputs.demeCount = 3;
  tree.inputs.demeSampleSizes = {8, -3, 5};
  ASSERT_TRUE(tree.InitSimulation(1));
  EXPECT_EQ(messages.errors,
            (std::vector<std::string>{"Error: Total number of sequences is not equal to\r\nthe sum "
                                      "of sequences sampled from all the demes\r\nAll sequences "
                                      "will be assigned to one deme"}));
  ASSERT_EQ(tree.DemeMasks().size(), 3u);
  EXPECT_EQ(tree.DemeMasks()[0].Count(), 10);
  EXPECT_EQ(tree.DemeMasks()[1].Count() + tree.DemeMasks()[2].Count(), 0);
}

TEST(RunReplicates, CancelIsNoticedInsideALongReplicate) {
  RecordingMessages messages;
  cTree tree(messages);
  tree.inputs = NeutralInputs(3000, 10000, 0.001);
  tree.inputs.recRatePerSite = 0.01f;
  ASSERT_TRUE(tree.InitSimulation(3));
  int polls = 0;
  RunCallbacks callbacks;
  callbacks.cancelled = [&] { return ++polls >= 3; };  // before the replicate, then inside it
  int handed = 0;
  callbacks.sink = [&](const ReplicateView&) { ++handed; };
  const RunOutcome outcome = RunReplicates(tree, 4, SimStatChoice(), false, callbacks);
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_EQ(outcome.completed, 0);
  EXPECT_EQ(handed, 0);
  EXPECT_EQ(polls, 3);
  EXPECT_TRUE(tree.mutations.mutations.empty());
}
