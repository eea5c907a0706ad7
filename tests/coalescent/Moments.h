// SPDX-License-Identifier: GPL-3.0-or-later
// Sample moments with their standard errors, for statistical checks.
#pragma once
#include <cmath>
#include <vector>

class Moments {
 public:
  void Add(double v) { values_.push_back(v); }
  [[nodiscard]] double Count() const { return static_cast<double>(values_.size()); }
  [[nodiscard]] double Mean() const {
    double s = 0;
    for (double v : values_) s += v;
    return s / Count();
  }
  [[nodiscard]] double Central(int power) const {
    const double m = Mean();
    double s = 0;
    for (double v : values_) s += std::pow(v - m, power);
    return s / Count();
  }
  [[nodiscard]] double Variance() const { return Central(2) * Count() / (Count() - 1); }
  [[nodiscard]] double MeanSE() const { return std::sqrt(Variance() / Count()); }
  // Standard error of the sample variance from the sample's own fourth moment.
  [[nodiscard]] double VarianceSE() const {
    const double m2 = Central(2);
    return std::sqrt((Central(4) - m2 * m2) / Count());
  }

 private:
  std::vector<double> values_;
};

// Statistical checks allow about four standard errors.
constexpr double kSigmas = 4.0;
