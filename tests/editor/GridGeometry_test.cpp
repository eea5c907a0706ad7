// SPDX-License-Identifier: GPL-3.0-or-later
// Grid pixel arithmetic: columns, boundaries, window, zoom, ruler, rows. Expected values are
// worked out by hand from the formulas the grid follows (shown next to each case).
#include "editor/GridGeometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
LetterLayout Layout(double lw, int left, int first) {
  LetterLayout l;
  l.letterWidth = lw;
  l.left = left;
  l.letterMargin = 3;
  l.firstVisibleCol = first;
  return l;
}
}  // namespace

TEST(GridColumnX, TruncatesTheOffsetFromTheFirstVisibleColumn) {
  EXPECT_EQ(ColumnX(Layout(12, 130, 5), 5), 133);
  EXPECT_EQ(ColumnX(Layout(12, 130, 5), 7), 157);   // 133 + 2 * 12
  EXPECT_EQ(ColumnX(Layout(7.5, 130, 5), 8), 155);  // 133 + trunc(22.5)
  EXPECT_EQ(ColumnX(Layout(12, 130, 5), 3), 109);   // left of the window: 133 - 24
}

TEST(GridColumnX, ExtremeZoomsStayInsideIntRange) {
  // 1e-15 pixels per column: every column of a 5000-column alignment sits on the first pixel.
  EXPECT_EQ(ColumnX(Layout(1e-15, 130, 1), 5000), 133);
  // Wide zoom far away from the window: clamped, not wrapped into a negative number.
  EXPECT_GT(ColumnX(Layout(20, 130, 1), INT_MAX), 1000000);
  EXPECT_LT(ColumnX(Layout(20, 130, INT_MAX), 1), -1000000);
}

TEST(GridLetterCellWidth, RoundsHalvesToEvenAndNeverVanishes) {
  EXPECT_EQ(LetterCellWidth(12), 12);
  EXPECT_EQ(LetterCellWidth(2.5), 2);
  EXPECT_EQ(LetterCellWidth(3.5), 4);
  EXPECT_EQ(LetterCellWidth(0.3), 1);
  EXPECT_EQ(LetterCellWidth(1e-15), 1);
}

TEST(GridBoundaryAtX, MapsAClickInsideACellToThatLetter) {
  // b = round((x - 130 - 3 - 5) / 12) + 1 - shift
  const LetterLayout l = Layout(12, 130, 1);
  EXPECT_EQ(BoundaryAtX(l, 133, 0), 1);  // -5/12 -> 0
  EXPECT_EQ(BoundaryAtX(l, 181, 0), 5);  // 43/12 = 3.58 -> 4
  EXPECT_EQ(BoundaryAtX(l, 192, 0), 5);  // 54/12 = 4.5 -> 4 (half to even)
  EXPECT_EQ(BoundaryAtX(l, 193, 0), 6);  // 55/12 = 4.58 -> 5
  EXPECT_EQ(BoundaryAtX(l, 181, 2), 3);  // the row starts two columns later
  EXPECT_EQ(BoundaryAtX(Layout(12, 130, 11), 181, 0), 15);
}

TEST(GridBoundaryAtX, SmallestZoomDoesNotOverflow) {
  // (1000 - 138) / 1e-15 is about 8.6e17: far beyond int, clamped instead of undefined.
  const int b = BoundaryAtX(Layout(1e-15, 130, 1), 1000, 0);
  EXPECT_GT(b, 1000000);
  EXPECT_EQ(BoundaryAtX(Layout(0, 130, 1), 1000, 0), b);  // a zero zoom counts as the smallest
}

TEST(GridBoundaryFromPeaks, TakesTheLastPeakLeftOfTheMouse) {
  // Peaks 5, 15, 25, 35 at 10 samples per cell sit at columns 0.5 .. 3.5, i.e. at pixels
  // 3 + (c - 1) * 12 = -3, 9, 21, 33.
  const std::vector<std::int32_t> peaks{5, 15, 25, 35};
  const LetterLayout l = Layout(12, 0, 1);
  EXPECT_EQ(BoundaryFromPeaks(l, 30, 0, peaks, 10), 3);    // 25: -3, 9, 21 lie left of it
  EXPECT_EQ(BoundaryFromPeaks(l, 14, 0, peaks, 10), 1);    // 9 is not left of 9
  EXPECT_EQ(BoundaryFromPeaks(l, 5000, 0, peaks, 10), 4);  // past the last peak
  EXPECT_EQ(BoundaryFromPeaks(l, 30, 1, peaks, 10), 2);    // shift moves peaks one cell right
  EXPECT_EQ(BoundaryFromPeaks(l, 30, 0, {}, 10), 0);
}

TEST(GridBoundaryFromPeaks, ZeroSamplesPerCellCountsAsOne) {
  // At 1 sample per cell peak 5 sits at column 5: pixel 3 + 4 * 12 = 51.
  const std::vector<std::int32_t> peaks{5, 15};
  EXPECT_EQ(BoundaryFromPeaks(Layout(12, 0, 1), 60, 0, peaks, 0), 1);
  EXPECT_EQ(BoundaryFromPeaks(Layout(12, 0, 1), 60, 0, peaks, -3), 1);
}

TEST(GridSetWindow, SwapsClampsLowersTheEndAndLimits) {
  EXPECT_EQ(SetWindow(10, 3, 100), (ColumnWindow{3, 9}));
  EXPECT_EQ(SetWindow(0, 1, 100), (ColumnWindow{1, 1}));
  EXPECT_EQ(SetWindow(-5, 40, 100), (ColumnWindow{1, 39}));
  EXPECT_EQ(SetWindow(50, 200, 120), (ColumnWindow{50, 120}));
  EXPECT_EQ(SetWindow(200, 300, 120), (ColumnWindow{120, 120}));
  EXPECT_EQ(SetWindow(1, 40, 0), (ColumnWindow{1, 1}));
}

TEST(GridFitWindow, FillsTheColumnFromTheFirstVisibleColumn) {
  // end requested = 1 + trunc(600 / 12) - 1 = 50, lowered by one when set.
  EXPECT_EQ(FitWindow(1, 600, 12, 1000), (ColumnWindow{1, 49}));
  EXPECT_EQ(FitWindow(101, 600, 12, 1000), (ColumnWindow{101, 149}));
  EXPECT_EQ(FitWindow(1, 600, 12, 30), (ColumnWindow{1, 30}));
  EXPECT_EQ(FitWindow(0, 600, 12, 1000), (ColumnWindow{1, 48}));
}

TEST(GridFitWindow, SmallestZoomShowsTheWholeAlignmentWithoutOverflow) {
  EXPECT_EQ(FitWindow(1, 600, 1e-15, 5000), (ColumnWindow{1, 5000}));
  EXPECT_EQ(FitWindow(4000, 600, 1e-15, 5000), (ColumnWindow{4000, 5000}));
  EXPECT_EQ(ColumnsThatFit(600, 1e-15), 1073741824);
  EXPECT_EQ(ColumnsThatFit(600, 0), 0);
}

TEST(GridZoom, StepsAreClampedToTheLimits) {
  EXPECT_DOUBLE_EQ(ZoomIn(12), 18);
  EXPECT_DOUBLE_EQ(ZoomIn(16), 20);  // 24 is above the maximum
  EXPECT_DOUBLE_EQ(ZoomOut(12), 8);
  EXPECT_DOUBLE_EQ(ZoomOut(12, 0), 6);  // no positive factor: halves
  EXPECT_DOUBLE_EQ(ZoomOut(12, -1), 6);
  EXPECT_DOUBLE_EQ(ZoomOut(1e-15), 1e-15);  // stays at the minimum
  EXPECT_DOUBLE_EQ(ZoomIn(-3), 1e-15);
  EXPECT_DOUBLE_EQ(ClampZoom(0), 1e-15);
}

TEST(GridZoom, FitDividesTheColumnWidthByTheAlignmentLength) {
  EXPECT_DOUBLE_EQ(FitZoom(610, 300, 12), 2.0);   // (610 - 10) / 300
  EXPECT_DOUBLE_EQ(FitZoom(1010, 10, 12), 20.0);  // 100 is above the maximum
  EXPECT_DOUBLE_EQ(FitZoom(5, 100, 12), 1e-15);   // negative width
}

TEST(GridZoom, FitOnAnEmptyDatasetKeepsTheZoom) {
  EXPECT_DOUBLE_EQ(FitZoom(610, 0, 12), 12.0);
  EXPECT_DOUBLE_EQ(FitZoom(610, -4, 30), 20.0);
}

TEST(GridOutlineMode, BelowTheAverageCharacterWidth) {
  EXPECT_TRUE(IsOutlineMode(5, 7));
  EXPECT_FALSE(IsOutlineMode(7, 7));
  EXPECT_FALSE(IsOutlineMode(10, 7));
}

TEST(GridRuler, SpacingIsTheSmallestTenMultipleGivingFewerThanTenMarks) {
  EXPECT_EQ(RulerSpacing(49), 10);
  EXPECT_EQ(RulerSpacing(99), 10);
  EXPECT_EQ(RulerSpacing(100), 20);  // 100 / 10 = 10 is not below 10
  EXPECT_EQ(RulerSpacing(250), 30);
  EXPECT_EQ(RulerSpacing(5000), 510);
}

TEST(GridRuler, NumbersTheFirstColumnAndMultiplesWithoutOverlap) {
  EXPECT_EQ(RulerColumns(Layout(12, 0, 1), 49, 8), (std::vector<int>{1, 10, 20, 30, 40}));
  // 56 columns at 1 pixel: spacing 10. "95" ends at 3 + 16 = 19, so 100 (x 8) and 110 (x 18)
  // are dropped; "120" (x 28) ends at 52, dropping 130 and 140; 150 sits at 58.
  EXPECT_EQ(RulerColumns(Layout(1, 0, 95), 150, 8), (std::vector<int>{95, 120, 150}));
  EXPECT_TRUE(RulerColumns(Layout(12, 0, 10), 5, 8).empty());
}

TEST(GridRows, HitTestAndTopPixel) {
  // Header 18 pixels, rows 23 pixels.
  EXPECT_EQ(RowAtY(5, 18, 23, 1, 5), 0);
  EXPECT_EQ(RowAtY(18, 18, 23, 1, 5), 1);
  EXPECT_EQ(RowAtY(40, 18, 23, 1, 5), 1);
  EXPECT_EQ(RowAtY(41, 18, 23, 1, 5), 2);
  EXPECT_EQ(RowAtY(133, 18, 23, 1, 5), -1);  // would be row 6 of 5
  EXPECT_EQ(RowAtY(-1, 18, 23, 1, 5), -1);
  EXPECT_EQ(RowAtY(18, 18, 23, 3, 5), 3);
  EXPECT_EQ(RowAtY(30, 18, 0, 1, 5), -1);
  EXPECT_EQ(RowTop(3, 18, 23, 1), 64);
  EXPECT_EQ(RowTop(3, 18, 23, 3), 18);
  EXPECT_EQ(RowTop(2, 18, 23, 3), -1);
}
