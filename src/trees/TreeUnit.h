// SPDX-License-Identifier: GPL-3.0-or-later
// TTree: a rooted tree as an owned list of nodes, its editing operations, leaf sets and the
// bracket (Newick), NEXUS and "#PAG" text forms.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "trees/NodeUnit.h"

struct IMessages;
class TDataSeq;

class TTree {
 public:
  TTree() = default;
  TTree(const TTree&) = delete;
  TTree& operator=(const TTree&) = delete;
  TTree(TTree&&) = default;
  TTree& operator=(TTree&&) = default;

  std::vector<std::unique_ptr<Node>> nodes;  // a node's index is its position
  // Layout values of the viewer.
  double maxYPos = 0;
  double maxDepth = 0;
  int layoutLeafCount = 0;

  [[nodiscard]] int Count() const { return static_cast<int>(nodes.size()); }
  [[nodiscard]] Node* At(int i) const;  // nullptr outside 0..Count()-1
  [[nodiscard]] int LeafCount() const;
  int AddNode(std::unique_ptr<Node> node);
  int NewNode(const std::string& name, int segmentCount, int bitCount);
  [[nodiscard]] int IndexOf(const Node* node) const;          // last index, -1 when absent
  [[nodiscard]] int FindByName(std::string_view name) const;  // ignoring case; -1 when absent
  void Clear();

  // A negative or undefined length becomes 0. A child that had another parent is detached
  // from it, so no node is ever listed as a child of two parents.
  void Link(Node* parent, Node* child, double length);
  // Sets the length on the node's own parent links; the parent's side is left as it was.
  void SetBranchLength(Node* node, double length);
  void Unlink(Node* node, int i);
  void ClearEdges();
  // Frees all nodes and appends one leaf per name, in order (the leaves of a distance matrix).
  void LeavesFromNames(const std::vector<std::string>& names);
  // Frees all nodes and appends one leaf per sequence of the dataset (rows 1..count) whose
  // mask entry (index row - 1) is set, all of them without a mask; a leaf stands for its
  // sequence and carries its name. Rows beyond the mask are left out.
  void LeavesFromDataset(const TDataSeq& dataset, const std::vector<bool>* mask = nullptr);

  // Roots are the nodes without a parent link.
  [[nodiscard]] std::vector<Node*> Roots() const;

  // Leaf sets: every node gets two segments over the nodes, its subtree and its leaves only.
  void ComputeSplits();
  // result[i]: node i has a split equal to one of other's. Both trees need ComputeSplits and
  // the same leaves at the same indexes.
  void CompareSplits(const TTree& other, bool leavesOnly, std::vector<bool>& result) const;
  // Leaves in node's subtree; marks[k] set when names[k] equals one of their names.
  int LeavesBelow(const Node* node, const std::vector<std::string>& names,
                  std::vector<bool>& marks) const;

  // Appends the nodes of the first bracket tree of text. False on "Tree Error" (the nodes read
  // so far stay). Messages go to messages when given; why receives the reason.
  bool ReadBrackets(std::string_view text, IMessages* messages = nullptr,
                    std::string* why = nullptr);
  // The tree in bracket form, or "Error: no root node" / "Error: more than one root".
  [[nodiscard]] std::string WriteBrackets(bool useIds) const;
  // Numbers the leaves from 1 (translateId) and writes a NEXUS trees block.
  [[nodiscard]] std::string WriteNexus();
  [[nodiscard]] std::string WritePag() const;

  // Smallest positive branch length over all links, -1 when none.
  [[nodiscard]] double MinPositiveLength() const;
  // Splits every node with more than two children by new nodes joined with length x.
  void ResolveMultifurcations(double x);
};

// Label of a leaf as the bracket writer puts it: quoted when it holds a character that
// would end or change the label.
std::string BracketLabel(std::string_view name);
// Branch length with 3 decimals in at least 5 characters; below 0.001 "0.000".
std::string BracketLength(double length);
