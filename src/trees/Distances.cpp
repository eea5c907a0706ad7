// SPDX-License-Identifier: GPL-3.0-or-later
// Pairwise distances of aligned letters, through the distance formulas of the mutation tables.
#include "trees/Distances.h"

#include <algorithm>
#include <bit>

#include "analysis/MutHold.h"
#include "common/Services.h"

namespace {

// Bit 0: purine (A, G); bit 1: the second of its class (G, T); bit 2: a base at all.
int Code(char c) {
  switch (c) {
    case 'A':
    case 'a':
      return 0b101;
    case 'G':
    case 'g':
      return 0b111;
    case 'C':
    case 'c':
      return 0b100;
    case 'T':
    case 't':
    case 'U':
    case 'u':
      return 0b110;
    default:
      return 0;
  }
}

}  // namespace

SiteCounts CountSites(std::string_view a, std::string_view b) {
  SiteCounts c;
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int x = Code(a[i]), y = Code(b[i]);
    if (!(x & 4) || !(y & 4)) continue;
    ++c.sites;
    if (x == y) continue;
    if ((x & 1) == (y & 1))
      ++c.transitions;
    else
      ++c.transversions;
  }
  return c;
}

PackedSeq::PackedSeq(std::string_view letters) : length(static_cast<long long>(letters.size())) {
  const std::size_t words = (letters.size() + 63) / 64;
  valid.assign(words, 0);
  purine.assign(words, 0);
  second.assign(words, 0);
  for (std::size_t i = 0; i < letters.size(); ++i) {
    const int code = Code(letters[i]);
    const std::uint64_t bit = std::uint64_t{1} << (i % 64);
    if (code & 4)
      valid[i / 64] |= bit;
    else
      complete = false;
    if (code & 1) purine[i / 64] |= bit;
    if (code & 2) second[i / 64] |= bit;
  }
}

SiteCounts PackedSeq::Compare(const PackedSeq& a, const PackedSeq& b) {
  SiteCounts c;
  const std::size_t words = std::min(a.valid.size(), b.valid.size());
  long long ts = 0, tv = 0, sites = 0;
  const bool bothComplete = a.complete && b.complete;
  for (std::size_t w = 0; w < words; ++w) {
    const std::uint64_t v = a.valid[w] & b.valid[w];
    const std::uint64_t classDiff = (a.purine[w] ^ b.purine[w]) & v;
    const std::uint64_t within = (a.second[w] ^ b.second[w]) & v & ~classDiff;
    tv += std::popcount(classDiff);
    ts += std::popcount(within);
    if (!bothComplete) sites += std::popcount(v);
  }
  c.transitions = ts;
  c.transversions = tv;
  c.sites = bothComplete ? std::min(a.length, b.length) : sites;
  return c;
}

void DistanceMatrix::Set(int i, int j, PairDistance p) {
  const std::size_t ij = static_cast<std::size_t>(i) * n + j;
  const std::size_t ji = static_cast<std::size_t>(j) * n + i;
  d[ij] = d[ji] = p.d;
  variance[ij] = variance[ji] = p.variance;
}

DistanceMatrix DistanceMatrix::Zero(int n) {
  DistanceMatrix m;
  m.n = std::max(n, 0);
  m.d.assign(static_cast<std::size_t>(m.n) * m.n, 0);
  m.variance.assign(static_cast<std::size_t>(m.n) * m.n, 0);
  return m;
}

bool ComputeDistances(const std::vector<std::string>& seqs, DistanceModel model,
                      DistanceMatrix& out, IProgress* progress) {
  const int n = static_cast<int>(seqs.size());
  out = DistanceMatrix::Zero(n);
  std::vector<PackedSeq> packed;
  packed.reserve(seqs.size());
  for (const std::string& s : seqs) packed.emplace_back(s);
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < i; ++j) {
      const SiteCounts c = PackedSeq::Compare(packed[static_cast<std::size_t>(i)],
                                              packed[static_cast<std::size_t>(j)]);
      const DistanceResult r =
          DistanceOfDifferences(static_cast<int>(model), static_cast<int>(c.transitions),
                                static_cast<int>(c.transversions), static_cast<double>(c.sites));
      out.Set(i, j, {r.distance, r.variance});
    }
    if (progress && i % 64 == 63) {
      progress->StepProgress(true);
      if (progress->cancelRequested()) return false;
    }
  }
  return true;
}
