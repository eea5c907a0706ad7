// SPDX-License-Identifier: GPL-3.0-or-later
// SAM: CIGAR placement, reads on their references, opened insertion columns, the reads of one
// reference and the column-type test. Expected layouts are worked out by hand from the CIGAR.
#include <gtest/gtest.h>

#include "io/ReadFormats.h"
#include "io/TextFormatSupport.h"

namespace {

// One SAM record; fields 5, 8, 9 and 11 are filler.
std::string Record(const std::string& name, int flag, const std::string& ref, int pos,
                   const std::string& cigar, const std::string& seq,
                   const std::string& quality = "*", const std::string& rnext = "*") {
  return name + "\t" + std::to_string(flag) + "\t" + ref + "\t" + std::to_string(pos) + "\t60\t" +
         cigar + "\t" + rnext + "\t0\t0\t" + seq + "\t" + quality + "\n";
}

TSeq ReadWith(const std::string& cigar, const std::string& seq) {
  TSeq read("r", seq);
  (void)ApplyCigar(cigar, read);
  return read;
}

// A project holding one dataset per reference, each with its reference as the only row.
void AddReference(TDataProj& proj, const std::string& name, const std::string& letters) {
  auto ds = proj.MakeDataset();
  ds->dsName = name;
  auto seq = std::make_unique<TSeq>(name, letters);
  (void)ds->AddSeq(seq, false);
  proj.AddDataset(ds, false);
}

int ReadSam(const std::string& text, TDataProj& proj, RecordingServices& svc,
            bool referencesOnly = false) {
  ReadContext ctx(svc, "x.sam");
  return OpenSam(MemorySource(text), ctx, proj, referencesOnly);
}

// Column layout of a row: its shift as leading blanks, then its letters.
std::string Layout(const TSeq& s) {
  return std::string(static_cast<std::size_t>(s.columnShift), ' ') + s.letters;
}

}  // namespace

TEST(ApplyCigar, SoftClipsMarkPoorQualityAndDeletionsBecomeGapLetters) {
  const TSeq clipped = ReadWith("5S20M", std::string(25, 'A'));
  EXPECT_EQ(clipped.poorQualityLeft, 5);
  // 5S10M2D5M: the gaps stand before letter 16, the first after the 15 consumed.
  EXPECT_EQ(ReadWith("5S10M2D5M", "AAAAACCCCCCCCCCGGGGG").letters, "AAAAACCCCCCCCCC--GGGGG");
  // A final clip: good quality ends at the last aligned letter (10 + the 2 gap letters).
  const TSeq tail = ReadWith("4M2D6M3S", "ACGTACGTACGTA");
  EXPECT_EQ(tail.letters, "ACGT--ACGTACGTA");
  EXPECT_EQ(tail.poorQualityRight, 12);
  // Lower-case operations count; a letter without a count, H and unknown ones do not.
  EXPECT_EQ(ReadWith("2m1dH3Q2m", "AAGG").letters, "AA-GG");
}

TEST(ApplyCigar, SequenceMatchAndMismatchPlaceLettersLikeM) {
  // "=" and "X" consume columns: the deletion comes after all ten letters, not at the start.
  EXPECT_EQ(ReadWith("5=1X4=2D3M", "AAAAACGGGGTTT").letters, "AAAAACGGGG--TTT");
  // A reference skip (N) keeps the letters after it in their columns, as a deletion does.
  EXPECT_EQ(ReadWith("3M2N2M", "AAACC").letters, "AAA--CC");
}

TEST(ApplyCigar, DeletionAfterInsertionFollowsTheInsertedLetters) {
  // 3M2I2D3M1I2M: the gaps go after AAA and the inserted CC; the insertions are recorded at
  // reference columns 3 and 3 + 2 + 3 = 8, not counting inserted letters.
  TSeq read("r", "AAACCGGGTAA");
  EXPECT_TRUE(ApplyCigar("3M2I2D3M1I2M", read));
  EXPECT_EQ(read.letters, "AAACC--GGGTAA");
  EXPECT_EQ(read.insertions, (std::vector<std::pair<std::int32_t, std::int32_t>>{{3, 2}, {8, 1}}));
  // An insertion longer than the letters left is cut to them.
  TSeq shortRead("r", "AAC");
  EXPECT_TRUE(ApplyCigar("2M5I", shortRead));
  EXPECT_EQ(shortRead.insertions, (std::vector<std::pair<std::int32_t, std::int32_t>>{{2, 1}}));
}

TEST(OpenSam, ClippedReadsArePlacedByTheirFirstAlignedLetter) {
  RecordingServices svc;
  TDataProj proj(svc);
  const std::string text = "\n@HD\tVN:1.6\n" +
                           Record("a", 0, "chr", 100, "5S20M", std::string(25, 'A')) +
                           Record("b", 0, "chr", 1, "3S10M", "GGGACGTACGTAC");
  EXPECT_EQ(ReadSam(text, proj, svc), 2);
  const TDataSeq& ds = *proj.DatasetAt(0);
  EXPECT_EQ(ds.dsName, "chr");
  // 5S20M at POS 100: letter 6 (the first aligned) stands in column 6 + 94 = 100.
  EXPECT_EQ(ds.SeqAt(1)->columnShift, 94);
  EXPECT_EQ(ds.SeqAt(1)->poorQualityLeft, 5);
  EXPECT_EQ(ds.SeqAt(1)->seqComment, "5S20M");
  // 3S10M at POS 1: the clipped letters would stand in columns -2..0 and are dropped.
  EXPECT_EQ(ds.SeqAt(2)->columnShift, 0);
  EXPECT_EQ(ds.SeqAt(2)->letters, "ACGTACGTAC");
  EXPECT_EQ(ds.SeqAt(2)->seqId, 2);
}

TEST(OpenSam, AbsentReferenceMakesADatasetUnlessReferencesOnly) {
  const std::string text =
      Record("a", 0, "chr1", 3, "4M", "ACGT") + Record("b", 0, "chrX", 1, "4M", "TTTT");
  for (const bool referencesOnly : {false, true}) {
    SCOPED_TRACE(referencesOnly);
    RecordingServices svc;
    TDataProj proj(svc);
    AddReference(proj, "chr1", "GGACGTGG");
    EXPECT_EQ(ReadSam(text, proj, svc, referencesOnly), referencesOnly ? 1 : 2);
    ASSERT_EQ(proj.DatasetCount(), referencesOnly ? 1 : 2);
    EXPECT_EQ(RowsOf(*proj.DatasetAt(0)), (Rows{{"chr1", "GGACGTGG"}, {"a", "--ACGT"}}));
    if (!referencesOnly) {
      EXPECT_EQ(RowsOf(*proj.DatasetByName("chrX")), (Rows{{"b", "TTTT"}}));
    }
  }
}

TEST(OpenSam, UnplacedFailedAndHeaderLinesGiveNoReads) {
  RecordingServices svc;
  TDataProj proj(svc);
  // A quality string holding "@SQ" or "@PG" is part of a read, not a header line.
  const std::string text =
      "@SQ\tSN:chr\tLN:20\n" + Record("q", 0, "chr", 2, "4M", "ACGT", "@SQ@PG!!") +
      Record("u1", 4, "*", 0, "*", "ACGT") + Record("u2", 4, "chr", 0, "*", "ACGT") +
      Record("u3", 0, "chr", 5, "4M", "*") + Record("qc", 0x200, "chr", 5, "4M", "ACGT") +
      "bad\t0\tchr\tx\t60\t4M\t*\t0\t0\tACGT\t*\n";
  EXPECT_EQ(ReadSam(text, proj, svc), 1);
  ASSERT_EQ(proj.DatasetCount(), 1);  // never a dataset named "*"
  EXPECT_EQ(RowsOf(*proj.DatasetAt(0)), (Rows{{"q", "-ACGT"}}));
  EXPECT_TRUE(svc.messages.errors.empty());
}

TEST(OpenSam, ProperPairsAreLinkedByName) {
  RecordingServices svc;
  TDataProj proj(svc);
  const std::string text = Record("p", 0x1 | 0x2 | 0x20, "chr", 1, "4M", "ACGT", "*", "=") +
                           Record("p", 0x1 | 0x2 | 0x10, "chr", 9, "4M", "TTTT", "*", "=") +
                           Record("lone", 0x1 | 0x20, "chr", 3, "4M", "CCCC", "*", "=");
  EXPECT_EQ(ReadSam(text, proj, svc), 3);
  const TDataSeq& ds = *proj.DatasetAt(0);
  EXPECT_TRUE(ds.SeqAt(1)->mateFirst);
  EXPECT_TRUE(ds.SeqAt(2)->mateSecond);
  EXPECT_EQ(ds.SeqAt(1)->mateId, ds.SeqAt(2)->seqId);
  EXPECT_EQ(ds.SeqAt(2)->mateId, ds.SeqAt(1)->seqId);
  EXPECT_FALSE(ds.SeqAt(3)->mateFirst);  // not a proper pair
}

TEST(ExpandInsertions, InsertionsOpenTheWidestColumnOnceForEveryRowThatSpansIt) {
  RecordingServices svc;
  TDataProj proj(svc);
  AddReference(proj, "chr", "AAAACCCCGGGGTTTT");
  // a and b insert 2 letters after column 6; c inserts 3 there; d starts after the column;
  // e ends before it.
  const std::string text = Record("a", 0, "chr", 3, "4M2I4M", "AACCxxCCGG") +
                           Record("b", 0, "chr", 5, "2M2I2M", "CCyyCC") +
                           Record("c", 0, "chr", 1, "6M3I2M", "AAAACCzzzCC") +
                           Record("d", 0, "chr", 9, "4M", "GGGG") +
                           Record("e", 0, "chr", 1, "4M", "AAAA");
  EXPECT_EQ(ReadSam(text, proj, svc), 5);
  const TDataSeq& ds = *proj.DatasetAt(0);
  EXPECT_EQ(Layout(*ds.SeqAt(1)), "AAAACC---CCGGGGTTTT");
  EXPECT_EQ(Layout(*ds.SeqAt(2)), "  AACCxx-CCGG");
  EXPECT_EQ(Layout(*ds.SeqAt(3)), "    CCyy-CC");
  EXPECT_EQ(Layout(*ds.SeqAt(4)), "AAAACCzzzCC");
  EXPECT_EQ(Layout(*ds.SeqAt(5)), "           GGGG");
  EXPECT_EQ(Layout(*ds.SeqAt(6)), "AAAA");
  for (int r = 1; r <= ds.Count(); ++r) EXPECT_TRUE(ds.SeqAt(r)->insertions.empty());
  // A second run finds nothing left to open.
  ExpandInsertions(*proj.DatasetAt(0));
  EXPECT_EQ(Layout(*ds.SeqAt(1)), "AAAACC---CCGGGGTTTT");
}

TEST(ExpandInsertions, ARowsOwnInsertedLettersMoveItsLaterGapPoints) {
  RecordingServices svc;
  TDataProj proj(svc);
  AddReference(proj, "chr", "AAAACCCCGGGG");
  // a inserts after column 2 and spans column 8, where b inserts: a's gap for b must follow
  // a's letter of column 8, its 10th letter, not its 8th.
  const std::string text = Record("a", 0, "chr", 1, "2M2I10M", "AAxxAACCCCGGGG") +
                           Record("b", 0, "chr", 5, "4M1I4M", "CCCCyGGGG") +
                           Record("c", 0, "chr", 1, "2I4M", "zzAAAA");
  EXPECT_EQ(ReadSam(text, proj, svc), 3);
  const TDataSeq& ds = *proj.DatasetAt(0);
  // c inserts 2 letters before column 1: every other row moves 2 columns on, and c's own
  // letters fill those two columns.
  EXPECT_EQ(Layout(*ds.SeqAt(1)), "  AA--AACCCC-GGGG");
  EXPECT_EQ(Layout(*ds.SeqAt(2)), "  AAxxAACCCC-GGGG");
  EXPECT_EQ(Layout(*ds.SeqAt(3)), "        CCCCyGGGG");
  EXPECT_EQ(Layout(*ds.SeqAt(4)), "zzAA--AA");
}

TEST(OpenSam, RealFilesGiveTheirReadsPerReference) {
  const struct {
    const char* file;
    std::vector<std::pair<std::string, int>> readsPerReference;  // counted with awk
  } cases[] = {{"ex1.sam", {{"chr1", 1464}, {"chr2", 1806}}}, {"sam1.sam", {{"1", 4}}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    RecordingServices svc;
    TDataProj proj(svc);
    const std::string text = ReadTestFile(c.file);
    ASSERT_FALSE(text.empty());
    EXPECT_TRUE(LooksLikeSamText(text));
    ReadSam(text, proj, svc);
    ASSERT_EQ(proj.DatasetCount(), static_cast<int>(c.readsPerReference.size()));
    for (std::size_t d = 0; d < c.readsPerReference.size(); ++d) {
      EXPECT_EQ(proj.DatasetAt(static_cast<int>(d))->dsName, c.readsPerReference[d].first);
      EXPECT_EQ(proj.DatasetAt(static_cast<int>(d))->Count(), c.readsPerReference[d].second);
    }
  }
  // ex1.sam: the first read on chr1 (POS 100, CIGAR "*": an unmapped mate at its mate's place)
  // and its mate (POS 100, 35M); the second chr2 record (POS 1, 35M).
  RecordingServices svc;
  TDataProj proj(svc);
  ReadSam(ReadTestFile("ex1.sam"), proj, svc);
  const TDataSeq& chr1 = *proj.DatasetAt(0);
  EXPECT_EQ(chr1.SeqAt(1)->columnShift, 99);
  EXPECT_EQ(chr1.SeqAt(2)->columnShift, 99);
  EXPECT_EQ(chr1.SeqAt(2)->letters, "AGGGGTGCAGAGCCGAGTCACGGGGTTGCCAGCAC");
  EXPECT_EQ(proj.DatasetAt(1)->SeqAt(2)->columnShift, 0);
  // sam1.sam: the four records on reference 1 at POS 136186 (twice), 137775 and 137706.
  TDataProj one(svc);
  ReadSam(ReadTestFile("sam1.sam"), one, svc);
  std::vector<int> shifts;
  for (int r = 1; r <= one.DatasetAt(0)->Count(); ++r)
    shifts.push_back(one.DatasetAt(0)->SeqAt(r)->columnShift);
  EXPECT_EQ(shifts, (std::vector<int>{136185, 136185, 137774, 137705}));
}

TEST(OpenSamReads, FilteredLinesGoToOneDatasetWithSecondMatesTurned) {
  RecordingServices svc;
  TDataSeq ds(svc);
  const std::string text = "@HD\tVN:1.6\n" +
                           Record("m", 0x1 | 0x2 | 0x40, "c1", 2, "4M", "AACG", "*", "=") +
                           Record("m", 0x1 | 0x2 | 0x80, "c1", 8, "4M", "AACG", "*", "=") +
                           Record("o", 0, "c2", 1, "4M", "TTTT");
  ReadContext ctx(svc, "x.sam");
  EXPECT_EQ(OpenSamReads(MemorySource(text), ctx, "c1", ds), 2);
  EXPECT_EQ(RowsOf(ds), (Rows{{"m", "-AACG"}, {"m", "-------CGTT"}}));
  EXPECT_EQ(ds.SeqAt(1)->mateId, 2);
  EXPECT_EQ(OpenSamReads(MemorySource(text), ctx, "", ds), 3);
  EXPECT_EQ(ds.Count(), 5);
}

TEST(LooksLikeSam, FirstRecordAfterTheHeaderDecides) {
  const std::string record = Record("r", 0, "chr", 5, "4M", "ACGT");
  EXPECT_TRUE(LooksLikeSamText("@HD\tVN:1.6\tSO:coordinate\n@SQ\tSN:chr\tLN:9\n\n" + record));
  EXPECT_FALSE(LooksLikeSamText(">seq\nACGT\n"));
  EXPECT_FALSE(LooksLikeSamText(Record("r", 0, "chr", 5, "4", "ACGT")));  // CIGAR a number
  EXPECT_FALSE(LooksLikeSamText("@HD\tVN:1.6\n"));
}
