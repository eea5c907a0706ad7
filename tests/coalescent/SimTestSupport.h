// SPDX-License-Identifier: GPL-3.0-or-later
// Small simulations set up for the tests.
#pragma once
#include <cstdint>

#include "coalescent/CoalUnit.h"
#include "coalescent/Moments.h"
#include "coalescent/SimulationRun.h"
#include "support/RecordingServices.h"

// One deme, constant size, conditional on theta, no recombination unless set afterwards.
inline CoalescentInputs NeutralInputs(int n, int length, double thetaPerSite) {
  CoalescentInputs in;
  in.sampleSize = n;
  in.seqLength = length;
  in.theta = thetaPerSite;
  in.conditionalOnTheta = true;
  in.effectiveSize = 1000;
  return in;
}

// Runs the replicates and hands each to fn.
template <typename Fn>
void Simulate(const CoalescentInputs& in, std::uint64_t seed, int runs, const SimStatChoice& stats,
              Fn fn, bool withSequences = false) {
  RecordingMessages messages;
  cTree tree(messages);
  tree.inputs = in;
  if (!tree.InitSimulation(seed)) return;
  RunCallbacks callbacks;
  callbacks.sink = [&](const ReplicateView& v) { fn(tree, v); };
  RunReplicates(tree, runs, stats, withSequences, callbacks);
}
