// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli copy-gaps: the gaps of an alignment file laid into the sequences of IN, as the
// editor's "Copy gaps" > "from alignment in a file" does.
#include <iostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "alignment/AlignCommands.h"
#include "model/DataProjUnit.h"

namespace {

int RunCopyGaps(const std::vector<std::string>& args) {
  CliCommand cmd(
      "copy-gaps", "ALIGNMENT IN OUT",
      "Copies the gaps and shifts of the sequences of ALIGNMENT (its current dataset) to the "
      "sequences of IN's dataset and writes OUT. A sequence of ALIGNMENT gives its gaps to the "
      "sequence of IN with its id (the row it had when read, or the id a project file keeps), "
      "else to the row its name numbers (1, 2, ...), and only when both hold the same number "
      "of letters.");
  AddReadOptions(cmd);
  AddWriteOptions(cmd);
  AddForceOption(cmd);
  cmd.Add("alignment-from", "The format of ALIGNMENT (default: detected from its content).",
          "NAME");
  cmd.Add("dataset", "The dataset of IN that takes the gaps (default 1).", "N");
  cmd.AddNote(ReadFormatsNote() + WriteFormatsNote());
  if (const auto status = cmd.Parse(args, 3, 3)) return *status;
  const std::string& alignment = cmd.Positionals()[0];
  const std::string& in = cmd.Positionals()[1];
  const std::string& outPath = cmd.Positionals()[2];
  int alignmentCode = 0;
  if (cmd.IsSet("alignment-from")) {
    alignmentCode = ReadCodeByName(cmd.Value("alignment-from"));
    if (alignmentCode == 0) return cmd.UsageError("unknown format " + cmd.Value("alignment-from"));
  }
  const WriteFormat* format = OutputFormat(cmd, outPath);
  if (format == nullptr) return kExitUsage;

  CliServices cli;
  TDataProj project(cli.services);
  int code = 0;
  if (const int read = ReadInput(cmd, in, project, cli, code); read != kExitOk) return read;
  if (!ChooseDataset(cmd, project, in)) return kExitUsage;
  std::vector<std::unique_ptr<TSeq>> clipboard;
  EditorContext ctx{project, cli.services, clipboard};
  ctx.filePath = in;
  const int taken = CopyGapsFromFile(ctx, alignment, alignmentCode);
  if (taken < 0) return kExitFailed;
  if (taken == 0) {
    std::cerr << "nodrix3-cli: no sequence of " << alignment
              << " matched a sequence of the same length in " << in << '\n';
    return kExitFailed;
  }
  std::cerr << "nodrix3-cli: " << taken << " of " << project.CurrentDataset()->Count()
            << " sequences took the gaps of " << alignment << '\n';
  return WriteOutput(project, *format, outPath, cli, in, cmd.IsSet("force"));
}

const bool kRegistered =
    RegisterCommand({"copy-gaps", "ALIGNMENT IN OUT",
                     "copies the gaps of an alignment file into IN's sequences", RunCopyGaps});

}  // namespace
