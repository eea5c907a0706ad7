// SPDX-License-Identifier: GPL-3.0-or-later
// The site filter: which columns the simple-mode scan analyses, and copies keeping just those.
#include <algorithm>

#include "analysis/FilterSitesUnit.h"
#include "analysis/MutUnit.h"
#include "analysis/ShowPolymSUnit.h"
#include "common/Services.h"
#include "model/ColumnKeep.h"
#include "model/DataProjUnit.h"

int FilterSiteFlags(const FilterSitesOptions& o) {
  int flags = o.noncoding ? kSiteNoncoding : 0;
  if (o.codonPositions) {
    if (o.pos1) flags |= kSiteFirst;
    if (o.pos2) flags |= kSiteSecond;
    if (o.pos3) flags |= kSiteThird;
  } else {
    if (o.deg1) flags |= kSiteDegen01;
    if (o.deg2) flags |= kSiteDegen2;
    if (o.deg3) flags |= kSiteDegen3;
    if (o.deg4) flags |= kSiteDegen4;
  }
  return flags == 0 ? kSiteAll : flags;
}

std::string FilterSitesLabel(const FilterSitesOptions& o) {
  if (FilterSiteFlags(o) == kSiteAll) return "All sites (coding + noncoding)";
  std::string label = o.noncoding ? "Noncoding sites" : "";
  // " and " only joins a class that follows: "Noncoding" alone is "Noncoding sites".
  const bool anyPosition = o.pos1 || o.pos2 || o.pos3;
  const bool anyDegenerate = o.deg1 || o.deg2 || o.deg3 || o.deg4;
  if (o.codonPositions) {
    if (o.noncoding && anyPosition) label += " and ";
    if (o.pos1) label += o.noncoding ? "first " : "First ";
    if (o.pos2) label += o.pos1 ? "second " : "Second ";
    if (o.pos3) label += o.pos1 || o.pos2 ? "and third " : "Third ";
    if (anyPosition) label += "codon positions";
  } else {
    if (o.noncoding && anyDegenerate) label += " and ";
    if (o.deg1) label += "1-fold ";
    if (o.deg2) label += "2-fold ";
    if (o.deg3) label += "3-fold ";
    if (o.deg4) label += o.deg1 || o.deg2 || o.deg3 ? "and 4-fold " : "4-fold ";
    if (anyDegenerate) label += "degenerate codon positions";
  }
  return label;
}

std::unique_ptr<TDataSeq> FilteredCopy(TDataSeq& ds, int from, int to, const TDataProj* project,
                                       const std::vector<int>& groupIds,
                                       bool includeOutgroupsInSample, int siteFlags,
                                       int ambiguityMode, int indelMode) {
  auto copy = std::make_unique<TDataSeq>(ds.GetServices());
  copy->dsName = ds.dsName;
  const int length = ds.AlignmentLength(true);
  from = std::max(1, from);
  if (to < from || to > length) to = length;

  AnalysisOptions scan;
  scan.siteFlags = static_cast<std::uint16_t>(siteFlags);
  scan.mutationFlags = kMutAll;
  scan.indelMode = static_cast<std::uint8_t>(indelMode);
  scan.ambiguityMode = static_cast<std::uint8_t>(ambiguityMode);
  scan.regionFrom = from;
  scan.regionTo = to;
  scan.useRegions = true;
  scan.showProgress = false;
  ScanChoices choices;
  choices.simple = true;
  choices.includeOutgroupsInSample = includeOutgroupsInSample;
  choices.multiDifferenceCodons = false;
  (void)UpdateMuts(ds, scan, project, groupIds, choices);
  if (ds.mutHolders.empty()) return copy;

  // Every analysed column of the simple scan is a record, codon positions included (a codon
  // unit marks its accepted positions analysed without a record per position).
  const std::vector<bool>& analysed = ds.mutHolders[0]->siteAnalysed;
  std::vector<char> keep(static_cast<std::size_t>(length) + 1, 0);
  for (int c = from; c <= to && c <= static_cast<int>(analysed.size()); ++c)
    keep[static_cast<std::size_t>(c)] = analysed[static_cast<std::size_t>(c - 1)] ? 1 : 0;
  // Tables of the simple scan are not what the analyses expect to find cached.
  ds.InvalidateMutHolders();

  ds.CopyTo(*copy);
  copy->dsName = ds.dsName;
  (void)KeepColumns(*copy, keep);
  return copy;
}

FilterSitesResult RunFilterSites(TDataProj& project, const FilterSitesOptions& o,
                                 Services& services) {
  FilterSitesResult result;
  result.caption = FilterSitesLabel(o);
  const int flags = FilterSiteFlags(o);
  const int indelMode = o.removeIndels ? 0 : 1;
  const int ambiguityMode = o.removeAmbiguous ? 1 : 0;
  const int from = o.onlyRegion ? o.regFrom : 1;
  const int to = o.onlyRegion ? o.regTo : 0;  // 0: each dataset's own length
  std::vector<int> groupIds{0};
  for (const TGroup& g : project.Groups())
    if (g.grpSelected && g.grpKey >= 0) groupIds.push_back(g.grpKey);

  std::vector<std::unique_ptr<TDataSeq>> copies;
  {
    ProgressScope bar(services.progress, project.DatasetCount(), "Processing output...");
    for (int d = 0; d < project.DatasetCount(); ++d) {
      TDataSeq* ds = project.DatasetAt(d);
      if (ds == nullptr || !ds->dsSelected) continue;
      bar.Step(true);
      if (bar.Cancelled()) {
        result.cancelled = true;
        return result;
      }
      auto copy =
          FilteredCopy(*ds, from, to, &project, groupIds, true, flags, ambiguityMode, indelMode);
      copy->Unselect(-1);
      copies.push_back(std::move(copy));
    }
  }
  if (!copies.empty()) result.project = ProjectForDatasets(project, std::move(copies));
  return result;
}
