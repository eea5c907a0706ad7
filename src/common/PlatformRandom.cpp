// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/PlatformRandom.h"

#include <chrono>

PlatformRandom PlatformRandom::FromClock() {
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  return PlatformRandom(static_cast<std::uint32_t>(ticks ^ (ticks >> 32)));
}
