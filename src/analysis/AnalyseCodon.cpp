// SPDX-License-Identifier: GPL-3.0-or-later
// AnalyseCodon: the distinct codons of a coding unit, chained from the most frequent (or the
// outgroup's) codon, become synonymous and replacement mutations.
#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "analysis/CodonInternal.h"
#include "common/PlatformRandom.h"

using namespace codon_detail;

namespace codon_detail {

std::string Translate(const TGenCode& code, const std::string& codon) {
  std::string t = code.TranslateCodon(codon, false);
  if (t.empty() || t == "???") t = "?";
  return t;
}

bool Translatable(const std::string& aa) {
  return aa != "?" && aa != "*";
}

int StepsToward(const TGenCode& code, const std::string& a, const std::string& b,
                std::vector<Step>& steps) {
  steps.clear();
  if (a.size() != b.size()) return -1;
  const std::string own = Translate(code, a);
  if (!Translatable(own)) return -1;
  int d = 0;
  for (std::size_t p = 0; p < a.size(); ++p) {
    if (a[p] == b[p]) continue;
    ++d;
    std::string v = a;
    v[p] = b[p];
    const std::string t = Translate(code, v);
    if (t == "?") continue;
    steps.push_back({static_cast<int>(p) + 1, b[p], a[p],
                     t != own ? kMutClassReplacement : kMutClassSynonymous});
  }
  return d;
}

samptype UnitMaker::carriersWithLetter(int p, char letter) const {
  samptype c(sequenceCount);
  for (const CodonClass& k : unit.classes) {
    if (static_cast<int>(k.codon.size()) < p || k.codon[static_cast<std::size_t>(p - 1)] != letter)
      continue;
    for (int w = 0; w < c.WordCount(); ++w) c.Words()[w] |= k.members.Words()[w];
  }
  return c;
}

tmutation UnitMaker::Make(int p, char ancestral, char derived, int mutationClass) const {
  tmutation m;
  static_cast<samptype&>(m) = carriersWithLetter(p, derived);
  m.carrierCount = m.Count();
  m.position = unit.columns[p - 1];
  m.siteClass = static_cast<std::uint8_t>(3 + p);
  m.mutationClass = static_cast<std::uint8_t>(mutationClass);
  m.isSilent = mutationClass != kMutClassReplacement;
  m.ancestralLetter = ancestral;
  m.derivedLetter = derived;
  m.isTransition = IsTransitionPair(ancestral, derived);
  for (const CodonClass& k : unit.classes) {
    if (k.codon == "!!!") continue;
    const bool carries = k.codon.size() >= static_cast<std::size_t>(p) &&
                         k.codon[static_cast<std::size_t>(p - 1)] == derived;
    if (carries && m.derivedCodon == "NNN") m.derivedCodon = k.codon;
    if (!carries && m.ancestralCodon == "NNN") m.ancestralCodon = k.codon;
  }
  if (oriented) {
    m.outgroupIndex = unit.outgroupIndex;
    m.outgroupCodon = unit.outgroupCodon;
    m.outgroupLetter = unit.outgroupCodon[static_cast<std::size_t>(p - 1)];
  }
  return m;
}

bool AddUnique(tmutholder& table, std::size_t firstOfUnit, tmutation&& m) {
  for (std::size_t i = firstOfUnit; i < table.mutations.size(); ++i) {
    const tmutation& o = table.mutations[i];
    if (o.position == m.position && o.derivedLetter == m.derivedLetter) return false;
  }
  table.mutations.push_back(std::move(m));
  return true;
}

}  // namespace codon_detail

std::vector<CodonClass> CodonClassesOf(const std::vector<std::string>& codons) {
  std::vector<CodonClass> classes;
  std::unordered_map<std::string, std::size_t> index;
  const int n = static_cast<int>(codons.size());
  for (int s = 0; s < n; ++s) {
    std::string c = codons[static_cast<std::size_t>(s)];
    if (c == "!!!") continue;
    for (char& ch : c) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    auto [it, added] = index.try_emplace(c, classes.size());
    if (added) classes.push_back({c, samptype(n), 0});
    CodonClass& k = classes[it->second];
    k.members.Set(s);
    ++k.count;
  }
  return classes;
}

namespace {

// Letters that stand for any base when codons are matched: missing and ambiguous letters, and
// gaps unless gaps are variants.
bool IsWild(char c, int indelMode) {
  return IsAmbiguityLetter(c) || (c == '-' && indelMode != 2);
}
bool HasWild(const std::string& codon, int indelMode) {
  return std::any_of(codon.begin(), codon.end(), [&](char c) { return IsWild(c, indelMode); });
}
bool Matches(const std::string& a, const std::string& b, int indelMode) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && !IsWild(a[i], indelMode) && !IsWild(b[i], indelMode)) return false;
  return true;
}

std::string WarningTooComplex(int count, int column) {
  return "\r\nWarning: too complex codon (" + std::to_string(count) + " haplotypes)" +
         " at position " + std::to_string(column) + " was excluded from analysis.";
}

}  // namespace

bool AnalyseCodon(tmutholder& table, const CodonUnit& unit, const TGenCode& code,
                  const CodonScanChoices& choices, PlatformRandom& rng) {
  const int mode = choices.indelMode;
  // Whole codons first, so a codon with a missing letter joins the codon it may be rather than
  // opening a distinct codon that every other codon would then match.
  std::vector<std::string> distinct;
  for (int pass = 0; pass < 2; ++pass) {
    for (const CodonClass& k : unit.classes) {
      if (k.codon == "!!!" || HasWild(k.codon, mode) != (pass == 1)) continue;
      const bool known = std::any_of(distinct.begin(), distinct.end(), [&](const std::string& d) {
        return Matches(k.codon, d, mode);
      });
      if (!known) distinct.push_back(k.codon);
    }
  }
  std::vector<int> counts(distinct.size(), 0);
  for (std::size_t d = 0; d < distinct.size(); ++d)
    for (const CodonClass& k : unit.classes)
      if (k.codon != "!!!" && Matches(k.codon, distinct[d], mode)) counts[d] += k.count;
  std::vector<std::size_t> order(distinct.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t x, std::size_t y) { return counts[x] > counts[y]; });
  std::vector<std::string> sorted;
  for (std::size_t i : order) sorted.push_back(distinct[i]);
  distinct.swap(sorted);

  const int firstColumn = std::min({unit.columns[0], unit.columns[1], unit.columns[2]});
  if (distinct.size() >= 4) {
    table.message += WarningTooComplex(static_cast<int>(distinct.size()), firstColumn);
    return false;
  }
  if (distinct.size() < 2) return true;

  // The outgroup orients the unit only when its codon is whole; a codon with a missing or
  // ambiguous letter could stand for any of the codons and is not taken as ancestral.
  const bool oriented = unit.outgroupIndex > 0 && unit.outgroupCodon.size() == 3 &&
                        unit.outgroupCodon != "!!!" && !HasWild(unit.outgroupCodon, mode);
  if (oriented) {
    for (std::size_t d = 1; d < distinct.size(); ++d) {
      if (!Matches(unit.outgroupCodon, distinct[d], mode)) continue;
      const bool earlier = Matches(unit.outgroupCodon, distinct[0], mode);
      if (!earlier)
        std::rotate(distinct.begin(), distinct.begin() + static_cast<long>(d),
                    distinct.begin() + static_cast<long>(d) + 1);
      break;
    }
  }

  // Greedy chain from the first codon.
  std::vector<std::string> chain{distinct[0]};
  std::vector<std::string> rest(distinct.begin() + 1, distinct.end());
  std::vector<Step> steps;
  while (!rest.empty()) {
    std::size_t best = 0;
    int bestD = 0;
    for (std::size_t i = 0; i < rest.size(); ++i) {
      const int d = StepsToward(code, chain.back(), rest[i], steps);
      if (i == 0 || d < bestD) {
        best = i;
        bestD = d;
      }
    }
    chain.push_back(rest[best]);
    rest.erase(rest.begin() + static_cast<long>(best));
  }

  std::vector<Step> single;
  bool multiple = false;
  for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
    const int d = StepsToward(code, chain[i], chain[i + 1], steps);
    if (d < 0) continue;
    if (d == 1)
      single.insert(single.end(), steps.begin(), steps.end());
    else if (d > 1)
      multiple = true;
  }

  int outgroupMatches = 0;
  samptype bearers(unit.classes.empty() ? 0 : unit.classes.front().members.Size());
  for (const CodonClass& k : unit.classes) {
    if (k.codon == "!!!") continue;
    for (int w = 0; w < bearers.WordCount(); ++w) bearers.Words()[w] |= k.members.Words()[w];
    if (oriented && k.codon == unit.outgroupCodon) outgroupMatches += k.count;
  }
  const UnitMaker maker{table, unit, oriented, bearers.Size()};
  if (multiple && choices.multiDifferenceCodons)
    return ResolveMultipleDifferences(maker, distinct, code, rng);

  const std::size_t firstOfUnit = table.mutations.size();
  bool added = false;
  samptype ingroup = bearers;
  if (oriented) ingroup.Set(unit.outgroupIndex - 1, false);
  for (const Step& s : single) {
    tmutation m = maker.Make(s.position, s.oldLetter, s.newLetter, s.stepClass);
    m.posInCodon = s.position;
    if (m.mutationClass == kMutClassReplacement) m.synFraction = 0;
    if (oriented) {
      const bool outgroupCarries = m.Test(unit.outgroupIndex - 1);
      m.isSingleton = m.carrierCount == 1;
      m.isFixed = !outgroupCarries && static_cast<const samptype&>(m) == ingroup;
      m.isExcluded = distinct.size() > 2 && outgroupMatches <= 1;
    }
    if (!PassesSiteFilter(m, choices.siteFlags) || !PassesMutationFilter(m, choices.mutationFlags))
      continue;
    added = AddUnique(table, firstOfUnit, std::move(m)) || added;
  }
  return added;
}
