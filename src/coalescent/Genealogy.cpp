// SPDX-License-Identifier: GPL-3.0-or-later
// The genealogy of one replicate: set-up, waiting times, the choice of events, coalescence,
// recombination, migration and the merging of demes.
#include <algorithm>
#include <cmath>
#include <numeric>

#include "coalescent/CoalUnit.h"
#include "common/Services.h"

namespace {

// How many events pass between two looks at the cancel flag.
constexpr int kEventsPerCancelCheck = 256;

const char* const kNeverEnds =
    "Error: samples from different demes can never coalesce (migration rate 0, no population "
    "split) while recombination goes on, so a replicate would never end.\r\nSet a migration "
    "rate or a population split, or sample from one deme only";

}  // namespace

bool cTree::InitSimulation(std::optional<std::uint64_t> seed) {
  CoalescentInputs& in = inputs;
  if (in.sampleSize <= 0) in.sampleSize = 1;
  if (in.seqLength <= 0) in.seqLength = 1;
  if (in.demeCount <= 0) in.demeCount = 1;
  if (!in.subdivided) {
    in.demeCount = 1;
    in.demeSampleSizes.assign(1, in.sampleSize);
  }
  if (in.demeSampleSizes.empty()) in.demeSampleSizes.push_back(0);
  in.demeSampleSizes.resize(static_cast<std::size_t>(in.demeCount), 0);
  const bool negative = std::any_of(in.demeSampleSizes.begin(), in.demeSampleSizes.end(),
                                    [](int s) { return s < 0; });
  const long long sum = std::accumulate(in.demeSampleSizes.begin(), in.demeSampleSizes.end(), 0LL);
  if (in.subdivided && (negative || sum != in.sampleSize)) {
    messages_.ReportError(
        "Error: Total number of sequences is not equal to\r\nthe sum of sequences sampled "
        "from all the demes\r\nAll sequences will be assigned to one deme");
    std::fill(in.demeSampleSizes.begin(), in.demeSampleSizes.end(), 0);
    in.demeSampleSizes[0] = in.sampleSize;
  }

  recRateTotal = static_cast<float>(in.seqLength - 1) * in.recRatePerSite;
  harmonicN = tmutholder::a(in.sampleSize);

  if (in.effectiveSize < 1) {
    messages_.ReportError("Error: the effective population size must be at least 1");
    return false;
  }
  if (!in.conditionalOnTheta && !in.conditionalOnMutations && in.targetCount > in.seqLength) {
    messages_.ReportError("Number of segregating sites can not be > than the sequence length!");
    return false;
  }
  const auto sampledDemes = std::count_if(in.demeSampleSizes.begin(), in.demeSampleSizes.end(),
                                          [](int s) { return s > 0; });
  if (sampledDemes > 1 && !(in.migrationRate > 0) && in.splitOff && recRateTotal > 0) {
    messages_.ReportError(kNeverEnds);
    return false;
  }

  const int n = in.sampleSize;
  allSampled.Resize(n);
  for (int i = 0; i < n; ++i) allSampled.Set(i);
  noneSampled.Resize(n);
  wholeSample_ = allSampled;
  demeMasks_.assign(static_cast<std::size_t>(in.demeCount), noneSampled);
  for (int d = 0, first = 0; d < in.demeCount; ++d) {
    const int size = in.demeSampleSizes[static_cast<std::size_t>(d)];
    for (int j = first; j < first + size; ++j) demeMasks_[static_cast<std::size_t>(d)].Set(j);
    first += size;
  }

  mutations = tmutholder();
  mutations.groupId = 0;
  mutations.sampleMask = allSampled;
  mutations.siteAnalysed.assign(static_cast<std::size_t>(in.seqLength), true);
  mutations.noncodingPositions = in.seqLength;

  seed_ = seed.value_or(ClockSeed());
  SeedReplicate(seed_);

  // The pilot theta: mutations thrown on the finished genealogy come near the target.
  if (!in.conditionalOnTheta) in.theta = in.targetCount / (3 * (harmonicN + in.seqLength));
  ancestor_.clear();
  return true;
}

void cTree::SeedReplicate(std::uint64_t seed) {
  const SimulationSeeds s = SeedsFrom(seed);
  random.Seed(s.platformState);
  unirator.InitLags(s.seedA, s.seedB);
}

void cTree::StartReplicate() {
  FreeGenealogy();
  demes.resize(static_cast<std::size_t>(inputs.demeCount));
  currentTime = 0;
  branchTotal_ = 0;
  mutations.mutations.clear();
  mutationCount = 0;
  mutationsAtSite_.clear();
  const int n = inputs.sampleSize;
  for (int d = 0, j = 0; d < inputs.demeCount; ++d) {
    for (int k = 0; k < inputs.demeSampleSizes[static_cast<std::size_t>(d)]; ++k, ++j) {
      auto node = NewNode();
      LineageSegment& run = node->material.emplace_back();
      run.carriers.Resize(n);
      run.carriers.Set(j);
      run.firstSite = 0;
      run.lastSite = inputs.seqLength - 1;
      PutLineage(d, std::move(node));
    }
  }
}

bool cTree::BuildReplicate(const std::function<bool()>& cancelled) {
  StartReplicate();
  int events = 0;
  while (lineageCount_ >= 2) {
    if (cancelled && ++events % kEventsPerCancelCheck == 0 && cancelled()) {
      mutations.mutations.clear();
      mutationCount = 0;
      FreeGenealogy();
      FlushNotes();
      return false;
    }
    bool eventFollows = true;
    const double w = WaitingTime(eventFollows);
    AdvanceTime(w);
    if (!eventFollows) {
      currentTime = inputs.splitTime;
      continue;
    }
    const Event e = PickEvent();
    switch (e.kind) {
      case 0:
        Coalesce(e.deme);
        break;
      case 1:
        Recombine(e.deme);
        break;
      case 2:
        Migrate(e.deme);
        break;
      default:
        Note("PickEventError");
        break;
    }
  }
  return FinishReplicate(cancelled);
}

double cTree::DemeRate(std::size_t k) const {
  const double kd = static_cast<double>(k);
  return kd * (kd - 1) / 2 + kd * recRateTotal / 2 + kd * inputs.migrationRate;
}

double cTree::WaitingTime(bool& eventFollows) {
  eventFollows = true;
  const bool splitOn = !inputs.splitOff;
  if (splitOn && demes.size() > 1 && currentTime - inputs.splitTime >= 0) MergeDemes();
  bool merged = false;
  double w = 0;
  for (;;) {
    double lambda = 0;
    for (const auto& deme : demes) lambda += DemeRate(deme.size());
    if (lambda != 0) {
      w = -std::log(unirator.Uniform()) * 4.0 * inputs.effectiveSize / lambda;
      break;
    }
    if (demes.size() <= 1) break;
    // No event is possible while the demes stay apart (each holds one lineage at most).
    MergeDemes();
    merged = true;
  }
  if (merged && splitOn) w += static_cast<double>(inputs.splitTime - currentTime);
  if (!inputs.constantSize && currentTime - inputs.sizeChangeTime >= 0 && inputs.growthRate > 0)
    w = std::log(inputs.growthRate * w + 1) / inputs.growthRate;
  // The demes become one population at the split: an event drawn beyond it would happen at
  // rates that no longer hold, so time stops there and the next wait is drawn merged.
  if (splitOn && demes.size() > 1 && currentTime + w > inputs.splitTime) {
    w = static_cast<double>(inputs.splitTime - currentTime);
    eventFollows = false;
  }
  return w;
}

cTree::Event cTree::PickEvent() {
  Event e;
  std::size_t chosen = 0;
  if (demes.size() > 1) {
    double lambda = 0;
    for (const auto& deme : demes) lambda += DemeRate(deme.size());
    const double u = unirator.Uniform();
    double running = 0;
    chosen = demes.size();
    std::size_t lastPossible = 0;
    for (std::size_t d = 0; d < demes.size(); ++d) {
      const double rate = DemeRate(demes[d].size());
      if (rate > 0) lastPossible = d;
      running += rate / lambda;
      if (running > u) {
        chosen = d;
        break;
      }
    }
    // Rounding can leave the sum just below u: the last deme where something can happen.
    if (chosen == demes.size()) chosen = lastPossible;
  }
  e.deme = static_cast<int>(chosen);
  const double k = static_cast<double>(demes[chosen].size());
  const double terms[3] = {k * (k - 1) / 2, k * recRateTotal / 2, k * inputs.migrationRate};
  const double c = terms[0] + terms[1] + terms[2];
  if (c == 0) return e;
  const double u = unirator.Uniform();
  double running = 0;
  for (int kind = 0; kind < 3; ++kind) {
    if (terms[kind] > 0) e.kind = kind;
    running += terms[kind] / c;
    if (terms[kind] > 0 && running > u) break;
  }
  return e;
}

void cTree::Coalesce(int deme) {
  const int k = static_cast<int>(demes[static_cast<std::size_t>(deme)].size());
  const int first = random.NextInt(k);
  int second = random.NextInt(k - 1);
  if (second >= first) ++second;
  CoalesceAt(deme, first, second);
}

bool cTree::CoalesceAt(int deme, int first, int second) {
  const int k = deme >= 0 && deme < static_cast<int>(demes.size())
                    ? static_cast<int>(demes[static_cast<std::size_t>(deme)].size())
                    : 0;
  if (first == second || first < 0 || second < 0 || first >= k || second >= k) {
    Note("GetNodeError: ArNode out of bounds");
    return false;
  }
  // The higher index first: removing it leaves the lower one in place.
  std::unique_ptr<CoalNode> high = TakeLineage(deme, std::max(first, second));
  std::unique_ptr<CoalNode> low = TakeLineage(deme, std::min(first, second));
  std::unique_ptr<CoalNode>& a = first > second ? high : low;
  std::unique_ptr<CoalNode>& b = first > second ? low : high;
  auto parent = NewNode();
  parent->height = static_cast<double>(currentTime);
  MergeMaterial(*parent, *b, *a);
  if (Recording()) {
    Link(*parent, *a);
    Link(*parent, *b);
  }
  RecordNode(std::move(a));
  RecordNode(std::move(b));
  if (IsInformative(*parent))
    PutLineage(deme, std::move(parent));
  else
    RecordNode(std::move(parent));
  return true;
}

void cTree::Recombine(int deme) {
  const int k = static_cast<int>(demes[static_cast<std::size_t>(deme)].size());
  const int index = random.NextInt(k);
  RecombineAt(deme, index, random.NextInt(inputs.seqLength - 1));
}

bool cTree::RecombineAt(int deme, int index, int breakpoint) {
  std::unique_ptr<CoalNode> x = TakeLineage(deme, index);
  if (!x) return false;
  // The break splits the lineage when unfinished material lies on both sides of it (also
  // across a gap between runs, as in Hudson's algorithm); otherwise the lineage's ancestry
  // is unchanged and it goes back to its deme.
  int first = 0, last = 0;
  if (!UnfinishedSpan(x->material, first, last) || breakpoint < first || breakpoint >= last) {
    PutLineage(deme, std::move(x));
    return false;
  }
  auto left = NewNode(), right = NewNode();
  SplitMaterial(x->material, breakpoint, left->material, right->material);
  left->height = right->height = static_cast<double>(currentTime);
  if (Recording()) {
    Link(*left, *x);
    Link(*right, *x);
  }
  RecordNode(std::move(x));
  for (std::unique_ptr<CoalNode>* parent : {&left, &right}) {
    if (IsInformative(**parent))
      PutLineage(deme, std::move(*parent));
    else
      RecordNode(std::move(*parent));
  }
  return true;
}

void cTree::Migrate(int deme) {
  if (currentTime - inputs.migrationStart < 0) return;
  const int k = static_cast<int>(demes[static_cast<std::size_t>(deme)].size());
  const int index = random.NextInt(k);
  MigrateAt(deme, index, random.NextInt(static_cast<int>(demes.size())));
}

bool cTree::MigrateAt(int deme, int index, int target) {
  if (target < 0 || target >= static_cast<int>(demes.size())) {
    Note("AddNodeError: ArNode out of bounds");
    return false;
  }
  std::unique_ptr<CoalNode> x = TakeLineage(deme, index);
  if (!x) return false;
  PutLineage(target, std::move(x));
  return true;
}

void cTree::MergeDemes() {
  if (demes.empty()) return;
  for (std::size_t d = 1; d < demes.size(); ++d)
    for (auto& lineage : demes[d]) demes[0].push_back(std::move(lineage));
  demes.resize(1);
}

std::unique_ptr<CoalNode> cTree::TakeLineage(int deme, int index) {
  if (deme < 0 || deme >= static_cast<int>(demes.size()) || index < 0 ||
      index >= static_cast<int>(demes[static_cast<std::size_t>(deme)].size())) {
    Note("GetNodeError: ArNode out of bounds");
    return nullptr;
  }
  // Lineages are drawn uniformly, so their order is free: the last one fills the gap.
  auto& list = demes[static_cast<std::size_t>(deme)];
  std::unique_ptr<CoalNode> node = std::move(list[static_cast<std::size_t>(index)]);
  if (static_cast<std::size_t>(index) + 1 != list.size())
    list[static_cast<std::size_t>(index)] = std::move(list.back());
  list.pop_back();
  --lineageCount_;
  return node;
}

void cTree::PutLineage(int deme, std::unique_ptr<CoalNode> node) {
  if (deme < 0 || deme >= static_cast<int>(demes.size())) {
    Note("AddNodeError: ArNode out of bounds");
    spare_.push_back(std::move(node));
    return;
  }
  demes[static_cast<std::size_t>(deme)].push_back(std::move(node));
  ++lineageCount_;
}

void cTree::RecordNode(std::unique_ptr<CoalNode> node) {
  if (Recording())
    nodes.push_back(std::move(node));
  else
    spare_.push_back(std::move(node));
}

void cTree::MergeMaterial(CoalNode& parent, const CoalNode& b, const CoalNode& a) const {
  parent.material = ::MergeMaterial(b.material, a.material);
}

bool cTree::IsInformative(CoalNode& node) const {
  bool open = false;
  for (LineageSegment& run : node.material) {
    run.finished = run.carriers == allSampled || run.carriers == noneSampled;
    open = open || !run.finished;
  }
  return open;
}

std::unique_ptr<CoalNode> cTree::NewNode() {
  if (spare_.empty()) return std::make_unique<CoalNode>();
  std::unique_ptr<CoalNode> node = std::move(spare_.back());
  spare_.pop_back();
  node->height = 0;
  node->links.clear();
  node->material.clear();
  return node;
}

void cTree::Link(CoalNode& parent, CoalNode& child) {
  NodeLink down;
  down.other = &child;
  parent.links.push_back(down);
  NodeLink up;
  up.other = &parent;
  up.isParent = true;
  child.links.push_back(up);
}

CoalNode* cTree::LineageAt(int index) const {
  for (const auto& deme : demes) {
    if (index < static_cast<int>(deme.size())) return deme[static_cast<std::size_t>(index)].get();
    index -= static_cast<int>(deme.size());
  }
  return nullptr;
}

void cTree::FreeGenealogy() {
  for (auto& deme : demes)
    for (auto& lineage : deme) spare_.push_back(std::move(lineage));
  demes.clear();
  for (auto& node : nodes) spare_.emplace_back(static_cast<CoalNode*>(node.release()));
  nodes.clear();
  lineageCount_ = 0;
}

void cTree::Note(const std::string& text) {
  ++notes_[text];
}

void cTree::FlushNotes() {
  for (const auto& [text, count] : notes_)
    messages_.ReportError(count > 1 ? text + " (" + std::to_string(count) + " times)" : text);
  notes_.clear();
}
