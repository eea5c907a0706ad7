// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli polymorphism: the DNA polymorphism analysis of a file, with the dialog's
// options; the report goes to stdout exactly as the report window shows it.
#include <cstdio>
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
            << kFrameArgsUsage
            << "         [--no-pi] [--no-theta] [--no-var]\n"
               "         [--window-size N] [--window-step N] [--window-stats pi,theta,S]\n"
               "         [--windows OUT.csv]\n";
}

}  // namespace

int RunPolymorphism(const std::vector<std::string>& args) {
  FrameOptions fo;
  DNApolymOptions po;
  std::string file, groupsFile;
  bool windowStatsGiven = false;
  auto need = [&](std::size_t i) { return i + 1 < args.size(); };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    int n = 0;
    const ArgUse use = ParseFrameArg(args, i, fo, groupsFile);
    if (use == ArgUse::Used) continue;
    if (use == ArgUse::Bad) return PolymUsage(), 2;
    if (a == "--no-pi") {
      po.pi = po.varPi = false;
    } else if (a == "--no-theta") {
      po.theta = po.varTheta = false;
    } else if (a == "--no-var") {
      po.varPi = po.varTheta = false;
    } else if ((a == "--window-size" || a == "--window-step") && need(i)) {
      if (!ToInt(args[++i], n) || n < 1) return PolymUsage(), 2;
      (a == "--window-size" ? fo.swSize : fo.swStep) = n;
      fo.doSW = true;
    } else if (a == "--window-stats" && need(i)) {
      const std::string v = args[++i];
      po.swPi = v.find("pi") != std::string::npos;
      po.swTheta = v.find("theta") != std::string::npos;
      po.swS = v.find('S') != std::string::npos;
      windowStatsGiven = true;
      fo.doSW = true;
    } else if (a == "--windows" && need(i)) {
      fo.doSW = true;
      fo.sw2file = true;
      fo.swfile = args[++i];
    } else if (!a.starts_with("--") && file.empty()) {
      file = a;
    } else {
      PolymUsage();
      return 2;
    }
  }
  if (file.empty()) return PolymUsage(), 2;
  // As the dialog: checking "Sliding window for" checks "pi".
  if (fo.doSW && !windowStatsGiven) po.swPi = true;

  CliServices cli;
  TDataProj project(cli.services);
  if (!LoadAnalysisProject(file, groupsFile, project, cli)) return 1;
  const AnalysisOutput out = RunDNApolym(project, fo, po, cli.services);
  std::fwrite(out.report.data(), 1, out.report.size(), stdout);
  std::fflush(stdout);
  for (const std::string& n : out.notices) std::cerr << n << "\n";
  if (!out.error.empty()) {
    std::cerr << "nodrix3-cli: " << out.error << "\n";
    return 1;
  }
  return 0;
}
