// SPDX-License-Identifier: GPL-3.0-or-later
// The per-dataset report of the analysis frame and the base group report every analysis
// starts with: sequences, positions, haplotypes, segregating sites, outgroup divergence.
#include <algorithm>
#include <cmath>

#include "analysis/BaseDbox1.h"
#include "common/NumberFormat.h"
#include "common/PlatformRandom.h"
#include "common/Services.h"
#include "model/DataProjUnit.h"

namespace {

const std::string kTildes(26, '~');
const std::string kHyphens(26, '-');

std::string Slashes() {
  std::string s;
  for (int i = 0; i < 23; ++i) s += "/\\";
  return s;
}

}  // namespace

samptype AnalysisFrame::Sample(const TDataSeq& ds) const {
  samptype s = groupMask;
  if (project == nullptr || s.Size() != ds.Count()) return samptype();
  for (int r = 1; r <= ds.Count(); ++r)
    if (s.Test(r - 1) && project->IsOutgroup(ds, r)) s.Set(r - 1, false);
  return s;
}

int AnalysisFrame::StatRow(const std::string& groupName) const {
  if (groupName.empty()) return 0;
  if (!fo.popOut || project == nullptr) return -1;
  return project->GroupIndexByName(groupName);
}

int AnalysisFrame::TableIndex(TDataSeq& ds, const std::string& groupName, bool report) {
  int key = 0;
  if (!groupName.empty()) {
    key = project->GroupKeyByName(groupName);
    if (project->GroupIndexByName(groupName) < 0) {
      if (report) Line("Error: group " + groupName + " does not exist");
      return -1;
    }
  }
  const auto it = std::find(groupIds.begin(), groupIds.end(), key);
  const int index = static_cast<int>(it - groupIds.begin());
  const std::size_t tables = ds.mutHolders.empty() ? 0 : groupIds.size();
  if (index >= static_cast<int>(tables)) {
    if (report)
      Line("Error: group index " + std::to_string(index) + " for population " + groupName +
           " exceeds the number of mutholders (" + std::to_string(tables) + ")");
    return -1;
  }
  const auto slot = static_cast<std::size_t>(index);
  // A scanned table's sample spans the dataset; one not scanned yet, or given way to
  // another's, holds an empty one. Only a cancel stops the scan here (the run's scan made the
  // list of tables), and after one no scan starts again.
  const bool scanned = slot < ds.mutHolders.size() && ds.mutHolders[slot]->sampleMask.Size() > 0;
  if (!scanned && (CancelRequested() || !ScanTable(ds, index, true))) return -1;
  return index;
}

const tmutholder* AnalysisFrame::WholeTable(TDataSeq& ds) {
  if (ds.mutHolders.empty()) return nullptr;
  if (ds.mutHolders[0]->sampleMask.Size() == 0 && (CancelRequested() || !ScanTable(ds, 0, false)))
    return nullptr;
  return ds.mutHolders[0].get();
}

bool AnalysisFrame::ScanTable(TDataSeq& ds, int index, bool alone) {
  PlatformRandom rng(seed_);
  if (!UpdateGroupTables(ds, scan_, project, groupIds, index, RunScanChoices(), &rng, alone))
    return false;
  const auto slot = static_cast<std::size_t>(index);
  if (slot < fullReported_.size() && !fullReported_[slot]) {
    fullReported_[slot] = true;
    ReportFullTables(ds, slot, slot + 1);
  }
  return true;
}

void AnalysisFrame::DoForm(TDataSeq& ds) {
  const int entire = project->GroupIndexByName("Entire dataset");
  const bool wholeDataset =
      entire < 0 || project->Groups()[static_cast<std::size_t>(entire)].grpSelected;
  std::vector<int> groups;  // project group indexes analysed
  for (int g = 0; g < project->GroupCount(); ++g) {
    const TGroup& grp = project->Groups()[static_cast<std::size_t>(g)];
    if (grp.grpSelected && grp.grpKey >= 0 && g != entire) groups.push_back(g);
  }
  if (!wholeDataset && groups.empty()) {
    Line("Nothing to analyse in the dataset " + ds.dsName +
         " Neither the entire dataset, nor any of the populations were selected.");
    return;
  }
  Line(Slashes());
  Line("Data set: " + ds.dsName);
  Line("");
  const int length = ds.AlignmentLength(true);
  if (!fo.onlyRegion) {
    Line("Entire length of the dataset analysed");
  } else {
    Line("The analysis is restricted to Region: " + std::to_string(std::min(regionFrom, length)) +
         " - " + std::to_string(std::min(regionTo, length)));
  }
  const int n = ds.Count();
  if (wholeDataset) {
    groupMask = samptype(n);
    for (int r = 1; r <= n; ++r)
      if (ds.SeqAt(r)->selected && ds.SeqAt(r)->enabled) groupMask.Set(r - 1);
    AnalysePop(ds, "");
    if (CancelRequested()) {
      Line("Calculation was stopped by user ");
      Line("");
      return;
    }
  }
  Line("");
  Line(kHyphens);
  Line("Groups to analyse: " + std::to_string(groups.size()));
  Line("");
  groupMasks.assign(static_cast<std::size_t>(project->GroupCount()), samptype());
  for (int g : groups) {
    const TGroup& grp = project->Groups()[static_cast<std::size_t>(g)];
    samptype mask(n);
    for (int r = 1; r <= n; ++r) {
      const TSeq* s = ds.SeqAt(r);
      // A disabled sequence carries no letters in the tables; counting it would bias n.
      if (!s->selected || !s->enabled) continue;
      if (project->IsOutgroup(ds, r) || project->IsInGroup(ds, s->seqId, true, grp.grpKey))
        mask.Set(r - 1);
    }
    groupMasks[static_cast<std::size_t>(g)] = mask;
    groupMask = mask;
    if (!mask.Any())
      Line("Nothing to analyse in group " + grp.grpName);
    else
      AnalysePop(ds, grp.grpName);
    if (Failed() || CancelRequested()) return;
  }
}

void AnalysisFrame::AnalysePop(TDataSeq& ds, const std::string& groupName) {
  BaseGroupReport(ds, groupName);
}

bool AnalysisFrame::BaseGroupReport(TDataSeq& ds, const std::string& groupName) {
  Line(kTildes);
  Line("Group: " + (groupName.empty() ? "All sequences from " + ds.dsName : groupName));
  Line("");
  const int ti = TableIndex(ds, groupName);
  if (ti < 0) return false;
  const tmutholder& t = *ds.mutHolders[static_cast<std::size_t>(ti)];
  const int row = StatRow(groupName);
  auto addInt = [&](bool box, const std::string& column, int value) {
    if (row >= 0 && box) AddIntStat(ds, row, value, column, column);
  };
  auto addReal = [&](bool box, const std::string& column, double value) {
    if (row >= 0 && box) AddRealStat(ds, row, column, column, value);
  };

  const samptype sample = Sample(ds);
  const int maskCount = groupMask.Count();
  Append("Number of sequences: " + std::to_string(maskCount) + "\r\n");
  std::vector<int> outgroups;
  int shown = 0;
  for (int r = 1; r <= ds.Count(); ++r) {
    if (!groupMask.Test(r - 1)) continue;
    if (project->IsOutgroup(ds, r)) outgroups.push_back(r);
    Append(ds.NameAt(r) + "; ");
    if (++shown % 6 == 0) Append("\r\n");
  }
  if (shown % 6 != 0) Append("\r\n");
  addInt(fo.tabOutNumSeq, "SeqNumber", sample.Count());
  if (!outgroups.empty()) {
    Append("\r\nOf these " + std::to_string(outgroups.size()) +
           (outgroups.size() == 1 ? " is an outgroup" : " are outgroups") +
           " (excluded from polymorphism analysis): \r\n");
    for (int r : outgroups) Append(ds.NameAt(r) + "; ");
    Append("\r\n");
  }
  Append("\r\n");
  if (maskCount <= 1) return false;

  const int sf = opt.siteFlags, mf = opt.mutationFlags;
  Append("\r\nSites analysed: " + SiteFlagsLabel(sf));
  Append("\r\nMutations analysed: " + MutationFlagsLabel(mf) + "\r\n\r\n");
  Line("Number of positions analysed: " + std::to_string(t.positionsAnalysed()));
  addInt(fo.tabOutPosAnal, "PosAnalysed", t.positionsAnalysed());
  if (sf & (kSiteAll | kSiteNoncoding)) {
    Line("Number of noncoding positions: " + std::to_string(t.noncodingPositions));
    addInt(fo.tabOutPosAnal, "NonCodPos", t.noncodingPositions);
  }
  if (sf & (kSiteAll | kSiteCoding | kSiteCodonPositions)) {
    Line("Number of complete codons analysed: " + std::to_string(t.codonCount));
    addInt(fo.tabOutPosAnal, "Codons", t.codonCount);
  }
  if (t.codonCount > 0) {
    Line("Number of synonymous positions: " + FormatFixed(t.synPositions, 3));
    Line("Number of nonsynonymous positions: " + FormatFixed(t.nonsynPositions, 3));
  }
  addReal(fo.tabOutPosAnal, "SynonymPos-pol", t.synPositions);
  addReal(fo.tabOutPosAnal, "NonSynPos-pol", t.nonsynPositions);
  Append("\r\n");

  std::vector<int> haplotypeOf;
  const int haplotypes = t.countHaplotypes(sample, 0, 0, sf, mf, &haplotypeOf);
  if (fo.showHapNum) {
    Line("Number of haplotypes: " + std::to_string(haplotypes));
    HaplotypeLines(ds, haplotypeOf, row);
    Line("");
    if (fo.listHapl) {
      Line("Sequences in each haplotype:");
      for (int h = 0; h < haplotypes; ++h) {
        Line("Haplotype " + std::to_string(h + 1) + ":");
        for (int r = 1; r <= ds.Count(); ++r)
          if (r - 1 < static_cast<int>(haplotypeOf.size()) &&
              haplotypeOf[static_cast<std::size_t>(r - 1)] == h)
            Append(ds.NameAt(r) + "; ");
        Line("");
        Line("");
      }
    }
  }
  if (fo.showS) {
    addInt(true, "Hapl.num", haplotypes);
    const int segregating = t.countSegregatingSites(0, 0, sample, sf, mf);
    Line("Number of sites segregating in the population: " + std::to_string(segregating));
    Line("");
    addInt(fo.tabOutSegrS, "Segreg.Sites", segregating);
    const int mutations = t.countMutations(0, 0, sample, sf, mf);
    Line("Number of mutations segregating in the population: " + std::to_string(mutations));
    addInt(fo.tabOutMut, "Mutations", mutations);
    if (mf != kMutIndelsOnly) {
      if (t.noncodingPositions >= 1) {
        const int c = t.countMutations(0, 0, sample, kSiteNoncoding, kMutAll);
        Line("Number of mutations in noncoding reg.: " + std::to_string(c));
        addInt(fo.tabOutMut, "MutInNonCoding-polym", c);
      } else {
        addInt(fo.tabOutMut, "MutInNonCoding-polym", -1);
      }
      static const char* kPosColumns[] = {"MutIn1stCodPos-polym", "MutIn2ndCodPos-polym",
                                          "MutIn3rdCodPos-polym"};
      static const char* kPosNames[] = {"1st", "2nd", "3rd"};
      static const int kPosBits[] = {kSiteFirst, kSiteSecond, kSiteThird};
      if (t.codonCount < 1) {
        for (const char* c : kPosColumns) addInt(fo.tabOutMut, c, -1);
        addInt(fo.tabOutMut, "SynonymMut-polym", -1);
        addInt(fo.tabOutMut, "NonSynMut-polym", -1);
      } else {
        for (int p = 0; p < 3; ++p) {
          if (!(sf & (kSiteAll | kSiteCoding | kPosBits[p]))) continue;
          const int c = t.countMutations(0, 0, sample, kPosBits[p], mf);
          Line(std::string("Number of mutations in ") + kPosNames[p] +
               " codon position: " + std::to_string(c));
          addInt(fo.tabOutMut, kPosColumns[p], c);
        }
        const int syn = t.countMutations(0, 0, sample, kSiteCoding, kMutSynonymous);
        Line("Number of synonymous mutations: " + std::to_string(syn));
        addInt(fo.tabOutMut, "SynonymMut-polym", syn);
        const int repl = t.countMutations(0, 0, sample, kSiteCoding, kMutNonsilent);
        Line("Number of replacement mutations: " + std::to_string(repl));
        addInt(fo.tabOutMut, "NonSynMut-polym", repl);
      }
    }
    Append("\r\n");
  }
  if (groupName.empty()) {
    Append(t.message);
    Append("\r\n");
  }
  if (fo.ogDiv && ti < static_cast<int>(ds.groupMutHolders.size()))
    OutgroupDivergence(ds, *ds.groupMutHolders[static_cast<std::size_t>(ti)], row);
  return true;
}

void AnalysisFrame::OutgroupDivergence(TDataSeq& ds, const tmutholder& d, int row) {
  auto addInt = [&](const std::string& column, int value) {
    if (row >= 0) AddIntStat(ds, row, value, column, column);
  };
  auto addReal = [&](const std::string& column, double value) {
    if (row >= 0) AddRealStat(ds, row, column, column, value);
  };
  auto countLine = [&](const std::string& text, const std::string& column, int value) {
    if (value >= 0) Line(text + std::to_string(value));
    addInt(column, value);
  };
  const int sf = opt.siteFlags, mf = opt.mutationFlags;
  int outgroupRow = -1;
  for (int r = 1; r <= ds.Count() && outgroupRow < 0; ++r)
    if (ds.SeqAt(r)->enabled && project->IsOutgroup(ds, r)) outgroupRow = r;
  Line(kHyphens);
  Line("Analyses including outgroup " + ds.NameAt(outgroupRow));
  countLine("Number of positions analysed when outgroup was used: ", "PosAnalysed-Divrg",
            d.positionsAnalysed());
  countLine("Number of noncoding positions : ", "NonCodPos-Divrg", d.noncodingPositions);
  countLine("Number of complete codons analysed: ", "Codons-Divrg", d.codonCount);
  Line("Number of synonymous positions: " + FormatFixed(d.synPositions, 3));
  addReal("SynonymPos-Divrg", d.synPositions);
  Line("Number of nonsynonymous positions: " + FormatFixed(d.nonsynPositions, 3));
  addReal("NonSynPos-Divrg", d.nonsynPositions);
  countLine("Mutations fixed in the population but different from outgroup (\"fixed mutations\"): ",
            "FixedMut-DivrgFrmOgrp", d.countFixedDifferences(0, 0, sf, mf));
  if (mf != kMutIndelsOnly) {
    if (d.noncodingPositions < 1)
      addInt("FixedMut_NonCoding-Divrg", -1);
    else
      countLine("Number of fixed mutations in noncoding reg.: ", "MutInNonCoding-Divrg",
                d.countFixedDifferences(0, 0, kSiteNoncoding, kMutAll));
    if (d.codonCount > 0) {
      Line("Number of fixed mutations in 1st codon position: " +
           std::to_string(d.countFixedDifferences(0, 0, kSiteFirst, mf)));
      Line("Number of fixed mutations in 2nd codon position: " +
           std::to_string(d.countFixedDifferences(0, 0, kSiteSecond, mf)));
      Line("Number of fixed mutations in 3rd codon position: " +
           std::to_string(d.countFixedDifferences(0, 0, kSiteThird, mf)));
      countLine("Number of fixed synonymous mutations: ", "FixedSynonymMut-Divrg",
                d.countFixedDifferences(0, 0, kSiteCoding, kMutSynonymous));
      countLine("Number of fixed replacement mutations: ", "FixedNonSynMut-Divrg",
                d.countFixedDifferences(0, 0, kSiteCoding, kMutNonsilent));
      const double k12 = d.meanJukesCantorFrom(outgroupRow - 1, kSiteFirst | kSiteSecond);
      const double k3 = d.meanJukesCantorFrom(outgroupRow - 1, kSiteThird);
      Line("Average K(JC) from outgroup at 1st & 2nd codon pos: " + FormatFixed(k12, 4));
      addReal("K(JC)frmOGrp@1&2CdnPos", k12);
      Line("Average K(JC) from outgroup at 3rd codon pos: " + FormatFixed(k3, 4));
      addReal("K(JC)frmOGrp@3rdCdnPos", k3);
    }
    const double kAll = d.meanJukesCantorFrom(outgroupRow - 1, kSiteAll);
    Line("Average K(JC) from outgroup, all sites: " + FormatFixed(kAll, 4));
    addReal("K(JC)frmOGrp_all_sites", kAll);
  }
  Line(kHyphens);
}
