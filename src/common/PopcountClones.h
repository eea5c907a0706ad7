// SPDX-License-Identifier: GPL-3.0-or-later
// NODRIX_POPCOUNT_CLONES marks a hot loop of set-bit counts. The build targets every x86-64
// processor, and those made before 2008 lack the POPCNT instruction, so std::popcount becomes
// a library call per word; a marked function gets a second copy compiled for POPCNT, which
// the loader picks on processors that have it.
#pragma once

#if defined(__x86_64__) && defined(__linux__) && (defined(__GNUC__) || defined(__clang__))
#define NODRIX_POPCOUNT_CLONES __attribute__((target_clones("popcnt", "default")))
#else
#define NODRIX_POPCOUNT_CLONES
#endif
