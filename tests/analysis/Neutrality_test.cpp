// SPDX-License-Identifier: GPL-3.0-or-later
// Tajima's D, Fu and Li's tests, Wall's B and Q and Kelly's ZnS on small tables whose values
// were worked out from the published formulas by hand or with exact fractions in Python.
#include "analysis/Neutrality.h"

#include <gtest/gtest.h>

#include <cmath>

#include "MutTables.h"
#include "ScanFixture.h"
#include "analysis/NeutralityReport.h"

namespace {

constexpr int kAll = kSiteAll;
constexpr int kAllMut = kMutAll;

// Four sequences, one singleton: S = 1, Pi = 1/2, a1 = 11/6, a2 = 49/36.
tmutholder OneSingletonOfFour() {
  return TableOf({{7, "1000"}}, 4);
}

TEST(NeutralityConstants, FuLiCAndDForFourSequences) {
  // c(4) = 2 (4 * 11/6 - 6) / (3 * 2) = 4/9; d(4) = 4/9 + 2/9 + 2/3 (3/2 - (25/6 - 3)/2 - 1/4)
  // = 10/9 (Fu and Li 1993, with a(5) = 25/12).
  EXPECT_NEAR(FuLiC(4), 4.0 / 9.0, 1e-12);
  EXPECT_NEAR(FuLiD(4), 10.0 / 9.0, 1e-12);
  EXPECT_EQ(FuLiC(2), 1.0);
}

TEST(TajimaD, OneSingletonOfFourSequencesByHand) {
  // Tajima (1989): e1 = c1 / a1 = (5/9 - 6/11) / (11/6) = 6/1089 and S (S - 1) = 0, so
  // V = 6/1089 and D = (1/2 - 6/11) / sqrt(6/1089) = -1.5 / sqrt(6).
  const tmutholder t = OneSingletonOfFour();
  EXPECT_NEAR(tajimaD(t, 0, 0, Everyone(4), kAll, kAllMut), -1.5 / std::sqrt(6.0), 1e-12);
}

TEST(FuLiStar, OneSingletonOfFourSequencesByHand) {
  const tmutholder t = OneSingletonOfFour();
  // Fu and Li (1993): v = 83/255, u = 2/3 - 83/255, D* = (4/3 - 11/6) / sqrt(u + v).
  EXPECT_NEAR(fuLiDstar(t, 0, 0, Everyone(4), kAll, kAllMut), -0.5 / std::sqrt(2.0 / 3.0), 1e-12);
  // Simonsen, Churchill and Aquadro (1995): v = 71/1020, u = 3/11 - 71/1020, so u + v = 3/11
  // and F* = (1/2 - 3/4) / sqrt(3/11).
  EXPECT_NEAR(fuLiFstar(t, 0, 0, Everyone(4), kAll, kAllMut), -0.25 / std::sqrt(3.0 / 11.0), 1e-12);
}

// Ten sequences, six mutations with 1, 1, 2, 3, 5 and 9 carriers: S = eta = 6, Pi = 89/45;
// unoriented, so the 9-carrier site is a singleton too (eta_s = 3). Expected values from
// the formulas of Tajima (1989), Fu and Li (1993) and Simonsen et al. (1995) evaluated in
// exact fractions (Python) before the square root.
tmutholder TenSequences(bool divergence) {
  std::vector<MutSpec> specs;
  int pos = 10;
  for (int k : {1, 1, 2, 3, 5, 9}) {
    std::string rows = FirstCarriers(k, 10);
    if (pos == 20) rows = "0100000000";  // the second singleton on another sequence
    specs.push_back({pos, rows, divergence, divergence && k == 1});
    pos += 10;
  }
  return TableOf(specs, 10);
}

TEST(NeutralityTests, TenSequencesMatchThePublishedFormulas) {
  const tmutholder t = TenSequences(false);
  const samptype all = Everyone(10);
  EXPECT_NEAR(tajimaD(t, 0, 0, all, kAll, kAllMut), -0.2791984286955434, 1e-10);
  EXPECT_NEAR(fuLiDstar(t, 0, 0, all, kAll, kAllMut), -0.36754566103435843, 1e-10);
  // The corrected F*; the variance terms printed in 1993 would give -0.29706 here.
  EXPECT_NEAR(fuLiFstar(t, 0, 0, all, kAll, kAllMut), -0.38800832329568563, 1e-10);
}

TEST(FuLiOutgroup, TenSequencesWithTwoExternalMutations) {
  const tmutholder t = TenSequences(true);
  const samptype all = Everyone(10);
  const FuLiOutgroupResult d = fuLiDoutgroup(t, 0, 0, all, kAll, kAllMut);
  EXPECT_NEAR(d.value, 0.0819690485424791, 1e-10);
  EXPECT_EQ(d.mutations, 6);
  EXPECT_EQ(d.external, 2);
  EXPECT_EQ(d.ambiguousOutgroup, 0);
  EXPECT_NEAR(fuLiFoutgroup(t, 0, 0, all, kAll, kAllMut).value, -0.013322404643462637, 1e-10);
}

TEST(FuLiOutgroup, AmbiguousOutgroupStateIsCountedApart) {
  tmutholder t =
      TableOf({{1, "1000", true, true}, {2, "0100", true, true, true}, {3, "1100", true}}, 4);
  const samptype all = Everyone(4);
  EXPECT_EQ(countExternal(t, 0, 0, all, kAll, kAllMut), 1);
  EXPECT_EQ(countAmbiguousOutgroup(t, 0, 0, all, kAll, kAllMut), 1);
  const FuLiOutgroupResult d = fuLiDoutgroup(t, 0, 0, all, kAll, kAllMut);
  EXPECT_EQ(d.mutations, 2);  // the excluded mutation is not counted
  EXPECT_EQ(d.ambiguousOutgroup, 1);
}

TEST(NeutralityTests, ErrorValueInsteadOfDivisionByZero) {
  const tmutholder t = OneSingletonOfFour();
  // Fewer than three sequences: Fu and Li's constants divide by n - 2.
  samptype two(4);
  two.Set(0);
  two.Set(1);
  EXPECT_EQ(fuLiDstar(t, 0, 0, two, kAll, kAllMut), kNeutralityError);
  EXPECT_EQ(fuLiFstar(t, 0, 0, two, kAll, kAllMut), kNeutralityError);
  EXPECT_EQ(fuLiDoutgroup(t, 0, 0, two, kAll, kAllMut).value, kNeutralityError);
  EXPECT_EQ(fuLiFoutgroup(t, 0, 0, two, kAll, kAllMut).value, kNeutralityError);
  // Two sequences, one difference: Tajima's variance is 0.
  EXPECT_EQ(tajimaD(t, 0, 0, two, kAll, kAllMut), kNeutralityError);
  // A sample in which nothing segregates: eta = 0 makes every radicand 0.
  samptype quiet(4);
  for (int k : {1, 2, 3}) quiet.Set(k);
  EXPECT_EQ(tajimaD(t, 0, 0, quiet, kAll, kAllMut), kNeutralityError);
  EXPECT_EQ(fuLiDstar(t, 0, 0, quiet, kAll, kAllMut), kNeutralityError);
  EXPECT_EQ(fuLiFstar(t, 0, 0, quiet, kAll, kAllMut), kNeutralityError);
  // Empty tables and masks of the wrong length.
  EXPECT_EQ(tajimaD(tmutholder{}, 0, 0, Everyone(4), kAll, kAllMut), kNeutralityError);
  EXPECT_EQ(tajimaD(t, 0, 0, Everyone(5), kAll, kAllMut), kNeutralityError);
  EXPECT_EQ(fuLiDstar(t, 0, 0, Everyone(5), kAll, kAllMut), kNeutralityError);
}

TEST(NeutralityTests, SpanLimitsTheMutations) {
  const tmutholder t = TenSequences(false);
  // Positions 10..20 hold the two singletons only: S = 2, Pi = 18/45 = 0.4, a1 = 7129/2520.
  // Tajima (1989) in exact fractions: e1 = 0.0190605..., e2 = 0.0049489...,
  // V = 2 e1 + 2 e2, D = (0.4 - 2 / a1) / sqrt(V).
  EXPECT_NEAR(tajimaD(t, 10, 20, Everyone(10), kAll, kAllMut), -1.4008508021820398, 1e-10);
}

TEST(WallAndKelly, TwoPerfectlyLinkedMutations) {
  const tmutholder t = TableOf({{3, "1100"}, {8, "1100"}}, 4);
  const WallResult w = wallBQ(t, 0, 0, Everyone(4));
  EXPECT_DOUBLE_EQ(w.B, 1.0);
  EXPECT_DOUBLE_EQ(w.Q, 1.0);
  EXPECT_DOUBLE_EQ(kellyZnS(t, 0, 0, Everyone(4)), 1.0);
}

TEST(WallAndKelly, CongruentRunsAndDistinctPartitions) {
  // P P X P P: B' = 2 congruent adjacent pairs, one distinct partition: B = 2/4, Q = 3/5.
  const tmutholder t =
      TableOf({{1, "1100"}, {2, "1100"}, {3, "1010"}, {4, "1100"}, {5, "1100"}}, 4);
  WallResult w = wallBQ(t, 0, 0, Everyone(4));
  EXPECT_DOUBLE_EQ(w.B, 0.5);
  EXPECT_DOUBLE_EQ(w.Q, 0.6);
  // A run P P P adds its partition once: B = 2/2, Q = (2 + 1) / 3.
  w = wallBQ(TableOf({{1, "1100"}, {2, "1100"}, {3, "1100"}}, 4), 0, 0, Everyone(4));
  EXPECT_DOUBLE_EQ(w.B, 1.0);
  EXPECT_DOUBLE_EQ(w.Q, 1.0);
  // Within a sample of s1..s3 the sets 1100 and 1101 are the same partition.
  samptype three(4);
  for (int k : {0, 1, 2}) three.Set(k);
  w = wallBQ(TableOf({{1, "1100"}, {2, "1101"}}, 4), 0, 0, three);
  EXPECT_DOUBLE_EQ(w.B, 1.0);
  // Fewer than two mutations or a foreign mask: 0, 0.
  w = wallBQ(TableOf({{1, "1100"}}, 4), 0, 0, Everyone(4));
  EXPECT_EQ(w.B, 0);
  EXPECT_EQ(w.Q, 0);
  w = wallBQ(t, 0, 0, Everyone(3));
  EXPECT_EQ(w.Q, 0);
}

TEST(WallAndKelly, ZnSAveragesRSquaredOverAllPairs) {
  // r^2(A, B) = 1, r^2(A, C) = r^2(B, C) = 0 (pAC = 1/4 = pA pC): ZnS = 2 * 1 / (3 * 2).
  const tmutholder t = TableOf({{1, "1100"}, {2, "1100"}, {3, "1010"}}, 4);
  EXPECT_NEAR(kellyZnS(t, 0, 0, Everyone(4)), 1.0 / 3.0, 1e-12);
  const WallResult w = wallBQ(t, 0, 0, Everyone(4));
  EXPECT_DOUBLE_EQ(w.B, 0.5);
  EXPECT_NEAR(w.Q, 2.0 / 3.0, 1e-12);
  // Only the subset {A, C}: r^2 = 0.
  const std::vector<int> subset = {0, 2};
  EXPECT_DOUBLE_EQ(kellyZnS(t, 0, 0, Everyone(4), &subset), 0.0);
  EXPECT_EQ(kellyZnS(t, 3, 3, Everyone(4)), kZnSError);  // one mutation in the span
}

TEST(WallAndKelly, ZnSOverManyWordsAndBlocksMatchesPairByPair) {
  // 300 mutations (more than one block of rows) in 150 sequences (three words).
  std::vector<MutSpec> specs;
  unsigned state = 7;
  for (int i = 0; i < 300; ++i) {
    std::string rows(150, '0');
    for (char& c : rows) {
      state = state * 1103515245u + 12345u;
      c = ((state >> 16) % 3 == 0) ? '1' : '0';
    }
    specs.push_back({i + 1, rows});
  }
  const tmutholder t = TableOf(specs, 150);
  const samptype all = Everyone(150);
  double sum = 0;
  const double m = 150;
  for (int i = 0; i < 300; ++i)
    for (int j = i + 1; j < 300; ++j) {
      // r^2 from counts of the rows, written out directly.
      double nA = 0, nB = 0, nAB = 0;
      for (int k = 0; k < 150; ++k) {
        const bool a =
            specs[static_cast<std::size_t>(i)].carriers[static_cast<std::size_t>(k)] == '1';
        const bool b =
            specs[static_cast<std::size_t>(j)].carriers[static_cast<std::size_t>(k)] == '1';
        nA += a;
        nB += b;
        nAB += a && b;
      }
      const double D = nAB / m - nA / m * nB / m;
      sum += D * D / (nA / m * (1 - nA / m) * nB / m * (1 - nB / m));
    }
  EXPECT_NEAR(kellyZnS(t, 0, 0, all), 2 * sum / (300.0 * 299.0), 1e-12);
}

TEST(NeutralityOnScan, ThreeLetterColumnIsTwoMutationsButOneSegregatingSite) {
  // Column 2 holds A, A, C, G: two mutations at one column.
  ScanFixture f({"TAT", "TAT", "TCT", "TGT"});
  ASSERT_TRUE(f.Scan(Options(0)));
  const tmutholder& t = f.Table();
  ASSERT_EQ(t.mutations.size(), 2u);
  const samptype all = AllOf(4);
  EXPECT_EQ(t.countSegregatingSites(0, 0, all, kAll, kAllMut), 1);
  EXPECT_EQ(t.countMutations(0, 0, all, kAll, kAllMut), 2);
  // Pi counts each differing pair once per column (this test expected 1 before, counting the
  // pair C/G once per mutation): 5 of 6 pairs differ, Pi = 5/6. Tajima: S = 1,
  // D = (5/6 - 6/11) / sqrt(6/1089) = 19/66 * 33 / sqrt(6).
  EXPECT_NEAR(tajimaD(t, 0, 0, all, kAll, kAllMut), 9.5 / std::sqrt(6.0), 1e-12);
  // Two singleton mutations: D* = (2 r - 2 a) / sqrt(2 u + 4 v) with u, v as for one singleton.
  const double u = 2.0 / 3.0 - 83.0 / 255.0, v = 83.0 / 255.0;
  EXPECT_NEAR(fuLiDstar(t, 0, 0, all, kAll, kAllMut),
              (2 * 4.0 / 3.0 - 2 * 11.0 / 6.0) / std::sqrt(2 * u + 4 * v), 1e-12);
  // The two mutations exclude each other: pAB = 0, D = -1/16, r^2 = (1/16)^2 / (3/16)^2.
  EXPECT_NEAR(kellyZnS(t, 0, 0, all), 1.0 / 9.0, 1e-12);
  EXPECT_DOUBLE_EQ(wallBQ(t, 0, 0, all).B, 0.0);
}

TEST(NeutralityOnScan, FuLiDWithOutgroupLeavesOutWhatTheOutgroupCannotOrient) {
  // Five sequences and an outgroup. Column 1: singleton C, outgroup A; column 2: G in s4 and
  // s5, outgroup N, so no state is known to be ancestral; column 3: singleton A, outgroup T.
  ScanFixture f({"AATA", "AATA", "CATA", "AGTA", "AGAA", "ANTA"});
  f.Assign(6, kOutgroupKey);
  ASSERT_TRUE(f.Scan(Options(0)));
  const tmutholder& d = f.Divergence();
  samptype sample = AllOf(6);
  sample.Set(5, false);
  // eta = 2 and eta_e = 2 (counting column 2 in eta alone gave eta = 3, D = -0.5631). With
  // n = 5 (Fu and Li 1993, exact fractions): D = (2 - 25/12 * 2) / sqrt(15025/5976).
  const FuLiOutgroupResult r = fuLiDoutgroup(d, 0, 0, sample, kAll, kAllMut);
  EXPECT_EQ(r.mutations, 2);
  EXPECT_EQ(r.external, 2);
  EXPECT_EQ(r.ambiguousOutgroup, 1);
  EXPECT_NEAR(r.value, (-13.0 / 6) / std::sqrt(15025.0 / 5976), 1e-12);
  NeutralityChoices c;
  c.tajimaD = false;
  c.fuLiDoutgroup = true;
  const GroupStatsText text =
      NeutralityGroupReport(f.Table(), &d, sample, 6, 0, 0, kAll, kAllMut, c);
  EXPECT_EQ(text.text,
            "Neutrality tests & stats:\r\n"
            "Fu and Li D with outgroup = -1.3664 (based on 2 mutations with 2 of them on terminal "
            "branches)\r\nNote that 1 mutation with ambig. outgroup information was excluded from "
            "this test\r\n");
}

}  // namespace
