// SPDX-License-Identifier: GPL-3.0-or-later
// Depths, rows and pixel scaling of a tree drawing.
#include "trees/TreeLayout.h"

#include <algorithm>

#include "common/NumberFormat.h"

void UnitLengthsIfNone(TTree& tree) {
  for (const auto& node : tree.nodes)
    for (const NodeLink& l : node->links)
      if (l.branchLength > 0) return;
  for (const auto& node : tree.nodes) {
    if (node->isInternal) continue;
    int edges = 0;
    // Bounded walk: a damaged tree with a cycle has no way up that ends.
    for (Node* n = node.get(); n->Parent() && edges <= tree.Count(); n = n->Parent()) ++edges;
    if (edges == 0 || edges > tree.Count()) continue;
    const double length = 1.0 / edges;
    for (Node* n = node.get(); n->Parent(); n = n->Parent()) {
      tree.SetBranchLength(n, length);
      NodeLink* up = n->ParentLink();
      for (NodeLink& down : up->other->links)  // keep the parent's side the same
        if (!down.isParent && down.other == n) down.branchLength = length;
    }
  }
}

bool LayoutDepths(TTree& tree) {
  const auto roots = tree.Roots();
  tree.maxDepth = 0;
  tree.layoutLeafCount = 0;
  if (roots.size() != 1) return false;
  roots[0]->depth = 0;
  std::vector<Node*> stack{roots[0]};
  std::size_t visited = 0;
  while (!stack.empty() && visited++ <= tree.nodes.size()) {
    Node* node = stack.back();
    stack.pop_back();
    if (!node->isInternal) {
      ++tree.layoutLeafCount;
      tree.maxDepth = std::max(tree.maxDepth, node->depth);
    }
    for (Node* child : node->Children()) {
      child->depth = node->depth + child->BranchLength();
      stack.push_back(child);
    }
  }
  return true;
}

std::string LayoutRows(TTree& tree) {
  tree.maxYPos = 0;
  Node* last = nullptr;
  for (const auto& node : tree.nodes) {
    node->pending = true;
    if (!node->isInternal) last = node.get();
  }
  if (!last) return "Tree error!";
  last->yPos = 1;
  last->pending = false;
  tree.maxYPos = 1;
  double counter = 2;
  std::size_t steps = 0;
  const std::size_t limit = 4 * (tree.nodes.size() + 1);
  for (Node* node = last->Parent(); node && steps++ < limit;) {
    node->pending = false;
    Node* next = nullptr;
    for (Node* child : node->Children())
      if (child->pending) {
        next = child;
        break;
      }
    if (next) {
      node = next;
      continue;
    }
    if (node->isInternal) {
      const std::vector<Node*> kids = node->Children();
      if (kids.empty()) return "Tree error!";
      double sum = 0;
      for (const Node* kid : kids) sum += kid->yPos;
      node->yPos = sum / static_cast<double>(kids.size());
    } else {
      node->yPos = counter++;
    }
    tree.maxYPos = std::max(tree.maxYPos, node->yPos);
    node = node->Parent();
  }
  if (steps >= limit) return "Tree error!";
  return {};
}

std::string LayoutTree(TTree& tree) {
  UnitLengthsIfNone(tree);
  if (!LayoutDepths(tree)) return "Tree error!";
  return LayoutRows(tree);
}

TreeGeometry::TreeGeometry(const TTree& tree, double width, double height, double ox, double oy)
    : sx(tree.maxDepth > 0 ? width / tree.maxDepth : width),
      sy(tree.maxYPos > 0 ? height / tree.maxYPos : height),
      originX(ox),
      originY(oy) {}

int TreeGeometry::X(double depth) const {
  return RoundHalfEvenInt(depth * sx + originX + 5);
}
int TreeGeometry::Y(double yPos) const {
  return RoundHalfEvenInt(yPos * sy + originY + 20);
}

double SupportPercent(double support) {
  return support >= 0 && support <= 1 ? support * 100 : support;
}
