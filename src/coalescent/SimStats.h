// SPDX-License-Identifier: GPL-3.0-or-later
// The statistics of one simulated sample, for the whole sample and each deme, computed by the
// same table operations the analyses of real data use.
#pragma once
#include <vector>

#include "analysis/MutHold.h"
#include "analysis/Neutrality.h"
#include "analysis/Subdivision.h"

// Which statistics a run computes (the options of the simulation dialog).
struct SimStatChoice {
  bool segSites = true;
  bool singletons = false;
  bool theta = false;
  bool pi = true;
  bool tajimaD = true;
  bool fuLi = false;  // D* and F*
  bool zns = false;
  bool wallBQ = false;
  bool fst = false, dst = false, kst = false, nm = false;  // any of them computes all four
  bool dxy = false;                                        // Dxy and Da
  bool shared = false;  // shared, fixed and exclusive sites; only with exactly two demes
};

// Values of one sample. Sentinels as the operations give them: kNeutralityError for D, D*, F*;
// -1 for theta (fewer than two sequences) and ZnS (fewer than two segregating mutations).
struct SampleStats {
  int segSites = 0;
  double singletons = 0;  // fraction of S; 0 when S < 1
  double theta = -1;      // Watterson's, per site
  double pi = 0;          // per site
  double tajimaD = kNeutralityError;
  double fuLiDstar = kNeutralityError, fuLiFstar = kNeutralityError;
  double zns = kZnSError;
  double wallB = 0, wallQ = 0;
};

struct ReplicateStats {
  SampleStats whole;
  std::vector<SampleStats> demes;  // one per deme
  bool hasShared = false;          // exactly two demes and shared asked for
  SharedFixedCounts shared;
  // Among the demes that hold samples; -1 where not defined.
  double fst = -1, dst = -1, kst = -1, nm = -1;
  double dxy = -1, da = -1;  // means over pairs of demes
};

void ComputeSampleStats(const tmutholder& table, const samptype& mask, int seqLength,
                        const SimStatChoice& choice, SampleStats& out);

ReplicateStats ComputeReplicateStats(const tmutholder& table, const samptype& whole,
                                     const std::vector<samptype>& demeMasks, int seqLength,
                                     const SimStatChoice& choice);
