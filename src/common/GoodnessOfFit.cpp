// SPDX-License-Identifier: GPL-3.0-or-later
// G-test and chi-square tail (ALGLIB).
#include "common/GoodnessOfFit.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <libalglib/ap.h>
#include <libalglib/specialfunctions.h>

double ChiSquareUpperTail(double x, int df) {
  if (df < 1) return std::numeric_limits<double>::quiet_NaN();
  if (!(x > 0)) return 1.0;
  // ALGLIB signals bad arguments by exceptions, which must not leave the core.
  try {
    const double p = alglib::chisquarecdistribution(static_cast<double>(df), x);
    return std::isfinite(p) ? std::clamp(p, 0.0, 1.0) : std::numeric_limits<double>::quiet_NaN();
  } catch (const alglib::ap_error&) {
    return std::numeric_limits<double>::quiet_NaN();
  }
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
