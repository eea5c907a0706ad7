// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/TextHelpers.h"

#include <gtest/gtest.h>

#include <vector>

TEST(TrimSeparators, TrimsBothEndsButKeepsOneCharacterUnlessItIsASeparator) {
  struct Case {
    const char* in;
    const char* out;
  };
  for (const Case& c :
       {Case{" \t;=abc; \r\n", "abc"}, Case{"a b", "a b"}, Case{";", ""}, Case{"=", ""},
        Case{"  ;", ""}, Case{"\t", "\t"}, Case{"x", "x"}, Case{"", ""}, Case{"==x==", "x"}}) {
    SCOPED_TRACE(c.in);
    std::string s = c.in;
    TrimSeparators(s);
    EXPECT_EQ(s, c.out);
  }
}

TEST(NextToken, TakesWordsUpToTheNextSeparatorAndDropsThatDelimiter) {
  std::string s = "  DIMENSIONS NTAX=9 nchar=48;";
  std::vector<std::string> tokens;
  for (std::string t = NextToken(s); !t.empty(); t = NextToken(s)) tokens.push_back(t);
  EXPECT_EQ(tokens, (std::vector<std::string>{"DIMENSIONS", "NTAX", "9", "nchar", "48"}));
  EXPECT_EQ(s, "");
}

TEST(StripLineBreaks, RemovesCrLfAndEndOfFileMarksOnly) {
  std::string s = "A\r\nC\x1aG T\t";
  StripLineBreaks(s);
  EXPECT_EQ(s, "ACG T\t");
}

TEST(LooksLikeNucleotides, NeedsPureBasesOrMoreThanFourToOne) {
  EXPECT_TRUE(LooksLikeNucleotides("acgtACGT"));
  EXPECT_FALSE(LooksLikeNucleotides(""));
  EXPECT_FALSE(LooksLikeNucleotides("NNNN"));
  EXPECT_FALSE(LooksLikeNucleotides("ACGTACGT--"));  // 8 to 2 is exactly four
  EXPECT_TRUE(LooksLikeNucleotides("ACGTACGTA-N"));  // 9 to 2
}

TEST(FileNamePieces, NameAfterLastSlashAndPathBeforeLastDot) {
  EXPECT_EQ(FileNameOnly("C:\\data\\run.1/x.fas"), "x.fas");
  EXPECT_EQ(FileNameOnly("plain"), "plain");
  EXPECT_EQ(PathWithoutExtension("/d/run.1/x.fas"), "/d/run.1/x");
  EXPECT_EQ(PathWithoutExtension("noext"), "noext");
}

TEST(ParseInt, AcceptsWholeNumbersOnly) {
  EXPECT_EQ(ParseInt("42"), 42);
  EXPECT_EQ(ParseInt("+7"), 7);
  EXPECT_EQ(ParseInt("-3"), -3);
  EXPECT_FALSE(ParseInt("4x").has_value());
  EXPECT_FALSE(ParseInt("").has_value());
  EXPECT_FALSE(ParseInt("99999999999").has_value());
}

TEST(LineReader, CrLfAndLfEndLinesAlikeAndEndOfFileMarksVanish) {
  LineReader reader("a\r\nb\x1a\n\nlast");
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.Next(line)) lines.emplace_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "", "last"}));
  EXPECT_EQ(reader.LineNumber(), 4);
}
