// SPDX-License-Identifier: GPL-3.0-or-later
// Saving and reopening native project files at the program's limits (30,000 sequences of
// 1 kb) and with 500 trace reads, and reading ABIF traces.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "BenchServices.h"
#include "io/ProjectFile.h"
#include "io/TraceFormats.h"
#include "model/GenCodUnit.h"

namespace {

std::uint32_t Next(std::uint32_t& state) {
  state = state * 134775813u + 1u;
  return state >> 8;
}

// rows sequences of `length` letters in one dataset, each with a region and an individual.
void FillLetters(TDataProj& p, int rows, int length, std::uint32_t seed) {
  p.NewDataset();
  TDataSeq& ds = *p.DatasetAt(0);
  for (int i = 0; i < rows; ++i) {
    auto s = std::make_unique<TSeq>("seq" + std::to_string(i), std::string());
    s->letters.resize(static_cast<std::size_t>(length));
    for (char& c : s->letters) c = "ACGT"[Next(seed) % 4];
    s->SyncLength();
    s->AddSimpleRegion(1, length / 2, "", "cds", 0, 1);
    (void)ds.AddSeq(s, false);
  }
}

// Reads with four 12,000-sample channels, 900 peaks and qualities, as an ABI 3730 gives.
void FillTraces(TDataProj& p, int reads, std::uint32_t seed) {
  p.NewDataset();
  TDataSeq& ds = *p.DatasetAt(0);
  for (int i = 0; i < reads; ++i) {
    auto s = std::make_unique<TSeq>("read" + std::to_string(i), std::string(900, 'A'));
    for (auto* ch : {&s->traceA, &s->traceC, &s->traceG, &s->traceT}) {
      ch->resize(12000);
      for (auto& v : *ch) v = static_cast<std::uint16_t>(Next(seed) % 1500);
    }
    for (int k = 0; k < 900; ++k) {
      s->peakPos.push_back(10 + 13 * k);
      s->quality.push_back(static_cast<std::uint8_t>(Next(seed) % 60));
    }
    (void)ds.AddSeq(s, false);
  }
}

void SaveAndReopen(benchmark::State& state, TDataProj& project) {
  std::string bytes, error;
  for (auto _ : state) {
    if (!BuildProjectFile(project, GridFileSettings{}, bytes, error)) state.SkipWithError(error.c_str());
    BenchServices svc;
    TDataProj back(svc.services);
    benchmark::DoNotOptimize(ReadProjectBytes(bytes, "bench.df", back, 0));
  }
  state.SetBytesProcessed(state.iterations() * 2 * static_cast<std::int64_t>(bytes.size()));
  state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}

void BM_SaveReopenLetters(benchmark::State& state) {
  BenchServices svc;
  svc.settings.maxSeqPerDataset = 1'000'000;
  TDataProj project(svc.services);
  FillLetters(project, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 7);
  SaveAndReopen(state, project);
}
BENCHMARK(BM_SaveReopenLetters)->Args({30000, 1000})->Unit(benchmark::kMillisecond);

void BM_SaveReopenTraces(benchmark::State& state) {
  BenchServices svc;
  TDataProj project(svc.services);
  FillTraces(project, static_cast<int>(state.range(0)), 11);
  SaveAndReopen(state, project);
}
BENCHMARK(BM_SaveReopenTraces)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_ReadAbi310(benchmark::State& state) {
  const std::string path =
      std::string(__FILE__).substr(0, std::string(__FILE__).rfind('/')) + "/../tests/data/310.ab1";
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  const std::string bytes = s.str();
  BenchServices svc;
  for (auto _ : state) benchmark::DoNotOptimize(ReadAbi(bytes, path, svc.services));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadAbi310)->Unit(benchmark::kMicrosecond);

}  // namespace
