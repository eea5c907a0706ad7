// SPDX-License-Identifier: GPL-3.0-or-later
// Coalescent replicates with the statistics of each (S, pi, Tajima's D), timed beside Debian's
// scrm on the same model. scrm's figures are its own CPU time (user + system of the child)
// and peak memory; it writes to /dev/null.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "coalescent/CoalSim.h"
#include "coalescent/SimulationRun.h"
#include "common/Services.h"

namespace {

struct Model {
  int n, length, runs;
  double thetaL, rho;  // theta L and C (L - 1)
  int targetSites;     // 0: conditional on theta
};

const Model kModels[] = {
    {50, 10000, 10000, 10, 10, 0},     // the reference run
    {200, 100000, 1000, 100, 100, 0},  // theta and C of 0.001 per site
    {50, 10000, 10000, 10, 10, 50},    // 50 segregating sites thrown on the genealogy
};

double PeakMegabytes(int who) {
  rusage use{};
  getrusage(who, &use);
  return static_cast<double>(use.ru_maxrss) / 1024.0;
}

void BM_Replicates(benchmark::State& state) {
  const Model& m = kModels[state.range(0)];
  SimStatChoice stats;  // S, pi and Tajima's D
  long long mutations = 0;
  for (auto _ : state) {
    QuietMessages messages;
    cTree tree(messages);
    tree.inputs.sampleSize = m.n;
    tree.inputs.seqLength = m.length;
    tree.inputs.effectiveSize = 10000;
    tree.inputs.recRatePerSite = static_cast<float>(m.rho / (m.length - 1));
    tree.inputs.conditionalOnTheta = m.targetSites == 0;
    tree.inputs.theta = m.thetaL / m.length;
    tree.inputs.targetCount = m.targetSites;
    if (!tree.InitSimulation(7)) state.SkipWithError("inputs refused");
    RunCallbacks callbacks;
    double sum = 0;
    callbacks.sink = [&](const ReplicateView& v) {
      sum += v.stats.whole.pi + v.stats.whole.tajimaD + v.stats.whole.segSites;
      mutations += static_cast<long long>(v.table.mutations.size());
    };
    RunReplicates(tree, m.runs, stats, false, callbacks);
    benchmark::DoNotOptimize(sum);
  }
  state.counters["replicates/s"] = benchmark::Counter(
      static_cast<double>(m.runs) * state.iterations(), benchmark::Counter::kIsRate);
  state.counters["mutations/replicate"] =
      static_cast<double>(mutations) / (static_cast<double>(m.runs) * state.iterations());
  state.counters["peak_MB"] = PeakMegabytes(RUSAGE_SELF);
}
BENCHMARK(BM_Replicates)->DenseRange(0, 2)->Iterations(2)->Unit(benchmark::kSecond);

// Runs args[0] with standard output to /dev/null: its processor time (user + system) and wall
// time in seconds; false when it could not start or failed.
bool RunChild(const std::vector<std::string>& args, double& cpu, double& wall) {
  rusage before{}, after{};
  getrusage(RUSAGE_CHILDREN, &before);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    if (!freopen("/dev/null", "w", stdout)) _exit(127);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  getrusage(RUSAGE_CHILDREN, &after);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  cpu = seconds(after.ru_utime) + seconds(after.ru_stime) - seconds(before.ru_utime) -
        seconds(before.ru_stime);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// scrm on the same model (only conditional on theta; it has no target of segregating sites).
void BM_Scrm(benchmark::State& state) {
  const Model& m = kModels[state.range(0)];
  const std::vector<std::string> args = {
      "scrm", std::to_string(m.n),   std::to_string(m.runs),   "-t",    std::to_string(m.thetaL),
      "-r",   std::to_string(m.rho), std::to_string(m.length), "-seed", "7"};
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    if (!RunChild(args, cpu, wall)) {
      state.SkipWithError("scrm not found or failed (Debian package scrm)");
      break;
    }
    state.SetIterationTime(cpu);
  }
  state.counters["wall_s"] = wall;
  state.counters["peak_MB"] = PeakMegabytes(RUSAGE_CHILDREN);
}
BENCHMARK(BM_Scrm)->DenseRange(0, 1)->Iterations(2)->UseManualTime()->Unit(benchmark::kSecond);

// `nodrix3-cli simulate` as a whole process on the reference model: 10,000 replicates, n = 50,
// L = 10,000, theta 0.001 and C = 10 / 9,999 per site, S, pi and Tajima's D written to the
// statistics file and the per-deme file, the summary on stdout. Timed by the wall clock (the
// target is for the whole run); compare with BM_Scrm/0.
void BM_CliSimulate(benchmark::State& state) {
  const std::string dir =
      (std::filesystem::temp_directory_path() / "coalescent_bench_cli").string();
  std::filesystem::create_directories(dir);
  const std::vector<std::string> args = {
      NODRIX_CLI, "simulate", "--runs",     "10000",         "--number", "50", "--length",  "10000",
      "--theta",  "0.001",    "--rec-rate", "0.00100010001", "--seed",   "7",  "--out-dir", dir};
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    if (!RunChild(args, cpu, wall)) {
      state.SkipWithError("nodrix3-cli simulate failed");
      break;
    }
    state.SetIterationTime(wall);
  }
  state.counters["cpu_s"] = cpu;
  state.counters["peak_MB"] = PeakMegabytes(RUSAGE_CHILDREN);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_CliSimulate)->Iterations(2)->UseManualTime()->Unit(benchmark::kSecond);

// The summary of a million replicates with every statistic of two demes: sorting the twenty
// columns and writing the rows.
void BM_Summary(benchmark::State& state) {
  SimStatChoice c;
  c.singletons = c.theta = c.fuLi = c.zns = c.wallBQ = true;
  c.fst = c.dst = c.kst = c.nm = c.dxy = c.shared = true;
  std::vector<StatColumn> filled = SummaryColumns(c, 2);
  std::uint64_t x = 88172645463325252ull;
  for (StatColumn& col : filled)
    for (int r = 0; r < 1000000; ++r) {
      x ^= x << 13;
      x ^= x >> 7;
      x ^= x << 17;
      col.values.push_back(col.integer ? static_cast<double>(x % 100)
                                       : static_cast<double>(x % 1000000) / 1000.0);
    }
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<StatColumn> cols = filled;
    state.ResumeTiming();
    benchmark::DoNotOptimize(SummaryRows(cols, 0.05F));
  }
}
BENCHMARK(BM_Summary)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
