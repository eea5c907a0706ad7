// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "coalescent/SimTestSupport.h"

namespace {

LineageSegment OneRun(int n, std::uint64_t samples, int first, int last) {
  LineageSegment run;
  run.carriers.Resize(n);
  run.carriers.Words()[0] = samples;
  run.firstSite = first;
  run.lastSite = last;
  return run;
}

// "first-last:carrier bits" per run.
std::string Describe(const Material& m) {
  std::string s;
  for (const LineageSegment& r : m)
    s += std::to_string(r.firstSite) + "-" + std::to_string(r.lastSite) + ":" +
         std::to_string(r.carriers.Words()[0]) + " ";
  return s;
}

// The merge as first described, site by site: a new run wherever the pair of runs covering
// a site changes.
Material SiteBySiteMerge(const Material& p, const Material& a, int length) {
  auto cover = [](const Material& m, int s) {
    for (std::size_t k = 0; k < m.size(); ++k)
      if (m[k].firstSite <= s && s <= m[k].lastSite) return static_cast<int>(k);
    return -1;
  };
  Material out;
  int prevI = -2, prevJ = -2;
  for (int s = 0; s < length; ++s) {
    const int i = cover(p, s), j = cover(a, s);
    if (i < 0 && j < 0) continue;
    if (i != prevI || j != prevJ) {
      const std::uint64_t bits = (i < 0 ? 0 : p[static_cast<std::size_t>(i)].carriers.Words()[0]) |
                                 (j < 0 ? 0 : a[static_cast<std::size_t>(j)].carriers.Words()[0]);
      out.push_back(OneRun(6, bits, s, s));
    }
    out.back().lastSite = s;
    prevI = i;
    prevJ = j;
  }
  return out;
}

Material RandomMaterial(PlatformRandom& rng) {
  Material m;
  for (int s = rng.NextInt(3); s < 40; s += 1 + rng.NextInt(3)) {
    const int last = std::min(39, s + rng.NextInt(6));
    m.push_back(OneRun(6, 1 + static_cast<std::uint64_t>(rng.NextInt(62)), s, last));
    s = last;
  }
  return m;
}

CoalescentInputs TwoSamplesOfTenSites(bool conditionalOnTheta) {
  CoalescentInputs in = NeutralInputs(2, 10, 0.0);
  in.conditionalOnTheta = conditionalOnTheta;
  in.conditionalOnMutations = true;
  in.targetCount = 0;
  return in;
}

void Start(cTree& tree, const CoalescentInputs& in) {
  tree.inputs = in;
  ASSERT_TRUE(tree.InitSimulation(1));
  tree.StartReplicate();
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

}  // namespace

TEST(MergeMaterial, GivesTheRunsOfASiteBySiteMergeAndDropsFinishedRuns) {
  PlatformRandom rng(11);
  for (int trial = 0; trial < 400; ++trial) {
    const Material p = RandomMaterial(rng), a = RandomMaterial(rng);
    ASSERT_EQ(Describe(MergeMaterial(p, a)), Describe(SiteBySiteMerge(p, a, 40))) << trial;
  }
  Material done = {OneRun(3, 7, 0, 4)};
  done[0].finished = true;
  EXPECT_EQ(Describe(MergeMaterial(done, {OneRun(3, 2, 5, 9)})), "5-9:2 ");
}

// A break splits a lineage when its unfinished material lies on both sides, also when the
// break falls in a gap between its runs (Hudson's algorithm); a break past its last site
// changes nothing and the lineage goes back to the end of its deme.
TEST(cTreeRecombineAt, SplitsMaterialAcrossAGapButNotBeyondIt) {
  RecordingMessages messages;
  cTree tree(messages);
  Start(tree, TwoSamplesOfTenSites(false));
  tree.demes[0][0]->material = {OneRun(2, 1, 0, 2), OneRun(2, 1, 6, 8)};
  EXPECT_FALSE(tree.RecombineAt(0, 0, 8));
  ASSERT_EQ(tree.LineageCount(), 2);
  EXPECT_TRUE(tree.RecombineAt(0, 1, 4));
  ASSERT_EQ(tree.LineageCount(), 3);
  EXPECT_EQ(Describe(tree.demes[0][1]->material), "0-2:1 ");
  EXPECT_EQ(Describe(tree.demes[0][2]->material), "6-8:1 ");
}

// Worked by hand: branches sample 0: 1 (its two parent links span the same time, counted
// once), sample 1: 2, left: 1, right: 3, their first parent: 2, root: 0; in all 9, which is
// also lineages times time (2 x 1 + 3 x 1 + 2 x 2). Summing both links gave 10.
TEST(cTreeBranchTotals, ARecombinantChildCountsItsBranchOnce) {
  for (bool conditionalOnTheta : {false, true}) {
    SCOPED_TRACE(conditionalOnTheta);
    RecordingMessages messages;
    cTree tree(messages);
    Start(tree, TwoSamplesOfTenSites(conditionalOnTheta));
    ScriptOneRecombination(tree);
    if (!conditionalOnTheta) {
      const std::vector<double> totals = tree.BranchTotals();
      std::multimap<double, double> byHeight;
      for (std::size_t i = 0; i < totals.size(); ++i)
        byHeight.emplace(tree.nodes[i]->height, totals[i]);
      EXPECT_EQ(byHeight,
                (std::multimap<double, double>{{0, 1}, {0, 2}, {1, 1}, {1, 3}, {2, 2}, {4, 0}}));
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
  Start(tree, TwoSamplesOfTenSites(false));
  ScriptOneRecombination(tree);
  ASSERT_EQ(tree.nodes.size(), 6u);
  std::vector<int> counts(6, 0);
  for (int i = 0; i < 60000; ++i) ++counts[static_cast<std::size_t>(tree.ChooseThrowNode())];
  for (int c : counts) EXPECT_NEAR(c, 10000, kSigmas * std::sqrt(60000 / 6.0 * 5 / 6));
}

TEST(cTreeMessages, EachProblemOfAReplicateIsReportedOnceAfterIt) {
  RecordingMessages messages;
  cTree tree(messages);
  Start(tree, TwoSamplesOfTenSites(false));
  EXPECT_FALSE(tree.CoalesceAt(0, 0, 5));
  EXPECT_FALSE(tree.MigrateAt(0, 7, 0));
  EXPECT_TRUE(messages.errors.empty());
  tree.FinishReplicate();
  EXPECT_EQ(messages.errors,
            std::vector<std::string>{"GetNodeError: ArNode out of bounds (2 times)"});
}

TEST(cTreeInitSimulation, RefusesDemesThatCanNeverMeetWhileRecombinationGoesOn) {
  CoalescentInputs apart = NeutralInputs(4, 100, 0.01);
  apart.subdivided = true;
  apart.demeCount = 2;
  apart.demeSampleSizes = {2, 2};
  apart.recRatePerSite = 0.01f;
  // Migration, a split, no recombination or samples from one deme let every replicate end.
  std::vector<CoalescentInputs> cases(5, apart);
  cases[1].migrationRate = 0.5;
  cases[2].splitOff = false;
  cases[2].splitTime = 500;
  cases[3].recRatePerSite = 0;
  cases[4].demeSampleSizes = {4, 0};
  for (std::size_t c = 0; c < cases.size(); ++c) {
    SCOPED_TRACE(c);
    RecordingMessages messages;
    cTree tree(messages);
    tree.inputs = cases[c];
    ASSERT_EQ(tree.InitSimulation(2), c > 0);
    if (c == 0) {
      ASSERT_EQ(messages.errors.size(), 1u);
      EXPECT_EQ(messages.errors[0].find("Error: samples from different demes can never"), 0u);
    }
    for (int r = 0; r < 5 && c > 0; ++r) EXPECT_TRUE(tree.BuildReplicate());
  }
}

TEST(RunReplicates, CancelIsNoticedInsideALongReplicate) {
  RecordingMessages messages;
  cTree tree(messages);
  tree.inputs = NeutralInputs(3000, 10000, 0.001);
  tree.inputs.recRatePerSite = 0.01f;
  ASSERT_TRUE(tree.InitSimulation(3));
  int polls = 0, handed = 0;
  RunCallbacks callbacks;
  callbacks.cancelled = [&] { return ++polls >= 3; };  // before the replicate, then inside it
  callbacks.sink = [&](const ReplicateView&) { ++handed; };
  const RunOutcome outcome = RunReplicates(tree, 4, SimStatChoice(), false, callbacks);
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_EQ(outcome.completed + handed, 0);
  EXPECT_EQ(polls, 3);
  EXPECT_TRUE(tree.mutations.mutations.empty());
}
