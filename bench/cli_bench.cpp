// SPDX-License-Identifier: GPL-3.0-or-later
// Whole nodrix3-cli processes at the program's limits, next to peer programs on the same input
// in the same run: all pairwise LD of 2,000 sites in 1,000 haplotypes (plink 1.9 --r2), the
// project file and FASTA writer on 30,000 x 5,000 (seqtk seq), the subdivision report with
// Kst* and Hst, the permutation test, and the peak memory of reading and analysing 30,000
// sequences of 5,000 and 20,000 columns.
//
// The time of each row is the child's processor time (user + system, from wait4): the machine
// is shared, so wall time ("wall_s") says more about the load than about the program. "peak_MiB"
// is the child's largest resident set and "peak_per_file" that over the input file's size.
// NODRIX_CLI_BEFORE=/path/to/an/older/nodrix3-cli adds a "before" row for each nodrix3-cli
// workload, run right after the current one, so old and new are measured under the same load.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>

#include <QTemporaryDir>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kRows = 30000;

std::uint64_t Next(std::uint64_t& s) {
  s ^= s << 13;
  s ^= s >> 7;
  s ^= s << 17;
  return s;
}

struct Usage {
  int status = -1;  // exit status; 127 when the program could not be started
  double cpuSeconds = 0, wallSeconds = 0, peakMiB = 0;
};

// Runs argv with standard output to outPath and standard error dropped.
Usage RunChild(const std::vector<std::string>& argv, const std::string& outPath = "/dev/null") {
  Usage u;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    u.status = 127;
    return u;
  }
  int status = 0;
  rusage r{};
  wait4(pid, &status, 0, &r);
  u.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  u.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  u.cpuSeconds = static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
                 static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
  u.peakMiB = static_cast<double>(r.ru_maxrss) / 1024.0;  // kilobytes on Linux
  return u;
}

// Rows drawn from `haplotypes` distinct rows (0: every row its own) over `columns` columns, of
// which `segregating` vary (A/G); names s1, s2, ...
void WriteAlignment(const std::string& path, int rows, int columns, int segregating, int haplotypes,
                    std::uint64_t seed) {
  std::string reference(static_cast<std::size_t>(columns), 'A');
  for (char& c : reference) c = "ACGT"[Next(seed) % 4];
  std::vector<int> sites;
  for (int k = 0; k < segregating; ++k) sites.push_back(static_cast<int>(Next(seed) % columns));
  auto makeRow = [&] {
    std::string row = reference;
    for (const int c : sites)
      if (Next(seed) % 5 == 0) {
        char& x = row[static_cast<std::size_t>(c)];
        x = x == 'A' ? 'G' : 'A';
      }
    return row;
  };
  std::vector<std::string> pool;
  for (int h = 0; h < haplotypes; ++h) pool.push_back(makeRow());
  std::ofstream out(path, std::ios::binary);
  for (int r = 0; r < rows; ++r) {
    out << ">s" << r + 1 << '\n';
    out << (haplotypes > 0 ? pool[Next(seed) % pool.size()] : makeRow()) << '\n';
  }
}

// Every row of the alignment in one of `groups` groups, in turn.
void WriteGroups(const std::string& path, int rows, int groups) {
  std::ofstream out(path, std::ios::binary);
  for (int r = 0; r < rows; ++r) out << 's' << r + 1 << ",pop" << r % groups + 1 << '\n';
}

// Haplotypes over sites that all segregate (carrier densities 1/2, 1/4, 1/8), as FASTA for
// nodrix3-cli and as plink binary files (each haplotype a homozygous individual, so r^2 of
// the genotypes is r^2 of the haplotypes).
void WriteLDInputs(const std::string& stem, int rows, int sites) {
  std::uint64_t seed = 0x9E3779B97F4A7C15ull;
  std::vector<std::vector<bool>> carries(static_cast<std::size_t>(sites));
  for (int j = 0; j < sites; ++j) {
    auto& c = carries[static_cast<std::size_t>(j)];
    const int density = j % 3;
    for (;;) {
      c.assign(static_cast<std::size_t>(rows), false);
      int n = 0;
      for (int i = 0; i < rows; ++i) {
        bool x = Next(seed) % 2 == 0;
        for (int d = 0; d < density; ++d) x = x && Next(seed) % 2 == 0;
        c[static_cast<std::size_t>(i)] = x;
        n += x ? 1 : 0;
      }
      if (n > 0 && n < rows) break;
    }
  }
  std::ofstream fas(stem + ".fas", std::ios::binary);
  for (int i = 0; i < rows; ++i) {
    fas << ">h" << i + 1 << '\n';
    for (int j = 0; j < sites; ++j)
      fas << (carries[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)] ? 'G' : 'A');
    fas << '\n';
  }
  std::ofstream bim(stem + ".bim", std::ios::binary);
  for (int j = 0; j < sites; ++j) bim << "1\tsnp" << j + 1 << "\t0\t" << j + 1 << "\tG\tA\n";
  std::ofstream fam(stem + ".fam", std::ios::binary);
  for (int i = 0; i < rows; ++i) fam << "f" << i + 1 << " h" << i + 1 << " 0 0 1 -9\n";
  // SNP-major: two bits per individual, 00 homozygous for the first allele (G), 11 for the
  // second (A).
  std::ofstream bed(stem + ".bed", std::ios::binary);
  bed.put(0x6c).put(0x1b).put(0x01);
  for (int j = 0; j < sites; ++j)
    for (int i = 0; i < rows; i += 4) {
      unsigned char b = 0;
      for (int k = 0; k < 4 && i + k < rows; ++k)
        if (!carries[static_cast<std::size_t>(j)][static_cast<std::size_t>(i + k)])
          b |= static_cast<unsigned char>(3u << (2 * k));
      bed.put(static_cast<char>(b));
    }
}

// One biallelic site at every column, as the permutation-test benchmark of subdiv_bench.
void WriteDenseAlignment(const std::string& path, int rows, int columns) {
  std::uint64_t seed = 0x2545F4914F6CDD1Dull;
  std::vector<std::string> letters(static_cast<std::size_t>(rows),
                                   std::string(static_cast<std::size_t>(columns), 'A'));
  for (int c = 0; c < columns; ++c) {
    const int density = static_cast<int>(Next(seed) % 3);
    for (auto& row : letters) {
      bool x = Next(seed) % 2 == 0;
      for (int d = 0; d < density; ++d) x = x && Next(seed) % 2 == 0;
      if (x) row[static_cast<std::size_t>(c)] = 'G';
    }
  }
  std::ofstream out(path, std::ios::binary);
  for (int r = 0; r < rows; ++r)
    out << ">s" << r + 1 << '\n' << letters[static_cast<std::size_t>(r)] << '\n';
}

struct Inputs {
  QTemporaryDir dir;
  std::string Path(const std::string& name) const { return dir.path().toStdString() + "/" + name; }
  Inputs() {
    WriteLDInputs(Path("ld"), 1000, 2000);
    WriteAlignment(Path("big5k.fas"), kRows, 5000, 2000, 400, 11);
    WriteAlignment(Path("distinct5k.fas"), kRows, 5000, 2000, 0, 12);
    WriteAlignment(Path("big20k.fas"), kRows, 20000, 2000, 400, 13);
    WriteGroups(Path("two.groups"), kRows, 2);
    WriteDenseAlignment(Path("perm.fas"), 2000, 5000);
    WriteGroups(Path("three.groups"), 2000, 3);
    // The project file that "info" reads back, written by the current program.
    RunChild({NODRIX_CLI, "convert", Path("big5k.fas"), Path("ready.psf")});
  }
};

Inputs& Files() {
  static Inputs inputs;
  return inputs;
}

double FileMiB(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  return ec ? 0 : static_cast<double>(size) / (1024.0 * 1024.0);
}

// A workload: the program's arguments ("@name" stands for the input folder's file name), the
// file its memory is set against, files removed before each run (the LD pair file is appended
// to, and convert keeps an OUT that exists) and the peer program (empty for nodrix3-cli).
struct Workload {
  std::string name;
  std::vector<std::string> args;
  std::string input;
  std::vector<std::string> fresh;
  std::string peer;
};

void Run(benchmark::State& state, const std::string& program, const Workload& w) {
  const Inputs& in = Files();
  std::vector<std::string> argv{program};
  for (const std::string& a : w.args) argv.push_back(a.starts_with('@') ? in.Path(a.substr(1)) : a);
  Usage last;
  for (auto _ : state) {
    for (const std::string& f : w.fresh) std::filesystem::remove(in.Path(f));
    last = RunChild(argv);
    if (last.status == 127) {
      state.SkipWithError((program + " is not installed").c_str());
      return;
    }
    if (last.status != 0) {
      state.SkipWithError((program + " failed").c_str());
      return;
    }
    state.SetIterationTime(last.cpuSeconds);
  }
  state.counters["wall_s"] = last.wallSeconds;
  state.counters["peak_MiB"] = last.peakMiB;
  if (!w.input.empty()) state.counters["peak_per_file"] = last.peakMiB / FileMiB(in.Path(w.input));
}

// In the order they run, each peer right after the nodrix3-cli workload it is set against.
std::vector<Workload> Workloads() {
  std::vector<Workload> list = {
      {"ld_pairs_1000x2000",
       {"ld", "@ld.fas", "--pairs", "all", "--min-freq", "1", "--pair-file", "@pairs.csv"},
       "",
       {"pairs.csv"},
       ""},
      {"r2_1000x2000",
       {"--bfile", "@ld", "--r2", "--ld-window", "99999", "--ld-window-kb", "999999999",
        "--ld-window-r2", "0", "--threads", "2", "--out", "@plk"},
       "",
       {},
       "plink1.9"},
      // An existing OUT is kept unless --force: each run writes a file of its own.
      {"convert_psf_30000x5000",
       {"convert", "@big5k.fas", "@out.psf"},
       "big5k.fas",
       {"out.psf"},
       ""},
      {"convert_fasta_30000x5000",
       {"convert", "@big5k.fas", "@out.fasta"},
       "big5k.fas",
       {"out.fasta"},
       ""},
      {"seq_30000x5000", {"seq", "@big5k.fas"}, "big5k.fas", {}, "seqtk"},
      {"info_psf_30000x5000", {"info", "@ready.psf"}, "ready.psf", {}, ""},
      {"subdivision_30000x5000",
       {"subdivision", "@big5k.fas", "--groups", "@two.groups"},
       "big5k.fas",
       {},
       ""},
      {"subdivision_fst_only_30000x5000",
       {"subdivision", "@big5k.fas", "--groups", "@two.groups", "--stats", "fst"},
       "big5k.fas",
       {},
       ""},
      {"subdivision_distinct_30000x5000",
       {"subdivision", "@distinct5k.fas", "--groups", "@two.groups"},
       "distinct5k.fas",
       {},
       ""},
      {"composition_30000x5000",
       {"composition", "@big5k.fas", "--blocks", "gc-mutations,nucleotides,pairs"},
       "big5k.fas",
       {},
       ""},
      {"permutations_1000_2000x5000",
       {"subdivision", "@perm.fas", "--groups", "@three.groups", "--permutations", "1000", "--seed",
        "5"},
       "perm.fas",
       {},
       ""},
  };
  // Peak memory of reading and of each analysis at both widths.
  for (const char* width : {"5000", "20000"}) {
    const std::string file = std::string(width) == "5000" ? "big5k.fas" : "big20k.fas";
    const std::string size = std::string("_30000x") + width;
    list.push_back({"info" + size, {"info", "@" + file}, file, {}, ""});
    for (const std::string analysis : {"polymorphism", "neutrality", "subdivision", "ld"}) {
      if (analysis == "subdivision" && file == "big5k.fas") continue;  // timed above
      list.push_back({analysis + "_memory" + size,
                      {analysis, "@" + file, "--groups", "@two.groups"},
                      file,
                      {},
                      ""});
    }
  }
  return list;
}

const bool kRegistered = [] {
  const char* before = std::getenv("NODRIX_CLI_BEFORE");
  auto add = [](const std::string& name, const std::string& program, const Workload& w) {
    benchmark::RegisterBenchmark(name.c_str(),
                                 [w, program](benchmark::State& s) { Run(s, program, w); })
        ->UseManualTime()
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
  };
  for (const Workload& w : Workloads()) {
    if (!w.peer.empty()) {
      add(w.peer + "/" + w.name, w.peer, w);
      continue;
    }
    add("nodrix3-cli/" + w.name, NODRIX_CLI, w);
    if (before != nullptr && *before != '\0') add("before/" + w.name, before, w);
  }
  return true;
}();

}  // namespace
