// SPDX-License-Identifier: GPL-3.0-or-later
// Text of the report windows without the windows: table to comma-separated text, the table
// report's status line, line ends of saved text reports.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// rows[r][c]; row 0 and column 0 are the headers. Rows may differ in length.
using TableCells = std::vector<std::vector<std::string>>;

// Every cell followed by ",", every row (headers included) followed by CR LF. A cell holding a
// comma, a double quote or a line break is quoted with its quotes doubled, so it reads back as
// one cell instead of spilling into the next columns.
std::string TableToCsv(const TableCells& rows);

// Appends one cell as comma-separated text: quoted, with its quotes doubled, when it holds a
// comma, a double quote or a line break.
void AppendCsvCell(std::string& out, std::string_view cell);
// The cells of one comma-separated line: a field in double quotes may hold commas and doubled
// quotes; an unclosed quote runs to the end of the line.
std::vector<std::string> SplitCsvLine(std::string_view line);

// "row header : column header = value" for the cell (row, col); empty for a bad cell.
std::string TableStatusText(const TableCells& rows, int row, int col);

// The text with every line end (CR LF, LF or lone CR) written as CR LF.
std::string WithCrLf(std::string_view text);
