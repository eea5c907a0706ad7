// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli overlaps, consensus, assemble and haplotypes.
#include <gtest/gtest.h>

#include <string>

#include "io/CliRun.h"

namespace {
const std::string T = "GGATCACAGTCTACACTGCTCACTCCAACCCCGGCCCCTGAGTCCGAGGAGAGGGTGCTT";
}  // namespace

TEST(Nodrix3CliContig, OverlapsAndConsensusWriteTheirProjects) {
  TestFolder dir("cli_contig");
  const std::string in =
      dir.Write("reads.fasta", ">a\n" + T.substr(0, 40) + "\n>b\n" + T.substr(20) + "\n");
  CliRun r = Cli("overlaps " + in + " " + dir.File("laid.fasta"), dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(
      TestFolder::Read(dir.File("laid.fasta")),
      ">a\r\n" + T.substr(0, 40) + "\r\n>b\r\n" + std::string(20, '-') + T.substr(20) + "\r\n");
  r = Cli("consensus " + dir.File("laid.fasta") + " " + dir.File("cons.fasta"), dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(TestFolder::Read(dir.File("cons.fasta")).find(">Consensus\r\n" + T + "\r\n"),
            std::string::npos);
  r = Cli("consensus --new-project " + in + " " + dir.File("x.fasta"), dir);
  EXPECT_EQ(r.status, 2);
  r = Cli("assemble " + in + " " + dir.File("asm.fasta") + " --phrap " + dir.File("none"), dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Failed to run phrap"), std::string::npos) << r.err;
}
