// SPDX-License-Identifier: GPL-3.0-or-later
// Restriction site marks over a dataset.
#include "editor/EnzymeSites.h"

#include <cctype>
#include <optional>
#include <string>

namespace {
// Rows searched between two progress steps, and the dataset size from which the bar shows.
constexpr int kRowsPerStep = 100;
constexpr int kRowsForProgress = 500;
}  // namespace

std::vector<TRenzyme> SiteSearchEnzymes(const std::vector<renzyme>& enzymes) {
  std::vector<TRenzyme> list;
  list.reserve(enzymes.size());
  for (const renzyme& e : enzymes) {
    TRenzyme t;
    t.name = e.name;
    t.site = e.site;
    for (char& c : t.site) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    t.cutOffset = e.cutOffset;
    t.enabled = e.selected;
    list.push_back(std::move(t));
  }
  return list;
}

int MarkRestrictionSites(TDataSeq& ds, const std::vector<renzyme>& enzymes, IProgress& progress) {
  const std::vector<TRenzyme> list = SiteSearchEnzymes(enzymes);
  const int rows = ds.Count();
  std::optional<ProgressScope> bar;
  if (rows >= kRowsForProgress)
    bar.emplace(progress, (rows + kRowsPerStep - 1) / kRowsPerStep, "Searching restriction sites");
  std::string report;  // the search's text is not shown
  int searched = 0;
  for (int row = 1; row <= rows; ++row) {
    report.clear();
    ds.FindRestrictionSites(row, list, report);
    ++searched;
    if (bar && row % kRowsPerStep == 0) {
      bar->Step(true);
      if (progress.cancelRequested()) break;
    }
  }
  return searched;
}
