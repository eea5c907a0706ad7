// SPDX-License-Identifier: GPL-3.0-or-later
// --out-dir: the analysis commands' files named without a folder land in the output folder and
// nowhere else, a name given with a folder is kept, and the notices name the files in full.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CliRun.h"

namespace {

// Six sequences with SNPs at columns 2, 4 (s1..s3) and 9 (s1, s4).
std::string SmallFasta() {
  std::string text;
  for (int r = 1; r <= 6; ++r) {
    std::string s = "AAAAAAAAAAAA";
    if (r <= 3) s[1] = s[3] = 'T';
    if (r == 1 || r == 4) s[8] = 'G';
    text += ">s" + std::to_string(r) + "\n" + s + "\n";
  }
  return text;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(Nodrix3CliOutDir, AnalysisFilesGoToTheOutputFolderOnly) {
  const TestFolder dir("cli_out_dir");
  const std::string fasta = dir.Write("s.fas", SmallFasta());
  const std::string run = dir.File("run"), out = dir.File("out"), kept = dir.File("kept");
  for (const std::string& d : {run, out, kept}) std::filesystem::create_directory(d);

  const CliRun polym =
      Cli("polymorphism " + fasta + " --text rep.txt --table tab.csv --pop-table --windows w.csv " +
              "--window-size 4 --out-dir " + out,
          dir, run);
  EXPECT_EQ(polym.status, 0) << polym.err;
  for (const char* name : {"rep.txt", "tab.csv", "tab_groups.csv", "w.csv"})
    EXPECT_TRUE(std::filesystem::exists(out + "/" + name)) << name;
  EXPECT_TRUE(Contains(polym.err, "Textual output was saved to file " + out + "/rep.txt"))
      << polym.err;

  const CliRun ld = Cli("ld " + fasta + " --pairs all --pair-file pairs.csv --out-dir " + out, dir, run);
  EXPECT_EQ(ld.status, 0) << ld.err;
  EXPECT_TRUE(std::filesystem::exists(out + "/pairs.csv"));

  const CliRun nj = Cli("nj " + fasta + " --gene-tree --report nj.txt --out-dir " + out, dir, run);
  EXPECT_EQ(nj.status, 0) << nj.err;
  EXPECT_TRUE(std::filesystem::exists(out + "/output.csv.tree"));
  EXPECT_TRUE(std::filesystem::exists(out + "/nj.txt"));

  // Without --out-dir: the current folder; a name with a folder of its own is kept.
  const CliRun here =
      Cli("polymorphism " + fasta + " --text here.txt --table " + kept + "/tab.csv", dir, run);
  EXPECT_EQ(here.status, 0) << here.err;
  EXPECT_TRUE(std::filesystem::exists(run + "/here.txt"));
  EXPECT_TRUE(std::filesystem::exists(kept + "/tab.csv"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(run), {}), 1);

  EXPECT_EQ(Cli("polymorphism " + fasta + " --out-dir " + dir.File("missing"), dir, run).status, 2);
}
