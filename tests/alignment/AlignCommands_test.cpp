// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "alignment/AlignCommands.h"
#include "alignment/AlignerStandIn.h"
#include "editor/EditorCommandFixture.h"

namespace {

const std::string K = "ACGTTGCAAGCTTACGGATC";

struct AlignFixture : CommandFixture {
  explicit AlignFixture(const std::string& mode = "") : standIn(mode) {}
  StandInScope standIn;
  AlignSetup setup{StandInAligner(), standIn.Folder().Path()};
};

}  // namespace

TEST(AlignSequences, WithoutSelectionAsksForTheWholeDatasetAndStartsFromTheReads) {
  AlignFixture f;
  const std::string b = "TGCAC" + K.substr(5);
  f.AddDataset("locus 1", {{"a", "GG-C" + K}, {"b", "--" + b}});
  f.Row(2).columnShift = 5;
  f.Answer({false});
  EXPECT_FALSE(AlignSequences(f.ctx, f.setup));
  EXPECT_EQ(f.Questions().back(), "No selected sequences found. Align the entire dataset locus 1?");
  EXPECT_TRUE(f.standIn.Runs().empty());
  f.Answer({true});
  EXPECT_TRUE(AlignSequences(f.ctx, f.setup));
  // The aligner gets the letters without gaps and its answer (the stand-in's: no gaps but the
  // padding after b) decides the columns.
  EXPECT_EQ(f.standIn.Inputs(), (std::vector<std::string>{"GGC" + K, b}));
  EXPECT_EQ(RowLetters(f.Ds()), (std::vector<std::string>{"GGC" + K, b}));
  EXPECT_EQ(RowShifts(f.Ds()), (std::vector<int>{0, 0}));
  EXPECT_TRUE(f.ctx.modified);
  EXPECT_TRUE(f.Ds().Undo());
  EXPECT_EQ(RowLetters(f.Ds()), (std::vector<std::string>{"GG-C" + K, "--" + b}));
  EXPECT_EQ(RowShifts(f.Ds()), (std::vector<int>{0, 5}));
}

TEST(AlignSequences, BlocksAreAlignedApartAndLaidBackAtTheirStarts) {
  AlignFixture f("shift");
  f.AddDataset("d", {{"a", "TTTTACGTACGT"}, {"b", "CCACG-GTAC"}, {"c", "GGGG"}});
  f.Row(1).selStart = 5;  // ACGTACGT, in column 5
  f.Row(1).selLength = 8;
  f.Row(2).selStart = 3;  // ACG-GTAC, in column 5 too
  f.Row(2).selLength = 8;
  f.Row(2).columnShift = 2;
  EXPECT_TRUE(AlignSequences(f.ctx, f.setup));
  // The blocks go without gaps; the stand-in puts a gap before the first and pads the second:
  // "-ACGTACGT" and "ACGGTAC--". The first block's leading gap becomes a column of shift, the
  // second's trailing run is left out, and b's old gap is gone.
  EXPECT_EQ(f.standIn.Inputs(), (std::vector<std::string>{"ACGTACGT", "ACGGTAC"}));
  EXPECT_EQ(RowLetters(f.Ds()), (std::vector<std::string>{"TTTTACGTACGT", "CCACGGTAC", "GGGG"}));
  EXPECT_EQ(RowShifts(f.Ds()), (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(f.Row(2).selLength, 7);
}

TEST(AlignSelectedDatasets, AlignsEachSelectedDatasetAndWritesItsCopy) {
  AlignFixture f;
  f.AddDataset("one", {{"a", "GGC" + K}, {"b", K}});
  f.AddDataset("two/x", {{"a", "TT" + K}, {"b", K}});
  f.AddDataset("three", {{"a", "TT" + K}, {"b", K}});
  f.Ds(2).dsSelected = false;
  f.Answer({true});
  EXPECT_TRUE(AlignSelectedDatasets(f.ctx, f.setup));
  EXPECT_EQ(f.Questions().front(),
            "Align 2 selected datasets in the project?\r\nPress NO to align just the current "
            "dataset");
  EXPECT_EQ(f.Notices().back(), "Alignment finished");
  EXPECT_EQ(RowShifts(f.Ds(0)), (std::vector<int>{0, 3}));
  EXPECT_EQ(RowShifts(f.Ds(1)), (std::vector<int>{0, 2}));
  EXPECT_EQ(RowShifts(f.Ds(2)), (std::vector<int>{0, 0}));
  EXPECT_EQ(TestFolder::Read(f.standIn.Folder().File("aln_one.fasta")),
            ">a\r\nGGC" + K + "\r\n>b\r\n---" + K + "\r\n");
  EXPECT_FALSE(TestFolder::Read(f.standIn.Folder().File("aln_two_x.fasta")).empty());
  EXPECT_TRUE(TestFolder::Read(f.standIn.Folder().File("aln_three.fasta")).empty());
}

TEST(AlignDatasetsFromCurrent, StopsAtACancelBetweenDatasets) {
  AlignFixture f;
  f.AddDataset("one", {{"a", "GGC" + K}, {"b", K}});
  f.AddDataset("two", {{"a", "TT" + K}, {"b", K}});
  f.AddDataset("three", {{"a", "TT" + K}, {"b", K}});
  f.project.SetCurrent(1);
  f.svc.progress.cancelAfterSteps = 1;  // Escape while the first dataset's status shows
  f.Answer({true, true});
  EXPECT_TRUE(AlignDatasetsFromCurrent(f.ctx, f.setup));
  EXPECT_EQ(f.Questions(), (std::vector<std::string>{"Align 2 datasets?", "Cancel alignment?"}));
  EXPECT_EQ(f.Notices(), std::vector<std::string>{"Alignment cancelled"});
  EXPECT_EQ(RowShifts(f.Ds(1)), (std::vector<int>{0, 2}));
  EXPECT_EQ(RowShifts(f.Ds(2)), (std::vector<int>{0, 0}));
}

TEST(RealignPolymorphicDatasets, TakesDatasetsAboveTheDifferencesPerHundredBases) {
  AlignFixture f;
  // 1 variable column of 20 (5 per 100) and 4 of 20 (20 per 100); N is no variant.
  f.AddDataset("low", {{"a", K}, {"b", "C" + K.substr(1, 18) + "N"}});
  f.AddDataset("high", {{"a", K}, {"b", "CATG" + K.substr(4)}});
  f.Answer({true});
  EXPECT_TRUE(RealignPolymorphicDatasets(f.ctx, f.setup, 5));
  EXPECT_EQ(f.Questions().front(), "Align ALL datasets with 5 or more polymorphism per 100 bases?");
  EXPECT_EQ(f.Notices().back(), "Aligned 1 datasets");
  EXPECT_EQ(f.standIn.Runs().size(), 1u);
  EXPECT_FALSE(TestFolder::Read(f.standIn.Folder().File("aln_high.fasta")).empty());
}
