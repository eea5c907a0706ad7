// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli split: long datasets cut into consecutive pieces, written to OUT.
#include <iostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "editor/LongDatasetSplit.h"
#include "model/DataProjUnit.h"

namespace {

int RunSplit(const std::vector<std::string>& args) {
  CliCommand cmd("split", "IN OUT",
                 "Cuts every dataset of IN longer than --max alignment columns into pieces of "
                 "--max columns (the last one shorter), adds them to the project as new datasets "
                 "(names with \"~k\") and writes the project to OUT.");
  AddReadOptions(cmd);
  AddWriteOptions(cmd);
  AddForceOption(cmd);
  cmd.Add("max", "The longest piece, in alignment columns (required, at least 1).", "N");
  cmd.Add("remove", "Removes the datasets that were split.");
  cmd.AddNote(ReadFormatsNote() + WriteFormatsNote());
  if (const auto status = cmd.Parse(args, 2, 2)) return *status;
  if (!cmd.IsSet("max")) return cmd.UsageError("--max is required");
  int maxLength = 0;
  if (!cmd.Int("max", maxLength, 1, 2000000000)) return kExitUsage;

  CliServices cli;
  TDataProj project(cli.services);
  const WriteFormat* format = nullptr;
  if (const int read = ReadInForOut(cmd, project, cli, format); read != kExitOk) return read;
  const int added = SplitLongDatasets(project, maxLength, cmd.IsSet("remove"));
  std::cerr << "nodrix3-cli: " << added << " pieces added\n";
  return WriteOutput(project, *format, cmd.Positionals()[1], cli, cmd.Positionals()[0],
                     cmd.IsSet("force"));
}

const bool kRegistered =
    RegisterCommand({"split", "IN OUT", "cuts long datasets into shorter pieces", RunSplit});

}  // namespace
