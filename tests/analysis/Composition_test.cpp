// SPDX-License-Identifier: GPL-3.0-or-later
// Nucleotide composition: base and pair counts, the five blocks on hand-worked examples and
// the whole run through the analysis frame.
#include "analysis/GCcontentUnit.h"

#include <gtest/gtest.h>

#include "analysis/ScanFixture.h"

namespace {

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::string BlockOf(ScanFixture& f,
                    std::string (*block)(const TDataSeq&, const samptype&, const tmutholder&)) {
  EXPECT_TRUE(f.Scan(Options(0)));
  return block(*f.ds, AllOf(f.ds->Count()), f.Table());
}

}  // namespace

TEST(CountBases, BasesAndAdjacentPairs) {
  TSeq s("a", "ACGTACGT");
  CountBases(s);
  EXPECT_EQ(s.baseCounts, (std::array<std::int32_t, 4>{2, 2, 2, 2}));  // A, T, G, C
  // Index 4 x first + second in the order A, T, G, C: AC 3, CG 14, GT 9, TA 4.
  std::array<std::int32_t, 16> pairs{};
  pairs[3] = 2;
  pairs[14] = 2;
  pairs[9] = 2;
  pairs[4] = 1;
  EXPECT_EQ(s.pairCounts, pairs);

  TSeq gap("b", "ac-Gu");  // a gap breaks the pair, lower case counts, U does not
  CountBases(gap);
  EXPECT_EQ(gap.baseCounts, (std::array<std::int32_t, 4>{1, 0, 1, 1}));
  std::array<std::int32_t, 16> two{};
  two[3] = 1;
  EXPECT_EQ(gap.pairCounts, two);
}

TEST(CompositionBlocks, GCChangingMutationsByLetterClass) {
  tmutholder t;
  auto add = [&](char a, char d, bool fixed) {
    tmutation m;
    m.ancestralLetter = a;
    m.derivedLetter = d;
    m.isFixed = fixed;
    t.mutations.push_back(m);
  };
  add('A', 'G', false);  // changing
  add('c', 'g', false);  // neutral
  add('A', 'T', false);  // neutral
  add('A', '-', false);  // neither
  add('G', 'R', false);  // neither
  const std::string text = GCMutationsBlock(t);
  EXPECT_TRUE(Has(text, "affecting GC% (G/C<=>T/A): 1\r\n")) << text;
  EXPECT_TRUE(Has(text, "not affecting GC% (G<=>C or A<=>T): 2\r\n\r\n")) << text;
  EXPECT_FALSE(Has(text, "polymorphic in the population")) << text;
  add('T', 'C', true);
  EXPECT_TRUE(Has(GCMutationsBlock(t),
                  "Number of G/C<=>T/A mutations fixed in the population, but different from "
                  "outgroup: 1\r\nNumber of G<=>C or A<=>T mutations fixed in the population, but "
                  "different from outgroup: 0\r\n\r\n"));
}

TEST(CompositionBlocks, BaseCompositionWithErrorsForNoBases) {
  ScanFixture f({"ACGTACGT", "NN-N"});
  for (int r = 1; r <= 2; ++r) CountBases(f.Row(r));
  const std::string text = BaseCompositionBlock(*f.ds, AllOf(2));
  EXPECT_TRUE(Has(text,
                  "s1             2 (0.250)       2 (0.250)       2 (0.250)       2 (0.250)"
                  "       4 (0.500)  \r\n"))
      << text;
  EXPECT_TRUE(Has(text, "s2             0 (error)       0 (error)")) << text;
  // Means 1, 1, 1, 1 and 2 of a total of 4.
  EXPECT_TRUE(Has(text,
                  "Average    1.000 (0.250)   1.000 (0.250)   1.000 (0.250)   1.000 "
                  "(0.250)   2.000 (0.500)  \r\n\r\n"))
      << text;
}

TEST(CompositionBlocks, GCStationarityGTestOfEyreWalker) {
  // s1 strong and s2 weak at three columns, the other way round at one: x = 3, y = 1,
  // G = 2 (3 ln 1.5 + ln 0.5) = 1.0465. s3 adds y = 0 against s2 (weak only, G <-> A).
  ScanFixture f({"GGGA", "AAAG", "AAAA"});
  const std::string text = BlockOf(f, GCStationarityBlock);
  EXPECT_TRUE(Has(text, "Sequence1  Sequence2  GC1:AT2  AT1:GC2  G-test\r\n")) << text;
  EXPECT_TRUE(Has(text, "s1         s2               3        1  1.046\r\n")) << text;
  EXPECT_TRUE(Has(text, "s1         s3               3        0  Error\r\n")) << text;
}

TEST(CompositionBlocks, LettersAreReadAtTheMutationsColumn) {
  // s2 starts at column 2: by column it differs from s1 G/A, G/A, A/G (x 2, y 1); read by
  // letter index it would run past its end.
  ScanFixture f({"GGGA", "AAG", "GGGA"});
  f.Row(2).columnShift = 1;
  const std::string text = BlockOf(f, GCStationarityBlock);
  EXPECT_TRUE(Has(text, "s1         s2               2        1")) << text;
}

TEST(CompositionBlocks, NucleotidePairsExpectedCountsAndErrors) {
  ScanFixture f({"ACGTACGT", "NNNN"});
  for (int r = 1; r <= 2; ++r) CountBases(f.Row(r));
  const std::string text = NucleotidePairsBlock(*f.ds, AllOf(2), 8);
  // Length 8: columns of 3.
  EXPECT_TRUE(Has(text, "Sequence   AA AG AT AC GA GG GT GC TA TG TT TC CA CG CT CC  G-test \r\n"))
      << text;
  EXPECT_TRUE(Has(text, "       s1   0  0  0  2  0  0  2  0  1  0  0  0  0  2  0  0\r\n")) << text;
  // E = 0.25 x 0.25 x 7 rounds to 0: no valid G.
  EXPECT_TRUE(Has(text, " Expected   0  0  0  0  0  0  0  0  0  0  0  0  0  0  0  0 Error\r\n\r\n"))
      << text;
  EXPECT_TRUE(Has(text, "       s2   0  0  0  0  0  0  0  0  0  0  0  0  0  0  0  0\r\nError!\r\n"))
      << text;
}

TEST(CompositionBlocks, NucleotidePairsGTest) {
  // A de Bruijn sequence holds every pair once; one more A makes AA 3. A 7, T 4, G 4, C 4
  // (H 19), P 18: E(AA) = (7/19)^2 x 18 = 2.44 -> 2, E(AX) = 7 x 4 / 361 x 18 = 1.40 -> 1,
  // E(XY) = 16 / 361 x 18 = 0.80 -> 1. G = 2 x 3 ln(3/2), the other pairs add 2 x 1 ln 1 = 0.
  ScanFixture f({"AAGACTCCGCATGGTTAAA", "ACGT"});
  for (int r = 1; r <= 2; ++r) CountBases(f.Row(r));
  const std::string text = NucleotidePairsBlock(*f.ds, AllOf(2), 19);
  EXPECT_TRUE(Has(text, " Expected   2  1  1  1  1  1  1  1  1  1  1  1  1  1  1  1    2.43\r\n"))
      << text;
}

TEST(CompositionBlocks, CpGMutationsWithExpectationAndGTest) {
  // s1/s2: C->T at 2 before G G (in CpG), C->T at 5 before A A, G->A at 8 after A A: CT 2,
  // GA 1, 1 in CG. Both-G columns 1 (3), both-C 1 (9) of 9: Ex = 2/9 + 1/9, G = 2 (ln 3 +
  // 2 ln 0.75) = 1.0465. s3 holds no base: Q = 0 gives "error" instead of a division by 0.
  ScanFixture f({"ACGTCAAGC", "ATGTTAAAC", "NNNNNNNNN"});
  const std::string text = BlockOf(f, [](const TDataSeq& ds, const samptype& m,
                                         const tmutholder& t) { return CpGBlock(ds, m, t); });
  EXPECT_TRUE(Has(text,
                  "s1 vers s2: muts in C: 3 (GA: 1 CT: 2); of them in CG: 1. Expected: "
                  "0.333; G-test =  1.046\r\n"))
      << text;
  EXPECT_TRUE(Has(text,
                  "s1 vers s3: muts in C: 0 (GA: 0 CT: 0); of them in CG: 0. "
                  "Expected:error; G-test = error\r\n"))
      << text;
}

TEST(RunComposition, ReportOfAllBlocksWithCaption) {
  ScanFixture f({"ACGTACGT", "ACGTACGA", "ACCTACGA"});
  InitAnalysisSelection(f.proj);
  CompositionOptions co;
  co.gcStationarity = co.cpg = true;
  const AnalysisOutput out = RunComposition(f.proj, FrameOptions{}, co, f.svc);
  ASSERT_TRUE(out.error.empty()) << out.error;
  EXPECT_EQ(out.reportCaption, "Nucleotide composition report");
  std::size_t at = 0;
  for (const char* heading :
       {"====Number of GC%-changing",
        "========Nucleotide composition========", "===%GC stationarity",
        "====Frequencies of nucleotide pairs====", "===Methylation, mutations in CpG==="}) {
    at = out.report.find(heading, at);
    ASSERT_NE(at, std::string::npos) << heading << "\n" << out.report;
  }
  EXPECT_GT(f.svc.progress.starts, 0);
  EXPECT_EQ(f.svc.progress.starts, f.svc.progress.ends);
}
