// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli report: the editor window's project reports (datasets, individuals, sequences)
// of a file, as the report window shows them, on stdout; and its Reports menu's file reports
// (functional regions, coding regions, SNPs), written to the output folder.
#include <iostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "editor/ProjectReports.h"
#include "editor/RegionReports.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"

namespace {

constexpr const char* kKinds = "datasets|individuals|sequences|regions|cds|snps FILE";

int RunReport(const std::vector<std::string>& args) {
  CliCommand cmd("report", kKinds,
                 "Prints the project report of FILE: the datasets with their sizes, the "
                 "individuals with their groups, attributes and sequences, or the sequences of "
                 "each individual and dataset. regions, cds and snps write the files of the "
                 "Reports menu instead: Func-regions.csv; CDS_Report.txt (also printed) with "
                 "CDS_Report_stopCodons.csv; SNPreport.csv (an existing one is replaced only with "
                 "--yes). The project is named after the file, "
                 "as its editor window is.");
  AddReadOptions(cmd);
  AddOutDirOption(cmd);
  cmd.Add("counts", "datasets: add the alignment length and the columns with and without gaps.");
  cmd.AddNote(ReadFormatsNote());
  if (const auto status = cmd.Parse(args, 2, 2)) return *status;
  const std::string& kind = cmd.Positionals()[0];
  const bool toFiles = kind == "regions" || kind == "cds" || kind == "snps";
  if (kind != "datasets" && kind != "individuals" && kind != "sequences" && !toFiles)
    return cmd.UsageError("unknown report " + kind);
  const std::string& path = cmd.Positionals()[1];
  std::string folder;
  if (toFiles && !OutDirOf(cmd, folder)) return kExitUsage;
  CliServices cli;
  TDataProj project(cli.services);
  int code = 0;
  if (const int read = ReadInput(cmd, path, project, cli, code); read != kExitOk) return read;
  const std::string caption = FileNameOnly(path);
  if (kind == "regions")
    return FunctionalRegionsCommand(project, folder, cli.services) ? kExitOk : kExitFailed;
  if (kind == "snps")
    return SnpReportCommand(project, folder, cli.services) ? kExitOk : kExitFailed;
  if (kind == "cds") {
    std::string table;
    if (!CodingRegionsCommand(project, caption, folder, cli.services, table)) return kExitFailed;
    std::cout << table;
  } else if (kind == "datasets") {
    std::cout << DatasetsReport(project, caption, cmd.IsSet("counts"), cli.progress);
  } else if (kind == "individuals") {
    std::cout << IndividualsReport(project, caption);
  } else {
    std::cout << SequencesReport(project, caption);
  }
  std::cout.flush();
  return std::cout ? kExitOk : kExitFailed;
}

const bool kReport =
    RegisterCommand({"report", kKinds, "prints or writes a project report of the file", RunReport});

}  // namespace
