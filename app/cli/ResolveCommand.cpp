// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli resolve: ambiguity letters resolved into alleles by ploidy, written to OUT.
#include <iostream>
#include <limits>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "common/PlatformRandom.h"
#include "editor/AmbiguityResolution.h"
#include "model/DataProjUnit.h"

namespace {

int RunResolve(const std::vector<std::string>& args) {
  CliCommand cmd("resolve", "IN OUT",
                 "Resolves the IUPAC ambiguity letters of the first (or every) dataset of IN at "
                 "random and writes the new project to OUT. A sequence of ploidy P gives P "
                 "sequences of ploidy 1 (named s, s~1, ...) that share out the bases of each "
                 "ambiguity letter, so a diploid Y becomes T in one copy and C in the other.");
  AddReadOptions(cmd);
  AddWriteOptions(cmd);
  AddForceOption(cmd);
  cmd.Add("seed",
          "Seeds the random draws with N so that a run can be repeated (default: the "
          "clock).",
          "N");
  cmd.Add("all-datasets", "Resolves every dataset, not only the first.");
  cmd.AddNote(ReadFormatsNote() + WriteFormatsNote());
  if (const auto status = cmd.Parse(args, 2, 2)) return *status;
  int seed = 0;
  if (!cmd.Int("seed", seed, 0, std::numeric_limits<int>::max())) return kExitUsage;

  CliServices cli;
  TDataProj project(cli.services);
  const WriteFormat* format = nullptr;
  if (const int read = ReadInForOut(cmd, project, cli, format); read != kExitOk) return read;
  std::vector<const TDataSeq*> datasets;
  for (int d = 0; d < project.DatasetCount(); ++d)
    if (d == 0 || cmd.IsSet("all-datasets")) datasets.push_back(project.DatasetAt(d));
  PlatformRandom rng = cmd.IsSet("seed") ? PlatformRandom(static_cast<std::uint32_t>(seed))
                                         : PlatformRandom::FromClock();
  std::string error;
  std::unique_ptr<TDataProj> resolved = ResolvedProject(project, datasets, rng, error);
  if (!resolved) {
    std::cerr << "nodrix3-cli: " << error << '\n';
    return kExitFailed;
  }
  return WriteOutput(*resolved, *format, cmd.Positionals()[1], cli, cmd.Positionals()[0],
                     cmd.IsSet("force"));
}

const bool kRegistered = RegisterCommand(
    {"resolve", "IN OUT", "resolves ambiguity letters into alleles by ploidy", RunResolve});

}  // namespace
