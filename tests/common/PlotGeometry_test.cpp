// SPDX-License-Identifier: GPL-3.0-or-later
// Plot viewer geometry: number orders, ranges, axes, Y ticks of tiny and huge ranges, CSV.
#include <gtest/gtest.h>

#include "common/PlotGeometry.h"

namespace {

tser Series(std::initializer_list<std::pair<double, double>> xy) {
  tser s;
  s.name = "s";
  for (auto [x, y] : xy) {
    TSerPoint p;
    p.x = x;
    p.y = y;
    p.yMin = y;
    p.yMax = y;
    s.points.push_back(p);
  }
  return s;
}

TEST(PlotGeometry, DecimalOrderAndNumberText) {
  EXPECT_EQ(DecimalOrder(0), 1);
  EXPECT_EQ(DecimalOrder(1), 0);
  EXPECT_EQ(DecimalOrder(-5), 1);
  EXPECT_EQ(DecimalOrder(10), 2);
  EXPECT_EQ(DecimalOrder(99), 2);
  EXPECT_EQ(DecimalOrder(100), 3);
  EXPECT_EQ(DecimalOrder(0.5), -1);
  EXPECT_EQ(DecimalOrder(0.05), -2);
  EXPECT_EQ(PlotNumberText(0.05), "0.05");
  EXPECT_EQ(PlotNumberText(12.5), "12.50");
}

TEST(PlotGeometry, RangesOfEmptyAndSinglePointPlots) {
  const PlotRanges none = ComputeRanges({}, false);
  EXPECT_EQ(none.xMin, 0);
  EXPECT_EQ(none.xMax, 1);
  EXPECT_EQ(none.yMin, 0);
  EXPECT_EQ(none.yMax, 1);
  const PlotRanges one = ComputeRanges({Series({{0, 3}})}, false);
  EXPECT_EQ(one.xMin, 0);
  EXPECT_EQ(one.xMax, 1);
  EXPECT_EQ(one.yMin, 0);
  EXPECT_EQ(one.yMax, 3);
  tser hidden = Series({{100, 100}});
  hidden.visible = false;
  tser whiskers = Series({{1, 2}, {3, 4}});
  whiskers.points[1].yMax = 7;
  whiskers.points[0].yMin = -1;
  const PlotRanges w = ComputeRanges({whiskers, hidden}, true);
  EXPECT_EQ(w.xMin, 1);
  EXPECT_EQ(w.xMax, 3);
  EXPECT_EQ(w.yMin, -1);
  EXPECT_EQ(w.yMax, 7);
  EXPECT_EQ(ComputeRanges({whiskers}, false).yMin, 2);
}

TEST(PlotGeometry, AxesAndPointPixels) {
  PlotFrame f;
  f.width = 200;
  f.height = 100;
  f.margin = 30;
  f.r = ComputeRanges({Series({{-10, -2}, {10, 2}})}, false);
  EXPECT_EQ(f.XAxisRow(), 50);  // y = 0 halfway up
  EXPECT_EQ(f.YAxisColumn(), 100);
  EXPECT_EQ(f.Column(10), 170);
  EXPECT_EQ(f.Column(-10), 30);
  EXPECT_EQ(f.Row(2), 30);
  EXPECT_EQ(f.Row(-2), 70);
  f.r = ComputeRanges({Series({{1, 1}, {2, 3}})}, false);
  EXPECT_EQ(f.XAxisRow(), 70);  // y-min above 0: the axis at the bottom margin
  EXPECT_EQ(f.YAxisColumn(), 30);
}

TEST(PlotGeometry, YTicksOfASmallRangeInHundredths) {
  PlotFrame f;
  f.width = 300;
  f.height = 560;
  f.margin = 30;
  f.r = ComputeRanges({Series({{1, 0}, {2, 0.05}})}, false);
  const auto ticks = ComputeYTicks(f, 12);
  ASSERT_EQ(ticks.size(), 6u);
  EXPECT_EQ(ticks[0].text, "0.00");
  EXPECT_EQ(ticks[1].text, "0.01");
  EXPECT_EQ(ticks[5].text, "0.05");
  EXPECT_EQ(ticks[0].row, 530);
  EXPECT_EQ(ticks[5].row, 30);
}

TEST(PlotGeometry, YTicksOfHugeRangesVisitOnlyWholeSteps) {
  PlotFrame f;
  f.width = 300;
  f.height = 460;
  f.margin = 30;
  f.r = ComputeRanges({Series({{1, 0}, {2, 5e8}})}, false);
  const auto ticks = ComputeYTicks(f, 12);
  ASSERT_EQ(ticks.size(), 6u);
  for (std::size_t k = 0; k < ticks.size(); ++k) EXPECT_DOUBLE_EQ(ticks[k].value, 1e8 * k);
  EXPECT_EQ(ticks[1].row, 350);
  // 10^9 and beyond: bounded work, labels at the ends.
  f.r = ComputeRanges({Series({{1, 0}, {2, 1e9}})}, false);
  const auto big = ComputeYTicks(f, 12);
  ASSERT_FALSE(big.empty());
  EXPECT_DOUBLE_EQ(big.back().value, 1e9);
  f.r = ComputeRanges({Series({{1, -3e15}, {2, 4e15}})}, false);
  EXPECT_LE(ComputeYTicks(f, 12).size(), 40u);
  // Labels keep one text height apart: a 40 pixel high plot of 0..10 has room for few.
  f.height = 100;
  f.r = ComputeRanges({Series({{1, 0}, {2, 10}})}, false);
  const auto tight = ComputeYTicks(f, 12);
  for (std::size_t k = 1; k < tight.size(); ++k) EXPECT_LE(tight[k].row, tight[k - 1].row - 12);
}

TEST(PlotGeometry, SeriesAsCommaSeparatedText) {
  tser s = Series({{1, 0.5}, {12, 2}});
  s.points[0].label = "a";
  EXPECT_EQ(SeriesToCsv(s),
            "Label,X-pos,Y-pos,Y-Max,Y-min\r\na,1, 0.5, 0.5, 0.5\r\n,12.00, 2.0, 2.0, 2.0\r\n");
}

}  // namespace
