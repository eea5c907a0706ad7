// SPDX-License-Identifier: GPL-3.0-or-later
// The whole DNA polymorphism report at the program's limits: a 30,000 x 5,000 FASTA file with
// two populations and an outgroup, read and analysed as nodrix3-cli polymorphism does, with
// and without 1,000 sliding windows.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "analysis/DNApolDbox.h"
#include "common/PlatformRandom.h"
#include "common/Services.h"
#include "io/Dispatcher.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"
#include "model/GenCodUnit.h"

namespace {

constexpr int kSeqs = 30000;
constexpr int kLength = 5000;
constexpr int kSnps = 2000;       // segregating columns
constexpr int kHaplotypes = 400;  // distinct rows the sample is drawn from

struct QuietServices {
  QuietMessages messages;
  NullProgress progress;
  AppSettings settings;
  TGenCode genCode{"Universal"};
  Services services{messages, progress, settings, genCode};
};

const std::string& InputFile() {
  static const std::string path = [] {
    const std::string p = "/tmp/nodrix_polym_bench.fas";
    PlatformRandom rng(20260101);
    const char bases[] = "ACGT";
    std::string ref(kLength, 'A');
    for (char& c : ref) c = bases[rng.Next() % 4];
    std::vector<int> snpCols;
    for (int k = 0; k < kSnps; ++k) snpCols.push_back(static_cast<int>(rng.Next() % kLength));
    std::vector<std::string> haps(kHaplotypes, ref);
    for (auto& h : haps)
      for (int c : snpCols)
        if (rng.Next() % 5 == 0)
          h[static_cast<std::size_t>(c)] = ref[static_cast<std::size_t>(c)] == 'A' ? 'G' : 'A';
    std::ofstream out(p, std::ios::binary);
    for (int i = 0; i < kSeqs; ++i) {
      std::string name = ">s";
      name += std::to_string(i + 1);
      out << name << '\n' << haps[rng.Next() % kHaplotypes] << '\n';
    }
    return p;
  }();
  return path;
}

void ReadAndRun(benchmark::State& state, bool windows) {
  const std::string& file = InputFile();
  for (auto _ : state) {
    QuietServices q;
    TDataProj project(q.services);
    OpenWindow window(project);
    window.caption = FileNameOnly(file);
    int code = 0;
    OpenDetected(file, window, q.services, code);
    for (const char* g : {"north", "south"}) {
      TGroup group;
      group.grpName = g;
      project.AddGroup(group);
    }
    TDataSeq& ds = *project.DatasetAt(0);
    const int north = project.GroupKeyByName("north"), south = project.GroupKeyByName("south");
    for (int r = 1; r <= ds.Count(); ++r) {
      TIndivid ind;
      ind.indName = ds.NameAt(r);
      ind.indGroup = r == 1 ? kOutgroupKey : (r % 2 == 0 ? north : south);
      ds.SeqAt(r)->individId = project.AddIndivid(ind);
    }
    InitAnalysisSelection(project);
    FrameOptions fo;
    fo.repWin = true;
    fo.ogDiv = true;
    DNApolymOptions po;
    if (windows) {
      fo.doSW = true;
      // Windows of three columns five apart: starts 1, 6, ..., 4996, so 1,000 windows.
      fo.swSize = 3;
      fo.swStep = 5;
      po.swPi = po.swTheta = po.swS = true;
    }
    AnalysisOutput out = RunDNApolym(project, fo, po, q.services);
    benchmark::DoNotOptimize(out.report.data());
    if (windows)
      state.counters["windows"] =
          static_cast<double>(out.series.empty() ? 0 : out.series[0].points.size());
  }
}

void BM_PolymorphismReport(benchmark::State& state) {
  ReadAndRun(state, false);
}
void BM_PolymorphismReportWindows(benchmark::State& state) {
  ReadAndRun(state, true);
}

BENCHMARK(BM_PolymorphismReport)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_PolymorphismReportWindows)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
