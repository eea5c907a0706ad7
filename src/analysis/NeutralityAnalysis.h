// SPDX-License-Identifier: GPL-3.0-or-later
// The neutrality-test and LD analyses on the analysis frame: group reports, sliding-window
// profiles, the pairwise LD files and the assembly scan. Dialogs and the command line run them.
#pragma once
#include <string>
#include <vector>

#include "analysis/BaseDbox1.h"
#include "analysis/LDOutput.h"
#include "analysis/MLHKA.h"
#include "analysis/NeutralityReport.h"
#include "analysis/SFS2dUnit.h"

inline constexpr const char* kNeutralityReportCaption = "Neutrality tests report";
inline constexpr const char* kTajimaPlotCaption = "Sliding window analysis for TajimaD";
inline constexpr const char* kLDReportCaption = "LD report";

inline constexpr const char* kFoldedSpectraFile = "SFS_folded.out";
inline constexpr const char* kUnfoldedSpectraFile = "SFS_unfolded.out";
inline constexpr const char* kMLHKAResults1 = "mlHKAresults1.txt";
inline constexpr const char* kMLHKAResults2 = "mlHKAresults2.txt";

struct NeutralityRunOptions {
  NeutralityChoices tests;
  bool swTajimaD = false;  // cbSWTajD
  bool swZnS = false;      // cbSwZnS
  bool sfs = false;        // cbSFS: spectra of every dataset against their sum, 2D spectra
  std::string atLabel;     // the dialog's "At:" label, which heads the spectra files
  MLHKAOptions mlhka;      // cbMLHKA and the "HKA" page
};

class NeutralityAnalysis : public AnalysisFrame {
 public:
  NeutralityAnalysis(FrameOptions frame, NeutralityRunOptions options)
      : AnalysisFrame(std::move(frame)), no(std::move(options)) {}
  // Text that goes above the report (the spectra across datasets) and below it (ML-HKA).
  [[nodiscard]] const std::string& Summary() const { return summary_; }
  [[nodiscard]] const std::string& Trailer() const { return trailer_; }

 protected:
  bool BeforeRun() override;
  void AfterUpdateMuts() override;
  // The two-dimensional spectra pair the groups' tables, and ML-HKA reads the datasets' own,
  // after the reports.
  [[nodiscard]] bool KeepsAllTables() const override { return no.sfs || no.mlhka.run; }
  void DoForm(TDataSeq& ds) override;
  void AnalysePop(TDataSeq& ds, const std::string& groupName) override;
  void AfterRun() override;

 private:
  void SpectrumBlock(TDataSeq& ds, bool folded);
  void SpectraSummary();
  std::string RunMLHKA();
  // Tests one dataset against the references; false when it got no verdict.
  bool TestHKADataset(TDataSeq& ds, const std::string& program, int run, std::string& text);
  [[nodiscard]] std::string Path(const char* name) const;
  NeutralityRunOptions no;
  std::vector<tser> series_;
  SpectrumSum foldedSum_, unfoldedSum_;
  std::string summary_, trailer_;
  int startDataset_ = -1;
  std::vector<int> chosen_;  // project indexes of the datasets the run analyses
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
