// SPDX-License-Identifier: GPL-3.0-or-later
// Editing rules of the grid on small datasets; expected letters and shifts worked out by hand.
#include "editor/GridEditing.h"

#include <gtest/gtest.h>

#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"

namespace {
struct Fixture {
  RecordingServices svc;
  TDataSeq ds{svc};
  Fixture(std::initializer_list<std::pair<const char*, int>> rows) {
    int i = 1;
    for (const auto& [letters, shift] : rows) AddRow(ds, "s" + std::to_string(i++), letters, shift);
    ds.firstVisibleCol = 1;
    ds.lastVisibleCol = 40;
  }
  TSeq& Row(int r) { return *ds.SeqAt(r); }
  std::pair<int, int> Block(int r) { return {Row(r).selStart, Row(r).selLength}; }
};
}  // namespace

TEST(GridNormaliseBlock, KeepsBlocksInsideTheLetters) {
  Fixture f{{"ACGTACGTAC", 0}};
  struct Case {
    int start, length, wantStart, wantLength;
  };
  for (const Case& c : {Case{0, 3, 0, 0}, Case{2, 0, 0, 0}, Case{2, -1, 0, 0}, Case{-2, 6, 1, 3},
                        Case{-2, 3, 0, 0}, Case{11, 2, 0, 0}, Case{8, 5, 8, 3}, Case{3, 4, 3, 4}}) {
    SCOPED_TRACE(std::to_string(c.start) + "," + std::to_string(c.length));
    f.Row(1).selStart = c.start;
    f.Row(1).selLength = c.length;
    NormaliseBlock(f.Row(1));
    EXPECT_EQ(f.Block(1), std::make_pair(c.wantStart, c.wantLength));
  }
}

TEST(GridSelectColumnBlock, DragBetweenBoundariesSelectsTheColumnsOnEveryRow) {
  Fixture f{{"ACGTACGTAC", 0}, {"ACGTACGTAC", 2}, {"ACGTACGTAC", 6}, {"AC", 0}};
  SelectColumnBlock(f.ds, 1, 1, 5, 8);
  EXPECT_EQ(f.Block(1), std::make_pair(5, 3));  // boundary 5 to 8: three letters from column 5
  EXPECT_EQ(f.Block(2), std::make_pair(0, 0));
  SelectColumnBlock(f.ds, 4, 1, 8, 5);  // upwards and leftwards: the same columns
  EXPECT_EQ(f.Block(1), std::make_pair(5, 3));
  EXPECT_EQ(f.Block(2), std::make_pair(3, 3));  // columns 5..7 are letters 3..5
  EXPECT_EQ(f.Block(3), std::make_pair(1, 1));  // only column 7 (letter 1) has a letter
  EXPECT_EQ(f.Block(4), std::make_pair(0, 0));  // the row ends before column 5
  ClearBlocks(f.ds);
  EXPECT_EQ(f.ds.BlockCount(), 0);
}

TEST(GridTypeLetter, OverwritesInsideAppendsPastTheEndAndInsertsInInsertMode) {
  Fixture f{{"ACGT", 0}};
  f.ds.SetCursor(2, 1);
  EXPECT_TRUE(TypeLetter(f.ds, 'a', false, false));
  EXPECT_EQ(f.Row(1).letters, "AaGT");
  EXPECT_EQ(f.ds.cursorPos, 2);  // overwriting leaves the cursor
  f.ds.SetCursor(5, 1);
  EXPECT_TRUE(TypeLetter(f.ds, 'a', false, false));
  EXPECT_EQ(f.Row(1).letters, "AaGTa");
  EXPECT_EQ(f.ds.cursorPos, 6);
  f.ds.SetCursor(2, 1);
  EXPECT_TRUE(TypeLetter(f.ds, '-', true, false));
  EXPECT_EQ(f.Row(1).letters, "A-aGTa");
  EXPECT_EQ(f.ds.cursorPos, 3);
  EXPECT_TRUE(f.ds.Undo());
  EXPECT_EQ(f.Row(1).letters, "AaGTa");
}

TEST(GridTypeLetter, RefusesLockedDisabledAndOtherKeys) {
  Fixture f{{"ACGT", 0}};
  f.ds.SetCursor(2, 1);
  EXPECT_FALSE(TypeLetter(f.ds, 'a', false, true));
  EXPECT_FALSE(TypeLetter(f.ds, '*', false, false));
  EXPECT_FALSE(TypeLetter(f.ds, ' ', false, false));
  EXPECT_TRUE(TypeLetter(f.ds, '7', false, false));
  EXPECT_TRUE(TypeLetter(f.ds, 'Z', false, false));
  f.Row(1).enabled = false;
  EXPECT_FALSE(TypeLetter(f.ds, 'a', false, false));
  EXPECT_EQ(f.Row(1).letters, "AZGT");
}

TEST(GridTypeLetter, CursorBeforeTheFirstLetterOfAShiftedRowDoesNothing) {
  Fixture f{{"AAAA", 0}, {"CCCC", 3}};
  f.ds.currentRow = 2;
  f.ds.cursorPos = 0;
  EXPECT_FALSE(TypeLetter(f.ds, 'g', false, false));
  EXPECT_FALSE(TypeLetter(f.ds, 'g', true, false));
  EXPECT_EQ(f.Row(2).letters, "CCCC");
  EXPECT_EQ(f.Row(2).columnShift, 3);
  EXPECT_FALSE(InsertGapAtCursor(f.ds, '-', false));
  EXPECT_EQ(f.Row(2).letters, "CCCC");
  EXPECT_FALSE(f.ds.HasUndo());
}

TEST(GridTypeLetter, AnEmptyRowTakesItsFirstLetter) {
  Fixture f{{"AAAA", 0}};
  const int row = f.ds.AddEmptySeq();
  f.ds.SetCursor(0, row);
  EXPECT_TRUE(TypeLetter(f.ds, 'g', false, false));
  EXPECT_EQ(f.Row(row).letters, "g");
  EXPECT_EQ(f.ds.cursorPos, 2);
}

TEST(GridDeleteAtCursor, RemovesTheLetterUnderTheCursor) {
  Fixture f{{"ACGT", 0}};
  f.ds.SetCursor(2, 1);
  EXPECT_TRUE(DeleteAtCursor(f.ds, false));
  EXPECT_EQ(f.Row(1).letters, "AGT");
  EXPECT_EQ(f.ds.cursorPos, 2);
  f.ds.SetCursor(4, 1);  // past the end
  EXPECT_FALSE(DeleteAtCursor(f.ds, false));
  EXPECT_FALSE(DeleteAtCursor(f.ds, true));
}

TEST(GridDeleteBeforeCursor, BackspaceRemovesTheLetterBeforeAndMovesLeft) {
  Fixture f{{"ACGT", 0}};
  f.ds.SetCursor(3, 1);
  EXPECT_TRUE(DeleteBeforeCursor(f.ds, false));
  EXPECT_EQ(f.Row(1).letters, "AGT");
  EXPECT_EQ(f.ds.cursorPos, 2);
}

TEST(GridDeleteBeforeCursor, AtTheFirstLetterOfAShiftedRowTheRowStaysPut) {
  // Deleting "letter 0" would lower the shift: the row would jump one column left.
  Fixture f{{"AAAA", 0}, {"CCCC", 3}};
  f.ds.SetCursor(1, 2);
  EXPECT_FALSE(DeleteBeforeCursor(f.ds, false));
  f.ds.cursorPos = 0;
  EXPECT_FALSE(DeleteBeforeCursor(f.ds, false));
  EXPECT_FALSE(DeleteAtCursor(f.ds, false));
  EXPECT_EQ(f.Row(2).letters, "CCCC");
  EXPECT_EQ(f.Row(2).columnShift, 3);
}

TEST(GridDeleteBlocks, AsksAndDeletesEveryBlockOfEnabledRowsOnYes) {
  Fixture f{{"ACGTAC", 0}, {"TTGGTT", 0}, {"CCCCCC", 0}};
  SelectColumnBlock(f.ds, 1, 3, 2, 5);
  f.Row(3).enabled = false;
  f.svc.messages.answers = {false};
  EXPECT_FALSE(DeleteBlocks(f.ds, f.svc.messages, false));
  EXPECT_EQ(f.Row(1).letters, "ACGTAC");
  f.svc.messages.answers = {true};
  EXPECT_TRUE(DeleteBlocks(f.ds, f.svc.messages, false));
  EXPECT_EQ(RowLetters(f.ds), (std::vector<std::string>{"AAC", "TTT", "CCCCCC"}));
  EXPECT_EQ(f.svc.messages.questions,
            (std::vector<std::string>{"Delete selected region?", "Delete selected region?"}));
  EXPECT_EQ(f.Block(1), std::make_pair(0, 0));
}

TEST(GridDeleteBlocks, ABlockFromTheFirstLetterKeepsTheRestInItsColumns) {
  Fixture f{{"ACGT", 0}, {"TTTT", 0}};
  SelectColumnBlock(f.ds, 1, 1, 1, 3);
  f.svc.messages.answers = {true};
  EXPECT_TRUE(DeleteBlocks(f.ds, f.svc.messages, false));
  EXPECT_EQ(f.Row(1).letters, "GT");
  EXPECT_EQ(RowShifts(f.ds), (std::vector<int>{2, 0}));
}

TEST(GridInsertGaps, AtTheCursorAndAtEachBlockStart) {
  Fixture f{{"ACGT", 0}, {"TTTT", 0}};
  f.ds.SetCursor(3, 1);
  EXPECT_TRUE(InsertGapAtCursor(f.ds, '-', false));
  EXPECT_EQ(f.Row(1).letters, "AC-GT");
  ClearBlocks(f.ds);
  SelectColumnBlock(f.ds, 1, 2, 2, 4);
  EXPECT_TRUE(InsertGapsAtBlocks(f.ds, '-', false));
  EXPECT_EQ(RowLetters(f.ds), (std::vector<std::string>{"A--C-GT", "T--TTT"}));
}

TEST(GridShiftRows, LeftPastColumnOnePushesTheOtherRowsRight) {
  Fixture f{{"AAAA", 0}, {"CCCC", 0}, {"GGGG", 2}};
  f.ds.SetCursor(1, 1);
  EXPECT_TRUE(ShiftRows(f.ds, false, 1, false));
  EXPECT_EQ(RowShifts(f.ds), (std::vector<int>{0, 1, 3}));
}

TEST(GridShiftRows, RightRaisesTheShiftAndNormalises) {
  Fixture f{{"AAAA", 0}, {"CCCC", 2}};
  f.ds.SetCursor(1, 1);
  EXPECT_TRUE(ShiftRows(f.ds, true, 1, false));
  EXPECT_EQ(RowShifts(f.ds), (std::vector<int>{0, 1}));  // 1, 2 normalised
  f.ds.SetCursor(1, 2);
  EXPECT_TRUE(ShiftRows(f.ds, true, 50, false));
  EXPECT_EQ(RowShifts(f.ds), (std::vector<int>{0, 51}));
  EXPECT_TRUE(ShiftRows(f.ds, false, 50, false));
  EXPECT_EQ(RowShifts(f.ds), (std::vector<int>{0, 1}));
  // A big step left on a row shifted by 1: it goes to 0, the other row moves 49 right.
  EXPECT_TRUE(ShiftRows(f.ds, false, 50, false));
  EXPECT_EQ(RowShifts(f.ds), (std::vector<int>{49, 0}));
}

TEST(GridShiftRows, SelectedEnabledRowsMoveTogether) {
  Fixture f{{"AAAA", 0}, {"CCCC", 0}, {"GGGG", 0}};
  f.ds.Select(2);
  f.ds.Select(3);
  f.Row(3).enabled = false;
  f.ds.SetCursor(1, 1);
  EXPECT_TRUE(ShiftRows(f.ds, true, 2, false));
  EXPECT_EQ(RowShifts(f.ds), (std::vector<int>{0, 2, 0}));
  EXPECT_FALSE(ShiftRows(f.ds, true, 2, true));
}

TEST(GridShiftBlocks, SlideByOneLetterCarryingTheNeighbour) {
  Fixture f{{"ACGTAC", 0}};
  f.Row(1).quality = {1, 2, 3, 4, 5, 6};
  SelectColumnBlock(f.ds, 1, 1, 3, 5);  // "GT"
  EXPECT_TRUE(ShiftBlocks(f.ds, false, false));
  EXPECT_EQ(f.Row(1).letters, "AGTCAC");  // C moved behind the block
  EXPECT_EQ(f.Row(1).quality, (std::vector<std::uint8_t>{1, 3, 4, 2, 5, 6}));
  EXPECT_EQ(f.Block(1), std::make_pair(2, 2));
  EXPECT_TRUE(ShiftBlocks(f.ds, true, false));
  EXPECT_EQ(f.Row(1).letters, "ACGTAC");
  EXPECT_EQ(f.Block(1), std::make_pair(3, 2));
  EXPECT_TRUE(ShiftBlocks(f.ds, true, false));
  EXPECT_EQ(f.Row(1).letters, "ACAGTC");  // A moved in front of the block
  EXPECT_EQ(f.ds.firstVisibleCol, 3);     // the window followed both right moves
}

TEST(GridShiftBlocks, BlocksAtTheEdgeStay) {
  Fixture f{{"ACGTAC", 0}, {"TTGGCC", 0}};
  SelectColumnBlock(f.ds, 1, 1, 1, 3);
  EXPECT_FALSE(ShiftBlocks(f.ds, false, false));
  ClearBlocks(f.ds);
  SelectColumnBlock(f.ds, 1, 2, 5, 7);
  EXPECT_FALSE(ShiftBlocks(f.ds, true, false));
  EXPECT_EQ(RowLetters(f.ds), (std::vector<std::string>{"ACGTAC", "TTGGCC"}));
}

TEST(GridCursorMoves, ShiftArrowsGrowAndShrinkTheBlock) {
  Fixture f{{"ACGTACGT", 0}};
  f.ds.SetCursor(3, 1);
  MoveCursorLetters(f.ds, 1, true);
  MoveCursorLetters(f.ds, 1, true);
  EXPECT_EQ(f.Block(1), std::make_pair(3, 2));
  EXPECT_EQ(f.ds.cursorPos, 5);
  MoveCursorLetters(f.ds, -1, true);
  EXPECT_EQ(f.Block(1), std::make_pair(3, 1));
  MoveCursorHomeEnd(f.ds, true, true);
  EXPECT_EQ(f.Block(1), std::make_pair(3, 6));
  EXPECT_EQ(f.ds.cursorPos, 9);
  MoveCursorLetters(f.ds, -50, false);
  EXPECT_EQ(f.ds.cursorPos, 1);
}

TEST(GridCursorMoves, UpAndDownKeepTheAlignmentColumn) {
  Fixture f{{"ACGTACGT", 0}, {"ACGTAC", 2}, {"ACGTACGT", 0}};
  f.ds.SetCursor(6, 1);
  MoveCursorRows(f.ds, 1, false);
  EXPECT_EQ(f.ds.currentRow, 2);
  EXPECT_EQ(f.ds.cursorPos, 4);
  MoveCursorRows(f.ds, 50, false);
  EXPECT_EQ(f.ds.currentRow, 3);
  EXPECT_EQ(f.ds.cursorPos, 6);
  SelectColumnBlock(f.ds, 3, 3, 2, 4);
  MoveCursorRows(f.ds, -2, true);
  EXPECT_EQ(f.Block(1), std::make_pair(2, 2));
  EXPECT_EQ(f.Block(2), std::make_pair(1, 1));  // column 3 is its first letter
}

TEST(GridMoveRow, ReordersAndKeepsLookups) {
  Fixture f{{"AAAA", 0}, {"CCCC", 0}, {"GGGG", 0}, {"TTTT", 0}};
  f.ds.SetCursor(1, 1);
  EXPECT_TRUE(MoveRow(f.ds, 1, 3));
  EXPECT_EQ(RowNames(f.ds), (std::vector<std::string>{"s2", "s3", "s1", "s4"}));
  EXPECT_EQ(f.ds.currentRow, 3);
  EXPECT_EQ(f.ds.RowByName("s1"), 3);
  EXPECT_EQ(f.ds.RowById(f.Row(3).seqId), 3);
  EXPECT_TRUE(MoveRow(f.ds, 4, 1));
  EXPECT_EQ(RowNames(f.ds), (std::vector<std::string>{"s4", "s2", "s3", "s1"}));
  EXPECT_EQ(f.ds.currentRow, 4);
  EXPECT_FALSE(MoveRow(f.ds, 2, 9));
}

TEST(GridToggleShowTrace, OnlyRowsWithATraceShowIt) {
  Fixture f{{"ACG", 0}, {"ACG", 0}};
  TSeq& traced = f.Row(1);
  traced.traceA = traced.traceC = traced.traceG = traced.traceT = {1, 2, 3, 4, 5};
  traced.peakPos = {1, 2, 3};
  EXPECT_EQ(ToggleShowTrace(f.ds, 1), 1);
  EXPECT_TRUE(traced.showTrace);
  EXPECT_EQ(ToggleShowTrace(f.ds, 2), 0);
  EXPECT_FALSE(f.Row(2).showTrace);
  f.ds.Select(-1);
  EXPECT_EQ(ToggleShowTrace(f.ds, 0), 1);
  EXPECT_FALSE(traced.showTrace);
}

TEST(GridMoveBlockPeaks, MovesOnlyTheBlockLettersPeaks) {
  Fixture f{{"ACGT", 0}};
  TSeq& s = f.Row(1);
  s.traceA = s.traceC = s.traceG = s.traceT = std::vector<std::uint16_t>(60, 1);
  s.peakPos = {10, 20, 30, 40};
  f.ds.SetCursor(2, 1);
  SelectColumnBlock(f.ds, 1, 1, 2, 4);
  EXPECT_TRUE(MoveBlockPeaks(f.ds, -1, false));
  EXPECT_EQ(s.peakPos, (std::vector<std::int32_t>{10, 19, 29, 40}));
}
