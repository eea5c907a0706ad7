// SPDX-License-Identifier: GPL-3.0-or-later
// Clustal, NBRF/PIR, plain text and last-resort readers.
#include <gtest/gtest.h>

#include "io/TextFormatSupport.h"

namespace {
template <typename Reader>
Rows Read(Reader reader, const std::string& text, RecordingServices& svc, bool* ok = nullptr) {
  TDataSeq ds(svc);
  ReadContext ctx(svc, "x.txt");
  const bool read = reader(MemorySource(text), ctx, ds);
  if (ok) *ok = read;
  return RowsOf(ds);
}
}  // namespace

TEST(OpenClustal, ResidueCountsAndGroupBlanksAreNotLetters) {
  RecordingServices svc;
  EXPECT_EQ(Read(OpenClustal,
                 "CLUSTAL O(1.2.4) multiple sequence alignment\n\n"
                 "s1      acgta cgt 8\ns2      AC-TA CGT 7\n        ** ** ***\n\n"
                 "s1      TTT 11\ns2      TT- 9\n",
                 svc),
            (Rows{{"s1", "ACGTACGTTTT"}, {"s2", "AC-TACGTTT-"}}));
  EXPECT_EQ(MessageCount(svc), 0u);
}

TEST(OpenClustal, LaterBlocksAppendOnlyToTheExactName) {
  RecordingServices svc;
  EXPECT_EQ(Read(OpenClustal,
                 "CLUSTAL W\n\nseqA ACGT\nseqB ACGT\n\nseqa TTTT\nseqA GGGG\nseqB CCCC\n", svc),
            (Rows{{"seqA", "ACGTGGGG"}, {"seqB", "ACGTCCCC"}}));
}

TEST(OpenClustal, WithoutClustalLineNothingIsRead) {
  RecordingServices svc;
  bool ok = true;
  EXPECT_TRUE(Read(OpenClustal, "MUSCLE (3.8)\n\ns1 ACGT\n", svc, &ok).empty());
  EXPECT_FALSE(ok);
  EXPECT_EQ(svc.messages.errors.size(), 1u);
}

// The first lines MUSCLE 3.8 and Kalign 2.0 write above their Clustal-layout alignments.
TEST(OpenClustal, OtherAlignersHeadersOpenTheAlignment) {
  for (const char* header :
       {"MUSCLE (3.8) multiple sequence alignment", "Kalign (2.0) alignment in ClustalW format"}) {
    SCOPED_TRACE(header);
    RecordingServices svc;
    EXPECT_EQ(Read(OpenClustal, std::string(header) + "\n\n\ns1  ACGT\ns2  AC-T\n    ** *\n", svc),
              (Rows{{"s1", "ACGT"}, {"s2", "AC-T"}}));
    EXPECT_EQ(MessageCount(svc), 0u);
  }
}

TEST(OpenPir, DescriptionLineIsNeverPartOfTheLetters) {
  RecordingServices svc;
  EXPECT_EQ(Read(OpenPir,
                 ">P1;prot1\nACGT description that looks like letters\nMKV LLA\nGG*\n"
                 ">DL;dna2\n\nACGT*\n>plain\ndesc\nTT*\n",
                 svc),
            (Rows{{"prot1", "MKVLLAGG"}, {"dna2", "ACGT"}, {"plain", "TT"}}));
  EXPECT_EQ(MessageCount(svc), 0u);
}

TEST(OpenPir, CutShortEntriesAreReportedWithTheirLine) {
  RecordingServices svc;
  EXPECT_EQ(Read(OpenPir, ">P1;a\nd\nACG*\n>P1;b\nd\nAC\n>P1;c\n", svc),
            (Rows{{"a", "ACG"}, {"b", "AC"}}));
  EXPECT_EQ(svc.messages.errors,
            (std::vector<std::string>{
                "x.txt, line 4: entry b has no closing '*'; the file may be cut short",
                "x.txt, line 7: entry c ends before its description line; left out"}));
}

TEST(OpenPir, FileWithoutEntriesIsRefused) {
  RecordingServices svc;
  bool ok = true;
  EXPECT_TRUE(Read(OpenPir, "ACGT\n", svc, &ok).empty());
  EXPECT_FALSE(ok);
  EXPECT_EQ(svc.messages.notices, Lines("Wrong (non NBRF/PIR) file format"));
}

TEST(OpenPlainText, LineBreaksAreNeverLetters) {
  RecordingServices svc;
  ReadContext ctx(svc, "C:\\seqs\\gene.v2.txt");
  const auto seq = OpenPlainText(MemorySource("ACGT\r\nTT GG\n\nCC\n"), ctx);
  ASSERT_NE(seq, nullptr);
  EXPECT_EQ(seq->letters, "ACGTTT GGCC");
  EXPECT_EQ(seq->seqName, "gene.v2");
  EXPECT_EQ(seq->sourceFormat, kSourcePlainText);
}

TEST(OpenPlainText, DnasisHeaderNeedsItsTrailingBlank) {
  RecordingServices svc;
  ReadContext ctx(svc, "d.txt");
  EXPECT_EQ(OpenPlainText(MemorySource("DNASIS \nline2\nline3\nACGT\n"), ctx)->letters, "ACGT");
  EXPECT_EQ(OpenPlainText(MemorySource("DNASIS\nACGT\n"), ctx)->letters, "DNASISACGT");
  EXPECT_EQ(OpenPlainText(MemorySource(""), ctx), nullptr);
  EXPECT_EQ(svc.messages.errors, Lines("d.txt: the file holds no letters"));
}

TEST(OpenUnknownText, LongTextLinesDoNotNameTheNextSequence) {
  RecordingServices svc;
  const std::string longText(50, 'x');
  EXPECT_EQ(Read(OpenUnknownText, longText + "\nACGTACGT\nname here\nTTTT\nGGGG\n", svc),
            (Rows{{"seq1", "ACGTACGT"}, {"name here", "TTTT"}, {"seq3", "GGGG"}}));
}

TEST(OpenClustal, ProteinGroupsWithoutBaseLettersAreStillLetters) {
  RecordingServices svc;
  EXPECT_EQ(Read(OpenClustal,
                 "CLUSTAL W\n\np1 MKWYV 5\np2 MKW-- 3\n   **:\n\np1 V 6\np2 - 3\n    \n", svc),
            (Rows{{"p1", "MKWYVV"}, {"p2", "MKW---"}}));
}
