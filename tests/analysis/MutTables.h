// SPDX-License-Identifier: GPL-3.0-or-later
// Mutation tables written as carrier rows, for the neutrality and LD tests.
#pragma once
#include <string>
#include <vector>

#include "analysis/MutHold.h"

struct MutSpec {
  int position;
  std::string carriers;  // one character per sequence, '1' = carries the mutation
  bool oriented = false;
  bool external = false;  // isSingleton of a divergence table
  bool excluded = false;
};

inline tmutholder TableOf(const std::vector<MutSpec>& specs, int sequences) {
  tmutholder t;
  t.sampleMask.Resize(sequences);
  for (int k = 0; k < sequences; ++k) t.sampleMask.Set(k);
  for (const MutSpec& s : specs) {
    tmutation m;
    m.Resize(sequences);
    for (int k = 0; k < sequences && k < static_cast<int>(s.carriers.size()); ++k)
      if (s.carriers[static_cast<std::size_t>(k)] == '1') m.Set(k);
    m.position = s.position;
    m.carrierCount = m.Count();
    m.outgroupIndex = s.oriented ? 0 : -1;
    m.isSingleton = s.external;
    m.isExcluded = s.excluded;
    t.mutations.push_back(m);
  }
  return t;
}

// Carrier rows for k carriers of n ("1110000000" for 3 of 10).
inline std::string FirstCarriers(int k, int n) {
  return std::string(static_cast<std::size_t>(k), '1') +
         std::string(static_cast<std::size_t>(n - k), '0');
}

inline samptype Everyone(int n) {
  samptype s(n);
  for (int k = 0; k < n; ++k) s.Set(k);
  return s;
}
