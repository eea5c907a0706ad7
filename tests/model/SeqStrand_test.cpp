// SPDX-License-Identifier: GPL-3.0-or-later
// Reversal and complementation of TSeq with traces, regions, selection and contig references.
#include <gtest/gtest.h>

#include "model/tsequnit.h"

namespace {

using Peaks = std::vector<std::int32_t>;

TRegion Reg(int start, int end, int kind, int codonPos = 0, bool reverse = false) {
  TRegion r;
  r.regStart = start;
  r.regEnd = end;
  r.regType = static_cast<std::uint8_t>(kind);
  r.codonPos = codonPos;
  r.regReverse = reverse;
  return r;
}

TSeq RichRead() {
  TSeq s("read", "ACGTTGCAAC");
  s.traceA = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  s.traceT = {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5};
  s.traceG = {0, 9, 0, 9, 0, 9, 0, 9, 0, 9, 0, 9};
  s.traceC = {3, 1, 4, 1, 5, 9, 2, 6, 5, 3, 5, 8};
  s.peakPos = {0, 1, 2, 3, 5, 6, 7, 8, 9, 11};
  s.quality = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
  s.polySitePos = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  s.poorQualityLeft = 3;
  s.poorQualityRight = 8;
  s.selStart = 2;
  s.selLength = 3;
  s.AddRegion(Reg(2, 7, kRegCds, 2));
  s.AddRegion(Reg(4, 10, kRegIntron, 0, true));
  TSeqRef ref;
  ref.firstPos = 2;
  ref.lastPos = 5;
  ref.insertions = {{3, 2}};
  ref.deletions = {{6, 1}};
  ref.differences = {{4, 'G', 1}};
  s.AddContigRef(ref);
  return s;
}

}  // namespace

TEST(TSeqReverse, TwiceRestoresEverything) {
  const TSeq orig = RichRead();
  TSeq s = orig;
  s.Reverse();
  EXPECT_NE(s.letters, orig.letters);
  s.Reverse();
  EXPECT_EQ(s.letters, orig.letters);
  EXPECT_EQ(s.traceA, orig.traceA);
  EXPECT_EQ(s.traceC, orig.traceC);
  EXPECT_EQ(s.peakPos, orig.peakPos);
  EXPECT_EQ(s.quality, orig.quality);
  EXPECT_EQ(s.polySitePos, orig.polySitePos);
  EXPECT_EQ(s.poorQualityLeft, orig.poorQualityLeft);
  EXPECT_EQ(s.poorQualityRight, orig.poorQualityRight);
  EXPECT_EQ(s.regions, orig.regions);
  EXPECT_EQ(s.selStart, orig.selStart);
  EXPECT_EQ(s.selLength, orig.selLength);
  EXPECT_EQ(s.contigRefs, orig.contigRefs);
  EXPECT_EQ(s.reversed, orig.reversed);
}

TEST(TSeqReverse, MirrorsLettersRegionsPeaksAndContigPositions) {
  TSeq s = RichRead();
  s.Reverse();
  EXPECT_EQ(s.letters, "CAACGTTGCA");
  EXPECT_TRUE(s.reversed);
  EXPECT_TRUE(s.plusStrand);
  // CDS 2..7 -> 4..9 on the other strand; its codon position still belongs to the letter that
  // is read first, so the codon position of every letter is kept.
  EXPECT_EQ(s.regions[0].regStart, 4);
  EXPECT_EQ(s.regions[0].regEnd, 9);
  EXPECT_TRUE(s.regions[0].regReverse);
  EXPECT_EQ(s.CodonPosAt(9), 2);  // old letter 2
  EXPECT_EQ(s.CodonPosAt(8), 3);  // old letter 3 (4..7 lie in the intron, which decides there)
  EXPECT_EQ(s.regions[1].regStart, 1);
  EXPECT_EQ(s.regions[1].regEnd, 7);
  EXPECT_FALSE(s.regions[1].regReverse);
  // Twelve samples: peak p becomes 12 - p, in reversed order.
  EXPECT_EQ(s.peakPos, (Peaks{1, 3, 4, 5, 6, 7, 9, 10, 11, 12}));
  EXPECT_EQ(s.traceA.front(), 12);
  EXPECT_EQ(s.quality.front(), 19);
  EXPECT_EQ(s.poorQualityLeft, 3);   // 10 - 8 + 1
  EXPECT_EQ(s.poorQualityRight, 8);  // 10 - 3 + 1
  const TSeqRef& ref = s.contigRefs[0];
  EXPECT_EQ(ref.firstPos, 6);
  EXPECT_EQ(ref.lastPos, 9);
  EXPECT_EQ(ref.insertions[0], std::make_pair(7, 2));  // letters 3..4 -> 7..8
  EXPECT_EQ(ref.deletions[0], std::make_pair(5, 1));
  EXPECT_EQ(ref.differences[0].position, 7);
}

TEST(TSeqReverse, MirrorsTheSelectedBlockAsABlock) {
  TSeq s("s", "AACGT");
  s.selStart = 1;
  s.selLength = 2;  // letters 1..2 become 4..5
  s.Reverse();
  EXPECT_EQ(s.selStart, 4);
  EXPECT_EQ(s.selLength, 2);
  s.selLength = 0;
  s.selStart = 2;  // a lone cursor position
  s.Reverse();
  EXPECT_EQ(s.selStart, 4);
}

TEST(TSeqReverse, KeepsUnsetPoorQualityPositionsUnset) {
  TSeq s("s", "ACGTACGTAC");
  s.Reverse();
  EXPECT_EQ(s.poorQualityLeft, -1);
  EXPECT_EQ(s.poorQualityRight, -1);
  s.poorQualityLeft = 2;
  s.Reverse();
  EXPECT_EQ(s.poorQualityLeft, -1);
  EXPECT_EQ(s.poorQualityRight, 9);
  s.Reverse();
  EXPECT_EQ(s.poorQualityLeft, 2);
  EXPECT_EQ(s.poorQualityRight, -1);
}

TEST(TSeqReverse, WithoutContigRefsLeavesThemAndSkipsDisabledSequences) {
  TSeq s = RichRead();
  s.Reverse(false);
  EXPECT_EQ(s.contigRefs[0].firstPos, 2);
  TSeq off = RichRead();
  off.enabled = false;
  off.Reverse();
  EXPECT_EQ(off.letters, "ACGTTGCAAC");
  EXPECT_FALSE(off.reversed);
}

TEST(TSeqReverse, PeaksWithoutChannelsOnlyFollowTheirLetters) {
  TSeq s("snp", "AGT");
  s.seqType = kSeqSnp;
  s.peakPos = {100, 250, 300};  // genomic positions, not samples
  s.Reverse();
  EXPECT_EQ(s.peakPos, (Peaks{300, 250, 100}));
}

TEST(TSeqComplement, ComplementsLettersChannelsAndContigDifferences) {
  TSeq s("s", "ACGTKMRYSWN-acgt");
  s.traceA = {1, 2, 3};
  s.traceT = {7, 8};
  s.traceG = {4};
  s.traceC = {};
  TSeqRef ref;
  ref.differences = {{4, 'G', 0}};
  s.AddContigRef(ref);
  s.AddRegion(Reg(1, 3, kRegCds, 1));
  s.enabled = false;  // complement acts on every sequence
  s.Complement();
  EXPECT_EQ(s.letters, "TGCAMKYRSWN-tgca");
  EXPECT_FALSE(s.plusStrand);
  EXPECT_EQ(s.traceA, (std::vector<std::uint16_t>{7, 8, 0}));
  EXPECT_EQ(s.traceT, (std::vector<std::uint16_t>{1, 2, 3}));
  EXPECT_EQ(s.traceG, (std::vector<std::uint16_t>{0}));
  EXPECT_EQ(s.traceC, (std::vector<std::uint16_t>{4}));
  EXPECT_EQ(s.contigRefs[0].differences[0].letter, 'C');
  EXPECT_FALSE(s.regions[0].regReverse);
  s.Complement(false);
  EXPECT_EQ(s.contigRefs[0].differences[0].letter, 'C');
  EXPECT_EQ(s.letters, "ACGTKMRYSWN-acgt");
}

TEST(TSeqReverseComplement, ReversesThenComplements) {
  TSeq s("s", "AACGTk");
  s.AddRegion(Reg(1, 3, kRegCds, 1));
  s.ReverseComplement();
  EXPECT_EQ(s.letters, "mACGTT");
  EXPECT_TRUE(s.reversed);
  EXPECT_FALSE(s.plusStrand);
  EXPECT_EQ(s.regions[0].regStart, 4);
  EXPECT_TRUE(s.regions[0].regReverse);
}

TEST(TSeqReverseComplement, LeavesADisabledSequenceUnchanged) {
  TSeq s = RichRead();
  s.enabled = false;
  s.ReverseComplement();
  EXPECT_EQ(s.letters, "ACGTTGCAAC");
  EXPECT_TRUE(s.plusStrand);
  EXPECT_FALSE(s.reversed);
  EXPECT_EQ(s.traceA, RichRead().traceA);
}
