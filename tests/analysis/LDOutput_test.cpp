// SPDX-License-Identifier: GPL-3.0-or-later
// Texts of the pairwise LD outputs, distance bins, the assembly scan and its split.
#include "analysis/LDOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "MutTables.h"
#include "ScanFixture.h"

namespace {

// Eight sequences. Column 5 holds two SNPs; the SNP at 130 has one carrier and the one at 140
// all but one: both fail the pairwise filter (2 <= carriers <= 6).
tmutholder EightSequences() {
  return TableOf({{3, "11110000"},
                  {5, "11000000"},
                  {5, "00001100"},
                  {120, "11111100"},
                  {130, "10000000"},
                  {140, "11111110"}},
                 8);
}

LDPairChoices WindowOf(int distance) {
  LDPairChoices c;
  c.maxDistance = distance;
  c.averageR2 = true;
  return c;
}

TEST(LDSequentialOutput, PairsWithinTheWindowAndDistanceBins) {
  const tmutholder t = EightSequences();
  DprimeCache cache;
  const LDSequentialText out = LDSequentialOutput(t, Everyone(8), "ds", 150, WindowOf(100), &cache);
  // (3, 5a): pA 1/2, pB 1/4, pAB 1/4: D 1/8 = Dmax, R 1/8 / sqrt(3/64), chi 8 R^2 = 8/3.
  // (3, 5b): disjoint: D -1/8 = -min(1/8, 3/8). (5a, 5b): D -1/16, R -1/3, chi 8/9.
  EXPECT_EQ(out.pairs,
            "Dataset,SNP1 position,SNP2 position, SNP1 freq, SNP2 freq,D,Dprim,R,chi^2\r\n"
            "ds, 3, 5, 4, 2, 0.1250, 1.0000, 0.5774, 2.6667\r\n"
            "ds, 3, 5, 4, 2, -0.1250, -1.0000, -0.5774, 2.6667\r\n"
            "ds, 5, 5, 2, 2, -0.0625, -1.0000, -0.3333, 0.8889\r\n");
  // Two bins (150 / 100 + 1); bin 0 holds r^2 1/3, 1/3, 1/9 (mean 7/27); bin 1 is empty.
  EXPECT_EQ(out.hist, "bins:, 1, 101, \r\nds, 0.26, NA, \r\n");
  double x = 0;
  ASSERT_TRUE(cache.Find(2, 1, x));
  EXPECT_DOUBLE_EQ(x, -1.0);
  EXPECT_EQ(cache.Size(), 3u);
}

TEST(LDSequentialOutput, WholeLengthAndChosenValuesOnly) {
  const tmutholder t = EightSequences();
  DprimeCache cache;
  LDPairChoices c;
  c.D = false;
  c.chiSquare = false;
  const LDSequentialText out = LDSequentialOutput(t, Everyone(8), "ds", 150, c, &cache);
  // Six pairs of the four SNPs; (3, 120): D = 1/2 - 3/8 = Dmax 1/8, R = 1/8 / sqrt(3/64).
  EXPECT_EQ(out.pairs,
            "Dataset,SNP1 position,SNP2 position, SNP1 freq, SNP2 freq,Dprim,R\r\n"
            "ds, 3, 5, 4, 2, 1.0000, 0.5774\r\n"
            "ds, 3, 5, 4, 2, -1.0000, -0.5774\r\n"
            "ds, 3, 120, 4, 6, 1.0000, 0.5774\r\n"
            "ds, 5, 5, 2, 2, -1.0000, -0.3333\r\n"
            "ds, 5, 120, 2, 6, 1.0000, 0.3333\r\n"
            "ds, 5, 120, 2, 6, 1.0000, 0.3333\r\n");
  EXPECT_TRUE(out.hist.empty());
}

TEST(LDCrossTable, DBelowDprimeAboveAndRowsEndBeyondTheWindow) {
  const tmutholder t = EightSequences();
  DprimeCache cache;
  const std::string d = LDCrossTable(t, Everyone(8), "ds", 150, WindowOf(100), true, &cache);
  EXPECT_EQ(d,
            "ds, Xtab-LD-output: SNP positions are in the top row and left column. D-values are "
            "below diagonal (bottom left). D'-values are above diagonal (top right).\r\n"
            "SNPs:,3,5,5,120\r\n"
            "3,NA, 1.0000, -1.0000\r\n"
            "5, 0.1250,NA, -1.0000\r\n"
            "5, -0.1250, -0.0625,NA\r\n"
            "120, , , ,NA\r\n"
            "\r\n");
  LDPairChoices c = WindowOf(100);
  c.R = false;
  const std::string r = LDCrossTable(t, Everyone(8), "ds", 150, c, false, &cache);
  EXPECT_EQ(r,
            "ds, Xtab-LD-output: SNP positions are in the top row and left column. Chi^2-values "
            "are above diagonal (top right).\r\n"
            "SNPs:,3,5,5,120\r\n"
            "3,NA, 2.6667, 2.6667\r\n"
            "5, ,NA, 0.8889\r\n"
            "5, , ,NA\r\n"
            "120, , , ,NA\r\n"
            "\r\n");
}

// Twelve SNPs ten columns apart in six sequences.
tmutholder TwelveSnps() {
  const char* rows[] = {"110000", "111000", "011100", "001110", "000111", "100011",
                        "110001", "111000", "011000", "001100", "000110", "110000"};
  std::vector<MutSpec> specs;
  for (int k = 0; k < 12; ++k) specs.push_back({10 * (k + 1), rows[k]});
  return TableOf(specs, 6);
}

TEST(AssemblyLDScan, WindowsOfTwoBlocksAndTheCacheIsUsed) {
  const tmutholder t = TwelveSnps();
  DprimeCache cache;
  cache.Put(0, 5, 0.5);  // as if written by the pairwise output
  const AssemblyScanText out = AssemblyLDScan(t, Everyone(6), "ds", 5, 1, 2, true, cache);
  // 12 SNPs, blocks of 5, step 1: windows at 0, 1, 2 (w + 10 <= 12).
  ASSERT_EQ(out.windows.size(), 3u);
  EXPECT_EQ(out.windows[0].leftJunction, 50);
  EXPECT_EQ(out.windows[0].rightJunction, 60);
  EXPECT_EQ(out.windows[2].leftJunction, 70);
  EXPECT_EQ(out.windows[2].rightJunction, 80);
  double expected = 0.5;
  for (int l = 0; l < 5; ++l)
    for (int r = 5; r < 10; ++r)
      if (l != 0 || r != 5) expected += std::abs(pairDprime(t, l, r, Everyone(6)));
  EXPECT_NEAR(out.windows[0].sum, expected, 1e-12);
  EXPECT_EQ(out.detail.substr(0, out.detail.find("\r\n") + 2),
            "Dataset,SNP1 position,SNP2 position, SNP1 freq, SNP2 freq,Dprim\r\n");
  EXPECT_NE(out.detail.find("ds, 10, 60, 2, 3, 0.5000\r\n"), std::string::npos);
  EXPECT_EQ(std::count(out.detail.begin(), out.detail.end(), '\n'), 1 + 3 * 25);
  EXPECT_EQ(out.scanFile.substr(0, out.scanFile.find("\r\n")),
            "Dataset,SNP1 position,SNP2 position,D'");
  EXPECT_EQ(std::count(out.scanFile.begin(), out.scanFile.end(), '\n'), 4);
  EXPECT_NE(out.scanFile.find("ds, 50, 60, "), std::string::npos);
}

TEST(AssemblyLDScan, FewSnpsAndDefaults) {
  const tmutholder t = TwelveSnps();
  DprimeCache cache;
  // Blocks of 10 (b = 0 becomes 10): one window, the right block cut at SNP 12.
  AssemblyScanText out = AssemblyLDScan(t, Everyone(6), "ds", 0, 0, 2, false, cache);
  ASSERT_EQ(out.windows.size(), 1u);
  EXPECT_EQ(out.windows[0].leftJunction, 100);
  EXPECT_EQ(std::count(out.detail.begin(), out.detail.end(), '\n'), 1 + 10 * 2);
  // No SNP: only the header lines.
  out = AssemblyLDScan(TableOf({}, 6), Everyone(6), "ds", 5, 1, 2, false, cache);
  EXPECT_TRUE(out.windows.empty());
  EXPECT_EQ(out.scanFile, "Dataset,SNP1 position,SNP2 position,D'\r\n");
}

TEST(FindGapRun, RunOfUnknownLettersBetweenJunctions) {
  ScanFixture f({"ACGTACNNNNACGTACGTAC", "ACGTAC----ACGTACGTAC", "ACGTACNRN?ACGTACGTAC"});
  int left = 5, right = 15;
  ASSERT_TRUE(FindGapRun(*f.ds, left, right));
  EXPECT_EQ(left, 7);
  EXPECT_EQ(right, 11);
  // A disabled sequence does not break a gap column.
  ScanFixture g({"ACGTACNNNNACGTACGTAC", "ACGTACGTACACGTACGTAC"});
  g.Row(2).enabled = false;
  left = 1, right = 20;
  EXPECT_TRUE(FindGapRun(*g.ds, left, right));
  g.Row(2).enabled = true;
  left = 1, right = 20;
  EXPECT_FALSE(FindGapRun(*g.ds, left, right));
  // Only the first sequence is searched for the run's start.
  ScanFixture h({"ACGTACGTACACGTACGTAC", "ACGTACNNNNACGTACGTAC"});
  left = 1, right = 20;
  EXPECT_FALSE(FindGapRun(*h.ds, left, right));
  // A run that reaches right counts and leaves right alone.
  left = 5, right = 9;
  EXPECT_TRUE(FindGapRun(*f.ds, left, right));
  EXPECT_EQ(left, 7);
  EXPECT_EQ(right, 9);
}

TEST(AssemblySplit, CutsOnlyAtLowWindowsOverAGapRun) {
  ScanFixture f({"ACGTACNNNNACGTACGTAC", "ACGTAC----ACGTACGTAC"});
  // Window 3 is low and spans the N run; window 1 is low too but has no run between 2 and 4.
  const std::vector<AsmWindow> windows = {{3, 1, 3},    {0.2, 2, 4}, {3, 3, 5},
                                          {0.1, 5, 15}, {3, 12, 14}, {3, 14, 16}};
  const std::vector<AsmSegment> s = AssemblySplit(*f.ds, windows, 1.0, 20);
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0].first, 1);
  EXPECT_EQ(s[0].last, 7);
  EXPECT_EQ(s[1].first, 11);
  EXPECT_EQ(s[1].last, 20);
  // One window: mean and sd are 0, nothing lies below.
  EXPECT_EQ(AssemblySplit(*f.ds, {{0.1, 5, 15}}, 1.0, 20).size(), 1u);
}

}  // namespace
