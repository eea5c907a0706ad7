// SPDX-License-Identifier: GPL-3.0-or-later
// Neighbour-joining through the analysis frame: distances from the mutation tables, bootstrap
// replicates, support on the tree, outgroups in the tree and the gene-tree file.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "analysis/DNApolDbox.h"
#include "analysis/ScanFixture.h"
#include "trees/NJTreeAnalysis.h"
#include "trees/NJTreeUnit.h"

namespace {

std::string Slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The bracket tree printed after "Neighbor-joining tree:" for the n-th group reported.
std::string TreeInReport(const std::string& report, int n = 1) {
  std::size_t at = 0;
  for (int k = 0; k < n; ++k) {
    at = report.find("Neighbor-joining tree:\r\n", at);
    if (at == std::string::npos) return {};
    at += 24;
  }
  return report.substr(at, report.find("\r\n", at) - at);
}

double LeafLength(const std::string& bracket, const std::string& leaf) {
  TTree t;
  if (!t.ReadBrackets(bracket)) return -1;
  const int i = t.FindByName(leaf);
  return i < 0 ? -1 : t.At(i)->BranchLength();
}

// Rows related as ((s1,s2),(s3,s4,s5)): twelve sites split the clades, one site each sets a
// row apart.
std::vector<std::string> TwoClades() {
  return {"AAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", "AAAAAAAAAAAAAAAAAAAAAAAAAAAAGA",
          "GGGGGGGGGGGGAAAAAAAAAAAAAAAAAA", "GGGGGGGGGGGGAAAAAAAAAAAAAAAAAC",
          "GGGGGGGGGGGGAAAAAAAAAAAAAAATAA"};
}

}  // namespace

TEST(TableDistances, AgreeWithThePairwiseDistanceOfTheTableInEveryModel) {
  // 12 rows of 300 sites: enough mutations to fill several words, transitions and
  // transversions, a gap column.
  PlatformRandom draw(99);
  std::vector<std::string> rows;
  std::string base(300, 'A');
  for (char& c : base) c = "ACGT"[draw.NextInt(4)];
  for (int r = 0; r < 12; ++r) {
    std::string s = base;
    for (char& c : s)
      if (draw.NextInt(5) == 0) c = "ACGT"[draw.NextInt(4)];
    rows.push_back(s);
  }
  rows[3][17] = '-';
  ScanFixture f(rows);
  ASSERT_TRUE(f.Scan(Options(0)));
  const tmutholder& t = f.Table();
  ASSERT_GT(t.mutations.size(), 128u);
  const std::vector<int> picked{0, 2, 3, 5, 7, 11};
  for (auto [model, code] : {std::pair{DistanceModel::JukesCantor, kJukesCantor},
                             std::pair{DistanceModel::Kimura2P, kKimura2P},
                             std::pair{DistanceModel::Differences, kDifferenceCount}}) {
    for (int sites : {kSiteAll, kSiteNoncoding}) {
      const DistanceMatrix m = TableDistances(t, picked, model, sites, kMutAll);
      ASSERT_EQ(m.n, 6);
      for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j) {
          if (i == j) continue;
          const DistanceResult r = t.pairwiseDistance(picked[i], picked[j], code, sites, kMutAll);
          EXPECT_DOUBLE_EQ(m.At(i, j), r.distance) << static_cast<int>(model);
          // The number of differences comes from the table with its standard deviation.
          const double var =
              model == DistanceModel::Differences ? r.variance * r.variance : r.variance;
          EXPECT_DOUBLE_EQ(m.VarAt(i, j), var) << static_cast<int>(model);
        }
    }
  }
}

TEST(TableDistances, JukesCantorOfOneTransitionInTenSites) {
  ScanFixture f({"AAAAAAAAAA", "AAAAGAAAAA", "AAAAGAAAAA"});
  ASSERT_TRUE(f.Scan(Options(0)));
  const DistanceMatrix m =
      TableDistances(f.Table(), {0, 1, 2}, DistanceModel::JukesCantor, kSiteAll, kMutAll);
  // p = 0.1: d = -3/4 ln(1 - 0.4/3), Var = p(1 - p) / (L (1 - 4p/3)^2).
  EXPECT_NEAR(m.At(1, 0), 0.1073256327, 1e-9);
  EXPECT_NEAR(m.VarAt(1, 0), 0.0119822485, 1e-9);
  EXPECT_EQ(m.At(2, 1), 0);
}

TEST(RunNJ, NumberOfDifferencesHasTheSDThePolymorphismReportGivesPi) {
  // Five sequences, S = 15 segregating sites: theta = 15 / (25/12) = 7.2 per sequence and
  // Var(Pi) = 7.2 * 6/12 + 7.2^2 * 66/180 = 22.608 (Tajima 1983; Nei 1987, eq. 10.7), SD 4.75479.
  // (The distances report printed 4.374 before, from a per-site first term.)
  ScanFixture f(TwoClades());
  f.ds->dsName = "clades";
  InitAnalysisSelection(f.proj);
  NJTreeOptions nj;
  nj.model = DistanceModel::Differences;
  const NJRunOutput r = RunNJ(f.proj, FrameOptions{}, nj, f.svc, 1);
  ASSERT_TRUE(r.output.error.empty()) << r.output.error;
  EXPECT_NE(r.output.report.find("\r\n   s1       4.755 4.755 4.755 4.755 \r\n"), std::string::npos)
      << r.output.report;
  const AnalysisOutput polym = RunDNApolym(f.proj, FrameOptions{}, DNApolymOptions{}, f.svc);
  EXPECT_NE(polym.report.find("  SD: 4.75479\r\n"), std::string::npos) << polym.report;
}

TEST(BootstrapDseq, MakesNamedScannedReplicatesOfTheRegionAndStopsOnCancel) {
  // Columns 4..8 hold only A and G; the rest only C and T.
  ScanFixture f({"CCCAAAAATTT", "CCTAAGAACTT", "TCCAGAGACTC"});
  f.ds->dsName = "locus";
  std::unique_ptr<TDataProj> reps;
  PlatformRandom rng(5);
  ASSERT_TRUE(BootstrapDseq(*f.ds, 7, 1, 11, reps, 0, 0, rng, f.svc));
  ASSERT_EQ(reps->DatasetCount(), 7);
  EXPECT_EQ(reps->DatasetAt(0)->dsName, "locus_1");
  EXPECT_EQ(reps->DatasetAt(6)->dsName, "locus_7");
  for (int k = 0; k < 7; ++k) {
    const TDataSeq& rep = *reps->DatasetAt(k);
    EXPECT_EQ(rep.Count(), 3);
    EXPECT_FALSE(rep.mutHolders.empty());
    EXPECT_EQ(rep.AlignmentLength(true), 11);
  }
  EXPECT_EQ(f.svc.progress.statuses.back(), "Bootstrapping dataset locus");
  EXPECT_EQ(f.svc.progress.steps, 7);

  // A region: the replicates are drawn from its columns alone.
  ASSERT_TRUE(BootstrapDseq(*f.ds, 20, 4, 8, reps, 0, 0, rng, f.svc));
  for (int k = 0; k < 20; ++k) {
    const TDataSeq& rep = *reps->DatasetAt(k);
    EXPECT_EQ(rep.AlignmentLength(true), 5);
    for (int r = 1; r <= 3; ++r)
      EXPECT_EQ(rep.SeqAt(r)->letters.find_first_of("CT"), std::string::npos)
          << rep.SeqAt(r)->letters;
  }

  f.svc.progress.cancelAfterSteps = 3;
  EXPECT_FALSE(BootstrapDseq(*f.ds, 10, 1, 11, reps, 0, 0, rng, f.svc));
  EXPECT_LT(reps->DatasetCount(), 10);
}

TEST(RunNJ, ReportsTreesPerGroupAndPutsTheOutgroupInTheTree) {
  // The outgroup differs from every other row at three sites where they all agree.
  ScanFixture f({"AAAAAAAAAA", "GAAAAAAAAA", "AGAAAAAAAA", "AAGAAAAAAA", "AAAAAAACCC"});
  f.ds->dsName = "locus";
  const int north = f.AddGroup("north");
  f.Assign(1, north);
  f.Assign(2, north);
  f.Assign(3, north);
  f.Assign(4, north);
  f.Assign(5, kOutgroupKey);
  InitAnalysisSelection(f.proj);
  const auto dir = std::filesystem::temp_directory_path() / "nodrix_runnj_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  FrameOptions fo;
  fo.tableFileName = (dir / "out.csv").string();
  NJTreeOptions nj;
  nj.geneTree = true;
  const NJRunOutput r = RunNJ(f.proj, fo, nj, f.svc, 1);
  ASSERT_TRUE(r.output.error.empty()) << r.output.error;
  EXPECT_EQ(r.output.reportCaption, kNJReportCaption);
  ASSERT_EQ(r.trees.size(), 2u);
  EXPECT_EQ(r.trees[0].name, "locus");
  EXPECT_EQ(r.trees[1].name, "locus_north");
  EXPECT_EQ(TreeInReport(r.output.report, 1), r.trees[0].text);
  EXPECT_EQ(TreeInReport(r.output.report, 2), r.trees[1].text);
  // Distances to the outgroup count its own differences (0.3 and 0.4 before correction), so
  // its edge is the longest one.
  const double og = LeafLength(r.trees[0].text, "s5");
  EXPECT_GT(og, 0.25);
  EXPECT_GT(og, LeafLength(r.trees[0].text, "s1"));
  EXPECT_NE(r.output.report.find("Jukes and Cantor distances"), std::string::npos);
  // Only the whole dataset goes to the gene-tree file without "Output for separate
  // populations"; its name follows the table file's.
  EXPECT_EQ(Slurp(dir / "out.csv.tree"), "locus\t" + r.trees[0].text + "\r\n");
  EXPECT_EQ(r.output.notices.back(), "Phylogenies for individual datasets were appended to file " +
                                         (dir / "out.csv").string() + ".tree");
  std::filesystem::remove_all(dir);
}

TEST(RunNJ, BootstrapSupportLabelsTheInnerEdges) {
  ScanFixture f(TwoClades());
  f.ds->dsName = "clades";
  InitAnalysisSelection(f.proj);
  FrameOptions fo;
  fo.doBootstrap = true;
  fo.bsReplicates = 50;
  const NJRunOutput r = RunNJ(f.proj, fo, NJTreeOptions{}, f.svc, 11);
  ASSERT_EQ(r.trees.size(), 1u);
  EXPECT_NE(r.output.report.find("Bootstrap: 50 replicates"), std::string::npos);
  TTree t;
  ASSERT_TRUE(t.ReadBrackets(r.trees[0].text));
  // The inner edge splitting {s1, s2} from {s3, s4, s5} rests on twelve sites: every
  // replicate keeps it.
  std::vector<std::string> leaves;
  for (const auto& node : t.nodes)
    if (!node->isInternal) leaves.push_back(node->name);
  bool found = false;
  for (const auto& node : t.nodes) {
    if (!node->isInternal || node->Parent() == nullptr) continue;
    std::vector<bool> marks(leaves.size(), false);
    t.LeavesBelow(node.get(), leaves, marks);
    std::set<std::string> below;
    for (std::size_t k = 0; k < leaves.size(); ++k)
      if (marks[k]) below.insert(leaves[k]);
    if (below == std::set<std::string>{"s1", "s2"} ||
        below == std::set<std::string>{"s3", "s4", "s5"}) {
      EXPECT_DOUBLE_EQ(node->support, 100);  // read back as the label written
      found = true;
    }
  }
  EXPECT_TRUE(found) << r.trees[0].text;
  // Without replicates no label is written.
  FrameOptions plain;
  const NJRunOutput none = RunNJ(f.proj, plain, NJTreeOptions{}, f.svc, 11);
  TTree u;
  ASSERT_TRUE(u.ReadBrackets(none.trees[0].text));
  for (const auto& node : u.nodes) EXPECT_EQ(node->support, -1);
}

TEST(TTreeLeavesFromDataset, OneLeafPerMaskedSequenceStandingForIt) {
  ScanFixture f({"AC", "AG", "AT", "AA"});
  TTree t;
  t.NewNode("old", 0, 0);
  const std::vector<bool> mask{true, false, true};  // row 4 lies beyond the mask
  t.LeavesFromDataset(*f.ds, &mask);
  ASSERT_EQ(t.Count(), 2);
  EXPECT_EQ(t.At(0)->name, "s1");
  EXPECT_EQ(t.At(1)->seq, f.ds->SeqAt(3));
  EXPECT_FALSE(t.At(1)->isInternal);
  t.LeavesFromDataset(*f.ds);
  EXPECT_EQ(t.LeafCount(), 4);
}
