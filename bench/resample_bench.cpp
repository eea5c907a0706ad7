// SPDX-License-Identifier: GPL-3.0-or-later
// The site filter, bootstrap replicates and sub-samples at the program's limits.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <memory>
#include <string>

#include "BenchServices.h"
#include "analysis/FilterSitesUnit.h"
#include "analysis/MutHold.h"
#include "analysis/MutUnit.h"
#include "analysis/SamplingFormUnit.h"
#include "common/PlatformRandom.h"
#include "editor/BootstrapCopies.h"
#include "model/DataProjUnit.h"

namespace {

// rows x columns of random letters, the whole row one CDS from codon position 1.
void FillDataset(TDataSeq& ds, int rows, int columns, bool coding, PlatformRandom& rng) {
  std::string base(static_cast<std::size_t>(columns), 'A');
  for (char& c : base) c = "ACGT"[rng.NextInt(4)];
  for (int r = 0; r < rows; ++r) {
    auto s = std::make_unique<TSeq>();
    s->seqName = "s" + std::to_string(r);
    s->letters = base;
    // A few differences per row, so the columns vary without changing every codon.
    for (int k = 0; k < 4; ++k)
      s->letters[static_cast<std::size_t>(rng.NextInt(columns))] = "ACGT"[rng.NextInt(4)];
    if (coding) {
      TRegion cds;
      cds.regStart = 1;
      cds.regEnd = columns;
      cds.regType = kRegCds;
      cds.codonPos = 1;
      s->regions.push_back(cds);
    }
    s->SyncLength();
    (void)ds.AddSeq(s, false);
  }
}

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The simple-mode scan alone, to tell the filter's own share from the scan's.
void BM_SimpleScanThirdPositions(benchmark::State& state) {
  BenchServices svc;
  TDataProj project(svc.services);
  PlatformRandom rng(1);
  FillDataset(*project.DatasetAt(0), static_cast<int>(state.range(0)),
              static_cast<int>(state.range(1)), true, rng);
  AnalysisOptions scan;
  scan.siteFlags = kSiteThird;
  ScanChoices choices;
  choices.simple = true;
  choices.includeOutgroupsInSample = true;
  choices.multiDifferenceCodons = false;
  for (auto _ : state)
    benchmark::DoNotOptimize(UpdateMuts(*project.DatasetAt(0), scan, &project, {0}, choices, &rng));
}
BENCHMARK(BM_SimpleScanThirdPositions)->Args({30000, 5000})->Unit(benchmark::kMillisecond);

void BM_FilteredCopyThirdPositions(benchmark::State& state) {
  BenchServices svc;
  TDataProj project(svc.services);
  PlatformRandom rng(1);
  FillDataset(*project.DatasetAt(0), static_cast<int>(state.range(0)),
              static_cast<int>(state.range(1)), true, rng);
  for (auto _ : state) {
    auto copy = FilteredCopy(*project.DatasetAt(0), 1, 0, &project, {0}, true, kSiteThird, 1, 0);
    benchmark::DoNotOptimize(copy->Count());
  }
}
BENCHMARK(BM_FilteredCopyThirdPositions)->Args({30000, 5000})->Unit(benchmark::kMillisecond);

// The replicates are the result, so memory grows with them: the peak is reported.
void BM_BootstrapReplicates(benchmark::State& state) {
  BenchServices svc;
  TDataProj project(svc.services);
  PlatformRandom rng(1);
  FillDataset(*project.DatasetAt(0), 1000, 5000, true, rng);
  const bool codons = state.range(0) != 0;
  for (auto _ : state) {
    auto replicates = BootstrapCurDseq(*project.DatasetAt(0), 100, codons, rng, svc.services);
    benchmark::DoNotOptimize(replicates->DatasetCount());
  }
  state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_BootstrapReplicates)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Subsamples(benchmark::State& state) {
  BenchServices svc;
  TDataProj project(svc.services);
  PlatformRandom rng(1);
  for (int d = 0; d < 100; ++d) {
    project.NewDataset();
    FillDataset(*project.CurrentDataset(), 50, 500, false, rng);
    project.CurrentDataset()->Select(-1);
  }
  SamplingOptions o;  // 100 sub-samples of 5 from each dataset
  for (auto _ : state) benchmark::DoNotOptimize(RunSampling(project, o, svc.services).windows);
}
BENCHMARK(BM_Subsamples)->Unit(benchmark::kMillisecond);

}  // namespace
