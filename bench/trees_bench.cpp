// SPDX-License-Identifier: GPL-3.0-or-later
// Distances and neighbour-joining for 500 and 2,000 sequences of 1 kb.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "analysis/MutUnit.h"
#include "common/Services.h"
#include "model/DataProjUnit.h"
#include "model/GenCodUnit.h"
#include "trees/NJTreeAnalysis.h"
#include "trees/NJTreeUnit.h"

namespace {

// Sequences related by a random genealogy: each new sequence copies an earlier one and
// changes about 2% of its sites, twice as often by transitions as by transversions; a few
// sites are gaps or N, as in real alignments.
std::vector<std::string> SyntheticAlignment(int count, int length, unsigned seed) {
  std::mt19937 rng(seed);
  const std::string bases = "ACGT";
  std::vector<std::string> seqs;
  std::string root(static_cast<std::size_t>(length), 'A');
  for (char& c : root) c = bases[rng() % 4];
  seqs.push_back(root);
  while (static_cast<int>(seqs.size()) < count) {
    std::string s = seqs[rng() % seqs.size()];
    for (char& c : s) {
      const unsigned r = rng() % 1000;
      if (r < 13) {
        c = c == 'A' ? 'G' : c == 'G' ? 'A' : c == 'C' ? 'T' : c == 'T' ? 'C' : c;
      } else if (r < 20) {
        c = (c == 'A' || c == 'G') ? "CT"[rng() % 2] : "AG"[rng() % 2];
      } else if (r == 20) {
        c = rng() % 2 ? '-' : 'N';
      }
    }
    seqs.push_back(std::move(s));
  }
  return seqs;
}

std::vector<std::string> Names(int n) {
  std::vector<std::string> names;
  for (int i = 0; i < n; ++i) names.push_back("seq" + std::to_string(i));
  return names;
}

void BM_KimuraDistances(benchmark::State& state) {
  const auto seqs = SyntheticAlignment(static_cast<int>(state.range(0)), 1000, 7);
  for (auto _ : state) {
    DistanceMatrix m;
    benchmark::DoNotOptimize(ComputeDistances(seqs, DistanceModel::Kimura2P, m));
  }
  const double n = static_cast<double>(state.range(0));
  state.counters["pairs/s"] = benchmark::Counter(
      n * (n - 1) / 2 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_JukesCantorDistances(benchmark::State& state) {
  const auto seqs = SyntheticAlignment(static_cast<int>(state.range(0)), 1000, 7);
  for (auto _ : state) {
    DistanceMatrix m;
    benchmark::DoNotOptimize(ComputeDistances(seqs, DistanceModel::JukesCantor, m));
  }
}

void BM_NeighborJoin(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  DistanceMatrix m;
  ComputeDistances(SyntheticAlignment(n, 1000, 7), DistanceModel::Kimura2P, m);
  const auto names = Names(n);
  for (auto _ : state) {
    TTree tree;
    tree.LeavesFromNames(names);
    benchmark::DoNotOptimize(NeighborJoin(tree, m));
  }
}

// What a user waits for: Kimura distances and the tree, from the letters.
void BM_KimuraAndNeighborJoin(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto seqs = SyntheticAlignment(n, 1000, 7);
  const auto names = Names(n);
  for (auto _ : state) {
    DistanceMatrix m;
    ComputeDistances(seqs, DistanceModel::Kimura2P, m);
    TTree tree;
    tree.LeavesFromNames(names);
    benchmark::DoNotOptimize(NeighborJoin(tree, m));
  }
}

struct QuietProject {
  QuietMessages messages;
  NullProgress progress;
  AppSettings settings;
  TGenCode code{"Universal"};
  Services services{messages, progress, settings, code};
  TDataProj project{services};
  explicit QuietProject(const std::vector<std::string>& seqs) {
    TDataSeq* ds = project.DatasetAt(0);
    for (std::size_t i = 0; i < seqs.size(); ++i) {
      auto s = std::make_unique<TSeq>("seq" + std::to_string(i), seqs[i]);
      (void)ds->AddSeq(s, true);
    }
    InitAnalysisSelection(project);
  }
};

// The distances of the dialog alone: Kimura from the scanned mutation table, where nearly every
// column of this alignment holds three or four letters.
void BM_TableKimuraDistances(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  QuietProject q(SyntheticAlignment(n, 1000, 7));
  TDataSeq& ds = *q.project.DatasetAt(0);
  AnalysisOptions options;
  (void)UpdateMuts(ds, options, &q.project, {}, ScanChoices{});
  std::vector<int> rows(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) rows[static_cast<std::size_t>(i)] = i;
  for (auto _ : state) {
    const DistanceMatrix m =
        TableDistances(*ds.mutHolders[0], rows, DistanceModel::Kimura2P, kSiteAll, kMutAll);
    benchmark::DoNotOptimize(m.d.data());
  }
}

// What the neighbour-joining dialog does: scan the dataset into its mutation table, Kimura
// distances from the table, the tree and the report.
void BM_NJDialogRun(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  QuietProject q(SyntheticAlignment(n, 1000, 7));
  TDataProj& project = q.project;
  Services& services = q.services;
  FrameOptions frame;
  NJTreeOptions options;
  options.model = DistanceModel::Kimura2P;
  for (auto _ : state) {
    const NJRunOutput out = RunNJ(project, frame, options, services, 1);
    benchmark::DoNotOptimize(out.trees.size());
  }
}

}  // namespace

BENCHMARK(BM_NJDialogRun)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableKimuraDistances)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KimuraDistances)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JukesCantorDistances)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NeighborJoin)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KimuraAndNeighborJoin)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
