// SPDX-License-Identifier: GPL-3.0-or-later
// Input files for outside population-genetics programs (Arlequin, Structure, BayeScan,
// SweepFinder, J. Hey's HKA program, Hey and Nielsen's IM, MLHKA, fastPHASE), the ms-style
// text of polymorphic sites, and the readers of ms (and scrm) output and of fastPHASE output.
//
// Writers read the project only, apart from rebuilding cached mutation tables; those that need
// the tables write nothing for a dataset without analysed positions. The *Text functions give
// the file's content (empty: nothing to write) so the command, the CLI and tests share them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/Services.h"

class TDataProj;
class TDataSeq;
struct OpenWindow;

// ---- readers ----
// Hudson's ms output (or scrm's, whose command line starts with "scrm"): groups and
// individuals from "-I", one dataset "Run_" + r per run holding one SNP sequence per
// haplotype with the run's sites as polySitePos. True when a run was read.
bool OpenMsOutput(const std::string& path, OpenWindow& window, Services& services);

// fastPHASE's genotype output with the positions of its input file: phases the dataset named
// like the output file when the window's project has one, else adds a new dataset of the
// haplotypes. True when something was phased or read.
bool OpenFastPhaseOutput(const std::string& outPath, const std::string& inpPath, OpenWindow& window,
                         Services& services);

// ---- writers ----
// The ms-style site table of a dataset. seed: the "random seed" of the header (below 10000).
[[nodiscard]] std::string MsStyleText(TDataSeq& ds, bool withHeader, int seed);
bool SaveMsStyle(const std::string& path, TDataSeq& ds, bool withHeader, Services& services);

// fastPHASE input. refusal gets the reason when nothing can be written.
[[nodiscard]] std::string FastPhaseInputText(TDataSeq& ds, std::string& refusal);
bool SaveFastPhaseInput(const std::string& path, TDataSeq& ds, Services& services);

[[nodiscard]] std::string SweepFinderText(TDataSeq& ds);
bool SaveSweepFinder(const std::string& path, TDataSeq& ds, Services& services);

// BayeScan: haplotype counts of every dataset in every group. Without groups only the header
// is written (the notice says why).
[[nodiscard]] std::string BayeScanText(TDataProj& project, Services& services);
bool SaveBayeScan(const std::string& path, TDataProj& project, Services& services);

// The loci lines of MLHKA for the datasets with an enabled outgroup sequence.
[[nodiscard]] std::string MlHkaText(TDataProj& project, Services& services);
bool SaveMlHka(const std::string& path, TDataProj& project, Services& services);

// One file of a group-pair export.
struct PairFile {
  std::string path;
  std::string text;
};
struct HkaChoices {
  bool tajimaD = false;
  bool fuLiD = false;
};
// J. Hey's HKA program and Hey and Nielsen's IM: one file per pair of groups with a usable
// dataset. rngSeed resolves the ambiguities of the copies the files are made from.
[[nodiscard]] std::vector<PairFile> HkaFiles(const std::string& path, const TDataProj& project,
                                             const HkaChoices& choices, Services& services,
                                             std::uint32_t rngSeed);
[[nodiscard]] std::vector<PairFile> ImFiles(const std::string& path, const TDataProj& project,
                                            Services& services, std::uint32_t rngSeed);
// Ask the questions (HKA), write the files and show the notice of several group pairs.
bool SaveHka(const std::string& path, const TDataProj& project, Services& services);
bool SaveIm(const std::string& path, const TDataProj& project, Services& services);

// Arlequin project of one dataset (0-based index): samples by group with mate lines, the
// Mantel block when individuals carry numeric attributes, the Structure block of parent groups.
[[nodiscard]] std::string ArlequinText(TDataProj& project, int datasetIndex);
bool SaveArlequin(const std::string& path, TDataProj& project, int datasetIndex,
                  Services& services);

// Structure: the data file, its main parameter file (.spj) and "extraparams" beside it. The
// ambiguities of the copy written are resolved with rngSeed. notice: what the user is told.
struct StructureFiles {
  std::vector<PairFile> files;  // data, .spj, extraparams
  std::string notice;
};
[[nodiscard]] StructureFiles StructureText(const std::string& path, const TDataProj& project,
                                           std::uint32_t rngSeed);
bool SaveStructure(const std::string& path, const TDataProj& project, Services& services);
