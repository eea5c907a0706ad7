// SPDX-License-Identifier: GPL-3.0-or-later
// Kelly's ZnS and all-pairs LD on packed carrier sets, the sequential LD text, and Tajima's D
// and ZnS profiles in sliding windows over a large sample.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "analysis/LDOutput.h"
#include "analysis/LinkageStats.h"
#include "analysis/Neutrality.h"
#include "analysis/NeutralityWindows.h"

namespace {

std::uint64_t Next(std::uint64_t& s) {
  s ^= s << 13;
  s ^= s >> 7;
  s ^= s << 17;
  return s;
}

// S biallelic mutations in n sequences; carrier densities 1/2, 1/4 or 1/8, one mutation per
// column from 1 (or spread over `columns`).
tmutholder RandomTable(int s, int n, int columns = 0) {
  tmutholder t;
  std::uint64_t state = 0x9E3779B97F4A7C15ull;
  t.mutations.resize(static_cast<std::size_t>(s));
  for (int i = 0; i < s; ++i) {
    tmutation& m = t.mutations[static_cast<std::size_t>(i)];
    m.Resize(n);
    const int density = static_cast<int>(Next(state) % 3);
    for (int w = 0; w < m.WordCount(); ++w) {
      std::uint64_t x = Next(state);
      if (density >= 1) x &= Next(state);
      if (density >= 2) x &= Next(state);
      m.Words()[w] = x;
    }
    if (n % 64) m.Words()[m.WordCount() - 1] &= (std::uint64_t{1} << (n % 64)) - 1;
    m.carrierCount = m.Count();
    m.position =
        columns > 0 ? 1 + static_cast<int>(static_cast<long long>(i) * columns / s) : i + 1;
  }
  t.sampleMask.Resize(n);
  for (int k = 0; k < n; ++k) t.sampleMask.Set(k);
  return t;
}

std::vector<int> AllIndices(int s) {
  std::vector<int> v(static_cast<std::size_t>(s));
  for (int i = 0; i < s; ++i) v[static_cast<std::size_t>(i)] = i;
  return v;
}

// Rows of the pair triangle measured: all of them, except at S = 20,000 with n = 30,000
// (200 million pairs of 469 words each), where the first 256 rows against every later column
// give the rate.
int MeasuredRows(int s, int n) {
  return (s >= 20000 && n >= 30000) ? 256 : s;
}

long long PairsOfRows(int s, int rows) {
  long long p = 0;
  for (int k = 0; k < rows && k < s; ++k) p += s - 1 - k;
  return p;
}

void BM_KellyZnS(benchmark::State& state) {
  const int s = static_cast<int>(state.range(0)), n = static_cast<int>(state.range(1));
  const tmutholder t = RandomTable(s, n);
  const int rows = MeasuredRows(s, n);
  if (rows == s) {
    for (auto _ : state) benchmark::DoNotOptimize(kellyZnS(t, 0, 0, t.sampleMask));
  } else {
    // The same kernel kellyZnS runs, on a band of rows.
    const PackedCarriers p(t, AllIndices(s), t.sampleMask);
    std::vector<int> both;
    for (auto _ : state) {
      double sum = 0;
      p.BothBlock(0, rows, 0, s, both);
      for (int k = 0; k < rows; ++k)
        for (int l = k + 1; l < s; ++l)
          sum += R2FromCounts(n, p.Count(k), p.Count(l),
                              both[static_cast<std::size_t>(k) * static_cast<std::size_t>(s) +
                                   static_cast<std::size_t>(l)]);
      benchmark::DoNotOptimize(sum);
    }
  }
  state.counters["pairs/s"] = benchmark::Counter(
      static_cast<double>(PairsOfRows(s, rows)) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}

// Every statistic of every pair (D, D', R, chi-square), D' kept in the cache at S = 2,000.
void BM_AllPairsLD(benchmark::State& state) {
  const int s = static_cast<int>(state.range(0)), n = static_cast<int>(state.range(1));
  const tmutholder t = RandomTable(s, n);
  const int rows = MeasuredRows(s, n);
  const PackedCarriers p(t, AllIndices(s), t.sampleMask);
  std::vector<int> reach;  // empty: every later partner
  if (rows < s) {
    reach.assign(static_cast<std::size_t>(s), 0);
    for (int k = 0; k < rows; ++k) reach[static_cast<std::size_t>(k)] = s;
  }
  // Keeping every D' of 200 million pairs would take gigabytes: the cache is filled at S = 2,000.
  const bool keep = s <= 2000;
  for (auto _ : state) {
    DprimeCache cache;
    double sum = 0;
    ForEachPairLD(p, reach, [&](int k, int l, int, const PairLDValues& v) {
      if (keep) cache.Put(k, l, v.Dprime);
      sum += v.D + v.R + v.chiSquare;
    });
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(cache.Size());
  }
  state.counters["pairs/s"] = benchmark::Counter(
      static_cast<double>(PairsOfRows(s, rows)) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}

// The sequential pairwise file text of 2,000 SNPs in 1,000 sequences with the distance bins.
void BM_SequentialLDText(benchmark::State& state) {
  const tmutholder t = RandomTable(2000, 1000);
  LDPairChoices c;
  c.minSNPfreq = 1;
  c.averageR2 = true;
  std::size_t bytes = 0;
  for (auto _ : state) {
    DprimeCache cache;
    const LDSequentialText out = LDSequentialOutput(t, t.sampleMask, "ds", 2000, c, &cache);
    bytes = out.pairs.size();
    benchmark::DoNotOptimize(out.pairs.data());
  }
  state.counters["pairs/s"] = benchmark::Counter(
      1999000.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

// 30,000 sequences over 5,000 columns with 1,000 segregating sites; windows of 100 columns
// moving by 25.
void BM_SlidingTajimaD(benchmark::State& state) {
  const tmutholder t = RandomTable(1000, 30000, 5000);
  const std::vector<WindowSpan> spans = SlidingWindows(1, 5000, 100, 25);
  for (auto _ : state)
    benchmark::DoNotOptimize(TajimaDWindows(t, t.sampleMask, spans, kSiteAll, kMutAll));
  state.counters["windows"] = static_cast<double>(spans.size());
}

void BM_SlidingZnS(benchmark::State& state) {
  const tmutholder t = RandomTable(1000, 30000, 5000);
  const std::vector<WindowSpan> spans = SlidingWindows(1, 5000, 100, 25);
  for (auto _ : state)
    benchmark::DoNotOptimize(ZnSWindows(t, t.sampleMask, spans, kSiteAll, kMutAll));
  state.counters["windows"] = static_cast<double>(spans.size());
}

}  // namespace

BENCHMARK(BM_KellyZnS)
    ->Args({2000, 1000})
    ->Args({2000, 30000})
    ->Args({20000, 1000})
    ->Args({20000, 30000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_AllPairsLD)
    ->Args({2000, 1000})
    ->Args({2000, 30000})
    ->Args({20000, 1000})
    ->Args({20000, 30000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_SequentialLDText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SlidingTajimaD)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SlidingZnS)->Unit(benchmark::kMillisecond)->Iterations(1);
