// SPDX-License-Identifier: GPL-3.0-or-later
// Every statistic built on pairwise differences against a plain double loop over pairs of rows
// and columns that compares the two letters directly, on random alignments with two to four
// letters per column, gaps and N.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "ScanFixture.h"
#include "analysis/PolymEstimators.h"
#include "analysis/Subdivision.h"
#include "trees/NJTreeAnalysis.h"

namespace {

std::vector<std::string> RandomAlignment(std::mt19937& gen, int rows, int columns) {
  std::vector<std::string> out(static_cast<std::size_t>(rows), std::string());
  for (int c = 0; c < columns; ++c) {
    std::string letters = "ACGT";
    std::shuffle(letters.begin(), letters.end(), gen);
    letters.resize(2 + gen() % 3);
    for (auto& r : out) {
      const unsigned x = gen() % 16;
      r += x == 0 ? '-' : x == 1 ? 'N' : letters[gen() % letters.size()];
    }
  }
  return out;
}

// The letters as the analysis compares them: a column with N is left out when ambiguous sites
// are removed, and one with a gap unless gaps are variants; otherwise N stands for the
// column's most common letter (the first met on a tie), as it carries no variant of its own.
// Returns the analysed columns.
std::vector<std::string> ComparedColumns(const std::vector<std::string>& rows, int indelMode,
                                         int ambiguityMode) {
  std::vector<std::string> out;
  for (std::size_t c = 0; c < rows.front().size(); ++c) {
    std::string col;
    for (const std::string& r : rows) col += r[c];
    const bool hasN = col.find('N') != std::string::npos;
    if ((hasN && ambiguityMode == 1) || (col.find('-') != std::string::npos && indelMode == 0))
      continue;
    char common = 'N';
    int best = 0;
    for (char x : col) {
      const int n = static_cast<int>(std::count(col.begin(), col.end(), x));
      if (x != 'N' && n > best) {
        best = n;
        common = x;
      }
    }
    for (char& x : col)
      if (x == 'N') x = common;
    out.push_back(col);
  }
  return out;
}

bool Transition(char a, char b) {
  const std::string pair{std::min(a, b), std::max(a, b)};
  return pair == "AG" || pair == "CT";
}

struct PairCounts {
  int differences = 0, transitions = 0;
};

// Jukes and Cantor (1969) and Kimura (1980) from k differences, of them ts transitions, over
// L sites; -1 at or past saturation (decided on the whole counts).
double JukesCantor(int k, double L) {
  return 3 * L - 4 * k > 0 ? -0.75 * std::log(1 - 4.0 * k / (3 * L)) : -1;
}

double Kimura(int ts, int tv, double L) {
  if (L - 2 * ts - tv <= 0 || L - 2 * tv <= 0) return -1;
  return -0.5 * std::log((L - 2 * ts - tv) / L) - 0.25 * std::log((L - 2 * tv) / L);
}

TEST(PairwiseOracle, DifferencesDiversityDxyAndDistancesEqualTheDoubleLoop) {
  std::mt19937 gen(2024);
  for (int a = 0; a < 300; ++a) {
    const int rows = 3 + static_cast<int>(gen() % 10), columns = 5 + static_cast<int>(gen() % 36);
    const int indelMode = a % 2 == 0 ? 0 : 2, ambiguityMode = (a / 2) % 2;
    SCOPED_TRACE("alignment " + std::to_string(a));
    const std::vector<std::string> seqs = RandomAlignment(gen, rows, columns);
    ScanFixture f(seqs);
    ASSERT_TRUE(f.Scan(Options(indelMode, ambiguityMode, false)));
    const tmutholder& t = f.Table();

    const std::vector<std::string> cols = ComparedColumns(seqs, indelMode, ambiguityMode);
    const double L = static_cast<double>(cols.size());
    ASSERT_EQ(t.positionsAnalysed(), static_cast<int>(cols.size()));
    std::vector<std::vector<PairCounts>> k(static_cast<std::size_t>(rows),
                                           std::vector<PairCounts>(static_cast<std::size_t>(rows)));
    double sum = 0;
    for (int i = 0; i < rows; ++i)
      for (int j = 0; j < rows; ++j) {
        PairCounts& c = k[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
        for (const std::string& col : cols) {
          const char x = col[static_cast<std::size_t>(i)], y = col[static_cast<std::size_t>(j)];
          if (x == y) continue;
          ++c.differences;
          if (Transition(x, y)) ++c.transitions;
        }
        if (i < j) sum += c.differences;
      }
    const samptype all = AllOf(rows);
    const double pi = sum / (rows * (rows - 1) / 2.0);
    EXPECT_NEAR(nucleotideDiversity(t, 0, 0, all, kSiteAll, kMutAll), pi, 1e-12);
    if (L > 0) {
      EXPECT_NEAR(nucleotideDiversity(t, 0, 0, all, kSiteAll, kMutAll) / t.sitesOfClass(kSiteAll),
                  pi / L, 1e-12);
    }

    std::vector<int> everyRow(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) everyRow[static_cast<std::size_t>(i)] = i;
    const DistanceMatrix jc =
        TableDistances(t, everyRow, DistanceModel::JukesCantor, kSiteAll, kMutAll);
    const DistanceMatrix k2 =
        TableDistances(t, everyRow, DistanceModel::Kimura2P, kSiteAll, kMutAll);
    const DistanceMatrix nd =
        TableDistances(t, everyRow, DistanceModel::Differences, kSiteAll, kMutAll);
    const std::vector<int> fromFirst = t.differencesFrom(0, kSiteAll, kMutAll);
    for (int i = 0; i < rows; ++i)
      for (int j = 0; j < i; ++j) {
        const PairCounts& c = k[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
        ASSERT_EQ(t.countDifferences(i, j, 0, 0, kSiteAll, kMutAll), c.differences);
        if (j == 0) {
          ASSERT_EQ(fromFirst[static_cast<std::size_t>(i)], c.differences);
        }
        if (t.mutations.empty() || L == 0) continue;
        const double expectJc = JukesCantor(c.differences, L);
        const double expectK2 = Kimura(c.transitions, c.differences - c.transitions, L);
        EXPECT_NEAR(t.pairwiseDistance(i, j, kJukesCantor, kSiteAll, kMutAll).distance, expectJc,
                    1e-12);
        EXPECT_NEAR(t.pairwiseDistance(i, j, kKimura2P, kSiteAll, kMutAll).distance, expectK2,
                    1e-12);
        EXPECT_EQ(t.pairwiseDistance(i, j, kDifferenceCount, kSiteAll, kMutAll).distance,
                  c.differences);
        EXPECT_NEAR(jc.At(i, j), expectJc, 1e-12);
        EXPECT_NEAR(k2.At(i, j), expectK2, 1e-12);
        EXPECT_EQ(nd.At(i, j), c.differences);
      }

    // Dxy of the first rows against the others: the mean difference per site between groups.
    const int split = rows / 2;
    samptype x(rows), y(rows);
    double between = 0;
    for (int i = 0; i < rows; ++i) (i < split ? x : y).Set(i);
    for (int i = 0; i < split; ++i)
      for (int j = split; j < rows; ++j)
        between += k[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)].differences;
    if (t.mutations.empty() || L == 0) continue;
    const double dxy = between / (split * (rows - split) * L);
    EXPECT_NEAR(divergenceDxyDa(t, 0, 0, kSiteAll, kMutAll, {x, y}).dxy, dxy, 1e-12);
    const SubdivisionMatrix matrix(t, 0, 0, kSiteAll, kMutAll, {x, y}, true);
    ASSERT_TRUE(matrix.Usable());
    EXPECT_NEAR(matrix.Evaluate(LabelsOf({x, y}, rows)).sums.dxy, dxy, 1e-12);
  }
}

}  // namespace
