// SPDX-License-Identifier: GPL-3.0-or-later
// The plot viewer's editable data without its window: the value grid's cells turned back into
// points, and the part of the strip sequence that lies under the X range.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "common/PlotSeries.h"

// One grid row: label, x, y, y-max, y-min, as the value grid shows them.
using PlotCells = std::array<std::string, 5>;

// The cells of a series' points (numbers as PlotNumberText writes them).
std::vector<PlotCells> PointsToCells(const std::vector<TSerPoint>& points);

// Rebuilds points from the grid rows (one point per row; an empty cell is 0). Rows are taken
// in order and, within a row, x, y, y-max and y-min: the first cell that is not a number stops
// the rebuild, leaving that cell, the rest of its row and every later row as they were, and
// gives the message "Error in X-Values row " (Y-Values, Max-Values, Min-Values) + the row
// number (from 1) + "\r\n" + the cell + " can not be converted to a real number". Empty when
// every cell was read.
// shown, when given, holds the texts the grid was filled with: a number cell still showing
// its text keeps the point's exact value (the text is rounded to the decimals of the value's
// order, so reading it back would lose digits); the texts read are stored there in turn.
std::string CellsToPoints(const std::vector<PlotCells>& rows, std::vector<TSerPoint>& points,
                          std::vector<PlotCells>* shown = nullptr);

// Positions (1-based, inclusive) of the strip sequence shown under x-min..x-max: letters
// before x-min and after round(x-max) are left out. first > last when none remains.
struct StripSpan {
  int first = 1;
  int last = 0;
};
StripSpan StripSpanOf(double xMin, double xMax, int length);
