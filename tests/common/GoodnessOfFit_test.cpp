// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/GoodnessOfFit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "common/NumberFormat.h"

TEST(ChiSquareUpperTail, MatchesTheFivePercentCriticalValuesOfTheTables) {
  // Critical values for P = 0.05 from standard chi-square tables.
  const struct {
    int df;
    double x;
  } table[] = {{1, 3.841459}, {2, 5.991465},  {3, 7.814728},
               {4, 9.487729}, {5, 11.070498}, {10, 18.307038}};
  for (const auto& row : table) {
    SCOPED_TRACE(row.df);
    EXPECT_NEAR(ChiSquareUpperTail(row.x, row.df), 0.05, 1e-6);
  }
  EXPECT_NEAR(ChiSquareUpperTail(6.634897, 1), 0.01, 1e-6);
  EXPECT_NEAR(ChiSquareUpperTail(2.0, 2), std::exp(-1.0), 1e-12);  // df 2 is exp(-x/2)
  EXPECT_EQ(ChiSquareUpperTail(0.0, 3), 1.0);
  EXPECT_TRUE(std::isnan(ChiSquareUpperTail(1.0, 0)));
}

TEST(GTestGoodnessOfFit, EightyAndTenAgainstThreeToOne) {
  // By hand: E = 67.5 and 22.5, G = 2 (80 ln(80/67.5) + 10 ln(10/22.5)) = 10.96524,
  // P = erfc(sqrt(G/2)) = 0.000928 for one degree of freedom.
  const std::vector<double> observed{80, 10}, proportions{0.75, 0.25};
  const auto r = GTestGoodnessOfFit(observed, proportions);
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->df, 1);
  EXPECT_EQ(FormatFixed(r->g, 5), "10.96524");
  EXPECT_EQ(FormatFixed(r->p, 5), "0.00093");
}

TEST(GTestGoodnessOfFit, ZeroCountsAddNothingAndBadInputGivesNone) {
  // One empty class: G = 2 * 10 ln(10 / 5) = 13.86294 with df 1.
  const std::vector<double> observed{10, 0}, half{0.5, 0.5};
  EXPECT_NEAR(GTestGoodnessOfFit(observed, half)->g, 20 * std::log(2.0), 1e-12);
  const std::vector<double> one{5}, oneP{1.0}, zero{0, 0}, neg{-1, 3}, badSum{0.5, 0.6};
  EXPECT_FALSE(GTestGoodnessOfFit(one, oneP).has_value());
  EXPECT_FALSE(GTestGoodnessOfFit(zero, half).has_value());
  EXPECT_FALSE(GTestGoodnessOfFit(neg, half).has_value());
  EXPECT_FALSE(GTestGoodnessOfFit(observed, badSum).has_value());
}

TEST(GTestGoodnessOfFit, PerfectFitHasGZeroAndPOne) {
  const std::vector<double> observed{30, 60, 10}, proportions{0.3, 0.6, 0.1};
  const auto r = GTestGoodnessOfFit(observed, proportions);
  ASSERT_TRUE(r.has_value());
  EXPECT_NEAR(r->g, 0.0, 1e-12);
  EXPECT_EQ(r->df, 2);
  EXPECT_NEAR(r->p, 1.0, 1e-12);
}
