// SPDX-License-Identifier: GPL-3.0-or-later
// Small projects for the site-scan tests: rows given as text, optional groups and outgroup.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "analysis/MutUnit.h"
#include "common/PlatformRandom.h"
#include "model/DataProjUnit.h"
#include "support/RecordingServices.h"

struct ScanFixture {
  RecordingServices svc;
  TDataProj proj{svc};
  TDataSeq* ds = nullptr;
  PlatformRandom rng{12345};

  explicit ScanFixture(const std::vector<std::string>& rows) {
    ds = proj.DatasetAt(0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      auto s = std::make_unique<TSeq>("s" + std::to_string(i + 1), rows[i]);
      (void)ds->AddSeq(s, true);
    }
  }
  TSeq& Row(int r) { return *ds->SeqAt(r); }
  // Puts the row's individual into a group (kOutgroupKey for the outgroup).
  void Assign(int row, int groupKey) { AssignIn(*ds, row, groupKey); }
  void AssignIn(TDataSeq& d, int row, int groupKey) {
    TIndivid ind;
    ind.indName = d.dsName + "_ind" + std::to_string(row);
    ind.indGroup = groupKey;
    d.SeqAt(row)->individId = proj.AddIndivid(ind);
    d.SeqAt(row)->groupNum = groupKey;
  }
  // A further dataset of the project; ds stays the first.
  TDataSeq& AddDataset(const std::string& name, const std::vector<std::string>& rows) {
    proj.NewDataset();
    TDataSeq& d = *proj.CurrentDataset();
    d.dsName = name;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      auto s = std::make_unique<TSeq>("s" + std::to_string(i + 1), rows[i]);
      (void)d.AddSeq(s, true);
    }
    return d;
  }
  int AddGroup(const std::string& name) {
    TGroup g;
    g.grpName = name;
    return proj.AddGroup(g);
  }
  // Whole rows are one CDS starting at codon position 1 (reverse: read right to left).
  void AllCds(bool reverse) {
    for (int r = 1; r <= ds->Count(); ++r) {
      TRegion g;
      g.regStart = 1;
      g.regEnd = Row(r).Length();
      g.regType = kRegCds;
      g.regReverse = reverse;
      g.codonPos = 1;
      Row(r).regions.push_back(g);
    }
  }
  bool Scan(const AnalysisOptions& opt, const std::vector<int>& groups = {}) {
    return UpdateMuts(*ds, opt, &proj, groups, ScanChoices{}, &rng);
  }
  tmutholder& Table(int index = 0) { return *ds->mutHolders.at(static_cast<std::size_t>(index)); }
  tmutholder& Divergence(int index = 0) {
    return *ds->groupMutHolders.at(static_cast<std::size_t>(index));
  }
};

// Carrier rows (1-based) of a mutation, for readable expectations.
inline std::vector<int> CarrierRows(const tmutation& m) {
  std::vector<int> rows;
  for (int k = 0; k < m.Size(); ++k)
    if (m.Test(k)) rows.push_back(k + 1);
  return rows;
}

inline samptype AllOf(int n) {
  samptype s(n);
  for (int k = 0; k < n; ++k) s.Set(k);
  return s;
}

inline AnalysisOptions Options(int indelMode, int ambiguityMode = 0, bool useRegions = true) {
  AnalysisOptions o;
  o.indelMode = static_cast<std::uint8_t>(indelMode);
  o.ambiguityMode = static_cast<std::uint8_t>(ambiguityMode);
  o.useRegions = useRegions;
  return o;
}
