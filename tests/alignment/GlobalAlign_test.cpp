// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <random>
#include <string>

#include "alignment/AlnUnit.h"

namespace {

constexpr double g = 3.0, h = 0.3;
constexpr double kNone = -std::numeric_limits<double>::infinity();

// The letter table written out by hand from the description: a base of the first string
// scores 10 against the same base, "n" and any non-IUPAC-base character, 0 against another
// base, "N" and gaps; "N" and gaps of the first string score 0 against bases and 10 against
// everything else; "n" and every other character of the first string score 10.
double Score(char a, char b) {
  const std::string bases = "ACGTU";
  const auto base = [&](char c) {
    const auto at = bases.find(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    return at == std::string::npos ? -1 : static_cast<int>(std::min<std::size_t>(at, 3));
  };
  const bool gapA = a == '-' || a == ' ', gapB = b == '-' || b == ' ';
  if (base(a) >= 0) {
    if (base(b) >= 0) return base(a) == base(b) ? 10 : 0;
    return b == 'N' || gapB ? 0 : 10;
  }
  if (a == 'N' || gapA) return base(b) >= 0 ? 0 : 10;
  return 10;
}

// Full-matrix Gotoh: a gap run costs g + h*k, but only h*k when it lies before the first or
// after the last letter of the other string (row 0 or M, column 0 or N).
double GotohScore(const std::string& a, const std::string& b) {
  const int m = static_cast<int>(a.size()), n = static_cast<int>(b.size());
  std::vector<std::vector<double>> best(m + 1, std::vector<double>(n + 1, kNone));
  auto ins = best, del = best;  // ins: b letter against a gap; del: a letter against a gap
  best[0][0] = 0;
  for (int i = 0; i <= m; ++i)
    for (int j = 0; j <= n; ++j) {
      if (i == 0 && j == 0) continue;
      if (j > 0) {
        const double open = (i == 0 || i == m) ? 0 : g;
        ins[i][j] = std::max(best[i][j - 1] - open - h, ins[i][j - 1] - h);
      }
      if (i > 0) {
        const double open = (j == 0 || j == n) ? 0 : g;
        del[i][j] = std::max(best[i - 1][j] - open - h, del[i - 1][j] - h);
      }
      double pair = kNone;
      if (i > 0 && j > 0) pair = best[i - 1][j - 1] + Score(a[i - 1], b[j - 1]);
      best[i][j] = std::max({pair, ins[i][j], del[i][j]});
    }
  return best[m][n];
}

// Score of a written alignment under the same rule.
double AlignmentScore(const std::string& x, const std::string& y) {
  const int m =
      static_cast<int>(std::count_if(x.begin(), x.end(), [](char c) { return c != '-'; }));
  const int n =
      static_cast<int>(std::count_if(y.begin(), y.end(), [](char c) { return c != '-'; }));
  double total = 0;
  int i = 0, j = 0;
  for (std::size_t c = 0; c < x.size();) {
    if (x[c] != '-' && y[c] != '-') {
      total += Score(x[c], y[c]);
      ++i, ++j, ++c;
      continue;
    }
    const bool gapInX = x[c] == '-';
    std::size_t e = c;
    while (e < x.size() && (gapInX ? x[e] == '-' : y[e] == '-') && (x[e] != '-' || y[e] != '-'))
      ++e;
    const int k = static_cast<int>(e - c);
    const bool atEnd = gapInX ? (i == 0 || i == m) : (j == 0 || j == n);
    total -= (atEnd ? 0 : g) + h * k;
    (gapInX ? j : i) += k;
    c = e;
  }
  return total;
}

std::string RandomDna(std::mt19937& rng, int length) {
  static const char kBases[] = "ACGT";
  std::string s;
  for (int i = 0; i < length; ++i) s.push_back(kBases[rng() % 4]);
  return s;
}

// A relative of s: substitutions, short insertions and deletions.
std::string Mutate(std::mt19937& rng, const std::string& s, int percent) {
  std::string out;
  for (char c : s) {
    const unsigned r = rng() % 100;
    if (r >= static_cast<unsigned>(percent)) {
      out.push_back(c);
    } else if (r % 3 == 0) {
      continue;  // deleted
    } else if (r % 3 == 1) {
      out.push_back(c);
      out += RandomDna(rng, 1 + static_cast<int>(rng() % 3));
    } else {
      out.push_back("ACGT"[rng() % 4]);
    }
  }
  return out;
}

void ExpectOptimal(const std::string& a, const std::string& b) {
  SCOPED_TRACE(a + " / " + b);
  const PairAlignment r = GlobalAlign(a, b);
  const auto [x, y] = ApplyDisplacement(a, b, r.displacement);
  ASSERT_EQ(x.size(), y.size());
  std::string xa = x, yb = y;
  std::erase(xa, '-');
  std::erase(yb, '-');
  ASSERT_EQ(xa, a);  // the inputs hold no gaps
  ASSERT_EQ(yb, b);
  const double best = GotohScore(a, b);
  EXPECT_NEAR(AlignmentScore(x, y), best, 1e-3);
  EXPECT_NEAR(r.score, best, 1e-3);
}

}  // namespace

TEST(GlobalAlign, ListIsAnOptimalAlignmentOfRandomPairs) {
  std::mt19937 rng(2024);
  for (int k = 0; k < 1000; ++k) {
    const std::string a = RandomDna(rng, 1 + static_cast<int>(rng() % 60));
    const std::string b =
        k % 2 == 0 ? Mutate(rng, a, 30) : RandomDna(rng, 1 + static_cast<int>(rng() % 60));
    if (b.empty()) continue;
    ExpectOptimal(a, b);
    if (HasFailure()) break;
  }
}

TEST(GlobalAlign, AmbiguityLettersFollowTheAsymmetricTable) {
  EXPECT_EQ(PairScore('A', 'N'), 0);
  EXPECT_EQ(PairScore('A', 'n'), 10);
  EXPECT_EQ(PairScore('N', 'A'), 0);
  EXPECT_EQ(PairScore('n', 'A'), 10);
  EXPECT_EQ(PairScore('u', 'T'), 10);
  EXPECT_EQ(PairScore('-', 'c'), 0);
  EXPECT_EQ(PairScore('-', '?'), 10);
  EXPECT_EQ(PairScore('R', 'G'), 10);
  // Worked by hand: ACGT against ACNT pairs letter by letter, 10 + 10 + 0 + 10.
  EXPECT_FLOAT_EQ(GlobalAlign("ACGT", "ACNT").score, 30);
  EXPECT_FLOAT_EQ(GlobalAlign("ACGT", "ACnT").score, 40);
  for (const char* b : {"NNACGTNN", "ACnnGT", "A?CG T", "nACGT"}) ExpectOptimal("ACGTNACGT", b);
  // Longer strings of every kind of letter: many rows of the passes are scored together.
  std::mt19937 rng(7);
  const auto mixed = [&rng] {
    std::string s(1 + rng() % 60, 'A');
    for (char& c : s) c = "ACGTNnuR ?"[rng() % 10];
    return s;
  };
  for (int k = 0; k < 200 && !HasFailure(); ++k) ExpectOptimal(mixed(), mixed());
}

TEST(GlobalAlign, EdgeCasesOfEmptyGapOnlyAndIdenticalStrings) {
  const PairAlignment empty = GlobalAlign("", "ACGT");
  EXPECT_TRUE(empty.displacement.empty());
  EXPECT_EQ(empty.distance, 0);
  EXPECT_EQ(GlobalAlign("----", "ACGT").distance, 1);
  const PairAlignment same = GlobalAlign("ACGTTGCA", "ACGTTGCA");
  EXPECT_EQ(same.displacement, std::vector<int>(8, 0));
  EXPECT_EQ(same.distance, 0);
  // Six of eight letters shared over the shorter string (8): identity 75 %.
  EXPECT_NEAR(GlobalAlign("ACGTTGCA", "ACGATGCT").distance, 0.25, 1e-9);
  // Different single letters share nothing.
  EXPECT_EQ(GlobalAlign("A", "C").distance, 1);
  // End gaps cost 0.3 a letter: AC against CAC gives one leading gap (-0.3) and two matches.
  const PairAlignment end = GlobalAlign("AC", "CAC");
  EXPECT_EQ(end.displacement, (std::vector<int>{1, 0, 0}));
  EXPECT_FLOAT_EQ(end.score, 19.7f);
}

TEST(GlobalAlign, AgreesWithEmbossNeedleOnDnaPairs) {
  const QString needle = QStandardPaths::findExecutable("needle");
  if (needle.isEmpty()) GTEST_SKIP() << "EMBOSS needle not installed";
  QTemporaryDir dir;
  {
    std::ofstream m(dir.filePath("DNA10").toStdString());
    m << "   A  C  G  T\nA 10  0  0  0\nC  0 10  0  0\nG  0  0 10  0\nT  0  0  0 10\n";
  }
  std::mt19937 rng(99);
  for (int k = 0; k < 12; ++k) {
    const std::string a = RandomDna(rng, 40 + static_cast<int>(rng() % 120));
    const std::string b = Mutate(rng, a, 12);
    std::ofstream(dir.filePath("a.fa").toStdString()) << ">a\n" << a << "\n";
    std::ofstream(dir.filePath("b.fa").toStdString()) << ">b\n" << b << "\n";
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(needle, {"-asequence", "a.fa", "-bsequence", "b.fa", "-datafile", "DNA10", "-gapopen",
                     "3.3", "-gapextend", "0.3", "-endweight", "-endopen", "0.3", "-endextend",
                     "0.3", "-outfile", "out.needle", "-auto"});
    ASSERT_TRUE(p.waitForFinished(30000));
    std::ifstream in(dir.filePath("out.needle").toStdString());
    double needleScore = kNone;
    for (std::string line; std::getline(in, line);)
      if (line.rfind("# Score:", 0) == 0) needleScore = std::stod(line.substr(8));
    SCOPED_TRACE(a + " / " + b);
    EXPECT_NEAR(GlobalAlign(a, b).score, needleScore, 0.06);  // needle prints one decimal
  }
}
