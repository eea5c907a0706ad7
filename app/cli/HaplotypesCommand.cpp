// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli haplotypes: the editor's "Reconstruct haplotypes" on a dataset of IN.
#include <iostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "alignment/Haplotypes.h"
#include "model/DataProjUnit.h"

namespace {

int RunHaplotypes(const std::vector<std::string>& args) {
  CliCommand cmd(
      "haplotypes", "IN OUT",
      "Groups the aligned reads of a dataset of IN into haplotypes: at every polymorphic "
      "column (two or more letters seen at least twice) the reads carrying each allele, and "
      "their mates, form a group whose consensus is appended as \"hapl\" + number when it holds "
      "at least 100 A/C/G/T letters. The project with the haplotypes is written to OUT; their "
      "number goes to stderr.");
  AddReadOptions(cmd);
  AddWriteOptions(cmd);
  AddForceOption(cmd);
  cmd.Add("dataset", "The dataset of reads (default 1).", "N");
  cmd.Add("iterate",
          "Groups also grow through their reads' alleles at the other polymorphic columns "
          "(\"Iterate over multiple SNPs?\" answered Yes).");
  cmd.AddNote(ReadFormatsNote() + WriteFormatsNote());
  if (const auto status = cmd.Parse(args, 2, 2)) return *status;
  CliServices cli;
  TDataProj project(cli.services);
  const WriteFormat* format = nullptr;
  if (const int read = ReadDatasetForOut(cmd, project, cli, format); read != kExitOk) return read;
  std::vector<std::unique_ptr<TSeq>> clipboard;
  EditorContext ctx{project, cli.services, clipboard};
  cli.messages.answers["Iterate over multiple SNPs?"] = cmd.IsSet("iterate");
  const int added = ReconstructHaplotypesCommand(ctx);
  std::cerr << "nodrix3-cli: " << added << " haplotypes\n";
  return WriteOutput(project, *format, cmd.Positionals()[1], cli, cmd.Positionals()[0],
                     cmd.IsSet("force"), true);
}

const bool kRegistered = RegisterCommand(
    {"haplotypes", "IN OUT", "groups aligned reads into haplotypes", RunHaplotypes});

}  // namespace
