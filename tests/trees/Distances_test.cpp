// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "analysis/MutHold.h"
#include "support/RecordingServices.h"
#include "trees/Distances.h"

// Expected values below were worked out from the formulas with a pocket calculator
// (cross-checked in Python): JC69 d = -3/4 ln(1 - 4p/3), Var = p(1-p)/(L(1-4p/3)^2);
// K2P d = ln(a)/2 + ln(b)/4 with a = 1/(1-2P-Q), b = 1/(1-2Q).

TEST(CountSites, SplitsDifferencesIntoTransitionsAndTransversionsOverComparableSites) {
  //              ACGTACGTACGTACGTACGT plus four sites with a gap, N or an ambiguity
  const std::string a = "ACGTACGTACGTACGTACGT-ANa";
  const std::string b = "GTCTACGTACGTACGTACGTA?-r";
  const SiteCounts c = CountSites(a, b);
  EXPECT_EQ(c.sites, 20);
  EXPECT_EQ(c.transitions, 2);    // A->G, C->T
  EXPECT_EQ(c.transversions, 1);  // G->C
  // Lower case and U count as bases; extra letters of the longer sequence are missing.
  const SiteCounts d = CountSites("acgu", "ACGTTTTT");
  EXPECT_EQ(d.sites, 4);
  EXPECT_EQ(d.Differences(), 0);
}

// One formula routine serves the analyses (from mutation tables) and the letter comparison.
TEST(DistanceOfDifferences, JukesCantorWorkedExample) {
  // 2 differences in 10 sites: p = 0.2, 1 - 4p/3 = 11/15.
  const DistanceResult p = DistanceOfDifferences(kJukesCantor, 1, 1, 10);
  EXPECT_NEAR(p.distance, 0.2326161962, 1e-9);
  EXPECT_NEAR(p.variance, 0.0297520661, 1e-9);
  const DistanceResult same = DistanceOfDifferences(kJukesCantor, 0, 0, 10);
  EXPECT_EQ(same.distance, 0);
  EXPECT_FALSE(std::signbit(same.distance));
  EXPECT_EQ(same.variance, 0);
}

TEST(DistanceOfDifferences, KimuraWorkedExample) {
  // P = 2/20 transitions, Q = 1/20 transversions: a = 4/3, b = 10/9, c = 11/9.
  const DistanceResult p = DistanceOfDifferences(kKimura2P, 2, 1, 20);
  EXPECT_NEAR(p.distance, 0.1701811651, 1e-9);
  EXPECT_NEAR(p.variance, 0.0107330247, 1e-9);
  // With transversions only K2P is not JC69: P = 0, Q = 0.2 gives
  // d = ln(1/0.8)/2 + ln(1/0.6)/4 = 0.1115718 + 0.1277064.
  EXPECT_NEAR(DistanceOfDifferences(kKimura2P, 0, 2, 10).distance, 0.2392782, 1e-6);
}

TEST(DistanceOfDifferences, NumberOfDifferencesLeavesTheVarianceToTheSample) {
  // The letter comparison gave a binomial variance L p (1 - p) here, a third answer beside the
  // two the reports printed; the variance of a count is that of Pi in the sample
  // (nucleotideDiversityVar), which the mutation table supplies.
  const DistanceResult p = DistanceOfDifferences(kDifferenceCount, 2, 1, 20);
  EXPECT_EQ(p.distance, 3);
  EXPECT_EQ(p.variance, -1);
  DistanceMatrix m;
  ASSERT_TRUE(ComputeDistances({"AAAA", "AAGC"}, DistanceModel::Differences, m));
  EXPECT_EQ(m.At(1, 0), 2);
  EXPECT_EQ(m.VarAt(1, 0), -1);
}

TEST(DistanceOfDifferences, SaturatedOrEmptyPairsAreUndefined) {
  struct Case {
    int model, transitions, transversions;
    double sites;
  };
  for (const Case& c : {Case{kJukesCantor, 1, 2, 4},   // p = 3/4 exactly
                        Case{kJukesCantor, 5, 5, 10},  // p = 1
                        Case{kKimura2P, 0, 5, 10},     // 1 - 2Q = 0
                        Case{kKimura2P, 4, 3, 10},     // 1 - 2P - Q < 0
                        Case{kJukesCantor, 0, 0, 0},   // nothing to compare
                        Case{kKimura2P, 0, 0, 0}, Case{kDifferenceCount, 0, 0, 0}}) {
    const DistanceResult p =
        DistanceOfDifferences(c.model, c.transitions, c.transversions, c.sites);
    EXPECT_EQ(p.distance, -1);
    EXPECT_EQ(p.variance, -1);
  }
}

TEST(PackedSeq, AgreesWithLetterByLetterCountsOnRandomSequences) {
  std::mt19937 rng(11);
  const std::string alphabet = "ACGTacgtuN-RY?";
  for (int trial = 0; trial < 50; ++trial) {
    const int len = std::uniform_int_distribution<int>(0, 300)(rng);
    const int len2 = std::uniform_int_distribution<int>(0, 300)(rng);
    const bool cleanOnly = trial % 3 == 0;  // the whole-sequence shortcut
    std::string a, b;
    for (int i = 0; i < len; ++i) a += alphabet[rng() % (cleanOnly ? 4 : alphabet.size())];
    for (int i = 0; i < len2; ++i) b += alphabet[rng() % (cleanOnly ? 4 : alphabet.size())];
    const SiteCounts slow = CountSites(a, b);
    const SiteCounts fast = PackedSeq::Compare(PackedSeq(a), PackedSeq(b));
    EXPECT_EQ(fast.sites, slow.sites) << a << " " << b;
    EXPECT_EQ(fast.transitions, slow.transitions);
    EXPECT_EQ(fast.transversions, slow.transversions);
  }
}

TEST(ComputeDistances, SymmetricMatrixWithZeroDiagonalAndUndefinedPairs) {
  DistanceMatrix m;
  ASSERT_TRUE(ComputeDistances({"AAAAAAAAAA", "AAAAAAAAGG", "----------", "AAAAAAAAAA"},
                               DistanceModel::JukesCantor, m));
  ASSERT_EQ(m.n, 4);
  EXPECT_EQ(m.At(0, 0), 0);
  EXPECT_NEAR(m.At(1, 0), 0.2326161962, 1e-9);
  EXPECT_EQ(m.At(0, 1), m.At(1, 0));
  EXPECT_EQ(m.VarAt(0, 1), m.VarAt(1, 0));
  EXPECT_EQ(m.At(2, 0), -1);  // nothing to compare with an all-gap sequence
  EXPECT_EQ(m.At(3, 0), 0);
}

TEST(ComputeDistances, StopsWhenCancelled) {
  std::vector<std::string> seqs(200, "ACGT");
  RecordingProgress progress;
  progress.cancelAfterSteps = 1;
  DistanceMatrix m;
  EXPECT_FALSE(ComputeDistances(seqs, DistanceModel::Kimura2P, m, &progress));
  EXPECT_EQ(progress.steps, 1);
}
