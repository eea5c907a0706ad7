// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli reading and writing files as users expect: no silent cut, no silent damage, no
// file replaced by surprise, questions answered and shown on request.
#include <gtest/gtest.h>

#include <string>

#include "CliRun.h"
#include "io/ProjectFile.h"
#include "support/RecordingServices.h"

namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(Nodrix3CliFiles, AFastaFileOverTheLimitIsRefusedUntilTheLimitIsRaised) {
  TestFolder dir("cli_maxseq");
  const std::string in = dir.Write("three.fas", ">r1\nA\n>r2\nC\n>r3\nG\n");
  CliRun r = Cli("info --max-seq 2 " + in, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, in + ": holds 3 sequences, more than the limit of 2 per dataset; "
                                   "raise it with --max-seq N"))
      << r.err;
  r = Cli("info --max-seq 3 " + in, dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, ": three.fas, 3 sequences"));
}

// The entry table of a project file overwritten: no dataset can be found through it, while
// the sequence records themselves are whole.
TEST(Nodrix3CliFiles, ADamagedProjectFailsAndRescueReadsItsRecords) {
  TestFolder dir("cli_damaged");
  RecordingServices svc;
  TDataProj project(svc);
  project.NewDataset();
  for (const char* name : {"s1", "s2"}) {
    auto seq = std::make_unique<TSeq>(name, "ACGTACGT");
    (void)project.CurrentDataset()->AddSeq(seq, false);
  }
  const std::string path = dir.File("p.df");
  ASSERT_TRUE(WriteProject(path, project, GridFileSettings{}));
  std::string bytes = TestFolder::Read(path);
  for (std::size_t i = 18; i < 30; ++i) bytes[i] = '\xff';
  dir.Write("p.df", bytes);

  CliRun r = Cli("convert " + path + " " + dir.File("out.fasta"), dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "the file is damaged")) << r.err;
  EXPECT_TRUE(Contains(r.err, "--rescue")) << r.err;
  EXPECT_TRUE(TestFolder::Read(dir.File("out.fasta")).empty());  // nothing written
  r = Cli("convert --rescue " + path + " " + dir.File("out.fasta"), dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(TestFolder::Read(dir.File("out.fasta")), ">s1\r\nACGTACGT\r\n>s2\r\nACGTACGT\r\n");
}

TEST(Nodrix3CliFiles, ConvertKeepsTheGivenNameAndNeverReplacesAFileUnasked) {
  TestFolder dir("cli_overwrite");
  const std::string in = dir.Write("mine.fasta", ">a first\nACGT\n");
  CliRun r = Cli("convert " + in + " " + dir.File("mine.backup") + " --format fasta", dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(TestFolder::Read(dir.File("mine.backup")), ">a first\r\nACGT\r\n");
  EXPECT_EQ(TestFolder::Read(in), ">a first\nACGT\n");

  r = Cli("convert " + in + " " + dir.File("mine.backup") + " --format fasta", dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "exists; --force overwrites it")) << r.err;
  r = Cli("convert --force " + in + " " + dir.Path() + "/./mine.fasta", dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "is the input file")) << r.err;
  EXPECT_EQ(TestFolder::Read(in), ">a first\nACGT\n");
  r = Cli("convert " + in + " " + dir.Path() + " --format fasta", dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "cannot write '" + dir.Path() + "': is a directory")) << r.err;
}

// The FASTA writer asks whether to write the count line: No unless --yes.
TEST(Nodrix3CliFiles, QuestionsAreAnsweredByYesOrNoAndShownWithVerbose) {
  TestFolder dir("cli_questions");
  const std::string in = dir.Write("in.fas", ">a\nACGT\n>b\nACG\n");
  CliRun r = Cli("convert " + in + " " + dir.File("plain.fasta"), dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.err.empty()) << r.err;
  EXPECT_EQ(TestFolder::Read(dir.File("plain.fasta")).substr(0, 3), ">a\r");
  r = Cli("convert --yes --verbose " + in + " " + dir.File("counted.fasta"), dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.err,
                       "Output sequence number & sequence length at the beginning of "
                       "FASTA file? [Yes]"))
      << r.err;
  EXPECT_EQ(TestFolder::Read(dir.File("counted.fasta")).substr(0, 5), "2 4\r\n");
  EXPECT_EQ(Cli("convert --yes --no " + in + " " + dir.File("x.fasta"), dir).status, 2);
}

TEST(Nodrix3CliFiles, InfoReadsTheFormatNamedByFrom) {
  TestFolder dir("cli_from");
  const std::string in = dir.Write("noext", "2 4\nalpha ACGT\nbeta  ACGA\n");
  CliRun r = Cli("info --from mega " + in, dir);
  EXPECT_EQ(r.status, 1);
  r = Cli("info --from phylip " + in, dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "format: 35 Phylip (*.phy)"));
  EXPECT_TRUE(Contains(r.out, "    beta\t4\n"));
}
