// SPDX-License-Identifier: GPL-3.0-or-later
// Splitting long datasets into pieces of at most M alignment columns.
#include <gtest/gtest.h>

#include "EditorCommandFixture.h"
#include "editor/LongDatasetSplit.h"

namespace {

std::vector<int> PieceLengths(const TDataProj& p, int from) {
  std::vector<int> out;
  for (int i = from; i < p.DatasetCount(); ++i) out.push_back(p.DatasetAt(i)->AlignmentLength(true));
  return out;
}

}  // namespace

TEST(SplitLongDatasets, CutsTruncLOverMPlusOnePieces) {
  CommandFixture f;
  f.AddDataset("long", {{"a", std::string(25000, 'A')}});
  AddRow(f.Ds(0), "late", std::string(10000, 'C'), 15000);  // starts at column 15 001
  f.AddDataset("exact", {{"a", std::string(10000, 'A')}});
  f.AddDataset("double", {{"a", std::string(20000, 'A')}});

  EXPECT_EQ(SplitLongDatasets(f.project, 10000, false), 6);
  ASSERT_EQ(f.project.DatasetCount(), 9);
  EXPECT_EQ(PieceLengths(f.project, 3), (std::vector<int>{10000, 10000, 5000, 10000, 10000, 0}));
  EXPECT_EQ(f.project.DatasetAt(3)->dsName, "long~1");
  EXPECT_EQ(f.Ds(3).SeqAt(2)->Length(), 0);  // the late row has no letters in piece 1
  EXPECT_EQ(f.Ds(4).SeqAt(2)->columnShift, 5000);
  EXPECT_EQ(f.Ds(4).SeqAt(2)->Length(), 5000);
  EXPECT_EQ(f.Ds(5).SeqAt(2)->columnShift, 0);
  EXPECT_EQ(f.Ds(5).SeqAt(2)->letters, std::string(5000, 'C'));
}

TEST(SplitLongDatasets, RemovesTheSplitDatasetsAndRefusesLengthsBelowOne) {
  CommandFixture f;
  f.AddDataset("short", {{"a", "ACGT"}});
  f.AddDataset("long", {{"a", "ACGTACGTAC"}});
  EXPECT_EQ(SplitLongDatasets(f.project, 0, true), -1);
  EXPECT_EQ(SplitLongDatasetsCommand(f.ctx, 0), -1);
  EXPECT_TRUE(f.Questions().empty());  // refused before any question
  EXPECT_EQ(f.Notices().size(), 1u);

  f.Answer({true, true});  // remove, proceed
  EXPECT_EQ(SplitLongDatasetsCommand(f.ctx, 4), 3);
  EXPECT_EQ(f.Questions(), (std::vector<std::string>{
                               "Remove the datasets that are being split?",
                               "Proceed with splitting long datasets into shorter ones?"}));
  EXPECT_TRUE(f.ctx.modified);
  EXPECT_EQ(f.project.DatasetCount(), 4);
  EXPECT_EQ(f.project.DatasetAt(0)->dsName, "short");
  EXPECT_EQ(RowLetters(f.Ds(3)), (std::vector<std::string>{"AC"}));

  f.Answer({false, false});  // No to proceeding changes nothing
  EXPECT_EQ(SplitLongDatasetsCommand(f.ctx, 2), -1);
  EXPECT_EQ(f.project.DatasetCount(), 4);
}
