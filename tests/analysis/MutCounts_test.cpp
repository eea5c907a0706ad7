// SPDX-License-Identifier: GPL-3.0-or-later
// Counting on mutation tables: haplotypes, segregating sites, singletons, mean pairwise
// differences, Jukes-Cantor and Kimura distances, filters and the statistics table.
#include <gtest/gtest.h>

#include <cmath>

#include "ScanFixture.h"
#include "trees/NJTreeAnalysis.h"

namespace {

// Column 2: C (s1, s2, s5) / T (s3, s4); column 4: T / A (s4), s5 missing.
const std::vector<std::string> kHaplo = {"ACGT", "ACGT", "ATGT", "ATGA", "ACGN"};

TEST(TmutholderCounts, HaplotypesSegregatingSitesAndPairwiseDifferences) {
  ScanFixture f(kHaplo);
  ASSERT_TRUE(f.Scan(Options(0)));
  const tmutholder& t = f.Table();
  const samptype all = AllOf(5);
  std::vector<int> of;
  // s5's N carries no derived state, so s5 shares s1's haplotype.
  EXPECT_EQ(t.countHaplotypes(all, 0, 0, kSiteAll, kMutAll, &of), 3);
  EXPECT_EQ(of, (std::vector<int>{0, 0, 1, 2, 0}));
  EXPECT_EQ(t.countSegregatingSites(0, 0, all, kSiteAll, kMutAll), 2);
  EXPECT_EQ(t.countMutations(0, 0, all, kSiteAll, kMutAll), 2);
  // Column 2 separates 2 x 3 pairs, column 4 separates 1 x 4: 10 differences over 10 pairs.
  EXPECT_DOUBLE_EQ(t.meanPairwiseDifferences(all, 0, 0, kSiteAll, kMutAll), 1.0);
  EXPECT_EQ(t.countDifferences(0, 3, 0, 0, kSiteAll, kMutAll), 2);
  EXPECT_EQ(t.countDifferences(0, 4, 0, 0, kSiteAll, kMutAll), 0);
  EXPECT_EQ(t.countSingletons(0, 0, all, kSiteAll, kMutAll), 1);
  // The span 3..4 holds only the second site.
  EXPECT_EQ(t.countHaplotypes(all, 3, 4, kSiteAll, kMutAll), 2);
  EXPECT_EQ(t.countSegregatingSites(3, 4, all, kSiteAll, kMutAll), 1);

  samptype same(5);  // s1, s2, s5: identical
  for (int k : {0, 1, 4}) same.Set(k);
  std::vector<int> sub;
  EXPECT_EQ(t.countHaplotypes(same, 0, 0, kSiteAll, kMutAll, &sub), 1);
  EXPECT_EQ(sub, (std::vector<int>{0, 0, -1, -1, 0}));
  EXPECT_EQ(t.countSegregatingSites(0, 0, same, kSiteAll, kMutAll), 0);
  EXPECT_EQ(t.meanPairwiseDifferences(same, 0, 0, kSiteAll, kMutAll), 0);
  // A mask of the wrong length counts nothing but segregating sites over everyone.
  EXPECT_EQ(t.countMutations(0, 0, AllOf(4), kSiteAll, kMutAll), 0);
  EXPECT_EQ(t.countSegregatingSites(0, 0, AllOf(4), kSiteAll, kMutAll), 2);
}

TEST(TmutholderCounts, HaplotypesAcrossManyWordsAndMutations) {
  // 130 sequences x 70 sites: sequence s carries site m when bit m of s % 5 ... is set, so
  // exactly five patterns exist (s mod 5 = 0..4, pattern 0 carrying nothing).
  tmutholder t;
  const int n = 130;
  for (int m = 0; m < 70; ++m) {
    tmutation mu;
    mu.Resize(n);
    mu.position = m + 1;
    for (int s = 0; s < n; ++s)
      if (s % 5 != 0 && ((s % 5) + m) % 3 == 0) mu.Set(s);
    mu.carrierCount = mu.Count();
    t.mutations.push_back(mu);
  }
  // Patterns of s % 5 = 1..4 depend on (s % 5) mod 3: residues 1 and 4 coincide.
  std::vector<int> of;
  EXPECT_EQ(t.countHaplotypes(AllOf(n), 0, 0, kSiteAll, kMutAll, &of), 4);
  EXPECT_EQ(of[1], of[4]);
  EXPECT_EQ(of[0], 0);
  EXPECT_NE(of[2], of[3]);
  EXPECT_EQ(of[129], of[4]);
}

TEST(TmutholderCounts, EmptyTableHasOneHaplotypeAndNoDistance) {
  tmutholder t;
  EXPECT_EQ(t.countHaplotypes(AllOf(3), 0, 0, kSiteAll, kMutAll), 1);
  const DistanceResult d = t.pairwiseDistance(0, 1, kJukesCantor, kSiteAll, kMutAll);
  EXPECT_EQ(d.distance, -1);
  EXPECT_EQ(d.variance, -1);
}

TEST(TmutholderDistance, JukesCantorAndKimuraFromOneTransitionAndOneTransversion) {
  // Ten columns, one A/G and one A/C difference: p = 0.2, P = Q = 0.1.
  // Values from the closed forms (Jukes & Cantor 1969; Kimura 1980), evaluated separately:
  // JC d = -3/4 ln(1 - 4p/3) = 0.232616, var = p(1-p)/(L(1-4p/3)^2) = 0.0297521;
  // K2P d = ln(1/0.7)/2 + ln(1/0.8)/4 = 0.234123, var = 0.0306840.
  ScanFixture f({"AAAAAAAAAA", "GCAAAAAAAA"});
  ASSERT_TRUE(f.Scan(Options(0)));
  const tmutholder& t = f.Table();
  ASSERT_EQ(t.mutations.size(), 2u);
  EXPECT_TRUE(t.mutations[0].isTransition);
  EXPECT_FALSE(t.mutations[1].isTransition);
  const DistanceResult jc = t.pairwiseDistance(0, 1, kJukesCantor, kSiteAll, kMutAll);
  EXPECT_NEAR(jc.distance, 0.2326161962, 1e-9);
  EXPECT_NEAR(jc.variance, 0.0297520661, 1e-9);
  const DistanceResult k2 = t.pairwiseDistance(0, 1, kKimura2P, kSiteAll, kMutAll);
  EXPECT_NEAR(k2.distance, 0.2341233598, 1e-9);
  EXPECT_NEAR(k2.variance, 0.0306839923, 1e-9);
  const DistanceResult count = t.pairwiseDistance(0, 1, kDifferenceCount, kSiteAll, kMutAll);
  EXPECT_EQ(count.distance, 2);
  // The SD of the count is that of Pi in the sample (Tajima 1983): n = 2, S = 2, theta = 2,
  // Var = 2 * 3/3 + 4 * 18/18 = 6.
  EXPECT_NEAR(count.variance, std::sqrt(6.0), 1e-12);
  EXPECT_EQ(t.pairwiseDistance(-1, 1, kJukesCantor, kSiteAll, kMutAll).distance, -1);
}

TEST(TmutholderDistance, APairAtAThreeLetterSiteDiffersOnceByItsOwnLetters) {
  // Column 1 holds A, A, G, T: G and T are both mutations from A, but s3 and s4 differ there
  // once, by a transversion (Kimura 1980 classes the pair's own letters). Over L = 10, P = 0
  // and Q = 0.1: K2P d = 1/2 ln(1/0.9) + 1/4 ln(1/0.8) = 0.1084661 (0.2341234 when the pair
  // counted a transition and a transversion); JC d = -3/4 ln(1 - 0.4/3) = 0.1073256.
  ScanFixture f({"AAAAAAAAAA", "AAAAAAAAAA", "GAAAAAAAAA", "TAAAAAAAAA"});
  ASSERT_TRUE(f.Scan(Options(0)));
  const tmutholder& t = f.Table();
  ASSERT_EQ(t.mutations.size(), 2u);
  EXPECT_EQ(t.countDifferences(2, 3, 0, 0, kSiteAll, kMutAll), 1);
  const DistanceResult k2 = t.pairwiseDistance(2, 3, kKimura2P, kSiteAll, kMutAll);
  EXPECT_NEAR(k2.distance, 0.1084661, 1e-7);
  EXPECT_NEAR(t.pairwiseDistance(2, 3, kJukesCantor, kSiteAll, kMutAll).distance, 0.1073256, 1e-7);
  // A against G stays a transition: d = -1/2 ln(0.8) = 0.1115718.
  EXPECT_NEAR(t.pairwiseDistance(0, 2, kKimura2P, kSiteAll, kMutAll).distance, 0.1115718, 1e-7);
  const DistanceMatrix m = TableDistances(t, {0, 2, 3}, DistanceModel::Kimura2P, kSiteAll, kMutAll);
  EXPECT_NEAR(m.At(2, 1), k2.distance, 1e-12);
  EXPECT_NEAR(m.VarAt(2, 1), k2.variance, 1e-12);
  EXPECT_NEAR(m.At(1, 0), 0.1115718, 1e-7);
}

TEST(TmutholderDistance, SaturatedDistancesAreMinusOne) {
  // Every one of 4 columns differs, 3 by transversions: p = 1 > 3/4, 1 - 2Q < 0.
  ScanFixture f({"AAAA", "GCCT"});
  ASSERT_TRUE(f.Scan(Options(0)));
  EXPECT_EQ(f.Table().pairwiseDistance(0, 1, kJukesCantor, kSiteAll, kMutAll).distance, -1);
  const DistanceResult k2 = f.Table().pairwiseDistance(0, 1, kKimura2P, kSiteAll, kMutAll);
  EXPECT_EQ(k2.distance, -1);
  EXPECT_FALSE(std::isnan(k2.variance));
}

TEST(MutationFilters, SiteAndMutationClassesAndDegeneracy) {
  tmutation m;
  m.siteClass = 6;
  m.mutationClass = kMutClassSynonymous;
  m.synFraction = 1.0;  // fourfold: r = 4
  EXPECT_TRUE(PassesSiteFilter(m, kSiteThird));
  EXPECT_TRUE(PassesSiteFilter(m, kSiteCoding));
  EXPECT_FALSE(PassesSiteFilter(m, kSiteFirst | kSiteNoncoding));
  EXPECT_TRUE(PassesSiteFilter(m, kSiteDegen4));
  EXPECT_FALSE(PassesSiteFilter(m, kSiteDegen2));
  m.synFraction = 0.5;  // r = 2
  EXPECT_TRUE(PassesSiteFilter(m, kSiteDegen2));
  m.synFraction = 0.125;  // r = 0.5 rounds to 0
  EXPECT_TRUE(PassesSiteFilter(m, kSiteDegen01));
  EXPECT_TRUE(PassesMutationFilter(m, kMutSilent));
  EXPECT_TRUE(PassesMutationFilter(m, kMutSynonymous));
  EXPECT_FALSE(PassesMutationFilter(m, kMutNonsilent | kMutNoncoding));
  m.mutationClass = kMutClassNoncoding;
  EXPECT_TRUE(PassesMutationFilter(m, kMutNoncoding));
  EXPECT_FALSE(PassesMutationFilter(m, kMutIndelsOnly));
  m.derivedLetter = '-';
  EXPECT_TRUE(PassesMutationFilter(m, kMutIndelsOnly | kMutAll));
  EXPECT_TRUE(IsTransitionPair('c', 'T'));
  EXPECT_TRUE(IsTransitionPair('G', 'a'));
  EXPECT_FALSE(IsTransitionPair('A', 'T'));
}

TEST(MutationFilters, ReportLabels) {
  EXPECT_EQ(SiteFlagsLabel(kSiteAll | kSiteNoncoding), "all sites");
  EXPECT_EQ(SiteFlagsLabel(kSiteNoncoding | kSiteFirst | kSiteThird),
            "noncoding regions 1st 3rd codon positions");
  EXPECT_EQ(SiteFlagsLabel(kSiteCoding | kSiteSecond), "coding regions");
  EXPECT_EQ(MutationFlagsLabel(kMutSynonymous | kMutNonsilent),
            "synonymous mutationsreplacement mutations");
  EXPECT_EQ(MutationFlagsLabel(kMutSilent), "silent mutations");
}

TEST(StatisticsTable, ValuesLandOnlyUnderTheirOwnColumn) {
  ScanFixture f({"A"});
  TDataSeq& ds = *f.ds;
  EXPECT_TRUE(AddIntStat(ds, 0, 5, "segregating sites", "S"));
  EXPECT_TRUE(AddRealStat(ds, 0, "Pi", "diversity", 0.25));
  EXPECT_EQ(ds.resultTexts[0], (std::vector<std::string>{"S", "Pi"}));
  EXPECT_EQ(ds.resultValues[0], (std::vector<double>{5, 0.25}));
  EXPECT_EQ(ds.resultFlags[0], (std::vector<bool>{true, false}));
  // Row 2 with a header fixed ahead of its values.
  ds.resultTexts.resize(3);
  ds.resultTexts[2] = {"S", "Pi"};
  EXPECT_FALSE(AddRealStat(ds, 2, "Pi", "", 0.5));
  EXPECT_TRUE(AddIntStat(ds, 2, 3, "", "s"));
  EXPECT_TRUE(AddRealStat(ds, 2, "PI", "", 0.5));
  EXPECT_EQ(ds.resultValues[2], (std::vector<double>{3, 0.5}));
  EXPECT_FALSE(AddIntStat(ds, -1, 1, "", "S"));
  ClearStats(ds);
  EXPECT_TRUE(ds.resultValues.empty());
}

TEST(TmutholderCounts, HarmonicSums) {
  EXPECT_DOUBLE_EQ(tmutholder::a(4), 1 + 0.5 + 1.0 / 3);
  EXPECT_DOUBLE_EQ(tmutholder::b(3), 1 + 0.25);
  EXPECT_EQ(tmutholder::a(1), 0);
}

}  // namespace
