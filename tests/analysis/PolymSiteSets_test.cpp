// SPDX-License-Identifier: GPL-3.0-or-later
// Datasets of polymorphic sites, the SNP report and the project that carries the datasets to a
// new window.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "analysis/ScanFixture.h"
#include "analysis/ShowPolymSUnit.h"

namespace {

std::vector<int> Positions(const tmutholder& t) {
  std::vector<int> p;
  for (const tmutation& m : t.mutations) p.push_back(m.position);
  return p;
}

std::vector<std::string> RowLetters(const TDataSeq& ds) {
  std::vector<std::string> rows;
  for (int r = 1; r <= ds.Count(); ++r) rows.push_back(ds.SeqAt(r)->letters);
  return rows;
}

std::vector<std::string> RowNames(const TDataSeq& ds) {
  std::vector<std::string> rows;
  for (int r = 1; r <= ds.Count(); ++r) rows.push_back(ds.NameAt(r));
  return rows;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(PolymSiteSets, OneColumnPerDistinctPositionWithTheLettersOfEverySampleRow) {
  ScanFixture f({"AAAAAA", "ACAAAA", "AGAAAT", "AAAAT", "TTTTTT", "AGA", "AAAAAC"});
  f.Row(4).columnShift = 1;   // columns 2..6
  f.Row(5).enabled = false;   // outside every sample
  f.Assign(7, kOutgroupKey);  // in the sample; its letters are shown though not counted
  ASSERT_TRUE(f.Scan(Options(1)));
  // Three letters at column 2 make two mutations there; row 6 ends before column 6.
  ASSERT_EQ(Positions(f.Table()), (std::vector<int>{2, 2, 6}));

  const auto snp = PolymorphicSitesDataset(*f.ds, f.Table(), "L_SNPs", true);
  EXPECT_EQ(snp->dsName, "L_SNPs");
  EXPECT_EQ(RowNames(*snp), (std::vector<std::string>{"s1", "s2", "s3", "s4", "s6", "s7"}));
  EXPECT_EQ(RowLetters(*snp), (std::vector<std::string>{"AA", "CA", "GT", "AT", "G-", "AC"}));
  for (int r = 1; r <= snp->Count(); ++r) {
    const TSeq& s = *snp->SeqAt(r);
    EXPECT_EQ(s.seqType, kSeqSnp);
    EXPECT_EQ(s.columnShift, 0);
    EXPECT_EQ(s.polySitePos, (std::vector<std::int32_t>{2, 6}));
    EXPECT_EQ(s.peakPos, (std::vector<std::int32_t>{0, 0}));
    EXPECT_EQ(s.lettersLength, 2);
  }
  const TSeq& og = *snp->SeqAt(6);
  EXPECT_EQ(og.groupNum, kOutgroupKey);
  EXPECT_EQ(og.individId, f.Row(7).individId);
  EXPECT_GE(og.individId, 0);
  // The source is left as it was.
  EXPECT_EQ(f.ds->Count(), 7);
  EXPECT_EQ(f.Row(1).seqType, kSeqDna);

  // A table without mutations still gives one empty row per sample sequence.
  ScanFixture flat({"ACGT", "ACGT"});
  ASSERT_TRUE(flat.Scan(Options(0)));
  const auto none = PolymorphicSitesDataset(*flat.ds, flat.Table(), "F_SNPs", true);
  EXPECT_EQ(RowLetters(*none), (std::vector<std::string>{"", ""}));
}

TEST(PolymSiteSets, ClassCodesTellNoncodingSilentAndReplacementSites) {
  ScanFixture f({"CTTAAAC", "CTCAAAT", "CTTGAAC"});
  for (int r = 1; r <= 3; ++r) {
    TRegion g;
    g.regStart = 1;
    g.regEnd = 6;
    g.regType = kRegCds;
    g.codonPos = 1;
    f.Row(r).regions.push_back(g);
  }
  ASSERT_TRUE(f.Scan(Options(0)));
  // CTT/CTC is Leu either way, AAA/GAA Lys/Glu, column 7 lies outside the CDS.
  ASSERT_EQ(Positions(f.Table()), (std::vector<int>{3, 4, 7}));
  const auto coded = PolymorphicSitesDataset(*f.ds, f.Table(), "c", true);
  EXPECT_EQ(coded->SeqAt(1)->peakPos, (std::vector<std::int32_t>{-2, -3, 0}));
  EXPECT_EQ(RowLetters(*coded), (std::vector<std::string>{"TAC", "CAT", "TGC"}));
  const auto plain = PolymorphicSitesDataset(*f.ds, f.Table(), "d", false);
  EXPECT_TRUE(plain->SeqAt(1)->peakPos.empty());
  EXPECT_EQ(plain->SeqAt(1)->polySitePos, (std::vector<std::int32_t>{3, 4, 7}));
}

TEST(PolymSiteSets, SnpDatasetSourcesAreReadAtTheColumnsOfTheirStoredPositions) {
  // Rows of a SNP dataset store sites 100, 250 and 900 in columns 1..3; the scan reports the
  // stored positions, the letters still come from the columns.
  ScanFixture f({"ACG", "ATG", "GCG"});
  for (int r = 1; r <= 3; ++r) {
    f.Row(r).seqType = kSeqSnp;
    f.Row(r).polySitePos = {100, 250, 900};
  }
  ASSERT_TRUE(f.Scan(Options(0)));
  ASSERT_EQ(Positions(f.Table()), (std::vector<int>{100, 250}));
  const auto snp = PolymorphicSitesDataset(*f.ds, f.Table(), "s", true);
  EXPECT_EQ(RowLetters(*snp), (std::vector<std::string>{"AC", "AT", "GC"}));
  EXPECT_EQ(snp->SeqAt(2)->polySitePos, (std::vector<std::int32_t>{100, 250}));
}

struct GroupRun {
  ScanFixture f{{"ACGTACGT", "ACGTACTT", "ACCTACGT", "ACGTACNT", "ACGAACGT", "TCGTACGA"}};
  int north = 0, northA = 0, south = 0;
  PolymSitesOptions so;
  FrameOptions fo;
  GroupRun() {
    f.ds->dsName = "L";
    north = f.AddGroup("north");
    northA = f.AddGroup("north_a");
    south = f.AddGroup("south");
    EXPECT_TRUE(f.proj.SetGroupParent("north_a", "north"));
    f.Assign(1, north);
    f.Assign(2, north);
    f.Assign(3, northA);  // a member of north through its subgroup
    f.Assign(4, south);
    f.Assign(5, south);
    f.Assign(6, kOutgroupKey);
    InitAnalysisSelection(f.proj);
    fo.outputFolder = ::testing::TempDir();
    so.snpReport = true;
    so.snpReportFile = ::testing::TempDir() + "/SNPreport_groups.csv";
    std::remove(so.snpReportFile.c_str());
    fo.ambiguityRemoved = true;  // row 4's N takes column 7 out of the whole-dataset table
  }
  ~GroupRun() { std::remove(so.snpReportFile.c_str()); }
};

TEST(PolymSiteSets, GroupRunBuildsADatasetPerGroupAndTheSnpReport) {
  GroupRun g;
  g.fo.ogDiv = true;
  const AnalysisOutput out = RunPolymSites(g.f.proj, g.fo, g.so, g.f.svc);
  ASSERT_TRUE(out.error.empty()) << out.error;

  ASSERT_EQ(out.newDatasets.size(), 4u);
  const TDataSeq& whole = *out.newDatasets[0];
  const TDataSeq& north = *out.newDatasets[1];
  const TDataSeq& northA = *out.newDatasets[2];
  const TDataSeq& south = *out.newDatasets[3];
  EXPECT_EQ(whole.dsName, "L_SNPs");
  EXPECT_EQ(north.dsName, "L_north_SNPs");
  EXPECT_EQ(northA.dsName, "L_north_a_SNPs");
  EXPECT_EQ(south.dsName, "L_south_SNPs");
  EXPECT_EQ(whole.SeqAt(1)->polySitePos, (std::vector<std::int32_t>{3, 4}));
  // north holds rows 1 and 2, row 3 through its subgroup, and the outgroup; the subgroup's row
  // gets every column like the others.
  EXPECT_EQ(RowNames(north), (std::vector<std::string>{"s1", "s2", "s3", "s6"}));
  EXPECT_EQ(RowLetters(north), (std::vector<std::string>{"GG", "GT", "CG", "GG"}));
  EXPECT_EQ(north.SeqAt(3)->groupNum, g.northA);
  EXPECT_EQ(north.SeqAt(3)->polySitePos, (std::vector<std::int32_t>{3, 7}));
  EXPECT_EQ(RowNames(northA), (std::vector<std::string>{"s3", "s6"}));
  EXPECT_EQ(RowLetters(northA), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(RowLetters(south), (std::vector<std::string>{"T", "A", "T"}));

  // The divergence datasets add the columns fixed against the outgroup, without class codes.
  ASSERT_EQ(out.newDivergenceDatasets.size(), 4u);
  const TDataSeq& northDiv = *out.newDivergenceDatasets[1];
  EXPECT_EQ(northDiv.dsName, "L_north_SNPs_OGdiv");
  EXPECT_EQ(northDiv.SeqAt(1)->polySitePos, (std::vector<std::int32_t>{1, 3, 7, 8}));
  EXPECT_EQ(RowLetters(northDiv), (std::vector<std::string>{"AGGT", "AGTT", "ACGT", "TGGA"}));
  EXPECT_TRUE(northDiv.SeqAt(1)->peakPos.empty());
  EXPECT_EQ(out.newDivergenceDatasets[0]->dsName, "L_SNPs_OGdiv");

  // One header per group; north's column 7 is missing from the whole-dataset table.
  const std::string h = std::string(kSnpReportHeader) + "\r\n";
  EXPECT_EQ(ReadFile(g.so.snpReportFile), h +
                                              "L,,3,3,1,1,G,C,AC[G/C]TACGT\r\n"
                                              "L,,4,4,1,1,T,A,ACG[T/A]ACGT\r\n" +
                                              h +
                                              "L,north,3,3,1,1,G,C,AC[G/C]TACGT\r\n"
                                              "L,north,7,7,1,NA,G,T,ACGTAC[G/T]T\r\n" +
                                              h + h + "L,south,4,4,1,1,T,A,ACG[T/A]ACGT\r\n");
}

TEST(PolymSiteSets, WithoutOutgroupDivergenceNoDivergenceDatasetsAndTheReportAppends) {
  GroupRun g;
  { std::ofstream(g.so.snpReportFile, std::ios::binary) << "earlier\r\n"; }
  g.so.snpReport = true;
  const AnalysisOutput out = RunPolymSites(g.f.proj, g.fo, g.so, g.f.svc);
  ASSERT_TRUE(out.error.empty()) << out.error;
  EXPECT_EQ(out.newDatasets.size(), 4u);
  EXPECT_TRUE(out.newDivergenceDatasets.empty());
  EXPECT_EQ(ReadFile(g.so.snpReportFile).rfind("earlier\r\n" + std::string(kSnpReportHeader), 0),
            0u);
}

TEST(PolymSiteSets, SnpReportFlanksAreTheFirstSequencesLettersWithoutGaps) {
  // The first sequence starts at column 4 and has gaps before and after the site; the others
  // carry C at the site.
  std::string first = "AC-" + std::string(220, 'A') + "G" + "-" + std::string(210, 'T');
  std::string other = "AAA" + first;
  other[3 + 223] = 'C';
  ScanFixture f({first, other, other});
  f.Row(1).columnShift = 3;
  f.ds->dsName = "F";
  ASSERT_TRUE(f.Scan(Options(0)));
  ASSERT_EQ(Positions(f.Table()), (std::vector<int>{227}));
  // 227 - shift 3 - one gap before the site; up to 201 letters before it and 200 after.
  EXPECT_EQ(
      SnpReportLines(*f.ds, "", f.Table(), nullptr),
      "F,,227,223,1,1,C,G," + std::string(201, 'A') + "[C/G]" + std::string(200, 'T') + "\r\n");
  // Near the start of the first sequence fewer letters are there to show.
  ScanFixture s({"AGT", "ACT", "ACT"});
  ASSERT_TRUE(s.Scan(Options(0)));
  const std::string line = SnpReportLines(*s.ds, "g", s.Table(), &s.Table());
  EXPECT_EQ(line.substr(line.rfind(',') + 1), "A[C/G]T\r\n");
}

TEST(PolymSiteSets, ProjectForANewWindowKeepsTheKeysTheRowsReferTo) {
  GroupRun g;
  AnalysisOutput out = RunPolymSites(g.f.proj, g.fo, g.so, g.f.svc);
  ASSERT_EQ(out.newDatasets.size(), 4u);
  auto p = ProjectForDatasets(g.f.proj, std::move(out.newDatasets));
  ASSERT_EQ(p->DatasetCount(), 4);
  EXPECT_EQ(p->CurrentIndex(), 3);
  EXPECT_EQ(p->CurrentDatasetName(), "L_south_SNPs");
  EXPECT_EQ(p->GroupCount(), g.f.proj.GroupCount());
  EXPECT_EQ(p->GroupKeyByName("north_a"), g.northA);
  EXPECT_EQ(p->IndividCount(), g.f.proj.IndividCount());
  const TDataSeq& north = *p->DatasetAt(1);
  EXPECT_EQ(north.project, p.get());
  // Row 3 of north still belongs to north through its individual and the subgroup.
  EXPECT_TRUE(p->IsInGroup(north, north.SeqAt(3)->seqId, true, g.north));
  EXPECT_TRUE(p->IsOutgroup(north, 4));
}

}  // namespace
