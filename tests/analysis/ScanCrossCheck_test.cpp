// SPDX-License-Identifier: GPL-3.0-or-later
// The bit-set scan and counts against plain per-column and per-pair computations on random
// alignments wider than one 64-row word and one 64-column block: the dataset's own column
// letters with FindVariants for the scan, every pair of sequences for the counts.
#include <gtest/gtest.h>

#include <cctype>
#include <random>

#include "ScanFixture.h"

namespace {

std::vector<std::string> RandomRows(std::mt19937& gen, int rows, int columns) {
  static constexpr char kLetters[] = "AACCGGTTacgtNRY-";
  std::vector<std::string> out(static_cast<std::size_t>(rows));
  std::string ref(static_cast<std::size_t>(columns), 'A');
  for (char& c : ref) c = "ACGT"[gen() % 4];
  for (auto& r : out) {
    r = ref;
    for (char& c : r)
      if (gen() % 6 == 0) c = kLetters[gen() % 16];
    r.resize(static_cast<std::size_t>(columns - static_cast<int>(gen() % 4)));  // ragged ends
  }
  return out;
}

TEST(ScanCrossCheck, BitSetScanAgreesWithColumnByColumnVariants) {
  std::mt19937 gen(3);
  for (int mode : {0, 1, 2}) {
    SCOPED_TRACE("indel mode " + std::to_string(mode));
    ScanFixture f(RandomRows(gen, 70, 150));
    f.Row(5).enabled = false;
    f.Row(9).columnShift = 3;
    ASSERT_TRUE(f.Scan(Options(mode)));
    const tmutholder& t = f.Table();
    std::size_t next = 0;
    int analysed = 0;
    for (int c = 1; c <= f.ds->AlignmentLength(true); ++c) {
      std::string col = f.ds->ColumnLetters(c, 0);
      for (char& ch : col) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      ColumnVariants v = FindVariants(col);
      if (v.hasGap && mode == 0) continue;
      ++analysed;
      if (v.letters.size() > 1 && v.hasGap && mode == 1) v.letters.erase(v.letters.find('-'), 1);
      for (std::size_t u = 1; u < v.letters.size(); ++u, ++next) {
        ASSERT_LT(next, t.mutations.size());
        const tmutation& m = t.mutations[next];
        EXPECT_EQ(m.position, c);
        EXPECT_EQ(m.ancestralLetter, v.letters[0]);
        EXPECT_EQ(m.derivedLetter, v.letters[u]);
        for (int r = 0; r < 70; ++r)
          ASSERT_EQ(m.Test(r), col[static_cast<std::size_t>(r)] == v.letters[u]) << "row " << r + 1;
      }
    }
    EXPECT_EQ(next, t.mutations.size());
    EXPECT_EQ(t.positionsAnalysed(), analysed);
  }
}

TEST(ScanCrossCheck, CountsAgreeWithAllPairs) {
  std::mt19937 gen(5);
  ScanFixture f(RandomRows(gen, 90, 120));
  ASSERT_TRUE(f.Scan(Options(1)));
  const tmutholder& t = f.Table();
  samptype mask(90);
  for (int s = 0; s < 90; ++s)
    if (gen() % 3 != 0) mask.Set(s);
  const int n = mask.Count();
  double sum = 0;
  std::vector<int> of;
  const int h = t.countHaplotypes(mask, 0, 0, kSiteAll, kMutAll, &of);
  std::vector<int> firstOf(static_cast<std::size_t>(h), -1);
  for (int i = 0; i < 90; ++i) {
    if (!mask.Test(i)) continue;
    for (int j = i + 1; j < 90; ++j) {
      if (!mask.Test(j)) continue;
      const int d = t.countDifferences(i, j, 0, 0, kSiteAll, kMutAll);
      sum += d;
      EXPECT_EQ(d == 0, of[static_cast<std::size_t>(i)] == of[static_cast<std::size_t>(j)]);
    }
  }
  EXPECT_NEAR(t.meanPairwiseDifferences(mask, 0, 0, kSiteAll, kMutAll), sum / (n * (n - 1) / 2.0),
              1e-9);
  // Haplotype numbers are handed out in order of first appearance.
  int seen = 0;
  for (int i = 0; i < 90; ++i) {
    if (!mask.Test(i)) continue;
    if (of[static_cast<std::size_t>(i)] == seen) ++seen;
    EXPECT_LT(of[static_cast<std::size_t>(i)], seen);
  }
  EXPECT_EQ(seen, h);
}

}  // namespace
