// SPDX-License-Identifier: GPL-3.0-or-later
// Mapping files at scale: a 1 Mb reference with 1,000,000 SAM reads of 100 letters (1 % with
// an insertion or a deletion), their coverage over 1,000 regions, 100,000 reads through the
// seed-and-check mapper, and a FASTQ file of 4,000,000 lines converted beside Debian's
// `seqtk seq -a` on the same file.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchServices.h"
#include "io/ReadFormats.h"
#include "model/DataProjUnit.h"

namespace {

constexpr int kReferenceLength = 1'000'000;
constexpr int kReadLength = 100;

struct Lcg {
  std::uint32_t state;
  std::uint32_t Next() { return state = state * 134775813u + 1u; }
  int Below(int n) { return static_cast<int>((static_cast<std::uint64_t>(Next()) * n) >> 32); }
};

const std::string& Reference() {
  static const std::string ref = [] {
    Lcg rng{7};
    std::string s(kReferenceLength, 'A');
    for (char& c : s) c = "ACGT"[rng.Next() >> 30];
    return s;
  }();
  return ref;
}

// One record per read at a random place; every 100th read carries 2 inserted letters (50M2I48M)
// or lacks 2 reference letters (50M2D50M), alternately.
const std::string& SamText() {
  static const std::string text = [] {
    Lcg rng{11};
    const std::string& ref = Reference();
    std::string out = "@HD\tVN:1.6\tSO:coordinate\n@SQ\tSN:chr\tLN:1000000\n";
    out.reserve(180'000'000);
    for (int k = 0; k < 1'000'000; ++k) {
      const int pos = 1 + rng.Below(kReferenceLength - 2 * kReadLength);
      std::string cigar = "100M";
      std::string seq = ref.substr(static_cast<std::size_t>(pos - 1), kReadLength);
      if (k % 100 == 0) {
        cigar = "50M2I48M";
        seq = seq.substr(0, 50) + "TT" + seq.substr(50, 48);
      } else if (k % 100 == 50) {
        cigar = "50M2D50M";
        seq = seq.substr(0, 50) + ref.substr(static_cast<std::size_t>(pos + 51), 50);
      }
      out += "r" + std::to_string(k) + "\t0\tchr\t" + std::to_string(pos) + "\t60\t" + cigar +
             "\t*\t0\t0\t" + seq + "\t*\n";
    }
    return out;
  }();
  return text;
}

void AddReference(TDataProj& proj) {
  auto ds = proj.MakeDataset();
  ds->dsName = "chr";
  auto seq = std::make_unique<TSeq>("chr", Reference());
  (void)ds->AddSeq(seq, false);
  proj.AddDataset(ds, false);
}

}  // namespace

static void BM_OpenSamExpandInsertions(benchmark::State& state) {
  const std::string& text = SamText();
  for (auto _ : state) {
    BenchServices svc;
    TDataProj proj(svc.services);
    AddReference(proj);
    MemorySource src(text);
    ReadContext ctx(svc.services, "bench.sam");
    benchmark::DoNotOptimize(OpenSam(src, ctx, proj, true));
    state.counters["alignment_columns"] = proj.DatasetAt(0)->SeqAt(1)->Length();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_OpenSamExpandInsertions)->Unit(benchmark::kMillisecond)->Iterations(1);

static void BM_CountSamCoverage(benchmark::State& state) {
  const std::string& text = SamText();
  BenchServices svc;
  TDataProj proj(svc.services);
  AddReference(proj);
  TSeq& ref = *proj.DatasetAt(0)->SeqAt(1);
  Lcg rng{13};
  for (int k = 0; k < 1000; ++k) {
    TRegion r;
    r.regStart = 1 + rng.Below(kReferenceLength - 5000);
    r.regEnd = r.regStart + 50 + rng.Below(5000);
    r.regType = kRegExon;
    ref.regions.push_back(r);
  }
  for (auto _ : state) {
    MemorySource src(text);
    ReadContext ctx(svc.services, "bench.sam");
    benchmark::DoNotOptimize(CountSamCoverage(src, ctx, proj, true));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_CountSamCoverage)->Unit(benchmark::kMillisecond)->Iterations(1);

static void BM_MapReads(benchmark::State& state) {
  // Reads from both strands with up to 3 changed letters; one in ten from nowhere.
  Lcg rng{17};
  const std::string& ref = Reference();
  std::string reads;
  for (int k = 0; k < 100'000; ++k) {
    std::string read = ref.substr(
        static_cast<std::size_t>(rng.Below(kReferenceLength - kReadLength)), kReadLength);
    if (k % 10 == 9)
      for (char& c : read) c = "ACGT"[rng.Next() >> 30];
    for (int m = rng.Below(4); m > 0; --m)
      read[static_cast<std::size_t>(rng.Below(kReadLength))] = 'N';
    if (k % 2 == 1) {
      std::string turned(read.rbegin(), read.rend());
      for (char& c : turned) c = ComplementLetter(c);
      read = turned;
    }
    reads +=
        "@read" + std::to_string(k) + "\n" + read + "\n+\n" + std::string(kReadLength, 'I') + "\n";
  }
  int placed = 0;
  for (auto _ : state) {
    BenchServices svc;
    svc.settings.maxSeqPerDataset = 1'000'000;
    TDataProj proj(svc.services);
    AddReference(proj);
    MemorySource src(reads);
    ReadContext ctx(svc.services, "reads.fq");
    placed = MapReads(src, ctx, proj);
  }
  state.counters["placed"] = placed;
}
BENCHMARK(BM_MapReads)->Unit(benchmark::kMillisecond)->Iterations(1);

namespace {

// 1,000,000 records of 100 letters: 4,000,000 lines.
const std::string& FastqFile() {
  static const std::string path = [] {
    const std::string p =
        (std::filesystem::temp_directory_path() / "nodrix_bench_reads.fq").string();
    std::ofstream out(p, std::ios::binary);
    Lcg rng{19};
    std::string record;
    for (int k = 0; k < 1'000'000; ++k) {
      record = "@scaffold" + std::to_string(k) + "\n";
      for (int i = 0; i < kReadLength; ++i) record += "ACGT"[rng.Next() >> 30];
      record += "\n+\n";
      for (int i = 0; i < kReadLength; ++i) record += static_cast<char>('!' + (rng.Next() >> 27));
      record += "\n";
      out << record;
    }
    return p;
  }();
  return path;
}

double ChildCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_CHILDREN, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace

static void BM_ConvertFastq(benchmark::State& state) {
  const std::string& path = FastqFile();
  for (auto _ : state) {
    BenchServices svc;
    benchmark::DoNotOptimize(ConvertFastq(path, svc.services));
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_ConvertFastq)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The same file through `seqtk seq -a` (Debian package seqtk), timed in this run; its own CPU
// time is the child_cpu_s counter.
static void BM_SeqtkSeqA(benchmark::State& state) {
  const std::string& path = FastqFile();
  if (std::system("command -v seqtk >/dev/null 2>&1") != 0) {
    state.SkipWithError("seqtk is not installed");
    return;
  }
  const std::string command = "seqtk seq -a " + path + " > " + path + ".seqtk.fa";
  const double before = ChildCpuSeconds();
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("seqtk failed");
  state.counters["child_cpu_s"] =
      (ChildCpuSeconds() - before) / static_cast<double>(state.iterations());
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_SeqtkSeqA)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
