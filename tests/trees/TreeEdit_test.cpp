// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include "trees/TreeUnit.h"

namespace {

TTree Read(std::string_view text) {
  TTree tree;
  EXPECT_TRUE(tree.ReadBrackets(text));
  return tree;
}

}  // namespace

TEST(TTreeLink, EdgeIsStoredAtBothEndsAndNegativeLengthsBecomeZero) {
  TTree tree;
  Node* p = tree.At(tree.NewNode("P", 0, 0));
  Node* c = tree.At(tree.NewNode("C", 0, 0));
  tree.Link(p, c, -0.5);
  ASSERT_EQ(p->links.size(), 1u);
  EXPECT_FALSE(p->links[0].isParent);
  EXPECT_EQ(p->links[0].other, c);
  EXPECT_EQ(c->Parent(), p);
  EXPECT_EQ(c->BranchLength(), 0);
  tree.Link(p, c, std::nan(""));
  EXPECT_EQ(c->BranchLength(), 0);
}

TEST(TTreeLink, RelinkingMovesTheChildAwayFromItsOldParent) {
  TTree tree;
  Node* p1 = tree.At(tree.NewNode("P1", 0, 0));
  Node* p2 = tree.At(tree.NewNode("P2", 0, 0));
  Node* c = tree.At(tree.NewNode("C", 0, 0));
  tree.Link(p1, c, 1);
  tree.Link(p2, c, 2);
  EXPECT_EQ(c->Parent(), p2);
  EXPECT_EQ(c->links.size(), 1u);
  EXPECT_EQ(p1->ChildCount(), 0);
  EXPECT_EQ(p2->Children(), std::vector<Node*>{c});
  EXPECT_DOUBLE_EQ(c->BranchLength(), 2);
}

TEST(TTreeUnlink, RemovesBothEndsAndIgnoresBadIndexes) {
  TTree tree = Read("((A,B),C);");
  Node* inner = tree.At(1);
  tree.Unlink(inner, 5);
  tree.Unlink(inner, -1);
  EXPECT_EQ(inner->links.size(), 3u);
  tree.Unlink(inner, 0);  // its parent link
  EXPECT_EQ(inner->Parent(), nullptr);
  EXPECT_EQ(tree.At(0)->Children(), std::vector<Node*>{tree.At(4)});
  tree.ClearEdges();
  EXPECT_EQ(tree.Roots().size(), 5u);
}

TEST(TTreeLookups, IndexOfAndFindByNameTakeTheLastMatchIgnoringCase) {
  TTree tree = Read("(a,B,A);");
  EXPECT_EQ(tree.FindByName("A"), 3);
  EXPECT_EQ(tree.FindByName("b"), 2);
  EXPECT_EQ(tree.FindByName("Z"), -1);
  EXPECT_EQ(tree.IndexOf(tree.At(2)), 2);
  Node stranger;
  EXPECT_EQ(tree.IndexOf(&stranger), -1);
  EXPECT_EQ(tree.At(-1), nullptr);
  EXPECT_EQ(tree.At(4), nullptr);
}

TEST(TTreeSplits, SubtreeAndLeafSetsPerNode) {
  TTree tree = Read("((A,B),(C,D));");  // anc0, anc1, A, B, anc2, C, D
  tree.ComputeSplits();
  const Segment& inner = tree.At(4)->segments[0];
  EXPECT_TRUE(inner.Test(4) && inner.Test(5) && inner.Test(6));
  EXPECT_EQ(inner.Count(), 3);
  const Segment& leaves = tree.At(4)->segments[1];
  EXPECT_FALSE(leaves.Test(4));
  EXPECT_EQ(leaves.Count(), 2);
  EXPECT_EQ(tree.At(0)->segments[0].Count(), 7);
  EXPECT_EQ(tree.At(0)->segments[1].Count(), 4);
  EXPECT_EQ(tree.At(2)->segments[1].Count(), 1);
}

TEST(TTreeSplits, CompareFindsTheSameLeafSetsInTheOtherTree) {
  // Same leaves at the same indexes, different groupings.
  TTree one, two;
  for (TTree* t : {&one, &two}) t->LeavesFromNames({"A", "B", "C", "D"});
  auto join = [](TTree& t, int x, int y, int z, int w) {
    Node* u = t.At(t.NewNode("u", 0, 0));
    Node* root = t.At(t.NewNode("root", 0, 0));
    t.Link(u, t.At(x), 1);
    t.Link(u, t.At(y), 1);
    t.Link(root, u, 1);
    t.Link(root, t.At(z), 1);
    t.Link(root, t.At(w), 1);
  };
  join(one, 0, 1, 2, 3);  // (A,B) together
  join(two, 0, 2, 1, 3);  // (A,C) together
  one.ComputeSplits();
  two.ComputeSplits();
  std::vector<bool> result(6);
  one.CompareSplits(two, true, result);
  EXPECT_EQ(result, (std::vector<bool>{true, true, true, true, false, true}));
  std::vector<bool> self(6);
  one.CompareSplits(one, false, self);
  EXPECT_EQ(self, std::vector<bool>(6, true));
}

TEST(TTreeLeavesBelow, CountsLeavesAndMarksTheirNames) {
  TTree tree = Read("((A,B),(C,D));");
  std::vector<bool> marks(3, false);
  EXPECT_EQ(tree.LeavesBelow(tree.At(4), {"D", "A", "C"}, marks), 2);
  EXPECT_EQ(marks, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(tree.LeavesBelow(tree.At(0), {}, marks), 4);
}

TEST(TTreeMinPositiveLength, SmallestLengthAboveZeroOrMinusOne) {
  EXPECT_DOUBLE_EQ(Read("(A:0,B:0.5,(C:0.2,D:0.7):0.3);").MinPositiveLength(), 0.2);
  EXPECT_DOUBLE_EQ(Read("(A,B,C);").MinPositiveLength(), -1);
}

TEST(TTreeResolveMultifurcations, PairsChildrenUnderNewNodesKeepingPathLengths) {
  TTree tree = Read("(A:1,B:2,C:3,D:4);");
  tree.ResolveMultifurcations(0.1);
  ASSERT_EQ(tree.Count(), 7);
  EXPECT_EQ(tree.At(5)->name, "node_6");
  EXPECT_EQ(tree.At(6)->name, "node_7");
  EXPECT_EQ(tree.WriteBrackets(false), "((A:0.900,B:1.900):0.100,(C:2.900,D:3.900):0.100);");
  // A length shorter than the new edge becomes 0, not negative.
  TTree shortOnes = Read("(A:0.05,B,C);");
  shortOnes.ResolveMultifurcations(0.1);
  EXPECT_EQ(shortOnes.WriteBrackets(false), "(C:0.000,(A:0.000,B:0.000):0.100);");
}

TEST(WriteNexus, NumbersLeavesFromOneAndWritesTheTreeWithTheNumbers) {
  TTree tree = Read("((A:0.1,'B b':0.2):0.1,C:0.3);");
  EXPECT_EQ(tree.WriteNexus(),
            "#NEXUS\r\nbegin trees;\r\ntranslate\r\n1 A,\r\n2 'B b',\r\n3 C;\r\n"
            "tree No_001 = ((1:0.100,2:0.200):0.100,3:0.300);\r\nend;");
  EXPECT_EQ(tree.At(4)->translateId, 3);
}

TEST(WritePag, ListsLeavesThenInnerNodesWithParentNumbersCountedFromTheEnd) {
  TTree tree = Read("((A:0.1,B:0.2):0.1,C:0.3);");  // anc0=5 anc1=4 A=3 B=2 C=1
  EXPECT_EQ(tree.WritePag(),
            "#PAG\r\n3 0\r\nA, 4, 0.100\r\nB, 4, 0.200\r\nC, 5, 0.300\r\n4, 5, 0.100\r\n");
}
