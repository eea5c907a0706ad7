// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "common/PlatformRandom.h"

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.5000001), 3);
  EXPECT_EQ(RoundHalfEvenInt(1e300), 2147483647);
  EXPECT_EQ(RoundHalfEvenInt(std::nan("")), -2147483647 - 1);
}

TEST(FormatFixed, WritesTheRequestedDecimalsWithoutLocale) {
  EXPECT_EQ(FormatFixed(1.0 / 3, 3), "0.333");
  EXPECT_EQ(FormatFixed(2.0, 0), "2");
  EXPECT_EQ(FormatFixed(-0.0001, 2), "0.00");
  EXPECT_EQ(FormatFixed(-1.25, 1), "-1.2");  // the binary value is exactly -1.25: tie to even
  EXPECT_EQ(FormatFixed(std::nan(""), 3), "NA");
  EXPECT_EQ(FormatReal(0.1), "0.1");
}

TEST(AppendFixed, GivesExactlyWhatFormatFixedGives) {
  std::vector<double> values = {0.0,    -0.0,    0.03125, -0.03125,     0.00005,  2.5,
                                1e-300, -1e-300, 0.99995, 1e15,         -4e14,    1e20,
                                12.5,   0.125,   -0.125,  std::nan(""), INFINITY, -INFINITY};
  // Halves of the last decimal, exact in binary (ties go to the even digit) and not.
  for (int k = 0; k < 2000; ++k) values.push_back((2 * k + 1) / 2048.0);
  for (int k = 0; k < 2000; ++k) values.push_back(-(2 * k + 1) * 0.00005);
  PlatformRandom rng(3);
  for (int k = 0; k < 20000; ++k) {
    const double u = (rng.Next() / 4294967296.0 - 0.5) * std::pow(10.0, rng.NextInt(16) - 8);
    values.push_back(u);
  }
  for (int decimals = 0; decimals <= 7; ++decimals)
    for (const double v : values) {
      std::string out = "x";
      AppendFixed(out, v, decimals);
      ASSERT_EQ(out, "x" + FormatFixed(v, decimals)) << v << " with " << decimals;
    }
}

TEST(PlatformRandom, FollowsTheLinearCongruence) {
  PlatformRandom rng(1);
  EXPECT_EQ(rng.Next(), 134775814u);
  EXPECT_EQ(rng.Next(), static_cast<std::uint32_t>(134775814ull * 134775813ull + 1));
  PlatformRandom a(42), b(42);
  for (int i = 0; i < 100; ++i) {
    const int x = a.NextInt(7);
    EXPECT_EQ(x, b.NextInt(7));
    EXPECT_GE(x, 0);
    EXPECT_LT(x, 7);
  }
  // Random(m) is the high half of state * m.
  PlatformRandom c(0);
  const std::uint32_t s = 1;  // 0 * 134775813 + 1
  EXPECT_EQ(c.NextInt(1000), static_cast<int>((std::uint64_t{s} * 1000) >> 32));
  EXPECT_EQ(PlatformRandom(5).NextInt(0), 0);
}
