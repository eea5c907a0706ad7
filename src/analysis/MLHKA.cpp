// SPDX-License-Identifier: GPL-3.0-or-later
// ML-HKA input and output files and the verdict.
#include "analysis/MLHKA.h"

#include <sstream>

#include "analysis/PolymEstimators.h"
#include "analysis/SFS2dUnit.h"
#include "common/NumberFormat.h"
#include "model/DataProjUnit.h"

bool HasEnabledOutgroup(const TDataProj& project, const TDataSeq& ds) {
  for (int r = 1; r <= ds.Count(); ++r)
    if (ds.SeqAt(r)->enabled && project.IsOutgroup(ds, r)) return true;
  return false;
}

std::vector<std::string> HKAReferenceCandidates(const TDataProj& project) {
  std::vector<std::string> names;
  for (int d = 0; d < project.DatasetCount(); ++d)
    if (HasEnabledOutgroup(project, *project.DatasetAt(d)))
      names.push_back(project.DatasetAt(d)->dsName);
  return names;
}

std::optional<std::string> HKALocusLine(const TDataProj& project, const TDataSeq& ds) {
  const tmutholder* poly = TableOfGroup(ds, 0, false);
  const tmutholder* div = TableOfGroup(ds, 0, true);
  if (poly == nullptr || div == nullptr) return std::nullopt;
  const int L = poly->positionsAnalysed();
  if (L < 1 || div->positionsAnalysed() < 1) return std::nullopt;
  int lastOut = -1, lastIn = -1;
  samptype all(ds.Count());
  for (int r = 1; r <= ds.Count(); ++r) {
    if (!poly->sampleMask.Test(r - 1) && !div->sampleMask.Test(r - 1)) continue;
    if (project.IsOutgroup(ds, r)) {
      if (div->sampleMask.Test(r - 1)) lastOut = r - 1;
    } else if (poly->sampleMask.Test(r - 1)) {
      lastIn = r - 1;
      all.Set(r - 1);
    }
  }
  if (lastOut < 0 || lastIn < 0) return std::nullopt;
  const int S = poly->countSegregatingSites(0, 0, all, kSiteAll, kMutAll);
  const int D = div->countDifferences(lastOut, lastIn, 0, 0, kSiteAll, kMutAll);
  const double theta = thetaW(*poly, 0, 0, all, kSiteAll, kMutAll);
  const std::string inheritance = ds.chromosome == -2 ? "0.25" : ds.chromosome == -1 ? "0.75" : "1";
  return ds.dsName + "\t" + std::to_string(L) + "\t" + std::to_string(S) + "\t" +
         std::to_string(all.Count()) + "\t" + std::to_string(D) + "\t" +
         FormatFixed(theta < 0 ? 0.0 : theta / L, 5) + "\t" + inheritance;
}

std::string HKAInfile(int model, const std::string& datasetName, const std::string& locusLine,
                      const std::vector<std::string>& referenceLines) {
  std::string s = std::to_string(1 + referenceLines.size()) + "\t";
  s += model == 1 ? "\t1\t" + datasetName + "\t5.00000" : std::string("\t0\t5.00000");
  s += "\r\n" + locusLine + "\r\n";
  for (const std::string& line : referenceLines) s += line + "\r\n";
  return s;
}

std::optional<HKALikelihood> ReadHKALikelihoods(const std::string& text, int model) {
  std::istringstream in(text);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  const std::size_t first = model == 1 ? 1 : 0;
  if (lines.size() < first + 2) return std::nullopt;
  HKALikelihood h;
  h.header = lines[first];
  h.result = lines[first + 1];
  const std::string number = h.result.substr(0, h.result.find_first_of(" \t"));
  const std::optional<double> ln = ParseReal(number);
  if (!ln) return std::nullopt;
  h.ln = *ln;
  return h;
}

std::string MLHKAVerdict(double ln0, double ln1) {
  if (ln1 < ln0)
    return "???too short chain??? Ln-selection should be higher or equal to Ln-neutral";
  const double lr = 2 * (ln1 - ln0);
  if (lr > 10.8276) return "P<0.001";
  if (lr > 6.6349) return "P<0.01";
  // Significant at 5 % (chi-square, one degree of freedom).
  if (lr > 3.8415) return "P<0.05";
  return "NS";
}
