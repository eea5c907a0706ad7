// SPDX-License-Identifier: GPL-3.0-or-later
// The population-genetics writers on 30,000 sequences of 5,000 columns in two groups and an
// outgroup, Arlequin's Mantel matrix on 2,000 sequences, and the ms reader on scrm-like output
// of 10,000 replicates of 50 sequences.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "BenchServices.h"
#include "io/Dispatcher.h"
#include "io/PopGenFormats.h"
#include "model/DataProjUnit.h"

namespace {

std::uint32_t Step(std::uint32_t& s) {
  s = s * 134775813u + 1u;
  return s >> 16;
}

// Rows share one random haplotype background; every 10th column varies (about 500 sites).
void FillProject(TDataProj& proj, int rows, int columns) {
  TGroup a, b;
  a.grpName = "A";
  b.grpName = "B";
  const int ka = proj.AddGroup(a), kb = proj.AddGroup(b);
  TIndivid out;
  out.indName = "O";
  out.indGroup = kOutgroupKey;
  const int ko = proj.AddIndivid(out);
  std::uint32_t s = 7;
  std::string base(static_cast<std::size_t>(columns), 'A');
  for (char& c : base) c = "ACGT"[Step(s) & 3];
  proj.NewDataset();
  TDataSeq& ds = *proj.CurrentDataset();
  for (int r = 0; r < rows; ++r) {
    std::string letters = base;
    for (int c = 0; c < columns; c += 10)
      if ((Step(s) & 7) == 0) letters[static_cast<std::size_t>(c)] = "ACGT"[Step(s) & 3];
    TIndivid ind;
    ind.indName = "i" + std::to_string(r);
    ind.indGroup = r % 2 == 0 ? ka : kb;
    auto seq = std::make_unique<TSeq>("s" + std::to_string(r), letters);
    seq->individId = r == 0 ? ko : proj.AddIndivid(ind);
    (void)ds.AddSeq(seq, false);
  }
}

struct Big {
  BenchServices svc;
  TDataProj proj{svc.services};
  Big(int rows, int columns) {
    svc.settings.maxSeqPerDataset = rows;
    FillProject(proj, rows, columns);
  }
};

Big& Large() {
  static Big big(30000, 5000);
  return big;
}

void BM_MsStyle(benchmark::State& state) {
  Big& b = Large();
  for (auto _ : state) benchmark::DoNotOptimize(MsStyleText(*b.proj.DatasetAt(0), true, 1));
}
BENCHMARK(BM_MsStyle)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_FastPhaseInput(benchmark::State& state) {
  Big& b = Large();
  std::string refusal;
  for (auto _ : state) benchmark::DoNotOptimize(FastPhaseInputText(*b.proj.DatasetAt(0), refusal));
}
BENCHMARK(BM_FastPhaseInput)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_BayeScan(benchmark::State& state) {
  Big& b = Large();
  for (auto _ : state) benchmark::DoNotOptimize(BayeScanText(b.proj, b.svc.services));
}
BENCHMARK(BM_BayeScan)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Hka(benchmark::State& state) {
  Big& b = Large();
  for (auto _ : state)
    benchmark::DoNotOptimize(HkaFiles("/tmp/x.hka", b.proj, {true, false}, b.svc.services, 1));
}
BENCHMARK(BM_Hka)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ArlequinMantel2000(benchmark::State& state) {
  static Big mantel(2000, 5000);
  if (mantel.proj.IndividAt(1)->attributes.empty())
    for (int i = 0; i < mantel.proj.IndividCount(); ++i)
      mantel.proj.IndividAt(i)->attributes.push_back({"Alt", std::to_string(i), 0, 0.0});
  for (auto _ : state) benchmark::DoNotOptimize(ArlequinText(mantel.proj, 0));
}
BENCHMARK(BM_ArlequinMantel2000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_OpenMsOutput(benchmark::State& state) {
  const std::string path = (std::filesystem::temp_directory_path() / "nodrix_bench_ms.ms").string();
  {
    std::ofstream f(path, std::ios::binary);
    std::uint32_t s = 11;
    f << "scrm 50 10000 -t 10\n1 2 3\n";
    for (int r = 0; r < 10000; ++r) {
      f << "\n//\nsegsites: 30\npositions:";
      for (int k = 1; k <= 30; ++k) f << " " << (k * 0.03);
      f << "\n";
      for (int n = 0; n < 50; ++n) {
        for (int k = 0; k < 30; ++k) f << ((Step(s) & 1) ? '1' : '0');
        f << "\n";
      }
    }
  }
  for (auto _ : state) {
    BenchServices svc;
    auto proj = std::make_unique<TDataProj>(svc.services);
    OpenWindow window(*proj);
    benchmark::DoNotOptimize(OpenMsOutput(path, window, svc.services));
    // Freeing 10,000 datasets is not part of reading them.
    state.PauseTiming();
    proj.reset();
    state.ResumeTiming();
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_OpenMsOutput)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
