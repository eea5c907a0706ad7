// SPDX-License-Identifier: GPL-3.0-or-later
// Copy and paste between rows, the sequence clipboard and the system clipboard's text.
#include "editor/ClipboardCommands.h"

#include <gtest/gtest.h>

#include "EditorCommandFixture.h"

namespace {
void Block(TSeq& s, int start, int length) {
  s.selStart = start;
  s.selLength = length;
}
}  // namespace

TEST(CopyCommand, BlocksOnTwoRowsGiveTwoCutCopiesAndTwoLinesOfText) {
  CommandFixture f;
  f.AddDataset("D", {{"a", "ACGTAC"}, {"b", "GGGTTT"}, {"c", "CCCC"}, {"d", "TTAACC"}});
  f.Row(1).quality = {10, 11, 12, 13, 14, 15};
  Block(f.Row(2), 2, 3);
  Block(f.Row(4), 3, 2);
  f.Row(3).selected = true;  // a whole row besides blocks is copied too but gives no text
  ASSERT_TRUE(CopySequences(f.ctx));
  EXPECT_EQ(f.ctx.systemClipboardText, "GGT\r\nAA");
  ASSERT_EQ(f.clipboard.size(), 3u);
  EXPECT_EQ(f.clipboard[0]->letters, "GGT");
  EXPECT_EQ(f.clipboard[1]->letters, "CCCC");
  EXPECT_EQ(f.clipboard[2]->letters, "AA");
  EXPECT_EQ(f.Row(2).letters, "GGGTTT");  // copying leaves the rows alone
  EXPECT_FALSE(f.ctx.modified);
}

TEST(CopyCommand, WholeSelectedRowsFillOnlyTheSequenceClipboardAndRememberTheirSource) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("Locus1", {{"a", "ACGT"}, {"b", "GGCC"}});
  f.clipboard.push_back(MakeSeq("old", "TTT"));
  f.ctx.filePath = "/data/p.nxp";
  ds.Select(-1);
  f.ctx.systemClipboardText = "stale";
  ASSERT_TRUE(CopySequences(f.ctx));
  EXPECT_EQ(f.ctx.systemClipboardText, "");
  ASSERT_EQ(f.clipboard.size(), 2u);  // the old content went
  const TSeq& copy = *f.clipboard[1];
  EXPECT_EQ(copy.sourceFile, "/data/p.nxp[Locus1]");
  ASSERT_EQ(copy.contigRefs.size(), 1u);
  EXPECT_EQ(copy.contigRefs[0].value1, ds.dsNumber);
  EXPECT_EQ(copy.contigRefs[0].value2, f.Row(2).seqId);
  EXPECT_EQ(copy.contigRefs[0].sourceName, "/data/p.nxp[Locus1]");
}

TEST(CopyCommand, WithoutSelectionTheCurrentRowIsCopiedAndItsTextTrimmed) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "ACGT"}, {"b", " ;GGA=\t"}, {"c", ";"}});
  ds.dsSourceFile = "in.fas";
  ds.SetCursor(1, 2);
  ASSERT_TRUE(CopySequences(f.ctx));
  EXPECT_EQ(f.ctx.systemClipboardText, "GGA");
  EXPECT_EQ(f.clipboard.at(0)->sourceFile, "in.fas[D]");
  ds.SetCursor(1, 3);
  ASSERT_TRUE(CopySequences(f.ctx));
  EXPECT_EQ(f.ctx.systemClipboardText, ";");  // a single letter is never trimmed away
}

TEST(CopyCommand, NothingWithoutACurrentRow) {
  CommandFixture f;
  EXPECT_FALSE(CopySequences(f.ctx));  // empty project
  f.AddDataset("D", {});
  EXPECT_FALSE(CopySequences(f.ctx));
  EXPECT_EQ(f.project.DatasetCount(), 1);
}

TEST(PasteCommand, EmptyClipboardGivesTheNotices) {
  CommandFixture f;
  f.AddDataset("D", {{"a", "ACGT"}});
  EXPECT_FALSE(PasteSequences(f.ctx));
  EXPECT_FALSE(PasteAsSeparateSequences(f.ctx));
  EXPECT_EQ(f.Notices(),
            (std::vector<std::string>{
                "Nodrix clipboard is empty. To send a sequence to clipboard use menu "
                "\"Edit/Copy\".",
                "Sequence clipboard is empty. To send a sequence to the sequence clipboard put "
                "cursor on the sequence of interest and press ctl-C (or use the menu "
                "\"Edit/Copy\")."}));
  EXPECT_FALSE(f.ctx.modified);
}

TEST(PasteCommand, IntoRowsInsertsOnlyTheFirstSequenceAtTheCursorWithItsRegions) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "AAAA"}, {"b", "CCCC"}});
  auto first = MakeSeq("x", "GT");
  first->AddRegion(MakeRegion(1, 2, kRegCds, 1));
  f.clipboard.push_back(std::move(first));
  f.clipboard.push_back(MakeSeq("y", "TTT"));
  ds.SetCursor(3, 2);
  ASSERT_TRUE(PasteSequences(f.ctx));
  EXPECT_EQ(RowLetters(ds), (std::vector<std::string>{"AAAA", "CCGTCC"}));
  ASSERT_EQ(f.Row(2).regions.size(), 1u);
  EXPECT_EQ(f.Row(2).regions[0].regStart, 3);
  EXPECT_EQ(f.Row(2).regions[0].regEnd, 4);
  EXPECT_TRUE(f.ctx.modified);
  ASSERT_TRUE(ds.Undo());
  EXPECT_EQ(RowLetters(ds), (std::vector<std::string>{"AAAA", "CCCC"}));
}

TEST(PasteCommand, IntoAnEmptyDatasetAppendsEverySequence) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {});
  f.clipboard.push_back(MakeSeq("x", "GT"));
  f.clipboard.push_back(MakeSeq("y", "TTT"));
  ASSERT_TRUE(PasteSequences(f.ctx));
  EXPECT_EQ(RowLetters(ds), (std::vector<std::string>{"GT", "TTT"}));
  EXPECT_EQ(f.clipboard.size(), 2u);  // copies: the clipboard keeps its sequences
  EXPECT_EQ(ds.currentRow, 1);
}

TEST(PasteCommand, LockDisabledRowAndCursorBeforeTheLettersChangeNothing) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "AAAA"}});
  f.clipboard.push_back(MakeSeq("x", "GT"));
  f.ctx.locked = true;
  EXPECT_FALSE(PasteSequences(f.ctx));
  EXPECT_FALSE(PasteText(f.ctx, "GG"));
  f.ctx.locked = false;
  ds.cursorPos = 0;
  EXPECT_FALSE(PasteSequences(f.ctx));
  ds.cursorPos = 2;
  f.Row(1).enabled = false;
  EXPECT_FALSE(PasteSequences(f.ctx));
  EXPECT_FALSE(PasteText(f.ctx, "GG"));
  EXPECT_EQ(f.Row(1).letters, "AAAA");
  EXPECT_FALSE(f.ctx.modified);
  EXPECT_FALSE(ds.HasUndo());
}

TEST(PasteCommand, AsSeparateSequencesAppendsCopiesWithUniqueNames) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"x", "AAAA"}});
  f.clipboard.push_back(MakeSeq("x", "GT"));
  ASSERT_TRUE(PasteAsSeparateSequences(f.ctx));
  ASSERT_TRUE(PasteAsSeparateSequences(f.ctx));
  EXPECT_EQ(RowNames(ds), (std::vector<std::string>{"x", "x~1", "x~2"}));
  EXPECT_EQ(RowLetters(ds), (std::vector<std::string>{"AAAA", "GT", "GT"}));
  EXPECT_TRUE(f.ctx.modified);
}

TEST(PasteCommand, TextKeepsOnlySequenceLettersAndCanBeUndone) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "AAAA"}});
  f.Row(1).quality = {30, 30, 30, 30};
  ds.SetCursor(3, 1);
  ASSERT_TRUE(PasteText(f.ctx, "1 gc-T\r\n  61 n?\x1a"));
  EXPECT_EQ(f.Row(1).letters, "AAgc-Tn?AA");
  EXPECT_EQ(f.Row(1).quality.size(), 10u);  // qualities stay one per letter
  EXPECT_TRUE(f.ctx.modified);
  EXPECT_FALSE(PasteText(f.ctx, "12 34\r\n"));  // nothing left to insert
  ASSERT_TRUE(ds.Undo());
  EXPECT_EQ(f.Row(1).letters, "AAAA");
}
