// SPDX-License-Identifier: GPL-3.0-or-later
// Datasets and projects at the program's limits: filling, deleting, gap-column removal, the
// undo snapshot, adding datasets, concatenating loci and merging projects.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <string>

#include "common/PlatformRandom.h"
#include "common/Services.h"
#include "model/DataProjUnit.h"
#include "model/Datasequnit.h"
#include "model/GenCodUnit.h"

namespace {

struct QuietServices {
  QuietMessages messages;
  NullProgress progress;
  AppSettings settings;
  TGenCode genCode{"Universal"};
  Services services{messages, progress, settings, genCode};
};

// Built by appending: GCC 12 warns falsely on a literal + std::to_string at -O2.
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

std::unique_ptr<TSeq> Seq(std::string name, std::string letters, int individ = -1) {
  auto s = std::make_unique<TSeq>();
  s->seqName = std::move(name);
  s->letters = std::move(letters);
  s->individId = individ;
  s->SyncLength();
  return s;
}

// Bytes the allocator has handed out and not taken back (glibc), so a snapshot's size shows
// even when freed memory from an earlier run is reused.
long long HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<long long>(info.uordblks + info.hblkhd);
}

void BM_AddSeq(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const bool sameName = state.range(1) != 0;
  QuietServices svc;
  std::vector<std::string> names;
  for (int i = 0; i < n; ++i) names.push_back(sameName ? "read" : Name("seq", i));
  std::vector<std::unique_ptr<TSeq>> input;
  for (auto _ : state) {
    // Building the records and freeing the dataset are not what is measured.
    state.PauseTiming();
    input.clear();
    for (int i = 0; i < n; ++i) input.push_back(Seq(names[static_cast<std::size_t>(i)], "ACGT"));
    auto ds = std::make_unique<TDataSeq>(svc.services);
    state.ResumeTiming();
    for (int i = 0; i < n; ++i)
      benchmark::DoNotOptimize(ds->AddSeq(input[static_cast<std::size_t>(i)], true));
    state.PauseTiming();
    ds.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(n);
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AddSeq)
    ->ArgsProduct({{3750, 7500, 15000, 30000}, {0, 1}})
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_DeleteSeqsHalf(benchmark::State& state) {
  QuietServices svc;
  PlatformRandom rng(3);
  TDataSeq source(svc.services);
  for (int i = 0; i < 30000; ++i) {
    auto s = Seq(Name("seq", i), RandomLetters(rng, 100));
    (void)source.AddSeq(s, true);
  }
  std::vector<int> rows;
  for (int r = 1; r <= 30000; r += 2) rows.push_back(r);
  for (auto _ : state) {
    state.PauseTiming();
    TDataSeq ds(svc.services);
    source.CopyTo(ds);
    state.ResumeTiming();
    ds.DeleteSeqs(rows);
    benchmark::DoNotOptimize(ds.RowByName("seq2"));
  }
}
BENCHMARK(BM_DeleteSeqsHalf)->Unit(benchmark::kMillisecond);

void BM_DeleteSeqOneByOne(benchmark::State& state) {
  QuietServices svc;
  TDataSeq source(svc.services);
  for (int i = 0; i < 30000; ++i) {
    auto s = Seq(Name("seq", i), "ACGT");
    (void)source.AddSeq(s, true);
  }
  for (auto _ : state) {
    state.PauseTiming();
    TDataSeq ds(svc.services);
    source.CopyTo(ds);
    state.ResumeTiming();
    for (int k = 0; k < 1000; ++k) ds.DeleteSeq(1 + k * 20);
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_DeleteSeqOneByOne)->Unit(benchmark::kMillisecond);

// 30000 rows x 5000 columns with every tenth column a gap in all rows: 500 runs to remove.
void BM_RemoveSharedGapColumns(benchmark::State& state) {
  QuietServices svc;
  PlatformRandom rng(5);
  TDataSeq source(svc.services);
  const int rows = static_cast<int>(state.range(0));
  for (int i = 0; i < rows; ++i) {
    std::string letters = RandomLetters(rng, 5000);
    for (std::size_t c = 9; c < letters.size(); c += 10) letters[c] = '-';
    auto s = Seq(Name("seq", i), std::move(letters));
    s->quality.assign(5000, 30);
    (void)source.AddSeq(s, true);
  }
  for (auto _ : state) {
    state.PauseTiming();
    TDataSeq ds(svc.services);
    source.CopyTo(ds);
    state.ResumeTiming();
    benchmark::DoNotOptimize(ds.RemoveSharedGapColumns());
  }
  state.SetBytesProcessed(state.iterations() * rows * 5000LL);
}
BENCHMARK(BM_RemoveSharedGapColumns)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);

void BM_SaveUndo(benchmark::State& state) {
  QuietServices svc;
  PlatformRandom rng(7);
  TDataSeq ds(svc.services);
  for (int i = 0; i < 30000; ++i) {
    auto s = Seq(Name("seq", i), RandomLetters(rng, 1000));
    (void)ds.AddSeq(s, true);
  }
  const long long before = HeapInUse();
  ds.SaveUndo();
  const long long after = HeapInUse();
  for (auto _ : state) ds.SaveUndo();
  state.counters["snapshotMB"] = static_cast<double>(after - before) / 1e6;
  state.SetBytesProcessed(state.iterations() * 30000LL * 1000);
}
BENCHMARK(BM_SaveUndo)->Unit(benchmark::kMillisecond);

void BM_NewDataset(benchmark::State& state) {
  QuietServices svc;
  for (auto _ : state) {
    TDataProj proj(svc.services);
    for (int i = 0; i < 10000; ++i) benchmark::DoNotOptimize(proj.NewDataset());
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_NewDataset)->Unit(benchmark::kMillisecond);

// 1000 datasets x 200 individuals, 300 letters each.
void BM_ConcatDataSeq(benchmark::State& state) {
  QuietServices svc;
  PlatformRandom rng(9);
  TDataProj proj(svc.services);
  std::vector<int> keys;
  for (int i = 0; i < 200; ++i) {
    TIndivid ind;
    ind.indName = Name("ind", i);
    keys.push_back(proj.AddIndivid(ind));
  }
  const std::string letters = RandomLetters(rng, 300);
  for (int d = 0; d < 1000; ++d) {
    proj.NewDataset();
    TDataSeq& ds = *proj.DatasetAt(-1);
    for (int i = 0; i < 200; ++i) {
      auto s = Seq(Name("s", i), letters, keys[static_cast<std::size_t>(i)]);
      (void)ds.AddSeq(s, true);
    }
  }
  for (auto _ : state) benchmark::DoNotOptimize(proj.ConcatDataSeq());
  state.SetItemsProcessed(state.iterations() * 200000);
}
BENCHMARK(BM_ConcatDataSeq)->Unit(benchmark::kMillisecond);

// 10000 incoming individuals whose keys and names all collide, each with a sequence.
void BM_MergeProject(benchmark::State& state) {
  QuietServices svc;
  auto build = [&](TDataProj& p) {
    p.NewDataset();
    TDataSeq& ds = *p.DatasetAt(-1);
    for (int i = 1; i <= 10000; ++i) {
      TIndivid ind;
      ind.indName = Name("ind", i);
      ind.indKey = i;
      (void)p.AddIndivid(ind);
      auto s = Seq(Name("s", i), "ACGTACGT", i);
      (void)ds.AddSeq(s, true);
    }
  };
  for (auto _ : state) {
    state.PauseTiming();
    TDataProj here(svc.services), incoming(svc.services);
    build(here);
    build(incoming);
    state.ResumeTiming();
    here.MergeProject(incoming, false);
    benchmark::DoNotOptimize(here.IndividCount());
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_MergeProject)->Unit(benchmark::kMillisecond);

}  // namespace
