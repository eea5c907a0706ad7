// SPDX-License-Identifier: GPL-3.0-or-later
// The tree viewer's table of trees.
#include "trees/TreeTable.h"

#include <algorithm>

#include "common/Services.h"
#include "trees/TreeTexts.h"
#include "trees/TreeUnit.h"

TTreeTable::TTreeTable() {
  rows.push_back({"Example", "((A:0.1,B:0.2):0.1,C:0.3);"});
}

void TTreeTable::ClearTrees() {
  rows.assign(1, TreeRow{});
  current = 1;
}

bool TTreeTable::AddTree(const std::string& name, std::string_view text, bool show, int rowHeight) {
  const std::optional<std::string> tree = ExtractTree(text);
  if (!tree) return false;
  TTree parsed;
  const int leaves = parsed.ReadBrackets(*tree) ? parsed.LeafCount() : 0;
  if (!(rows.size() == 1 && rows[0].name.empty() && rows[0].text.empty())) rows.emplace_back();
  TreeRow& row = rows.back();
  row = TreeRow{name, *tree};
  if (leaves > 0) row.vSize = leaves * std::max(rowHeight, 1);
  if (show) current = RowCount();
  return true;
}

int TTreeTable::SelectTree(int n) {
  if (n > RowCount()) n = 1;
  if (n <= 0) n = RowCount();
  current = n;
  return n;
}

std::string TTreeTable::Status() const {
  return "Current tree: #" + std::to_string(current) + " " + CurrentRow().name;
}

void TTreeTable::DeleteCurrent() {
  if (rows.size() == 1) {
    rows[0] = TreeRow{};
  } else {
    rows.erase(rows.begin() + (current - 1));
  }
  current = std::min(current, RowCount());
}

void TTreeTable::InsertAtCurrent() {
  rows.insert(rows.begin() + (current - 1), TreeRow{});
}

void TTreeTable::AppendEmpty() {
  rows.emplace_back();
}

void TTreeTable::LoadFile(std::string_view text, IMessages* messages) {
  const std::vector<NamedTree> trees = ReadTreeFile(text, messages);
  rows.clear();
  for (const NamedTree& t : trees) rows.push_back({t.name, t.text});
  if (rows.empty()) rows.emplace_back();
  current = 1;
}

std::optional<std::string> TTreeTable::SaveText(TreeFileFormat format) const {
  if (format == TreeFileFormat::Newick) {
    std::string out;
    for (const TreeRow& row : rows) out += row.name + " " + row.text + "\r\n";
    return out;
  }
  const std::optional<std::string> text = ExtractTree(CurrentRow().text);
  TTree tree;
  if (!text || !tree.ReadBrackets(*text)) return std::nullopt;
  return (format == TreeFileFormat::Pag ? tree.WritePag() : tree.WriteNexus()) + "\r\n";
}

bool TTreeTable::Bifurcate(IMessages& messages) {
  const std::optional<std::string> text = ExtractTree(CurrentRow().text);
  TTree tree;
  if (!text || !tree.ReadBrackets(*text)) {
    messages.Notify("Error: can not create tree");
    return false;
  }
  if (!messages.AskYesNo("Convert current tree to a bifurcating tree?")) return false;
  const double m = tree.MinPositiveLength();
  tree.ResolveMultifurcations(m > 0 ? m / 10 : 1e-6);
  CurrentRow().text = tree.WriteBrackets(false);
  return true;
}
