// SPDX-License-Identifier: GPL-3.0-or-later
// Format detection on a 1 GB FASTQ file (only a bounded prefix may be read) and opening a
// folder of 2,000 FASTA files through the dispatcher.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/FileMask.h"
#include "io/Dispatcher.h"
#include "io/FormatDetect.h"
#include "model/DataProjUnit.h"
#include "model/GenCodUnit.h"

namespace {

namespace fs = std::filesystem;

struct QuietServices {
  QuietMessages messages;
  NullProgress progress;
  AppSettings settings;
  TGenCode genCode{"Universal"};
  Services services{messages, progress, settings, genCode};
};

// Bytes this process has read through system calls so far (Linux /proc/self/io "rchar").
long long BytesReadSoFar() {
  std::ifstream io("/proc/self/io");
  std::string key;
  long long value = 0;
  while (io >> key >> value)
    if (key == "rchar:") return value;
  return -1;
}

// A 1 GB FASTQ file: real records at the start, the rest a hole the file system does not
// store, so the benchmark needs no gigabyte of disk.
std::string LargeFastq() {
  const fs::path path =
      fs::temp_directory_path() / ("nodrix_bench_1g_" + std::to_string(::getpid()) + ".fq");
  {
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 1000; ++i)
      out << "@read" << i
          << "\nACGTACGTACGTACGTACGTACGTACGTACGTACGT\n+\nIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIII\n";
  }
  fs::resize_file(path, std::uintmax_t{1} << 30);
  return path.string();
}

void BM_DetectFormat1GBFastq(benchmark::State& state) {
  const std::string path = LargeFastq();
  QuietMessages messages;
  long long read = 0;
  for (auto _ : state) {
    const long long before = BytesReadSoFar();
    benchmark::DoNotOptimize(DetectFormat(path, messages));
    read += BytesReadSoFar() - before;
  }
  state.counters["file_bytes"] = static_cast<double>(fs::file_size(path));
  state.counters["bytes_read_per_detection"] =
      benchmark::Counter(static_cast<double>(read), benchmark::Counter::kAvgIterations);
  fs::remove(path);
}
BENCHMARK(BM_DetectFormat1GBFastq)->Unit(benchmark::kMicrosecond);

// 2,000 files of 10 sequences of 600 letters, read as "Open files from folder..." does.
std::string FastaFolder(int files) {
  const fs::path dir =
      fs::temp_directory_path() / ("nodrix_bench_folder_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::string body;
  for (int s = 0; s < 10; ++s) {
    body += ">seq" + std::to_string(s) + "\n";
    for (int i = 0; i < 600; ++i) body += "ACGT"[(i * 7 + s) % 4];
    body += "\n";
  }
  for (int f = 0; f < files; ++f) {
    std::ofstream out(dir / ("locus" + std::to_string(f) + ".fasta"), std::ios::binary);
    out << body;
  }
  return dir.string();
}

void BM_OpenFolderOf2000Fasta(benchmark::State& state) {
  const std::string folder = FastaFolder(static_cast<int>(state.range(0)));
  QuietServices svc;
  for (auto _ : state) {
    TDataProj project(svc.services);
    OpenWindow window(project);
    for (const std::string& file : FilesMatching(folder, "*.fasta"))
      benchmark::DoNotOptimize(ReadFolderFile(file, window, svc.services));
    if (project.DatasetCount() != state.range(0)) state.SkipWithError("a file was not read");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  fs::remove_all(folder);
}
BENCHMARK(BM_OpenFolderOf2000Fasta)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
