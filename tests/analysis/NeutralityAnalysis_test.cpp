// SPDX-License-Identifier: GPL-3.0-or-later
// Neutrality tests and LD through the analysis frame on a small project: report lines,
// statistics table, window profiles and the pairwise LD file.
#include "analysis/NeutralityAnalysis.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

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

// Sample s1..s6 (s7, the outgroup, equals s1): T at column 1 in s3, s4, s5; C at 6 in s4, s5;
// G at 10 in s5, s6. S = 3, Pi = 25/15; pop1 = s1..s3 holds one singleton.
struct NeutralityProject : ScanFixture {
  int pop1 = 0;
  NeutralityProject()
      : ScanFixture({"AAAAAAAAAA", "AAAAAAAAAA", "TAAAAAAAAA", "TAAAACAAAA", "TAAAACAAAG",
                     "AAAAAAAAAG", "AAAAAAAAAA"}) {
    ds->dsName = "Locus";
    pop1 = AddGroup("pop1");
    for (int r = 1; r <= 3; ++r) Assign(r, pop1);
    Assign(7, kOutgroupKey);
    InitAnalysisSelection(proj);
  }
};

TEST(RunNeutrality, GroupReportsAndStatisticsTable) {
  NeutralityProject p;
  FrameOptions fo;
  fo.tableToWin = true;
  NeutralityRunOptions no;
  no.tests.kellyZnS = true;
  const AnalysisOutput out = RunNeutrality(p.proj, fo, no, p.svc);
  ASSERT_TRUE(out.error.empty()) << out.error;
  EXPECT_EQ(out.reportCaption, "Neutrality tests report");
  // Tajima (1989) with n = 6, S = 3, Pi = 25/15 in exact fractions: 1.3861.
  EXPECT_TRUE(Has(out.report, "Neutrality tests & stats:\r\nTajima D = 1.3861\r\n")) << out.report;
  // pop1: n = 3 and one segregating site give c1 = 0, a zero variance.
  EXPECT_TRUE(Has(out.report, "Tajima D = Error\r\n")) << out.report;
  ASSERT_FALSE(out.table.empty());
  bool column = false;
  for (const std::string& c : out.table[0]) column = column || c == "Tajima_D";
  EXPECT_TRUE(column);
}

TEST(RunNeutrality, TajimaAndZnSProfiles) {
  NeutralityProject p;
  const std::string file = ::testing::TempDir() + "neutrality_sw.csv";
  std::remove(file.c_str());
  FrameOptions fo;
  fo.doSW = true;
  fo.swSize = 4;
  fo.swStep = 3;
  fo.sw2file = true;
  fo.swfile = file;
  NeutralityRunOptions no;
  no.swTajimaD = no.swZnS = true;
  const AnalysisOutput out = RunNeutrality(p.proj, fo, no, p.svc);
  ASSERT_TRUE(out.error.empty()) << out.error;
  EXPECT_TRUE(Has(out.report,
                  "Sliding window for TajimaD is calculated for the entire data set\r\n"
                  "Sliding window size: 4, increment: 3\r\n"));
  ASSERT_EQ(out.series.size(), 2u);
  EXPECT_EQ(out.series[0].name, "TajD_in_Locus");
  EXPECT_EQ(out.series[1].name, "ZnS_in_Locus");
  EXPECT_EQ(out.plotCaption, "Sliding window analysis for TajimaD");
  // Windows of four columns, 1..4, 4..7 and 7..10 (they spanned five before), each hold one
  // site: no ZnS, Tajima's D from S = 1.
  const std::string text = Slurp(file);
  EXPECT_TRUE(Has(text, "Locus,1,4,SegrS=,1,ZnS:,NA\r\n")) << text;
  EXPECT_TRUE(Has(text, "Locus,4,7,SegrS=,1,TajimaD:,")) << text;
  EXPECT_TRUE(Has(text, "Locus,7,10,SegrS=,1,TajimaD:,")) << text;
}

TEST(RunLD, PairwiseFileSummaryAndNotice) {
  NeutralityProject p;
  const std::string file = ::testing::TempDir() + "ld_pairs.csv";
  std::remove(file.c_str());
  FrameOptions fo = LDFrameDefaults();
  LDRunOptions lo;
  lo.mode = LDPairMode::All;
  lo.pairFile = file;
  lo.fileNotice = true;
  const AnalysisOutput out = RunLD(p.proj, fo, lo, p.svc);
  ASSERT_TRUE(out.error.empty()) << out.error;
  EXPECT_TRUE(Has(out.report, "LD summary stats:\r\n")) << out.report;
  EXPECT_EQ(out.reportCaption, "LD report");
  EXPECT_EQ(out.notices.back(), "Pairwise LD values were saved to file " + file);
  const std::string text = Slurp(file);
  // Columns 1 and 6 in s1..s6: pA 1/2, pB 1/3, pAB 1/3: D = 1/6 = Dmax, R = (1/6) / sqrt(1/18),
  // chi-square = 6 R^2 = 3.
  EXPECT_TRUE(
      Has(text, "Dataset,SNP1 position,SNP2 position, SNP1 freq, SNP2 freq,D,Dprim,R,chi^2\r\n"));
  EXPECT_TRUE(Has(text, "Locus, 1, 6, 3, 2, 0.1667, 1.0000, 0.7071, 3.0000\r\n")) << text;
}

}  // namespace
