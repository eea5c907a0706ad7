// SPDX-License-Identifier: GPL-3.0-or-later
// cTree: one coalescent simulation. A replicate follows the lineages of a sample of n
// sequences of L sites back in time through coalescence, recombination and migration among
// demes (with a size change and a split), places mutations on the genealogy and keeps them in
// the replicate's mutation table, from which the simulated sequences are made.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "analysis/MutHold.h"
#include "coalescent/Material.h"
#include "coalescent/Unirator.h"
#include "common/PlatformRandom.h"
#include "trees/TreeUnit.h"

struct IMessages;

// A lineage while it is followed, a recorded node afterwards.
class CoalNode : public Node {
 public:
  Material material;
};

// What the simulation dialog sets before InitSimulation. Times are in generations; rates of
// events are per 4 Ne generations (k lineages of a deme: coalescence k(k-1)/2, recombination
// k R / 2, migration k Nm), as in Hudson's ms.
struct CoalescentInputs {
  int sampleSize = 12;               // n
  int seqLength = 100;               // L; sites are 0..L-1
  int demeCount = 1;                 // D
  std::vector<int> demeSampleSizes;  // deme 0 holds samples 0.., deme 1 the next ones, ...
  float recRatePerSite = 0;          // C = 4 Nc between adjacent sites
  double migrationRate = 0;          // Nm
  int migrationStart = 0;            // migration from this many generations ago on
  double splitTime = 0;              // the demes are one population before it
  bool splitOff = true;
  bool subdivided = false;
  bool constantSize = true;
  double sizeChangeTime = 0;
  float growthRate = 0;
  int effectiveSize = 1000000;  // Ne
  int targetCount = 10;         // mutations or segregating sites when not conditional on theta
  double theta = 0.005;         // per site
  bool conditionalOnTheta = false;
  bool conditionalOnMutations = false;  // the target counts mutations, not segregating sites
};

class cTree : public TTree {
 public:
  explicit cTree(IMessages& messages) : messages_(messages) {}

  CoalescentInputs inputs;

  // Built by InitSimulation.
  double harmonicN = 0;    // a(n)
  float recRateTotal = 0;  // R = (L - 1) C
  samptype allSampled, noneSampled;
  std::vector<std::vector<std::unique_ptr<CoalNode>>> demes;
  long double currentTime = 0;
  tmutholder mutations;  // the replicate's mutations, sorted by site when it is built
  int mutationCount = 0;
  Unirator unirator;
  PlatformRandom random{1};

  // Checks and completes the inputs and seeds both generators from seed (from the clock when
  // absent). False, with the reason in the message pane, for inputs a replicate could never
  // finish with: lineages in two or more demes that never meet (no migration, no split) while
  // recombination keeps events coming; fewer sites than a target of segregating sites; Ne < 1.
  [[nodiscard]] bool InitSimulation(std::optional<std::uint64_t> seed = std::nullopt);
  [[nodiscard]] std::uint64_t SeedUsed() const { return seed_; }
  // Both generators started again from seed (SeedUsed stays the simulation's seed).
  void SeedReplicate(std::uint64_t seed);

  // One replicate. cancelled (when set) is polled every few hundred events and while
  // mutations are thrown; false means the replicate was abandoned (its table is empty).
  bool BuildReplicate(const std::function<bool()>& cancelled = {});

  // Whole-sample mask and one mask per deme (its run of sample numbers).
  [[nodiscard]] const samptype& WholeSample() const { return wholeSample_; }
  [[nodiscard]] const std::vector<samptype>& DemeMasks() const { return demeMasks_; }

  // The ancestral sequence, drawn once per simulation (before the first replicate), and the
  // replicate's n sequences, named "Seq1".. by the callers.
  void MakeAncestor();
  [[nodiscard]] const std::string& Ancestor() const { return ancestor_; }
  void MakeSequences(std::vector<std::string>& sequences);

  // ---- the steps of a replicate (BuildReplicate runs them; tests may script them) ----
  void StartReplicate();
  // The waiting time to the next event in generations. eventFollows is false when the wait
  // only reaches the split time: the demes then merge and no event happens.
  double WaitingTime(bool& eventFollows);
  // Time passes by w with the current lineages: the branch total grows and, conditional on
  // theta, mutations fall on them.
  void AdvanceTime(double w);
  struct Event {
    int deme = 0;
    int kind = 3;  // 0 coalescence, 1 recombination, 2 migration, 3 none possible
  };
  Event PickEvent();
  void Coalesce(int deme);
  void Recombine(int deme);
  void Migrate(int deme);
  // The same events with the lineages (indices in the deme list) and the break given.
  bool CoalesceAt(int deme, int first, int second);
  bool RecombineAt(int deme, int index, int breakpoint);  // false: no material split
  bool MigrateAt(int deme, int index, int target);
  void MergeDemes();
  // Places (or throws and trims) the mutations, sorts them and frees the genealogy.
  bool FinishReplicate(const std::function<bool()>& cancelled = {});

  [[nodiscard]] int LineageCount() const { return lineageCount_; }
  // Each recorded node's branch: its height to its parent's; a recombinant child has two
  // parent links over the same time and counts it once. Also sets the links' lengths.
  std::vector<double> BranchTotals();
  // The recorded node mutations are thrown on next: every node equally likely.
  int ChooseThrowNode();
  std::int64_t PoissonCount(double mean) { return ::PoissonCount(unirator, mean); }

  // Test hooks: the last finished replicate's time to the most recent common ancestor and
  // total branch length (lineages times time), in generations.
  [[nodiscard]] double LastTmrca() const { return lastTmrca_; }
  [[nodiscard]] double LastBranchTotal() const { return lastBranchTotal_; }

 private:
  std::unique_ptr<CoalNode> NewNode();
  std::unique_ptr<CoalNode> TakeLineage(int deme, int index);
  void PutLineage(int deme, std::unique_ptr<CoalNode> node);
  void RecordNode(std::unique_ptr<CoalNode> node);
  // The parent's material: b's runs merged with a's.
  void MergeMaterial(CoalNode& parent, const CoalNode& b, const CoalNode& a) const;
  // Marks the finished runs; false when every run is finished (the lineage has found the
  // common ancestor of all it carries and is no longer followed).
  bool IsInformative(CoalNode& node) const;
  [[nodiscard]] bool Recording() const { return !inputs.conditionalOnTheta; }
  double DemeRate(std::size_t k) const;
  CoalNode* LineageAt(int index) const;  // over all demes in order
  bool KeepMutation(const CoalNode& node, int site);
  bool ThrowMutations(const std::function<bool()>& cancelled);
  void TrimMutations();
  void FreeGenealogy();
  void Note(const std::string& text);
  void FlushNotes();
  void Link(CoalNode& parent, CoalNode& child);

  IMessages& messages_;
  std::uint64_t seed_ = 0;
  samptype wholeSample_;
  std::vector<samptype> demeMasks_;
  std::string ancestor_;
  int lineageCount_ = 0;
  long double branchTotal_ = 0;
  double lastTmrca_ = 0, lastBranchTotal_ = 0;
  std::unordered_map<int, int> mutationsAtSite_;  // target of segregating sites
  std::vector<std::unique_ptr<CoalNode>> spare_;  // freed nodes kept for reuse
  std::map<std::string, int> notes_;              // this replicate's messages
};
