// SPDX-License-Identifier: GPL-3.0-or-later
// The G-test of goodness of fit and the chi-square upper tail it is judged by.
#pragma once
#include <optional>
#include <span>

// P(X > x) for a chi-square variable with df >= 1 degrees of freedom; 1 for x <= 0.
// From ALGLIB's chi-square distribution; NaN for df < 1.
double ChiSquareUpperTail(double x, int df);

struct GTestResult {
  double g = 0;
  double p = 0;
  int df = 0;
};

// G = 2 * sum(O * ln(O / E)) with E = N * proportion; df = categories - 1.
// None when fewer than two categories, a count is negative, a proportion is not positive,
// the proportions do not sum to 1, or all counts are 0.
std::optional<GTestResult> GTestGoodnessOfFit(std::span<const double> observed,
                                              std::span<const double> expectedProportions);
