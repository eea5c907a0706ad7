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

// Names glued to their letters in PHYLIP's 10-character field, and names holding a blank:
// only the strict field gives every row the 4 letters the first line announces.
TEST(OpenPhylip, StrictNameFieldIsTakenWhenOnlyItFitsTheLength) {
  RecordingServices svc;
  EXPECT_EQ(ReadPhylip("2 4\nSeq1AAAAAAACGT\nSeq2AAAAAAACGA\n", svc),
            (Rows{{"Seq1AAAAAA", "ACGT"}, {"Seq2AAAAAA", "ACGA"}}));
  EXPECT_EQ(ReadPhylip("2 6\nHomo sapieACG TAA\nPan panisc\nACGTAC\n", svc),
            (Rows{{"Homo sapie", "ACGTAA"}, {"Pan panisc", "ACGTAC"}}));
  // Where blank-ended names fit, they stay: a 12-character name is not cut.
  EXPECT_EQ(ReadPhylip("1 4\nLongNameOf12 ACGT\n", svc), (Rows{{"LongNameOf12", "ACGT"}}));
  EXPECT_EQ(MessageCount(svc), 0u);
}

// The layouts worked out by hand from PHYLIP's documentation: a 10-character name field
// followed by the letters, every row as long as the first line says.
TEST(PhylipText, NamesInATenCharacterFieldMadeUniqueAfterCutting) {
  RecordingServices svc;
  TDataSeq ds(svc);
  Fill(ds, {{"abc", "ACGT"},
            {"Population_A_01", "ACGA"},
            {"Population_A_02", "AC"},
            {"two words(x)", "GG"}});
  ds.SeqAt(3)->columnShift = 1;
  std::vector<std::string> clashes;
  EXPECT_EQ(PhylipText(ds, &clashes),
            "4 4\r\nabc       ACGT\r\nPopulationACGA\r\nPopulati~1-AC-\r\n"
            "two_words_GG--\r\n");
  EXPECT_EQ(clashes, Lines("Population_A_02 -> Populati~1"));
}

TEST(SavePhylip, NamesTheClashesAndThePaddingWithoutAsking) {
  RecordingServices svc;
  TDataSeq ds(svc);
  Fill(ds, {{"sample_0001", "ACGT"}, {"sample_0002", "AC"}});
  const std::string path = std::string(NODRIX_BINARY_DIR) + "/phylip_save_test.phy";
  EXPECT_TRUE(SavePhylip(path, ds, svc));
  EXPECT_TRUE(svc.messages.questions.empty());
  EXPECT_EQ(
      svc.messages.notices,
      (std::vector<std::string>{
          "Names cut to 10 characters for PHYLIP clashed and were made unique:\r\n"
          "sample_0002 -> sample_0~1",
          "Warning: sequences are of different lengths!\r\nSequence length at the top of the "
          "file will show maximal length.\r\nShorter sequences end in '-' up to that length."}));
}

TEST(PhylipLinesText, NamesPaddedToTenOrCutToNinePlusLast) {
  RecordingServices svc;
  TDataSeq ds(svc);
  Fill(ds, {{"abc", "ACGT"}, {"ABCDEFGHIJKL", "AC"}, {"two words", "GG"}});
  ds.SeqAt(2)->columnShift = 1;
  EXPECT_EQ(PhylipLinesText(ds, true),
            "3 4\r\nabc       \r\nACGT\r\n\r\nABCDEFGHIL\r\n-AC\r\n\r\ntwo_words \r\nGG\r\n\r\n");
  EXPECT_EQ(PhylipLinesText(ds, false).substr(25, 14), "ABCDEFGHIJKL\r\n");
}

TEST(SavePhylipLines, AsksAboutTruncationAndWarnsAboutUnequalLengths) {
  RecordingServices svc;
  TDataSeq ds(svc);
  Fill(ds, {{"a", "ACGT"}, {"b", "AC"}});
  svc.messages.answers = {true};
  const std::string path = std::string(NODRIX_BINARY_DIR) + "/phylip_lines_save_test.phy";
  EXPECT_TRUE(SavePhylipLines(path, ds, svc));
  EXPECT_EQ(svc.messages.questions, Lines("Truncate sequence names to 10 symbols?"));
  EXPECT_EQ(svc.messages.notices,
            (std::vector<std::string>{"Warning: sequences are of different lengths!\r\nSequence "
                                      "length at the top of the file will show maximal length."}));
}
