// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the built nodrix3-cli as a script would: exit status, stdout, stderr.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliRun.h"

namespace {

std::string Data(const std::string& name) {
  return std::string(NODRIX_TEST_DATA) + "/" + name;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(Nodrix3Cli, InfoListsDatasetsSequencesGroupsAndIndividuals) {
  TestFolder dir("cli_info");
  ASSERT_EQ(Cli("make-example " + dir.File("ex.psf"), dir).status, 0);
  const CliRun r = Cli("info " + dir.File("ex.psf") + " " + Data("f002"), dir);
  EXPECT_EQ(r.status, 0) << r.err;
  // The example: 7 samples of 60 letters, 3 in each population and 1 outgroup.
  EXPECT_TRUE(Contains(r.out, "format: 2 Nodrix data file (*.df/*.psf)"));
  EXPECT_TRUE(Contains(r.out, "dataset 1: Adh_example, 7 sequences, alignment length 60"));
  EXPECT_TRUE(Contains(r.out, "    A1\t60\n"));
  EXPECT_TRUE(Contains(r.out, "groups: 3"));
  EXPECT_TRUE(Contains(r.out, "PopA\t3 individuals"));
  EXPECT_TRUE(Contains(r.out, "PopB\t3 individuals"));
  EXPECT_TRUE(Contains(r.out, "1 individuals (outgroup)"));
  EXPECT_TRUE(Contains(r.out, "individuals: 7"));
  // f002 holds three FASTA records.
  EXPECT_TRUE(Contains(r.out, "format: 6 Fasta+GFF+Qual (*.*)"));
  EXPECT_TRUE(Contains(r.out, ": f002, 3 sequences"));
}

TEST(Nodrix3Cli, FailuresGiveANonZeroStatusAndAMessageOnStderr) {
  TestFolder dir("cli_fail");
  CliRun r = Cli("info " + dir.File("missing.fas"), dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(
      Contains(r.err, "cannot open '" + dir.File("missing.fas") + "': No such file or directory"))
      << r.err;
  EXPECT_TRUE(r.out.empty());
  // Simulation output cut off before its positions: nothing to read.
  r = Cli("info " + dir.Write("sim.txt", "ms 4 1 -t 5\n12345\n\n//\nsegsites: 1\n"), dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "no sequences could be read")) << r.err;
  r = Cli("convert " + Data("f002") + " " + dir.File("x.unknown"), dir);
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Contains(r.err, "--format"));
  EXPECT_EQ(Cli("frobnicate", dir).status, 2);
  r = Cli("--help", dir);
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Contains(r.out, "convert IN OUT"));
}

// Letters and names written by hand; the FASTA writer puts each record on two CR LF lines.
TEST(Nodrix3Cli, ConvertKeepsNamesAndLettersThroughEveryFormat) {
  TestFolder dir("cli_convert");
  const std::string in =
      dir.Write("in.fas", ">alpha\nACGTACGTAA\n>beta\nACGTTCGTAA\n>gamma\nAC-TACGTNN\n");
  const char* chain[] = {"b.nex", "c.phy", "d.psf", "e.fasta"};
  std::string previous = in;
  for (const char* next : chain) {
    SCOPED_TRACE(next);
    const CliRun r = Cli("convert " + previous + " " + dir.File(next), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    previous = dir.File(next);
  }
  EXPECT_EQ(TestFolder::Read(dir.File("e.fasta")),
            ">alpha\r\nACGTACGTAA\r\n>beta\r\nACGTTCGTAA\r\n>gamma\r\nAC-TACGTNN\r\n");
}

TEST(Nodrix3Cli, SampleFilesSurviveTheRoundTrip) {
  TestFolder dir("cli_samples");
  for (const char* sample : {"f002", "sequential.phy", "codonposset.nex", "test1.mega"}) {
    SCOPED_TRACE(sample);
    // --force: every sample is converted into the same files.
    ASSERT_EQ(Cli("convert --force " + Data(sample) + " " + dir.File("a.fasta"), dir).status, 0);
    // PHYLIP keeps 10 characters of a name (what PHYLIP itself reads), so it is left out of
    // this chain; tests/io/FormatRoundTrip_test.cpp checks what it keeps.
    const std::string steps[][2] = {{"a.fasta", "b.nex"}, {"b.nex", "d.psf"}, {"d.psf", "e.fasta"}};
    for (const auto& step : steps)
      ASSERT_EQ(Cli("convert --force " + dir.File(step[0]) + " " + dir.File(step[1]), dir).status,
                0)
          << step[1] << ": " << TestFolder::Read(dir.File("stderr.txt"));
    // Names with blanks come back whole: NEXUS quotes them.
    const std::string first = TestFolder::Read(dir.File("a.fasta"));
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(TestFolder::Read(dir.File("e.fasta")), first);
  }
}

TEST(Nodrix3Cli, DatasetChoiceIsChecked) {
  TestFolder dir("cli_dataset");
  ASSERT_EQ(Cli("make-example " + dir.File("ex.psf"), dir).status, 0);
  CliRun r =
      Cli("convert " + dir.File("ex.psf") + " " + dir.File("out.fasta") + " --dataset 2", dir);
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Contains(r.err, "has 1 datasets, not 2"));
  // With one dataset there is nothing to split: the chosen name is written.
  r = Cli("convert " + dir.File("ex.psf") + " " + dir.File("out.fasta") + " --all-datasets", dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(TestFolder::Read(dir.File("out.fasta")).substr(0, 11), ">A1\r\nGCAATG");
}

// Every command, including those added later, answers --help, an unknown option and a
// missing value the same way.
TEST(Nodrix3Cli, EveryCommandParsesItsOptionsAlike) {
  TestFolder dir("cli_options");
  const CliRun top = Cli("--help", dir);
  ASSERT_EQ(top.status, 0);
  std::vector<std::string> commands;
  std::size_t at = top.out.find("Commands:\n");
  ASSERT_NE(at, std::string::npos);
  for (at = top.out.find('\n', at) + 1; top.out.compare(at, 2, "  ") == 0;
       at = top.out.find('\n', at) + 1)
    commands.push_back(top.out.substr(at + 2, top.out.find(' ', at + 2) - at - 2));
  EXPECT_GE(commands.size(), 9u);
  for (const std::string& c : commands) {
    SCOPED_TRACE(c);
    CliRun r = Cli(c + " --help", dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("Usage: nodrix3-cli " + c, 0), 0u) << r.out;
    EXPECT_TRUE(Contains(r.out, "--help")) << r.out;
    r = Cli(c + " --no-such-option x", dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(Contains(r.err, "Unknown option 'no-such-option'")) << r.err;
    EXPECT_TRUE(Contains(r.err, "Usage: nodrix3-cli " + c)) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
  CliRun r = Cli("convert a.fas b.fas --format", dir);
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Contains(r.err, "Missing value after '--format'")) << r.err;
  r = Cli("--version", dir);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("nodrix3-cli ", 0), 0u) << r.out;
}
