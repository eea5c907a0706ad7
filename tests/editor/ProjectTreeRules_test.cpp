// SPDX-License-Identifier: GPL-3.0-or-later
// The project trees' drop rule, node deletion, renaming, marks and selection commands.
#include <gtest/gtest.h>

#include "EditorCommandFixture.h"
#include "editor/ProjectTreeRules.h"

namespace {

struct TreeFixture : CommandFixture {
  int top = 0, sub = 0, leaf = 0, indA = 0, indB = 0;
  TreeFixture() {
    AddDataset("g1", {{"s1", "A"}, {"s2", "C"}});
    AddDataset("g2", {{"t1", "G"}});
    auto addGroup = [this](const char* name) {
      TGroup g;
      g.grpName = name;
      return project.AddGroup(g);
    };
    top = addGroup("top");
    sub = addGroup("sub");
    leaf = addGroup("leaf");
    project.SetGroupParent("sub", "top");
    project.SetGroupParent("leaf", "sub");
    TIndivid a, b;
    a.indName = "A";
    b.indName = "B";
    indA = project.AddIndivid(a);
    indB = project.AddIndivid(b);
    Row(1, 0).individId = indA;
  }
  TreeNode Seq(int ds, int row) const { return {TreeNodeKind::Sequence, ds, row}; }
  TreeNode Group(int key) const { return {TreeNodeKind::Group, key, 0}; }
  TreeNode Ind(int key) const { return {TreeNodeKind::Individual, key, 0}; }
  TreeNode DsNode(int index) const { return {TreeNodeKind::Dataset, index, 0}; }
  int Parent(int key) const { return project.Groups()[project.GroupIndexByKey(key)].grpParent; }
};

}  // namespace

TEST(ApplyDrop, EachKindOfDropDoesItsProjectOperation) {
  TreeFixture f;
  RecordingMessages& m = f.svc.messages;
  // Onto another dataset a copy goes; onto its own dataset nothing happens.
  EXPECT_TRUE(ApplyDrop(f.project, m, f.Seq(0, 2), f.DsNode(1)));
  ASSERT_EQ(f.Ds(1).Count(), 2);
  EXPECT_EQ(f.Ds(1).SeqAt(2)->seqName, "s2");
  EXPECT_EQ(f.Ds(0).Count(), 2);
  EXPECT_EQ(DecideDrop(f.project, f.Seq(0, 2), f.DsNode(0)).op, DropOp::None);
  // A sequence on an individual is linked, on a group assigned (its individual follows).
  EXPECT_TRUE(ApplyDrop(f.project, m, f.Seq(0, 2), f.Ind(f.indB)));
  EXPECT_EQ(f.Row(2, 0).individId, f.indB);
  EXPECT_TRUE(ApplyDrop(f.project, m, f.Seq(0, 1), f.Group(f.leaf)));
  EXPECT_EQ(f.project.Individs()[0].indGroup, f.leaf);
  EXPECT_EQ(f.Row(1, 0).groupNum, f.leaf);
  // An individual on a group, then back on the "Individuals" root.
  EXPECT_TRUE(ApplyDrop(f.project, m, f.Ind(f.indB), f.Group(f.top)));
  EXPECT_EQ(f.Row(2, 0).groupNum, f.top);
  EXPECT_TRUE(ApplyDrop(f.project, m, f.Ind(f.indB), {TreeNodeKind::IndividualsRoot}));
  EXPECT_EQ(f.project.Individs()[1].indGroup, -1);
  // A group under another, then to the top.
  EXPECT_TRUE(ApplyDrop(f.project, m, f.Group(f.leaf), f.Group(f.top)));
  EXPECT_EQ(f.Parent(f.leaf), f.top);
  EXPECT_TRUE(ApplyDrop(f.project, m, f.Group(f.leaf), {TreeNodeKind::GroupsRoot}));
  EXPECT_EQ(f.Parent(f.leaf), -1);
  EXPECT_TRUE(m.notices.empty());
  // Nothing else drops anywhere.
  EXPECT_EQ(DecideDrop(f.project, f.Ind(f.indA), f.DsNode(0)).op, DropOp::None);
  EXPECT_EQ(DecideDrop(f.project, f.DsNode(0), f.DsNode(1)).op, DropOp::None);
  EXPECT_EQ(DecideDrop(f.project, f.Group(f.top), f.Ind(f.indA)).op, DropOp::None);
}

TEST(ApplyDrop, AGroupOnItselfOrADescendantIsRefused) {
  TreeFixture f;
  for (const int target : {f.top, f.sub, f.leaf}) {
    EXPECT_FALSE(ApplyDrop(f.project, f.svc.messages, f.Group(f.top), f.Group(target)));
    EXPECT_EQ(f.svc.messages.notices.back(), kGroupCycleNotice);
  }
  EXPECT_EQ(f.Parent(f.top), -1);
  EXPECT_EQ(f.Parent(f.sub), f.top);
}

TEST(DeleteTreeNode, AsksTheQuestionsOfItsTree) {
  TreeFixture f;
  f.Answer({true});
  EXPECT_TRUE(DeleteTreeNode(f.project, f.svc.messages, f.Group(f.sub), TreeMode::Editor));
  EXPECT_EQ(f.Questions().back(), "Delete group sub ?");
  EXPECT_EQ(f.Parent(f.leaf), f.top);  // the subgroup moves up
  // In a dialog the individual may take its sequences along.
  f.Answer({true, true});
  EXPECT_TRUE(DeleteTreeNode(f.project, f.svc.messages, f.Ind(f.indA), TreeMode::Dialog));
  EXPECT_EQ(f.Questions().end()[-2], "Delete individual A?");
  EXPECT_EQ(f.Ds(0).Count(), 1);
  f.Answer({true, false});
  EXPECT_FALSE(DeleteTreeNode(f.project, f.svc.messages, f.DsNode(1), TreeMode::Dialog));
  EXPECT_EQ(f.Questions().back(),
            "Are you sure you want to delete the current dataset?\r\nAll the data in this dataset "
            "will be lost!!!");
  EXPECT_EQ(f.project.DatasetCount(), 2);
}

TEST(RenameTreeNode, NamesStayUniqueInTheirList) {
  TreeFixture f;
  EXPECT_TRUE(RenameTreeNode(f.project, f.Group(f.leaf), "top"));
  EXPECT_EQ(f.project.GroupName(f.project.GroupIndexByKey(f.leaf)), "top~1");
  EXPECT_TRUE(RenameTreeNode(f.project, f.Ind(f.indB), "A"));
  EXPECT_EQ(f.project.IndividName(1), "A~1");
  EXPECT_TRUE(RenameTreeNode(f.project, f.DsNode(1), "g1"));
  EXPECT_EQ(f.Ds(1).dsName, "g1~1");
  EXPECT_FALSE(RenameTreeNode(f.project, f.Seq(0, 1), "x"));
}

TEST(TreeMarks, SequencesIndividualsAndSelectionCommands) {
  TreeFixture f;
  ASSERT_TRUE(SetTreeMark(f.project, f.Ind(f.indA), false));
  EXPECT_FALSE(f.Row(1, 0).enabled);
  // Marking one sequence marks its individual again, not its other sequences.
  f.Row(1, 1).individId = f.indA;
  f.Row(1, 1).enabled = false;
  ASSERT_TRUE(SetTreeMark(f.project, f.Seq(0, 1), true));
  EXPECT_TRUE(f.project.Individs()[0].indEnabled);
  EXPECT_FALSE(f.Row(1, 1).enabled);

  ApplyTreeSelection(f.project, TreeSelection::NoGroups);
  for (const TGroup& g : f.project.Groups()) EXPECT_FALSE(g.grpSelected);
  ASSERT_TRUE(SetTreeMark(f.project, f.Group(f.sub), true));
  f.project.SetCurrent(1);
  ApplyTreeSelection(f.project, TreeSelection::CurrentDatasetOnly);
  EXPECT_FALSE(f.Ds(0).dsSelected);
  EXPECT_TRUE(f.Ds(1).dsSelected);
  ApplyTreeSelection(f.project, TreeSelection::InvertIndivids);
  EXPECT_FALSE(f.project.Individs()[0].indEnabled);
  EXPECT_FALSE(f.Row(1, 0).enabled);
  EXPECT_FALSE(f.project.Individs()[1].indEnabled);
  EXPECT_TRUE(f.Row(2, 0).enabled);  // a row without individual keeps its mark
}
