// SPDX-License-Identifier: GPL-3.0-or-later
// The site scan at the program's limits: UpdateMuts on 30000 sequences x 5000 columns (two
// groups and an outgroup, with and without coding regions), and the counts on a table of 20000
// mutations x 30000 sequences. Peak memory is reported next to the alignment's size.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <memory>
#include <random>
#include <string>

#include "BenchServices.h"
#include "analysis/MutUnit.h"
#include "common/PlatformRandom.h"
#include "model/DataProjUnit.h"
#include "model/GenCodUnit.h"

namespace {

constexpr int kRows = 30000;
constexpr int kColumns = 5000;

double PeakRssMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// A population sample: one reference, 1 column in 20 polymorphic with a derived letter at a
// random frequency, a sprinkle of N, and gaps in 1% of the columns. Rows 1..15000 form group P1,
// the rest but the last P2, the last row is the outgroup.
struct BigProject {
  BenchServices svc;
  TDataProj proj{svc.services};
  TDataSeq* ds = nullptr;
  std::vector<int> groups;
  double alignmentMb = 0;

  explicit BigProject(bool cds) {
    std::mt19937_64 gen(7);
    static constexpr char kBases[] = "ACGT";
    std::string ref(kColumns, 'A');
    for (char& c : ref) c = kBases[gen() & 3];
    std::vector<std::string> rows(kRows, ref);
    for (int c = 0; c < kColumns; ++c) {
      if (gen() % 20 != 0) continue;
      const char derived =
          kBases[(std::string("ACGT").find(ref[static_cast<std::size_t>(c)]) + 1 + gen() % 3) & 3];
      const double freq = static_cast<double>(gen() % 1000) / 1000.0;
      for (auto& r : rows)
        if (static_cast<double>(gen() % 1000) / 1000.0 < freq)
          r[static_cast<std::size_t>(c)] = derived;
    }
    for (int k = 0; k < kRows; ++k) rows[gen() % kRows][gen() % kColumns] = 'N';
    for (int c = 0; c < kColumns; c += 100)  // short indels in 1% of the columns
      for (int k = 0; k < 20; ++k) rows[gen() % kRows][static_cast<std::size_t>(c)] = '-';
    ds = proj.DatasetAt(0);
    TGroup g1, g2;
    g1.grpName = "P1";
    g2.grpName = "P2";
    groups = {proj.AddGroup(g1), proj.AddGroup(g2)};
    for (int r = 0; r < kRows; ++r) {
      auto s = std::make_unique<TSeq>("s" + std::to_string(r + 1),
                                      std::move(rows[static_cast<std::size_t>(r)]));
      TIndivid ind;
      ind.indName = "i" + std::to_string(r + 1);
      ind.indGroup = r == kRows - 1 ? kOutgroupKey : groups[r < kRows / 2 ? 0 : 1];
      s->individId = proj.AddIndivid(ind);
      s->groupNum = ind.indGroup;
      if (cds) s->AddSimpleRegion(1, kColumns, "", "CDS", kRegCds, 1);
      (void)ds->AddSeq(s, false);
    }
    alignmentMb = static_cast<double>(kRows) * kColumns / (1024.0 * 1024.0);
  }
};

void RunUpdateMuts(benchmark::State& state, bool cds) {
  BigProject p(cds);
  const double before = PeakRssMb();
  AnalysisOptions opt;
  opt.useRegions = cds;
  PlatformRandom rng(1);
  std::size_t mutations = 0;
  for (auto _ : state) {
    UpdateMuts(*p.ds, opt, &p.proj, p.groups, ScanChoices{}, &rng);
    mutations = p.ds->mutHolders[0]->mutations.size();
    benchmark::DoNotOptimize(mutations);
  }
  state.counters["mutations"] = static_cast<double>(mutations);
  state.counters["alignment_MB"] = p.alignmentMb;
  state.counters["rss_after_load_MB"] = before;
  state.counters["peak_rss_MB"] = PeakRssMb();
  state.counters["tables"] =
      static_cast<double>(p.ds->mutHolders.size() + p.ds->groupMutHolders.size());
}

void BM_UpdateMutsNoRegions(benchmark::State& state) {
  RunUpdateMuts(state, false);
}
void BM_UpdateMutsCds(benchmark::State& state) {
  RunUpdateMuts(state, true);
}
BENCHMARK(BM_UpdateMutsNoRegions)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_UpdateMutsCds)->Unit(benchmark::kMillisecond)->Iterations(3);

// 20000 mutations x 30000 sequences with carrier frequencies spread over 0..1 and a limited
// number of distinct haplotypes (rows copy one of 2000 founders), as in a real sample.
struct BigTable {
  tmutholder table;
  samptype all{kRows};
  BigTable() {
    constexpr int kMutations = 20000, kFounders = 2000;
    std::mt19937_64 gen(11);
    std::vector<int> founder(kRows);
    for (int& f : founder) f = static_cast<int>(gen() % kFounders);
    for (int s = 0; s < kRows; ++s) all.Set(s);
    table.mutations.resize(kMutations);
    std::vector<bool> carries(kFounders);
    for (int m = 0; m < kMutations; ++m) {
      tmutation& mu = table.mutations[static_cast<std::size_t>(m)];
      mu.Resize(kRows);
      mu.position = m + 1;
      const auto freq = gen() % 1000;
      for (int f = 0; f < kFounders; ++f)
        carries[static_cast<std::size_t>(f)] = gen() % 1000 < freq;
      for (int s = 0; s < kRows; ++s)
        if (carries[static_cast<std::size_t>(founder[static_cast<std::size_t>(s)])]) mu.Set(s);
      mu.carrierCount = mu.Count();
    }
  }
};

BigTable& Table() {
  static BigTable t;
  return t;
}

void BM_SegregatingSites(benchmark::State& state) {
  BigTable& t = Table();
  for (auto _ : state)
    benchmark::DoNotOptimize(t.table.countSegregatingSites(0, 0, t.all, kSiteAll, kMutAll));
  state.counters["peak_rss_MB"] = PeakRssMb();
}
void BM_Haplotypes(benchmark::State& state) {
  BigTable& t = Table();
  int h = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(h = t.table.countHaplotypes(t.all, 0, 0, kSiteAll, kMutAll));
  state.counters["haplotypes"] = h;
}
void BM_MeanPairwiseDifferences(benchmark::State& state) {
  BigTable& t = Table();
  for (auto _ : state)
    benchmark::DoNotOptimize(t.table.meanPairwiseDifferences(t.all, 0, 0, kSiteAll, kMutAll));
}
BENCHMARK(BM_SegregatingSites)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Haplotypes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeanPairwiseDifferences)->Unit(benchmark::kMillisecond);

}  // namespace
