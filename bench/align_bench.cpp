// SPDX-License-Identifier: GPL-3.0-or-later
// Pairwise alignment and the bookkeeping of the windowed MUSCLE alignment.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <random>
#include <string>

#include "BenchServices.h"
#include "alignment/AlnUnit.h"
#include "alignment/MuscleAlign.h"
#include "alignment/TreeAlign.h"
#include "model/Datasequnit.h"
#include "model/GenCodUnit.h"

namespace {

std::string RandomDna(std::mt19937& rng, std::size_t length) {
  std::string s(length, 'A');
  for (char& c : s) c = "ACGT"[rng() % 4];
  return s;
}

// A relative of s: `substitutions` and `indels` per thousand letters, indels of 1 to 4 letters.
std::string Relative(std::mt19937& rng, const std::string& s, unsigned substitutions,
                     unsigned indels) {
  std::string out;
  out.reserve(s.size() + s.size() / 50);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const unsigned r = rng() % 1000;
    if (r < substitutions) {
      out.push_back("ACGT"[(s[i] - 'A' + 1 + rng() % 3) % 4]);
    } else if (r < substitutions + indels / 2) {
      i += rng() % 4;  // deletion
    } else if (r < substitutions + indels) {
      out.push_back(s[i]);
      out += RandomDna(rng, 1 + rng() % 4);
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

double ChildCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Two ~N kb relatives of one ancestor: 5 % substitutions and short indels (fixed seed).
void BM_GlobalAlign(benchmark::State& state) {
  std::mt19937 rng(42);
  const std::string ancestor = RandomDna(rng, static_cast<std::size_t>(state.range(0)));
  const std::string a = Relative(rng, ancestor, 25, 4), b = Relative(rng, ancestor, 25, 4);
  const long before = PeakRssKb();
  for (auto _ : state) benchmark::DoNotOptimize(GlobalAlign(a, b).score);
  state.counters["cells/s"] =
      benchmark::Counter(static_cast<double>(a.size()) * static_cast<double>(b.size()),
                         benchmark::Counter::kIsIterationInvariantRate);
  state.counters["peak_rss_growth_MB"] = static_cast<double>(PeakRssKb() - before) / 1024.0;
}
BENCHMARK(BM_GlobalAlign)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Two 1 Mb relatives differing at 1 % of their letters (substitutions and a few indels).
void BM_AnchoredAlign(benchmark::State& state) {
  std::mt19937 rng(43);
  const std::string ancestor = RandomDna(rng, 1'000'000);
  const std::string a = Relative(rng, ancestor, 4, 1), b = Relative(rng, ancestor, 4, 1);
  for (auto _ : state) {
    std::string x = a, y = b;
    AnchoredAlign(x, y);
    benchmark::DoNotOptimize(x.size() + y.size());
  }
}
BENCHMARK(BM_AnchoredAlign)->Unit(benchmark::kMillisecond);

// 200 sequences of 100 kb (2 % substitutions from one ancestor) through 5,000-column windows,
// the stand-in aligner answering at once: what the alignment itself costs around MUSCLE.
void BM_MuscleAlignBookkeeping(benchmark::State& state) {
  ::setenv("NODRIX_STANDIN_MODE", "shift", 1);
  QuietMessages messages;
  NullProgress progress;
  AppSettings settings;
  TGenCode code("Universal");
  Services svc{messages, progress, settings, code};
  std::mt19937 rng(44);
  const std::string ancestor = RandomDna(rng, 100'000);
  TDataSeq source(svc);
  for (int k = 0; k < 200; ++k) {
    auto s = std::make_unique<TSeq>("s" + std::to_string(k), Relative(rng, ancestor, 20, 0));
    (void)source.AddSeq(s, false);
  }
  MuscleRun run;
  run.aligner.program = NODRIX_STANDIN_DIR "/muscle_standin";
  run.showProgress = false;
  const double childBefore = ChildCpuSeconds();
  for (auto _ : state) {
    state.PauseTiming();
    TDataSeq ds(svc);
    source.CopyTo(ds);
    state.ResumeTiming();
    if (MuscleAlign(ds, svc, run) != 0) state.SkipWithError("the stand-in aligner failed");
  }
  // The stand-in's own time, spent in its processes, is not in the CPU column.
  state.counters["standin_cpu_s"] =
      benchmark::Counter(ChildCpuSeconds() - childBefore, benchmark::Counter::kAvgIterations);
  ::unsetenv("NODRIX_STANDIN_MODE");
}
BENCHMARK(BM_MuscleAlignBookkeeping)->Unit(benchmark::kMillisecond)->UseRealTime();

// "Align..." on N relatives of one 1 kb ancestor (5 % substitutions, short indels): N (N - 1) / 2
// global alignments, the guide tree and N - 1 profile merges.
void BM_TreeGuidedAlign(benchmark::State& state) {
  BenchServices bench;
  std::mt19937 rng(45);
  const std::string ancestor = RandomDna(rng, 1000);
  TDataSeq source(bench.services);
  for (int k = 0; k < state.range(0); ++k) {
    auto s = std::make_unique<TSeq>("s" + std::to_string(k), Relative(rng, ancestor, 50, 8));
    (void)source.AddSeq(s, false);
  }
  for (auto _ : state) {
    state.PauseTiming();
    TDataSeq ds(bench.services);
    source.CopyTo(ds);
    state.ResumeTiming();
    if (TreeGuidedAlign(ds, bench.services, false) != 0) state.SkipWithError("no guide tree");
  }
}
BENCHMARK(BM_TreeGuidedAlign)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(1);

// 1,000 gap runs laid into two sets of 250 sequences of 10 kb.
void BM_GroupGaps(benchmark::State& state) {
  BenchServices bench;
  std::mt19937 rng(46);
  const std::string letters = RandomDna(rng, 10'000);
  TDataSeq source(bench.services);
  std::vector<int> rowsA, rowsB;
  for (int k = 1; k <= 500; ++k) {
    auto s = std::make_unique<TSeq>("s" + std::to_string(k), letters);
    (void)source.AddSeq(s, false);
    (k <= 250 ? rowsA : rowsB).push_back(k);
  }
  // 500 runs into each set, between stretches of facing letters.
  std::vector<int> list;
  for (int run = 0; run < 1000; ++run) {
    list.insert(list.end(), 8, 0);
    list.push_back(run % 2 == 0 ? 3 : -3);
  }
  for (auto _ : state) {
    state.PauseTiming();
    TDataSeq ds(bench.services);
    source.CopyTo(ds);
    state.ResumeTiming();
    GroupGaps(ds, list, rowsA, rowsB, false);
    benchmark::DoNotOptimize(ds.SeqAt(1)->Length());
  }
}
BENCHMARK(BM_GroupGaps)->Unit(benchmark::kMillisecond);

}  // namespace
