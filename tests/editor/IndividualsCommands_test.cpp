// SPDX-License-Identifier: GPL-3.0-or-later
// Commands of the individuals page.
#include <gtest/gtest.h>

#include <random>

#include "EditorCommandFixture.h"
#include "editor/IndividualsCommands.h"

namespace {

int AddIndivid(TDataProj& p, const std::string& name) {
  TIndivid ind;
  ind.indName = name;
  return p.AddIndivid(ind);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

TEST(AutolinkSequences, LastMatchingIndividualWinsAndUnmatchedAreLeftWithout) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("g", {{"A12_seq", "A"}, {"x_a1_y", "A"}, {"zz", "A"}, {"a", "A"}});
  const int a1 = AddIndivid(f.project, "A1");
  const int a12 = AddIndivid(f.project, "A12");
  AddIndivid(f.project, "");    // an empty name would lie in every sequence name
  ds.SeqAt(3)->individId = a1;  // an old link of an unmatched sequence goes
  f.Answer({true});
  EXPECT_EQ(AutolinkSequences(f.ctx), 1);
  EXPECT_EQ(ds.SeqAt(1)->individId, a12);  // both names lie in A12_seq; A12 comes later
  EXPECT_EQ(ds.SeqAt(2)->individId, a1);   // letters of either case alike
  EXPECT_EQ(ds.SeqAt(3)->individId, -1);
  EXPECT_EQ(ds.SeqAt(4)->individId, a12);  // "a" lies in both individual names
  EXPECT_EQ(f.Notices().back(), "One sequence were not assigned to any individuals");
}

TEST(AutolinkNames, AgreesWithTestingEveryPair) {
  CommandFixture f;
  std::mt19937 rng(11);
  auto name = [&](int maxLen) {
    std::string s(1 + rng() % static_cast<unsigned>(maxLen), 'a');
    for (char& c : s) c = "abAB"[rng() % 4];
    return s;
  };
  std::vector<std::pair<std::string, std::string>> rows;
  for (int i = 0; i < 300; ++i) rows.emplace_back(name(6), "A");
  TDataSeq& ds = f.AddDataset("g", {});
  for (const auto& [n, l] : rows) AddRow(ds, n, l);
  for (int i = 0; i < 60; ++i) AddIndivid(f.project, name(5));
  AutolinkNames(f.project);
  for (int r = 1; r <= ds.Count(); ++r) {
    const std::string s = Lower(ds.SeqAt(r)->seqName);
    int expected = -1;
    for (const TIndivid& ind : f.project.Individs()) {
      const std::string n = Lower(ind.indName);
      if (n.find(s) != std::string::npos || s.find(n) != std::string::npos) expected = ind.indKey;
    }
    EXPECT_EQ(ds.SeqAt(r)->individId, expected) << ds.SeqAt(r)->seqName;
  }
}

TEST(DeleteIndividuals, QuestionsDecideWhetherTheSequencesGoToo) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("g", {{"s1", "A"}, {"s2", "A"}, {"s3", "A"}});
  for (const char* n : {"A", "B", "C"}) AddIndivid(f.project, n);
  for (int r = 1; r <= 3; ++r) ds.SeqAt(r)->individId = f.project.Individs()[r - 1].indKey;

  f.Answer({true, true, false});  // the last No keeps the sequences after all
  EXPECT_EQ(DeleteIndividuals(f.ctx, {0}), 1);
  EXPECT_EQ(f.Questions(),
            (std::vector<std::string>{
                "Delete individual A?", "Delete all sequences associated with selected individual?",
                "Are you sure  you want to delete all sequences associated with selected "
                "individual? There is NO UNDO for this action!"}));
  EXPECT_EQ(ds.Count(), 3);
  EXPECT_EQ(ds.SeqAt(1)->individId, -1);

  f.Questions().clear();
  f.Answer({true, true, true});
  EXPECT_EQ(DeleteIndividuals(f.ctx, {0, 1}), 2);
  EXPECT_EQ(f.Questions().front(), "Delete 2 selected individuals(B to C)?");
  EXPECT_EQ(f.project.IndividCount(), 0);
  ASSERT_EQ(ds.Count(), 1);
  EXPECT_EQ(ds.SeqAt(1)->seqName, "s1");
}

TEST(RemoveEmptyIndividuals, CountsOnlyIndividualsWithoutSequences) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("g", {{"s1", "A"}});
  f.AddDataset("h", {{"t1", "A"}});
  for (const char* n : {"A", "B", "C", "D"}) AddIndivid(f.project, n);
  ds.SeqAt(1)->individId = f.project.Individs()[0].indKey;
  f.Row(1, 1).individId = f.project.Individs()[2].indKey;
  f.Answer({true, true});
  EXPECT_EQ(RemoveEmptyIndividuals(f.ctx), 2);
  EXPECT_EQ(f.Notices().back(), "2 individuals were deleted.");
  EXPECT_EQ(f.project.IndividName(1), "C");
  EXPECT_EQ(RemoveEmptyIndividuals(f.ctx), 0);
  EXPECT_EQ(f.Notices().back(), "No individuals were deleted.");
}

TEST(TableColumns, FirstSixRefusedOthersAddedAndDeletedByName) {
  CommandFixture f;
  AddIndivid(f.project, "A");
  for (const char* c : {"c3", "c4", "c5", "c6"}) ASSERT_TRUE(AddTableColumn(f.ctx, c));
  EXPECT_EQ(ProposedColumnName(f.project), "Col_7");
  EXPECT_FALSE(AddTableColumn(f.ctx, "C4"));
  EXPECT_EQ(f.Notices().back(), "Error: column names should be unique.");
  EXPECT_FALSE(DeleteTableColumn(f.ctx, 4));
  EXPECT_EQ(f.Notices().back(), "The first five columns are permanent and can not be deleted");
  EXPECT_TRUE(DeleteTableColumn(f.ctx, 6));
  ASSERT_EQ(f.project.Individs()[0].attributes.size(), 3u);
  EXPECT_EQ(f.project.Individs()[0].attributes[2].sirName, "c5");
}

TEST(AddIndividsToGroup, NeedsAGroupChosenAndMovesTheSequencesToo) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("g", {{"s1", "A"}});
  AddIndivid(f.project, "A");
  AddIndivid(f.project, "B");
  ds.SeqAt(1)->individId = f.project.Individs()[1].indKey;
  TGroup pop;
  pop.grpName = "pop";
  const int key = f.project.AddGroup(pop);
  EXPECT_EQ(AddIndividsToGroup(f.ctx, {1}, -1), 0);
  EXPECT_EQ(f.Notices().back(),
            "To add individuals to a group please select the group in the project tree.");
  f.Answer({true});
  EXPECT_EQ(AddIndividsToGroup(f.ctx, {0, 1}, f.project.GroupIndexByKey(key)), 2);
  EXPECT_EQ(f.Questions().back(), "Add 2 selected individuals to group pop?");
  EXPECT_EQ(ds.SeqAt(1)->groupNum, key);
  f.Answer({true});
  EXPECT_EQ(RemoveIndividsFromGroup(f.ctx, {1}), 1);
  EXPECT_EQ(f.Questions().back(), "Delete group assignment for individual B?");
  EXPECT_EQ(f.project.Individs()[1].indGroup, -1);
  EXPECT_EQ(ds.SeqAt(1)->groupNum, -1);
}

TEST(ExtractIndividuals, ChosenIndividualsTheirGroupsAndOnlyTheirSequences) {
  CommandFixture f;
  f.AddDataset("g1", {{"s1", "A"}, {"s2", "C"}});
  f.AddDataset("g2", {{"t1", "G"}});
  TGroup top, sub, other;
  top.grpName = "top";
  sub.grpName = "sub";
  other.grpName = "other";
  const int topKey = f.project.AddGroup(top);
  const int subKey = f.project.AddGroup(sub);
  f.project.AddGroup(other);
  f.project.SetGroupParent("sub", "top");
  const int a = AddIndivid(f.project, "A");
  const int b = AddIndivid(f.project, "B");
  f.project.SetIndividGroup("A", "sub");
  f.project.SetIndividGroup("B", "other");
  f.Row(1, 0).individId = a;
  f.Row(2, 0).individId = b;
  f.Row(1, 1).individId = b;

  f.Answer({true});
  ASSERT_TRUE(AskExtractIndividuals(f.ctx, {0}));
  EXPECT_EQ(f.Questions().back(), "Extract individual A to separate project?");
  auto out = ExtractIndividuals(f.project, f.svc, {0});
  ASSERT_EQ(out->DatasetCount(), 1);  // g2 holds none of A's sequences
  EXPECT_EQ(out->DatasetAt(0)->dsName, "g1");
  ASSERT_EQ(out->DatasetAt(0)->Count(), 1);
  EXPECT_EQ(out->DatasetAt(0)->SeqAt(1)->individId, a);
  ASSERT_EQ(out->IndividCount(), 1);
  EXPECT_EQ(out->Individs()[0].indGroup, subKey);
  EXPECT_EQ(out->GroupCount(), 3);  // Outgroups, top, sub
  EXPECT_EQ(out->Groups()[out->GroupIndexByKey(subKey)].grpParent, topKey);
  EXPECT_LT(out->GroupIndexByName("other"), 0);
}
