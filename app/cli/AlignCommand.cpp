// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli align and pairwise: the editor's MUSCLE commands on a file, and the pairwise
// alignments of two sequences.
#include <iostream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "alignment/AlignCommands.h"
#include "alignment/AlnUnit.h"
#include "common/NumberFormat.h"
#include "model/DataProjUnit.h"

namespace {

int RunAlign(const std::vector<std::string>& args) {
  CliCommand cmd(
      "align", "IN OUT",
      "Aligns IN with the outside aligner MUSCLE as the editor's Align menu does and writes OUT. "
      "The sequences are aligned from their letters (gaps and shifts cleared, left ends "
      "anchored) in windows of columns.");
  AddReadOptions(cmd);
  AddWriteOptions(cmd);
  cmd.Add("scope",
          "current: the current dataset (\"Align sequences\"); selected: every dataset "
          "selected for analysis (\"Align selected datasets\"); from-current: the current "
          "dataset and all after it. Default current.",
          "SCOPE");
  cmd.Add("dataset", "The current dataset (default 1).", "N");
  cmd.Add("window",
          "Alignment window size in columns (default 5000; outside 101..34999 it is 5000).", "N");
  cmd.Add("aligner",
          "The aligner program (default: muscle in the program's folder, else on PATH). MUSCLE "
          "5 and MUSCLE 3 are told apart by their -version.",
          "PATH");
  cmd.Add("out-dir",
          "Where selected and from-current write each aligned dataset as aln_DATASET.fasta "
          "(default: the current folder).",
          "DIR");
  cmd.AddNote(ReadFormatsNote() + WriteFormatsNote());
  if (const auto status = cmd.Parse(args, 2, 2)) return *status;
  const std::string& in = cmd.Positionals()[0];
  const std::string& outPath = cmd.Positionals()[1];
  const std::string scope = cmd.IsSet("scope") ? cmd.Value("scope") : "current";
  if (scope != "current" && scope != "selected" && scope != "from-current")
    return cmd.UsageError("unknown scope " + scope);
  CliServices cli;
  if (!cmd.Int("window", cli.settings.alignWindowSize, 1, 1000000000)) return kExitUsage;
  const WriteFormat* format = OutputFormat(cmd, outPath);
  if (format == nullptr) return kExitUsage;

  TDataProj project(cli.services);
  int code = 0;
  if (const int read = ReadInput(cmd, in, project, cli, code); read != kExitOk) return read;
  if (!ChooseDataset(cmd, project, in)) return kExitUsage;
  std::vector<std::unique_ptr<TSeq>> clipboard;
  EditorContext ctx{project, cli.services, clipboard};
  ctx.filePath = in;
  const AlignSetup setup{cmd.Value("aligner"), cmd.IsSet("out-dir") ? cmd.Value("out-dir") : "."};
  // The commands' questions ("No selected sequences found. Align the entire dataset ...?",
  // "Align 3 selected datasets ...?", "Align 2 datasets?") are answered Yes.
  cli.messages.answers["No selected sequences found"] = true;
  cli.messages.answers["Align "] = true;
  const int errorsBefore = cli.messages.errorCount;
  if (scope == "current")
    AlignSequences(ctx, setup);
  else if (scope == "selected")
    AlignSelectedDatasets(ctx, setup);
  else
    AlignDatasetsFromCurrent(ctx, setup);
  const bool failed = cli.messages.errorCount > errorsBefore;
  if (failed && !ctx.modified) return kExitFailed;
  const int written = WriteOutput(project, *format, outPath, cli, in);
  return failed ? kExitFailed : written;
}

int RunPairwise(const std::vector<std::string>& args) {
  CliCommand cmd("pairwise", "IN",
                 "Aligns the first two sequences of IN's current dataset (their letters without "
                 "gaps) and prints both rows as FASTA. The global alignment (end gaps cost 0.3 a "
                 "letter, inner gaps 3 + 0.3 a letter) also gives its score and distance (1 - "
                 "shared letters over the shorter sequence's letters) on stderr.");
  AddReadOptions(cmd);
  cmd.Add("anchored", "The anchored alignment by exact 14-letter matches instead.");
  cmd.Add("dataset", "The dataset (default 1).", "N");
  cmd.AddNote(ReadFormatsNote());
  if (const auto status = cmd.Parse(args, 1, 1)) return *status;
  const std::string& in = cmd.Positionals()[0];
  CliServices cli;
  TDataProj project(cli.services);
  int code = 0;
  if (const int read = ReadInput(cmd, in, project, cli, code); read != kExitOk) return read;
  if (!ChooseDataset(cmd, project, in)) return kExitUsage;
  const TDataSeq& ds = *project.CurrentDataset();
  if (ds.Count() < 2) {
    std::cerr << "nodrix3-cli: dataset " << ds.dsName << " of " << in
              << " holds fewer than two sequences\n";
    return kExitFailed;
  }
  std::string a = ds.SeqAt(1)->letters, b = ds.SeqAt(2)->letters;
  std::erase(a, '-');
  std::erase(b, '-');
  if (cmd.IsSet("anchored")) {
    AnchoredAlign(a, b);
  } else {
    const PairAlignment r = GlobalAlign(a, b);
    std::cerr << "nodrix3-cli: score " << FormatFixed(r.score, 1) << ", distance "
              << FormatFixed(r.distance, 4) << '\n';
    std::tie(a, b) = ApplyDisplacement(a, b, r.displacement);
  }
  std::cout << '>' << ds.NameAt(1) << '\n' << a << "\n>" << ds.NameAt(2) << '\n' << b << '\n';
  std::cout.flush();
  return std::cout ? kExitOk : kExitFailed;
}

const bool kAlign = RegisterCommand(
    {"align", "IN OUT", "aligns datasets of IN with MUSCLE in windows and writes OUT", RunAlign});
const bool kPairwise = RegisterCommand(
    {"pairwise", "IN", "aligns the first two sequences of IN (global or anchored)", RunPairwise});

}  // namespace
