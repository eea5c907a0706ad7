// SPDX-License-Identifier: GPL-3.0-or-later
// Polymorphic sites without their dialog: the site frequency spectra of the group report, the
// lists of SNPs and of mutations at adjacent columns, the SNP report with flanking sequence and
// the datasets that hold only the polymorphic sites of each group.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "analysis/BaseDbox1.h"

struct PolymSitesOptions {
  bool sfs = false;                             // cbSFS
  bool snpsOnly = false;                        // SNPsOnly (its box is hidden)
  bool doubleMut = true;                        // cbDoubleMut: "DoubleMuts.csv"
  bool snpList = true;                          // cbSNPlist: "SNPlist.csv"
  bool newWindow = true;                        // rbSNPnewWin, else rbSNPsameWin
  bool snpReport = false;                       // cbSNPrep
  std::string snpReportFile = "SNPreport.csv";  // SNPrepFile; without a folder: outputFolder
};

inline constexpr const char* kSnpReportHeader =
    "DataSetName,Group,SNPposInAlignment(withGaps),SNPposInSeq1(noGaps),SNPfreqInGroup,"
    "SNPfreqTotal,Nucl1,Nucl2,Seq1_around_the_SNP";
inline constexpr const char* kPolymSitesWindowPrefix = "Polymorphic sites in ";
inline constexpr const char* kDivergedSitesWindowPrefix =
    "Polymorphic sites and sites diverged from outgroup in ";

// "Freq:" and " Num:" lines of classes 1..m-1, each pair right-aligned to the wider number.
std::string SpectrumText(const std::vector<int>& freq, int m);
// The folded spectrum: classes k and m - k added into k = 1..trunc(m/2).
std::vector<int> FoldSpectrum(const std::vector<int>& freq, int m);

// The dataset of a table's polymorphic sites: one SNP row per sequence of the table's sample
// (name, group number and individual of its source), one column per distinct mutation
// position in table order holding the row's letter there, the positions in polySitePos and,
// with classCodes, the class of each site in peakPos (0 noncoding, -2 silent coding, -3
// replacement).
std::unique_ptr<TDataSeq> PolymorphicSitesDataset(const TDataSeq& ds, const tmutholder& table,
                                                  const std::string& name, bool classCodes);

// Lines of the SNP report for a group's table (without the header): one per distinct position,
// with the flanking letters of the dataset's first sequence. `whole` is the whole-dataset
// table, nullptr when the group is the whole dataset.
std::string SnpReportLines(const TDataSeq& ds, const std::string& groupName,
                           const tmutholder& table, const tmutholder* whole);

// A project for a new editor window: the groups and individuals of `source` (keys kept, so the
// rows' group numbers and individuals stay valid), then the datasets; the last becomes current.
std::unique_ptr<TDataProj> ProjectForDatasets(const TDataProj& source,
                                              std::vector<std::unique_ptr<TDataSeq>> datasets);

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
  void SiteDatasets(TDataSeq& ds, const std::string& groupName, int tableIndex);
  [[nodiscard]] std::string PathOf(const char* name) const;
  PolymSitesOptions so;
};

AnalysisOutput RunPolymSites(TDataProj& project, const FrameOptions& frame,
                             const PolymSitesOptions& options, Services& services);
