// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/RecordingServices.h"
#include "trees/TreeTable.h"

TEST(TTreeTable, StartsWithTheExampleTree) {
  TTreeTable table;
  ASSERT_EQ(table.RowCount(), 1);
  EXPECT_EQ(table.Row(1).name, "Example");
  EXPECT_EQ(table.Row(1).text, "((A:0.1,B:0.2):0.1,C:0.3);");
  EXPECT_EQ(table.Status(), "Current tree: #1 Example");
}

TEST(TTreeTableAddTree, ReusesTheEmptyRowAndSizesTheDrawingByLeaves) {
  TTreeTable table;
  table.ClearTrees();
  EXPECT_FALSE(table.AddTree("bad", "(A,B)", true, 10));
  EXPECT_TRUE(table.AddTree("one", "x [A,(B,C)];", false, 10));
  ASSERT_EQ(table.RowCount(), 1);
  EXPECT_EQ(table.Row(1).text, "(A,(B,C));");
  EXPECT_EQ(table.Row(1).vSize, 30);
  EXPECT_EQ(table.Row(1).hSize, -1);
  EXPECT_TRUE(table.AddTree("two", "(D,E);", true, 10));
  EXPECT_EQ(table.RowCount(), 2);
  EXPECT_EQ(table.Current(), 2);
}

TEST(TTreeTableSelect, WrapsAroundAtBothEnds) {
  TTreeTable table;
  table.AddTree("two", "(D,E);", false, 10);
  table.AddTree("three", "(F,G);", false, 10);
  EXPECT_EQ(table.SelectTree(4), 1);
  EXPECT_EQ(table.SelectTree(0), 3);
  EXPECT_EQ(table.Status(), "Current tree: #3 three");
}

TEST(TTreeTableEdit, DeleteInsertAndAppendRows) {
  TTreeTable table;
  table.AddTree("two", "(D,E);", false, 10);
  table.AddTree("three", "(F,G);", false, 10);
  table.SelectTree(3);
  table.DeleteCurrent();
  EXPECT_EQ(table.RowCount(), 2);
  EXPECT_EQ(table.Current(), 2);
  table.SelectTree(1);
  table.InsertAtCurrent();
  ASSERT_EQ(table.RowCount(), 3);
  EXPECT_EQ(table.Row(1).name, "");
  EXPECT_EQ(table.Row(2).name, "Example");
  table.AppendEmpty();
  EXPECT_EQ(table.RowCount(), 4);
  // Deleting the only tree leaves one empty row.
  TTreeTable single;
  single.DeleteCurrent();
  ASSERT_EQ(single.RowCount(), 1);
  EXPECT_EQ(single.Row(1).text, "");
  EXPECT_EQ(single.Current(), 1);
}

TEST(TTreeTableFiles, SavedTreesOpenAgainInEveryForm) {
  TTreeTable table;
  table.AddTree("second tree", "((D:1,E:2):0.5,F:3);", false, 10);
  const auto newick = table.SaveText(TreeFileFormat::Newick);
  ASSERT_TRUE(newick);
  EXPECT_EQ(*newick, "Example ((A:0.1,B:0.2):0.1,C:0.3);\r\nsecond tree ((D:1,E:2):0.5,F:3);\r\n");
  TTreeTable back;
  back.LoadFile(*newick, nullptr);
  ASSERT_EQ(back.RowCount(), 2);
  EXPECT_EQ(back.Row(2).name, "second tree");
  EXPECT_EQ(back.Row(2).text, "((D:1,E:2):0.5,F:3);");

  table.SelectTree(2);
  const auto nexus = table.SaveText(TreeFileFormat::Nexus);
  ASSERT_TRUE(nexus);
  back.LoadFile(*nexus, nullptr);
  ASSERT_EQ(back.RowCount(), 1);
  EXPECT_EQ(back.Row(1).text, "((D:1.000,E:2.000):0.500,F:3.000);");
  const auto pag = table.SaveText(TreeFileFormat::Pag);
  ASSERT_TRUE(pag);
  back.LoadFile(*pag, nullptr);
  EXPECT_EQ(back.Row(1).text, "(F:3.000,(D:1.000,E:2.000):0.500);");
  // An unreadable current tree writes nothing in the two forms that need the tree.
  table.CurrentRow().text = "(D,E";
  EXPECT_FALSE(table.SaveText(TreeFileFormat::Pag));
  EXPECT_FALSE(table.SaveText(TreeFileFormat::Nexus));
}

TEST(TTreeTableBifurcate, AsksThenSplitsWithATenthOfTheShortestLength) {
  TTreeTable table;
  table.CurrentRow().text = "(A:1,B:2,C:0.5);";
  RecordingMessages no;
  EXPECT_FALSE(table.Bifurcate(no));
  EXPECT_EQ(no.questions, std::vector<std::string>{"Convert current tree to a bifurcating tree?"});
  EXPECT_EQ(table.CurrentRow().text, "(A:1,B:2,C:0.5);");
  RecordingMessages yes;
  yes.answers = {true};
  EXPECT_TRUE(table.Bifurcate(yes));
  EXPECT_EQ(table.CurrentRow().text, "(C:0.500,(A:0.950,B:1.950):0.050);");
  table.CurrentRow().text = "no tree";
  RecordingMessages bad;
  EXPECT_FALSE(table.Bifurcate(bad));
  EXPECT_EQ(bad.notices, std::vector<std::string>{"Error: can not create tree"});
}
