// SPDX-License-Identifier: GPL-3.0-or-later
// Spectra across datasets: folding at the ingroup size, their sum, the Mann-Whitney and G
// comparisons on hand-worked counts, the two-dimensional spectrum and the neutrality run with
// its spectra files.
#include "analysis/SFS2dUnit.h"

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/NeutralityAnalysis.h"
#include "analysis/ScanFixture.h"
#include "io/IoTestFiles.h"

namespace {

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Rows of n sequences, column c carried (letter T) by the first carriers[c] rows.
std::vector<std::string> Carriers(int n, const std::vector<int>& carriers) {
  std::vector<std::string> rows(static_cast<std::size_t>(n), std::string(carriers.size(), 'A'));
  for (std::size_t c = 0; c < carriers.size(); ++c)
    for (int r = 0; r < carriers[c]; ++r) rows[static_cast<std::size_t>(r)][c] = 'T';
  return rows;
}

// The neutrality run with spectra on every group of the fixture, its files in dir.
AnalysisOutput RunSpectra(ScanFixture& f, const TestFolder& dir, const std::string& atLabel = "") {
  InitAnalysisSelection(f.proj);
  FrameOptions fo;
  fo.outputFolder = dir.Path();
  NeutralityRunOptions no;
  no.sfs = true;
  no.atLabel = atLabel;
  return RunNeutrality(f.proj, fo, no, f.svc);
}

}  // namespace

TEST(SpectrumTests, MannWhitneyUByMidRanks) {
  // Proportions 0.1 x 4, 0.6 against 1..5 / 15: the reference holds mid-rank 3.5 four times
  // and rank 10, R1 = 24, U1 = 24 - 15 = 9, U2 = 16.
  const MannWhitneyResult r = MannWhitneyCompare({1, 1, 1, 1, 6}, {1, 2, 3, 4, 5});
  ASSERT_TRUE(r.valid);
  EXPECT_DOUBLE_EQ(r.u, 9.0);
  EXPECT_GT(r.p, 0.2);  // far from significant
  EXPECT_LE(r.p, 1.0);
  const MannWhitneyResult same = MannWhitneyCompare({2, 1, 1, 1, 1}, {4, 2, 2, 2, 2});
  ASSERT_TRUE(same.valid);
  EXPECT_DOUBLE_EQ(same.u, 12.5);
  // ALGLIB's approximation needs 5 values per sample: fewer are not a test.
  EXPECT_FALSE(MannWhitneyCompare({1, 2, 3, 4}, {1, 2, 3, 4}).valid);
}

TEST(SpectrumTests, GTestAgainstTheSampleProportions) {
  // O = 10, 20 against p = 1/2, 1/2: E = 15, 15, G = 2 (10 ln 2/3 + 20 ln 4/3) = 3.39798,
  // P = erfc(sqrt(G / 2)) = 0.06528 with df 1.
  const auto g = GTestCompare({10, 20}, {1, 1});
  ASSERT_TRUE(g.has_value());
  EXPECT_NEAR(g->g, 3.397981, 1e-6);
  EXPECT_EQ(g->df, 1);
  EXPECT_NEAR(g->p, 0.065276, 1e-6);
  EXPECT_FALSE(GTestCompare({10, 20}, {1, 0}).has_value());  // a zero proportion
  EXPECT_FALSE(GTestCompare({10}, {3}).has_value());         // no degree of freedom
  EXPECT_FALSE(GTestCompare({0, 0}, {1, 1}).has_value());    // no counts
}

TEST(SpectrumSums, FoldedAtTheIngroupSizeWithoutOverrun) {
  // 9 ingroup sequences and an outgroup: folded classes 0..4; 5 carriers fold to 4.
  std::vector<std::string> rows = Carriers(9, {1, 2, 5, 8});
  rows.emplace_back("AAAA");
  ScanFixture f(rows);
  f.Assign(10, kOutgroupKey);
  TDataSeq& second = f.AddDataset("six", Carriers(6, {3, 3}));
  ASSERT_TRUE(f.Scan(Options(0)));
  ASSERT_TRUE(UpdateMuts(second, Options(0), &f.proj, {0}, ScanChoices{}, &f.rng));
  const SpectrumSum one = SummedSpectrum(f.proj, {0}, true, kMutAll, kSiteAll, 0);
  EXPECT_EQ(one.counts, (std::vector<int>{0, 2, 1, 0, 1}));
  const SpectrumSum both = SummedSpectrum(f.proj, {0, 1}, true, kMutAll, kSiteAll, 0);
  EXPECT_EQ(both.counts, (std::vector<int>{0, 2, 1, 2, 1}));
  EXPECT_EQ(both.datasets, (std::vector<int>{2, 2, 2, 2, 1}));
}

TEST(SpectrumSums, UnfoldedShowsFixedDifferencesLast) {
  // Column 1 fixed in the ingroup against the outgroup, column 2 a singleton.
  ScanFixture f({"TC", "TA", "TA", "TA", "AA"});
  f.Assign(5, kOutgroupKey);
  ASSERT_TRUE(f.Scan(Options(0)));
  const DatasetSpectrum d = SpectrumOf(f.proj, *f.ds, f.Divergence(), false, kSiteAll, kMutAll);
  EXPECT_EQ(d.freq, (std::vector<int>{0, 1, 0, 0, 1}));
}

TEST(PairSpectrum2D, FoldedGroupsOfSixAndFour) {
  // A = s1..s6, B = s7..s10. Column 1: A 2, B 0; column 2: A 5 (folds to 1), B 1; column 3
  // varies in B only (3 carriers fold to 1).
  ScanFixture f({"TTA", "TTA", "ATA", "ATA", "ATA", "AAA", "ATT", "AAT", "AAT", "AAA"});
  const int a = f.AddGroup("A"), b = f.AddGroup("B");
  for (int r = 1; r <= 10; ++r) f.Assign(r, r <= 6 ? a : b);
  ASSERT_TRUE(f.Scan(Options(0), {a, b}));
  const int2Dmatrix m = PairSpectrum2D(f.proj, {0}, a, b, true, kSiteAll, kMutAll);
  ASSERT_EQ(m.rows, 4);
  ASSERT_EQ(m.cols, 3);
  EXPECT_EQ(m.Text("A", "B"),
            " ,0,1,2,B\r\n0,0,1,0,\r\n1,0,1,0,\r\n2,1,0,0,\r\n3,0,0,0,\r\nA\r\n"
            " Note: 1st column and row of the table are labels for freq classes.\r\n");
  // The neutrality run's summary pairs the same tables, though its reports scan one group's
  // tables at a time.
  const TestFolder dir("sfs_pair");
  const AnalysisOutput out = RunSpectra(f, dir);
  EXPECT_TRUE(Has(out.report, "Folded 2D-SFS for groups: A and B\r\n" + m.Text("A", "B")))
      << out.report;

  int2Dmatrix sum = m;
  int2Dmatrix bigger(5, 2);
  bigger.At(4, 1) = 7;
  sum.Add(bigger);
  EXPECT_EQ(sum.rows, 5);
  EXPECT_EQ(sum.cols, 3);
  EXPECT_EQ(sum.At(4, 1), 7);
  EXPECT_EQ(sum.At(1, 1), 1);
}

TEST(NeutralitySpectra, OneDatasetAgainstItsOwnSumAndTheFiles) {
  // Ten sequences: folded classes 1..5 hold 2, 1, 1, 1, 1 (7 and 9 carriers fold to 3, 1).
  ScanFixture f(Carriers(10, {1, 2, 3, 4, 5, 9}));
  f.ds->dsName = "L1";
  const TestFolder dir("sfs_one");
  const AnalysisOutput out = RunSpectra(f, dir, "At: test");
  ASSERT_TRUE(out.error.empty()) << out.error;
  EXPECT_TRUE(Has(out.report,
                  "Folded site frequency spectrum (SFS) for all sites: \r\n"
                  "Freq: 2 1 1 1 1\r\n Num: 1 2 3 4 5\r\n"))
      << out.report;
  EXPECT_TRUE(Has(out.report, "Mann-Witney U = 12.50000; P = ")) << out.report;
  EXPECT_TRUE(Has(out.report, "(N1=5 N2=5)\r\nG-test = 0.00000; P = 1.00000(df=4)\r\n"))
      << out.report;
  // The summary heads the report.
  EXPECT_EQ(out.report.rfind(std::string(56, '-') +
                                 "\r\nSite frequency spectrum accross all datasets in the project",
                             0),
            0u)
      << out.report;
  const std::string folded = TestFolder::Read(dir.File("SFS_folded.out"));
  EXPECT_EQ(folded.substr(0, folded.find("L1 MWU")),
            "Folded site frequency spectra in At: test\r\nAll mutations at all sites were used "
            "in the analysis.\r\nThe MWU and G-tests compare the SFS at each dataset to average "
            "SFS accross all datasets in the project.\r\n");
  EXPECT_TRUE(Has(folded, " G-test= 0.00000 P(G-test)= 1.00000 SFS_folded: 2 1 1 1 1 \r\n"))
      << folded;
  EXPECT_TRUE(Has(folded,
                  "SFS_accross_all_datasets MWU= NA P(MWU)= NA G-test= NA P(G-test)= "
                  "NA SFS_folded:  2 1 1 1 1\r\n"))
      << folded;
}

TEST(NeutralitySpectra, SmallSampleSaysTheTestIsNotValid) {
  ScanFixture f(Carriers(4, {1, 2}));
  const TestFolder dir("sfs_small");
  const AnalysisOutput out = RunSpectra(f, dir);
  EXPECT_TRUE(Has(out.report, "Mann-Witney U test is not valid")) << out.report;
  EXPECT_FALSE(Has(out.report, "Mann-Witney U = ")) << out.report;
  EXPECT_TRUE(Has(TestFolder::Read(dir.File("SFS_folded.out")), " MWU= NA P(MWU)= NA "));
}
