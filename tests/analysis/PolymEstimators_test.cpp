// SPDX-License-Identifier: GPL-3.0-or-later
// Theta, Pi, their variances and the site frequency spectrum on alignments worked by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/PolymEstimators.h"
#include "analysis/ScanFixture.h"

namespace {

// Four sequences, one singleton: S = 1, a(4) = 11/6, theta = 6/11, Pi = 3 pairs of 6 = 0.5.
// Var(Pi) = theta 5 / 9 + theta^2 46 / 108 = 30/99 + 1656/13068 = 0.4297521.
// Var(theta) without recombination = (a^2 + b) / (a^2 (a^2 + b)) = 1 / a^2 = 36/121.
TEST(PolymEstimators, SingletonInFourSequences) {
  ScanFixture f({"ACGTACGTAC", "ACGTACGTAC", "ACGTACGTAC", "ACGTACGTAT"});
  ASSERT_TRUE(f.Scan(Options(0)));
  const tmutholder& t = f.Table();
  const samptype all = AllOf(4);
  EXPECT_NEAR(thetaW(t, 0, 0, all, kSiteAll, kMutAll), 6.0 / 11, 1e-12);
  EXPECT_NEAR(nucleotideDiversity(t, 0, 0, all, kSiteAll, kMutAll), 0.5, 1e-12);
  EXPECT_NEAR(thetaVarNoRec(t, 0, 0, all, kSiteAll, kMutAll), 36.0 / 121, 1e-12);
  EXPECT_NEAR(thetaVarRec(t, 0, 0, all, kSiteAll, kMutAll), 36.0 / 121, 1e-12);
  // The per-sequence form throughout: a per-site first term (divided by L = 10) would give
  // 0.0303 + 0.1267 instead.
  EXPECT_NEAR(nucleotideDiversityVar(t, 0, 0, all, kSiteAll, kMutAll), 30.0 / 99 + 1656.0 / 13068,
              1e-12);
}

TEST(PolymEstimators, UndefinedForTooFewSequencesOrAWrongMask) {
  ScanFixture f({"ACGT", "ACGA", "TCGA"});
  ASSERT_TRUE(f.Scan(Options(0)));
  const tmutholder& t = f.Table();
  samptype one(3);
  one.Set(0);
  EXPECT_EQ(thetaW(t, 0, 0, one, kSiteAll, kMutAll), -1);
  EXPECT_EQ(thetaVarNoRec(t, 0, 0, one, kSiteAll, kMutAll), -1);
  EXPECT_EQ(nucleotideDiversity(t, 0, 0, one, kSiteAll, kMutAll), 0);
  EXPECT_EQ(nucleotideDiversityVar(t, 0, 0, one, kSiteAll, kMutAll), -1);
  const samptype wrong = AllOf(5);
  EXPECT_EQ(thetaW(t, 0, 0, wrong, kSiteAll, kMutAll), -1);
  EXPECT_EQ(nucleotideDiversity(t, 0, 0, wrong, kSiteAll, kMutAll), 0);
  // No site of the class analysed: the variance of Pi has no L to stand on.
  EXPECT_EQ(nucleotideDiversityVar(t, 0, 0, AllOf(3), kSiteFirst, kMutAll), -1);
}

// A column A, A, C, G holds two mutations: S counts the site once, and Pi counts each pair that
// differs there once (Nei and Li 1979): (4^2 - 2^2 - 1 - 1) / 2 = 5 of 6 pairs. This test
// expected 1.0 before, counting the pair C/G once per mutation.
TEST(PolymEstimators, ThreeLetterSite) {
  ScanFixture f({"AT", "AT", "CT", "GT"});
  ASSERT_TRUE(f.Scan(Options(0)));
  const tmutholder& t = f.Table();
  ASSERT_EQ(t.mutations.size(), 2u);
  EXPECT_NEAR(thetaW(t, 0, 0, AllOf(4), kSiteAll, kMutAll), 6.0 / 11, 1e-12);
  EXPECT_NEAR(nucleotideDiversity(t, 0, 0, AllOf(4), kSiteAll, kMutAll), 5.0 / 6, 1e-12);
  EXPECT_EQ(t.countDifferences(2, 3, 0, 0, kSiteAll, kMutAll), 1);
}

// Haplotype counts 2, 2, 1 among five sequences (Nei 1987, eq. 8.4 and 8.12): sum x^2 = 0.36,
// Hd = 5/4 (1 - 0.36) = 0.8; sum x^3 = 0.136, V = 2/20 (2 * 3 (0.136 - 0.1296) + 0.36 - 0.1296)
// = 0.02688.
TEST(PolymEstimators, HaplotypeDiversityByNei) {
  ScanFixture f({"AAT", "AAT", "CAT", "CAT", "CAG"});
  ASSERT_TRUE(f.Scan(Options(0)));
  const HaplotypeDiversity h = haplotypeDiversity(f.Table(), 0, 0, AllOf(5), kSiteAll, kMutAll);
  EXPECT_NEAR(h.hd, 0.8, 1e-12);
  EXPECT_NEAR(h.variance, 0.02688, 1e-12);
  // Column 1 alone leaves two haplotypes of 2 and 3: Hd = 5/4 (1 - 0.52) = 0.6.
  EXPECT_NEAR(haplotypeDiversity(f.Table(), 1, 1, AllOf(5), kSiteAll, kMutAll).hd, 0.6, 1e-12);
  samptype one(5);
  one.Set(2);
  EXPECT_EQ(haplotypeDiversity(f.Table(), 0, 0, one, kSiteAll, kMutAll).hd, -1);
}

// Six sequences, segregating sites at 1 (3 carriers), 6 and 10 (2 carriers each):
// Pi = (9 + 8 + 8) / 15, theta = 3 / (1 + 1/2 + 1/3 + 1/4 + 1/5) = 1.3138686.
TEST(PolymEstimators, SixSequencesAndSpans) {
  ScanFixture f(
      {"AAAAAAAAAA", "AAAAAAAAAA", "TAAAAAAAAA", "TAAAACAAAA", "TAAAACAAAG", "AAAAAAAAAG"});
  ASSERT_TRUE(f.Scan(Options(0)));
  const tmutholder& t = f.Table();
  const samptype all = AllOf(6);
  EXPECT_NEAR(nucleotideDiversity(t, 0, 0, all, kSiteAll, kMutAll), 25.0 / 15, 1e-12);
  EXPECT_NEAR(thetaW(t, 0, 0, all, kSiteAll, kMutAll), 1.3138686131, 1e-9);
  // Positions 2..9 hold only site 6.
  EXPECT_NEAR(nucleotideDiversity(t, 2, 9, all, kSiteAll, kMutAll), 8.0 / 15, 1e-12);
  EXPECT_NEAR(thetaW(t, 2, 9, all, kSiteAll, kMutAll), 1 / 2.2833333333, 1e-9);
  // A sub-sample s1..s3: only site 1 segregates, with one carrier of three.
  samptype first3(6);
  for (int k = 0; k < 3; ++k) first3.Set(k);
  EXPECT_NEAR(nucleotideDiversity(t, 0, 0, first3, kSiteAll, kMutAll), 2.0 / 3, 1e-12);
  EXPECT_NEAR(thetaW(t, 0, 0, first3, kSiteAll, kMutAll), 1 / 1.5, 1e-12);
}

TEST(PolymEstimators, FoldedSpectrumOfNineSequences) {
  // Carrier counts 1, 1, 2, 3 among nine sequences (columns 1 to 4); folded classes 1..4.
  ScanFixture f({"TTTT", "AATT", "AAAT", "AAAA", "AAAA", "AAAA", "AAAA", "AAAA", "AAAA"});
  ASSERT_TRUE(f.Scan(Options(0)));
  std::vector<int> freq(9 / 2 + 1, 0);
  EXPECT_EQ(siteFrequencySpectrum(f.Table(), freq, 0, 0, kSiteAll, kMutAll), 0);
  EXPECT_EQ(freq, (std::vector<int>{0, 2, 1, 1, 0}));
}

}  // namespace
