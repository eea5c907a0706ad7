// SPDX-License-Identifier: GPL-3.0-or-later
// Option labels, the site and mutation filters, and the counting operations of tmutholder.
#include "analysis/MutHold.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "analysis/SiteStates.h"
#include "common/NumberFormat.h"

std::string SiteFlagsLabel(int f) {
  if (f & kSiteAll) return "all sites";
  std::string s;
  if (f & kSiteNoncoding) s += "noncoding regions";
  if (f & kSiteUnknown) s += "unknown type of sites";
  if (f & kSiteCoding) {
    s += "coding regions";
  } else if (f & kSiteCodonPositions) {
    if (f & kSiteFirst) s += " 1st";
    if (f & kSiteSecond) s += " 2nd";
    if (f & kSiteThird) s += " 3rd";
    s += " codon positions";
  }
  return s;
}

std::string MutationFlagsLabel(int f) {
  if (f & kMutAll) return "all mutations";
  std::string s;
  if (f & (kMutNoncoding | kMutSilent)) s += "silent mutations";
  if (f & kMutUnknown) s += "unknown type of mutations";
  if (f & kMutSynonymous) s += "synonymous mutations";
  if (f & kMutNonsilent) s += "replacement mutations";
  return s;
}

bool IsTransitionPair(char a, char b) {
  auto norm = [](char c) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return c == 'U' ? 'T' : c;
  };
  a = norm(a);
  b = norm(b);
  return (a == 'A' && b == 'G') || (a == 'G' && b == 'A') || (a == 'C' && b == 'T') ||
         (a == 'T' && b == 'C');
}

namespace {

bool DegeneracySelects(const tmutation& m, int f) {
  const int c = m.siteClass;
  if (c < 3 || c > 10) return false;
  const long long r = RoundHalfEven(m.synFraction * 4.0);
  if ((f & kSiteDegen01) && (r == 0 || r == 1)) return true;
  if ((f & kSiteDegen2) && r == 2 && (c == 3 || c == 4 || c == 6 || c == 8)) return true;
  if ((f & kSiteDegen3) && r == 3 && (c == 3 || c == 6 || c == 9)) return true;
  if ((f & kSiteDegen4) && r == 4 && (c == 3 || c == 6 || c == 10)) return true;
  return false;
}

bool IsIndel(const tmutation& m) {
  return m.derivedLetter == '-' || m.ancestralLetter == '-';
}

}  // namespace

bool PassesSiteFilter(const tmutation& m, int f) {
  if (f & (kSiteAll | kSiteUnknown)) return true;
  const int c = m.siteClass;
  if (c < 31 && (f & (1 << c))) return true;
  if (c >= 3 && c <= 6 && (f & kSiteCoding)) return true;
  if (c == 3 && (f & kSiteCodonPositions)) return true;
  return DegeneracySelects(m, f);
}

bool PassesMutationFilter(const tmutation& m, int f) {
  if ((f & kMutIndelsOnly) && !IsIndel(m)) return false;
  if (f & (kMutAll | kMutUnknown)) return true;
  const int c = m.mutationClass;
  if (c < 31 && (f & (1 << c))) return true;
  return (f & kMutSilent) && (c == kMutClassNoncoding || c == kMutClassSynonymous);
}

void DeleteMutHolder(tmutholder* table) {
  std::unique_ptr<tmutholder> owned(table);
}

int tmutholder::SequenceCount() const {
  return mutations.empty() ? sampleMask.Size() : mutations.front().Size();
}

void tmutholder::Span(int from, int to, std::size_t& first, std::size_t& last) const {
  first = 0;
  last = mutations.size();
  if (from == 0 && to == 0) return;
  auto lo = std::lower_bound(mutations.begin(), mutations.end(), from,
                             [](const tmutation& m, int p) { return m.position < p; });
  auto hi = std::upper_bound(mutations.begin(), mutations.end(), to,
                             [](int p, const tmutation& m) { return p < m.position; });
  first = static_cast<std::size_t>(lo - mutations.begin());
  last = std::max(first, static_cast<std::size_t>(hi - mutations.begin()));
}

bool tmutholder::isSegregatingIn(const tmutation& m, const samptype& mask) {
  if (m.Size() != mask.Size()) return false;
  bool carrier = false, nonCarrier = false;
  const std::uint64_t* c = m.Words();
  const std::uint64_t* k = mask.Words();
  for (int w = 0; w < mask.WordCount() && !(carrier && nonCarrier); ++w) {
    carrier = carrier || (c[w] & k[w]) != 0;
    nonCarrier = nonCarrier || (~c[w] & k[w]) != 0;
  }
  return carrier && nonCarrier;
}

int tmutholder::countMutations(int from, int to, const samptype& mask, int siteFlags,
                               int mutationFlags, bool withFixed) const {
  if (mutations.empty() || mask.Size() != SequenceCount()) return 0;
  std::size_t first, last;
  Span(from, to, first, last);
  int n = 0;
  for (std::size_t i = first; i < last; ++i) {
    const tmutation& m = mutations[i];
    if (m.isExcluded || (m.isFixed && !withFixed)) continue;
    if (!PassesSiteFilter(m, siteFlags) || !PassesMutationFilter(m, mutationFlags)) continue;
    if (isSegregatingIn(m, mask)) ++n;
  }
  return n;
}

int tmutholder::countSingletons(int from, int to, const samptype& mask, int siteFlags,
                                int mutationFlags) const {
  if (mutations.empty() || mask.Size() != SequenceCount()) return 0;
  const int n = mask.Count();
  std::size_t first, last;
  Span(from, to, first, last);
  int count = 0;
  for (std::size_t i = first; i < last; ++i) {
    const tmutation& m = mutations[i];
    if (m.isExcluded || m.isFixed) continue;
    if (!PassesSiteFilter(m, siteFlags) || !PassesMutationFilter(m, mutationFlags)) continue;
    const int k = m.CountAnd(mask);
    if (k == 0 || k == n) continue;
    if (k == 1 || (m.outgroupIndex < 0 && n - k == 1)) ++count;
  }
  return count;
}

int tmutholder::countSegregatingSites(int from, int to, const samptype& mask, int siteFlags,
                                      int mutationFlags, bool withFixed) const {
  if (mutations.empty()) return 0;
  samptype all;
  const samptype* judge = &mask;
  if (mask.Size() != SequenceCount()) {
    all.Resize(SequenceCount());
    for (int k = 0; k < all.Size(); ++k) all.Set(k);
    judge = &all;
  }
  std::size_t first, last;
  Span(from, to, first, last);
  int n = 0;
  bool counted = false;
  int lastPos = 0;
  for (std::size_t i = first; i < last; ++i) {
    const tmutation& m = mutations[i];
    if (counted && m.position == lastPos) continue;  // sorted: one site per position
    if (m.isFixed && !withFixed) continue;
    if (!PassesSiteFilter(m, siteFlags) || !PassesMutationFilter(m, mutationFlags)) continue;
    if (!isSegregatingIn(m, *judge)) continue;
    ++n;
    counted = true;
    lastPos = m.position;
  }
  return n;
}

int tmutholder::countFixedDifferences(int from, int to, int siteFlags, int mutationFlags) const {
  std::size_t first, last;
  Span(from, to, first, last);
  int n = 0;
  for (std::size_t i = first; i < last; ++i) {
    const tmutation& m = mutations[i];
    if (m.isFixed && PassesSiteFilter(m, siteFlags) && PassesMutationFilter(m, mutationFlags)) ++n;
  }
  return n;
}

int tmutholder::countDifferences(int i, int j, int from, int to, int siteFlags,
                                 int mutationFlags) const {
  if (i < 0 || j < 0 || i >= SequenceCount() || j >= SequenceCount()) return 0;
  int n = 0;
  ForEachSite(*this, from, to, siteFlags, mutationFlags, [&](SiteRecords site) {
    if (DifferAt(site, i, j)) ++n;
  });
  return n;
}

double tmutholder::meanPairwiseDifferences(const samptype& mask, int from, int to, int siteFlags,
                                           int mutationFlags) const {
  if (mutations.empty() || mask.Size() != SequenceCount()) return 0;
  const long long n = mask.Count();
  if (n < 2) return 0;
  double sum = 0;
  ForEachSite(*this, from, to, siteFlags, mutationFlags,
              [&](SiteRecords site) { sum += DifferingPairs(site, mask, n); });
  return sum / (static_cast<double>(n) * static_cast<double>(n - 1) / 2);
}

double tmutholder::sitesOfClass(int f) const {
  if (f & (kSiteAll | kSiteUnknown)) return positionsAnalysed();
  double n = 0;
  if (f & kSiteNoncoding) n += noncodingPositions;
  if (f & kSiteCoding) {
    n += 3.0 * codonCount;
  } else {
    if (f & kSiteFirst) n += firstPosCount;
    if (f & kSiteSecond) n += secondPosCount;
    if (f & kSiteThird) n += thirdPosCount;
  }
  return n;
}

int tmutholder::positionsAnalysed() const {
  if (spanCounting) return positionsCounted;
  return static_cast<int>(std::count(siteAnalysed.begin(), siteAnalysed.end(), true));
}

double tmutholder::a(int n) {
  double s = 0;
  for (int i = 1; i < n; ++i) s += 1.0 / i;
  return s;
}

double tmutholder::b(int n) {
  double s = 0;
  for (int i = 1; i < n; ++i) s += 1.0 / (static_cast<double>(i) * i);
  return s;
}
