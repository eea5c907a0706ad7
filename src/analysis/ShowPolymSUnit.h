// SPDX-License-Identifier: GPL-3.0-or-later
// Polymorphic sites without their dialog: the site frequency spectra of the group report and
// the lists of SNPs and of mutations at adjacent columns.
#pragma once
#include <string>
#include <vector>

#include "analysis/BaseDbox1.h"

struct PolymSitesOptions {
  bool sfs = false;       // cbSFS
  bool doubleMut = true;  // cbDoubleMut: "DoubleMuts.csv"
  bool snpList = true;    // cbSNPlist: "SNPlist.csv"
  std::string folder;     // where the two lists go ("" = the working folder)
};

// "Freq:" and " Num:" lines of classes 1..m-1, each pair right-aligned to the wider number.
std::string SpectrumText(const std::vector<int>& freq, int m);
// The folded spectrum: classes k and m - k added into k = 1..trunc(m/2).
std::vector<int> FoldSpectrum(const std::vector<int>& freq, int m);

class PolymSitesAnalysis : public AnalysisFrame {
 public:
  PolymSitesAnalysis(FrameOptions frame, PolymSitesOptions options)
      : AnalysisFrame(std::move(frame)), so(std::move(options)) {}

 protected:
  bool BeforeRun() override;
  void AnalysePop(TDataSeq& ds, const std::string& groupName) override;

 private:
  void Spectra(const TDataSeq& ds, int tableIndex);
  void Lists(const TDataSeq& ds);
  [[nodiscard]] std::string PathOf(const char* name) const;
  PolymSitesOptions so;
};

AnalysisOutput RunPolymSites(TDataProj& project, const FrameOptions& frame,
                             const PolymSitesOptions& options, Services& services);
