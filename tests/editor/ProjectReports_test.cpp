// SPDX-License-Identifier: GPL-3.0-or-later
// The project reports, byte for byte against texts written by hand: datasets gene1 (s1 of A,
// s2 of Bob, s3 of no one) and locus22 (t1 and t2 of A, t3 of Carol).
#include <gtest/gtest.h>

#include "EditorCommandFixture.h"
#include "editor/ProjectReports.h"

namespace {

struct ReportFixture : CommandFixture {
  ReportFixture() {
    AddDataset("gene1", {{"s1", "ACGT"}, {"s2", "AC-T"}, {"s3", "ACG"}});
    AddDataset("locus22", {{"t1", "AAAAAA"}, {"t2", "AAAAAA"}, {"t3", "AAAAAA"}});
    std::vector<int> keys;
    for (const char* n : {"A", "Bob", "Carol"}) {
      TIndivid ind;
      ind.indName = n;
      keys.push_back(project.AddIndivid(ind));
    }
    Row(1, 0).individId = keys[0];
    Row(2, 0).individId = keys[1];
    Row(1, 1).individId = keys[0];
    Row(2, 1).individId = keys[0];
    Row(3, 1).individId = keys[2];
  }
};

}  // namespace

TEST(PadText, RightAlignsAndCuts) {
  EXPECT_EQ(PadText("ab", 4), "  ab");
  EXPECT_EQ(PadText("abcdef", 4), "abcd");
  EXPECT_EQ(PadText("ab", 0), "");
}

TEST(SequencesReport, MatchesTheHandWrittenText) {
  ReportFixture f;
  const std::string expected =
      "Sequence-Individual assignment report for project proj\r\n"
      "The project contains 6 sequences in 2 datasets.\r\n"
      "---------------------------\r\n"
      "Individ \\ gene report:\r\n"
      "         gene1  locus22\r\n"
      "    A        +       ++\r\n"
      "  Bob        +        -\r\n"
      "Carol        -        +\r\n"
      "---------------------------\r\n"
      "Individual sequence assignments:\r\n"
      "Dataset gene1:\r\n"
      "Se = Individ\r\n"
      "s1 = A\r\n"
      "s2 = Bob\r\n"
      "s3 is not assigned to individual\r\n"
      "\r\n"
      "Dataset locus22:\r\n"
      "Se = Individ\r\n"
      "t1 = A\r\n"
      "t2 = A\r\n"
      "t3 = Carol\r\n"
      "\r\n";
  EXPECT_EQ(SequencesReport(f.project, "proj"), expected);
  EXPECT_EQ(IndividualsPageReport(f.project, "proj"),
            expected + "All datasets:\r\ngene1; locus22\r\nAll individuals:\r\nA; Bob; Carol\r\n");
}

TEST(DatasetsReport, MatchesTheHandWrittenTextWithAndWithoutCounts) {
  ReportFixture f;
  // gene1: columns 3 (s2's gap) and 4 (s3 ends before it) hold '-'.
  EXPECT_EQ(DatasetsReport(f.project, "proj", true, f.svc.progress),
            "Datasets report for project proj\r\n\r\n"
            " Dataset:  SeqCount    Length  GapFreePos  PosWithGaps\r\n"
            "   gene1:         3         4           2            2\r\n"
            " locus22:         3         6           6            0\r\n"
            "   Total:         6        10           8            2\r\n\r\n"
            "The project contains 6 sequences in 2 datasets.\r\n");
  EXPECT_EQ(f.svc.progress.statuses.back(), "Processing dataset: locus22");
  EXPECT_EQ(DatasetsReport(f.project, "proj", false, f.svc.progress),
            "Datasets report for project proj\r\n\r\n"
            " Dataset:  SeqCount\r\n"
            "   gene1:         3\r\n"
            " locus22:         3\r\n"
            "   Total:         6\r\n\r\n"
            "The project contains 6 sequences in 2 datasets.\r\n");
}

TEST(IndividualsReport, GroupCommentAttributesAndSequencesPerDataset) {
  ReportFixture f;
  TGroup north;
  north.grpName = "north";
  f.project.AddGroup(north);
  f.project.SetIndividGroup("Bob", "north");
  f.project.IndividAt(1)->indComment = "tall";
  f.project.IndividAt(1)->attributes = {{"Habitat", "lake", 0, 0.0}};
  const std::string text = IndividualsReport(f.project, "proj");
  EXPECT_NE(text.find("Individual: Bob\r\nGroup: north\r\nComment: tall\r\nHabitat: lake\r\n"
                      "Sequences: gene1: 1; locus22: 0\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("Individual: A\r\nGroup: none\r\n"), std::string::npos);
}
