// SPDX-License-Identifier: GPL-3.0-or-later
// Sites of a mutation table: the mutations of one column taken together. A column with three or
// four letters holds one mutation per letter after the first, yet two sequences differ there at
// most once, so every count of pairwise differences goes through the sites here: per column the
// differing pairs are (n^2 - sum of c_v^2) / 2 over the counts c_v of its states (Nei and Li
// 1979; Tajima 1983). A sequence's state at a site is the set of the site's mutations it carries;
// the scan gives each letter its own mutation, so states are letters (a missing or ambiguous
// letter, and a gap that is no variant, share the state of the first variant).
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "analysis/MutHold.h"

// The mutations of one column that pass both filters, in table order.
using SiteRecords = std::span<const tmutation* const>;

// Calls fn(SiteRecords) once for every site of the span from..to (0, 0: the whole table) that
// holds a mutation passing both filters, in position order. A site is a column; a second
// mutation to a letter already seen at the column starts a site of its own, since only a
// bootstrap copy that drew the column again (or a table without letters) holds one.
template <typename Fn>
void ForEachSite(const tmutholder& t, int from, int to, int siteFlags, int mutationFlags, Fn&& fn) {
  std::size_t first = 0, last = 0;
  t.Span(from, to, first, last);
  std::vector<const tmutation*> site;
  int position = 0;
  auto flush = [&] {
    if (!site.empty()) fn(SiteRecords(site.data(), site.size()));
    site.clear();
  };
  for (std::size_t i = first; i < last; ++i) {
    const tmutation& m = t.mutations[i];
    if (!PassesSiteFilter(m, siteFlags) || !PassesMutationFilter(m, mutationFlags)) continue;
    bool repeated = m.position != position;
    for (std::size_t k = 0; k < site.size() && !repeated; ++k)
      repeated = site[k]->derivedLetter == m.derivedLetter;
    if (repeated) flush();
    position = m.position;
    site.push_back(&m);
  }
  flush();
}

// Sequences i and j (bit indices) hold different states at the site.
bool DifferAt(SiteRecords site, int i, int j);
// The letter sequence i holds at the site: the derived letter of the first mutation it
// carries, else the site's first variant.
char LetterAt(SiteRecords site, int i);

// Pairs of the mask that differ at the site; n is the mask's count.
double DifferingPairs(SiteRecords site, const samptype& mask, long long n);

// Counts of every state of the site within each of the disjoint groups: counts[g * states + s],
// sizes[g] the group's count. Returns the number of states.
int StateCounts(SiteRecords site, const std::vector<samptype>& groups,
                const std::vector<long long>& sizes, std::vector<long long>& counts);

// The state of each of the given sequences at the site, numbered 0, 1, ... in order of first
// appearance; letters (when given) gets the letter of each state. Returns the number of states.
int StatesOf(SiteRecords site, const std::vector<int>& sequences, std::vector<int>& ids,
             std::string* letters = nullptr);

// The states of a list of sequences over every site of a span, packed 64 sites a word, so the
// differences of a pair (and how many of them are transitions, for Kimura's distance) cost a few
// word operations per 64 sites. A site with two states takes one bit; a site with more takes the
// bits of its state's number and, with letters, the class of the state's letter.
class PackedStates {
 public:
  // members: the table's bit index of each row.
  PackedStates(const tmutholder& t, const std::vector<int>& members, int from, int to,
               int siteFlags, int mutationFlags, bool withLetters);
  struct PairCount {
    int differences = 0;
    int transitions = 0;  // A/G or C/T pairs among the differences
  };
  [[nodiscard]] int Differences(int u, int v) const;
  [[nodiscard]] PairCount Compare(int u, int v) const;

 private:
  // Sets the bits of a row's state at the site-th site of three or more states.
  void Place(int row, std::size_t site, int state, char letter);
  [[nodiscard]] const std::uint64_t* Row(int u) const {
    return bits_.data() + static_cast<std::size_t>(u) * stride_;
  }
  std::size_t twoWords_ = 0;    // words of the two-state sites
  std::size_t multiWords_ = 0;  // words of the sites with three or more states
  int statePlanes_ = 0;         // bits of the largest state number
  bool withLetters_ = false;
  std::size_t stride_ = 0;                 // words per row
  std::vector<std::uint64_t> bits_;        // rows one after another
  std::vector<std::uint64_t> transition_;  // per two-state word: the site's letters are A/G or C/T
};
