// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "IoTestFiles.h"
#include "io/FormatTables.h"
#include "io/ResultFormats.h"
#include "model/DataProjUnit.h"
#include "support/RecordingServices.h"

namespace {

std::string Data(const std::string& name) {
  return std::string(NODRIX_TEST_DATA) + "/" + name;
}

char Upper(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// One contig of A, C, a pad, G, T, A with two reads: r1 forward from column 1, r2 complemented
// and placed one base before the consensus (AF start 0); r3's PHD file does not fit its read.
const char* kAce =
    "AS 1 3\n\nCO Ctg 6 3 1 U\nAC*GTA\n\nBQ\n 10 20 30\n 40 50\n\n"
    "AF r1.ab1 U 1\nAF r2.ab1 C 0\nAF r3.ab1 U 2\n\n"
    "RD r1.ab1 6 0 0\nAC*GTA\n\nQA 2 5 1 6\n"
    "DS CHROMAT_FILE: r1.ab1 PHD_FILE: r1.ab1.phd.1 TIME: Tue Feb  3 2004\n\n"
    "RD r2.ab1 6 0 0\nTAC*GT\n\nQA 1 6 1 6\n"
    "DS CHROMAT_FILE: r2.ab1 PHD_FILE: r2.ab1.phd.1 TIME: Tue Feb  3 2004\n\n"
    "RD r3.ab1 4 0 0\nCGTA\n\nQA 1 4 1 4\n"
    "DS CHROMAT_FILE: r3.ab1 PHD_FILE: r3.ab1.phd.1 TIME: Tue Feb  3 2004\n";

std::string Phd(const std::string& name, const std::string& bases) {
  return "BEGIN_SEQUENCE " + name + "\n\nBEGIN_COMMENT\nEND_COMMENT\nBEGIN_DNA\n" + bases +
         "END_DNA\n\nEND_SEQUENCE\n";
}

}  // namespace

TEST(OpenAce, ContigsPadsQualitiesAndPhdTracesOfTheReads) {
  RecordingServices svc;
  TestFolder dir("ace_phd");
  const std::string path = dir.Write("a.ace", kAce);
  dir.Write("r1.ab1.phd.1", Phd("r1.ab1", "A 11 10\nC 12 20\nG 13 30\nT 14 40\nA 15 50\n"));
  // r2's read as sequenced (ACGTA), before the assembly complemented it to TACGT.
  dir.Write("r2.ab1.phd.1", Phd("r2.ab1", "A 1 10\nC 2 20\nG 3 30\nT 4 40\nA 5 50\n"));
  dir.Write("r3.ab1.phd.1", Phd("r3.ab1", "C 9 10\nG 9 20\nT 9 30\n"));  // one base short
  TDataProj proj(svc);
  OpenWindow window(proj);
  ASSERT_EQ(OpenAce(path, window, svc), 0);
  const TDataSeq& ds = *proj.DatasetAt(0);
  EXPECT_EQ(ds.dsName, "a.ace");
  ASSERT_EQ(ds.Count(), 4);
  const TSeq& ctg = *ds.SeqAt(1);
  EXPECT_EQ(ctg.letters, "AC*GTA");
  // The pad gets 0 and the five values go to A, C, G, T, A in order.
  EXPECT_EQ(ctg.quality, (std::vector<std::uint8_t>{10, 20, 0, 30, 40, 50}));
  // r2 starts one base before the consensus: the contig moves right by one.
  EXPECT_EQ(ctg.columnShift, 1);
  const TSeq& r1 = *ds.SeqAt(2);
  const TSeq& r2 = *ds.SeqAt(3);
  const TSeq& r3 = *ds.SeqAt(4);
  EXPECT_EQ(r1.columnShift, 1);
  EXPECT_EQ(r2.columnShift, 0);
  EXPECT_EQ(r3.columnShift, 2);
  EXPECT_TRUE(r2.reversed);
  EXPECT_FALSE(r2.plusStrand);
  EXPECT_EQ(r1.poorQualityLeft, 1);
  EXPECT_EQ(r1.poorQualityRight, 4);
  // PHD values laid on the padded read: the pad takes quality 0 and a peak halfway on.
  EXPECT_EQ(r1.quality, (std::vector<std::uint8_t>{11, 12, 0, 13, 14, 15}));
  EXPECT_EQ(r1.peakPos, (std::vector<std::int32_t>{10, 20, 25, 30, 40, 50}));
  // r2's PHD reverse-complemented first (TACGT), then padded like TAC*GT.
  EXPECT_EQ(r2.quality, (std::vector<std::uint8_t>{5, 4, 3, 0, 2, 1}));
  EXPECT_EQ(r2.peakPos, (std::vector<std::int32_t>{50, 40, 30, 25, 20, 10}));
  // Three PHD bases for four read letters: nothing is copied and the mismatch is reported.
  EXPECT_TRUE(r3.quality.empty());
  EXPECT_TRUE(r3.peakPos.empty());
  ASSERT_EQ(svc.messages.errors.size(), 1u);
  EXPECT_NE(svc.messages.errors[0].find("r3.ab1.phd.1"), std::string::npos);
}

TEST(OpenAce, ReadFoundThroughAPhdNameWithItsExtensionsRemoved) {
  RecordingServices svc;
  TestFolder dir("ace_names");
  // The DS line follows another read's letters: r1.ab1 is found by name alone.
  const std::string path = dir.Write(
      "b.ace",
      "CO C 3 2 1 U\nACG\n\nAF r1.ab1 U 1\nAF r2 U 1\nRD r1.ab1 3 0 0\nACG\n\nQA 1 3 1 3\n"
      "RD r2 3 0 0\nACG\n\nQA 1 3 1 3\nDS CHROMAT_FILE: r1.ab1 PHD_FILE: r1.ab1.phd.1 TIME: x\n");
  dir.Write("r1.ab1.phd.1", Phd("r1.ab1", "A 7 1\nC 8 2\nG 9 3\n"));
  TDataProj proj(svc);
  OpenWindow window(proj);
  ASSERT_EQ(OpenAce(path, window, svc), 0);
  EXPECT_EQ(proj.DatasetAt(0)->SeqAt(2)->quality, (std::vector<std::uint8_t>{7, 8, 9}));
  EXPECT_TRUE(proj.DatasetAt(0)->SeqAt(3)->quality.empty());
}

TEST(OpenAce, MissingFileGivesTheNoticeAndNoDataset) {
  RecordingServices svc;
  TDataProj proj(svc);
  OpenWindow window(proj);
  EXPECT_EQ(OpenAce("no/such.ace", window, svc), -1);
  EXPECT_EQ(svc.messages.notices, std::vector<std::string>{"Can not open file \r\nno/such.ace"});
  EXPECT_EQ(proj.DatasetCount(), 0);
}

// contig1.ace: two contigs and 16 reads (counted from its CO and AF lines); BL060c3-LR5.g.ab1
// starts 14 bases before Contig1 (AF -14) and BL060-LR3R.b.ab1 is placed twice in Contig2.
TEST(OpenAce, RealAssemblyLinesReadsUpWithTheirConsensus) {
  RecordingServices svc;
  TDataProj proj(svc);
  OpenWindow window(proj);
  ASSERT_TRUE(OpenDataFile(Data("contig1.ace"), kCodeAce, false, &window, svc));
  ASSERT_EQ(proj.DatasetCount(), 1);
  const TDataSeq& ds = *proj.DatasetAt(0);
  ASSERT_EQ(ds.Count(), 18);
  for (int r = 1; r <= ds.Count(); ++r) EXPECT_GE(ds.SeqAt(r)->columnShift, 0) << ds.NameAt(r);
  EXPECT_EQ(ds.SeqAt(1)->seqName, "Contig1");
  EXPECT_EQ(ds.SeqAt(1)->columnShift, 15);
  EXPECT_EQ(ds.SeqAt(2)->columnShift, 0);
  EXPECT_EQ(ds.SeqAt(3)->columnShift, 15);
  EXPECT_EQ(ds.SeqAt(4)->seqName, "Contig2");
  EXPECT_EQ(ds.SeqAt(4)->Length(), 3296);
  // The read placed twice: the first RD fills the first placement, the second the second.
  EXPECT_EQ(ds.SeqAt(10)->Length(), 874);
  EXPECT_EQ(ds.SeqAt(10)->columnShift, 1567);
  EXPECT_EQ(ds.SeqAt(12)->Length(), 857);
  EXPECT_EQ(ds.SeqAt(12)->columnShift, 1600);
  // Inside each Contig1 read's aligned range (its QA line) the letters are the consensus
  // letters of their columns except at these read positions, found by reading the file by
  // hand: LR5.g 70 t/A, 77 t/C, 98 */T, 106 g/*; LR0R.b 766 a/G, 780 n/G, 817 */A.
  struct Read {
    int row, alignFrom, alignTo;
    std::set<int> differences;
  };
  const TSeq& consensus = *ds.SeqAt(1);
  for (const Read& read : {Read{2, 22, 856, {70, 77, 98, 106}}, Read{3, 1, 856, {766, 780, 817}}}) {
    const TSeq& seq = *ds.SeqAt(read.row);
    SCOPED_TRACE(seq.seqName);
    std::set<int> found;
    for (int p = read.alignFrom; p <= read.alignTo; ++p) {
      const int c = seq.columnShift + p - consensus.columnShift;  // consensus position
      if (c < 1 || c > consensus.Length()) continue;
      if (Upper(seq.letters[p - 1]) != Upper(consensus.letters[c - 1])) found.insert(p);
    }
    EXPECT_EQ(found, read.differences);
  }
  // The DS lines name PHD files that are not there: one message for all 13.
  ASSERT_EQ(svc.messages.errors.size(), 1u);
  EXPECT_NE(svc.messages.errors[0].find("13 PHD files"), std::string::npos);
}
