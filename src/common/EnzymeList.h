// SPDX-License-Identifier: GPL-3.0-or-later
// The restriction enzyme list: records of RENZYM.txt ("name/site/..." lines, "'" marks the cut).
#pragma once
#include <string>
#include <string_view>
#include <vector>

struct IMessages;

struct renzyme {
  std::string name;
  std::string site;       // as written in the file, without the cut mark
  int cutOffset = 0;      // 1-based position of "'" in the site as written; 0 when it has none
  bool selected = false;  // switched by the restriction enzyme window
};

// One record per line holding two "/": the name before the first, the site between the first
// and the second; the rest of the line is ignored. Other lines are skipped, and so are lines
// whose site is empty: an empty site would match at every position of every sequence.
std::vector<renzyme> ParseEnzymeList(std::string_view text);

// Reads `folder`/RENZYM.txt. A missing or unreadable file is reported to `messages` and gives
// an empty list.
std::vector<renzyme> LoadEnzymeList(const std::string& folder, IMessages& messages);
