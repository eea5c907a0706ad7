// SPDX-License-Identifier: GPL-3.0-or-later
// Re-rooting through the unrooted form: the edges are read without direction, the new root is
// put on the chosen edge and the tree is rebuilt downwards from it.
#include "trees/TreeRooting.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <unordered_set>

namespace {

struct Edge {
  int a, b;  // node indexes
  double length;
  double support;  // of the edge, whichever end is below it
};

struct Adjacent {
  int node;
  int edge;
};

std::string Upper(const std::string& s) {
  std::string u(s);
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

}  // namespace

RootOutcome RootOnLeaves(TTree& tree, const std::vector<std::string>& names) {
  const std::vector<Node*> roots = tree.Roots();
  if (roots.size() != 1) return RootOutcome::NoLeaf;
  const int n = tree.Count();
  std::unordered_set<std::string> wanted;
  for (const std::string& name : names) wanted.insert(Upper(name));
  std::vector<bool> marked(static_cast<std::size_t>(n), false);
  int markedCount = 0, leaves = 0, firstMarked = -1;
  for (int i = 0; i < n; ++i) {
    const Node& node = *tree.At(i);
    if (node.ChildCount() > 0) continue;
    ++leaves;
    if (wanted.contains(Upper(node.name))) {
      marked[static_cast<std::size_t>(i)] = true;
      ++markedCount;
      if (firstMarked < 0) firstMarked = i;
    }
  }
  if (markedCount == 0) return RootOutcome::NoLeaf;

  std::vector<Edge> edges;
  std::vector<std::vector<Adjacent>> adjacent(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    for (Node* child : tree.At(i)->Children()) {
      const int c = tree.IndexOf(child);
      adjacent[static_cast<std::size_t>(i)].push_back({c, static_cast<int>(edges.size())});
      adjacent[static_cast<std::size_t>(c)].push_back({i, static_cast<int>(edges.size())});
      edges.push_back({i, c, child->BranchLength(), child->support});
    }
  }
  // Marked and all leaves below each node in the current rooting: an edge splits the marked
  // leaves off when the side below it holds all of them and nothing else, or none and all else.
  const int oldRoot = tree.IndexOf(roots[0]);
  std::vector<int> order, below(static_cast<std::size_t>(n), 0), marks(below), parentEdge(below);
  std::vector<int> stack{oldRoot};
  parentEdge[static_cast<std::size_t>(oldRoot)] = -1;
  while (!stack.empty()) {
    const int u = stack.back();
    stack.pop_back();
    order.push_back(u);
    for (const Adjacent& adj : adjacent[static_cast<std::size_t>(u)])
      if (adj.edge != parentEdge[static_cast<std::size_t>(u)]) {
        parentEdge[static_cast<std::size_t>(adj.node)] = adj.edge;
        stack.push_back(adj.node);
      }
  }
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    const int u = *it;
    if (adjacent[static_cast<std::size_t>(u)].size() <= 1 && u != oldRoot) {
      below[static_cast<std::size_t>(u)] = 1;
      marks[static_cast<std::size_t>(u)] = marked[static_cast<std::size_t>(u)] ? 1 : 0;
    }
    const int e = parentEdge[static_cast<std::size_t>(u)];
    if (e < 0) continue;
    const int p = edges[static_cast<std::size_t>(e)].a;
    below[static_cast<std::size_t>(p)] += below[static_cast<std::size_t>(u)];
    marks[static_cast<std::size_t>(p)] += marks[static_cast<std::size_t>(u)];
  }
  int chosen = -1;
  for (int e = 0; e < static_cast<int>(edges.size()) && chosen < 0; ++e) {
    const int c = edges[static_cast<std::size_t>(e)].b;
    const int m = marks[static_cast<std::size_t>(c)], all = below[static_cast<std::size_t>(c)];
    if ((m == markedCount && all == markedCount) || (m == 0 && all == leaves - markedCount))
      chosen = e;
  }
  const RootOutcome outcome = chosen >= 0 ? RootOutcome::Rooted : RootOutcome::NotAClade;
  if (chosen < 0) chosen = parentEdge[static_cast<std::size_t>(firstMarked)];
  if (chosen < 0) return outcome;
  // Already rooted on that edge: the root has two children and the edge is one of its own.
  if (edges[static_cast<std::size_t>(chosen)].a == oldRoot &&
      adjacent[static_cast<std::size_t>(oldRoot)].size() == 2)
    return outcome;

  // The new root halves the chosen edge.
  const Edge split = edges[static_cast<std::size_t>(chosen)];
  const int root = tree.NewNode("NoName", 0, 0);
  tree.At(root)->isInternal = true;
  adjacent.emplace_back();
  const auto halve = [&](int other, double support) {
    adjacent[static_cast<std::size_t>(root)].push_back({other, static_cast<int>(edges.size())});
    edges.push_back({root, other, split.length / 2, support});
  };
  halve(split.b, split.support);
  halve(split.a, split.support);
  tree.ClearEdges();
  std::vector<Node*> dropped;
  // Each step: attach `node`, reached over `edge` from `parent`, skipping a node that would
  // keep a single child by carrying its length on to that child.
  struct Step {
    int parent;  // where the node is attached
    int node;
    int edge;      // the edge it was reached over
    double extra;  // lengths of skipped nodes above it
  };
  std::vector<Step> steps;
  for (auto it = adjacent[static_cast<std::size_t>(root)].rbegin();
       it != adjacent[static_cast<std::size_t>(root)].rend(); ++it)
    steps.push_back({root, it->node, it->edge, 0});
  while (!steps.empty()) {
    const Step s = steps.back();
    steps.pop_back();
    const Edge& e = edges[static_cast<std::size_t>(s.edge)];
    std::vector<Adjacent> next;
    for (const Adjacent& adj : adjacent[static_cast<std::size_t>(s.node)])
      if (adj.edge != chosen && adj.edge != s.edge) next.push_back(adj);
    if (next.size() == 1 && tree.At(s.node)->isInternal) {
      dropped.push_back(tree.At(s.node));
      steps.push_back({s.parent, next[0].node, next[0].edge, s.extra + e.length});
      continue;
    }
    Node* child = tree.At(s.node);
    tree.Link(tree.At(s.parent), child, e.length + s.extra);
    child->support = e.support;
    for (auto it = next.rbegin(); it != next.rend(); ++it)
      steps.push_back({s.node, it->node, it->edge, 0});
  }
  tree.At(root)->support = -1;
  std::erase_if(tree.nodes, [&](const std::unique_ptr<Node>& node) {
    return std::find(dropped.begin(), dropped.end(), node.get()) != dropped.end();
  });
  return outcome;
}

double ScaleBarLength(double span) {
  if (!(span > 0) || !std::isfinite(span)) return 0;
  const double target = span / 4;
  double unit = std::pow(10.0, std::floor(std::log10(target)));
  for (const double m : {5.0, 2.0, 1.0})
    if (m * unit <= target * (1 + 1e-12)) return m * unit;
  return unit / 2;
}
