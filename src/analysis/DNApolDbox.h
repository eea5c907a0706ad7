// SPDX-License-Identifier: GPL-3.0-or-later
// DNA polymorphism without its dialog: haplotype diversity, Pi and Watterson's theta per group
// with their standard deviations, broken down by site class, and the sliding-window profiles of
// Pi, theta, S and haplotype diversity.
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
  bool swHd = false;     // cbDoSWHd
};

inline constexpr const char* kPolymReportCaption = "Polymorphism report";
inline constexpr const char* kSlidingWindowPlotCaption = "Sliding window analysis results";

// One window of a profile: positions start..end inclusive, and the analysed sites inside it.
struct WindowSpan {
  int start = 0;
  int end = 0;
  int sites = 0;
};
// The whole windows of size columns over from..to, step apart: start = from + w step and
// end = start + size - 1, as long as end <= to. Empty when size < 1 or step < 1.
std::vector<WindowSpan> SlidingWindows(int from, int to, int size, int step);
// The windows of SlidingWindows that hold analysed sites of the table, with their number
// (gaps and columns the options leave out do not count; a table counting a span of SNP
// positions counts every position).
std::vector<WindowSpan> AnalysedWindows(const tmutholder& t, int from, int to, int size, int step);

class DNApolymAnalysis : public AnalysisFrame {
 public:
  DNApolymAnalysis(FrameOptions frame, DNApolymOptions options)
      : AnalysisFrame(std::move(frame)), po(options) {}

 protected:
  void DoForm(TDataSeq& ds) override;
  void AnalysePop(TDataSeq& ds, const std::string& groupName) override;
  void HaplotypeLines(TDataSeq& ds, const std::vector<int>& haplotypeOf, int row) override;
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
