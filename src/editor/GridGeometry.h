// SPDX-License-Identifier: GPL-3.0-or-later
// Pixel arithmetic of the sequence grid: column window, zoom, hit-testing, ruler and row lookup.
// Columns are 1-based alignment columns; a letter at position p of a row stands in column
// p + columnShift. Everything is computed in double and clamped, so the smallest zoom (1e-15
// pixels per column) never overflows int.
#pragma once
#include <cstdint>
#include <vector>

constexpr double kDefaultLetterWidth = 12.0;
constexpr double kMinLetterWidth = 1e-15;
constexpr double kMaxLetterWidth = 20.0;
constexpr double kDefaultZoomFactor = 1.5;

struct ColumnWindow {
  int first = 0;
  int last = 0;
  bool operator==(const ColumnWindow&) const = default;
};

// Where the letters of column 2 start and how wide one alignment column is.
struct LetterLayout {
  double letterWidth = kDefaultLetterWidth;
  int left = 0;  // left edge of the sequence column in pixels
  int letterMargin = 3;
  int firstVisibleCol = 0;
};

// Left edge of a column: left + letterMargin + trunc((column - first) * letterWidth), clamped to
// a range that stays far inside int.
int ColumnX(const LetterLayout& layout, int column);
// The same for a fractional column (trace samples between letter cells).
double ColumnXReal(const LetterLayout& layout, double column);
// Width of one letter cell: the zoom rounded halves-to-even, at least 1.
int LetterCellWidth(double letterWidth);
// Column under pixel x (the column whose cell holds x); may lie outside the window.
int ColumnAtX(const LetterLayout& layout, int x);

// Letter boundary under pixel x for a row with the given shift:
// round((x - left - letterMargin - 5) / letterWidth) + firstVisibleCol - columnShift.
int BoundaryAtX(const LetterLayout& layout, int x, int columnShift);
// Boundary for a row that shows its trace: the last letter whose peak, placed at column
// columnShift + peak / samplesPerCell, lies left of x - 5; 0 when none does. A non-positive
// samplesPerCell counts as 1.
int BoundaryFromPeaks(const LetterLayout& layout, int x, int columnShift,
                      const std::vector<std::int32_t>& peaks, int samplesPerCell);

// Window from a requested start and end: reversed bounds swapped, start at least 1, end lowered
// by 1 (to 1 when below 2), both limited to the alignment length.
ColumnWindow SetWindow(int start, int end, int alignLength);
// Window that fills the sequence column from `first` at the given zoom.
ColumnWindow FitWindow(int first, int columnWidth, double letterWidth, int alignLength);
// Number of whole columns that fit into a pixel width (0 for a non-positive zoom).
int ColumnsThatFit(int columnWidth, double letterWidth);

// Zoom steps. Results of 0 or less become minWidth, above maxWidth become maxWidth.
double ClampZoom(double letterWidth, double minWidth = kMinLetterWidth,
                 double maxWidth = kMaxLetterWidth);
double ZoomIn(double letterWidth, double factor = kDefaultZoomFactor,
              double minWidth = kMinLetterWidth, double maxWidth = kMaxLetterWidth);
// Divides by factor, or by 2 when the factor is not positive.
double ZoomOut(double letterWidth, double factor = kDefaultZoomFactor,
               double minWidth = kMinLetterWidth, double maxWidth = kMaxLetterWidth);
// (columnWidth - 10) / alignLength; an empty alignment keeps the current zoom.
double FitZoom(int columnWidth, int alignLength, double current, double minWidth = kMinLetterWidth,
               double maxWidth = kMaxLetterWidth);
// Rows are drawn as outlines when a column is narrower than an average character.
bool IsOutlineMode(double letterWidth, int averageCharWidth);

// Smallest 10k (k = 1, 2, ...) with windowColumns / (10k) below 10.
int RulerSpacing(int windowColumns);
// Columns that get a number on the ruler: the first visible column and every multiple of the
// spacing, dropping a number whose text (digitWidth pixels per digit) would overlap the one
// before it.
std::vector<int> RulerColumns(const LetterLayout& layout, int lastVisibleCol, int digitWidth);

// Row under pixel y: 0 for the header, 1..count for sequences (topRow is the first sequence row
// shown below the header), -1 below the last row or above the widget.
int RowAtY(int y, int headerHeight, int rowHeight, int topRow, int count);
// Top pixel of a sequence row, or -1 when it is scrolled above the top.
int RowTop(int row, int headerHeight, int rowHeight, int topRow);
