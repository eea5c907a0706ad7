// SPDX-License-Identifier: GPL-3.0-or-later
// Polymorphic sites: site frequency spectra of each group and the SNP and double-mutation
// lists of each dataset.
#include <algorithm>

#include "analysis/PolymEstimators.h"
#include "analysis/ShowPolymSUnit.h"
#include "common/OutputFolder.h"
#include "model/DataProjUnit.h"

std::vector<int> FoldSpectrum(const std::vector<int>& freq, int m) {
  std::vector<int> folded(static_cast<std::size_t>(m / 2 + 1), 0);
  for (int k = 1; k < m && k < static_cast<int>(freq.size()); ++k)
    folded[static_cast<std::size_t>(std::min(k, m - k))] += freq[static_cast<std::size_t>(k)];
  return folded;
}

std::string SpectrumText(const std::vector<int>& freq, int m) {
  std::string counts = "Freq:", classes = " Num:";
  for (int k = 1; k < m; ++k) {
    const std::string c =
        std::to_string(k < static_cast<int>(freq.size()) ? freq[static_cast<std::size_t>(k)] : 0);
    const std::string n = std::to_string(k);
    const std::size_t w = std::max(c.size(), n.size());
    counts += " " + std::string(w - c.size(), ' ') + c;
    classes += " " + std::string(w - n.size(), ' ') + n;
  }
  return counts + "\r\n" + classes + "\r\n";
}

std::string PolymSitesAnalysis::PathOf(const char* name) const {
  return OutputPath(fo.outputFolder, name);
}

bool PolymSitesAnalysis::BeforeRun() {
  so.snpReportFile = OutputPath(fo.outputFolder, so.snpReportFile);
  if (so.doubleMut) return CreateEmptyFile(PathOf("DoubleMuts.csv"));
  return true;
}

void PolymSitesAnalysis::AnalysePop(TDataSeq& ds, const std::string& groupName) {
  BaseGroupReport(ds, groupName);
  if (so.snpReport && !AppendToFile(so.snpReportFile, std::string(kSnpReportHeader) + "\r\n"))
    return;
  if (ds.Count() < 2) return;
  // The base report has already said why when the group has no table.
  const int ti = TableIndex(ds, groupName, false);
  if (ti < 0) return;
  if (groupName.empty()) Lists(ds);
  if (so.sfs) Spectra(ds, ti);
  SiteDatasets(ds, groupName, ti);
}

void PolymSitesAnalysis::SiteDatasets(TDataSeq& ds, const std::string& groupName, int ti) {
  const tmutholder& t = *ds.mutHolders[static_cast<std::size_t>(ti)];
  const std::string name = ds.dsName + (groupName.empty() ? "" : "_" + groupName) + "_SNPs";
  out.newDatasets.push_back(PolymorphicSitesDataset(ds, t, name, true));
  if (so.snpReport) {
    const tmutholder* whole = groupName.empty() ? nullptr : WholeTable(ds);
    if (!groupName.empty() && whole == nullptr) return;
    if (!AppendToFile(so.snpReportFile, SnpReportLines(ds, groupName, t, whole))) return;
  }
  if (fo.ogDiv && ti < static_cast<int>(ds.groupMutHolders.size()))
    out.newDivergenceDatasets.push_back(PolymorphicSitesDataset(
        ds, *ds.groupMutHolders[static_cast<std::size_t>(ti)], name + "_OGdiv", false));
}

void PolymSitesAnalysis::Spectra(const TDataSeq& ds, int ti) {
  const tmutholder& t = *ds.mutHolders[static_cast<std::size_t>(ti)];
  const bool codons = t.codonCount > 0;
  // A folded class k joins n - k, n the ingroup sample: the outgroups the table's mask also
  // holds carry no letters here and must not shift the fold.
  int ingroup = 0;
  for (int r = 1; r <= ds.Count(); ++r)
    if (t.sampleMask.Test(r - 1) && !project->IsOutgroup(ds, r)) ++ingroup;
  auto block = [&](const tmutholder& table, const char* heading, int sf, int mf, bool folded) {
    Line(heading);
    const int m = table.sampleMask.Count();
    std::vector<int> freq(static_cast<std::size_t>(std::max(m, 0) + 1), 0);
    const int excluded = siteFrequencySpectrum(table, freq, 0, 0, sf, mf, !folded);
    if (folded)
      Append(SpectrumText(FoldSpectrum(freq, ingroup), ingroup / 2 + 1));
    else
      Append(SpectrumText(freq, m));
    if (excluded > 0)
      Line("Note that " + std::to_string(excluded) + " mutation" + (excluded > 1 ? "s" : "") +
           " with ambig. outgroup information " + (excluded == 1 ? "was" : "were") +
           " excluded from this SFS");
  };
  block(t, "Folded site frequency spectrum (SFS) for all sites:", kSiteAll, kMutAll, true);
  if (codons) {
    block(t, "Folded SFS for mutations in noncoding regions:", kSiteNoncoding, kMutAll, true);
    block(t, "Folded SFS for silent (syn+noncoding) mutations:", kSiteAll, kMutSilent, true);
    block(t, "Folded SFS for synonymous mutations:", kSiteAll, kMutSynonymous, true);
    block(t, "Folded SFS for non-synonymous mutations:", kSiteAll, kMutNonsilent, true);
  }
  if (ti >= static_cast<int>(ds.groupMutHolders.size())) return;
  const tmutholder& d = *ds.groupMutHolders[static_cast<std::size_t>(ti)];
  block(d, "Unfolded SFS for all sites:", kSiteAll, kMutAll, false);
  if (codons) {
    block(d, "Unolded SFS for mutations in noncoding regions:", kSiteNoncoding, kMutAll, false);
    block(d, "Unfolded SFS for silent (syn+noncoding) mutations:", kSiteAll, kMutSilent, false);
    block(d, "Unfolded SFS for synonymous mutations:", kSiteAll, kMutSynonymous, false);
    block(d, "Unfolded SFS for non-synonymous mutations:", kSiteAll, kMutNonsilent, false);
  }
}

void PolymSitesAnalysis::Lists(const TDataSeq& ds) {
  if (ds.mutHolders.empty()) return;
  const tmutholder& t = *ds.mutHolders[0];
  auto letterAt = [&](int row, int column) -> char {
    const TSeq* s = ds.SeqAt(row);
    if (!s->enabled) return '!';
    const int p = column - s->columnShift;
    if (p < 1 || p > s->Length()) return '-';
    return s->letters[static_cast<std::size_t>(p - 1)];
  };
  if (so.doubleMut) {
    std::string text;
    for (std::size_t i = 1; i < t.mutations.size(); ++i) {
      const int a = t.mutations[i - 1].position, b = t.mutations[i].position;
      if (b - a != 1) continue;
      text += ds.dsName + "," + std::to_string(a) + ",";
      for (int r = 1; r <= ds.Count(); ++r)
        text += std::string{letterAt(r, a), letterAt(r, b)} + ",";
      text += "\r\n";
    }
    AppendToFile(PathOf("DoubleMuts.csv"), text);
  }
  if (so.snpList) {
    std::string text;
    for (const tmutation& m : t.mutations) {
      text += ds.dsName + "," + std::to_string(m.position) + ",";
      for (int r = 1; r <= ds.Count(); ++r)
        text += std::string{letterAt(r, m.position - 1), letterAt(r, m.position),
                            letterAt(r, m.position + 1)} +
                ",";
      text += "\r\n";
    }
    AppendToFile(PathOf("SNPlist.csv"), text);
  }
}

AnalysisOutput RunPolymSites(TDataProj& project, const FrameOptions& frame,
                             const PolymSitesOptions& options, Services& services) {
  PolymSitesAnalysis analysis(frame, options);
  AnalysisOutput out = analysis.Run(project, services);
  out.reportCaption = "Polymorphic sites";
  return out;
}
