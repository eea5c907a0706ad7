// SPDX-License-Identifier: GPL-3.0-or-later
// Rounding and number formatting shared by reports and files.
#pragma once
#include <optional>
#include <string>
#include <string_view>

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
long long RoundHalfEven(double value);
int RoundHalfEvenInt(double value);

// Fixed-point text with the given number of decimals ("0.333" for 1/3 with 3), no locale.
// Not-a-number gives "NA"; infinities give "inf" or "-inf".
std::string FormatFixed(double value, int decimals);

// Shortest text that reads back as the same double; integers without a decimal point.
std::string FormatReal(double value);

// A whole decimal real ("12", "-3.5", "1e3"); nullopt when the text is empty or anything is
// left over. No locale: the decimal mark is always '.'.
std::optional<double> ParseReal(std::string_view text);
