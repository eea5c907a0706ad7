// SPDX-License-Identifier: GPL-3.0-or-later
// Trace helpers, restriction site search and gap patterns of TSeq.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "model/tsequnit.h"

namespace {

using Channel = std::vector<std::uint16_t>;
using Peaks = std::vector<std::int32_t>;

TRenzyme Enzyme(std::string name, std::string site, int cut, bool on = true) {
  TRenzyme e;
  e.name = std::move(name);
  e.site = std::move(site);
  e.cutOffset = cut;
  e.enabled = on;
  return e;
}

}  // namespace

TEST(TSeqNormaliseTraces, DividesByTheMeanLevelOverTheTargetRoundingHalvesToEven) {
  TSeq s("s", "AC");
  s.traceA = {10, 30};  // mean 20
  s.traceT = {20, 20};  // 20
  s.traceC = {40, 40};  // 40
  s.traceG = {0, 40};   // 20; overall 25, over target 6.25 = 4
  s.NormaliseTraces(6.25);
  EXPECT_EQ(s.traceA, (Channel{2, 8}));  // 2.5 -> 2, 7.5 -> 8
  EXPECT_EQ(s.traceT, (Channel{5, 5}));
  EXPECT_EQ(s.traceC, (Channel{10, 10}));
  EXPECT_EQ(s.traceG, (Channel{0, 10}));
  EXPECT_FLOAT_EQ(s.traceScale, 4.0f);
}

TEST(TSeqNormaliseTraces, LeavesFlatOrMissingTracesAlone) {
  TSeq s("s", "AC");
  s.traceA = {0, 0};
  s.NormaliseTraces(100);
  EXPECT_EQ(s.traceA, (Channel{0, 0}));
  EXPECT_FLOAT_EQ(s.traceScale, 1.0f);
}

TEST(TSeqTrimTraceStart, KeepsTenSamplesBeforeTheFirstPeak) {
  TSeq s("s", "AC");
  for (auto* ch : {&s.traceA, &s.traceT, &s.traceG, &s.traceC}) {
    ch->resize(50);
    for (std::size_t i = 0; i < 50; ++i) (*ch)[i] = static_cast<std::uint16_t>(i);
  }
  s.peakPos = {25, 40};
  s.TrimTraceStart();
  EXPECT_EQ(s.peakPos, (Peaks{10, 25}));
  EXPECT_EQ(s.traceA.size(), 35u);
  EXPECT_EQ(s.traceC.front(), 15);
  s.TrimTraceStart();  // already ten before: nothing to drop
  EXPECT_EQ(s.peakPos, (Peaks{10, 25}));
  EXPECT_EQ(s.traceA.size(), 35u);
}

TEST(TSeqEstimateQuality, ScoresEachLetterFromItsPeakAndFlanks) {
  TSeq s("s", "ACG");
  for (auto* ch : {&s.traceA, &s.traceT, &s.traceG, &s.traceC}) ch->assign(16, 0);
  s.peakPos = {4, 8, 12};
  // Letter A: peak 4, next 8 -> half 2, flank points 3 and 5.
  s.traceA[4] = 100;
  s.traceA[3] = 50;
  s.traceC[3] = 50;
  s.traceA[5] = 20;
  s.traceG[5] = 80;
  // P = 1, Wl = 0.5, Wr = 0.2, Tl = 0.5, Tr = 0.8, S = 0.7
  // q = 0.1 + 0.025 + 0.04 + 0.014 + 0.025 + 0.01 = 0.214 -> 21
  // Letter C: no C signal at its peak -> only 0.02 x S (= 1) -> 2.
  s.traceT[8] = 10;
  s.quality = {0, 0, 77};
  EXPECT_DOUBLE_EQ(s.EstimateQuality(), 8.0);  // round((21 + 2) / 3)
  EXPECT_EQ(s.quality, (std::vector<std::uint8_t>{21, 2, 77}));
}

TEST(TSeqEstimateQuality, RefusesWithoutMatchingPeaksOrEnoughSamples) {
  TSeq s("s", "ACG");
  for (auto* ch : {&s.traceA, &s.traceT, &s.traceG, &s.traceC}) ch->assign(3, 1);
  EXPECT_DOUBLE_EQ(s.EstimateQuality(), -1);  // no peaks
  s.peakPos = {0, 1};
  EXPECT_DOUBLE_EQ(s.EstimateQuality(), -1);  // two peaks for three letters
  s.peakPos = {0, 1, 2};
  EXPECT_DOUBLE_EQ(s.EstimateQuality(), -1);  // three letters, three samples
  s.traceG.push_back(1);
  EXPECT_DOUBLE_EQ(s.EstimateQuality(), -1);  // the shortest channel decides
  EXPECT_TRUE(s.quality.empty());
}

TEST(TSeqFindRestrictionSites, MarksEveryHitAndLeavesTheLettersAlone) {
  TSeq s("s", "aGAATTCxxGAATTC");
  std::string report;
  s.FindRestrictionSites(
      {Enzyme("EcoRI", "GAATTC", 1), Enzyme("Off", "GAA", 0, false), Enzyme("XmnI", "GAAT", 2)},
      report);
  EXPECT_EQ(s.letters, "aGAATTCxxGAATTC");
  EXPECT_EQ(report, "\r\nEcoRI: 2; 10; \r\nXmnI: 3; 11; ");
  ASSERT_EQ(s.siteMarks.size(), 4u);
  EXPECT_EQ(s.siteMarks[0].regType, kRegRestrSite);
  EXPECT_EQ(s.siteMarks[0].regName, "EcoRI");
  EXPECT_EQ(s.siteMarks[0].regStart, 2);
  EXPECT_EQ(s.siteMarks[0].regEnd, 7);
  EXPECT_EQ(s.siteMarks[0].codonPos, 1);
  EXPECT_EQ(s.siteMarks[2].regName, "XmnI");  // same start as an EcoRI hit, still found
  EXPECT_EQ(s.siteMarks[2].regStart, 2);
  EXPECT_TRUE(s.regions.empty());
}

TEST(TSeqFindRestrictionSites, FindsOverlappingHitsAndClearsEarlierMarks) {
  TSeq s("s", "AAAAA");
  std::string report;
  s.FindRestrictionSites({Enzyme("Poly", "AAA", 0)}, report);
  EXPECT_EQ(s.siteMarks.size(), 3u);
  EXPECT_EQ(report, "\r\nPoly: 0; 1; 2; ");
  s.FindRestrictionSites({Enzyme("Poly", "AAA", 0, false)}, report);
  EXPECT_TRUE(s.siteMarks.empty());
}

TEST(TSeqFindRestrictionSites, FindsWhatAPlainScanOfEveryPositionFinds) {
  // Letters of either case with N and gaps between them; sites of 3 to 7 letters, some with N.
  std::uint32_t state = 11;
  const auto next = [&state] { return (state = state * 134775813u + 1u) >> 16; };
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "ACGTacgtACGTNn-"[next() % 15];
  std::vector<TRenzyme> enzymes;
  for (int e = 0; e < 40; ++e) {
    std::string site;
    for (std::uint32_t k = 0, n = 3 + next() % 5; k < n; ++k) site += "ACGTACGTACGTN"[next() % 13];
    enzymes.push_back(Enzyme("E" + std::to_string(e), site, 1));
  }
  enzymes.push_back(Enzyme("Long", "AAAAAA", 1));
  text += "aaaaaaaa";  // overlapping hits of a site the prefixes index
  TSeq s("s", text);
  std::string report;
  s.FindRestrictionSites(enzymes, report);

  std::vector<std::pair<std::string, int>> expected, found;
  for (const TRenzyme& e : enzymes)
    for (std::size_t p = 0; p + e.site.size() <= text.size(); ++p) {
      bool same = true;
      for (std::size_t k = 0; k < e.site.size() && same; ++k)
        same = std::toupper(static_cast<unsigned char>(text[p + k])) == e.site[k];
      if (same) expected.emplace_back(e.name, static_cast<int>(p) + 1);
    }
  for (const TRegion& m : s.siteMarks) found.emplace_back(m.regName, m.regStart);
  EXPECT_EQ(found, expected);
  EXPECT_GT(found.size(), 100u);
  EXPECT_EQ(std::count(found.begin(), found.end(), std::make_pair(std::string("Long"), 3001)), 1);
}

TEST(TSeqApplyGapPattern, CopiesTheGapsOfTheAlignedCopy) {
  TSeq s("s", "A-CGT");
  const TSeq aligned("a", "AC--GT");
  ASSERT_TRUE(s.ApplyGapPattern(aligned, '-'));
  EXPECT_EQ(s.letters, "AC--GT");
  EXPECT_EQ(s.lettersLength, 6);
  EXPECT_EQ(s.columnShift, 0);
}

TEST(TSeqApplyGapPattern, ALeadingRunBecomesShiftAndLaterRunsStayInPlace) {
  TSeq s("s", "A-CGT");
  s.columnShift = 7;
  ASSERT_TRUE(s.ApplyGapPattern(TSeq("a", "--AC-GT"), '-'));
  EXPECT_EQ(s.letters, "AC-GT");
  EXPECT_EQ(s.columnShift, 2);
}

TEST(TSeqApplyGapPattern, RefusesDifferentLettersAndDisabledSequences) {
  TSeq s("s", "ACGT");
  EXPECT_FALSE(s.ApplyGapPattern(TSeq("a", "AC-G"), '-'));
  EXPECT_EQ(s.letters, "ACGT");
  TSeq off("a", "AC-GT");
  off.enabled = false;
  EXPECT_FALSE(s.ApplyGapPattern(off, '-'));
  s.enabled = false;
  EXPECT_FALSE(s.ApplyGapPattern(TSeq("a", "AC-GT"), '-'));
  EXPECT_EQ(s.letters, "ACGT");
}

TEST(TSeqApplyGapPattern, OffsetsInsertionsByTheSelectedBlock) {
  TSeq s("s", "ACGT");
  s.selStart = 2;
  s.selLength = 2;
  ASSERT_TRUE(s.ApplyGapPattern(TSeq("a", "AC-GT"), '-'));
  EXPECT_EQ(s.letters, "ACG-T");
}

TEST(TSeqApplyGapPatternAt, HonoursLastRunShiftAndOffsetChoices) {
  TSeq s("s", "ACGT");
  ASSERT_TRUE(s.ApplyGapPatternAt(TSeq("a", "AC-GT--"), '-', false, true, true, 0));
  EXPECT_EQ(s.letters, "AC-GT");

  TSeq t("s", "ACGT");
  ASSERT_TRUE(t.ApplyGapPatternAt(TSeq("a", "-ACGT"), '-', true, false, true, 0));
  EXPECT_EQ(t.letters, "-ACGT");
  EXPECT_EQ(t.columnShift, 0);

  TSeq u("s", "ACGT");
  u.columnShift = 4;
  ASSERT_TRUE(u.ApplyGapPatternAt(TSeq("a", "AC-GT"), '-', true, true, false, 1));
  EXPECT_EQ(u.letters, "ACG-T");
  EXPECT_EQ(u.columnShift, 4);
}
