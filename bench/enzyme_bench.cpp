// SPDX-License-Identifier: GPL-3.0-or-later
// The restriction enzyme window's "Ok": 600 switched-on enzymes searched on every row of a
// dataset of 5 kb sequences (1,000 rows, and 30,000, the "Max seq per dataset" limit).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "BenchServices.h"
#include "common/Services.h"
#include "editor/EnzymeSites.h"
#include "model/GenCodUnit.h"

namespace {

std::uint32_t Next(std::uint32_t& state) {
  state = state * 134775813u + 1u;  // the platform generator's recurrence
  return state >> 16;
}

// 600 enzymes with random 4- to 8-letter sites (real lists hold mostly 4 to 8 letters).
std::vector<renzyme> Enzymes() {
  std::vector<renzyme> list;
  std::uint32_t state = 99;
  const char bases[] = "ACGT";
  for (int i = 0; i < 600; ++i) {
    renzyme e;
    e.name = "E" + std::to_string(i);
    const int length = 4 + static_cast<int>(Next(state) % 5);
    for (int k = 0; k < length; ++k) e.site += bases[Next(state) & 3];
    e.cutOffset = 1 + static_cast<int>(Next(state) % length);
    e.selected = true;
    list.push_back(std::move(e));
  }
  return list;
}

std::unique_ptr<TDataSeq> Dataset(Services& services, int rows, int length) {
  auto ds = std::make_unique<TDataSeq>(services);
  std::uint32_t state = 7;
  const char bases[] = "acgtACGT";
  for (int r = 0; r < rows; ++r) {
    auto s = std::make_unique<TSeq>();
    s->seqName = "s" + std::to_string(r);
    s->letters.resize(static_cast<std::size_t>(length));
    for (char& c : s->letters) c = bases[Next(state) & 7];
    s->SyncLength();
    benchmark::DoNotOptimize(ds->AddSeq(s, false));
  }
  return ds;
}

void BM_EnzymeOk(benchmark::State& state) {
  BenchServices svc;
  const std::vector<renzyme> enzymes = Enzymes();
  std::unique_ptr<TDataSeq> ds =
      Dataset(svc.services, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  std::size_t marks = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(MarkRestrictionSites(*ds, enzymes, svc.progress));
    marks = 0;
    for (int r = 1; r <= ds->Count(); ++r) marks += ds->SeqAt(r)->siteMarks.size();
  }
  state.counters["marks"] = static_cast<double>(marks);
  state.SetBytesProcessed(state.iterations() * state.range(0) * state.range(1));
}

}  // namespace

BENCHMARK(BM_EnzymeOk)->Args({1000, 5000})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnzymeOk)->Args({30000, 5000})->Iterations(1)->Unit(benchmark::kMillisecond);
