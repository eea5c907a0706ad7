// SPDX-License-Identifier: GPL-3.0-or-later
// Sequence menu commands on small datasets; shifts and orders worked out by hand.
#include "editor/SequenceCommands.h"

#include <gtest/gtest.h>

#include "EditorCommandFixture.h"

TEST(SeqTypeCommand, YesSetsEverySequenceNoOnlyTheCurrentRow) {
  CommandFixture f;
  f.AddDataset("D1", {{"a", "A"}, {"b", "C"}});
  f.AddDataset("D2", {{"c", "G"}, {"d", "T"}});
  f.Ds().SetCursor(1, 2);
  ASSERT_TRUE(SetSequenceType(f.ctx, kSeqProtein1));
  EXPECT_EQ(f.Questions().back(),
            "Set type of all seq in the project to protein? Press No to change only current "
            "sequence.");
  EXPECT_EQ(f.Row(2, 1).seqType, kSeqProtein1);
  EXPECT_EQ(f.Row(1, 1).seqType, kSeqDna);
  f.Answer({true});
  ASSERT_TRUE(SetSequenceType(f.ctx, kSeqSnp));
  EXPECT_EQ(f.Questions().back(),
            "Set type of all seq in the project to SNPs? Press No to change only current "
            "sequence.");
  for (int i : {0, 1})
    for (int r : {1, 2}) EXPECT_EQ(f.Row(r, i).seqType, kSeqSnp);
  EXPECT_FALSE(SetSequenceType(f.ctx, kSeqRflp));  // no such menu item
}

TEST(StrandCommands, SelectedRowsChangeAndUndoRestores) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "AACG"}, {"b", "ttgc"}});
  ds.Select(2);
  ASSERT_TRUE(ReverseComplementSequences(f.ctx));
  EXPECT_EQ(RowLetters(ds), (std::vector<std::string>{"AACG", "gcaa"}));
  ASSERT_TRUE(UpperCaseSequences(f.ctx));
  EXPECT_EQ(f.Row(2).letters, "GCAA");
  ASSERT_TRUE(UndoLastEdit(f.ctx));
  EXPECT_EQ(f.Row(2).letters, "gcaa");
  ds.Unselect(-1);
  ASSERT_TRUE(ReverseSequences(f.ctx));
  ASSERT_TRUE(ComplementSequences(f.ctx));
  ASSERT_TRUE(LowerCaseSequences(f.ctx));
  EXPECT_EQ(f.Row(1).letters, "cgtt");
  f.ctx.locked = true;
  EXPECT_FALSE(ReverseSequences(f.ctx));
  EXPECT_EQ(f.Row(1).letters, "cgtt");
}

TEST(StrandCommands, ReverseComplementAlignmentKeepsColumnsTogether) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "ACGTAA"}, {"b", "GT"}, {"c", "CCC"}});
  f.Row(2).columnShift = 2;  // columns 3..4 of a 6-column alignment
  f.Row(3).columnShift = 3;  // columns 4..6
  ASSERT_TRUE(ReverseComplementAlignment(f.ctx));
  EXPECT_EQ(RowLetters(ds), (std::vector<std::string>{"TTACGT", "AC", "GGG"}));
  EXPECT_EQ(RowShifts(ds), (std::vector<int>{0, 2, 0}));
  // Column 3 held G over G (row c did not reach it); turned, column 4 holds C over C.
  EXPECT_EQ(ds.ColumnLetters(4, 0), "CC-");
}

TEST(HideShowCommands, ToggleSelectedEnabledRowsOrTheCurrentRow) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "A"}, {"b", "A"}, {"c", "A"}});
  ds.SetCursor(1, 3);
  ASSERT_TRUE(ToggleHideSequences(f.ctx));
  EXPECT_FALSE(f.Row(3).enabled);
  ds.Select(1);
  ds.Select(2);
  ASSERT_TRUE(ToggleHideSequences(f.ctx));
  EXPECT_FALSE(f.Row(1).enabled);
  EXPECT_FALSE(f.Row(2).enabled);
  EXPECT_FALSE(f.Row(3).enabled);
  ASSERT_TRUE(ShowAllSequences(f.ctx));
  EXPECT_TRUE(f.Row(1).enabled && f.Row(2).enabled && f.Row(3).enabled);
  EXPECT_TRUE(f.ctx.modified);
}

TEST(ShiftCommands, BeginningEndAndCursor) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "ACGTACGTAC"}, {"b", "ACG"}, {"c", "ACGT"}});
  f.Row(2).columnShift = 2;
  f.Row(3).columnShift = 1;
  ds.Select(2);
  ds.Select(3);
  ASSERT_TRUE(ShiftToEnd(f.ctx));  // furthest end: row c at column 5; alignment end 10
  EXPECT_EQ(RowShifts(ds), (std::vector<int>{0, 7, 6}));
  EXPECT_FALSE(ShiftToEnd(f.ctx));  // nothing moves: no snapshot either
  ASSERT_TRUE(ShiftToBeginning(f.ctx));
  EXPECT_EQ(RowShifts(ds), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(ds.cursorPos, 1);
  f.Row(3).columnShift = 2;
  ds.SetCursor(5, 1);  // column 5 of row a; leftmost selected row (b) starts at column 1
  ASSERT_TRUE(ShiftToCursor(f.ctx));
  EXPECT_EQ(RowShifts(ds), (std::vector<int>{0, 4, 6}));
  ds.Unselect(-1);
  ds.SetCursor(3, 2);
  ASSERT_TRUE(ShiftToCursor(f.ctx));  // without selection: the current row by cursor - 1
  EXPECT_EQ(RowShifts(ds), (std::vector<int>{0, 6, 6}));
  ASSERT_TRUE(UndoLastEdit(f.ctx));
  EXPECT_EQ(RowShifts(ds), (std::vector<int>{0, 4, 6}));
  f.ctx.locked = true;
  EXPECT_FALSE(ShiftToBeginning(f.ctx));
}

TEST(ShiftCommands, TopAndBottomKeepTheOrderOfTheMovedRows) {
  CommandFixture f;
  f.AddDataset("D1", {{"a", "A"}, {"b", "A"}, {"c", "A"}, {"d", "A"}});
  TDataSeq& ds = f.AddDataset("D2", {{"p", "A"}, {"q", "A"}, {"r", "A"}, {"s", "A"}});
  f.Row(2, 0).selected = true;
  f.Row(4, 0).selected = true;
  ds.Select(2);
  ds.Select(4);
  ASSERT_TRUE(ShiftToTop(f.ctx));  // No: the current dataset only
  EXPECT_EQ(f.Questions().back(),
            "Proceed with all datasets in the project?\r\nPress No to shift selected seq to top "
            "only in the current data set.");
  EXPECT_EQ(RowNames(ds), (std::vector<std::string>{"q", "s", "p", "r"}));
  EXPECT_EQ(RowNames(f.Ds(0)), (std::vector<std::string>{"a", "b", "c", "d"}));
  f.Answer({true});
  ASSERT_TRUE(ShiftToBottom(f.ctx));
  EXPECT_EQ(RowNames(ds), (std::vector<std::string>{"p", "r", "q", "s"}));
  EXPECT_EQ(RowNames(f.Ds(0)), (std::vector<std::string>{"a", "c", "b", "d"}));
}

TEST(RemoveSequenceCommands, QuestionsAndNoAnswers) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "A"}, {"b", "AC"}, {"c", "ACG"}, {"d", ""}});
  ds.SetCursor(1, 3);
  EXPECT_EQ(DeleteSelectedSequences(f.ctx), 0);
  EXPECT_EQ(f.Questions().back(), "Delete sequence c?");
  ds.Select(3);
  ds.Select(4);
  ds.SetCursor(1, 4);
  f.Answer({true});
  EXPECT_EQ(DeleteSelectedSequences(f.ctx), 2);
  EXPECT_EQ(f.Questions().back(), "Delete 2 selected sequences?");
  EXPECT_EQ(RowNames(ds), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(ds.currentRow, 2);  // the current row went: the last row becomes current
  ASSERT_TRUE(UndoLastEdit(f.ctx));
  EXPECT_EQ(ds.Count(), 4);
}

TEST(RemoveSequenceCommands, ShortAndEmptyRowsWithoutQuestion) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "A"}, {"b", "AC"}, {"c", "ACG"}, {"d", ""}});
  ds.SetCursor(1, 4);
  EXPECT_EQ(RemoveEmptySequences(f.ctx), 1);
  EXPECT_EQ(ds.currentRow, 3);
  ds.Select(2);
  ds.Select(3);
  EXPECT_EQ(RemoveShortSequences(f.ctx, 3), 1);  // only among the selected rows: b
  EXPECT_EQ(RowNames(ds), (std::vector<std::string>{"a", "c"}));
  ds.Unselect(-1);
  EXPECT_EQ(RemoveShortSequences(f.ctx, 100), 2);
  EXPECT_TRUE(f.Questions().empty());
}

TEST(RemoveSequenceCommands, FirstSequenceAfterBothQuestions) {
  CommandFixture f;
  f.AddDataset("D1", {{"a", "A"}, {"b", "A"}});
  f.AddDataset("D2", {{"c", "A"}, {"d", "A"}});
  EXPECT_EQ(RemoveFirstSequence(f.ctx), 0);
  f.Answer({true, false});
  EXPECT_EQ(RemoveFirstSequence(f.ctx), 1);
  EXPECT_EQ(f.Questions(), (std::vector<std::string>{"Remove 1st sequence from the dataset?",
                                                     "Remove 1st sequence from the dataset?",
                                                     "Proceed with all datasets in the project?"}));
  EXPECT_EQ(RowNames(f.Ds(1)), std::vector<std::string>{"d"});
  f.Answer({true, true});
  EXPECT_EQ(RemoveFirstSequence(f.ctx), 2);
  EXPECT_EQ(RowNames(f.Ds(0)), std::vector<std::string>{"b"});
}

TEST(NewSequenceCommand, EmptyRowNamedAfterTheRowCountBecomesCurrent) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"b", "A"}, {"Sequence_3", "C"}});
  ASSERT_TRUE(AddNewSequence(f.ctx));
  ASSERT_TRUE(AddNewSequence(f.ctx));
  EXPECT_EQ(RowNames(ds),
            (std::vector<std::string>{"b", "Sequence_3", "Sequence_3~1", "Sequence_4"}));
  EXPECT_EQ(ds.currentRow, 4);
  ASSERT_TRUE(SortCurrentByName(f.ctx));
  EXPECT_EQ(ds.NameAt(1), "Sequence_3");
}
