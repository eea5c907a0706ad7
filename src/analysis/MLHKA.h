// SPDX-License-Identifier: GPL-3.0-or-later
// The ML-HKA test (Wright and Charlesworth 2004) through the outside program MLHKA: the locus
// lines and input file it reads, the likelihoods it writes and the likelihood-ratio verdict.
#pragma once
#include <optional>
#include <string>
#include <vector>

class TDataProj;
class TDataSeq;

struct MLHKAOptions {
  bool run = false;                     // cbMLHKA
  bool currentOnly = true;              // rbMLHKcurrent, else rbHKAall
  int seed = 100;                       // seSeed
  int chain = 100;                      // seChain
  std::vector<std::string> references;  // checked entries of dsqlist
  // The program; empty: "MLHKA" in the program's folder, then on PATH.
  std::string program;
};

inline constexpr int kMaxHKAReferences = 99;

// The tab-separated locus line of a dataset from its whole-dataset tables (name, positions
// analysed, segregating sites, ingroup sequences, differences between the last outgroup and
// the last ingroup sequence, theta per site, inheritance scalar); none when the dataset has
// no table with an analysed position or no outgroup or ingroup sequence.
std::optional<std::string> HKALocusLine(const TDataProj& project, const TDataSeq& ds);

// "infile.txt" for model 0 (neutral) or 1 (selection of the tested locus): the count of
// loci, the model, the tested locus's line first and then the references' lines.
std::string HKAInfile(int model, const std::string& datasetName, const std::string& locusLine,
                      const std::vector<std::string>& referenceLines);

struct HKALikelihood {
  std::string header, result;
  double ln = 0;
};
// Reads "likelihoods.txt" of a model (model 1 skips its first line); none when the lines or
// the number are missing.
std::optional<HKALikelihood> ReadHKALikelihoods(const std::string& text, int model);

// "P<0.001" for LR > 10.8276, "P<0.01" above 6.6349, "P<0.05" above 3.8415, else "NS", with
// LR = 2 (ln1 - ln0); a selection likelihood below the neutral one says the chain was short.
std::string MLHKAVerdict(double ln0, double ln1);

// Datasets offered as references: those with an enabled outgroup, in project order.
std::vector<std::string> HKAReferenceCandidates(const TDataProj& project);
// Whether a sequence of the dataset is an enabled outgroup.
bool HasEnabledOutgroup(const TDataProj& project, const TDataSeq& ds);
