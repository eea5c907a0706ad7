// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/GenCodeTable.h"

#include <algorithm>

namespace {

constexpr std::size_t kGridColumns = 9;
constexpr std::size_t kMaxFieldsPerLine = 12;

void Widen(CodeGrid& grid, std::size_t columns) {
  if (grid.empty()) grid.emplace_back();
  for (std::size_t c = grid[0].size(); c < columns; ++c)
    grid[0].push_back(c >= 3 ? "cdn" + std::to_string(c - 2) : std::string());
  for (auto& row : grid)
    if (row.size() < columns) row.resize(columns);
}

}  // namespace

CodeGrid EmptyCodeGrid() {
  CodeGrid grid(1, std::vector<std::string>{"Am. acid name", "AA3", "AA1"});
  Widen(grid, kGridColumns);
  return grid;
}

void FillCodeGrid(const TGenCode& code, CodeGrid& grid) {
  if (code.Aminoacids().empty()) return;
  grid = EmptyCodeGrid();
  std::size_t columns = kGridColumns;
  for (const auto& aa : code.Aminoacids()) columns = std::max(columns, aa->codons.size() + 3);
  Widen(grid, columns);
  for (const auto& aa : code.Aminoacids()) {
    std::vector<std::string> row(columns);
    row[0] = aa->fullName;
    row[1] = aa->abbrev3;
    row[2] = std::string(1, aa->letter);
    for (std::size_t k = 0; k < aa->codons.size(); ++k) row[k + 3] = aa->codons[k];
    grid.push_back(std::move(row));
  }
}

void ApplyCodeGrid(const CodeGrid& grid, TGenCode& code) {
  code.ClearCode();
  for (std::size_t r = 1; r < grid.size(); ++r) {
    const auto& row = grid[r];
    auto cell = [&row](std::size_t c) -> std::string { return c < row.size() ? row[c] : std::string(); };
    auto entry = std::make_unique<TAminoacid>();
    entry->fullName = cell(0).empty() ? "AminoAcid" + std::to_string(r) : cell(0);
    entry->abbrev3 = cell(1).size() >= 3 ? cell(1) : "???";
    entry->letter = cell(2).empty() ? '?' : cell(2)[0];
    TAminoacid& ref = *entry;
    code.AddAminoacid(std::move(entry));
    for (std::size_t c = 3; c < row.size(); ++c)
      if (!row[c].empty()) code.AddCodon(ref, row[c]);
  }
}

std::string CodeGridToText(const CodeGrid& grid) {
  std::string out;
  for (std::size_t r = 1; r < grid.size(); ++r) {
    const auto& row = grid[r];
    auto cell = [&row](std::size_t c) -> std::string { return c < row.size() ? row[c] : std::string(); };
    out += cell(0) + "," + cell(1) + "," + cell(2);
    for (std::size_t c = 3; c < row.size(); ++c)
      if (!row[c].empty()) out += "," + row[c];
    out += "\r\n";
  }
  return out;
}

CodeGrid CodeGridFromText(std::string_view text) {
  CodeGrid grid = EmptyCodeGrid();
  grid.emplace_back(grid[0].size());
  std::size_t lineNo = 0, pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(pos, end - pos));
    pos = end + 1;
    std::erase(line, '\r');
    std::erase(line, '\x1a');
    ++lineNo;
    if (grid.size() <= lineNo) grid.emplace_back(grid[0].size());
    std::size_t field = 0, start = 0;
    while (field < kMaxFieldsPerLine) {
      const std::size_t comma = line.find(',', start);
      const std::string value = line.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
      if (value.empty()) break;  // an empty field ends the line
      if (grid[0].size() <= field) Widen(grid, field + 1);
      grid[lineNo][field] = value;
      ++field;
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
  }
  return grid;
}
