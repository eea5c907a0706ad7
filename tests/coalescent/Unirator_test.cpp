// SPDX-License-Identifier: GPL-3.0-or-later
#include "coalescent/Unirator.h"

#include <gtest/gtest.h>

#include "coalescent/Moments.h"

TEST(UniratorUniform, StaysInsideTheOpenIntervalAndAZeroDifferenceGivesAHalf) {
  Unirator uni;
  uni.InitLags(1802, 9373);
  Moments m;
  for (int i = 0; i < 200000; ++i) {
    const double u = uni.Uniform();
    ASSERT_GT(u, 0.0);
    ASSERT_LT(u, 1.0);
    m.Add(u);
  }
  EXPECT_NEAR(m.Mean(), 0.5, kSigmas * std::sqrt(1.0 / 12 / m.Count()));

  uni.warmingUp = true;
  uni.lagTable[uni.lagI] = uni.lagTable[uni.lagJ] = 0.375;
  EXPECT_EQ(uni.Uniform(), 0.5);
}

// The product of uniforms stops at 255 and underflows past a mean of about 745; the draw must
// follow the Poisson law at any mean (mean and variance both equal to it).
TEST(PoissonCount, MeanAndVarianceEqualTheMeanAtSmallAndLargeMeans) {
  Unirator uni;
  uni.InitLags(77, 12345);
  for (double mean : {0.3, 6.0, 300.0, 1000.0}) {
    SCOPED_TRACE(mean);
    Moments m;
    for (int i = 0; i < 20000; ++i) m.Add(static_cast<double>(PoissonCount(uni, mean)));
    EXPECT_NEAR(m.Mean(), mean, kSigmas * std::sqrt(mean / m.Count()));
    // Var of the sample variance of a Poisson sample: (mean + 2 mean^2) / N.
    EXPECT_NEAR(m.Variance(), mean, kSigmas * std::sqrt((mean + 2 * mean * mean) / m.Count()));
  }
  EXPECT_EQ(PoissonCount(uni, 0.0), 0);
  EXPECT_EQ(PoissonCount(uni, -2.0), 0);
}
