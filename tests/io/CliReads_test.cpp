// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli with mapping files: info and convert through --from, coverage and map.
#include <gtest/gtest.h>

#include <string>

#include "CliRun.h"

namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(Nodrix3CliReads, InfoAndConvertReachTheReadReaders) {
  TestFolder dir("cli_reads");
  CliRun r = Cli("info --from sam " + std::string(NODRIX_TEST_DATA) + "/ex1.sam", dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "dataset 1: chr1, 1464 sequences"));
  EXPECT_TRUE(Contains(r.out, "dataset 2: chr2, 1806 sequences"));
  const std::string eland =
      dir.Write("e.txt", "M\t1\t1\t1\t5\t6\t0\t1\tACGT\tB\t\tctg\t3\tF\t\t\t\t\t\t\t\tY\n");
  r = Cli("info --from eland " + eland, dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "dataset 1: ctg, 1 sequences, alignment length 6"));
  // FASTQ: converted beside the input, then read as FASTA with its qualities.
  const std::string fq = dir.Write("s.fq", "@scaffold1\nACGT\n+\nIIII\n@scaffold2\nGG\n+\n!!\n");
  r = Cli("convert --from fastq " + fq + " " + dir.File("out.fasta"), dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(TestFolder::Read(dir.File("out.fasta")), ">scaffold1\r\nACGT\r\n>scaffold2\r\nGG\r\n");
  EXPECT_EQ(TestFolder::Read(dir.File("s.qual")),
            ">scaffold1\r\n40 40 40 40 \r\n>scaffold2\r\n0 0 \r\n");
}

TEST(Nodrix3CliReads, CoverageAndMapWorkOnAProject) {
  TestFolder dir("cli_cov");
  // ACGTACGTAC followed by 200 letters with no A: the read below fits only at position 1.
  const std::string ref =
      dir.Write("ref.fasta", ">ref1\nACGTACGTAC" + std::string(200, 'C') + "\n");
  const std::string sam = dir.Write("r.sam", "r1\t0\tref1\t2\t60\t4M\t*\t0\t0\tCGTA\t*\n");
  CliRun r = Cli("coverage " + ref + " " + sam + " --per-position", dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "wrote " + sam + ".FRcovrg.csv"));
  EXPECT_TRUE(Contains(TestFolder::Read(sam + ".FRcovrg.csv"), ",ref1,Entire_seq,ref1,1,210,F,1,"));
  EXPECT_TRUE(TestFolder::Read(sam + ".seqCovrg.txt")
                  .starts_with(">ref1 SqLength= 210 SqCoverage= 1\r\n0 1 1 1 1 0 "));

  const std::string reads = dir.Write("reads.txt", "ACGTACGTACCCCCCCCCCC\n");
  r = Cli("map " + ref + " " + reads + " " + dir.File("mapped.fasta"), dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.err, "Mapped 1 sequences"));
  EXPECT_TRUE(
      Contains(TestFolder::Read(dir.File("mapped.fasta")), ">ref1_read_1\r\nACGTACGTACCCCCCCCCCC"));
}
