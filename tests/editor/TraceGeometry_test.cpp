// SPDX-License-Identifier: GPL-3.0-or-later
// Trace view arithmetic; expected values worked out by hand from the stated formulas.
#include "editor/TraceGeometry.h"

#include <gtest/gtest.h>

TEST(TraceFirstSample, KeepsTheCursorPeakInsideTheBox) {
  // (500 - 100) * 1 + 45 > 300: first = 500 - round(255) = 245.
  EXPECT_EQ(FirstSampleForPeak(500, 100, 300, 1.0), 245);
  // At 2 pixels per sample: 300 - round(255 / 2 = 127.5 -> 128) = 172.
  EXPECT_EQ(FirstSampleForPeak(300, 100, 300, 2.0), 172);
  // Less than 9 samples after the first: peak - 9.
  EXPECT_EQ(FirstSampleForPeak(105, 100, 300, 1.0), 96);
  // Already visible: unchanged.
  EXPECT_EQ(FirstSampleForPeak(200, 100, 300, 1.0), 100);
  // Never below 0.
  EXPECT_EQ(FirstSampleForPeak(5, 100, 300, 1.0), 0);
  // A zero scale counts as one pixel per sample instead of dividing by zero.
  EXPECT_EQ(FirstSampleForPeak(500, 100, 300, 0.0), 245);
}

TEST(TraceVisibleSamples, OnlyTheSamplesInsideTheBoxPlusOneEachSide) {
  TraceWindow w;
  w.firstSample = 100;
  w.scale = 2.0;
  w.margin = 3;
  // (203 - 3) / 2 = 100 samples wide: 100 .. 201, one more each side where the channel has it.
  SampleRange r = VisibleSamples(w, 203, 1000);
  EXPECT_EQ(r.first, 99);
  EXPECT_EQ(r.last, 201);
  r = VisibleSamples(w, 203, 150);
  EXPECT_EQ(r.last, 149);
  w.firstSample = 0;
  EXPECT_EQ(VisibleSamples(w, 203, 1000).first, 0);
  EXPECT_LT(VisibleSamples(w, 203, 0).last, VisibleSamples(w, 203, 0).first);
}

TEST(TraceSignalY, ScalesFromTheBottomAndClips) {
  EXPECT_EQ(SignalY(1000, 0.05, 0, 100), 50);
  EXPECT_EQ(SignalY(4000, 0.05, 0, 100), 0);
  EXPECT_EQ(SignalY(0, 0.05, 10, 100), 100);
}

TEST(TraceLetterAtX, FirstPeakAtOrAfterTheClickedSample) {
  TraceWindow w;
  w.firstSample = 0;
  w.scale = 2.0;
  w.margin = 3;
  const std::vector<std::int32_t> peaks{10, 22, 35, 47};
  EXPECT_EQ(LetterAtTraceX(3, w, peaks), 1);               // sample 0
  EXPECT_EQ(LetterAtTraceX(3 + 2 * 22, w, peaks), 2);      // exactly on peak 22
  EXPECT_EQ(LetterAtTraceX(3 + 2 * 22 + 1, w, peaks), 3);  // sample 22.5
  w.firstSample = 20;
  EXPECT_EQ(LetterAtTraceX(3 + 2 * 10, w, peaks), 3);  // sample 30
}

TEST(TraceLetterAtX, ClickPastTheLastPeakGivesTheLastLetter) {
  TraceWindow w;
  w.firstSample = 0;
  w.scale = 1.0;
  EXPECT_EQ(LetterAtTraceX(5000, w, {10, 22, 35, 47}), 4);
  EXPECT_EQ(LetterAtTraceX(50, w, {}), 0);
  w.scale = 0;  // counts as 1
  EXPECT_EQ(LetterAtTraceX(3 + 30, w, {10, 22, 35, 47}), 3);
}

TEST(TraceLetterAtOverviewX, ProportionalWithinTheSequence) {
  EXPECT_EQ(LetterAtOverviewX(50, 100, 300), 150);
  EXPECT_EQ(LetterAtOverviewX(0, 100, 300), 1);
  EXPECT_EQ(LetterAtOverviewX(100, 100, 300), 300);
  EXPECT_EQ(LetterAtOverviewX(500, 100, 300), 300);
  EXPECT_EQ(LetterAtOverviewX(50, 0, 300), 1);  // a collapsed box divides by nothing
  EXPECT_EQ(LetterAtOverviewX(50, 100, 0), 0);
}
