// SPDX-License-Identifier: GPL-3.0-or-later
// The population-genetics writers on one small hand-made project. Golden files in
// tests/data/golden/popgen were checked by hand against each program's documented input; the
// statistics they carry are worked out in tests/data/golden/popgen/README.md.
#include <gtest/gtest.h>

#include <cstdlib>

#include "IoTestFiles.h"
#include "io/PopGenFormats.h"
#include "io/SaveCommand.h"
#include "model/DataProjUnit.h"
#include "support/RecordingServices.h"

namespace {

// Two groups (Pop1: individual I1 with s1 and s2; Pop2: I3 with s3 and s4), the outgroup O, a
// CDS over columns 1..9 of locA, the numeric attribute Altitude and in locA column 11 with
// three letters.
struct SmallProject {
  RecordingServices svc;
  TDataProj proj{svc};
  SmallProject() {
    TGroup p1, p2;
    p1.grpName = "Pop1";
    p2.grpName = "Pop2";
    const int k1 = proj.AddGroup(p1), k2 = proj.AddGroup(p2);
    const int i1 = Individ("I1", k1, "100"), i3 = Individ("I3", k2, "350");
    const int o = Individ("O", kOutgroupKey, "40");
    Dataset("locA", {{"s1", "ATGCCCTAAGAT", i1},
                     {"s2", "ATGCCGTAAGAT", i1},
                     {"s3", "ATGCCCTAAGCT", i3},
                     {"s4", "ATGCCGTAAGGT", i3},
                     {"out", "ATGCCCTAAGAC", o}});
    TDataSeq& a = *proj.DatasetAt(0);
    for (int r = 1; r <= a.Count(); ++r) {
      TRegion cds;
      cds.regStart = 1;
      cds.regEnd = 9;
      cds.regType = kRegCds;
      a.SeqAt(r)->AddRegion(cds);
    }
    Dataset("locB", {{"s1", "ACGTTA", i1},
                     {"s2", "ACGTTA", i1},
                     {"s3", "ACCTTA", i3},
                     {"s4", "ACGTAA", i3},
                     {"out", "TCGTTA", o}});
    proj.projName = "small";
    proj.SetCurrent(0);
  }
  int Individ(const std::string& name, int group, const std::string& altitude) {
    TIndivid ind;
    ind.indName = name;
    ind.indGroup = group;
    ind.attributes.push_back({"Altitude", altitude, 0, std::stod(altitude)});
    return proj.AddIndivid(ind);
  }
  struct Row {
    std::string name, letters;
    int individ;
  };
  void Dataset(const std::string& name, const std::vector<Row>& rows) {
    proj.NewDataset();
    proj.RenameDataset(proj.CurrentIndex(), name);
    TDataSeq& ds = *proj.CurrentDataset();
    for (const Row& r : rows) {
      auto seq = std::make_unique<TSeq>(r.name, r.letters);
      seq->individId = r.individ;
      (void)ds.AddSeq(seq, false);
    }
  }
  TDataSeq& A() { return *proj.DatasetAt(0); }
};

std::string GoldenPath(const std::string& name) {
  return std::string(NODRIX_TEST_DATA) + "/golden/popgen/" + name;
}

// NODRIX_WRITE_GOLDEN=1 writes the files for checking by hand instead of comparing.
void ExpectGolden(const std::string& text, const std::string& name) {
  if (std::getenv("NODRIX_WRITE_GOLDEN") != nullptr) {
    std::ofstream(GoldenPath(name), std::ios::binary) << text;
    return;
  }
  EXPECT_EQ(text, TestFolder::Read(GoldenPath(name))) << name;
}

}  // namespace

TEST(PopGenWriters, SiteTablesOfOneDatasetMatchTheirGoldenFiles) {
  SmallProject p;
  ExpectGolden(MsStyleText(p.A(), true, 4711), "locA.ms");
  ExpectGolden(SweepFinderText(p.A()), "locA.sf");
  std::string refusal;
  ExpectGolden(FastPhaseInputText(p.A(), refusal), "locA.inp");
  EXPECT_TRUE(refusal.empty());
  // Without the header only the sites; without analysed sites nothing.
  EXPECT_TRUE(MsStyleText(p.A(), false, 1)
                  .starts_with(
                      "\r\n//\r\nsegsites: 3\r\npositions: 0.50000000 0.91666667 0.91666667 \r\n"));
  TDataSeq empty(p.svc);
  EXPECT_TRUE(MsStyleText(empty, true, 1).empty());
}

TEST(PopGenWriters, ProjectExportsMatchTheirGoldenFiles) {
  SmallProject p;
  ExpectGolden(ArlequinText(p.proj, 0), "small.arp");
  ExpectGolden(BayeScanText(p.proj, p.svc), "small_bayescan.txt");
  ExpectGolden(MlHkaText(p.proj, p.svc), "small_mlhka.txt");
  const auto hka = HkaFiles("/x/small.hka", p.proj, {true, true}, p.svc, 1);
  ASSERT_EQ(hka.size(), 1u);
  EXPECT_EQ(hka[0].path, "/x/small.hka");
  ExpectGolden(hka[0].text, "small.hka");
  const auto im = ImFiles("/x/small.im", p.proj, p.svc, 1);
  ASSERT_EQ(im.size(), 1u);
  ExpectGolden(im[0].text, "small.im");
  const StructureFiles st = StructureText("/x/small.txt", p.proj, 1);
  ASSERT_EQ(st.files.size(), 3u);
  ExpectGolden(st.files[0].text, "small_structure.txt");
  ExpectGolden(st.files[1].text, "small_structure.spj");
  // "extraparams" lies beside the data file and the notice names it so.
  EXPECT_EQ(st.files[2].path, "/x/extraparams");
  EXPECT_NE(st.notice.find("3)extraparams with extra parameters."), std::string::npos);
  EXPECT_NE(st.notice.find("structure.exe -m small.spj -e extraparams"), std::string::npos);
}

namespace {

// Rows "name:letters:group" into a new dataset; each row its own individual of that group
// ("-" none, "O" outgroup), made on first use.
void AddRows(TDataProj& proj, const std::string& dsName, const std::vector<std::string>& rows) {
  proj.NewDataset();
  proj.RenameDataset(proj.CurrentIndex(), dsName);
  TDataSeq& ds = *proj.CurrentDataset();
  for (const std::string& row : rows) {
    const auto c1 = row.find(':'), c2 = row.rfind(':');
    const std::string name = row.substr(0, c1), group = row.substr(c2 + 1);
    auto seq = std::make_unique<TSeq>(name, row.substr(c1 + 1, c2 - c1 - 1));
    int key = proj.IndividKeyByName(name);
    if (key < 0) {
      TIndivid ind;
      ind.indName = name;
      ind.indGroup = group == "O" ? kOutgroupKey : group == "-" ? -1 : proj.GroupKeyByName(group);
      if (group != "O" && group != "-" && ind.indGroup < 0) {
        TGroup g;
        g.grpName = group;
        ind.indGroup = proj.AddGroup(g);
      }
      key = proj.AddIndivid(ind);
    }
    seq->individId = key;
    (void)ds.AddSeq(seq, false);
  }
}

}  // namespace

TEST(PopGenWriters, GroupPairFilesNameTheirPairsAndCountTheLociTheyHold) {
  RecordingServices svc;
  TDataProj proj(svc);
  AddRows(proj, "L1",
          {"a1:ACGT:A", "a2:ACGA:A", "b1:ACGT:B", "b2:TCGT:B", "c1:ACTT:C", "c2:ACGT:C"});
  // Only group A has two sequences here: L2 is usable for the pairs with A alone.
  AddRows(proj, "L2", {"a1:GGTT:A", "a2:GGTA:A", "b1:GGTT:B"});
  const auto files = HkaFiles("/d/base.hka", proj, {}, svc, 1);
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0].path, "/d/base_A_B.hka");
  EXPECT_EQ(files[1].path, "/d/base_A_C.hka");
  EXPECT_EQ(files[2].path, "/d/base_B_C.hka");
  // The second line is the number of loci the file holds.
  EXPECT_TRUE(files[0].text.starts_with(
      "Input file for J.Hey's HKA prog was generated by Nodrix3\r\n2\r\nA B\r\n"));
  EXPECT_TRUE(files[2].text.starts_with(
      "Input file for J.Hey's HKA prog was generated by Nodrix3\r\n1\r\nB C\r\nL1 "));

  TestFolder dir("pairs");
  svc.messages.notices.clear();
  ASSERT_EQ(RunSaveCommand(proj, 17, dir.File("base.hka"), svc).written.size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(dir.File("base_B_C.hka")));
  EXPECT_EQ(svc.messages.notices,
            (std::vector<std::string>{"There are more than two groups in the project. A file "
                                      "will be saved for each of the group pairs."}));
  EXPECT_EQ(svc.messages.questions,
            (std::vector<std::string>{"Include Tajima's D values (optional)?",
                                      "Include Fu and Li's D values (optional)?"}));
}

// Tajima (1989) for n = 4, S = 2, pi = 8 / 6: D = (1.3333 - 1.0909) / sqrt(e1 S + e2 S (S - 1))
// = 1.8931 with e1 = 0.0055096, e2 = 0.0026915; two sequences leave D undefined.
TEST(PopGenWriters, HkaCarriesTajimasDOfEachGroup) {
  RecordingServices svc;
  TDataProj proj(svc);
  AddRows(proj, "L",
          {"a1:AAAA:A", "a2:AAAT:A", "a3:ACAA:A", "a4:ACAT:A", "b1:AAAA:B", "b2:AAAA:B"});
  const auto files = HkaFiles("/d/t.hka", proj, {true, false}, svc, 1);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_NE(files[0].text.find("\r\nL 1 4 4 4 4 2 2 0 1.0000 1.8931 Err\r\n"), std::string::npos)
      << files[0].text;
}

TEST(PopGenWriters, WithoutGroupsOutgroupsMakeThePairAndImCutsLongNames) {
  RecordingServices svc;
  TDataProj proj(svc);
  std::vector<std::string> rows;
  for (int r = 1; r <= 11; ++r) rows.push_back("i" + std::to_string(r) + ":ACGTA:-");
  rows.push_back("abcdefghijkl:ACGTT:O");
  AddRows(proj, "L", rows);
  const auto hka = HkaFiles("/d/p.hka", proj, {}, svc, 1);
  ASSERT_EQ(hka.size(), 1u);
  EXPECT_NE(hka[0].text.find("\r\nAllButOgrp Outgrp\r\n"), std::string::npos);
  const auto im = ImFiles("/d/p.im", proj, svc, 1);
  ASSERT_EQ(im.size(), 1u);
  EXPECT_EQ(im[0].path, "/d/p.im");
  EXPECT_NE(im[0].text.find("\r\nAllButOgrp Outgrp\r\n1\r\nL 11 1 5 I 1 "), std::string::npos);
  EXPECT_NE(im[0].text.find("\r\ni1        ACGTA\r\n"), std::string::npos);
  EXPECT_NE(im[0].text.find("\r\nabcdefg~12ACGTT\r\n"), std::string::npos);
}

TEST(PopGenWriters, ArlequinGroupsSamplesByTheirParents) {
  RecordingServices svc;
  TDataProj proj(svc);
  proj.projName = "P";
  AddRows(proj, "L", {"a:ACGT:A", "b:ACGA:B", "c:ACGA:C"});
  TGroup north;
  north.grpName = "North";
  (void)proj.AddGroup(north);
  ASSERT_TRUE(proj.SetGroupParent("A", "North"));
  ASSERT_TRUE(proj.SetGroupParent("B", "North"));
  const std::string arp = ArlequinText(proj, 0);
  EXPECT_NE(arp.find("     NbSamples=3\r\n"), std::string::npos);
  EXPECT_NE(
      arp.find("     [[Structure]]\r\n     StructureName=\"Population_grouping_in_project_P\"\r\n"
               "     NbGroups=2\r\n     Group={\r\n\t\t\t\"A\"\r\n\t\t\t\"B\"\r\n     }\r\n"
               "     Group={\r\n\t\t\t\"C\"\r\n     }\r\n"),
      std::string::npos)
      << arp;
}

TEST(PopGenWriters, ArlequinWithoutGroupsAndRefusals) {
  RecordingServices svc;
  TDataProj proj(svc);
  AddRows(proj, "L", {"a:ACGT:-", "b:ACGA:-", "c:ACGA:-"});
  const std::string arp = ArlequinText(proj, 0);
  EXPECT_NE(arp.find("     NbSamples=1\r\n"), std::string::npos);
  EXPECT_NE(arp.find("     SampleName=\"All_seq_in_L\"\r\n     SampleSize= 3\r\n"),
            std::string::npos);
  EXPECT_EQ(arp.find("[[Mantel]]"), std::string::npos);
  EXPECT_TRUE(ArlequinText(proj, 1).empty());
  // Three ingroup rows cannot be read as pairs of haplotypes.
  std::string refusal;
  EXPECT_TRUE(FastPhaseInputText(*proj.DatasetAt(0), refusal).empty());
  EXPECT_NE(refusal.find("odd number of ingroup sequences (3)"), std::string::npos);
  // BayeScan without groups: the header and the notice only.
  EXPECT_EQ(BayeScanText(proj, svc), "[loci]=1\r\n\r\n[populations]=0\r\n\r\n");
  EXPECT_EQ(svc.messages.notices.back(),
            "Populations [groupings] have to be assigned to output data for BayeScan");
}
