// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli composition: the nucleotide composition report of a file with the dialog's
// options; the report goes to stdout exactly as the report window shows it.
#include <sstream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FrameArgs.h"
#include "analysis/GCcontentUnit.h"
#include "model/DataProjUnit.h"

namespace {

// Sets the chosen blocks from a comma-separated list; false for an unknown name.
bool ParseBlocks(const std::string& list, CompositionOptions& c) {
  c = CompositionOptions{false, false, false, false, false};
  std::stringstream in(list);
  std::string name;
  while (std::getline(in, name, ',')) {
    if (name == "gc-mutations")
      c.gcMutations = true;
    else if (name == "nucleotides")
      c.nucleotides = true;
    else if (name == "stationarity")
      c.gcStationarity = true;
    else if (name == "pairs")
      c.pairs = true;
    else if (name == "cpg")
      c.cpg = true;
    else
      return false;
  }
  return true;
}

int RunCompositionCommand(const std::vector<std::string>& args) {
  CliCommand cmd("composition", "FILE",
                 "Nucleotide composition report of every dataset and group on stdout.");
  AddFrameOptions(cmd, false);
  cmd.Add("blocks",
          "The parts reported (default gc-mutations,nucleotides,pairs): GC-changing mutations, "
          "base composition, GC stationarity (Eyre-Walker 1994), nucleotide pairs, mutations "
          "in CpG.",
          "gc-mutations,nucleotides,stationarity,pairs,cpg");
  if (const auto status = cmd.Parse(args, 1, 1)) return *status;

  FrameArgs fa;
  if (!ReadFrameOptions(cmd, fa, false)) return kExitUsage;
  CompositionOptions co;
  if (cmd.IsSet("blocks") && !ParseBlocks(cmd.Value("blocks"), co))
    return cmd.UsageError("unknown part in --blocks " + cmd.Value("blocks"));

  CliServices cli;
  TDataProj project(cli.services);
  if (const int status = LoadAnalysisProject(fa, cli, project); status != 0) return status;
  return PrintAnalysisOutput(RunComposition(project, fa.frame, co, cli.services));
}

const bool kRegistered = RegisterCommand(
    {"composition", "FILE", "nucleotide composition report", RunCompositionCommand});

}  // namespace
