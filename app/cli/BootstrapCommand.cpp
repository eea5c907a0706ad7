// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli bootstrap: bootstrap replicates of one dataset (columns drawn with replacement),
// written to OUT.
#include <iostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "common/PlatformRandom.h"
#include "editor/BootstrapCopies.h"
#include "model/DataProjUnit.h"

namespace {

int RunBootstrap(const std::vector<std::string>& args) {
  CliCommand cmd("bootstrap", "IN OUT",
                 "Makes bootstrap replicates of the current dataset of IN (columns drawn with "
                 "replacement), named after it + \"_\" + k, and writes them to OUT.");
  AddReadOptions(cmd);
  AddWriteOptions(cmd);
  AddForceOption(cmd);
  cmd.Add("replicates", "Number of replicates, 1..10000 (required).", "N");
  cmd.Add("codons", "Draws whole codons in CDS/exons.");
  cmd.Add("seed", "Seed of the random generator, to repeat a run (default: the clock).", "N");
  cmd.Add("dataset", "The dataset to resample (default: the current one).", "NAME");
  cmd.AddNote(ReadFormatsNote() + WriteFormatsNote());
  if (const auto status = cmd.Parse(args, 2, 2)) return *status;
  if (!cmd.IsSet("replicates")) return cmd.UsageError("--replicates is required");
  int replicates = 0, seed = 0;
  if (!cmd.Int("replicates", replicates, 1, 10000) || !cmd.Int("seed", seed, 0, 2147483647))
    return kExitUsage;

  CliServices cli;
  TDataProj project(cli.services);
  const WriteFormat* format = nullptr;
  if (const int read = ReadInForOut(cmd, project, cli, format); read != kExitOk) return read;
  const TDataSeq* ds =
      cmd.IsSet("dataset") ? project.DatasetByName(cmd.Value("dataset")) : project.CurrentDataset();
  if (ds == nullptr) {
    std::cerr << "nodrix3-cli: no dataset " << cmd.Value("dataset") << " in the file\n";
    return kExitFailed;
  }
  PlatformRandom rng = cmd.IsSet("seed") ? PlatformRandom(static_cast<std::uint32_t>(seed))
                                         : PlatformRandom::FromClock();
  auto replicateProject = BootstrapCurDseq(*ds, replicates, cmd.IsSet("codons"), rng, cli.services);
  return WriteOutput(*replicateProject, *format, cmd.Positionals()[1], cli, cmd.Positionals()[0],
                     cmd.IsSet("force"));
}

const bool kRegistered =
    RegisterCommand({"bootstrap", "IN OUT", "bootstrap replicates of a dataset", RunBootstrap});

}  // namespace
