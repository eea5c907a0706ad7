// SPDX-License-Identifier: GPL-3.0-or-later
// Coalescent replicates with the statistics of each (S, pi, Tajima's D), timed beside Debian's
// scrm on the same model. scrm's figures are its own CPU time (user + system of the child)
// and peak memory; it writes to /dev/null.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

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

// scrm on the same model (only conditional on theta; it has no target of segregating sites).
void BM_Scrm(benchmark::State& state) {
  const Model& m = kModels[state.range(0)];
  const std::vector<std::string> args = {
      "scrm", std::to_string(m.n),   std::to_string(m.runs),   "-t",    std::to_string(m.thetaL),
      "-r",   std::to_string(m.rho), std::to_string(m.length), "-seed", "7"};
  for (auto _ : state) {
    rusage before{}, after{};
    getrusage(RUSAGE_CHILDREN, &before);
    const pid_t pid = fork();
    if (pid == 0) {
      if (!freopen("/dev/null", "w", stdout)) _exit(127);
      std::vector<char*> argv;
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execvp("scrm", argv.data());
      _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("scrm not found or failed (Debian package scrm)");
      break;
    }
    getrusage(RUSAGE_CHILDREN, &after);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    state.SetIterationTime(seconds(after.ru_utime) + seconds(after.ru_stime) -
                           seconds(before.ru_utime) - seconds(before.ru_stime));
  }
  state.counters["peak_MB"] = PeakMegabytes(RUSAGE_CHILDREN);
}
BENCHMARK(BM_Scrm)->DenseRange(0, 1)->Iterations(2)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
