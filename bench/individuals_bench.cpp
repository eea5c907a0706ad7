// SPDX-License-Identifier: GPL-3.0-or-later
// Autolink of 30,000 sequences in 10 datasets against 10,000 individuals, and the project
// reports over the same project.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "common/Services.h"
#include "editor/IndividualsCommands.h"
#include "editor/ProjectReports.h"
#include "model/DataProjUnit.h"
#include "model/GenCodUnit.h"

namespace {
struct BenchServices {
  QuietMessages messages;
  NullProgress progress;
  AppSettings settings;
  TGenCode genCode{"Universal"};
  Services services{messages, progress, settings, genCode};
};

// Individuals "Ind0001".."Ind10000"; sequence k of dataset d is "Ind<k % 10000>_L<d>", so each
// sequence name holds its individual's name (and, for short numbers, no other).
std::unique_ptr<TDataProj> BigProject(Services& services) {
  auto p = std::make_unique<TDataProj>(services);
  for (int i = 1; i <= 10000; ++i) {
    TIndivid ind;
    ind.indName = "Ind" +
                  std::string(i < 10     ? "000"
                              : i < 100  ? "00"
                              : i < 1000 ? "0"
                                         : "") +
                  std::to_string(i);
    p->AddIndivid(ind);
  }
  for (int d = 0; d < 10; ++d) {
    p->NewDataset();
    TDataSeq& ds = *p->CurrentDataset();
    for (int k = 0; k < 3000; ++k) {
      auto s = std::make_unique<TSeq>();
      s->seqName = p->IndividName((d * 3000 + k) % 10000) + "_L" + std::to_string(d);
      s->letters = "ACGTACGTAC";
      s->SyncLength();
      benchmark::DoNotOptimize(ds.AddSeq(s, false));
    }
  }
  return p;
}

void BM_Autolink(benchmark::State& state) {
  BenchServices svc;
  auto p = BigProject(svc.services);
  for (auto _ : state) benchmark::DoNotOptimize(AutolinkNames(*p));
  state.SetItemsProcessed(state.iterations() * p->TotalSeqCount());
}

void BM_SequencesReport(benchmark::State& state) {
  BenchServices svc;
  auto p = BigProject(svc.services);
  AutolinkNames(*p);
  for (auto _ : state) benchmark::DoNotOptimize(SequencesReport(*p, "bench"));
}
}  // namespace

BENCHMARK(BM_Autolink)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SequencesReport)->Unit(benchmark::kMillisecond);
