// SPDX-License-Identifier: GPL-3.0-or-later
// The translate window at the dataset limits (30,000 sequences of 5 kb, six frames) and the
// similarity search of a 5 kb vector: the identity window at 90 % over 1 Mb on both strands,
// the exact search, and the local alignment score of 5 kb against 100 kb.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "BenchServices.h"
#include "alignment/SimilaritySearch.h"
#include "editor/Translation.h"
#include "model/Datasequnit.h"

namespace {

std::string RandomLetters(std::size_t n, std::uint32_t seed) {
  std::string s(n, 'A');
  for (char& c : s) {
    seed = seed * 134775813u + 1u;  // the platform generator's recurrence
    c = "ACGT"[(seed >> 16) & 3];
  }
  return s;
}

// A 1 Mb target holding the 5 kb query twice: once exact, once with 3 % of its letters changed.
struct SearchInput {
  std::string query = RandomLetters(5000, 7);
  std::string target;
  SearchInput() {
    target = RandomLetters(1'000'000, 11);
    std::string changed = query;
    for (std::size_t i = 0; i < changed.size(); i += 33) changed[i] = changed[i] == 'A' ? 'C' : 'A';
    target.replace(200'000, query.size(), query);
    target.replace(700'000, changed.size(), changed);
  }
};

void BM_IdentitySearch90(benchmark::State& state) {
  const SearchInput in;
  for (auto _ : state) benchmark::DoNotOptimize(SimilaritySearch(in.target, in.query, 90));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(in.target.size()) * 2);
}
BENCHMARK(BM_IdentitySearch90)->Unit(benchmark::kMillisecond);

void BM_ExactSearch(benchmark::State& state) {
  const SearchInput in;
  for (auto _ : state) benchmark::DoNotOptimize(SimilaritySearch(in.target, in.query, 100));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(in.target.size()) * 2);
}
BENCHMARK(BM_ExactSearch)->Unit(benchmark::kMillisecond);

void BM_SmithWaterman(benchmark::State& state) {
  const std::string a = RandomLetters(100'000, 3), b = RandomLetters(5000, 5);
  for (auto _ : state) benchmark::DoNotOptimize(SmithWatermanScore(a, b, -2));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(a.size() * b.size()));
}
BENCHMARK(BM_SmithWaterman)->Unit(benchmark::kMillisecond);

void BM_TranslateSixFrames(benchmark::State& state) {
  BenchServices svc;
  TDataSeq ds(svc.services);
  const int rows = static_cast<int>(state.range(0));
  for (int r = 0; r < rows; ++r) {
    auto s = std::make_unique<TSeq>("s" + std::to_string(r), RandomLetters(5000, 17 + r));
    (void)ds.AddSeq(s, false);
  }
  // Six proteins a sequence: the new dataset may hold them all.
  svc.settings.maxSeqPerDataset = 6 * rows;
  TranslateOptions opt;
  opt.allSeqs = true;
  opt.frames = 6;
  for (auto _ : state)
    benchmark::DoNotOptimize(TranslateDataset(ds, svc.genCode, opt, svc.services));
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_TranslateSixFrames)->Arg(30000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
