// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli polymorphism: the DNA polymorphism analysis of a file, with the dialog's
// options; the report goes to stdout exactly as the report window shows it.
#include <iostream>
#include <string>
#include <vector>

#include "CliServices.h"
#include "FrameArgs.h"
#include "analysis/DNApolDbox.h"
#include "model/DataProjUnit.h"

namespace {

void PolymUsage() {
  std::cerr << "Usage: nodrix3-cli polymorphism FILE\n"
            << FrameUsage(true)
            << "         [--no-pi] [--no-theta] [--no-var] [--window-stats pi,theta,S,Hd]\n";
}

}  // namespace

int RunPolymorphism(const std::vector<std::string>& args) {
  FrameArgs fa;
  DNApolymOptions po;
  bool windowStatsGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const ArgTake take = TakeFrameArg(args, i, fa, true);
    if (take == ArgTake::Taken) continue;
    if (take == ArgTake::Bad) return PolymUsage(), 2;
    const std::string& a = args[i];
    if (a == "--no-pi") {
      po.pi = po.varPi = false;
    } else if (a == "--no-theta") {
      po.theta = po.varTheta = false;
    } else if (a == "--no-var") {
      po.varPi = po.varTheta = false;
    } else if (a == "--window-stats" && i + 1 < args.size()) {
      const std::string v = args[++i];
      po.swPi = v.find("pi") != std::string::npos;
      po.swTheta = v.find("theta") != std::string::npos;
      po.swS = v.find('S') != std::string::npos;
      po.swHd = v.find("Hd") != std::string::npos;
      windowStatsGiven = true;
      fa.frame.doSW = true;
    } else {
      PolymUsage();
      return 2;
    }
  }
  if (fa.file.empty()) return PolymUsage(), 2;
  // As the dialog: checking "Sliding window for" checks "pi".
  if (fa.frame.doSW && !windowStatsGiven) po.swPi = true;

  CliServices cli;
  TDataProj project(cli.services);
  if (const int status = LoadAnalysisProject(fa, cli, project); status != 0) return status;
  return PrintAnalysisOutput(RunDNApolym(project, fa.frame, po, cli.services));
}
