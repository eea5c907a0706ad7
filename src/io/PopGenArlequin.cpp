// SPDX-License-Identifier: GPL-3.0-or-later
// The Arlequin project file (.arp).
#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

#include "analysis/MutUnit.h"
#include "common/NumberFormat.h"
#include "io/IOUnit.h"
#include "io/PopGenFormats.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"

namespace {

struct Sample {
  std::string name;
  int parent = -1;  // grpParent of the sample's group
  std::vector<int> rows;
};

std::string Quoted(const std::string& s) {
  return "\"" + s + "\"";
}

// Lines of a sample's sequences; the next sequence of the same individual follows its mate
// on a line of its own and is not written again.
void AppendSampleData(std::string& out, const TDataSeq& ds, const std::vector<int>& rows,
                      bool mates) {
  std::vector<bool> written(static_cast<std::size_t>(ds.Count()) + 1, false);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int r = rows[i];
    if (written[static_cast<std::size_t>(r)]) continue;
    const TSeq& s = *ds.SeqAt(r);
    AppendLine(out, "     " + s.seqName + " 1 " + s.letters);
    written[static_cast<std::size_t>(r)] = true;
    if (!mates || s.individId < 1) continue;
    for (std::size_t j = i + 1; j < rows.size(); ++j) {
      const int m = rows[j];
      if (written[static_cast<std::size_t>(m)] || ds.SeqAt(m)->individId != s.individId) continue;
      AppendLine(out, "     " + ds.SeqAt(m)->letters);
      written[static_cast<std::size_t>(m)] = true;
      break;
    }
  }
}

// Attribute columns that hold numbers, in order of first appearance.
std::vector<std::string> NumericAttributes(const TDataProj& project) {
  std::vector<std::string> names;
  for (const TIndivid& ind : project.Individs())
    for (const sir& a : ind.attributes) {
      if (!ParseReal(a.sirText)) continue;
      const std::string key = UpperCase(a.sirName);
      bool known = false;
      for (const std::string& n : names) known = known || UpperCase(n) == key;
      if (!known) names.push_back(a.sirName);
    }
  return names;
}

std::optional<double> AttributeOf(const TDataProj& project, const TSeq& s,
                                  const std::string& name) {
  const int i = s.individId < 0 ? -1 : project.IndexOfKey(s.individId);
  if (i < 0) return std::nullopt;
  for (const sir& a : project.Individs()[static_cast<std::size_t>(i)].attributes)
    if (UpperCase(a.sirName) == UpperCase(name)) return ParseReal(a.sirText);
  return std::nullopt;
}

void AppendMatrix(std::string& out, int n, const std::function<double(int, int)>& value) {
  AppendLine(out, "DistMatMantel={");
  for (int i = 0; i < n; ++i) {
    std::string line;
    for (int j = 0; j <= i; ++j) line += FixedWidth(value(i, j), 4, 4) + " ";
    AppendLine(out, line);
  }
  AppendLine(out, "}");
}

void AppendMantel(std::string& out, TDataProj& project, TDataSeq& ds,
                  const std::vector<std::string>& attributes) {
  const int n = ds.Count();
  AppendLine(out, "[[Mantel]]");
  AppendLine(out, "MatrixSize=" + std::to_string(n));
  AppendLine(out, "MatrixNumber=" + std::to_string(attributes.size() + 1));
  AppendLine(out, "YMatrix=\"Custom\"");
  std::string labels;
  AppendLine(labels, "YMatrixLabels ={");
  for (int r = 1; r <= n; ++r) AppendLine(labels, Quoted(ds.NameAt(r)));
  AppendLine(labels, "}");
  out += labels;
  // Every sequence, outgroups too, carries its letters in the table the distances come from.
  ScanChoices choices;
  choices.includeOutgroupsInSample = true;
  (void)UpdateMuts(ds, AnalysisOptions{}, &project, {}, choices);
  const tmutholder* t = ds.mutHolders.empty() ? nullptr : ds.mutHolders.front().get();
  std::vector<std::vector<int>> diffs(static_cast<std::size_t>(n));
  if (t != nullptr)
    for (int i = 0; i < n; ++i)
      diffs[static_cast<std::size_t>(i)] = t->differencesFrom(i, kSiteAll, kMutAll);
  AppendMatrix(out, n, [&](int i, int j) {
    const auto& d = diffs[static_cast<std::size_t>(i)];
    return j < static_cast<int>(d.size()) ? static_cast<double>(d[static_cast<std::size_t>(j)])
                                          : 0.0;
  });
  for (const std::string& name : attributes) {
    std::vector<std::optional<double>> v;
    for (int r = 1; r <= n; ++r) v.push_back(AttributeOf(project, *ds.SeqAt(r), name));
    // Distances: the size of the difference, whichever of the two is larger.
    AppendMatrix(out, n, [&](int i, int j) {
      const auto& a = v[static_cast<std::size_t>(i)];
      const auto& b = v[static_cast<std::size_t>(j)];
      return a && b ? std::fabs(*a - *b) : 0.0;
    });
  }
  AppendLine(out, "UsedYMatrixLabels ={");
  out += labels.substr(labels.find("\r\n") + 2);
}

}  // namespace

std::string ArlequinText(TDataProj& project, int datasetIndex) {
  if (datasetIndex < 0 || datasetIndex >= project.DatasetCount()) return {};
  TDataSeq& ds = *project.DatasetAt(datasetIndex);
  std::vector<Sample> samples;
  // The outgroup group is always there: groups means one of the user's own.
  const bool grouped = project.GroupCount() > 1;
  if (grouped) {
    for (const TGroup& g : project.Groups()) {
      Sample s{g.grpName, g.grpParent, {}};
      for (int r = 1; r <= ds.Count(); ++r)
        if (project.GroupOfSeq(ds, ds.SeqAt(r)->seqId) == g.grpKey) s.rows.push_back(r);
      if (!s.rows.empty()) samples.push_back(std::move(s));
    }
  } else {
    Sample s{"All_seq_in_" + ds.dsName, -1, {}};
    for (int r = 1; r <= ds.Count(); ++r) s.rows.push_back(r);
    samples.push_back(std::move(s));
  }
  const int shown = ds.currentRow >= 1 && ds.currentRow <= ds.Count() ? ds.currentRow : 1;
  const bool dna = ds.Count() > 0 && ds.SeqAt(shown)->seqType == kSeqDna;
  std::string out;
  for (const char* line : {"#===============================", "#Project file created by Nodrix3",
                           "#===============================", "[Profile]"})
    AppendLine(out, line);
  AppendLine(out, "     NbSamples=" + std::to_string(samples.size()));
  if (dna) {
    AppendLine(out, "     DataType=DNA");
    AppendLine(out, "     GenotypicData=0");
    AppendLine(out, "     GameticPhase=1");
  } else {
    AppendLine(out, "     DataType=STANDARD");
    AppendLine(out, "     GenotypicData=1");
    AppendLine(out, "     GameticPhase=0");
  }
  for (const char* line : {"     LocusSeparator=WHITESPACE", "     RecessiveData=0",
                           "     MissingData='N'", "[Data]", "[[Samples]]"})
    AppendLine(out, line);
  const bool mates = grouped;
  for (const Sample& s : samples) {
    AppendLine(out, "     SampleName=" + Quoted(s.name));
    AppendLine(out, "     SampleSize= " + std::to_string(s.rows.size()));
    AppendLine(out, "     SampleData= {");
    AppendSampleData(out, ds, s.rows, mates);
    AppendLine(out, "     }");
  }
  const std::vector<std::string> attributes = NumericAttributes(project);
  if (!attributes.empty()) AppendMantel(out, project, ds, attributes);

  std::vector<int> parents;
  bool orphans = false;
  for (const Sample& s : samples) {
    if (s.parent == -1)
      orphans = true;
    else if (std::find(parents.begin(), parents.end(), s.parent) == parents.end())
      parents.push_back(s.parent);
  }
  if (!parents.empty()) {
    AppendLine(out, "     [[Structure]]");
    AppendLine(
        out, "     StructureName=" + Quoted("Population_grouping_in_project_" + project.projName));
    AppendLine(out, "     NbGroups=" + std::to_string(parents.size() + (orphans ? 1 : 0)));
    for (std::size_t k = 0; k <= parents.size(); ++k) {
      if (k == parents.size() && !orphans) break;
      const int parent = k < parents.size() ? parents[k] : -1;
      AppendLine(out, "     Group={");
      for (const Sample& s : samples)
        if (s.parent == parent) AppendLine(out, "\t\t\t" + Quoted(s.name));
      AppendLine(out, "     }");
    }
  }
  return out;
}

bool SaveArlequin(const std::string& path, TDataProj& project, int datasetIndex,
                  Services& services) {
  const std::string text = ArlequinText(project, datasetIndex);
  return !text.empty() && SaveTextFile(path, text, services);
}
