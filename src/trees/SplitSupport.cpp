// SPDX-License-Identifier: GPL-3.0-or-later
// Bipartitions of leaf names and their share among replicate trees.
#include "trees/SplitSupport.h"

#include <set>
#include <string>
#include <unordered_map>

namespace {

using LeafIndex = std::unordered_map<std::string, int>;

// Leaf bits below every non-root node, as text keys with the side of leaf 0 cleared. False
// when the tree's leaves are not exactly the indexed names.
bool Bipartitions(const TTree& tree, const LeafIndex& index, std::vector<std::string>* perNode,
                  std::set<std::string>* all) {
  const std::size_t n = index.size();
  if (static_cast<std::size_t>(tree.LeafCount()) != n) return false;
  std::unordered_map<const Node*, std::string> below;
  const auto roots = tree.Roots();
  if (roots.size() != 1) return false;
  // Children before parents without recursion.
  std::vector<const Node*> order;
  std::vector<const Node*> stack{roots[0]};
  while (!stack.empty()) {
    const Node* node = stack.back();
    stack.pop_back();
    order.push_back(node);
    if (order.size() > tree.nodes.size()) return false;
    for (const Node* child : node->Children()) stack.push_back(child);
  }
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    const Node* node = *it;
    std::string bits(n, '0');
    if (!node->isInternal) {
      const auto found = index.find(node->name);
      if (found == index.end()) return false;
      bits[static_cast<std::size_t>(found->second)] = '1';
    }
    for (const Node* child : node->Children()) {
      const std::string& sub = below[child];
      for (std::size_t i = 0; i < n; ++i)
        if (sub[i] == '1') bits[i] = '1';
    }
    below[node] = bits;
  }
  auto canonical = [](std::string key) {
    if (!key.empty() && key[0] == '1')
      for (char& c : key) c = c == '1' ? '0' : '1';
    return key;
  };
  if (perNode) {
    perNode->clear();
    for (const auto& node : tree.nodes)
      perNode->push_back(node->Parent() ? canonical(below[node.get()]) : std::string());
  }
  if (all)
    for (const auto& node : tree.nodes)
      if (node->Parent()) all->insert(canonical(below[node.get()]));
  return true;
}

}  // namespace

void AssignSplitSupport(TTree& tree, const std::vector<const TTree*>& replicates) {
  if (replicates.empty()) return;
  LeafIndex index;
  for (const auto& node : tree.nodes)
    if (!node->isInternal) index.emplace(node->name, static_cast<int>(index.size()));
  std::vector<std::string> keys;
  if (!Bipartitions(tree, index, &keys, nullptr)) return;
  std::vector<int> hits(tree.nodes.size(), 0);
  for (const TTree* replicate : replicates) {
    std::set<std::string> splits;
    if (!replicate || !Bipartitions(*replicate, index, nullptr, &splits)) continue;
    for (std::size_t i = 0; i < keys.size(); ++i)
      if (!keys[i].empty() && splits.count(keys[i])) ++hits[i];
  }
  for (std::size_t i = 0; i < tree.nodes.size(); ++i) {
    Node& node = *tree.nodes[i];
    if (node.isInternal && node.Parent())
      node.support = static_cast<double>(hits[i]) / static_cast<double>(replicates.size());
  }
}
