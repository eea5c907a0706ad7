// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli ld: linkage disequilibrium of a file with the dialog's options; the summary
// report goes to stdout exactly as the report window shows it, the pairwise values and the
// assembly test to their files.
#include <charconv>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "CliServices.h"
#include "FrameArgs.h"
#include "analysis/NeutralityAnalysis.h"
#include "model/DataProjUnit.h"

namespace {

void LDUsage() {
  std::cerr << "Usage: nodrix3-cli ld FILE\n"
            << FrameUsage(false)
            << "         [--pairs none|all|window:N] [--format sequential|cross]\n"
               "         [--values D,Dprime,R,chi2] [--pair-file OUT.csv] [--avg-r2 BIN]\n"
               "         [--min-freq N] [--no-zns] [--no-wall]\n"
               "         [--asm-test] [--asm-window N] [--asm-step N] [--split COEF]\n"
               "      The files beside the pairwise file: hist_, AsmTest_, avrgLDscan.csv,\n"
               "      avrgLDsplit.csv and one FASTA file per piece of a split.\n";
}

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

bool ToDouble(const std::string& s, double& v) {
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

}  // namespace

int RunLDCommand(const std::vector<std::string>& args) {
  FrameArgs fa;
  fa.frame = LDFrameDefaults();
  LDRunOptions lo;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const ArgTake take = TakeFrameArg(args, i, fa, false);
    if (take == ArgTake::Taken) continue;
    if (take == ArgTake::Bad) return LDUsage(), 2;
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    int n = 0;
    if (a == "--pairs" && hasValue) {
      const std::string v = args[++i];
      if (v == "none") {
        lo.mode = LDPairMode::None;
      } else if (v == "all") {
        lo.mode = LDPairMode::All;
      } else if (v.starts_with("window:") && ToInt(v.substr(7), n) && n >= 1) {
        lo.mode = LDPairMode::Window;
        lo.windowSize = n;
      } else {
        return LDUsage(), 2;
      }
    } else if (a == "--format" && hasValue) {
      const std::string v = args[++i];
      if (v != "sequential" && v != "cross") return LDUsage(), 2;
      lo.crossTable = v == "cross";
    } else if (a == "--values" && hasValue) {
      if (!ParseValues(args[++i], lo.pairs)) return LDUsage(), 2;
    } else if (a == "--pair-file" && hasValue) {
      lo.pairFile = args[++i];
    } else if (a == "--avg-r2" && hasValue) {
      if (!ToInt(args[++i], n) || n < 1) return LDUsage(), 2;
      lo.pairs.averageR2 = true;
      lo.pairs.binSize = n;
    } else if (a == "--min-freq" && hasValue) {
      if (!ToInt(args[++i], n) || n < 1) return LDUsage(), 2;
      lo.pairs.minSNPfreq = lo.summary.minSNPfreq = n;
    } else if (a == "--no-zns") {
      lo.summary.kellyZnS = false;
    } else if (a == "--no-wall") {
      lo.summary.wallBQ = false;
    } else if (a == "--asm-test") {
      lo.assemblyTest = true;
    } else if ((a == "--asm-window" || a == "--asm-step") && hasValue) {
      if (!ToInt(args[++i], n) || n < 1) return LDUsage(), 2;
      (a == "--asm-window" ? lo.asmWinSize : lo.asmWinStep) = n;
      lo.assemblyTest = true;
    } else if (a == "--split" && hasValue) {
      double coef = 0;
      if (!ToDouble(args[++i], coef)) return LDUsage(), 2;
      lo.split = lo.assemblyTest = true;
      lo.splitCoef = coef;
    } else {
      LDUsage();
      return 2;
    }
  }
  if (fa.file.empty()) return LDUsage(), 2;
  // As the dialog: a pairwise choice checks "File", and only with one is the average R^2 kept.
  lo.fileNotice = lo.mode != LDPairMode::None;
  if (!lo.fileNotice) lo.pairs.averageR2 = false;

  CliServices cli;
  TDataProj project(cli.services);
  if (const int status = LoadAnalysisProject(fa, cli, project); status != 0) return status;
  return PrintAnalysisOutput(RunLD(project, fa.frame, lo, cli.services));
}
