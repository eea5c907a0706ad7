// SPDX-License-Identifier: GPL-3.0-or-later
// Gap, end and N cleaning, padding and the row-wise removals.
#include "editor/CleaningCommands.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "EditorCommandFixture.h"

TEST(SharedGapsCommand, ScopeQuestionDecidesTheDatasets) {
  CommandFixture f;
  f.AddDataset("D1", {{"a", "A-C"}, {"b", "G-T"}});
  f.AddDataset("D2", {{"c", "A--C"}, {"d", "G--T"}});
  EXPECT_EQ(RemoveSharedGaps(f.ctx), 2);
  EXPECT_EQ(f.Questions().at(0),
            "Proceed with all datasets in the project?\r\n(will remove any gaps(-) that are "
            "present in all sequences)\r\n\r\nPress NO to delete gaps only in the current "
            "dataset");
  EXPECT_EQ(RowLetters(f.Ds(0)), (std::vector<std::string>{"A-C", "G-T"}));
  EXPECT_EQ(RowLetters(f.Ds(1)), (std::vector<std::string>{"AC", "GT"}));
  EXPECT_EQ(f.svc.progress.statuses.at(0), "Removing gaps...");
  ASSERT_TRUE(f.Ds(1).Undo());
  f.Answer({true});
  EXPECT_EQ(RemoveSharedGaps(f.ctx), 3);
  EXPECT_EQ(RowLetters(f.Ds(0)), (std::vector<std::string>{"AC", "GT"}));
}

TEST(SharedGapsCommand, ProjectVariantAsksItsOwnQuestion) {
  CommandFixture f;
  f.AddDataset("D1", {{"a", "A-C"}, {"b", "G-T"}});
  EXPECT_EQ(RemoveSharedGapsInProject(f.ctx), -1);
  EXPECT_EQ(f.Questions().at(0),
            "Remove gaps present in all sequences?\r\n(Will be done for all datasets in the "
            "project)");
  EXPECT_EQ(f.Row(1).letters, "A-C");
  EXPECT_FALSE(f.ctx.modified);
  f.Answer({true});
  EXPECT_EQ(RemoveSharedGapsInProject(f.ctx), 1);
  EXPECT_EQ(f.Row(1).letters, "AC");
}

TEST(CutEndsCommand, BothQuestionsAndStatusPerDataset) {
  CommandFixture f;
  f.AddDataset("D1", {{"a", "ACGTAC"}, {"b", "GTA"}});
  f.Row(2).columnShift = 2;
  f.Answer({true, false});
  ASSERT_TRUE(CutEndsToEqualLength(f.ctx));
  EXPECT_EQ(f.Questions(),
            (std::vector<std::string>{"Proceed with removing seq ends to make seq equal length?",
                                      "Cut CDS to full codons?"}));
  EXPECT_EQ(RowLetters(f.Ds()), (std::vector<std::string>{"GTA", "GTA"}));
  const auto& st = f.svc.progress.statuses;
  EXPECT_NE(std::find(st.begin(), st.end(), "Removing seq ends from D1"), st.end());
  EXPECT_FALSE(CutEndsToEqualLength(f.ctx));  // No: nothing
}

TEST(PadCommand, NsOrGapsUpToTheAlignmentEnd) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "ACGT"}, {"b", "AC"}});
  ASSERT_TRUE(PadWithNs(f.ctx));
  EXPECT_EQ(f.Row(2).Length(), 4);
  ASSERT_TRUE(ds.Undo());
  ASSERT_TRUE(PadWithGapLetters(f.ctx));
  EXPECT_EQ(f.Row(2).letters, "AC--");
  EXPECT_TRUE(f.Questions().empty());
}

TEST(NRunCommands, LeadingAndTrailingRunsInEveryDatasetKeepOneNOfAllNRows) {
  CommandFixture f;
  f.AddDataset("D1", {{"a", "NNnACGTN"}, {"b", "ACGT"}, {"c", "NNNN"}});
  f.AddDataset("D2", {{"d", "nACnn"}});
  EXPECT_EQ(DeleteLeadingNs(f.ctx), 3);
  EXPECT_EQ(RowLetters(f.Ds(0)), (std::vector<std::string>{"ACGTN", "ACGT", "N"}));
  EXPECT_EQ(f.Row(1, 0).columnShift, 3);  // the letters stay in their columns
  EXPECT_EQ(DeleteTrailingNs(f.ctx), 2);
  EXPECT_EQ(RowLetters(f.Ds(0)), (std::vector<std::string>{"ACGT", "ACGT", "N"}));
  EXPECT_EQ(f.Row(1, 1).letters, "AC");
  EXPECT_TRUE(f.Questions().empty());
  EXPECT_FALSE(f.Ds(0).HasUndo());
  EXPECT_TRUE(f.ctx.modified);
}

TEST(RowRemovalCommands, SelectedRowsLoseTracesQualitiesAndGaps) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "A-C-"}, {"b", "AN-N"}});
  f.Row(1).quality = {1, 2, 3, 4};
  f.Row(1).traceA = {1};
  f.Row(1).peakPos = {1};
  f.Row(1).hasTrace = true;
  ASSERT_TRUE(RemoveChromatograms(f.ctx));
  ASSERT_TRUE(RemoveBaseQualities(f.ctx));
  EXPECT_FALSE(f.Row(1).hasTrace);
  EXPECT_TRUE(f.Row(1).quality.empty());
  ASSERT_TRUE(RemoveGapsFromSelected(f.ctx));
  EXPECT_EQ(f.Row(1).letters, "AC");
  EXPECT_EQ(f.Row(2).letters, "AN-N");
  ASSERT_TRUE(ds.Undo());
  EXPECT_EQ(f.Row(1).letters, "A-C-");
  f.ctx.locked = true;
  EXPECT_FALSE(RemoveGapsFromSelected(f.ctx));
  EXPECT_FALSE(DeleteLeadingNs(f.ctx));
}
