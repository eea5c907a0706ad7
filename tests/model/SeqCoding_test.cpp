// SPDX-License-Identifier: GPL-3.0-or-later
// Coding helpers of TSeq: stop codons, whole and upper-case CDS, splitting at gap runs and
// joining parts split by N runs. Codons translated by hand with the standard table.
#include <gtest/gtest.h>

#include "model/GenCodUnit.h"
#include "model/tsequnit.h"

namespace {

TRegion Reg(int start, int end, int kind = kRegCds, int codonPos = 1, bool reverse = false) {
  TRegion r;
  r.regStart = start;
  r.regEnd = end;
  r.regType = static_cast<std::uint8_t>(kind);
  r.codonPos = codonPos;
  r.regReverse = reverse;
  return r;
}

std::pair<int, int> Span(const TRegion& r) {
  return {r.regStart, r.regEnd};
}

}  // namespace

TEST(TSeqCountStops, ReadsTheFrameOfTheCodonPosition) {
  const TGenCode code;
  TSeq s("s", "ATGTAAATGTGA");
  s.AddRegion(Reg(1, 12, kRegCds, 1));
  std::string where;
  EXPECT_EQ(s.CountStops(0, code, false, where), 2);  // ATG TAA ATG TGA
  EXPECT_EQ(where, "4,10,");
  s.columnShift = 5;
  where.clear();
  EXPECT_EQ(s.CountStops(0, code, true, where), 2);
  EXPECT_EQ(where, "9,15,");
  s.regions[0].codonPos = 2;  // from letter 3: GTA AAT GTG
  where.clear();
  EXPECT_EQ(s.CountStops(0, code, false, where), 0);
  EXPECT_EQ(where, "");
  s.regions[0].codonPos = 3;  // from letter 2: TGT AAA TGT
  EXPECT_EQ(s.CountStops(0, code, false, where), 0);
}

TEST(TSeqCountStops, ReverseCodonsAreReverseComplemented) {
  const TGenCode code;
  TSeq s("s", "TTACATTCA");
  s.AddRegion(Reg(1, 9, kRegCds, 1, true));  // letter 1 reads 3: whole codons from letter 1
  std::string where;
  EXPECT_EQ(s.CountStops(0, code, false, where), 2);  // TAA (from TTA), ATG, TGA (from TCA)
  EXPECT_EQ(where, "1,7,");
  s.regions[0].codonPos = 2;  // letter 1 reads 1: codons from letter 2, GTA and AAT
  where.clear();
  EXPECT_EQ(s.CountStops(0, code, false, where), 0);
}

TEST(TSeqCountStops, RefusesOtherKindsAndBadBoundsAndCanReachOneCodonFurther) {
  const TGenCode code;
  TSeq s("s", "ATGAAATAG");
  s.AddRegion(Reg(1, 6, kRegCds, 1));
  s.AddRegion(Reg(1, 6, kRegExon, 1));
  s.regions.push_back(Reg(4, 12, kRegCds, 1));
  std::string where;
  EXPECT_EQ(s.CountStops(0, code, false, where), 0);
  EXPECT_EQ(s.CountStops(0, code, false, where, true), 1);
  EXPECT_EQ(where, "7,");
  EXPECT_EQ(s.CountStops(1, code, false, where), -1);
  EXPECT_EQ(s.CountStops(3, code, false, where), -1);
  EXPECT_EQ(s.CountStops(-1, code, false, where), -1);
  EXPECT_EQ(s.CountStops(2, code, false, where), 0);
}

TEST(TSeqAddWholeCds, CoversFirstToLastLetterAndSplitsWhenAsked) {
  TSeq s("s", "--ACGT-");
  s.AddWholeCds(false);
  ASSERT_EQ(s.regions.size(), 1u);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(3, 6));
  EXPECT_EQ(s.regions[0].regName, "CDS");
  EXPECT_EQ(s.regions[0].regComment, "Added by splitCDSbyIndel function");
  EXPECT_EQ(s.regions[0].codonPos, 1);

  TSeq g("s", "AC----GTA");
  g.AddWholeCds(true);
  ASSERT_EQ(g.regions.size(), 2u);
  EXPECT_EQ(Span(g.regions[0]), std::make_pair(1, 2));
  EXPECT_EQ(Span(g.regions[1]), std::make_pair(7, 9));
  EXPECT_EQ(g.regions[1].codonPos, 3);

  TSeq gaps("s", "---");
  gaps.AddWholeCds(true);
  EXPECT_TRUE(gaps.regions.empty());
}

TEST(TSeqSplitCdsAtGaps, AFourLetterRunSplitsIntoChainedPieces) {
  TSeq s("s", "ATG----AAACCC");
  s.AddRegion(Reg(1, 13, kRegCds, 2));
  s.AddRegion(Reg(1, 2, kRegMisc));
  ASSERT_EQ(s.SplitCdsAtGaps(0, '-'), 2);
  ASSERT_EQ(s.regions.size(), 3u);
  EXPECT_EQ(s.regions[0].regType, kRegMisc);
  const TRegion& a = s.regions[1];
  const TRegion& b = s.regions[2];
  EXPECT_EQ(Span(a), std::make_pair(1, 3));
  EXPECT_EQ(Span(b), std::make_pair(8, 13));
  EXPECT_EQ(a.codonPos, 2);
  EXPECT_EQ(b.codonPos, 2);  // three letters on from 2
  EXPECT_EQ(a.nextId, b.regId);
  EXPECT_EQ(b.prevId, a.regId);
  EXPECT_EQ(a.prevId, -1);
  EXPECT_EQ(b.nextId, -1);
  EXPECT_EQ(b.regName, "CDS");
  EXPECT_EQ(b.regComment, "Added by splitCDSbyIndel function");
}

TEST(TSeqSplitCdsAtGaps, AThreeLetterRunKeepsTheFrameAndTheRegion) {
  TSeq s("s", "ATG---AAA");
  s.AddRegion(Reg(1, 9, kRegCds, 1));
  s.regions[0].regName = "gag";
  EXPECT_EQ(s.SplitCdsAtGaps(0, '-'), 1);
  ASSERT_EQ(s.regions.size(), 1u);
  EXPECT_EQ(s.regions[0].regName, "gag");
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(1, 9));
}

TEST(TSeqSplitCdsAtGaps, KeepsTheLastPieceOfACdsEndingInAGapRun) {
  TSeq s("s", "ATGA--CCCGGG---");
  s.AddRegion(Reg(1, 15, kRegCds, 1));
  ASSERT_EQ(s.SplitCdsAtGaps(0, '-'), 2);
  ASSERT_EQ(s.regions.size(), 2u);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(1, 4));
  EXPECT_EQ(Span(s.regions[1]), std::make_pair(7, 12));
  EXPECT_EQ(s.regions[1].codonPos, 2);  // four letters on from 1

  TSeq t("s", "ATGA--CCC--");
  t.AddRegion(Reg(1, 11, kRegCds, 1));
  ASSERT_EQ(t.SplitCdsAtGaps(0, '-'), 2);
  EXPECT_EQ(Span(t.regions[1]), std::make_pair(7, 9));
}

TEST(TSeqSplitCdsAtGaps, AReverseCdsKeepsItsStrandAndFrameFromItsEnd) {
  TSeq s("s", "AAA----CCCGG");
  s.AddRegion(Reg(1, 12, kRegCds, 1, true));
  ASSERT_EQ(s.SplitCdsAtGaps(0, '-'), 2);
  const TRegion& left = s.regions[0];
  const TRegion& right = s.regions[1];
  EXPECT_EQ(Span(left), std::make_pair(1, 3));
  EXPECT_EQ(Span(right), std::make_pair(8, 12));
  EXPECT_TRUE(left.regReverse && right.regReverse);
  EXPECT_EQ(right.codonPos, 1);
  EXPECT_EQ(left.codonPos, 3);  // read from 12 down: 1,2,3,1,2 then letter 3 is 3
  EXPECT_EQ(right.nextId, left.regId);
  EXPECT_EQ(left.prevId, right.regId);
}

TEST(TSeqSplitCdsAtGaps, RefusesBadIndexesAndOtherKinds) {
  TSeq s("s", "ATG----AAA");
  s.AddRegion(Reg(1, 10, kRegExon));
  EXPECT_EQ(s.SplitCdsAtGaps(0, '-'), -1);
  EXPECT_EQ(s.SplitCdsAtGaps(1, '-'), -1);
  EXPECT_EQ(s.regions.size(), 1u);
}

TEST(TSeqAddCdsFromUpperCase, MarksUpperCaseRunsIncludingOneReachingTheEnd) {
  TSeq s("s", "ccATGAAAttGCa");
  s.AddCdsFromUpperCase(false);
  ASSERT_EQ(s.regions.size(), 2u);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(3, 8));
  EXPECT_EQ(s.regions[0].codonPos, 1);
  EXPECT_EQ(s.regions[0].regName, "CDS");
  EXPECT_EQ(s.regions[0].regComment, "Added by CDSupperCase function");
  EXPECT_EQ(Span(s.regions[1]), std::make_pair(11, 12));

  TSeq end("s", "ccATGAAA");
  end.AddCdsFromUpperCase(false);
  ASSERT_EQ(end.regions.size(), 1u);
  EXPECT_EQ(Span(end.regions[0]), std::make_pair(3, 8));

  TSeq runs("s", "cAcN-ATRG");  // a run starts only at A, C, G or T and stops at R
  runs.AddCdsFromUpperCase(false);
  ASSERT_EQ(runs.regions.size(), 1u);
  EXPECT_EQ(Span(runs.regions[0]), std::make_pair(6, 7));
}

TEST(TSeqAddCdsFromUpperCase, ChoosesTheFirstFrameWithoutStopsThenTheOtherStrand) {
  TSeq s("s", "ttTAAGCATtt");  // frame 1 starts with TAA; frame 2 reads AGC only
  s.AddCdsFromUpperCase(false);
  ASSERT_EQ(s.regions.size(), 1u);
  EXPECT_EQ(s.regions[0].codonPos, 2);
  EXPECT_FALSE(s.regions[0].regReverse);

  // TAA in frame 1, TAG in frame 3, TGA in frame 2; the other strand read from letter 11 with
  // codon position 1 gives TCA GCT AGT.
  TSeq r("s", "TAACTAGCTGA");
  r.AddCdsFromUpperCase(false);
  ASSERT_EQ(r.regions.size(), 1u);
  EXPECT_TRUE(r.regions[0].regReverse);
  EXPECT_EQ(r.regions[0].codonPos, 1);

  // Stops in all six frames: the strand is restored and the frame left unknown.
  TSeq none("s", "TAACTAACTAACTTACTTACTTA");  // TAA at 1, 5, 9 and TTA at 13, 17, 21
  none.AddCdsFromUpperCase(false);
  ASSERT_EQ(none.regions.size(), 1u);
  EXPECT_FALSE(none.regions[0].regReverse);
  EXPECT_EQ(none.regions[0].codonPos, 0);
}

TEST(TSeqAddCdsFromUpperCase, SplitsAtGapRunsWhenAsked) {
  TSeq s("s", "ATG----AAA");
  s.AddCdsFromUpperCase(true);
  ASSERT_EQ(s.regions.size(), 2u);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(1, 3));
  EXPECT_EQ(Span(s.regions[1]), std::make_pair(8, 10));
}

TEST(TSeqMergeCdsSplitByN, JoinsTaggedPartsAndRestoresTheFrame) {
  TSeq s("s", "ATGAAANNNNNCCCGGG");
  TRegion a = Reg(1, 6);
  a.regComment = "exon [geneX]";
  TRegion b = Reg(12, 17);
  b.regComment = "[GENEX] part 2";
  s.AddRegion(a);
  s.AddRegion(b);
  // Five letters lie between the parts: 5 = 2 (mod 3), so one 'n' goes in after the first N.
  EXPECT_EQ(s.MergeCdsSplitByN(), 1);
  EXPECT_EQ(s.letters, "ATGAAANnNNNNCCCGGG");
  ASSERT_EQ(s.regions.size(), 1u);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(1, 18));
}

TEST(TSeqMergeCdsSplitByN, NeedsEqualTagsAndNsNearBothEnds) {
  TRegion a = Reg(1, 3);
  a.regComment = "[x]";
  TRegion b = Reg(29, 31);
  b.regComment = "[x]";
  {
    TSeq s("s", "ATG" + std::string(12, 'C') + "NN" + std::string(11, 'C') + "AAA");
    s.AddRegion(a);
    s.AddRegion(b);
    EXPECT_EQ(s.MergeCdsSplitByN(), 0);  // the only NN lies more than 10 letters from each end
  }
  {
    TSeq s("s", "ATGNN" + std::string(20, 'C') + "NNAAAA");
    s.AddRegion(a);
    s.AddRegion(b);
    EXPECT_EQ(s.MergeCdsSplitByN(), 1);  // 25 letters between: 1 (mod 3), two 'n'
    EXPECT_EQ(s.letters.substr(0, 7), "ATGNnnN");
    EXPECT_EQ(s.regions[0].regEnd, 33);
  }
  {
    TSeq s("s", "ATGNNNNNNAAA");
    TRegion c = Reg(1, 3);
    c.regComment = "[x]";
    TRegion d = Reg(10, 12);
    d.regComment = "[y]";
    s.AddRegion(c);
    s.AddRegion(d);
    EXPECT_EQ(s.MergeCdsSplitByN(), 0);
    d.regComment = "no tag";
    c.regComment = "no tag";
    s.regions = {c, d};
    EXPECT_EQ(s.MergeCdsSplitByN(), 0);
  }
}
