// SPDX-License-Identifier: GPL-3.0-or-later
// Kind tables, codon arithmetic, the complement table, queries and copies of TSeq.
#include "model/tsequnit.h"

#include <gtest/gtest.h>

namespace {

TRegion Reg(int start, int end, int kind, int codonPos = 0, bool reverse = false) {
  TRegion r;
  r.regStart = start;
  r.regEnd = end;
  r.regType = static_cast<std::uint8_t>(kind);
  r.codonPos = codonPos;
  r.regReverse = reverse;
  return r;
}

}  // namespace

TEST(RegionKinds, NamesFileCodesAndFeatureWordsFollowTheTable) {
  EXPECT_STREQ(RegionKindName(kRegStartCodon), "start_codon");
  EXPECT_STREQ(RegionKindName(kRegIndel), "Indel or gap");
  EXPECT_STREQ(RegionKindName(kRegMRna), "Unknown");
  EXPECT_STREQ(RegionKindName(28), "Unknown");
  EXPECT_STREQ(RegionKindName(-1), "Unknown");
  EXPECT_EQ(RegionKindToFileCode(kRegStartCodon), 24);
  EXPECT_EQ(RegionKindToFileCode(kRegStopCodon), 25);
  EXPECT_EQ(RegionKindToFileCode(kRegSequence), 0);
  EXPECT_EQ(RegionKindToFileCode(kRegMRna), 26);
  // A start codon survives the trip through its file code.
  EXPECT_EQ(RegionKindFromFileCode(RegionKindToFileCode(kRegStartCodon)), kRegStartCodon);
  for (int k = 0; k < kRegionKindCount; ++k) {
    if (k == kRegSequence) continue;  // shares file code 0 with Unknown
    EXPECT_EQ(RegionKindFromFileCode(RegionKindToFileCode(k)), k) << k;
  }
  EXPECT_EQ(RegionKindFromFileCode(0), kRegUnknown);
  EXPECT_EQ(RegionKindFromFileCode(99), kRegUnknown);
  EXPECT_EQ(RegionKindFromFileCode(-3), kRegUnknown);
  EXPECT_EQ(RegionKindFromWord("Start_Codon"), 24);
  EXPECT_EQ(RegionKindFromWord("NCDS"), 2);
  EXPECT_EQ(RegionKindFromWord("TE"), 16);
  EXPECT_EQ(RegionKindFromWord("miscelaneous"), 15);
  EXPECT_EQ(RegionKindFromWord("polymorphism"), 13);
  EXPECT_EQ(RegionKindFromWord("mRNA"), 26);
  EXPECT_EQ(RegionKindFromWord("variation"), 0);
  EXPECT_TRUE(IsCodingKind(kRegCds));
  EXPECT_TRUE(IsCodingKind(kRegExon));
  EXPECT_TRUE(IsCodingKind(kRegOrf));
  EXPECT_FALSE(IsCodingKind(kRegIntron));
}

TEST(CodonPosArithmetic, WrapsIntoOneToThreeWithTheNamedEdgeValues) {
  EXPECT_EQ(CodonPosAfter(1, 1), 2);
  EXPECT_EQ(CodonPosAfter(3, 1), 1);
  EXPECT_EQ(CodonPosAfter(0, 0), 3);
  EXPECT_EQ(CodonPosAfter(0, -1), 2);
  EXPECT_EQ(CodonPosAfter(2, 4), 3);    // 6 is a multiple of 3
  EXPECT_EQ(CodonPosAfter(1, -3), 1);   // -2 = 1 (mod 3)
  EXPECT_EQ(CodonPosAfter(2, 100), 3);  // 102
  EXPECT_EQ(CodonPosBefore(0, 0), 2);
  EXPECT_EQ(CodonPosBefore(0, -1), 3);
  EXPECT_EQ(CodonPosBefore(1, 1), 2);
  EXPECT_EQ(CodonPosBefore(2, 2), 1);
}

TEST(ComplementLetter, SwapsPairsKeepsSelfComplementsAndCase) {
  std::string text = "ACGTKMRYSWN-acgt";
  for (char& c : text) c = ComplementLetter(c);
  EXPECT_EQ(text, "TGCAMKYRSWN-tgca");
  std::string more = "BVDHbvdhkmryswn?*";
  for (char& c : more) c = ComplementLetter(c);
  EXPECT_EQ(more, "VBHDvbhdmkyrswn?*");
}

TEST(TSeqQueries, CountGapsSwapsClampsAndReadsZeroAsTheEnd) {
  const TSeq s("s", "A--C-G");
  EXPECT_EQ(s.CountGaps(1, 0), 3);
  EXPECT_EQ(s.CountGaps(5, 2), 3);  // 2..5 = "--C-"
  EXPECT_EQ(s.CountGaps(-3, 100), 3);
  EXPECT_EQ(s.CountGaps(4, 4), 0);
  EXPECT_EQ(s.CountGaps(7, 10), 0);
  EXPECT_EQ(TSeq("e", "").CountGaps(1, 0), 0);
}

TEST(TSeqQueries, CountBasesCountsOnlyACGTOfEitherCase) {
  EXPECT_EQ(TSeq("s", "AcgTNn-RUu").CountBases(), 4);
}

TEST(TSeqQueries, HasTraceNeedsAllFourChannelsAndPeaks) {
  TSeq s("s", "AC");
  s.traceA = s.traceT = s.traceG = {1, 2};
  s.peakPos = {0, 1};
  EXPECT_FALSE(s.HasTrace());
  s.traceC = {1, 2};
  EXPECT_TRUE(s.HasTrace());
  s.peakPos.clear();
  EXPECT_FALSE(s.HasTrace());
}

TEST(TSeqQueries, FindPeakGivesTheFirstPeakAtOrAfterTheSample) {
  TSeq s("s", "ACG");
  s.peakPos = {5, 12, 20};
  EXPECT_EQ(s.FindPeak(12).index, 1);
  EXPECT_TRUE(s.FindPeak(12).exact);
  EXPECT_EQ(s.FindPeak(13).index, 2);
  EXPECT_FALSE(s.FindPeak(13).exact);
  EXPECT_EQ(s.FindPeak(0).index, 0);
  EXPECT_EQ(s.FindPeak(21).index, -1);
}

TEST(TSeqQueries, RegionIndexByIdTakesTheLastMatch) {
  TSeq s("s", "ACGT");
  for (int id : {3, 7, 3}) {
    TRegion r = Reg(1, 2, kRegMisc);
    r.regId = id;
    s.regions.push_back(r);
  }
  EXPECT_EQ(s.RegionIndexById(3), 2);
  EXPECT_EQ(s.RegionIndexById(7), 1);
  EXPECT_EQ(s.RegionIndexById(8), -1);
}

TEST(TSeqQueries, RegionAtColumnPrefersStructuralKinds) {
  TSeq s("s", "ACGTACGTAC");
  s.columnShift = 2;
  s.regions = {Reg(1, 10, kRegMisc), Reg(3, 5, kRegCds), Reg(4, 6, kRegGene)};
  EXPECT_EQ(s.RegionAtColumn(6), 1);  // position 4: the CDS replaces Misc, Gene does not
  EXPECT_EQ(s.RegionAtColumn(3), 0);
  EXPECT_EQ(s.RegionAtColumn(8), 0);  // position 6: Gene only fills an empty result
  EXPECT_EQ(s.RegionAtColumn(2), -1);
  EXPECT_EQ(s.RegionAtColumn(13), -1);
}

TEST(TSeqQueries, NextAndPreviousCodingRegionSkipOtherKinds) {
  TSeq s("s", std::string(60, 'A'));
  s.regions = {Reg(10, 20, kRegCds), Reg(30, 40, kRegExon), Reg(15, 16, kRegMisc),
               Reg(50, 60, kRegCds)};
  EXPECT_EQ(s.NextCodingRegion(10), 1);
  EXPECT_EQ(s.NextCodingRegion(1), 0);
  EXPECT_EQ(s.NextCodingRegion(55), -1);
  EXPECT_EQ(s.PreviousCodingRegion(50), 1);
  EXPECT_EQ(s.PreviousCodingRegion(51), 3);
  EXPECT_EQ(s.PreviousCodingRegion(10), -1);
}

TEST(TSeqQueries, CodonPosAtCountsForwardFromTheStartAndBackwardFromTheEnd) {
  TSeq s("s", std::string(50, 'A'));
  s.regions = {Reg(4, 12, kRegCds, 2), Reg(20, 30, kRegCds, 1, true), Reg(40, 45, kRegIntron)};
  EXPECT_EQ(s.CodonPosAt(4), 2);
  EXPECT_EQ(s.CodonPosAt(5), 3);
  EXPECT_EQ(s.CodonPosAt(6), 1);
  EXPECT_EQ(s.CodonPosAt(12), 1);  // 8 letters after a 2
  EXPECT_EQ(s.CodonPosAt(30), 1);
  EXPECT_EQ(s.CodonPosAt(29), 2);
  EXPECT_EQ(s.CodonPosAt(28), 3);
  EXPECT_EQ(s.CodonPosAt(20), 2);  // 10 letters before the end
  EXPECT_EQ(s.CodonPosAt(42), 0);
  EXPECT_EQ(s.CodonPosAt(15), -1);
  s.regions.push_back(Reg(10, 11, kRegNoncoding));  // the last containing region decides
  EXPECT_EQ(s.CodonPosAt(10), 0);
  EXPECT_EQ(s.CodonPosAt(9), 1);  // 2,3,1,2,3,1 from position 4
}

TEST(TSeqQueries, CodonPosAtOfASnpSequenceGivesItsSitePosition) {
  TSeq s("s", "AG");
  s.seqType = kSeqSnp;
  s.peakPos = {100, 205};
  EXPECT_EQ(s.CodonPosAt(2), 205);
  EXPECT_EQ(s.CodonPosAt(3), -1);
}

TEST(TSeqQueries, RegionLineJoinsTheFieldsAndHidesValuesBelowOne) {
  TSeq s("s", "ACGTACGTAC");
  TRegion r = Reg(3, 9, kRegCds, 1, true);
  r.regName = "gag";
  r.regComment = "x";
  s.regions.push_back(r);
  EXPECT_EQ(s.RegionLine(0), "CDS,gag,3,9,R,,x");
  s.regions[0].regValue = 4;
  s.regions[0].regReverse = false;
  EXPECT_EQ(s.RegionLine(0), "CDS,gag,3,9,F,4,x");
  EXPECT_EQ(s.RegionLine(1), "");
  EXPECT_EQ(s.RegionLine(-1), "");
}

TEST(TSeqCopies, CloneCopiesEveryFieldAndList) {
  TSeq s("orig", "ACGT");
  s.organism = "Drosophila";
  s.columnShift = 3;
  s.quality = {10, 20, 30, 40};
  s.peakPos = {1, 2, 3, 4};
  s.traceA = {9};
  s.polySitePos = {5, 6, 7, 8};
  s.reversed = true;
  s.selected = true;
  s.AddRegion(Reg(1, 2, kRegCds, 2));
  s.contigRefs.push_back(TSeqRef{});
  const auto c = s.Clone();
  EXPECT_EQ(c->letters, "ACGT");
  EXPECT_EQ(c->organism, "Drosophila");
  EXPECT_EQ(c->columnShift, 3);
  EXPECT_EQ(c->quality, s.quality);
  EXPECT_EQ(c->peakPos, s.peakPos);
  EXPECT_EQ(c->traceA, s.traceA);
  EXPECT_EQ(c->polySitePos, s.polySitePos);
  EXPECT_EQ(c->regions, s.regions);
  EXPECT_EQ(c->contigRefs.size(), 1u);
  EXPECT_TRUE(c->reversed);
  EXPECT_TRUE(c->selected);
  // The copy's ids are its own: adding to it does not reuse an id.
  EXPECT_EQ(c->AddRegion(Reg(3, 4, kRegMisc)), 2);
}

TEST(TSeqCopies, RarelySetFieldsCopyDeeplyAndHoldNothingOnceEmptied) {
  TSeq s("orig", "ACGT");
  s.organism = "Mus";
  s.quality = {1, 2};
  TSeq c = s;
  c.organism += " musculus";
  c.quality[0] = 9;
  EXPECT_EQ(s.organism, "Mus");
  EXPECT_EQ(s.quality[0], 1);
  EXPECT_EQ("M. " + c.organism, "M. Mus musculus");
  c.quality.resize(0);
  c.organism = "";
  EXPECT_EQ(c.quality.Held(), nullptr);
  EXPECT_TRUE(c.organism.empty());
  // Writing through an absent list touches nothing.
  for (auto& p : c.peakPos) p = 1;
  EXPECT_EQ(c.peakPos.Held(), nullptr);
  s = c;
  EXPECT_EQ(s.quality.Held(), nullptr);
  EXPECT_EQ(s.organism, c.organism);
}

TEST(TSeqCopies, AssignToCopiesLettersFlagsRegionsAndTraceIntoTheTarget) {
  TSeq s("src", "ACGTAC");
  s.seqId = 9;
  s.columnShift = 2;
  s.plusStrand = false;
  s.quality = {1, 2, 3, 4, 5, 6};
  s.traceG = {4, 4};
  TRegion r = Reg(2, 5, kRegCds, 3);
  r.regId = 12;
  r.regMark = 7;
  s.regions.push_back(r);
  TSeq t("dst", "GG");
  t.columnShift = 8;
  t.organism = "kept";
  t.AddRegion(Reg(1, 1, kRegMisc));
  EXPECT_FALSE(s.AssignTo(nullptr));
  ASSERT_TRUE(s.AssignTo(&t));
  EXPECT_EQ(t.letters, "ACGTAC");
  EXPECT_EQ(t.lettersLength, 6);
  EXPECT_EQ(t.seqName, "src");
  EXPECT_EQ(t.seqId, 9);
  EXPECT_EQ(t.columnShift, 2);
  EXPECT_FALSE(t.plusStrand);
  EXPECT_EQ(t.organism, "kept");
  ASSERT_EQ(t.regions.size(), 1u);
  EXPECT_EQ(t.regions[0].regStart, 2);
  EXPECT_EQ(t.regions[0].regEnd, 5);
  EXPECT_EQ(t.regions[0].codonPos, 3);
  EXPECT_EQ(t.regions[0].regId, 12);
  EXPECT_EQ(t.regions[0].regMark, 0);
  EXPECT_EQ(t.quality, s.quality);
  EXPECT_EQ(t.traceG, s.traceG);
}

TEST(TSeqCopies, SubSequenceCutsTailThenHeadKeepingColumnsAndRegions) {
  TSeq s("s", "ACGTACGT");
  s.AddRegion(Reg(3, 6, kRegCds, 1));
  s.AddRegion(Reg(1, 2, kRegMisc));
  s.quality = {1, 2, 3, 4, 5, 6, 7, 8};
  const auto sub = s.SubSequence(3, 4, false);
  EXPECT_EQ(sub->letters, "GTAC");
  EXPECT_EQ(sub->lettersLength, 4);
  EXPECT_EQ(sub->columnShift, 2);  // G stays in column 3
  ASSERT_EQ(sub->regions.size(), 1u);
  EXPECT_EQ(sub->regions[0].regStart, 1);
  EXPECT_EQ(sub->regions[0].regEnd, 4);
  EXPECT_EQ(sub->regions[0].codonPos, 1);
  EXPECT_EQ(sub->quality, (std::vector<std::uint8_t>{3, 4, 5, 6}));
  EXPECT_EQ(s.letters, "ACGTACGT");
  // A copy of a disabled sequence is cut all the same and stays disabled.
  s.enabled = false;
  const auto off = s.SubSequence(3, 4, false);
  EXPECT_EQ(off->letters, "GTAC");
  EXPECT_FALSE(off->enabled);
}
