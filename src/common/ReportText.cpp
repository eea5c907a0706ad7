// SPDX-License-Identifier: GPL-3.0-or-later
// Report window text helpers.
#include "common/ReportText.h"

void AppendCsvCell(std::string& out, std::string_view cell) {
  if (cell.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += cell;
    return;
  }
  out.push_back('"');
  for (const char c : cell) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

std::vector<std::string> SplitCsvLine(std::string_view line) {
  std::vector<std::string> cells(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"')
        cells.back().push_back(c);
      else if (i + 1 < line.size() && line[i + 1] == '"')
        cells.back().push_back(line[++i]);
      else
        quoted = false;
    } else if (c == ',') {
      cells.emplace_back();
    } else if (c == '"' && cells.back().empty()) {
      quoted = true;
    } else {
      cells.back().push_back(c);
    }
  }
  return cells;
}

namespace {

const std::string* CellAt(const TableCells& rows, int row, int col) {
  if (row < 0 || col < 0 || row >= static_cast<int>(rows.size())) return nullptr;
  const auto& r = rows[static_cast<std::size_t>(row)];
  if (col >= static_cast<int>(r.size())) return nullptr;
  return &r[static_cast<std::size_t>(col)];
}
}  // namespace

std::string TableToCsv(const TableCells& rows) {
  std::string out;
  for (const auto& row : rows) {
    for (const auto& cell : row) {
      AppendCsvCell(out, cell);
      out.push_back(',');
    }
    out += "\r\n";
  }
  return out;
}

std::string TableStatusText(const TableCells& rows, int row, int col) {
  const std::string* value = CellAt(rows, row, col);
  if (value == nullptr) return {};
  const std::string* rowHeader = CellAt(rows, row, 0);
  const std::string* colHeader = CellAt(rows, 0, col);
  return (rowHeader ? *rowHeader : std::string()) + " : " +
         (colHeader ? *colHeader : std::string()) + " = " + *value;
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out.push_back(c);
    }
  }
  return out;
}
