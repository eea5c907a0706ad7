// SPDX-License-Identifier: GPL-3.0-or-later
// Geometry of the plot viewer: ranges, axes, pixels, ticks and number texts.
#include "common/PlotGeometry.h"

#include <algorithm>
#include <cmath>

#include "common/NumberFormat.h"

int DecimalOrder(double v) {
  double a = std::fabs(v);
  if (a == 0) return 1;
  if (a == 1) return 0;
  if (a > 1 && a < 10) return 1;
  if (a >= 10) {
    if (!std::isfinite(a)) return 308;
    return static_cast<int>(std::floor(std::log10(a))) + 1;
  }
  int k = 0;
  while (a < 1 && k < 330) {
    a *= 10;
    ++k;
  }
  return -k;
}

std::string PlotNumberText(double v) {
  return FormatFixed(v, std::abs(DecimalOrder(v)));
}

PlotRanges ComputeRanges(const std::vector<tser>& series, bool minMax) {
  PlotRanges r;
  for (const tser& s : series) {
    if (!s.visible) continue;
    for (const TSerPoint& p : s.points) {
      r.xMax = std::max(r.xMax, p.x);
      r.yMax = std::max(r.yMax, p.y);
      r.maxOfYMax = std::max(r.maxOfYMax, p.yMax);
    }
  }
  r.xMin = r.xMax;
  r.yMin = r.yMax;
  r.minOfYMin = r.maxOfYMax;
  for (const tser& s : series) {
    if (!s.visible) continue;
    for (const TSerPoint& p : s.points) {
      r.xMin = std::min(r.xMin, p.x);
      r.yMin = std::min(r.yMin, p.y);
      r.minOfYMin = std::min(r.minOfYMin, p.yMin);
    }
  }
  if (minMax) {
    r.yMax = std::max(r.yMax, r.maxOfYMax);
    r.yMin = std::min(r.yMin, r.minOfYMin);
  }
  auto fix = [](double& lo, double& hi) {
    if (hi - lo != 0) return;
    if (hi == 0) {
      lo = 0;
      hi = 1;
    } else if (hi > 0) {
      lo = 0;
    } else {
      hi = 0;
    }
  };
  fix(r.yMin, r.yMax);
  fix(r.xMin, r.xMax);
  return r;
}

int PlotFrame::XAxisRow() const {
  const int m = margin;
  if (r.yMin > 0) return height - m;
  if (r.yMax < 0) return m;
  return RoundHalfEvenInt(r.yMin * (height - 2 * m) / (r.yMax - r.yMin) + (height - m));
}

int PlotFrame::YAxisColumn() const {
  const int m = margin;
  if (r.xMin > 0) return m;
  if (r.xMax < 0) return width - m;
  return RoundHalfEvenInt(m - r.xMin * (width - 2 * m) / (r.xMax - r.xMin));
}

int PlotFrame::Column(double x) const {
  const double scale = (width - 2.0 * margin) / (r.xMax - r.xMin);
  return RoundHalfEvenInt(scale * x - scale * r.xMin) + margin;
}

int PlotFrame::Row(double y) const {
  const double scale = (height - 2.0 * margin) / (r.yMax - r.yMin);
  return (height - margin) - RoundHalfEvenInt(scale * y - scale * r.yMin);
}

std::vector<YTick> ComputeYTicks(const PlotFrame& f, int textHeight) {
  std::vector<YTick> ticks;
  const double range = f.r.yMax - f.r.yMin;
  if (!(range > 0) || !std::isfinite(range)) return ticks;
  const int order = DecimalOrder(range);
  // Ranges below 1 are counted in hundredths, thousandths...: 0.05 in steps of 0.01.
  const double factor = order < 0 ? std::pow(10.0, -order) : 1.0;
  const double scaled = factor * range;
  const long long count = static_cast<long long>(std::llround(scaled));
  double step = 1;
  if (count > 10 && order > 1) step = std::pow(10.0, order - 1);
  const int decimals = order < 0 ? -order : 0;
  const int bottom = f.height - f.margin;
  const double pixels = f.height - 2.0 * f.margin;
  int lastRow = f.XAxisRow();
  auto tryTick = [&](double i) {
    const int row = RoundHalfEvenInt(bottom - i * pixels / scaled);
    if (row < f.margin || row > lastRow) return;
    const double value = (range <= 1 ? i / factor : i) + f.r.yMin;
    ticks.push_back({row, value, FormatFixed(value, decimals)});
    lastRow = row - textHeight;
  };
  tryTick(0);
  // Interior ticks: i with (i + yMin) a whole number of steps (in scaled units).
  const double base = range <= 1 ? f.r.yMin * factor : f.r.yMin;
  double i = std::ceil((base + 1e-9) / step) * step - base;
  for (; i < count - 1e-9; i += step) {
    if (i <= 0) continue;
    tryTick(i);
    if (lastRow < f.margin) break;
  }
  if (count > 0) tryTick(static_cast<double>(count));
  return ticks;
}

std::string SeriesToCsv(const tser& s) {
  std::string out = "Label,X-pos,Y-pos,Y-Max,Y-min\r\n";
  for (const TSerPoint& p : s.points)
    out += p.label + "," + PlotNumberText(p.x) + ", " + PlotNumberText(p.y) + ", " +
           PlotNumberText(p.yMax) + ", " + PlotNumberText(p.yMin) + "\r\n";
  return out;
}
