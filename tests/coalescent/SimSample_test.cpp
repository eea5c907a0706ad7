// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "coalescent/SimTestSupport.h"

TEST(SimulatedTargets, EveryReplicateHoldsExactlyTheTargetOfMutationsOrOfSites) {
  for (bool countMutations : {true, false}) {
    SCOPED_TRACE(countMutations);
    CoalescentInputs in = NeutralInputs(12, 40, 0.0);
    in.conditionalOnTheta = false;
    in.conditionalOnMutations = countMutations;
    in.targetCount = 25;
    in.recRatePerSite = 0.05f;
    int runs = 0, withSharedSites = 0;
    Simulate(in, 5, 60, SimStatChoice(), [&](cTree&, const ReplicateView& v) {
      ++runs;
      const std::vector<tmutation>& list = v.table.mutations;
      std::set<int> sites;
      for (const tmutation& m : list) {
        EXPECT_GT(m.carrierCount, 0);
        EXPECT_LT(m.carrierCount, 12);
        EXPECT_EQ(m.Count(), m.carrierCount);
        sites.insert(m.position);
      }
      EXPECT_TRUE(std::is_sorted(list.begin(), list.end(), [](const auto& a, const auto& b) {
        return a.position < b.position;
      }));
      if (countMutations) {
        EXPECT_EQ(list.size(), 25u);
      } else {
        EXPECT_EQ(sites.size(), 25u);
        EXPECT_EQ(v.stats.whole.segSites, 25);
      }
      withSharedSites += sites.size() < list.size();
    });
    EXPECT_EQ(runs, 60);
    EXPECT_GT(withSharedSites, 0);  // sites hit twice occurred, so the two targets differ
  }
}

TEST(SimulatedTargets, ZeroThetaPlacesNoMutation) {
  int runs = 0;
  Simulate(NeutralInputs(8, 500, 0.0), 3, 20, SimStatChoice(), [&](cTree&, const ReplicateView& v) {
    ++runs;
    EXPECT_TRUE(v.table.mutations.empty());
    EXPECT_EQ(v.stats.whole.segSites, 0);
  });
  EXPECT_EQ(runs, 20);
}

TEST(cTreeMakeSequences, MutationsChangeTheirCarriersAndTheLaterOneAtASiteWins) {
  RecordingMessages messages;
  cTree tree(messages);
  tree.inputs = NeutralInputs(4, 10, 0.0);
  ASSERT_TRUE(tree.InitSimulation(3));
  tree.MakeAncestor();
  auto add = [&](int site, std::initializer_list<int> carriers) {
    tmutation m;
    m.Resize(4);
    for (int c : carriers) m.Set(c);
    m.position = site;
    m.carrierCount = m.Count();
    tree.mutations.mutations.push_back(m);
  };
  add(0, {0, 2});
  add(5, {0, 1});
  add(5, {1, 3});
  std::vector<std::string> seqs;
  // The two derived letters at site 5 may coincide; new ones are drawn at every call.
  for (int attempt = 0; attempt < 50; ++attempt) {
    tree.MakeSequences(seqs);
    if (seqs[0][5] != seqs[3][5]) break;
  }
  const std::string& ancestor = tree.Ancestor();
  ASSERT_EQ(ancestor.size(), 10u);
  ASSERT_EQ(seqs.size(), 4u);
  EXPECT_EQ(ancestor.find_first_not_of("ATGC"), std::string::npos);
  EXPECT_NE(seqs[0][0], ancestor[0]);
  EXPECT_EQ(seqs[2][0], seqs[0][0]);
  EXPECT_EQ(seqs[1][0], ancestor[0]);
  ASSERT_NE(seqs[0][5], seqs[3][5]);
  EXPECT_EQ(seqs[1][5], seqs[3][5]);
  EXPECT_EQ(seqs[2][5], ancestor[5]);
  for (const std::string& s : seqs) {
    for (std::size_t p : {1u, 2u, 3u, 4u, 6u, 7u, 8u, 9u}) EXPECT_EQ(s[p], ancestor[p]);
  }
}

TEST(ReplicateStats, WithOneDemeTheDemeValuesAreTheWholeSampleValues) {
  CoalescentInputs in = NeutralInputs(15, 2000, 0.005);
  in.recRatePerSite = 0.001f;
  SimStatChoice all;
  all.singletons = all.theta = all.fuLi = all.zns = all.wallBQ = true;
  all.fst = all.dst = all.kst = all.nm = all.dxy = all.shared = true;
  int runs = 0;
  Simulate(in, 9, 30, all, [&](cTree&, const ReplicateView& v) {
    ++runs;
    ASSERT_EQ(v.stats.demes.size(), 1u);
    const SampleStats& w = v.stats.whole;
    const SampleStats& d = v.stats.demes[0];
    EXPECT_EQ(d.segSites, w.segSites);
    for (auto field : {&SampleStats::singletons, &SampleStats::theta, &SampleStats::pi,
                       &SampleStats::tajimaD, &SampleStats::fuLiDstar, &SampleStats::fuLiFstar,
                       &SampleStats::zns, &SampleStats::wallB, &SampleStats::wallQ})
      EXPECT_EQ(d.*field, w.*field);
    EXPECT_GT(w.theta, 0);
    EXPECT_FALSE(v.stats.hasShared);
    EXPECT_EQ(v.stats.fst, -1);
    EXPECT_EQ(v.stats.dxy, -1);
  });
  EXPECT_EQ(runs, 30);
}

namespace {

std::vector<int> FirstReplicatePositions(std::uint64_t seed) {
  std::vector<int> positions;
  RecordingMessages messages;
  cTree tree(messages);
  tree.inputs = NeutralInputs(8, 100000, 0.0001);
  tree.inputs.recRatePerSite = 0.0001f;
  if (!tree.InitSimulation(seed) || !tree.BuildReplicate()) return positions;
  for (const tmutation& m : tree.mutations.mutations) positions.push_back(m.position);
  return positions;
}

}  // namespace

// The clock used to be reduced to one of 100 seeds: one pair of runs in a hundred repeated.
TEST(SimulationSeeds, OneSeedRepeatsARunAndDifferentSeedsGiveDifferentRuns) {
  EXPECT_EQ(FirstReplicatePositions(42), FirstReplicatePositions(42));
  std::set<std::vector<int>> seen;
  for (std::uint64_t seed = 1; seed <= 300; ++seed) seen.insert(FirstReplicatePositions(seed));
  EXPECT_EQ(seen.size(), 300u);

  std::set<std::uint32_t> states;
  for (std::uint32_t seed = 0; seed < 100000; ++seed) states.insert(SeedsFrom(seed).platformState);
  EXPECT_EQ(states.size(), 100000u);
}
