// SPDX-License-Identifier: GPL-3.0-or-later
// GenBank feature locations and qualifier values, shared by the reader and its tests.
#pragma once
#include <string>
#include <string_view>
#include <vector>

struct LocationPart {
  int start = 0;
  int end = 0;
  bool reverse = false;
  bool operator==(const LocationPart&) const = default;
};

// The parts of a location in reading order: complement() reverses the strand and the order of
// what it holds, join() and order() list parts. Only ranges a..b (with '<' and '>' marks, a <= b)
// on this record are parts; a single base, a site between bases (12^13), a choice (12.13) or a
// range on another record (X1.1:1..50) is skipped without touching its neighbours. Empty when
// nothing is left.
[[nodiscard]] std::vector<LocationPart> ParseLocation(std::string_view text);

// The value of a qualifier's text after its '=': the text between its double quotes (a doubled
// quote inside stands for one), trimmed; an unquoted value trimmed.
[[nodiscard]] std::string QualifierValue(std::string_view raw);
