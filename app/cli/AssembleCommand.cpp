// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli assemble: the editor's "&Assemble contigs" on a dataset of IN (the base caller
// and phrap), phrap's contigs written to OUT.
#include <iostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "alignment/AsmContUnit.h"
#include "model/DataProjUnit.h"

namespace {

int RunAssemble(const std::vector<std::string>& args) {
  CliCommand cmd(
      "assemble", "IN OUT",
      "Assembles the reads of a dataset of IN with the outside programs phred (or ttuner of "
      "the tracetuner package) and phrap, as the editor's \"Assemble contigs\" does, and writes "
      "phrap's contigs with their reads to OUT. Reads with traces are written as SCF files "
      "and base-called first; when any read has no trace, all go to phrap as plain sequences. "
      "Every enabled read is used unless two or more are selected. The working files are made "
      "in a private folder that is removed afterwards.");
  AddReadOptions(cmd);
  AddWriteOptions(cmd);
  AddForceOption(cmd);
  cmd.Add("dataset", "The dataset assembled (default 1).", "N");
  cmd.Add("phrap", "The assembler (default: phrap in the program's folder, else on PATH).", "PATH");
  cmd.AddNote(ReadFormatsNote() + WriteFormatsNote());
  if (const auto status = cmd.Parse(args, 2, 2)) return *status;
  CliServices cli;
  TDataProj project(cli.services);
  const WriteFormat* format = nullptr;
  if (const int read = ReadDatasetForOut(cmd, project, cli, format); read != kExitOk) return read;
  std::vector<std::unique_ptr<TSeq>> clipboard;
  EditorContext ctx{project, cli.services, clipboard};
  cli.messages.answers["Less than two reads selected"] = true;
  const AssemblyOutcome out = AssembleContigs(ctx, {cmd.Value("phrap"), {}});
  if (!out.contigs) {
    std::cerr << "nodrix3-cli: no assembly of " << cmd.Positionals()[0] << " was made\n";
    return kExitFailed;
  }
  return WriteOutput(*out.contigs, *format, cmd.Positionals()[1], cli, cmd.Positionals()[0],
                     cmd.IsSet("force"), true);
}

const bool kRegistered = RegisterCommand(
    {"assemble", "IN OUT", "assembles reads with the base caller and phrap", RunAssemble});

}  // namespace
