// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis frame running DNA polymorphism: report text, statistics table, output files,
// sliding windows and cancel, on a project worked by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "analysis/DNApolDbox.h"
#include "analysis/ScanFixture.h"

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Sliding windows of the given size and step written to a fresh file.
FrameOptions WindowsToFile(int size, int step, const std::string& file) {
  std::remove(file.c_str());
  FrameOptions fo;
  fo.doSW = true;
  fo.swSize = size;
  fo.swStep = step;
  fo.sw2file = true;
  fo.swfile = file;
  return fo;
}

// s1..s6 as in the estimator tests (Pi = 25/15, theta = 1.31387, 5 haplotypes), pop1 = s1..s3,
// pop2 = s4..s6, s7 an outgroup equal to s1.
struct PolymProject : ScanFixture {
  int pop1 = 0, pop2 = 0;
  PolymProject()
      : ScanFixture({"AAAAAAAAAA", "AAAAAAAAAA", "TAAAAAAAAA", "TAAAACAAAA", "TAAAACAAAG",
                     "AAAAAAAAAG", "AAAAAAAAAA"}) {
    proj.projName = "Proj";
    ds->dsName = "Locus";
    pop1 = AddGroup("pop1");
    pop2 = AddGroup("pop2");
    for (int r = 1; r <= 3; ++r) Assign(r, pop1);
    for (int r = 4; r <= 6; ++r) Assign(r, pop2);
    Assign(7, kOutgroupKey);
    InitAnalysisSelection(proj);
  }
  AnalysisOutput Run(const FrameOptions& fo, const DNApolymOptions& po = {}) {
    return RunDNApolym(proj, fo, po, svc);
  }
};

TEST(DNApolym, WholeDatasetAndGroupReport) {
  PolymProject p;
  FrameOptions fo;
  fo.ogDiv = true;
  const AnalysisOutput out = p.Run(fo);
  EXPECT_TRUE(out.error.empty());
  EXPECT_EQ(out.reportCaption, "Polymorphism report");
  const std::string& r = out.report;
  EXPECT_EQ(r.rfind("Data project: Proj\r\nThis project contains 1 dataset\r\n"
                    "Datasets to analyse: 1\r\nThe project contains 2 populations\r\n"
                    "Populations to analyse: 2\r\n\r\n"
                    "Indel regions are excluded from analysis.\r\n"
                    "Sites: all (coding + noncoding)\r\nMutations: all\r\n\r\n",
                    0),
            0u);
  EXPECT_TRUE(Has(r, "Data set: Locus\r\n\r\nEntire length of the dataset analysed\r\n"));
  EXPECT_TRUE(Has(r,
                  "Group: All sequences from Locus\r\n\r\nNumber of sequences: 7\r\n"
                  "s1; s2; s3; s4; s5; s6; \r\ns7; \r\n"));
  EXPECT_TRUE(Has(r, "Of these 1 is an outgroup (excluded from polymorphism analysis): \r\ns7; "));
  EXPECT_TRUE(Has(r, "Number of positions analysed: 10\r\n"));
  // Haplotype counts 2, 1, 1, 1, 1 (Nei 1987, eq. 8.4 and 8.12): Hd = 6/5 (1 - 8/36) = 42/45,
  // V = 2/30 (8 (1/18 - 4/81) + 2/9 - 4/81) = 2/135.
  EXPECT_TRUE(
      Has(r, "Number of haplotypes: 5\r\nHaplotype diversity, Hd: 0.93333, SD: 0.12172\r\n\r\n"));
  EXPECT_TRUE(Has(r, "Number of sites segregating in the population: 3\r\n"));
  // Pi = 1.66667, SD = sqrt(Var) with Var from theta = 1.3138686 and n = 6: 1.09021.
  EXPECT_TRUE(Has(r,
                  "Nucleotide diversity (Pi):  all mutations at all sites\r\n"
                  "Per sequence: 1.66667  SD: 1.09021\r\n"
                  "Per nucleotide: 0.16667  SD: 0.10902\r\n"));
  // SD without recombination sqrt((a^2 S + b S^2) / (a^2 (a^2 + b))) = 0.90977, with free
  // recombination sqrt(S) / a = 0.75856.
  EXPECT_TRUE(Has(r,
                  "Watterson Theta: all mutations in all sites\r\n"
                  "Per sequence: 1.31387  SD(no recomb.): 0.90977  SD(recomb.): 0.75856\r\n"
                  "Per nucleotide: 0.13139  SD(no recomb.): 0.09098  SD(recomb.): 0.07586\r\n"));
  // pop1 = s1..s3 with the outgroup: one singleton, Pi = 2/3, theta = 1/1.5.
  EXPECT_TRUE(Has(r, "Groups to analyse: 2\r\n"));
  EXPECT_TRUE(Has(r, "Group: pop1\r\n\r\nNumber of sequences: 4\r\ns1; s2; s3; s7; \r\n"));
  EXPECT_TRUE(Has(r, "Per sequence: 0.66667  SD: 0.83148\r\n"));
  // Haplotypes 2 and 1 of three: Hd = 3/2 (1 - 5/9) = 2/3, V = 1/3 (2 (1/3 - 25/81) + 20/81).
  EXPECT_TRUE(Has(r, "Haplotype diversity, Hd: 0.66667, SD: 0.31427\r\n"));
  // Seven Pi and seven theta blocks per group with "All" sites (the classes without sites
  // print nothing); noncoding sites here are all ten positions.
  EXPECT_TRUE(Has(r, "Nucleotide diversity (Pi):  all mutations at noncoding regions\r\n"));
  EXPECT_FALSE(Has(r, "at  1st codon positions"));
  EXPECT_TRUE(Has(r, "Analyses including outgroup s7\r\n"));
  // The table row of the dataset; coding classes without sites are -1.
  ASSERT_GE(out.table.size(), 2u);
  const auto& head = out.table[0];
  const auto& row = out.table[1];
  EXPECT_EQ(row[0], "Locus");
  auto cell = [&](const std::string& name) {
    for (std::size_t c = 0; c < head.size(); ++c)
      if (head[c] == name) return row[c];
    return std::string("missing");
  };
  EXPECT_EQ(cell("SeqNumber"), "6");
  EXPECT_EQ(cell("Segreg.Sites"), "3");
  EXPECT_EQ(cell("Hd"), "0.933");
  EXPECT_EQ(cell("SD(Hd)"), "0.122");
  EXPECT_EQ(cell("Pi_per_seq all mutations at all sites"), "1.667");
  EXPECT_EQ(cell("Pi_per_seq all mutations at  1st codon positions"), "-1.000");
  EXPECT_EQ(cell("Theta_per_seq. @ all sites"), "1.314");
  // Statistics tables are cleared after the run.
  EXPECT_TRUE(p.ds->resultValues.empty());
  // The tables were scanned one at a time: the dataset's and pop1's gave way to pop2's.
  ASSERT_EQ(p.ds->mutHolders.size(), 3u);
  ASSERT_EQ(p.ds->groupMutHolders.size(), 3u);
  EXPECT_EQ(p.ds->mutHolders[0]->sampleMask.Size(), 0);
  EXPECT_EQ(p.ds->mutHolders[1]->sampleMask.Size(), 0);
  EXPECT_EQ(p.ds->groupMutHolders[1]->sampleMask.Size(), 0);
  EXPECT_EQ(p.ds->mutHolders[2]->sampleMask.Size(), 7);
}

TEST(DNApolym, SlidingWindowsSeriesAndFile) {
  // A window of size w covers exactly w columns; only whole windows are made. (Windows of
  // size + 1 columns, 1..11 to 81..91, were made before, and neighbours at step = size shared
  // a column.)
  const std::vector<WindowSpan> w = SlidingWindows(1, 100, 10, 10);
  ASSERT_EQ(w.size(), 10u);
  for (std::size_t k = 0; k < w.size(); ++k) {
    EXPECT_EQ(w[k].start, 1 + 10 * static_cast<int>(k));
    EXPECT_EQ(w[k].end, 10 + 10 * static_cast<int>(k));
  }
  EXPECT_TRUE(SlidingWindows(1, 100, 0, 10).empty());
  EXPECT_TRUE(SlidingWindows(1, 9, 10, 10).empty());
  EXPECT_EQ(SlidingWindows(1, 1'000'000'000, 1'000'000, 1'000'000).size(), 1000u);

  PolymProject p;
  const std::string file = ::testing::TempDir() + "polym_sw.csv";
  const FrameOptions fo = WindowsToFile(4, 3, file);
  DNApolymOptions po;
  po.swPi = po.swTheta = po.swS = true;
  const AnalysisOutput out = p.Run(fo, po);
  ASSERT_TRUE(out.error.empty()) << out.error;
  EXPECT_TRUE(Has(out.report, "Sliding window is calculated for window size: 4, increment: 3"));
  // 1..10 with size 4, step 3: windows 1..4, 4..7 and 7..10.
  ASSERT_EQ(out.series.size(), 3u);
  EXPECT_TRUE(out.showPlot);
  EXPECT_EQ(out.plotCaption, "Sliding window analysis results");
  EXPECT_EQ(out.series[0].name, "Pi_in_Locus");
  EXPECT_EQ(out.series[1].name, "Theta_in_Locus");
  EXPECT_EQ(out.series[2].name, "Pol.Sites_in_Locus");
  ASSERT_EQ(out.series[0].points.size(), 3u);
  // Window 1..4 holds site 1 (3 carriers of 6): Pi = 9/15 per sequence, / 4 per site; x = 2.5
  // rounds to 2.
  EXPECT_DOUBLE_EQ(out.series[0].points[0].x, 2);
  EXPECT_NEAR(out.series[0].points[0].y, 0.6 / 4, 1e-12);
  // Window 4..7 holds site 6: one segregating site; x = 5.5 rounds to 6.
  EXPECT_DOUBLE_EQ(out.series[2].points[1].x, 6);
  EXPECT_DOUBLE_EQ(out.series[2].points[1].y, 1);
  const std::string text = Slurp(file);
  EXPECT_TRUE(Has(text, "Locus,1,4,SegrS=,1,Pi=,0.1500,SD=,"));
  EXPECT_TRUE(Has(text, "Locus,4,7,SegrS=,1Segr_sites:,   1\r\n"));
  EXPECT_TRUE(Has(text, "Locus,7,10,SegrS=,1,Theta=,0.1095,SD=,"));
  EXPECT_EQ(out.notices.back(), "Sliding window output was saved to file " + file);
}

TEST(DNApolym, WindowsDivideByTheirAnalysedSitesAndSkipWindowsWithoutAny) {
  // Columns 3 and 4 hold a gap and are not analysed; T at column 2 in s2, C at 7 in s3.
  ScanFixture f({"AAAAAAAA", "AT--AAAA", "AAAAAACA"});
  f.ds->dsName = "L";
  InitAnalysisSelection(f.proj);
  const std::string file = ::testing::TempDir() + "polym_sw_sites.csv";
  const FrameOptions fo = WindowsToFile(2, 1, file);
  DNApolymOptions po;
  po.swPi = po.swHd = true;
  const AnalysisOutput out = RunDNApolym(f.proj, fo, po, f.svc);
  ASSERT_TRUE(out.error.empty()) << out.error;
  ASSERT_EQ(out.series.size(), 2u);
  // Seven windows; 3..4 has no analysed site and is left out rather than drawn as 0.
  const std::vector<TSerPoint>& pi = out.series[0].points;
  ASSERT_EQ(pi.size(), 6u);
  // Pi = 2/3 per sequence in 1..2 (two sites) and in 2..3 (only column 2 analysed).
  EXPECT_NEAR(pi[0].y, 2.0 / 3 / 2, 1e-12);
  EXPECT_NEAR(pi[1].y, 2.0 / 3 / 1, 1e-12);
  EXPECT_NEAR(pi[2].y, 0, 1e-12);  // 4..5: column 5 alone
  EXPECT_EQ(out.series[1].name, "Hd_in_L");
  // Hd in 1..2: haplotypes 2 and 1 of three, Hd = 2/3, SD = sqrt(8/81) (Nei 1987).
  EXPECT_NEAR(out.series[1].points[0].y, 2.0 / 3, 1e-12);
  EXPECT_NEAR(out.series[1].points[0].yMax, 2.0 / 3 + std::sqrt(8.0 / 81), 1e-12);
  const std::string text = Slurp(file);
  EXPECT_TRUE(Has(text, "L,1,2,SegrS=,1,Hd=,0.6667,SD=,0.31427\r\n"));
  EXPECT_FALSE(Has(text, "L,3,4,"));
}

TEST(DNApolym, TableFilesAndUnwritableOutput) {
  PolymProject p;
  const std::string dir = ::testing::TempDir();
  FrameOptions fo;
  fo.tableToFile = true;
  fo.tableFileName = dir + "polym_table.csv";
  fo.popOut = true;
  fo.fileOutput = true;
  fo.outFname = dir + "polym_report.txt";
  DNApolymOptions po;
  po.varPi = po.varTheta = false;
  const AnalysisOutput out = p.Run(fo, po);
  ASSERT_TRUE(out.error.empty()) << out.error;
  EXPECT_EQ(Slurp(fo.outFname), out.report);
  const std::string table = Slurp(fo.tableFileName);
  EXPECT_EQ(table.rfind("Datasets,SeqNumber,PosAnalysed,NonCodPos,Codons,", 0), 0u);
  EXPECT_TRUE(Has(table, "\r\nLocus,6,10,10,0,0.00000,"));
  const std::string groups = Slurp(dir + "polym_table_groups.csv");
  EXPECT_TRUE(Has(groups, "\r\nLocus_@_pop1,3,"));
  EXPECT_TRUE(Has(groups, "\r\nLocus_@_pop2,3,"));
  EXPECT_EQ(GroupsTableFileName("a/b.c/out.csv"), "a/b.c/out_groups.csv");
  EXPECT_EQ(GroupsTableFileName("a.b/out"), "a.b/out_groups");

  FrameOptions bad;
  bad.fileOutput = true;
  bad.outFname = dir + "no_such_folder/x/report.txt";
  const AnalysisOutput failed = p.Run(bad);
  EXPECT_FALSE(failed.error.empty());
  // The notice naming the file still comes, as the run's files are closed on every path.
  EXPECT_EQ(failed.notices.front(), "Textual output was saved to file " + bad.outFname);
}

TEST(DNApolym, CancelStopsAfterTheWholeDataset) {
  PolymProject p;
  p.svc.progress.cancelAfterSteps = 0;
  p.svc.progress.StepProgress(true);
  ASSERT_TRUE(p.svc.progress.cancelRequested());
  const AnalysisOutput out = p.Run(FrameOptions{});
  EXPECT_TRUE(out.cancelled);
  EXPECT_TRUE(Has(out.report, "Calculation was stopped by user \r\n\r\n"));
  EXPECT_FALSE(Has(out.report, "Group: pop1"));
}

TEST(DNApolym, SingleSequenceGroupStopsAfterItsList) {
  PolymProject p;
  const int lone = p.AddGroup("lone");
  p.Assign(6, lone);
  p.ds->SeqAt(7)->enabled = false;  // no outgroup in the group's mask
  const AnalysisOutput out = p.Run(FrameOptions{});
  const auto at = out.report.find("Group: lone");
  ASSERT_NE(at, std::string::npos);
  const std::string tail = out.report.substr(at);
  EXPECT_EQ(tail.find("Number of sequences: 1\r\ns6; \r\n"), 15u);
  EXPECT_FALSE(Has(tail, "Sites analysed"));
  EXPECT_FALSE(Has(tail, "Nucleotide diversity"));
}

}  // namespace
