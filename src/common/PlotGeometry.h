// SPDX-License-Identifier: GPL-3.0-or-later
// Geometry of the plot viewer without a window: value ranges of the visible series, the
// axis positions, point pixels, Y ticks and the number texts of axes, grids and saved series.
#pragma once
#include <string>
#include <vector>

#include "common/PlotSeries.h"

// Decimal order of |v|: 1 for 0 and for 1 < |v| < 10, 0 for exactly 1, the digits before the
// point from 10 up, minus the multiplications by 10 that bring a value below 1 to at least 1.
int DecimalOrder(double v);
// Fixed notation with |DecimalOrder(v)| decimals (grid cells, saved series).
std::string PlotNumberText(double v);

struct PlotRanges {
  double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
  double minOfYMin = 0, maxOfYMax = 0;
};
// Over the visible series; with minMax the Y range is widened to the whiskers. A zero range
// becomes 0..1 (max 0), 0..max (max > 0) or min..0 (max < 0).
PlotRanges ComputeRanges(const std::vector<tser>& series, bool minMax);

struct PlotFrame {
  int width = 0, height = 0, margin = 30;
  PlotRanges r;
  [[nodiscard]] int XAxisRow() const;
  [[nodiscard]] int YAxisColumn() const;
  [[nodiscard]] int Column(double x) const;
  [[nodiscard]] int Row(double y) const;
};

struct YTick {
  int row = 0;
  double value = 0;
  std::string text;
};
// Labelled Y ticks from the bottom up. Only whole steps of the scaled range are visited, so
// the work does not grow with the range (10^9 takes as long as 10); a label needs textHeight
// pixels above the previous one, the first is compared with the X axis row.
std::vector<YTick> ComputeYTicks(const PlotFrame& frame, int textHeight);

// "Label,X-pos,Y-pos,Y-Max,Y-min" and one line per point, CR LF line ends.
std::string SeriesToCsv(const tser& series);
