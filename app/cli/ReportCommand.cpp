// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli report: the editor window's project reports (datasets, individuals, sequences)
// of a file, as the report window shows them, on stdout.
#include <iostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "editor/ProjectReports.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"

namespace {

int RunReport(const std::vector<std::string>& args) {
  CliCommand cmd("report", "datasets|individuals|sequences FILE",
                 "Prints the project report of FILE: the datasets with their sizes, the "
                 "individuals with their groups, attributes and sequences, or the sequences of "
                 "each individual and dataset. The project is named after the file, as its editor "
                 "window is.");
  AddReadOptions(cmd);
  cmd.Add("counts", "datasets: add the alignment length and the columns with and without gaps.");
  cmd.AddNote(ReadFormatsNote());
  if (const auto status = cmd.Parse(args, 2, 2)) return *status;
  const std::string& kind = cmd.Positionals()[0];
  if (kind != "datasets" && kind != "individuals" && kind != "sequences")
    return cmd.UsageError("unknown report " + kind);
  const std::string& path = cmd.Positionals()[1];
  CliServices cli;
  TDataProj project(cli.services);
  int code = 0;
  if (const int read = ReadInput(cmd, path, project, cli, code); read != kExitOk) return read;
  const std::string caption = FileNameOnly(path);
  if (kind == "datasets")
    std::cout << DatasetsReport(project, caption, cmd.IsSet("counts"), cli.progress);
  else if (kind == "individuals")
    std::cout << IndividualsReport(project, caption);
  else
    std::cout << SequencesReport(project, caption);
  std::cout.flush();
  return std::cout ? kExitOk : kExitFailed;
}

const bool kReport = RegisterCommand({"report", "datasets|individuals|sequences FILE",
                                      "prints a project report of the file", RunReport});

}  // namespace
