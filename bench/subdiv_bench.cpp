// SPDX-License-Identifier: GPL-3.0-or-later
// The permutation test of population subdivision: 1,000 permutations of 2,000 sequences in
// three groups over 5,000 columns, with the pairwise differences counted once.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "analysis/Subdivision.h"
#include "common/PlatformRandom.h"

namespace {

constexpr int kSequences = 2000;
constexpr int kColumns = 5000;
constexpr int kGroups = 3;

std::uint64_t Next(std::uint64_t& s) {
  s ^= s << 13;
  s ^= s >> 7;
  s ^= s << 17;
  return s;
}

// One biallelic mutation at every column (the densest table the columns allow); carrier
// densities 1/2, 1/4 or 1/8.
tmutholder RandomTable() {
  tmutholder t;
  std::uint64_t state = 0x9E3779B97F4A7C15ull;
  t.mutations.resize(kColumns);
  for (int i = 0; i < kColumns; ++i) {
    tmutation& m = t.mutations[static_cast<std::size_t>(i)];
    m.Resize(kSequences);
    const int density = static_cast<int>(Next(state) % 3);
    for (int w = 0; w < m.WordCount(); ++w) {
      std::uint64_t x = Next(state);
      if (density >= 1) x &= Next(state);
      if (density >= 2) x &= Next(state);
      m.Words()[w] = x;
    }
    if (kSequences % 64)
      m.Words()[m.WordCount() - 1] &= (std::uint64_t{1} << (kSequences % 64)) - 1;
    m.carrierCount = m.Count();
    m.position = i + 1;
  }
  t.sampleMask.Resize(kSequences);
  for (int k = 0; k < kSequences; ++k) t.sampleMask.Set(k);
  t.siteAnalysed.assign(kColumns, true);
  return t;
}

std::vector<samptype> ThreeGroups() {
  std::vector<samptype> masks(kGroups, samptype(kSequences));
  for (int k = 0; k < kSequences; ++k) masks[static_cast<std::size_t>(k % kGroups)].Set(k);
  return masks;
}

// The difference matrix (with log10(1 + d) for Kst*) built once.
void BM_SubdivisionMatrix(benchmark::State& state) {
  const tmutholder t = RandomTable();
  const std::vector<samptype> masks = ThreeGroups();
  for (auto _ : state) {
    SubdivisionMatrix matrix(t, 0, 0, kSiteAll, kMutAll, masks, true);
    benchmark::DoNotOptimize(matrix.Usable());
  }
}
BENCHMARK(BM_SubdivisionMatrix)->Unit(benchmark::kMillisecond)->Iterations(1);

// 1,000 exchanges of sequences between the groups, each evaluated for Fst, Kst*, Hst, Dxy
// and Da on the matrix.
void BM_Permutations(benchmark::State& state) {
  const tmutholder t = RandomTable();
  const std::vector<samptype> masks = ThreeGroups();
  const SubdivisionMatrix matrix(t, 0, 0, kSiteAll, kMutAll, masks, true);
  for (auto _ : state) {
    PlatformRandom rng(1);
    std::vector<int> labels = LabelsOf(masks, kSequences);
    double sum = 0;
    for (int r = 0; r < state.range(0); ++r) {
      PermuteLabels(labels, kGroups, rng);
      sum += matrix.Evaluate(labels).values.fst;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Permutations)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The whole test as a run does it: the matrix, then 1,000 permutations.
void BM_PermutationTest(benchmark::State& state) {
  const tmutholder t = RandomTable();
  const std::vector<samptype> masks = ThreeGroups();
  for (auto _ : state) {
    const SubdivisionMatrix matrix(t, 0, 0, kSiteAll, kMutAll, masks, true);
    PlatformRandom rng(1);
    std::vector<int> labels = LabelsOf(masks, kSequences);
    double sum = 0;
    for (int r = 0; r < 1000; ++r) {
      PermuteLabels(labels, kGroups, rng);
      sum += matrix.Evaluate(labels).values.kst;
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_PermutationTest)->Unit(benchmark::kMillisecond)->Iterations(1);

// The observed values from the table alone (per-site counts, Kst* through one matrix).
void BM_ObservedValues(benchmark::State& state) {
  const tmutholder t = RandomTable();
  const std::vector<samptype> masks = ThreeGroups();
  for (auto _ : state) {
    benchmark::DoNotOptimize(divergenceDxyDa(t, 0, 0, kSiteAll, kMutAll, masks).dxy);
    benchmark::DoNotOptimize(subdivisionFst(t, 0, 0, kSiteAll, kMutAll, masks, false).fst);
  }
}
BENCHMARK(BM_ObservedValues)->Unit(benchmark::kMillisecond);

}  // namespace
