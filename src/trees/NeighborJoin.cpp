// SPDX-License-Identifier: GPL-3.0-or-later
// Neighbour-joining (Saitou and Nei 1987, with the Studier and Keppler 1988 criterion).
//
// Row sums are kept and updated at each join instead of being recomputed for every pair, so a
// step costs one pass over the live pairs and the whole tree O(n^3). The working matrix is
// dense over the live clusters: it is compacted, keeping the clusters' order, whenever an
// eighth of its rows have been joined away, so the scans stay contiguous and the pairs are
// visited in the original order (b ascending, then a ascending; the first smallest Q wins).
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "common/Services.h"
#include "common/StepTicker.h"
#include "trees/NJTreeUnit.h"

UndefinedDistances FindUndefined(const DistanceMatrix& m) {
  UndefinedDistances u;
  for (int i = 0; i < m.n; ++i)
    for (int j = 0; j < i; ++j) {
      const double v = (m.At(i, j) + m.At(j, i)) / 2;
      if (!(v >= 0) || !std::isfinite(v) || m.At(i, j) < 0 || m.At(j, i) < 0) {
        if (u.count++ == 0) u.i = i, u.j = j;
      }
    }
  return u;
}

namespace {

class Joiner {
 public:
  Joiner(TTree& t, const DistanceMatrix& m) : tree(t), s(m.n), x(static_cast<std::size_t>(s) * s) {
    for (int i = 0; i < s; ++i)
      for (int j = 0; j < s; ++j) X(i, j) = i == j ? 0 : (m.At(i, j) + m.At(j, i)) / 2;
    for (int k = 0; k < s; ++k) cluster.push_back(tree.At(k));
    RecomputeRowSums();
    live = s;
  }

  // False when the ticker saw a cancel; the tree is then unfinished.
  bool Run(StepTicker& ticker) {
    const int n = s;
    double f = n - 2;
    int nextNumber = n + 1;
    for (int step = 0; step < n - 3; ++step) {
      if (ticker.Tick(step)) return false;
      int a = -1, b = -1;
      ChoosePair(f, a, b);
      if (a < 0) FirstLivePair(a, b);  // only when every Q overflowed
      const double d = X(a, b);
      const double ra = R[a], rb = R[b];
      const double branchA = (d + (ra - d) / f - (rb - d) / f) / 2;
      const double branchB = d - branchA;
      Node* joined = tree.At(tree.NewNode("node_" + std::to_string(nextNumber++), 0, 0));
      joined->isInternal = true;
      tree.Link(joined, cluster[a], branchA);
      tree.Link(joined, cluster[b], branchB);
      cluster[a] = joined;
      cluster[b] = nullptr;
      f -= 1;
      // The distance of the new cluster to k is (x_ak + x_bk - x_ab) / 2: with the d_ab
      // term an additive matrix stays additive and gives back its branch lengths exactly.
      double sumA = 0;
      for (int k = 0; k < s; ++k) {
        if (!cluster[k] || k == a) continue;
        const double v = (X(a, k) + X(b, k) - d) / 2;
        R[k] += v - X(a, k) - X(b, k);
        X(a, k) = X(k, a) = v;
        sumA += v;
      }
      R[a] = sumA;
      R[b] = -std::numeric_limits<double>::infinity();  // Q of any pair with b is +inf
      --live;
      if (live > 3 && live * 8 <= s * 7) Compact();
    }
    int e[3], found = 0;
    for (int k = 0; k < s && found < 3; ++k)
      if (cluster[k]) e[found++] = k;
    const double b1 = (X(e[0], e[1]) + X(e[0], e[2]) - X(e[1], e[2])) / 2;
    const double b2 = X(e[0], e[1]) - b1;
    const double b3 = X(e[0], e[2]) - b1;
    Node* root = tree.At(tree.NewNode("NoName", 0, 0));
    root->isInternal = true;
    tree.Link(root, cluster[e[0]], b1);
    tree.Link(root, cluster[e[1]], b2);
    tree.Link(root, cluster[e[2]], b3);
    return true;
  }

 private:
  TTree& tree;
  int s;                  // rows of the working matrix
  std::vector<double> x;  // s x s, symmetric
  std::vector<double> R;  // row sums over live clusters; -inf for joined-away rows
  std::vector<Node*> cluster;
  int live = 0;

  double& X(int i, int j) { return x[static_cast<std::size_t>(i) * s + j]; }

  void RecomputeRowSums() {
    R.assign(static_cast<std::size_t>(s), 0);
    for (int i = 0; i < s; ++i) {
      if (!cluster[i]) {
        R[i] = -std::numeric_limits<double>::infinity();
        continue;
      }
      double sum = 0;
      for (int j = 0; j < s; ++j)
        if (cluster[j]) sum += X(i, j);
      R[i] = sum;
    }
  }

  void ChoosePair(double f, int& bestA, int& bestB) {
    double best = std::numeric_limits<double>::infinity();
    const double* r = R.data();
    for (int b = 1; b < s; ++b) {
      if (!cluster[b]) continue;
      const double* row = &x[static_cast<std::size_t>(b) * s];
      // Four running minima let the loop run without waiting on each comparison.
      double m0 = std::numeric_limits<double>::infinity(), m1 = m0, m2 = m0, m3 = m0;
      int a = 0;
      for (; a + 4 <= b; a += 4) {
        const double q0 = f * row[a] - r[a], q1 = f * row[a + 1] - r[a + 1];
        const double q2 = f * row[a + 2] - r[a + 2], q3 = f * row[a + 3] - r[a + 3];
        m0 = q0 < m0 ? q0 : m0;
        m1 = q1 < m1 ? q1 : m1;
        m2 = q2 < m2 ? q2 : m2;
        m3 = q3 < m3 ? q3 : m3;
      }
      for (; a < b; ++a) {
        const double q = f * row[a] - r[a];
        m0 = q < m0 ? q : m0;
      }
      const double rowMin = std::min(std::min(m0, m1), std::min(m2, m3));
      if (!(rowMin - r[b] < best)) continue;
      for (a = 0; a < b; ++a)
        if (f * row[a] - r[a] == rowMin) break;
      best = rowMin - r[b];
      bestA = a;
      bestB = b;
    }
  }

  void FirstLivePair(int& a, int& b) const {
    a = b = -1;
    for (int k = 0; k < s && b < 0; ++k)
      if (cluster[k]) (a < 0 ? a : b) = k;
  }

  // Drops the joined-away rows and columns, keeping the order of the live ones.
  void Compact() {
    std::vector<int> keep;
    for (int k = 0; k < s; ++k)
      if (cluster[k]) keep.push_back(k);
    const int t = static_cast<int>(keep.size());
    std::vector<double> y(static_cast<std::size_t>(t) * t);
    std::vector<Node*> c2(static_cast<std::size_t>(t));
    for (int i = 0; i < t; ++i) {
      c2[i] = cluster[keep[i]];
      for (int j = 0; j < t; ++j) y[static_cast<std::size_t>(i) * t + j] = X(keep[i], keep[j]);
    }
    x.swap(y);
    cluster.swap(c2);
    s = t;
    RecomputeRowSums();  // also clears the rounding the updates have gathered
  }
};

}  // namespace

bool NeighborJoin(TTree& tree, const DistanceMatrix& matrix, IMessages* messages,
                  IProgress* progress) {
  const int n = matrix.n;
  if (n < 3 || tree.Count() < n) {
    if (messages) messages->ReportError("To construct a tree at least three nodes are needed.");
    return false;
  }
  const UndefinedDistances u = FindUndefined(matrix);
  if (u.count > 0) {
    if (messages) {
      std::string text = "Neighbor-joining: the distance between " + tree.At(u.i)->name + " and " +
                         tree.At(u.j)->name + " is undefined (saturated, or no site to compare)";
      if (u.count > 1) text += "; " + std::to_string(u.count) + " undefined distances in all";
      messages->ReportError(text + "; no tree is built.");
    }
    return false;
  }
  StepTicker ticker(progress, "Joining neighbours", n - 3);
  if (!Joiner(tree, matrix).Run(ticker)) return false;
  tree.ComputeSplits();
  return tree.Count() > n && tree.Count() <= 2 * n - 1;
}
