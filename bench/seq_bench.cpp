// SPDX-License-Identifier: GPL-3.0-or-later
// Sequence record at scale: region adds and merges, random letter edits on a 1 Mb sequence
// with thousands of regions, gap removal, and translation of 10 Mb.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>

#include "model/GenCodUnit.h"
#include "model/tsequnit.h"

namespace {

constexpr int kMegabase = 1'000'000;

std::string RandomLetters(int n, std::uint32_t seed, double gapShare = 0.0) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> base(0, 3);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::string s(static_cast<std::size_t>(n), 'A');
  for (char& c : s) c = unit(rng) < gapShare ? '-' : "ACGT"[base(rng)];
  return s;
}

// Regions of the kinds that merge (CDS in three frames, introns) and one that never does,
// spread over the sequence so that many overlap or touch.
std::vector<TRegion> RandomRegions(int count, int length, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> start(1, length - 400);
  std::uniform_int_distribution<int> span(10, 400);
  std::uniform_int_distribution<int> kind(0, 3);
  std::uniform_int_distribution<int> frame(1, 3);
  std::vector<TRegion> out(static_cast<std::size_t>(count));
  for (TRegion& r : out) {
    r.regStart = start(rng);
    r.regEnd = r.regStart + span(rng);
    const int k = kind(rng);
    r.regType = k == 0 ? kRegCds : k == 1 ? kRegIntron : k == 2 ? kRegMisc : kRegExon;
    r.codonPos = frame(rng);
    r.regReverse = (r.regStart & 1) != 0;
  }
  return out;
}

void BM_AddAndMergeRegions(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const TSeq base("chr", RandomLetters(kMegabase, 1));
  const auto regs = RandomRegions(count, kMegabase, 2);
  for (auto _ : state) {
    state.PauseTiming();
    TSeq s = base;
    state.ResumeTiming();
    for (const TRegion& r : regs) s.AddRegionClipped(r, false);
    s.MergeRegions();
    benchmark::DoNotOptimize(s.regions.data());
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_AddAndMergeRegions)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_RandomEdits(benchmark::State& state) {
  TSeq base("chr", RandomLetters(kMegabase, 3));
  for (const TRegion& r : RandomRegions(5000, kMegabase, 4)) base.AddRegionClipped(r, false);
  base.quality.assign(static_cast<std::size_t>(kMegabase), 20);
  constexpr int kEdits = 1000;
  for (auto _ : state) {
    state.PauseTiming();
    TSeq s = base;
    std::mt19937 rng(5);
    state.ResumeTiming();
    for (int e = 0; e < kEdits; ++e) {
      std::uniform_int_distribution<int> pos(1, s.Length());
      if (e % 2 == 0)
        s.InsertLetters(pos(rng), "ACGTAC", false);
      else
        s.DeleteLetters(pos(rng), 7, false);
    }
    benchmark::DoNotOptimize(s.letters.data());
  }
  state.SetItemsProcessed(state.iterations() * kEdits);
}
BENCHMARK(BM_RandomEdits)->Unit(benchmark::kMillisecond);

void BM_RemoveGaps(benchmark::State& state) {
  TSeq base("aln", RandomLetters(kMegabase, 6, 0.2));
  for (const TRegion& r : RandomRegions(5000, kMegabase, 7)) base.AddRegionClipped(r, false);
  for (auto _ : state) {
    state.PauseTiming();
    TSeq s = base;
    state.ResumeTiming();
    s.RemoveGaps();
    benchmark::DoNotOptimize(s.letters.data());
  }
  state.SetBytesProcessed(state.iterations() * kMegabase);
}
BENCHMARK(BM_RemoveGaps)->Unit(benchmark::kMillisecond);

// 1 Mb of alternating upper- and lower-case stretches with frame-breaking gap runs: thousands of
// CDS regions are added, framed and split one after another.
void BM_CdsFromUpperCase(benchmark::State& state) {
  std::string letters = RandomLetters(kMegabase, 9);
  for (std::size_t i = 0; i < letters.size(); ++i) {
    const std::size_t block = i / 100;
    if (block % 2 == 1)
      letters[i] = static_cast<char>(letters[i] | 0x20);
    else if (i % 100 == 50 || i % 100 == 51)
      letters[i] = '-';
  }
  const TSeq base("chr", letters);
  for (auto _ : state) {
    state.PauseTiming();
    TSeq s = base;
    state.ResumeTiming();
    s.AddCdsFromUpperCase(true);
    benchmark::DoNotOptimize(s.regions.data());
    state.counters["regions"] = static_cast<double>(s.regions.size());
  }
}
BENCHMARK(BM_CdsFromUpperCase)->Unit(benchmark::kMillisecond);

void BM_TranslateSeq(benchmark::State& state) {
  const std::string letters = RandomLetters(10 * kMegabase, 8);
  const TGenCode code;
  for (auto _ : state) benchmark::DoNotOptimize(code.TranslateSeq(letters, false));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(letters.size()));
}
BENCHMARK(BM_TranslateSeq)->Unit(benchmark::kMillisecond);

}  // namespace
