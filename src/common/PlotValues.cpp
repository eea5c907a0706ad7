// SPDX-License-Identifier: GPL-3.0-or-later
// The plot viewer's value grid and sequence strip span.
#include "common/PlotValues.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/NumberFormat.h"
#include "common/PlotGeometry.h"

namespace {

// A real number filling the whole text (blanks around it allowed); empty text is 0.
bool ParseReal(const std::string& text, double& value) {
  std::size_t b = text.find_first_not_of(" \t");
  if (b == std::string::npos) {
    value = 0;
    return true;
  }
  const std::size_t e = text.find_last_not_of(" \t");
  const std::string core = text.substr(b, e - b + 1);
  char* end = nullptr;
  const double v = std::strtod(core.c_str(), &end);
  if (end != core.c_str() + core.size() || !std::isfinite(v)) return false;
  value = v;
  return true;
}

}  // namespace

std::vector<PlotCells> PointsToCells(const std::vector<TSerPoint>& points) {
  std::vector<PlotCells> rows;
  rows.reserve(points.size());
  for (const TSerPoint& p : points)
    rows.push_back({p.label, PlotNumberText(p.x), PlotNumberText(p.y), PlotNumberText(p.yMax),
                    PlotNumberText(p.yMin)});
  return rows;
}

std::string CellsToPoints(const std::vector<PlotCells>& rows, std::vector<TSerPoint>& points,
                          std::vector<PlotCells>* shown) {
  const std::size_t known = std::min(points.size(), shown != nullptr ? shown->size() : 0);
  points.resize(rows.size());
  static const char* const kWhat[] = {"X-Values", "Y-Values", "Max-Values", "Min-Values"};
  for (std::size_t r = 0; r < rows.size(); ++r) {
    TSerPoint& p = points[r];
    double* fields[] = {&p.x, &p.y, &p.yMax, &p.yMin};
    p.label = rows[r][0];
    for (int c = 0; c < 4; ++c) {
      const std::string& cell = rows[r][static_cast<std::size_t>(c + 1)];
      if (r < known && (*shown)[r][static_cast<std::size_t>(c + 1)] == cell) continue;
      double v = 0;
      if (!ParseReal(cell, v))
        return std::string("Error in ") + kWhat[c] + " row " + std::to_string(r + 1) + "\r\n" +
               cell + " can not be converted to a real number";
      *fields[c] = v;
      if (r < known) (*shown)[r][static_cast<std::size_t>(c + 1)] = cell;
    }
  }
  return {};
}

StripSpan StripSpanOf(double xMin, double xMax, int length) {
  StripSpan s;
  s.first = std::max(1, static_cast<int>(std::ceil(xMin)));
  s.last = std::min(length, static_cast<int>(RoundHalfEven(xMax)));
  return s;
}
