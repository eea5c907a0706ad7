// SPDX-License-Identifier: GPL-3.0-or-later
// Name commands: prefixes, cuts and the rule that names never become duplicates.
#include "editor/NameCommands.h"

#include <gtest/gtest.h>

#include "EditorCommandFixture.h"

TEST(CutNamesCommand, AllBeforeFirstUnderscoreInEveryDatasetWithoutQuestion) {
  CommandFixture f;
  f.AddDataset("D1", {{"pop1_ind7", "A"}, {"abc_", "A"}, {"x_y_z", "A"}});
  f.AddDataset("D2", {{"ind7", "A"}});
  EXPECT_EQ(CutSequenceNames(f.ctx, NameCut::BeforeFirstUnderscore), 2);
  EXPECT_EQ(RowNames(f.Ds(0)), (std::vector<std::string>{"ind7", "abc_", "y_z"}));
  EXPECT_EQ(RowNames(f.Ds(1)), (std::vector<std::string>{"ind7"}));
  EXPECT_TRUE(f.Questions().empty());
  EXPECT_EQ(f.Ds(0).RowByName("IND7"), 1);  // the lookups follow the new names
  EXPECT_TRUE(f.ctx.modified);
}

TEST(CutNamesCommand, ACutOntoATakenNameGetsTheFirstFreeSuffix) {
  CommandFixture f;
  TDataSeq& ds =
      f.AddDataset("D", {{"ind7", "A"}, {"pop1_ind7", "A"}, {"ind7~1", "A"}, {"pop2_ind7", "A"}});
  EXPECT_EQ(CutSequenceNames(f.ctx, NameCut::BeforeFirstUnderscore), 2);
  EXPECT_EQ(RowNames(ds), (std::vector<std::string>{"ind7", "ind7~2", "ind7~1", "ind7~3"}));
}

TEST(CutNamesCommand, AfterLastUnderscoreAndAfterFirstSpace) {
  CommandFixture f;
  TDataSeq& ds =
      f.AddDataset("D", {{"a_b_c", "A"}, {"_x", "A"}, {"seq one two", "A"}, {" lead", "A"}});
  EXPECT_EQ(CutSequenceNames(f.ctx, NameCut::AfterLastUnderscore), 1);
  EXPECT_EQ(CutSequenceNames(f.ctx, NameCut::AfterFirstSpace), 1);
  EXPECT_EQ(RowNames(ds), (std::vector<std::string>{"a_b", "_x", "seq", " lead"}));
}

TEST(CutNamesCommand, DatasetNamesStayUniqueInTheProject) {
  CommandFixture f;
  f.AddDataset("geneA_1", {});
  f.AddDataset("geneA_2", {});
  f.AddDataset("plain", {});
  EXPECT_EQ(CutDatasetNames(f.ctx, NameCut::AfterLastUnderscore), 2);
  EXPECT_EQ(f.project.DatasetAt(0)->dsName, "geneA");
  EXPECT_EQ(f.project.DatasetAt(1)->dsName, "geneA~1");
  EXPECT_EQ(CutDatasetNames(f.ctx, NameCut::BeforeFirstUnderscore), 0);
}

TEST(PrefixNamesCommand, ScopeQuestionDecidesTheDatasets) {
  CommandFixture f;
  f.AddDataset("D1", {{"a", "A"}});
  f.AddDataset("D2", {{"a", "A"}, {"D2_a", "A"}});
  EXPECT_EQ(PrefixSeqNamesWithDatasetName(f.ctx), 2);
  EXPECT_EQ(f.Questions(), std::vector<std::string>{"Proceed with all datasets in the project?"});
  EXPECT_EQ(RowNames(f.Ds(1)), (std::vector<std::string>{"D2_a~1", "D2_D2_a"}));
  EXPECT_EQ(RowNames(f.Ds(0)), (std::vector<std::string>{"a"}));
  f.Answer({true, true});
  EXPECT_EQ(PrefixSeqNamesWithAt(f.ctx), 3);
  EXPECT_EQ(AppendSeqNamesWithAt(f.ctx), 3);
  EXPECT_EQ(RowNames(f.Ds(0)), (std::vector<std::string>{"@a@"}));
  EXPECT_EQ(f.svc.progress.statuses.back(), "Processing dataset D2");
  f.Answer({false});
  EXPECT_EQ(AppendDatasetNamesWithAt(f.ctx), 1);
  f.Answer({true});
  EXPECT_EQ(PrefixDatasetNamesWithAt(f.ctx), 2);
  EXPECT_EQ(f.project.DatasetAt(0)->dsName, "@D1");
  EXPECT_EQ(f.project.DatasetAt(1)->dsName, "@D2@");
}

TEST(RowNameCommands, ActOnSelectedRowsOnly) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"p_a b", "A"}, {"q_c d", "A"}});
  ds.Select(2);
  ASSERT_TRUE(WhitespacesFromSeqNames(f.ctx));
  ASSERT_TRUE(PrefixFromSeqNames(f.ctx));
  EXPECT_EQ(RowNames(ds), (std::vector<std::string>{"p_a b", "c_d"}));
  CommandFixture empty;
  EXPECT_FALSE(WhitespacesFromSeqNames(empty.ctx));
  EXPECT_EQ(CutSequenceNames(empty.ctx, NameCut::AfterFirstSpace), 0);
  EXPECT_EQ(empty.project.DatasetCount(), 0);
}
