// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli translate: the translate window on a file, proteins to OUT, the ORF report on
// standard output.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "editor/Translation.h"
#include "model/DataProjUnit.h"

namespace {

int RunTranslate(const std::vector<std::string>& args) {
  CliCommand cmd("translate", "IN OUT",
                 "Translates every sequence of IN's current dataset into protein with the standard "
                 "genetic code, as the editor's Translate window does, and writes the proteins "
                 "(named p + the sequence name, + frN with several frames) to OUT. With --orfs "
                 "the ORF report goes to standard output after the names of the files written.");
  AddReadOptions(cmd);
  AddWriteOptions(cmd);
  AddForceOption(cmd);
  cmd.Add("frames", "1 (default), 3, or 6 (frames 4 to 6 from the reverse complement).", "N");
  cmd.Add("coding", "Only the CDS regions, spliced.");
  cmd.Add("block", "Only the selected block of letters.");
  cmd.Add("outside-block", "Every letter except the selected block.");
  cmd.Add("orfs", "Reports the ORFs longer than N amino acids (whole sequences only).", "N");
  cmd.Add("add-orfs",
          "With --orfs: adds a copy ORFs_in_NAME of each sequence with the longest ORF of each "
          "frame marked as a region.");
  cmd.Add("three-letter", "Three-letter amino acids (Met, ***).");
  cmd.Add("cdna", "Adds each nucleotide sequence and spaces its proteins to stand under it.");
  cmd.Add("fasta",
          "Writes the proteins (and ORF copies) to FILE as FASTA instead; OUT then holds only "
          "the cDNA copies.",
          "FILE");
  cmd.AddNote(ReadFormatsNote() + WriteFormatsNote());
  if (const auto status = cmd.Parse(args, 2, 2)) return *status;

  TranslateOptions opt;
  opt.allSeqs = true;
  if (!cmd.Int("frames", opt.frames, 1, 6)) return kExitUsage;
  if (opt.frames != 1 && opt.frames != 3 && opt.frames != 6)
    return cmd.UsageError("--frames takes 1, 3 or 6");
  const int regionChoices = (cmd.IsSet("coding") ? 1 : 0) + (cmd.IsSet("block") ? 1 : 0) +
                            (cmd.IsSet("outside-block") ? 1 : 0);
  if (regionChoices > 1) return cmd.UsageError("choose one of --coding, --block, --outside-block");
  if (cmd.IsSet("coding")) opt.regions = TranslateRegions::Coding;
  if (cmd.IsSet("block")) opt.regions = TranslateRegions::Selected;
  if (cmd.IsSet("outside-block")) opt.regions = TranslateRegions::Unselected;
  opt.findOrfs = cmd.IsSet("orfs");
  if (opt.findOrfs && !cmd.Int("orfs", opt.minOrf, -1, 1000000000)) return kExitUsage;
  if (opt.findOrfs && regionChoices > 0)
    return cmd.UsageError("--orfs looks in whole sequences; it cannot go with a region choice");
  opt.addOrfs = cmd.IsSet("add-orfs");
  if (opt.addOrfs && !opt.findOrfs) return cmd.UsageError("--add-orfs needs --orfs");
  opt.threeLetter = cmd.IsSet("three-letter");
  opt.showCDna = cmd.IsSet("cdna");
  opt.toFile = cmd.IsSet("fasta");
  if (opt.toFile) opt.outFile = cmd.Value("fasta");

  CliServices cli;
  TDataProj project(cli.services);
  const WriteFormat* format = nullptr;
  if (const int read = ReadInForOut(cmd, project, cli, format); read != kExitOk) return read;
  const TDataSeq& ds = *project.CurrentDataset();
  TranslateOutput out = TranslateDataset(ds, *ds.code, opt, cli.services);
  if (!out.ok) return kExitFailed;
  TDataProj result(cli.services);
  (void)result.AddDataset(out.dataset, false);
  const int written = WriteOutput(result, *format, cmd.Positionals()[1], cli, cmd.Positionals()[0],
                                  cmd.IsSet("force"));
  if (written != kExitOk) return written;
  if (opt.findOrfs) std::cout << out.report;
  std::cout.flush();
  return std::cout ? kExitOk : kExitFailed;
}

const bool kRegistered = RegisterCommand(
    {"translate", "IN OUT", "translates sequences into protein in 1, 3 or 6 frames, with ORFs",
     RunTranslate});

}  // namespace
