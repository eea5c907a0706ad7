// SPDX-License-Identifier: GPL-3.0-or-later
// Finding and replacing letters and names, with the questions and notices the user sees.
#include "editor/FindReplaceCommands.h"

#include <gtest/gtest.h>

#include "EditorCommandFixture.h"

TEST(FindCommand, RepeatedFindsWalkThroughEveryMatchAcrossRows) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "ACGTACGT"}, {"b", "TTTT"}, {"c", "acg"}});
  f.Row(3).columnShift = 4;
  std::vector<std::pair<int, int>> hits;
  while (FindInSequences(f.ctx, "ACG", false)) hits.emplace_back(ds.currentRow, ds.cursorPos);
  EXPECT_EQ(hits, (std::vector<std::pair<int, int>>{{1, 1}, {1, 5}, {3, 1}}));
  EXPECT_EQ(f.Notices(), (std::vector<std::string>{
                             "Found in sequence a\r\nat sequence position: 1",
                             "Found in sequence a\r\nat sequence position: 5",
                             "Found in sequence c\r\nat sequence position: 1\r\ncorresponds to "
                             "alignment position: 5",
                             "Can not find \"ACG\""}));
  EXPECT_TRUE(f.ctx.findSucceeded);
  EXPECT_FALSE(f.ctx.modified);
}

TEST(FindCommand, FirstFindStartsAtTheCursorAndMatchCaseIsExact) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "acgTAcg-N"}});
  ds.SetCursor(2, 1);
  EXPECT_TRUE(FindInSequences(f.ctx, "cg", true));
  EXPECT_EQ(ds.cursorPos, 2);  // the letter under the cursor counts the first time
  EXPECT_FALSE(FindInSequences(f.ctx, "TAC", true));
  ds.SetCursor(1, 1);
  EXPECT_TRUE(FindInSequences(f.ctx, "G-n", false));  // gaps are letters like any other
  EXPECT_EQ(ds.cursorPos, 7);
}

TEST(FindCommand, EmptyTextIsRefusedAndNameSearchesUseTheProject) {
  CommandFixture f;
  f.AddDataset("Alpha", {{"one", "A"}, {"two", "C"}});
  f.AddDataset("Beta", {{"three", "G"}});
  EXPECT_FALSE(FindInSequences(f.ctx, "", false));
  EXPECT_EQ(FindSequenceName(f.ctx, "", false), -1);
  EXPECT_EQ(FindDatasetName(f.ctx, "", true), -1);
  EXPECT_EQ(f.Notices(), std::vector<std::string>(3, kEmptyFindText));
  EXPECT_EQ(FindDatasetName(f.ctx, "Alp", false), 0);
  EXPECT_EQ(f.project.CurrentIndex(), 0);
  EXPECT_EQ(FindSequenceName(f.ctx, "tw", false), 2);
  EXPECT_EQ(f.Ds().currentRow, 2);
}

TEST(ReplaceCommand, OneReplacementPerCallWithTheQuestionText) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "AATTAATT"}, {"b", "CCAA"}});
  f.Row(1).quality = {1, 2, 3, 4, 5, 6, 7, 8};
  f.Answer({true, true, true});
  EXPECT_TRUE(ReplaceNextInSequences(f.ctx, "aa", "GG", false));
  EXPECT_EQ(RowLetters(ds), (std::vector<std::string>{"GGTTAATT", "CCAA"}));
  EXPECT_EQ(f.Questions().back(),
            "Make replacement \r\nof aa\r\nwith GG\r\nin sequence a at position 1");
  // Same length: the letters' qualities are kept.
  EXPECT_EQ(f.Row(1).quality, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_TRUE(ReplaceNextInSequences(f.ctx, "aa", "GG", false));
  EXPECT_TRUE(ReplaceNextInSequences(f.ctx, "aa", "GG", false));
  EXPECT_EQ(RowLetters(ds), (std::vector<std::string>{"GGTTGGTT", "CCGG"}));
  EXPECT_EQ(f.Questions().back(),
            "Make replacement \r\nof aa\r\nwith GG\r\nin sequence b at position 3");
  EXPECT_FALSE(ReplaceNextInSequences(f.ctx, "aa", "GG", false));
  EXPECT_EQ(f.Notices(), (std::vector<std::string>{"No replacements made"}));
  EXPECT_TRUE(f.ctx.modified);
}

TEST(ReplaceCommand, DeclinedMatchChangesNothingAndTheNextCallMovesOn) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "ACAC"}});
  f.Answer({false, true});
  EXPECT_FALSE(ReplaceNextInSequences(f.ctx, "AC", "A", true));
  EXPECT_EQ(f.Row(1).letters, "ACAC");
  EXPECT_FALSE(ds.HasUndo());
  EXPECT_FALSE(f.ctx.modified);
  EXPECT_TRUE(ReplaceNextInSequences(f.ctx, "AC", "A", true));
  EXPECT_EQ(f.Row(1).letters, "ACA");
  EXPECT_EQ(f.Questions().back(),
            "Make replacement \r\nof AC\r\nwith A\r\nin sequence a at position 3");
  ASSERT_TRUE(ds.Undo());
  EXPECT_EQ(f.Row(1).letters, "ACAC");
}

TEST(ReplaceCommand, ReplacementContainingTheTextIsNotReplacedAgain) {
  CommandFixture f;
  f.AddDataset("D", {{"a", "AT"}});
  f.Answer({true, true});
  EXPECT_TRUE(ReplaceNextInSequences(f.ctx, "A", "AA", true));
  EXPECT_FALSE(ReplaceNextInSequences(f.ctx, "A", "AA", true));
  EXPECT_EQ(f.Row(1).letters, "AAT");
}

TEST(ReplaceCommand, LongTextsAreLeftOutOfTheQuestion) {
  CommandFixture f;
  const std::string longText(101, 'A');
  f.AddDataset("D", {{"a", "CC" + longText}});
  f.Answer({false});
  EXPECT_FALSE(ReplaceNextInSequences(f.ctx, longText, "G", true));
  EXPECT_EQ(f.Questions(),
            (std::vector<std::string>{"Make replacement in sequence a at position 3"}));
}

TEST(ReplaceCommand, DifferentLengthsGoThroughTheSequenceEditsSoRegionsAndQualitiesFollow) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "CCCAAGGG"}});
  TSeq& s = f.Row(1);
  s.quality = {1, 2, 3, 4, 5, 6, 7, 8};
  s.AddRegion(MakeRegion(6, 8, kRegCds, 1));
  ds.SetCursor(1, 1);
  f.Answer({true});
  ASSERT_TRUE(ReplaceNextInSequences(f.ctx, "AA", "T", true));
  EXPECT_EQ(s.letters, "CCCTGGG");
  EXPECT_EQ(s.quality, (std::vector<std::uint8_t>{1, 2, 3, 4, 6, 7, 8}));
  EXPECT_EQ(s.regions.at(0).regStart, 5);
  EXPECT_EQ(s.regions.at(0).regEnd, 7);
  EXPECT_EQ(s.lettersLength, 7);
  ASSERT_EQ(1, ReplaceAllInSequences(f.ctx, "T", "AAA", true));
  EXPECT_EQ(s.letters, "CCCAAAGGG");
  EXPECT_EQ(s.quality.size(), 9u);
  EXPECT_EQ(s.regions.at(0).regStart, 7);
}

TEST(ReplaceAllCommand, NonOverlappingMatchesAndTheCountNotices) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "AAAAA"}, {"b", "CAAC"}, {"c", "AAAA"}});
  f.Row(3).enabled = false;  // hidden rows are left alone
  EXPECT_EQ(ReplaceAllInSequences(f.ctx, "AA", "g", true), 3);
  EXPECT_EQ(RowLetters(ds), (std::vector<std::string>{"ggA", "CgC", "AAAA"}));
  EXPECT_EQ(ReplaceAllInSequences(f.ctx, "ggA", "t", true), 1);
  EXPECT_EQ(ReplaceAllInSequences(f.ctx, "XYZ", "t", true), 0);
  EXPECT_EQ(f.Notices(), (std::vector<std::string>{"Made 3 replacements", "Made 1 replacement",
                                                   "Made 0 replacements"}));
  EXPECT_TRUE(f.Questions().empty());  // one dataset: no scope question
  ASSERT_TRUE(ds.Undo());
  EXPECT_EQ(RowLetters(ds), (std::vector<std::string>{"ggA", "CgC", "AAAA"}));
}

TEST(ReplaceAllCommand, ScopeQuestionAndLock) {
  CommandFixture f;
  f.AddDataset("D1", {{"a", "ACGT"}});
  f.AddDataset("D2", {{"b", "ACGT"}});
  f.Answer({false});
  EXPECT_EQ(ReplaceAllInSequences(f.ctx, "CG", "", true), 1);
  EXPECT_EQ(f.Questions().at(0),
            "Proceed with replacements in all datasets of the project?\r\nPress No to process "
            "just the current dataset");
  EXPECT_EQ(f.Row(1, 0).letters, "ACGT");
  EXPECT_EQ(f.Row(1, 1).letters, "AT");
  f.Answer({true});
  EXPECT_EQ(ReplaceAllInSequences(f.ctx, "A", "", true), 2);
  EXPECT_EQ(f.Row(1, 0).letters, "CGT");
  const auto& statuses = f.svc.progress.statuses;
  ASSERT_GE(statuses.size(), 2u);
  EXPECT_EQ(statuses[statuses.size() - 2], "Processing dataset D1");
  EXPECT_EQ(statuses.back(), "Processing dataset D2");
  EXPECT_EQ(f.svc.progress.steps, 2);
  f.ctx.locked = true;
  EXPECT_EQ(ReplaceAllInSequences(f.ctx, "T", "", true), -1);
  EXPECT_EQ(f.Row(1, 0).letters, "CGT");
}

TEST(ReplaceNamesCommand, SequenceNamesAskPerNameAndStayUnique) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"pop1_a", "A"}, {"pop2_a", "A"}, {"pop1_b", "A"}});
  f.Answer({true, false, true});
  EXPECT_EQ(ReplaceInSequenceNames(f.ctx, "pop1_", "", false), 1);
  EXPECT_EQ(ReplaceInSequenceNames(f.ctx, "pop", "p", false), 1);
  EXPECT_EQ(f.Questions().back(), "Replace pop\r\nwith p ?");
  EXPECT_EQ(ReplaceInSequenceNames(f.ctx, "p2_", "", true), 1);
  EXPECT_EQ(RowNames(ds), (std::vector<std::string>{"a", "a~1", "pop1_b"}));
  EXPECT_EQ(ReplaceInSequenceNames(f.ctx, "pop1_b", "", true), 0);  // a name never empties
  EXPECT_EQ(ds.NameAt(3), "pop1_b");
  EXPECT_EQ(f.Notices(),
            (std::vector<std::string>{"Replaced name in 1 sequence", "Replaced name in 1 sequence",
                                      "Replaced name in 1 sequence", "No replacements made"}));
}

TEST(ReplaceNamesCommand, DatasetNamesWithTheirQuestionAndNotices) {
  CommandFixture f;
  f.AddDataset("locus_1", {});
  f.AddDataset("locus_2", {});
  f.AddDataset("other", {});
  f.Answer({true, true});
  EXPECT_EQ(ReplaceInDatasetNames(f.ctx, "locus_", "L", false), 2);
  EXPECT_EQ(f.Questions().at(0),
            "Replace \"locus_\" with \"L\"\r\nin the name of the dataset locus_1?");
  EXPECT_EQ(f.Notices().back(), "Replaced names in 2 datasets");
  EXPECT_EQ(ReplaceInDatasetNames(f.ctx, "L2", "L1", true), 1);
  EXPECT_EQ(f.project.DatasetAt(1)->dsName, "L1~1");
  EXPECT_EQ(f.Notices().back(), "Replaced name in 1 dataset");
  EXPECT_TRUE(f.ctx.modified);
}
