// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli convert from ms output into the population-genetics formats.
#include <gtest/gtest.h>

#include <string>

#include "CliRun.h"

TEST(Nodrix3Cli, ConvertReadsScrmOutputAndWritesPopGenFormats) {
  TestFolder dir("cli_popgen");
  const std::string ms = std::string(NODRIX_TEST_DATA) + "/ms/scrm_I2.ms";
  // Detected without --from; the first run is the current dataset.
  CliRun r = Cli("convert --ms-header " + ms + " " + dir.File("o.ms"), dir);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string out = TestFolder::Read(dir.File("o.ms"));
  EXPECT_TRUE(out.starts_with("ms 5 1 -t ")) << out;
  EXPECT_NE(out.find("\r\nsegsites: 18\r\n"), std::string::npos);
  // Positions stay in (0, 1); each row carries 1 for the minority letter.
  EXPECT_NE(out.find("\r\npositions: 0.10951095 "), std::string::npos);
  EXPECT_NE(out.find("\r\n000000000000000001\r\n000000000000000001\r\n010000000000000000\r\n"),
            std::string::npos);

  r = Cli("convert --from ms --format bayescan " + ms + " " + dir.File("b.txt"), dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(
      TestFolder::Read(dir.File("b.txt")).starts_with("[loci]=2\r\n\r\n[populations]=2\r\n"));

  r = Cli("convert --format hka --tajima-d " + ms + " " + dir.File("h.hka"), dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(TestFolder::Read(dir.File("h.hka")).find("\r\n2\r\nGroup_1 Group_2\r\nRun_1 1 "),
            std::string::npos);
}
