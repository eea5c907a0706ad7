// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/RecordingServices.h"
#include "trees/NJAnalysis.h"

namespace {

DistanceMatrix FourLeaves() {
  DistanceMatrix m = DistanceMatrix::Zero(4);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < i; ++j) m.Set(i, j, {1, 0});
  return m;
}

std::string Slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace

TEST(NJTreeOptions, DefaultsAreThoseOfTheDialog) {
  const NJTreeOptions o;
  EXPECT_EQ(o.model, DistanceModel::JukesCantor);
  EXPECT_TRUE(o.showSD);
  EXPECT_FALSE(o.geneTree);
  EXPECT_FALSE(o.popOut);
  EXPECT_EQ(GeneTreeNotice(o),
            "Phylogenies for individual datasets were appended to file output.tree");
}

TEST(NJAnalyseGroup, TreesGoToTheListAndGroupTreesToTheFileOnlyWithPopOut) {
  const auto dir = std::filesystem::temp_directory_path() / "nodrix_nj_group_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  NJTreeOptions o;
  o.geneTree = true;
  o.tableFileName = (dir / "genes").string();
  RecordingMessages messages;
  NJTreeRun run;
  const std::vector<std::string> names{"A", "B", "C", "D"};
  ASSERT_TRUE(NJAnalyseGroup(names, FourLeaves(), "locus1", "", true, o, run, messages));
  ASSERT_TRUE(NJAnalyseGroup(names, FourLeaves(), "locus1", "north", false, o, run, messages));
  o.popOut = true;
  ASSERT_TRUE(NJAnalyseGroup(names, FourLeaves(), "locus1", "south", false, o, run, messages));
  const std::string tree = "((A:0.500,B:0.500):0.000,C:0.500,D:0.500);";
  EXPECT_EQ(run.trees, (std::vector<NamedTree>{
                           {"locus1", tree}, {"locus1_north", tree}, {"locus1_south", tree}}));
  EXPECT_EQ(Slurp(dir / "genes.tree"), "locus1\t" + tree + "\r\nlocus1\t" + tree + "\r\n");
  EXPECT_NE(run.report.find("Neighbor-joining tree:\r\n" + tree), std::string::npos);
  std::filesystem::remove_all(dir);
}

TEST(NJAnalyseGroup, AnUnwritableGeneTreeFileStopsTheRun) {
  NJTreeOptions o;
  o.geneTree = true;
  o.tableFileName = "/nonexistent-folder/x/genes";
  RecordingMessages messages;
  NJTreeRun run;
  EXPECT_FALSE(
      NJAnalyseGroup({"A", "B", "C", "D"}, FourLeaves(), "locus1", "", true, o, run, messages));
  EXPECT_TRUE(run.geneTreeFailed);
  EXPECT_TRUE(run.trees.empty());
  ASSERT_EQ(messages.errors.size(), 1u);
  EXPECT_EQ(messages.errors[0].rfind(
                "Can not append the tree of locus1 to /nonexistent-folder/x/genes.tree", 0),
            0u);
}

TEST(NJAnalyseGroup, FewerThanTwoSequencesAddNothing) {
  NJTreeRun run;
  RecordingMessages messages;
  EXPECT_TRUE(NJAnalyseGroup({"A"}, DistanceMatrix::Zero(1), "d", "", true, {}, run, messages));
  EXPECT_TRUE(run.report.empty());
  EXPECT_TRUE(run.trees.empty());
}
