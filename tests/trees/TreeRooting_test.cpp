// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>

#include "trees/TreeLayout.h"
#include "trees/TreeRooting.h"

namespace {

// Distance of each leaf from the root, by name.
std::map<std::string, double> LeafDepths(TTree& tree) {
  EXPECT_TRUE(LayoutDepths(tree));
  std::map<std::string, double> out;
  for (const auto& node : tree.nodes)
    if (node->ChildCount() == 0) out[node->name] = node->depth;
  return out;
}

TTree Read(const std::string& text) {
  TTree tree;
  EXPECT_TRUE(tree.ReadBrackets(text));
  return tree;
}

}  // namespace

// Depths worked out by hand: the root halves the outgroup's edge (5 -> 2.5 + 2.5).
TEST(RootOnLeaves, NeighbourJoiningTreeIsRootedHalfwayAlongTheOutgroupEdge) {
  TTree tree = Read("((A:1,B:2):3,C:4,(O1:1,O2:1):5);");
  const int before = tree.Count();
  EXPECT_EQ(RootOnLeaves(tree, {"o1", "O2"}), RootOutcome::Rooted);
  ASSERT_EQ(tree.Roots().size(), 1u);
  EXPECT_EQ(tree.Roots()[0]->ChildCount(), 2);
  EXPECT_EQ(tree.Count(), before + 1);  // the old root keeps three neighbours
  const std::map<std::string, double> expected{
      {"A", 6.5}, {"B", 7.5}, {"C", 6.5}, {"O1", 3.5}, {"O2", 3.5}};
  EXPECT_EQ(LeafDepths(tree), expected);
  // Rooted there already: nothing moves.
  EXPECT_EQ(RootOnLeaves(tree, {"O1", "O2"}), RootOutcome::Rooted);
  EXPECT_EQ(tree.Count(), before + 1);
  EXPECT_EQ(LeafDepths(tree), expected);
}

TEST(RootOnLeaves, OldRootWithTwoChildrenIsJoinedIntoOneEdgeAndSupportsStayOnTheirEdges) {
  TTree tree = Read("((A:1,B:1):1,(C:1,O:3):1);");
  Node* ab = tree.At(tree.FindByName("A"))->Parent();
  ab->support = 0.9;
  const int before = tree.Count();
  EXPECT_EQ(RootOnLeaves(tree, {"O"}), RootOutcome::Rooted);
  EXPECT_EQ(tree.Count(), before);  // one root gone, one come
  EXPECT_EQ(LeafDepths(tree),
            (std::map<std::string, double>{{"A", 4.5}, {"B", 4.5}, {"C", 2.5}, {"O", 1.5}}));
  EXPECT_EQ(tree.At(tree.FindByName("A"))->Parent()->support, 0.9);
  EXPECT_DOUBLE_EQ(tree.At(tree.FindByName("A"))->Parent()->BranchLength(), 2.0);
}

TEST(RootOnLeaves, LeavesThatAreNoCladeOrNoLeafAtAll) {
  TTree tree = Read("((A:1,B:2):3,C:4,(O1:1,O2:1):5);");
  EXPECT_EQ(RootOnLeaves(tree, {"Z"}), RootOutcome::NoLeaf);
  EXPECT_EQ(RootOnLeaves(tree, {"A", "O1"}), RootOutcome::NotAClade);
  // Then above the first of them, A: 0.5 below the root.
  EXPECT_DOUBLE_EQ(LeafDepths(tree).at("A"), 0.5);
}

TEST(ScaleBarLength, OneTwoOrFiveTimesAPowerOfTenUpToAQuarterOfTheSpan) {
  EXPECT_DOUBLE_EQ(ScaleBarLength(0.37), 0.05);
  EXPECT_DOUBLE_EQ(ScaleBarLength(10), 2);
  EXPECT_DOUBLE_EQ(ScaleBarLength(4), 1);
  EXPECT_DOUBLE_EQ(ScaleBarLength(0.0021), 0.0005);
  EXPECT_EQ(ScaleBarLength(0), 0);
}
