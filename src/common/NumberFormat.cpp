// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdint>
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

void AppendFixed(std::string& out, double value, int decimals) {
  static constexpr double kScale[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};
  if (decimals >= 0 && decimals <= 6 && std::isfinite(value)) {
    // The scaled value is within a relative 2^-53 of the exact one (powers of ten up to 10^6
    // are exact), so unless its fraction lies that close to a half, rounding it rounds the
    // exact value the same way; near a half the exact conversion decides (ties to even).
    const double magnitude = std::fabs(value * kScale[decimals]);
    if (magnitude < 1e15) {
      const double whole = std::floor(magnitude);
      const double fraction = magnitude - whole;  // exact: whole and magnitude are close
      if (std::fabs(fraction - 0.5) > magnitude * 0x1p-50 + 0x1p-60) {
        const auto rounded = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
        char buf[32];
        char* const end = buf + sizeof buf;
        char* p = end;
        std::uint64_t digits = rounded;
        for (int k = 0; k < decimals; ++k, digits /= 10)
          *--p = static_cast<char>('0' + digits % 10);
        if (decimals > 0) *--p = '.';
        do {
          *--p = static_cast<char>('0' + digits % 10);
          digits /= 10;
        } while (digits > 0);
        // "-0.000" reads as a sign the value does not have.
        if (value < 0 && rounded != 0) out += '-';
        out.append(p, end);
        return;
      }
    }
  }
  out += FormatFixed(value, decimals);
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

std::string PadLeft(std::string_view text, int width) {
  std::string out;
  if (static_cast<int>(text.size()) < width)
    out.assign(static_cast<std::size_t>(width) - text.size(), ' ');
  out += text;
  return out;
}

std::string FitText(std::string_view text, int width, bool rightAligned) {
  if (width < 0) width = 0;
  if (static_cast<int>(text.size()) >= width)
    return std::string(text.substr(0, static_cast<std::size_t>(width)));
  const std::string pad(static_cast<std::size_t>(width) - text.size(), ' ');
  return rightAligned ? pad + std::string(text) : std::string(text) + pad;
}

std::string FixedWidth(double value, int width, int decimals) {
  return PadLeft(FormatFixed(value, decimals), width);
}
