// SPDX-License-Identifier: GPL-3.0-or-later
// DNA polymorphism without its dialog: Pi and Watterson's theta per group with their standard
// deviations, broken down by site class, and the sliding-window profiles of Pi, theta and S.
#pragma once
#include <string>
#include <vector>

#include "analysis/BaseDbox1.h"

struct DNApolymOptions {
  bool pi = true;        // cbPi
  bool varPi = true;     // cbVarPi
  bool theta = true;     // cbTheta
  bool varTheta = true;  // cbVarTheta
  bool swPi = false;     // cbDoSWpi
  bool swTheta = false;  // cbDoSWtheta
  bool swS = false;      // cbDoSW_S
};

inline constexpr const char* kPolymReportCaption = "Polymorphism report";
inline constexpr const char* kSlidingWindowPlotCaption = "Sliding window analysis results";

// One window of a profile: positions start..end inclusive.
struct WindowSpan {
  int start = 0;
  int end = 0;
};
// The windows over f..t: c is the smallest k >= 1 with f + size + step (k - 1) >= t, and the
// first c - 1 windows are made. Empty when size < 1 or step < 1.
std::vector<WindowSpan> SlidingWindows(int from, int to, int size, int step);

class DNApolymAnalysis : public AnalysisFrame {
 public:
  DNApolymAnalysis(FrameOptions frame, DNApolymOptions options)
      : AnalysisFrame(std::move(frame)), po(options) {}

 protected:
  void DoForm(TDataSeq& ds) override;
  void AnalysePop(TDataSeq& ds, const std::string& groupName) override;
  void AfterRun() override;

 private:
  void PiBlock(TDataSeq& ds, const tmutholder& t, const samptype& sample, int row, int mf, int sf);
  void ThetaBlock(TDataSeq& ds, const tmutholder& t, const samptype& sample, int row, int mf,
                  int sf);
  void Profile(TDataSeq& ds, const tmutholder& t, const samptype& sample, int kind);
  DNApolymOptions po;
  std::vector<tser> series_;
};

// The whole analysis for a project: what the dialog's Ok and the command line both run.
AnalysisOutput RunDNApolym(TDataProj& project, const FrameOptions& frame,
                           const DNApolymOptions& options, Services& services);
