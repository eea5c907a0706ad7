// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli info, convert and make-example: files read and written through the open
// dispatcher and the save command, as the desktop program's open and save dialogs do.
#include <iostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "ExampleProject.h"
#include "FileArgs.h"
#include "io/FormatTables.h"
#include "model/DataProjUnit.h"

namespace {

std::string GroupNameOfKey(const TDataProj& p, int key) {
  const int g = p.GroupIndexByKey(key);
  return g < 0 ? "-" : p.GroupName(g);
}

void PrintInfo(const std::string& path, int code, const TDataProj& p) {
  std::cout << path << '\n';
  std::cout << "  format: " << code << " " << OpenFilterCaption(code) << '\n';
  std::cout << "  datasets: " << p.DatasetCount() << '\n';
  for (int d = 0; d < p.DatasetCount(); ++d) {
    const TDataSeq& ds = *p.DatasetAt(d);
    std::cout << "  dataset " << d + 1 << ": " << ds.dsName << ", " << ds.Count()
              << " sequences, alignment length " << ds.AlignmentLength(true) << '\n';
    for (int r = 1; r <= ds.Count(); ++r)
      std::cout << "    " << ds.NameAt(r) << '\t' << ds.LettersLength(r) << '\n';
  }
  std::cout << "  groups: " << p.GroupCount() << '\n';
  for (const TGroup& g : p.Groups()) {
    int members = 0;
    for (const TIndivid& i : p.Individs()) members += i.indGroup == g.grpKey ? 1 : 0;
    std::cout << "    " << g.grpName << '\t' << members << " individuals"
              << (g.grpKey == kOutgroupKey ? " (outgroup)" : "") << '\n';
  }
  std::cout << "  individuals: " << p.IndividCount() << '\n';
  for (const TIndivid& i : p.Individs())
    std::cout << "    " << i.indName << '\t' << GroupNameOfKey(p, i.indGroup) << '\n';
}

int RunInfo(const std::vector<std::string>& args) {
  CliCommand cmd("info", "FILE...",
                 "Detects each file's format, reads it and lists its datasets (sequences and "
                 "lengths), groups and individuals.");
  AddReadOptions(cmd);
  cmd.AddNote(ReadFormatsNote());
  if (const auto status = cmd.Parse(args, 1, static_cast<std::size_t>(-1))) return *status;
  int status = kExitOk;
  for (const std::string& path : cmd.Positionals()) {
    CliServices cli;
    TDataProj project(cli.services);
    int code = 0;
    const int read = ReadInput(cmd, path, project, cli, code);
    if (read == kExitUsage) return read;
    if (read != kExitOk) {
      status = kExitFailed;
      continue;
    }
    PrintInfo(path, code, project);
  }
  return status;
}

int RunConvert(const std::vector<std::string>& args) {
  CliCommand cmd("convert", "IN OUT",
                 "Reads IN and writes OUT through the desktop program's save command.");
  AddReadOptions(cmd);
  AddWriteOptions(cmd);
  cmd.Add("dataset", "Formats of one dataset write dataset N (default 1).", "N");
  cmd.Add("all-datasets",
          "Formats of one dataset write every dataset into its own file named after it in OUT's "
          "folder.");
  AddForceOption(cmd);
  cmd.AddNote(ReadFormatsNote() + WriteFormatsNote());
  if (const auto status = cmd.Parse(args, 2, 2)) return *status;
  const std::string& in = cmd.Positionals()[0];
  const std::string& outPath = cmd.Positionals()[1];
  int datasetNumber = 1;
  if (!cmd.Int("dataset", datasetNumber, 1, 1000000000)) return kExitUsage;
  const WriteFormat* format = OutputFormat(cmd, outPath);
  if (format == nullptr) return kExitUsage;

  CliServices cli;
  TDataProj project(cli.services);
  int code = 0;
  if (const int read = ReadInput(cmd, in, project, cli, code); read != kExitOk) return read;
  if (datasetNumber > project.DatasetCount()) {
    std::cerr << "nodrix3-cli: " << in << " has " << project.DatasetCount() << " datasets, not "
              << datasetNumber << '\n';
    return kExitUsage;
  }
  project.SetCurrent(datasetNumber - 1);
  cli.messages.answers["Export all datasets"] = cmd.IsSet("all-datasets");
  cli.messages.answers["Export all sequences"] = true;
  ApplyWriteOptions(cmd, cli);
  return WriteOutput(project, *format, outPath, cli, in, cmd.IsSet("force"),
                     cmd.IsSet("all-datasets"));
}

int RunMakeExample(const std::vector<std::string>& args) {
  CliCommand cmd("make-example", "OUT",
                 "Writes the bundled example project (two populations and an outgroup).");
  if (const auto status = cmd.Parse(args, 1, 1)) return *status;
  CliServices cli;
  if (!WriteExampleProject(cmd.Positionals()[0], cli.services)) {
    std::cerr << "nodrix3-cli: could not write " << cmd.Positionals()[0] << '\n';
    return kExitFailed;
  }
  return kExitOk;
}

const bool kInfo = RegisterCommand(
    {"info", "FILE...", "lists the datasets, groups and individuals of each file", RunInfo});
const bool kConvert =
    RegisterCommand({"convert", "IN OUT", "reads IN and writes OUT in another format", RunConvert});
const bool kMakeExample =
    RegisterCommand({"make-example", "OUT", "writes the bundled example project", RunMakeExample});

}  // namespace
