// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli reading assemblies, BLAST results and SNP files by their --from names, with the
// reader options of the SNP table and the BLAST queries.
#include <gtest/gtest.h>

#include "CliRun.h"

namespace {
std::string Data(const std::string& name) {
  return std::string(NODRIX_TEST_DATA) + "/" + name;
}
bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}
}  // namespace

TEST(Nodrix3Cli, ReadsAssembliesBlastResultsAndSnpFiles) {
  TestFolder dir("cli_results");
  CliRun r = Cli("info " + Data("contig1.ace"), dir);
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Contains(r.out, "format: 25 Contig assembly (*.ace)"));
  EXPECT_TRUE(Contains(r.out, ": contig1.ace, 18 sequences"));

  r = Cli("info --blast-query " + Data("blastn_hits_query.fa") + " " + Data("blastn_hits.xml"),
          dir);
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Contains(r.out, "datasets: 2"));
  EXPECT_TRUE(Contains(r.out, "    query_one first query\t300\n"));  // the full-length query

  const std::string ref = dir.Write("ref.fa", ">r\n" + std::string(40, 'A') + "\n");
  const std::string csv = dir.Write("snps.csv", "acc,pos,wt,mut\nx,12,A,G\ny,20,A,T\n");
  r =
      Cli("info --from snp-table --headers --snp-name-col 1 --snp-pos-col 2 --snp-wt-col 3 "
          "--snp-col 4 --snp-offset 2 --snp-reference " +
              ref + " " + csv,
          dir);
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Contains(r.out, "    ref.fa[10-18]\t9\n"));
  EXPECT_TRUE(Contains(r.out, "    y\t9\n"));

  const std::string sdi = dir.Write("s1.sdi", "chr1\t10\t0\tC\tT\t.\t7\t1.5\n");
  r = Cli("info --from sdi " + sdi, dir);
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Contains(r.out, "    s1_chr1\t1\n"));
  EXPECT_TRUE(Contains(r.out, "individuals: 2"));
  EXPECT_EQ(Cli("info --from sdi --snp-col 0 " + sdi, dir).status, 2);
}
