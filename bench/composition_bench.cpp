// SPDX-License-Identifier: GPL-3.0-or-later
// Composition blocks 3 (GC stationarity) and 5 (CpG) on 1,000 sequences x 2,000 mutations:
// about 500,000 pairs, each walking the mutations at which the two differ.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchServices.h"
#include "analysis/GCcontentUnit.h"
#include "analysis/MutUnit.h"
#include "common/PlatformRandom.h"
#include "model/DataProjUnit.h"

namespace {

struct Fixture {
  BenchServices svc;
  TDataProj project{svc.services};
  TDataSeq* ds = nullptr;
  samptype mask;
  Fixture() {
    PlatformRandom rng(7);
    ds = project.DatasetAt(0);
    constexpr int kRows = 1000, kColumns = 2000;
    // Every column two letters, each sequence drawing one of them.
    std::string a(kColumns, 'A'), b(kColumns, 'A');
    for (int c = 0; c < kColumns; ++c) {
      const char* pairs[] = {"CT", "GA", "CG", "AT"};
      const char* p = pairs[rng.NextInt(4)];
      a[static_cast<std::size_t>(c)] = p[0];
      b[static_cast<std::size_t>(c)] = p[1];
    }
    for (int r = 0; r < kRows; ++r) {
      std::string s = a;
      for (int c = 0; c < kColumns; ++c)
        if (rng.NextInt(4) == 0) s[static_cast<std::size_t>(c)] = b[static_cast<std::size_t>(c)];
      auto seq = std::make_unique<TSeq>("s" + std::to_string(r), s);
      (void)ds->AddSeq(seq, true);
    }
    AnalysisOptions o;
    UpdateMuts(*ds, o, &project, {0}, ScanChoices{});
    mask = samptype(ds->Count());
    for (int r = 0; r < ds->Count(); ++r) mask.Set(r);
  }
};

Fixture& Data() {
  static Fixture f;
  return f;
}

void BM_GCStationarity_1000x2000(benchmark::State& state) {
  Fixture& f = Data();
  for (auto _ : state)
    benchmark::DoNotOptimize(GCStationarityBlock(*f.ds, f.mask, *f.ds->mutHolders[0]));
  state.counters["mutations"] = static_cast<double>(f.ds->mutHolders[0]->mutations.size());
}
BENCHMARK(BM_GCStationarity_1000x2000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_CpG_1000x2000(benchmark::State& state) {
  Fixture& f = Data();
  for (auto _ : state) benchmark::DoNotOptimize(CpGBlock(*f.ds, f.mask, *f.ds->mutHolders[0]));
}
BENCHMARK(BM_CpG_1000x2000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
