// SPDX-License-Identifier: GPL-3.0-or-later
// The region, coding-region and SNP reports, byte for byte against texts written by hand.
#include <gtest/gtest.h>

#include <sstream>

#include "EditorCommandFixture.h"
#include "editor/RegionReports.h"
#include "io/IoTestFiles.h"

namespace {

TRegion Named(TRegion r, const std::string& name, const std::string& comment, int value,
              bool reverse) {
  r.regName = name;
  r.regComment = comment;
  r.regValue = value;
  r.regReverse = reverse;
  return r;
}

std::string Snps(const TDataProj& p, int& count) {
  std::ostringstream out;
  count = WriteSnpReport(p, out);
  return out.str();
}

}  // namespace

TEST(FunctionalRegionsText, ListsEveryRegionWithAnEmptyValueBelowOne) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("d1", {{"s1", "ACGTACGTAC"}, {"bare", "ACGT"}});
  ds.SeqAt(1)->AddRegion(Named(MakeRegion(2, 7, kRegCds, 1), "c1", "cm", 0, false));
  ds.SeqAt(1)->AddRegion(Named(MakeRegion(8, 9, kRegGene), "g", "x y", 3, true));
  EXPECT_EQ(FunctionalRegionsText(f.project),
            "d1,s1,CDS,c1,2,7,F,,cm\r\n"
            "d1,s1,Gene,g,8,9,R,3,x y\r\n");
}

TEST(CodingRegionsReport, TabulatesRegionsAndListsStopsAtAlignmentPositions) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("ds", {{"s1", "ATGTAAATGTGA"}, {"none", "AC"}});
  ds.SeqAt(1)->columnShift = 2;
  ds.SeqAt(1)->AddRegion(Named(MakeRegion(1, 12, kRegCds, 1), "c", "", 0, false));
  ds.SeqAt(1)->AddRegion(Named(MakeRegion(4, 6, kRegGene), "g", "", 0, false));
  const CodingRegionsTexts t = CodingRegionsReport(f.project, "proj", f.svc.progress);
  // Names shorter than 14 are padded to 14; TAA at 4 and TGA at 10 are columns 6 and 12.
  EXPECT_EQ(t.table,
            "Coding regions report for project proj\r\n\r\n"
            "Dataset name   Sequence name  Seq_len    #Func-regs #Genes     #CDSs      CDS_length "
            "StopCodons  \r\n"
            "ds             s1             12         2          1          1          12         "
            "2         \r\n"
            "ds             none           2          0          0          0          0          "
            "0         \r\n");
  EXPECT_EQ(t.stops,
            "Stop codons report for project proj\r\n"
            "Positions below correspond to pos in the ALIGNMENT. This may differ from the pos in "
            "individual seq as diff seq can start at diff positions in the alignment.proj\r\n"
            "Dataset_name,Seq_name,CDSindex,CDSname,CDSstart,CDSend,CDSorientation,NumberOfStops,"
            "PositionsOfStopCodons:\r\n"
            "ds,s1,1,c,3,14,F,2,6,12,\r\n");
  EXPECT_EQ(f.svc.progress.steps, 2);

  f.project.RenameDataset(0, std::string(40, 'L'));
  const std::string wide = CodingRegionsReport(f.project, "proj", f.svc.progress).table;
  EXPECT_NE(wide.find("\r\n" + std::string(30, 'L') + " s1 "), std::string::npos);
  EXPECT_NE(wide.find("Dataset name" + std::string(19, ' ') + "Sequence name"), std::string::npos);
}

TEST(WriteSnpReport, ReportsGapFreeVariableColumnsWithTheFirstSequencesFlanks) {
  CommandFixture f;
  f.AddDataset("d", {{"r1", "AA--ACGTAA"}, {"r2", "AA---CGTAA"}, {"r3", "AG--GCGTAG"},
                     {"r4", "AR--ACGTAA"}});
  f.AddDataset("single", {{"x", "ACGT"}});
  // Its first sequence starts at column 3: the flanks are its own letters around the site.
  f.AddDataset("e", {{"r1", "ACGTA"}, {"r2", "TTACGTC"}});
  f.Ds(2).SeqAt(1)->columnShift = 2;
  int count = 0;
  EXPECT_EQ(Snps(f.project, count),
            "DataSetName,SNPposInAlignment(withGaps),SNPposInSeq1(noGaps),minSNPfreq,indel?,"
            "difnucl,col,Seq1_around_the_SNP\r\n"
            "d,2,2,1,N,AG,AAGR,A[A/G]ACGTAA\r\n"
            "d,10,8,1,N,AG,AAGA,AAACGTA[A/G]\r\n"
            "e,7,5,1,N,AC,AC,ACGT[A/C]\r\n");
  EXPECT_EQ(count, 3);
}

TEST(RegionReportCommands, WriteIntoTheFolderAndNeverClaimAFailedFile) {
  CommandFixture f;
  f.AddDataset("d", {{"a", "AC"}, {"b", "AG"}});
  const TestFolder dir("region_reports");
  ASSERT_TRUE(SnpReportCommand(f.project, dir.Path(), f.svc));
  const std::string path = dir.File("SNPreport.csv");
  EXPECT_EQ(f.Notices().back(), "Saved 1 SNPs into file " + path);
  EXPECT_NE(TestFolder::Read(path).find("d,2,2,1,N,CG,CG,A[C/G]"), std::string::npos);

  // The file exists now (the polymorphic sites dialog appends to one of this name): No keeps it.
  f.AddDataset("more", {{"a", "AC"}, {"b", "TC"}});
  f.Answer({false});
  EXPECT_FALSE(SnpReportCommand(f.project, dir.Path(), f.svc));
  EXPECT_EQ(f.Questions().back(), "File " + path + " already exists. Replace it?");
  EXPECT_EQ(TestFolder::Read(path).find("more"), std::string::npos);
  f.Answer({true});
  EXPECT_TRUE(SnpReportCommand(f.project, dir.Path(), f.svc));
  EXPECT_NE(TestFolder::Read(path).find("more,1,1,1,N,AT,AT,[A/T]C"), std::string::npos);

  std::string table;
  ASSERT_TRUE(CodingRegionsCommand(f.project, "p", dir.Path(), f.svc, table));
  EXPECT_EQ(TestFolder::Read(dir.File("CDS_Report.txt")), table);
  EXPECT_EQ(f.Notices().back(),
            "Coding regions report was saved to file: " + dir.File("CDS_Report.txt") +
                "\r\nPositions of stop codons were saved to file: " +
                dir.File("CDS_Report_stopCodons.csv"));

  const std::size_t notices = f.Notices().size();
  const std::string missing = dir.File("no_such_folder");
  EXPECT_FALSE(FunctionalRegionsCommand(f.project, missing, f.svc));
  ASSERT_EQ(f.Notices().size(), notices + 1);
  EXPECT_EQ(f.Notices().back(), "Cannot write the file " + missing + "/Func-regions.csv");
}
