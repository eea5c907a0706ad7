// SPDX-License-Identifier: GPL-3.0-or-later
// Node and NodeLink: the vertices of a TTree and the two ends of each edge.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class TSeq;
class Node;

// A fixed-size bit set over the nodes of a tree (the leaf sets of ComputeSplits).
class Segment {
 public:
  Segment() = default;
  explicit Segment(int bitCount) : bits(bitCount), words((bitCount + 63) / 64, 0) {}
  [[nodiscard]] int BitCount() const { return bits; }
  void Set(int i) { words[static_cast<std::size_t>(i) / 64] |= std::uint64_t{1} << (i % 64); }
  void Reset(int i) { words[static_cast<std::size_t>(i) / 64] &= ~(std::uint64_t{1} << (i % 64)); }
  [[nodiscard]] bool Test(int i) const {
    return (words[static_cast<std::size_t>(i) / 64] >> (i % 64)) & 1U;
  }
  void OrWith(const Segment& other);
  [[nodiscard]] int Count() const;
  bool operator==(const Segment& other) const = default;

 private:
  int bits = 0;
  std::vector<std::uint64_t> words;
};

// One end of an edge. The edge between parent P and child C is a link in P with isParent
// false and a link in C with isParent true.
struct NodeLink {
  Node* other = nullptr;  // the node at the far end; not owned
  std::int32_t tag = -1;
  bool isParent = false;  // other is this node's parent
  bool showLength = false;
  double branchLength = 0;
  // Drawing attributes the viewer sets before painting.
  std::int32_t color = 255;  // 0x00BBGGRR
  std::int32_t thickness = 5;
  std::int32_t digits = 4;
  std::uint8_t penStyle = 0;  // 0 solid
  std::uint8_t style = 2;     // 2 normal (rectangular), 0 V-like
};

class Node {
 public:
  // Genealogies keep nodes of a derived type in the same owning lists.
  Node() = default;
  Node(const Node&) = default;
  Node& operator=(const Node&) = default;
  Node(Node&&) = default;
  Node& operator=(Node&&) = default;
  virtual ~Node() = default;

  double height = 0;  // time of the node in genealogies
  std::string name = "NoName";
  std::int32_t translateId = 0;  // number given to a leaf by the NEXUS writer
  double support = -1;           // of the edge above; 0..1 from a bootstrap
  std::vector<NodeLink> links;
  std::vector<Segment> segments;
  bool isInternal = true;
  bool labelled = false;  // an internal node whose name was read from a bracket text
  bool pending = true;    // layout walk mark: not yet visited
  bool merged = false;    // leaf already merged by tree-guided alignment
  bool showSupport = false;
  const TSeq* seq = nullptr;  // the sequence a leaf stands for; not owned, may be absent
  double depth = 0;           // distance from the root, set by the layout
  double yPos = 0;            // row, set by the layout

  // The last link with isParent set, or nullptr for a root.
  [[nodiscard]] NodeLink* ParentLink();
  [[nodiscard]] const NodeLink* ParentLink() const;
  [[nodiscard]] Node* Parent() const;
  [[nodiscard]] int ChildCount() const;
  // Children in link order.
  [[nodiscard]] std::vector<Node*> Children() const;
  // Length of the edge above the node as its own side holds it; 0 for a root.
  [[nodiscard]] double BranchLength() const;
};
