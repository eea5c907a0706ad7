// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/RecordingServices.h"
#include "trees/TreeTexts.h"

TEST(ExtractTree, TakesTheTextFromTheFirstBracketToTheFirstSemicolon) {
  EXPECT_EQ(ExtractTree("name ((A,B),C); rest (D,E);"), "((A,B),C);");
  EXPECT_EQ(ExtractTree("'a (tricky; name' ((A,B),C);"), "((A,B),C);");
  EXPECT_EQ(ExtractTree("(A,'x;y',B);"), "(A,'x;y',B);");
}

TEST(ExtractTree, CurlyAndTreeFormingSquareBracketsCountAsRoundOnes) {
  EXPECT_EQ(ExtractTree("x [[A,B],(C,D)];"), "((A,B),(C,D));");
  EXPECT_EQ(ExtractTree("{A,(B,C)};"), "(A,(B,C));");
  EXPECT_EQ(ExtractTree("x {A,[B,C],(D,E)};"), "(A,(B,C),(D,E));");
}

TEST(ExtractTree, CommentsAreKeptAndNotTakenForBrackets) {
  EXPECT_EQ(ExtractTree("tree t = [&R] ((A[&x=1]:0.1,B),C);"), "((A[&x=1]:0.1,B),C);");
}

TEST(ExtractTree, RefusesTextsWithoutATree) {
  for (const char* text :
       {"", "no tree here;", "((A,B),C)", "((A,B),C;", "(A,B));", "{A,B};", "('A,B);", "(A[,B);"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(ExtractTree(text).has_value());
  }
}

TEST(SplitTreeFile, OneRowPerSemicolonSplitAtTheFirstBracket) {
  const std::string file = "one ((A,B),C);\r\ntwo (D,\r\nE);\nthree [F,G];\x1a\r\n";
  EXPECT_EQ(
      SplitTreeFile(file),
      (std::vector<NamedTree>{{"one", "((A,B),C);"}, {"two", "(D,E);"}, {"three", "[F,G];"}}));
  EXPECT_EQ(SplitTreeFile("(A,B);junk"), (std::vector<NamedTree>{{"", "(A,B);"}, {"junk", ""}}));
  EXPECT_TRUE(SplitTreeFile(" \r\n").empty());
}

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace

TEST(ReadNexusTrees, TranslatesLeafNumbersOfARealFile) {
  const std::string text = ReadFile(std::string(NODRIX_TEST_DATA) + "/test_Nexus_input.nex");
  ASSERT_FALSE(text.empty());
  RecordingMessages messages;
  const std::vector<NamedTree> trees = ReadTreeFile(text, &messages);
  ASSERT_EQ(trees.size(), 3u);
  EXPECT_TRUE(messages.errors.empty());
  EXPECT_EQ(trees[0].name, "tree1");
  EXPECT_EQ(trees[0].text,
            "('isn''that [a] strange name?':0.000,('one should be punished, for (that)!':0.000,"
            "t1:0.000):0.000,('t2 the name':0.000,(t8:0.000,t9:0.000,(t6:0.000,(t7:0.000,"
            "t5:0.000):0.000):0.000):0.000):0.000);");
  // Supports 12, 33, 3 and 10 are above 1 and not written; 1 and 0.3 become 100 and 30.
  EXPECT_EQ(trees[2].text,
            "('isn''that [a] strange name?':0.000,('one should be punished, for (that)!':0.500,"
            "('t2 the name':0.300,(t8:1.200,t9:3.400,(t6:1.000,(t7:99.900,(t5:99.000,t1:0.980)"
            ":13.000):0.440)100:2.000):4.000)30:0.400):100.000);");
}

TEST(ReadNexusTrees, ReadsBackWhatWriteNexusWroteEvenForNumericNames) {
  TTree tree;
  ASSERT_TRUE(tree.ReadBrackets("((3:0.1,1:0.2):0.1,2:0.3);"));
  const std::string expected = tree.WriteBrackets(false);
  const std::vector<NamedTree> back = ReadTreeFile(tree.WriteNexus(), nullptr);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0], (NamedTree{"No_001", expected}));
}

TEST(ReadPag, ReadsBackWhatWritePagWrote) {
  TTree tree;
  ASSERT_TRUE(tree.ReadBrackets("((A:0.1,B:0.2):0.1,C:0.3);"));
  std::optional<TTree> back = ReadPag(tree.WritePag(), nullptr);
  ASSERT_TRUE(back.has_value());
  // Leaf rows come first, so C (row 3) is met under the root before the inner node (row 4).
  EXPECT_EQ(back->WriteBrackets(false), "(C:0.300,(A:0.100,B:0.200):0.100);");
  EXPECT_EQ(ReadTreeFile("\r\n" + tree.WritePag(), nullptr),
            (std::vector<NamedTree>{{"PAG", "(C:0.300,(A:0.100,B:0.200):0.100);"}}));
}

TEST(ReadPag, DamagedListsAreRefusedWithTheLine) {
  struct Case {
    const char* text;
    const char* error;
  };
  for (const Case& c :
       {Case{"#PAX\n", "PAG tree, line 1: expected \"#PAG\""},
        Case{"#PAG\nthree 0\n",
             "PAG tree, line 2: expected the number of leaves, found \"three 0\""},
        Case{"#PAG\n3 0\nA, 4, 0.1\n", "PAG tree, line 4: expected 3 leaves, found 1"},
        Case{"#PAG\n1 0\nA, 2, x\n", "PAG tree, line 3: branch length \"x\" is not a number"},
        Case{"#PAG\n1 0\nA 2 0.1\n", "PAG tree, line 3: expected \"child, parent, length\""},
        Case{"#PAG\n1 0\nA, 2, 0.1\n2, 3, 1\n4, 5, 1\n5, 4, 1\n",
             "PAG tree, line 7: the parent list holds a cycle"},
        Case{"#PAG\n1 0\nA, 2, 0.1\n2, 2, 1\n",
             "PAG tree, line 4: node listed twice or as its own parent"}}) {
    SCOPED_TRACE(c.text);
    RecordingMessages messages;
    EXPECT_FALSE(ReadPag(c.text, &messages).has_value());
    EXPECT_EQ(messages.errors, std::vector<std::string>{c.error});
  }
}

TEST(ReadTreeFile, EveryTruncationOfTheNexusSampleAndAParentListReadsWithoutCrashing) {
  const std::string nexus = ReadFile(std::string(NODRIX_TEST_DATA) + "/test_Nexus_input.nex");
  TTree tree;
  ASSERT_TRUE(tree.ReadBrackets("((A:0.1,B:0.2):0.1,C:0.3);"));
  const std::string pag = tree.WritePag();
  for (const std::string& text : {nexus, pag}) {
    for (std::size_t n = 0; n <= text.size(); ++n) {
      RecordingMessages messages;
      const std::vector<NamedTree> trees =
          ReadTreeFile(std::string_view(text).substr(0, n), &messages);
      EXPECT_LE(trees.size(), 3u);
    }
  }
  // A parent list cut inside its leaf rows says so.
  RecordingMessages messages;
  EXPECT_TRUE(ReadTreeFile(pag.substr(0, pag.find("B,")), &messages).empty());
  EXPECT_EQ(messages.errors,
            std::vector<std::string>{"PAG tree, line 4: expected 3 leaves, found 1"});
}
