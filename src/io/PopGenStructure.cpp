// SPDX-License-Identifier: GPL-3.0-or-later
// Structure's data file with its parameter files.
//
// "extraparams" goes beside the data file, where the notice tells the user to run structure;
// the current folder of the program is nobody's business.
#include <cmath>

#include "analysis/MutUnit.h"
#include "common/PlatformRandom.h"
#include "editor/AmbiguityResolution.h"
#include "io/IOUnit.h"
#include "io/PopGenFormats.h"
#include "io/PopGenSupport.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"

namespace {

constexpr const char* kExtraParams[] = {
    "#define FREQSCORR   1\r\n#define ONEFST      0\r\n#define INFERALPHA  1\r\n#define POPALPHAS  "
    " 0",
    "#define INFERLAMBDA 0\r\n#define POPSPECIFICLAMBDA 0\r\n#define NOADMIX     0",
    "#define LINKAGE     0\r\n#define PHASED      0\r\n#define LOG10RMIN     -4.0\r\n#define "
    "LOG10RMAX      1.0",
    "#define LOG10RPROPSD   0.1\r\n#define LOG10RSTART   -2.0\r\n#define COMPUTEPROB 1\r\n#define "
    "ADMBURNIN   500",
    "#define USEPOPINFO  0\r\n#define GENSBACK    1\r\n#define MIGRPRIOR 0.001\r\n#define "
    "PFROMPOPFLAGONLY 0",
    "#define PRINTKLD     1\r\n#define PRINTLAMBDA  1\r\n#define PRINTQSUM    1\r\n#define "
    "SITEBYSITE   0",
    "#define PRINTQHAT    0\r\n#define UPDATEFREQ   0\r\n#define PRINTLIKES   0\r\n#define "
    "INTERMEDSAVE 0",
    "#define ECHODATA     1\r\n#define ANCESTDIST   0\r\n#define NUMBOXES   1000\r\n#define "
    "ANCESTPINT 0.90",
    "#define ALPHA      1.0\r\n#define FPRIORMEAN 0.01\r\n#define FPRIORSD   0.05\r\n#define "
    "LAMBDA      1.0",
    "#define UNIFPRIORALPHA 1\r\n#define ALPHAMAX     20.0\r\n#define ALPHAPRIORA  0.05\r\n#define "
    "ALPHAPRIORB  0.001",
    "#define ALPHAPROPSD 0.025\r\n#define STARTATPOPINFO 0\r\n#define RANDOMIZE    1\r\n#define "
    "METROFREQ    10\r\n#define REPORTHITRATE 0",
};

const char* StructureCode(char c) {
  switch (c) {
    case 'A':
    case 'a':
      return "1 ";
    case 'T':
    case 't':
      return "2 ";
    case 'C':
    case 'c':
      return "3 ";
    case 'G':
    case 'g':
      return "4 ";
    default:
      return "-9 ";
  }
}

}  // namespace

StructureFiles StructureText(const std::string& path, const TDataProj& project,
                             std::uint32_t rngSeed) {
  StructureFiles result;
  std::vector<const TDataSeq*> datasets;
  for (int d = 0; d < project.DatasetCount(); ++d) datasets.push_back(project.DatasetAt(d));
  PlatformRandom rng(rngSeed);
  std::string error;
  std::unique_ptr<TDataProj> resolved = ResolvedProject(project, datasets, rng, error);
  if (!resolved || resolved->DatasetCount() == 0) {
    result.notice = error.empty() ? "The project holds no dataset to write" : error;
    return result;
  }
  std::unique_ptr<TDataSeq> concatenated;
  TDataSeq* ds = resolved->DatasetAt(0);
  if (resolved->DatasetCount() > 1) {
    concatenated = resolved->ConcatDataSeq();
    concatenated->project = resolved.get();
    ds = concatenated.get();
  }
  if (ds->Count() < 2) {
    result.notice = "Structure needs at least two sequences";
    return result;
  }
  const tmutholder* t = WholeSampleTable(*ds);
  if (t == nullptr) {
    result.notice = "No analysed sites: nothing was written to " + path;
    return result;
  }
  const bool popData = project.GroupCount() > 1;
  std::vector<int> positions;
  for (const tmutation& m : t->mutations)
    if (positions.empty() || positions.back() != m.position) positions.push_back(m.position);

  std::string data;
  double individuals = 0;
  int maxPloidy = 0;
  for (int r = 1; r <= ds->Count(); ++r) {
    if (!t->sampleMask.Test(r - 1)) continue;
    const TSeq& s = *ds->SeqAt(r);
    const int i = s.individId < 0 ? -1 : resolved->IndexOfKey(s.individId);
    const std::string name = i >= 0 ? resolved->IndividName(i) : s.seqName;
    const int ploidy = i >= 0 ? std::max(1, ds->CountOfIndivid(s.individId)) : 1;
    individuals += 1.0 / ploidy;
    maxPloidy = std::max(maxPloidy, ploidy);
    data += name + " ";
    if (popData) {
      const int g = resolved->GroupIndexByKey(resolved->GroupOfSeq(*ds, s.seqId));
      data += std::to_string(g + 1) + " ";
    }
    for (const int p : positions) data += StructureCode(LetterAtPosition(*ds, r, p));
    data += "\r\n";
  }
  const std::string file = FileNameOnly(path);
  const std::string stem = FileNameOnly(PathWithoutExtension(path));
  const auto slash = path.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  std::string spj;
  AppendLine(spj, "#define INFILE " + file);
  AppendLine(spj, "#define OUTFILE " + stem + ".out");
  AppendLine(spj, "#define NUMINDS " + std::to_string(std::lround(individuals)));
  AppendLine(spj, "#define NUMLOCI " + std::to_string(positions.size()));
  AppendLine(spj, "#define LABEL     1");
  AppendLine(spj, popData ? "#define POPDATA   1" : "#define POPDATA   0");
  for (const char* line :
       {"#define POPFLAG   0", "#define PHENOTYPE 0", "#define EXTRACOLS 0", "#define PHASEINFO 0",
        "#define MARKOVPHASE  0", "#define MISSING      -9"})
    AppendLine(spj, line);
  AppendLine(spj, "#define PLOIDY       " + std::to_string(maxPloidy));
  for (const char* line :
       {"#define ONEROWPERIND 0", "#define MARKERNAMES  0", "#define MAPDISTANCES 0",
        "#define MAXPOPS    2", "#define BURNIN    10000", "#define NUMREPS   100000"})
    AppendLine(spj, line);
  std::string extra;
  for (const char* block : kExtraParams) AppendLine(extra, block);
  result.files = {{path, std::move(data)},
                  {PathWithoutExtension(path) + ".spj", std::move(spj)},
                  {folder + "extraparams", std::move(extra)}};
  result.notice = "Created 3 files needed to run structure: 1)" + file + " with all the data, 2)" +
                  stem + ".spj with main parameters and 3)extraparams with extra parameters." +
                  "\r\n" +
                  "The parameters in the 2nd (and possibly in the 3rd) file have to be adjusted "
                  "to your needs." +
                  "\r\n" +
                  "To run structure in the command line (assuming the program and data files "
                  "are in the same folder) type: structure.exe -m " +
                  stem + ".spj -e extraparams";
  return result;
}

bool SaveStructure(const std::string& path, const TDataProj& project, Services& services) {
  const StructureFiles s = StructureText(path, project, PlatformRandom::FromClock().Next());
  bool ok = !s.files.empty();
  for (const PairFile& f : s.files) ok = SaveTextFile(f.path, f.text, services) && ok;
  services.messages.Notify(s.notice);
  return ok;
}
