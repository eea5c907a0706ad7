// SPDX-License-Identifier: GPL-3.0-or-later
// What the property dialogs of the editor window read from the model and write back on "OK":
// the attributes of one sequence, of a dataset and of the project. Names stay unique within
// their list and the name lookups stay current.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "model/DataProjUnit.h"

// The attribute page of the sequence properties.
struct SeqProperties {
  std::string seqName;
  int seqTypeIndex = 0;  // entry of the type box
  std::string accession;
  bool enabled = true, selected = false, plusStrand = true, showRegions = true;
  bool showTrace = false, forward = true;
  int ploidy = 1;  // at least 1
  std::string comment, sourceFile, organism, locusName, definition;
  std::string individName;  // empty: no individual
  int poorQualityLeft = -1, poorQualityRight = -1;
  bool operator==(const SeqProperties&) const = default;
};

SeqProperties ReadSeqProperties(const TSeq& seq, const TDataProj& project);

// Writes the attributes and the regions to `row` of `ds`. newIndividuals are the individuals
// "New" asked for while the dialog was open: they join the project only now, before the
// chosen name is looked up. An empty name keeps the old one. True when anything changed.
bool ApplySeqProperties(TDataProj& project, TDataSeq& ds, int row, const SeqProperties& props,
                        const std::vector<std::string>& newIndividuals,
                        const std::vector<TRegion>& regions);

// The name "New" offers: "Individual_" + the individuals before it (those already asked for
// included), made unique so that the name shown is the name stored.
std::string NewIndividualName(const TDataProj& project,
                              const std::vector<std::string>& alreadyAsked);

struct DatasetProperties {
  std::string name, comment;
  int chromosome = 0;    // -2..10000: -1 X, -2 Y, 0 unknown
  int genePosition = 0;  // 0..2147483647
  bool selected = true;
  bool operator==(const DatasetProperties&) const = default;
};
DatasetProperties ReadDatasetProperties(const TDataSeq& ds);
// An empty name keeps the old one. True when anything changed.
bool ApplyDatasetProperties(TDataProj& project, int index, const DatasetProperties& props);

struct ProjectProperties {
  std::string name, comment, file;
  bool operator==(const ProjectProperties&) const = default;
};
ProjectProperties ReadProjectProperties(const TDataProj& project);
bool ApplyProjectProperties(TDataProj& project, const ProjectProperties& props);
// "Datasets: n", "Individuals: n", "Groups: n" (every group, at any depth), "Sequences: n".
std::array<std::string, 4> ProjectContentsLines(const TDataProj& project);
