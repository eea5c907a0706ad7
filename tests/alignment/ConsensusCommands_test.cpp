// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "alignment/AsmContUnit.h"
#include "editor/EditorCommandFixture.h"

TEST(CreateConsensus, OneSelectedRowStillTakesAllRowsTwoTakeTheSelection) {
  CommandFixture f;
  f.AddDataset("d", {{"a", "AAAA"}, {"b", "AACC"}, {"c", "AACC"}});
  f.Row(1).selected = true;
  EXPECT_EQ(CreateConsensus(f.ctx), 4);
  EXPECT_EQ(f.Row(4).seqName, "Consensus");
  EXPECT_EQ(f.Row(4).letters, "AACC");  // a alone would give AAAA
  EXPECT_EQ(f.Notices(), (std::vector<std::string>{"Consensus added"}));
  f.Row(4).selected = true;
  EXPECT_EQ(CreateConsensus(f.ctx), 5);
  EXPECT_EQ(f.Row(5).seqName, "Consensus~1");
  EXPECT_EQ(f.Row(5).letters, "AAMM");  // a and the first consensus, ties give the IUPAC pair
}

TEST(ConsensusInSameProject, NamesEachAfterItsDatasetAndCountsThoseAdded) {
  CommandFixture f;
  f.AddDataset("one", {{"a", "ACGT"}, {"b", "ACGA"}});
  f.AddDataset("two", {{"a", "TTTT"}});
  f.AddDataset("full", {{"a", "GG"}, {"b", "GG"}, {"c", "GG"}});
  f.svc.settings.maxSeqPerDataset = 3;
  EXPECT_EQ(ConsensusInSameProject(f.ctx), 2);
  EXPECT_EQ(f.Notices().back(), "Added consensus to 2 datasets");
  EXPECT_EQ(f.Row(3, 0).seqName, "Consensus_one");
  EXPECT_EQ(f.Row(3, 0).letters, "ACGW");
  EXPECT_EQ(f.Row(2, 1).seqName, "Consensus_two");
  EXPECT_EQ(f.Ds(2).Count(), 3);
}

TEST(ConsensusInNewProject, OneDatasetPerSourceNamedLikeIt) {
  CommandFixture f;
  f.AddDataset("one", {{"a", "ACGT"}, {"b", "ACGT"}});
  f.AddDataset("two", {{"a", "TTTT"}});
  const std::unique_ptr<TDataProj> cons = ConsensusInNewProject(f.ctx);
  ASSERT_EQ(cons->DatasetCount(), 2);
  EXPECT_EQ(cons->DatasetAt(0)->dsName, "one");
  EXPECT_EQ(cons->DatasetAt(1)->dsName, "two");
  EXPECT_EQ(RowNames(*cons->DatasetAt(1)), (std::vector<std::string>{"Consensus_two"}));
  EXPECT_EQ(f.Ds(0).Count(), 2);
}
