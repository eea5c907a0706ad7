// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "io/TextFormatSupport.h"

namespace {
Rows ReadPhylip(const std::string& text, RecordingServices& svc, bool* ok = nullptr) {
  TDataSeq ds(svc);
  ReadContext ctx(svc, "x.phy");
  const bool read = OpenPhylip(MemorySource(text), ctx, ds);
  if (ok) *ok = read;
  return RowsOf(ds);
}
}  // namespace

TEST(OpenPhylip, InterleavedBlocksAppendInRowOrder) {
  RecordingServices svc;
  const Rows expected = {{"a", "ACGTAAAA"}, {"b", "TTGGCCCC"}};
  // With blank lines between blocks, without them, and flagged "I" on the first line.
  for (const char* text :
       {"2 8\na ACGT\nb TTGG\n\nAAAA\nCCCC\n", "2 8\na ACGT\nb TTGG\nAAAA\nCCCC\n",
        "2 8 I\na AC GT\nb TTGG\n  AAAA\n  CCCC\n"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ReadPhylip(text, svc), expected);
  }
  EXPECT_EQ(MessageCount(svc), 0u);
}

TEST(OpenPhylip, SequentialSequencesRunOverSeveralLines) {
  RecordingServices svc;
  // The writer's own layout: name alone on its line, letters below, a blank line after.
  EXPECT_EQ(ReadPhylip("2 8\na         \nACGT\nAAAA\n\nb\nTTGGCCCC\n", svc),
            (Rows{{"a", "ACGTAAAA"}, {"b", "TTGGCCCC"}}));
  EXPECT_EQ(MessageCount(svc), 0u);
}

TEST(OpenPhylip, BadFirstLineReadsNothingAndNamesTheLine) {
  for (const char* text : {"3 x\na ACG\n", "0 5\n", "", "seqs\n"}) {
    SCOPED_TRACE(text);
    RecordingServices svc;
    bool ok = true;
    EXPECT_TRUE(ReadPhylip(text, svc, &ok).empty());
    EXPECT_FALSE(ok);
    ASSERT_EQ(svc.messages.errors.size(), 1u);
    EXPECT_EQ(svc.messages.errors[0].rfind("x.phy", 0), 0u) << svc.messages.errors[0];
  }
}

TEST(OpenPhylip, MissingSequencesAndShortLettersAreReported) {
  RecordingServices svc;
  EXPECT_EQ(ReadPhylip("3 6\na ACGTAC\nb ACG\n", svc), (Rows{{"a", "ACGTAC"}, {"b", "ACG"}}));
  EXPECT_EQ(
      svc.messages.errors,
      (std::vector<std::string>{"x.phy, line 3: sequence b has 3 letters, the first line says 6",
                                "x.phy: the first line announces 3 sequences, the file holds 2"}));
}

TEST(PhylipText, NamesPaddedToTenOrCutToNinePlusLast) {
  RecordingServices svc;
  TDataSeq ds(svc);
  Fill(ds, {{"abc", "ACGT"}, {"ABCDEFGHIJKL", "AC"}, {"two words", "GG"}});
  ds.SeqAt(2)->columnShift = 1;
  EXPECT_EQ(PhylipText(ds, true),
            "3 4\r\nabc       \r\nACGT\r\n\r\nABCDEFGHIL\r\n-AC\r\n\r\ntwo_words \r\nGG\r\n\r\n");
  EXPECT_EQ(PhylipText(ds, false).substr(25, 14), "ABCDEFGHIJKL\r\n");
}

TEST(SavePhylip, AsksAboutTruncationAndWarnsAboutUnequalLengths) {
  RecordingServices svc;
  TDataSeq ds(svc);
  Fill(ds, {{"a", "ACGT"}, {"b", "AC"}});
  svc.messages.answers = {true};
  const std::string path = std::string(NODRIX_BINARY_DIR) + "/phylip_save_test.phy";
  EXPECT_TRUE(SavePhylip(path, ds, svc));
  EXPECT_EQ(svc.messages.questions, Lines("Truncate sequence names to 10 symbols?"));
  EXPECT_EQ(svc.messages.notices,
            (std::vector<std::string>{"Warning: sequences are of different lengths!\r\nSequence "
                                      "length at the top of the file will show maximal length."}));
}
