// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a TTree as bracket (Newick) text, a NEXUS trees block and a "#PAG" parent list.
#include <charconv>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/NumberFormat.h"
#include "trees/TreeUnit.h"

std::string BracketLabel(std::string_view name) {
  bool plain = !name.empty();
  for (const char c : name)
    if (c == '(' || c == ')' || c == ',' || c == ':' || c == ';' || c == '#' || c == '[' ||
        c == ']' || c == '\'' || c == ' ' || c == '\t' || c == '\r' || c == '\n')
      plain = false;
  if (plain) return std::string(name);
  std::string out = "'";
  for (const char c : name) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

std::string BracketLength(double length) {
  std::string text = length < 0.001 ? "0.000" : FormatFixed(length, 3);
  if (text.size() < 5) text.insert(0, 5 - text.size(), ' ');
  return text;
}

namespace {

std::string NodeLabel(const Node& node, bool useIds) {
  if (useIds && !node.isInternal && node.translateId > 0) return std::to_string(node.translateId);
  return BracketLabel(node.name);
}

// A name that reads as a number would come back as a support: quote it.
std::string InnerLabel(std::string_view name) {
  double value = 0;
  std::string_view digits = name;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  const auto res = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || res.ec != std::errc() || res.ptr != digits.data() + digits.size())
    return BracketLabel(name);
  std::string out = "'";
  out.append(name);
  return out + "'";
}

// Support label, or the name read for an inner node, then the length of the edge above.
std::string ChildSuffix(const Node& child) {
  std::string out;
  const NodeLink* up = child.ParentLink();
  if (child.isInternal && up && child.support >= 0 && child.support <= 1)
    out += std::to_string(RoundHalfEven(child.support * 100));
  else if (child.isInternal && child.labelled)
    out += InnerLabel(child.name);
  out += ':';
  out += BracketLength(up ? up->branchLength : 0);
  return out;
}

}  // namespace

std::string TTree::WriteBrackets(bool useIds) const {
  const std::vector<Node*> roots = Roots();
  if (roots.empty()) return "Error: no root node";
  if (roots.size() > 1) return "Error: more than one root";
  // Walked with an explicit stack: a tree read from text may be deeper than the call stack.
  struct Frame {
    const Node* node;
    std::vector<Node*> kids;
    std::size_t next = 0;
  };
  std::string out;
  std::vector<Frame> stack;
  auto enter = [&](const Node* node) {
    Frame f{node, node->Children(), 0};
    if (f.kids.empty()) {
      out += NodeLabel(*node, useIds);
      return false;
    }
    out += '(';
    stack.push_back(std::move(f));
    return true;
  };
  if (enter(roots[0])) {
    while (!stack.empty()) {
      Frame& top = stack.back();
      if (top.next > 0) {
        out += ChildSuffix(*top.kids[top.next - 1]);
        if (top.next < top.kids.size()) out += ',';
      }
      if (top.next < top.kids.size()) {
        const Node* kid = top.kids[top.next++];
        enter(kid);  // top may dangle after this; the loop re-reads stack.back()
      } else {
        out += ')';
        stack.pop_back();
      }
    }
  }
  return out + ";";
}

std::string TTree::WriteNexus() {
  std::string out = "#NEXUS\r\nbegin trees;\r\ntranslate\r\n";
  int id = 0;
  for (auto& n : nodes) {
    if (n->isInternal) continue;
    n->translateId = ++id;
    if (id > 1) out += ",\r\n";
    out += std::to_string(id) + " " + BracketLabel(n->name);
  }
  out += ";\r\ntree No_001 = " + WriteBrackets(true) + "\r\nend;";
  return out;
}

std::string TTree::WritePag() const {
  const int n = Count();
  std::unordered_map<const Node*, int> index;
  for (int i = 0; i < n; ++i) index[nodes[static_cast<std::size_t>(i)].get()] = i;
  auto number = [&](const Node* node) {
    const auto it = index.find(node);
    return std::to_string(it == index.end() ? 0 : n - it->second);
  };
  int leaves = 0;
  for (const auto& node : nodes) leaves += !node->isInternal && node->Parent() ? 1 : 0;
  std::string out = "#PAG\r\n" + std::to_string(leaves) + " 0\r\n";
  for (const auto& node : nodes)
    if (!node->isInternal && node->Parent())
      out += node->name + ", " + number(node->Parent()) + ", " +
             BracketLength(node->BranchLength()) + "\r\n";
  for (const auto& node : nodes)
    if (node->isInternal && node->Parent())
      out += number(node.get()) + ", " + number(node->Parent()) + ", " +
             BracketLength(node->BranchLength()) + "\r\n";
  return out;
}
