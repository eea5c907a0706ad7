// SPDX-License-Identifier: GPL-3.0-or-later
// Codons that differ at more than one position: first the nearest single changes are tried,
// then a bounded random search for the cheapest path through all codons.
#include <algorithm>

#include "analysis/CodonInternal.h"
#include "common/PlatformRandom.h"

namespace codon_detail {

namespace {

struct Inferred {
  int row = 0;  // index of the source codon
  int position = 0;
  char ancestral = 0, derived = 0;
  int mutationClass = 0;
};

std::string Applied(std::string codon, int p, char letter) {
  codon[static_cast<std::size_t>(p - 1)] = letter;
  return codon;
}

int IndexOf(const std::vector<std::string>& list, const std::string& codon) {
  auto it = std::find(list.begin(), list.end(), codon);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

bool AllReached(const std::vector<std::string>& distinct, const std::vector<Inferred>& inferred) {
  std::vector<bool> reached(distinct.size(), false);
  reached[0] = true;
  for (const Inferred& m : inferred) {
    const int k = IndexOf(
        distinct, Applied(distinct[static_cast<std::size_t>(m.row)], m.position, m.derived));
    if (k >= 0) reached[static_cast<std::size_t>(k)] = true;
  }
  if (std::all_of(reached.begin(), reached.end(), [](bool r) { return r; })) return true;
  for (std::size_t x = 0; x < inferred.size(); ++x) {
    for (std::size_t y = x + 1; y < inferred.size(); ++y) {
      if (inferred[x].row != inferred[y].row) continue;
      std::string c = distinct[static_cast<std::size_t>(inferred[x].row)];
      c = Applied(Applied(c, inferred[x].position, inferred[x].derived), inferred[y].position,
                  inferred[y].derived);
      const int k = IndexOf(distinct, c);
      if (k >= 0) reached[static_cast<std::size_t>(k)] = true;
    }
  }
  return std::all_of(reached.begin(), reached.end(), [](bool r) { return r; });
}

struct Trial {
  std::vector<Inferred> mutations;  // row unused; ancestral/derived from the source codon
  int cost = 0;
  bool complete = false;
};

// One trial: grows the reached list from c0 by random single changes. The generator is the
// run's own, seeded once; every redraw is bounded, so a trial always ends.
Trial RunTrial(const std::vector<std::string>& distinct, const std::vector<int>& variable,
               const TGenCode& code, PlatformRandom& rng) {
  Trial t;
  std::vector<std::string> reached{distinct[0]};
  auto complete = [&] {
    return std::all_of(distinct.begin(), distinct.end(),
                       [&](const std::string& d) { return IndexOf(reached, d) >= 0; });
  };
  static constexpr char kBases[] = {'A', 'T', 'C', 'G'};
  for (int step = 0; step < 99 && !complete(); ++step) {
    const std::string s =
        reached[static_cast<std::size_t>(rng.NextInt(static_cast<int>(reached.size())))];
    int p = 1;
    for (int draw = 0; draw < 100; ++draw) {
      p = 1 + rng.NextInt(3);
      if (std::find(variable.begin(), variable.end(), p) != variable.end()) break;
    }
    const char old = s[static_cast<std::size_t>(p - 1)];
    char others[4];
    int n = 0;
    for (char b : kBases)
      if (b != old) others[n++] = b;
    const char base = others[rng.NextInt(n)];
    const std::string candidate = Applied(s, p, base);
    if (Translate(code, candidate) == "*") continue;
    const bool known = IndexOf(distinct, candidate) >= 0;
    if (!known && rng.NextInt(10) != 0) continue;
    if (IndexOf(reached, candidate) >= 0) continue;
    reached.push_back(candidate);
    const bool same = Translate(code, s) == Translate(code, candidate);
    t.mutations.push_back({0, p, old, base, same ? kMutClassSynonymous : kMutClassReplacement});
    t.cost += same ? 5 : 10;
  }
  t.complete = complete();
  return t;
}

}  // namespace

bool ResolveMultipleDifferences(const UnitMaker& maker, const std::vector<std::string>& distinct,
                                const TGenCode& code, PlatformRandom& rng) {
  const std::size_t k = distinct.size();
  // Nearest codons only: in each row of the distance table the smallest distance is kept.
  std::vector<std::vector<int>> d(k, std::vector<int>(k, -1));
  std::vector<Step> steps;
  for (std::size_t i = 0; i < k; ++i) {
    int least = 100;
    for (std::size_t j = i + 1; j < k; ++j) {
      d[i][j] = StepsToward(code, distinct[i], distinct[j], steps);
      if (d[i][j] >= 0) least = std::min(least, d[i][j]);
    }
    for (std::size_t j = i + 1; j < k; ++j)
      if (d[i][j] != least) d[i][j] = -1;
  }
  // Every row is admitted in order until all codons are reached.
  std::vector<Inferred> inferred;
  for (std::size_t i = 0; i < k && !AllReached(distinct, inferred); ++i) {
    for (std::size_t j = i + 1; j < k; ++j) {
      if (d[i][j] < 0) continue;
      StepsToward(code, distinct[i], distinct[j], steps);
      for (const Step& s : steps)
        inferred.push_back(
            {static_cast<int>(i), s.position, s.oldLetter, s.newLetter, s.stepClass});
    }
  }
  tmutholder& table = maker.table;
  const std::size_t firstOfUnit = table.mutations.size();
  const int column =
      std::min({maker.unit.columns[0], maker.unit.columns[1], maker.unit.columns[2]});
  if (AllReached(distinct, inferred)) {
    bool added = false;
    for (const Inferred& m : inferred) {
      tmutation t = maker.Make(m.position, m.ancestral, m.derived, m.mutationClass);
      // Without the outgroup fields: single changes of a codon are not oriented.
      t.outgroupIndex = -1;
      t.outgroupLetter = 'N';
      t.outgroupCodon = "NNN";
      if (t.carrierCount == 0) continue;
      added = AddUnique(table, firstOfUnit, std::move(t)) || added;
    }
    return added;
  }

  std::vector<int> variable;
  for (int p = 1; p <= 3; ++p)
    for (const std::string& c : distinct)
      if (c.size() == 3 &&
          c[static_cast<std::size_t>(p - 1)] != distinct[0][static_cast<std::size_t>(p - 1)]) {
        variable.push_back(p);
        break;
      }
  Trial best;
  bool found = false;
  if (distinct[0].size() == 3) {
    for (int trial = 0; trial < 100; ++trial) {
      Trial t = RunTrial(distinct, variable, code, rng);
      if (t.complete && (!found || t.cost < best.cost)) {
        best = std::move(t);
        found = true;
      }
    }
  }
  int syn = 0, rep = 0;
  bool added = false;
  if (found) {
    for (const Inferred& m : best.mutations) {
      (m.mutationClass == kMutClassSynonymous ? syn : rep) += 1;
      tmutation t = maker.Make(m.position, m.ancestral, m.derived, m.mutationClass);
      if (t.carrierCount == 0) continue;
      added = AddUnique(table, firstOfUnit, std::move(t)) || added;
    }
  }
  table.message += "\r\nWarning: multiple mutations in the codon starting at position " +
                   std::to_string(column) +
                   "\r\nPlease doublecheck manually: " + std::to_string(syn) + " synonymous and " +
                   std::to_string(rep) + " replacement mutations were inferred for this codon.\r\n";
  return added;
}

}  // namespace codon_detail
