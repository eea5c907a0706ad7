// SPDX-License-Identifier: GPL-3.0-or-later
// How soon a long step stops after the user cancels: neighbour-joining of 2,000 and 5,000
// sequences, Escape "pressed" a fixed time into the run. As in the desktop program, the key
// reaches the run only when a step report processes events (every 50 ms); the time measured
// runs from the key press to the return of NeighborJoin with no tree.
#include <benchmark/benchmark.h>

#include <chrono>
#include <random>

#include "common/Services.h"
#include "trees/NJTreeUnit.h"

namespace {

using Clock = std::chrono::steady_clock;

class EscapeAt final : public IProgress {
 public:
  explicit EscapeAt(Clock::time_point at) : at_(at) {}
  void StartProgress(int, const std::string&) override {}
  void StepProgress(bool) override {}
  void ShowStatus(const std::string&, bool, bool) override {}
  void EndProgress() override {}
  void ShowStepProgress(const std::string&, long long, long long total) override {
    if (total > 0 && Clock::now() >= at_) pressed_ = true;  // events are processed here only
  }
  [[nodiscard]] int StepIntervalMs() const override { return 50; }
  [[nodiscard]] bool cancelRequested() const override { return pressed_; }

 private:
  Clock::time_point at_;
  bool pressed_ = false;
};

DistanceMatrix RandomMatrix(int n) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> d(0.01, 0.3);
  DistanceMatrix m = DistanceMatrix::Zero(n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < i; ++j) m.Set(i, j, {d(rng), 0});
  return m;
}

void BM_NJCancelLatency(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto pressAfter = std::chrono::milliseconds(state.range(1));
  const DistanceMatrix matrix = RandomMatrix(n);
  std::vector<std::string> names;
  for (int i = 0; i < n; ++i) names.push_back("s" + std::to_string(i));
  bool stoppedEveryTime = true;
  for (auto _ : state) {
    TTree tree;
    tree.LeavesFromNames(names);
    const Clock::time_point press = Clock::now() + pressAfter;
    EscapeAt progress(press);
    const bool built = NeighborJoin(tree, matrix, nullptr, &progress);
    const auto latency = std::chrono::duration<double>(Clock::now() - press);
    stoppedEveryTime = stoppedEveryTime && !built;
    state.SetIterationTime(latency.count());
  }
  if (!stoppedEveryTime) state.SkipWithError("the run finished before the key press");
}
// Second argument: milliseconds into the run when Escape is pressed (after the working
// matrix of 5,000 is set up).
BENCHMARK(BM_NJCancelLatency)
    ->Args({2000, 300})
    ->Args({5000, 1500})
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
