// SPDX-License-Identifier: GPL-3.0-or-later
// RunReplicates: R replicates of an initialised simulation, each handed to a sink with its
// mutation table, its sequences (when asked for) and its statistics.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "coalescent/CoalUnit.h"
#include "coalescent/SimStats.h"

struct ReplicateView {
  int index = 0;  // 0-based
  const tmutholder& table;
  const std::vector<std::string>* sequences;  // nullptr unless asked for
  const ReplicateStats& stats;
};

struct RunCallbacks {
  std::function<void(const ReplicateView&)> sink;
  // Before each replicate is built (a run may give every replicate its own seed).
  std::function<void(int index)> starting;
  std::function<void(int done)> progress;  // after each finished replicate
  // Polled between replicates and inside long ones; true stops the run.
  std::function<bool()> cancelled;
};

struct RunOutcome {
  int completed = 0;  // replicates handed to the sink
  bool cancelled = false;
};

// The tree must have passed InitSimulation. With sequences, the ancestral sequence is drawn
// before the first replicate.
RunOutcome RunReplicates(cTree& tree, int runs, const SimStatChoice& stats, bool withSequences,
                         const RunCallbacks& callbacks);
