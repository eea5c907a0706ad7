// SPDX-License-Identifier: GPL-3.0-or-later
// The genetic-code editor's grid without the window: filling it from a code, applying it to
// a code, and the comma-separated code table files ("gencod.csv").
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "model/GenCodUnit.h"

// rows[0] is the header row; every row has the same number of columns.
using CodeGrid = std::vector<std::vector<std::string>>;

// Header row and 9 columns: "Am. acid name", "AA3", "AA1", "cdn1".."cdn6".
CodeGrid EmptyCodeGrid();
// One row per entry under the header; a code without entries leaves `grid` as it was.
// Entries with more than six codons widen the grid so no codon is hidden.
void FillCodeGrid(const TGenCode& code, CodeGrid& grid);
// Rebuilds the code from rows 1..last.
void ApplyCodeGrid(const CodeGrid& grid, TGenCode& code);
// Rows 1..last, one CR LF line each: columns 0..2 joined by ",", then "," + each non-empty
// cell of column 3 onward.
std::string CodeGridToText(const CodeGrid& grid);
// Line k fills row k of a fresh grid; at most 12 fields per line, an empty field ends it.
CodeGrid CodeGridFromText(std::string_view text);
