// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli overlaps: the editor's "Find overlaps" on a dataset of IN, written to OUT.
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "alignment/AsmContUnit.h"
#include "model/DataProjUnit.h"

namespace {

int RunOverlaps(const std::vector<std::string>& args) {
  CliCommand cmd("overlaps", "IN OUT",
                 "Lays the reads of a dataset of IN out against each other as the editor's "
                 "\"Find overlaps\" does (exact 7-letter seeds, ungapped overlaps of at least 10 "
                 "letters, a contig grown read by read): each read is turned to the contig's "
                 "orientation and moved right by gaps. Reads that overlap nothing keep their "
                 "place. OUT receives the whole project.");
  AddReadOptions(cmd);
  AddWriteOptions(cmd);
  AddForceOption(cmd);
  cmd.Add("dataset", "The dataset laid out (default 1).", "N");
  cmd.AddNote(ReadFormatsNote() + WriteFormatsNote());
  if (const auto status = cmd.Parse(args, 2, 2)) return *status;
  CliServices cli;
  TDataProj project(cli.services);
  const WriteFormat* format = nullptr;
  if (const int read = ReadDatasetForOut(cmd, project, cli, format); read != kExitOk) return read;
  std::vector<std::unique_ptr<TSeq>> clipboard;
  EditorContext ctx{project, cli.services, clipboard};
  // Without selected rows the editor asks whether to take them all; here they are taken.
  cli.messages.answers["Find overlaps for all sequences"] = true;
  (void)FindOverlaps(ctx);
  return WriteOutput(project, *format, cmd.Positionals()[1], cli, cmd.Positionals()[0],
                     cmd.IsSet("force"), true);
}

const bool kRegistered = RegisterCommand(
    {"overlaps", "IN OUT", "lays the reads of a dataset out by their exact overlaps", RunOverlaps});

}  // namespace
