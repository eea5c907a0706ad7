// SPDX-License-Identifier: GPL-3.0-or-later
// D, D', R, r^2 and chi-square of hand-made 2x2 haplotype tables, the pair operations of a
// table, packed carrier counts, and the D' and r^2 caches.
#include "analysis/LinkageStats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "MutTables.h"
#include "analysis/Neutrality.h"

namespace {

struct TwoByTwo {
  const char* what;
  int m, nA, nB, nAB;
  double D, Dprime, R, chi;
};

// Expected values by hand; chi-square from the four cells (observed - expected)^2 / expected,
// which for a 2x2 table also equals m R^2.
const TwoByTwo kTables[] = {
    // pA = pB = 0.75, pAB = 0.5: D = -1/16 reaches its bound -min(pA pB, (1-pA)(1-pB)) = -1/16,
    // so D' = -1 (pA + pB > 1); R = -(1/16) / (3/16); chi = 0.25/4.5 + 2 * 0.25/1.5 + 0.25/0.5.
    {"repulsion at the bound, pA + pB > 1", 8, 6, 6, 4, -0.0625, -1.0, -1.0 / 3.0, 8.0 / 9.0},
    // pA = 0.7, pB = 0.6, pAB = 0.4: D = -0.02, bound min(0.42, 0.12): D' = -1/6;
    // R = -0.02 / sqrt(0.0504); chi = .04/4.2 + .04/1.8 + .04/2.8 + .04/1.2.
    {"repulsion inside the bound, pA + pB > 1", 10, 7, 6, 4, -0.02, -1.0 / 6.0,
     -0.02 / std::sqrt(0.0504), 0.04 / 4.2 + 0.04 / 1.8 + 0.04 / 2.8 + 0.04 / 1.2},
    // Carriers never overlap, pA = pB = 0.25: D = -1/16 = -pA pB: D' = -1, R = -1/3.
    {"disjoint carriers", 8, 2, 2, 0, -0.0625, -1.0, -1.0 / 3.0, 8.0 / 9.0},
    // A within B: pA = 0.3, pB = 0.4, pAB = 0.3: D = 0.18 = min(0.18, 0.28): D' = 1.
    {"nested carriers", 10, 3, 4, 3, 0.18, 1.0, 0.18 / std::sqrt(0.0504), 10 * 0.0324 / 0.0504},
    // pA = pB = 0.5, pAB = 0.3: D = 0.05, Dmax = 0.25: D' = 0.2, R = 0.2, chi = 10 * 0.04.
    {"partial coupling", 10, 5, 5, 3, 0.05, 0.2, 0.2, 0.4},
    // Independence: pAB = pA pB.
    {"independent", 4, 2, 2, 1, 0.0, 0.0, 0.0, 0.0},
};

TEST(PairLDFromCounts, HandMadeTwoByTwoTables) {
  for (const TwoByTwo& c : kTables) {
    SCOPED_TRACE(c.what);
    const PairLDValues v = PairLDFromCounts(c.m, c.nA, c.nB, c.nAB);
    ASSERT_TRUE(v.ok);
    EXPECT_NEAR(v.D, c.D, 1e-12);
    EXPECT_NEAR(v.Dprime, c.Dprime, 1e-12);
    EXPECT_NEAR(v.R, c.R, 1e-12);
    EXPECT_NEAR(v.chiSquare, c.chi, 1e-12);
    EXPECT_NEAR(R2FromCounts(c.m, c.nA, c.nB, c.nAB), c.R * c.R, 1e-12);
    // The table is symmetric in the two sites.
    EXPECT_NEAR(DprimeFromCounts(c.m, c.nB, c.nA, c.nAB), c.Dprime, 1e-12);
  }
}

TEST(PairLDFromCounts, MonomorphicOrEmptyGivesNothing) {
  EXPECT_FALSE(PairLDFromCounts(4, 4, 2, 2).ok);
  EXPECT_FALSE(PairLDFromCounts(4, 0, 2, 0).ok);
  EXPECT_FALSE(PairLDFromCounts(0, 0, 0, 0).ok);
  EXPECT_EQ(PairLDFromCounts(4, 2, 4, 2).D, 0);
  EXPECT_EQ(ChiSquareFromCounts(4, 4, 2, 2), -1);
  EXPECT_EQ(ChiSquareFromCounts(0, 0, 0, 0), -1);
  // D' without the polymorphism test: a monomorphic site gives D = 0 and so D' = 0.
  EXPECT_EQ(DprimeFromCounts(4, 4, 2, 2), 0);
  EXPECT_EQ(R2FromCounts(4, 4, 2, 2), 0);
}

TEST(PairOperations, CountWithinTheMask) {
  // s1..s8 as the first table of kTables; s9, s10 outside the mask carry both mutations.
  const tmutholder t = TableOf({{5, "1111110011"}, {9, "1111001111"}, {9, "0000000010"}}, 10);
  samptype mask = Everyone(10);
  mask.Set(8, false);
  mask.Set(9, false);
  const PairLDValues v = pairLD(t, 0, 1, mask);
  ASSERT_TRUE(v.ok);
  EXPECT_NEAR(v.D, -0.0625, 1e-12);
  EXPECT_NEAR(v.Dprime, -1.0, 1e-12);
  EXPECT_NEAR(v.R, -1.0 / 3.0, 1e-12);
  EXPECT_NEAR(pairChiSquare(t, 0, 1, mask), 8.0 / 9.0, 1e-12);
  EXPECT_NEAR(pairR2(t, 1, 0, mask), 1.0 / 9.0, 1e-12);
  EXPECT_NEAR(pairDprime(t, 0, 1, mask), -1.0, 1e-12);
  // Mutation 2 has no carrier within the mask.
  EXPECT_FALSE(pairLD(t, 0, 2, mask).ok);
  EXPECT_EQ(pairChiSquare(t, 0, 2, mask), -1);
  EXPECT_EQ(pairDprime(t, 0, 2, mask), 0);
  // Bad indices and foreign masks do nothing.
  EXPECT_FALSE(pairLD(t, 0, 3, mask).ok);
  EXPECT_FALSE(pairLD(t, -1, 0, mask).ok);
  EXPECT_FALSE(pairLD(t, 0, 1, Everyone(9)).ok);
  EXPECT_EQ(pairR2(t, 0, 1, Everyone(9)), 0);
}

TEST(PairOperations, SameCarriersLooksOnlyInsideTheMask) {
  const tmutholder t = TableOf({{1, "1100"}, {2, "1101"}, {3, "1100"}}, 4);
  EXPECT_TRUE(sameCarriers(t, 0, 2, Everyone(4)));
  EXPECT_FALSE(sameCarriers(t, 0, 1, Everyone(4)));
  samptype three(4);
  for (int k : {0, 1, 2}) three.Set(k);
  EXPECT_TRUE(sameCarriers(t, 0, 1, three));
  EXPECT_FALSE(sameCarriers(t, 0, 7, three));
}

TEST(PackedCarriers, TiledCountsEqualPairByPairCounts) {
  // 140 sequences (three words, the last partial), 90 mutations, mask without every 7th; every
  // third mutation lies inside the mask (read in place), the others are cut by it (copied).
  std::vector<MutSpec> specs;
  unsigned state = 99;
  for (int i = 0; i < 90; ++i) {
    std::string rows(140, '0');
    for (char& c : rows) {
      state = state * 1664525u + 1013904223u;
      c = (state >> 29) < 3 ? '1' : '0';
    }
    if (i % 3 == 0)
      for (int k = 0; k < 140; k += 7) rows[static_cast<std::size_t>(k)] = '0';
    specs.push_back({i, rows});
  }
  const tmutholder t = TableOf(specs, 140);
  samptype mask = Everyone(140);
  for (int k = 0; k < 140; k += 7) mask.Set(k, false);
  std::vector<int> all(90);
  for (int i = 0; i < 90; ++i) all[static_cast<std::size_t>(i)] = i;
  const PackedCarriers p(t, all, mask);
  ASSERT_EQ(p.Size(), 90);
  EXPECT_EQ(p.SampleSize(), 120);
  std::vector<int> block;
  p.BothBlock(5, 77, 3, 90, block);
  for (int k = 5; k < 77; ++k)
    for (int l = 3; l < 90; ++l) {
      int both = 0;
      for (int s = 0; s < 140; ++s)
        both += mask.Test(s) &&
                specs[static_cast<std::size_t>(k)].carriers[static_cast<std::size_t>(s)] == '1' &&
                specs[static_cast<std::size_t>(l)].carriers[static_cast<std::size_t>(s)] == '1';
      ASSERT_EQ(block[static_cast<std::size_t>((k - 5) * 87 + (l - 3))], both) << k << "," << l;
    }
  EXPECT_EQ(p.Count(4), t.mutations[4].CountAnd(mask));
}

TEST(DprimeCache, KeyedByMutationSoOneColumnsTwoMutationsStayApart) {
  // Mutations 1 and 2 share column 10 (a three-letter site) but have different D'.
  const tmutholder t = TableOf({{5, "1100"}, {10, "1100"}, {10, "0010"}}, 4);
  DprimeCache cache;
  const samptype all = Everyone(4);
  cache.Put(0, 1, pairDprime(t, 0, 1, all));
  cache.Put(2, 0, pairDprime(t, 0, 2, all));
  double x = 0;
  ASSERT_TRUE(cache.Find(1, 0, x));
  EXPECT_DOUBLE_EQ(x, 1.0);
  ASSERT_TRUE(cache.Find(0, 2, x));
  EXPECT_DOUBLE_EQ(x, -1.0);
  EXPECT_FALSE(cache.Find(1, 2, x));
  EXPECT_EQ(cache.Size(), 2u);
  // Partners added out of order (the assembly scan's own pairs) and a value replaced.
  cache.Put(0, 7, 0.7);
  cache.Put(0, 5, 0.5);
  cache.Put(6, 0, 0.6);
  cache.Put(5, 0, -0.5);
  EXPECT_EQ(cache.Size(), 5u);
  for (auto [j, want] : {std::pair{1, 1.0}, {2, -1.0}, {5, -0.5}, {6, 0.6}, {7, 0.7}}) {
    ASSERT_TRUE(cache.Find(j, 0, x)) << j;
    EXPECT_DOUBLE_EQ(x, want);
  }
  EXPECT_FALSE(cache.Find(0, 4, x));
  EXPECT_FALSE(cache.Find(9, 12, x));
}

TEST(R2Band, OverlappingWindowsReuseEveryPair) {
  std::vector<MutSpec> specs;
  unsigned state = 3;
  for (int i = 0; i < 40; ++i) {
    std::string rows(70, '0');
    for (char& c : rows) {
      state = state * 1664525u + 1013904223u;
      c = (state >> 30) == 0 ? '1' : '0';
    }
    specs.push_back({i + 1, rows});
  }
  const tmutholder t = TableOf(specs, 70);
  const samptype all = Everyone(70);
  std::vector<int> idx(40);
  for (int i = 0; i < 40; ++i) idx[static_cast<std::size_t>(i)] = i;
  const PackedCarriers p(t, idx, all);
  R2Band band(p);
  // Windows of 10 mutations stepping by 2: each pair computed once.
  for (int lo = 0; lo + 10 <= 40; lo += 2) {
    std::vector<int> window(idx.begin() + lo, idx.begin() + lo + 10);
    const double zns = kellyZnS(t, 0, 0, all, &window);
    EXPECT_NEAR(2 * band.WindowSum(lo, lo + 10) / 90.0, zns, 1e-12) << lo;
  }
  // Every distinct pair of some window, counted once.
  std::set<std::pair<int, int>> distinct;
  for (int lo = 0; lo + 10 <= 40; lo += 2)
    for (int k = lo; k < lo + 10; ++k)
      for (int l = k + 1; l < lo + 10; ++l) distinct.insert({k, l});
  const auto pairs = static_cast<long long>(distinct.size());
  EXPECT_EQ(band.Computed(), pairs);
}

}  // namespace
