// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "common/PlotValues.h"

namespace {

TSerPoint Point(double x, double y, double yMax, double yMin, const std::string& label = {}) {
  TSerPoint p;
  p.x = x;
  p.y = y;
  p.yMax = yMax;
  p.yMin = yMin;
  p.label = label;
  return p;
}

}  // namespace

TEST(CellsToPoints, ReadsRowsUntilTheFirstCellThatIsNotANumber) {
  std::vector<TSerPoint> points{Point(1, 1, 1, 1), Point(2, 2, 2, 2), Point(3, 3, 3, 3),
                                Point(4, 4, 4, 4)};
  const std::vector<PlotCells> rows{{"a", "10", "-2.5", " 3 ", "0"},
                                    {"", "", "", "", ""},
                                    {"c", "5", "6", "x7", "y"},
                                    {"d", "8", "9", "9", "9"}};
  EXPECT_EQ(CellsToPoints(rows, points),
            "Error in Max-Values row 3\r\nx7 can not be converted to a real number");
  EXPECT_EQ(points[0].label, "a");
  EXPECT_DOUBLE_EQ(points[0].y, -2.5);
  EXPECT_DOUBLE_EQ(points[0].yMax, 3);
  // Empty cells are 0.
  EXPECT_DOUBLE_EQ(points[1].x, 0);
  EXPECT_DOUBLE_EQ(points[1].yMin, 0);
  // Row 3: x and y taken, the bad cell and the rest of the row unchanged; row 4 untouched.
  EXPECT_DOUBLE_EQ(points[2].x, 5);
  EXPECT_DOUBLE_EQ(points[2].y, 6);
  EXPECT_DOUBLE_EQ(points[2].yMax, 3);
  EXPECT_DOUBLE_EQ(points[2].yMin, 3);
  EXPECT_DOUBLE_EQ(points[3].x, 4);

  std::vector<TSerPoint> one{Point(1, 1, 1, 1)};
  EXPECT_EQ(CellsToPoints({{"", "1,5", "", "", ""}}, one),
            "Error in X-Values row 1\r\n1,5 can not be converted to a real number");
  EXPECT_EQ(CellsToPoints({{"", "1", "two", "", ""}}, one).substr(0, 24),
            "Error in Y-Values row 1\r");
  EXPECT_EQ(CellsToPoints({{"", "1", "2", "3", "-"}}, one).substr(0, 26),
            "Error in Min-Values row 1\r");
}

TEST(CellsToPoints, GridRowsDecideThePointCountAndTheCellsReadBack) {
  const std::vector<TSerPoint> original{Point(0.05, 12, 13.5, -1, "w1"), Point(150, 0.5, 1, 0)};
  std::vector<PlotCells> rows = PointsToCells(original);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][1], "0.05");     // two decimals for an order of -2
  EXPECT_EQ(rows[1][1], "150.000");  // an order of 3 gives three decimals
  rows.push_back({"new", "3", "4", "5", "6"});
  std::vector<TSerPoint> points = original;
  EXPECT_EQ(CellsToPoints(rows, points), "");
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].label, "w1");
  EXPECT_DOUBLE_EQ(points[0].x, 0.05);
  EXPECT_DOUBLE_EQ(points[0].yMax, 13.5);
  EXPECT_DOUBLE_EQ(points[2].yMin, 6);
  rows.erase(rows.begin());
  EXPECT_EQ(CellsToPoints(rows, points), "");
  EXPECT_EQ(points.size(), 2u);
}

TEST(StripSpanOf, CutsBeforeXMinAndAfterTheRoundedXMax) {
  auto span = StripSpanOf(2, 10.5, 32);
  EXPECT_EQ(span.first, 2);
  EXPECT_EQ(span.last, 10);  // 10.5 rounds to even
  span = StripSpanOf(2.2, 11.5, 32);
  EXPECT_EQ(span.first, 3);
  EXPECT_EQ(span.last, 12);
  span = StripSpanOf(-5, 100, 32);  // clipped to the sequence
  EXPECT_EQ(span.first, 1);
  EXPECT_EQ(span.last, 32);
  span = StripSpanOf(40, 50, 32);
  EXPECT_GT(span.first, span.last);
}

TEST(CellsToPoints, CellsStillShowingTheirTextKeepTheExactValue) {
  std::vector<TSerPoint> points{Point(1.25, 0.123456, 0.987654, 0.0123)};
  std::vector<PlotCells> shown = PointsToCells(points);
  EXPECT_EQ(shown[0][2], "0.1");  // the grid shows one decimal for an order of -1
  std::vector<PlotCells> rows = shown;
  EXPECT_EQ(CellsToPoints(rows, points, &shown), "");
  EXPECT_DOUBLE_EQ(points[0].y, 0.123456);
  EXPECT_DOUBLE_EQ(points[0].yMax, 0.987654);
  // An edited cell is read; typing the old text back is an edit too.
  rows[0][2] = "0.2";
  EXPECT_EQ(CellsToPoints(rows, points, &shown), "");
  EXPECT_DOUBLE_EQ(points[0].y, 0.2);
  EXPECT_DOUBLE_EQ(points[0].yMin, 0.0123);
  rows[0][2] = "0.1";
  EXPECT_EQ(CellsToPoints(rows, points, &shown), "");
  EXPECT_DOUBLE_EQ(points[0].y, 0.1);
}
