// SPDX-License-Identifier: GPL-3.0-or-later
// The bit-set scan and counts against plain per-column and per-pair computations on random
// alignments wider than one 64-row word and one 64-column block: the dataset's own column
// letters with FindVariants for the scan, every pair of sequences for the counts.
#include <gtest/gtest.h>

#include <cctype>
#include <random>

#include "ScanFixture.h"

namespace {

// Rows of a random reference with one letter in oneIn changed.
std::vector<std::string> RandomRows(std::mt19937& gen, int rows, int columns, int oneIn = 6) {
  static constexpr char kLetters[] = "AACCGGTTacgtNRY-";
  std::vector<std::string> out(static_cast<std::size_t>(rows));
  std::string ref(static_cast<std::size_t>(columns), 'A');
  for (char& c : ref) c = "ACGT"[gen() % 4];
  for (auto& r : out) {
    r = ref;
    for (char& c : r)
      if (gen() % static_cast<unsigned>(oneIn) == 0) c = kLetters[gen() % 16];
    r.resize(static_cast<std::size_t>(columns - static_cast<int>(gen() % 4)));  // ragged ends
  }
  return out;
}

// Every mutation of the whole-dataset table against FindVariants on the dataset's own columns.
void ExpectScanMatchesColumns(ScanFixture& f, int mode) {
  const int rows = f.ds->Count();
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
      for (int r = 0; r < rows; ++r)
        ASSERT_EQ(m.Test(r), col[static_cast<std::size_t>(r)] == v.letters[u]) << "row " << r + 1;
    }
  }
  EXPECT_EQ(next, t.mutations.size());
  EXPECT_EQ(t.positionsAnalysed(), analysed);
}

TEST(ScanCrossCheck, BitSetScanAgreesWithColumnByColumnVariants) {
  std::mt19937 gen(3);
  for (int mode : {0, 1, 2}) {
    SCOPED_TRACE("indel mode " + std::to_string(mode));
    ScanFixture f(RandomRows(gen, 70, 150));
    f.Row(5).enabled = false;
    f.Row(9).columnShift = 3;
    ASSERT_TRUE(f.Scan(Options(mode)));
    ExpectScanMatchesColumns(f, mode);
  }
}

TEST(ScanCrossCheck, SparseVariantsAgreeToo) {
  // One letter in 400 differs, so most runs of 64 rows share their letter at a column; a
  // lower-case run, a disabled row and shifted rows break some runs.
  std::mt19937 gen(11);
  for (int mode : {0, 1}) {
    SCOPED_TRACE("indel mode " + std::to_string(mode));
    ScanFixture f(RandomRows(gen, 200, 140, 400));
    for (int r = 65; r <= 128; ++r)
      for (int c = 10; c < 20; ++c)
        f.Row(r).letters[static_cast<std::size_t>(c)] = static_cast<char>(std::tolower(
            static_cast<unsigned char>(f.Row(r).letters[static_cast<std::size_t>(c)])));
    f.Row(150).enabled = false;
    f.Row(20).columnShift = 2;
    f.Row(190).columnShift = 70;
    ASSERT_TRUE(f.Scan(Options(mode)));
    ExpectScanMatchesColumns(f, mode);
  }
}

TEST(ScanCrossCheck, MeanJukesCantorFromTheOutgroupEqualsTheMeanOfItsPairwiseDistances) {
  // Plain bases, one in 80 changed, and a few N so some codons drop out.
  std::mt19937 gen(5);
  std::string ref(120, 'A');
  for (char& c : ref) c = "ACGT"[gen() % 4];
  std::vector<std::string> rows(90, ref);
  for (auto& r : rows)
    for (char& c : r)
      if (gen() % 80 == 0) c = gen() % 8 == 0 ? 'N' : "ACGT"[gen() % 4];
  ScanFixture f(rows);
  f.AllCds(false);
  f.Assign(77, kOutgroupKey);
  ASSERT_TRUE(f.Scan(Options(0)));
  const tmutholder& d = f.Divergence();
  const int og = 76;
  const std::vector<int> diffs = d.differencesFrom(og, kSiteAll, kMutAll);
  ASSERT_EQ(diffs.size(), 90u);
  for (int r = 0; r < 90; ++r)
    ASSERT_EQ(diffs[static_cast<std::size_t>(r)],
              d.countDifferences(r, og, 0, 0, kSiteAll, kMutAll))
        << "row " << r + 1;
  for (int sf : {int{kSiteAll}, kSiteFirst | kSiteSecond, int{kSiteThird}}) {
    double sum = 0;
    int count = 0;
    for (int r = 0; r < 90; ++r) {
      if (r == og || !d.sampleMask.Test(r)) continue;
      const DistanceResult k = d.pairwiseDistance(r, og, kJukesCantor, sf, kMutAll);
      if (k.distance < 0) continue;
      sum += k.distance;
      ++count;
    }
    ASSERT_GT(count, 0) << "sites " << d.sitesOfClass(sf) << ", mutations " << d.mutations.size();
    EXPECT_EQ(d.meanJukesCantorFrom(og, sf), sum / count) << "site flags " << sf;
  }
  EXPECT_TRUE(d.differencesFrom(90, kSiteAll, kMutAll).empty());
  EXPECT_EQ(d.meanJukesCantorFrom(-1, kSiteAll), -1.0);
  // No site of the class: no distance at all.
  EXPECT_EQ(d.meanJukesCantorFrom(og, kSiteNoncoding), -1.0);
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
