// SPDX-License-Identifier: GPL-3.0-or-later
// Node navigation and the leaf-set bit sets.
#include "trees/NodeUnit.h"

#include <bit>

void Segment::OrWith(const Segment& other) {
  for (std::size_t i = 0; i < words.size() && i < other.words.size(); ++i)
    words[i] |= other.words[i];
}

int Segment::Count() const {
  int n = 0;
  for (const std::uint64_t w : words) n += std::popcount(w);
  return n;
}

NodeLink* Node::ParentLink() {
  for (auto it = links.rbegin(); it != links.rend(); ++it)
    if (it->isParent) return &*it;
  return nullptr;
}

const NodeLink* Node::ParentLink() const {
  for (auto it = links.rbegin(); it != links.rend(); ++it)
    if (it->isParent) return &*it;
  return nullptr;
}

Node* Node::Parent() const {
  const NodeLink* link = ParentLink();
  return link ? link->other : nullptr;
}

int Node::ChildCount() const {
  int n = 0;
  for (const NodeLink& l : links) n += l.isParent ? 0 : 1;
  return n;
}

std::vector<Node*> Node::Children() const {
  std::vector<Node*> out;
  for (const NodeLink& l : links)
    if (!l.isParent) out.push_back(l.other);
  return out;
}

double Node::BranchLength() const {
  const NodeLink* link = ParentLink();
  return link ? link->branchLength : 0;
}
