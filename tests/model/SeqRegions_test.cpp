// SPDX-License-Identifier: GPL-3.0-or-later
// Region operations of TSeq: ids, clipping, merging, copying, splicing and kind deletions.
#include <gtest/gtest.h>

#include "model/tsequnit.h"

namespace {

TRegion Reg(int start, int end, int kind = kRegMisc, int codonPos = 0, bool reverse = false,
            int id = -1) {
  TRegion r;
  r.regStart = start;
  r.regEnd = end;
  r.regType = static_cast<std::uint8_t>(kind);
  r.codonPos = codonPos;
  r.regReverse = reverse;
  r.regId = id;
  return r;
}

std::pair<int, int> Span(const TRegion& r) {
  return {r.regStart, r.regEnd};
}

std::vector<int> CodonPositions(const TSeq& s) {
  std::vector<int> out;
  for (int p = 1; p <= s.Length(); ++p) out.push_back(s.CodonPosAt(p));
  return out;
}

}  // namespace

TEST(TSeqAddRegion, GivesTakenAndNonPositiveIdsTheLargestPlusOne) {
  TSeq s("s", std::string(20, 'A'));
  EXPECT_EQ(s.AddRegion(Reg(1, 2)), 1);
  EXPECT_EQ(s.AddRegion(Reg(1, 2, kRegMisc, 0, false, 5)), 5);
  EXPECT_EQ(s.AddRegion(Reg(1, 2, kRegMisc, 0, false, 1)), 6);  // the first region's id
  EXPECT_EQ(s.AddRegion(Reg(1, 2, kRegMisc, 0, false, 0)), 7);
  EXPECT_EQ(s.AddRegion(Reg(1, 2, kRegMisc, 0, false, 3)), 3);  // free: kept
  EXPECT_EQ(s.AddRegion(Reg(1, 2, kRegMisc, 0, false, 3)), 8);
  EXPECT_EQ(s.regions.size(), 6u);
  EXPECT_EQ(s.regions[2].regId, 6);
}

TEST(TSeqAddRegion, SeesRegionsListedOrRemovedByOtherMeans) {
  TSeq s("s", std::string(20, 'A'));
  s.AddRegion(Reg(1, 2));
  s.regions.push_back(Reg(3, 4, kRegMisc, 0, false, 20));  // as a file reader lists them
  EXPECT_EQ(s.AddRegion(Reg(1, 2, kRegMisc, 0, false, 20)), 21);
  s.DeleteRegion(2);
  s.DeleteRegion(1);
  EXPECT_EQ(s.AddRegion(Reg(1, 2, kRegMisc, 0, false, 20)), 20);  // free again
  s.regions[0].regId = 50;                                        // rewritten in place
  s.ForgetRegionIds();
  EXPECT_EQ(s.AddRegion(Reg(1, 2)), 51);
  s.regions.clear();
  EXPECT_EQ(s.AddRegion(Reg(1, 2)), 1);

  TSeq other("o", "AC");
  other.AddRegion(Reg(1, 2, kRegMisc, 0, false, 7));
  s = other;  // a same-sized list copied into the old storage
  EXPECT_EQ(s.AddRegion(Reg(1, 2, kRegMisc, 0, false, 7)), 8);
}

TEST(TSeqAddRegionClipped, RejectsOutsideRegionsAndKeepsTheFrameOfClippedOnes) {
  TSeq s("s", std::string(10, 'A'));
  EXPECT_EQ(s.AddRegionClipped(Reg(-3, 0), false), -1);
  EXPECT_EQ(s.AddRegionClipped(Reg(11, 12), false), -1);
  EXPECT_TRUE(s.regions.empty());
  EXPECT_EQ(s.AddRegionClipped(Reg(-1, 15, kRegCds, 1), false), 1);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(1, 10));
  EXPECT_EQ(s.regions[0].codonPos, 3);  // letter 1 was the third of the region: 1, 2, 3
  EXPECT_EQ(s.AddRegionClipped(Reg(8, 12, kRegCds, 2, true), false), 2);
  EXPECT_EQ(s.regions[1].codonPos, 1);  // read from 12: 2, 3, 1 at letter 10
  EXPECT_EQ(s.AddRegionClipped(Reg(6, 3, kRegMisc), false), 3);
  EXPECT_EQ(Span(s.regions[2]), std::make_pair(3, 6));
}

TEST(TSeqAddRegionClipped, MergesWhenAsked) {
  TSeq s("s", std::string(10, 'A'));
  s.AddRegionClipped(Reg(1, 4, kRegIntron), true);
  s.AddRegionClipped(Reg(5, 8, kRegIntron), false);
  EXPECT_EQ(s.regions.size(), 2u);
  s.AddRegionClipped(Reg(9, 9, kRegIntron), true);
  ASSERT_EQ(s.regions.size(), 1u);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(1, 9));
}

TEST(TSeqAddSimpleRegion, BuildsAForwardUnchainedRegion) {
  TSeq s("s", std::string(10, 'A'));
  const int id = s.AddSimpleRegion(2, 20, "note", "name", kRegExon, 2);
  ASSERT_EQ(id, 1);
  const TRegion& r = s.regions[0];
  EXPECT_EQ(Span(r), std::make_pair(2, 10));
  EXPECT_EQ(r.regComment, "note");
  EXPECT_EQ(r.regName, "name");
  EXPECT_EQ(r.regType, kRegExon);
  EXPECT_EQ(r.codonPos, 2);
  EXPECT_FALSE(r.regReverse);
  EXPECT_EQ(r.prevId, -1);
  EXPECT_EQ(r.nextId, -1);
}

TEST(TSeqDeleteRegions, ByIndexAndByKind) {
  TSeq s("s", std::string(10, 'A'));
  s.regions = {Reg(1, 2, kRegCds), Reg(1, 2, kRegSnp), Reg(1, 2, kRegIntron), Reg(3, 4, kRegSnp)};
  s.DeleteRegion(7);
  s.DeleteRegion(-1);
  EXPECT_EQ(s.regions.size(), 4u);
  s.DeleteRegionsOfKinds({kRegSnp, kRegGene});
  ASSERT_EQ(s.regions.size(), 2u);
  EXPECT_EQ(s.regions[1].regType, kRegIntron);
  s.DeleteRegion(0);
  EXPECT_EQ(s.regions[0].regType, kRegIntron);
}

TEST(TSeqMergeRegions, JoinsTouchingIntronsButNotSeparatedOnes) {
  TSeq s("s", std::string(20, 'A'));
  s.regions = {Reg(6, 9, kRegIntron), Reg(1, 5, kRegIntron), Reg(11, 12, kRegIntron)};
  s.MergeRegions();
  ASSERT_EQ(s.regions.size(), 2u);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(1, 9));
  EXPECT_EQ(Span(s.regions[1]), std::make_pair(11, 12));
}

TEST(TSeqMergeRegions, JoinsCodingRegionsOnlyInTheSameFrame) {
  TSeq s("s", std::string(20, 'A'));
  s.regions = {Reg(1, 9, kRegCds, 1), Reg(5, 12, kRegCds, 1)};
  s.MergeRegions();
  EXPECT_EQ(s.regions.size(), 2u);  // position 5 is 2 in the first, 1 in the second

  s.regions = {Reg(1, 9, kRegCds, 1, false, 4), Reg(5, 12, kRegCds, 2)};
  s.regions[0].regName = "first";
  const auto before = CodonPositions(s);
  s.MergeRegions();
  ASSERT_EQ(s.regions.size(), 1u);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(1, 12));
  EXPECT_EQ(s.regions[0].codonPos, 1);
  EXPECT_EQ(s.regions[0].regName, "first");
  EXPECT_EQ(s.regions[0].regId, 4);
  EXPECT_EQ(CodonPositions(s), before);
}

TEST(TSeqMergeRegions, NeverJoinsOtherKindsStrandsOrKindPairs) {
  TSeq s("s", std::string(20, 'A'));
  s.regions = {Reg(1, 5, kRegMisc), Reg(3, 8, kRegMisc), Reg(1, 5, kRegIntron),
               Reg(6, 8, kRegIntron, 0, true), Reg(6, 8, kRegNoncoding)};
  s.MergeRegions();
  EXPECT_EQ(s.regions.size(), 5u);
}

TEST(TSeqMergeRegions, ComparesReverseFramesFromTheEnds) {
  TSeq s("s", std::string(20, 'A'));
  // Reverse CDS 1..9 reads 1 at letter 9; reverse CDS 5..14 with 2 at letter 14 reads
  // 2,3,1,2,3,1 down to letter 9: the same frame.
  s.regions = {Reg(1, 9, kRegCds, 1, true), Reg(5, 14, kRegCds, 2, true)};
  const auto before = CodonPositions(s);
  s.MergeRegions();
  ASSERT_EQ(s.regions.size(), 1u);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(1, 14));
  EXPECT_EQ(s.regions[0].codonPos, 2);
  EXPECT_EQ(CodonPositions(s), before);

  s.regions = {Reg(1, 9, kRegCds, 1, true), Reg(5, 14, kRegCds, 1, true)};
  s.MergeRegions();
  EXPECT_EQ(s.regions.size(), 2u);
}

TEST(TSeqMergeRegions, JoinsAcrossAnIncompatibleRegionInBetween) {
  TSeq s("s", std::string(130, 'A'));
  // B (frame 1 at 50, where A reads 2) and C (frame 3 at 90, where A reads 3) : C joins A.
  s.regions = {Reg(1, 100, kRegCds, 1), Reg(50, 60, kRegCds, 1), Reg(90, 120, kRegCds, 3)};
  s.MergeRegions();
  ASSERT_EQ(s.regions.size(), 2u);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(1, 120));
  EXPECT_EQ(Span(s.regions[1]), std::make_pair(50, 60));
}

TEST(TSeqMergeRegions, JoinsAChainInOnePass) {
  TSeq s("s", std::string(20, 'A'));
  s.regions = {Reg(7, 12, kRegExon, 1), Reg(1, 6, kRegExon, 1), Reg(4, 9, kRegExon, 1),
               Reg(13, 15, kRegIndel), Reg(16, 16, kRegIndel)};
  s.MergeRegions();
  ASSERT_EQ(s.regions.size(), 2u);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(1, 12));
  EXPECT_EQ(Span(s.regions[1]), std::make_pair(13, 16));
}

TEST(TSeqCopyRegionsTo, CoversTheSameColumnsAndKeepsTheFrameOfClippedLetters) {
  TSeq src("src", "ACGTACGTAC");
  src.AddRegion(Reg(2, 6, kRegCds, 1));
  src.AddRegion(Reg(5, 8, kRegCds, 2));
  src.regions[0].regMark = 9;
  TSeq dst("dst", "ACGTACG");
  dst.columnShift = 3;
  dst.AddRegion(Reg(1, 1, kRegSnp));
  src.CopyRegionsTo(dst, false);
  EXPECT_EQ(src.regions[0].regMark, 0);
  ASSERT_EQ(dst.regions.size(), 3u);
  // Source letters 2..6 sit in columns 2..6; in the target that is letters -1..3, cut to 1..3:
  // source letter 4 (codon position 3) is the target's letter 1.
  EXPECT_EQ(Span(dst.regions[1]), std::make_pair(1, 3));
  EXPECT_EQ(dst.regions[1].codonPos, 3);
  EXPECT_EQ(Span(dst.regions[2]), std::make_pair(2, 5));  // whole: frame unchanged
  EXPECT_EQ(dst.regions[2].codonPos, 2);
  EXPECT_EQ(dst.regions[1].regMark, 0);
  src.CopyRegionsTo(dst, true);
  EXPECT_EQ(dst.regions.size(), 2u);
}

TEST(TSeqSpliceKind, KeepsOnlyTheLettersOfTheKindAndJoinsTheirRegions) {
  TSeq s("s", "TTATGAACCCGG");
  s.columnShift = 4;
  s.quality = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  s.AddRegion(Reg(8, 10, kRegCds, 1));
  s.AddRegion(Reg(3, 5, kRegCds, 1));
  s.AddRegion(Reg(1, 12, kRegMisc));
  s.SpliceKind(kRegCds);
  EXPECT_EQ(s.letters, "ATGCCC");
  EXPECT_EQ(s.lettersLength, 6);
  EXPECT_EQ(s.columnShift, 0);
  EXPECT_EQ(s.quality, (std::vector<std::uint8_t>{3, 4, 5, 8, 9, 10}));
  ASSERT_EQ(s.regions.size(), 1u);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(1, 6));

  TSeq none("s", "ACGT");
  none.AddRegion(Reg(1, 2, kRegIntron));
  none.SpliceKind(kRegExon);
  EXPECT_EQ(none.letters, "ACGT");
}

TEST(TSeqDeleteKindLetters, DeletesTheKindOnBothStrandsAndMergesWhatMeets) {
  TSeq s("s", "AAAACCCCGGGGTT");
  s.AddRegion(Reg(1, 4, kRegCds, 1));
  s.AddRegion(Reg(5, 8, kRegIntron));
  s.AddRegion(Reg(9, 12, kRegCds, 2));  // continues the frame of the first once joined
  s.AddRegion(Reg(13, 14, kRegIntron, 0, true));
  s.DeleteKindLetters(kRegIntron, false);
  EXPECT_EQ(s.letters, "AAAAGGGG");
  ASSERT_EQ(s.regions.size(), 1u);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(1, 8));
  EXPECT_EQ(s.regions[0].codonPos, 1);
}

TEST(TSeqDeleteKindLetters, AllButCdsKeepsOnlyCodingLetters) {
  TSeq s("s", "AAAACCCCGGGG");
  s.AddRegion(Reg(3, 6, kRegCds, 1));
  s.AddRegion(Reg(1, 12, kRegGene));
  s.DeleteKindLetters(kRegCds, true);
  EXPECT_EQ(s.letters, "AACC");
  ASSERT_EQ(s.regions.size(), 2u);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(1, 4));
  EXPECT_EQ(s.columnShift, 2);

  TSeq off("s", "AAAACCCC");
  off.AddRegion(Reg(1, 4, kRegIntron));
  off.enabled = false;
  off.DeleteKindLetters(kRegIntron, false);
  EXPECT_EQ(off.letters, "AAAACCCC");
}

TEST(TSeqMarkGapRegions, ReplacesGapRegionsWithOnePerRun) {
  TSeq s("s", "A--CG---T");
  s.AddRegion(Reg(1, 1, kRegIndel));
  s.AddRegion(Reg(4, 5, kRegCds, 1));
  s.MarkGapRegions();
  ASSERT_EQ(s.regions.size(), 3u);
  EXPECT_EQ(s.regions[0].regType, kRegCds);
  EXPECT_EQ(Span(s.regions[1]), std::make_pair(2, 3));
  EXPECT_EQ(s.regions[1].regName, "gap");
  EXPECT_EQ(s.regions[1].regType, kRegIndel);
  EXPECT_EQ(Span(s.regions[2]), std::make_pair(6, 8));
}

TEST(TSeqTurnCdsForward, InvertsReverseCdsSegmentsAndDropsSingleLetterMisc) {
  TSeq s("s", "GGTTCATAA");
  s.AddRegion(Reg(3, 7, kRegCds, 1, true));
  s.AddRegion(Reg(1, 1, kRegMisc));
  s.AddRegion(Reg(8, 9, kRegMisc));
  s.AddRegion(Reg(1, 2, kRegCds, 1));
  EXPECT_EQ(s.TurnCdsForward(), 1);
  EXPECT_EQ(s.letters, "GGATGAAAA");
  ASSERT_EQ(s.regions.size(), 3u);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(3, 7));
  EXPECT_FALSE(s.regions[0].regReverse);
  EXPECT_EQ(s.regions[0].codonPos, 1);
  EXPECT_EQ(s.regions[1].regType, kRegMisc);
  EXPECT_EQ(Span(s.regions[1]), std::make_pair(8, 9));
}
