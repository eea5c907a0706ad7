// SPDX-License-Identifier: GPL-3.0-or-later
// TAXSET items: numbers, ranges with steps between numbers or names, and earlier set names.
#include "io/NexusTaxSets.h"

#include <algorithm>
#include <optional>

#include "io/TextHelpers.h"

namespace {

// One piece of the items: a taxon (by number or name), an earlier set, '-' or '\', or text
// that names nothing.
struct Atom {
  enum Kind { Taxon, Set, Dash, Step, Bad } kind = Bad;
  int number = 0;                         // Taxon: 1-based, as written (may lie past the taxa)
  const std::vector<int>* set = nullptr;  // Set
  std::size_t source = 0;                 // the item it came from
};

}  // namespace

TaxSetMembers ResolveTaxSet(const std::vector<const NexusToken*>& items,
                            const std::vector<std::string>& taxonNames,
                            const std::unordered_map<std::string, std::vector<int>>& earlierSets) {
  TaxSetMembers out;
  const int count = static_cast<int>(taxonNames.size());
  std::unordered_map<std::string, int> byName;
  for (int k = 0; k < count; ++k)
    byName.try_emplace(NexusNameKey(taxonNames[static_cast<std::size_t>(k)]), k + 1);
  // A word as a taxon or a set; nothing when it names neither.
  const auto named = [&](const std::string& word, bool quoted, std::size_t source,
                         bool setsToo) -> std::optional<Atom> {
    if (!quoted) {
      if (word == ".") return Atom{Atom::Taxon, count, nullptr, source};
      if (const auto n = ParseInt(word)) return Atom{Atom::Taxon, *n, nullptr, source};
    }
    const std::string key = NexusNameKey(word);
    if (const auto it = byName.find(key); it != byName.end())
      return Atom{Atom::Taxon, it->second, nullptr, source};
    if (setsToo)
      if (const auto it = earlierSets.find(key); it != earlierSets.end())
        return Atom{Atom::Set, 0, &it->second, source};
    return std::nullopt;
  };

  std::vector<Atom> atoms;
  for (std::size_t s = 0; s < items.size(); ++s) {
    const NexusToken& t = *items[s];
    if (t.Is(',')) continue;
    // A bare number is a taxon number, as NEXUS has it, even when a taxon bears it as name.
    if (const auto whole = named(t.text, t.quoted, s, true)) {
      atoms.push_back(*whole);
      continue;
    }
    // "t1-t6", "1-48\3", "5-": the pieces between '-' and '\' must all name something, or the
    // item names nothing (a misspelt "P1-02" must not become the range 1..2).
    std::vector<Atom> pieces;
    bool bad = t.quoted;
    std::string piece;
    const auto flush = [&] {
      if (piece.empty()) return;
      if (const auto a = named(piece, false, s, false))
        pieces.push_back(*a);
      else
        bad = true;
      piece.clear();
    };
    for (const char c : t.text) {
      if (c == '-' || c == '\\') {
        flush();
        pieces.push_back({c == '-' ? Atom::Dash : Atom::Step, 0, nullptr, s});
      } else {
        piece += c;
      }
    }
    flush();
    if (bad || pieces.empty())
      atoms.push_back({Atom::Bad, 0, nullptr, s});
    else
      atoms.insert(atoms.end(), pieces.begin(), pieces.end());
  }

  std::vector<bool> reported(items.size(), false);
  const auto unknown = [&](const Atom& a) {
    if (reported[a.source]) return;
    reported[a.source] = true;
    out.unknown.push_back(items[a.source]->text);
  };
  const auto is = [&](std::size_t i, Atom::Kind kind) {
    return i < atoms.size() && atoms[i].kind == kind;
  };
  for (std::size_t i = 0; i < atoms.size();) {
    const Atom& a = atoms[i];
    if (a.kind == Atom::Set) {
      out.members.insert(out.members.end(), a.set->begin(), a.set->end());
      ++i;
      continue;
    }
    if (a.kind != Atom::Taxon) {
      unknown(a);
      ++i;
      continue;
    }
    int last = a.number, step = 1;
    std::size_t next = i + 1;
    if (is(next, Atom::Dash) && is(next + 1, Atom::Taxon)) {
      last = atoms[next + 1].number;
      next += 2;
    }
    if (is(next, Atom::Step) && is(next + 1, Atom::Taxon) && atoms[next + 1].number > 0) {
      step = atoms[next + 1].number;
      next += 2;
    }
    // Numbers past the taxa are ignored; a reversed range names nothing.
    for (int k = std::max(1, a.number); k <= std::min(last, count); k += step)
      out.members.push_back(k);
    i = next;
  }
  return out;
}
