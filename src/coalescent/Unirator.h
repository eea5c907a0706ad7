// SPDX-License-Identifier: GPL-3.0-or-later
// Unirator: the simulation's uniform generator (a subtractive lagged Fibonacci generator with
// lags 17 and 5 behind a Bays-Durham shuffle), Poisson counts drawn from it, and the one seed
// from which a simulation seeds both of its generators.
#pragma once
#include <cstdint>

class Unirator {
 public:
  // Tables are used from index 1, as the generator was published.
  std::uint8_t lagI = 17, lagJ = 5;
  double lagTable[18] = {};
  double shuffleTable[98] = {};
  double lastOutput = 0.5;
  bool warmingUp = false;
  std::int32_t seedA = 0, seedB = 0;

  // a and b in 0..32706 (the modulus of the integer sequence the table is made from); values
  // outside are reduced into that range.
  void InitLags(int a, int b);
  // A value in (0, 1), never 0 or 1: a difference of 0 becomes 0.5.
  double Uniform();
};

// Poisson draw with the given mean, exact for every mean (0 for a mean that is not positive).
// Small means multiply uniforms; from a mean of 10 on, the transformed rejection of Hormann
// (1993, PTRS) takes a few uniforms whatever the mean, so nothing underflows or is capped.
std::int64_t PoissonCount(Unirator& uni, double mean);

// The states both generators of a simulation start from, all taken from one 64-bit seed:
// the platform generator's state is a bijection of the seed's low 32 bits mixed with its high
// ones, so two seeds below 2^32 never share it; the lag seeds come from a second mix.
struct SimulationSeeds {
  std::uint32_t platformState = 0;
  int seedA = 0, seedB = 0;
};
SimulationSeeds SeedsFrom(std::uint64_t seed);
// Nanoseconds of the system clock mixed with the steady clock: two processes started apart by
// more than a clock tick get different seeds.
std::uint64_t ClockSeed();
