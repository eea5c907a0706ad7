// SPDX-License-Identifier: GPL-3.0-or-later
// PlatformRandom: the program's linear congruential generator (x * 134775813 + 1 mod 2^32).
// A command creates one, seeds it once (from the clock, or a fixed seed to reproduce a run)
// and passes it down; nothing reseeds inside a loop.
#pragma once
#include <cstdint>

class PlatformRandom {
 public:
  explicit PlatformRandom(std::uint32_t seed) : state_(seed) {}
  static PlatformRandom FromClock();

  void Seed(std::uint32_t seed) { state_ = seed; }
  [[nodiscard]] std::uint32_t State() const { return state_; }

  // Advances the state and returns it.
  std::uint32_t Next() {
    state_ = state_ * 134775813u + 1u;
    return state_;
  }
  // Uniform integer in 0..range-1 (0 when range <= 0), taken from the high bits of the state
  // as the generator's users have always done.
  int NextInt(int range) {
    if (range <= 0) return 0;
    return static_cast<int>(
        (static_cast<std::uint64_t>(Next()) * static_cast<std::uint64_t>(range)) >> 32);
  }
  // Uniform real in [0, 1).
  double NextDouble() { return static_cast<double>(Next()) / 4294967296.0; }

 private:
  std::uint32_t state_;
};
