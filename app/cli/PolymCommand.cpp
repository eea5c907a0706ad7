// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli polymorphism: the DNA polymorphism analysis of a file, with the dialog's
// options; the report goes to stdout exactly as the report window shows it.
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FrameArgs.h"
#include "analysis/DNApolDbox.h"
#include "model/DataProjUnit.h"

int RunPolymorphism(const std::vector<std::string>& args) {
  CliCommand cmd("polymorphism", "FILE",
                 "DNA polymorphism report of every dataset and group on stdout.");
  AddFrameOptions(cmd, true);
  cmd.Add("no-pi", "Leaves out nucleotide diversity (pi) and its variance.");
  cmd.Add("no-theta", "Leaves out theta (per site and per sequence) and its variance.");
  cmd.Add("no-var", "Leaves out the variances of pi and theta.");
  cmd.Add("window-stats", "Statistics of the sliding windows (default pi).", "pi,theta,S,Hd");
  if (const auto status = cmd.Parse(args, 1, 1)) return *status;

  FrameArgs fa;
  if (!ReadFrameOptions(cmd, fa, true)) return kExitUsage;
  DNApolymOptions po;
  if (cmd.IsSet("no-pi")) po.pi = po.varPi = false;
  if (cmd.IsSet("no-theta")) po.theta = po.varTheta = false;
  if (cmd.IsSet("no-var")) po.varPi = po.varTheta = false;
  if (cmd.IsSet("window-stats")) {
    const std::string v = cmd.Value("window-stats");
    po.swPi = v.find("pi") != std::string::npos;
    po.swTheta = v.find("theta") != std::string::npos;
    po.swS = v.find('S') != std::string::npos;
    po.swHd = v.find("Hd") != std::string::npos;
    fa.frame.doSW = true;
  } else if (fa.frame.doSW) {
    po.swPi = true;  // as the dialog: checking "Sliding window for" checks "pi"
  }

  CliServices cli;
  TDataProj project(cli.services);
  if (const int status = LoadAnalysisProject(fa, cli, project); status != 0) return status;
  return PrintAnalysisOutput(RunDNApolym(project, fa.frame, po, cli.services));
}

namespace {
const bool kRegistered =
    RegisterCommand({"polymorphism", "FILE", "DNA polymorphism report", RunPolymorphism});
}  // namespace
