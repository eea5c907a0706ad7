// SPDX-License-Identifier: GPL-3.0-or-later
// The overlap search over error-free reads of a long template, and haplotype reconstruction
// of mapped read pairs.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "BenchServices.h"
#include "alignment/AsmContUnit.h"
#include "alignment/Haplotypes.h"
#include "editor/ReadLetters.h"
#include "model/Datasequnit.h"

namespace {

std::string RandomDna(std::mt19937& rng, std::size_t length) {
  std::string s(length, 'A');
  for (char& c : s) c = "ACGT"[rng() % 4];
  return s;
}

// `reads` error-free reads of `length` letters at random places of a random template, half of
// them reverse-complemented.
std::vector<std::string> ReadsOf(int reads, int length, int templateLength) {
  std::mt19937 rng(29);
  const std::string tmpl = RandomDna(rng, static_cast<std::size_t>(templateLength));
  std::vector<std::string> out;
  for (int k = 0; k < reads; ++k) {
    const auto at =
        static_cast<std::size_t>(rng() % static_cast<unsigned>(templateLength - length));
    std::string r = tmpl.substr(at, static_cast<std::size_t>(length));
    out.push_back(rng() % 2 == 0 ? r : ReverseComplement(r));
  }
  return out;
}

void BM_FindOverlaps(benchmark::State& state) {
  const std::vector<std::string> letters =
      ReadsOf(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 200000);
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::unique_ptr<TSeq>> owned;
    std::vector<TSeq*> reads;
    for (const std::string& l : letters) {
      owned.push_back(std::make_unique<TSeq>("r", l));
      reads.push_back(owned.back().get());
    }
    state.ResumeTiming();
    benchmark::DoNotOptimize(BuildContig(reads, kMinOverlap));
  }
}
BENCHMARK(BM_FindOverlaps)->Args({2000, 800})->Unit(benchmark::kMillisecond);

// Pairs of 150-letter reads from two haplotypes of a region with `snps` variable columns,
// mates 200 columns apart.
void FillReadPairs(TDataSeq& ds, int reads, int snps) {
  std::mt19937 rng(31);
  constexpr int kRegion = 30000, kLength = 150, kGap = 200;
  std::string hap[2];
  hap[0] = RandomDna(rng, kRegion);
  hap[1] = hap[0];
  for (int k = 0; k < snps; ++k) {
    const std::size_t at =
        50 + static_cast<std::size_t>(k) * (kRegion - 100) / static_cast<std::size_t>(snps);
    hap[1][at] = hap[0][at] == 'A' ? 'C' : 'A';
  }
  std::vector<std::unique_ptr<TSeq>> rows;
  for (int k = 0; k < reads / 2; ++k) {
    const std::string& h = hap[rng() % 2];
    const int at = static_cast<int>(rng() % (kRegion - 2 * kLength - kGap));
    for (const int start : {at, at + kLength + kGap}) {
      auto r = std::make_unique<TSeq>("r", h.substr(static_cast<std::size_t>(start), kLength));
      r->columnShift = start;
      rows.push_back(std::move(r));
    }
  }
  ds.AppendReads(rows);
  for (int r = 1; r + 1 <= ds.Count(); r += 2) {
    ds.SeqAt(r)->mateId = ds.SeqAt(r + 1)->seqId;
    ds.SeqAt(r + 1)->mateId = ds.SeqAt(r)->seqId;
  }
}

void BM_ReconstructHaplotypes(benchmark::State& state) {
  BenchServices svc;
  for (auto _ : state) {
    state.PauseTiming();
    TDataSeq ds(svc.services);
    FillReadPairs(ds, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    TDataSeq result(svc.services);
    state.ResumeTiming();
    ReconstructHaplotypes(ds, &result, true);
    benchmark::DoNotOptimize(result.Count());
  }
}
BENCHMARK(BM_ReconstructHaplotypes)->Args({20000, 300})->Unit(benchmark::kMillisecond);

}  // namespace
