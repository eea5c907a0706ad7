// SPDX-License-Identifier: GPL-3.0-or-later
// BLAST XML in all mode at 1,000 and 2,500 iterations x 50 hits x 2 HSPs (one pass, split files
// every 1,000 iterations, peak memory recorded) and SDI files of 5 samples x 100,000 SNPs on a 30
// Mb chromosome merged into one dataset.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>

#include "BenchServices.h"
#include "io/ResultFormats.h"
#include "model/DataProjUnit.h"

namespace {

std::uint32_t Next(std::uint32_t& state) {
  state = state * 134775813u + 1u;
  return state >> 8;
}

std::string Letters(std::uint32_t& seed, int n) {
  std::string s(static_cast<std::size_t>(n), 'A');
  for (char& c : s) c = "ACGT"[Next(seed) % 4];
  return s;
}

double PeakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// Written straight to disk, never held whole: the run's peak memory is the reader's.
std::string WriteBlastFile(const std::filesystem::path& folder, int iterations, int hits, int hsps,
                           int hspLength) {
  const std::string path = (folder / "bench.xml").string();
  std::ofstream out(path, std::ios::binary);
  std::uint32_t seed = 11;
  out << "<?xml version=\"1.0\"?>\n<BlastOutput>\n<BlastOutput_iterations>\n";
  for (int i = 1; i <= iterations; ++i) {
    out << "<Iteration>\n<Iteration_iter-num>" << i << "</Iteration_iter-num>\n"
        << "<Iteration_query-def>query" << i << "</Iteration_query-def>\n"
        << "<Iteration_query-len>1000</Iteration_query-len>\n<Iteration_hits>\n";
    for (int h = 1; h <= hits; ++h) {
      out << "<Hit>\n<Hit_num>" << h << "</Hit_num>\n<Hit_id>gi|" << h << "|ref|X" << h
          << "</Hit_id>\n<Hit_def>subject " << h << "</Hit_def>\n<Hit_accession>X" << h
          << "</Hit_accession>\n<Hit_len>5000</Hit_len>\n<Hit_hsps>\n";
      for (int k = 0; k < hsps; ++k) {
        const int from = 1 + static_cast<int>(Next(seed) % 900);
        out << "<Hsp>\n<Hsp_num>" << k + 1 << "</Hsp_num>\n<Hsp_bit-score>80.5</Hsp_bit-score>\n"
            << "<Hsp_score>88</Hsp_score>\n<Hsp_evalue>1e-20</Hsp_evalue>\n<Hsp_query-from>" << from
            << "</Hsp_query-from>\n<Hsp_query-to>" << from + hspLength - 1
            << "</Hsp_query-to>\n<Hsp_hit-from>100</Hsp_hit-from>\n<Hsp_hit-to>" << 99 + hspLength
            << "</Hsp_hit-to>\n<Hsp_query-frame>1</Hsp_query-frame>\n"
            << "<Hsp_hit-frame>1</Hsp_hit-frame>\n<Hsp_identity>" << hspLength
            << "</Hsp_identity>\n<Hsp_qseq>" << Letters(seed, hspLength) << "</Hsp_qseq>\n"
            << "<Hsp_hseq>" << Letters(seed, hspLength) << "</Hsp_hseq>\n</Hsp>\n";
      }
      out << "</Hit_hsps>\n</Hit>\n";
    }
    out << "</Iteration_hits>\n</Iteration>\n";
  }
  out << "</BlastOutput_iterations>\n</BlastOutput>\n";
  return path;
}

void BM_BlastXmlAllMode(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / "nodrix_bench_blast";
  std::filesystem::create_directories(folder);
  const std::string path = WriteBlastFile(folder, static_cast<int>(state.range(0)), 50, 2, 60);
  const double before = PeakRssMb();
  int datasets = 0;
  for (auto _ : state) {
    BenchServices svc;
    TDataProj project(svc.services);
    OpenWindow window(project);
    benchmark::DoNotOptimize(OpenBlastXml(path, window, {}, svc.services));
    datasets = project.DatasetCount();
  }
  const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
  state.counters["peak_rss_MB"] = PeakRssMb();
  state.counters["peak_rss_before_MB"] = before;
  state.counters["datasets_left"] = datasets;
  std::filesystem::remove_all(folder);
}
// Peak memory is the process's: run each size alone (--benchmark_filter) to compare them.
BENCHMARK(BM_BlastXmlAllMode)->Arg(1000)->Arg(2500)->Unit(benchmark::kMillisecond)->Iterations(1);

// One SDI file of `snps` substitutions spread over a 30 Mb chromosome; samples share about
// half of their sites.
std::string SdiText(int sample, int snps) {
  std::uint32_t seed = 1000u + static_cast<std::uint32_t>(sample);
  std::uint32_t shared = 5;
  std::string text;
  const int step = 30000000 / snps;
  for (int i = 0; i < snps; ++i) {
    const int base = i * step + 1;
    const bool own = Next(seed) % 2 == 0;
    const int pos = base + static_cast<int>((own ? Next(seed) : Next(shared)) % step);
    text += "chr1\t" + std::to_string(pos) + "\t0\tA\t" + "CGT"[Next(seed) % 3] + "\t.\t12\t0.9\n";
  }
  return text;
}

void BM_SdiFiveSamples(benchmark::State& state) {
  std::vector<std::string> files;
  for (int s = 0; s < 5; ++s) files.push_back(SdiText(s, static_cast<int>(state.range(0))));
  std::size_t sites = 0;
  for (auto _ : state) {
    BenchServices svc;
    TDataProj project(svc.services);
    OpenWindow window(project);
    for (int s = 0; s < 5; ++s)
      ReadSdi(files[static_cast<std::size_t>(s)], "sample" + std::to_string(s) + ".sdi", window,
              svc.services);
    sites = project.DatasetAt(0)->SeqAt(1)->polySitePos.size();
  }
  state.counters["union_sites"] = static_cast<double>(sites);
}
BENCHMARK(BM_SdiFiveSamples)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
