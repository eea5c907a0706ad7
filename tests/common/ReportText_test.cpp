// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ReportText.h"

#include <gtest/gtest.h>

TEST(TableToCsv, EveryCellEndsWithACommaAndEveryRowWithCrLf) {
  EXPECT_EQ(TableToCsv({{"a", "b"}, {"c", "d"}}), "a,b,\r\nc,d,\r\n");
  EXPECT_EQ(TableToCsv({{"", "Pi"}, {"locus1", ""}}), ",Pi,\r\nlocus1,,\r\n");
  EXPECT_EQ(TableToCsv({}), "");
}

TEST(TableToCsv, QuotesOnlyCellsThatWouldOtherwiseSplit) {
  EXPECT_EQ(TableToCsv({{"1,5", "say \"x\"", "two\nlines", "plain"}}),
            "\"1,5\",\"say \"\"x\"\"\",\"two\nlines\",plain,\r\n");
}

TEST(TableStatusText, NamesRowHeaderColumnHeaderAndValue) {
  const TableCells t{{"", "Pi", "Theta"}, {"locus1", "0.01", "0.02"}, {"locus2", "0.03"}};
  EXPECT_EQ(TableStatusText(t, 1, 2), "locus1 : Theta = 0.02");
  EXPECT_EQ(TableStatusText(t, 2, 1), "locus2 : Pi = 0.03");
  EXPECT_EQ(TableStatusText(t, 0, 0), " :  = ");
  EXPECT_EQ(TableStatusText(t, 2, 2), "");  // short row: no such cell
  EXPECT_EQ(TableStatusText(t, -1, 0), "");
  EXPECT_EQ(TableStatusText(t, 3, 0), "");
}

TEST(WithCrLf, WritesEveryKindOfLineEndAsCrLf) {
  EXPECT_EQ(WithCrLf("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(WithCrLf("\n\n"), "\r\n\r\n");
  EXPECT_EQ(WithCrLf("\r\r\n"), "\r\n\r\n");
}
