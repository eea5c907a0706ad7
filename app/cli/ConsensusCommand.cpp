// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli consensus: the editor's consensus commands on IN, written to OUT.
#include <memory>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "alignment/AsmContUnit.h"
#include "model/DataProjUnit.h"

namespace {

int RunConsensus(const std::vector<std::string>& args) {
  CliCommand cmd(
      "consensus", "IN OUT",
      "Adds a consensus sequence (\"Consensus\") to a dataset of IN, of its selected rows when "
      "two or more are selected, else of all rows, and writes the project to OUT. With "
      "--all-datasets every dataset gets the consensus of all its rows, named \"Consensus_\" + "
      "the dataset's name (\"In the same project\"); with --new-project as well OUT holds only "
      "those consensus sequences, one dataset each (\"In a new project\").");
  AddReadOptions(cmd);
  AddWriteOptions(cmd);
  AddForceOption(cmd);
  cmd.Add("dataset", "The dataset of the single consensus (default 1).", "N");
  cmd.Add("all-datasets", "A consensus for every dataset.");
  cmd.Add("new-project", "With --all-datasets: the consensus sequences alone in a new project.");
  cmd.AddNote(ReadFormatsNote() + WriteFormatsNote());
  if (const auto status = cmd.Parse(args, 2, 2)) return *status;
  if (cmd.IsSet("new-project") && !cmd.IsSet("all-datasets"))
    return cmd.UsageError("--new-project goes with --all-datasets");
  CliServices cli;
  TDataProj project(cli.services);
  const WriteFormat* format = nullptr;
  if (const int read = ReadDatasetForOut(cmd, project, cli, format); read != kExitOk) return read;
  std::vector<std::unique_ptr<TSeq>> clipboard;
  EditorContext ctx{project, cli.services, clipboard};
  TDataProj* out = &project;
  std::unique_ptr<TDataProj> fresh;
  if (cmd.IsSet("new-project")) {
    fresh = ConsensusInNewProject(ctx);
    out = fresh.get();
  } else if (cmd.IsSet("all-datasets")) {
    if (ConsensusInSameProject(ctx) == 0) return kExitFailed;
  } else if (CreateConsensus(ctx) < 0) {
    return kExitFailed;
  }
  return WriteOutput(*out, *format, cmd.Positionals()[1], cli, cmd.Positionals()[0],
                     cmd.IsSet("force"), true);
}

const bool kRegistered = RegisterCommand(
    {"consensus", "IN OUT", "adds consensus sequences to one or every dataset", RunConsensus});

}  // namespace
