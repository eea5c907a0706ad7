// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli subdivision: the population subdivision analysis of a file, with the dialog's
// options; the report goes to stdout exactly as the report window shows it.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "CliServices.h"
#include "FrameArgs.h"
#include "analysis/PopStrucDBox.h"
#include "model/DataProjUnit.h"

namespace {

void SubdivUsage() {
  std::cerr
      << "Usage: nodrix3-cli subdivision FILE [--current] [--groups FILE]\n"
         "         [--sites all|noncoding|coding[:123]] [--mutations all|silent|nonsilent]\n"
         "         [--gaps ignored|polym|indels-only] [--ambiguity ignored|removed]\n"
         "         [--ignore-cds] [--region FROM-TO]\n"
         "         [--stats fst,kst,hst,nm,dxy,da,sfixed]   (default fst,kst,hst)\n"
         "         [--permutations N] [--seed N] [--bootstrap N] [--bootstrap-csv OUT.csv]\n"
         "         [--window-size N] [--window-step N] [--window-stat fst|dxy|da|sfixed]\n"
         "         [--windows OUT.csv] [--split THRESHOLD]\n"
         "         [--output OUT.txt] [--table OUT.csv] [--pop-table]\n"
         "  The groups file holds lines \"sequence,group\"; group Outgroups marks outgroups.\n";
}

bool SetStats(const std::string& list, PopSubdivOptions& so) {
  so.fst = so.kst = so.hst = so.nm = so.dxy = so.da = so.sFixed = false;
  std::size_t start = 0;
  while (start <= list.size()) {
    const auto comma = list.find(',', start);
    const std::string s =
        list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (s == "fst")
      so.fst = true;
    else if (s == "kst")
      so.kst = true;
    else if (s == "hst")
      so.hst = true;
    else if (s == "nm")
      so.nm = true;
    else if (s == "dxy")
      so.dxy = true;
    else if (s == "da")
      so.da = true;
    else if (s == "sfixed")
      so.sFixed = true;
    else
      return false;
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return true;
}

}  // namespace

int RunSubdivision(const std::vector<std::string>& args) {
  FrameArgs fa;
  fa.frame = PopSubdivFrameDefaults();
  FrameOptions& fo = fa.frame;
  PopSubdivOptions so;
  auto need = [&](std::size_t i) { return i + 1 < args.size(); };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      SubdivUsage();
      return 0;
    }
    const ArgTake take = TakeFrameArg(args, i, fa, true);
    if (take == ArgTake::Taken) continue;
    if (take == ArgTake::Bad) return SubdivUsage(), 2;
    int n = 0;
    if (a == "--stats" && need(i)) {
      if (!SetStats(args[++i], so)) return SubdivUsage(), 2;
    } else if (a == "--permutations" && need(i)) {
      if (!ToInt(args[++i], n) || n < 0 || n > 10000) return SubdivUsage(), 2;
      so.permute = true;
      so.permutations = n;
    } else if (a == "--seed" && need(i)) {
      if (!ToInt(args[++i], n) || n < 0) return SubdivUsage(), 2;
      so.seed = static_cast<std::uint32_t>(n);
    } else if (a == "--bootstrap" && need(i)) {
      if (!ToInt(args[++i], n) || n < 1 || n > 10000) return SubdivUsage(), 2;
      fo.doBootstrap = true;
      fo.bsReplicates = n;
    } else if (a == "--bootstrap-csv" && need(i)) {
      so.csvFile = true;
      so.csvFileName = args[++i];
    } else if (a == "--window-stat" && need(i)) {
      const std::string v = args[++i];
      if (v == "fst")
        so.windowStat = SubdivWindowStat::Fst;
      else if (v == "dxy")
        so.windowStat = SubdivWindowStat::Dxy;
      else if (v == "da")
        so.windowStat = SubdivWindowStat::Da;
      else if (v == "sfixed")
        so.windowStat = SubdivWindowStat::SFixed;
      else
        return SubdivUsage(), 2;
      fo.doSW = true;
    } else if (a == "--split" && need(i)) {
      if (!ToInt(args[++i], n) || n < 1 || n > 1000) return SubdivUsage(), 2;
      so.split = true;
      so.splitThreshold = n;
    } else if (a == "--output" && need(i)) {  // the report also to a file, as --text
      fo.fileOutput = true;
      fo.outFname = args[++i];
    } else {
      SubdivUsage();
      return 2;
    }
  }
  if (fa.file.empty()) return SubdivUsage(), 2;
  // The split is offered only while the shared and fixed sites are profiled.
  if (so.split && (so.windowStat != SubdivWindowStat::SFixed || !fo.doSW)) {
    std::cerr << "nodrix3-cli: --split needs --window-stat sfixed\n";
    return 2;
  }
  if (so.csvFile && !fo.doBootstrap) {
    std::cerr << "nodrix3-cli: --bootstrap-csv needs --bootstrap N\n";
    return 2;
  }

  CliServices cli;
  TDataProj project(cli.services);
  if (const int status = LoadAnalysisProject(fa, cli, project); status != 0) return status;
  return PrintAnalysisOutput(RunPopSubdiv(project, fo, so, cli.services));
}
