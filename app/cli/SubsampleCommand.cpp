// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli subsample: random sub-samples of every dataset's sequences, from the whole
// dataset or from each population; the report on stdout, the sub-samples written to OUT.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "FrameArgs.h"
#include "analysis/SamplingFormUnit.h"
#include "analysis/ShowPolymSUnit.h"
#include "model/DataProjUnit.h"

namespace {

int RunSubsample(const std::vector<std::string>& args) {
  const SamplingOptions d;
  CliCommand cmd("subsample", "IN OUT",
                 "Draws random sub-samples of the sequences of every dataset of IN and writes "
                 "them, one dataset per sub-sample, to OUT; the report goes to stdout.");
  AddReadOptions(cmd);
  AddWriteOptions(cmd);
  AddForceOption(cmd);
  cmd.Add("size",
          "Sequences per sub-sample (per population with --per-population); default " +
              std::to_string(d.sampleSize) + ".",
          "N");
  cmd.Add("samples", "Sub-samples per dataset; default " + std::to_string(d.samples) + ".", "N");
  cmd.Add("seed", "Seed of the random generator (0..100000000); default 0.", "N");
  cmd.Add("per-population", "Draws from each population in turn into every sub-sample.");
  cmd.Add("repeats", "A sequence may be drawn more than once in a sub-sample.");
  cmd.Add("add-outgroup", "Adds the outgroup sequences to every draw.");
  cmd.Add("groups",
          "Reads groups from FILE: lines \"sequence,group\" (or tab separated); group "
          "Outgroups marks outgroups.",
          "FILE");
  cmd.AddNote(ReadFormatsNote() + WriteFormatsNote());
  if (const auto status = cmd.Parse(args, 2, 2)) return *status;

  SamplingOptions o;
  if (!cmd.Int("size", o.sampleSize, 1, 30000) || !cmd.Int("samples", o.samples, 1, 1000000) ||
      !cmd.Int("seed", o.seed, 0, 100000000))
    return kExitUsage;
  o.perPopulation = cmd.IsSet("per-population");
  o.noRepeats = !cmd.IsSet("repeats");
  o.addOutgroup = cmd.IsSet("add-outgroup");

  CliServices cli;
  TDataProj project(cli.services);
  const WriteFormat* format = nullptr;
  if (const int read = ReadInForOut(cmd, project, cli, format); read != kExitOk) return read;
  if (cmd.IsSet("groups") && !ReadGroupsFile(cmd.Value("groups"), project)) return kExitFailed;
  InitAnalysisSelection(project);
  SamplingResult result = RunSampling(project, o, cli.services);
  std::fwrite(result.report.data(), 1, result.report.size(), stdout);
  std::fflush(stdout);
  // The windows of the desktop program become the datasets of one project.
  std::vector<std::unique_ptr<TDataSeq>> samples;
  for (SamplingWindow& w : result.windows)
    while (w.project->DatasetCount() > 0) samples.push_back(w.project->ReleaseDataset(0));
  if (samples.empty()) {
    std::cerr << "nodrix3-cli: no sub-sample was made\n";
    return kExitFailed;
  }
  auto out = ProjectForDatasets(project, std::move(samples));
  return WriteOutput(*out, *format, cmd.Positionals()[1], cli, cmd.Positionals()[0],
                     cmd.IsSet("force"));
}

const bool kRegistered =
    RegisterCommand({"subsample", "IN OUT", "random sub-samples of the sequences", RunSubsample});

}  // namespace
