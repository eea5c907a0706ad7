// SPDX-License-Identifier: GPL-3.0-or-later
// Project-wide exports: BayeScan and MLHKA.
#include "analysis/GroupMask.h"
#include "analysis/MLHKA.h"
#include "analysis/MutUnit.h"
#include "io/IOUnit.h"
#include "io/PopGenFormats.h"
#include "io/PopGenSupport.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"

std::string BayeScanText(TDataProj& project, Services& services) {
  std::vector<const TGroup*> pops;
  for (const TGroup& g : project.Groups())
    if (g.grpKey >= -1) pops.push_back(&g);
  std::string out;
  AppendLine(out, "[loci]=" + std::to_string(project.DatasetCount()));
  AppendLine(out, "");
  AppendLine(out, "[populations]=" + std::to_string(pops.size()));
  AppendLine(out, "");
  if (pops.empty()) {
    services.messages.Notify(
        "Populations [groupings] have to be assigned to output data for BayeScan");
    return out;
  }
  // Per dataset: the haplotype of every ingroup row and the number of haplotypes.
  struct Haplotypes {
    std::vector<int> of;
    int count = 0;
  };
  std::vector<Haplotypes> loci(static_cast<std::size_t>(project.DatasetCount()));
  for (int j = 0; j < project.DatasetCount(); ++j) {
    TDataSeq& ds = *project.DatasetAt(j);
    services.progress.ShowStatus("Searching for polymorphisms in " + ds.dsName, false, true);
    Haplotypes& h = loci[static_cast<std::size_t>(j)];
    if (const tmutholder* t = WholeSampleTable(ds)) {
      h.count = t->countHaplotypes(IngroupOf(ds, *t), 0, 0, kSiteAll, kMutAll, &h.of);
    } else {
      // No analysed site: every ingroup row carries the one haplotype there is.
      h.count = 1;
      h.of.assign(static_cast<std::size_t>(ds.Count()), 0);
      for (int r = 1; r <= ds.Count(); ++r)
        if (project.IsOutgroup(ds, r) || !ds.SeqAt(r)->enabled)
          h.of[static_cast<std::size_t>(r - 1)] = -1;
    }
  }
  for (std::size_t p = 0; p < pops.size(); ++p) {
    AppendLine(out, "[pop]=" + std::to_string(p + 1) + "    #" + pops[p]->grpName);
    for (int j = 0; j < project.DatasetCount(); ++j) {
      services.progress.ShowStatus(
          "Processing locus " + std::to_string(j) + " in population " + std::to_string(p + 1),
          false, true);
      const TDataSeq& ds = *project.DatasetAt(j);
      const Haplotypes& h = loci[static_cast<std::size_t>(j)];
      const samptype pop = GroupMask(project, ds, pops[p]->grpKey, false);
      std::vector<int> counts(static_cast<std::size_t>(std::max(0, h.count)), 0);
      int total = 0;
      for (int r = 1; r <= ds.Count(); ++r) {
        const int k =
            r - 1 < static_cast<int>(h.of.size()) ? h.of[static_cast<std::size_t>(r - 1)] : -1;
        if (!pop.Test(r - 1) || k < 0 || k >= h.count) continue;
        ++counts[static_cast<std::size_t>(k)];
        ++total;
      }
      std::string line =
          std::to_string(j + 1) + " " + std::to_string(total) + " " + std::to_string(h.count);
      for (const int c : counts) line += " " + std::to_string(c);
      AppendLine(out, line + "     #" + ds.dsName);
    }
  }
  return out;
}

bool SaveBayeScan(const std::string& path, TDataProj& project, Services& services) {
  return SaveTextFile(path, BayeScanText(project, services), services);
}

std::string MlHkaText(TDataProj& project, Services& services) {
  ProgressScope bar(services.progress, project.DatasetCount(),
                    "Saving file in mlHKA input format...");
  std::vector<std::string> lines;
  for (int d = 0; d < project.DatasetCount(); ++d) {
    bar.Step(true);
    TDataSeq& ds = *project.DatasetAt(d);
    if (!HasEnabledOutgroup(project, ds)) continue;
    services.progress.ShowStatus("Saving file in mlHKA input format. Processing " + ds.dsName,
                                 false, false);
    (void)UpdateMuts(ds, AnalysisOptions{}, &project, {0}, ScanChoices{});
    if (const auto line = HKALocusLine(project, ds)) lines.push_back(*line);
  }
  std::string out =
      std::to_string(lines.size()) + "\t1\tReplaceWith_DatasetName(s)_toBeTested\t5\r\n";
  for (const std::string& line : lines) AppendLine(out, line);
  out += "\r\n";
  return out;
}

bool SaveMlHka(const std::string& path, TDataProj& project, Services& services) {
  return SaveTextFile(path, MlHkaText(project, services), services);
}
