// SPDX-License-Identifier: GPL-3.0-or-later
// Pairwise alignment: the linear-space global alignment with affine gaps, the anchored
// alignment by exact 14-letter matches, and the left-end anchoring of reads.
#pragma once
#include <string>
#include <string_view>
#include <vector>

struct IProgress;

// Gap costs of the global alignment: a gap of k letters inside costs kGapOpen + kGapExtend * k,
// at either end of either string only kGapExtend * k.
constexpr float kGapOpen = 3.0f;
constexpr float kGapExtend = 0.3f;

// Score of letter a of the first string against letter b of the second. Not symmetric: an
// "N" of the first string scores 0 against a base, an "n" 10; see the table in the source.
float PairScore(char a, char b);

// The alignment as a displacement list, left to right: 0 = the next letters of both strings
// face each other; k > 0 = the next k letters of the second string face gaps; k < 0 = the next
// -k letters of the first string face gaps.
struct PairAlignment {
  std::vector<int> displacement;
  float score = 0;      // the optimal score
  double distance = 0;  // 1 - identity: shared letters over the shorter string's letters
};

// Aligns a and b globally in linear space (Myers and Miller). With progress, `title` is shown
// in the status line, refreshed at most every 100 ms, and pending events run meanwhile. Either
// string empty: distance 0 and an empty list.
PairAlignment GlobalAlign(std::string_view a, std::string_view b, const std::string& title = {},
                          IProgress* progress = nullptr);

// Both strings with the gaps of the list laid in ('-').
std::pair<std::string, std::string> ApplyDisplacement(std::string_view a, std::string_view b,
                                                      const std::vector<int>& displacement);

// Slides b against a (and a against b) by exact 14-letter matches within 500 letters ahead,
// inserting '-' runs into both in place. With progress, the bar runs over the letters without
// processing events.
void AnchoredAlign(std::string& a, std::string& b, IProgress* progress = nullptr);

// Where the left end of probe lies in target (1-based), 0 when it is not found: the probe's
// quarters must be found in order close together.
int LeftEndPosition(std::string_view probe, std::string_view target);
