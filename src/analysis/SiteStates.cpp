// SPDX-License-Identifier: GPL-3.0-or-later
// States of sequences at the sites of a mutation table, and pairwise differences counted once
// per site.
#include "analysis/SiteStates.h"

#include <algorithm>
#include <bit>
#include <cctype>

namespace {

// Whether no sequence carries two mutations of the site. The scan makes every mutation of a
// column stand for one letter, so this holds except where an outgroup turned a mutation round;
// the counts then take the slower way through each sequence's state.
bool CarriersDisjoint(SiteRecords site) {
  if (site.size() < 2) return true;
  const int words = site.front()->WordCount();
  for (int w = 0; w < words; ++w) {
    std::uint64_t seen = 0;
    for (const tmutation* m : site) {
      if (m->WordCount() != words) return false;
      const std::uint64_t c = m->Words()[w];
      if (seen & c) return false;
      seen |= c;
    }
  }
  return true;
}

std::vector<int> MembersOf(const samptype& mask) {
  std::vector<int> members;
  for (int k = 0; k < mask.Size(); ++k)
    if (mask.Test(k)) members.push_back(k);
  return members;
}

// Bits of the letter's class: purine (A, G), pyrimidine (C, T, U), and the second of its class
// (G, T), so two letters form a transition when they share a class and differ in the third bit.
constexpr int kPurine = 1, kPyrimidine = 2, kSecond = 4;
int LetterClass(char c) {
  switch (std::toupper(static_cast<unsigned char>(c))) {
    case 'A':
      return kPurine;
    case 'G':
      return kPurine | kSecond;
    case 'C':
      return kPyrimidine;
    case 'T':
    case 'U':
      return kPyrimidine | kSecond;
    default:
      return 0;
  }
}

int BitsFor(int states) {
  int bits = 0;
  while ((1 << bits) < states) ++bits;
  return bits;
}

}  // namespace

bool DifferAt(SiteRecords site, int i, int j) {
  for (const tmutation* m : site)
    if (m->Test(i) != m->Test(j)) return true;
  return false;
}

char LetterAt(SiteRecords site, int i) {
  for (const tmutation* m : site)
    if (m->Test(i)) return m->derivedLetter;
  return site.front()->ancestralLetter;
}

int StatesOf(SiteRecords site, const std::vector<int>& sequences, std::vector<int>& ids,
             std::string* letters) {
  const std::size_t n = sequences.size();
  ids.assign(n, 0);
  int states = n > 0 ? 1 : 0;
  std::vector<int> renumber;
  // Each mutation splits the states found so far by carrier; renumbering by first appearance
  // keeps the numbers small and in the order of the sequences.
  for (const tmutation* m : site) {
    renumber.assign(static_cast<std::size_t>(2 * states), -1);
    int next = 0;
    for (std::size_t u = 0; u < n; ++u) {
      int& r = renumber[static_cast<std::size_t>(2 * ids[u] + (m->Test(sequences[u]) ? 1 : 0))];
      if (r < 0) r = next++;
      ids[u] = r;
    }
    states = next;
  }
  if (letters != nullptr) {
    letters->assign(static_cast<std::size_t>(states), 'N');
    std::vector<bool> seen(static_cast<std::size_t>(states), false);
    for (std::size_t u = 0; u < n; ++u) {
      const auto s = static_cast<std::size_t>(ids[u]);
      if (seen[s]) continue;
      seen[s] = true;
      (*letters)[s] = LetterAt(site, sequences[u]);
    }
  }
  return states;
}

double DifferingPairs(SiteRecords site, const samptype& mask, long long n) {
  if (site.size() == 1) {
    const long long c = site.front()->CountAnd(mask);
    return static_cast<double>(c * (n - c));
  }
  long long sum = 0, squares = 0;
  if (CarriersDisjoint(site)) {
    for (const tmutation* m : site) {
      const long long c = m->CountAnd(mask);
      sum += c;
      squares += c * c;
    }
  } else {
    std::vector<int> ids;
    const int states = StatesOf(site, MembersOf(mask), ids);
    std::vector<long long> counts(static_cast<std::size_t>(states), 0);
    for (int s : ids) ++counts[static_cast<std::size_t>(s)];
    // Every state counted here, so the first variant's share below is zero.
    for (long long c : counts) {
      sum += c;
      squares += c * c;
    }
  }
  const long long rest = n - sum;  // sequences holding the first variant
  return static_cast<double>(n * n - squares - rest * rest) / 2.0;
}

int StateCounts(SiteRecords site, const std::vector<samptype>& groups,
                const std::vector<long long>& sizes, std::vector<long long>& counts) {
  const std::size_t k = groups.size();
  if (CarriersDisjoint(site)) {
    const int states = static_cast<int>(site.size()) + 1;
    counts.assign(k * static_cast<std::size_t>(states), 0);
    for (std::size_t g = 0; g < k; ++g) {
      long long* row = &counts[g * static_cast<std::size_t>(states)];
      long long carried = 0;
      for (std::size_t r = 0; r < site.size(); ++r) {
        row[r + 1] = site[r]->CountAnd(groups[g]);
        carried += row[r + 1];
      }
      row[0] = sizes[g] - carried;
    }
    return states;
  }
  std::vector<int> members, label;
  for (std::size_t g = 0; g < k; ++g)
    for (int s : MembersOf(groups[g])) {
      members.push_back(s);
      label.push_back(static_cast<int>(g));
    }
  std::vector<int> ids;
  const int states = StatesOf(site, members, ids);
  counts.assign(k * static_cast<std::size_t>(states), 0);
  for (std::size_t u = 0; u < members.size(); ++u)
    ++counts[static_cast<std::size_t>(label[u]) * static_cast<std::size_t>(states) +
             static_cast<std::size_t>(ids[u])];
  return states;
}

// ---------------- PackedStates ----------------

PackedStates::PackedStates(const tmutholder& t, const std::vector<int>& members, int from, int to,
                           int siteFlags, int mutationFlags, bool withLetters)
    : withLetters_(withLetters) {
  const int rows = static_cast<int>(members.size());
  std::vector<int> ids;
  std::string letters;
  // First pass: how many sites of each kind, and the largest number of states.
  std::size_t twoSites = 0, multiSites = 0;
  int maxStates = 2;
  ForEachSite(t, from, to, siteFlags, mutationFlags, [&](SiteRecords site) {
    if (site.size() == 1) {
      ++twoSites;
      return;
    }
    const int states = StatesOf(site, members, ids);
    if (states == 2) ++twoSites;
    if (states > 2) {
      ++multiSites;
      maxStates = std::max(maxStates, states);
    }
  });
  twoWords_ = (twoSites + 63) / 64;
  multiWords_ = (multiSites + 63) / 64;
  statePlanes_ = multiSites > 0 ? BitsFor(maxStates) : 0;
  stride_ =
      twoWords_ + multiWords_ * static_cast<std::size_t>(statePlanes_ + (withLetters ? 3 : 0));
  bits_.assign(stride_ * static_cast<std::size_t>(rows), 0);
  transition_.assign(twoWords_, 0);

  std::size_t two = 0, multi = 0;
  ForEachSite(t, from, to, siteFlags, mutationFlags, [&](SiteRecords site) {
    const tmutation& m = *site.front();
    if (site.size() == 1) {
      const std::uint64_t bit = std::uint64_t{1} << (two % 64);
      if (IsTransitionPair(m.ancestralLetter, m.derivedLetter)) transition_[two / 64] |= bit;
      for (int u = 0; u < rows; ++u)
        if (m.Test(members[static_cast<std::size_t>(u)]))
          bits_[static_cast<std::size_t>(u) * stride_ + two / 64] |= bit;
      ++two;
      return;
    }
    const int states = StatesOf(site, members, ids, &letters);
    if (states == 2) {
      const std::uint64_t bit = std::uint64_t{1} << (two % 64);
      if (IsTransitionPair(letters[0], letters[1])) transition_[two / 64] |= bit;
      for (int u = 0; u < rows; ++u)
        if (ids[static_cast<std::size_t>(u)] == 1)
          bits_[static_cast<std::size_t>(u) * stride_ + two / 64] |= bit;
      ++two;
    } else if (states > 2) {
      for (int u = 0; u < rows; ++u) {
        const int s = ids[static_cast<std::size_t>(u)];
        Place(u, multi, s, letters[static_cast<std::size_t>(s)]);
      }
      ++multi;
    }
  });
}

void PackedStates::Place(int row, std::size_t site, int state, char letter) {
  std::uint64_t* r = bits_.data() + static_cast<std::size_t>(row) * stride_ + twoWords_;
  const std::size_t word = site / 64;
  const std::uint64_t bit = std::uint64_t{1} << (site % 64);
  for (int p = 0; p < statePlanes_; ++p)
    if (state & (1 << p)) r[static_cast<std::size_t>(p) * multiWords_ + word] |= bit;
  if (!withLetters_) return;
  const int c = LetterClass(letter);
  std::uint64_t* classes = r + static_cast<std::size_t>(statePlanes_) * multiWords_;
  if (c & kPurine) classes[word] |= bit;
  if (c & kPyrimidine) classes[multiWords_ + word] |= bit;
  if (c & kSecond) classes[2 * multiWords_ + word] |= bit;
}

int PackedStates::Differences(int u, int v) const {
  const std::uint64_t* a = Row(u);
  const std::uint64_t* b = Row(v);
  int d = 0;
  for (std::size_t w = 0; w < twoWords_; ++w) d += std::popcount(a[w] ^ b[w]);
  a += twoWords_;
  b += twoWords_;
  for (std::size_t w = 0; w < multiWords_; ++w) {
    std::uint64_t x = 0;
    for (int p = 0; p < statePlanes_; ++p) {
      const std::size_t i = static_cast<std::size_t>(p) * multiWords_ + w;
      x |= a[i] ^ b[i];
    }
    d += std::popcount(x);
  }
  return d;
}

PackedStates::PairCount PackedStates::Compare(int u, int v) const {
  PairCount c;
  const std::uint64_t* a = Row(u);
  const std::uint64_t* b = Row(v);
  for (std::size_t w = 0; w < twoWords_; ++w) {
    const std::uint64_t x = a[w] ^ b[w];
    c.differences += std::popcount(x);
    c.transitions += std::popcount(x & transition_[w]);
  }
  a += twoWords_;
  b += twoWords_;
  const std::size_t planes = static_cast<std::size_t>(statePlanes_) * multiWords_;
  for (std::size_t w = 0; w < multiWords_; ++w) {
    std::uint64_t x = 0;
    for (int p = 0; p < statePlanes_; ++p) {
      const std::size_t i = static_cast<std::size_t>(p) * multiWords_ + w;
      x |= a[i] ^ b[i];
    }
    c.differences += std::popcount(x);
    if (!withLetters_) continue;
    const std::uint64_t* ca = a + planes;
    const std::uint64_t* cb = b + planes;
    const std::uint64_t sameClass = (ca[w] & cb[w]) | (ca[multiWords_ + w] & cb[multiWords_ + w]);
    c.transitions += std::popcount(sameClass & (ca[2 * multiWords_ + w] ^ cb[2 * multiWords_ + w]));
  }
  return c;
}
