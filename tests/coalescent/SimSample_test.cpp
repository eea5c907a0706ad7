// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "coalescent/SimStats.h"
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
        EXPECT_TRUE(m.carrierCount > 0 && m.carrierCount < 12 && m.Count() == m.carrierCount);
        sites.insert(m.position);
      }
      EXPECT_TRUE(std::is_sorted(list.begin(), list.end(), [](const auto& a, const auto& b) {
        return a.position < b.position;
      }));
      EXPECT_EQ(countMutations ? list.size() : sites.size(), 25u);
      if (!countMutations) {
        EXPECT_EQ(v.stats.whole.segSites, 25);
      }
      withSharedSites += sites.size() < list.size();
    });
    EXPECT_EQ(runs, 60);
    EXPECT_GT(withSharedSites, 0);  // sites hit twice occurred, so the two targets differ
  }
  int runs = 0;
  Simulate(NeutralInputs(8, 500, 0.0), 3, 20, SimStatChoice(),
           [&](cTree&, const ReplicateView& v) { runs += v.table.mutations.empty(); });
  EXPECT_EQ(runs, 20);  // theta 0: no mutation
}

TEST(cTreeMakeSequences, MutationsChangeTheirCarriersAndTheLaterOneAtASiteWins) {
  RecordingMessages messages;
  cTree tree(messages);
  tree.inputs = NeutralInputs(4, 10, 0.0);
  ASSERT_TRUE(tree.InitSimulation(3));
  tree.MakeAncestor();
  for (auto [site, carriers] : {std::pair{0, 0b0101}, {5, 0b0011}, {5, 0b1010}}) {
    tmutation& m = tree.mutations.mutations.emplace_back();
    m.Resize(4);
    m.Words()[0] = static_cast<std::uint64_t>(carriers);
    m.position = site;
    m.carrierCount = m.Count();
  }
  std::vector<std::string> seqs;
  // The two derived letters at site 5 may coincide; new ones are drawn at every call.
  do tree.MakeSequences(seqs);
  while (seqs[0][5] == seqs[3][5]);
  const std::string& anc = tree.Ancestor();
  ASSERT_EQ(anc.size(), 10u);
  EXPECT_EQ(anc.find_first_not_of("ATGC"), std::string::npos);
  const char first = seqs[0][0], early = seqs[0][5], late = seqs[3][5];
  EXPECT_TRUE(first != anc[0] && early != anc[5] && late != anc[5]);
  auto changed = [&](std::initializer_list<std::pair<int, char>> letters) {
    std::string s = anc;
    for (auto [site, letter] : letters) s[static_cast<std::size_t>(site)] = letter;
    return s;
  };
  EXPECT_EQ(seqs[0], changed({{0, first}, {5, early}}));
  EXPECT_EQ(seqs[1], changed({{5, late}}));  // the later mutation at site 5 wins
  EXPECT_EQ(seqs[2], changed({{0, first}}));
  EXPECT_EQ(seqs[3], changed({{5, late}}));
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
    const SampleStats &w = v.stats.whole, &d = v.stats.demes[0];
    EXPECT_EQ(d.segSites, w.segSites);
    for (auto field : {&SampleStats::singletons, &SampleStats::theta, &SampleStats::pi,
                       &SampleStats::tajimaD, &SampleStats::fuLiDstar, &SampleStats::fuLiFstar,
                       &SampleStats::zns, &SampleStats::wallB, &SampleStats::wallQ})
      EXPECT_EQ(d.*field, w.*field);
    EXPECT_GT(w.theta, 0);
    EXPECT_TRUE(!v.stats.hasShared && v.stats.fst == -1 && v.stats.dxy == -1);
  });
  EXPECT_EQ(runs, 30);
}

TEST(ReplicateStats, SingletonsAreAFractionOfTheMutationsWhenASiteIsHitTwice) {
  tmutholder t;
  for (std::uint64_t carrier : {0b0001u, 0b0010u}) {  // two singletons at one site
    tmutation& m = t.mutations.emplace_back();
    m.Resize(4);
    m.Words()[0] = carrier;
    m.position = 3;
    m.carrierCount = 1;
  }
  samptype all;
  all.Resize(4);
  all.Words()[0] = 0b1111;
  SimStatChoice c;
  c.singletons = true;
  SampleStats out;
  ComputeSampleStats(t, all, 10, c, out);
  EXPECT_EQ(out.segSites, 1);
  EXPECT_DOUBLE_EQ(out.singletons, 1.0);
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
