// SPDX-License-Identifier: GPL-3.0-or-later
// Mutations of a replicate under the infinite-sites model: placed while the genealogy grows
// (conditional on theta) or thrown on the finished genealogy up to a target, then sorted; the
// ancestral sequence and the simulated sequences.
#include <algorithm>

#include "coalescent/CoalUnit.h"

namespace {

constexpr int kThrowsPerCancelCheck = 1024;

}  // namespace

void cTree::AdvanceTime(double w) {
  branchTotal_ += static_cast<long double>(w) * lineageCount_;
  if (inputs.conditionalOnTheta && w > 0 && lineageCount_ > 0) {
    // Every lineage gets mutations at theta L / 2 per 4 Ne generations, over the demes the
    // simulation started with: the rate stays the same when the demes merge. One Poisson count
    // for all lineages, each mutation on a lineage drawn uniformly, is the same process as a
    // count per lineage.
    const double perLineage = w / (4.0 * inputs.effectiveSize) * inputs.theta * inputs.seqLength /
                              (2.0 * inputs.demeCount);
    const std::int64_t count = PoissonCount(perLineage * lineageCount_);
    for (std::int64_t c = 0; c < count; ++c) {
      const CoalNode* lineage = LineageAt(random.NextInt(lineageCount_));
      const int site = random.NextInt(inputs.seqLength);
      if (lineage == nullptr) {
        Note("!");
        continue;
      }
      if (KeepMutation(*lineage, site)) ++mutationCount;
    }
  }
  currentTime += w;
}

bool cTree::KeepMutation(const CoalNode& node, int site) {
  const LineageSegment* run = UnfinishedRunAt(node.material, site);
  if (run == nullptr) return false;
  const int carriers = run->carriers.Count();
  if (carriers <= 0 || carriers >= inputs.sampleSize) return false;
  tmutation& m = mutations.mutations.emplace_back();
  static_cast<samptype&>(m) = run->carriers;
  m.position = site;
  m.carrierCount = carriers;
  return true;
}

bool cTree::FinishReplicate(const std::function<bool()>& cancelled) {
  const bool done = inputs.conditionalOnTheta || ThrowMutations(cancelled);
  if (done) {
    std::stable_sort(
        mutations.mutations.begin(), mutations.mutations.end(),
        [](const tmutation& a, const tmutation& b) { return a.position < b.position; });
    if (!inputs.conditionalOnTheta) TrimMutations();
    lastTmrca_ = static_cast<double>(currentTime);
    lastBranchTotal_ = static_cast<double>(branchTotal_);
  } else {
    mutations.mutations.clear();
    mutationCount = 0;
  }
  FreeGenealogy();
  FlushNotes();
  return done;
}

std::vector<double> cTree::BranchTotals() {
  std::vector<double> totals(nodes.size(), 0.0);
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    Node& node = *nodes[i];
    bool counted = false;
    for (NodeLink& link : node.links) {
      if (!link.isParent) continue;
      link.branchLength = link.other->height - node.height;
      if (!counted) totals[i] = link.branchLength;
      counted = true;
    }
  }
  return totals;
}

int cTree::ChooseThrowNode() {
  return random.NextInt(static_cast<int>(nodes.size()));
}

bool cTree::ThrowMutations(const std::function<bool()>& cancelled) {
  const std::vector<double> totals = BranchTotals();
  const int target = inputs.targetCount;
  if (target <= 0 || inputs.sampleSize < 2 ||
      std::none_of(totals.begin(), totals.end(), [](double t) { return t > 0; }))
    return true;
  const double perGeneration = inputs.theta * inputs.seqLength / 2 / (4.0 * inputs.effectiveSize);
  const bool bySites = !inputs.conditionalOnMutations;
  long long throws = 0;
  while (mutationCount < target) {
    if (cancelled && ++throws % kThrowsPerCancelCheck == 0 && cancelled()) return false;
    const int i = ChooseThrowNode();
    const auto& node = static_cast<const CoalNode&>(*nodes[static_cast<std::size_t>(i)]);
    const std::int64_t count = PoissonCount(totals[static_cast<std::size_t>(i)] * perGeneration);
    for (std::int64_t c = 0; c < count; ++c) {
      const int site = random.NextInt(inputs.seqLength);
      if (!KeepMutation(node, site)) continue;
      // Every kept mutation segregates, so the segregating sites are the occupied sites.
      if (!bySites || mutationsAtSite_[site]++ == 0) ++mutationCount;
    }
  }
  return true;
}

void cTree::TrimMutations() {
  auto& list = mutations.mutations;
  const bool bySites = !inputs.conditionalOnMutations;
  int count = bySites ? static_cast<int>(mutationsAtSite_.size()) : static_cast<int>(list.size());
  while (count > inputs.targetCount && !list.empty()) {
    const auto index = static_cast<std::size_t>(random.NextInt(static_cast<int>(list.size())));
    const int site = list[index].position;
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    if (!bySites || --mutationsAtSite_[site] == 0) --count;
  }
  mutationCount = count;
}

void cTree::MakeAncestor() {
  ancestor_.resize(static_cast<std::size_t>(inputs.seqLength));
  for (char& letter : ancestor_) {
    const double u = random.NextDouble();
    letter = u <= 0.25 ? 'A' : u <= 0.5 ? 'T' : u <= 0.75 ? 'G' : 'C';
  }
}

void cTree::MakeSequences(std::vector<std::string>& sequences) {
  static constexpr char kLetters[4] = {'A', 'T', 'G', 'C'};
  if (ancestor_.empty()) MakeAncestor();
  sequences.assign(static_cast<std::size_t>(inputs.sampleSize), ancestor_);
  for (const tmutation& m : mutations.mutations) {
    if (m.position < 0 || m.position >= static_cast<int>(ancestor_.size())) {
      Note("CreateSeqErr: MutSpot > Seqlen");
      continue;
    }
    const auto p = static_cast<std::size_t>(m.position);
    char derived;
    do derived = kLetters[random.NextInt(4)];
    while (derived == ancestor_[p]);
    for (int i = 0; i < m.Size() && i < inputs.sampleSize; ++i)
      if (m.Test(i)) sequences[static_cast<std::size_t>(i)][p] = derived;
  }
  FlushNotes();
}
