// SPDX-License-Identifier: GPL-3.0-or-later
// The replicate loop.
#include "coalescent/SimulationRun.h"

RunOutcome RunReplicates(cTree& tree, int runs, const SimStatChoice& stats, bool withSequences,
                         const RunCallbacks& callbacks) {
  RunOutcome outcome;
  if (withSequences) tree.MakeAncestor();
  std::vector<std::string> sequences;
  for (int r = 0; r < runs; ++r) {
    if (callbacks.cancelled && callbacks.cancelled()) {
      outcome.cancelled = true;
      break;
    }
    if (callbacks.starting) callbacks.starting(r);
    if (!tree.BuildReplicate(callbacks.cancelled)) {
      outcome.cancelled = true;
      break;
    }
    if (withSequences) tree.MakeSequences(sequences);
    const ReplicateStats values = ComputeReplicateStats(
        tree.mutations, tree.WholeSample(), tree.DemeMasks(), tree.inputs.seqLength, stats);
    if (callbacks.sink)
      callbacks.sink(
          ReplicateView{r, tree.mutations, withSequences ? &sequences : nullptr, values});
    ++outcome.completed;
    if (callbacks.progress) callbacks.progress(outcome.completed);
  }
  return outcome;
}
