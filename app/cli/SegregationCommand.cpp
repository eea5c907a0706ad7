// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli segregation: the segregation analysis of a cross, report on stdout; the loci
// with an X- or Y-linked pattern optionally written to a file.
#include <array>
#include <cstdio>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "analysis/ShowPolymSUnit.h"
#include "common/PlatformRandom.h"
#include "editor/SegregationCommand.h"
#include "model/DataProjUnit.h"

namespace {

int RunSegregationCommand(const std::vector<std::string>& args) {
  CliCommand cmd("segregation", "IN",
                 "Segregation analysis of a cross (groups or sequences named Father, Mother, "
                 "Sons, Daughters; one dataset per locus): the sites where the parents differ "
                 "and the X- or Y-linked patterns, on stdout.");
  AddReadOptions(cmd);
  AddWriteOptions(cmd);
  AddForceOption(cmd);
  cmd.Add("contigs",
          "Project files of the contigs of the father, mother, sons and daughters, comma-"
          "separated (an empty entry: none); their letters at each site are listed.",
          "F,M,S,D");
  cmd.Add("filtered", "Writes the loci with an informative site to OUT.", "OUT");
  cmd.AddNote(ReadFormatsNote() + WriteFormatsNote());
  if (const auto status = cmd.Parse(args, 1, 1)) return *status;

  std::vector<std::string> contigFiles;
  if (cmd.IsSet("contigs")) {
    std::stringstream list(cmd.Value("contigs"));
    for (std::string f; std::getline(list, f, ',');) contigFiles.push_back(f);
    if (contigFiles.size() > 4) return cmd.UsageError("--contigs takes four files at most");
  }
  const WriteFormat* format = nullptr;
  if (cmd.IsSet("filtered")) {
    format = OutputFormat(cmd, cmd.Value("filtered"));
    if (format == nullptr) return kExitUsage;
  }

  CliServices cli;
  TDataProj project(cli.services);
  int code = 0;
  if (const int read = ReadInput(cmd, cmd.Positionals()[0], project, cli, code); read != kExitOk)
    return read;
  std::vector<std::unique_ptr<TDataProj>> contigProjects;
  std::array<const TDataProj*, 4> contigs{};
  for (std::size_t i = 0; i < contigFiles.size(); ++i) {
    if (contigFiles[i].empty()) continue;
    contigProjects.push_back(std::make_unique<TDataProj>(cli.services));
    if (ReadInput(cmd, contigFiles[i], *contigProjects.back(), cli, code) != kExitOk)
      return kExitFailed;
    contigs[i] = contigProjects.back().get();
  }
  PlatformRandom rng = PlatformRandom::FromClock();
  auto out = RunSegregation(project, contigs, rng, cli.services);
  if (!out) {
    std::cerr << "nodrix3-cli: the groups Father, Mother, Sons and Daughters are needed\n";
    return kExitFailed;
  }
  std::fwrite(out->report.data(), 1, out->report.size(), stdout);
  std::fflush(stdout);
  if (format == nullptr) return kExitOk;
  if (out->filtered.empty()) {
    std::cerr << "nodrix3-cli: no locus has an informative site; nothing written\n";
    return kExitOk;
  }
  auto filtered = ProjectForDatasets(project, std::move(out->filtered));
  return WriteOutput(*filtered, *format, cmd.Value("filtered"), cli, cmd.Positionals()[0],
                     cmd.IsSet("force"));
}

const bool kRegistered = RegisterCommand(
    {"segregation", "IN", "X- and Y-linked sites of a cross", RunSegregationCommand});

}  // namespace
