// SPDX-License-Identifier: GPL-3.0-or-later
// Merging projects and concatenating loci; expected keys and letters worked out by hand.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/DataProjUnit.h"
#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"

using ::testing::ElementsAre;

namespace {
TIndivid Individ(const std::string& name, int key, int group = -1) {
  TIndivid i;
  i.indName = name;
  i.indKey = key;
  i.indGroup = group;
  return i;
}
TGroup Group(const std::string& name, int key, int parent = -1) {
  TGroup g;
  g.grpName = name;
  g.grpKey = key;
  g.grpParent = parent;
  return g;
}
}  // namespace

TEST(TDataProjMergeProject, CollidingKeysAreRenumberedOnlyOnTheIncomingSide) {
  RecordingServices svc;
  TDataProj here(svc);
  here.AddGroup(Group("north", 1));
  here.AddIndivid(Individ("A", 1, 1));
  here.AddIndivid(Individ("B", 2, -1));
  here.NewDataset();
  AddRow(*here.DatasetAt(0), "a1", "ACGT", 0, 1).groupNum = 1;
  AddRow(*here.DatasetAt(0), "b1", "ACGT", 0, 2);

  TDataProj incoming(svc);
  incoming.projName = "field trip";
  incoming.AddGroup(Group("south", 1));          // key 1 is taken here
  incoming.AddGroup(Group("south-east", 2, 1));  // child of south
  incoming.AddIndivid(Individ("C", 1, 1));       // key 1 is taken here
  incoming.AddIndivid(Individ("D", 2, 2));       // so is key 2
  incoming.AddIndivid(Individ("E", 5, kOutgroupKey));
  incoming.NewDataset();
  AddRow(*incoming.DatasetAt(0), "c1", "TTTT", 0, 1).groupNum = 1;
  AddRow(*incoming.DatasetAt(0), "d1", "GGGG", 0, 2).groupNum = 2;
  AddRow(*incoming.DatasetAt(0), "e1", "CCCC", 0, 5);

  here.MergeProject(incoming, false);
  EXPECT_EQ(here.projName, "field trip");

  // Groups: south 1 -> 2, south-east 2 -> 3 (lastGroupKey was 1), parent follows the map.
  const TGroup& south = here.Groups()[static_cast<std::size_t>(here.GroupIndexByName("south"))];
  const TGroup& se = here.Groups()[static_cast<std::size_t>(here.GroupIndexByName("south-east"))];
  EXPECT_EQ(south.grpKey, 2);
  EXPECT_EQ(south.grpReserved, 1);
  EXPECT_EQ(se.grpKey, 3);
  EXPECT_EQ(se.grpReserved, 2);
  EXPECT_EQ(se.grpParent, 2);
  EXPECT_EQ(here.GroupKeyByName("north"), 1);
  EXPECT_EQ(here.GroupCount(), 4);  // one outgroup group only

  // Individuals: C 1 -> 3, D 2 -> 4, E keeps 5 (free); the ones already here are untouched.
  EXPECT_EQ(here.IndividKeyByName("A"), 1);
  EXPECT_EQ(here.IndividKeyByName("B"), 2);
  EXPECT_EQ(here.IndividKeyByName("C"), 3);
  EXPECT_EQ(here.IndividKeyByName("D"), 4);
  EXPECT_EQ(here.IndividKeyByName("E"), 5);
  EXPECT_EQ(here.GroupKeyOfIndivid(here.IndividIndexByName("A")), 1);
  EXPECT_EQ(here.GroupKeyOfIndivid(here.IndividIndexByName("C")), 2);
  EXPECT_EQ(here.GroupKeyOfIndivid(here.IndividIndexByName("D")), 3);
  EXPECT_EQ(here.GroupKeyOfIndivid(here.IndividIndexByName("E")), kOutgroupKey);

  // Sequences: the old dataset keeps its links, the new one is relinked.
  const TDataSeq& old = *here.DatasetAt(0);
  EXPECT_EQ(old.SeqAt(1)->individId, 1);
  EXPECT_EQ(old.SeqAt(1)->groupNum, 1);
  EXPECT_EQ(old.SeqAt(2)->individId, 2);
  ASSERT_EQ(here.DatasetCount(), 2);
  const TDataSeq& added = *here.DatasetAt(1);
  EXPECT_EQ(added.dsName, "Dataset1~1");
  EXPECT_EQ(added.project, &here);
  EXPECT_EQ(added.SeqAt(1)->individId, 3);
  EXPECT_EQ(added.SeqAt(1)->groupNum, 2);
  EXPECT_EQ(added.SeqAt(2)->individId, 4);
  EXPECT_EQ(added.SeqAt(2)->groupNum, 3);
  EXPECT_EQ(added.SeqAt(3)->individId, 5);
  EXPECT_TRUE(here.IsOutgroup(added, 3));

  EXPECT_EQ(incoming.DatasetCount(), 0);
  EXPECT_EQ(incoming.IndividCount(), 0);
}

TEST(TDataProjMergeProject, ChainedCollisionsAreNotRenumberedTwice) {
  // Incoming P takes key 2 in place of 1, and Q then moves from 2 to 3. Relinking key by key
  // after each addition would carry P's sequences on from 2 to 3, onto Q.
  RecordingServices svc;
  TDataProj here(svc);
  here.AddIndivid(Individ("X", 1));
  here.NewDataset();
  AddRow(*here.DatasetAt(0), "x", "A", 0, 1);
  TDataProj incoming(svc);
  incoming.AddIndivid(Individ("P", 1));
  incoming.AddIndivid(Individ("Q", 2));
  incoming.NewDataset();
  AddRow(*incoming.DatasetAt(0), "p", "A", 0, 1);
  AddRow(*incoming.DatasetAt(0), "q", "A", 0, 2);
  here.MergeProject(incoming, false);
  EXPECT_EQ(here.IndividKeyByName("P"), 2);
  EXPECT_EQ(here.IndividKeyByName("Q"), 3);
  const TDataSeq& ds = *here.DatasetAt(1);
  EXPECT_EQ(ds.SeqAt(1)->individId, 2);
  EXPECT_EQ(ds.SeqAt(2)->individId, 3);
  EXPECT_EQ(here.DatasetAt(0)->SeqAt(1)->individId, 1);
}

TEST(TDataProjMergeProject, MergeByNameAndDanglingParentsAndSelfParents) {
  RecordingServices svc;
  TDataProj here(svc);
  here.NewDataset();
  AddRow(*here.DatasetAt(0), "s", "AAAA");
  TDataProj incoming(svc);
  incoming.AddGroup(Group("orphan", 4, 9));  // parent 9 exists nowhere
  incoming.AddGroup(Group("selfish", 6));
  incoming.GroupAt(incoming.GroupIndexByName("selfish"))->grpParent = 6;
  incoming.NewDataset();
  AddRow(*incoming.DatasetAt(0), "s", "CCCC");
  here.MergeProject(incoming, true);
  ASSERT_EQ(here.DatasetCount(), 1);
  EXPECT_THAT(RowNames(*here.DatasetAt(0)), ElementsAre("s", "s~1"));
  EXPECT_EQ(here.Groups()[static_cast<std::size_t>(here.GroupIndexByName("orphan"))].grpParent, -1);
  EXPECT_EQ(here.Groups()[static_cast<std::size_t>(here.GroupIndexByName("selfish"))].grpParent,
            -1);
}

TEST(TDataProjConcatDataSeq, OneRowPerIndividualWithEachLocusInItsOwnColumns) {
  RecordingServices svc;
  TDataProj proj(svc);
  const int a = proj.AddIndivid(Individ("A", -1, 3));
  const int b = proj.AddIndivid(Individ("B", -1));
  proj.NewDataset();
  proj.NewDataset();
  proj.NewDataset();
  TDataSeq& d1 = *proj.DatasetAt(0);
  TDataSeq& d2 = *proj.DatasetAt(1);
  TDataSeq& d3 = *proj.DatasetAt(2);
  TSeq& a1 = AddRow(d1, "a1", "ACGT", 0, a);
  a1.regions.push_back(MakeRegion(2, 3, kRegCds, 1));
  AddRow(d1, "b1", "AC", 0, b);
  AddRow(d1, "a1bis", "TTTT", 0, a);  // a second sequence of A here is not used
  AddRow(d2, "a2", "GG", 1, a);       // its shift stays as a leading gap
  AddRow(d2, "nobody", "CCCCCC");     // no individual: not used
  AddRow(d3, "b3", "T", 0, b);

  const auto cat = proj.ConcatDataSeq();
  ASSERT_EQ(cat->Count(), 2);
  EXPECT_THAT(RowNames(*cat), ElementsAre("A", "B"));
  // d1 takes columns 1-4, d2 columns 5-7 (its longest row is "-GG"), d3 column 8.
  EXPECT_THAT(RowLetters(*cat), ElementsAre("ACGT-GG-", "AC-----T"));
  const TSeq& rowA = *cat->SeqAt(1);
  EXPECT_EQ(rowA.individId, a);
  EXPECT_EQ(rowA.groupNum, 3);
  ASSERT_EQ(rowA.regions.size(), 3u);
  EXPECT_EQ(rowA.regions[0].regType, kRegCds);
  EXPECT_EQ(rowA.regions[0].regStart, 2);
  EXPECT_EQ(rowA.regions[0].regEnd, 3);
  EXPECT_EQ(rowA.regions[1].regType, kRegMisc);
  EXPECT_EQ(rowA.regions[1].regName, "Dataset1");
  EXPECT_EQ(rowA.regions[1].regStart, 1);
  EXPECT_EQ(rowA.regions[1].regEnd, 4);
  EXPECT_EQ(rowA.regions[2].regName, "Dataset2");
  EXPECT_EQ(rowA.regions[2].regStart, 6);
  EXPECT_EQ(rowA.regions[2].regEnd, 7);
  const TSeq& rowB = *cat->SeqAt(2);
  ASSERT_EQ(rowB.regions.size(), 2u);
  EXPECT_EQ(rowB.regions[1].regName, "Dataset3");
  EXPECT_EQ(rowB.regions[1].regStart, 8);
  EXPECT_EQ(rowB.lettersLength, 8);
}
