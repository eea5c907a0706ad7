// SPDX-License-Identifier: GPL-3.0-or-later
// Variants of one column and the re-check of its ambiguity letters.
#include <array>
#include <string>

#include "analysis/MutUnit.h"

bool IsAmbiguityLetter(char c) {
  switch (c) {
    case 'N':
    case 'K':
    case 'R':
    case 'W':
    case 'S':
    case 'V':
    case 'Y':
    case 'M':
    case '?':
    case 'D':
    case 'B':
    case 'H':
      return true;
    default:
      return false;
  }
}

void OrderVariants(std::string& letters, std::vector<int>& counts) {
  // k - 1 passes, each placing the most frequent unplaced variant unless it already leads the
  // unplaced ones; the rest follow in order of first appearance.
  const std::size_t k = letters.size();
  std::string outLetters;
  std::vector<int> outCounts;
  std::vector<bool> placed(k, false);
  for (std::size_t pass = 0; pass + 1 < k; ++pass) {
    int best = -1, firstUnplaced = -1;
    for (std::size_t i = 0; i < k; ++i) {
      if (placed[i]) continue;
      if (firstUnplaced < 0) firstUnplaced = static_cast<int>(i);
      if (best < 0 || counts[i] > counts[static_cast<std::size_t>(best)])
        best = static_cast<int>(i);
    }
    if (best >= 0 && best != firstUnplaced) {
      placed[static_cast<std::size_t>(best)] = true;
      outLetters += letters[static_cast<std::size_t>(best)];
      outCounts.push_back(counts[static_cast<std::size_t>(best)]);
    }
  }
  for (std::size_t i = 0; i < k; ++i) {
    if (placed[i]) continue;
    outLetters += letters[i];
    outCounts.push_back(counts[i]);
  }
  letters.swap(outLetters);
  counts.swap(outCounts);
}

ColumnVariants FindVariants(std::string_view column) {
  ColumnVariants v;
  std::string seen;  // first-appearance order
  std::vector<int> counts;
  for (char c : column) {
    if (c == '!') continue;
    if (IsAmbiguityLetter(c)) {
      v.hasAmbiguity = true;
      if (v.ambiguityLetters.find(c) == std::string::npos) v.ambiguityLetters += c;
      continue;
    }
    if (c == '-') v.hasGap = true;
    const std::size_t at = seen.find(c);
    if (at == std::string::npos) {
      seen += c;
      counts.push_back(1);
    } else {
      ++counts[at];
    }
  }
  v.letters = seen;
  v.counts = counts;
  OrderVariants(v.letters, v.counts);
  return v;
}

namespace {

const char* BasesOf(char code) {
  switch (code) {
    case 'B':
      return "CGT";
    case 'D':
      return "AGT";
    case 'H':
      return "ACT";
    case 'K':
      return "GT";
    case 'M':
      return "AC";
    case 'R':
      return "AG";
    case 'S':
      return "CG";
    case 'V':
      return "ACG";
    case 'W':
      return "AT";
    case 'Y':
      return "CT";
    default:
      return nullptr;
  }
}

}  // namespace

bool AmbiguityStays(const std::string& ambiguityLetters, const std::string& variants) {
  if (ambiguityLetters.empty()) return false;
  for (char code : ambiguityLetters) {
    const char* bases = BasesOf(code);
    if (bases == nullptr) continue;
    bool all = true;
    for (const char* b = bases; *b != 0; ++b) all = all && variants.find(*b) != std::string::npos;
    if (all) return false;
  }
  return true;
}
