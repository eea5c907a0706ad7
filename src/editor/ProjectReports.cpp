// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/ProjectReports.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "common/Services.h"
#include "model/DataProjUnit.h"

namespace {

constexpr const char* kRule = "---------------------------\r\n";  // 27 hyphens

int Longest(const std::vector<std::string>& names) {
  std::size_t w = 0;
  for (const std::string& n : names) w = std::max(w, n.size());
  return static_cast<int>(w);
}

std::vector<std::string> DatasetNames(const TDataProj& p) {
  std::vector<std::string> out;
  for (int d = 0; d < p.DatasetCount(); ++d) out.push_back(p.DatasetAt(d)->dsName);
  return out;
}

std::vector<std::string> IndividNames(const TDataProj& p) {
  std::vector<std::string> out;
  for (const TIndivid& ind : p.Individs()) out.push_back(ind.indName);
  return out;
}

// Sequences of each individual key in each dataset, in one pass over the rows.
std::unordered_map<int, std::vector<int>> CountsPerIndivid(const TDataProj& p) {
  std::unordered_map<int, std::vector<int>> counts;
  const auto datasets = static_cast<std::size_t>(p.DatasetCount());
  for (int d = 0; d < p.DatasetCount(); ++d) {
    const TDataSeq& ds = *p.DatasetAt(d);
    for (int r = 1; r <= ds.Count(); ++r) {
      auto& c = counts[ds.SeqAt(r)->individId];
      c.resize(datasets, 0);
      ++c[static_cast<std::size_t>(d)];
    }
  }
  return counts;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string out;
  for (std::size_t i = 0; i < names.size(); ++i) out += (i > 0 ? "; " : "") + names[i];
  return out;
}

}  // namespace

std::string PadText(std::string_view text, int width) {
  if (width <= 0) return {};
  const auto w = static_cast<std::size_t>(width);
  if (text.size() >= w) return std::string(text.substr(0, w));
  return std::string(w - text.size(), ' ') + std::string(text);
}

std::string SequencesReport(const TDataProj& p, const std::string& caption) {
  const std::vector<std::string> dsNames = DatasetNames(p), indNames = IndividNames(p);
  const int wInd = Longest(indNames), wDs = Longest(dsNames);
  int wSeq = 0;
  for (int d = 0; d < p.DatasetCount(); ++d)
    for (int r = 1; r <= p.DatasetAt(d)->Count(); ++r)
      wSeq = std::max(wSeq, static_cast<int>(p.DatasetAt(d)->SeqAt(r)->seqName.size()));
  std::string out = "Sequence-Individual assignment report for project " + caption + "\r\n";
  out += "The project contains " + std::to_string(p.TotalSeqCount()) + " sequences in " +
         std::to_string(p.DatasetCount()) + " datasets.\r\n";
  out += kRule;
  out += "Individ \\ gene report:\r\n";
  out += std::string(static_cast<std::size_t>(wInd), ' ');
  for (const std::string& n : dsNames) out += PadText(n, wDs + 2);
  out += "\r\n";
  const auto counts = CountsPerIndivid(p);
  for (const TIndivid& ind : p.Individs()) {
    out += PadText(ind.indName, wInd);
    const auto it = counts.find(ind.indKey);
    for (std::size_t d = 0; d < dsNames.size(); ++d) {
      const int n = it != counts.end() ? it->second[d] : 0;
      out += PadText(n == 0 ? std::string("-") : std::string(static_cast<std::size_t>(n), '+'),
                     wDs + 2);
    }
    out += "\r\n";
  }
  out += kRule;
  out += "Individual sequence assignments:\r\n";
  for (int d = 0; d < p.DatasetCount(); ++d) {
    const TDataSeq& ds = *p.DatasetAt(d);
    out += "Dataset " + ds.dsName + ":\r\n";
    out += PadText("Sequence", wSeq) + " = Individ\r\n";
    for (int r = 1; r <= ds.Count(); ++r) {
      const TSeq& s = *ds.SeqAt(r);
      const int i = s.individId < 0 ? -1 : p.IndexOfKey(s.individId);
      out += PadText(s.seqName, wSeq) +
             (i >= 0 ? " = " + p.IndividName(i) : std::string(" is not assigned to individual")) +
             "\r\n";
    }
    out += "\r\n";
  }
  return out;
}

std::string DatasetsReport(const TDataProj& p, const std::string& caption, bool withCounts,
                           IProgress& progress) {
  const int w = std::max(8, Longest(DatasetNames(p)));
  std::string out = "Datasets report for project " + caption + "\r\n\r\n";
  out += PadText("Dataset", w) + ":  SeqCount";
  if (withCounts) out += "    Length  GapFreePos  PosWithGaps";
  out += "\r\n";
  long long rows = 0, length = 0, gapFree = 0, gapped = 0;
  ProgressScope bar(progress, p.DatasetCount(), "Datasets report");
  for (int d = 0; d < p.DatasetCount(); ++d) {
    const TDataSeq& ds = *p.DatasetAt(d);
    progress.ShowStatus("Processing dataset: " + ds.dsName, true, false);
    rows += ds.Count();
    out += PadText(ds.dsName, w) + ":  " + PadText(std::to_string(ds.Count()), 8);
    if (withCounts) {
      const int len = ds.AlignmentLength(true);
      int withGap = 0;
      for (int c = 1; c <= len; ++c)
        if (ds.ColumnLetters(c, 0).find('-') != std::string::npos) ++withGap;
      length += len;
      gapFree += len - withGap;
      gapped += withGap;
      out += PadText(std::to_string(len), 10) + PadText(std::to_string(len - withGap), 12) +
             PadText(std::to_string(withGap), 13);
    }
    out += "\r\n";
  }
  out += PadText("Total", w) + ": " + PadText(std::to_string(rows), 9);
  if (withCounts)
    out += " " + PadText(std::to_string(length), 9) + " " + PadText(std::to_string(gapFree), 11) +
           " " + PadText(std::to_string(gapped), 12);
  out += "\r\n\r\n";
  out += "The project contains " + std::to_string(rows) + " sequences in " +
         std::to_string(p.DatasetCount()) + " datasets.\r\n";
  return out;
}

std::string IndividualsPageReport(const TDataProj& p, const std::string& caption) {
  std::string out = SequencesReport(p, caption);
  out += "All datasets:\r\n" + Joined(DatasetNames(p)) + "\r\n";
  out += "All individuals:\r\n" + Joined(IndividNames(p)) + "\r\n";
  return out;
}

std::string IndividualsReport(const TDataProj& p, const std::string& caption) {
  std::string out = "Individuals report for project " + caption + "\r\n";
  out += "The project contains " + std::to_string(p.IndividCount()) + " individuals.\r\n";
  out += kRule;
  const auto counts = CountsPerIndivid(p);
  for (const TIndivid& ind : p.Individs()) {
    out += "Individual: " + ind.indName + "\r\n";
    const int g = ind.indGroup == -1 ? -1 : p.GroupIndexByKey(ind.indGroup);
    out += "Group: " + (g >= 0 ? p.GroupName(g) : std::string("none")) + "\r\n";
    out += "Comment: " + ind.indComment + "\r\n";
    for (const sir& a : ind.attributes) out += a.sirName + ": " + a.sirText + "\r\n";
    const auto it = counts.find(ind.indKey);
    std::vector<std::string> perDataset;
    for (int d = 0; d < p.DatasetCount(); ++d)
      perDataset.push_back(
          p.DatasetAt(d)->dsName + ": " +
          std::to_string(it != counts.end() ? it->second[static_cast<std::size_t>(d)] : 0));
    out += "Sequences: " + Joined(perDataset) + "\r\n\r\n";
  }
  return out;
}
