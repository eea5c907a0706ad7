// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli in a pipeline: "-" as IN reads standard input and as OUT writes standard output,
// named pipes are read and written in place, and a name given with --format is kept as it is.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "CliRun.h"
#include "IoTestFiles.h"

namespace {

const std::string kFasta = ">a\nACGTACGT\n>b\nACGTTCGT\n";

TEST(Nodrix3CliStreams, DashReadsStandardInputAndWritesStandardOutput) {
  TestFolder dir("cli_streams");
  const std::string in = dir.Write("in.fas", kFasta);
  ASSERT_EQ(Cli("convert " + in + " " + dir.File("ref.fasta"), dir).status, 0);
  ASSERT_EQ(Cli("convert " + in + " " + dir.File("ref.nex"), dir).status, 0);
  ASSERT_EQ(Cli("convert " + dir.File("ref.nex") + " " + dir.File("nex.fasta"), dir).status, 0);

  // Through a pipe in and out: only the file's text reaches standard output.
  CliRun r = Cli("convert - - --format fasta < " + dir.File("ref.nex"), dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, TestFolder::Read(dir.File("nex.fasta")));
  r = Cli("info - < " + in, dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("2 sequences, alignment length 8"), std::string::npos) << r.out;

  // A name without extension is kept when the format is named.
  r = Cli("convert " + in + " " + dir.File("plain") + " --format fasta", dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(TestFolder::Read(dir.File("plain")), TestFolder::Read(dir.File("ref.fasta")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("plain.fasta")));

  // Binary formats and formats with companion files do not go to standard output; "-" alone
  // names no format.
  for (const char* bad : {"- --format project", "-", "- --format structure"}) {
    SCOPED_TRACE(bad);
    r = Cli("convert " + in + " " + bad, dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.empty());
  }
}

TEST(Nodrix3CliStreams, NamedPipesAreReadAndWrittenInPlace) {
  TestFolder dir("cli_pipes");
  const std::string in = dir.Write("in.fas", kFasta);
  ASSERT_EQ(Cli("convert " + in + " " + dir.File("ref.fasta"), dir).status, 0);
  const std::string pipeIn = dir.File("in.pipe"), pipeOut = dir.File("out.pipe");
  ASSERT_EQ(::mkfifo(pipeIn.c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(pipeOut.c_str(), 0600), 0);
  // The program runs in the background while the shell feeds one pipe and drains the other
  // (bounded in time, should the program never open them); the status is the program's.
  const CliRun r = Cli("convert " + pipeIn + " " + pipeOut + " --format fasta & p=$!; " +
                           "timeout 30 cat " + in + " > " + pipeIn + " & timeout 30 cat " +
                           pipeOut + " > " + dir.File("copy") + "; wait $p",
                       dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(TestFolder::Read(dir.File("copy")), TestFolder::Read(dir.File("ref.fasta")));
  struct stat st {};
  ASSERT_EQ(::stat(pipeOut.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));  // not replaced by a plain file
}

}  // namespace
