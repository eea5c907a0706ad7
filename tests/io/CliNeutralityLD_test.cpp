// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli neutrality and ld as a script runs them: options reach the analysis, bad
// options are usage errors, and the split of an assembly lands beside the pairwise file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "CliRun.h"
#include "IoTestFiles.h"

namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Eight sequences: SNPs at 2, 4, 6 carried by s1..s4 and at 14, 16, 18 by s1, s2, s5, s6;
// columns 8..12 are N everywhere.
std::string SplitFasta() {
  std::string text;
  for (int r = 1; r <= 8; ++r) {
    std::string s(20, 'A');
    for (int c = 8; c <= 12; ++c) s[static_cast<std::size_t>(c - 1)] = 'N';
    if (r <= 4)
      for (int c : {2, 4, 6}) s[static_cast<std::size_t>(c - 1)] = 'T';
    if (r == 1 || r == 2 || r == 5 || r == 6)
      for (int c : {14, 16, 18}) s[static_cast<std::size_t>(c - 1)] = 'G';
    text += ">s" + std::to_string(r) + "\n" + s + "\n";
  }
  return text;
}

TEST(Nodrix3CliNeutrality, ChosenTestsOnlyAndUsageErrors) {
  TestFolder dir("cli_neutrality");
  const std::string fasta = dir.Write("n.fas", SplitFasta());
  CliRun r = Cli("neutrality " + fasta + " --tests dstar,wallb", dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "Neutrality tests & stats:\r\nFu and Li D* = ")) << r.out;
  EXPECT_TRUE(Contains(r.out, "Wall B = ")) << r.out;
  EXPECT_FALSE(Contains(r.out, "Tajima D = ")) << r.out;
  for (const char* bad : {"--tests tajima,nonsense", "--window-stats none", "--pairs all"}) {
    SCOPED_TRACE(bad);
    r = Cli("neutrality " + fasta + " " + bad, dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_TRUE(Contains(r.err, "Usage: nodrix3-cli neutrality FILE")) << r.err;
  }
  EXPECT_EQ(Cli("neutrality", dir).status, 2);
}

TEST(Nodrix3CliLD, SplitPiecesLandBesideThePairwiseFile) {
  TestFolder dir("cli_ld_split");
  const std::string fasta = dir.Write("asm.fas", SplitFasta());
  std::filesystem::create_directories(dir.File("out"));
  const std::string pairs = dir.File("out/pairs.csv");
  const CliRun r = Cli("ld " + fasta + " --pairs all --pair-file " + pairs +
                           " --asm-window 2 --asm-step 1 --split 1",
                       dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "LD summary stats:\r\n")) << r.out;
  EXPECT_TRUE(Contains(r.err, "Pairwise LD values were saved to file " + pairs)) << r.err;
  EXPECT_TRUE(Contains(TestFolder::Read(pairs), "asm.fas, 2, 4, 4, 4, "))
      << TestFolder::Read(pairs);
  EXPECT_EQ(TestFolder::Read(dir.File("out/avrgLDsplit.csv")), "asm.fas,1,8\r\nasm.fas,13,20\r\n");
  EXPECT_TRUE(Contains(TestFolder::Read(dir.File("out/asm.fas_1-8.fasta")), ">s1\r\nATATATAN\r\n"));
  EXPECT_TRUE(std::filesystem::exists(dir.File("out/asm.fas_13-20.fasta")));
  EXPECT_TRUE(std::filesystem::exists(dir.File("out/AsmTest_pairs.csv")));
}

TEST(Nodrix3CliLD, OptionsOfTheDialogOnly) {
  TestFolder dir("cli_ld_usage");
  const std::string fasta = dir.Write("a.fas", SplitFasta());
  // The LD dialog has no sliding windows of its own.
  for (const char* bad : {"--window-size 10", "--pairs window:0", "--format wide", "--values D,E",
                          "--split x", "--avg-r2 0"}) {
    SCOPED_TRACE(bad);
    const CliRun r = Cli("ld " + fasta + " " + bad, dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(Contains(r.err, "Usage: nodrix3-cli ld FILE")) << r.err;
  }
}

}  // namespace
