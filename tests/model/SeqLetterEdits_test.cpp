// SPDX-License-Identifier: GPL-3.0-or-later
// Letter edits of TSeq: regions, peaks, traces, quality and shifts follow the letters.
#include <gtest/gtest.h>

#include <numeric>

#include "model/tsequnit.h"

namespace {

using Peaks = std::vector<std::int32_t>;
using Quals = std::vector<std::uint8_t>;

TRegion Reg(int start, int end, int kind = kRegMisc, int codonPos = 0, bool reverse = false) {
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

// A read whose four channels hold sample index + 1, so a moved or zeroed sample shows.
TSeq TraceRead(const std::string& letters, Peaks peaks, int samples) {
  TSeq s("read", letters);
  s.peakPos = std::move(peaks);
  for (auto* ch : {&s.traceA, &s.traceT, &s.traceG, &s.traceC}) {
    ch->resize(static_cast<std::size_t>(samples));
    std::iota(ch->begin(), ch->end(), std::uint16_t{1});
  }
  return s;
}

}  // namespace

TEST(TSeqInsertLetters, MovesLaterRegionsAndGrowsThoseReachingThePosition) {
  TSeq s("s", "ACGTAC");
  s.regions = {Reg(1, 2), Reg(3, 5), Reg(4, 6)};
  s.InsertLetters(4, "GG", false);
  EXPECT_EQ(s.letters, "ACGGGTAC");
  EXPECT_EQ(s.lettersLength, 8);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(1, 2));
  EXPECT_EQ(Span(s.regions[1]), std::make_pair(3, 7));
  EXPECT_EQ(Span(s.regions[2]), std::make_pair(6, 8));
}

TEST(TSeqInsertLetters, InterpolatesPeaksWithHalvesToEven) {
  TSeq s("s", "ACGT");
  s.peakPos = {10, 20, 30, 40};
  s.InsertLetters(3, "NNN", false);
  // step = round(10 / 4) = round(2.5) = 2
  EXPECT_EQ(s.peakPos, (Peaks{10, 20, 22, 24, 26, 30, 40}));

  TSeq first("s", "AC");
  first.peakPos = {0, 8};
  first.InsertLetters(1, "G", false);  // 0 between 0 and 0 becomes 1
  EXPECT_EQ(first.peakPos, (Peaks{1, 0, 8}));

  TSeq head("s", "AC");
  head.peakPos = {10, 18};
  head.InsertLetters(1, "G", false);  // left peak 0, step round(10 / 2) = 5
  EXPECT_EQ(head.peakPos, (Peaks{5, 10, 18}));

  TSeq tail("s", "ACGT");
  tail.peakPos = {10, 20, 30, 40};
  tail.InsertLetters(5, "AA", false);  // appended: one cell (10 samples) past the last peak
  EXPECT_EQ(tail.peakPos, (Peaks{10, 20, 30, 40, 43, 46}));
}

TEST(TSeqInsertLetters, GivesNewLettersTheInsertedQualityAndPolymorphicEntries) {
  TSeq s("s", "ACGT");
  s.quality = {30, 30, 30, 30};
  s.polySitePos = {1, 2, 3, 4};
  s.InsertLetters(2, "NN", false);
  EXPECT_EQ(s.quality, (Quals{30, 0, 0, 30, 30, 30}));
  EXPECT_EQ(s.polySitePos, (Peaks{1, 0, 0, 2, 3, 4}));
  s.InsertLetters(7, "A", false, 15);
  EXPECT_EQ(s.quality, (Quals{30, 0, 0, 30, 30, 30, 15}));
  EXPECT_EQ(s.polySitePos.size(), 7u);
}

TEST(TSeqInsertLetters, BeforeTheSequenceOnlyShiftsWhenAsked) {
  TSeq s("s", "ACGT");
  s.columnShift = 1;
  s.InsertLetters(0, "GG", false);
  EXPECT_EQ(s.letters, "ACGT");
  EXPECT_EQ(s.columnShift, 1);
  s.InsertLetters(-4, "GG", true);
  EXPECT_EQ(s.letters, "ACGT");
  EXPECT_EQ(s.columnShift, 3);
}

TEST(TSeqInsertLetters, LeavesADisabledSequenceAlone) {
  TSeq s("s", "ACGT");
  s.enabled = false;
  s.InsertLetters(2, "GG", true);
  s.InsertLetters(0, "GG", true);
  EXPECT_EQ(s.letters, "ACGT");
  EXPECT_EQ(s.columnShift, 0);
}

TEST(TSeqDeleteLetters, DeletingEveryLetterClearsEverything) {
  TSeq s = TraceRead("ACGT", {5, 10, 15, 20}, 30);
  s.quality = {1, 2, 3, 4};
  s.polySitePos = {1, 2, 3, 4};
  s.columnShift = 5;
  s.poorQualityLeft = 2;
  s.poorQualityRight = 3;
  s.AddRegion(Reg(1, 4, kRegCds, 1));
  s.siteMarks.push_back(Reg(2, 3, kRegRestrSite));
  s.DeleteLetters(1, 10, true);
  EXPECT_EQ(s.letters, "");
  EXPECT_EQ(s.lettersLength, 0);
  EXPECT_FALSE(s.HasTrace());
  EXPECT_TRUE(s.traceA.empty() && s.traceT.empty() && s.traceG.empty() && s.traceC.empty());
  EXPECT_TRUE(s.quality.empty());
  EXPECT_TRUE(s.polySitePos.empty());
  EXPECT_TRUE(s.regions.empty());
  EXPECT_TRUE(s.siteMarks.empty());
  EXPECT_EQ(s.columnShift, 0);
  EXPECT_EQ(s.poorQualityLeft, 0);
  EXPECT_EQ(s.poorQualityRight, 0);
}

TEST(TSeqDeleteLetters, FromTheFirstLetterRaisesTheShiftSoLettersKeepTheirColumns) {
  TSeq s("s", "ACGTAC");
  s.DeleteLetters(1, 3, false);
  EXPECT_EQ(s.letters, "TAC");
  EXPECT_EQ(s.columnShift, 3);  // T stays in column 4
  EXPECT_EQ(s.lettersLength, 3);
}

TEST(TSeqDeleteLetters, RangesBeforeTheSequenceLowerTheShift) {
  TSeq s("s", "ACGT");
  s.columnShift = 5;
  s.DeleteLetters(-2, 2, false);  // positions -2 and -1 only
  EXPECT_EQ(s.letters, "ACGT");
  EXPECT_EQ(s.columnShift, 3);
  s.DeleteLetters(-1, 4, false);  // two before the sequence, then letters 1..2
  EXPECT_EQ(s.letters, "GT");
  EXPECT_EQ(s.columnShift, 3);    // 3 - 2 + 2
  s.DeleteLetters(2, 10, false);  // cut to the end
  EXPECT_EQ(s.letters, "G");
  s.DeleteLetters(5, 1, false);
  EXPECT_EQ(s.letters, "G");
}

TEST(TSeqDeleteLetters, AdjustsEachKindOfRegionOverlap) {
  TSeq s("s", "ACGTACGTAC");
  s.regions = {Reg(2, 3), Reg(3, 6), Reg(1, 3), Reg(1, 8), Reg(7, 9)};
  s.DeleteLetters(2, 3, false);  // letters 2..4
  EXPECT_EQ(s.letters, "AACGTAC");
  ASSERT_EQ(s.regions.size(), 4u);  // 2..3 lay wholly inside
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(2, 3));
  EXPECT_EQ(Span(s.regions[1]), std::make_pair(1, 1));
  EXPECT_EQ(Span(s.regions[2]), std::make_pair(1, 5));
  EXPECT_EQ(Span(s.regions[3]), std::make_pair(4, 6));
}

TEST(TSeqDeleteLetters, RegionLosingItsStartAdvancesByItsOwnLostLetters) {
  TSeq s("s", std::string(12, 'A'));
  s.regions = {Reg(5, 12, kRegCds, 1)};
  const int before = s.CodonPosAt(7);  // 1, 2, 3 from position 5
  ASSERT_EQ(before, 3);
  s.DeleteLetters(3, 4, false);  // letters 3..6, of which 5 and 6 are the CDS's
  ASSERT_EQ(s.regions.size(), 1u);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(3, 8));
  EXPECT_EQ(s.regions[0].codonPos, 3);  // advanced by 2, not by the 4 deleted
  EXPECT_EQ(s.CodonPosAt(3), before);   // old letter 7 keeps its codon position
}

TEST(TSeqDeleteLetters, ReverseRegionLosingItsEndKeepsTheFrameOfItsLetters) {
  TSeq s("s", std::string(12, 'A'));
  s.regions = {Reg(1, 8, kRegCds, 1, true)};
  const int before = s.CodonPosAt(6);
  s.DeleteLetters(7, 4, false);
  ASSERT_EQ(s.regions.size(), 1u);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(1, 6));
  EXPECT_EQ(s.CodonPosAt(6), before);
  EXPECT_EQ(s.regions[0].codonPos, 3);
}

TEST(TSeqDeleteLetters, QualityPeaksAndPolymorphicPositionsLoseTheDeletedLetters) {
  TSeq s("s", "ACGTA");
  s.quality = {1, 2, 3, 4, 5};
  s.polySitePos = {11, 12, 13, 14, 15};
  s.peakPos = {10, 20, 30, 40, 50};
  s.DeleteLetters(2, 2, false);
  EXPECT_EQ(s.quality, (Quals{1, 4, 5}));
  EXPECT_EQ(s.polySitePos, (Peaks{11, 14, 15}));
  EXPECT_EQ(s.peakPos, (Peaks{10, 40, 50}));
}

TEST(TSeqDeleteLetters, AdjustsTheSelectedBlockAndClearsItWhenEmptied) {
  TSeq s("s", "ACGTACGTAC");
  s.selStart = 3;
  s.selLength = 4;  // 3..6
  s.DeleteLetters(5, 4, false);
  EXPECT_EQ(s.selStart, 3);
  EXPECT_EQ(s.selLength, 2);
  s.DeleteLetters(2, 4, false);
  EXPECT_EQ(s.selStart, 0);
  EXPECT_EQ(s.selLength, 0);
}

TEST(TSeqDeleteLetters, TrimTraceZeroesTheMiddleCutsTheEndAndDropsTheHead) {
  {
    TSeq s = TraceRead("ACGTA", {10, 20, 30, 40, 50}, 60);
    s.DeleteLetters(2, 2, true);
    EXPECT_EQ(s.peakPos, (Peaks{10, 40, 50}));
    EXPECT_EQ(s.traceA.size(), 60u);
    EXPECT_EQ(s.traceA[19], 20);  // before the first deleted letter's peak
    EXPECT_EQ(s.traceA[20], 0);
    EXPECT_EQ(s.traceC[35], 0);  // 5 samples before the next peak (40)
    EXPECT_EQ(s.traceC[36], 37);
  }
  {
    TSeq s = TraceRead("ACGTA", {10, 20, 30, 40, 50}, 60);
    s.DeleteLetters(4, 2, true);
    EXPECT_EQ(s.peakPos, (Peaks{10, 20, 30}));
    EXPECT_EQ(s.traceG.size(), 36u);  // up to the last peak + 5
  }
  {
    TSeq s = TraceRead("ACGTA", {10, 20, 30, 40, 50}, 60);
    s.DeleteLetters(1, 2, true);
    EXPECT_EQ(s.peakPos, (Peaks{5, 15, 25}));  // 25 samples before peak 30 - 5 dropped
    EXPECT_EQ(s.traceT.front(), 26);
    EXPECT_EQ(s.traceT.size(), 31u);
    EXPECT_EQ(s.columnShift, 2);
  }
}

TEST(TSeqDeleteLetters, LeavesADisabledSequenceAlone) {
  TSeq s("s", "ACGT");
  s.enabled = false;
  s.DeleteLetters(1, 2, false);
  s.DeleteLetters(-3, 2, false);
  EXPECT_EQ(s.letters, "ACGT");
  EXPECT_EQ(s.columnShift, 0);
}

TEST(TSeqInsertGaps, StepsPeaksFromThePreviousLetterAndWorksOnDisabledSequences) {
  TSeq s = TraceRead("ACGT", {10, 20, 30, 40}, 50);
  s.enabled = false;
  s.regions = {Reg(2, 3), Reg(3, 4)};
  s.InsertGaps(3, 2);
  EXPECT_EQ(s.letters, "AC--GT");
  EXPECT_EQ(s.lettersLength, 6);
  // step = round((30 - 20) / (2 * 2)) = round(2.5) = 2
  EXPECT_EQ(s.peakPos, (Peaks{10, 20, 22, 24, 30, 40}));
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(2, 5));
  EXPECT_EQ(Span(s.regions[1]), std::make_pair(5, 6));
  EXPECT_EQ(s.traceA.size(), 50u);

  TSeq head = TraceRead("AC", {10, 20}, 30);
  head.InsertGaps(-2, 1);  // counts as position 1; steps from the first peak
  EXPECT_EQ(head.letters, "-AC");
  EXPECT_EQ(head.peakPos, (Peaks{10, 10, 20}));
  head.InsertGaps(2, 0);
  EXPECT_EQ(head.letters, "-AC");
}

TEST(TSeqInsertGaps, KeepsQualityAlignedWithItsLetters) {
  TSeq s("s", "ACGT");
  s.quality = {10, 20, 30, 40};
  s.InsertGaps(2, 1);
  EXPECT_EQ(s.quality, (Quals{10, 0, 20, 30, 40}));
}

TEST(TSeqRemoveLetterRuns, RemoveGapsKeepsColumnsOfALeadingRunAndFramesOfRegions) {
  TSeq s("s", "--AC-G");
  s.regions = {Reg(3, 6)};
  s.RemoveGaps();
  EXPECT_EQ(s.letters, "ACG");
  EXPECT_EQ(s.columnShift, 2);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(1, 3));

  TSeq cds("s", "A--CGT");
  cds.regions = {Reg(2, 6, kRegCds, 1)};
  const int before = cds.CodonPosAt(4);  // 3
  cds.RemoveGaps();
  EXPECT_EQ(cds.letters, "ACGT");
  EXPECT_EQ(Span(cds.regions[0]), std::make_pair(2, 4));
  EXPECT_EQ(cds.CodonPosAt(2), before);
}

TEST(TSeqRemoveLetterRuns, CutsRunsToTheRangeAndReadsColumnsWhenAsked) {
  TSeq s("s", "A--C--G");
  s.RemoveLetterRuns(3, 5, false, '-');
  EXPECT_EQ(s.letters, "A-C-G");

  TSeq c("s", "--AC-G");
  c.columnShift = 3;
  c.RemoveLetterRuns(2, 20, true, '-');  // column 2 lies inside the shift
  EXPECT_EQ(c.letters, "ACG");
  EXPECT_EQ(c.columnShift, 1);

  TSeq n("s", "ANNCN");
  n.RemoveLetterRuns(1, 0, false, 'N');  // an empty range removes nothing
  EXPECT_EQ(n.letters, "ANNCN");
  n.RemoveLetterRuns(1, 5, false, 'N');
  EXPECT_EQ(n.letters, "AC");
}

TEST(TSeqTrimTrailing, DeletesOnlyTheFinalRun) {
  TSeq s("s", "ANCGNNN");
  s.TrimTrailing('N');
  EXPECT_EQ(s.letters, "ANCG");
  s.TrimTrailing('N');
  EXPECT_EQ(s.letters, "ANCG");
  TSeq all("s", "NNN");
  all.TrimTrailing('N');
  EXPECT_EQ(all.letters, "");
}

TEST(TSeqInsertSequence, PlacesTheOtherPeaksAroundTheMidpointAndRaisesLaterOnes) {
  TSeq s = TraceRead("AAAA", {10, 20, 29, 40}, 50);
  s.quality = {9, 9, 9, 9};
  s.AddRegion(Reg(1, 4));
  TSeq other = TraceRead("CC", {3, 7}, 10);
  TRegion r = Reg(1, 2, kRegCds, 2);
  r.regId = 5;
  r.regName = "part";
  other.regions.push_back(r);
  s.InsertSequence(3, other);
  EXPECT_EQ(s.letters, "AACCAA");
  EXPECT_EQ(s.lettersLength, 6);
  // M = round((20 + 29) / 2) = round(24.5) = 24; later peaks rise by 7 + 5
  EXPECT_EQ(s.peakPos, (Peaks{10, 20, 27, 31, 41, 52}));
  EXPECT_EQ(s.traceA.size(), 60u);
  EXPECT_EQ(s.traceA[23], 24);
  EXPECT_EQ(s.traceA[24], 1);  // the other's first sample
  EXPECT_EQ(s.traceA[34], 25);
  EXPECT_EQ(s.quality, (Quals{9, 9, 0, 0, 9, 9}));
  ASSERT_EQ(s.regions.size(), 2u);
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(1, 6));
  EXPECT_EQ(Span(s.regions[1]), std::make_pair(3, 4));
  EXPECT_EQ(s.regions[1].codonPos, 2);
  EXPECT_EQ(s.regions[1].regName, "part");
  EXPECT_EQ(s.regions[1].regId, 2);  // ids are given anew
}

TEST(TSeqInsertSequence, AppendsBeyondTheEndAndInterpolatesWithoutPeaks) {
  TSeq s = TraceRead("AAAA", {10, 20, 30, 40}, 50);
  TSeq other = TraceRead("CC", {3, 7}, 10);
  s.InsertSequence(99, other);
  EXPECT_EQ(s.letters, "AAAACC");
  EXPECT_EQ(s.peakPos, (Peaks{10, 20, 30, 40, 48, 52}));  // M = 45
  EXPECT_EQ(s.traceC.size(), 60u);
  EXPECT_EQ(s.traceC[50], 1);

  TSeq t = TraceRead("AAAA", {10, 20, 30, 40}, 50);
  t.quality = {9, 9, 9, 9};
  TSeq plain("p", "GG");
  plain.quality = {33, 44};
  t.InsertSequence(3, plain);
  EXPECT_EQ(t.peakPos, (Peaks{10, 20, 23, 26, 30, 40}));  // step round(10 / 3) = 3
  EXPECT_EQ(t.quality, (Quals{9, 9, 33, 44, 9, 9}));
}

TEST(TSeqInvertSegment, ReverseComplementsTheLettersRegionsAndTrace) {
  TSeq s = TraceRead("AAACCGTT", {0, 10, 20, 28, 45, 50, 60, 70}, 80);
  for (std::size_t i = 0; i < 80; ++i) s.traceT[i] = static_cast<std::uint16_t>(1000 + i);
  s.regions = {Reg(3, 5, kRegCds, 1), Reg(2, 4)};
  s.quality = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_FALSE(s.InvertSegment(4, 4));
  EXPECT_FALSE(s.InvertSegment(0, 4));
  EXPECT_FALSE(s.InvertSegment(3, 9));
  ASSERT_TRUE(s.InvertSegment(3, 6));
  EXPECT_EQ(s.letters, "AACGGTTT");
  EXPECT_EQ(Span(s.regions[0]), std::make_pair(4, 6));
  EXPECT_TRUE(s.regions[0].regReverse);
  EXPECT_EQ(Span(s.regions[1]), std::make_pair(2, 4));  // only partly inside: untouched
  EXPECT_FALSE(s.regions[1].regReverse);
  EXPECT_EQ(s.quality, (Quals{1, 2, 6, 5, 4, 3, 7, 8}));
  // Segment samples 20..50 mirrored: peak p -> 70 - p, in letter order.
  EXPECT_EQ(s.peakPos, (Peaks{0, 10, 20, 25, 42, 50, 60, 70}));
  EXPECT_EQ(s.traceA[20], 1050);  // T's sample 50, mirrored and swapped into A
  EXPECT_EQ(s.traceT[20], 51);
  EXPECT_EQ(s.traceA[51], 52);  // outside the segment
  s.enabled = false;
  EXPECT_FALSE(s.InvertSegment(1, 2));
}

TEST(TSeqInsertGapRuns, OpensEveryRunAsInsertGapsWouldFromTheLastToTheFirst) {
  TSeq s("s", "ACGTACGTAC");
  s.quality = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  s.regions = {Reg(1, 1), Reg(2, 5), Reg(4, 10)};
  TSeq stepwise = s;
  const std::vector<std::pair<int, int>> runs{{1, 2}, {4, 1}, {11, 3}};
  s.InsertGapRuns(runs);
  for (auto it = runs.rbegin(); it != runs.rend(); ++it) stepwise.InsertGaps(it->first, it->second);
  EXPECT_EQ(s.letters, "--ACG-TACGTAC---");  // by hand
  EXPECT_EQ(s.quality, (Quals{0, 0, 1, 2, 3, 0, 4, 5, 6, 7, 8, 9, 10, 0, 0, 0}));
  EXPECT_EQ(s.letters, stepwise.letters);
  EXPECT_EQ(s.quality, stepwise.quality);
  EXPECT_EQ(s.regions, stepwise.regions);
  EXPECT_EQ(s.lettersLength, 16);
}
