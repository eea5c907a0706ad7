// SPDX-License-Identifier: GPL-3.0-or-later
// TTreeTable: the tree viewer's table of named bracket trees with their drawing sizes, the
// current tree, and the table commands (add, insert, delete, open, save, make bifurcating).
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct IMessages;

struct TreeRow {
  std::string name;
  std::string text;  // bracket form
  int vSize = -1;    // drawing height in pixels, -1 unset
  int hSize = -1;    // drawing width in pixels, -1 unset
};

// Save formats in the order of the save dialog's filter.
enum class TreeFileFormat { Newick = 1, Pag = 2, Nexus = 3 };

class TTreeTable {
 public:
  TTreeTable();  // one row: "Example", "((A:0.1,B:0.2):0.1,C:0.3);"

  [[nodiscard]] int RowCount() const { return static_cast<int>(rows.size()); }
  [[nodiscard]] const TreeRow& Row(int n) const { return rows[static_cast<std::size_t>(n - 1)]; }
  [[nodiscard]] TreeRow& Row(int n) { return rows[static_cast<std::size_t>(n - 1)]; }
  [[nodiscard]] int Current() const { return current; }
  [[nodiscard]] TreeRow& CurrentRow() { return Row(current); }
  [[nodiscard]] const TreeRow& CurrentRow() const { return Row(current); }

  // One empty row, current 1.
  void ClearTrees();
  // Appends the tree when text holds one (ExtractTree); the single row is reused when its
  // name and text are empty. rowHeight: pixels per leaf for the drawing height.
  bool AddTree(const std::string& name, std::string_view text, bool show, int rowHeight);
  // n beyond the last row gives 1, n <= 0 the last row; returns the row selected.
  int SelectTree(int n);
  // The status text of the current tree: "Current tree: #" + n + " " + name.
  [[nodiscard]] std::string Status() const;
  void DeleteCurrent();
  void InsertAtCurrent();  // an empty row at the current place
  void AppendEmpty();

  // Replaces the table with the trees of a file (bracket, NEXUS or "#PAG").
  void LoadFile(std::string_view text, IMessages* messages);
  // The file text; nothing when the current tree cannot be read for "#PAG" or NEXUS.
  [[nodiscard]] std::optional<std::string> SaveText(TreeFileFormat format) const;
  // Asks, then makes the current tree bifurcating. False when nothing changed.
  bool Bifurcate(IMessages& messages);

 private:
  std::vector<TreeRow> rows;
  int current = 1;
};
