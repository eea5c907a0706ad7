// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli convert through the multi-locus and table readers and writers.
#include <gtest/gtest.h>

#include <string>

#include "CliRun.h"

namespace {

std::string Data(const std::string& name) {
  return std::string(NODRIX_TEST_DATA) + "/" + name;
}

}  // namespace

TEST(Nodrix3Cli, ConvertReachesTheMultiLocusAndTableFormats) {
  TestFolder dir("cli_multilocus");
  // The Mauve sample's first block: 240 columns, so its rows end at 1 + 240.
  CliRun r = Cli(
      "convert --from xmfa --coordinates " + Data("simple_short.xmfa") + " " + dir.File("o.xmfa"),
      dir);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string xmfa = TestFolder::Read(dir.File("o.xmfa"));
  EXPECT_EQ(xmfa.substr(0, 65),
            "# dataset1 1_simple_short.xmfa\r\n>1:0-0 + a.fa:1-241 +\r\n----------");
  EXPECT_NE(xmfa.find(">3:9429-9476 - c.fa:100001-100047 +\r\n"), std::string::npos);

  // Fields 2..3 of lines 1..2; the reader's own FASTA file is not written.
  const std::string tab = dir.Write("t.tab", "x\tA\tC\tq\ny\tG\tT\tq\nz\tT\tT\tq\n");
  r = Cli("convert --from columns --lines 1-2 --columns 2-3 " + tab + " " + dir.File("t.fasta"),
          dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(TestFolder::Read(dir.File("t.fasta")), ">col2\r\nAG\r\n>col3\r\nCT\r\n");
  EXPECT_EQ(
      Cli("convert --from columns --columns 3-2 " + tab + " " + dir.File("u.fasta"), dir).status,
      2);

  const std::string names = dir.Write("n.txt", "Adh\nTpi\n");
  r = Cli("convert --from dataset-names --format dataset-names " + names + " " + dir.File("m.txt"),
          dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(TestFolder::Read(dir.File("m.txt")), "Adh\r\nTpi\r\n");

  const std::string csv = dir.Write("g.csv", ",L1,L2\ni1,AC,GG\ni2,AT,\n");
  r = Cli("convert --from multigenic-csv --dataset 2 " + csv + " " + dir.File("l2.csv"), dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(TestFolder::Read(dir.File("l2.csv")), "pos:\r\ni1,G,G\r\n");
}
