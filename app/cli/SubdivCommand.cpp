// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli subdivision: the population subdivision analysis of a file, with the dialog's
// options; the report goes to stdout exactly as the report window shows it.
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "CliServices.h"
#include "FrameArgs.h"
#include "analysis/PopStrucDBox.h"
#include "io/Dispatcher.h"
#include "io/FormatDetect.h"
#include "io/TextHelpers.h"
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
  FrameOptions fo = PopSubdivFrameDefaults();
  PopSubdivOptions so;
  std::string file, groupsFile;
  auto need = [&](std::size_t i) { return i + 1 < args.size(); };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    int n = 0;
    if (a == "--help" || a == "-h") {
      SubdivUsage();
      return 0;
    } else if (a == "--current") {
      fo.useAllDatasets = false;
    } else if (a == "--groups" && need(i)) {
      groupsFile = args[++i];
    } else if (a == "--sites" && need(i)) {
      const std::string v = args[++i];
      fo.allSites = v == "all";
      fo.noncodingSites = v == "noncoding";
      fo.codingSites = v.starts_with("coding");
      if (!fo.allSites && !fo.noncodingSites && !fo.codingSites) return SubdivUsage(), 2;
      const std::string pos = v.size() > 7 ? v.substr(7) : "123";
      fo.pos1 = pos.find('1') != std::string::npos;
      fo.pos2 = pos.find('2') != std::string::npos;
      fo.pos3 = pos.find('3') != std::string::npos;
    } else if (a == "--mutations" && need(i)) {
      const std::string v = args[++i];
      fo.mutAll = v == "all";
      fo.mutSilent = v == "silent";
      fo.mutRepl = v == "nonsilent";
      if (!fo.mutAll && !fo.mutSilent && !fo.mutRepl) return SubdivUsage(), 2;
    } else if (a == "--gaps" && need(i)) {
      const std::string v = args[++i];
      if (v == "ignored")
        fo.indels = IndelChoice::Ignored;
      else if (v == "polym")
        fo.indels = IndelChoice::PolymInIndels;
      else if (v == "indels-only")
        fo.indels = IndelChoice::IndelsOnly;
      else
        return SubdivUsage(), 2;
    } else if (a == "--ambiguity" && need(i)) {
      const std::string v = args[++i];
      if (v != "ignored" && v != "removed") return SubdivUsage(), 2;
      fo.ambiguityRemoved = v == "removed";
    } else if (a == "--ignore-cds") {
      fo.ignoreCDS = true;
    } else if (a == "--region" && need(i)) {
      const std::string v = args[++i];
      const auto dash = v.find('-');
      int from = 0, to = 0;
      if (dash == std::string::npos || !ToInt(v.substr(0, dash), from) ||
          !ToInt(v.substr(dash + 1), to) || from < 1 || to < 1)
        return SubdivUsage(), 2;
      fo.onlyRegion = true;
      fo.regFrom = from;
      fo.regTo = to;
    } else if (a == "--stats" && need(i)) {
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
    } else if ((a == "--window-size" || a == "--window-step") && need(i)) {
      if (!ToInt(args[++i], n) || n < 1) return SubdivUsage(), 2;
      (a == "--window-size" ? fo.swSize : fo.swStep) = n;
      fo.doSW = true;
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
    } else if (a == "--windows" && need(i)) {
      fo.doSW = true;
      fo.sw2file = true;
      fo.swfile = args[++i];
    } else if (a == "--split" && need(i)) {
      if (!ToInt(args[++i], n) || n < 1 || n > 1000) return SubdivUsage(), 2;
      so.split = true;
      so.splitThreshold = n;
    } else if (a == "--output" && need(i)) {
      fo.fileOutput = true;
      fo.outFname = args[++i];
    } else if (a == "--table" && need(i)) {
      fo.tableToFile = true;
      fo.tableFileName = args[++i];
    } else if (a == "--pop-table") {
      fo.popOut = true;
    } else if (!a.starts_with("--") && file.empty()) {
      file = a;
    } else {
      SubdivUsage();
      return 2;
    }
  }
  if (file.empty()) return SubdivUsage(), 2;
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
  const int access = CheckFileAccess(file);
  if (access != 0) {
    cli.messages.ReportError(file + ": " + OneLine(IoErrorMessage(access, file)));
    return 1;
  }
  OpenWindow window(project);
  window.caption = FileNameOnly(file);
  int code = 0;
  const OpenResult r = OpenDetected(file, window, cli.services, code);
  if (code < 2 || !r.handled || !r.ReadSomething()) {
    cli.messages.ReportError(file + ": no sequences could be read");
    return 1;
  }
  if (!groupsFile.empty() && !ReadGroupsFile(groupsFile, project)) return 1;
  InitAnalysisSelection(project);
  const AnalysisOutput out = RunPopSubdiv(project, fo, so, cli.services);
  std::fwrite(out.report.data(), 1, out.report.size(), stdout);
  std::fflush(stdout);
  for (const std::string& n : out.notices) std::cerr << n << "\n";
  if (!out.error.empty()) {
    std::cerr << "nodrix3-cli: " << out.error << "\n";
    return 1;
  }
  return 0;
}
