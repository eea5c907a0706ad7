// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DataProjUnit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/PlatformRandom.h"
#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"

using ::testing::ElementsAre;

namespace {
TGroup Group(const std::string& name, int key = -1) {
  TGroup g;
  g.grpName = name;
  g.grpKey = key;
  return g;
}
TIndivid Individ(const std::string& name, int key = -1, int group = -1) {
  TIndivid i;
  i.indName = name;
  i.indKey = key;
  i.indGroup = group;
  return i;
}
std::vector<std::string> DatasetNames(const TDataProj& p) {
  std::vector<std::string> out;
  for (int i = 0; i < p.DatasetCount(); ++i) out.push_back(p.DatasetAt(i)->dsName);
  return out;
}
}  // namespace

TEST(TDataProjCreate, NewProjectHoldsOnlyTheOutgroupGroup) {
  RecordingServices svc;
  TDataProj proj(svc);
  ASSERT_EQ(proj.GroupCount(), 1);
  EXPECT_EQ(proj.GroupName(0), "Outgroups");
  EXPECT_EQ(proj.GroupKeyAt(0), kOutgroupKey);
  EXPECT_EQ(proj.IndividCount(), 0);
  EXPECT_EQ(proj.DatasetCount(), 0);
  EXPECT_EQ(proj.projName, "No_Name");
  // Asking for a dataset of an empty project creates one.
  TDataSeq* ds = proj.DatasetAt(0);
  ASSERT_NE(ds, nullptr);
  EXPECT_EQ(ds->dsName, "Dataset");
  EXPECT_EQ(ds->dsNumber, 0);
  EXPECT_EQ(ds->project, &proj);
  EXPECT_EQ(proj.DatasetAt(1), nullptr);
}

TEST(TDataProjNewDataset, NamesByPositionNumbersOnwardAndBecomesCurrent) {
  RecordingServices svc;
  TDataProj proj(svc);
  EXPECT_EQ(proj.NewDataset(), 0);
  EXPECT_EQ(proj.NewDataset(), 1);
  EXPECT_EQ(proj.NewDataset(), 2);
  EXPECT_THAT(DatasetNames(proj), ElementsAre("Dataset1", "Dataset2", "Dataset3"));
  EXPECT_EQ(proj.CurrentIndex(), 2);
  EXPECT_EQ(proj.CurrentDatasetName(), "Dataset3");
  // After a deletion the position-based name may be taken already.
  proj.DeleteDataset(0);
  EXPECT_EQ(proj.NewDataset(), 3);
  EXPECT_THAT(DatasetNames(proj), ElementsAre("Dataset2", "Dataset3", "Dataset3~1"));
  EXPECT_EQ(proj.IndexByNumber(3), 2);
  EXPECT_EQ(proj.IndexByNumber(0), -1);
  EXPECT_EQ(proj.DatasetByNumber(1)->dsName, "Dataset2");
  EXPECT_EQ(proj.IndexByName("dataset3 anything"), 1);
}

TEST(TDataProjAddDataset, MakesNamesUniqueOrMergesRowsByName) {
  RecordingServices svc;
  TDataProj proj(svc);
  auto first = proj.MakeDataset();
  first->dsName = "locus";
  AddRow(*first, "a", "ACGT");
  EXPECT_EQ(proj.AddDataset(first, false), 0);
  EXPECT_EQ(first, nullptr);

  auto second = proj.MakeDataset();
  second->dsName = "locus";
  AddRow(*second, "a", "GG");
  AddRow(*second, "b", "TT");
  EXPECT_EQ(proj.AddDataset(second, false), 1);
  EXPECT_THAT(DatasetNames(proj), ElementsAre("locus", "locus~1"));

  auto third = proj.MakeDataset();
  third->dsName = "locus";
  AddRow(*third, "a", "CC");
  EXPECT_EQ(proj.AddDataset(third, true), -1);
  EXPECT_EQ(third, nullptr);
  EXPECT_EQ(proj.DatasetCount(), 2);
  EXPECT_THAT(RowNames(*proj.DatasetAt(0)), ElementsAre("a", "a~1"));
  EXPECT_THAT(RowLetters(*proj.DatasetAt(0)), ElementsAre("ACGT", "CC"));
}

TEST(TDataProjDeleteDataset, TheLastDatasetIsReplacedWithANotice) {
  RecordingServices svc;
  TDataProj proj(svc);
  proj.NewDataset();
  proj.NewDataset();
  proj.NewDataset();
  proj.SetCurrent(2);
  proj.DeleteDataset(0);
  EXPECT_EQ(proj.CurrentIndex(), 1);
  proj.DeleteDataset(1);
  EXPECT_EQ(proj.CurrentIndex(), 0);
  EXPECT_TRUE(svc.messages.notices.empty());
  proj.DeleteDataset(0);
  ASSERT_EQ(proj.DatasetCount(), 1);
  EXPECT_EQ(proj.DatasetAt(0)->Count(), 0);
  EXPECT_THAT(svc.messages.notices,
              ElementsAre("There should be at least one dataset in the project, so a new empty "
                          "dataset was created: Dataset1"));
  proj.DeleteDataset(5);  // a bad index does nothing
  EXPECT_EQ(proj.DatasetCount(), 1);
}

TEST(TDataProjFind, FindsDatasetsAndSequencesOrSaysWhatWasMissing) {
  RecordingServices svc;
  TDataProj proj(svc);
  for (const char* n : {"adh", "Adh2", "cox1", "adh3"}) {
    auto ds = proj.MakeDataset();
    ds->dsName = n;
    (void)proj.AddDataset(ds, false);
  }
  proj.SetCurrent(0);
  EXPECT_EQ(proj.FindDataset("adh", false), 3);  // after the current one, case-sensitive
  EXPECT_EQ(proj.FindDataset("adh", false), 0);  // wraps to the first
  EXPECT_EQ(proj.FindDataset("cox1", true), 2);
  EXPECT_EQ(proj.FindDataset("cox", true), -1);
  EXPECT_EQ(proj.FindDataset("zzz", false), -1);
  EXPECT_THAT(svc.messages.notices, ElementsAre("Dataset with name cox not found",
                                                "Dataset with name containing zzz not found"));
  TDataSeq& ds = *proj.DatasetAt(-1);
  AddRow(ds, "alpha", "A");
  AddRow(ds, "beta", "A");
  AddRow(ds, "alphabet", "A");
  ds.currentRow = 1;
  EXPECT_EQ(proj.FindSequence("alpha", false), 3);
  EXPECT_EQ(ds.currentRow, 3);
  EXPECT_EQ(proj.FindSequence("alpha", false), -1);  // no wrap for rows
  EXPECT_EQ(proj.FindSequence("BETA", true), 2);
}

TEST(TDataProjAddGroup, NamesAndKeysFollowTheRules) {
  RecordingServices svc;
  TDataProj proj(svc);
  EXPECT_EQ(proj.AddGroup(Group("pop")), 1);
  EXPECT_EQ(proj.AddGroup(Group("pop")), 2);
  EXPECT_EQ(proj.GroupName(1), "pop");
  EXPECT_EQ(proj.GroupName(2), "pop~1");
  EXPECT_EQ(proj.AddGroup(Group("far", 7)), 7);  // a free key stays
  EXPECT_EQ(proj.lastGroupKey, 7);
  EXPECT_EQ(proj.AddGroup(Group("clash", 2)), 8);  // a used key does not
  EXPECT_EQ(proj.AddGroup(Group("zero", 0)), 0);
  EXPECT_EQ(proj.AddGroup(Group("bad", -7)), -1);
  EXPECT_EQ(proj.GroupIndexByName("bad"), -1);
  EXPECT_EQ(proj.GroupKeyByName("clash"), 8);
  EXPECT_EQ(proj.GroupIndexByKey(7), 3);

  TGroup out2 = Group("Outgroups2", kOutgroupKey);
  out2.grpMembers = {false, true, false, true};
  proj.GroupAt(0)->grpMembers = {true, false};
  const int before = proj.GroupCount();
  EXPECT_EQ(proj.AddGroup(out2), kOutgroupKey);
  EXPECT_EQ(proj.GroupCount(), before);
  EXPECT_THAT(proj.Groups()[0].grpMembers, ElementsAre(true, true, false, true));
}

TEST(TDataProjGroupTree, ParentsRefuseCyclesAndDepthsAreCounted) {
  RecordingServices svc;
  TDataProj proj(svc);
  proj.AddGroup(Group("a"));
  proj.AddGroup(Group("b"));
  proj.AddGroup(Group("c"));
  EXPECT_TRUE(proj.SetGroupParent("b", "a"));
  EXPECT_TRUE(proj.SetGroupParent("c", "b"));
  EXPECT_FALSE(proj.SetGroupParent("a", "a"));
  EXPECT_FALSE(proj.SetGroupParent("a", "c"));  // c lies below a
  EXPECT_FALSE(proj.SetGroupParent("a", "b"));
  EXPECT_FALSE(proj.SetGroupParent("nobody", "a"));
  EXPECT_EQ(proj.GroupDepth(proj.GroupIndexByName("c")), 2);
  EXPECT_EQ(proj.GroupCountAtDepth(0), 2);  // Outgroups and a
  EXPECT_THAT(proj.TopLevelGroupKeys(), ElementsAre(1));
  EXPECT_TRUE(proj.IsAncestorOrSelf(1, 3));
  EXPECT_FALSE(proj.IsAncestorOrSelf(3, 1));
  EXPECT_TRUE(proj.SetGroupParent("c", "no such group"));
  EXPECT_EQ(proj.GroupDepth(proj.GroupIndexByName("c")), 0);

  // A cycle read from a damaged file: every walk still ends.
  proj.GroupAt(proj.GroupIndexByName("a"))->grpParent = 3;
  proj.GroupAt(proj.GroupIndexByName("c"))->grpParent = 2;
  EXPECT_EQ(proj.GroupDepth(proj.GroupIndexByName("a")), proj.GroupCount());
  EXPECT_FALSE(proj.IsAncestorOrSelf(-2, 1));
  EXPECT_FALSE(proj.SetGroupParent("b", "a"));
  EXPECT_GE(proj.GroupCountAtDepth(0), 1);
}

TEST(TDataProjDeleteGroup, RemovesTheSubtreeAndUnlinksItsMembers) {
  RecordingServices svc;
  TDataProj proj(svc);
  proj.AddGroup(Group("top"));    // 1
  proj.AddGroup(Group("mid"));    // 2
  proj.AddGroup(Group("leaf"));   // 3
  proj.AddGroup(Group("other"));  // 4
  proj.SetGroupParent("mid", "top");
  proj.SetGroupParent("leaf", "mid");
  const int i1 = proj.AddIndivid(Individ("i1", -1, 3));
  const int i2 = proj.AddIndivid(Individ("i2", -1, 4));
  TDataSeq& ds = *proj.DatasetAt(0);
  AddRow(ds, "s1", "A", 0, i1).groupNum = 3;
  AddRow(ds, "s2", "A", 0, i2).groupNum = 4;

  proj.DeleteGroup(proj.GroupIndexByName("top"), true);
  EXPECT_EQ(proj.GroupCount(), 2);
  EXPECT_EQ(proj.GroupIndexByName("leaf"), -1);
  EXPECT_EQ(proj.GroupKeyOfIndivid(proj.IndexOfKey(i1)), -1);
  EXPECT_EQ(proj.GroupKeyOfIndivid(proj.IndexOfKey(i2)), 4);
  EXPECT_EQ(ds.SeqAt(1)->groupNum, -1);
  EXPECT_EQ(ds.SeqAt(2)->groupNum, 4);
}

TEST(TDataProjAddIndivid, NamesAndKeysFollowTheRules) {
  RecordingServices svc;
  TDataProj proj(svc);
  EXPECT_EQ(proj.AddIndivid(Individ("ind")), 1);
  EXPECT_EQ(proj.AddIndivid(Individ("ind")), 2);
  EXPECT_EQ(proj.AddIndivid(Individ("x", 10)), 10);
  EXPECT_EQ(proj.AddIndivid(Individ("y", 2)), 11);
  EXPECT_EQ(proj.IndividName(1), "ind~1");
  EXPECT_EQ(proj.IndividKeyByName("IND~1 extra"), 2);
  EXPECT_EQ(proj.IndividIndexByName("IND"), -1);  // exact
  EXPECT_EQ(proj.IndexOfKey(11), 3);
  ASSERT_TRUE(proj.RenameIndivid(0, "x"));
  EXPECT_EQ(proj.IndividName(0), "x~1");
  EXPECT_EQ(proj.IndividKeyByName("x~1"), 1);
  EXPECT_EQ(proj.IndividKeyByName("ind"), -1);
}

TEST(TDataProjIndividGroups, MembershipReachesSequencesInEveryDataset) {
  RecordingServices svc;
  TDataProj proj(svc);
  const int pop = proj.AddGroup(Group("pop"));
  const int sub = proj.AddGroup(Group("sub"));
  proj.SetGroupParent("sub", "pop");
  const int a = proj.AddIndivid(Individ("A"));
  const int b = proj.AddIndivid(Individ("B"));
  proj.NewDataset();
  proj.NewDataset();
  TDataSeq& d1 = *proj.DatasetAt(0);
  TDataSeq& d2 = *proj.DatasetAt(1);
  AddRow(d1, "a1", "AC", 0, a);
  AddRow(d1, "b1", "AC", 0, b);
  AddRow(d2, "a2", "AC", 0, a);
  AddRow(d2, "loose", "AC");

  EXPECT_TRUE(proj.SetIndividGroup("A", "sub"));
  EXPECT_TRUE(proj.SetIndividGroupByKey(b, kOutgroupKey));
  EXPECT_FALSE(proj.SetIndividGroup("A", "no group"));
  EXPECT_EQ(d1.SeqAt(1)->groupNum, sub);
  EXPECT_EQ(d2.SeqAt(1)->groupNum, sub);
  EXPECT_TRUE(proj.IsOutgroup(d1, 2));
  EXPECT_TRUE(d1.IsOutgroup(2));
  EXPECT_FALSE(d1.IsOutgroup(1));
  EXPECT_EQ(d1.NonOutgroupCount(false), 1);
  int outSeqs = 0;
  EXPECT_EQ(proj.OutgroupInfo(outSeqs), 1);
  EXPECT_EQ(outSeqs, 1);
  EXPECT_TRUE(proj.IsInGroup(d2, d2.SeqAt(1)->seqId, true, pop));
  EXPECT_FALSE(proj.IsInGroup(d2, d2.SeqAt(1)->seqId, false, pop));
  EXPECT_EQ(proj.CountSeqsInGroup(pop, -1, true), 2);
  EXPECT_EQ(proj.CountSeqsInGroup(pop, -1, false), 0);
  EXPECT_EQ(proj.CountSeqsInGroup(sub, d2.dsNumber, false), 1);
  EXPECT_EQ(proj.GroupOfSeqByNumber(d1.dsNumber, d1.SeqAt(1)->seqId), sub);
  EXPECT_EQ(proj.CountSeqsOfIndivid(a, -1), 2);
  std::vector<bool> flags;
  EXPECT_EQ(proj.IndividsOfGroup("SUB", flags), 1);
  EXPECT_THAT(flags, ElementsAre(true, false));
  EXPECT_EQ(proj.IndividsOfGroup("none", flags), -1);

  // A sequence without an individual gets one named after it.
  EXPECT_TRUE(proj.AssignSeqToGroup(1, "loose", "pop"));
  const TSeq& loose = *d2.SeqAt(2);
  EXPECT_EQ(loose.groupNum, pop);
  ASSERT_GE(loose.individId, 0);
  EXPECT_EQ(proj.IndividName(proj.IndexOfKey(loose.individId)), "loose");
  EXPECT_EQ(proj.GroupOfSeq(d2, loose.seqId), pop);

  // Many pairs at once (groups files, NEXUS sets): the later pair wins, unknown names and
  // groups are skipped, and rows of the same individual in other datasets follow.
  EXPECT_EQ(proj.AssignSeqsToGroups(0, {{"a1", "pop"}, {"nobody", "pop"}, {"a1", "no group"},
                                        {"b1", "pop"}, {"a1", "sub"}}),
            3);
  EXPECT_EQ(d1.SeqAt(1)->groupNum, sub);
  EXPECT_EQ(d2.SeqAt(1)->groupNum, sub);  // a2 shares a1's individual
  EXPECT_EQ(d1.SeqAt(2)->groupNum, pop);
  EXPECT_FALSE(proj.IsOutgroup(d1, 2));

  EXPECT_TRUE(proj.DeleteIndivid("a", false));
  EXPECT_EQ(d1.SeqAt(1)->individId, -1);
  EXPECT_EQ(d2.SeqAt(1)->individId, -1);
  EXPECT_TRUE(proj.DeleteIndivid("B", true));
  EXPECT_THAT(RowNames(d1), ElementsAre("a1"));
}

// A whole file's pairs on a project without name lookups (one pass over the rows, free names
// from a set dropped afterwards) make the individuals the lookups would.
TEST(TDataProjAssignSeqsToGroups, AWholeFileMakesTheIndividualsTheLookupsWould) {
  const std::vector<std::pair<std::string, std::string>> pairs{
      {"x", "pop"}, {"y", "pop"}, {"W", "pop"}, {"q", "pop"}};
  auto assign = [&](RecordingServices& svc, bool lookups) {
    auto proj = std::make_unique<TDataProj>(svc);
    proj->AddGroup(Group("pop"));
    proj->AddIndivid(Individ("x"));
    proj->NewDataset();
    TDataSeq& ds = *proj->DatasetAt(0);
    for (const char* name : {"x", "y", "x", "z"}) {
      auto s = std::make_unique<TSeq>(name, "AC");
      ds.AddSeq(s, false);
    }
    ds.SeqAt(4)->seqName = "w";  // behind the dataset's back
    if (lookups) {
      EXPECT_EQ(ds.RowByName("x"), 1);
      EXPECT_EQ(proj->IndividIndexByName("x"), 0);
    }
    EXPECT_EQ(proj->AssignSeqsToGroups(0, pairs), 3);
    return proj;
  };
  RecordingServices svc1, svc2;
  const auto bulk = assign(svc1, false);
  const auto kept = assign(svc2, true);
  for (const TDataProj* p : {bulk.get(), kept.get()}) {
    ASSERT_EQ(p->IndividCount(), 4);
    EXPECT_EQ(p->IndividName(1), "x~1");
    EXPECT_EQ(p->IndividName(2), "y");
    EXPECT_EQ(p->IndividName(3), "w");
    EXPECT_EQ(p->IndividIndexByName("x~1"), 1);
    EXPECT_EQ(p->IndividKeyByName("W"), 4);
    const TDataSeq& ds = *p->DatasetAt(0);
    EXPECT_EQ(ds.SeqAt(1)->individId, 2);
    EXPECT_EQ(ds.SeqAt(3)->individId, -1);  // the second "x" row is not the one named
    EXPECT_EQ(p->GroupOfSeq(ds, ds.SeqAt(4)->seqId), p->GroupKeyByName("pop"));
  }
}

TEST(TDataProjSubsample, DrawsOneRowPerTopLevelGroup) {
  RecordingServices svc;
  TDataProj proj(svc);
  const int p1 = proj.AddGroup(Group("p1"));
  const int p2 = proj.AddGroup(Group("p2"));
  proj.AddGroup(Group("empty"));
  const int kid = proj.AddGroup(Group("kid"));
  proj.SetGroupParent("kid", "p2");
  const int a = proj.AddIndivid(Individ("a", -1, p1));
  const int b = proj.AddIndivid(Individ("b", -1, p1));
  const int c = proj.AddIndivid(Individ("c", -1, kid));
  const int o = proj.AddIndivid(Individ("o", -1, kOutgroupKey));
  TDataSeq& ds = *proj.DatasetAt(0);
  AddRow(ds, "sa", "A", 0, a);
  AddRow(ds, "sb", "C", 0, b);
  AddRow(ds, "sc", "G", 0, c);
  AddRow(ds, "so", "T", 0, o);
  PlatformRandom rng(3);
  const auto sub = ds.Subsample(rng);
  EXPECT_EQ(sub->dsName, "Dataset_subsmp");
  ASSERT_EQ(sub->Count(), 2);
  EXPECT_TRUE(sub->NameAt(1) == "sa" || sub->NameAt(1) == "sb");
  EXPECT_EQ(sub->SeqAt(1)->groupNum, p1);
  EXPECT_EQ(sub->NameAt(2), "sc");
  EXPECT_EQ(sub->SeqAt(2)->groupNum, p2);

  TDataSeq alone(svc);  // no project: nothing to draw from
  AddRow(alone, "x", "A");
  EXPECT_EQ(alone.Subsample(rng)->Count(), 0);
}

TEST(TDataProjCopyTo, CopiesDatasetsGroupsAndIndividuals) {
  RecordingServices svc;
  TDataProj proj(svc);
  proj.projName = "study";
  proj.AddGroup(Group("pop"));
  const int a = proj.AddIndivid(Individ("A"));
  proj.NewDataset();
  AddRow(*proj.DatasetAt(0), "s", "ACGT", 0, a);
  TDataProj copy(svc);
  proj.CopyTo(copy);
  EXPECT_EQ(copy.projName, "study");
  EXPECT_EQ(copy.GroupCount(), 2);
  EXPECT_EQ(copy.IndividKeyByName("A"), a);
  ASSERT_EQ(copy.DatasetCount(), 1);
  EXPECT_EQ(copy.DatasetAt(0)->dsName, "Dataset1");
  EXPECT_EQ(copy.IndexByName("dataset1"), 0);
  EXPECT_EQ(copy.DatasetAt(0)->project, &copy);
  copy.DatasetAt(0)->SeqAt(1)->letters = "T";
  EXPECT_EQ(proj.DatasetAt(0)->SeqAt(1)->letters, "ACGT");
}

TEST(TDataProjPrune, ShortAndLongSequencesGoFromEveryDataset) {
  RecordingServices svc;
  TDataProj proj(svc);
  proj.NewDataset();
  proj.NewDataset();
  AddRow(*proj.DatasetAt(0), "a", "ACGTACGT");
  AddRow(*proj.DatasetAt(0), "b", "ACnnnn--");  // 8 letters, 2 bases
  AddRow(*proj.DatasetAt(1), "c", "ACG");
  AddRow(*proj.DatasetAt(1), "d", "ACGTACGTACGT");
  EXPECT_EQ(proj.TotalSeqCount(), 4);
  proj.UpdateMaxima();
  EXPECT_EQ(proj.maxLetters, 12);
  EXPECT_EQ(proj.maxRows, 2);
  EXPECT_EQ(proj.lastDsNumber, 1);
  EXPECT_EQ(proj.RemoveShortSeqs(4, false), 1);  // c
  EXPECT_EQ(proj.RemoveShortSeqs(4, true), 1);   // b
  EXPECT_EQ(proj.RemoveLongSeqs(10), 1);         // d
  EXPECT_EQ(proj.TotalSeqCount(), 1);
  EXPECT_EQ(proj.DatasetAt(0)->NameAt(1), "a");
}

TEST(TDataProjIndividFlags, EnablingAndAttributeColumnsReachEveryIndividual) {
  RecordingServices svc;
  TDataProj proj(svc);
  TIndivid withAge = Individ("A");
  withAge.attributes.push_back(sir{"Age", "4", 4, 4.0});
  const int a = proj.AddIndivid(withAge);
  proj.AddIndivid(Individ("B"));
  proj.NewDataset();
  AddRow(*proj.DatasetAt(0), "s", "A", 0, a);
  proj.SetIndividEnabled(0, false);
  EXPECT_FALSE(proj.Individs()[0].indEnabled);
  EXPECT_FALSE(proj.DatasetAt(0)->SeqAt(1)->enabled);
  proj.AddAttributeColumn("age");  // the same column, whatever the case
  proj.AddAttributeColumn("Height");
  ASSERT_EQ(proj.Individs()[0].attributes.size(), 2u);
  ASSERT_EQ(proj.Individs()[1].attributes.size(), 2u);
  EXPECT_EQ(proj.Individs()[0].attributes[0].sirText, "4");
  EXPECT_EQ(proj.Individs()[1].attributes[0], (sir{"age", "", 0, 0.0}));
  EXPECT_EQ(proj.Individs()[1].attributes[1].sirName, "Height");
}
