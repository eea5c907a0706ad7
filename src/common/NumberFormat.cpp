// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <limits>

long long RoundHalfEven(double value) {
  // nearbyint honours the current rounding mode, which the program never changes from
  // round-to-nearest-even.
  const double r = std::nearbyint(value);
  if (!(r > static_cast<double>(std::numeric_limits<long long>::min())))
    return std::numeric_limits<long long>::min();
  if (!(r < static_cast<double>(std::numeric_limits<long long>::max())))
    return std::numeric_limits<long long>::max();
  return static_cast<long long>(r);
}

int RoundHalfEvenInt(double value) {
  const long long r = RoundHalfEven(value);
  if (r > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (r < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

std::string FormatFixed(double value, int decimals) {
  if (std::isnan(value)) return "NA";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  if (decimals < 0) decimals = 0;
  char buf[400];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  std::string out(buf, res.ptr);
  // "-0.000" reads as a sign the value does not have.
  if (out.size() > 1 && out[0] == '-' && out.find_first_not_of("0.", 1) == std::string::npos)
    out.erase(0, 1);
  return out;
}

std::string FormatReal(double value) {
  if (std::isnan(value)) return "NA";
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, res.ptr);
}

std::optional<double> ParseReal(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}
