// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "trees/TreeLayout.h"

namespace {

TTree Laid(std::string_view text) {
  TTree tree;
  EXPECT_TRUE(tree.ReadBrackets(text));
  EXPECT_EQ(LayoutTree(tree), "");
  return tree;
}

const Node& N(const TTree& tree, std::string_view name) {
  return *tree.At(tree.FindByName(name));
}

}  // namespace

TEST(LayoutTree, ExampleTreePutsTheLastLeafOnTopAndInnerNodesBetweenTheirChildren) {
  const TTree tree = Laid("((A:0.1,B:0.2):0.1,C:0.3);");
  EXPECT_DOUBLE_EQ(N(tree, "C").yPos, 1);
  EXPECT_DOUBLE_EQ(N(tree, "A").yPos, 2);
  EXPECT_DOUBLE_EQ(N(tree, "B").yPos, 3);
  EXPECT_DOUBLE_EQ(tree.At(1)->yPos, 2.5);
  EXPECT_DOUBLE_EQ(tree.At(0)->yPos, (2.5 + 1) / 2);
  EXPECT_DOUBLE_EQ(tree.maxYPos, 3);
  EXPECT_NEAR(N(tree, "A").depth, 0.2, 1e-12);
  EXPECT_NEAR(N(tree, "B").depth, 0.3, 1e-12);
  EXPECT_NEAR(tree.At(1)->depth, 0.1, 1e-12);
  EXPECT_NEAR(tree.maxDepth, 0.3, 1e-12);
  EXPECT_EQ(tree.layoutLeafCount, 3);
}

TEST(LayoutTree, WithoutLengthsEdgesGetOneOverTheLeafsEdgeCount) {
  // A: 2 edges -> 1/2 each; then B: 3 edges -> 1/3 on B, anc2 and anc1 (overwriting A's);
  // C likewise; D: 1 edge -> 1.
  const TTree tree = Laid("((A,(B,C)),D);");
  EXPECT_NEAR(N(tree, "A").BranchLength(), 0.5, 1e-12);
  EXPECT_NEAR(N(tree, "B").depth, 1, 1e-12);
  EXPECT_NEAR(N(tree, "A").depth, 0.5 + 1.0 / 3, 1e-12);
  EXPECT_NEAR(N(tree, "D").depth, 1, 1e-12);
  // The parent's side of an edge holds the same length.
  EXPECT_NEAR(tree.At(0)->links[0].branchLength, 1.0 / 3, 1e-12);
  // A tree with one positive length keeps its lengths.
  const TTree some = Laid("(A:0,B:0.5,C);");
  EXPECT_EQ(N(some, "A").BranchLength(), 0);
}

TEST(LayoutTree, InnerNodeWithoutChildrenIsATreeError) {
  TTree tree;
  ASSERT_TRUE(tree.ReadBrackets("((),A);"));
  EXPECT_EQ(LayoutTree(tree), "Tree error!");
}

TEST(TreeGeometry, ScalesDepthAndRowsToTheDrawingSize) {
  const TTree tree = Laid("((A:0.1,B:0.2):0.1,C:0.3);");
  const TreeGeometry g(tree, 300, 150, 1, 1);  // sx = 300 / 0.3 = 1000, sy = 150 / 3 = 50
  EXPECT_EQ(g.X(N(tree, "A").depth), 206);     // 0.2 * 1000 + 1 + 5
  EXPECT_EQ(g.Y(N(tree, "A").yPos), 121);      // 2 * 50 + 1 + 20
  EXPECT_EQ(g.Y(tree.At(0)->yPos), 108);  // 1.75 * 50 + 21 = 108.5, half to even
}

TEST(SupportPercent, ProportionsShowAsPercent) {
  EXPECT_DOUBLE_EQ(SupportPercent(0.95), 95);
  EXPECT_DOUBLE_EQ(SupportPercent(87), 87);
  EXPECT_DOUBLE_EQ(SupportPercent(-1), -1);
}
