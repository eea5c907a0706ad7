// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a 30,000 x 5,000 FASTA alignment (150 MB) into a project and writing it back, next
// to `seqtk seq` on the same file, measured in the same run.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "common/Services.h"
#include "io/IOUnit.h"
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

// Rows of 5,000 letters wrapped at 60 per line, like most FASTA writers; every tenth row
// carries a few gaps. A fixed linear congruential generator keeps the file the same each run.
std::string SyntheticFasta(int rows, int columns, std::uint32_t seed) {
  std::string text;
  text.reserve(static_cast<std::size_t>(rows) * (static_cast<std::size_t>(columns) * 61 / 60 + 32));
  const char bases[4] = {'A', 'C', 'G', 'T'};
  std::string reference(static_cast<std::size_t>(columns), 'A');
  for (char& c : reference) {
    seed = seed * 134775813u + 1u;
    c = bases[seed >> 30];
  }
  for (int r = 0; r < rows; ++r) {
    text += ">sample_" + std::to_string(r + 1) + " locus A\n";
    std::string row = reference;
    for (int k = 0; k < columns / 100; ++k) {  // 1% point differences
      seed = seed * 134775813u + 1u;
      row[seed % static_cast<std::uint32_t>(columns)] = bases[(seed >> 8) & 3];
    }
    if (r % 10 == 0) row.replace(100, 12, 12, '-');
    for (int at = 0; at < columns; at += 60) {
      text.append(row, static_cast<std::size_t>(at), 60);
      text += '\n';
    }
  }
  return text;
}

struct BenchFile {
  QTemporaryDir dir;
  std::string path;
  std::string text;
  BenchFile() {
    text = SyntheticFasta(30000, 5000, 7);
    path = dir.path().toStdString() + "/bench.fasta";
    std::ofstream(path, std::ios::binary)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
  }
};

BenchFile& File() {
  static BenchFile file;  // built once for every benchmark of the run
  return file;
}

// Counts what a writer produces and throws it away, as `> /dev/null` does for seqtk.
class DiscardSink final : public TextSink {
 public:
  void Put(std::string_view text) override { bytes += text.size(); }
  std::size_t bytes = 0;
};

void BM_ReadFastaFile(benchmark::State& state) {
  BenchFile& file = File();
  for (auto _ : state) {
    QuietServices svc;
    TDataProj proj(svc.services);
    proj.NewDataset();
    FileSource in;
    if (!in.Open(file.path)) state.SkipWithError("cannot read the bench file");
    ReadContext ctx(svc.services, file.path);
    benchmark::DoNotOptimize(OpenFasta(in, ctx, *proj.CurrentDataset()));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.text.size()));
}
BENCHMARK(BM_ReadFastaFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// The counterpart of `seqtk seq file > /dev/null`: the file into a project dataset and every
// record written back out.
void BM_ReadAndWriteFasta(benchmark::State& state) {
  BenchFile& file = File();
  for (auto _ : state) {
    QuietServices svc;
    TDataProj proj(svc.services);
    proj.NewDataset();
    FileSource in;
    if (!in.Open(file.path)) state.SkipWithError("cannot read the bench file");
    ReadContext ctx(svc.services, file.path);
    if (!OpenFasta(in, ctx, *proj.CurrentDataset())) state.SkipWithError("nothing read");
    DiscardSink sink;
    WriteFasta(*proj.CurrentDataset(), false, sink);
    benchmark::DoNotOptimize(sink.bytes);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.text.size()));
}
BENCHMARK(BM_ReadAndWriteFasta)->Unit(benchmark::kMillisecond)->UseRealTime();

// What a user sees: the same, with the dataset saved to a new file on disk through a
// temporary file and rename.
void BM_OpenAndSaveFastaFile(benchmark::State& state) {
  BenchFile& file = File();
  const std::string out = file.dir.path().toStdString() + "/written.fasta";
  for (auto _ : state) {
    QuietServices svc;
    TDataProj proj(svc.services);
    proj.NewDataset();
    FileSource in;
    if (!in.Open(file.path)) state.SkipWithError("cannot read the bench file");
    ReadContext ctx(svc.services, file.path);
    if (!OpenFasta(in, ctx, *proj.CurrentDataset())) state.SkipWithError("nothing read");
    if (!SaveFasta(out, *proj.CurrentDataset(), false, svc.services))
      state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.text.size()));
}
BENCHMARK(BM_OpenAndSaveFastaFile)->Unit(benchmark::kMillisecond)->UseRealTime();

double ChildCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Debian's seqtk on the same file: reads every record and writes it unwrapped. Its processor
// time (user + system, from the child's resource usage) is the "seqtk_cpu_ms" counter: the CPU
// column of this row only shows the waiting parent.
void BM_SeqtkSeq(benchmark::State& state) {
  BenchFile& file = File();
  const std::string command = "seqtk seq '" + file.path + "' > /dev/null";
  const double before = ChildCpuSeconds();
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("seqtk failed or is missing");
  state.counters["seqtk_cpu_ms"] =
      (ChildCpuSeconds() - before) * 1000.0 / static_cast<double>(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.text.size()));
}
BENCHMARK(BM_SeqtkSeq)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
