// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli simulate and merge-stats: every file in --out-dir, slices of one study joined
// into the files of one run, and the Snakemake workflow doing the same on two cores.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CliRun.h"

namespace {

const std::string kSmall = " --number 6 --length 200 --segsites 5 --statistics S,pi,D,fuli ";

}  // namespace

TEST(Nodrix3CliSimulate, SlicesMergeIntoOneRun) {
  const TestFolder dir("cli_simulate");
  const std::string out = dir.File("out");
  std::filesystem::create_directory(out);
  const CliRun whole = Cli("simulate --seed 7 --runs 9" + kSmall +
                               "--stats all.txt --sequences seq.txt --out-dir " + out,
                           dir);
  ASSERT_EQ(whole.status, 0) << whole.err;
  for (const char* f : {"all.txt", "all~0.txt", "seq.txt"})
    EXPECT_TRUE(std::filesystem::exists(out + "/" + f)) << f;
  EXPECT_EQ(whole.out.rfind("Seed: 7\r\nRuns: 9;", 0), 0U) << whole.out;

  ASSERT_EQ(
      Cli("simulate --seed 7 --runs 5" + kSmall + "--stats a.txt --out-dir " + out, dir).status, 0);
  ASSERT_EQ(
      Cli("simulate --seed 7 --first 5 --runs 4" + kSmall + "--stats b.txt --out-dir " + out, dir)
          .status,
      0);
  const CliRun merged = Cli(
      "merge-stats " + out + "/a.txt " + out + "/b.txt --stats m.txt " + "--out-dir " + out, dir);
  ASSERT_EQ(merged.status, 0) << merged.err;
  EXPECT_EQ(TestFolder::Read(out + "/m.txt"), TestFolder::Read(out + "/all.txt"));
  const auto Summary = [](const std::string& s) { return s.substr(0, s.find("See detailed")); };
  EXPECT_EQ(Summary(merged.out), Summary(whole.out));
  // Once written, the joined file is kept unless --force is given.
  const CliRun again = Cli("merge-stats " + out + "/a.txt --stats m.txt --out-dir " + out, dir);
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("exists; --force overwrites it"), std::string::npos) << again.err;
  EXPECT_EQ(TestFolder::Read(out + "/m.txt"), TestFolder::Read(out + "/all.txt"));

  const CliRun bad = Cli("simulate --rec-rate 2 --out-dir " + out, dir);
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("The value of pernucleotide recombination rate must be between 0 and 1"),
            std::string::npos);
}

TEST(Nodrix3CliSimulate, SnakemakeWorkflowOnTwoCores) {
  int status = -1;
  ShellOutput("snakemake --version >/dev/null 2>&1", &status);
  if (status != 0) GTEST_SKIP() << "snakemake is not installed";
  const TestFolder dir("cli_snakemake");
  const std::string cli = std::string(NODRIX_BINARY_DIR) + "/nodrix3-cli";
  const std::string snakefile = std::string(NODRIX_TEST_DATA) + "/../../workflows/Snakefile";
  ShellOutput("cd '" + dir.File("") + "' && snakemake -s '" + snakefile +
                  "' --cores 2 --quiet --config cli='" + cli +
                  "' seed=7 runs=9 slices=3 out=res options='" + kSmall + "' >/dev/null 2>&1",
              &status);
  ASSERT_EQ(status, 0);
  const CliRun whole = Cli(
      "simulate --seed 7 --runs 9" + kSmall + "--stats statout.txt --out-dir " + dir.File(""), dir);
  ASSERT_EQ(whole.status, 0);
  EXPECT_EQ(TestFolder::Read(dir.File("res/statout.txt")),
            TestFolder::Read(dir.File("statout.txt")));
}
