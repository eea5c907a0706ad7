// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli concat: the concatenation dialog's joining of datasets individual by individual,
// written to OUT as a new project.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "editor/Concatenation.h"
#include "model/DataProjUnit.h"

namespace {

std::vector<std::string> CommaList(const std::string& text) {
  std::vector<std::string> out;
  std::size_t from = 0;
  while (from <= text.size()) {
    const std::size_t comma = std::min(text.find(',', from), text.size());
    if (comma > from) out.push_back(text.substr(from, comma - from));
    from = comma + 1;
  }
  return out;
}

int RunConcat(const std::vector<std::string>& args) {
  CliCommand cmd("concat", "IN OUT",
                 "Joins the sequences of the datasets of IN individual by individual into one "
                 "dataset of a new project and writes it to OUT. Each individual gives one row "
                 "per copy (\"_0\", \"_1\", ... when it has several sequences in one dataset); "
                 "every piece carries a Misc. region named after its dataset, a piece's column "
                 "shift becomes leading N and rows are padded with N after each dataset. "
                 "Sequences without an individual are left out.");
  AddReadOptions(cmd);
  AddWriteOptions(cmd);
  AddForceOption(cmd);
  cmd.Add("datasets", "Joins these datasets in this order (default: all, in project order).",
          "A,B,...");
  cmd.Add("individuals",
          "Includes these individuals in this order (default: the enabled ones, in project "
          "order).",
          "A,B,...");
  cmd.Add("revcomp", "Turns every piece forward and plus before joining.");
  cmd.Add("exclude-missing", "Drops the rows that lack a piece of any joined dataset.");
  cmd.AddNote(ReadFormatsNote() + WriteFormatsNote());
  if (const auto status = cmd.Parse(args, 2, 2)) return *status;

  CliServices cli;
  TDataProj project(cli.services);
  const WriteFormat* format = nullptr;
  if (const int read = ReadInForOut(cmd, project, cli, format); read != kExitOk) return read;
  ConcatOptions options;
  options.revComp = cmd.IsSet("revcomp");
  options.excludeMissing = cmd.IsSet("exclude-missing");
  if (cmd.IsSet("datasets")) {
    options.datasets = CommaList(cmd.Value("datasets"));
    for (const std::string& name : options.datasets) {
      bool found = false;
      for (int d = 0; d < project.DatasetCount() && !found; ++d)
        found = project.DatasetAt(d)->dsName == name;
      if (!found) return cmd.UsageError(cmd.Positionals()[0] + " has no dataset " + name);
    }
  } else {
    for (int d = 0; d < project.DatasetCount(); ++d)
      options.datasets.push_back(project.DatasetAt(d)->dsName);
  }
  if (cmd.IsSet("individuals")) {
    options.individuals = CommaList(cmd.Value("individuals"));
    for (const std::string& name : options.individuals)
      if (project.IndividIndexByName(name) < 0)
        return cmd.UsageError(cmd.Positionals()[0] + " has no individual " + name);
  } else {
    for (const TIndivid& ind : project.Individs())
      if (ind.indEnabled) options.individuals.push_back(ind.indName);
  }
  std::unique_ptr<TDataProj> joined = ConcatenateDatasets(project, options);
  if (joined->DatasetAt(0)->Count() == 0)
    std::cerr << "nodrix3-cli: no sequence of the chosen individuals was joined\n";
  return WriteOutput(*joined, *format, cmd.Positionals()[1], cli, cmd.Positionals()[0],
                     cmd.IsSet("force"));
}

const bool kRegistered = RegisterCommand(
    {"concat", "IN OUT", "joins datasets individual by individual into a new project", RunConcat});

}  // namespace
