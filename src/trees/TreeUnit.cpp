// SPDX-License-Identifier: GPL-3.0-or-later
// TTree building and editing, leaf sets, and resolution of multifurcations.
#include "trees/TreeUnit.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <unordered_map>

#include "model/Datasequnit.h"

Node* TTree::At(int i) const {
  return i >= 0 && i < Count() ? nodes[static_cast<std::size_t>(i)].get() : nullptr;
}

int TTree::LeafCount() const {
  return static_cast<int>(
      std::count_if(nodes.begin(), nodes.end(), [](const auto& n) { return !n->isInternal; }));
}

int TTree::AddNode(std::unique_ptr<Node> node) {
  nodes.push_back(std::move(node));
  return Count() - 1;
}

int TTree::NewNode(const std::string& name, int segmentCount, int bitCount) {
  auto node = std::make_unique<Node>();
  node->name = name;
  for (int i = 0; i < segmentCount; ++i) node->segments.emplace_back(std::max(bitCount, 0));
  return AddNode(std::move(node));
}

int TTree::IndexOf(const Node* node) const {
  for (int i = Count() - 1; i >= 0; --i)
    if (nodes[static_cast<std::size_t>(i)].get() == node) return i;
  return -1;
}

static bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

int TTree::FindByName(std::string_view name) const {
  for (int i = Count() - 1; i >= 0; --i)
    if (SameIgnoringCase(nodes[static_cast<std::size_t>(i)]->name, name)) return i;
  return -1;
}

void TTree::Clear() {
  nodes.clear();
  maxYPos = maxDepth = 0;
  layoutLeafCount = 0;
}

static void RemoveLinkTo(Node* from, const Node* to, bool isParent) {
  auto& links = from->links;
  for (auto it = links.begin(); it != links.end(); ++it)
    if (it->other == to && it->isParent == isParent) {
      links.erase(it);
      return;
    }
}

void TTree::Link(Node* parent, Node* child, double length) {
  if (!parent || !child || parent == child) return;
  if (!(length >= 0)) length = 0;  // also NaN
  NodeLink down;
  down.other = child;
  down.branchLength = length;
  parent->links.push_back(down);
  if (NodeLink* up = child->ParentLink()) {
    // Redirecting alone would leave the old parent listing the child as its own.
    if (up->other && up->other != parent) RemoveLinkTo(up->other, child, false);
    up->other = parent;
    up->branchLength = length;
    return;
  }
  NodeLink up;
  up.other = parent;
  up.isParent = true;
  up.branchLength = length;
  child->links.push_back(up);
}

void TTree::SetBranchLength(Node* node, double length) {
  if (!node) return;
  for (NodeLink& l : node->links)
    if (l.isParent) l.branchLength = length;
}

void TTree::Unlink(Node* node, int i) {
  if (!node || i < 0 || i >= static_cast<int>(node->links.size())) return;
  const NodeLink link = node->links[static_cast<std::size_t>(i)];
  node->links.erase(node->links.begin() + i);
  if (link.other) RemoveLinkTo(link.other, node, !link.isParent);
}

void TTree::ClearEdges() {
  for (auto& n : nodes) n->links.clear();
}

void TTree::LeavesFromNames(const std::vector<std::string>& names) {
  Clear();
  for (const std::string& name : names) {
    auto leaf = std::make_unique<Node>();
    leaf->name = name;
    leaf->isInternal = false;
    AddNode(std::move(leaf));
  }
}

void TTree::LeavesFromDataset(const TDataSeq& dataset, const std::vector<bool>* mask) {
  Clear();
  for (int r = 1; r <= dataset.Count(); ++r) {
    const auto i = static_cast<std::size_t>(r - 1);
    if (mask != nullptr && (i >= mask->size() || !(*mask)[i])) continue;
    const TSeq* seq = dataset.SeqAt(r);
    auto leaf = std::make_unique<Node>();
    leaf->height = 0;
    leaf->isInternal = false;
    leaf->seq = seq;
    leaf->name = seq->seqName;
    AddNode(std::move(leaf));
  }
}

std::vector<Node*> TTree::Roots() const {
  std::vector<Node*> out;
  for (const auto& n : nodes)
    if (!n->ParentLink()) out.push_back(n.get());
  return out;
}

// Nodes below before the node itself, without recursion: a tree read from text can be
// deeper than the stack allows.
static std::vector<Node*> PostOrder(Node* root) {
  std::vector<Node*> order;
  std::vector<std::pair<Node*, std::size_t>> stack{{root, 0}};
  while (!stack.empty()) {
    auto& [node, next] = stack.back();
    while (next < node->links.size() && node->links[next].isParent) ++next;
    if (next < node->links.size()) {
      Node* child = node->links[next++].other;
      stack.emplace_back(child, 0);
    } else {
      order.push_back(node);
      stack.pop_back();
    }
  }
  return order;
}

void TTree::ComputeSplits() {
  const int n = Count();
  for (int i = 0; i < n; ++i) {
    Node* node = nodes[static_cast<std::size_t>(i)].get();
    node->segments.assign(2, Segment(n));
    node->segments[0].Set(i);
    if (!node->isInternal) node->segments[1].Set(i);
  }
  // A node reached twice (a damaged tree with a cycle) is not walked again.
  std::vector<char> done(static_cast<std::size_t>(n), 0);
  std::unordered_map<const Node*, int> index;
  for (int i = 0; i < n; ++i) index[nodes[static_cast<std::size_t>(i)].get()] = i;
  for (Node* root : Roots()) {
    for (Node* node : PostOrder(root)) {
      const auto found = index.find(node);
      if (found == index.end() || done[static_cast<std::size_t>(found->second)]) continue;
      const int idx = found->second;
      done[static_cast<std::size_t>(idx)] = 1;
      for (Node* child : node->Children()) {
        node->segments[0].OrWith(child->segments[0]);
        node->segments[1].OrWith(child->segments[1]);
      }
    }
  }
}

void TTree::CompareSplits(const TTree& other, bool leavesOnly, std::vector<bool>& result) const {
  const std::size_t seg = leavesOnly ? 1 : 0;
  for (std::size_t i = 0; i < result.size(); ++i) {
    result[i] = false;
    if (i >= nodes.size() || nodes[i]->segments.size() <= seg) continue;
    const Segment& mine = nodes[i]->segments[seg];
    for (const auto& o : other.nodes)
      if (o->segments.size() > seg && o->segments[seg] == mine) {
        result[i] = true;
        break;
      }
  }
}

int TTree::LeavesBelow(const Node* node, const std::vector<std::string>& names,
                       std::vector<bool>& marks) const {
  if (!node) return 0;
  int count = 0;
  for (Node* n : PostOrder(const_cast<Node*>(node))) {
    if (n->isInternal) continue;
    ++count;
    for (std::size_t k = 0; k < names.size() && k < marks.size(); ++k)
      if (names[k] == n->name) marks[k] = true;
  }
  return count;
}

double TTree::MinPositiveLength() const {
  double best = std::numeric_limits<double>::infinity();
  for (const auto& n : nodes)
    for (const NodeLink& l : n->links)
      if (l.branchLength > 0 && l.branchLength < best) best = l.branchLength;
  return std::isinf(best) ? -1 : best;
}

void TTree::ResolveMultifurcations(double x) {
  const int before = Count();
  int added = 0;
  for (int i = 0; i < Count(); ++i) {
    Node* node = At(i);
    while (node->ChildCount() > 2) {
      std::vector<Node*> kids = node->Children();
      Node* a = kids[0];
      Node* b = kids[1];
      const double la = a->BranchLength();
      const double lb = b->BranchLength();
      for (Node* kid : {a, b})
        for (int k = 0; k < static_cast<int>(node->links.size()); ++k)
          if (!node->links[static_cast<std::size_t>(k)].isParent &&
              node->links[static_cast<std::size_t>(k)].other == kid) {
            Unlink(node, k);
            break;
          }
      ++added;
      const int segs = static_cast<int>(node->segments.size());
      const int bits = segs > 0 ? node->segments[0].BitCount() : 0;
      Node* fresh = At(NewNode("node_" + std::to_string(before + added), segs, bits));
      Link(node, fresh, x);
      Link(fresh, a, la - x);
      Link(fresh, b, lb - x);
    }
  }
}
