// SPDX-License-Identifier: GPL-3.0-or-later
// The lagged Fibonacci generator, Poisson counts and seed derivation.
#include "coalescent/Unirator.h"

#include <chrono>
#include <cmath>

namespace {

constexpr int kLagModulus = 32707;

int ReduceLagSeed(int v) {
  v %= kLagModulus;
  return v < 0 ? v + kLagModulus : v;
}

std::uint64_t SplitMix64(std::uint64_t z) {
  z += 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// A bijection of 32-bit words (multiply by odd constants, xor-shift).
std::uint32_t Mix32(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

}  // namespace

void Unirator::InitLags(int a, int b) {
  a = ReduceLagSeed(a);
  b = ReduceLagSeed(b);
  seedA = a;
  seedB = b;
  lagI = 17;
  lagJ = 5;
  int c = 1973;
  for (int k = 1; k <= 17; ++k) {
    // 24 successive parity bits of x(t) = x(t-3) - x(t-1) mod 32707, most significant first.
    double value = 0, weight = 0.5;
    for (int bit = 0; bit < 24; ++bit) {
      int x = a - c;
      if (x < 0) x += kLagModulus;
      value += weight * (x % 2);
      a = b;
      b = c;
      c = x;
      weight *= 0.5;
    }
    lagTable[k] = value;
  }
  warmingUp = true;
  for (int k = 0; k < 97; ++k) Uniform();
  for (int k = 1; k <= 97; ++k) shuffleTable[k] = Uniform();
  warmingUp = false;
  lastOutput = 0.5;
}

double Unirator::Uniform() {
  double t = lagTable[lagI] - lagTable[lagJ];
  if (t < 0) t += 1;
  if (t == 0) t = 0.5;
  lagTable[lagI] = t;
  if (--lagI == 0) lagI = 17;
  if (--lagJ == 0) lagJ = 17;
  if (warmingUp) return t;
  const int k = static_cast<int>(97 * lastOutput) + 1;
  lastOutput = shuffleTable[k];
  shuffleTable[k] = t;
  return lastOutput;
}

std::int64_t PoissonCount(Unirator& uni, double mean) {
  if (!(mean > 0)) return 0;
  if (mean < 10) {
    const double limit = std::exp(-mean);
    double p = uni.Uniform();
    std::int64_t count = 0;
    while (limit < p) {
      ++count;
      p *= uni.Uniform();
    }
    return count;
  }
  // PTRS: Hormann, W. (1993) The transformed rejection method for generating Poisson random
  // variables. Insurance: Mathematics and Economics 12, 39-45.
  const double slam = std::sqrt(mean), logMean = std::log(mean);
  const double b = 0.931 + 2.53 * slam;
  const double a = -0.059 + 0.02483 * b;
  const double invAlpha = 1.1239 + 1.1328 / (b - 3.4);
  const double vr = 0.9277 - 3.6224 / (b - 2);
  for (;;) {
    const double u = uni.Uniform() - 0.5;
    const double v = uni.Uniform();
    const double us = 0.5 - std::fabs(u);
    const double k = std::floor((2 * a / us + b) * u + mean + 0.43);
    if (us >= 0.07 && v <= vr) return static_cast<std::int64_t>(k);
    if (k < 0 || (us < 0.013 && v > us)) continue;
    if (std::log(v) + std::log(invAlpha) - std::log(a / (us * us) + b) <=
        -mean + k * logMean - std::lgamma(k + 1))
      return static_cast<std::int64_t>(k);
  }
}

SimulationSeeds SeedsFrom(std::uint64_t seed) {
  SimulationSeeds s;
  const auto low = static_cast<std::uint32_t>(seed);
  const auto high = static_cast<std::uint32_t>(seed >> 32);
  // Mix32(0) is 0: seeds below 2^32 map one to one onto states.
  s.platformState = Mix32(low ^ Mix32(high));
  const std::uint64_t mixed = SplitMix64(seed);
  s.seedA = static_cast<int>((mixed >> 32) % kLagModulus);
  s.seedB = static_cast<int>((mixed & 0xffffffffull) % kLagModulus);
  return s;
}

std::uint64_t ClockSeed() {
  const auto wall = std::chrono::system_clock::now().time_since_epoch();
  const auto mono = std::chrono::steady_clock::now().time_since_epoch();
  const auto ns = [](auto d) {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(d).count());
  };
  return ns(wall) ^ SplitMix64(ns(mono));
}
