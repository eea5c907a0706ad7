// SPDX-License-Identifier: GPL-3.0-or-later
// Long random runs of edits on one read: the per-letter lists, regions and length must stay in
// step with the letters after every operation (and nothing may read out of bounds).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "model/tsequnit.h"

namespace {

std::string Letters(std::mt19937& rng, int n) {
  static constexpr char kAlphabet[] = "ACGTacgtN-";
  std::uniform_int_distribution<int> pick(0, 9);
  std::string s;
  for (int i = 0; i < n; ++i) s += kAlphabet[pick(rng)];
  return s;
}

TSeq RandomRead(std::mt19937& rng) {
  TSeq s("read", Letters(rng, 120));
  for (int i = 0; i < s.Length(); ++i) {
    s.peakPos.push_back(10 * i + 5);
    s.quality.push_back(static_cast<std::uint8_t>(i % 60));
    s.polySitePos.push_back(i);
  }
  for (auto* ch : {&s.traceA, &s.traceT, &s.traceG, &s.traceC})
    ch->assign(static_cast<std::size_t>(10 * s.Length() + 10), 7);
  std::uniform_int_distribution<int> pos(1, s.Length());
  for (int i = 0; i < 12; ++i) {
    TRegion r;
    r.regStart = pos(rng);
    r.regEnd = std::min(s.Length(), r.regStart + pos(rng) / 4);
    r.regType = static_cast<std::uint8_t>(std::array{kRegCds, kRegIntron, kRegMisc}[i % 3]);
    r.codonPos = 1 + i % 3;
    r.regReverse = i % 2 == 1;
    s.AddRegion(r);
  }
  return s;
}

void ExpectInStep(const TSeq& s, int step) {
  SCOPED_TRACE(step);
  const auto len = static_cast<std::size_t>(s.Length());
  ASSERT_EQ(s.lettersLength, s.Length());
  ASSERT_EQ(s.quality.size(), len);
  ASSERT_EQ(s.polySitePos.size(), len);
  ASSERT_EQ(s.peakPos.size(), len);
  for (const TRegion& r : s.regions) {
    ASSERT_LE(1, r.regStart);
    ASSERT_LE(r.regStart, r.regEnd);
    ASSERT_LE(r.regEnd, s.Length());
  }
  if (s.selLength > 0) {
    ASSERT_GE(s.selStart, 1);
    ASSERT_LE(s.selStart + s.selLength - 1, s.Length());
  }
}

}  // namespace

TEST(TSeqEditRuns, ListsAndRegionsStayInStepWithTheLetters) {
  for (std::uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
    std::mt19937 rng(seed);
    TSeq s = RandomRead(rng);
    s.selStart = 10;
    s.selLength = 20;
    for (int step = 0; step < 400 && s.Length() > 0; ++step) {
      std::uniform_int_distribution<int> pos(-2, s.Length() + 2);
      std::uniform_int_distribution<int> small(0, 8);
      switch (step % 12) {
        case 0:
          s.InsertLetters(pos(rng), Letters(rng, 1 + small(rng)), true);
          break;
        case 1:
          s.DeleteLetters(pos(rng), small(rng), step % 5 == 0);
          break;
        case 2:
          s.InsertGaps(pos(rng), small(rng));
          break;
        case 3:
          s.Reverse();
          break;
        case 4:
          s.Complement();
          break;
        case 5:
          s.InvertSegment(pos(rng), pos(rng));
          break;
        case 6:
          s.RemoveLetterRuns(pos(rng), pos(rng), step % 2 == 0, '-');
          break;
        case 7: {
          TSeq piece = RandomRead(rng);
          piece.DeleteLetters(5, 110, false);
          s.InsertSequence(pos(rng), piece);
          break;
        }
        case 8:
          s.MergeRegions();
          break;
        case 9:
          s.SplitCdsAtGaps(static_cast<int>(rng() % (s.regions.size() + 1)), '-');
          break;
        case 10:
          s.MergeCdsSplitByN();
          break;
        case 11:
          s.TrimTrailing('-');
          break;
      }
      ExpectInStep(s, step);
      if (HasFatalFailure()) return;
    }
  }
}

TEST(TSeqEditRuns, ReversingTwiceRestoresARandomRead) {
  for (std::uint32_t seed : {11u, 12u, 13u}) {
    std::mt19937 rng(seed);
    TSeq s = RandomRead(rng);
    s.poorQualityLeft = 7;
    s.selStart = 3;
    s.selLength = 9;
    const TSeq before = s;
    s.Reverse();
    s.Reverse();
    EXPECT_EQ(s.letters, before.letters);
    EXPECT_EQ(s.peakPos, before.peakPos);
    EXPECT_EQ(s.quality, before.quality);
    EXPECT_EQ(s.regions, before.regions);
    EXPECT_EQ(s.poorQualityLeft, 7);
    EXPECT_EQ(s.poorQualityRight, -1);
    EXPECT_EQ(s.selStart, 3);
  }
}
