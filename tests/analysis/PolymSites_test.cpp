// SPDX-License-Identifier: GPL-3.0-or-later
// Polymorphic sites: spectrum text, folded spectrum in the report, the SNP and double lists.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "analysis/ScanFixture.h"
#include "analysis/ShowPolymSUnit.h"

namespace {

TEST(PolymSites, SpectrumTextAlignsEachClassToTheWiderNumber) {
  EXPECT_EQ(SpectrumText({0, 2, 1, 10}, 4), "Freq: 2 1 10\r\n Num: 1 2  3\r\n");
  EXPECT_EQ(SpectrumText({0, 0}, 1), "Freq:\r\n Num:\r\n");
  // Nine sequences fold into classes 1..4: 1+8, 2+7, 3+6, 4+5.
  EXPECT_EQ(FoldSpectrum({0, 1, 2, 3, 4, 5, 6, 7, 8, 0}, 9), (std::vector<int>{0, 9, 9, 9, 9}));
}

TEST(PolymSites, ReportSpectrumAndLists) {
  // Columns 2 and 3 are adjacent mutations; column 2 has 1 carrier, column 3 two, column 5 one.
  ScanFixture f({"AAAAA", "ACGAA", "AAGAT", "AAAAA"});
  f.ds->dsName = "L";
  InitAnalysisSelection(f.proj);
  PolymSitesOptions so;
  so.sfs = true;
  FrameOptions fo;
  fo.outputFolder = ::testing::TempDir();
  std::remove((fo.outputFolder + "/SNPlist.csv").c_str());
  const AnalysisOutput out = RunPolymSites(f.proj, fo, so, f.svc);
  ASSERT_TRUE(out.error.empty()) << out.error;
  // m = 4 sequences: folded classes 1 and 2; two singletons, one doubleton.
  EXPECT_NE(out.report.find("Folded site frequency spectrum (SFS) for all sites:\r\n"
                            "Freq: 2 1\r\n Num: 1 2\r\n"),
            std::string::npos);
  std::ifstream d(fo.outputFolder + "/DoubleMuts.csv", std::ios::binary);
  std::stringstream ds;
  ds << d.rdbuf();
  EXPECT_EQ(ds.str(), "L,2,AA,CG,AG,AA,\r\n");
  std::ifstream s(fo.outputFolder + "/SNPlist.csv", std::ios::binary);
  std::stringstream ss;
  ss << s.rdbuf();
  EXPECT_EQ(ss.str(), "L,2,AAA,ACG,AAG,AAA,\r\nL,3,AAA,CGA,AGA,AAA,\r\nL,5,AA-,AA-,AT-,AA-,\r\n");
  std::remove((fo.outputFolder + "/SNPlist.csv").c_str());
}

TEST(PolymSites, SpectraFoldAtTheIngroupAndLeaveUnorientedMutationsOut) {
  // Five sequences and an outgroup: singletons at columns 1 and 3, a doubleton at column 2
  // where the outgroup holds N.
  ScanFixture f({"AATA", "AATA", "CATA", "AGTA", "AGAA", "ANTA"});
  f.Assign(6, kOutgroupKey);
  InitAnalysisSelection(f.proj);
  PolymSitesOptions so;
  so.sfs = true;
  so.snpList = so.doubleMut = false;
  const AnalysisOutput out = RunPolymSites(f.proj, FrameOptions{}, so, f.svc);
  ASSERT_TRUE(out.error.empty()) << out.error;
  // Folded at n = 5: classes 1 and 2 (folding at the six sequences of the table's mask, the
  // outgroup included, printed a class 3 that five sequences cannot have).
  EXPECT_NE(out.report.find("Folded site frequency spectrum (SFS) for all sites:\r\n"
                            "Freq: 2 1\r\n Num: 1 2\r\n"),
            std::string::npos)
      << out.report;
  // Unfolded: the doubleton the outgroup cannot orient is left out and said so (it was counted
  // in class 2 before).
  EXPECT_NE(out.report.find("Unfolded SFS for all sites:\r\nFreq: 2 0 0 0 0\r\n Num: 1 2 3 4 5\r\n"
                            "Note that 1 mutation with ambig. outgroup information was excluded "
                            "from this SFS\r\n"),
            std::string::npos)
      << out.report;
}

}  // namespace
