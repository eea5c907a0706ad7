// SPDX-License-Identifier: GPL-3.0-or-later
// Pixel arithmetic of the sequence grid.
#include "editor/GridGeometry.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/NumberFormat.h"

namespace {
// Pixel positions stay within +-2^30 so sums of a few of them never overflow int; a painter
// clips anything that far outside the widget anyway.
constexpr double kPixelLimit = 1073741824.0;

int ClampToInt(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::clamp(value, -kPixelLimit, kPixelLimit));
}

double SafeWidth(double letterWidth) {
  return letterWidth > 0 ? letterWidth : kMinLetterWidth;
}
}  // namespace

double ColumnXReal(const LetterLayout& layout, double column) {
  const double offset = (column - layout.firstVisibleCol) * layout.letterWidth;
  return layout.left + layout.letterMargin + std::clamp(offset, -kPixelLimit, kPixelLimit);
}

int ColumnX(const LetterLayout& layout, int column) {
  const double offset =
      std::trunc((static_cast<double>(column) - layout.firstVisibleCol) * layout.letterWidth);
  return layout.left + layout.letterMargin + ClampToInt(offset);
}

int LetterCellWidth(double letterWidth) {
  if (!(letterWidth > 0)) return 1;
  return static_cast<int>(std::max<long long>(1, RoundHalfEven(std::min(letterWidth, 1e6))));
}

int ColumnAtX(const LetterLayout& layout, int x) {
  const double offset =
      (static_cast<double>(x) - layout.left - layout.letterMargin) / SafeWidth(layout.letterWidth);
  return ClampToInt(std::floor(offset) + layout.firstVisibleCol);
}

int BoundaryAtX(const LetterLayout& layout, int x, int columnShift) {
  const double steps = (static_cast<double>(x) - layout.left - layout.letterMargin - 5) /
                       SafeWidth(layout.letterWidth);
  const double rounded =
      static_cast<double>(RoundHalfEven(std::clamp(steps, -kPixelLimit, kPixelLimit)));
  return ClampToInt(rounded + layout.firstVisibleCol - static_cast<double>(columnShift));
}

int BoundaryFromPeaks(const LetterLayout& layout, int x, int columnShift,
                      const std::vector<std::int32_t>& peaks, int samplesPerCell) {
  // A damaged file or a hand edit can leave samplesPerCell at 0.
  const double perCell = samplesPerCell > 0 ? samplesPerCell : 1;
  int found = 0;
  for (std::size_t i = 0; i < peaks.size(); ++i) {
    const double peakX = ColumnXReal(layout, columnShift + peaks[i] / perCell);
    if (peakX < x - 5) found = static_cast<int>(i) + 1;
  }
  return found;
}

ColumnWindow SetWindow(int start, int end, int alignLength) {
  if (start > end) std::swap(start, end);
  start = std::max(start, 1);
  end = end < 2 ? 1 : end - 1;
  const int limit = std::max(alignLength, 1);
  return ColumnWindow{std::min(start, limit), std::min(end, limit)};
}

int ColumnsThatFit(int columnWidth, double letterWidth) {
  if (!(letterWidth > 0) || columnWidth <= 0) return 0;
  return ClampToInt(std::trunc(columnWidth / letterWidth));
}

ColumnWindow FitWindow(int first, int columnWidth, double letterWidth, int alignLength) {
  // At the smallest zoom the fitting column count is astronomically large; it only matters up
  // to the alignment's end, so it is capped there before it meets int arithmetic.
  const double fit = letterWidth > 0 ? std::trunc(columnWidth / letterWidth) : 0.0;
  const double capped = std::min(fit, static_cast<double>(std::max(alignLength, 0)) + 2.0);
  const int end = static_cast<int>(std::min<double>(first + capped - 1.0, kPixelLimit));
  return SetWindow(first, end, alignLength);
}

double ClampZoom(double letterWidth, double minWidth, double maxWidth) {
  if (!(letterWidth > 0) || letterWidth < minWidth) return minWidth;
  return std::min(letterWidth, maxWidth);
}

double ZoomIn(double letterWidth, double factor, double minWidth, double maxWidth) {
  return ClampZoom(letterWidth * factor, minWidth, maxWidth);
}

double ZoomOut(double letterWidth, double factor, double minWidth, double maxWidth) {
  return ClampZoom(letterWidth / (factor > 0 ? factor : 2.0), minWidth, maxWidth);
}

double FitZoom(int columnWidth, int alignLength, double current, double minWidth, double maxWidth) {
  if (alignLength <= 0) return ClampZoom(current, minWidth, maxWidth);
  return ClampZoom(static_cast<double>(columnWidth - 10) / alignLength, minWidth, maxWidth);
}

bool IsOutlineMode(double letterWidth, int averageCharWidth) {
  return letterWidth < averageCharWidth;
}

int RulerSpacing(int windowColumns) {
  // windowColumns / (10k) < 10  <=>  windowColumns < 100k.
  if (windowColumns < 0) windowColumns = 0;
  return 10 * (windowColumns / 100 + 1);
}

std::vector<int> RulerColumns(const LetterLayout& layout, int lastVisibleCol, int digitWidth) {
  std::vector<int> out;
  const int first = std::max(layout.firstVisibleCol, 1);
  if (lastVisibleCol < first) return out;
  const int spacing = RulerSpacing(lastVisibleCol - first + 1);
  int previousEnd = 0;
  auto consider = [&](int column) {
    const int x = ColumnX(layout, column);
    if (!out.empty() && x < previousEnd) return;
    out.push_back(column);
    previousEnd = x + digitWidth * static_cast<int>(std::to_string(column).size());
  };
  consider(first);
  for (int c = (first / spacing + 1) * spacing; c <= lastVisibleCol; c += spacing) consider(c);
  return out;
}

int RowAtY(int y, int headerHeight, int rowHeight, int topRow, int count) {
  if (y < 0) return -1;
  if (y < headerHeight) return 0;
  if (rowHeight <= 0) return -1;
  const int row = std::max(topRow, 1) + (y - headerHeight) / rowHeight;
  return row <= count ? row : -1;
}

int RowTop(int row, int headerHeight, int rowHeight, int topRow) {
  topRow = std::max(topRow, 1);
  if (row < topRow) return -1;
  return headerHeight + (row - topRow) * rowHeight;
}
