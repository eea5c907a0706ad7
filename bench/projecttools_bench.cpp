// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's project tools at the program's limits: concatenation of many loci, ambiguity
// resolution, and the SNP and coding-region reports.
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

#include "BenchServices.h"
#include "common/PlatformRandom.h"
#include "editor/AmbiguityResolution.h"
#include "editor/Concatenation.h"
#include "editor/RegionReports.h"
#include "model/DataProjUnit.h"

namespace {

std::string Name(const char* prefix, int i) {
  std::string n = prefix;
  n += std::to_string(i);
  return n;
}

std::string RandomLetters(PlatformRandom& rng, int length) {
  std::string s(static_cast<std::size_t>(length), 'A');
  for (char& c : s) c = "ACGT"[rng.NextInt(4)];
  return s;
}

void AddRow(TDataSeq& ds, std::string name, std::string letters, int individ) {
  auto s = std::make_unique<TSeq>();
  s->seqName = std::move(name);
  s->letters = std::move(letters);
  s->individId = individ;
  s->SyncLength();
  (void)ds.AddSeq(s, true);
}

// datasets loci of `length` letters, one sequence of each of `individs` individuals in each.
void BM_Concatenate(benchmark::State& state) {
  const int datasets = static_cast<int>(state.range(0));
  const int individs = static_cast<int>(state.range(1));
  const int length = 300;
  BenchServices svc;
  TDataProj project(svc.services);
  ConcatOptions options;
  for (int i = 0; i < individs; ++i) {
    TIndivid ind;
    ind.indName = Name("I", i);
    project.AddIndivid(ind);
    options.individuals.push_back(ind.indName);
  }
  PlatformRandom rng(3);
  const std::string letters = RandomLetters(rng, length);
  for (int d = 0; d < datasets; ++d) {
    project.NewDataset();
    TDataSeq& ds = *project.CurrentDataset();
    options.datasets.push_back(ds.dsName);
    for (int i = 0; i < individs; ++i)
      AddRow(ds, Name("s", i), letters, project.Individs()[static_cast<std::size_t>(i)].indKey);
  }
  for (auto _ : state) benchmark::DoNotOptimize(ConcatenateDatasets(project, options));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(datasets) * individs *
                          length);
}
BENCHMARK(BM_Concatenate)->Args({1000, 200})->Unit(benchmark::kMillisecond);

// Diploid sequences with one ambiguity letter in a hundred.
void BM_ResolveAmbiguities(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  const int length = static_cast<int>(state.range(1));
  BenchServices svc;
  TDataSeq ds(svc.services);
  PlatformRandom rng(5);
  for (int r = 0; r < rows; ++r) {
    std::string letters = RandomLetters(rng, length);
    for (int i = 0; i < length / 100; ++i)
      letters[static_cast<std::size_t>(rng.NextInt(length))] = "RYKMSW"[rng.NextInt(6)];
    AddRow(ds, Name("s", r), std::move(letters), -1);
    ds.SeqAt(ds.Count())->ploidy = 2;
  }
  for (auto _ : state) {
    std::string error;
    benchmark::DoNotOptimize(ResolveAmbiguities(ds, true, rng, error));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(rows) * length);
}
BENCHMARK(BM_ResolveAmbiguities)->Args({10000, 5000})->Unit(benchmark::kMillisecond);

// rows x columns, every 50th column variable, the report written to /dev/null.
void BM_SnpReport(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  const int columns = static_cast<int>(state.range(1));
  BenchServices svc;
  TDataProj project(svc.services);
  project.NewDataset();
  TDataSeq& ds = *project.CurrentDataset();
  PlatformRandom rng(9);
  const std::string base = RandomLetters(rng, columns);
  for (int r = 0; r < rows; ++r) {
    std::string letters = base;
    for (int c = 0; c < columns; c += 50)
      if (rng.NextInt(4) == 0) letters[static_cast<std::size_t>(c)] = "ACGT"[rng.NextInt(4)];
    AddRow(ds, Name("s", r), std::move(letters), -1);
  }
  std::ofstream sink("/dev/null");
  for (auto _ : state) benchmark::DoNotOptimize(WriteSnpReport(project, sink));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(rows) * columns);
}
BENCHMARK(BM_SnpReport)->Args({30000, 5000})->Unit(benchmark::kMillisecond);

// Sequences of 1,500 letters with five CDS regions each.
void BM_CodingRegionsReport(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  BenchServices svc;
  TDataProj project(svc.services);
  project.NewDataset();
  TDataSeq& ds = *project.CurrentDataset();
  PlatformRandom rng(11);
  for (int r = 0; r < rows; ++r) {
    AddRow(ds, Name("s", r), RandomLetters(rng, 1500), -1);
    for (int k = 0; k < 5; ++k) {
      TRegion cds;
      cds.regType = kRegCds;
      cds.regStart = k * 300 + 1;
      cds.regEnd = k * 300 + 300;
      cds.codonPos = 1;
      ds.SeqAt(ds.Count())->AddRegion(cds);
    }
  }
  for (auto _ : state)
    benchmark::DoNotOptimize(CodingRegionsReport(project, "bench", svc.progress));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(rows) * 5);
}
BENCHMARK(BM_CodingRegionsReport)->Arg(30000)->Unit(benchmark::kMillisecond);

}  // namespace
