// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli distances and nj as a script runs them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "io/IoTestFiles.h"
#include "trees/TreeUnit.h"

namespace {

struct CliRun {
  int status = -1;
  std::string out;
};

CliRun Cli(const std::string& args) {
  const std::string command = std::string(NODRIX_BINARY_DIR) + "/nodrix3-cli " + args + " 2>&1";
  CliRun r;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return r;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
  const int raw = ::pclose(pipe);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return r;
}

// s1..s4 differ from s1 at 1, 2 and 3 sites of 10; the outgroup og at four more.
const char* kFasta =
    ">s1\nAAAAAAAAAA\n>s2\nGAAAAAAAAA\n>s3\nGGAAAAAAAA\n>s4\nGGGAAAAAAA\n>og\nAAAAAACCCC\n";

}  // namespace

TEST(Nodrix3CliTrees, DistancesPrintTheMatrixOfEveryGroupAndNoTree) {
  TestFolder dir("cli_trees_d");
  const std::string fasta = dir.Write("d.fas", kFasta);
  const std::string groups = dir.Write("g.csv", "s1,east\ns2,east\ns3,east\nog,Outgroups\n");
  const CliRun r = Cli("distances " + fasta + " --groups " + groups + " --model differences");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("Number of nucleotide differences\r\nK in lower left matrix and SD(K) in "
                       "upper right one\r\n"),
            std::string::npos);
  // Row s4: 3, 2 and 1 differences from s1, s2, s3 (names of 2 letters widen to 4 + 1).
  EXPECT_NE(r.out.find("\r\n   s4     3     2     1       "), std::string::npos) << r.out;
  // The outgroup sits in the east group's matrix with its own differences (4 from s1).
  EXPECT_NE(r.out.find("Group: east"), std::string::npos);
  EXPECT_NE(r.out.find("\r\n   og     4     5     6 "), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("Neighbor-joining tree:"), std::string::npos);
  // The outgroup takes no part in the polymorphism counts.
  EXPECT_NE(r.out.find("Number of sites segregating in the population: 3\r\n"), std::string::npos);

  EXPECT_EQ(Cli("distances").status, 2);
  EXPECT_EQ(Cli("distances " + fasta + " --model nonsense").status, 2);
  EXPECT_EQ(Cli("distances " + dir.File("missing.fas")).status, 1);
}

TEST(Nodrix3CliTrees, NjPrintsOneNewickLinePerTreeAndRepeatsWithASeed) {
  TestFolder dir("cli_trees_nj");
  const std::string fasta = dir.Write("t.fas", kFasta);
  const CliRun plain = Cli("nj " + fasta);
  ASSERT_EQ(plain.status, 0) << plain.out;
  ASSERT_FALSE(plain.out.empty());
  EXPECT_EQ(plain.out.find('\n'), plain.out.size() - 1);  // one tree, one line
  TTree tree;
  ASSERT_TRUE(tree.ReadBrackets(plain.out));
  EXPECT_EQ(tree.LeafCount(), 5);

  const std::string boot =
      "nj " + fasta + " --bootstrap 20 --seed 4 --titled --report " + dir.File("rep.txt");
  const CliRun a = Cli(boot), b = Cli(boot);
  ASSERT_EQ(a.status, 0) << a.out;
  EXPECT_EQ(a.out, b.out);
  EXPECT_EQ(a.out.rfind("t.fas (", 0), 0u);
  EXPECT_NE(TestFolder::Read(dir.File("rep.txt")).find("Bootstrap: 20 replicates"),
            std::string::npos);
  EXPECT_EQ(Cli("nj " + fasta + " --bootstrap 0").status, 2);
}

TEST(Nodrix3CliTrees, UndefinedDistancesPrintErrAndNjExitsThreeKeepingTheTreesItBuilt) {
  // s4 differs from s1 at all ten sites and from s2, s3 at nine: past the Jukes-Cantor
  // saturation (p > 3/4), so the whole dataset gets no tree; the group east (s1..s3) does.
  TestFolder dir("cli_trees_undefined");
  const std::string fasta =
      dir.Write("u.fas", ">s1\nAAAAAAAAAA\n>s2\nAAAAAAAAAC\n>s3\nAAAAAAAAGA\n>s4\nCCCCCCCCCC\n");
  const std::string groups = dir.Write("g.csv", "s1,east\ns2,east\ns3,east\n");
  const CliRun d = Cli("distances " + fasta);
  ASSERT_EQ(d.status, 0) << d.out;
  // The undefined distances and their SDs print "Err", not 0 (cells of 4 + 1 characters).
  EXPECT_NE(d.out.find("\r\n   s4   Err   Err   Err       \r\n"), std::string::npos) << d.out;
  EXPECT_NE(d.out.find("\r\n   s1       0.109 0.109   Err \r\n"), std::string::npos) << d.out;

  const CliRun nj = Cli("nj " + fasta + " --groups " + groups + " --titled");
  EXPECT_EQ(nj.status, 3) << nj.out;
  const std::size_t at = nj.out.find("u.fas_east (");
  ASSERT_NE(at, std::string::npos) << nj.out;
  TTree tree;
  ASSERT_TRUE(tree.ReadBrackets(nj.out.substr(at + 11, nj.out.find('\n', at) - at - 11)));
  EXPECT_EQ(tree.LeafCount(), 3);
  EXPECT_EQ(nj.out.find("u.fas ("), std::string::npos);
  const CliRun help = Cli("nj --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Exit status 3: some results undefined"), std::string::npos);
}
