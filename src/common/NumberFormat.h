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
// Appends exactly what FormatFixed gives, at a fraction of its cost: files of millions of
// values (the pairwise LD output) are written with it.
void AppendFixed(std::string& out, double value, int decimals);

// Text padded with blanks on the left (right-aligned) to at least width characters.
std::string PadLeft(std::string_view text, int width);
// Text fitted to exactly width characters: cut to its first width, or padded with blanks on
// the right (left-aligned) or on the left (right-aligned).
std::string FitText(std::string_view text, int width, bool rightAligned = false);
// FormatFixed padded on the left to at least width characters (Pascal's x:width:decimals).
std::string FixedWidth(double value, int width, int decimals);

// Shortest text that reads back as the same double; integers without a decimal point.
std::string FormatReal(double value);

// A whole decimal real ("12", "-3.5", "1e3"); nullopt when the text is empty or anything is
// left over. No locale: the decimal mark is always '.'.
std::optional<double> ParseReal(std::string_view text);
