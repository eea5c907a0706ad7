// SPDX-License-Identifier: GPL-3.0-or-later
// Concatenation of datasets: the sequences of chosen datasets (loci) joined individual by
// individual, in a chosen order, into one dataset of a new project.
#pragma once
#include <memory>
#include <string>
#include <vector>

class TDataProj;

struct ConcatOptions {
  std::vector<std::string> individuals;  // names of the individuals to include, in output order
  std::vector<std::string> datasets;     // names of the datasets to join, in joining order
  bool revComp = false;                  // cbRevComp: every piece turned forward and plus first
  bool excludeMissing = false;           // cbExIMG: rows lacking a piece of any dataset dropped
};

// The new project holds the source's groups, the included individuals (keys kept) and one
// dataset with a row per individual and copy: named after the individual, with "_" + copy
// when it has more than one sequence in some joined dataset. Each piece is preceded by "N" for
// its column shift and carries a "Misc." region named after its dataset; rows are padded with
// "N" after every dataset. Names that no longer name a dataset are skipped, and the exclusion
// counts only the datasets that exist.
std::unique_ptr<TDataProj> ConcatenateDatasets(const TDataProj& source, const ConcatOptions& options);
