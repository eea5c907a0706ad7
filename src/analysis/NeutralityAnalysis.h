// SPDX-License-Identifier: GPL-3.0-or-later
// The neutrality-test and LD analyses on the analysis frame: group reports, sliding-window
// profiles, the pairwise LD files and the assembly scan. Dialogs and the command line run them.
#pragma once
#include <string>
#include <vector>

#include "analysis/BaseDbox1.h"
#include "analysis/LDOutput.h"
#include "analysis/NeutralityReport.h"

inline constexpr const char* kNeutralityReportCaption = "Neutrality tests report";
inline constexpr const char* kTajimaPlotCaption = "Sliding window analysis for TajimaD";
inline constexpr const char* kLDReportCaption = "LD report";

struct NeutralityRunOptions {
  NeutralityChoices tests;
  bool swTajimaD = false;  // cbSWTajD
  bool swZnS = false;      // cbSwZnS
};

class NeutralityAnalysis : public AnalysisFrame {
 public:
  NeutralityAnalysis(FrameOptions frame, NeutralityRunOptions options)
      : AnalysisFrame(std::move(frame)), no(options) {}

 protected:
  void DoForm(TDataSeq& ds) override;
  void AnalysePop(TDataSeq& ds, const std::string& groupName) override;
  void AfterRun() override;

 private:
  NeutralityRunOptions no;
  std::vector<tser> series_;
};

AnalysisOutput RunNeutrality(TDataProj& project, const FrameOptions& frame,
                             const NeutralityRunOptions& options, Services& services);

enum class LDPairMode { None, All, Window };

struct LDRunOptions {
  LDPairChoices pairs;
  LDSummaryChoices summary;
  LDPairMode mode = LDPairMode::None;
  int windowSize = 100;  // seWinSize
  bool crossTable = false;
  bool fileNotice = false;  // cbLD
  std::string pairFile = "LD-pairwise.csv";
  bool assemblyTest = false;
  int asmWinSize = 5, asmWinStep = 1;
  bool split = false;
  double splitCoef = 5;
};

// The frame options the LD dialog starts with ("LDsummary.txt", "LDsummaryTable.csv", no
// sliding windows and no plot).
FrameOptions LDFrameDefaults();

class LDAnalysis : public AnalysisFrame {
 public:
  LDAnalysis(FrameOptions frame, LDRunOptions options)
      : AnalysisFrame(std::move(frame)), lo(std::move(options)) {}

 protected:
  void DoForm(TDataSeq& ds) override;
  void AnalysePop(TDataSeq& ds, const std::string& groupName) override;
  void AfterRun() override;

 private:
  LDRunOptions lo;
};

AnalysisOutput RunLD(TDataProj& project, const FrameOptions& frame, const LDRunOptions& options,
                     Services& services);
