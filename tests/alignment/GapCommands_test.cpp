// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "alignment/AlignCommands.h"
#include "editor/EditorCommandFixture.h"
#include "editor/ReadLetters.h"
#include "io/IoTestFiles.h"

namespace {

const std::string kCore = "ACGTTGCAAGCTTACGGATCCGATTACAGG";

}  // namespace

TEST(CopyGapColumns, PutsTheSourcesGapsInTheSameColumns) {
  TSeq source("s", "AC--GT-A");
  TSeq same("t", "A-CGTA");
  CopyGapColumns(same, source);
  EXPECT_EQ(same.letters, "AC--GT-A");
  TSeq later("u", "CGTA");  // starts in column 2; the run after its end is left out
  later.columnShift = 1;
  source.letters = "AC--GT-A--";
  CopyGapColumns(later, source);
  EXPECT_EQ(later.letters, "C--GT-A");
}

TEST(CopyGapsFromCurrent, CopiesGapsOrShiftAcrossDatasetsThroughTheIndividual) {
  CommandFixture f;
  TIndivid one, two;
  one.indName = "one";
  two.indName = "two";
  const int k1 = f.project.AddIndivid(one), k2 = f.project.AddIndivid(two);
  TDataSeq& d1 = f.AddDataset("d1", {});
  AddRow(d1, "a1", "AC-GT", 0, k1);
  AddRow(d1, "b1", "ACGT", 0, k2);
  AddRow(d1, "c1", "ACGT");
  TDataSeq& d2 = f.AddDataset("d2", {});
  AddRow(d2, "b2", "TTGGCC", 0, k2);
  AddRow(d2, "a2", "TT--GGCC", 0, k1);
  f.project.SetCurrent(0);
  d1.SetCursor(1, 1);
  d1.Select(2);
  f.Answer({true});
  EXPECT_TRUE(CopyGapsFromCurrent(f.ctx, false));
  EXPECT_NE(f.Questions().back().find("copy from seq@individ one;"), std::string::npos);
  EXPECT_EQ(RowLetters(d1), (std::vector<std::string>{"AC-GT", "AC-GT", "ACGT"}));
  EXPECT_EQ(RowLetters(d2), (std::vector<std::string>{"TT--GGCC", "TT--GGCC"}));

  // The shift, in the current dataset only, to every other row after the question.
  d1.Unselect(-1);
  d1.SeqAt(1)->columnShift = 2;
  f.Answer({true, false});
  EXPECT_TRUE(CopyGapsFromCurrent(f.ctx, true));
  EXPECT_EQ(f.Questions()[f.Questions().size() - 2],
            "No sequences selected. Copy to all seq in the dataset?");
  EXPECT_EQ(RowShifts(d1), (std::vector<int>{2, 2, 2}));
  EXPECT_EQ(RowShifts(d2), (std::vector<int>{0, 0}));
  EXPECT_TRUE(d1.Undo());
  EXPECT_EQ(RowShifts(d1), (std::vector<int>{2, 0, 0}));
}

TEST(CopyGapsFromFile, MatchesRowsBySeqIdThenByRowNumber) {
  CommandFixture f;
  const TestFolder dir("copy_gaps_file");
  TDataSeq& ds = f.AddDataset("d", {{"a", "ACGT"}, {"b", "GGTT"}});
  // Rows 1 and 2 of the file carry ids 1 and 2: the dataset's rows with those ids.
  const std::string byId = dir.Write("byid.fasta", ">x\nA-CGT\n>y\nGG--TT\n");
  EXPECT_EQ(CopyGapsFromFile(f.ctx, byId, 0), 2);
  EXPECT_EQ(RowLetters(ds), (std::vector<std::string>{"A-CGT", "GG--TT"}));

  // No row with the file's ids: the file's names number the rows.
  TDataSeq& other = f.AddDataset("e", {});
  for (const auto& [name, letters, id] : std::vector<std::tuple<std::string, std::string, int>>{
           {"a", "ACGT", 11}, {"b", "GGTT", 12}}) {
    auto s = MakeSeq(name, letters);
    s->seqId = id;
    ASSERT_GT(other.AddSeq(s, true), 0);
  }
  const std::string byNumber = dir.Write("bynumber.fasta", ">2\nGGT-T\n>1\nAC-GT\n>9\nACGT\n");
  EXPECT_EQ(CopyGapsFromFile(f.ctx, byNumber, 0), 2);
  EXPECT_EQ(RowLetters(other), (std::vector<std::string>{"AC-GT", "GGT-T"}));

  EXPECT_EQ(CopyGapsFromFile(f.ctx, dir.File("missing.fasta"), 0), -1);
  EXPECT_EQ(f.Notices().back(), "Error: cannot open file " + dir.File("missing.fasta"));
  f.ctx.locked = true;
  EXPECT_EQ(CopyGapsFromFile(f.ctx, byId, 0), 0);
}

TEST(ExtendFromSequence, GrowsBothEndsOnEitherStrandAndNothingAtTheEnds) {
  const std::string file = "GGGGAAAA" + kCore + "TTTTCCCA";
  for (const std::string& f : {file, ReverseComplement(file)}) {
    TSeq row("r", "-" + kCore);
    row.columnShift = 2;
    EXPECT_EQ(ExtendFromSequence(row, f), 16) << f;
    EXPECT_EQ(row.letters, "-GGGGAAAA" + kCore + "TTTTCCCA");
    EXPECT_EQ(row.columnShift, -6);  // the old letters keep their columns
  }
  // q of 1 and -1 (the file starts where the row does) and 0 (not found) add nothing.
  for (const std::string& f : {file, ReverseComplement(file), std::string("ACGTACGTACGT")}) {
    TSeq row("r", file);
    EXPECT_EQ(ExtendFromSequence(row, f), 0);
    EXPECT_EQ(row.letters, file);
  }
}

TEST(ExtendFromFile, ExtendsNamedRowsOfEveryDatasetAndNormalisesTheShifts) {
  CommandFixture f;
  const TestFolder dir("extend_file");
  const std::string path = dir.Write("long.fasta", ">r extra words\nGGGG" + kCore + "TT\n");
  TDataSeq& d1 = f.AddDataset("d1", {{"r", kCore}, {"s", "ACGT"}});
  TDataSeq& d2 = f.AddDataset("d2", {{"R", ReverseComplement(kCore)}});
  EXPECT_EQ(ExtendFromFile(f.ctx, path), 2);
  EXPECT_EQ(RowLetters(d1), (std::vector<std::string>{"GGGG" + kCore + "TT", "ACGT"}));
  EXPECT_EQ(RowShifts(d1), (std::vector<int>{0, 4}));
  EXPECT_EQ(RowLetters(d2), (std::vector<std::string>{"AA" + ReverseComplement(kCore) + "CCCC"}));
  EXPECT_TRUE(d1.Undo());
  EXPECT_EQ(RowLetters(d1), (std::vector<std::string>{kCore, "ACGT"}));
}
