// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli ld: linkage disequilibrium of a file with the dialog's options; the summary
// report goes to stdout exactly as the report window shows it, the pairwise values and the
// assembly test to their files.
#include <sstream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FrameArgs.h"
#include "analysis/NeutralityAnalysis.h"
#include "model/DataProjUnit.h"

namespace {

bool ParseValues(const std::string& list, LDPairChoices& c) {
  c.D = c.Dprime = c.R = c.chiSquare = false;
  std::stringstream in(list);
  std::string name;
  while (std::getline(in, name, ',')) {
    if (name == "D")
      c.D = true;
    else if (name == "Dprime")
      c.Dprime = true;
    else if (name == "R")
      c.R = true;
    else if (name == "chi2")
      c.chiSquare = true;
    else
      return false;
  }
  return true;
}

}  // namespace

int RunLDCommand(const std::vector<std::string>& args) {
  CliCommand cmd("ld", "FILE",
                 "Linkage disequilibrium summary of every dataset and group on stdout; the "
                 "pairwise values and the assembly test go to their files.");
  AddFrameOptions(cmd, false);
  cmd.Add("pairs", "Site pairs whose values are written: none, all, or within N sites.",
          "none|all|window:N");
  cmd.Add("format", "Layout of the pairwise file.", "sequential|cross");
  cmd.Add("values", "Values written for each pair.", "D,Dprime,R,chi2");
  cmd.Add("pair-file", "The pairwise file.", "FILE");
  cmd.Add("avg-r2", "Average R^2 in bins of N sites of distance.", "N");
  cmd.Add("min-freq", "Least count of the rarer variant of a site used.", "N");
  cmd.Add("no-zns", "Leaves out Kelly's ZnS.");
  cmd.Add("no-wall", "Leaves out Wall's B and Q.");
  cmd.Add("asm-test", "Runs the assembly test.");
  cmd.Add("asm-window", "Assembly test window of N sites.", "N");
  cmd.Add("asm-step", "Assembly test step of N sites.", "N");
  cmd.Add("split", "Splits the assembly where the test exceeds COEF.", "COEF");
  cmd.AddNote(
      "The files beside the pairwise file: hist_, AsmTest_, avrgLDscan.csv, avrgLDsplit.csv and "
      "one FASTA file per piece of a split.\n");
  if (const auto status = cmd.Parse(args, 1, 1)) return *status;

  FrameArgs fa;
  fa.frame = LDFrameDefaults();
  if (!ReadFrameOptions(cmd, fa, false)) return kExitUsage;
  LDRunOptions lo;
  if (cmd.IsSet("pairs")) {
    const std::string v = cmd.Value("pairs");
    int n = 0;
    if (v == "none") {
      lo.mode = LDPairMode::None;
    } else if (v == "all") {
      lo.mode = LDPairMode::All;
    } else if (v.starts_with("window:") && ToInt(v.substr(7), n) && n >= 1) {
      lo.mode = LDPairMode::Window;
      lo.windowSize = n;
    } else {
      return cmd.UsageError("bad value of --pairs: '" + v + "'");
    }
  }
  if (cmd.IsSet("format")) {
    const std::string v = cmd.Value("format");
    if (v != "sequential" && v != "cross") return cmd.UsageError("unknown --format " + v);
    lo.crossTable = v == "cross";
  }
  if (cmd.IsSet("values") && !ParseValues(cmd.Value("values"), lo.pairs))
    return cmd.UsageError("unknown value in --values " + cmd.Value("values"));
  if (cmd.IsSet("pair-file")) lo.pairFile = cmd.Value("pair-file");
  int minFreq = lo.pairs.minSNPfreq;
  if (!cmd.Int("avg-r2", lo.pairs.binSize, 1, 1000000000) ||
      !cmd.Int("min-freq", minFreq, 1, 1000000000) ||
      !cmd.Int("asm-window", lo.asmWinSize, 1, 1000000000) ||
      !cmd.Int("asm-step", lo.asmWinStep, 1, 1000000000) || !cmd.Double("split", lo.splitCoef))
    return kExitUsage;
  if (cmd.IsSet("avg-r2")) lo.pairs.averageR2 = true;
  if (cmd.IsSet("min-freq")) lo.pairs.minSNPfreq = lo.summary.minSNPfreq = minFreq;
  if (cmd.IsSet("no-zns")) lo.summary.kellyZnS = false;
  if (cmd.IsSet("no-wall")) lo.summary.wallBQ = false;
  if (cmd.IsSet("asm-test") || cmd.IsSet("asm-window") || cmd.IsSet("asm-step"))
    lo.assemblyTest = true;
  if (cmd.IsSet("split")) lo.split = lo.assemblyTest = true;
  // As the dialog: a pairwise choice checks "File", and only with one is the average R^2 kept.
  lo.fileNotice = lo.mode != LDPairMode::None;
  if (!lo.fileNotice) lo.pairs.averageR2 = false;

  CliServices cli;
  TDataProj project(cli.services);
  if (const int status = LoadAnalysisProject(fa, cli, project); status != 0) return status;
  return PrintAnalysisOutput(RunLD(project, fa.frame, lo, cli.services));
}

namespace {
const bool kRegistered = RegisterCommand(
    {"ld", "FILE", "linkage disequilibrium report and pairwise values", RunLDCommand});
}  // namespace
