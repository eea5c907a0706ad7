// SPDX-License-Identifier: GPL-3.0-or-later
// Segregation analysis of a cross: site flags per family member and the X/Y patterns.
#include "analysis/Segregation.h"

#include <cstdio>

#include "analysis/MutUnit.h"
#include "common/Services.h"
#include "model/DataProjUnit.h"

namespace {

const std::string kCrLf = "\r\n";
constexpr int kShortRead = 100;
constexpr int kProbeLength = 8;

// The scan of one locus: whole alignment, no functional regions, all sites and mutations,
// ambiguous letters carrying nothing, gapped columns left out, outgroups out of the sample.
bool ScanLocus(TDataSeq& ds, const TDataProj& project, const std::vector<int>& groupIds,
               PlatformRandom& rng) {
  AnalysisOptions opt;
  opt.useRegions = false;
  opt.showProgress = false;
  return UpdateMuts(ds, opt, &project, groupIds, ScanChoices{}, &rng) && !ds.mutHolders.empty();
}

int MutationCount(const TDataSeq& ds) {
  return ds.mutHolders.empty() ? 0 : static_cast<int>(ds.mutHolders[0]->mutations.size());
}

}  // namespace

bool CrossGroups::Complete() const {
  for (int k : keys)
    if (k == kMissing) return false;
  return true;
}

CrossGroups FindCrossGroups(const TDataProj& project) {
  CrossGroups found;
  std::array<bool, 4> selected{};
  for (const TGroup& g : project.Groups()) {
    if (g.grpKey < -1) continue;
    for (std::size_t i = 0; i < kCrossMembers.size(); ++i) {
      if (g.grpName != kCrossMembers[i] || (found.keys[i] != CrossGroups::kMissing && selected[i]))
        continue;
      found.keys[i] = g.grpKey;
      selected[i] = g.grpSelected;
    }
  }
  return found;
}

std::string CrossPattern(bool f, bool m, bool s, bool d) {
  if (f == d && f != s) return "?X ";
  if (f == s && m == d) return "?Y ";
  return "   ";
}

std::string CrossSiteLine(int position, bool f, bool m, bool s, bool d) {
  char pos[16];
  std::snprintf(pos, sizeof pos, "%5d", position);
  std::string line = std::string(pos) + "  ";
  for (bool flag : {f, m, s, d}) line += flag ? "1 " : "0 ";
  return line + CrossPattern(f, m, s, d);
}

int ReanchorReads(TDataSeq& ds) {
  const TSeq* first = ds.SeqAt(1);
  if (first == nullptr) return 0;
  struct Probe {
    int start, offset;
  };
  static constexpr Probe kProbes[] = {{1, 0}, {9, 8}, {18, 17}};
  int moved = 0;
  for (int r = 2; r <= ds.Count(); ++r) {
    TSeq& read = *ds.SeqAt(r);
    for (const Probe& probe : kProbes) {
      // A read too short for the probe is never searched past its end.
      if (read.Length() < probe.start + kProbeLength - 1) break;
      const std::string key = read.letters.substr(static_cast<std::size_t>(probe.start - 1),
                                                  static_cast<std::size_t>(kProbeLength));
      const std::size_t at = first->letters.find(key);
      if (at == std::string::npos) continue;
      const int shift = static_cast<int>(at) + 1 + first->columnShift - probe.offset - 1;
      if (shift >= 0 && shift != read.columnShift) {
        read.columnShift = shift;
        ++moved;
      }
      break;
    }
  }
  if (moved > 0) ds.LettersChanged();
  return moved;
}

void CleanCrossDatasets(TDataProj& project, Services& services) {
  ProgressScope bar(services.progress, project.DatasetCount(), "Checking seq for overlaps...");
  for (int d = 0; d < project.DatasetCount(); ++d) {
    services.progress.ShowStatus("Checking seq for overlaps, dataset " + std::to_string(d + 1),
                                 true, true);
    TDataSeq& ds = *project.DatasetAt(d);
    (void)ds.MergeOverlappingReads(true, true, true);
    if (ds.Count() <= 4) continue;
    std::vector<int> shortRows;
    for (int r = ds.Count(); r >= 1; --r)
      if (ds.SeqAt(r)->Length() < kShortRead) shortRows.push_back(r);
    ds.DeleteSeqs(shortRows);
  }
}

SegregationOutput AnalyseCross(TDataProj& project, const CrossGroups& groups,
                               const std::array<const TDataProj*, 4>& contigs, PlatformRandom& rng,
                               Services& services) {
  SegregationOutput out;
  std::vector<int> groupIds{0};
  for (const TGroup& g : project.Groups())
    if (g.grpSelected && g.grpKey >= -1) groupIds.push_back(g.grpKey);
  auto memberOf = [&](int groupKey) {
    for (std::size_t i = 0; i < groups.keys.size(); ++i)
      if (groups.keys[i] == groupKey) return static_cast<int>(i);
    return -1;
  };

  ProgressScope bar(services.progress, project.DatasetCount(), "Analysing...");
  for (int d = 0; d < project.DatasetCount(); ++d) {
    services.progress.ShowStatus("Analysing dataset " + std::to_string(d + 1), true, true);
    if (services.progress.cancelRequested()) break;
    TDataSeq& ds = *project.DatasetAt(d);
    if (ds.Count() < 4 || ds.Count() > 10) continue;

    std::vector<int> member(static_cast<std::size_t>(ds.Count()) + 1, -1);
    std::array<bool, 4> present{};
    bool regrouped = false;
    for (int r = 1; r <= ds.Count(); ++r) {
      const int index = project.IndividIndexByKey(ds.SeqAt(r)->individId);
      if (index < 0) continue;
      if (project.Individs()[static_cast<std::size_t>(index)].indGroup == -1) {
        (void)project.SetIndividGroupByKey(ds.SeqAt(r)->individId, kOutgroupKey);
        regrouped = true;
      }
      const int m = memberOf(project.Individs()[static_cast<std::size_t>(index)].indGroup);
      member[static_cast<std::size_t>(r)] = m;
      if (m >= 0) present[static_cast<std::size_t>(m)] = true;
    }
    if (regrouped) project.SyncGroupNums(-1);
    if (!(present[0] && present[1] && present[2] && present[3])) continue;

    out.report += std::string(26, '-') + kCrLf + ds.dsName + kCrLf + "       F M S D" + kCrLf;
    if (!ScanLocus(ds, project, groupIds, rng)) continue;
    if (MutationCount(ds) > kMaxCrossMutations) {
      if (ReanchorReads(ds) > 0) (void)ScanLocus(ds, project, groupIds, rng);
    }
    if (MutationCount(ds) > kMaxCrossMutations) {
      out.report += std::string(kTooManyMutations) + kCrLf + kCrLf;
      continue;
    }
    if (MutationCount(ds) == 0) continue;

    std::array<const TDataSeq*, 4> contigSets{};
    for (std::size_t i = 0; i < contigs.size(); ++i)
      if (contigs[i] != nullptr) contigSets[i] = contigs[i]->DatasetByName(ds.dsName);
    int recorded = 0, informative = 0;
    for (const tmutation& mut : ds.mutHolders[0]->mutations) {
      std::array<bool, 4> flag{};
      for (int r = 1; r <= ds.Count(); ++r) {
        const int m = member[static_cast<std::size_t>(r)];
        if (m >= 0) flag[static_cast<std::size_t>(m)] = mut.Test(r - 1);
      }
      if (flag[0] == flag[1]) continue;
      ++recorded;
      std::string line = CrossSiteLine(mut.position, flag[0], flag[1], flag[2], flag[3]);
      if (line.compare(line.size() - 3, 3, "   ") != 0) ++informative;
      for (std::size_t i = 0; i < contigSets.size(); ++i) {
        if (contigSets[i] == nullptr) continue;
        const std::string column = contigSets[i]->ColumnLetters(mut.position, 0);
        std::string letters;
        // A contig's first row is its consensus, not a read.
        for (std::size_t k = 1; k < column.size(); ++k)
          if (column[k] != '-' && column[k] != '!') letters += column[k];
        if (!letters.empty()) line += std::string(" ") + "FMSD"[i] + ": " + letters;
      }
      out.report += line + kCrLf;
    }
    out.report += std::to_string(informative) + "/" + std::to_string(recorded) + kCrLf + kCrLf;
    if (informative > 0) {
      // The window gets a copy: the source project keeps owning its dataset.
      auto copy = project.MakeDataset();
      ds.CopyTo(*copy);
      out.filtered.push_back(std::move(copy));
    }
  }
  return out;
}
