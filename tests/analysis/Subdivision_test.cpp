// SPDX-License-Identifier: GPL-3.0-or-later
// Subdivision statistics on small tables worked by hand: Fst of Hudson, Slatkin and Maddison
// (1992, Genetics 132:583, eq. 3), Kst* of Hudson, Boos and Kaplan (1992, MBE 9:138, eq. 9 and
// 11), Hst of Jost (2008, eq. 9), Dxy of Nei (1987) and Da of Nei and Li (1979); shared,
// fixed and exclusive sites; the exchange of sequences and bootstrap tables.
#include "analysis/Subdivision.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "MutTables.h"
#include "common/PlatformRandom.h"

namespace {

samptype MaskOf(const std::string& rows) {
  samptype m(static_cast<int>(rows.size()));
  for (std::size_t k = 0; k < rows.size(); ++k)
    if (rows[k] == '1') m.Set(static_cast<int>(k));
  return m;
}

tmutholder WithColumns(tmutholder t, int columns) {
  t.siteAnalysed.assign(static_cast<std::size_t>(columns), true);
  return t;
}

const double kLog2 = std::log10(2.0), kLog3 = std::log10(3.0), kLog4 = std::log10(4.0);

// Five sequences, X = 1..3, Y = 4..5, L = 10. Carrier rows per site:
//   site 1: s1            site 2: s4 s5            site 3: s1 s2 s4
// so s1 = 101, s2 = 001, s3 = 000, s4 = 011, s5 = 010.
// Differences inside X: 1, 2, 1 (sum 4, PiX = 4/3); inside Y: 1 (PiY = 1).
// Between X and Y: s1-s4 2, s1-s5 3, s2-s4 1, s2-s5 2, s3-s4 2, s3-s5 1: sum 11 over 6 pairs.
struct TwoGroups : ::testing::Test {
  tmutholder t = WithColumns(TableOf({{1, "10000"}, {2, "00011"}, {3, "11010"}}, 5), 10);
  samptype x = MaskOf("11100"), y = MaskOf("00011");
};

TEST_F(TwoGroups, DxyAndDaFollowNei) {
  const DivergenceSums d = divergenceDxyDa(t, 0, 0, kSiteAll, kMutAll, {x, y});
  // Dxy = 11 / (3 x 2 x 10) = 0.18333; Da = Dxy - (4/3 + 1) / (2 x 10) = 11/60 - 7/60 = 1/15.
  EXPECT_NEAR(d.dxy, 11.0 / 60.0, 1e-12);
  EXPECT_NEAR(d.da, 1.0 / 15.0, 1e-12);
}

TEST_F(TwoGroups, FstHstKstAndNm) {
  const SubdivisionValues v = subdivisionFst(t, 0, 0, kSiteAll, kMutAll, {x, y});
  ASSERT_TRUE(v.ok);
  // Hb = 11/60, Hw = (4/30 + 1/10) / 2 = 7/60: Fst = 1 - 7/11 = 4/11.
  EXPECT_NEAR(v.fst, 4.0 / 11.0, 1e-12);
  // Hst = (Hb - Hw) / (1 - Hw) = (4/60) / (53/60) = 4/53.
  EXPECT_NEAR(v.hst, 4.0 / 53.0, 1e-12);
  // K*X = (log 2 + log 3 + log 2) / 3, K*Y = log 2; Ks* = 3/5 K*X + 2/5 K*Y.
  // All ten pairs: d = 1 five times, d = 2 four times, d = 3 once: Kt* = (5 log2 + 4 log3 +
  // log4) / 10. Kst* = 1 - Ks*/Kt* = 0.16267.
  const double ks = 0.6 * (2 * kLog2 + kLog3) / 3 + 0.4 * kLog2;
  const double kt = (5 * kLog2 + 4 * kLog3 + kLog4) / 10;
  EXPECT_NEAR(v.kst, 1 - ks / kt, 1e-8);
  EXPECT_NEAR(v.kst, 0.16267, 1e-5);
  // Nm = (11/4 - 1) / 4 = 7/16.
  EXPECT_DOUBLE_EQ(GeneFlowNm(v.fst), 7.0 / 16.0);
}

TEST_F(TwoGroups, SharedFixedAndExclusiveSites) {
  // Site 1 segregates in X only, site 2 separates X from Y, site 3 segregates in both.
  const SharedFixedCounts c = sharedFixedSites(t, 0, 0, kSiteAll, kMutAll, x, y);
  EXPECT_EQ(c.shared, 1);
  EXPECT_EQ(c.fixed, 1);
  EXPECT_EQ(c.exclusiveX, 1);
  EXPECT_EQ(c.exclusiveY, 0);
  const SharedFixedCounts swapped = sharedFixedSites(t, 0, 0, kSiteAll, kMutAll, y, x);
  EXPECT_EQ(swapped.exclusiveX, 0);
  EXPECT_EQ(swapped.exclusiveY, 1);
  // A span holding site 2 only.
  const SharedFixedCounts span = sharedFixedSites(t, 2, 2, kSiteAll, kMutAll, x, y);
  EXPECT_EQ(span.fixed, 1);
  EXPECT_EQ(span.shared + span.exclusiveX + span.exclusiveY, 0);
}

TEST_F(TwoGroups, SpanCountsOnlyItsColumnsAndSites) {
  // Columns 2..3 (L = 2): site 2 separates all 6 X-Y pairs, site 3 three of them.
  // Dxy = 9 / (6 x 2) = 0.75; PiX = 2/3 (site 3), PiY = 1: Da = 0.75 - (5/3) / 4 = 1/3.
  const DivergenceSums d = divergenceDxyDa(t, 2, 3, kSiteAll, kMutAll, {x, y});
  EXPECT_NEAR(d.dxy, 0.75, 1e-12);
  EXPECT_NEAR(d.da, 1.0 / 3.0, 1e-12);
}

// Three groups of two: X = s1 s2, Y = s3 s4, Z = s5 s6, L = 5. Carriers:
//   site 1: s1 s2     site 2: s3     site 3: s1 s5 s6
// s1 = 101, s2 = 100, s3 = 010, s4 = 000, s5 = 001, s6 = 001.
// PiX = 1, PiY = 1, PiZ = 0. Between sums: XY 3+2+2+1 = 8, XZ 1+1+2+2 = 6, YZ 2+2+1+1 = 6.
TEST(Subdivision, ThreeGroupsWorkedByHand) {
  const tmutholder t = WithColumns(TableOf({{1, "110000"}, {2, "001000"}, {3, "100011"}}, 6), 5);
  const std::vector<samptype> masks{MaskOf("110000"), MaskOf("001100"), MaskOf("000011")};
  const DivergenceSums d = divergenceDxyDa(t, 0, 0, kSiteAll, kMutAll, masks);
  // Dxy sum = 8/20 + 6/20 + 6/20 = 1; Da sum = 1 - (3 - 1)/2 x (1 + 1 + 0) / 5 = 0.6.
  EXPECT_NEAR(d.dxy, 1.0, 1e-12);
  EXPECT_NEAR(d.da, 0.6, 1e-12);
  // Each pair's Da: 0.4 - 2/10, 0.3 - 1/10, 0.3 - 1/10: all 0.2.
  EXPECT_NEAR(divergenceDxyDa(t, 0, 0, kSiteAll, kMutAll, {masks[0], masks[2]}).da, 0.2, 1e-12);

  const SubdivisionValues v = subdivisionFst(t, 0, 0, kSiteAll, kMutAll, masks);
  // Hb = 1 x 2 / 6 = 1/3; Hw = (1/5 + 1/5 + 0) / 3 = 2/15: Fst = 1 - 2/5 = 0.6,
  // Hst = (1/3 - 2/15) / (13/15) = 3/13.
  EXPECT_NEAR(v.fst, 0.6, 1e-12);
  EXPECT_NEAR(v.hst, 3.0 / 13.0, 1e-12);
  // K*X = K*Y = log 2, K*Z = log 1 = 0: Ks* = 2/6 log2 + 2/6 log2. Over the 15 pairs d = 0
  // once, 1 seven times, 2 six times, 3 once: Kt* = (7 log2 + 6 log3 + log4) / 15.
  const double ks = 4.0 / 6.0 * kLog2;
  const double kt = (7 * kLog2 + 6 * kLog3 + kLog4) / 15;
  EXPECT_NEAR(v.kst, 1 - ks / kt, 1e-8);
}

TEST(Subdivision, NotComputableCases) {
  const tmutholder t = WithColumns(TableOf({{1, "1100"}}, 4), 3);
  const samptype a = MaskOf("1100"), b = MaskOf("0011"), empty(4);
  // An empty group, a single group, no analysed column: nothing is computable.
  EXPECT_EQ(subdivisionFst(t, 0, 0, kSiteAll, kMutAll, {a, empty}).fst, -1);
  EXPECT_EQ(divergenceDxyDa(t, 0, 0, kSiteAll, kMutAll, {a, empty}).dxy, -1);
  EXPECT_FALSE(subdivisionFst(t, 0, 0, kSiteAll, kMutAll, {a}).ok);
  tmutholder none = t;
  none.siteAnalysed.assign(3, false);
  EXPECT_EQ(subdivisionFst(none, 0, 0, kSiteAll, kMutAll, {a, b}).fst, -1);
  EXPECT_EQ(divergenceDxyDa(none, 0, 0, kSiteAll, kMutAll, {a, b}).da, -1);
  // A mask of another length does not fit the table.
  EXPECT_EQ(divergenceDxyDa(t, 0, 0, kSiteAll, kMutAll, {a, MaskOf("00111")}).dxy, -1);

  // Two identical groups without polymorphism: Hb = 0, so Fst and Hst stay -1 and Nm is -1.
  const tmutholder mono = WithColumns(TableOf({{1, "0000"}}, 4), 3);
  const SubdivisionValues v = subdivisionFst(mono, 0, 0, kSiteAll, kMutAll, {a, b});
  EXPECT_EQ(v.fst, -1);
  EXPECT_EQ(v.hst, -1);
  EXPECT_EQ(v.kst, -1);  // Kt* = 0
  EXPECT_EQ(GeneFlowNm(v.fst), -1);
  EXPECT_EQ(GeneFlowNm(0), -1);
}

TEST(Subdivision, FixedDifferenceAndSingleSequenceGroups) {
  // Groups fixed for different letters at one site of 3: Hw = 0, Hb = 1/3, Fst = 1, Nm = 0.
  const tmutholder t = WithColumns(TableOf({{2, "1100"}}, 4), 3);
  const SubdivisionValues v =
      subdivisionFst(t, 0, 0, kSiteAll, kMutAll, {MaskOf("1100"), MaskOf("0011")});
  EXPECT_DOUBLE_EQ(v.fst, 1.0);
  EXPECT_DOUBLE_EQ(GeneFlowNm(v.fst), 0.0);
  EXPECT_DOUBLE_EQ(v.hst, 1.0 / 3.0);  // (1/3 - 0) / (1 - 0)
  const SharedFixedCounts c =
      sharedFixedSites(t, 0, 0, kSiteAll, kMutAll, MaskOf("1100"), MaskOf("0011"));
  EXPECT_EQ(c.fixed, 1);
  EXPECT_EQ(c.shared + c.exclusiveX + c.exclusiveY, 0);

  // One sequence per group: Pi of each is 0 (no pair, no division), K*_g = 0 with its weight.
  // d = 1 between them: Fst = 1, Kst* = 1 - 0 / log2 = 1, Dxy = 1/3, Da = Dxy.
  const std::vector<samptype> singles{MaskOf("1000"), MaskOf("0010")};
  const SubdivisionValues s = subdivisionFst(t, 0, 0, kSiteAll, kMutAll, singles);
  EXPECT_DOUBLE_EQ(s.fst, 1.0);
  EXPECT_DOUBLE_EQ(s.kst, 1.0);
  const DivergenceSums d = divergenceDxyDa(t, 0, 0, kSiteAll, kMutAll, singles);
  EXPECT_DOUBLE_EQ(d.dxy, 1.0 / 3.0);
  EXPECT_DOUBLE_EQ(d.da, 1.0 / 3.0);
  // A group of one beside a group of two: K*_g of the single one is 0 but weighs 1/3.
  // Sequences s1, s2 (in X, d = 0) and s3 (Y, d = 1 to each): Ks* = 2/3 x 0 + 1/3 x 0,
  // Kt* = (0 + log2 + log2) / 3 > 0: Kst* = 1.
  const tmutholder u = WithColumns(TableOf({{1, "0010"}}, 4), 2);
  EXPECT_DOUBLE_EQ(subdivisionFst(u, 0, 0, kSiteAll, kMutAll, {MaskOf("1100"), MaskOf("0010")}).kst,
                   1.0);
}

// Kst* straight from its definition: log10(1 + d) over every pair of sequences, d counted
// mutation by mutation (one mutation per site in these tables).
double KstOverPairs(const tmutholder& t, const std::vector<samptype>& masks) {
  const int n = t.SequenceCount();
  auto d = [&](int u, int v) {
    int c = 0;
    for (const tmutation& m : t.mutations) c += m.Test(u) != m.Test(v) ? 1 : 0;
    return c;
  };
  std::vector<int> in;
  double ks = 0;
  for (const samptype& g : masks) {
    std::vector<int> members;
    for (int u = 0; u < n; ++u)
      if (g.Test(u)) members.push_back(u);
    double sum = 0;
    for (std::size_t a = 0; a < members.size(); ++a)
      for (std::size_t b = a + 1; b < members.size(); ++b)
        sum += std::log10(1.0 + d(members[a], members[b]));
    const double pairs = members.size() * (members.size() - 1) / 2.0;
    if (pairs > 0) ks += static_cast<double>(members.size()) * sum / pairs;
    in.insert(in.end(), members.begin(), members.end());
  }
  double kt = 0;
  for (std::size_t a = 0; a < in.size(); ++a)
    for (std::size_t b = a + 1; b < in.size(); ++b) kt += std::log10(1.0 + d(in[a], in[b]));
  kt /= in.size() * (in.size() - 1) / 2.0;
  ks /= static_cast<double>(in.size());
  return std::max(0.0, 1 - ks / kt);
}

TEST(Subdivision, KstOverHaplotypesSharedBetweenGroups) {
  // X = s1 s2 s3, Y = s4 s5 s6; one site carried by s1..s4: s4 shares X's haplotype.
  // K*X = 0, K*Y = 2 log2 / 3: Ks* = log2 / 3. Of the 15 pairs 4 x 2 = 8 differ: Kt* =
  // 8 log2 / 15, so Kst* = 1 - 15 / 24 = 3/8.
  const tmutholder t = WithColumns(TableOf({{1, "111100"}}, 6), 4);
  const SubdivisionValues v =
      subdivisionFst(t, 0, 0, kSiteAll, kMutAll, {MaskOf("111000"), MaskOf("000111")});
  EXPECT_NEAR(v.kst, 3.0 / 8.0, 1e-12);
}

TEST(Subdivision, MatrixEvaluationEqualsTheTableOperations) {
  // The permutation engine must give exactly what the table operations give for any grouping,
  // whether the sequences are all distinct (kept per pair of sequences) or drawn from a few
  // haplotypes (kept per pair of haplotypes); Kst* as its definition gives it over all pairs.
  PlatformRandom rng(7);
  const int n = 40;
  for (const int haplotypes : {n, 6}) {
    SCOPED_TRACE(haplotypes);
    std::vector<std::string> rows(static_cast<std::size_t>(haplotypes));
    for (std::string& r : rows)
      for (int p = 0; p < 30; ++p) r += rng.NextInt(3) == 0 ? '1' : '0';
    std::vector<std::string> of(n);
    for (int k = 0; k < n; ++k)
      of[static_cast<std::size_t>(k)] = rows[static_cast<std::size_t>(k % haplotypes)];
    std::vector<MutSpec> specs;
    for (int p = 1; p <= 30; ++p) {
      std::string carriers;
      for (int k = 0; k < n; ++k) carriers += of[static_cast<std::size_t>(k)][p - 1];
      specs.push_back({p, carriers});
    }
    const tmutholder t = WithColumns(TableOf(specs, n), 50);
    std::vector<samptype> masks(3, samptype(n));
    for (int k = 0; k < 36; ++k) masks[static_cast<std::size_t>(k % 3)].Set(k);  // 4 outside
    const SubdivisionMatrix matrix(t, 0, 0, kSiteAll, kMutAll, masks, true);
    ASSERT_TRUE(matrix.Usable());
    std::vector<int> labels = LabelsOf(masks, n);
    for (int round = 0; round < 5; ++round) {
      std::vector<samptype> m(3, samptype(n));
      for (int k = 0; k < n; ++k)
        if (labels[static_cast<std::size_t>(k)] >= 0)
          m[static_cast<std::size_t>(labels[static_cast<std::size_t>(k)])].Set(k);
      const SubdivisionStats s = matrix.Evaluate(labels);
      const SubdivisionValues v = subdivisionFst(t, 0, 0, kSiteAll, kMutAll, m);
      const DivergenceSums d = divergenceDxyDa(t, 0, 0, kSiteAll, kMutAll, m);
      EXPECT_EQ(s.values.fst, v.fst);
      EXPECT_EQ(s.values.hst, v.hst);
      EXPECT_EQ(s.values.kst, v.kst);
      EXPECT_EQ(s.sums.dxy, d.dxy);
      EXPECT_EQ(s.sums.da, d.da);
      EXPECT_NEAR(v.kst, KstOverPairs(t, m), 1e-7);
      PermuteLabels(labels, 3, rng);
    }
  }
}

TEST(Subdivision, ExchangeKeepsGroupSizesAndMatchesLabels) {
  const int n = 30;
  std::vector<samptype> masks(3, samptype(n));
  for (int k = 0; k < 27; ++k) masks[static_cast<std::size_t>(k / 9)].Set(k);
  std::vector<int> labels = LabelsOf(masks, n);
  PlatformRandom a(99), b(99);
  ASSERT_TRUE(PermuteGroups(masks, a));
  PermuteLabels(labels, 3, b);
  bool moved = false;
  for (int g = 0; g < 3; ++g) {
    EXPECT_EQ(masks[static_cast<std::size_t>(g)].Count(), 9);
    for (int k = 0; k < n; ++k) {
      EXPECT_EQ(masks[static_cast<std::size_t>(g)].Test(k),
                labels[static_cast<std::size_t>(k)] == g);
      if (masks[static_cast<std::size_t>(g)].Test(k) && k / 9 != g) moved = true;
    }
  }
  EXPECT_TRUE(moved);
  // Sequences outside every group stay outside.
  for (int k = 27; k < n; ++k) EXPECT_EQ(labels[static_cast<std::size_t>(k)], -1);
  // Masks of different lengths, or a single group, are refused and left alone.
  std::vector<samptype> bad{samptype(4), samptype(5)};
  bad[0].Set(1);
  EXPECT_FALSE(PermuteGroups(bad, a));
  EXPECT_TRUE(bad[0].Test(1));
  std::vector<samptype> one{MaskOf("11")};
  EXPECT_FALSE(PermuteGroups(one, a));
}

TEST(Subdivision, BootstrapTableDrawsColumnsOfTheSource) {
  tmutholder t = WithColumns(TableOf({{2, "1100"}, {2, "0010"}, {5, "0111"}}, 4), 6);
  t.siteAnalysed[3] = false;
  PlatformRandom rng(2024);
  std::vector<std::size_t> sizes;
  for (int rep = 0; rep < 20; ++rep) {
    const auto copy = BootstrapTable(t, rng);
    sizes.push_back(copy->mutations.size());
    EXPECT_EQ(copy->siteAnalysed, t.siteAnalysed);
    EXPECT_EQ(copy->sampleMask, t.sampleMask);
    EXPECT_LE(copy->mutations.size(), 6u);
    for (std::size_t i = 0; i < copy->mutations.size(); ++i) {
      const tmutation& m = copy->mutations[i];
      // Only the first mutation of a drawn column is copied.
      if (m.position == 2) {
        EXPECT_EQ(static_cast<samptype>(m), static_cast<samptype>(t.mutations[0]));
      } else {
        EXPECT_EQ(m.position, 5);
      }
      if (i > 0) {
        EXPECT_LE(copy->mutations[i - 1].position, m.position);
      }
    }
  }
  // The generator goes on between replicates: they are not all the same draw.
  EXPECT_NE(std::count(sizes.begin(), sizes.end(), sizes.front()), 20);
}

}  // namespace
