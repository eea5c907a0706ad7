// SPDX-License-Identifier: GPL-3.0-or-later
// Population subdivision without its dialog: matrices of Fst, Kst*, Hst, Nm, Dxy, Da and of
// shared, fixed and exclusive sites over the pairs of groups, overall values, the permutation
// test, bootstrap intervals, sliding-window profiles and the split of an assembly at divergent
// windows.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/BaseDbox1.h"
#include "analysis/Subdivision.h"
#include "common/PlatformRandom.h"

inline constexpr const char* kSubdivReportCaption = "Population subdivision report";

enum class SubdivWindowStat { Fst, Dxy, Da, SFixed };

struct PopSubdivOptions {
  bool fst = true;         // cbFst
  bool kst = true;         // cbKst
  bool hst = true;         // cbDst
  bool nm = false;         // cbNm
  bool dxy = false;        // cbDxy
  bool da = false;         // cbDa
  bool sFixed = false;     // cbSfix
  bool permute = false;    // cbperm
  int permutations = 100;  // pruns
  bool csvFile = false;    // doCSVfile
  std::string csvFileName = "boot_out.csv";
  SubdivWindowStat windowStat = SubdivWindowStat::Fst;  // swFst / swDxy / swDa / swSfx
  bool split = false;                                   // cbSplit
  int splitThreshold = 5;                               // thrsh
  // A fixed seed reproduces the permutations and bootstrap replicates of a run; without one
  // the generator is seeded once from the clock.
  std::optional<std::uint32_t> seed;
};

class PopSubdivAnalysis : public AnalysisFrame {
 public:
  PopSubdivAnalysis(FrameOptions frame, PopSubdivOptions options);

 protected:
  bool BeforeRun() override;
  void DoForm(TDataSeq& ds) override;
  void AfterRun() override;

 private:
  struct Blocks;
  struct Region {
    int first = 0, last = 0, shared = 0, fixed = 0;
  };
  [[nodiscard]] std::vector<int> SelectedGroups() const;
  void PairMatrices(TDataSeq& ds, const tmutholder& t, const std::vector<int>& groups,
                    const std::vector<samptype>& masks, Blocks& b);
  void Overall(TDataSeq& ds, const tmutholder& t, const std::vector<samptype>& masks, Blocks& b);
  void Permutations(const tmutholder& t, const std::vector<samptype>& masks,
                    const SubdivisionValues& observed, const DivergenceSums& observedSums,
                    Blocks& b);
  void Bootstrap(const tmutholder& t, const std::vector<samptype>& masks, Blocks& b);
  void Windows(TDataSeq& ds, const tmutholder& t, const std::vector<samptype>& masks);
  void Split(const TDataSeq& ds, const std::vector<Region>& regions);

  PopSubdivOptions so;
  PlatformRandom rng_;
  bool fewGroupsNoticed_ = false;
};

// The backward search for a run of unknown columns in left..right (see FindGapRun for the
// forward one): true with left and right moved to the run's edges.
bool FindGapRunBackward(const TDataSeq& ds, int& left, int& right);

// The whole analysis for a project: what the dialog's Ok and the command line both run.
AnalysisOutput RunPopSubdiv(TDataProj& project, const FrameOptions& frame,
                            const PopSubdivOptions& options, Services& services);

// The frame options the subdivision dialog starts with (no outgroup divergence, no plot).
FrameOptions PopSubdivFrameDefaults();
