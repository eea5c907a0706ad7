// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "support/RecordingServices.h"
#include "trees/NJTreeUnit.h"

namespace {

using SplitLengths = std::map<std::string, double>;  // leaf side without leaf 0 -> length

std::string SplitKey(std::vector<bool> side) {
  if (side[0]) side.flip();
  std::string key;
  for (const bool b : side) key += b ? '1' : '0';
  return key;
}

// Every edge of an NJ tree over n leaves (node i = leaf i) as its split.
SplitLengths SplitsOf(TTree& tree, int n) {
  tree.ComputeSplits();
  SplitLengths out;
  for (const auto& node : tree.nodes) {
    if (!node->Parent()) continue;
    std::vector<bool> side(n);
    for (int i = 0; i < n; ++i) side[i] = node->segments[1].Test(i);
    out[SplitKey(side)] += node->BranchLength();
  }
  return out;
}

DistanceMatrix MatrixOf(const std::vector<std::vector<double>>& rows) {
  DistanceMatrix m = DistanceMatrix::Zero(static_cast<int>(rows.size()));
  for (int i = 0; i < m.n; ++i)
    for (int j = 0; j < i; ++j) m.Set(i, j, {rows[i][j], 0});
  return m;
}

// A random unrooted binary tree: edges hold (u, v, length); nodes 0..n-1 are the leaves.
struct RandomTree {
  int n;
  std::vector<std::tuple<int, int, double>> edges;
  std::vector<std::vector<std::pair<int, double>>> Adjacency() const {
    std::vector<std::vector<std::pair<int, double>>> adj(2 * n);
    for (const auto& [u, v, l] : edges) {
      adj[u].emplace_back(v, l);
      adj[v].emplace_back(u, l);
    }
    return adj;
  }
};

RandomTree MakeRandomTree(int n, std::mt19937& rng) {
  std::uniform_real_distribution<double> len(0.01, 1.0);
  RandomTree t{n, {}};
  int next = n;
  const int centre = next++;
  for (int leaf = 0; leaf < 3; ++leaf) t.edges.emplace_back(centre, leaf, len(rng));
  for (int leaf = 3; leaf < n; ++leaf) {
    const std::size_t e = rng() % t.edges.size();
    const auto [u, v, l] = t.edges[e];
    const double cut = std::uniform_real_distribution<double>(0.1, 0.9)(rng);
    const int w = next++;
    t.edges[e] = {u, w, l * cut};
    t.edges.emplace_back(w, v, l * (1 - cut));
    t.edges.emplace_back(w, leaf, len(rng));
  }
  return t;
}

// Path lengths between leaves and the split of every edge, by walking the tree.
void Measure(const RandomTree& t, DistanceMatrix& m, SplitLengths& splits) {
  const auto adj = t.Adjacency();
  m = DistanceMatrix::Zero(t.n);
  for (int s = 0; s < t.n; ++s) {
    std::vector<double> dist(adj.size(), -1);
    std::vector<int> stack{s};
    dist[s] = 0;
    while (!stack.empty()) {
      const int u = stack.back();
      stack.pop_back();
      for (const auto& [v, l] : adj[u])
        if (dist[v] < 0) dist[v] = dist[u] + l, stack.push_back(v);
    }
    for (int j = 0; j < t.n; ++j) m.d[static_cast<std::size_t>(s) * t.n + j] = dist[j];
  }
  for (const auto& [u, v, l] : t.edges) {
    std::vector<bool> side(t.n), seen(adj.size());
    std::vector<int> stack{v};
    seen[u] = seen[v] = true;
    while (!stack.empty()) {
      const int x = stack.back();
      stack.pop_back();
      if (x < t.n) side[x] = true;
      for (const auto& [y, ll] : adj[x])
        if (!seen[y]) seen[y] = true, stack.push_back(y);
    }
    splits[SplitKey(side)] += l;
  }
}

std::vector<std::string> Names(int n) {
  std::vector<std::string> names;
  for (int i = 0; i < n; ++i) names.push_back("s" + std::to_string(i));
  return names;
}

}  // namespace

TEST(NeighborJoin, RecoversRandomAdditiveTreesWithExactBranchLengths) {
  std::mt19937 rng(2024);
  for (int trial = 0; trial < 41; ++trial) {
    // The last tree is large enough for the working matrix to be compacted many times.
    const int n = trial == 40 ? 400 : 4 + static_cast<int>(rng() % 60);
    SCOPED_TRACE("trial " + std::to_string(trial) + ", " + std::to_string(n) + " leaves");
    const RandomTree truth = MakeRandomTree(n, rng);
    DistanceMatrix m;
    SplitLengths expected;
    Measure(truth, m, expected);
    TTree tree;
    tree.LeavesFromNames(Names(n));
    ASSERT_TRUE(NeighborJoin(tree, m));
    EXPECT_EQ(tree.Count(), 2 * n - 2);  // binary: n leaves, n - 3 joins, the root
    const SplitLengths got = SplitsOf(tree, n);
    ASSERT_EQ(got.size(), expected.size());
    for (const auto& [key, length] : expected) {
      ASSERT_TRUE(got.count(key)) << key;
      EXPECT_NEAR(got.at(key), length, 1e-9) << key;
    }
  }
}

TEST(NeighborJoin, TextbookFiveTaxonExample) {
  // The five-taxon example of the neighbour-joining article on Wikipedia: the tree
  // a:2, b:3 | 3 | c:4 | 2 | d:2, e:1.
  const DistanceMatrix m = MatrixOf({{0}, {5, 0}, {9, 10, 0}, {9, 10, 8, 0}, {8, 9, 7, 3, 0}});
  TTree tree;
  tree.LeavesFromNames({"a", "b", "c", "d", "e"});
  ASSERT_TRUE(NeighborJoin(tree, m));
  const SplitLengths got = SplitsOf(tree, 5);
  const SplitLengths expected{{"01111", 2}, {"01000", 3}, {"00100", 4}, {"00010", 2},
                              {"00001", 1}, {"00111", 3}, {"00011", 2}};
  ASSERT_EQ(got.size(), expected.size());
  for (const auto& [key, length] : expected) EXPECT_NEAR(got.at(key), length, 1e-12) << key;
  // The first join is (a, b): Q(a,b) = 3*5 - 31 - 34 = -50 is the smallest.
  EXPECT_EQ(tree.At(5)->name, "node_6");
  EXPECT_EQ(tree.At(5)->Children(), (std::vector<Node*>{tree.At(0), tree.At(1)}));
}

TEST(NeighborJoin, ThreeLeavesJoinAtTheRootWithoutAStep) {
  TTree tree;
  tree.LeavesFromNames({"A", "B", "C"});
  ASSERT_TRUE(NeighborJoin(tree, MatrixOf({{0}, {3, 0}, {4, 5, 0}})));
  ASSERT_EQ(tree.Count(), 4);
  // b1 = (3 + 4 - 5) / 2 = 1, b2 = 3 - 1, b3 = 4 - 1.
  EXPECT_EQ(tree.WriteBrackets(false), "(A:1.000,B:2.000,C:3.000);");
  EXPECT_EQ(tree.At(3)->name, "NoName");
}

TEST(NeighborJoin, TiesJoinThePairMetFirstAndTheNewDistanceSubtractsTheJoinedPair) {
  // All six distances 1: every Q is -4, so (A, B) is joined; its distance to C and D is
  // (1 + 1 - 1) / 2 = 0.5, which puts the root right on the new node.
  TTree tree;
  tree.LeavesFromNames({"A", "B", "C", "D"});
  ASSERT_TRUE(NeighborJoin(tree, MatrixOf({{0}, {1, 0}, {1, 1, 0}, {1, 1, 1, 0}})));
  EXPECT_EQ(tree.At(4)->name, "node_5");
  EXPECT_EQ(tree.WriteBrackets(false), "((A:0.500,B:0.500):0.000,C:0.500,D:0.500);");
}

TEST(NeighborJoin, IdenticalSequencesGiveZeroLengthsAndNegativeLengthsAreStoredAsZero) {
  TTree same;
  same.LeavesFromNames({"A", "B", "C", "D"});
  ASSERT_TRUE(NeighborJoin(same, DistanceMatrix::Zero(4)));
  EXPECT_EQ(same.WriteBrackets(false), "((A:0.000,B:0.000):0.000,C:0.000,D:0.000);");
  // Not additive: b1 = (1 + 1 - 10) / 2 = -4 becomes 0 at both ends of the edge.
  TTree odd;
  odd.LeavesFromNames({"A", "B", "C"});
  ASSERT_TRUE(NeighborJoin(odd, MatrixOf({{0}, {1, 0}, {1, 10, 0}})));
  EXPECT_EQ(odd.At(0)->BranchLength(), 0);
  EXPECT_EQ(odd.At(3)->links[0].branchLength, 0);
}

TEST(NeighborJoin, AnUndefinedDistanceIsReportedAndNoTreeIsBuilt) {
  DistanceMatrix m = MatrixOf({{0}, {1, 0}, {1, 1, 0}, {1, 1, 1, 0}});
  m.Set(2, 1, {-1, -1});
  m.Set(3, 0, {-1, -1});
  RecordingMessages messages;
  TTree tree;
  tree.LeavesFromNames({"A", "B", "C", "D"});
  EXPECT_FALSE(NeighborJoin(tree, m, &messages));
  EXPECT_EQ(tree.Count(), 4);
  EXPECT_EQ(messages.errors,
            std::vector<std::string>{"Neighbor-joining: the distance between C and B is undefined "
                                     "(saturated, or no site to compare); 2 undefined distances "
                                     "in all; no tree is built."});
}

TEST(NeighborJoin, FewerThanThreeLeavesGiveNoTree) {
  TTree tree;
  tree.LeavesFromNames({"A", "B"});
  EXPECT_FALSE(NeighborJoin(tree, MatrixOf({{0}, {1, 0}})));
  EXPECT_EQ(tree.Count(), 2);
}

TEST(NeighborJoinReport, MatrixTreeAndTerminalBranchLengths) {
  DistanceMatrix m = DistanceMatrix::Zero(3);
  m.Set(1, 0, {0.1, 0.0004});
  m.Set(2, 0, {0.2, 0.0009});
  m.Set(2, 1, {0.25, 0.0016});
  TTree tree;
  const std::string report =
      NeighborJoinReport({"A", "B", "Carl"}, m, DistanceModel::JukesCantor, true, tree);
  EXPECT_EQ(
      report,
      "\r\nJukes and Cantor distances\r\nK in lower left matrix and SD(K) in upper right one\r\n"
      "          A     B  Carl \r\n"
      "    A       0.020 0.030 \r\n"
      "    B 0.100       0.040 \r\n"
      " Carl 0.200 0.250       \r\n"
      "\r\nNeighbor-joining tree:\r\n(A:0.025,B:0.075,Carl:0.175);\r\n"
      "\r\nTerminal branch lengths:\r\nA  0.025\r\nB  0.075\r\nCarl  0.175\r\n");
}

TEST(NeighborJoinReport, DifferencesAsIntegersLongNamesCutAndTooFewSequences) {
  DistanceMatrix m = DistanceMatrix::Zero(2);
  m.Set(1, 0, {2.5, 2.25});  // 2.5 rounds half to even: 2; SD 1.5
  TTree tree;
  const std::string report =
      NeighborJoinReport({"Sequence1", "Seq2"}, m, DistanceModel::Differences, false, tree);
  EXPECT_EQ(report, std::string("\r\nNumber of nucleotide differences\r\nK in lower left matrix\r\n"
                                "         Sequence     Seq2 \r\n") +
                        "Sequence" + std::string(1 + 9 + 3, ' ') +
                        "1.500 \r\n" +  // name, blank, diagonal, pad
                        "    Seq2        2          \r\n"
                        "\r\nTo construct a tree at least three nodes are needed.");
  EXPECT_EQ(tree.Count(), 0);
}

TEST(NeighborJoinReport, UndefinedDistancesPrintAsErrAndAreNamed) {
  DistanceMatrix m = DistanceMatrix::Zero(3);
  m.Set(1, 0, {-1, -1});
  m.Set(2, 0, {0.5, 0.01});
  m.Set(2, 1, {0.5, 0.01});
  TTree tree;
  const std::string report =
      NeighborJoinReport({"A", "B", "C"}, m, DistanceModel::Kimura2P, true, tree);
  // An undefined distance and its SD print "Err" (they printed 0, a value the pair does not
  // have, before).
  EXPECT_NE(report.find("    A         Err 0.100 \r\n    B   Err       0.100 \r\n"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("\r\nUndefined distances (saturated, or no site to compare) between 1 "
                        "pair(s), the first B and A: no tree is built.\r\n"),
            std::string::npos);
  EXPECT_EQ(report.find("Neighbor-joining tree:"), std::string::npos);
  EXPECT_EQ(tree.Count(), 0);
}
