// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/RecordingServices.h"
#include "trees/TreeUnit.h"

namespace {

std::string RoundTrip(std::string_view text) {
  TTree tree;
  if (!tree.ReadBrackets(text)) return "read failed";
  return tree.WriteBrackets(false);
}

const Node* Named(const TTree& tree, std::string_view name) {
  return tree.At(tree.FindByName(name));
}

}  // namespace

TEST(ReadBrackets, BuildsRootInnerNodesAndLeavesWithLengths) {
  TTree tree;
  ASSERT_TRUE(tree.ReadBrackets("((A:0.1,B:0.2):0.1,C:0.3);"));
  ASSERT_EQ(tree.Count(), 5);
  EXPECT_EQ(tree.LeafCount(), 3);
  EXPECT_EQ(tree.At(0)->name, "anc0");
  EXPECT_EQ(tree.At(1)->name, "anc1");
  EXPECT_EQ(tree.At(0)->Parent(), nullptr);
  EXPECT_EQ(Named(tree, "A")->Parent(), tree.At(1));
  EXPECT_EQ(Named(tree, "C")->Parent(), tree.At(0));
  EXPECT_DOUBLE_EQ(Named(tree, "B")->BranchLength(), 0.2);
  EXPECT_DOUBLE_EQ(tree.At(1)->BranchLength(), 0.1);
  EXPECT_EQ(tree.At(0)->Children(), (std::vector<Node*>{tree.At(1), tree.At(4)}));
}

TEST(WriteBrackets, WritesEveryLengthWithThreeDecimals) {
  EXPECT_EQ(RoundTrip("((A:0.1,B:0.2):0.1,C:0.3);"), "((A:0.100,B:0.200):0.100,C:0.300);");
  // No lengths read: every item still gets ":0.000".
  EXPECT_EQ(RoundTrip("(A,B,C);"), "(A:0.000,B:0.000,C:0.000);");
  // Below 0.001, and negative, lengths write as 0.000; 12.3456 rounds to 12.346.
  EXPECT_EQ(RoundTrip("(A:0.0004,B:-2,C:12.3456);"), "(A:0.000,B:0.000,C:12.346);");
  EXPECT_EQ(RoundTrip("(A:1e-2,B:+2.5E1,C:3);"), "(A:0.010,B:25.000,C:3.000);");
}

TEST(WriteBrackets, SupportInZeroToOneIsWrittenAsPercent) {
  TTree tree;
  ASSERT_TRUE(tree.ReadBrackets("((A,B)0.9:0.1,C);"));
  EXPECT_DOUBLE_EQ(tree.At(1)->support, 0.9);
  EXPECT_EQ(tree.WriteBrackets(false), "((A:0.000,B:0.000)90:0.100,C:0.000);");
  // 0.125 * 100 = 12.5 rounds half to even: 12.
  EXPECT_EQ(RoundTrip("((A,B)0.125:0.1,C);"), "((A:0.000,B:0.000)12:0.100,C:0.000);");
  // A support above 1 is kept but not written.
  TTree big;
  ASSERT_TRUE(big.ReadBrackets("((A,B)95:0.1,C);"));
  EXPECT_DOUBLE_EQ(big.At(1)->support, 95);
  EXPECT_EQ(big.WriteBrackets(false), "((A:0.000,B:0.000):0.100,C:0.000);");
}

TEST(ReadBrackets, InnerLabelsThatAreNoNumberNameTheNodeAndWriteBack) {
  TTree tree;
  ASSERT_TRUE(tree.ReadBrackets("((A,B)Primates:0.1,(C,D)'New World':0.2);"));
  EXPECT_EQ(tree.At(1)->name, "Primates");
  EXPECT_EQ(tree.WriteBrackets(false),
            "((A:0.000,B:0.000)Primates:0.100,(C:0.000,D:0.000)'New World':0.200);");
}

TEST(ReadBrackets, RootLabelAndLengthAndAnythingAfterTheRootAreIgnored) {
  EXPECT_EQ(RoundTrip("((A,B),C)root:5.0;"), "((A:0.000,B:0.000):0.000,C:0.000);");
  EXPECT_EQ(RoundTrip("((A,B),C)0.7:5.0 (D,E);"), "((A:0.000,B:0.000):0.000,C:0.000);");
  EXPECT_EQ(RoundTrip("tree one = (A,B);"), "(A:0.000,B:0.000);");
}

TEST(ReadBrackets, BlanksAndLineBreaksAreDroppedAndHashAnnotationsIgnored) {
  EXPECT_EQ(RoundTrip("( Homo sapiens :0.1 ,\r\n Pan\n troglodytes:0.2, C);"),
            "(Homosapiens:0.100,Pantroglodytes:0.200,C:0.000);");
  EXPECT_EQ(RoundTrip("(A#H1:0.5,B,C);"), "(A:0.500,B:0.000,C:0.000);");
  // Commas between bracketed siblings are optional; text after ")" is that node's label.
  EXPECT_EQ(RoundTrip("((A,B)(C,D));"), "((A:0.000,B:0.000):0.000,(C:0.000,D:0.000):0.000);");
  EXPECT_EQ(RoundTrip("((A)(B)C);"), "((A:0.000):0.000,(B:0.000)C:0.000);");
  // CR LF reads as LF.
  EXPECT_EQ(RoundTrip("((A:1,\r\nB:2)\r\n:3,C);"), RoundTrip("((A:1,\nB:2)\n:3,C);"));
}

TEST(ReadBrackets, QuotedLabelsKeepBlanksDelimitersAndDoubledQuotes) {
  TTree tree;
  ASSERT_TRUE(tree.ReadBrackets("('Homo sapiens':0.1,'O''Brien, J. (1999)',B);"));
  EXPECT_NE(Named(tree, "Homo sapiens"), nullptr);
  ASSERT_NE(Named(tree, "O'Brien, J. (1999)"), nullptr);
  EXPECT_DOUBLE_EQ(Named(tree, "Homo sapiens")->BranchLength(), 0.1);
  const std::string written = tree.WriteBrackets(false);
  EXPECT_EQ(written, "('Homo sapiens':0.100,'O''Brien, J. (1999)':0.000,B:0.000);");
  EXPECT_EQ(RoundTrip(written), written);
  // A quoted number after ")" is a name, not a support.
  TTree q;
  ASSERT_TRUE(q.ReadBrackets("((A,B)'95',C);"));
  EXPECT_EQ(q.At(1)->name, "95");
  EXPECT_DOUBLE_EQ(q.At(1)->support, -1);
  EXPECT_EQ(q.WriteBrackets(false), "((A:0.000,B:0.000)'95':0.000,C:0.000);");
}

TEST(ReadBrackets, CommentsAreSkippedAnywhere) {
  EXPECT_EQ(RoundTrip("[&R] ((A[first; leaf]:0.1[&length],B:0.2)[c(]0.5:0.3,C[[nested]]);"),
            "((A:0.100,B:0.200)50:0.300,C:0.000);");
}

TEST(ReadBrackets, DamagedTextsAreTreeErrorsWithAReason) {
  struct Case {
    const char* text;
    const char* reason;
  };
  for (const Case& c :
       {Case{"", "no \"(\" in the text"}, Case{"A,B;", "no \"(\" in the text"},
        Case{"(A,B)", "no \";\" after the tree"}, Case{"((A,B),C;", "2 \"(\" but 1 \")\""},
        Case{"('A,B);", "quoted label opened at character 2 is not closed"},
        Case{"(A[,B);", "comment opened at character 3 is not closed"}}) {
    SCOPED_TRACE(c.text);
    RecordingMessages messages;
    TTree tree;
    std::string why;
    EXPECT_FALSE(tree.ReadBrackets(c.text, &messages, &why));
    EXPECT_EQ(why, c.reason);
    EXPECT_EQ(messages.notices, std::vector<std::string>{"Tree Error"});
    EXPECT_EQ(messages.errors, std::vector<std::string>{std::string("Tree Error: ") + c.reason});
  }
}

TEST(ReadBrackets, NonNumericLengthIsReportedAndIgnored) {
  RecordingMessages messages;
  TTree tree;
  ASSERT_TRUE(tree.ReadBrackets("(A:x1,B:0.2,C);", &messages));
  EXPECT_DOUBLE_EQ(Named(tree, "A")->BranchLength(), 0);
  EXPECT_EQ(messages.errors,
            std::vector<std::string>{"Tree: branch length \"x1\" is not a number; ignored"});
}

TEST(ReadBrackets, EveryTruncationOfAValidTreeReadsWithoutCrashing) {
  const std::string text = "[&R]((A:0.1,'B c':0.2)0.9:0.1,(D[x],E)lab:2e-1,F#1:3);";
  for (std::size_t n = 0; n <= text.size(); ++n) {
    TTree tree;
    RecordingMessages messages;
    const bool ok = tree.ReadBrackets(std::string_view(text).substr(0, n), &messages);
    if (n < text.size()) EXPECT_FALSE(ok) << n;
    if (ok) EXPECT_EQ(tree.WriteBrackets(false).back(), ';');
  }
}

TEST(ReadBrackets, DeepTreesNeedNoDeepStack) {
  const int depth = 50000;
  const std::string text = std::string(depth, '(') + "A" + std::string(depth, ')') + ";";
  TTree tree;
  ASSERT_TRUE(tree.ReadBrackets(text));
  EXPECT_EQ(tree.Count(), depth + 1);
  const std::string written = tree.WriteBrackets(false);
  // "(" x depth, "A", then ":0.000" and ")" per level, ";".
  EXPECT_EQ(written.size(), 8u * depth + 2);
}

TEST(WriteBrackets, SingleNodeAndRootErrors) {
  TTree empty;
  EXPECT_EQ(empty.WriteBrackets(false), "Error: no root node");
  TTree one;
  one.At(one.NewNode("Alone", 0, 0))->isInternal = false;
  EXPECT_EQ(one.WriteBrackets(false), "Alone;");
  one.NewNode("Other", 0, 0);
  EXPECT_EQ(one.WriteBrackets(false), "Error: more than one root");
}

TEST(WriteBrackets, IdsReplaceLeafNamesOnlyWhenPositive) {
  TTree tree;
  ASSERT_TRUE(tree.ReadBrackets("(A,B,C);"));
  tree.At(1)->translateId = 7;
  tree.At(2)->translateId = 0;
  EXPECT_EQ(tree.WriteBrackets(true), "(7:0.000,B:0.000,C:0.000);");
  EXPECT_EQ(tree.WriteBrackets(false), "(A:0.000,B:0.000,C:0.000);");
}
