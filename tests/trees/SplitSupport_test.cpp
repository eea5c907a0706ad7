// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "trees/SplitSupport.h"

namespace {

TTree Read(std::string_view text) {
  TTree tree;
  EXPECT_TRUE(tree.ReadBrackets(text));
  return tree;
}

}  // namespace

TEST(AssignSplitSupport, ShareOfReplicatesHoldingTheSameBipartition) {
  TTree tree = Read("((A,B),C,(D,E));");
  // Splits AB|CDE and DE|ABC. The second replicate is rooted elsewhere but holds AB|CDE
  // (as the complement CDE); the third holds DE|ABC only; the last lacks leaf E.
  const TTree r1 = Read("((B,A),C,(E,D));");
  const TTree r2 = Read("(((C,D),E),A,B);");
  const TTree r3 = Read("((A,C),B,(D,E));");
  const TTree r4 = Read("((A,B),C,D);");
  AssignSplitSupport(tree, {&r1, &r2, &r3, &r4});
  EXPECT_DOUBLE_EQ(tree.At(1)->support, 2.0 / 4);  // (A,B)
  EXPECT_DOUBLE_EQ(tree.At(5)->support, 2.0 / 4);  // (D,E)
  EXPECT_DOUBLE_EQ(tree.At(0)->support, -1);       // the root has no edge above
  EXPECT_EQ(tree.WriteBrackets(false),
            "((A:0.000,B:0.000)50:0.000,C:0.000,(D:0.000,E:0.000)50:0.000);");
}

TEST(AssignSplitSupport, NoReplicatesChangeNothing) {
  TTree tree = Read("((A,B)0.7,C,D);");
  AssignSplitSupport(tree, {});
  EXPECT_DOUBLE_EQ(tree.At(1)->support, 0.7);
}
