// SPDX-License-Identifier: GPL-3.0-or-later
// G-test and chi-square tail.
#include "common/GoodnessOfFit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

double ChiSquareUpperTail(double x, int df) {
  if (df < 1) return std::numeric_limits<double>::quiet_NaN();
  if (!(x > 0)) return 1.0;
  const double half = x / 2;
  // Whole degrees of freedom: the tail is a finite sum, even df a Poisson sum, odd df erfc
  // plus a series; both are exact up to rounding.
  if (df % 2 == 0) {
    double term = std::exp(-half);
    double sum = term;
    for (int k = 1; k < df / 2; ++k) {
      term *= half / k;
      sum += term;
    }
    return std::min(1.0, sum);
  }
  double sum = std::erfc(std::sqrt(half));
  double term = std::sqrt(x) * std::exp(-half) / std::sqrt(2 * std::numbers::pi) * 2;  // k = 1
  for (int k = 1; k <= (df - 1) / 2; ++k) {
    if (k > 1) term *= x / (2 * k - 1);
    sum += term;
  }
  return std::min(1.0, sum);
}

std::optional<GTestResult> GTestGoodnessOfFit(std::span<const double> observed,
                                              std::span<const double> expectedProportions) {
  if (observed.size() < 2 || observed.size() != expectedProportions.size()) return std::nullopt;
  double total = 0, proportionSum = 0;
  for (std::size_t i = 0; i < observed.size(); ++i) {
    if (!(observed[i] >= 0) || !(expectedProportions[i] > 0)) return std::nullopt;
    total += observed[i];
    proportionSum += expectedProportions[i];
  }
  if (!(total > 0) || std::abs(proportionSum - 1) > 1e-9) return std::nullopt;
  double sum = 0;
  for (std::size_t i = 0; i < observed.size(); ++i) {
    if (observed[i] > 0)
      sum += observed[i] * std::log(observed[i] / (total * expectedProportions[i]));
  }
  GTestResult result;
  result.g = 2 * sum;
  result.df = static_cast<int>(observed.size()) - 1;
  result.p = ChiSquareUpperTail(result.g, result.df);
  return result;
}
