// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli coverage: the reads of a SAM file counted onto the sequences of a project, with
// the desktop command's reports beside the SAM file.
#include <iostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "io/ReadFormats.h"
#include "model/DataProjUnit.h"

namespace {

int RunCoverage(const std::vector<std::string>& args) {
  CliCommand cmd("coverage", "PROJECT SAM",
                 "Counts the reads of SAM onto the sequences of PROJECT (by reference name) and "
                 "writes SAM.FRcovrg.csv: reads per sequence and per region.");
  AddReadOptions(cmd);
  cmd.Add("per-position", "Also writes SAM.seqCovrg.txt: the reads over every letter.");
  cmd.AddNote(ReadFormatsNote());
  if (const auto status = cmd.Parse(args, 2, 2)) return *status;
  CliServices cli;
  TDataProj project(cli.services);
  int code = 0;
  if (const int read = ReadInput(cmd, cmd.Positionals()[0], project, cli, code); read != kExitOk)
    return read;
  const CoverageRun run =
      RunSamCoverage(cmd.Positionals()[1], project, cmd.IsSet("per-position"), cli.services);
  for (const std::string& w : run.written) std::cout << "wrote " << w << '\n';
  return run.ok ? kExitOk : kExitFailed;
}

const bool kRegistered =
    RegisterCommand({"coverage", "PROJECT SAM",
                     "counts the reads of a SAM file per sequence and region", RunCoverage});

}  // namespace
